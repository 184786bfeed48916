#pragma once
// Saved credit and debit notes as the registers and the return read them, and
// what the notes do to each invoice.
//
// A credit note takes value off its invoice, a debit note adds to it; the
// registers show a credit note's figures negative (signed()), so that totals
// are net of the notes. A note is dated in its own period, whatever its
// invoice's date.
#include "registers/savedinvoice.h"
#include "sales/invoice.h"

#include <map>

namespace zelva {

struct SavedNoteLine {
    int goodsRow = 0;
    QString description;
    QString hsn; // "" when none
    QString unit;
    double quantity = 0;
    Paise value = 0;
    TaxHeads tax; // its share of the note's tax rows, the heads of the note's mode
    double rate = 0; // the whole GST rate of the invoice line it corrects
};

struct SavedNote {
    qint64 serial = 0; // within its kind
    bool credit = true;
    QString number;
    QString dateText;
    QDate date;
    QString reason;
    TaxMode mode = TaxMode::None;
    double rate = 0; // the whole GST rate its lines share; 0 when they are at several
    Paise taxable = 0;
    TaxHeads tax;
    Paise total = 0;
    std::vector<SavedNoteLine> lines;
    // The invoice it corrects, as the return needs it: number, date, buyer
    // (GSTIN and State), its mode and its own value.
    SavedInvoice invoice;

    int sign() const { return credit ? -1 : 1; }
    // The value and tax at each rate (unsigned), rates rising: one entry, the
    // note's own figures, when its lines share its rate.
    std::vector<RateTax> supplies() const;
    Paise signedValue(Paise amount) const { return sign() * amount; }
    TaxHeads signedTax(const TaxHeads& heads) const { return credit ? -heads : heads; }
};

// The notes dated within the period, credit and debit, in the order they
// were saved. Throws DataError.
std::vector<SavedNote> LoadNotes(const Database& db, const Period& period);

// What the notes saved against one invoice come to, tax included: the
// receipts and what a buyer owes start from the invoice's value plus net().
struct NoteEffect {
    int notes = 0;
    Paise credited = 0;
    Paise debited = 0;
    Paise net() const { return debited - credited; }
};

// The notes against the invoice of that serial. Throws DataError.
NoteEffect NoteEffectOnInvoice(const Database& db, qint64 invoiceSerial);
// The notes against each invoice of the buyer (code "bid"), by invoice
// serial; invoices without notes are left out. Throws DataError.
std::map<qint64, NoteEffect> NoteEffectsOfBuyer(const Database& db, const QString& buyerCode);

} // namespace zelva
