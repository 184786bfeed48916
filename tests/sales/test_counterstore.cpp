// What the counter keeps beside the stock items and the company: barcodes
// (check digits, one item each), reorder levels and the items that reached
// them with their last purchase, the receipt roll's width; on both stores.
#include "sales/barcodes.h"
#include "sales/countersettings.h"
#include "sales/reorderlevel.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

namespace {

void addItem(Database& db, int serial, const QString& name, double quantity)
{
    db.run(QStringLiteral("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Rate, Quantity) VALUES (?, ?, ?, 10, ?)"),
           {serial, QStringLiteral("A%1").arg(serial, 5, 10, QLatin1Char('0')), name, quantity}, "set up",
           DbFile::ItemStock);
}

} // namespace

class CounterStoreTest : public QObject {
    Q_OBJECT
private slots:
    void barcodeRefusal_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("refused"); // a word of the refusal, "" when taken
        QTest::newRow("EAN-13") << "4006381333931" << "";
        QTest::newRow("EAN-13 of an Indian maker") << "8901030865275" << "";
        QTest::newRow("EAN-13 wrong check digit") << "4006381333932" << "EAN-13";
        QTest::newRow("EAN-8") << "96385074" << "";
        QTest::newRow("EAN-8 wrong check digit") << "96385075" << "EAN-8";
        QTest::newRow("UPC-A") << "036000291452" << "";
        QTest::newRow("UPC-A wrong check digit") << "036000291453" << "UPC-A";
        QTest::newRow("shop's own code") << "SHOP-0012" << "";
        QTest::newRow("shop's own digits of another length") << "123456" << "";
        QTest::newRow("a blank inside") << "AB 12" << "may hold only";
        QTest::newRow("too long") << QString(33, QLatin1Char('7')) << "longer";
    }
    void barcodeRefusal()
    {
        QFETCH(QString, code);
        QFETCH(QString, refused);
        const QString refusal = BarcodeRefusal(code);
        if (refused.isEmpty())
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
        else
            QVERIFY2(refusal.contains(refused) && refusal.contains(code.left(13)), qPrintable(refusal));
        QCOMPARE(KindOfBarcode(code).has_value(), refused.isEmpty());
    }

    // An item keeps several codes; a code of another item is refused naming
    // that item, and nothing of the refused save is kept.
    void barcodesBelongToOneItem()
    {
        testing::TempData data;
        Database& db = *data.db;
        {
            Transaction work(db, "set up");
            addItem(db, 1, "Soap", 5);
            addItem(db, 2, "Comb", 5);
            StoreItemBarcodesWithin(db, "A00001", SplitBarcodes("4006381333931, SOAP-1  96385074"));
            work.commit();
        }
        QCOMPARE(LoadItemBarcodes(db, "A00001"), (QStringList{"4006381333931", "SOAP-1", "96385074"}));
        QCOMPARE(ItemOfBarcode(db, "SOAP-1"), std::optional<QString>("A00001"));
        QCOMPARE(ItemOfBarcode(db, "SOAP-2"), std::nullopt);
        const QString refusal = BarcodesRefusal(db, "A00002", {"036000291452", "96385074"});
        QVERIFY2(refusal.contains("96385074") && refusal.contains("A00001") && refusal.contains("Soap"),
                 qPrintable(refusal));
        try {
            Transaction work(db, "save");
            StoreItemBarcodesWithin(db, "A00002", {"036000291452", "96385074"});
            work.commit();
            QFAIL("a code of another item was kept");
        } catch (const DataError&) {
        }
        QCOMPARE(LoadItemBarcodes(db, "A00002"), QStringList());
        QCOMPARE(LoadItemBarcodes(*data.openAnother(), "A00001").size(), 3);
    }

    // The items at or below their level (not those above, nor those without
    // one), with the shortfall and the supplier and rate of the last purchase.
    void itemsBelowTheirLevel()
    {
        testing::TempData data;
        Database& db = *data.db;
        {
            Transaction work(db, "set up");
            addItem(db, 1, "Soap", 3);  // below
            addItem(db, 2, "Comb", 12); // above
            addItem(db, 3, "Oil", 4);   // exactly at its level
            addItem(db, 4, "Rice", 0);  // no level
            StoreReorderLevelWithin(db, "A00001", 10);
            StoreReorderLevelWithin(db, "A00002", 10);
            StoreReorderLevelWithin(db, "A00003", 4);
            for (const auto& [psno, supplier, rate] : {std::tuple{1, "Old Supplier", 7.5}, std::tuple{2, "Kerala Soaps", 8.25}})
                db.run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, SupplierName, itemcode, Rate, Quantity) "
                       "VALUES (?, ?, ?, 'A00001', ?, 1)",
                       {psno, QStringLiteral("P%1").arg(psno), supplier, rate}, "set up", DbFile::PurchaseMaster);
            work.commit();
        }
        const std::vector<BelowReorderItem> below = LoadBelowReorderLevel(db);
        QCOMPARE(below.size(), size_t(2));
        QCOMPARE(below[0].itemName, "Soap");
        QCOMPARE(below[0].shortfall(), 7.0);
        QCOMPARE(below[0].lastSupplier, "Kerala Soaps");
        QCOMPARE(below[0].lastRate, 8.25);
        QCOMPARE(below[1].itemName, "Oil");
        QCOMPARE(below[1].shortfall(), 0.0);
        QCOMPARE(below[1].lastSupplier, "");
        QCOMPARE(CountBelowReorderLevel(db), 2);
        QVERIFY(ReorderWarning("Comb", 10, 10).contains("Comb"));
        QCOMPARE(ReorderWarning("Comb", 11, 10), "");
        QCOMPARE(ReorderWarning("Rice", 0, std::nullopt), "");
    }

    void rollWidthOnlyWhatAPrinterTakes()
    {
        testing::TempData data;
        Database& db = *data.db;
        QCOMPARE(LoadCounterSettings(db, 1), CounterSettings{});
        {
            Transaction work(db, "save");
            StoreCounterSettingsWithin(db, 1, {NarrowRollMm, true});
            work.commit();
        }
        QCOMPARE(LoadCounterSettings(*data.openAnother(), 1), (CounterSettings{NarrowRollMm, true}));
        QVERIFY_THROWS_EXCEPTION(DataError, [&] {
            Transaction work(db, "save");
            StoreCounterSettingsWithin(db, 1, {75, false});
            work.commit();
        }());
        QCOMPARE(LoadCounterSettings(db, 1), (CounterSettings{NarrowRollMm, true}));
    }
};

QTEST_GUILESS_MAIN(CounterStoreTest)
#include "test_counterstore.moc"
