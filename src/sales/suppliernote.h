#pragma once
// A supplier's credit or debit note against one of its stored bills, as a
// value: the note's own number and date, the bill it corrects, the rate of
// the bill's lines it is at, its taxable value and its tax, worked out as the
// bill's own (TaxAtRate at the bill's tax kind). Kept in SupplierNote.
//
// - A note is from a registered supplier, on a bill with GST, dated on or
//   after the bill, at one of the bill's rates, with a taxable value above
//   nothing; a credit note takes off no more than is left of the bill at
//   that rate (its value, with the debit notes added and the earlier credit
//   notes taken off).
// - A note number is entered once per supplier, kind and financial year,
//   numbers compared as ComparableBillNumber says.
// - The return nets a note in the month of its date, where its bill's credit
//   is: a credit note takes off, a debit note adds.
#include "sales/purchasebill.h"

namespace zelva {

struct SupplierNote {
    qint64 serial = 0; // given by the save
    bool credit = true; // false: a debit note
    QString number;
    QDate date;
    qint64 billSerial = 0;
    double gstRate = 0;
    Paise taxable = 0;
    TaxHeads tax; // worked out by the save from the bill
    QString reason;
    // The bill it is against, header and lines (read by the save and the loader).
    PurchaseBill bill;

    // The value with its sign in the return: credit notes negative.
    Paise signedValue(Paise amount) const { return credit ? -amount : amount; }
    TaxHeads signedTax() const { return credit ? -tax : tax; }
    // "Credit note CN-3 of 18/01/2025 on bill 42 of Sharma Traders"
    QString reference() const;
};

// The bills a note may be against: the GST bills of registered suppliers
// dated from `from` on, newest first. Throws DataError.
std::vector<PurchaseBill> LoadBillsForNotes(const Database& db, const QDate& from);

// Why the note cannot be saved against that bill, naming the box; "" when it
// can (the part that needs no other note).
QString SupplierNoteRefusal(const SupplierNote& note, const PurchaseBill& bill);

// Saves the note in one transaction: its bill read again inside it, the
// checks of SupplierNoteRefusal, what is left of the bill for a credit note,
// the same number not entered before; the tax worked out from the bill (into
// note.tax) and the note numbered (note.serial). "" when saved, else why
// nothing is. Throws DataError.
QString StoreSupplierNote(Database& db, SupplierNote& note);

// The notes dated within the days (both included), each with its bill, in
// date then serial order. Throws DataError.
std::vector<SupplierNote> LoadSupplierNotes(const Database& db, const QDate& from, const QDate& to);

} // namespace zelva
