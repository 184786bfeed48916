#include "platform/textnum.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zelva {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text as ASCII up to its first other character: a number is ASCII.
QByteArray asciiPrefix(const QString& text)
{
    QByteArray ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0 || u > 127)
            break;
        ascii.append(char(u));
    }
    return ascii;
}

// Adds one to a string of decimal digits ("199" -> "200").
void increment(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The magnitude taken to 15 significant digits, then rounded half away from
// zero to `decimals` places, given as the whole number magnitude * 10^decimals
// in decimal digits. Works on the decimal digits themselves, so no binary
// fraction (2.675 is stored as 2.67499..) can tip the rounding.
std::string scaledDigits(double magnitude, int decimals)
{
    char buffer[40];
    // "d.dddddddddddddde+XX": exactly 15 significant digits.
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const std::size_t e = text.find('e');
    const std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = 0;
    const char* expBegin = text.data() + e + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, text.data() + text.size(), exponent);

    // digits (15 of them) * 10^shift is the scaled value.
    const int shift = exponent - 14 + decimals;
    std::string whole;
    if (shift >= 0) {
        whole = digits + std::string(std::size_t(shift), '0');
    } else {
        const int keep = 15 + shift;
        if (keep < 0)
            return "0";
        whole = keep == 0 ? std::string("0") : digits.substr(0, std::size_t(keep));
        if (digits[std::size_t(keep)] >= '5')
            increment(whole);
    }
    const std::size_t first = whole.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : whole.substr(first);
}

QByteArray fifteenDigits(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QByteArray(buffer, int(result.ptr - buffer));
}

} // namespace

double Val(const QString& text)
{
    const QByteArray ascii = asciiPrefix(text);
    const char* p = ascii.constData();
    const char* end = p + ascii.size();
    while (p != end && isBlank(*p))
        ++p;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    // Only a digit, or a point followed by a digit, may start the number.
    const bool startsNumber = p != end && (isDigit(*p) || (*p == '.' && p + 1 != end && isDigit(p[1])));
    if (!startsNumber)
        return 0.0;
    // from_chars, unlike strtod, ignores the C locale: "." is always the point.
    // It takes the longest number it can and stops at what follows ("12a").
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    if (value == 0.0)
        return 0.0; // no "-0"
    return negative ? -value : value;
}

bool ReadNumber(const QString& text, double& out)
{
    const QString trimmed = text.trimmed();
    const QByteArray ascii = asciiPrefix(trimmed);
    if (ascii.isEmpty() || ascii.size() != trimmed.size())
        return false;
    const char* p = ascii.constData();
    const char* end = p + ascii.size();
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    const bool startsNumber = p != end && (isDigit(*p) || (*p == '.' && p + 1 != end && isDigit(p[1])));
    if (!startsNumber)
        return false;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return false;
    out = value == 0.0 ? 0.0 : (negative ? -value : value); // no "-0"
    return true;
}

QString NotANumberMessage(const QString& boxName, const QString& text)
{
    return QStringLiteral("%1 must be a number: \"%2\" is not one. Type it with digits only "
                          "(a point for a fraction, no commas or letters).")
        .arg(boxName, text);
}

bool WithinAmountLimit(double value)
{
    return std::isfinite(value) && std::abs(value) < AmountLimit;
}

QString AmountTooLarge(const QString& what)
{
    return what + QStringLiteral(" is too large: an amount can have at most 13 digits before the point.");
}

QString Str(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0"); // also turns -0 into "0"
    QString text = QString::fromLatin1(fifteenDigits(value));
    if (text.contains(QLatin1Char('e')))
        return text.toUpper();
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

double RoundAmount(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    const std::string scaled = scaledDigits(std::fabs(value), decimals) + "e" + std::to_string(-decimals);
    double rounded = 0.0;
    std::from_chars(scaled.data(), scaled.data() + scaled.size(), rounded);
    return value < 0 ? -rounded : rounded;
}

QString FormatAmount(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    std::string cents = scaledDigits(std::fabs(value), 2);
    const bool negative = value < 0 && cents != "0";
    if (cents.size() < 2)
        cents.insert(0, 2 - cents.size(), '0');
    // "##.00": no digit before the point below 1.
    std::string text = cents.substr(0, cents.size() - 2) + "." + cents.substr(cents.size() - 2);
    if (negative)
        text.insert(0, 1, '-');
    return QString::fromStdString(text);
}

} // namespace zelva
