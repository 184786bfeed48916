#include "gst/gsttax.h"

#include "platform/textnum.h"

#include <QtTest>
#include <array>

using namespace zelva;

class GstTaxTest : public QObject {
    Q_OBJECT
private slots:
    // Each entry's label names the rate of its position (CGST and SGST half
    // the IGST one), and outside the list there is no rate.
    void listsAndRates()
    {
        const std::array<double, RateCount> igst{0, 5, 12, 18, 28};
        QCOMPARE(IgstList().size(), RateCount);
        for (int p = 0; p < RateCount; ++p) {
            QCOMPARE(RateAt(TaxMode::Igst, p), igst[p]);
            QCOMPARE(RateAt(TaxMode::Cgst, p), igst[p] / 2);
            QCOMPARE(IgstList()[p], QString("IGST @ %1%").arg(igst[p]));
            QCOMPARE(CgstList()[p], QString("CGST @ %1%").arg(igst[p] / 2));
            QCOMPARE(SgstList()[p], QString("SGST @ %1%").arg(igst[p] / 2));
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
};

QTEST_GUILESS_MAIN(GstTaxTest)
#include "test_gsttax.moc"
