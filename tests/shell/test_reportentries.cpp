// The Stock Report and Issue Report entries are unavailable exactly while a
// report window of their kind is open, with real report forms and windows.
#include "reports/frmregisterreports.h"
#include "reports/frmstockreport.h"
#include "reports/reportfixture.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace zelva;
using namespace testing;

namespace {

// Runs the step; the modal report form it opens gets the action (a click on
// Show or Close) as soon as it is up.
void withDialog(const std::function<void()>& step, const char* button)
{
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* form = qobject_cast<ReportSelection*>(QApplication::activeModalWidget()))
            child<QPushButton>(form, button)->click();
    });
    watcher.start();
    step();
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
        QVERIFY(issue->isEnabled());
        withDialog([&] { issue->trigger(); }, "cmdShow");
        withDialog([&] { window.mnuPurchaseReport->trigger(); }, "cmdShow");
        QVERIFY(!issue->isEnabled() && !stock->isEnabled());
        QVERIFY(window.mnuPurchaseReport->isEnabled());
        QList<ReportWindow*> open = reportWindows(*window.mdiArea);
        QCOMPARE(open.size(), 3);

        closeReport(open[0]); // the stock report
        QVERIFY(stock->isEnabled());
        QVERIFY(!issue->isEnabled());
        open = reportWindows(*window.mdiArea);
        QCOMPARE(shownColumn(*open[0], "IssueNo"), QStringList { "I00001" });
        closeReport(open[0]);
        QVERIFY(issue->isEnabled());
        QCOMPARE(shownColumn(*reportWindows(*window.mdiArea).at(0), "PurchaseOrder"), QStringList { "PO-1" });
        QVERIFY(messages.texts().isEmpty());
    }
};

QTEST_MAIN(ReportEntriesTest)
#include "test_reportentries.moc"
