// Opening balances on the files and on the server: a buyer's earlier bills
// age in the outstanding report by their own dates, a receipt allotted oldest
// first pays them before a later invoice, the statement opens with them, the
// balance the credit-limit warning reads counts them; a supplier's count in
// what the shop owes and take a payment; a refusal in the middle of three
// bills stores none of them.
#include "sales/opening.h"
#include "platform/datetext.h"
#include "sales/owed.h"
#include "sales/payable.h"
#include "sales/paymentstore.h"
#include "sales/receiptstore.h"

#include "data/database.h"
#include "data/serials.h"
#include "platform/period.h"
#include "registers/outstanding.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

namespace {

const QDate Today(2026, 12, 7);
const QDate BooksStart(2026, 11, 1);

void run(Database& db, const QString& sql, const QVariantList& values)
{
    db.run(sql, values, QStringLiteral("set up the test"), DbFile::Master);
}

// The shop (books from 01/11/2026), the buyers Kochi Stores (C00001) and
// Anand Hardware (C00002), the supplier Mysore Paints (S00003, serial 3).
void shop(Database& db)
{
    Transaction t(db, QStringLiteral("set up the test"));
    run(db, QStringLiteral("INSERT INTO \"%1\".\"Company\" (\"sno\", \"CompanyId\", \"Name\") VALUES (1, 'C00001', 'Zelva Paints')")
                .arg(SchemaName(DbFile::Master)),
        {});
    StoreBooksStartDayWithin(db, 1, BooksStart);
    for (const auto& [serial, code, name] : {std::tuple(1, "C00001", "Kochi Stores"), std::tuple(2, "C00002", "Anand Hardware")})
        run(db, QStringLiteral("INSERT INTO \"%1\".\"CustomerDetails\" (\"sno\", \"bid\", \"Name\") VALUES (?, ?, ?)")
                    .arg(SchemaName(DbFile::Customer)),
            {serial, QString::fromLatin1(code), QString::fromLatin1(name)});
    run(db, QStringLiteral("INSERT INTO \"%1\".\"Supplier\" (\"sno\", \"SupplierId\", \"Name\") VALUES (3, 'S00003', "
                           "'Mysore Paints')")
                .arg(SchemaName(DbFile::PurchaseMaster)),
        {});
    t.commit();
}

Invoice sale(qint64 serial, const char* buyerCode, const char* buyerName, const char* date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.buyerCode = buyerCode;
    x.buyer.name = buyerName;
    InvoiceLine l;
    l.description = "Paint";
    l.quantity = 1;
    l.rate = rate;
    l.amount = LineAmount(1, rate);
    x.lines = {l};
    ComputeTotals(x);
    return x;
}

// Kochi Stores owed B-17 (10/08/2026, 150.00) and B-21 (20/10/2026, 75.50)
// when the books started, and was billed A00001 (20/11/2026, 400.00) since;
// Anand Hardware owed one amount, 1234.56.
void kochiOwes(Database& db)
{
    shop(db);
    QCOMPARE(StoreOpeningBills(db, PartyKind::Buyer, "C00001",
                               {{0, "B-21", QDate(2026, 10, 20), 7550}, {0, "B-17", QDate(2026, 8, 10), 15000}}),
             QString());
    QCOMPARE(StoreOpeningBills(db, PartyKind::Buyer, "C00002", {OneOpeningAmount(123456, BooksStart)}), QString());
    StoreInvoice(db, sale(1, "C00001", "Kochi Stores", "20/11/2026", 400));
}

QMap<QString, Paise> leftOf(Database& db, const QString& buyer)
{
    QMap<QString, Paise> left;
    for (const OwedInvoice& i : WhatIsOwed(db, {buyer, std::nullopt}).open)
        left.insert(i.number, i.left());
    return left;
}

using Bills = std::vector<OpeningBill>;

} // namespace

class OpeningBalancesTest : public QObject {
    Q_OBJECT
private slots:
    void ageByTheirOwnDates();
    void receiptPaysOpeningBillFirst();
    void statementOpensWithThem();
    void creditLimitBalanceCountsThem();
    void refusedBillsStoreNone_data();
    void refusedBillsStoreNone();
    void keptBillKeepsItsSerial();
    void booksStartCannotPassABill();
    void supplierOpeningBillsArePayable();
};

void OpeningBalancesTest::ageByTheirOwnDates()
{
    testing::TempData data;
    kochiOwes(*data.db);
    const Outstanding report = LoadOutstanding(*data.db, Today);
    QCOMPARE(int(report.buyers.size()), 2);
    const OutstandingBuyer& kochi = report.buyers[1]; // by name: Anand Hardware first
    QCOMPARE(kochi.name, QString("Kochi Stores"));
    QStringList lines;
    for (const OutstandingLine& l : kochi.lines)
        lines << QStringLiteral("%1 %2 %3 col%4").arg(l.number).arg(l.days).arg(l.figures.balance).arg([&] {
            for (int c = 0; c < AgeingColumns; ++c)
                if (l.figures.ageing[c] != 0)
                    return c;
            return -1;
        }());
    QCOMPARE(lines, (QStringList{"B-17 119 15000 col3", "B-21 48 7550 col1", "A00001 17 40000 col0"}));
    QCOMPARE(kochi.totals.balance, 62550);
    QCOMPARE(report.buyers[0].lines.at(0).number, QString("Opening"));
    QCOMPARE(report.buyers[0].lines.at(0).days, 36);
    QCOMPARE(report.totals.balance, 62550 + 123456);
    // as at a day before the books started, only the bills dated by then
    QCOMPARE(LoadOutstanding(*data.db, QDate(2026, 9, 30)).totals.balance, 15000);
}

