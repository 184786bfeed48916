// Receipts on the files and on the server: allotted oldest first, what each
// invoice and buyer owes after receipts, cancellations of receipts and of
// invoices, advances taken by later invoices, the refusals that store
// nothing, two counters against one invoice, and an invoice paid at the
// counter saved whole with its receipt or not at all.
#include "sales/invoicecancel.h"
#include "platform/datetext.h"
#include "sales/owed.h"
#include "sales/receiptstore.h"
#include "sales/salenotestore.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/serials.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

namespace {

const QDate Today(2026, 12, 7);

// A one-line invoice of the buyer, dated as given, of the rate (no tax).
Invoice sale(qint64 serial, const char* buyerCode, const char* date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.buyerCode = buyerCode;
    x.buyer.name = QStringLiteral("Buyer %1").arg(buyerCode);
    InvoiceLine l;
    l.description = "Paint";
    l.quantity = 1;
    l.rate = rate;
    l.amount = LineAmount(1, rate);
    x.lines = {l};
    ComputeTotals(x);
    return x;
}

Receipt receipt(const char* buyerCode, Paise amount, std::vector<Allotment> allotments = {})
{
    Receipt r;
    r.date = QDate(2026, 12, 6);
    r.time = "10:15";
    r.buyerCode = buyerCode;
    r.buyerName = QStringLiteral("Buyer %1").arg(buyerCode);
    r.mode = PaymentMode::Upi;
    r.reference = "UTR 4411";
    r.amount = amount;
    r.allotments = std::move(allotments);
    return r;
}

// What each open invoice of the buyer has left, by number.
QMap<QString, Paise> leftOf(Database& db, const QString& buyer)
{
    QMap<QString, Paise> left;
    for (const OwedInvoice& i : WhatIsOwed(db, {buyer, std::nullopt}).open)
        left.insert(i.number, i.left());
    return left;
}

std::vector<OpenInvoice> openOf(Database& db, const QString& buyer)
{
    std::vector<OpenInvoice> open;
    for (const OwedInvoice& i : WhatIsOwed(db, {buyer, std::nullopt}).open)
        open.push_back({i.serial, i.number, i.dateText, i.left()});
    return open;
}

int rows(const testing::TempData& data, const char* table)
{
    return testing::valueInFile(data.folder(), DbFile::Invoice, QStringLiteral("SELECT count(*) FROM %1").arg(table))
        .toInt();
}

// C00001 owes A00001 (05/11, 1000.00), A00002 (01/11, 250.50: the oldest,
// though saved later) and A00004 (01/12, 400.00); C00002 owes A00003 (700.00).
void threeInvoicesAndAnother(Database& db)
{
    StoreInvoice(db, sale(1, "C00001", "05/11/2026", 1000));
    StoreInvoice(db, sale(2, "C00001", "01/11/2026", 250.50));
    StoreInvoice(db, sale(3, "C00002", "02/11/2026", 700));
    StoreInvoice(db, sale(4, "C00001", "01/12/2026", 400));
}

// A note of value only, 500.00, on the invoice's one line.
void noteOf500(Database& db, NoteKind kind, const QString& invoiceNumber)
{
    SaleNote note = NoteAgainst(kind, *LoadInvoice(db, invoiceNumber));
    note.date = QDate(2026, 12, 7);
    note.time = "11:00:00";
    note.reason = "Post-sale discount";
    note.lines = {{1, "Paint", "", "", 0, 50000, 0, 0}};
    const StoredNote stored = StoreSaleNote(db, note);
    QVERIFY2(stored.saved(), qPrintable(stored.refusal));
}

} // namespace

class ReceiptsTest : public QObject {
    Q_OBJECT
private slots:
    void allottedOldestFirstThenCancelled();
    void refusedWithNothingStored_data();
    void refusedWithNothingStored();
    void twoCountersNeverOverAllot();
    void advanceGoesToLaterInvoices();
    void twoAdvancesTwoInvoices();
    void cancelledInvoiceOwesNothing();
    void paidNowSavedWithItsInvoice();
    void paidNowThatFailsLandsNothing();
    void owedAsAtADay();
    void noMoneyCountedTwice_data();
    void noMoneyCountedTwice();
};

