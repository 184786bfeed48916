// The database files as start-up leaves them: every file, table, field (with
// its letter case and kind), placeholder and view on a fresh folder; data kept
// on the next start; damaged, locked and read-only files reported, not fatal.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "rawfile.h"
#include "support/formdriver.h"

#include <QFile>
#include <QProcess>
#include <QtTest>
#include <unistd.h>

using namespace zelva;
using testing::rowsInFile;
using testing::valueInFile;
using testing::writeFile;

Q_DECLARE_METATYPE(zelva::DbFile)

namespace {

struct ExpectedTable {
    DbFile file;
    QString name;
    QStringList columns; // "name TYPE", in order
    QString placeholderSerial; // field holding 0 in the one placeholder record; "" for none
};

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

QStringList itemColumns()
{
    return {"sno INTEGER", "itemcode TEXT", "ItemName TEXT", "ItemHsn TEXT", "Rate REAL", "Per TEXT", "Quantity REAL",
            "Remarks TEXT"};
}

// Written out here by hand, so a misspelt field in the program shows.
QList<ExpectedTable> expectedTables()
{
    QList<ExpectedTable> t;
    t << ExpectedTable{DbFile::Zlv, "Login", {"username TEXT", "Password TEXT"}, ""};
    t << ExpectedTable{DbFile::Master, "Company",
                       typed("TEXT", {"Name", "address", "Dist", "State", "Pin", "Gstin", "contact", "Email", "Website",
                                      "BankName", "BankAddress", "Accountno", "ifsc"})
                           + QStringList{"sno INTEGER", "CompanyId TEXT"},
                       ""};
    t << ExpectedTable{DbFile::Customer, "CustomerDetails",
                       QStringList{"sno INTEGER"}
                           + typed("TEXT", {"bid", "Name", "address", "Dist", "State", "Pin", "Gstin", "Phone", "Email",
                                            "Website", "Remarks"}),
                       "sno"};
    t << ExpectedTable{DbFile::ItemStock, "Stock", itemColumns(), "sno"};
    t << ExpectedTable{DbFile::OtherItemStock, "OtherItemStock", itemColumns(), "sno"};
    t << ExpectedTable{DbFile::Invoice, "BuyerInvoice",
                       QStringList{"sno INTEGER"}
                           + typed("TEXT", {"InvoiceNo", "InvoiceDate", "OrderNo", "OrderDate", "SuppliersRef",
                                            "DispatchedThrough", "SalerCompany", "SalerGstin", "bid", "BuyerName",
                                            "BuyerAddress", "BuyerDist", "buyerstate", "BuyerPin", "BuyerGstin",
                                            "BuyerNameD", "DeliveryAddress", "Dist", "State", "Pin", "Time"}),
                       "sno"};
    t << ExpectedTable{DbFile::Invoice, "GoodsInvoice",
                       QStringList{"sno INTEGER", "InvoiceNo TEXT"} + numbered("DescriptionOfGoods", 1, 16, "TEXT")
                           + numbered("Hsn", 1, 16, "TEXT") + numbered("Quantity", 1, 7, "REAL")
                           + QStringList{"TotalQuantity REAL"} + numbered("Per", 1, 15, "TEXT")
                           + numbered("Amount", 1, 16, "REAL")
                           + typed("REAL", {"TotalGoodsAmount", "totalamount", "TIgst", "TCgst", "TSgst", "Rate1",
                                            "Rate2", "Rate3"})
                           + numbered("rate", 4, 15, "REAL"),
                       ""};
    t << ExpectedTable{DbFile::PurchaseMaster, "Purchase",
                       QStringList{"PSno INTEGER"}
                           + typed("TEXT", {"PurchaseId", "PurchaseDate", "PurchaseOrder", "PurchaseInvoiceNo",
                                            "PurchaseInvoiceDate", "SupplierName", "SupGstinNo", "SupAddress"})
                           + QStringList{"sno INTEGER", "itemcode TEXT", "ItemName TEXT", "ItemHsn TEXT", "Rate REAL",
                                         "Per TEXT", "Quantity REAL", "Remarks TEXT"},
                       "PSno"};
    t << ExpectedTable{DbFile::IssueMaster, "IssueRegister",
                       QStringList{"ISno INTEGER"}
                           + typed("TEXT", {"IssueNo", "IssueDate", "IssueTime", "IssueSlipNo", "IssueTo", "IssuedBy"})
                           + QStringList{"sno INTEGER", "itemcode TEXT", "ItemName TEXT", "ItemHsn TEXT", "Rate REAL",
                                         "Per TEXT", "Quantity REAL", "Remarks TEXT", "issuedd INTEGER",
                                         "issuemm INTEGER", "issueyy INTEGER"},
                       "ISno"};
    return t;
}

QStringList columnsInFile(const QString& folder, DbFile file, const QString& table)
{
    QStringList columns;
    for (const QVariantList& row : rowsInFile(folder, file, "SELECT name, type FROM pragma_table_info(?)", {table}))
        columns << row[0].toString() + " " + row[1].toString();
    return columns;
}

QStringList objectsInFile(const QString& folder, DbFile file, const QString& type)
{
    QStringList names;
    for (const QVariantList& row : rowsInFile(folder, file, "SELECT name FROM sqlite_master WHERE type = ? "
                                                           "AND name NOT LIKE 'sqlite_%' ORDER BY name", {type}))
        names << row[0].toString();
    return names;
}

void corrupt(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray garbage;
    for (int i = 0; i < 8192; ++i)
        garbage.append(char((i * 37 + 11) % 251));
    f.write(garbage);
}

// Makes a file unwritable even for root (the immutable attribute); false when
// this file system or this user cannot do that.
bool makeImmutable(const QString& path, bool on)
{
    return QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0;
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT
private slots:
    void freshFolderGetsEveryFile()
    {
        testing::TempData data;
        for (DbFile file : AllDbFiles()) {
            QVERIFY2(QFile::exists(data.folder() + "/" + RelativePath(file)), qPrintable(RelativePath(file)));
            QCOMPARE(valueInFile(data.folder(), file, "PRAGMA user_version").toInt(), SchemaVersion);
            QCOMPARE(valueInFile(data.folder(), file, "PRAGMA journal_mode").toString(), QString("delete"));
        }
        QVERIFY(QFile::exists(data.folder() + "/ZLV.db"));
        QVERIFY(QFile::exists(data.folder() + "/Database/Invoice.db"));
    }

    void freshFolderGetsEveryTableAndField()
    {
        testing::TempData data;
        QMap<DbFile, QStringList> tablesPerFile;
        for (const ExpectedTable& t : expectedTables()) {
            tablesPerFile[t.file] << t.name;
            QCOMPARE(columnsInFile(data.folder(), t.file, t.name), t.columns);
            const QString sql =
                valueInFile(data.folder(), t.file, "SELECT sql FROM sqlite_master WHERE name = ?", {t.name}).toString();
            QVERIFY2(sql.endsWith("STRICT"), qPrintable(t.name));
        }
        for (DbFile file : AllDbFiles()) {
            QStringList expected = tablesPerFile.value(file);
            expected.sort();
            QCOMPARE(objectsInFile(data.folder(), file, "table"), expected);
        }
    }

    void freshFolderGetsThePlaceholders()
    {
        testing::TempData data;
        for (const ExpectedTable& t : expectedTables()) {
            const auto rows = rowsInFile(data.folder(), t.file, QString("SELECT * FROM \"%1\"").arg(t.name));
            if (t.placeholderSerial.isEmpty()) {
                QVERIFY2(rows.isEmpty(), qPrintable(t.name));
                continue;
            }
            QCOMPARE(rows.size(), 1);
            QCOMPARE(valueInFile(data.folder(), t.file, QString("SELECT \"%1\" FROM \"%2\"").arg(t.placeholderSerial, t.name)),
                     QVariant(qint64(0)));
        }
    }

    void freshFolderGetsTheViews()
    {
        testing::TempData data;
        QCOMPARE(objectsInFile(data.folder(), DbFile::Invoice, "view"), QStringList({"MonthlyReport", "PrintInvoice"}));
        QCOMPARE(objectsInFile(data.folder(), DbFile::PurchaseMaster, "view"), QStringList({"PurchaseRegister"}));
        for (DbFile file : {DbFile::Zlv, DbFile::Master, DbFile::Customer, DbFile::ItemStock, DbFile::OtherItemStock,
                            DbFile::IssueMaster})
            QVERIFY(objectsInFile(data.folder(), file, "view").isEmpty());
        // Each view reads cleanly on a connection that knows nothing of this program.
        for (const char* view : {"PrintInvoice", "MonthlyReport"})
            QVERIFY(rowsInFile(data.folder(), DbFile::Invoice, QString("SELECT * FROM %1").arg(view)).isEmpty());
        QVERIFY(rowsInFile(data.folder(), DbFile::PurchaseMaster, "SELECT * FROM PurchaseRegister").isEmpty());
    }

    void secondStartKeepsTheData()
    {
        QTemporaryDir dir;
        {
            auto db = Database::open(dir.path());
            RecordSource stock(*db);
            stock.bind(DbFile::ItemStock, "Stock");
            stock.addNew();
            stock.setValue("sno", 1);
            stock.setValue("itemcode", "G00001");
            stock.setValue("Rate", 12.5);
            stock.update();
            RecordSource company(*db);
            company.bind(DbFile::Master, "Company");
            company.addNew();
            company.setValue("Name", "Sree Traders");
            company.update();
        }
        auto db = Database::open(dir.path());
        const auto stock = rowsInFile(dir.path(), DbFile::ItemStock, "SELECT sno, itemcode, Rate FROM Stock ORDER BY rowid");
        QCOMPARE(stock.size(), 2); // the placeholder once, then the item
        QCOMPARE(stock[0][0], QVariant(qint64(0)));
        QCOMPARE(stock[1], (QVariantList{qint64(1), "G00001", 12.5}));
        QCOMPARE(valueInFile(dir.path(), DbFile::Master, "SELECT Name FROM Company"), QVariant("Sree Traders"));
        QCOMPARE(valueInFile(dir.path(), DbFile::Master, "SELECT count(*) FROM Company").toInt(), 1);
        QCOMPARE(valueInFile(dir.path(), DbFile::Customer, "SELECT count(*) FROM CustomerDetails").toInt(), 1);
    }

    // A file from elsewhere with some tables: the missing ones are added, the
    // present ones (whatever their letter case) are left exactly as they are.
    void startUpLeavesExistingTablesAlone()
    {
        QTemporaryDir dir;
        writeFile(dir.path(), DbFile::Invoice,
                  {"CREATE TABLE buyerinvoice (sno REAL, InvoiceNo TEXT, InvoiceDate TEXT)",
                   "INSERT INTO buyerinvoice VALUES (3, 'A00003', '01/01/2026')"});
        writeFile(dir.path(), DbFile::ItemStock, {"CREATE TABLE Stock (sno INTEGER, ItemName TEXT)"});
        auto db = Database::open(dir.path());
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "SELECT count(*) FROM BuyerInvoice").toInt(), 1);
        QCOMPARE(valueInFile(dir.path(), DbFile::ItemStock, "SELECT count(*) FROM Stock").toInt(), 0);
        QCOMPARE(objectsInFile(dir.path(), DbFile::Invoice, "table"), QStringList({"GoodsInvoice", "buyerinvoice"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "SELECT count(*) FROM GoodsInvoice").toInt(), 0);
        QVERIFY(objectsInFile(dir.path(), DbFile::ItemStock, "index").isEmpty());
        QCOMPARE(NextSerial(*db, DbFile::Invoice, "BuyerInvoice", "sno"), 4);
    }

