#pragma once
// Money in whole paise, from the moment a typed amount is read to the stored
// record, the page, the register and the return: exact, whatever the count of
// amounts added, and never a paisa off what the invoice shows. The rounding
// rules live here and nowhere else:
// - an amount typed or worked out (a line's quantity times rate, a tax row) is
//   taken to the paisa, half a paisa away from zero, as it is shown;
// - a tax row shared out over lines gives each line its tax to the paisa and
//   the paise left over to the largest line (SplitPaise);
// - sums are sums of paise, so every total adds up to its parts.
// double stays only at the edge: a stored REAL column, SQL, the words.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace zelva {

using Paise = qint64;

// An amount to the paisa, rounded half away from zero as it is shown ("##.00").
Paise ToPaise(double rupees);
double ToRupees(Paise paise);
// A line's amount: quantity times rate, to the paisa.
Paise LineAmount(double quantity, double rate);
// A typed amount by the one rule for number boxes (ReadNumber), to the
// paisa; false, out untouched, when the text is no number or beyond the
// amount limit.
bool ReadAmount(const QString& text, Paise& out);
// An amount as a bank's statement writes it: digits grouped by commas
// ("1,23,456.78", "123,456.78"), "Rs", "INR" or the rupee sign before it, and
// "Dr" or "Cr" after it (side tells which; None without). A blank or "-" is
// nothing (0). False, out untouched, when the text is no amount.
enum class AmountSide { None, Debit, Credit };
bool ReadStatementAmount(const QString& text, Paise& out, AmountSide* side = nullptr);
// The share of an amount that part is of whole (amount x part / whole), to
// the paisa, half a paisa away from zero; 0 when whole is 0.
Paise ProportionOf(Paise amount, Paise part, Paise whole);
// A tax row shared out over the values it was charged on: each share the
// value times the rate to the paisa, the paise left over by that rounding
// given to the largest value, so that the shares add up to the row exactly.
std::vector<Paise> SplitPaise(const std::vector<Paise>& values, double ratePercent, Paise row);

// "1234.50", "0.05", "-12.00": a dot and two decimals, for files and grids.
QString AmountText(Paise paise);
// The "##.00" pattern of the invoice boxes: ".00", ".50", "1234.50".
QString BoxAmountText(Paise paise);
// What a register window and its printout show: AmountText, in Indian digit
// grouping (12,34,567.00) when grouped. Files keep AmountText. A window reads
// the operator's choice (IndianDigitGrouping(), a settings file) once per
// table, not once per amount: thousands of reads made a month's grid slow.
QString ShownAmountText(Paise paise, bool grouped);

} // namespace zelva
