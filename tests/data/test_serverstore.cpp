// The data on a PostgreSQL server: the program's SQL as the server reads it,
// the server's address, and a layout that matches the data files field for
// field, reads dates alike and keeps every save whole.
#include "data/serials.h"
#include "data/serverdialect.h"
#include "data/serverstore.h"
#include "storetest.h"
#include "support/testserver.h"


using namespace zelva;
using namespace testing;

namespace {

// Each field of each table and view: "Name:kind", kind n(umber), i(nteger) or t(ext).
QStringList layoutOf(Database& db)
{
    QStringList layout;
    const auto kind = [](QString type) {
        type = type.toUpper();
        return type.contains("INT") ? "i" : (type.contains("REAL") || type.contains("DOUB")) ? "n" : "t";
    };
    for (const TableDef& table : AllTables())
        for (const auto& [name, type] : db.fieldTypes(table.file, table.name, "read"))
            layout << table.name + "." + name + ":" + kind(type);
    for (const ViewDef& view : FileViews())
        for (const auto& [name, type] : db.fieldTypes(view.file, view.name, "read"))
            layout << view.name + "." + name;
    return layout;
}

// An invoice's two records written straight, past the serial check, in one
// transaction: a header and its grid with goods, a tax, a charge and a rounding.
void writeSale(Database& db, int sno, const QString& date)
{
    Transaction transaction(db, "save the invoice");
    const QString number = RecordCode(CodeKind::Invoice, sno);
    db.run("INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, InvoiceDate, BuyerName, buyerstate, SalerCompany, "
           "SalerGstin) VALUES (?, ?, ?, 'Kochi Stores', 'Kerala', 'Zelva Traders', '33AAACH7409R1Z8')",
           {sno, number, date}, "save the invoice", DbFile::Invoice);
    db.run("INSERT INTO Invoice.GoodsInvoice (sno, InvoiceNo, DescriptionOfGoods1, Quantity1, Rate1, Amount1, "
           "DescriptionOfGoods8, rate8, Amount8, Amount9, DescriptionOfGoods10, Amount10, Amount16, TotalQuantity, "
           "TotalGoodsAmount, totalamount, TCgst, TSgst, TIgst) VALUES (?, ?, 'Laptop', 2, 1000, 2000, 'CGST @ 9%', "
           "9, 180, 180, 'Freight', 150, 0.5, 2, 2000, 2510.5, 180, 180, 0)",
           {sno, number}, "save the invoice", DbFile::Invoice);
    transaction.commit();
}

} // namespace

