#include "data/database.h"
#include "data/recordsource.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zelva;

// A record source narrowed to some records or some fields reads only those,
// and still writes and re-reads whole records.
class NarrowedSourceTest : public QObject {
    Q_OBJECT
private slots:
    void filterAndFields()
    {
        QTemporaryDir dir;
        auto db = Database::open(dir.path());
        for (int i = 1; i <= 3; ++i)
            db->run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, 10)",
                    {i, i == 3 ? "G00001" : QString("G0000%1").arg(i), QString("Item %1").arg(i)}, "seed", DbFile::ItemStock);

        RecordSource rs(*db);
        rs.bind(DbFile::ItemStock, "Stock");
        rs.setFilter("ITEMCODE", "G00001");
        QCOMPARE(rs.recordCount(), 2); // first in table order comes first
        QCOMPARE(rs.text("ItemName"), QString("Item 1"));
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
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setFields({"NoSuchField"}));
        const qint64 key = rs.key();
        rs.bind(DbFile::ItemStock, "Stock");
        QVERIFY(rs.moveToKey(key));
        QCOMPARE(rs.value("Quantity").toDouble(), 7.0);
    }
};

QTEST_GUILESS_MAIN(NarrowedSourceTest)
#include "test_narrowedsource.moc"