void ReceiptsTest::allottedOldestFirstThenCancelled()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    const std::vector<Allotment> allotted = AllotOldestFirst(openOf(*data.db, "C00001"), 130000);
    QCOMPARE(allotted, (std::vector<Allotment>{{2, "A00002", 25050}, {1, "A00001", 100000}, {4, "A00004", 4950}}));

    const StoredReceipt first = StoreReceipt(*data.db, receipt("C00001", 130000, allotted), Today);
    QVERIFY2(first.saved(), qPrintable(first.refusal));
    QCOMPARE(first.number, QString("R00001"));
    QCOMPARE(leftOf(*data.db, "C00001"), (QMap<QString, Paise>{{"A00004", 35050}}));
    QCOMPARE(WhatIsOwed(*data.db).balance("C00002"), 70000);
    QCOMPARE(*LoadReceipt(*data.db, "R00001"), [&] {
        Receipt r = receipt("C00001", 130000, allotted);
        r.serial = 1;
        r.number = "R00001";
        return r;
    }());

    const ReceiptCancellation mark{QDate(2026, 12, 7), "12:00:00", "Cheque bounced", "meena"};
    QCOMPARE(CancelReceipt(*data.db, "R00001", mark), QString());
    QCOMPARE(leftOf(*data.db, "C00001"),
             (QMap<QString, Paise>{{"A00001", 100000}, {"A00002", 25050}, {"A00004", 40000}}));
    QVERIFY(CancelReceipt(*data.db, "R00001", mark).startsWith("Receipt R00001 is already cancelled"));
    // the cancelled number is never issued again
    QCOMPARE(StoreReceipt(*data.db, receipt("C00001", 100), Today).number, QString("R00002"));
}

void ReceiptsTest::refusedWithNothingStored_data()
{
    QTest::addColumn<Receipt>("typed");
    QTest::addColumn<QString>("said");
    Receipt r = receipt("C00001", 50000, {{1, "A00001", 30000}});
    QTest::newRow("nothing received") << [&] { Receipt x = r; x.amount = 0; x.allotments = {}; return x; }()
                                      << "(Amount)";
    QTest::newRow("below nothing") << [&] { Receipt x = r; x.amount = -100; x.allotments = {}; return x; }()
                                   << "(Amount)";
    QTest::newRow("tomorrow") << [&] { Receipt x = r; x.date = QDate(2026, 12, 8); return x; }() << "is after today";
    QTest::newRow("no date") << [&] { Receipt x = r; x.date = QDate(2026, 2, 31); return x; }() << "not a date";
    QTest::newRow("cheque without number")
        << [&] { Receipt x = r; x.mode = PaymentMode::Cheque; x.reference = " "; return x; }() << "(Reference)";
    QTest::newRow("more allotted than received")
        << [&] { Receipt x = r; x.allotments.push_back({4, "A00004", 20001}); return x; }() << "(Allotted)";
    QTest::newRow("more than the invoice has left")
        << [&] { Receipt x = r; x.amount = 200000; x.allotments = {{2, "A00002", 25051}}; return x; }()
        << "Invoice A00002 has only 250.50 left";
    QTest::newRow("another buyer's invoice")
        << [&] { Receipt x = r; x.allotments = {{3, "A00003", 100}}; return x; }() << "Invoice A00003 has only 0.00";
}

void ReceiptsTest::refusedWithNothingStored()
{
    QFETCH(Receipt, typed);
    QFETCH(QString, said);
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    const StoredReceipt stored = StoreReceipt(*data.db, typed, Today);
    QVERIFY2(stored.refusal.contains(said), qPrintable(stored.refusal));
    QCOMPARE(rows(data, "Receipt"), 0);
    QCOMPARE(rows(data, "ReceiptAllotment"), 0);
}

// Both counters list A00002 with 250.50 left and allot it all; the second
// save finds it paid inside its own transaction and stores nothing.
void ReceiptsTest::twoCountersNeverOverAllot()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    auto other = data.openAnother();
    const auto allotted = AllotOldestFirst(openOf(*data.db, "C00001"), 25050);
    const auto allottedThere = AllotOldestFirst(openOf(*other, "C00001"), 25050);
    QVERIFY(StoreReceipt(*data.db, receipt("C00001", 25050, allotted), Today).saved());
    const StoredReceipt second = StoreReceipt(*other, receipt("C00001", 25050, allottedThere), Today);
    QVERIFY(second.refusal.startsWith("Invoice A00002 has only 0.00 left to pay now"));
    QCOMPARE(rows(data, "Receipt"), 1);
    QCOMPARE(WhatIsOwed(*data.db).balance("C00001"), 140000);
}

// 500.00 beyond C00002's invoice waits as advance; C00002's next invoice
// takes it when saved, C00001's does not.
void ReceiptsTest::advanceGoesToLaterInvoices()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    QVERIFY(StoreReceipt(*data.db, receipt("C00002", 120000, {{3, "A00003", 70000}}), Today).saved());
    Owed owed = WhatIsOwed(*data.db);
    QCOMPARE(owed.advance.value("C00002"), 50000);
    QCOMPARE(owed.balance("C00002"), -50000);
    QCOMPARE(AdvanceHeld(*data.db, "C00002"), 50000);

    StoreSale(*data.db, sale(5, "C00001", "07/12/2026", 300), Renumber::Allowed, std::nullopt);
    StoreSale(*data.db, sale(6, "C00002", "07/12/2026", 800), Renumber::Allowed, std::nullopt);
    owed = WhatIsOwed(*data.db);
    QCOMPARE(owed.advance.value("C00002"), 0);
    QCOMPARE(leftOf(*data.db, "C00002"), (QMap<QString, Paise>{{"A00006", 30000}}));
    QCOMPARE(leftOf(*data.db, "C00001").value("A00005"), 30000);
    QCOMPARE(owed.balance("C00002"), 30000);
}

