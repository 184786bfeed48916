#include "sales/payable.h"

#include "data/database.h"
#include "data/schema.h"
#include "platform/datetext.h"
#include "sales/opening.h"
#include "sales/receipt.h"

#include <QSqlQuery>
#include <algorithm>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read what is owed to the suppliers");

QString table(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::PurchaseMaster), QLatin1String(name));
}

QDate dayOfKey(qint64 key) { return key > 0 ? QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)) : QDate(); }

struct Filter {
    QString sql;
    QVariantList values;
};

// One supplier's rows (alias a) only, when asked: by its serial, or by its name
// for a supplier not on the list.
Filter supplierFilter(const PayableQuery& query, const QString& alias)
{
    Filter f;
    if (!query.supplierKey)
        return f;
    const QString& key = *query.supplierKey;
    bool serialKey = false;
    const qint64 serial = key.startsWith(QLatin1Char('#')) ? key.mid(1).toLongLong(&serialKey) : 0;
    if (serialKey) {
        f.sql = QStringLiteral(" AND %1.\"SupplierSno\" = ?").arg(alias);
        f.values << serial;
    } else {
        f.sql = QStringLiteral(" AND %1.\"SupplierSno\" = 0 AND %1.\"SupplierName\" = ?").arg(alias);
        f.values << key;
    }
    return f;
}

// The supplier's bills or notes (of bill alias b) only, and those dated (day, a
// column) on or before the day asked, when asked.
Filter documentFilter(const PayableQuery& query, const QString& day)
{
    Filter f = supplierFilter(query, QStringLiteral("b"));
    if (query.asAt) {
        f.sql += QStringLiteral(" AND %1 <= ?").arg(day);
        f.values << DayKey(*query.asAt);
    }
    return f;
}

bool counts(const QDate& day, const PayableQuery& query) { return !query.asAt || !day.isValid() || day <= *query.asAt; }

// What the supplier charged on a line or note: the tax too, unless the shop pays it (reverse charge).
Paise charged(Paise taxable, const TaxHeads& tax, bool reverseCharge) { return taxable + (reverseCharge ? 0 : tax.total()); }

std::vector<OwedBill> readBills(Database& db, const PayableQuery& query, QHash<qint64, bool>& reverseCharge)
{
    const Filter f = documentFilter(query, QStringLiteral("b.\"BillDay\""));
    QSqlQuery q = db.run(QStringLiteral("SELECT b.\"sno\", b.\"BillNo\", b.\"BillDay\", b.\"SupplierSno\", "
                                        "b.\"SupplierName\", b.\"ReverseCharge\", b.\"ItcEligible\", l.\"Taxable\", "
                                        "l.\"Igst\", l.\"Cgst\", l.\"Sgst\" FROM %1 AS b JOIN %2 AS l ON l.\"BillSno\" = "
                                        "b.\"sno\" WHERE b.\"sno\" <> 0%3 ORDER BY b.\"BillDay\", b.\"sno\"")
                             .arg(table("PurchaseBill"), table("PurchaseBillLine"), f.sql),
                         f.values, ReadOperation, DbFile::PurchaseMaster);
    std::vector<OwedBill> bills;
    while (q.next()) {
        if (bills.empty() || bills.back().serial != q.value(0).toLongLong()) {
            OwedBill bill;
            bill.serial = q.value(0).toLongLong();
            bill.number = q.value(1).toString();
            bill.date = dayOfKey(q.value(2).toLongLong());
            bill.supplierSerial = q.value(3).toLongLong();
            bill.supplierName = q.value(4).toString();
            bill.reverseCharge = q.value(5).toInt() != 0;
            reverseCharge.insert(bill.serial, bill.reverseCharge);
            const int kind = q.value(6).toInt();
            bill.credit = kind == 0 ? CreditKind::Blocked
                          : kind == 2 ? CreditKind::Reclaimable
                          : kind == 3 ? CreditKind::Ineligible
                                      : CreditKind::Eligible;
            bills.push_back(bill);
        }
        const TaxHeads tax{ToPaise(q.value(8).toDouble()), ToPaise(q.value(9).toDouble()),
                           ToPaise(q.value(10).toDouble()), 0};
        bills.back().tax += tax;
        bills.back().amount += charged(ToPaise(q.value(7).toDouble()), tax, reverseCharge.value(bills.back().serial));
    }
    return bills;
}

struct NoteRow {
    qint64 billSerial = 0;
    bool credit = true;
    QString number;
    QDate date;
    Paise taxable = 0;
    TaxHeads tax;
};

