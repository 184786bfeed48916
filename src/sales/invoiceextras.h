#pragma once
// The transport details and the registration of an invoice, kept in tables of
// their own (InvoiceTransport, InvoiceIrn) under the invoice's serial. The
// invoice's save stores its transport details in the same transaction; the
// registration comes later, from the portal's response.
#include "sales/invoice.h"

#include <vector>

namespace zelva {

class Database;

// Inside the caller's open transaction. Throws DataError.
void StoreTransportWithin(Database& db, qint64 serial, const QString& number, const InvoiceTransport& transport);

// Fills the transport details and registration of invoices read back. Throws DataError.
void ReadInvoiceExtras(Database& db, Invoice& invoice);
void ReadInvoiceExtras(Database& db, std::vector<Invoice>& invoices);

// Keeps the registration of the saved invoice of that number, in one
// transaction. Returns "" when it is kept (also when that very IRN is kept
// already), else why not, with nothing changed: no such invoice, a
// cancelled one, or one registered under another IRN. Throws DataError.
QString StoreRegistration(Database& db, const QString& number, const InvoiceRegistration& registration);

// What the operator must do on the portal when a registered invoice is
// cancelled here ("" for an invoice without IRN).
QString IrnCancelReminder(const Invoice& invoice);

} // namespace zelva