// Two advances (300.00 and 200.00) and two later invoices of 400.00 each:
// the first takes all of R00001 and 100.00 of R00002, the second the rest of
// R00002; no advance is allotted twice.
void ReceiptsTest::twoAdvancesTwoInvoices()
{
    testing::TempData data;
    QVERIFY(StoreReceipt(*data.db, receipt("C00003", 30000), Today).saved());
    QVERIFY(StoreReceipt(*data.db, receipt("C00003", 20000), Today).saved());
    StoreSale(*data.db, sale(1, "C00003", "07/12/2026", 400), Renumber::Allowed, std::nullopt);
    StoreSale(*data.db, sale(2, "C00003", "07/12/2026", 400), Renumber::Allowed, std::nullopt);
    QCOMPARE(LoadReceipt(*data.db, "R00001")->allotments, (std::vector<Allotment>{{1, "A00001", 30000}}));
    QCOMPARE(LoadReceipt(*data.db, "R00002")->allotments,
             (std::vector<Allotment>{{1, "A00001", 10000}, {2, "A00002", 10000}}));
    const Owed owed = WhatIsOwed(*data.db);
    QCOMPARE(owed.advance.value("C00003"), 0);
    QCOMPARE(leftOf(*data.db, "C00003"), (QMap<QString, Paise>{{"A00002", 30000}}));
    QCOMPARE(owed.balance("C00003"), 30000);
}

// A cancelled invoice owes nothing; what was allotted to it is advance again.
void ReceiptsTest::cancelledInvoiceOwesNothing()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    QVERIFY(StoreReceipt(*data.db, receipt("C00001", 30000, {{4, "A00004", 30000}}), Today).saved());
    QCOMPARE(CancelInvoice(*data.db, "A00004", {QDate(2026, 12, 7), "12:00", "Wrong rate", "ravi"}), QString());
    const Owed owed = WhatIsOwed(*data.db);
    QCOMPARE(leftOf(*data.db, "C00001"), (QMap<QString, Paise>{{"A00001", 100000}, {"A00002", 25050}}));
    QCOMPARE(owed.advance.value("C00001"), 30000);
    QCOMPARE(AdvanceHeld(*data.db, "C00001"), 30000);
    QCOMPARE(owed.balance("C00001"), 125050 - 30000);
    // the statement agrees with the balance
    Paise ledger = 0;
    for (const LedgerEntry& e : BuyerLedger(*data.db, "C00001"))
        ledger += e.debit - e.credit;
    QCOMPARE(ledger, owed.balance("C00001"));
}

void ReceiptsTest::paidNowSavedWithItsInvoice()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    const StoredSale stored = StoreSale(*data.db, sale(5, "C00002", "07/12/2026", 999.99), Renumber::Allowed,
                                        PaidNow{PaymentMode::Card, "slip 77", "HDFC"}, "ravi");
    QCOMPARE(stored.invoice.number, QString("A00005"));
    QCOMPARE(stored.receiptNumber, QString("R00001"));
    const Receipt kept = *LoadReceipt(*data.db, "R00001");
    QCOMPARE(kept.amount, 99999);
    QCOMPARE(kept.mode, PaymentMode::Card);
    QCOMPARE(kept.allotments, (std::vector<Allotment>{{5, "A00005", 99999}}));
    QCOMPARE(leftOf(*data.db, "C00002"), (QMap<QString, Paise>{{"A00003", 70000}}));
}

// The receipt's allotment cannot be written: neither the invoice nor the
// receipt is kept; a cheque without its number is refused before anything.
void ReceiptsTest::paidNowThatFailsLandsNothing()
{
    testing::TempData data;
    data.db->setStatementHook([](const QString& sql) {
        if (sql.contains("INSERT INTO") && sql.contains("ReceiptAllotment"))
            throw DataError("save the receipt", "Invoice", "disk full");
    });
    QVERIFY_THROWS_EXCEPTION(DataError, StoreSale(*data.db, sale(1, "C00001", "07/12/2026", 10), Renumber::Allowed,
                                                  PaidNow{}));
    data.db->setStatementHook({});
    QCOMPARE(rows(data, "BuyerInvoice WHERE sno <> 0"), 0);
    QCOMPARE(rows(data, "Receipt"), 0);
    QVERIFY(PaidNowRefusal({PaymentMode::Cheque, "", "SBI"}).contains("cheque's number"));
    QVERIFY_THROWS_EXCEPTION(DataError, StoreSale(*data.db, sale(1, "C00001", "07/12/2026", 10), Renumber::Allowed,
                                                  PaidNow{PaymentMode::Cheque, "", "SBI"}));
    QCOMPARE(rows(data, "BuyerInvoice WHERE sno <> 0"), 0);
}

