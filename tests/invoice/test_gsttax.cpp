#include "invoice/gsttax.h"

#include "platform/textnum.h"

#include <QtTest>

using namespace zelva;

class GstTaxTest : public QObject {
    Q_OBJECT
private slots:
    void lists()
    {
        QCOMPARE(IgstList(), QStringList({"IGST @ 0%", "IGST @ 5%", "IGST @ 12%", "IGST @ 18%", "IGST @ 28%"}));
        QCOMPARE(CgstList(), QStringList({"CGST @ 0%", "CGST @ 2.5%", "CGST @ 6%", "CGST @ 9%", "CGST @ 14%"}));
        QCOMPARE(SgstList(), QStringList({"SGST @ 0%", "SGST @ 2.5%", "SGST @ 6%", "SGST @ 9%", "SGST @ 14%"}));
        for (int p = 0; p < RateCount; ++p)
            QCOMPARE(SgstLabelFor(CgstList()[p]), SgstList()[p]);
    }

    void rateByPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("igst");
        QTest::addColumn<double>("cgst");
        QTest::addColumn<QString>("cgstText");
        QTest::newRow("0") << 0 << 0.0 << 0.0 << "0";
        QTest::newRow("1") << 1 << 5.0 << 2.5 << "2.5";
        QTest::newRow("2") << 2 << 12.0 << 6.0 << "6";
        QTest::newRow("3") << 3 << 18.0 << 9.0 << "9";
        QTest::newRow("4") << 4 << 28.0 << 14.0 << "14";
        QTest::newRow("before list") << -1 << 0.0 << 0.0 << "0";
        QTest::newRow("past list") << 5 << 0.0 << 0.0 << "0";
    }
    void rateByPosition()
    {
        QFETCH(int, position);
        QFETCH(double, igst);
        QFETCH(double, cgst);
        QFETCH(QString, cgstText);
        QCOMPARE(RateAt(TaxMode::Igst, position), igst);
        QCOMPARE(RateAt(TaxMode::Cgst, position), cgst);
        QCOMPARE(RateAt(TaxMode::None, position), 0.0);
        QCOMPARE(RateText(RateAt(TaxMode::Cgst, position)), cgstText);
    }

    void taxMode_data()
    {
        QTest::addColumn<QString>("buyer");
        QTest::addColumn<QString>("company");
        QTest::addColumn<int>("mode");
        QTest::newRow("same State") << "Kerala" << "Kerala" << int(TaxMode::Cgst);
        QTest::newRow("other State") << "Delhi" << "Kerala" << int(TaxMode::Igst);
        QTest::newRow("case counts") << "DELHI" << "Delhi" << int(TaxMode::Igst);
        QTest::newRow("blank counts") << "Delhi " << "Delhi" << int(TaxMode::Igst);
        QTest::newRow("Hindi names") << "दिल्ली" << "दिल्ली" << int(TaxMode::Cgst);
    }
    void taxMode()
    {
        QFETCH(QString, buyer);
        QFETCH(QString, company);
        QFETCH(int, mode);
        QCOMPARE(int(DecideTaxMode(buyer, company)), mode);
    }

    void taxShown_data()
    {
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CGST 9% of 1000") << 1000.0 << 9.0 << "90.00";
        QTest::newRow("IGST 18% of 1000") << 1000.0 << 18.0 << "180.00";
        QTest::newRow("2.5% of 333.33") << 333.33 << 2.5 << "8.33";
        QTest::newRow("zero rate") << 1000.0 << 0.0 << ".00";
        QTest::newRow("half paisa up") << 0.5 << 9.0 << ".05"; // 0.045
        QTest::newRow("crores") << 12345678.9 << 28.0 << "3456790.09";
    }
    void taxShown()
    {
        QFETCH(double, base);
        QFETCH(double, rate);
        QFETCH(QString, shown);
        QCOMPARE(FormatAmount(TaxOn(base, rate)), shown);
    }

    // The worked examples: the tax totals keep the unrounded taxes, the grand
    // total adds the shown rows to the goods total.
    void totals_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("goodsTotal");
        QTest::addColumn<double>("goodsTax");
        QTest::addColumn<QStringList>("charges"); // amount texts of rows 8-16
        QTest::addColumn<double>("cgst");
        QTest::addColumn<double>("igst");
        QTest::addColumn<QString>("grand");
        QTest::newRow("CGST 9%") << int(TaxMode::Cgst) << 1000.0 << 90.0
                                 << QStringList{"90.00", "90.00", "", "", "", "", "", "", ""} << 90.0 << 0.0 << "1180.00";
        QTest::newRow("IGST 18%") << int(TaxMode::Igst) << 1000.0 << 180.0
                                  << QStringList{"180.00", "", "", "", "", "", "", "", ""} << 0.0 << 180.0 << "1180.00";
        QTest::newRow("2.5% of 333.33") << int(TaxMode::Cgst) << 333.33 << 8.33325
                                        << QStringList{"8.33", "8.33", "", "", "", "", "", "", ""} << 8.33325 << 0.0
                                        << "349.99";
        QTest::newRow("short by 40 paise") << int(TaxMode::Cgst) << 1000.0 << 90.0
                                           << QStringList{"90.00", "90.00", "", "", "", "", "", "", "-0.40"} << 90.0
                                           << 0.0 << "1179.60";
        QTest::newRow("freight 100 at IGST 5%") << int(TaxMode::Igst) << 1000.0 << 180.0
                                                << QStringList{"180.00", "", "100", "5.00", "", "", "", "", ""} << 0.0
                                                << 180.0 << "1285.00";
        QTest::newRow("no buyer yet") << int(TaxMode::None) << 500.0 << 45.0
                                      << QStringList{"abc", "12a", "1,000", "", "", "", "", "", ""} << 0.0 << 0.0
                                      << "513.00";
    }
    void totals()
    {
        QFETCH(int, mode);
        QFETCH(double, goodsTotal);
        QFETCH(double, goodsTax);
        QFETCH(QStringList, charges);
        QFETCH(double, cgst);
        QFETCH(double, igst);
        QFETCH(QString, grand);
        TotalsInput in;
        in.mode = TaxMode(mode);
        in.goodsTotal = goodsTotal;
        in.goodsTax = goodsTax;
        if (in.mode == TaxMode::Igst)
            in.others1Tax = Val(charges[3]);
        for (int i = 0; i < 9; ++i)
            in.chargeAmountTexts[i] = charges[i];
        in.quantityTexts = {"2", "2.5", "", "abc", "12a", "", ""};
        const Totals t = ComputeTotals(in);
        QCOMPARE(t.totalCgst, cgst);
        QCOMPARE(t.totalSgst, cgst);
        QCOMPARE(t.totalIgst, igst + (in.mode == TaxMode::Igst ? in.others1Tax : 0));
        QCOMPARE(t.quantityTotal, 16.5);
        QCOMPARE(FormatAmount(t.grandTotal), grand);
    }
};

QTEST_GUILESS_MAIN(GstTaxTest)
#include "test_gsttax.moc"
