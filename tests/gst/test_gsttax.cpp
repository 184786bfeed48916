#include "gst/gsttax.h"
#include "gst/taxheads.h"

#include "platform/textnum.h"

#include <QtTest>
#include <array>

using namespace zelva;

class GstTaxTest : public QObject {
    Q_OBJECT
private slots:
    // A tax row's label names its head's rate: the whole rate for IGST, half
    // for CGST and SGST; read back, the row's rate gives the whole one again.
    void labelsAndRates()
    {
        for (double whole : {0.0, 0.25, 3.0, 5.0, 18.0, 40.0}) {
            QCOMPARE(TaxRowLabel(TaxMode::Igst, whole), QString("IGST @ %1%").arg(whole));
            QCOMPARE(TaxRowLabel(TaxMode::Cgst, whole), QString("CGST @ %1%").arg(whole / 2));
            QCOMPARE(TaxRowLabel(TaxMode::Cgst, whole, true), QString("SGST @ %1%").arg(whole / 2));
            for (TaxMode mode : {TaxMode::Igst, TaxMode::Cgst})
                QCOMPARE(WholeRate(HeadRate(whole, mode), mode), whole);
        }
        QCOMPARE(TaxRowLabel(TaxMode::Cgst, 0.25), QString("CGST @ 0.125%"));
        QCOMPARE(TaxRowLabel(TaxMode::None, 18), QString());
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
