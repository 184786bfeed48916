// The Stock Report and Stock Report for Nill Item entries are unavailable
// exactly while a report window of their kind is open; the Purchase and Issue
// Report entries stay available. Real report forms and windows.
#include "reports/frmregisterreports.h"
#include "reports/frmstockreport.h"
#include "reports/reportfixture.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>
#include <functional>

using namespace zelva;
using namespace testing;

namespace {

// Runs the step; the modal report form it opens gets the action (a click on
// Show or Close) as soon as it is up.
void withDialog(const std::function<void()>& step, const char* button)
{
    withModal(step, [&](QDialog* form) { need<QPushButton>(form, button)->click(); });
}

} // namespace

class ReportEntriesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void entriesFollowTheirReportWindows()
    {
        TempData data;
        MessageRecorder messages;
        addStockItem(*data.db, 1, "Laptop", 4);
        addIssue(*data.db, 1, 1, "Laptop", QDate::currentDate());
        addPurchase(*data.db, 1, 1, "Laptop", QDate::currentDate());
        frmZelvaBillingSystem window(*data.db);
        window.show();
        QAction* stock = window.mnuStockReport;
        QAction* issue = window.mnuIssueReport;

        withDialog([&] { stock->trigger(); }, "cmdClose"); // no report: the entry stays
        QVERIFY(stock->isEnabled());
        withDialog([&] { stock->trigger(); }, "cmdShow");
        QVERIFY(!stock->isEnabled());
        // the purchase and issue entries alike stay available, a second report of each opening
        for (QAction* entry : { issue, window.mnuPurchaseReport, issue, window.mnuPurchaseReport }) {
            QVERIFY(entry->isEnabled());
            withDialog([&] { entry->trigger(); }, "cmdShow");
        }
        QVERIFY(issue->isEnabled() && window.mnuPurchaseReport->isEnabled() && !stock->isEnabled());
        QList<ReportWindow*> open = reportWindows(*window.mdiArea);
        QCOMPARE(open.size(), 5);

        closeReport(open[0]); // the stock report
        QVERIFY(stock->isEnabled());
        open = reportWindows(*window.mdiArea);
        QCOMPARE(shownColumn(*open[0], "IssueNo"), QStringList { "I00001" });
        QCOMPARE(shownColumn(*open[3], "PurchaseOrder"), QStringList { "PO-1" });
        closeReport(open[0]);
        QVERIFY(issue->isEnabled());
        window.reportWindowClosed(frmZelvaBillingSystem::ReportKind::Stock); // a close too many changes nothing
        window.reportWindowOpened(frmZelvaBillingSystem::ReportKind::Stock);
        QVERIFY(!stock->isEnabled());
        QVERIFY(messages.texts().isEmpty());
    }

    // The Nill Item entry opens the items with nothing on hand straight into a
    // report window of the stock report's layout, or says " Nothing to show".
    void nillItemEntry()
    {
        TempData data;
        MessageRecorder messages;
        addStockItem(*data.db, 1, "In stock", 3);
        frmZelvaBillingSystem window(*data.db);
        window.show();
        QAction* nill = window.mnuStockReportNill;
        nill->trigger();
        QCOMPARE(messages.texts(), QStringList { " Nothing to show" });
        QVERIFY(reportWindows(*window.mdiArea).isEmpty());
        QVERIFY(nill->isEnabled());

        addStockItem(*data.db, 2, "Sold out", 0);
        nill->trigger();
        const QList<ReportWindow*> open = reportWindows(*window.mdiArea);
        QCOMPARE(open.size(), 1);
        QCOMPARE(shownColumn(*open[0], "ItemName"), QStringList { "Sold out" });
        QVERIFY(!nill->isEnabled());
        QVERIFY(window.mnuStockReport->isEnabled());
        closeReport(open[0]);
        QVERIFY(nill->isEnabled());
    }
};

QTEST_MAIN(ReportEntriesTest)
#include "test_reportentries.moc"
