// The E-Invoice and E-Way Bill window as the operator uses it: a file the
// portal would refuse is not written and the window says what to fix; the
// portal's response is kept with its invoice; and cancelling that invoice
// at Cancel Invoice reminds the operator to cancel its IRN on the portal.
#include "reports/frmcancelinvoice.h"
#include "reports/frmportalfiles.h"
#include "reports/tablereport.h"

#include "reports/invoiceshape.h"
#include "support/formdriver.h"
#include "support/irnresponse.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace zelva;

namespace {

const QString SellerGstin = QStringLiteral("33AAACH7409R1Z8");

// A walk-in buyer without GSTIN, worth Rs. 60,180.00, carried by no one.
const testing::InvoiceShape WalkInSale{1, "07/12/2026", "Walk-in", "N.A.", "Tamil Nadu", "Walk-in", "Tamil Nadu",
                                      TaxMode::Cgst, {{"Steel Rod", "7214", 1000, "Kg", "51", "51000.00"}},
                                      testing::Base{nullptr, "N.A.", "0", "9", "4590.00"}, {}, {}, "0", 4590};

} // namespace

class PortalFilesWindowTest : public QObject {
    Q_OBJECT

private slots:
    void refusedFileThenResponseThenCancel()
    {
        testing::TempData data;
        testing::addCompany(*data.db, SellerGstin);
        testing::writeInvoice(*data.db, WalkInSale);
        testing::MessageRecorder messages;
        frmPortalFiles form(*data.db);
        form.dtpFrom->setDate({2026, 12, 1});
        form.dtpTo->setDate({2026, 12, 31});
        QCOMPARE(GridText(form.grdInvoices, 0, 0), QString("A00001"));

        const QString path = data.folder() + "/einvoice.json";
        QVERIFY(!form.writeEInvoice(path));
        QVERIFY2(messages.last().startsWith("No e-invoice of A00001 was written") &&
                     messages.last().contains("registered buyer (B2B)"),
                 qPrintable(messages.last()));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!form.writeEwayBill(path));
        QVERIFY2(messages.last().contains("it has no transport details"), qPrintable(messages.last()));
        QVERIFY(!QFile::exists(path));

        const QString response = data.folder() + "/response.json";
        {
            QFile file(response);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QString ack = QDateTime::currentDateTime().addSecs(-600).toString("yyyy-MM-dd HH:mm:ss");
            file.write(testing::IrnResponseJson("A00001", "07/12/2026", SellerGstin, ack, QString(64, 'c')));
        }
        QVERIFY(form.importIrnResponse(response));
        QVERIFY2(messages.last().startsWith("The IRN is kept with invoice A00001"), qPrintable(messages.last()));

        frmCancelInvoice cancel(*data.db, "ravi");
        cancel.dtpFrom->setDate({2026, 12, 1});
        cancel.dtpTo->setDate({2026, 12, 31});
        testing::typeInto(cancel.txtReason, "Wrong buyer");
        testing::Answers yes(true);
        testing::click(cancel.cmdCancelInvoice);
        const QStringList told = messages.texts().mid(messages.texts().size() - 2);
        QCOMPARE(told.first(), QString("Invoice A00001 is cancelled and its goods are back in stock."));
        QVERIFY2(told.last().contains("Cancel the IRN on the portal too") && told.last().contains(QString(64, 'c')),
                 qPrintable(told.last()));
    }
};

QTEST_MAIN(PortalFilesWindowTest)
#include "test_portalfileswindow.moc"
