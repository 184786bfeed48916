#pragma once
// Twips (1/1440 inch), the unit the form and report positions are given in.

namespace zelva {

constexpr double TwipsPerInch = 1440.0;

// Twips to device units at the given resolution (dots per inch), rounded.
inline int TwipsToDevice(double twips, double dotsPerInch)
{
    const double units = twips * dotsPerInch / TwipsPerInch;
    return static_cast<int>(units >= 0 ? units + 0.5 : units - 0.5);
}

} // namespace zelva
