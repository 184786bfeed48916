#pragma once
// GST arithmetic of the invoice, free of any window: which tax a buyer pays
// and the tax of a rate on a base. The rates themselves are dated data
// (gst/gstrates.h); a document keeps each rate as a number. The totals of an invoice are
// worked out by ComputeTotals (sales/invoice.h).
#include "platform/textnum.h" // AmountLimit

#include <QString>
#include <QStringList>

namespace zelva {

// "igst" for a buyer of another State, "cgst" (CGST plus SGST) for a buyer of
// the company's own State, None before a buyer is chosen.
enum class TaxMode { None, Cgst, Igst };

// The States are compared exactly: letter case and blanks count.
TaxMode DecideTaxMode(const QString& buyerState, const QString& companyState);

// The tax of a rate (in percent) on a base, unrounded.
double TaxOn(double base, double ratePercent);

// A rate as the grid shows it: plain number text, "9", "2.5", "0.25".
QString RateText(double ratePercent);

} // namespace zelva
