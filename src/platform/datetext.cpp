#include "platform/datetext.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

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
    // Compiled once for the separator the settings give (a month of invoices
    // reads thousands of dates), again only when the setting changes.
    thread_local QString compiledFor;
    thread_local QRegularExpression pattern;
    if (const QString separator = DateSeparator(); pattern.pattern().isEmpty() || separator != compiledFor) {
        const QString sep = QRegularExpression::escape(separator);
        pattern.setPattern(QStringLiteral("^(\\d{1,2})(?:%1|/)(\\d{1,2})(?:%1|/)(\\d{4})$").arg(sep));
        compiledFor = separator;
    }
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
}

QDate ReadStatementDate(const QString& text)
{
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})[/.\\- ](\\d{1,2}|[A-Za-z]{3,9})[/.\\- ](\\d{4}|\\d{2})$"));
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression dayNumber(QStringLiteral("^\\d{5}(\\.\\d+)?$"));
    // A time after the day ("05/11/2026 10:32:11", "2026-11-05T10:32") says nothing of the day.
    const QString day = text.trimmed().section(QRegularExpression(QStringLiteral("[ T]\\d{1,2}:")), 0, 0).trimmed();
    if (const QRegularExpressionMatch m = yearFirst.match(day); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (dayNumber.match(day).hasMatch())
        return QDate(1899, 12, 30).addDays(qint64(day.toDouble()));
    const QRegularExpressionMatch m = dayFirst.match(day);
    if (!m.hasMatch())
        return {};
    int month = m.captured(2).toInt();
    if (m.captured(2).front().isLetter()) {
        static const QStringList months{QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                        QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                        QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                        QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
        const QString name = m.captured(2).toLower();
        month = int(months.indexOf(name.left(3))) + 1;
        if (month == 0 || (name.size() > 3 && !QLocale(QLocale::English).monthName(month).toLower().startsWith(name)
                           && name != QLatin1String("sept")))
            return {};
    }
    const int year = m.captured(3).size() == 2 ? 2000 + m.captured(3).toInt() : m.captured(3).toInt();
    return QDate(year, month, m.captured(1).toInt());
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

namespace {

// The leading whole number of a text as SQL's CAST(text AS INTEGER) reads it:
// blanks before it skipped, a sign allowed, 0 when there are no digits.
int leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    bool ok = false;
    const int number = text.mid(start, i - start).toInt(&ok);
    return ok ? number : 0;
}

// What follows a part: its leading digits dropped, then the one separating character.
QStringView nextPart(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    return text.mid(std::min(i + 1, text.size()));
}

} // namespace

QDate ReadKeptDate(const QString& text)
{
    const QStringView day = QStringView(text).trimmed();
    const QStringView month = nextPart(day);
    const QStringView year = nextPart(month);
    return QDate(leadingNumber(year), leadingNumber(month), leadingNumber(day));
}

} // namespace zelva
