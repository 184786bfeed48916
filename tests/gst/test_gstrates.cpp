#include "gst/gstrates.h"
#include "gst/taxheads.h"

#include <QtTest>

using namespace zelva;

using Rates = std::vector<double>;
Q_DECLARE_METATYPE(Rates)
Q_DECLARE_METATYPE(zelva::TaxHeads)

class GstRatesTest : public QObject {
    Q_OBJECT
private slots:
    // The slabs change overnight on 22 September 2025; the tobacco rates run
    // on as special ones to 31 January 2026.
    void ratesInForceFollowTheDay_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("withSpecial");
        QTest::addColumn<Rates>("rates");
        QTest::newRow("last day of the old slabs") << QDate(2025, 9, 21) << false << Rates{0, 5, 12, 18, 28};
        QTest::newRow("first day of the new slabs") << QDate(2025, 9, 22) << false << Rates{0, 5, 18, 40};
        QTest::newRow("tobacco's last day, specials offered")
            << QDate(2026, 1, 31) << true << Rates{0, 0.1, 0.25, 1, 1.5, 3, 5, 6, 7.5, 12, 18, 28, 40};
        QTest::newRow("after tobacco's old rates") << QDate(2026, 2, 1) << true << Rates{0, 0.1, 0.25, 1, 1.5, 3, 5, 6, 7.5, 18, 40};
        QTest::newRow("before GST") << QDate(2017, 6, 30) << true << Rates{};
        QTest::newRow("no date") << QDate() << false << Rates{};
    }
    void ratesInForceFollowTheDay()
    {
        QFETCH(QDate, day);
        QFETCH(bool, withSpecial);
        QFETCH(Rates, rates);
        QCOMPARE(RatesInForce(ShippedGstRates(), day, withSpecial), rates);
    }

    void oneRateOnOneDay()
    {
        const auto& table = ShippedGstRates();
        QVERIFY(RateInForce(table, 12, QDate(2025, 9, 20)));
        QVERIFY(RateInForce(table, 12, QDate(2026, 1, 31))); // tobacco
        QVERIFY(!RateInForce(table, 12, QDate(2026, 2, 1)));
        QVERIFY(!RateInForce(table, 40, QDate(2025, 9, 21)));
        QVERIFY(RateInForce(table, 3, QDate(2019, 4, 1)));
        QVERIFY(!RateInForce(table, 7, QDate(2026, 1, 1)));
        for (double accepted : {0.1, 0.25, 1.5, 7.5, 40.0})
            QVERIFY(PortalAcceptsRate(accepted));
        for (double refused : {7.0, 13.0, 2.5, -5.0, 0.15})
            QVERIFY2(!PortalAcceptsRate(refused), qPrintable(QString::number(refused)));
    }

    // CGST and SGST are each half the rate, each to the paisa on its own.
    void taxAtRate_data()
    {
        QTest::addColumn<qint64>("taxable");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("mode");
        QTest::addColumn<TaxHeads>("heads");
        QTest::newRow("igst 18") << qint64(100000) << 18.0 << int(TaxMode::Igst) << TaxHeads{18000, 0, 0, 0};
        QTest::newRow("cgst 5 on 333.33") << qint64(33333) << 5.0 << int(TaxMode::Cgst) << TaxHeads{0, 833, 833, 0};
        QTest::newRow("igst 0.25 on 1234.56") << qint64(123456) << 0.25 << int(TaxMode::Igst) << TaxHeads{309, 0, 0, 0};
        QTest::newRow("cgst 3 on 99999.99") << qint64(9999999) << 3.0 << int(TaxMode::Cgst) << TaxHeads{0, 150000, 150000, 0};
        QTest::newRow("no mode") << qint64(100000) << 18.0 << int(TaxMode::None) << TaxHeads{};
    }
    void taxAtRate()
    {
        QFETCH(qint64, taxable);
        QFETCH(double, rate);
        QFETCH(int, mode);
        QFETCH(TaxHeads, heads);
        QCOMPARE(TaxAtRate(taxable, rate, TaxMode(mode)), heads);
    }

    void headsAddUp()
    {
        TaxHeads sum{100, 20, 20, 0};
        sum += TaxHeads{5, 1, 2, 0};
        QCOMPARE(sum, (TaxHeads{105, 21, 22, 0}));
        QCOMPARE(sum.total(), Paise(148));
        QCOMPARE(sum - sum, TaxHeads{});
    }
};

QTEST_GUILESS_MAIN(GstRatesTest)
#include "test_gstrates.moc"
