#pragma once
// The one save, read and cancellation of a payment to a supplier.
//
// StorePayment checks the payment (PaymentRefusal) and, inside its
// transaction under the writers' lock, that every bill it is allotted to is
// the supplier's and has at least that much left to pay (WhatIsPayable):
// two counters paying one bill at once never over-pay it, the second is
// refused with nothing saved. Its number (V00001) comes from its own series,
// unique and never reused (a cancelled payment keeps its number).
#include "sales/payment.h"

namespace zelva {

class Database;

struct StoredPayment {
    qint64 serial = 0;
    QString number;
    QString refusal; // why nothing was saved; "" when saved
    bool saved() const { return refusal.isEmpty(); }
};

// Saves the payment whole or not at all. Throws DataError, with nothing saved.
StoredPayment StorePayment(Database& db, const Payment& payment, const QDate& today);
// The same inside the caller's open transaction (a refusal writes nothing).
StoredPayment StorePaymentWithin(Database& db, const Payment& payment, const QDate& today);

// The payment of that number as saved; nothing when there is none. Throws DataError.
std::optional<Payment> LoadPayment(Database& db, const QString& number);

// Cancels the payment (its reason required): it stays under its number and
// its allotments no longer count; its match to a bank statement line is
// dropped with it. "" when cancelled, else why not, with
// nothing changed. Throws DataError.
QString CancelPayment(Database& db, const QString& number, const PaymentCancellation& mark);

// The number the next payment will take. Throws DataError.
QString NextPaymentNumber(Database& db);

} // namespace zelva
