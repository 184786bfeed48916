// The main window: every entry and toolbar button reaching its form, one
// window per form, the clock texts and the end of the program.
#include "platform/shownvalues.h"
#include "support/testserver.h"
#include "shell/clocktext.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "support/formdriver.h"
#include "ui/message.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QHeaderView>
#include <QScrollArea>
#include <QSettings>
#include <QTableView>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

using namespace zelva;

namespace {

// Runs the step; when it opens a modal dialog, notes the dialog's objectName
// and closes it as its Close button would.
QString closeModalOpenedBy(const std::function<void()>& step)
{
    QString seen;
    testing::withModal(step, [&](QDialog* dialog) {
        seen = dialog->objectName();
        dialog->reject();
    });
    return seen;
}

// What a step opened: "child:<form>", "modal:<form>", "exit" or "none".
QString describe(frmZelvaBillingSystem& window, const QString& modal, int endsBefore, int endsAfter, int windowsBefore)
{
    if (!modal.isEmpty())
        return QStringLiteral("modal:") + modal;
    if (endsAfter > endsBefore)
        return QStringLiteral("exit");
    QMdiSubWindow* active = window.mdiArea->activeSubWindow();
    if (window.mdiArea->subWindowList().size() > windowsBefore && active)
        return QStringLiteral("child:") + active->widget()->objectName();
    return QStringLiteral("none");
}

QToolButton* buttonOf(frmZelvaBillingSystem& window, QAction* action)
{
    return qobject_cast<QToolButton*>(window.Toolbar1->widgetForAction(action));
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempData> m_data;
    std::unique_ptr<frmZelvaBillingSystem> m_window;
    int m_ends = 0;
    std::unique_ptr<testing::Answers> m_answers; // the operator's answers to the questions put

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
        m_answers = std::make_unique<testing::Answers>(false);
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
        m_answers.reset();
    }

