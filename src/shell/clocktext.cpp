#include "shell/clocktext.h"

namespace zelva {

namespace {

// The format without its time-zone letters ('t' outside quotes) and the
// blanks that separated them.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.remove(QStringLiteral("()")).simplified(); // "H:mm:ss (t)"
}

} // namespace

// The locale's layout (12 or 24 hours, where AM and PM stand) written with
// Latin digits and AM/PM, as the dates are: a locale's own digits and words
// may be in a script no installed font has.
QString LongTimeText(const QTime& time, const QLocale& locale)
{
    return QLocale::c().toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString CalendarText(const QDate& date)
{
    // Indian order and slashes whatever the machine's locale says.
    return date.toString(QStringLiteral("dd/ MM/ yyyy"));
}

} // namespace zelva