void OpeningBalancesTest::receiptPaysOpeningBillFirst()
{
    testing::TempData data;
    kochiOwes(*data.db);
    std::vector<OpenInvoice> open;
    for (const OwedInvoice& i : WhatIsOwed(*data.db, {"C00001", std::nullopt}).open)
        open.push_back({i.serial, i.number, i.dateText, i.left()});
    const std::vector<Allotment> allotted = AllotOldestFirst(open, 20000);
    QCOMPARE(int(allotted.size()), 2);
    QCOMPARE(allotted[0].invoiceNumber, QString("B-17"));
    QCOMPARE(allotted[1].invoiceNumber, QString("B-21"));
    QVERIFY(allotted[0].invoiceSerial < 0);
    Receipt r;
    r.date = QDate(2026, 12, 6);
    r.buyerCode = "C00001";
    r.buyerName = "Kochi Stores";
    r.amount = 20000;
    r.allotments = allotted;
    const StoredReceipt stored = StoreReceipt(*data.db, r, Today);
    QVERIFY2(stored.saved(), qPrintable(stored.refusal));
    QCOMPARE(leftOf(*data.db, "C00001"), (QMap<QString, Paise>{{"B-21", 2550}, {"A00001", 40000}}));
    // more than the opening bill has left is refused as for an invoice
    r.amount = 3000;
    r.allotments = {{allotted[1].invoiceSerial, "B-21", 2551}};
    QVERIFY(StoreReceipt(*data.db, r, Today).refusal.contains("B-21 has only 25.50 left"));
    // the bill money was allotted to cannot be taken off
    const QString refused = StoreOpeningBills(*data.db, PartyKind::Buyer, "C00001", {{0, "B-21", QDate(2026, 10, 20), 7550}});
    QVERIFY2(refused.contains("B-17 cannot be taken off: receipt R00001"), qPrintable(refused));
    QCOMPARE(int(LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001").size()), 2);
}

void OpeningBalancesTest::statementOpensWithThem()
{
    testing::TempData data;
    kochiOwes(*data.db);
    const Statement november = LoadStatement(*data.db, "C00001", "Kochi Stores", MonthPeriod(2026, 11));
    QCOMPARE(november.opening, 22550);
    QCOMPARE(int(november.lines.size()), 1);
    QCOMPARE(november.lines[0].particulars, QString("Invoice A00001"));
    QCOMPARE(november.closing, 62550);
    QVERIFY(StatementCsv(november).contains("Opening balance,,,225.50"));
    // over the year they are lines of their own, by their dates
    const Statement year = LoadStatement(*data.db, "C00001", "Kochi Stores", YearPeriod(2026));
    QCOMPARE(year.opening, 0);
    QCOMPARE(year.lines.at(0).particulars, QString("Opening bill B-17"));
    QCOMPARE(year.lines.at(1).balance, 22550);
    const Statement anand = LoadStatement(*data.db, "C00002", "Anand Hardware", YearPeriod(2026));
    QCOMPARE(anand.lines.at(0).particulars, QString("Opening balance"));
    QCOMPARE(anand.closing, 123456);
}

// The invoice form warns when balance plus the invoice passes the limit; the
// balance it reads is WhatIsOwed's, with the opening bills in it.
void OpeningBalancesTest::creditLimitBalanceCountsThem()
{
    testing::TempData data;
    kochiOwes(*data.db);
    QCOMPARE(WhatIsOwed(*data.db, {"C00001", std::nullopt}).balance("C00001"), 62550);
    QCOMPARE(WhatIsOwed(*data.db, {"C00002", std::nullopt}).balance("C00002"), 123456);
    QCOMPARE(AdvanceHeld(*data.db, "C00002"), 0);
}

void OpeningBalancesTest::refusedBillsStoreNone_data()
{
    QTest::addColumn<Bills>("typed");
    QTest::addColumn<QString>("said");
    const OpeningBill first{0, "B-30", QDate(2026, 9, 1), 11100};
    const OpeningBill last{0, "B-32", QDate(2026, 10, 1), 99999999};
    QTest::newRow("after the books start")
        << Bills{first, {0, "B-31", QDate(2026, 11, 2), 500}, last}
        << "Opening bill 2 (B-31) is dated 02/11/2026, after the day the books start here, 01/11/2026 (Bill Date).";
    QTest::newRow("nothing owed") << Bills{first, {0, "B-31", QDate(2026, 10, 2), 0}, last}
                                  << "Opening bill 2 (B-31) must be an amount above nothing (Amount).";
    QTest::newRow("below nothing") << Bills{first, {0, "B-31", QDate(2026, 10, 2), -1}, last}
                                   << "Opening bill 2 (B-31) must be an amount above nothing (Amount).";
    QTest::newRow("number twice") << Bills{first, {0, " b-30", QDate(2026, 10, 2), 500}, last}
                                  << "Opening bill 2: the number b-30 is already opening bill 1 (Bill No).";
    QTest::newRow("no date") << Bills{first, {0, "B-31", QDate(), 500}, last}
                             << "Opening bill 2 (B-31) has no date (Bill Date).";
    QTest::newRow("no number") << Bills{first, {0, " ", QDate(2026, 10, 2), 500}, last}
                               << "Opening bill 2 has no number (Bill No).";
}

void OpeningBalancesTest::refusedBillsStoreNone()
{
    QFETCH(Bills, typed);
    QFETCH(QString, said);
    testing::TempData data;
    kochiOwes(*data.db);
    const Bills before = LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001");
    QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Buyer, "C00001", typed), said);
    QCOMPARE(LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001"), before);
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM OpeningBill").toInt(), 3);
}

void OpeningBalancesTest::keptBillKeepsItsSerial()
{
    testing::TempData data;
    kochiOwes(*data.db);
    const Bills before = LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001");
    QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Buyer, "C00001",
                               {{0, "b-17", QDate(2026, 8, 11), 16000}, {0, "B-40", QDate(2026, 10, 31), 100}}),
             QString());
    const Bills after = LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001");
    QCOMPARE(int(after.size()), 2);
    QCOMPARE(after[0].serial, before[0].serial);
    QCOMPARE(after[0].amount, 16000);
    QVERIFY(after[1].serial != before[1].serial);
    // no books-start day: nothing can be saved
    testing::TempData bare;
    QVERIFY(StoreOpeningBills(*bare.db, PartyKind::Buyer, "C00001", {{0, "B-1", QDate(2026, 1, 1), 100}})
                .contains("(Books start on)"));
}

