// Payments to suppliers on the files and on the server: three bills of one
// supplier paid oldest first and in part, its credit note taken off, another
// supplier's bill left alone, the refusals that store nothing, two counters
// paying one bill, advances, cancellations and the bills unpaid too long.
#include "sales/payable.h"
#include "sales/paymentstore.h"
#include "sales/suppliernote.h"

#include "data/database.h"
#include "platform/datetext.h"
#include "gst/gststates.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

namespace {

const QDate Today(2026, 12, 7);

QString gstinOf(const char* state, const char* pan)
{
    const QString first14 = QStringLiteral("%1%2").arg(QLatin1String(state), QLatin1String(pan)) + QStringLiteral("1Z");
    return first14 + GstinCheckCharacter(first14);
}

PurchaseBill bill(const char* number, const char* date, const char* supplier, const QString& gstin, const char* state,
                  Paise taxable, double rate)
{
    PurchaseBill b;
    b.number = QString::fromLatin1(number);
    b.date = QDate::fromString(QString::fromLatin1(date), QStringLiteral("dd/MM/yyyy"));
    b.supplierName = QString::fromLatin1(supplier);
    b.supplierGstin = gstin;
    b.supplierState = QString::fromLatin1(state);
    PurchaseBillLine l;
    l.itemName = QStringLiteral("Steel Rod");
    l.quantity = 2;
    l.rate = ToRupees(taxable) / 2;
    l.taxable = taxable;
    l.gstRate = rate;
    b.lines = {l};
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), QStringLiteral("33AAACH7409R1Z8"));
    return b;
}

const QString Sharma = QStringLiteral("Sharma Traders");

// Sharma Traders: B-1 (05/06/2026, 1000.00 at 18 %: 1180.00, less its credit
// note of 100.00 at 18 %: owes 1062.00), B-2 (01/06/2026, 500.00 at 5 %:
// 525.00, the oldest though saved later), B-3 (01/12/2026, 200.00 at 18 %:
// 236.00). Mysore Paints: KA-1 (10/11/2026, 590.00). Returns the bills' serials.
QMap<QString, qint64> threeBillsAndAnother(Database& db)
{
    QMap<QString, qint64> serials;
    for (PurchaseBill b : {bill("B-1", "05/06/2026", "Sharma Traders", gstinOf("33", "AAFCS1234K"), "Tamil Nadu", 100000, 18),
                           bill("B-2", "01/06/2026", "Sharma Traders", gstinOf("33", "AAFCS1234K"), "Tamil Nadu", 50000, 5),
                           bill("KA-1", "10/11/2026", "Mysore Paints", gstinOf("29", "AABCM5678L"), "Karnataka", 50000, 18),
                           bill("B-3", "01/12/2026", "Sharma Traders", gstinOf("33", "AAFCS1234K"), "Tamil Nadu", 20000, 18)}) {
        const QString refusal = StorePurchaseBill(db, b);
        if (!refusal.isEmpty())
            qFatal("%s", qPrintable(refusal));
        serials.insert(b.number, b.serial);
    }
    SupplierNote note;
    note.number = QStringLiteral("CN-7");
    note.date = QDate(2026, 6, 20);
    note.billSerial = serials.value("B-1");
    note.gstRate = 18;
    note.taxable = 10000;
    const QString refusal = StoreSupplierNote(db, note);
    if (!refusal.isEmpty())
        qFatal("%s", qPrintable(refusal));
    return serials;
}

Payment payment(const QString& supplier, Paise amount, std::vector<Allotment> allotments = {})
{
    Payment p;
    p.date = QDate(2026, 12, 6);
    p.time = "10:15:00";
    p.supplierName = supplier;
    p.mode = PaymentMode::BankTransfer;
    p.reference = "UTR 88120";
    p.bank = "Indian Bank";
    p.amount = amount;
    p.allotments = std::move(allotments);
    return p;
}

std::vector<OpenInvoice> openBills(Database& db, const QString& supplier)
{
    std::vector<OpenInvoice> open;
    for (const OwedBill& b : WhatIsPayable(db, {supplier, std::nullopt}).open)
        open.push_back({b.serial, b.number, DateText(b.date), b.left(), b.amount});
    return open;
}

QMap<QString, Paise> leftOf(Database& db, const QString& supplier)
{
    QMap<QString, Paise> left;
    for (const OwedBill& b : WhatIsPayable(db, {supplier, std::nullopt}).open)
        left.insert(b.number, b.left());
    return left;
}

