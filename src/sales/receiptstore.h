#pragma once
// The one save, read and cancellation of a receipt, and the save of an
// invoice paid at the counter.
//
// StoreReceipt checks the receipt (ReceiptRefusal) and, inside its
// transaction under the writers' lock, that every invoice it is allotted to
// is the buyer's, live, and has at least that much left to pay (WhatIsOwed):
// two counters receiving money against one invoice at once never over-allot
// it, the second is refused with nothing saved. Its number (R00001) comes
// from its own series, unique and never reused (a cancelled receipt keeps
// its number).
//
// The buyer's advance (what receipts hold beyond their allotments) goes to
// the buyer's open invoices when a later invoice is saved through StoreSale,
// oldest receipt to oldest invoice, in the invoice's transaction.
#include "sales/invoicestore.h"
#include "sales/receipt.h"

namespace zelva {

class Database;

struct StoredReceipt {
    qint64 serial = 0;
    QString number;
    QString refusal; // why nothing was saved; "" when saved
    bool saved() const { return refusal.isEmpty(); }
};

// Saves the receipt whole or not at all, under its serial or the next free
// one. Throws DataError, with nothing saved.
StoredReceipt StoreReceipt(Database& db, const Receipt& receipt, const QDate& today);
// The same inside the caller's open transaction (a refusal writes nothing).
StoredReceipt StoreReceiptWithin(Database& db, const Receipt& receipt, const QDate& today);

// The receipt of that number as saved; nothing when there is none. Throws DataError.
std::optional<Receipt> LoadReceipt(Database& db, const QString& number);

// Cancels the receipt (its reason required): it stays under its number and
// its allotments no longer count; its match to a bank statement line is
// dropped with it. "" when cancelled, else why not, with
// nothing changed. Throws DataError.
QString CancelReceipt(Database& db, const QString& number, const ReceiptCancellation& mark);

// How an invoice is paid at the counter.
struct PaidNow {
    PaymentMode mode = PaymentMode::Cash;
    QString reference;
    QString bank;
};

struct StoredSale {
    StoredInvoice invoice;
    QString receiptNumber; // "" when it was not paid now
};

// Why an invoice paid now cannot be saved so ("" when it can): a cheque
// without its number.
QString PaidNowRefusal(const PaidNow& paid);

// Saves the invoice (StoreInvoiceWithin), its receipt of the grand total
// when it is paid now, and the buyer's advance allotted to what it still
// owes, in one transaction. Throws DataError, with nothing saved.
StoredSale StoreSale(Database& db, const Invoice& invoice, Renumber renumber, const std::optional<PaidNow>& paid,
                     const QString& enteredBy = {});

// A buyer as the receipt form lists it (the placeholder record left out), in
// table order. Throws DataError.
struct BuyerChoice {
    qint64 serial = 0;
    QString code;
    QString name;
    QString gstin;
};
std::vector<BuyerChoice> BuyersToChoose(Database& db);

// Allots the buyer's advances to its open invoices, oldest to oldest, inside
// the caller's transaction.
void AllotAdvanceWithin(Database& db, const QString& buyerKey);

} // namespace zelva