// As at 03/11 only the invoices and receipts of that day or before count.
void ReceiptsTest::owedAsAtADay()
{
    testing::TempData data;
    threeInvoicesAndAnother(*data.db);
    Receipt late = receipt("C00001", 25050, {{2, "A00002", 25050}});
    QVERIFY(StoreReceipt(*data.db, late, Today).saved());
    const Owed then = WhatIsOwed(*data.db, {std::nullopt, QDate(2026, 11, 3)});
    QStringList numbers;
    for (const OwedInvoice& i : then.open)
        numbers << i.number;
    QCOMPARE(numbers, (QStringList{"A00002", "A00003"}));
    QCOMPARE(then.balance("C00001"), 25050);
    QCOMPARE(WhatIsOwed(*data.db).balance("C00001"), 140000);
}

// A00001 = 1000.00 paid by R00001 (600.00) and R00002 (400.00); then notes,
// a later invoice (A00002 = 500.00, which takes the advance) and
// cancellations in various orders. After every step no receipt holds below
// nothing and the open invoices less the advance are all billed less all
// received, as the statement says.
void ReceiptsTest::noMoneyCountedTwice_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<Paise>("owedAtEnd");
    QTest::newRow("credit, sale, R00001 cancelled") << QStringList{"credit", "sale", "cancel R00001"} << Paise(60000);
    QTest::newRow("credit, sale, debit") << QStringList{"credit", "sale", "debit"} << Paise(50000);
    QTest::newRow("sale, credit, R00001 cancelled") << QStringList{"sale", "credit", "cancel R00001"} << Paise(60000);
    QTest::newRow("credit, R00001 cancelled, sale") << QStringList{"credit", "cancel R00001", "sale"} << Paise(60000);
    QTest::newRow("credit, sale, A00002 cancelled, debit")
        << QStringList{"credit", "sale", "cancel A00002", "debit"} << Paise(0);
    QTest::newRow("debit, credit, sale, R00002 cancelled")
        << QStringList{"debit", "credit", "sale", "cancel R00002"} << Paise(90000);
}

void ReceiptsTest::noMoneyCountedTwice()
{
    QFETCH(QStringList, steps);
    QFETCH(Paise, owedAtEnd);
    testing::TempData data;
    Database& db = *data.db;
    StoreInvoice(db, sale(1, "C00001", "05/12/2026", 1000));
    QVERIFY(StoreReceipt(db, receipt("C00001", 60000, {{1, "A00001", 60000}}), Today).saved());
    QVERIFY(StoreReceipt(db, receipt("C00001", 40000, {{1, "A00001", 40000}}), Today).saved());
    Paise balance = 0;
    for (const QString& step : steps) {
        if (step == "credit" || step == "debit")
            noteOf500(db, step == "credit" ? NoteKind::Credit : NoteKind::Debit, "A00001");
        else if (step == "sale")
            StoreSale(db, sale(2, "C00001", "07/12/2026", 500), Renumber::Allowed, std::nullopt);
        else if (step.startsWith("cancel R"))
            QCOMPARE(CancelReceipt(db, step.mid(7), {QDate(2026, 12, 7), "12:00:00", "Bounced", "ravi"}), QString());
        else
            QCOMPARE(CancelInvoice(db, step.mid(7), {QDate(2026, 12, 7), "12:00:00", "Wrong buyer", "ravi"}), QString());
        const Owed owed = WhatIsOwed(db);
        Paise open = 0;
        for (const OwedInvoice& i : owed.open) {
            QVERIFY2(i.left() > 0 && i.paid >= 0, qPrintable(step + ": " + i.number));
            open += i.left();
        }
        for (const Owed::Advance& a : owed.advances)
            QVERIFY2(a.amount > 0, qPrintable(QString("%1: %2 holds %3").arg(step, a.receiptNumber).arg(a.amount)));
        Paise ledger = 0;
        for (const LedgerEntry& e : BuyerLedger(db, "C00001"))
            ledger += e.debit - e.credit;
        QCOMPARE(open - owed.advance.value("C00001"), ledger);
        QCOMPARE(owed.balance("C00001"), ledger);
        QVERIFY(AdvanceHeld(db, "C00001") >= owed.advance.value("C00001"));
        balance = ledger;
    }
    QCOMPARE(balance, owedAtEnd);
}

QTEST_GUILESS_MAIN(ReceiptsTest)
#include "test_receipts.moc"