int rows(const testing::TempData& data, const char* table)
{
    return testing::valueInFile(data.folder(), DbFile::PurchaseMaster, QStringLiteral("SELECT count(*) FROM %1").arg(table))
        .toInt();
}

} // namespace

class PaymentsTest : public QObject {
    Q_OBJECT
private slots:
    void paidOldestFirstInPartThenCancelled();
    void refusedWithNothingStored_data();
    void refusedWithNothingStored();
    void twoCountersNeverOverPay();
    void moreThanOwedKeptAsAdvance();
    void unpaidPastTheDaysFlagged();
    void statementOfTheSupplier();
};

void PaymentsTest::paidOldestFirstInPartThenCancelled()
{
    testing::TempData data;
    const auto serials = threeBillsAndAnother(*data.db);
    QCOMPARE(leftOf(*data.db, Sharma), (QMap<QString, Paise>{{"B-1", 106200}, {"B-2", 52500}, {"B-3", 23600}}));
    const std::vector<Allotment> allotted = AllotOldestFirst(openBills(*data.db, Sharma), 120000);
    QCOMPARE(allotted, (std::vector<Allotment>{{serials.value("B-2"), "B-2", 52500}, {serials.value("B-1"), "B-1", 67500}}));

    const StoredPayment first = StorePayment(*data.db, payment(Sharma, 120000, allotted), Today);
    QVERIFY2(first.saved(), qPrintable(first.refusal));
    QCOMPARE(first.number, QString("V00001"));
    QCOMPARE(leftOf(*data.db, Sharma), (QMap<QString, Paise>{{"B-1", 38700}, {"B-3", 23600}}));
    const Payables all = WhatIsPayable(*data.db);
    QCOMPARE(all.balance(Sharma), 62300);
    QCOMPARE(all.balance("Mysore Paints"), 59000);
    QCOMPARE(*LoadPayment(*data.db, "V00001"), [&] {
        Payment p = payment(Sharma, 120000, allotted);
        p.serial = 1;
        p.number = "V00001";
        return p;
    }());
    // as at a day before the payment, nothing of it counts
    QCOMPARE(WhatIsPayable(*data.db, {Sharma, QDate(2026, 12, 5)}).balance(Sharma), 106200 + 52500 + 23600);
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Zlv,
                                  "SELECT count(*) FROM AuditTrail WHERE TableName = 'Payment' AND RecordKey = 'V00001'")
                 .toInt(),
             1);

    const PaymentCancellation mark{QDate(2026, 12, 7), "12:00:00", "Cheque returned", "meena"};
    QCOMPARE(CancelPayment(*data.db, "V00001", mark), QString());
    QCOMPARE(leftOf(*data.db, Sharma), (QMap<QString, Paise>{{"B-1", 106200}, {"B-2", 52500}, {"B-3", 23600}}));
    QVERIFY(CancelPayment(*data.db, "V00001", mark).startsWith("Payment V00001 is already cancelled"));
    QCOMPARE(StorePayment(*data.db, payment(Sharma, 100), Today).number, QString("V00002"));
}

void PaymentsTest::refusedWithNothingStored_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<Payment>("typed");
    QTest::addColumn<QString>("said");
    const Payment p = payment(Sharma, 50000);
    QTest::newRow("nothing paid") << "" << [&] { Payment x = p; x.amount = 0; return x; }() << "(Amount)";
    QTest::newRow("no supplier") << "" << [&] { Payment x = p; x.supplierName = " "; return x; }() << "(Supplier)";
    QTest::newRow("tomorrow") << "" << [&] { Payment x = p; x.date = QDate(2026, 12, 8); return x; }()
                              << "money cannot be paid in the future";
    QTest::newRow("cheque without number")
        << "" << [&] { Payment x = p; x.mode = PaymentMode::Cheque; x.reference = ""; return x; }() << "(Reference)";
    QTest::newRow("more than the bill has left") << "B-2" << [&] { Payment x = p; x.amount = 60000; return x; }()
                                                 << "Bill B-2 has only 525.00 left to pay now, less than the 525.01";
    QTest::newRow("another supplier's bill") << "KA-1" << p << "Bill KA-1 has only 0.00 left";
    QTest::newRow("more allotted than paid") << "B-1" << [&] { Payment x = p; x.amount = 100; return x; }()
                                             << "more than the 1.00 paid (Allotted)";
}

