// The main window: menus, toolbar and status bar as the operator finds them,
// every entry and button reaching its form, one window per form, the two
// toggles, the report entries and the end of the program.
#include "shell/clocktext.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/frmabout.h"
#include "shell/module1.h"
#include "support/formdriver.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace zelva;
using Kind = frmZelvaBillingSystem::ReportKind;

namespace {

// Runs the step; when it opens a modal dialog, notes the dialog's objectName
// and caption ("frmabout|About") and closes it as its Close button would.
QString closeModalOpenedBy(const std::function<void()>& step)
{
    QString seen;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = dialog->objectName() + QLatin1Char('|') + dialog->windowTitle();
            dialog->reject();
        }
    });
    watcher.start();
    step();
    return seen;
}

// What a step opened: "child:<form>|<caption>", "modal:<form>|<caption>",
// "exit" or "none".
struct Outcome {
    QString modal;
    int ends = 0;
};

QString describe(frmZelvaBillingSystem& window, const QString& modal, int endsBefore, int endsAfter, int windowsBefore)
{
    if (!modal.isEmpty())
        return QStringLiteral("modal:") + modal;
    if (endsAfter > endsBefore)
        return QStringLiteral("exit");
    QMdiSubWindow* active = window.mdiArea->activeSubWindow();
    if (window.mdiArea->subWindowList().size() > windowsBefore && active)
        return QStringLiteral("child:%1|%2").arg(active->widget()->objectName(), active->windowTitle());
    return QStringLiteral("none");
}

QToolButton* buttonOf(frmZelvaBillingSystem& window, QAction* action)
{
    return qobject_cast<QToolButton*>(window.Toolbar1->widgetForAction(action));
}