std::vector<NoteRow> readNotes(Database& db, const PayableQuery& query)
{
    const Filter f = documentFilter(query, QStringLiteral("n.\"NoteDay\""));
    QSqlQuery q = db.run(QStringLiteral("SELECT n.\"BillSno\", n.\"Kind\", n.\"NoteNo\", n.\"NoteDay\", "
                                        "n.\"TaxablePaise\", n.\"IgstPaise\", n.\"CgstPaise\", n.\"SgstPaise\" FROM %1 "
                                        "AS n JOIN %2 AS b ON b.\"sno\" = n.\"BillSno\" WHERE 1 = 1%3 ORDER BY "
                                        "n.\"NoteDay\", n.\"sno\"")
                             .arg(table("SupplierNote"), table("PurchaseBill"), f.sql),
                         f.values, ReadOperation, DbFile::PurchaseMaster);
    std::vector<NoteRow> notes;
    while (q.next())
        notes.push_back({q.value(0).toLongLong(), q.value(1).toString() != QLatin1String("D"), q.value(2).toString(),
                         dayOfKey(q.value(3).toLongLong()), q.value(4).toLongLong(),
                         TaxHeads{q.value(5).toLongLong(), q.value(6).toLongLong(), q.value(7).toLongLong(), 0}});
    return notes;
}

struct PaymentRow {
    qint64 serial = 0;
    QString number;
    QString supplierKey;
    QString supplierName;
    QDate date;
    PaymentMode mode = PaymentMode::Cash;
    QString reference;
    Paise amount = 0;
};

QString livePayment(const QString& alias)
{
    return QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 AS x WHERE x.\"sno\" = %2.\"sno\")")
        .arg(table("CancelledPayment"), alias);
}

std::vector<PaymentRow> readPayments(Database& db, const PayableQuery& query)
{
    const Filter f = supplierFilter(query, QStringLiteral("p"));
    QSqlQuery q = db.run(QStringLiteral("SELECT p.\"sno\", p.\"PaymentNo\", p.\"SupplierSno\", p.\"SupplierName\", "
                                        "p.\"PaymentDate\", p.\"Mode\", p.\"Reference\", p.\"AmountPaise\" FROM %1 AS p "
                                        "WHERE %2%3 ORDER BY p.\"sno\"")
                             .arg(table("Payment"), livePayment(QStringLiteral("p")), f.sql),
                         f.values, ReadOperation, DbFile::PurchaseMaster);
    std::vector<PaymentRow> payments;
    while (q.next()) {
        PaymentRow p{q.value(0).toLongLong(),
                     q.value(1).toString(),
                     SupplierKey(q.value(2).toLongLong(), q.value(3).toString()),
                     q.value(3).toString(),
                     ReadDateText(q.value(4).toString()),
                     PaymentModeNamed(q.value(5).toString()),
                     q.value(6).toString(),
                     q.value(7).toLongLong()};
        if (counts(p.date, query))
            payments.push_back(std::move(p));
    }
    return payments;
}

} // namespace

QString SupplierKey(qint64 supplierSerial, const QString& supplierName)
{
    return supplierSerial > 0 ? QStringLiteral("#%1").arg(supplierSerial) : supplierName;
}

Paise Payables::balance(const QString& supplierKey) const
{
    Paise sum = -advance.value(supplierKey);
    for (const OwedBill& b : open)
        if (b.supplierKey() == supplierKey)
            sum += b.left();
    return sum;
}

std::vector<OwedBill> Payables::openOf(const QString& supplierKey) const
{
    std::vector<OwedBill> of;
    std::copy_if(open.begin(), open.end(), std::back_inserter(of),
                 [&](const OwedBill& b) { return b.supplierKey() == supplierKey; });
    return of;
}

std::vector<OwedBill> SupplierOpeningAmounts(Database& db, const PayableQuery& query)
{
    std::vector<OwedBill> bills;
    for (const PartyOpeningBill& b : OpeningBillsOf(db, PartyKind::Supplier, std::nullopt, query.asAt)) {
        OwedBill bill;
        bill.serial = -b.bill.serial;
        bill.number = b.bill.number;
        bill.date = b.bill.date;
        bill.supplierSerial = b.partySerial;
        bill.supplierName = b.partyName;
        bill.amount = b.bill.amount;
        if (!query.supplierKey || bill.supplierKey() == *query.supplierKey)
            bills.push_back(std::move(bill));
    }
    return bills;
}

QDate ReversalDay(const OwedBill& bill) { return bill.date.addDays(DaysToPayBeforeReversal + 1); }

bool UnpaidTooLong(const OwedBill& bill, const QDate& day)
{
    return bill.serial > 0 && bill.left() > 0 && bill.date.isValid() && bill.date.daysTo(day) > DaysToPayBeforeReversal;
}

bool CreditReversedWhenUnpaid(const OwedBill& bill)
{
    return bill.serial > 0 && !bill.reverseCharge && bill.credit == CreditKind::Eligible && !bill.tax.isZero()
           && bill.amount > 0;
}

