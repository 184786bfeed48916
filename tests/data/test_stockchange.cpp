// The one stock change: a signed quantity added to the record as it stands,
// only inside a transaction, on the first record of the code, in either table.
#include "data/stockchange.h"
#include "storetest.h"

using namespace zelva;
using namespace testing;

namespace {

void addStock(Database& db, StockTable table, int sno, const QString& code, const QVariant& quantity)
{
    db.run(QStringLiteral("INSERT INTO %1.%2 (sno, itemcode, ItemName, Quantity) VALUES (?, ?, 'item', ?)")
               .arg(SchemaName(StockFile(table)), StockTableName(table)),
        { sno, code, quantity }, "add stock", StockFile(table));
}

QList<QVariantList> quantities(const TempData& d, StockTable table)
{
    return rowsInFile(d.folder(), StockFile(table),
        QStringLiteral("SELECT itemcode, Quantity FROM %1 WHERE sno <> 0 ORDER BY rowid").arg(StockTableName(table)));
}

} // namespace

class StockChangeTest : public QObject {
    Q_OBJECT
private slots:
    void addsToTheRecordAsItStands()
    {
        TempData d;
        for (StockTable table : { StockTable::ForSale, StockTable::Office }) {
            addStock(*d.db, table, 4, "G00004", 10);
            addStock(*d.db, table, 2, "G00002", QVariant()); // a blank quantity counts as 0
            addStock(*d.db, table, 9, "G00009", 100); // another item is left alone
        }
        {
            Transaction t(*d.db, "move stock");
            QVERIFY(AdjustStock(*d.db, StockTable::ForSale, "G00004", 5));
            // written meanwhile by another window: counted, not overwritten
            d.db->run(
                "UPDATE ItemStock.Stock SET Quantity = Quantity + 1 WHERE sno = 4", {}, "sale", DbFile::ItemStock);
            QVERIFY(AdjustStock(*d.db, StockTable::ForSale, "G00004", -20));
            QVERIFY(AdjustStock(*d.db, StockTable::ForSale, "G00002", 2.5));
            QVERIFY(AdjustStock(*d.db, StockTable::Office, "G00002", -3));
            QVERIFY(!AdjustStock(*d.db, StockTable::Office, "G09999", 7));
            t.commit();
        }
        QCOMPARE(quantities(d, StockTable::ForSale),
            (QList<QVariantList> { { "G00004", -4.0 }, { "G00002", 2.5 }, { "G00009", 100.0 } }));
        QCOMPARE(quantities(d, StockTable::Office),
            (QList<QVariantList> { { "G00004", 10.0 }, { "G00002", -3.0 }, { "G00009", 100.0 } }));
    }

    void landsOnlyWithItsTransaction()
    {
        TempData d;
        addStock(*d.db, StockTable::ForSale, 1, "G00001", 10);
        QVERIFY(errorOf([&] { AdjustStock(*d.db, StockTable::ForSale, "G00001", 5); }).contains("no transaction"));
        {
            Transaction t(*d.db, "move stock");
            AdjustStock(*d.db, StockTable::ForSale, "G00001", 5);
        } // not committed
        QCOMPARE(quantities(d, StockTable::ForSale), (QList<QVariantList> { { "G00001", 10.0 } }));
    }

    void unitsInUseFromBothTables()
    {
        TempData d;
        QCOMPARE(UnitsInUse(*d.db), QStringList { "Nos" });
        d.db->run("INSERT INTO ItemStock.Stock (sno, Per) VALUES (1, 'Kg'), (2, 'N.A.'), (3, 'Kg'), (4, NULL)", {},
            "add", DbFile::ItemStock);
        d.db->run("INSERT INTO OtherItemStock.OtherItemStock (sno, Per) VALUES (1, 'Box'), (2, 'Nos'), (3, '')", {},
            "add", DbFile::OtherItemStock);
        QCOMPARE(UnitsInUse(*d.db), (QStringList { "Box", "Kg", "Nos" }));
    }
};

QTEST_GUILESS_MAIN(StockChangeTest)
#include "test_stockchange.moc"
