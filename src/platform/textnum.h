#pragma once
// Text <-> number conversion as the forms use it.
#include <QString>

namespace zelva {

// The leading number of the text (blanks, sign, digits, point, exponent), 0 when
// the text does not begin with a number: "12a" -> 12, "abc" -> 0, ".5" -> 0.5.
double Val(const QString& text);

// The strict reading of a number typed into a box: blanks around it are
// allowed, anything else must be one number as Val reads it ("12", "-5",
// "2.5", ".5", "1e3"). "12a", "1,000", "abc", "" and "inf" are refused: out is
// then left alone and the result is false.
bool ReadNumber(const QString& text, double& out);

// What the operator is told when a box's text is refused: "Quantity must be
// a number: ..." (the forms show it through ReadNumber of ui/formboxes.h).
QString NotANumberMessage(const QString& boxName, const QString& text);

// Amounts are carried to the paisa in 15 significant digits: 13 before the
// point and 2 after. Larger values (or no finite value at all) cannot be shown,
// spelled or stored exactly.
constexpr double AmountLimit = 1e13;
bool WithinAmountLimit(double value);
// The message for what passes that limit ("The total of this invoice").
QString AmountTooLarge(const QString& what);

// A number as text: at most 15 significant digits, "." as decimal point, no
// leading zero below 1 (".5"), no trailing zeros ("1234.5").
QString Str(double value);

// Rounds half away from zero after first taking the value to 15 significant
// digits, so that 2.675 (stored as 2.67499..) still rounds to 2.68.
double RoundAmount(double value, int decimals = 2);

// The "##.00" amount pattern: 0 -> ".00", 0.5 -> ".50", 1234.5 -> "1234.50".
QString FormatAmount(double value);

} // namespace zelva
