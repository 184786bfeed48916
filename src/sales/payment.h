#pragma once
// Money paid to a supplier, as a value free of any window: what the payment
// form fills and shows, what StorePayment saves whole and LoadPayment reads
// back, what the printed voucher, the payables report and the supplier's
// statement start from. It is the receipt's twin (sales/moneybook.h holds
// what the two share): allotted to the supplier's open bills, the rest kept
// as an advance to the supplier; never edited, only cancelled.
#include "sales/receipt.h"

namespace zelva {

struct MoneyBook;
struct MoneyEntry;

using PaymentCancellation = ReceiptCancellation;

struct Payment {
    qint64 serial = 0;
    QString number; // "V00001"
    QDate date;
    QString time;
    qint64 supplierSerial = 0; // 0: a supplier not on the list, known by its name
    QString supplierName;
    PaymentMode mode = PaymentMode::Cash;
    QString reference; // the UTR, cheque or card slip number
    QString bank;
    Paise amount = 0;
    // Each allotment's invoiceSerial and invoiceNumber are the bill's serial
    // (PurchaseBill) and the supplier's bill number.
    std::vector<Allotment> allotments;
    QString enteredBy;
    std::optional<PaymentCancellation> cancellation; // read back by LoadPayment

    Paise allotted() const;
    Paise advance() const { return amount - allotted(); }
    bool cancelled() const { return cancellation.has_value(); }
    bool operator==(const Payment&) const = default;
};

// Why the payment cannot be saved as it stands, naming the box ("" when it
// can): the receipt's checks in a payment's words.
QString PaymentRefusal(const Payment& payment, const QDate& today);

// The payments' tables and words, and a payment as the shared money record and back.
const MoneyBook& PaymentBook();
MoneyEntry PaymentEntry(const Payment& payment);
Payment PaymentOfEntry(const MoneyEntry& entry);

} // namespace zelva

Q_DECLARE_METATYPE(zelva::Payment)
