#include "gst/gsttax.h"

#include "platform/textnum.h"


namespace zelva {

TaxMode DecideTaxMode(const QString& buyerState, const QString& companyState)
{
    return buyerState == companyState ? TaxMode::Cgst : TaxMode::Igst;
}

double TaxOn(double base, double ratePercent)
{
    return base * ratePercent / 100;
}

QString RateText(double ratePercent)
{
    return QString::number(ratePercent, 'g', 6); // "0.25", not Str's ".25"
}

} // namespace zelva
