#pragma once
// Money received from a buyer, as a value free of any window: what the
// receipt form fills and shows, what StoreReceipt saves whole and LoadReceipt
// reads back, what the printed receipt, the outstanding report and the
// statement of account start from.
//
// A receipt is allotted to the buyer's open invoices (what is left on each);
// the amount not allotted is the buyer's advance, which the buyer's next
// invoices take, oldest receipt first, when they are saved (StoreSale). A
// saved receipt is never edited: it is cancelled, and its allotments then no
// longer count.
#include "platform/money.h"

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelva {

enum class PaymentMode { Cash, Upi, Cheque, BankTransfer, Card };

// "Cash", "UPI", "Cheque", "Bank transfer", "Card", in that order.
const QStringList& PaymentModeNames();
QString PaymentModeName(PaymentMode mode);
// The mode of that name; Cash for a name that is none.
PaymentMode PaymentModeNamed(const QString& name);

// What of a receipt goes to one invoice.
struct Allotment {
    qint64 invoiceSerial = 0;
    QString invoiceNumber;
    Paise amount = 0;
    bool operator==(const Allotment&) const = default;
};

// What the allotments add up to.
Paise AllottedSum(const std::vector<Allotment>& allotments);

struct ReceiptCancellation {
    QDate date;
    QString time;
    QString reason;
    QString by;
    bool operator==(const ReceiptCancellation&) const = default;
};

struct Receipt {
    qint64 serial = 0;
    QString number; // "R00001"
    QDate date;
    QString time;
    QString buyerCode; // "bid"
    QString buyerName;
    PaymentMode mode = PaymentMode::Cash;
    QString reference; // the UTR, cheque or card slip number
    QString bank;
    Paise amount = 0;
    std::vector<Allotment> allotments;
    QString enteredBy;
    std::optional<ReceiptCancellation> cancellation; // read back by LoadReceipt

    Paise allotted() const;
    Paise advance() const { return amount - allotted(); }
    bool cancelled() const { return cancellation.has_value(); }
    bool operator==(const Receipt&) const = default;
};

// An invoice with something left to pay, as a receipt is allotted to it.
struct OpenInvoice {
    qint64 serial = 0;
    QString number;
    QString date; // as stored
    Paise left = 0;
    Paise amount = 0; // the invoice's total
};

// The amount allotted to the invoices in their order (oldest first), each
// taking what is left on it until the amount runs out; one allotment per
// invoice, nothing for those the amount does not reach.
std::vector<Allotment> AllotOldestFirst(const std::vector<OpenInvoice>& open, Paise amount);

// Why the receipt cannot be saved as it stands, naming the box ("" when it
// can): no buyer, a date that is no date or after today, an amount of nothing
// or less, a cheque without its number, an allotment below nothing, or more
// allotted than received.
QString ReceiptRefusal(const Receipt& receipt, const QDate& today);

// The receipts' tables and words, and a receipt as the shared money record
// (sales/moneybook.h) and back.
struct MoneyBook;
struct MoneyEntry;
const MoneyBook& ReceiptBook();
MoneyEntry ReceiptEntry(const Receipt& receipt);
Receipt ReceiptOfEntry(const MoneyEntry& entry);

} // namespace zelva

Q_DECLARE_METATYPE(zelva::Receipt)
