#pragma once
// The GST State codes and the GSTIN check, free of any window.
//
// Each State and Union Territory has a two-digit code ("33" Tamil Nadu, "97"
// Other Territory); it opens every GSTIN registered there and names the place
// of supply in the return file. A State typed on a form is matched leniently:
// letter case, blanks, dots and "&" for "and" do not matter, and the older or
// common spellings ("Orissa", "Pondicherry", "Uttaranchal") name the same State.
// A code may also be typed in front ("33-Tamil Nadu") or alone ("33").
//
// A GSTIN is 15 characters: the State code, the holder's PAN (five letters,
// four digits, a letter), the entity number (1-9 or a letter), "Z", and a check
// character over the first fourteen. "N.A." or a blank means the holder has no
// GSTIN (an unregistered buyer), which is not an error.
#include <QString>
#include <QStringList>
#include <vector>

namespace zelva {

struct GstState {
    QString code; // "33"
    QString name; // "Tamil Nadu"
};

// The official list in code order, 01 to 38 and 97 Other Territory, 99 Centre
// Jurisdiction.
const std::vector<GstState>& GstStates();

// The State of a typed name or code; nullptr when the list does not know it.
const GstState* FindGstState(const QString& typed);
// The State of a code ("07"); nullptr when there is none.
const GstState* GstStateOfCode(const QString& code);
// "33-Tamil Nadu", the way the GST portal names a place of supply.
QString PlaceOfSupplyText(const GstState& state);

// What is wrong with a typed State, for a warning; "" when it is known.
QString StateProblem(const QString& typed);

// What is wrong when a valid GSTIN is registered in another State than the
// one typed beside it, for a warning; "" when they agree or either is unknown.
QString GstinStateProblem(const QString& gstin, const QString& state);

// A typed GSTIN with the blanks around it dropped, in capitals; "" for none.
QString NormalizedGstin(const QString& typed);

// True for a blank and for "N.A.": the holder has no GSTIN.
bool IsNoGstin(const QString& typed);

struct GstinCheck {
    bool present = false; // false for "N.A." or blank
    QStringList problems; // what is wrong, one sentence each; empty when valid
    bool valid() const { return present && problems.isEmpty(); }
    // All problems in one warning text, "" when valid or absent.
    QString warning() const;
};

// Checks a typed GSTIN (letter case and blanks around it do not matter).
GstinCheck CheckGstin(const QString& typed);

// The check character of the first fourteen characters of a GSTIN; a null
// character when they are not all digits and capital letters.
QChar GstinCheckCharacter(const QString& first14);

} // namespace zelva
