#include "platform/money.h"

#include "platform/shownvalues.h"
#include "platform/textnum.h"

#include <QRegularExpression>
#include <algorithm>
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

Paise LineAmount(double quantity, double rate) { return ToPaise(quantity * rate); }

bool ReadAmount(const QString& text, Paise& out)
{
    double value = 0;
    if (!ReadNumber(text, value) || !WithinAmountLimit(value))
        return false;
    out = ToPaise(value);
    return true;
}

Paise ProportionOf(Paise amount, Paise part, Paise whole)
{
    if (whole == 0)
        return 0;
    return ToPaise(ToRupees(amount) * double(part) / double(whole));
}

bool ReadStatementAmount(const QString& text, Paise& out, AmountSide* side)
{
    static const QRegularExpression shape(
        QStringLiteral("^(?:rs\\.?|inr|\u20b9)?\\s*([+-]?\\d{1,3}(?:,\\d{2,3})*(?:\\.\\d*)?|[+-]?\\d+(?:\\.\\d*)?|[+-]?\\.\\d+)\\s*(dr|cr)?\\.?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    AmountSide found = AmountSide::None;
    Paise value = 0;
    if (!trimmed.isEmpty() && trimmed != QLatin1String("-")) {
        const QRegularExpressionMatch m = shape.match(trimmed);
        if (!m.hasMatch() || !ReadAmount(m.captured(1).remove(QLatin1Char(',')), value))
            return false;
        const QString mark = m.captured(2).toLower();
        found = mark == QLatin1String("dr") ? AmountSide::Debit : mark == QLatin1String("cr") ? AmountSide::Credit : AmountSide::None;
    }
    out = value;
    if (side)
        *side = found;
    return true;
}

std::vector<Paise> SplitPaise(const std::vector<Paise>& values, double ratePercent, Paise row)
{
    std::vector<Paise> shares;
    Paise shared = 0;
    for (Paise value : values) {
        shares.push_back(ToPaise(ToRupees(value) * ratePercent / 100));
        shared += shares.back();
    }
    if (shares.empty())
        return shares;
    const auto largest = std::max_element(values.begin(), values.end()) - values.begin();
    shares[largest] += row - shared;
    return shares;
}

QString AmountText(Paise paise)
{
    // built by hand: a register of many thousand lines makes several texts a line
    const Paise size = paise < 0 ? -paise : paise;
    const int cents = int(size % 100);
    QString text;
    text.reserve(24);
    if (paise < 0)
        text += QLatin1Char('-');
    text += QString::number(size / 100);
    text += QLatin1Char('.');
    text += QLatin1Char(char('0' + cents / 10));
    text += QLatin1Char(char('0' + cents % 10));
    return text;
}

QString BoxAmountText(Paise paise)
{
    const QString text = AmountText(paise);
    if (text.startsWith(QLatin1String("0.")))
        return text.mid(1);
    if (text.startsWith(QLatin1String("-0.")))
        return paise == 0 ? text.mid(2) : QLatin1Char('-') + text.mid(2);
    return text;
}

QString ShownAmountText(Paise paise, bool grouped)
{
    const QString text = AmountText(paise);
    return grouped ? GroupIndian(text) : text;
}

} // namespace zelva
