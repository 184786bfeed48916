#pragma once
// Money in whole paise. Registers and the return add up the amounts as the
// saved invoices show them (two decimals), so sums are kept in paise: exact,
// whatever the count of invoices, and never a paisa off the invoices.
#include <QString>
#include <QtGlobal>

namespace zelva {

using Paise = qint64;

// A stored amount to the paisa, rounded half away from zero as it was shown.
Paise ToPaise(double rupees);
double ToRupees(Paise paise);
// "1234.50", "0.05", "-12.00": a dot and two decimals, for files and grids.
QString AmountText(Paise paise);
// What a register window and its printout show: AmountText, in Indian digit
// grouping (12,34,567.00) when grouped. Files keep AmountText. A window reads
// the operator's choice (IndianDigitGrouping(), a settings file) once per
// table, not once per amount: thousands of reads made a month's grid slow.
QString ShownAmountText(Paise paise, bool grouped);

} // namespace zelva
