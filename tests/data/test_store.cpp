// The database files as start-up leaves them: every file, its tables (strict,
// so a value of the wrong kind is refused) and views on a fresh folder; older
// files brought up to date without a record lost; locked files reported.
#include "data/serials.h"
#include "storetest.h"

#include <QFile>

using namespace zelva;
using namespace testing;

namespace {

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
    // The eight files at their documented places, each of this version in
    // rollback-journal mode; every declared table strict, and every view
    // readable on a connection that knows nothing of this program.
    void freshFolderGetsEveryFile()
    {
        TempData data;
        QStringList paths;
        for (DbFile file : AllDbFiles()) {
            paths << RelativePath(file);
            QVERIFY(QFile::exists(data.folder() + "/" + RelativePath(file)));
            QCOMPARE(valueInFile(data.folder(), file, "PRAGMA user_version").toInt(), SchemaVersion);
            QCOMPARE(valueInFile(data.folder(), file, "PRAGMA journal_mode").toString(), QString("delete"));
        }
        QCOMPARE(paths, QStringList({"ZLV.db", "Database/Master.db", "Database/Customer.db", "Database/Invoice.db",
                                     "Database/ItemStock.db", "Database/OtherItemStock.db",
                                     "Database/PurchaseMaster.db", "Database/IssueMaster.db"}));
        for (const TableDef& table : AllTables())
            QVERIFY2(valueInFile(data.folder(), table.file, "SELECT sql FROM sqlite_master WHERE name = ?", {table.name})
                         .toString().endsWith("STRICT"), qPrintable(table.name));
        for (const ViewDef& view : FileViews())
            QVERIFY(rowsInFile(data.folder(), view.file, "SELECT * FROM " + view.name).isEmpty());
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
        QCOMPARE(objectsInFile(dir.path(), DbFile::Invoice, "table"),
                 QStringList({"CancelledInvoice", "CancelledReceipt", "FiledReturn", "GoodsInvoice", "InvoiceIrn",
                              "InvoiceLineTax", "InvoiceStock", "InvoiceTransport", "Receipt", "ReceiptAllotment", "SaleNote",
                              "SaleNoteIrn", "SaleNoteLine", "buyerinvoice"}));
        QCOMPARE(countIn(dir.path(), DbFile::Invoice, "GoodsInvoice"), 0);
        QCOMPARE(objectsInFile(dir.path(), DbFile::ItemStock, "index"), // no itemcode in the Stock made there
                 QStringList({"uq_OpeningStock_itemcode", "uq_OpeningStock_sno", "uq_StockBarcode_Barcode",
                              "uq_StockBarcode_sno", "uq_StockGstRate_itemcode",
                              "uq_StockGstRate_sno", "uq_StockReorderLevel_itemcode", "uq_StockReorderLevel_sno",
                              "uq_Stock_sno"}));
        QCOMPARE(NextSerial(*db, DbFile::Invoice, "BuyerInvoice", "sno"), 4);
        QCOMPARE(objectsInFile(dir.path(), DbFile::IssueMaster, "table"), QStringList({"Other"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::IssueMaster, "PRAGMA user_version").toInt(), 99);
        QFile blocker(dir.path() + "/notafolder"); // a data folder that is a file cannot be opened
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QVERIFY_THROWS_EXCEPTION(DataError, Database::open(blocker.fileName()));
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
                 QStringList({"idx_BuyerInvoice_datekey", "idx_InvoiceLineTax_sno", "idx_InvoiceStock_sno",
                              "idx_SaleNoteLine_sno",
                              "idx_SaleNote_invoice", "uq_BuyerInvoice_InvoiceNo", "uq_BuyerInvoice_sno",
                              "uq_CancelledInvoice_InvoiceNo", "uq_CancelledInvoice_sno",
                              "uq_CancelledReceipt_ReceiptNo", "uq_CancelledReceipt_sno", "uq_FiledReturn_ReturnMonth",
                              "uq_GoodsInvoice_InvoiceNo", "uq_GoodsInvoice_sno", "uq_InvoiceIrn_InvoiceNo",
                              "uq_InvoiceIrn_sno", "uq_InvoiceTransport_InvoiceNo", "uq_InvoiceTransport_sno",
                              "uq_Receipt_ReceiptNo", "uq_Receipt_sno", "uq_SaleNoteIrn_NoteNo", "uq_SaleNoteIrn_sno",
                              "uq_SaleNote_NoteNo", "uq_SaleNote_sno"}));
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "PRAGMA user_version").toInt(), SchemaVersion);
        QCOMPARE(valueInFile(dir.path(), DbFile::Invoice, "SELECT " + DateKeySql("InvoiceDate") + " FROM BuyerInvoice")
                     .toInt(),
                 20260105);
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
            // The record and its audit entry are one piece of work, which cannot begin.
            QVERIFY2(message.contains("save the record in Stock") && message.contains("the file is in use"),
                     qPrintable(message));
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
