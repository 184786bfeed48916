// The record source as the forms use it: read fields by name, add and edit
// through a pending record, refuse values a column cannot take without writing
// anything, and run several writes as one piece of work.
#include "data/dataerror.h"
#include "data/serials.h"
#include "storetest.h"
#include "support/testserver.h"

using namespace zelva;
using namespace testing;

namespace {

// Where a message says the data of a file is: the file, or its schema on the server.
QString placeOf(const QString& file)
{
    return onTestServer() ? file + " on the server" : "Database/" + file + ".db";
}

void addItem(RecordSource& rs, int sno, const QString& name, const QVariant& quantity = 0)
{
    const QString code = RecordCode(CodeKind::Item, sno);
    addRecord(rs, {{"sno", sno}, {"itemcode", code}, {"ItemName", name}, {"Quantity", quantity}});
}

QList<QVariantList> stockInFile(const QString& folder)
{
    return rowsInFile(folder, DbFile::ItemStock, "SELECT * FROM Stock ORDER BY rowid");
}

} // namespace

class RecordSourceTest : public QObject {
    Q_OBJECT
private slots:

    // What a box assigns, what the file then holds, and what text() shows.
    void valuesAreStoredAndShownAsTheBoxesDo_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("serial typed") << "sno" << QVariant(" 3 ") << QVariant(qint64(3)) << "3";
        QTest::newRow("rate typed") << "Rate" << QVariant("12.50") << QVariant(12.5) << "12.5";
        QTest::newRow("exponent typed") << "Rate" << QVariant("1e3") << QVariant(1000.0) << "1000";
        QTest::newRow("negative typed") << "Quantity" << QVariant("-2.5") << QVariant(-2.5) << "-2.5";
        QTest::newRow("fraction below one") << "Quantity" << QVariant(0.5) << QVariant(0.5) << ".5";
        QTest::newRow("whole number into text") << "ItemHsn" << QVariant(8471) << QVariant("8471") << "8471";
        QTest::newRow("fraction into text") << "Per" << QVariant(2.5) << QVariant("2.5") << "2.5";
        QTest::newRow("empty box") << "Remarks" << QVariant(QString()) << QVariant("") << "";
    }
    void valuesAreStoredAndShownAsTheBoxesDo()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        StockData data;
        RecordSource& rs = data.rs;
        rs.addNew();
        rs.setValue(field, value);
        rs.update();
        const QString sql = QString("SELECT %1 FROM Stock WHERE rowid = 2").arg(field);
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, sql), stored);
        rs.requery();
        rs.moveNext();
        QCOMPARE(rs.text(field), shown);
        QCOMPARE(rs.value(field), stored);
        QCOMPARE(rs.text("itemcode"), QString()); // never assigned
    }

    void pendingRecordLandsOnlyOnUpdate()
    {
        StockData data;
        RecordSource& rs = data.rs;
        rs.addNew();
        QCOMPARE(rs.mode(), RecordSource::Mode::Adding);
        QVERIFY(rs.value("ItemName").isNull()); // a new record starts empty
        rs.setValue("ItemName", "Pen");
        QCOMPARE(rs.text("itemname"), QString("Pen"));
        rs.cancelUpdate();
        QCOMPARE(rs.mode(), RecordSource::Mode::None);
        QCOMPARE(rs.nextSerial(), 1); // a cancelled record uses up no serial
        QCOMPARE(countIn(data.folder(), DbFile::ItemStock, "Stock"), 1);

        addItem(rs, 1, "Pen", 10);
        addItem(rs, 2, "Ink", 5);
        QCOMPARE(rs.text("sno"), QString("0")); // the record current before addNew stays current
        QCOMPARE(rs.recordCount(), 3);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.update()); // nothing pending any more
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setValue("ItemName", "x"));

        rs.moveNext();
        rs.edit();
        rs.setValue("Quantity", 99);
        rs.moveFirst(); // walking the table ends the edit unsaved
        QCOMPARE(rs.mode(), RecordSource::Mode::None);
        rs.moveNext();
        rs.moveNext();
        rs.edit();
        QCOMPARE(rs.text("ItemName"), QString("Ink")); // the stored value shows until assigned
        rs.setValue("Quantity", "4");
        QCOMPARE(rs.text("Quantity"), QString("4"));
        rs.update();
        QCOMPARE(rs.text("Quantity"), QString("4"));
        QCOMPARE(rowsInFile(data.folder(), DbFile::ItemStock, "SELECT ItemName, Quantity FROM Stock WHERE sno > 0"),
                 (QList<QVariantList>{{"Pen", 10.0}, {"Ink", 4.0}}));
    }

    // A value the column cannot take is refused before anything is written;
    // the record stays pending so the operator can correct it and save again.
    void refusedValueChangesNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* field, const QVariant& value, const char* column,
                            const char* why) {
            QTest::newRow(name) << field << value
                                << QString("Could not save field %1 (%2): %3").arg(column, placeOf("ItemStock"), why);
        };
        row("letters in a rate", "Rate", "12a", "Rate", "\"12a\" is not a number");
        row("empty quantity", "Quantity", "", "Quantity", "an empty value is not a number");
        row("blank quantity", "quantity", "  ", "Quantity", "an empty value is not a number");
        row("thousands separator", "Rate", "1,000", "Rate", "\"1,000\" is not a number");
        row("infinity", "Rate", "inf", "Rate", "\"inf\" is not a number");
        row("fraction typed for a serial", "sno", "2.6", "sno", "2.6 is not a whole number");
        row("fraction for a serial", "sno", 1.5, "sno", "1.5 is not a whole number");
    }
    void refusedValueChangesNothing()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QString, message);
        StockData data;
        RecordSource& rs = data.rs;
        addItem(rs, 1, "Pen", 10);
        const auto before = stockInFile(data.folder());

        rs.moveNext();
        rs.edit();
        rs.setValue("ItemName", "Pencil");
        rs.setValue(field, value);
        QCOMPARE(errorOf([&] { rs.update(); }), message);
        QCOMPARE(rs.mode(), RecordSource::Mode::Editing);
        QCOMPARE(stockInFile(data.folder()), before);
        rs.setValue(field, "7");
        rs.update();
        const QString sql = "SELECT ItemName FROM Stock WHERE rowid = ?";
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, sql, {rs.key()}), QVariant("Pencil"));

        rs.addNew();
        rs.setValue(field, value);
        QCOMPARE(errorOf([&] { rs.update(); }), message);
        QCOMPARE(rs.mode(), RecordSource::Mode::Adding);
        QCOMPARE(countIn(data.folder(), DbFile::ItemStock, "Stock"), 2);
    }

    void misuseIsAnError()
    {
        TempData data;
        RecordSource rs(*data.db);
        QCOMPARE(errorOf([&] { rs.bind(DbFile::ItemStock, "Stocks"); }),
                 QString("Could not open table Stocks (%1): the table is missing").arg(placeOf("ItemStock")));
        rs.bind(DbFile::ItemStock, "Stock");
        QVERIFY_THROWS_EXCEPTION(DataError, rs.value("Price"));

        rs.bind(DbFile::Invoice, "MonthlyReport");
        QVERIFY(rs.isReadOnly());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.edit());
        QCOMPARE(errorOf([&] { rs.addNew(); }),
                 QString("Could not add a record to MonthlyReport (%1): MonthlyReport is read-only")
                     .arg(placeOf("Invoice")));
        rs.cancelUpdate();

        const QString failed = errorOf([&] {
            data.db->run("SELECT x FROM Purchase", {}, "list", DbFile::PurchaseMaster);
        });
        QVERIFY2(failed.startsWith(onTestServer() ? "Could not list (PurchaseMaster on the server postgresql://"
                                                  : "Could not list (Database/PurchaseMaster.db): "),
                 qPrintable(failed));
    }

    // A long table read narrowed to some records or some fields still writes
    // and re-reads whole records.
    void narrowedRead()
    {
        StockData data;
        RecordSource& rs = data.rs;
        addItem(rs, 1, "Item 1", 10);
        addItem(rs, 2, "Item 2", 10);
        addRecord(rs, {{"sno", 3}, {"itemcode", "G00003"}, {"ItemName", "Item 1"}});
        rs.setFilter("ITEMNAME", "Item 1");
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.text("itemcode"), QString("G00001")); // table order
        rs.edit();
        rs.setValue("Quantity", 7);
        rs.update();
        QCOMPARE(rs.value("Quantity").toDouble(), 7.0);

        rs.bind(DbFile::ItemStock, "Stock"); // bind drops the narrowing
        QCOMPARE(rs.recordCount(), 4);
        rs.setFields({"sno", "ItemName"});
        rs.moveNext();
        QCOMPARE(rs.text("ItemName"), QString("Item 1"));
        QVERIFY_THROWS_EXCEPTION(DataError, rs.value("Quantity"));
        const qint64 key = rs.key();
        rs.bind(DbFile::ItemStock, "Stock");
        QVERIFY(rs.moveToKey(key));
        QCOMPARE(rs.value("Quantity").toDouble(), 7.0);
    }

    // A long list read in one pass holds what walking the records shows, in
    // table order (not serial order), each entry with the key that leads to
    // its record; the record being edited stays current and pending.
    void longListInOnePass()
    {
        StockData data;
        RecordSource& rs = data.rs;
        addItem(rs, 5, "Zinc", 10);
        addItem(rs, 2, "Brass", 20);
        addItem(rs, 9, "Copper", 30);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.moveNext();
        rs.edit();
        rs.setValue("ItemName", "Tin");
        std::vector<qint64> keys;
        const auto values = rs.readList({"ITEMNAME", "Quantity"}, keys);
        QCOMPARE(rs.text("ItemName"), QString("Tin"));
        rs.cancelUpdate();
        QStringList names, walked;
        for (const QVariant& name : values[0])
            names << RecordSource::shown(name);
        QCOMPARE(names, QStringList({"", "Zinc", "Brass", "Copper"})); // the placeholder first
        QCOMPARE(RecordSource::shown(values[1][3]), QString("30"));
        for (size_t i = 0; i < keys.size(); ++i) {
            QVERIFY(rs.moveToKey(keys[i]));
            walked << rs.text("ItemName");
        }
        QCOMPARE(walked, names);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.readList({"Price"}, keys));
    }

    // An invoice and its stock deduction: when the second file refuses its
    // part, the first file's part is undone too, and the forms can save again.
    void failedWorkLeavesEveryFileAsBefore()
    {
        StockData data;
        RecordSource& stock = data.rs;
        addItem(stock, 1, "Pen", 10);
        const auto stockBefore = stockInFile(data.folder());
        stock.moveNext();

        RecordSource buyerInvoice(*data.db);
        RecordSource goodsInvoice(*data.db);
        buyerInvoice.bind(DbFile::Invoice, "BuyerInvoice");
        goodsInvoice.bind(DbFile::Invoice, "GoodsInvoice");
        buyerInvoice.addNew();
        goodsInvoice.addNew();
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
        QCOMPARE(countIn(data.folder(), DbFile::Invoice, "BuyerInvoice"), 1);
        QCOMPARE(countIn(data.folder(), DbFile::Invoice, "GoodsInvoice"), 0);
        QCOMPARE(stockInFile(data.folder()), stockBefore);
        QVERIFY(!data.db->inTransaction());
        // The invoice records are pending again, as before Save.
        QCOMPARE(buyerInvoice.mode(), RecordSource::Mode::Adding);
        QCOMPARE(goodsInvoice.mode(), RecordSource::Mode::Adding);
        QCOMPARE(buyerInvoice.text("InvoiceNo"), QString("A00001"));

        save(7);
        QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice, "SELECT b.InvoiceNo, g.Quantity1 FROM BuyerInvoice b "
                                                            "JOIN GoodsInvoice g ON g.sno = b.sno"),
                 (QList<QVariantList>{{"A00001", 3.0}}));
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE sno = 1"),
                 QVariant(7.0));
        QCOMPARE(buyerInvoice.mode(), RecordSource::Mode::None);
    }

    // Work not committed is undone, also by a record source that went away
    // inside it; work cannot be opened inside other work.
    void workNotCommittedIsUndone()
    {
        TempData data;
        {
            Transaction work(*data.db, "save the buyer");
            data.db->run("INSERT INTO CustomerDetails (sno) VALUES (1)", {}, "save the buyer", DbFile::Customer);
            QVERIFY(data.db->inTransaction());
            QVERIFY_THROWS_EXCEPTION(DataError, Transaction(*data.db, "save again"));
            RecordSource rs(*data.db);
            rs.bind(DbFile::ItemStock, "Stock");
            addItem(rs, 1, "Pen");
        }
        QCOMPARE(countIn(data.folder(), DbFile::Customer, "CustomerDetails"), 1);
        QCOMPARE(countIn(data.folder(), DbFile::ItemStock, "Stock"), 1);
        QVERIFY(!data.db->inTransaction());
    }
};

QTEST_GUILESS_MAIN(RecordSourceTest)
#include "test_recordsource.moc"
