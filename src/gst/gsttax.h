#pragma once
// GST arithmetic of the invoice, free of any window: the rate lists, which tax
// a buyer pays, the tax of a rate on a base, and the totals of an invoice.
#include "platform/textnum.h" // AmountLimit

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

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

// A tax row shared out over the goods lines it was charged on, in paise: each
// line's tax at the rate rounded to the paisa, and the paise left over by the
// rounding given to the line of the largest taxable value, so that the lines
// add up exactly to the row as shown.
std::vector<long long> SplitTaxPaise(const std::vector<double>& taxableValues, double ratePercent, long long rowPaise);

// A rate as the grid shows it: plain number text, "9", "2.5".
QString RateText(double ratePercent);

// What the totals are made of: the three unrounded taxes, the goods total,
// the quantity texts of goods rows 1-7 and the amount texts of rows 8-16.
struct TotalsInput {
    TaxMode mode = TaxMode::None;
    double goodsTax = 0;
    double others1Tax = 0;
    double others2Tax = 0;
    double goodsTotal = 0;
    std::array<QString, 7> quantityTexts;
    std::array<QString, 9> chargeAmountTexts;
};

struct Totals {
    double goodsTotal = 0;
    double totalIgst = 0;
    double totalCgst = 0;
    double totalSgst = 0;
    double quantityTotal = 0;
    double chargesTotal = 0;
    double grandTotal = 0;
};

// Tax totals are sums of the unrounded taxes; the grand total adds the shown
// (rounded) charge and tax rows to the goods total. With no tax mode the tax
// totals stay 0.
Totals ComputeTotals(const TotalsInput& input);

} // namespace zelva
