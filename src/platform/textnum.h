#pragma once
// Text <-> number conversion as the forms use it.
#include <QString>

namespace zelva {

// The leading number of the text (blanks, sign, digits, point, exponent), 0 when
// the text does not begin with a number: "12a" -> 12, "abc" -> 0, ".5" -> 0.5.
double Val(const QString& text);

// A number as text: at most 15 significant digits, "." as decimal point, no
// leading zero below 1 (".5"), no trailing zeros ("1234.5").
QString Str(double value);

// Rounds half away from zero after first taking the value to 15 significant
// digits, so that 2.675 (stored as 2.67499..) still rounds to 2.68.
double RoundAmount(double value, int decimals = 2);

// The "##.00" amount pattern: 0 -> ".00", 0.5 -> ".50", 1234.5 -> "1234.50".
QString FormatAmount(double value);

} // namespace zelva
