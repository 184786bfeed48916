// What the shop owes its suppliers as at a day: bills of each age in their
// columns, a bill paid in part, a supplier paid ahead in the advance column,
// every row adding up, the CSV in the suppliers' words, and the bill unpaid
// past 180 days named.
#include "registers/payables.h"
#include "platform/datetext.h"
#include "registers/gstr3b.h"

#include "gst/gststates.h"
#include "sales/paymentstore.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

namespace {

const QDate AsAt(2026, 12, 7);

QString gstinOf(const char* state, const char* pan)
{
    const QString first14 = QStringLiteral("%1%2").arg(QLatin1String(state), QLatin1String(pan)) + QStringLiteral("1Z");
    return first14 + GstinCheckCharacter(first14);
}

qint64 storeBill(Database& db, const char* number, const QDate& date, const char* supplier, const char* pan,
                 Paise taxable, double rate)
{
    PurchaseBill b;
    b.number = QString::fromLatin1(number);
    b.date = date;
    b.supplierName = QString::fromLatin1(supplier);
    b.supplierGstin = gstinOf("33", pan);
    b.supplierState = QStringLiteral("Tamil Nadu");
    PurchaseBillLine l;
    l.itemName = QStringLiteral("Brass Fitting");
    l.quantity = 1;
    l.rate = ToRupees(taxable);
    l.taxable = taxable;
    l.gstRate = rate;
    b.lines = {l};
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), QStringLiteral("33AAACH7409R1Z8"));
    const QString refusal = StorePurchaseBill(db, b);
    if (!refusal.isEmpty())
        qFatal("%s", qPrintable(refusal));
    return b.serial;
}

void pay(Database& db, const char* supplier, Paise amount, qint64 bill, const char* billNo, Paise allotted)
{
    Payment p;
    p.date = QDate(2026, 12, 1);
    p.supplierName = QString::fromLatin1(supplier);
    p.mode = PaymentMode::Upi;
    p.reference = "UTR 5501";
    p.amount = amount;
    p.allotments = {{bill, billNo, allotted}};
    const StoredPayment stored = StorePayment(db, p, AsAt);
    if (!stored.saved())
        qFatal("%s", qPrintable(stored.refusal));
}

// Sharma: P-3 (181 days, 236.00, 100.00 paid), P-2 (67 days, 525.00), P-1
// (17 days, 1180.00). Mysore: M-1 (43 days, 590.00) paid with 1000.00.
void books(Database& db)
{
    storeBill(db, "P-1", QDate(2026, 11, 20), "Sharma Traders", "AAFCS1234K", 100000, 18);
    storeBill(db, "P-2", QDate(2026, 10, 1), "Sharma Traders", "AAFCS1234K", 50000, 5);
    const qint64 p3 = storeBill(db, "P-3", QDate(2026, 6, 9), "Sharma Traders", "AAFCS1234K", 20000, 18);
    const qint64 m1 = storeBill(db, "M-1", QDate(2026, 10, 25), "Mysore Paints", "AABCM5678L", 50000, 18);
    pay(db, "Sharma Traders", 10000, p3, "P-3", 10000);
    pay(db, "Mysore Paints", 100000, m1, "M-1", 59000);
}

} // namespace

class PayablesTest : public QObject {
    Q_OBJECT
private slots:
    void agedByBillWithTheAdvance();
    void unpaidPastTheDaysNamed();
    void creditReversedOnDay181AndTakenBackWhenPaid();
};

void PayablesTest::agedByBillWithTheAdvance()
{
    testing::TempData data;
    books(*data.db);
    const Outstanding report = LoadPayables(*data.db, AsAt);
    QCOMPARE(report.buyers.size(), std::size_t(2));
    const OutstandingBuyer& mysore = report.buyers[0];
    QCOMPARE(mysore.name, QString("Mysore Paints"));
    QVERIFY(mysore.lines.empty());
    QCOMPARE(mysore.advance, 41000);
    QCOMPARE(mysore.totals.balance, -41000);
    const OutstandingBuyer& sharma = report.buyers[1];
    QStringList lines;
    for (const OutstandingLine& l : sharma.lines) {
        Paise aged = 0;
        for (Paise a : l.figures.ageing)
            aged += a;
        QCOMPARE(aged, l.figures.balance); // each row adds up
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(l.number).arg(l.days).arg(AmountText(l.figures.amount),
                                                                              AmountText(l.figures.paid),
                                                                              AmountText(l.figures.balance));
    }
    QCOMPARE(lines, QStringList({"P-3 181 236.00 100.00 136.00", "P-2 67 525.00 0.00 525.00",
                                 "P-1 17 1180.00 0.00 1180.00"}));
    QCOMPARE(sharma.totals.ageing, (std::array<Paise, AgeingColumns>{118000, 0, 52500, 13600}));
    QCOMPARE(report.totals.balance, 184100 - 41000);
    QCOMPARE(report.totals.advance, -41000);

    const QString csv = OutstandingCsv(report);
    QVERIFY2(csv.startsWith("Supplier,Bill No,Bill Date,Amount,Paid,Balance,Days,0-30 days"), qPrintable(csv));
    QVERIFY2(csv.contains("Mysore Paints,Advance paid"), qPrintable(csv));
    QVERIFY2(csv.contains("Total as at 07/12/2026"), qPrintable(csv));
}

