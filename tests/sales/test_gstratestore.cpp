// The GST rates as the store keeps them, on the files and on the server: the
// shipped rates until a change is entered, a later notified change added by
// its date and offered from that day, refusals that store nothing; each
// stock item's rate and the company's turnover band kept beside their records.
#include "sales/gstratestore.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "support/testdata.h"

#include <QtTest>

using namespace zelva;

using Rates = std::vector<double>;

class GstRateStoreTest : public QObject {
    Q_OBJECT
private slots:
    // A fresh store offers the shipped rates; a rate notified later (12 %
    // again from 1 April 2026, say) is kept whole with the rest, and the
    // lists of that day and after offer it, the days before do not.
    void laterChangeIsKeptAndOfferedFromItsDay()
    {
        testing::TempData data;
        QCOMPARE(LoadGstRates(*data.db), ShippedGstRates());
        GstRateTable changed = ShippedGstRates();
        changed.push_back({12, QDate(2026, 4, 1), QDate(), false, QStringLiteral("Notified change")});
        StoreGstRates(*data.db, changed);
        QCOMPARE(LoadGstRates(*data.db), changed);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Master,
                                      "SELECT FromDay FROM GstRate WHERE GstRate = 12 AND ToDay = 0 AND Special = 0")
                     .toInt(),
                 20260401);
        const GstRateTable again = LoadGstRates(*data.openAnother()); // another counter sees it too
        QCOMPARE(RatesInForce(again, QDate(2026, 3, 31)), (Rates{0, 5, 18, 40}));
        QCOMPARE(RatesInForce(again, QDate(2026, 4, 1)), (Rates{0, 5, 12, 18, 40}));
        QCOMPARE(RatesInForce(again, QDate(2025, 9, 20)), (Rates{0, 5, 12, 18, 28})); // a late entry of that day
    }

    // Each refused rate names its box, and the table stays as it was.
    void refusedRatesStoreNothing_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("named");
        QTest::newRow("7 % the portal does not take") << 7.0 << QDate(2026, 4, 1) << QDate() << "(GST rate %)";
        QTest::newRow("13 %") << 13.0 << QDate(2026, 4, 1) << QDate() << "(GST rate %)";
        QTest::newRow("no first day") << 12.0 << QDate() << QDate() << "(From)";
        QTest::newRow("ends before it starts") << 12.0 << QDate(2026, 4, 1) << QDate(2026, 3, 1) << "(Last day)";
        QTest::newRow("18 % already in force") << 18.0 << QDate(2026, 4, 1) << QDate() << "(GST rate %)";
    }
    void refusedRatesStoreNothing()
    {
        QFETCH(double, percent);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, named);
        testing::TempData data;
        const GstRate rate{percent, from, to, false, {}};
        const QString refusal = GstRateRefusal(ShippedGstRates(), rate);
        QVERIFY2(refusal.contains(named), qPrintable(refusal));
        GstRateTable changed = ShippedGstRates();
        changed.push_back(rate);
        QVERIFY_THROWS_EXCEPTION(DataError, StoreGstRates(*data.db, changed));
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM GstRate").toInt(), 0);
        QCOMPARE(LoadGstRates(*data.db), ShippedGstRates());
    }

    // A stock item keeps its rate by its code; one never given a rate has none,
    // and taking the rate off leaves none. The turnover band is kept by the
    // company's serial, up to Rs 5 crore when none is kept.
    void itemRateAndTurnoverBand()
    {
        testing::TempData data;
        {
            Transaction work(*data.db, "test");
            StoreItemGstRateWithin(*data.db, "G00001", 3);
            StoreItemGstRateWithin(*data.db, "G00002", 0.25);
            StoreItemGstRateWithin(*data.db, "G00003", 18);
            StoreItemGstRateWithin(*data.db, "G00003", std::nullopt);
            StoreAboveFiveCroreWithin(*data.db, 2, true);
            work.commit();
        }
        QCOMPARE(LoadItemGstRate(*data.db, "G00001"), std::optional<double>(3));
        QCOMPARE(LoadItemGstRate(*data.db, "G00002"), std::optional<double>(0.25));
        QCOMPARE(LoadItemGstRate(*data.db, "G00003"), std::nullopt);
        QCOMPARE(LoadItemGstRate(*data.db, "G00009"), std::nullopt);
        QVERIFY(LoadAboveFiveCrore(*data.db, 2));
        QVERIFY(!LoadAboveFiveCrore(*data.db, 1));
    }

    // The HSN code needs 4 digits up to Rs 5 crore, 6 above; none given is no fault.
    void hsnLengthFollowsTheTurnover_data()
    {
        QTest::addColumn<QString>("hsn");
        QTest::addColumn<bool>("above");
        QTest::addColumn<bool>("tooShort");
        QTest::newRow("4 digits, small shop") << "7113" << false << false;
        QTest::newRow("3 digits, small shop") << "711" << false << true;
        QTest::newRow("4 digits, large company") << "7113" << true << true;
        QTest::newRow("6 digits with a blank, large company") << "7113 19" << true << false;
        QTest::newRow("none given") << "N.A." << true << false;
    }
    void hsnLengthFollowsTheTurnover()
    {
        QFETCH(QString, hsn);
        QFETCH(bool, above);
        QFETCH(bool, tooShort);
        const QString problem = HsnLengthProblem(hsn, above);
        QCOMPARE(!problem.isEmpty(), tooShort);
        if (tooShort)
            QVERIFY2(problem.contains(QString::number(HsnDigitsNeeded(above))), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(GstRateStoreTest)
#include "test_gstratestore.moc"
