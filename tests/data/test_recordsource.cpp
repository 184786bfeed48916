// The record source as the forms use it: walk a table in order, read fields by
// name, add and edit through a pending record, refuse values a column cannot
// take without writing anything, and run several writes as one piece of work.
#include "data/database.h"
#include "data/guard.h"
#include "data/recordsource.h"
#include "rawfile.h"
#include "support/formdriver.h"

#include <QtTest>

using namespace zelva;
using testing::rowsInFile;
using testing::valueInFile;

namespace {

void addItem(RecordSource& rs, int sno, const QString& name, const QVariant& quantity = 0)
{
    rs.addNew();
    rs.setValue("sno", sno);
    rs.setValue("itemcode", QString("G%1").arg(sno, 5, 10, QChar('0')));
    rs.setValue("ItemName", name);
    rs.setValue("Quantity", quantity);
    rs.update();
}

QStringList walk(RecordSource& rs, const QString& field)
{
    QStringList seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        seen << rs.text(field);
    return seen;
}

int stockRows(const QString& folder)
{
    return valueInFile(folder, DbFile::ItemStock, "SELECT count(*) FROM Stock").toInt();
}

} // namespace

class RecordSourceTest : public QObject {
    Q_OBJECT
private slots:
    void walksInTableOrder()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        addItem(rs, 1, "Pen");
        addItem(rs, 3, "Ink");
        addItem(rs, 2, "Pad");
        rs.bind(DbFile::ItemStock, "Stock");
        QCOMPARE(rs.text("sno"), QString("0")); // first record current after binding
        QCOMPARE(walk(rs, "ItemName"), QStringList({"", "Pen", "Ink", "Pad"}));
        QCOMPARE(walk(rs, "SNO"), QStringList({"0", "1", "3", "2"})); // names ignore letter case
        QVERIFY(rs.eof());
        QCOMPARE(rs.key(), -1);
        rs.moveNext(); // past the end stays at the end
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.value("ItemName"));
    }

    void keysLeadBackToTheirRecords()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        addItem(rs, 1, "Pen");
        addItem(rs, 2, "Ink");
        QList<qint64> keys;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            keys << rs.key();
        rs.bind(DbFile::ItemStock, "Stock");
        QVERIFY(rs.moveToKey(keys[2]));
        QCOMPARE(rs.text("ItemName"), QString("Ink"));
        QVERIFY(!rs.moveToKey(9999));
        QVERIFY(rs.eof());
    }

    void textShowsNumbersAsTheBoxesDo()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.addNew();
        rs.setValue("sno", "1");
        rs.setValue("Rate", "12.50");
        rs.setValue("Quantity", 0.5);
        rs.setValue("ItemHsn", 8471); // a number into a text field is kept as its text
        rs.setValue("Per", 2.5);
        rs.setValue("Remarks", QString()); // an empty box
        rs.update();
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT count(*) FROM Stock WHERE Remarks = ''"), QVariant(1));
        rs.bind(DbFile::ItemStock, "Stock");
        rs.moveNext();
        QCOMPARE(rs.text("sno"), QString("1"));
        QCOMPARE(rs.text("Rate"), QString("12.5"));
        QCOMPARE(rs.text("Quantity"), QString(".5"));
        QCOMPARE(rs.text("ItemHsn"), QString("8471"));
        QCOMPARE(rs.text("Per"), QString("2.5"));
        QCOMPARE(rs.text("Remarks"), QString());
        QCOMPARE(rs.text("itemcode"), QString()); // never assigned
        QCOMPARE(rs.value("Rate"), QVariant(12.5));
        QCOMPARE(rs.value("sno"), QVariant(qint64(1)));
    }

    void newRecordIsPendingUntilUpdate()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.addNew();
        QCOMPARE(rs.mode(), RecordSource::Mode::Adding);
        QVERIFY(rs.value("ItemName").isNull()); // a new record starts empty
        rs.setValue("ItemName", "Pen");
        QCOMPARE(rs.text("itemname"), QString("Pen"));
        QCOMPARE(stockRows(data.folder()), 1);
        rs.setValue("sno", 1);
        rs.update();
        QCOMPARE(rs.mode(), RecordSource::Mode::None);
        QCOMPARE(stockRows(data.folder()), 2);
        // The record current before addNew stays current; the new one is last.
        QCOMPARE(rs.text("sno"), QString("0"));
        QCOMPARE(rs.recordCount(), 2);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.update()); // nothing pending any more
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setValue("ItemName", "x"));
    }

    void cancelDropsThePendingRecord()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.addNew();
        rs.setValue("sno", 1);
        rs.cancelUpdate();
        QCOMPARE(rs.mode(), RecordSource::Mode::None);
        rs.requery();
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.nextSerial(), 1); // the serial is not used up
        QCOMPARE(stockRows(data.folder()), 1);
    }

    void editRewritesTheEditedRecord()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        addItem(rs, 1, "Pen", 10);
        addItem(rs, 2, "Ink", 5);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.moveNext();
        rs.moveNext();
        rs.edit();
        QCOMPARE(rs.text("ItemName"), QString("Ink")); // the stored value shows until assigned
        rs.setValue("Quantity", "4");
        QCOMPARE(rs.text("Quantity"), QString("4"));
        rs.update();
        QCOMPARE(rs.text("Quantity"), QString("4"));
        const auto rows = rowsInFile(data.folder(), DbFile::ItemStock, "SELECT ItemName, Quantity FROM Stock ORDER BY rowid");
        QCOMPARE(rows[1], (QVariantList{"Pen", 10.0}));
        QCOMPARE(rows[2], (QVariantList{"Ink", 4.0}));
    }

    void movingDropsAPendingEdit()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        addItem(rs, 1, "Pen", 10);
        rs.moveNext();
        rs.edit();
        rs.setValue("Quantity", 99);
        rs.moveFirst(); // walking the table ends the edit unsaved
        QCOMPARE(rs.mode(), RecordSource::Mode::None);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.update());
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE sno = 1"), QVariant(10.0));
        QCOMPARE(rs.text("sno"), QString("0"));
    }

    void anotherFormsRecordsShowAfterRequery()
    {
        testing::TempData data;
        RecordSource mine(*data.db);
        RecordSource theirs(*data.db);
        mine.bind(DbFile::Customer, "CustomerDetails");
        QCOMPARE(mine.recordCount(), 1);
        theirs.bind(DbFile::Customer, "CustomerDetails");
        theirs.addNew();
        theirs.setValue("sno", 1);
        theirs.setValue("Name", "Ravi Stores");
        theirs.update();
        QCOMPARE(mine.recordCount(), 1);
        mine.requery();
        QCOMPARE(walk(mine, "Name"), QStringList({"", "Ravi Stores"}));
    }

    // A value the column cannot take is refused before anything is written;
    // the record stays pending so the operator can correct it and save again.
    void refusedValueChangesNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters in a rate") << "Rate" << QVariant("12a")
                                           << "Could not save field Rate (Database/ItemStock.db): \"12a\" is not a number";
        QTest::newRow("empty quantity") << "Quantity" << QVariant("")
                                        << "Could not save field Quantity (Database/ItemStock.db): an empty value is not a number";
        QTest::newRow("blank quantity") << "quantity" << QVariant("  ")
                                        << "Could not save field Quantity (Database/ItemStock.db): an empty value is not a number";
        QTest::newRow("thousands separator") << "Rate" << QVariant("1,000")
                                             << "Could not save field Rate (Database/ItemStock.db): \"1,000\" is not a number";
        QTest::newRow("infinity") << "Rate" << QVariant("inf")
                                  << "Could not save field Rate (Database/ItemStock.db): \"inf\" is not a number";
        QTest::newRow("fraction for a serial") << "sno" << QVariant("2.6")
                                               << "Could not save field sno (Database/ItemStock.db): 2.6 is not a whole number";
        QTest::newRow("fraction number for a serial") << "sno" << QVariant(1.5)
                                                      << "Could not save field sno (Database/ItemStock.db): 1.5 is not a whole number";
    }
    void refusedValueChangesNothing()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QString, message);
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        addItem(rs, 1, "Pen", 10);
        const auto before = rowsInFile(data.folder(), DbFile::ItemStock, "SELECT * FROM Stock ORDER BY rowid");

        // On an edit.
        rs.moveNext();
        rs.edit();
        rs.setValue("ItemName", "Pencil");
        rs.setValue(field, value);
        try {
            rs.update();
            QFAIL("the value was taken");
        } catch (const DataError& error) {
            QCOMPARE(error.message(), message);
        }
        QCOMPARE(rs.mode(), RecordSource::Mode::Editing);
        QCOMPARE(rowsInFile(data.folder(), DbFile::ItemStock, "SELECT * FROM Stock ORDER BY rowid"), before);
        rs.setValue(field, "7");
        rs.update();
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT ItemName FROM Stock WHERE rowid = ?", {rs.key()}),
                 QVariant("Pencil"));

        // On a new record.
        rs.addNew();
        rs.setValue("sno", 2);
        rs.setValue(field, value);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.update());
        QCOMPARE(rs.mode(), RecordSource::Mode::Adding);
        QCOMPARE(stockRows(data.folder()), 2);
    }

    void numbersTypedAsTextAreTaken()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.addNew();
        rs.setValue("sno", " 3 ");
        rs.setValue("Rate", "1e3");
        rs.setValue("Quantity", "-2.5");
        rs.update();
        QCOMPARE(rowsInFile(data.folder(), DbFile::ItemStock, "SELECT sno, Rate, Quantity FROM Stock WHERE sno = 3"),
                 (QList<QVariantList>{{qint64(3), 1000.0, -2.5}}));
    }

    void unknownFieldOrTableIsAnError()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        try {
            rs.bind(DbFile::ItemStock, "Stocks");
            QFAIL("bound a missing table");
        } catch (const DataError& error) {
            QCOMPARE(error.message(), QString("Could not open table Stocks (Database/ItemStock.db): the table is missing"));
        }
        rs.bind(DbFile::ItemStock, "Stock");
        QVERIFY_THROWS_EXCEPTION(DataError, rs.value("Price"));
        rs.addNew();
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setValue("Price", 1));
        RecordSource unbound(*data.db);
        QVERIFY_THROWS_EXCEPTION(DataError, unbound.moveFirst());
    }

    void viewIsReadOnly()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::Invoice, "MonthlyReport");
        QVERIFY(rs.isReadOnly());
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.addNew());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.edit());
    }

    void guardedShowsTheFailure()
    {
        testing::TempData data;
        testing::MessageRecorder messages;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.addNew();
        rs.setValue("Rate", "12a");
        QVERIFY(!Guarded([&] { rs.update(); }));
        QCOMPARE(messages.texts(), QStringList({"Could not save field Rate (Database/ItemStock.db): \"12a\" is not a number"}));
        QCOMPARE(messages.titles(), QStringList({"Zelva Billing System"}));
        QVERIFY(Guarded([&] { rs.cancelUpdate(); }));
    }

    // An invoice and its stock deduction: when the second file refuses its
    // part, the first file's part is undone too, and the forms can save again.
    void failedWorkLeavesEveryFileAsBefore()
    {
        testing::TempData data;
        RecordSource stock(*data.db);
        stock.bind(DbFile::ItemStock, "Stock");
        addItem(stock, 1, "Pen", 10);
        const auto stockBefore = rowsInFile(data.folder(), DbFile::ItemStock, "SELECT * FROM Stock ORDER BY rowid");

        RecordSource buyerInvoice(*data.db);
        RecordSource goodsInvoice(*data.db);
        buyerInvoice.bind(DbFile::Invoice, "BuyerInvoice");
        goodsInvoice.bind(DbFile::Invoice, "GoodsInvoice");
        buyerInvoice.addNew();
        goodsInvoice.addNew();
        stock.bind(DbFile::ItemStock, "Stock");
        stock.moveNext();

        const auto save = [&](const QVariant& quantityLeft) {
            Transaction work(*data.db, "save the invoice");
            buyerInvoice.setValue("sno", 1);
            buyerInvoice.setValue("InvoiceNo", "A00001");
            buyerInvoice.update();
            goodsInvoice.setValue("sno", 1);
            goodsInvoice.setValue("Quantity1", 3);
            goodsInvoice.update();
            stock.edit();
            stock.setValue("Quantity", quantityLeft);
            stock.update();
            work.commit();
        };
        QVERIFY_THROWS_EXCEPTION(DataError, save("7a"));
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM BuyerInvoice").toInt(), 1);
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM GoodsInvoice").toInt(), 0);
        QCOMPARE(rowsInFile(data.folder(), DbFile::ItemStock, "SELECT * FROM Stock ORDER BY rowid"), stockBefore);
        QVERIFY(!data.db->inTransaction());
        // The invoice records are pending again, as before Save.
        QCOMPARE(buyerInvoice.mode(), RecordSource::Mode::Adding);
        QCOMPARE(goodsInvoice.mode(), RecordSource::Mode::Adding);
        QCOMPARE(buyerInvoice.text("InvoiceNo"), QString("A00001"));

        save(7);
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT InvoiceNo FROM BuyerInvoice WHERE sno = 1"), QVariant("A00001"));
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT Quantity1 FROM GoodsInvoice WHERE sno = 1"), QVariant(3.0));
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE sno = 1"), QVariant(7.0));
        QCOMPARE(buyerInvoice.mode(), RecordSource::Mode::None);
    }

    void workNotCommittedIsUndone()
    {
        testing::TempData data;
        {
            Transaction work(*data.db, "save the buyer");
            data.db->run("INSERT INTO CustomerDetails (sno) VALUES (1)", {}, "save the buyer", DbFile::Customer);
            QVERIFY(data.db->inTransaction());
            QVERIFY_THROWS_EXCEPTION(DataError, Transaction(*data.db, "save again"));
        }
        QCOMPARE(valueInFile(data.folder(), DbFile::Customer, "SELECT count(*) FROM CustomerDetails").toInt(), 1);
        QVERIFY(!data.db->inTransaction());
    }

    // A record source that goes away inside a piece of work is not touched
    // when that work is undone.
    void sourceGoneBeforeRollback()
    {
        testing::TempData data;
        {
            Transaction work(*data.db, "save the item");
            RecordSource rs(*data.db);
            rs.bind(DbFile::ItemStock, "Stock");
            rs.addNew();
            rs.setValue("sno", 1);
            rs.update();
        }
        QCOMPARE(stockRows(data.folder()), 1);
    }

    void runNamesOperationAndFile()
    {
        testing::TempData data;
        try {
            data.db->run("SELECT nosuch FROM Purchase", {}, "list the purchases", DbFile::PurchaseMaster);
            QFAIL("ran a faulty statement");
        } catch (const DataError& error) {
            QCOMPARE(error.operation(), QString("list the purchases"));
            QCOMPARE(error.file(), QString("Database/PurchaseMaster.db"));
            QVERIFY(error.message().startsWith("Could not list the purchases (Database/PurchaseMaster.db): "));
        }
    }
};

QTEST_GUILESS_MAIN(RecordSourceTest)
#include "test_recordsource.moc"
