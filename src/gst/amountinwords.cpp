#include "gst/amountinwords.h"

#include "platform/textnum.h"

#include <cmath>

namespace zelva {

namespace {

const char* const UnitWords[] = {"", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
const char* const TeenWords[] = {"Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                 "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
const char* const TensWords[] = {"", "", "Twenty ", "Thirty ", "Forty ", "Fifty ", "Sixty ", "Seventy ", "Eighty ", "Ninety "};

const QString ThousandWord = QStringLiteral(" Thousand ");
const QString LakhWord = QStringLiteral(" lakh ");
const QString CroreWord = QStringLiteral(" Crore ");

int digitAt(const QString& text, int index)
{
    const QChar c = text.at(index);
    return c.isDigit() ? c.digitValue() : 0;
}

// Removes up to count characters from the end.
void dropRight(QString& text, int count)
{
    text.chop(std::min(count, int(text.size())));
}

// Words of a whole number of rupees given as digits, without "Rupees".
QString wholeRupeeWords(QString digits)
{
    QString words;
    const QString hundreds = SpellHundreds(digits.right(3));
    if (!hundreds.isEmpty())
        words = hundreds + words;
    dropRight(digits, 3);
    for (const QString& scale : {ThousandWord, LakhWord}) {
        if (digits.isEmpty())
            break;
        const QString tens = SpellTens((QStringLiteral("0") + digits).right(2));
        if (!tens.isEmpty())
            words = tens + scale + words;
        dropRight(digits, 2);
    }
    if (digits.isEmpty())
        return words;
    // Up to 99 crore the count is one two-digit group; beyond, it is a whole
    // number of its own, spelled the same way.
    const QString crores = digits.size() <= 2 ? SpellTens((QStringLiteral("0") + digits).right(2))
                                              : wholeRupeeWords(digits).trimmed();
    if (!crores.isEmpty())
        words = crores + CroreWord + words;
    return words;
}

// The amount as digits before and after the point, as it has always been
// written: at most 15 significant digits, no trailing zeros.
void splitAmount(double amount, QString& rupees, QString& fraction)
{
    QString text = Str(amount).trimmed();
    if (text.contains(QLatin1Char('E'))) // too large for 15 digits: write it out whole
        text = QString::number(amount, 'f', 2);
    const int point = text.indexOf(QLatin1Char('.'));
    rupees = point < 0 ? text : text.left(point).trimmed();
    fraction = point < 0 ? QString() : text.mid(point + 1);
}

} // namespace

QString SpellDigit(const QString& digit)
{
    const double value = Val(digit);
    if (value >= 1 && value <= 9 && value == std::floor(value))
        return QLatin1String(UnitWords[int(value)]);
    return {};
}

QString SpellTens(const QString& twoDigits)
{
    if (twoDigits.size() < 2)
        return SpellDigit(twoDigits);
    if (digitAt(twoDigits, 0) == 1)
        return QLatin1String(TeenWords[digitAt(twoDigits, 1)]);
    return QLatin1String(TensWords[digitAt(twoDigits, 0)]) + SpellDigit(twoDigits.right(1));
}

QString SpellHundreds(const QString& digits)
{
    if (Val(digits) == 0)
        return {};
    const QString padded = (QStringLiteral("000") + digits).right(3);
    QString result;
    if (padded.at(0) != QLatin1Char('0'))
        result = SpellDigit(padded.left(1)) + QStringLiteral(" Hundred ");
    if (padded.at(1) != QLatin1Char('0'))
        result += SpellTens(padded.mid(1, 2));
    else
        result += SpellDigit(padded.right(1));
    return result.trimmed();
}

QString AmountInWords(double amount)
{
    if (amount < 0)
        return QStringLiteral("Minus ") + AmountInWords(-amount);

    QString rupeeDigits;
    QString fraction;
    splitAmount(amount, rupeeDigits, fraction);

    QString paise;
    if (!fraction.isNull())
        paise = SpellTens((fraction + QStringLiteral("00")).left(2));
    QString rupees = wholeRupeeWords(rupeeDigits);

    if (rupees == QLatin1String("One"))
        rupees = QStringLiteral("Rupee One");
    else if (!rupees.isEmpty())
        rupees = QStringLiteral("Rupees ") + rupees;

    if (paise == QLatin1String("One"))
        paise = QStringLiteral("One Paise");
    else if (!paise.isEmpty())
        paise += QStringLiteral(" Paise");

    if (rupees.isEmpty())
        return paise + QStringLiteral(" Only");
    if (paise.isEmpty())
        return rupees + QStringLiteral(" Only");
    return rupees + QStringLiteral(" and ") + paise + QStringLiteral(" Only");
}

} // namespace zelva
