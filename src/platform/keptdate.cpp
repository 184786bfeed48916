#include "platform/keptdate.h"

#include <algorithm>

namespace zelva {

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
