#include "registers/uqc.h"

#include <QHash>

namespace zelva {

namespace {

// Units as typed, lower case without blanks and dots, by the portal's code.
struct UnitNames {
    const char* code;
    std::initializer_list<const char*> names;
};
const UnitNames Units[] = {
    { "BAG", { "bag", "bags" } },
    { "BDL", { "bdl", "bundle", "bundles" } },
    { "BOX", { "box", "boxes" } },
    { "BTL", { "btl", "bottle", "bottles" } },
    { "CAN", { "can", "cans" } },
    { "CBM", { "cbm", "cubicmeter", "cubicmetre" } },
    { "CMS", { "cm", "cms", "centimeter", "centimetre" } },
    { "CTN", { "ctn", "carton", "cartons" } },
    { "DOZ", { "doz", "dozen", "dozens" } },
    { "DRM", { "drm", "drum", "drums" } },
    { "GMS", { "g", "gm", "gms", "gram", "grams", "gramme" } },
    { "KGS", { "kg", "kgs", "kilo", "kilos", "kilogram", "kilograms" } },
    { "KLR", { "kl", "klr", "kilolitre", "kiloliter" } },
    { "KME", { "km", "kme", "kilometer", "kilometre" } },
    { "LTR", { "l", "lt", "ltr", "ltrs", "litre", "litres", "liter", "liters" } },
    { "MLT", { "ml", "mlt", "millilitre", "milliliter" } },
    { "MTR", { "m", "mtr", "mtrs", "meter", "meters", "metre", "metres" } },
    { "MTS", { "mts", "tonne", "tonnes", "metricton", "metrictonne" } },
    { "NOS", { "no", "nos", "number", "numbers" } },
    { "PAC", { "pac", "pack", "packs", "packet", "packets", "pkt" } },
    { "PCS", { "pc", "pcs", "piece", "pieces" } },
    { "PRS", { "pr", "prs", "pair", "pairs" } },
    { "QTL", { "qtl", "quintal", "quintals" } },
    { "ROL", { "rol", "roll", "rolls" } },
    { "SET", { "set", "sets" } },
    { "SQF", { "sqf", "sqft", "squarefeet", "squarefoot" } },
    { "SQM", { "sqm", "sqmtr", "squaremeter", "squaremetre", "squaremeters", "squaremetres" } },
    { "TON", { "ton", "tons" } },
    { "TUB", { "tub", "tube", "tubes" } },
    { "UNT", { "unt", "unit", "units" } },
    { "YDS", { "yd", "yds", "yard", "yards" } },
};

QString unitKey(const QString& unit)
{
    QString key;
    for (QChar c : unit.toLower())
        if (c.isLetterOrNumber())
            key += c;
    return key;
}

} // namespace

QString UnitQuantityCode(const QString& unit)
{
    static const QHash<QString, QString> codes = [] {
        QHash<QString, QString> byName;
        for (const UnitNames& unitNames : Units)
            for (const char* name : unitNames.names)
                byName.insert(QLatin1String(name), QLatin1String(unitNames.code));
        return byName;
    }();
    return codes.value(unitKey(unit), QStringLiteral("OTH"));
}

bool IsServiceCode(const QString& hsn) { return hsn.trimmed().startsWith(QLatin1String("99")); }

QString ServiceQuantityCode() { return QStringLiteral("NA"); }

} // namespace zelva
