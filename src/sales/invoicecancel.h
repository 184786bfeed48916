#pragma once
// Cancelling a saved invoice, and the months whose return is filed.
//
// A saved invoice is never edited or deleted. A cancelled one stays under its
// number, which is never issued again (the next number is counted over every
// saved invoice), with its mark (CancelledInvoice: date, time, reason and
// operator); the stock it took off comes back through AdjustStock in the same
// transaction: all of it or nothing. The checks (saved, not cancelled yet, its
// month's return not filed) run inside that transaction, under the writers'
// lock, so two counters cancelling one invoice cannot both do it.
//
// The stock given back is what the save recorded taking, line by line
// (InvoiceStock). An invoice saved before that was recorded gives each goods
// line back to the first stock item of its description, if there is one.
//
// Once a month's return of outward supplies is filed, its invoices stand: a
// credit or debit note corrects them instead.
#include "sales/invoice.h"

#include <QString>
#include <optional>

namespace zelva {

class Database;

// Cancels the invoice of that number with the mark (its reason required).
// Returns "" when it is cancelled, else why not, with nothing changed.
// Throws DataError, with nothing changed.
QString CancelInvoice(Database& db, const QString& number, const InvoiceCancellation& mark);

// Why the invoice of that number cannot be cancelled as things stand ("" when
// it can), for a window to say before it asks; CancelInvoice checks again
// inside its transaction. Throws DataError.
QString CancelRefusal(Database& db, const QString& number);

struct FiledReturn {
    QString on; // "dd/mm/yyyy"
    QString by;
};

// The filing of the month's return; nothing when it is not marked filed. Throws DataError.
std::optional<FiledReturn> ReturnFiled(Database& db, int year, int month);
// Marks the month's return filed (a month already marked keeps its first
// mark). Throws DataError.
void MarkReturnFiled(Database& db, int year, int month, const FiledReturn& filing);

} // namespace zelva
