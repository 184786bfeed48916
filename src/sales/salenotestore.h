#pragma once
// The one save and the one read of a credit or debit note.
//
// StoreSaleNote checks the note against its invoice and the notes saved
// before it, and saves it whole, inside one transaction under the writers'
// lock: two counters writing notes against the same invoice at once never
// together take back more than the invoice holds. A sales return gives its
// goods back to the stock items the invoice took them from (InvoiceStock;
// an invoice saved before that was kept: the first item of the line's
// description) through AdjustStock in the same transaction. A note of value
// only, and every debit note, moves no stock.
//
// What is left of an invoice's goods line for a credit note: its quantity
// less the quantities credited, and its taxable value with the debit notes'
// values added and the credit notes' values taken off.
#include "sales/salenote.h"

#include <optional>

namespace zelva {

class Database;

struct LineLeft {
    int goodsRow = 0;
    QString description;
    QString hsn;
    QString unit;
    double invoiced = 0;     // the line's quantity as invoiced
    Paise invoicedValue = 0; // and its taxable value
    double quantity = 0;     // left for credit notes
    Paise value = 0;
    std::optional<double> gstRate; // the whole GST rate the line was charged at; none without tax
};

// What is left of each goods line of the invoice after the notes saved
// against it, in row order. Throws DataError.
std::vector<LineLeft> LeftOfInvoice(Database& db, const Invoice& invoice);

// Why the note cannot be saved as things stand, naming the box ("" when it
// can): its invoice (saved, not cancelled, the same buyer), its date (a day,
// not before the invoice's; a credit note not after LastCreditNoteDay), its
// reason, and each line (above nothing, within what is left, a sales return
// with its quantity). StoreSaleNote asks again inside its transaction.
// Throws DataError.
QString NoteRefusal(Database& db, const SaleNote& note);

struct StoredNote {
    qint64 serial = 0;
    QString number;
    QString refusal; // why nothing was saved; "" when it was
    bool saved() const { return refusal.isEmpty(); }
};

// The serial the next note of the kind will take. Throws DataError.
qint64 NextNoteSerial(Database& db, NoteKind kind);

// Saves the note (its totals worked out again) under its serial, or the next
// free one of its kind when another counter took it meanwhile; or nothing,
// with the refusal. Throws DataError, with nothing saved.
StoredNote StoreSaleNote(Database& db, const SaleNote& note);

// The note of that number as saved; nothing when there is none. Throws DataError.
std::optional<SaleNote> LoadSaleNote(Database& db, const QString& number);
// Keeps the portal's registration of the note of that number, in one
// transaction. "" when it is kept (also when that very IRN is kept already),
// else why not, with nothing changed: no such note, or one registered under
// another IRN. Throws DataError.
QString StoreNoteRegistration(Database& db, const QString& number, const InvoiceRegistration& registration);

// Every saved note, newest first; only their headers and totals (no lines). Throws DataError.
std::vector<SaleNote> LoadSaleNoteHeaders(Database& db);

// The numbers of the saved invoices a note may be issued against (not
// cancelled), newest first, at most limit of them. Throws DataError.
QStringList NoteableInvoices(Database& db, int limit);

// Whether the invoice of that serial has any note against it. Throws DataError.
bool HasSaleNotes(Database& db, qint64 invoiceSerial);

} // namespace zelva
