#include "reports/money.h"

#include "platform/shownvalues.h"
#include "platform/textnum.h"

#include <cmath>

namespace zelva {

Paise ToPaise(double rupees) { return std::llround(RoundAmount(rupees, 2) * 100); }

double ToRupees(Paise paise) { return double(paise) / 100; }

QString AmountText(Paise paise)
{
    const Paise size = paise < 0 ? -paise : paise;
    return QStringLiteral("%1%2.%3")
        .arg(paise < 0 ? QStringLiteral("-") : QString())
        .arg(size / 100)
        .arg(size % 100, 2, 10, QLatin1Char('0'));
}

QString ShownAmountText(Paise paise, bool grouped)
{
    const QString text = AmountText(paise);
    return grouped ? GroupIndian(text) : text;
}

} // namespace zelva