QStringList namesOf(const QList<QAction*>& actions)
{
    QStringList names;
    for (QAction* action : actions)
        names << action->objectName();
    return names;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempData> m_data;
    std::unique_ptr<frmZelvaBillingSystem> m_window;
    int m_ends = 0;

    frmZelvaBillingSystem& window() { return *m_window; }

    QString runAndDescribe(const std::function<void()>& step)
    {
        const int ends = m_ends;
        const int windows = int(window().mdiArea->subWindowList().size());
        const QString modal = closeModalOpenedBy(step);
        QApplication::processEvents();
        return describe(window(), modal, ends, m_ends, windows);
    }

private slots:
    void init()
    {
        m_ends = 0;
        SetEndProgramHook([this] { ++m_ends; });
        m_data = std::make_unique<testing::TempData>();
        m_window = std::make_unique<frmZelvaBillingSystem>(*m_data->db);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_data.reset();
        SetEndProgramHook({});
    }

    void caption() { QCOMPARE(window().windowTitle(), QString("Zelva Billing System")); }

    void menuLayout()
    {
        QStringList menus;
        for (QAction* top : window().menuBar()->actions())
            menus << top->menu()->objectName() + QLatin1Char('=') + top->text();
        QCOMPARE(menus,
            (QStringList { "mnuInvoice=&Invoice", "mnuUpdate=&Update", "mnuReport=&Report", "mnuTools=&Tools",
                "mnuWindow=&Window", "mnuHelp=&Help" }));
        QCOMPARE(namesOf(window().mnuInvoice->actions()),
            (QStringList { "mnuNewInvoice", "mnuNewInvoice1", "mnue", "mnuPrintInvoice" }));
        QCOMPARE(namesOf(window().mnuUpdate->actions()),
            (QStringList { "mnuNewCustomer", "mnud", "mnuStockEntry", "mnuA", "mnuIssueRegister", "mnuPurchaseRegister",
                "mnui", "mnuCompanyDetails" }));
        QCOMPARE(namesOf(window().mnuReport->actions()),
            (QStringList { "mnuMonthlyReport", "mnuYearlyReport", "mnuh", "mnuPurchaseReport", "mnuIssueReport",
                "mnuSalesReport", "mnuStockReport", "mnuStockReportNill" }));
        QCOMPARE(namesOf(window().mnuTools->actions()), (QStringList { "mnuShowToolbar", "mnug", "mnuShowStatusbar" }));
        QCOMPARE(namesOf(window().mnuWindow->actions()), QStringList { "mnuExit" });
        QCOMPARE(namesOf(window().mnuHelp->actions()), (QStringList { "mnuAbout", "mnuB", "mnuContent" }));
        for (const char* line : { "mnue", "mnud", "mnuA", "mnui", "mnuh", "mnug", "mnuB" })
            QVERIFY2(window().findChild<QAction*>(line)->isSeparator(), line);
    }

    void menuEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("outcome");

        auto row = [](const char* name, const char* caption, const char* shortcut, bool enabled, const char* outcome,
                       bool checked = false) {
            QTest::newRow(name) << name << caption << shortcut << enabled << checked << outcome;
        };
        row("mnuNewInvoice", "&New Invoice", "F7", true, "child:frmTaxInvoice|Tax Invoice");
        row("mnuNewInvoice1", "New Invoice1", "Shift+F7", false, "none");
        row("mnuPrintInvoice", "&Print Duplicate Invoice", "F8", false, "none");
        row("mnuNewCustomer", "New Customer", "F3", true,
            "child:frmBuyerDetails|Add New Buyer or Update Existing Buyer Details");
        row("mnuStockEntry", "&Stock Entry", "F2", true, "child:frmStockEntry|Stock Entry");
        row("mnuIssueRegister", "Issue Register", "F5", true, "child:frmIssueRegister|Issue Register");
        row("mnuPurchaseRegister", "Purchase Register", "F4", true, "child:frmPurchase|Purchase Register");
        row("mnuCompanyDetails", "&Company Details", "F6", false, "none");
        row("mnuMonthlyReport", "Monthly Report", "Ctrl+F7", true, "child:frmMonthlyReport|Monthly Report");
        row("mnuYearlyReport", "Yearly Report", "Ctrl+F8", true, "child:frmYearlyReport|Yearly Report");
        row("mnuPurchaseReport", "Purchase Report", "Ctrl+F4", true, "modal:frmPurchaseReport|Purchase Report");
        row("mnuIssueReport", "Issue Report", "Ctrl+F5", true, "modal:frmIssueReport|Issue Report");
        row("mnuSalesReport", "Sales Report", "", true, "none");
        row("mnuStockReport", "Stock Report", "", true, "modal:frmStockReport|Current Stock");
        row("mnuStockReportNill", "Stock Report for Nill Item", "", false, "none");
        row("mnuShowToolbar", "Show - Hide Toolbar", "F9", true, "none", true);
        row("mnuShowStatusbar", "Show - Hide Statusbar", "Ctrl+F9", true, "none", true);
        row("mnuExit", "E&xit", "Ctrl+Q", true, "exit");
        row("mnuAbout", "&About", "Ctrl+A", true, "modal:frmabout|About");
        row("mnuContent", "&Content", "F1", true, "none");
    }

    // Each entry as designed, chosen from its menu and by its shortcut key.
    void menuEntries()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        QFETCH(bool, checked);
        QFETCH(QString, outcome);

        QAction* entry = window().findChild<QAction*>(name);
        QVERIFY(entry);
        QCOMPARE(entry->text(), caption);
        QCOMPARE(entry->shortcut().toString(), shortcut);
        QCOMPARE(entry->isEnabled(), enabled);
        QVERIFY(entry->isVisible()); // unavailable entries are shown greyed
        QCOMPARE(entry->isChecked(), checked);

        QCOMPARE(runAndDescribe([&] { entry->trigger(); }), outcome);
        if (shortcut.isEmpty() || outcome == u"none")
            return;
        for (QMdiSubWindow* child : window().mdiArea->subWindowList())
            child->close();
        QApplication::setActiveWindow(&window());
        QApplication::processEvents();
        const QKeySequence keys(shortcut);
        QCOMPARE(
            runAndDescribe([&] { QTest::keyClick(&window(), Qt::Key(keys[0].key()), keys[0].keyboardModifiers()); }),
            outcome);
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("outcome");
        const struct {
            const char* tip;
            const char* outcome;
        } buttons[] = {
            { "New Tax Invoice", "child:frmTaxInvoice|Tax Invoice" },
            { "Print Duplicate Invoice", "child:frmPrintInvoice|Print Invoice" },
            { nullptr, nullptr },
            { "Add New Customer (CRM)", "child:frmBuyerDetails|Add New Buyer or Update Existing Buyer Details" },
            { "Add New Item (Stock Update)", "child:frmStockEntry|Stock Entry" },
            { "All Purchase Entry", "child:frmPurchase|Purchase Register" },
            { "Issue Register", "child:frmIssueRegister|Issue Register" },
            { "Update Company Details", "child:frmCompany|Company Details" },
            { nullptr, nullptr },
            { "Monthly Report", "child:frmMonthlyReport|Monthly Report" },
            { "Yearly Report", "child:frmYearlyReport|Yearly Report" },
            { nullptr, nullptr },
            { "Purchase Report", "modal:frmPurchaseReport|Purchase Report" },
            { "Issue Report", "modal:frmIssueReport|Issue Report" },
            { nullptr, nullptr },
            { "Show - Hide Toolbar", "none" },
            { "Show - Hide Statusbar", "none" },
            { nullptr, nullptr },
            { "Exit", "exit" },
            { nullptr, nullptr },
            { "About", "modal:frmabout|About" },
            { "Help", "none" },
        };
        int index = 0;
        for (const auto& b : buttons) {
            ++index;
            QTest::addRow("%d %s", index, b.tip ? b.tip : "separator")
                << index << QString::fromUtf8(b.tip ? b.tip : "") << QString::fromUtf8(b.outcome ? b.outcome : "");
        }
    }

    // Each button in its place with its tool tip, clicked, reaching the same
    // procedure as the menu entry (Print Duplicate Invoice and Company
    // Details are reached only here).
    void toolbarButtons()
    {
        QFETCH(int, index);
        QFETCH(QString, toolTip);
        QFETCH(QString, outcome);

        const QList<QAction*> buttons = window().toolbarButtons();
        QCOMPARE(buttons.size(), 22);
        QCOMPARE(window().Toolbar1->actions(), buttons);
        QAction* button = buttons[index - 1];
        if (toolTip.isEmpty()) {
            QVERIFY(button->isSeparator());
            return;
        }
        QCOMPARE(button->toolTip(), toolTip);
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->isEnabled());
        QToolButton* tool = buttonOf(window(), button);
        QVERIFY(tool);
        QCOMPARE(runAndDescribe([&] { QTest::mouseClick(tool, Qt::LeftButton); }), outcome);
    }

    void separatorsDispatchNothing()
    {
        for (int index : { 0, 3, 9, 23, 99 })
            window().Toolbar1_ButtonClick(index);
        QVERIFY(window().mdiArea->subWindowList().isEmpty());
        QCOMPARE(m_ends, 0);
    }

    void oneWindowPerForm()
    {
        window().mnuStockEntry->trigger();
        QMdiSubWindow* stock = window().mdiArea->activeSubWindow();
        window().mnuMonthlyReport->trigger();
        QVERIFY(window().mdiArea->activeSubWindow() != stock);
        window().mnuStockEntry->trigger();
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QTest::mouseClick(buttonOf(window(), window().findChild<QAction*>("btnStockEntry")), Qt::LeftButton);
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QCOMPARE(window().mdiArea->subWindowList().size(), 2);
        QCOMPARE(window().childWindow("frmStockEntry"), stock);

        // A minimised window comes back too.
        stock->showMinimized();
        window().mnuMonthlyReport->trigger();
        window().mnuStockEntry->trigger();
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QVERIFY(!stock->isMinimized());
    }

    // A closed form is gone; asking again opens it afresh.
    void closedWindowOpensAgain()
    {
        window().mnuYearlyReport->trigger();
        QPointer<QMdiSubWindow> first = window().childWindow("frmYearlyReport");
        first->close();
        QApplication::processEvents();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!window().childWindow("frmYearlyReport"));
        window().mnuYearlyReport->trigger();
        QVERIFY(window().childWindow("frmYearlyReport"));
    }

    // A form that closes itself (its own Close button) leaves no empty frame behind.
    void formClosingItselfRemovesItsWindow()
    {
        window().mnuNewCustomer->trigger();
        QMdiSubWindow* frame = window().childWindow("frmBuyerDetails");
        QVERIFY(frame);
        frame->widget()->close();
        QApplication::processEvents();
        QTRY_VERIFY(!window().childWindow("frmBuyerDetails"));
        window().mnuNewCustomer->trigger();
        QVERIFY(window().childWindow("frmBuyerDetails"));
        QVERIFY(window().childWindow("frmBuyerDetails")->isVisible());
    }

    void windowMenuListsOpenChildren()
    {
        window().mnuStockEntry->trigger();
        window().mnuYearlyReport->trigger();
        emit window().mnuWindow->aboutToShow();
        QStringList texts;
        for (QAction* entry : window().mnuWindow->actions())
            texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        QCOMPARE(texts, (QStringList { "E&xit", "-", "&1 Stock Entry", "&2 Yearly Report" }));
        QAction* stockEntry = window().mnuWindow->actions().at(2);
        QAction* yearly = window().mnuWindow->actions().at(3);
        QVERIFY(yearly->isChecked());
        stockEntry->trigger();
        QCOMPARE(window().mdiArea->activeSubWindow(), window().childWindow("frmStockEntry"));

        for (QMdiSubWindow* child : window().mdiArea->subWindowList())
            child->close();
        QApplication::processEvents();
        emit window().mnuWindow->aboutToShow();
        QCOMPARE(namesOf(window().mnuWindow->actions()), QStringList { "mnuExit" });
    }

    void toolbarToggleTwice()
    {
        QAction* entry = window().mnuShowToolbar;
        QAction* button = window().findChild<QAction*>("btnShowToolbar");
        entry->trigger();
        QVERIFY(window().Toolbar1->isHidden());
        QCOMPARE(entry->text(), QString("Show Toolbar"));
        QVERIFY(!entry->isChecked());
        QVERIFY(!button->isChecked());
        QTest::keyClick(&window(), Qt::Key_F9);
        QVERIFY(!window().Toolbar1->isHidden());
        QCOMPARE(entry->text(), QString("Hide Toolbar"));
        QVERIFY(entry->isChecked());
        QVERIFY(button->isChecked());
    }

    // The toolbar's own button hides it; only the menu brings it back.
    void toolbarHiddenByItsOwnButton()
    {
        QAction* button = window().findChild<QAction*>("btnShowToolbar");
        QTest::mouseClick(buttonOf(window(), button), Qt::LeftButton);
        QVERIFY(window().Toolbar1->isHidden());
        QVERIFY(!button->isChecked());
        QCOMPARE(window().mnuShowToolbar->text(), QString("Show Toolbar"));
        window().mnuShowToolbar->trigger();
        QVERIFY(!window().Toolbar1->isHidden());
        QVERIFY(button->isChecked());
    }

    void statusbarToggleTwice()
    {
        QAction* entry = window().mnuShowStatusbar;
        QAction* button = window().findChild<QAction*>("btnShowStatusbar");
        QTest::mouseClick(buttonOf(window(), button), Qt::LeftButton);
        QVERIFY(window().StatusBar1->isHidden());
        QCOMPARE(entry->text(), QString("Show Statusbar"));
        QVERIFY(!entry->isChecked());
        QVERIFY(!button->isChecked());
        entry->trigger();
        QVERIFY(!window().StatusBar1->isHidden());
        QCOMPARE(entry->text(), QString("Hide Statusbar"));
        QVERIFY(entry->isChecked());
        QVERIFY(button->isChecked());
    }

    void statusPanels()
    {
        frmZelvaBillingSystem fresh(*m_data->db);
        const QStringList initial { "System Time", "User Name", "Calendar", "NUM", "CAPS", "User Name" };
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(fresh.panel(n)->text(), initial[n - 1]);

        fresh.Timer1_Timer();
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(fresh.panel(1)->text() == LongTimeText(now.time())
            || fresh.panel(1)->text() == LongTimeText(now.time().addSecs(-1)));
        QCOMPARE(fresh.panel(3)->text(), CalendarText(now.date()));
        // The platform here tells no lock state: the captions stay as they are.
        QCOMPARE(fresh.panel(4)->text(), QString("NUM"));
        QCOMPARE(fresh.panel(5)->text(), QString("CAPS"));
        QCOMPARE(fresh.panel(6)->text(), QString("User Name"));
        QVERIFY(fresh.Timer1->isActive());
        QVERIFY(fresh.Timer1->interval() <= 1000);
    }

    void clockTexts_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("5 December 2026") << QDate(2026, 12, 5) << "05/ 12/ 2026";
        QTest::newRow("31 January 1999") << QDate(1999, 1, 31) << "31/ 01/ 1999";
    }

    void clockTexts()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(CalendarText(date), text);
    }

    void longTimeHasSecondsAndNoZone()
    {
        const QTime time(20, 5, 9);
        QCOMPARE(LongTimeText(time, QLocale(QLocale::English, QLocale::UnitedStates)), QString("8:05:09 PM"));
        QCOMPARE(LongTimeText(time, QLocale(QLocale::German, QLocale::Germany)), QString("20:05:09"));
    }

    // The Stock Report and Issue Report entries are unavailable exactly while a
    // report window of their kind is open.
    void reportEntries()
    {
        QAction* stock = window().mnuStockReport;
        QAction* issue = window().mnuIssueReport;

        // Closing the selection dialog without a report leaves the entry available.
        QCOMPARE(runAndDescribe([&] { stock->trigger(); }), QString("modal:frmStockReport|Current Stock"));
        QVERIFY(stock->isEnabled());
        QCOMPARE(runAndDescribe([&] { issue->trigger(); }), QString("modal:frmIssueReport|Issue Report"));
        QVERIFY(issue->isEnabled());

        window().reportWindowOpened(Kind::Stock);
        QVERIFY(!stock->isEnabled());
        QVERIFY(issue->isEnabled());
        window().reportWindowClosed(Kind::Stock);
        QVERIFY(stock->isEnabled());

        // Two issue reports open (the toolbar button opens the dialog whatever
        // the entry's state): the entry comes back when the last one closes.
        window().reportWindowOpened(Kind::Issue);
        QVERIFY(!issue->isEnabled());
        QAction* issueButton = window().findChild<QAction*>("btnIssueReport");
        QCOMPARE(runAndDescribe([&] { QTest::mouseClick(buttonOf(window(), issueButton), Qt::LeftButton); }),
            QString("modal:frmIssueReport|Issue Report"));
        QVERIFY(!issue->isEnabled());
        window().reportWindowOpened(Kind::Issue);
        window().reportWindowClosed(Kind::Issue);
        QVERIFY(!issue->isEnabled());
        window().reportWindowClosed(Kind::Issue);
        QVERIFY(issue->isEnabled());
        window().reportWindowClosed(Kind::Issue); // one close too many changes nothing
        window().reportWindowOpened(Kind::Issue);
        QVERIFY(!issue->isEnabled());
        QVERIFY(stock->isEnabled());
    }

    void closeBoxEndsTheProgram()
    {
        window().mnuNewInvoice->trigger();
        window().close();
        QCOMPARE(m_ends, 1);
    }

    void aboutBox()
    {
        frmabout about(&window());
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(about.cmdok->text(), QString("&Close"));
        QCOMPARE(about.cmdok->toolTip(), QString("Close this Window"));
        QCOMPARE(about.lblTitle->text(), QString("Zelva Billing System"));
        QVERIFY(about.lblVersion->text().contains(ApplicationVersion()));
        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        about.show();
        testing::click(about.cmdok);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
