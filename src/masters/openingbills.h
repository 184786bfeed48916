#pragma once
// The opening balance of the buyer or supplier on display: what it owed (or
// was owed) on the day the books start here, typed as one amount (the one
// row offered, numbered "Opening" and dated that day) or as the earlier
// bills with their own numbers, dates and amounts, in a small window of its
// own (dlgOpeningBills) that saves through StoreOpeningBills.
#include "sales/opening.h"

class QWidget;

namespace zelva {

class Database;

// Opens the window for the party; false when the operator cancelled or it
// could not be opened (the operator told why).
bool EditOpeningBills(QWidget* parent, Database& db, PartyKind kind, const QString& partyCode, const QString& partyName);

} // namespace zelva
