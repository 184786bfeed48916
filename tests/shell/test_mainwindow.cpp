// The main window: menus, toolbar and status bar as the operator finds them,
// every entry and button reaching its form, one window per form, the two
// toggles, the report entries and the end of the program.
#include "platform/shownvalues.h"
#include "shell/clocktext.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/frmabout.h"
#include "shell/module1.h"
#include "support/formdriver.h"
#include "ui/message.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
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

// What the procedure behind each menu entry opens, whether the entry is available or not.
QString opens(const QString& entry)
{
    static const QHash<QString, QString> outcomes {
        { "mnuNewInvoice", "child:frmTaxInvoice|Tax Invoice" },
        { "mnuNewInvoice1", "child:frmTaxInvoiceSeperateGst|Tax Invoice" },
        { "mnuPrintInvoice", "child:frmPrintInvoice|Print Duplicate Invoice" },
        { "mnuNewCustomer", "child:frmBuyerDetails|Add New Buyer or Update Existing Buyer Details" },
        { "mnuStockEntry", "child:frmStockEntry|Stock Entry" },
        { "mnuIssueRegister", "child:frmIssueRegister|Issue Register" },
        { "mnuPurchaseRegister", "child:frmPurchase|Purchase Register" },
        { "mnuCompanyDetails", "child:frmCompany|Company Details" },
        { "mnuMonthlyReport", "child:frmMonthlyReport|Monthly Report" },
        { "mnuYearlyReport", "child:frmYearlyReport|Yearly Report" },
        { "mnuSalesReport", "child:frmSalesReport|Sales Report" },
        { "mnuPurchaseReport", "modal:frmPurchaseReport|Purchase Report" },
        { "mnuIssueReport", "modal:frmIssueReport|Issue Report" },
        { "mnuStockReport", "modal:frmStockReport|Current Stock" },
        { "mnuExit", "exit" },
        { "mnuAbout", "modal:frmabout|About" },
    };
    return outcomes.value(entry, "none");
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
    QStringList m_asked;      // the questions put to the operator
    bool m_answerYes = false; // what the operator answers

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
    // The per-user settings go to a test folder, never the tester's own.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_ends = 0;
        SetEndProgramHook([this] { ++m_ends; });
        m_asked.clear();
        m_answerYes = false;
        SetQuestionHook([this](const QString& text, const QString&) {
            m_asked << text;
            return m_answerYes;
        });
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
        SetQuestionHook({});
    }

    void menuEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("outcome");
        auto row = [](const char* name, const char* caption, const char* shortcut, bool enabled = true,
                       bool checked = false) {
            QTest::newRow(name) << name << caption << shortcut << enabled << checked
                                << (enabled ? opens(name) : QString("none"));
        };
        row("mnuNewInvoice", "&New Invoice", "F7");
        row("mnuNewInvoice1", "New Invoice1", "Shift+F7");
        row("mnuPrintInvoice", "&Print Duplicate Invoice", "F8");
        row("mnuNewCustomer", "New Customer", "F3");
        row("mnuStockEntry", "&Stock Entry", "F2");
        row("mnuIssueRegister", "Issue Register", "F5");
        row("mnuPurchaseRegister", "Purchase Register", "F4");
        row("mnuCompanyDetails", "&Company Details", "F6", false);
        row("mnuMonthlyReport", "Monthly Report", "Ctrl+F7");
        row("mnuYearlyReport", "Yearly Report", "Ctrl+F8");
        row("mnuPurchaseReport", "Purchase Report", "Ctrl+F4");
        row("mnuIssueReport", "Issue Report", "Ctrl+F5");
        row("mnuSalesReport", "Sales Report", "");
        row("mnuStockReport", "Stock Report", "");
        row("mnuStockReportNill", "Stock Report for Nill Item", "", false);
        row("mnuShowToolbar", "Show - Hide Toolbar", "F9", true, true);
        row("mnuShowStatusbar", "Show - Hide Statusbar", "Ctrl+F9", true, true);
        row("mnuExit", "E&xit", "Ctrl+Q");
        row("mnuAbout", "&About", "Ctrl+A");
        row("mnuContent", "&Content", "F1");
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
        // Left to right: tool tip=the menu entry whose procedure it runs; "|" a separator.
        const QStringList buttons { "New Tax Invoice=mnuNewInvoice", "Print Duplicate Invoice=mnuPrintInvoice", "|",
            "Add New Customer (CRM)=mnuNewCustomer", "Add New Item (Stock Update)=mnuStockEntry",
            "All Purchase Entry=mnuPurchaseRegister", "Issue Register=mnuIssueRegister",
            "Update Company Details=mnuCompanyDetails", "|", "Monthly Report=mnuMonthlyReport",
            "Yearly Report=mnuYearlyReport", "|", "Purchase Report=mnuPurchaseReport", "Issue Report=mnuIssueReport",
            "|", "Show - Hide Toolbar=mnuShowToolbar", "Show - Hide Statusbar=mnuShowStatusbar", "|", "Exit=mnuExit",
            "|", "About=mnuAbout", "Help=mnuContent" };
        for (int index = 1; index <= buttons.size(); ++index) {
            const QStringList parts = buttons[index - 1].split('=');
            const QString tip = parts.size() == 2 ? parts[0] : QString();
            QTest::addRow("%d %s", index, tip.isEmpty() ? "separator" : qPrintable(tip))
                << index << tip << opens(parts.value(1));
        }
    }

    // Each button in its place with its tool tip, clicked, reaching the same
    // procedure as the menu entry (Company Details is reached only here).
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
            QCOMPARE(runAndDescribe([&] { window().Toolbar1_ButtonClick(index); }), QString("none"));
            return;
        }
        QCOMPARE(button->toolTip(), toolTip);
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->isEnabled());
        QToolButton* tool = buttonOf(window(), button);
        QVERIFY(tool);
        QCOMPARE(runAndDescribe([&] { QTest::mouseClick(tool, Qt::LeftButton); }), outcome);
    }

    // One window per form, brought forward (even from minimised) when asked
    // again from the menu, the toolbar or the Window menu's list.
    void oneWindowPerForm()
    {
        window().mnuStockEntry->trigger();
        QMdiSubWindow* stock = window().mdiArea->activeSubWindow();
        window().mnuYearlyReport->trigger();
        QVERIFY(window().mdiArea->activeSubWindow() != stock);
        window().mnuStockEntry->trigger();
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        window().mnuYearlyReport->trigger();
        QTest::mouseClick(buttonOf(window(), window().findChild<QAction*>("btnStockEntry")), Qt::LeftButton);
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QCOMPARE(window().mdiArea->subWindowList().size(), 2);
        QCOMPARE(window().childWindow("frmStockEntry"), stock);

        stock->showMinimized();
        window().mnuYearlyReport->trigger();
        emit window().mnuWindow->aboutToShow();
        QStringList texts;
        for (QAction* entry : window().mnuWindow->actions())
            texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text());
        QCOMPARE(texts, (QStringList { "E&xit", "-", "&1 Stock Entry", "&2 Yearly Report" }));
        QVERIFY(window().mnuWindow->actions().at(3)->isChecked());
        window().mnuWindow->actions().at(2)->trigger();
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QVERIFY(!stock->isMinimized());

        for (QMdiSubWindow* child : window().mdiArea->subWindowList())
            child->close();
        QApplication::processEvents();
        emit window().mnuWindow->aboutToShow();
        QCOMPARE(namesOf(window().mnuWindow->actions()), QStringList { "mnuExit" });
    }

    void closedWindowOpensAfresh_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("formClosesItself");
        QTest::newRow("window closed") << "mnuYearlyReport"
                                       << "frmYearlyReport" << false;
        // Its own Close button: no empty frame may stay behind.
        QTest::newRow("form closes itself") << "mnuNewCustomer"
                                            << "frmBuyerDetails" << true;
    }

    void closedWindowOpensAfresh()
    {
        QFETCH(QString, entry);
        QFETCH(QString, form);
        QFETCH(bool, formClosesItself);
        QAction* opener = window().findChild<QAction*>(entry);
        opener->trigger();
        QPointer<QMdiSubWindow> first = window().childWindow(form);
        QVERIFY(first);
        if (formClosesItself)
            first->widget()->close();
        else
            first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!window().childWindow(form));
        opener->trigger();
        QVERIFY(window().childWindow(form));
        QVERIFY(window().childWindow(form)->isVisible());
    }

    void toggles_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("hideBy");
        QTest::addColumn<QString>("showBy");
        QTest::newRow("toolbar: menu, then F9") << "Toolbar"
                                                << "mnuShowToolbar"
                                                << "F9";
        // The toolbar's own button hides it; only the menu brings it back.
        QTest::newRow("toolbar: its button, then menu") << "Toolbar"
                                                        << "btnShowToolbar"
                                                        << "mnuShowToolbar";
        QTest::newRow("statusbar: button, then menu") << "Statusbar"
                                                      << "btnShowStatusbar"
                                                      << "mnuShowStatusbar";
        QTest::newRow("statusbar: Ctrl+F9 twice") << "Statusbar"
                                                  << "Ctrl+F9"
                                                  << "Ctrl+F9";
    }

    // Each toggle twice: the bar, the entry's caption and check mark and the
    // button's pressed state follow every press.
    void toggles()
    {
        QFETCH(QString, bar);
        QFETCH(QString, hideBy);
        QFETCH(QString, showBy);
        QWidget* target = bar == u"Toolbar" ? static_cast<QWidget*>(window().Toolbar1) : window().StatusBar1;
        QAction* entry = window().findChild<QAction*>("mnuShow" + bar);
        QAction* button = window().findChild<QAction*>("btnShow" + bar);
        auto press = [&](const QString& how) {
            if (QAction* action = window().findChild<QAction*>(how); action && action == button)
                QTest::mouseClick(buttonOf(window(), button), Qt::LeftButton);
            else if (action)
                action->trigger();
            else
                QTest::keySequence(&window(), QKeySequence(how));
        };
        press(hideBy);
        QVERIFY(target->isHidden());
        QCOMPARE(entry->text(), "Show " + bar);
        QVERIFY(!entry->isChecked());
        QVERIFY(!button->isChecked());
        press(showBy);
        QVERIFY(!target->isHidden());
        QCOMPARE(entry->text(), "Hide " + bar);
        QVERIFY(entry->isChecked());
        QVERIFY(button->isChecked());
    }

    void statusPanels()
    {
        frmZelvaBillingSystem fresh(*m_data->db);
        auto texts = [&fresh] {
            QStringList all;
            for (int n = 1; n <= 6; ++n)
                all << fresh.panel(n)->text();
            return all;
        };
        QCOMPARE(texts(), (QStringList { "System Time", "User Name", "Calendar", "NUM", "CAPS", "User Name" }));

        QVERIFY(fresh.Timer1->isActive());
        fresh.Timer1_Timer();
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(fresh.panel(1)->text() == LongTimeText(now.time())
            || fresh.panel(1)->text() == LongTimeText(now.time().addSecs(-1)));
        QCOMPARE(fresh.panel(3)->text(), CalendarText(now.date()));
        // The platform here tells no lock state: the captions stay as they are.
        QCOMPARE(texts().mid(3), (QStringList { "NUM", "CAPS", "User Name" }));
    }

    // The calendar as "dd/ mm/ yyyy"; the long time with seconds, without a time zone.
    void clockTexts()
    {
        QCOMPARE(CalendarText(QDate(2026, 12, 5)), QString("05/ 12/ 2026"));
        QCOMPARE(CalendarText(QDate(1999, 1, 31)), QString("31/ 01/ 1999"));
        const QTime time(20, 5, 9);
        QCOMPARE(LongTimeText(time, QLocale(QLocale::English, QLocale::UnitedStates)), QString("8:05:09 PM"));
        QCOMPARE(LongTimeText(time, QLocale(QLocale::German, QLocale::Germany)), QString("20:05:09"));
    }

    // Indian digit grouping is the operator's choice, kept for the next start.
    void indianGroupingSetting()
    {
        QAction* grouping = window().mnuIndianGrouping;
        const bool before = IndianDigitGrouping();
        QCOMPARE(grouping->isChecked(), before);
        grouping->trigger();
        QCOMPARE(IndianDigitGrouping(), !before);
        QCOMPARE(frmZelvaBillingSystem(*m_data->db).mnuIndianGrouping->isChecked(), !before);
        grouping->trigger();
        QCOMPARE(IndianDigitGrouping(), before);
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
        window().mnuStockEntry->trigger(); // open, nothing started
        window().close();
        QCOMPARE(m_ends, 1);
        QCOMPARE(m_asked, QStringList());
    }

    // Leaving while a record is half entered asks once, naming the form; No
    // goes back to it, Yes ends the program without saving.
    void leavingWithUnsavedWorkAsksOnce()
    {
        m_data->db->run("INSERT INTO Master.Company (sno, CompanyId, Name) VALUES (1, 'C00001', 'Zelva')", {},
            "add company", DbFile::Master);
        window().mnuStockEntry->trigger();
        QMdiSubWindow* stock = window().childWindow("frmStockEntry");
        testing::click(stock->widget()->findChild<QPushButton*>("cmdNew"));
        window().mnuNewInvoice->trigger();
        testing::click(window().childWindow("frmTaxInvoice")->widget()->findChild<QPushButton*>("cmdNewInvoice"));
        window().mnuNewCustomer->trigger();
        window().mnuPurchaseRegister->trigger();
        testing::click(window().childWindow("frmPurchase")->widget()->findChild<QPushButton*>("cmdNew"));

        QTest::keyClick(&window(), Qt::Key_Q, Qt::ControlModifier);
        window().close();
        QCOMPARE(m_ends, 0);
        QCOMPARE(m_asked.size(), 2);
        QCOMPARE(m_asked[0], "The work in Stock Entry, Tax Invoice, Purchase Register is not saved. Leave without saving it?");
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QVERIFY(window().isVisible());

        m_answerYes = true;
        window().mnuExit->trigger();
        QCOMPARE(m_ends, 1);
        QCOMPARE(m_asked.size(), 3);
    }

    void aboutBox()
    {
        frmabout about(&window());
        const QStringList texts { about.windowTitle(), about.cmdok->text(), about.cmdok->toolTip(),
            about.lblTitle->text() };
        QCOMPARE(texts, (QStringList { "About", "&Close", "Close this Window", "Zelva Billing System" }));
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
