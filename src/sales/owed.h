#pragma once
// What buyers owe, worked out in one place: every report, form and save that
// needs it (the receipt form's open invoices and the check inside a receipt's
// save, the buyer's balance on the invoice form and its credit limit, the
// outstanding report, the statement of account) starts from WhatIsOwed or
// BuyerLedger here, so that a new kind of document that changes what is owed
// (a credit or debit note) is added here once.
//
// A buyer's opening bills (what it owed when the books started here,
// sales/opening.h) count as invoices of their own dates, under their serials
// made negative, so that receipts are allotted to them as to invoices.
//
// An invoice owes its grand total, less its credit notes and plus its debit
// notes (tax included, each as at its own date), less what live receipts
// allotted to it; what a credit note takes off an invoice already paid goes
// back to the receipts' advance, as far as they paid beyond what it owes.
// Each allotment counts, in the order saved, only as far as its invoice still
// owes and its receipt still holds, so that no money counts twice or below
// nothing whatever notes and cancellations came after it. A
// cancelled invoice owes nothing, and what was allotted to it goes back to
// its receipt's advance. A cancelled receipt counts for nothing. A buyer's
// balance is what its invoices still owe less its advances: the same as all
// it was billed less all it paid.
#include "platform/money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

// The key a buyer's documents are found by: its code, else (documents saved
// without one) its name.
QString BuyerKey(const QString& buyerCode, const QString& buyerName);

struct OwedInvoice {
    qint64 serial = 0;
    QString number;
    QString dateText; // as stored
    QDate date;       // invalid when the stored text is no date
    QString buyerCode;
    QString buyerName;
    Paise amount = 0;
    Paise paid = 0;
    Paise left() const { return amount - paid; }
    // An opening bill (sales/opening.h), met here under its serial made negative.
    bool opening() const { return serial < 0; }
};

struct OwedQuery {
    std::optional<QString> buyerKey; // one buyer's documents only
    std::optional<QDate> asAt;       // documents dated on or before it only
};

struct Owed {
    // The invoices with something left to pay, oldest first (by date, then serial).
    std::vector<OwedInvoice> open;
    // Each buyer's advance: what its receipts hold beyond their allotments.
    QHash<QString, Paise> advance;
    // Each advance's receipt, oldest first, with what it still holds.
    struct Advance {
        qint64 receiptSerial = 0;
        QString receiptNumber;
        QString buyerKey;
        QString buyerName;
        Paise amount = 0;
    };
    std::vector<Advance> advances;

    // What the buyer owes: its open invoices less its advance (below nothing
    // when it paid ahead).
    Paise balance(const QString& buyerKey) const;
    // The buyer's open invoices, oldest first.
    std::vector<OwedInvoice> openOf(const QString& buyerKey) const;
};

// Throws DataError.
Owed WhatIsOwed(Database& db, const OwedQuery& query = {});

// What the buyer's live receipts hold beyond their allotments to live
// invoices, plus what the buyer's credit notes took off (never less than
// Owed::advance), read without matching them up: a quick look before the
// whole of WhatIsOwed. Throws DataError.
Paise AdvanceHeld(Database& db, const QString& buyerKey);

// One line of a buyer's account: an opening bill, an invoice billed or a debit note (debit),
// a credit note or a receipt (credit); live ones only (a note against a
// cancelled invoice counts for nothing, as its invoice).
struct LedgerEntry {
    QDate date;
    QString dateText;
    enum Kind { Opening, Invoice, DebitNote, CreditNote, Receipt } kind = Invoice; // the order within a day
    QString number;
    QString detail; // a receipt's mode and reference; a note's invoice number
    Paise debit = 0;
    Paise credit = 0;
};

// The buyer's invoices, notes and receipts in date order (within a day in
// the order of Kind, then by number). Throws DataError.
std::vector<LedgerEntry> BuyerLedger(Database& db, const QString& buyerKey);

// The buyer's credit limit (by the buyer's serial in CustomerDetails), found
// by its code; nothing when none is set. Throws DataError.
std::optional<Paise> CreditLimit(Database& db, const QString& buyerCode);
std::optional<Paise> CreditLimitOfSerial(Database& db, qint64 buyerSerial);
// Sets or (nothing) clears it, in its own transaction. Throws DataError.
void SetCreditLimit(Database& db, qint64 buyerSerial, const QString& buyerCode, std::optional<Paise> limit);

} // namespace zelva
