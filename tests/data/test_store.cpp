// The database files as start-up leaves them: every file, table, field (with
// its letter case and kind), placeholder and view on a fresh folder; data kept
// on the next start; damaged and locked files reported, not fatal.
#include "data/serials.h"
#include "storetest.h"

#include <QFile>

using namespace zelva;
using namespace testing;

Q_DECLARE_METATYPE(zelva::DbFile)

namespace {

QStringList typed(const QString& type, const QStringList& names)
{
    QStringList out;
    for (const QString& n : names)
        out << n + " " + type;
    return out;
}

QStringList numbered(const QString& stem, int first, int last, const QString& type)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString("%1%2 %3").arg(stem).arg(i).arg(type);
    return out;
}

const QStringList ItemColumns{"sno INTEGER", "itemcode TEXT", "ItemName TEXT", "ItemHsn TEXT",
                              "Rate REAL", "Per TEXT", "Quantity REAL", "Remarks TEXT"};

QStringList namesInFile(const QString& folder, DbFile file, const QString& sql, const QString& value)
{
    QStringList names;
    for (const QVariantList& row : rowsInFile(folder, file, sql, {value}))
        names << row.first().toString();
    return names;
}

QStringList objectsInFile(const QString& folder, DbFile file, const QString& type)
{
    const QString sql = "SELECT name FROM sqlite_master WHERE type = ? AND name NOT LIKE 'sqlite_%' ORDER BY name";
    return namesInFile(folder, file, sql, type);
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT
private slots:
    void freshFolderGetsEveryFile_data()
    {
        QTest::addColumn<DbFile>("file");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("tables");
        QTest::addColumn<QStringList>("views");
        const auto row = [](DbFile file, const char* path, const QStringList& tables, const QStringList& views = {}) {
            QTest::newRow(path) << file << QString(path) << tables << views;
        };
        row(DbFile::Zlv, "ZLV.db", {"Login"});
        row(DbFile::Master, "Database/Master.db", {"Company"});
        row(DbFile::Customer, "Database/Customer.db", {"CustomerDetails"});
        row(DbFile::Invoice, "Database/Invoice.db",
            {"BuyerInvoice", "CancelledInvoice", "FiledReturn", "GoodsInvoice", "InvoiceStock"},
            {"MonthlyReport", "PrintInvoice"});
        row(DbFile::ItemStock, "Database/ItemStock.db", {"Stock"});
        row(DbFile::OtherItemStock, "Database/OtherItemStock.db", {"OtherItemStock"});
        row(DbFile::PurchaseMaster, "Database/PurchaseMaster.db", {"Purchase"}, {"PurchaseRegister"});
        row(DbFile::IssueMaster, "Database/IssueMaster.db", {"IssueRegister"});
    }
    void freshFolderGetsEveryFile()
    {
        QFETCH(DbFile, file);
        QFETCH(QString, path);
        QFETCH(QStringList, tables);
        QFETCH(QStringList, views);
        TempData data;
        QVERIFY(QFile::exists(data.folder() + "/" + path));
        QCOMPARE(valueInFile(data.folder(), file, "PRAGMA user_version").toInt(), SchemaVersion);
        QCOMPARE(valueInFile(data.folder(), file, "PRAGMA journal_mode").toString(), QString("delete"));
        QCOMPARE(objectsInFile(data.folder(), file, "table"), tables);
        QCOMPARE(objectsInFile(data.folder(), file, "view"), views);
        // Each view reads cleanly on a connection that knows nothing of this program.
        for (const QString& view : views)
            QVERIFY(rowsInFile(data.folder(), file, "SELECT * FROM " + view).isEmpty());
    }

    // Written out here by hand, so a misspelt field in the program shows.
    void freshFolderGetsEveryTable_data()
    {
        QTest::addColumn<DbFile>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("serial");     // "" when New never scans it
        QTest::addColumn<bool>("placeholder"); // one record with serial 0
        const auto row = [](DbFile file, const char* table, const QStringList& columns, const char* serial,
                            bool placeholder) {
            QTest::newRow(table) << file << QString(table) << columns << QString(serial) << placeholder;
        };
        row(DbFile::Zlv, "Login", {"username TEXT", "Password TEXT"}, "", false);
        row(DbFile::Master, "Company",
            typed("TEXT", {"Name", "address", "Dist", "State", "Pin", "Gstin", "contact", "Email", "Website",
                           "BankName", "BankAddress", "Accountno", "ifsc"})
                + QStringList{"sno INTEGER", "CompanyId TEXT"},
            "sno", false);
        row(DbFile::Customer, "CustomerDetails",
            QStringList{"sno INTEGER"}
                + typed("TEXT", {"bid", "Name", "address", "Dist", "State", "Pin", "Gstin", "Phone", "Email", "Website",
                                 "Remarks"}),
            "sno", true);
        row(DbFile::ItemStock, "Stock", ItemColumns, "sno", true);
        row(DbFile::OtherItemStock, "OtherItemStock", ItemColumns, "sno", true);
        row(DbFile::Invoice, "BuyerInvoice",
            QStringList{"sno INTEGER"}
                + typed("TEXT", {"InvoiceNo", "InvoiceDate", "OrderNo", "OrderDate", "SuppliersRef",
                                 "DispatchedThrough", "SalerCompany", "SalerGstin", "bid", "BuyerName", "BuyerAddress",
                                 "BuyerDist", "buyerstate", "BuyerPin", "BuyerGstin", "BuyerNameD", "DeliveryAddress",
                                 "Dist", "State", "Pin", "Time"}),
            "sno", true);
        row(DbFile::Invoice, "GoodsInvoice",
            QStringList{"sno INTEGER", "InvoiceNo TEXT"} + numbered("DescriptionOfGoods", 1, 16, "TEXT")
                + numbered("Hsn", 1, 16, "TEXT") + numbered("Quantity", 1, 7, "REAL")
                + QStringList{"TotalQuantity REAL"} + numbered("Per", 1, 15, "TEXT") + numbered("Amount", 1, 16, "REAL")
                + typed("REAL", {"TotalGoodsAmount", "totalamount", "TIgst", "TCgst", "TSgst"})
                + numbered("Rate", 1, 3, "REAL")
                + numbered("rate", 4, 15, "REAL"),
            "", false);
        row(DbFile::PurchaseMaster, "Purchase",
            QStringList{"PSno INTEGER"}
                + typed("TEXT", {"PurchaseId", "PurchaseDate", "PurchaseOrder", "PurchaseInvoiceNo",
                                 "PurchaseInvoiceDate", "SupplierName", "SupGstinNo", "SupAddress"})
                + ItemColumns,
            "PSno", true);
        row(DbFile::IssueMaster, "IssueRegister",
            QStringList{"ISno INTEGER"}
                + typed("TEXT", {"IssueNo", "IssueDate", "IssueTime", "IssueSlipNo", "IssueTo", "IssuedBy"})
                + ItemColumns + typed("INTEGER", {"issuedd", "issuemm", "issueyy"}),
            "ISno", true);
    }
    void freshFolderGetsEveryTable()
    {
        QFETCH(DbFile, file);
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        QFETCH(QString, serial);
        QFETCH(bool, placeholder);
        TempData data;
        const QString folder = data.folder();
        QCOMPARE(namesInFile(folder, file, "SELECT name || ' ' || type FROM pragma_table_info(?)", table), columns);
        QVERIFY(valueInFile(folder, file, "SELECT sql FROM sqlite_master WHERE name = ?", {table})
                    .toString()
                    .endsWith("STRICT"));
        const QString serialOrRowid = serial.isEmpty() ? "rowid" : serial;
        const auto rows = rowsInFile(folder, file, QString("SELECT \"%1\" FROM \"%2\"").arg(serialOrRowid, table));
        QCOMPARE(rows, placeholder ? QList<QVariantList>{{qint64(0)}} : QList<QVariantList>{});
        if (!serial.isEmpty())
            QCOMPARE(NextSerial(*data.db, file, table, serial), 1);
    }

    void secondStartKeepsTheData()
    {
        QTemporaryDir dir;
        {
            auto db = Database::open(dir.path());
            RecordSource rs(*db);
            rs.bind(DbFile::ItemStock, "Stock");
            addRecord(rs, {{"sno", 1}, {"itemcode", "G00001"}, {"Rate", 12.5}});
            rs.bind(DbFile::Master, "Company");
            addRecord(rs, {{"Name", "Sree Traders"}});
        }
        auto db = Database::open(dir.path());
        QCOMPARE(valueInFile(dir.path(), DbFile::ItemStock, "SELECT group_concat(sno) FROM Stock"), QVariant("0,1"));
        QCOMPARE(rowsInFile(dir.path(), DbFile::ItemStock, "SELECT itemcode, Rate FROM Stock WHERE sno = 1"),
                 (QList<QVariantList>{{"G00001", 12.5}}));
        QCOMPARE(valueInFile(dir.path(), DbFile::Master, "SELECT group_concat(Name) FROM Company"),
                 QVariant("Sree Traders"));
        QCOMPARE(countIn(dir.path(), DbFile::Customer, "CustomerDetails"), 1);
    }

    // Files from elsewhere: missing tables are added, present ones (whatever
    // their letter case) are left exactly as they are, and a file of a later
    // version of the program is not touched at all.
    void startUpLeavesExistingTablesAlone()
    {
        QTemporaryDir dir;
        writeFile(dir.path(), DbFile::Invoice,
                  {"CREATE TABLE buyerinvoice (sno REAL, InvoiceNo TEXT, InvoiceDate TEXT)",
                   "INSERT INTO buyerinvoice VALUES (3, 'A00003', '01/01/2026')"});
        writeFile(dir.path(), DbFile::ItemStock, {"CREATE TABLE Stock (sno INTEGER, ItemName TEXT)"});
        writeFile(dir.path(), DbFile::IssueMaster, {"PRAGMA user_version = 99", "CREATE TABLE Other (x)"});
        auto db = openMadeFolder(dir.path());
        QCOMPARE(countIn(dir.path(), DbFile::Invoice, "BuyerInvoice"), 1);
        QCOMPARE(countIn(dir.path(), DbFile::ItemStock, "Stock"), 0);
        QCOMPARE(objectsInFile(dir.path(), DbFile::Invoice, "table"), QStringList({"CancelledInvoice", "FiledReturn", "GoodsInvoice", "InvoiceStock", "buyerinvoice"}));
        QCOMPARE(countIn(dir.path(), DbFile::Invoice, "GoodsInvoice"), 0);
        QCOMPARE(objectsInFile(dir.path(), DbFile::ItemStock, "index"), QStringList{"uq_Stock_sno"}); // no itemcode there
        QCOMPARE(NextSerial(*db, DbFile::Invoice, "BuyerInvoice", "sno"), 4);
        QCOMPARE(objectsInFile(dir.path(), DbFile::IssueMaster, "table"), QStringList({"Other"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::IssueMaster, "PRAGMA user_version").toInt(), 99);
    }

    // A file of version 1 gets the invoice-date index once; other files and
    // their existing tables are left alone.
    void versionOneFileGetsTheDateIndex()
    {
        QTemporaryDir dir;
        writeFile(dir.path(), DbFile::Invoice,
                  {"PRAGMA user_version = 1", "CREATE TABLE BuyerInvoice (sno INTEGER, InvoiceNo TEXT, InvoiceDate TEXT)",
                   "INSERT INTO BuyerInvoice VALUES (3, 'A00003', '5/1/2026')"});
        OpenOptions agreed;
        agreed.createMissingInUse = true;
        Database::open(dir.path(), agreed).reset();
        QCOMPARE(objectsInFile(dir.path(), DbFile::Invoice, "index"),
                 QStringList({"idx_BuyerInvoice_datekey", "uq_BuyerInvoice_InvoiceNo", "uq_BuyerInvoice_sno",
                              "uq_CancelledInvoice_InvoiceNo", "uq_CancelledInvoice_sno", "uq_FiledReturn_ReturnMonth",
                              "uq_GoodsInvoice_InvoiceNo", "uq_GoodsInvoice_sno"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "PRAGMA user_version").toInt(), SchemaVersion);
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "SELECT " + DateKeySql("InvoiceDate") + " FROM BuyerInvoice")
                     .toInt(),
                 20260105);
    }

    // A file that is no database at all is named and left as it is; a data
    // folder that is a file cannot be opened.
    void damagedFileOrFolderIsReportedAtOpen()
    {
        for (DbFile file : {DbFile::Zlv, DbFile::Invoice, DbFile::IssueMaster}) {
            QTemporaryDir dir;
            Database::open(dir.path()).reset();
            QFile damaged(dir.path() + "/" + RelativePath(file));
            QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
            for (int i = 0; i < 8192; ++i)
                damaged.putChar(char((i * 37 + 11) % 251));
            damaged.close();
            std::unique_ptr<Database> db;
            QCOMPARE(errorOf([&] { db = Database::open(dir.path()); }), "no error");
            QCOMPARE(db->findings().size(), size_t(1));
            QVERIFY2(db->findings().front().text.contains(RelativePath(file) + " is damaged"),
                     qPrintable(db->findings().front().text));
            QCOMPARE(damaged.size(), 8192); // nothing written over it
        }
        QTemporaryDir dir;
        QFile blocker(dir.path() + "/notafolder");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QVERIFY_THROWS_EXCEPTION(DataError, Database::open(blocker.fileName()));
    }

    // Another program holds the file locked: opening, reading and writing fail
    // with a message after the busy wait, and succeed once the lock is gone.
    void lockedFileGivesAnError()
    {
        StockData data; // busy wait of 200 ms
        RecordSource& stock = data.rs;
        stock.addNew();
        stock.setValue("sno", 1);
        {
            RawFile other(data.folder(), DbFile::ItemStock);
            QCOMPARE(other.exec({"BEGIN EXCLUSIVE"}), QString());
            const QString message = errorOf([&] { stock.update(); });
            QVERIFY2(message.contains("Stock (Database/ItemStock.db): the file is in use"), qPrintable(message));
            QCOMPARE(stock.mode(), RecordSource::Mode::Adding);
            RecordSource reader(*data.db);
            QVERIFY_THROWS_EXCEPTION(DataError, (reader.bind(DbFile::ItemStock, "Stock"), reader.recordCount()));
            const QString atOpen = errorOf([&] { Database::open(data.folder(), 100); });
            QVERIFY2(atOpen.contains("(Database/ItemStock.db): the file is in use"), qPrintable(atOpen));
        }
        stock.update();
        QCOMPARE(countIn(data.folder(), DbFile::ItemStock, "Stock"), 2);
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "test_store.moc"
