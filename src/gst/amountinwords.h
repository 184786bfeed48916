#pragma once
// An amount in rupees spelled out in Indian English, grouped in thousand, lakh
// and crore, as the invoice shows its grand total:
// 1180 -> "Rupees One Thousand One Hundred Eighty Only".
#include <QString>

namespace zelva {

// The words of the amount. Paise are cut (not rounded) to two digits. The
// blanks are kept as the printed invoices have always had them: a tens word
// keeps its trailing blank before a scale word ("Rupees Twenty  Thousand  Only").
// From 100 crore on the count of crores is spelled in full words, and a negative
// amount reads "Minus " followed by the words of its size.
QString AmountInWords(double amount);

// The three spelling steps, for digit texts.
QString SpellDigit(const QString& digit);
QString SpellTens(const QString& twoDigits);
QString SpellHundreds(const QString& digits);

} // namespace zelva
