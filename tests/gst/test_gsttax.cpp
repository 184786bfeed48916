#include "gst/gsttax.h"

#include "platform/textnum.h"

#include <QtTest>
#include <array>

using namespace zelva;

class GstTaxTest : public QObject {
    Q_OBJECT
private slots:
    // Each entry's rate is that of its position in the list, the SGST label
    // follows the CGST one, and outside the list there is no rate.
    void listsAndRates()
    {
        QCOMPARE(IgstList(), QStringList({"IGST @ 0%", "IGST @ 5%", "IGST @ 12%", "IGST @ 18%", "IGST @ 28%"}));
        QCOMPARE(CgstList(), QStringList({"CGST @ 0%", "CGST @ 2.5%", "CGST @ 6%", "CGST @ 9%", "CGST @ 14%"}));
        QCOMPARE(SgstList(), QStringList({"SGST @ 0%", "SGST @ 2.5%", "SGST @ 6%", "SGST @ 9%", "SGST @ 14%"}));
        const std::array<double, RateCount> igst{0, 5, 12, 18, 28};
        const std::array<double, RateCount> cgst{0, 2.5, 6, 9, 14};
        for (int p = 0; p < RateCount; ++p) {
            QCOMPARE(RateAt(TaxMode::Igst, p), igst[p]);
            QCOMPARE(RateAt(TaxMode::Cgst, p), cgst[p]);
            QCOMPARE(SgstLabelFor(CgstList()[p]), SgstList()[p]);
        }
        for (int p : {-1, RateCount})
            QCOMPARE(RateAt(TaxMode::Igst, p), 0.0);
        QCOMPARE(RateAt(TaxMode::None, 3), 0.0);
    }

    // Letter case and blanks count: only the very same State gives CGST.
    void taxModeComparesStatesExactly()
    {
        QCOMPARE(int(DecideTaxMode("Kerala", "Kerala")), int(TaxMode::Cgst));
        QCOMPARE(int(DecideTaxMode("दिल्ली", "दिल्ली")), int(TaxMode::Cgst));
        QCOMPARE(int(DecideTaxMode("Delhi", "Kerala")), int(TaxMode::Igst));
        QCOMPARE(int(DecideTaxMode("DELHI", "Delhi")), int(TaxMode::Igst));
        QCOMPARE(int(DecideTaxMode("Delhi ", "Delhi")), int(TaxMode::Igst));
    }

    void taxIsUnroundedUntilShown()
    {
        QCOMPARE(TaxOn(333.33, 2.5), 8.33325);
        QCOMPARE(FormatAmount(TaxOn(333.33, 2.5)), QString("8.33"));
        QCOMPARE(FormatAmount(TaxOn(1000, 0)), QString(".00"));
        QCOMPARE(FormatAmount(TaxOn(0.5, 9)), QString(".05")); // 0.045: half a paisa goes up
    }

    // The tax totals keep the unrounded taxes; the grand total adds the shown
    // rows (their Val: an empty or damaged text counts for what Val makes of
    // it) to the goods total. Without a tax mode no tax total is made.
    void totals_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("goodsTax");
        QTest::addColumn<double>("others1Tax");
        QTest::addColumn<QStringList>("charges"); // amount texts of rows 8-16
        QTest::addColumn<double>("cgst");
        QTest::addColumn<double>("igst");
        QTest::addColumn<QString>("grand");
        QTest::newRow("CGST 2.5% of 333.33") << int(TaxMode::Cgst) << 8.33325 << 0.0
                                             << QStringList{"8.33", "8.33", "", "", "", "", "", "", ""} << 8.33325
                                             << 0.0 << "349.99";
        QTest::newRow("freight 100 at IGST 5%") << int(TaxMode::Igst) << 16.66665 << 5.0
                                                << QStringList{"16.67", "", "100", "5.00", "", "", "", "", "-0.40"}
                                                << 0.0 << 21.66665 << "454.60";
        QTest::newRow("no buyer yet") << int(TaxMode::None) << 1.0 << 0.0
                                      << QStringList{"abc", "12a", "1,000", "", "", "", "", "", ""} << 0.0 << 0.0
                                      << "346.33";
    }
    void totals()
    {
        QFETCH(int, mode);
        QFETCH(double, goodsTax);
        QFETCH(double, others1Tax);
        QFETCH(QStringList, charges);
        QFETCH(double, cgst);
        QFETCH(double, igst);
        QFETCH(QString, grand);
        TotalsInput in;
        in.mode = TaxMode(mode);
        in.goodsTotal = 333.33;
        in.goodsTax = goodsTax;
        in.others1Tax = others1Tax;
        for (int i = 0; i < 9; ++i)
            in.chargeAmountTexts[i] = charges[i];
        in.quantityTexts = {"2", "2.5", "", "abc", "12a", "", ""};
        const Totals t = ComputeTotals(in);
        QCOMPARE(t.totalCgst, cgst);
        QCOMPARE(t.totalSgst, cgst);
        QCOMPARE(t.totalIgst, igst);
        QCOMPARE(t.quantityTotal, 16.5);
        QCOMPARE(FormatAmount(t.grandTotal), grand);
    }
};

QTEST_GUILESS_MAIN(GstTaxTest)
#include "test_gsttax.moc"
