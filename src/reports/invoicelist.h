#pragma once
// The saved invoices to choose one from (Print Duplicate Invoice, Cancel
// Invoice): those dated between two days whose number or buyer's name holds
// a text (any letter case; "" for all), newest first, as the grid shows them:
// number, date, buyer, total, or "CANCELLED" for a cancelled one.
#include "reports/tablereport.h"

#include <QDate>

namespace zelva {

class Database;

// Throws DataError.
TableReport SavedInvoiceList(Database& db, const QDate& from, const QDate& to, const QString& find);

} // namespace zelva
