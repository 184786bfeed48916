#include "gst/gststates.h"

#include <QHash>

namespace zelva {

namespace {

const QString Base36 = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
constexpr int GstinLength = 15;

// A name as matched: lower case, "&" read as "and", letters only.
QString matchKey(const QString& name)
{
    QString key;
    const QString lower = name.toLower().replace(QLatin1Char('&'), QStringLiteral("and"));
    for (QChar c : lower)
        if (c.isLetter())
            key += c;
    return key;
}

// Other spellings in use for a State, by code.
struct OtherName {
    const char* code;
    const char* name;
};
constexpr OtherName OtherNames[] = {
    { "01", "J&K" },
    { "01", "Jammu Kashmir" },
    { "05", "Uttaranchal" },
    { "07", "New Delhi" },
    { "07", "NCT of Delhi" },
    { "07", "National Capital Territory of Delhi" },
    { "21", "Orissa" },
    { "22", "Chattisgarh" },
    { "22", "Chhatisgarh" },
    { "25", "Daman & Diu" },
    { "26", "Dadra and Nagar Haveli" },
    { "26", "Dadra Nagar Haveli" },
    { "26", "DNH and DD" },
    { "28", "Andhra Pradesh (Old)" },
    { "34", "Pondicherry" },
    { "34", "Pondichery" },
    { "35", "Andaman and Nicobar" },
    { "35", "Andaman & Nicobar Islands" },
    { "35", "Andaman Nicobar Islands" },
    { "36", "Telengana" },
    { "37", "Andhra Pradesh (New)" },
};

const QHash<QString, const GstState*>& statesByKey()
{
    static const QHash<QString, const GstState*> index = [] {
        QHash<QString, const GstState*> keys;
        for (const GstState& state : GstStates())
            keys.insert(matchKey(state.name), &state);
        for (const OtherName& other : OtherNames)
            keys.insert(matchKey(QLatin1String(other.name)), GstStateOfCode(QLatin1String(other.code)));
        return keys;
    }();
    return index;
}

int base36Value(QChar c) { return Base36.indexOf(c); }

bool allOf(const QString& text, int from, int count, bool (*test)(QChar))
{
    for (int i = from; i < from + count; ++i)
        if (!test(text[i]))
            return false;
    return true;
}

bool isCapital(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

const std::vector<GstState>& GstStates()
{
    static const std::vector<GstState> states {
        { "01", "Jammu and Kashmir" },
        { "02", "Himachal Pradesh" },
        { "03", "Punjab" },
        { "04", "Chandigarh" },
        { "05", "Uttarakhand" },
        { "06", "Haryana" },
        { "07", "Delhi" },
        { "08", "Rajasthan" },
        { "09", "Uttar Pradesh" },
        { "10", "Bihar" },
        { "11", "Sikkim" },
        { "12", "Arunachal Pradesh" },
        { "13", "Nagaland" },
        { "14", "Manipur" },
        { "15", "Mizoram" },
        { "16", "Tripura" },
        { "17", "Meghalaya" },
        { "18", "Assam" },
        { "19", "West Bengal" },
        { "20", "Jharkhand" },
        { "21", "Odisha" },
        { "22", "Chhattisgarh" },
        { "23", "Madhya Pradesh" },
        { "24", "Gujarat" },
        { "25", "Daman and Diu" },
        { "26", "Dadra and Nagar Haveli and Daman and Diu" },
        { "27", "Maharashtra" },
        { "28", "Andhra Pradesh (Before Division)" },
        { "29", "Karnataka" },
        { "30", "Goa" },
        { "31", "Lakshadweep" },
        { "32", "Kerala" },
        { "33", "Tamil Nadu" },
        { "34", "Puducherry" },
        { "35", "Andaman and Nicobar Islands" },
        { "36", "Telangana" },
        { "37", "Andhra Pradesh" },
        { "38", "Ladakh" },
        { "97", "Other Territory" },
        { "99", "Centre Jurisdiction" },
    };
    return states;
}

const GstState* GstStateOfCode(const QString& code)
{
    for (const GstState& state : GstStates())
        if (state.code == code)
            return &state;
    return nullptr;
}

// "33", "33-Tamil Nadu", "33 Tamil Nadu": a leading code must agree with the
// name after it, so that a slip in one of them is not taken silently.
const GstState* FindGstState(const QString& typed)
{
    const QString text = typed.trimmed();
    int digits = 0;
    while (digits < text.size() && isDigit(text[digits]))
        ++digits;
    const QString name = matchKey(text.mid(digits));
    const GstState* byName = name.isEmpty() ? nullptr : statesByKey().value(name, nullptr);
    if (digits == 0)
        return byName;
    const GstState* byCode = digits == 2 ? GstStateOfCode(text.left(2)) : nullptr;
    if (name.isEmpty() || byName == byCode)
        return byCode;
    return nullptr;
}

QString PlaceOfSupplyText(const GstState& state) { return state.code + QLatin1Char('-') + state.name; }

QString StateProblem(const QString& typed)
{
    if (FindGstState(typed))
        return {};
    if (typed.trimmed().isEmpty() || typed.trimmed() == QLatin1String("N.A."))
        return QStringLiteral("No State is given: the place of supply cannot be told.");
    return QStringLiteral("\"%1\" is not a State or Union Territory of the GST list.").arg(typed.trimmed());
}

QString GstinStateProblem(const QString& gstin, const QString& state)
{
    const GstState* typed = FindGstState(state);
    if (!typed || !CheckGstin(gstin).valid())
        return {};
    const QString code = NormalizedGstin(gstin).left(2);
    if (code == typed->code)
        return {};
    return QStringLiteral("The GSTIN is registered in State %1, not in %2.").arg(code, PlaceOfSupplyText(*typed));
}

QString NormalizedGstin(const QString& typed) { return IsNoGstin(typed) ? QString() : typed.trimmed().toUpper(); }

bool IsNoGstin(const QString& typed)
{
    const QString text = typed.trimmed();
    return text.isEmpty() || text.compare(QLatin1String("N.A."), Qt::CaseInsensitive) == 0;
}

QChar GstinCheckCharacter(const QString& first14)
{
    if (first14.size() != GstinLength - 1)
        return {};
    int sum = 0;
    for (int i = 0; i < first14.size(); ++i) {
        const int value = base36Value(first14[i]);
        if (value < 0)
            return {};
        const int product = value * (i % 2 == 0 ? 1 : 2);
        sum += product / 36 + product % 36;
    }
    return Base36[(36 - sum % 36) % 36];
}

GstinCheck CheckGstin(const QString& typed)
{
    GstinCheck check;
    const QString gstin = NormalizedGstin(typed);
    check.present = !gstin.isEmpty();
    if (!check.present)
        return check;
    QStringList& problems = check.problems;
    if (gstin.size() != GstinLength) {
        problems << QStringLiteral("A GSTIN has 15 characters; \"%1\" has %2.").arg(gstin).arg(gstin.size());
        return check;
    }
    const QString code = gstin.left(2);
    if (!GstStateOfCode(code))
        problems << QStringLiteral("It must begin with the two-digit code of a State; \"%1\" is not one.").arg(code);
    if (!allOf(gstin, 2, 5, isCapital) || !allOf(gstin, 7, 4, isDigit) || !isCapital(gstin[11]))
        problems << QStringLiteral("Characters 3 to 12 must be a PAN (five letters, four digits, a letter); "
                                   "\"%1\" is not.")
                        .arg(gstin.mid(2, 10));
    if (!isCapital(gstin[12]) && (!isDigit(gstin[12]) || gstin[12] == QLatin1Char('0')))
        problems << QStringLiteral("The 13th character must be 1 to 9 or a letter; \"%1\" is not.").arg(gstin[12]);
    if (gstin[13] != QLatin1Char('Z'))
        problems << QStringLiteral("The 14th character must be Z; \"%1\" is not.").arg(gstin[13]);
    const QChar expected = GstinCheckCharacter(gstin.left(GstinLength - 1));
    if (expected.isNull())
        problems << QStringLiteral("Only digits and letters may be used.");
    else if (gstin[14] != expected)
        problems << QStringLiteral("The check character (the last one) does not fit the others: it should be \"%1\", "
                                   "not \"%2\"; a character may be mistyped.")
                        .arg(expected)
                        .arg(gstin[14]);
    return check;
}

QString GstinCheck::warning() const
{
    if (!present || problems.isEmpty())
        return {};
    return QStringLiteral("The GSTIN looks wrong. ") + problems.join(QLatin1Char(' '));
}

} // namespace zelva