Payables WhatIsPayable(Database& db, const PayableQuery& query)
{
    QHash<qint64, bool> reverseCharge;
    std::vector<OwedBill> bills = readBills(db, query, reverseCharge);
    QHash<qint64, std::size_t> bySerial;
    for (std::size_t i = 0; i < bills.size(); ++i)
        bySerial.insert(bills[i].serial, i);
    for (const NoteRow& note : readNotes(db, query))
        if (const auto at = bySerial.constFind(note.billSerial); at != bySerial.constEnd()) {
            OwedBill& bill = bills[*at];
            const Paise amount = charged(note.taxable, note.tax, reverseCharge.value(bill.serial));
            bill.amount += note.credit ? -amount : amount;
            bill.tax += note.credit ? -note.tax : note.tax;
        }
    // opening bills after the notes (none is against them), before the payments (which may be)
    for (OwedBill& opening : SupplierOpeningAmounts(db, query)) {
        bySerial.insert(opening.serial, bills.size());
        bills.push_back(std::move(opening));
    }

    Payables payables;
    const std::vector<PaymentRow> payments = readPayments(db, query);
    QHash<qint64, std::size_t> paymentAt;
    std::vector<Paise> held;
    for (std::size_t i = 0; i < payments.size(); ++i) {
        paymentAt.insert(payments[i].serial, i);
        held.push_back(payments[i].amount);
        payables.supplierNames.insert(payments[i].supplierKey, payments[i].supplierName);
    }
    const Filter f = supplierFilter(query, QStringLiteral("p"));
    QSqlQuery q = db.run(QStringLiteral("SELECT a.\"sno\", a.\"BillSno\", a.\"AmountPaise\" FROM %1 AS a JOIN %2 AS p ON "
                                        "p.\"sno\" = a.\"sno\" WHERE %3%4 ORDER BY a.rowid")
                             .arg(table("PaymentAllotment"), table("Payment"), livePayment(QStringLiteral("p")), f.sql),
                         f.values, ReadOperation, DbFile::PurchaseMaster);
    // each allotment, in the order saved, as far as its bill still owes and its payment still holds
    while (q.next()) {
        const auto bill = bySerial.constFind(q.value(1).toLongLong());
        const auto payment = paymentAt.constFind(q.value(0).toLongLong());
        if (bill == bySerial.constEnd() || payment == paymentAt.constEnd())
            continue; // a payment after the day asked
        OwedBill& paidFor = bills[*bill];
        Paise& from = held[*payment];
        const Paise amount =
            std::clamp<Paise>(q.value(2).toLongLong(), 0, std::max<Paise>(std::min(paidFor.left(), from), 0));
        paidFor.paid += amount;
        from -= amount;
        if (amount > 0)
            paidFor.lastPaid = std::max(paidFor.lastPaid, payments[*payment].date);
    }
    for (std::size_t i = 0; i < payments.size(); ++i)
        if (held[i] != 0)
            payables.advance[payments[i].supplierKey] += held[i];

    std::sort(bills.begin(), bills.end(), [](const OwedBill& a, const OwedBill& b) {
        return std::pair(a.date.toJulianDay(), a.serial) < std::pair(b.date.toJulianDay(), b.serial);
    });
    for (const OwedBill& b : bills) {
        payables.supplierNames.insert(b.supplierKey(), b.supplierName);
        if (b.left() != 0)
            payables.open.push_back(b);
    }
    payables.bills = std::move(bills);
    return payables;
}

std::vector<SupplierLedgerEntry> SupplierLedger(Database& db, const QString& supplierKey)
{
    const PayableQuery query{supplierKey, std::nullopt};
    QHash<qint64, bool> reverseCharge;
    std::vector<SupplierLedgerEntry> entries;
    QHash<qint64, QString> billNumber;
    for (const OwedBill& b : readBills(db, query, reverseCharge)) {
        billNumber.insert(b.serial, b.number);
        entries.push_back({b.date, SupplierLedgerEntry::Bill, b.number, {}, 0, b.amount});
    }
    for (const OwedBill& b : SupplierOpeningAmounts(db, query))
        entries.push_back({b.date, SupplierLedgerEntry::Bill, b.number, QStringLiteral("opening"), 0, b.amount});
    for (const NoteRow& n : readNotes(db, query)) {
        const Paise amount = charged(n.taxable, n.tax, reverseCharge.value(n.billSerial));
        entries.push_back({n.date, n.credit ? SupplierLedgerEntry::CreditNote : SupplierLedgerEntry::DebitNote,
                           n.number, billNumber.value(n.billSerial), n.credit ? amount : 0, n.credit ? 0 : amount});
    }
    for (const PaymentRow& p : readPayments(db, query)) {
        QString detail = PaymentModeName(p.mode);
        if (!p.reference.trimmed().isEmpty())
            detail += QStringLiteral(", ") + p.reference.trimmed();
        entries.push_back({p.date, SupplierLedgerEntry::Payment, p.number, detail, p.amount, 0});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const SupplierLedgerEntry& a, const SupplierLedgerEntry& b) {
        return std::tuple(a.date.toJulianDay(), int(a.kind), a.number)
               < std::tuple(b.date.toJulianDay(), int(b.kind), b.number);
    });
    return entries;
}

} // namespace zelva
