#include "platform/datetext.h"

#include <QLocale>
#include <QRegularExpression>

namespace zelva {

QString DateSeparator()
{
    // The short date format of the system locale tells which separator it uses.
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    for (QChar c : format) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('\'') && !c.isSpace())
            return QString(c);
    }
    return QStringLiteral("/");
}

QString DateText(const QDate& date)
{
    if (!date.isValid())
        return {};
    const QString sep = DateSeparator();
    return QStringLiteral("%1%2%3%2%4")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(sep)
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QDate ReadDateText(const QString& text)
{
    const QString sep = QRegularExpression::escape(DateSeparator());
    const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})(?:%1|/)(\\d{1,2})(?:%1|/)(\\d{4})$").arg(sep));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
}

QString TimeTextHM(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString TimeTextHMS(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

int FinancialYearOf(const QDate& day) { return day.month() >= 4 ? day.year() : day.year() - 1; }

int DayKey(const QDate& day) { return day.year() * 10000 + day.month() * 100 + day.day(); }

} // namespace zelva
