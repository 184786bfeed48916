#pragma once
// GST arithmetic of the invoice, free of any window: the rate lists, which tax
// a buyer pays and the tax of a rate on a base. The totals of an invoice are
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

// The five entries of each rate list, in list order ("IGST @ 18%").
const QStringList& IgstList();
const QStringList& CgstList();
const QStringList& SgstList();

constexpr int RateCount = 5;
// The percentage at list position 0..4 in the mode's list; 0 outside the list.
// CGST rates are each half the IGST rate, and SGST is charged at the CGST rate.
double RateAt(TaxMode mode, int position);

// The tax of a rate (in percent) on a base, unrounded.
double TaxOn(double base, double ratePercent);

// The SGST label that goes with a CGST label: "CGST @ 9%" -> "SGST @ 9%".
QString SgstLabelFor(const QString& cgstLabel);

// A rate as the grid shows it: plain number text, "9", "2.5".
QString RateText(double ratePercent);

} // namespace zelva