class ServerStoreTest : public QObject {
    Q_OBJECT
    QString url() { return TestServer::instance().freshDatabase(false); }

private slots:
    void translation_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("server");
        QTest::newRow("names keep their case, aliases too")
            << "SELECT sno AS Sno, ItemName, COUNT(*) AS CGST FROM \"ItemStock\".Stock AS s WHERE s.Quantity = 0"
            << "SELECT \"sno\" AS \"Sno\", \"ItemName\", COUNT(*) AS \"CGST\" FROM \"ItemStock\".\"Stock\" AS s "
               "WHERE s.\"Quantity\" = 0";
        QTest::newRow("a name in another case") << "select itemname from STOCK" << "select \"ItemName\" from STOCK";
        QTest::newRow("literals and quoted names stay")
            << "SELECT \"Name\" FROM Company WHERE Name = 'ItemName AS x' AND Dist = 'O''Dist'"
            << "SELECT \"Name\" FROM \"Company\" WHERE \"Name\" = 'ItemName AS x' AND \"Dist\" = 'O''Dist'";
        QTest::newRow("leading digits of a date")
            << "CAST(substr(ltrim(trim(b.InvoiceDate), '0123456789'), 2) AS INTEGER) * 100"
            << "zelva_int(substr(ltrim(trim(b.\"InvoiceDate\"), '0123456789'), 2)) * 100";
        QTest::newRow("other casts stay") << "CAST(? AS TEXT) AS Rate" << "CAST(? AS TEXT) AS \"Rate\"";
    }
    void translation()
    {
        QFETCH(QString, sql);
        QTEST(ServerSql(sql), "server");
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("parsed"); // host|port|database|user|options, or the refusal's start
        QTest::newRow("full") << "postgresql://billing@shop-server:5433/shop?sslmode=require"
                              << "shop-server|5433|shop|billing|sslmode=require;connect_timeout=10";
        QTest::newRow("local socket") << "postgres:///shop" << "|-1|shop||connect_timeout=10";
        QTest::newRow("not a server") << "/home/shop/data" << "\"/home/shop/data\" is not a PostgreSQL address";
    }
    void addresses()
    {
        QFETCH(QString, url);
        QFETCH(QString, parsed);
        QString error;
        const std::optional<ServerAddress> address = ParseServerUrl(url, &error);
        const QString seen = address ? QStringList{address->host, QString::number(address->port), address->database,
                                                   address->user, address->options}
                                           .join('|')
                                     : error;
        QVERIFY2(seen.startsWith(parsed), qPrintable(seen));
    }

    // Same fields, kinds, views and placeholder records as a fresh data folder.
    void layoutMatchesTheFiles()
    {
        TempData files;
        const auto server = Database::openServer(url(), files.folder());
        QCOMPARE(layoutOf(*server), layoutOf(*files.db));
        const QString placeholders = "SELECT (SELECT count(*) FROM CustomerDetails), (SELECT count(*) FROM Stock), "
                                     "(SELECT count(*) FROM BuyerInvoice), (SELECT count(*) FROM Purchase), "
                                     "(SELECT count(*) FROM IssueRegister), (SELECT count(*) FROM Company)";
        QCOMPARE(rowsOf(*server, placeholders), rowsOf(*files.db, placeholders));
        QCOMPARE(rowsOf(*server, placeholders).value(0), (QVariantList{1, 1, 1, 1, 1, 0}));
    }

    // Opened again, or by a second counter, nothing is made twice; the one
    // version of the whole database is the program's.
    void layoutIsMadeOnce()
    {
        const QString shop = url();
        TempData local;
        auto first = Database::openServer(shop, local.folder());
        auto second = Database::openServer(shop, local.folder());
        QCOMPARE(rowsOf(*second, "SELECT count(*) FROM Stock"), (QList<QVariantList>{{1}}));
        QCOMPARE(rowsOf(*second, "SELECT version FROM " + ServerVersionTable()),
                 (QList<QVariantList>{{SchemaVersion}}));
    }

    // The day keys, months and years the registers select by come out alike
    // from every date text, however typed; and so do the views over them.
    void datesAndViewsReadAlike()
    {
        TempData files;
        const auto server = Database::openServer(url(), files.folder());
        for (Database* db : {files.db.get(), server.get()}) {
            db->run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES ('Zelva Traders', "
                    "'Tamil Nadu', '33AAACH7409R1Z8', 1, 'C0001')",
                    {}, "add the company", DbFile::Master);
            int sno = 1;
            for (const char* date : {"05/01/2026", "5-1-2026", " 31/12/2025 ", "7/11", "abc", "", "+3/04/2026"})
                writeSale(*db, sno++, date);
        }
        const QString keys = "SELECT InvoiceDate, " + DateKeySql("InvoiceDate") + ", " + DateMonthSql("InvoiceDate")
                             + " FROM BuyerInvoice ORDER BY rowid";
        QCOMPARE(rowsOf(*server, keys), rowsOf(*files.db, keys));
        QCOMPARE(rowsOf(*server, keys).value(1).value(1).toLongLong(), 20260105LL);
        for (const char* view : {"SELECT * FROM MonthlyReport", "SELECT * FROM PrintInvoice",
                                 "SELECT * FROM PurchaseRegister"})
            QCOMPARE(rowsOf(*server, view), rowsOf(*files.db, view));
    }

    // A repeated invoice number written past the serial check is refused by
    // the unique index, and nothing of that piece of work lands.
    void uniqueIndexRefusesAndNothingLands()
    {
        TempData local;
        const auto db = Database::openServer(url(), local.folder());
        writeSale(*db, 7, "05/01/2026");
        const QString error = errorOf([&] { writeSale(*db, 7, "05/01/2026"); });
        QVERIFY2(error.contains("UNIQUE"), qPrintable(error));
        QCOMPARE(rowsOf(*db, "SELECT count(*) FROM BuyerInvoice"), (QList<QVariantList>{{2}}));
        QCOMPARE(rowsOf(*db, "SELECT count(*) FROM GoodsInvoice"), (QList<QVariantList>{{1}}));
    }

    // On the server a failed statement spoils its whole transaction: a
    // commit after it says so instead of quietly rolling back.
    void commitAfterAFailureIsRefused()
    {
        TempData local;
        const auto db = Database::openServer(url(), local.folder());
        const QString error = errorOf([&] {
            Transaction work(*db, "save the item");
            db->run("INSERT INTO Stock (sno, itemcode) VALUES (5, 'G00005')", {}, "add", DbFile::ItemStock);
            errorOf([&] { db->run("SELECT nosuchfield FROM Stock", {}, "read", DbFile::ItemStock); });
            work.commit();
        });
        QVERIFY2(error.startsWith("Could not save the item"), qPrintable(error));
        QCOMPARE(rowsOf(*db, "SELECT count(*) FROM Stock"), (QList<QVariantList>{{1}}));
    }

    // A counter left idle while the server restarted: its next read and its
    // next save work on a new connection, without a word; a save cut off
    // while under way is still said.
    void idleCounterReconnectsOnce()
    {
        TempData local;
        const auto db = Database::openServer(url(), local.folder());
        const auto restart = [] {
            TestServer::instance().stopNow();
            TestServer::instance().start();
        };
        restart();
        QCOMPARE(errorOf([&] { QCOMPARE(rowsOf(*db, "SELECT count(*) FROM Stock"), (QList<QVariantList>{{1}})); }),
                 "no error");
        restart();
        QCOMPARE(errorOf([&] {
                     Transaction work(*db, "save the item");
                     db->run("INSERT INTO Stock (sno, itemcode) VALUES (5, 'G00005')", {}, "add", DbFile::ItemStock);
                     work.commit();
                 }),
                 "no error");
        const QString cut = errorOf([&] {
            Transaction work(*db, "save the item");
            db->run("INSERT INTO Stock (sno, itemcode) VALUES (6, 'G00006')", {}, "add", DbFile::ItemStock);
            restart();
            db->run("SELECT count(*) FROM Stock", {}, "read", DbFile::ItemStock);
            work.commit();
        });
        QVERIFY2(cut.contains("the connection to the database server was lost"), qPrintable(cut));
        QCOMPARE(rowsOf(*db, "SELECT itemcode FROM Stock WHERE sno > 0"), (QList<QVariantList>{{"G00005"}}));
    }

    void unreachableServerIsSaid()
    {
        const QString error = errorOf([] { Database::openServer("postgresql://nobody@127.0.0.1:1/shop", "."); });
        QVERIFY2(error.startsWith("Could not connect to the database server (postgresql://nobody@127.0.0.1:1/shop)"),
                 qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(ServerStoreTest)
#include "test_serverstore.moc"
