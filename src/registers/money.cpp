#include "registers/money.h"

#include "platform/shownvalues.h"
#include "platform/textnum.h"

#include <cmath>

namespace zelva {

Paise ToPaise(double rupees)
{
    // A stored two-decimal amount is, times 100, within a hair of whole paise:
    // no half paisa to round, so the exact decimal rounding (slow, through
    // digits) is left for the amounts that need it.
    const double scaled = rupees * 100;
    const double whole = std::round(scaled);
    if (std::fabs(scaled - whole) < 1e-6)
        return Paise(whole);
    return std::llround(RoundAmount(rupees, 2) * 100);
}

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
