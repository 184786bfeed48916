#include "gst/taxheads.h"

#include <cmath>

namespace zelva {

TaxHeads& TaxHeads::operator+=(const TaxHeads& other)
{
    igst += other.igst;
    cgst += other.cgst;
    sgst += other.sgst;
    cess += other.cess;
    return *this;
}

TaxHeads& TaxHeads::operator-=(const TaxHeads& other)
{
    return *this += -other;
}

double HalfRate(double gstRate)
{
    return gstRate / 2;
}

double HeadRate(double gstRate, TaxMode mode)
{
    return mode == TaxMode::Cgst ? HalfRate(gstRate) : gstRate;
}

double WholeRate(double headRate, TaxMode mode)
{
    return mode == TaxMode::Cgst ? headRate * 2 : headRate;
}

QString TaxRowLabel(TaxMode mode, double gstRate, bool sgstRow)
{
    if (mode == TaxMode::None)
        return {};
    const char* head = mode == TaxMode::Igst ? "IGST" : sgstRow ? "SGST" : "CGST";
    return QStringLiteral("%1 @ %2%").arg(QLatin1String(head), RateText(HeadRate(gstRate, mode)));
}

std::vector<TaxHeads> ShareTaxRows(const std::vector<Paise>& values, double gstRate, const TaxHeads& rows)
{
    const auto split = [&](Paise row, double rate) {
        return row == 0 ? std::vector<Paise>(values.size(), 0) : SplitPaise(values, rate, row);
    };
    const std::vector<Paise> igst = split(rows.igst, gstRate);
    const std::vector<Paise> cgst = split(rows.cgst, HalfRate(gstRate));
    const std::vector<Paise> sgst = split(rows.sgst, HalfRate(gstRate));
    std::vector<TaxHeads> shares(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        shares[i] = {igst[i], cgst[i], sgst[i], 0};
    return shares;
}

TaxHeads TaxAtRate(Paise taxable, double gstRate, TaxMode mode)
{
    TaxHeads heads;
    const double base = ToRupees(taxable);
    switch (mode) {
    case TaxMode::Igst: heads.igst = ToPaise(TaxOn(base, gstRate)); break;
    case TaxMode::Cgst:
        heads.cgst = ToPaise(TaxOn(base, HalfRate(gstRate)));
        heads.sgst = heads.cgst;
        break;
    case TaxMode::None: break;
    }
    return heads;
}

} // namespace zelva