    // A file written by a later version of the program is not touched.
    void laterVersionIsLeftAlone()
    {
        QTemporaryDir dir;
        writeFile(dir.path(), DbFile::IssueMaster, {"PRAGMA user_version = 99", "CREATE TABLE Other (x)"});
        auto db = Database::open(dir.path());
        QCOMPARE(objectsInFile(dir.path(), DbFile::IssueMaster, "table"), QStringList({"Other"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::IssueMaster, "PRAGMA user_version").toInt(), 99);
    }

    void damagedFileIsReportedAtOpen_data()
    {
        QTest::addColumn<DbFile>("file");
        QTest::newRow("login file") << DbFile::Zlv;
        QTest::newRow("invoice file") << DbFile::Invoice;
        QTest::newRow("issue file") << DbFile::IssueMaster;
    }
    void damagedFileIsReportedAtOpen()
    {
        QFETCH(DbFile, file);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.path() + "/Database"));
        corrupt(dir.path() + "/" + RelativePath(file));
        try {
            Database::open(dir.path());
            QFAIL("a damaged file was opened");
        } catch (const DataError& error) {
            QCOMPARE(error.file(), RelativePath(file));
            QVERIFY2(error.message().contains("damaged"), qPrintable(error.message()));
            QVERIFY(error.message().startsWith("Could not "));
        }
        // Nothing was written over the damaged file.
        QFile f(dir.path() + "/" + RelativePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.size(), 8192);
    }

    void unusableFolderIsReported()
    {
        QTemporaryDir dir;
        QFile blocker(dir.path() + "/notafolder");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY_THROWS_EXCEPTION(DataError, Database::open(dir.path() + "/notafolder"));
    }

    // Another program holds the file locked: the work fails with a message
    // after the busy wait, and succeeds once the lock is gone.
    void lockedFileGivesAnError()
    {
        testing::TempData data; // busy wait of 200 ms
        RecordSource stock(*data.db);
        stock.bind(DbFile::ItemStock, "Stock");
        stock.addNew();
        stock.setValue("sno", 1);
        {
            testing::RawFile other(data.folder(), DbFile::ItemStock);
            QVERIFY(other.exec({"BEGIN EXCLUSIVE"}));
            QElapsedTimer timer;
            timer.start();
            try {
                stock.update();
                QFAIL("wrote into a locked file");
            } catch (const DataError& error) {
                QCOMPARE(error.file(), QString("Database/ItemStock.db"));
                QVERIFY2(error.message().contains("locked"), qPrintable(error.message()));
                QVERIFY(error.operation().contains("Stock"));
            }
            QVERIFY(timer.elapsed() < 5000);
            QCOMPARE(stock.mode(), RecordSource::Mode::Adding);
            // Reading is refused too while the other program holds the lock.
            RecordSource reader(*data.db);
            QVERIFY_THROWS_EXCEPTION(DataError, (reader.bind(DbFile::ItemStock, "Stock"), reader.recordCount()));
            other.exec({"ROLLBACK"});
        }
        stock.update();
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT count(*) FROM Stock").toInt(), 2);
    }

    void lockedFileGivesAnErrorAtOpen()
    {
        QTemporaryDir dir;
        Database::open(dir.path(), 100).reset();
        testing::RawFile other(dir.path(), DbFile::Customer);
        QVERIFY(other.exec({"BEGIN EXCLUSIVE"}));
        try {
            Database::open(dir.path(), 100);
            QFAIL("opened a locked file");
        } catch (const DataError& error) {
            QCOMPARE(error.file(), QString("Database/Customer.db"));
            QVERIFY2(error.message().contains("locked"), qPrintable(error.message()));
        }
        other.exec({"ROLLBACK"});
    }

    // A file that cannot be written: reading works, saving says why it failed.
    void readOnlyFileGivesAnError()
    {
        QTemporaryDir dir;
        Database::open(dir.path()).reset();
        const QString path = dir.path() + "/Database/ItemStock.db";
        const bool immutable = makeImmutable(path, true);
        if (!immutable && geteuid() == 0)
            QSKIP("running as root, and the file cannot be made unwritable here");
        if (!immutable)
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const auto restore = qScopeGuard([&] {
            if (immutable)
                makeImmutable(path, false);
        });

        auto db = Database::open(dir.path());
        RecordSource stock(*db);
        stock.bind(DbFile::ItemStock, "Stock");
        QCOMPARE(stock.recordCount(), 1);
        stock.addNew();
        stock.setValue("sno", 1);
        try {
            stock.update();
            QFAIL("wrote into a read-only file");
        } catch (const DataError& error) {
            QCOMPARE(error.file(), QString("Database/ItemStock.db"));
            QVERIFY2(error.message().contains("read-only"), qPrintable(error.message()));
        }
        QCOMPARE(stock.mode(), RecordSource::Mode::Adding);
        // The other files still take records.
        RecordSource buyers(*db);
        buyers.bind(DbFile::Customer, "CustomerDetails");
        buyers.addNew();
        buyers.setValue("sno", 1);
        buyers.update();
        QCOMPARE(valueInFile(dir.path(), DbFile::Customer, "SELECT count(*) FROM CustomerDetails").toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "test_store.moc"
