#pragma once
// The one save and the one read of a tax invoice. StoreInvoice writes the
// header (BuyerInvoice) and the grid (GoodsInvoice) and takes each line's
// quantity off its stock item, in one transaction: all of it or nothing.
// LoadInvoice reads an invoice back field for field, so that
// LoadInvoice(StoreInvoice(x)) == x for every field the files keep.
//
// What the files keep is what the invoice forms have always kept: the texts
// as given (the forms fill the blanks with "N.A." before saving), a goods
// line with the value it is taxed on (its amount less its discount), the
// rows beneath with their amounts as shown, and the tax totals as the tax
// rows show them, to the paisa (files written before kept them unrounded:
// they are read back rounded).
// A line's discount is read back as what its quantity times rate exceeds
// the kept value by; its item code and the seller's address are not kept.
#include "sales/invoice.h"

#include <QStringList>
#include <optional>

namespace zelva {

class Database;

enum class Renumber {
    Allowed, // another invoice took the number meanwhile: this one takes the next free one
    Refused, // ... then nothing is saved (copies carrying the number are already printed)
};

struct StoredInvoice {
    qint64 serial = 0;
    QString number;
};

// Saves the invoice under its serial, or under the next free one when
// another invoice took it meanwhile and renumber allows; stock is changed
// through AdjustStock (a line whose item code is blank or gone takes
// nothing). Throws DataError, with nothing saved.
StoredInvoice StoreInvoice(Database& db, const Invoice& invoice, Renumber renumber = Renumber::Allowed);
// The same inside the caller's open Transaction (many invoices in one piece
// of work, as a data load does); throws DataError, and the caller's
// transaction then rolls it back with the rest.
StoredInvoice StoreInvoiceWithin(Database& db, const Invoice& invoice, Renumber renumber = Renumber::Allowed);

// A grid row as the save names it when it refuses the row's rate, and the
// forms in the same words: "goods row 2 (Paint)" (rows 1-7), "goods tax row
// 8 (CGST @ 6%)", "charge row 10 (Freight)" (rows 10 and 13).
QString RatedRowName(int gridRow, const QString& description);
// The refusal of a rate not in force on the invoice's date ("dd/mm/yyyy"),
// naming its row.
QString RateNotInForce(double rate, const QString& rowName, const QString& date);

// The invoice of that number as saved; nothing when there is none. Throws DataError.
std::optional<Invoice> LoadInvoice(Database& db, const QString& number);

// Whether the invoice file keeps cancellations: a read-only file of the layout
// before them (never upgraded) has no CancelledInvoice table, and then
// nothing in it is cancelled. Throws DataError.
bool CancellationsKept(const Database& db);
// Whether the file keeps the rates and taxes of goods lines at several rates
// (InvoiceLineTax): a file left at an older layout does not.
bool LineTaxesKept(const Database& db);

// Every saved invoice, in serial order (the invoice report). Throws DataError.
std::vector<Invoice> LoadAllInvoices(Database& db);
// The saved invoices of those numbers (in any letter case), in serial order,
// each as LoadInvoice reads it. Throws DataError.
std::vector<Invoice> LoadInvoicesNumbered(Database& db, const QStringList& numbers);
// What LoadInvoicesOfPeriod leaves out that LoadInvoice reads: each seller's
// address (its company record, read once a seller), the transport and the
// IRN. Throws DataError.
void CompleteInvoices(Database& db, std::vector<Invoice>& invoices);

} // namespace zelva