void PaymentsTest::refusedWithNothingStored()
{
    QFETCH(QString, bill);
    QFETCH(Payment, typed);
    QFETCH(QString, said);
    testing::TempData data;
    const auto serials = threeBillsAndAnother(*data.db);
    if (!bill.isEmpty())
        typed.allotments = {{serials.value(bill), bill, bill == "B-2" ? 52501 : 40000}};
    const StoredPayment stored = StorePayment(*data.db, typed, Today);
    QVERIFY2(stored.refusal.contains(said), qPrintable(stored.refusal));
    QCOMPARE(rows(data, "Payment"), 0);
    QCOMPARE(rows(data, "PaymentAllotment"), 0);
}

// Both counters list B-2 with 525.00 left and pay it all; the second save
// finds it paid inside its own transaction and stores nothing.
void PaymentsTest::twoCountersNeverOverPay()
{
    testing::TempData data;
    threeBillsAndAnother(*data.db);
    auto other = data.openAnother();
    const auto here = AllotOldestFirst(openBills(*data.db, Sharma), 52500);
    const auto there = AllotOldestFirst(openBills(*other, Sharma), 52500);
    QVERIFY(StorePayment(*data.db, payment(Sharma, 52500, here), Today).saved());
    const StoredPayment second = StorePayment(*other, payment(Sharma, 52500, there), Today);
    QVERIFY2(second.refusal.startsWith("Bill B-2 has only 0.00 left to pay now"), qPrintable(second.refusal));
    QCOMPARE(rows(data, "Payment"), 1);
    QCOMPARE(WhatIsPayable(*data.db).balance(Sharma), 106200 + 23600);
}

void PaymentsTest::moreThanOwedKeptAsAdvance()
{
    testing::TempData data;
    threeBillsAndAnother(*data.db);
    const auto allotted = AllotOldestFirst(openBills(*data.db, "Mysore Paints"), 100000);
    QCOMPARE(allotted.size(), std::size_t(1));
    QVERIFY(StorePayment(*data.db, payment("Mysore Paints", 100000, allotted), Today).saved());
    const Payables after = WhatIsPayable(*data.db);
    QCOMPARE(after.advance.value("Mysore Paints"), 41000);
    QCOMPARE(after.balance("Mysore Paints"), -41000);
    QVERIFY(after.openOf("Mysore Paints").empty());
    QCOMPARE(after.balance(Sharma), 182300);
}

// B-2 of 01/06/2026 is unpaid past 180 days from 29/11/2026, B-1 of
// 05/06/2026 from 03/12; paid in full B-1 is flagged no more.
void PaymentsTest::unpaidPastTheDaysFlagged()
{
    testing::TempData data;
    const auto serials = threeBillsAndAnother(*data.db);
    const auto flagged = [&](const QDate& day) {
        QStringList bills;
        for (const OwedBill& b : WhatIsPayable(*data.db, {std::nullopt, day}).bills)
            if (UnpaidTooLong(b, day))
                bills << b.number;
        return bills;
    };
    QCOMPARE(flagged(QDate(2026, 11, 28)), QStringList());
    QCOMPARE(flagged(QDate(2026, 11, 29)), QStringList({"B-2"}));
    QCOMPARE(flagged(QDate(2026, 12, 2)), QStringList({"B-2"}));
    QCOMPARE(flagged(QDate(2026, 12, 3)), QStringList({"B-2", "B-1"}));
    QVERIFY(StorePayment(*data.db, payment(Sharma, 106200, {{serials.value("B-1"), "B-1", 106200}}), Today).saved());
    QCOMPARE(flagged(Today), QStringList({"B-2"}));
}

void PaymentsTest::statementOfTheSupplier()
{
    testing::TempData data;
    const auto serials = threeBillsAndAnother(*data.db);
    QVERIFY(StorePayment(*data.db, payment(Sharma, 30000, {{serials.value("B-2"), "B-2", 30000}}), Today).saved());
    QStringList lines;
    Paise balance = 0;
    for (const SupplierLedgerEntry& e : SupplierLedger(*data.db, Sharma)) {
        balance += e.credit - e.debit;
        lines << QStringLiteral("%1 %2 %3 %4").arg(DateText(e.date), e.number, AmountText(e.debit), AmountText(e.credit));
    }
    QCOMPARE(lines, QStringList({"01/06/2026 B-2 0.00 525.00", "05/06/2026 B-1 0.00 1180.00",
                                 "20/06/2026 CN-7 118.00 0.00", "01/12/2026 B-3 0.00 236.00",
                                 "06/12/2026 V00001 300.00 0.00"}));
    QCOMPARE(balance, WhatIsPayable(*data.db).balance(Sharma));
}

QTEST_GUILESS_MAIN(PaymentsTest)
#include "test_payments.moc"
