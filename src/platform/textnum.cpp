#include "platform/textnum.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace zelva {

double Val(const QString& text)
{
    // A number is ASCII: stop at the first character beyond it.
    QByteArray ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 127)
            break;
        ascii.append(char(u));
    }
    const char* begin = ascii.constData();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    // Only digits or a point followed by a digit may start the number.
    const char* p = begin;
    if (*p == '+' || *p == '-')
        ++p;
    if (!(std::isdigit(static_cast<unsigned char>(*p)) || (*p == '.' && std::isdigit(static_cast<unsigned char>(p[1])))))
        return 0.0;
    // from_chars, unlike strtod, ignores the C locale: "." is always the point.
    const bool negative = *begin == '-';
    double value = 0.0;
    const auto [end, error] = std::from_chars(p, ascii.constData() + ascii.size(), value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

static QByteArray fifteenDigits(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QByteArray(buffer, int(result.ptr - buffer));
}

static double toFifteenDigits(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return value;
    const QByteArray text = fifteenDigits(value);
    double parsed = value;
    std::from_chars(text.constData(), text.constData() + text.size(), parsed);
    return parsed;
}

QString Str(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
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
    const double scale = std::pow(10.0, decimals);
    const double scaled = toFifteenDigits(toFifteenDigits(value) * scale);
    return std::round(scaled) / scale; // std::round: halves away from zero
}

QString FormatAmount(double value)
{
    const double rounded = RoundAmount(value, 2);
    QString text = QString::number(rounded, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

} // namespace zelva
