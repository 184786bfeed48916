// The GST Rates window as the operator keeps the rates: the shipped rates
// listed, a later notified change added by its date and kept, a rate the
// portal does not take refused with nothing stored, and a rate ended on its
// last day, which the lists of later days then no longer offer.
#include "reports/frmgstrates.h"

#include "sales/gstratestore.h"
#include "support/formdriver.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace testing;
using namespace zelva;

namespace {

int storedRates(const TempData& data)
{
    return valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM GstRate").toInt();
}

int rowOfRate(const QTableView* grid, const QString& percent, const QString& from)
{
    for (int row = 0; row < GridRows(grid); ++row)
        if (GridText(grid, row, 0) == percent && GridText(grid, row, 3) == from)
            return row;
    return -1;
}

} // namespace

class GstRatesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void ratesKeptByTheirDates()
    {
        TempData data;
        MessageRecorder messages;
        frmGstRates form(*data.db);
        form.show();
        const int shipped = int(ShippedGstRates().size());
        QCOMPARE(GridRows(form.grdRates), shipped);
        const int forty = rowOfRate(form.grdRates, "40", "22/09/2025");
        QVERIFY(forty >= 0);
        QCOMPARE(GridText(form.grdRates, forty, 1), "20"); // CGST and SGST each half
        QCOMPARE(GridText(form.grdRates, forty, 4), "");   // still in force

        // 7 % is no rate the portal takes: refused, named, nothing stored
        typeInto(form.txtRate, "7");
        typeInto(form.txtFrom, "01/04/2026");
        click(form.cmdAdd);
        QVERIFY2(messages.last().contains("(GST rate %)"), qPrintable(messages.last()));
        QCOMPARE(storedRates(data), 0);
        QCOMPARE(GridRows(form.grdRates), shipped);

        // a special rate notified later, from its day
        typeInto(form.txtRate, "12");
        typeInto(form.txtFrom, "01/04/2026");
        typeInto(form.txtNote, "Handicrafts");
        form.chkSpecial->setChecked(true);
        click(form.cmdAdd);
        QCOMPARE(messages.last(), "Saved Successfully");
        QCOMPARE(storedRates(data), shipped + 1);
        QVERIFY(rowOfRate(form.grdRates, "12", "01/04/2026") >= 0);
        QVERIFY(RateInForce(LoadGstRates(*data.db), 12, QDate(2026, 4, 1)));
        QCOMPARE(form.txtRate->text(), "");

        // 40 % ends on 31 March 2027: offered that day, not the next
        form.grdRates->selectionModel()->select(form.grdRates->model()->index(forty, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        typeInto(form.txtTo, "31/03/2027");
        click(form.cmdEndRate);
        QCOMPARE(messages.last(), "Saved Successfully");
        QCOMPARE(GridText(form.grdRates, forty, 4), "31/03/2027");
        const GstRateTable kept = LoadGstRates(*data.db);
        QVERIFY(RateInForce(kept, 40, QDate(2027, 3, 31)));
        QVERIFY(!RateInForce(kept, 40, QDate(2027, 4, 1)));

        // an end before the rate's first day is refused, the rate kept as it was
        form.grdRates->selectionModel()->select(form.grdRates->model()->index(forty, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        typeInto(form.txtTo, "01/01/2025");
        click(form.cmdEndRate);
        QVERIFY2(messages.last().contains("(Last day)"), qPrintable(messages.last()));
        QCOMPARE(LoadGstRates(*data.db), kept);
    }
};

QTEST_MAIN(GstRatesWindowTest)
#include "test_gstrateswindow.moc"