void OpeningBalancesTest::booksStartCannotPassABill()
{
    testing::TempData data;
    kochiOwes(*data.db);
    QVERIFY(BooksStartRefusal(*data.db, 1, QDate(2026, 10, 19)).startsWith("The opening bill Opening of C00002 is dated 01/11/2026"));
    QVERIFY(BooksStartRefusal(*data.db, 1, QDate(2026, 8, 9)).contains("after 09/08/2026"));
    QVERIFY(BooksStartRefusal(*data.db, 1, std::nullopt).contains("(Books start on)"));
    QCOMPARE(BooksStartRefusal(*data.db, 1, QDate(2026, 11, 1)), QString());
    QCOMPARE(BooksStartRefusal(*data.db, 2, std::nullopt), QString()); // another company's
    QCOMPARE(BooksStartDay(*data.db), std::optional<QDate>(BooksStart));
}

void OpeningBalancesTest::supplierOpeningBillsArePayable()
{
    testing::TempData data;
    shop(*data.db);
    QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Supplier, "S00003",
                               {{0, "MP-9", QDate(2026, 7, 1), 30000}, OneOpeningAmount(1919, BooksStart)}),
             QString());
    const Payables payables = WhatIsPayable(*data.db, {"#3", std::nullopt});
    QCOMPARE(payables.balance("#3"), 31919);
    QCOMPARE(int(payables.open.size()), 2);
    QCOMPARE(payables.open[0].number, QString("MP-9"));
    QCOMPARE(payables.open[0].supplierName, QString("Mysore Paints"));
    QVERIFY(!UnpaidTooLong(payables.open[0], Today)); // no credit rides on it
    QCOMPARE(WhatIsPayable(*data.db, {std::nullopt, QDate(2026, 8, 1)}).balance("#3"), 30000);

    Payment p;
    p.date = QDate(2026, 12, 6);
    p.supplierSerial = 3;
    p.supplierName = "Mysore Paints";
    p.mode = PaymentMode::Cash;
    p.amount = 30500;
    std::vector<OpenInvoice> open;
    for (const OwedBill& b : payables.open)
        open.push_back({b.serial, b.number, {}, b.left()});
    p.allotments = AllotOldestFirst(open, p.amount);
    const StoredPayment stored = StorePayment(*data.db, p, Today);
    QVERIFY2(stored.saved(), qPrintable(stored.refusal));
    const Payables after = WhatIsPayable(*data.db, {"#3", std::nullopt});
    QCOMPARE(int(after.open.size()), 1);
    QCOMPARE(after.open[0].left(), 1419);
    int ledgerBills = 0;
    for (const SupplierLedgerEntry& e : SupplierLedger(*data.db, "#3"))
        ledgerBills += e.kind == SupplierLedgerEntry::Bill ? 1 : 0;
    QCOMPARE(ledgerBills, 2);
}

QTEST_GUILESS_MAIN(OpeningBalancesTest)
#include "test_openingbalances.moc"
