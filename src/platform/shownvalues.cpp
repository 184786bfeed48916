#include "platform/shownvalues.h"

#include "platform/textnum.h"

#include <QRegularExpression>
#include <QSettings>

namespace zelva {

namespace {

const char* const GroupingKey = "Display/IndianDigitGrouping";

// The per-user settings file: ~/.config/ZelvaBilling/ZelvaBilling.ini.
QSettings userSettings()
{
    return QSettings(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvaBilling"), QStringLiteral("ZelvaBilling"));
}

} // namespace

QString ShownDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString ShownDate(const QString& storedDate)
{
    // Two-digit day, one separator, two-digit month, the same separator, four-digit year.
    static const QRegularExpression stored(QStringLiteral("^(\\d{2})([^\\d\\s])(\\d{2})\\2(\\d{4})$"));
    const QRegularExpressionMatch parts = stored.match(storedDate);
    if (!parts.hasMatch())
        return storedDate;
    return parts.captured(1) + QLatin1Char('/') + parts.captured(3) + QLatin1Char('/') + parts.captured(4);
}

QString GroupIndian(const QString& amountText)
{
    static const QRegularExpression amount(QStringLiteral("^-?\\d*(\\.\\d*)?$"));
    if (!amount.match(amountText).hasMatch())
        return amountText;
    QString text = amountText;
    const qsizetype point = text.contains(QLatin1Char('.')) ? text.indexOf(QLatin1Char('.')) : text.size();
    const qsizetype firstDigit = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    // The last three digits before the point stand together, then pairs.
    for (qsizetype comma = point - 3; comma > firstDigit; comma -= 2)
        text.insert(comma, QLatin1Char(','));
    return text;
}

QString IndianGroupedAmount(double value) { return GroupIndian(FormatAmount(value)); }

bool IndianDigitGrouping() { return userSettings().value(QLatin1String(GroupingKey), false).toBool(); }

void SetIndianDigitGrouping(bool on)
{
    QSettings settings = userSettings();
    settings.setValue(QLatin1String(GroupingKey), on);
}

QString RegisterAmount(double value, bool grouped)
{
    return grouped ? IndianGroupedAmount(value) : FormatAmount(value);
}

} // namespace zelva