    // Each menu entry reaches its form (an unavailable one nothing); each
    // toolbar button reaches what the entry of the same name does (Company
    // Details only from here).
    void entriesAndButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("opens"); // what its procedure opens, available or not
        for (auto [name, opens] : {std::pair{"mnuNewInvoice", "child:frmTaxInvoice"},
                 {"mnuNewInvoice1", "child:frmTaxInvoiceSeperateGst"}, {"mnuPrintInvoice", "child:frmPrintInvoice"},
                 {"mnuNewCustomer", "child:frmBuyerDetails"}, {"mnuStockEntry", "child:frmStockEntry"},
                 {"mnuIssueRegister", "child:frmIssueRegister"}, {"mnuPurchaseRegister", "child:frmPurchase"},
                 {"mnuCompanyDetails", "child:frmCompany"}, {"mnuMonthlyReport", "child:frmMonthlyReport"},
                 {"mnuYearlyReport", "child:frmYearlyReport"}, {"mnuPurchaseReport", "modal:frmPurchaseReport"},
                 {"mnuIssueReport", "modal:frmIssueReport"}, {"mnuSalesReport", "child:frmSalesReport"},
                 {"mnuStockReport", "modal:frmStockReport"}, {"mnuStockReportNill", "none"}, // " Nothing to show"
                 {"mnuExit", "exit"}, {"mnuAbout", "modal:frmabout"}, {"mnuContent", "none"}})
            QTest::newRow(name) << QString(name) << (QString(name) != "mnuCompanyDetails") << QString(opens);
    }
    void entriesAndButtons()
    {
        testing::MessageRecorder messages; // " Nothing to show" and the like are no window
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        QFETCH(QString, opens);
        QAction* entry = window().findChild<QAction*>(name);
        QVERIFY(entry && entry->isVisible()); // unavailable entries are shown greyed
        QCOMPARE(entry->isEnabled(), enabled);
        QCOMPARE(runAndDescribe([&] { entry->trigger(); }), enabled ? opens : QString("none"));
        const QString buttonName = name == u"mnuContent" ? QString("btnHelp") : "btn" + name.mid(3);
        if (QAction* button = window().findChild<QAction*>(buttonName)) {
            for (QMdiSubWindow* child : window().mdiArea->subWindowList())
                child->close();
            QApplication::setActiveWindow(&window());
            QApplication::processEvents();
            QCOMPARE(runAndDescribe([&] { QTest::mouseClick(buttonOf(window(), button), Qt::LeftButton); }), opens);
        }
    }

    // Alt and a letter in a child window presses that window's button (or
    // goes to the box a label leads to), never opens a menu of the menu bar
    // instead; nor do two controls of one window share a letter. Every child
    // window that a menu entry or toolbar button opens is walked, and a report
    // window too.
    void accessKeysLeaveTheMenuBarAlone()
    {
        ON_FILES_ONLY();
        testing::MessageRecorder messages;
        m_data->db->run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (1, 'G00001', "
                        "'Bolt', 0)",
            {}, "add an item none of which is left", DbFile::ItemStock);
        QMap<QKeySequence, QString> menuBar;
        for (QAction* menu : window().menuBar()->actions())
            if (!QKeySequence::mnemonic(menu->text()).isEmpty())
                menuBar.insert(QKeySequence::mnemonic(menu->text()), menu->text());
        QCOMPARE(menuBar.size(), 6);

        const QStringList leftOut{"mnuExit", "btnExit", "mnuBackUpData", "mnuRestoreData"};
        for (QAction* entry : window().findChildren<QAction*>()) {
            if (entry->isCheckable() || entry->menu() || leftOut.contains(entry->objectName()))
                continue;
            closeModalOpenedBy([&] { entry->trigger(); });
        }
        QStringList windows;
        QStringList clashes;
        for (QMdiSubWindow* child : window().mdiArea->subWindowList()) {
            const QWidget* form = child->widget();
            windows << (form->objectName().isEmpty() ? form->metaObject()->className() : form->objectName());
            QMap<QKeySequence, QString> own;
            const auto note = [&](const QString& text) {
                const QKeySequence key = QKeySequence::mnemonic(text);
                if (key.isEmpty())
                    return;
                if (menuBar.contains(key))
                    clashes << child->windowTitle() + ": " + text + " / menu " + menuBar.value(key);
                if (own.contains(key))
                    clashes << child->windowTitle() + ": " + text + " / " + own.value(key);
                own.insert(key, text);
            };
            for (QAbstractButton* button : child->widget()->findChildren<QAbstractButton*>())
                note(button->text());
            for (QLabel* label : child->widget()->findChildren<QLabel*>())
                if (label->buddy())
                    note(label->text());
        }
        QVERIFY2(windows.size() >= 11 && windows.contains("zelva::ReportWindow"), qPrintable(windows.join(' ')));
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
    }

    // With a menu open, Alt and a letter (or the letter alone) picks one entry:
    // no two entries of one menu share an access key. Every menu of the menu
    // bar is walked as the operator opens it (the Window menu with windows
    // open, so that it lists them too), entries added beside the first set
    // (suppliers, input tax) included.
    void menuEntriesKeepTheirOwnKeys()
    {
        ON_FILES_ONLY();
        testing::MessageRecorder messages;
        for (QAction* entry : {window().mnuMonthlyReport, window().mnuYearlyReport, window().mnuSalesReport})
            closeModalOpenedBy([&] { entry->trigger(); });
        QStringList clashes;
        int menus = 0;
        for (QAction* bar : window().menuBar()->actions()) {
            QMenu* menu = bar->menu();
            if (!menu)
                continue;
            ++menus;
            emit menu->aboutToShow(); // as opening it does: the Window menu lists the open windows
            QMap<QKeySequence, QString> own;
            for (QAction* entry : menu->actions()) {
                const QKeySequence key = QKeySequence::mnemonic(entry->text());
                if (entry->isSeparator() || key.isEmpty())
                    continue;
                if (own.contains(key))
                    clashes << bar->text() + ": " + entry->text() + " / " + own.value(key);
                own.insert(key, entry->text());
            }
            QVERIFY2(!own.isEmpty(), qPrintable(bar->text()));
        }
        QCOMPARE(menus, 6);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
    }

    // In a main window of 1024 by 720 a report window opens wholly inside
    // the work area, at most its size, with other windows open before it:
    // its Close button can be reached.
    void reportWindowInsideTheWorkArea()
    {
        ON_FILES_ONLY();
        testing::MessageRecorder messages;
        m_data->db->run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (1, 'G00001', "
                        "'Bolt', 0)",
            {}, "add an item none of which is left", DbFile::ItemStock);
        window().resize(1024, 720);
        QApplication::processEvents();
        for (QAction* entry : {window().mnuStockEntry, window().mnuNewInvoice, window().mnuSalesReport})
            entry->trigger();
        window().mnuStockReportNill->trigger();
        QMdiSubWindow* report = window().mdiArea->activeSubWindow();
        QVERIFY(report && QByteArray(report->widget()->metaObject()->className()) == "zelva::ReportWindow");
        const QRect workArea = window().mdiArea->viewport()->rect();
        QVERIFY2(workArea.contains(report->geometry()),
            qPrintable(QString("%1,%2 %3x%4 in %5x%6").arg(report->x()).arg(report->y()).arg(report->width())
                    .arg(report->height()).arg(workArea.width()).arg(workArea.height())));
        auto* close = report->widget()->findChild<QPushButton*>("cmdClose");
        QVERIFY(close->isVisible());
        QVERIFY(workArea.contains(QRect(close->mapTo(window().mdiArea->viewport(), QPoint(0, 0)), close->size())));
    }

    // The main window opens maximised the first time, then as it was left. A
    // child window opens at the size that shows its page or its whole grid
    // where the work area allows (the Credit Note's page across, the GSTR-3B
    // worksheet's every column), and no larger than the work area.
    void windowsFitTheirWork()
    {
        ON_FILES_ONLY();
        QSettings(QSettings::IniFormat, QSettings::UserScope, "ZelvaBilling", "ZelvaBilling")
            .remove(frmZelvaBillingSystem::GeometryKey);
        {
            frmZelvaBillingSystem first(*m_data->db);
            first.showAsLeft();
            QVERIFY(first.isMaximized());
            first.showNormal();
            first.setGeometry(30, 40, 700, 500);
            first.close();
        }
        {
            frmZelvaBillingSystem again(*m_data->db);
            again.showAsLeft();
            QVERIFY(!again.isMaximized());
            QCOMPARE(again.size(), QSize(700, 500));
        }

        window().resize(1366, 900);
        QApplication::processEvents();
        const QRect workArea = window().mdiArea->viewport()->rect();
        window().mnuCreditNote->trigger();
        QMdiSubWindow* note = window().mdiArea->activeSubWindow();
        auto* page = note->widget()->findChild<QWidget*>("notePage");
        auto* scroll = qobject_cast<QScrollArea*>(page->parentWidget()->parentWidget());
        QVERIFY(workArea.contains(note->geometry()));
        QVERIFY2(scroll->viewport()->width() >= page->width(),
                 qPrintable(QString("%1 of %2").arg(scroll->viewport()->width()).arg(page->width())));
        QCOMPARE(note->height(), workArea.height()); // the page is taller than the work area
        window().findChild<QAction*>("mnuGstr3b")->trigger();
        QMdiSubWindow* worksheet = window().mdiArea->activeSubWindow();
        auto* grid = worksheet->widget()->findChild<QTableView*>("grdWorksheet");
        QVERIFY(workArea.contains(worksheet->geometry()));
        QVERIFY2(grid->viewport()->width() >= grid->horizontalHeader()->length(),
                 qPrintable(QString("%1 of %2").arg(grid->viewport()->width()).arg(grid->horizontalHeader()->length())));
    }

    // One window per form: asked for again (menu, toolbar, or the Window list
    // when minimised) the open one comes forward; once closed, by its frame or
    // its own Close button, it opens afresh and the list names no closed window.
    void onePerForm_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("windows");
        const QStringList two{"mnuStockEntry", "mnuYearlyReport"};
        QTest::newRow("menu") << two + QStringList{"mnuStockEntry"} << "frmStockEntry" << 2;
        QTest::newRow("toolbar") << two + QStringList{"btnStockEntry"} << "frmStockEntry" << 2;
        QTest::newRow("window list, minimised")
            << QStringList{"mnuStockEntry", "minimise", "mnuYearlyReport", "list:Stock Entry"} << "frmStockEntry" << 2;
        QTest::newRow("frame closed") << two + QStringList{"close", "mnuYearlyReport"} << "frmYearlyReport" << 2;
        QTest::newRow("all closed") << two + QStringList{"close", "close"} << "" << 0;
        QTest::newRow("form closes itself")
            << QStringList{"mnuNewCustomer", "closeform", "mnuNewCustomer"} << "frmBuyerDetails" << 1;
    }
    void onePerForm()
    {
        ON_FILES_ONLY();
        QFETCH(QStringList, steps);
        QFETCH(QString, form);
        QFETCH(int, windows);
        for (const QString& step : steps) {
            QMdiSubWindow* active = window().mdiArea->activeSubWindow();
            if (step == u"minimise")
                active->showMinimized();
            else if (step == u"close")
                active->close();
            else if (step == u"closeform")
                active->widget()->close();
            else if (step.startsWith("list:")) {
                emit window().mnuWindow->aboutToShow();
                for (QAction* entry : window().mnuWindow->actions())
                    if (entry->text().endsWith(step.mid(5)))
                        entry->trigger();
            } else if (step.startsWith("btn"))
                QTest::mouseClick(buttonOf(window(), window().findChild<QAction*>(step)), Qt::LeftButton);
            else
                window().findChild<QAction*>(step)->trigger();
            QTest::qWait(0);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(window().mdiArea->subWindowList().size(), windows);
        emit window().mnuWindow->aboutToShow();
        QCOMPARE(window().mnuWindow->actions().size(), windows ? windows + 2 : 1); // Exit, a line, the windows
        if (form.isEmpty())
            return;
        QMdiSubWindow* active = window().mdiArea->activeSubWindow();
        QVERIFY(active && active->isVisible() && !active->isMinimized());
        QCOMPARE(active->widget()->objectName(), form);
    }

    // The calendar as "dd/ mm/ yyyy"; the long time with seconds, without a
    // time zone, in the locale's layout but Latin digits and AM/PM, which
    // every installed font has.
    void clockTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English") << "en_US" << "8:05:09 PM";
        QTest::newRow("Tamil") << "ta_IN" << "PM 8:05:09";
        QTest::newRow("Arabic") << "ar_EG" << "8:05:09 PM";
        QTest::newRow("Persian") << "fa_IR" << "20:05:09";
    }
    void clockTexts()
    {
        ON_FILES_ONLY();
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QCOMPARE(CalendarText(QDate(2026, 12, 5)), QString("05/ 12/ 2026"));
        QCOMPARE(CalendarText(QDate(1999, 1, 31)), QString("31/ 01/ 1999"));
        QCOMPARE(LongTimeText(QTime(20, 5, 9), QLocale(locale)), shown);
    }

    // Keys go to the window the operator has in front: a form brought forward
    // takes the focus even when the first control of its tab chain is disabled
    // (the company list), and so does the form left in front when one closes.
    void keysReachTheWindowInFront()
    {
        ON_FILES_ONLY();
        const auto inFront = [&](const char* name) {
            QMdiSubWindow* sub = window().childWindow(name);
            return sub && window().mdiArea->activeSubWindow() == sub && sub->isAncestorOf(QApplication::focusWidget());
        };
        window().mnuNewInvoice->trigger();
        QVERIFY(inFront("frmTaxInvoice"));
        QTest::mouseClick(buttonOf(window(), window().findChild<QAction*>("btnCompanyDetails")), Qt::LeftButton);
        QVERIFY(inFront("frmCompany"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(inFront("frmCompany"));
        testing::click(window().childWindow("frmCompany")->widget()->findChild<QPushButton*>("cmdClose"));
        QTRY_VERIFY(window().childWindow("frmCompany") == nullptr);
        QVERIFY(inFront("frmTaxInvoice"));
    }

    // Indian digit grouping is the operator's choice, kept for the next start.
    void indianGroupingSetting()
    {
        ON_FILES_ONLY();
        QAction* grouping = window().mnuIndianGrouping;
        const bool before = IndianDigitGrouping();
        QCOMPARE(grouping->isChecked(), before);
        grouping->trigger();
        QCOMPARE(IndianDigitGrouping(), !before);
        QCOMPARE(frmZelvaBillingSystem(*m_data->db).mnuIndianGrouping->isChecked(), !before);
        grouping->trigger();
        QCOMPARE(IndianDigitGrouping(), before);
    }

    void closeBoxEndsTheProgram()
    {
        ON_FILES_ONLY();
        window().mnuNewInvoice->trigger();
        window().mnuStockEntry->trigger(); // open, nothing started
        window().close();
        QCOMPARE(m_ends, 1);
        QCOMPARE(m_answers->asked, QStringList());
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
        QCOMPARE(m_answers->asked.size(), 2);
        QCOMPARE(m_answers->asked[0], "The work in Stock Entry, Tax Invoice, Purchase Register is not saved. Leave without saving it?");
        QCOMPARE(window().mdiArea->activeSubWindow(), stock);
        QVERIFY(window().isVisible());

        m_answers->yes = true;
        window().mnuExit->trigger();
        QCOMPARE(m_ends, 1);
        QCOMPARE(m_answers->asked.size(), 3);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
