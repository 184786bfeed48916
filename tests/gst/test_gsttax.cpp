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
};

QTEST_GUILESS_MAIN(GstTaxTest)
#include "test_gsttax.moc"
