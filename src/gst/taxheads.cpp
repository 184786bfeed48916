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
