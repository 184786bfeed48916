// Cancelling a saved invoice, on the files and on the server: the stock of
// every line comes back once, the invoice stays under its number with its
// mark, a refusal or a failing save changes nothing, and a file of the
// layout before cancellations gains them on opening.
#include "sales/invoicecancel.h"
#include "sales/invoicestore.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/serials.h"
#include "data/serverstore.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QtTest>

using namespace zelva;

namespace {

// Three items whose stock differs, and a fourth named like no invoice line.
void addStock(Database& db)
{
    Transaction t(db, "add the items");
    for (auto [sno, code, name, quantity] : {std::tuple{1, "G00001", "Brush", 50.0}, {2, "G00002", "Paint", 40.0},
                                             {3, "G00003", "Putty", 30.0}, {4, "G00004", "Primer", 20.0}})
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, ?)",
               {sno, code, name, quantity}, "add an item", DbFile::ItemStock);
    t.commit();
}

InvoiceLine line(const char* code, const char* description, double quantity, double rate)
{
    InvoiceLine l;
    l.itemCode = code;
    l.description = description;
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    return l;
}

// Lines 3, 2.5 and 7 of three items, dated in December 2026.
Invoice threeLines(qint64 serial)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = QDate(2026, 12, 7);
    x.buyer.name = "Mysore Mart";
    x.mode = TaxMode::Cgst;
    x.lines = {line("G00001", "Brush", 3, 45.35), line("G00002", "Paint", 2.5, 385.15),
               line("G00003", "Putty", 7, 62.45)};
    x.taxes[TaxOnGoods].rate = 18;
    ComputeTotals(x);
    return x;
}

const InvoiceCancellation Mark{QDate(2026, 12, 8), "11:40:05", "Wrong buyer chosen", "ravi"};

QList<double> stock(const testing::TempData& data)
{
    QList<double> on;
    for (const char* code : {"G00001", "G00002", "G00003", "G00004"})
        on << testing::valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE itemcode = ?",
                                   {code})
                  .toDouble();
    return on;
}

int marks(const testing::TempData& data)
{
    return testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM CancelledInvoice").toInt();
}

const QList<double> Untouched{50, 40, 30, 20};
const QList<double> AfterSale{47, 37.5, 23, 20};

} // namespace

class InvoiceCancelTest : public QObject {
    Q_OBJECT
private slots:
    void stockComesBackAndTheMarkIsKept();
    void refusedWithNothingChanged_data();
    void refusedWithNothingChanged();
    void failingSaveLandsNothing();
    void numberIsNotIssuedAgain();
    void layoutBeforeCancellationsIsUpgraded();
};

void InvoiceCancelTest::stockComesBackAndTheMarkIsKept()
{
    testing::TempData data;
    addStock(*data.db);
    StoreInvoice(*data.db, threeLines(1));
    QCOMPARE(stock(data), AfterSale);

    QCOMPARE(CancelInvoice(*data.db, "A00001", Mark), QString());
    QCOMPARE(stock(data), Untouched);
    const std::optional<Invoice> kept = LoadInvoice(*data.db, "A00001");
    QVERIFY(kept && kept->cancelled());
    QCOMPARE(*kept->cancellation, Mark);
    QCOMPARE(kept->totals.grand, threeLines(1).totals.grand); // kept as it was issued
    const std::vector<Invoice> all = LoadAllInvoices(*data.db);
    QVERIFY(all.size() == 1 && all[0].cancellation == Mark);
}

// Each refusal says why and leaves stock and marks as they were.
void InvoiceCancelTest::refusedWithNothingChanged_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("cancelledBefore");
    QTest::addColumn<bool>("monthFiled");
    QTest::addColumn<QString>("said");
    QTest::newRow("no reason") << "A00002" << "  " << false << false << "Give the reason";
    QTest::newRow("unknown number") << "A00009" << "Typo" << false << false << "There is no saved invoice A00009.";
    QTest::newRow("cancelled at another counter") << "A00002" << "Twice" << true << false
                                                  << "Invoice A00002 is already cancelled (on 08/12/2026 by ravi).";
    QTest::newRow("its month's return filed") << "A00002" << "Late" << false << true
                                              << "The GST return of December 2026 is filed, so invoice A00002 can "
                                                 "no longer be cancelled. Issue a credit note against it instead.";
}

void InvoiceCancelTest::refusedWithNothingChanged()
{
    QFETCH(QString, number);
    QFETCH(QString, reason);
    QFETCH(bool, cancelledBefore);
    QFETCH(bool, monthFiled);
    QFETCH(QString, said);
    testing::TempData data;
    addStock(*data.db);
    Invoice other = threeLines(1);
    other.date = QDate(2026, 11, 30); // another month, not filed
    other.lines = {line("G00004", "Primer", 4, 10)};
    ComputeTotals(other);
    StoreInvoice(*data.db, other);
    StoreInvoice(*data.db, threeLines(2));
    QList<double> before{47, 37.5, 23, 16};
    if (cancelledBefore) {
        QCOMPARE(CancelInvoice(*data.openAnother(), "A00002", Mark), QString());
        before = {50, 40, 30, 16};
    }
    if (monthFiled) {
        MarkReturnFiled(*data.db, 2026, 12, {"11/01/2027", "meena"});
        MarkReturnFiled(*data.db, 2026, 12, {"12/01/2027", "ravi"}); // the first mark stays
        QCOMPARE(ReturnFiled(*data.db, 2026, 12)->by, QString("meena"));
        QVERIFY(!ReturnFiled(*data.db, 2026, 11));
    }
    const int marked = marks(data);

    const QString refusal = CancelInvoice(*data.db, number, {QDate(2026, 12, 9), "09:00:00", reason, "meena"});
    QVERIFY2(refusal.startsWith(said), qPrintable(refusal));
    QCOMPARE(stock(data), before);
    QCOMPARE(marks(data), marked);
    // the month before the filed one can still be cancelled
    QCOMPARE(CancelInvoice(*data.db, "A00001", Mark), QString());
    before[3] = 20;
    QCOMPARE(stock(data), before);
}

