#include "gst/gsttax.h"

#include "platform/textnum.h"

#include <array>

namespace zelva {

namespace {

constexpr std::array<double, RateCount> IgstRates{0, 5, 12, 18, 28};
constexpr std::array<double, RateCount> CgstRates{0, 2.5, 6, 9, 14};

QStringList labels(const char* kind, const std::array<double, RateCount>& rates)
{
    QStringList list;
    for (double rate : rates)
        list << QStringLiteral("%1 @ %2%").arg(QLatin1String(kind), RateText(rate));
    return list;
}

} // namespace

TaxMode DecideTaxMode(const QString& buyerState, const QString& companyState)
{
    return buyerState == companyState ? TaxMode::Cgst : TaxMode::Igst;
}

const QStringList& IgstList()
{
    static const QStringList list = labels("IGST", IgstRates);
    return list;
}

const QStringList& CgstList()
{
    static const QStringList list = labels("CGST", CgstRates);
    return list;
}

const QStringList& SgstList()
{
    static const QStringList list = labels("SGST", CgstRates);
    return list;
}

double RateAt(TaxMode mode, int position)
{
    if (position < 0 || position >= RateCount)
        return 0;
    switch (mode) {
    case TaxMode::Igst: return IgstRates[position];
    case TaxMode::Cgst: return CgstRates[position];
    case TaxMode::None: break;
    }
    return 0;
}

double TaxOn(double base, double ratePercent)
{
    return base * ratePercent / 100;
}

QString SgstLabelFor(const QString& cgstLabel)
{
    return QLatin1Char('S') + cgstLabel.mid(1);
}

QString RateText(double ratePercent)
{
    return Str(ratePercent);
}

} // namespace zelva
