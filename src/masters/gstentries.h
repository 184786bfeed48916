#pragma once
// The GST look at a party's entries before a master form writes them: a GSTIN
// that is given but fails the check, a State the GST list does not know, or a
// GSTIN registered in another State than the one typed (its first two digits
// are that State's code) is named in a warning that asks whether to save anyway. Yes writes the record
// as typed (old records and parties with unusual entries must keep working,
// and the return file falls back to the GSTIN's State code where the State is
// unknown); No leaves it pending, unwritten, to be corrected.
#include <QString>

class QWidget;

namespace zelva {

// What is wrong with the GSTIN and State typed in the boxes (either may be
// nullptr); "" when nothing is. No State typed ("N.A." or blank) is no fault.
QString GstEntryProblems(const QWidget* gstinBox, const QWidget* stateBox);

// True when there are no GstEntryProblems or the operator, told them, answers
// Yes to "Save anyway?".
bool AcceptGstEntries(const QWidget* gstinBox, const QWidget* stateBox);

} // namespace zelva
