#pragma once
// The GST look at a party's entries before a master form writes them: a GSTIN
// that is given but fails the check, or a State the GST list does not know, is
// named in a warning. The record is still written: old records and parties
// with unusual entries must keep working, and the return file falls back to
// the GSTIN's State code where the State is unknown.
#include <QString>

class QWidget;

namespace zelva {

// What is wrong with the GSTIN and State typed in the boxes (either may be
// nullptr); "" when nothing is. No State typed ("N.A." or blank) is no fault.
QString GstEntryProblems(const QWidget* gstinBox, const QWidget* stateBox);

// Warns the operator about GstEntryProblems; true when the entries may be
// written (always, for now: the warning is told, the operator decides later).
bool AcceptGstEntries(const QWidget* gstinBox, const QWidget* stateBox);

} // namespace zelva