// A cancellation whose mark cannot be written after the stock came back
// lands nothing: the stock stays off, the invoice unmarked; then it goes through once.
void InvoiceCancelTest::failingSaveLandsNothing()
{
    testing::TempData data;
    addStock(*data.db);
    StoreInvoice(*data.db, threeLines(1));
    int givenBack = 0;
    data.db->setStatementHook([&](const QString& sql) {
        if (sql.contains("COALESCE(\"Quantity\", 0)"))
            ++givenBack;
        if (sql.contains("INSERT INTO") && sql.contains("CancelledInvoice"))
            throw DataError("cancel the invoice", "Invoice", "disk full");
    });
    QVERIFY_THROWS_EXCEPTION(DataError, CancelInvoice(*data.db, "A00001", Mark));
    data.db->setStatementHook({});
    QCOMPARE(givenBack, 3);
    QCOMPARE(stock(data), AfterSale);
    QCOMPARE(marks(data), 0);
    QVERIFY(!LoadInvoice(*data.db, "A00001")->cancelled());

    QCOMPARE(CancelInvoice(*data.db, "A00001", Mark), QString());
    QCOMPARE(stock(data), Untouched);
}

// The cancelled last invoice keeps its number: the next one saved under its
// serial moves on to the next.
void InvoiceCancelTest::numberIsNotIssuedAgain()
{
    testing::TempData data;
    addStock(*data.db);
    StoreInvoice(*data.db, threeLines(1));
    StoreInvoice(*data.db, threeLines(2));
    QCOMPARE(CancelInvoice(*data.db, "A00002", Mark), QString());
    QCOMPARE(NextSerial(*data.db, DbFile::Invoice, "BuyerInvoice", "sno"), 3);
    QCOMPARE(StoreInvoice(*data.db, threeLines(2)).number, QString("A00003"));
    QVERIFY(LoadInvoice(*data.db, "A00002")->cancelled());
    QVERIFY(!LoadInvoice(*data.db, "A00003")->cancelled());
}

// A store laid out before cancellations (its invoices saved without a record
// of the stock they took) gains the tables and the new monthly view on
// opening; such an invoice gives each line back to the item of its name.
void InvoiceCancelTest::layoutBeforeCancellationsIsUpgraded()
try {
    testing::TempData data;
    addStock(*data.db);
    StoreInvoice(*data.db, threeLines(1));
    StoreInvoice(*data.db, threeLines(2));
    const bool server = testing::onTestServer();
    const QString before = server ? "UPDATE " + ServerVersionTable() + " SET version = 3"
                                  : QString("PRAGMA \"Invoice\".user_version = 3");
    for (const QString& sql : {QString("DROP VIEW \"Invoice\".\"MonthlyReport\""),
                               QString("CREATE VIEW \"Invoice\".\"MonthlyReport\" AS select 2026 AS \"Year\", 12 AS "
                                       "\"Month\", count(*) AS \"Invoices\" FROM \"Invoice\".\"BuyerInvoice\""),
                               QString("DROP TABLE \"Invoice\".\"CancelledInvoice\""),
                               QString("DROP TABLE \"Invoice\".\"InvoiceStock\""),
                               QString("DROP TABLE \"Invoice\".\"FiledReturn\""), before})
        data.db->run(sql, {}, "lay the store out as before", DbFile::Invoice);
    data.db.reset();

    auto db = data.openAnother();
    const QString version = server ? "SELECT max(version) FROM " + ServerVersionTable()
                                   : QString("PRAGMA \"Invoice\".user_version");
    QSqlQuery stored = db->run(version, {}, "read", DbFile::Invoice);
    QVERIFY(stored.next());
    QCOMPARE(stored.value(0).toInt(), SchemaVersion);
    QCOMPARE(stock(data), (QList<double>{44, 35, 16, 20}));

    QCOMPARE(CancelInvoice(*db, "A00002", Mark), QString());
    QCOMPARE(stock(data), AfterSale);
    QVERIFY(LoadInvoice(*db, "A00002")->cancelled());
    MarkReturnFiled(*db, 2026, 12, {"11/01/2027", "meena"});
    QVERIFY(CancelInvoice(*db, "A00001", Mark).contains("credit note"));
    // the monthly view now leaves the cancelled invoice's value out
    QSqlQuery monthly = db->run("SELECT \"Invoices\", \"Cancelled\", \"InvoiceTotal\" FROM Invoice.MonthlyReport", {}, "read",
                                DbFile::Invoice);
    QVERIFY(monthly.next());
    QCOMPARE(monthly.value(0).toInt(), 1);
    QCOMPARE(monthly.value(1).toInt(), 1);
    QCOMPARE(ToPaise(monthly.value(2).toDouble()), threeLines(1).totals.grand);
} catch (const DataError& error) {
    QFAIL(qPrintable(error.message()));
}

QTEST_GUILESS_MAIN(InvoiceCancelTest)
#include "test_invoicecancel.moc"