void PayablesTest::unpaidPastTheDaysNamed()
{
    testing::TempData data;
    books(*data.db);
    QStringList late;
    for (const OwedBill& b : BillsUnpaidTooLong(*data.db, AsAt))
        late << b.number;
    QCOMPARE(late, QStringList({"P-3"}));
    QVERIFY(BillsUnpaidTooLong(*data.db, AsAt.addDays(-1)).empty()); // 180 days old then
}

// A-1 (10/01/2026, 1180.00, tax 90.00 + 90.00) half paid before its 181st
// day (10/07) and the rest in September; B-1 (20/01, 354.00, 27.00 + 27.00)
// unpaid on 20/07 and paid on 25/07; C-1 (05/02, 236.00) paid in June, in
// time. July reverses A-1's unpaid half and all of B-1 in 4(B)(2) and takes
// B-1 back; September takes A-1's half back; August moves nothing.
void PayablesTest::creditReversedOnDay181AndTakenBackWhenPaid()
{
    testing::TempData data;
    Database& db = *data.db;
    const qint64 a1 = storeBill(db, "A-1", QDate(2026, 1, 10), "Sharma Traders", "AAFCS1234K", 100000, 18);
    const qint64 b1 = storeBill(db, "B-1", QDate(2026, 1, 20), "Mysore Paints", "AABCM5678L", 30000, 18);
    const qint64 c1 = storeBill(db, "C-1", QDate(2026, 2, 5), "Sharma Traders", "AAFCS1234K", 20000, 18);
    const auto payOn = [&](const char* date, const char* supplier, qint64 bill, const char* billNo, Paise amount) {
        Payment p;
        p.date = ReadDateText(date);
        p.supplierName = QString::fromLatin1(supplier);
        p.mode = PaymentMode::BankTransfer;
        p.amount = amount;
        p.allotments = {{bill, billNo, amount}};
        QVERIFY(StorePayment(db, p, AsAt).saved());
    };
    payOn("01/03/2026", "Sharma Traders", a1, "A-1", 59000);
    payOn("01/06/2026", "Sharma Traders", c1, "C-1", 23600);
    payOn("25/07/2026", "Mysore Paints", b1, "B-1", 35400);
    payOn("15/09/2026", "Sharma Traders", a1, "A-1", 59000);
    QVERIFY(BillsUnpaidTooLong(db, QDate(2026, 7, 9)).empty());
    QCOMPARE(BillsUnpaidTooLong(db, QDate(2026, 7, 10)).front().number, QString("A-1"));

    const auto taxOf = [&](int month, const char* section) {
        const TaxHeads t = LoadGstr3b(db, 2026, month).row(section)->tax;
        return QList<Paise>{t.igst, t.cgst, t.sgst};
    };
    QCOMPARE(taxOf(6, "4(B)(2)"), (QList<Paise>{0, 0, 0}));
    QCOMPARE(taxOf(7, "4(B)(2)"), (QList<Paise>{0, 4500 + 2700, 4500 + 2700}));
    QCOMPARE(taxOf(7, "4(D)(1)"), (QList<Paise>{0, 2700, 2700}));
    QCOMPARE(taxOf(7, "4(A)(5)"), (QList<Paise>{0, 2700, 2700}));
    QCOMPARE(taxOf(7, "4(C)"), (QList<Paise>{0, -4500, -4500}));
    QCOMPARE(taxOf(8, "4(B)(2)"), (QList<Paise>{0, 0, 0}));
    QCOMPARE(taxOf(8, "4(D)(1)"), (QList<Paise>{0, 0, 0}));
    QCOMPARE(taxOf(9, "4(B)(2)"), (QList<Paise>{0, 0, 0}));
    QCOMPARE(taxOf(9, "4(D)(1)"), (QList<Paise>{0, 4500, 4500}));
    QCOMPARE(taxOf(9, "4(A)(5)"), (QList<Paise>{0, 4500, 4500}));
    // the payables report names the same credit on the bills while they stay unpaid
    const auto creditShown = [&](const QDate& asAt) {
        QStringList shown;
        for (const OutstandingBuyer& supplier : LoadPayables(db, asAt).buyers)
            for (const OutstandingLine& line : supplier.lines)
                if (line.figures.creditToReverse != 0)
                    shown << line.number + " " + AmountText(line.figures.creditToReverse);
        return shown;
    };
    QCOMPARE(creditShown(QDate(2026, 7, 9)), QStringList());
    QCOMPARE(creditShown(QDate(2026, 7, 10)), QStringList({"A-1 90.00"}));
    QCOMPARE(creditShown(QDate(2026, 7, 24)), QStringList({"B-1 54.00", "A-1 90.00"})); // Mysore Paints first, by name
    QCOMPARE(creditShown(QDate(2026, 7, 25)), QStringList({"A-1 90.00"}));
    QCOMPARE(creditShown(QDate(2026, 9, 15)), QStringList());
    const QStringList july = LoadGstr3b(db, 2026, 7).row("4(B)(2)")->documents;
    QCOMPARE(july, (QStringList{"Bill A-1 of 10/01/2026 from Sharma Traders: unpaid 180 days after its date 590.00",
                                "Bill B-1 of 20/01/2026 from Mysore Paints: unpaid 180 days after its date 354.00"}));
}

QTEST_GUILESS_MAIN(PayablesTest)
#include "test_payables.moc"
