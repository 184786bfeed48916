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
    return result.simplified();
}

} // namespace

QString LongTimeText(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString CalendarText(const QDate& date)
{
    // Indian order and slashes whatever the machine's locale says.
    return date.toString(QStringLiteral("dd/ MM/ yyyy"));
}

} // namespace zelva
