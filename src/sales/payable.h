#pragma once
// What the shop owes its suppliers, worked out in one place: the payment
// form's open bills and the check inside a payment's save, the payables
// report, the supplier's statement and the bills unpaid too long all start
// from WhatIsPayable here.
//
// A bill owes what the supplier charged: its taxable value with the tax on
// it (under reverse charge the taxable value alone: that tax the shop pays
// to the government), less the supplier's credit notes on it and plus its
// debit notes (each as at its own date), less what live payments allotted to
// it. Each allotment counts, in the order saved, only as far as its bill
// still owes and its payment still holds. A cancelled payment counts for
// nothing. A supplier's balance is what its bills still owe, plus its
// opening amounts, less its advances.
#include "gst/taxheads.h"
#include "platform/money.h"
#include "sales/purchasebill.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

// The key a supplier's bills and payments are found by: "#" and its serial
// on the supplier list, else (a supplier not on the list) its name.
QString SupplierKey(qint64 supplierSerial, const QString& supplierName);

struct OwedBill {
    qint64 serial = 0; // PurchaseBill's; an opening bill's serial made negative (sales/opening.h)
    QString number;
    QDate date;
    qint64 supplierSerial = 0;
    QString supplierName;
    CreditKind credit = CreditKind::Eligible;
    bool reverseCharge = false; // the shop pays its tax itself: no payment to the supplier bears on its credit
    TaxHeads tax;     // the credit the bill carries (with its notes), reverse charge included
    Paise amount = 0; // what the supplier charged, notes included
    Paise paid = 0;
    QDate lastPaid;   // the day of the last payment that counted; invalid when none
    Paise left() const { return amount - paid; }
    QString supplierKey() const { return SupplierKey(supplierSerial, supplierName); }
};

struct PayableQuery {
    std::optional<QString> supplierKey; // one supplier's documents only
    std::optional<QDate> asAt;          // documents dated on or before it only
};

struct Payables {
    // The bills with something left to pay, oldest first (by date, then serial).
    std::vector<OwedBill> open;
    // Every bill as at the day, paid or not, oldest first (for the 180-day rule).
    std::vector<OwedBill> bills;
    // Each supplier's advance: what its payments hold beyond their allotments.
    QHash<QString, Paise> advance;
    // A name for each supplier key met.
    QHash<QString, QString> supplierNames;

    Paise balance(const QString& supplierKey) const;
    std::vector<OwedBill> openOf(const QString& supplierKey) const;
};

// Throws DataError.
Payables WhatIsPayable(Database& db, const PayableQuery& query = {});

// The suppliers' opening bills (what was owed to them when the books were
// started here, sales/opening.h), as bills of their serials made negative:
// the one place they join what is payable. Payments are allotted to them as
// to bills; no credit to reverse rides on them.
std::vector<OwedBill> SupplierOpeningAmounts(Database& db, const PayableQuery& query);

// Days after its date by which a bill must be paid before its credit is reversed.
constexpr int DaysToPayBeforeReversal = 180;
// The day a bill's credit is reversed on when it is unpaid by then: the
// 181st day after its date.
QDate ReversalDay(const OwedBill& bill);
// Whether the bill, as it stands on the day, is unpaid past those days.
bool UnpaidTooLong(const OwedBill& bill, const QDate& day);
// Whether the bill's input tax is reversed (rule 37, GSTR-3B 4(B)(2)) while it
// is unpaid past those days: a bill of its own (not an opening one) with
// eligible credit and tax on it, not under reverse charge (that tax the shop
// paid itself). The one rule the 3B worksheet and the payables report follow.
bool CreditReversedWhenUnpaid(const OwedBill& bill);

// One line of a supplier's account: a bill or a debit note (credit: the
// shop owes more), a credit note or a payment (debit).
struct SupplierLedgerEntry {
    QDate date;
    enum Kind { Bill, DebitNote, CreditNote, Payment } kind = Bill; // the order within a day
    QString number;
    QString detail;
    Paise debit = 0;
    Paise credit = 0;
};
// The supplier's bills, notes and live payments in date order. Throws DataError.
std::vector<SupplierLedgerEntry> SupplierLedger(Database& db, const QString& supplierKey);

} // namespace zelva
