#pragma once
// Dates and amounts as the operator reads them in the main window, the report
// windows and the registers: Indian conventions whatever the machine's locale.
// What the records store is not touched (stored dates keep the system's
// separator; the invoice page keeps "##.00").
#include <QDate>
#include <QString>

namespace zelva {

// "dd/mm/yyyy": 5 December 2026 -> "05/12/2026"; "" for an invalid date.
QString ShownDate(const QDate& date);

// A stored date text ("05-12-2026", "05.12.2026", "05/12/2026") as
// "dd/mm/yyyy"; any other text (blank, "N.A.") comes back unchanged.
QString ShownDate(const QString& storedDate);

// An amount text ("1234567.00", "-0.05", "1234567") with the digits before
// the point grouped the Indian way: three, then twos ("12,34,567.00"). Any
// other text comes back unchanged.
QString GroupIndian(const QString& amountText);

// The "##.00" pattern with the digits before the point grouped the Indian
// way, three then twos: 1234567 -> "12,34,567.00", -100000 -> "-1,00,000.00",
// 0.5 -> ".50".
QString IndianGroupedAmount(double value);

// The setting "Indian digit grouping" for amounts in the registers and
// summaries, kept per user; off unless the operator turns it on.
bool IndianDigitGrouping();
void SetIndianDigitGrouping(bool on);

// A register or summary amount: IndianGroupedAmount when grouped, else the
// plain "##.00" pattern. A register reads IndianDigitGrouping() once and
// passes it here for each of its amounts.
QString RegisterAmount(double value, bool grouped);

} // namespace zelva
