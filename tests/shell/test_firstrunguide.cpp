// The first-run guide in the empty main window: its steps ticked as the
// company and a buyer are saved on their forms, each button opening its
// form, behind every child window; gone once the books are set up, and for
// good when dismissed, even after the window is made again.
#include "data/database.h"
#include "shell/firstrunguide.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "support/formdriver.h"
#include "support/testdata.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

using namespace zelva;
using namespace testing;

namespace {

QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "ZelvaBilling", "ZelvaBilling");
}

// The steps ticked, one letter a step: "x" done, "." not yet.
QString ticks(const FirstRunGuide& guide)
{
    QString shown;
    for (const QLabel* done : guide.lblGuideDone)
        shown += done->text().isEmpty() ? '.' : 'x';
    return shown;
}

QString activeForm(frmZelvaBillingSystem& window)
{
    QMdiSubWindow* active = window.mdiArea->activeSubWindow();
    return active ? active->widget()->objectName() : QString();
}

// Types into the named boxes of the form in front and saves it as new.
void saveNew(frmZelvaBillingSystem& window, const std::vector<std::pair<QString, QString>>& boxes)
{
    QWidget* form = window.mdiArea->activeSubWindow()->widget();
    if (!need<QPushButton>(form, "cmdNew")->isEnabled()) // the company form opens with New off until Show
        click(need<QPushButton>(form, "cmdShow"));
    click(need<QPushButton>(form, "cmdNew"));
    for (const auto& [name, text] : boxes) {
        if (auto* lines = child<QPlainTextEdit>(form, name))
            typeInto(lines, text);
        else
            typeInto(need(form, name), text);
    }
    focusOut(need(form, boxes.front().first));
    click(need<QPushButton>(form, "cmdSave"));
}

} // namespace

class FirstRunGuideTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TempData> m_data;
    std::unique_ptr<frmZelvaBillingSystem> m_window;

    frmZelvaBillingSystem& openWindow()
    {
        m_window = std::make_unique<frmZelvaBillingSystem>(*m_data->db);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        [&] { QVERIFY(QTest::qWaitForWindowActive(m_window.get())); }();
        return *m_window;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        SetEndProgramHook([] {});
        userSettings().remove(FirstRunGuide::DismissedKey);
        m_data = std::make_unique<TempData>();
    }
    void cleanup()
    {
        m_window.reset();
        m_data.reset();
        userSettings().remove(FirstRunGuide::DismissedKey);
        SetEndProgramHook({});
    }

    void ticksFollowTheSavedForms()
    {
        MessageRecorder messages;
        Answers answers(true);
        frmZelvaBillingSystem& window = openWindow();
        FirstRunGuide& guide = *window.firstRunGuide;
        QVERIFY(guide.isVisible());
        QCOMPARE(ticks(guide), QString("....."));

        click(guide.cmdGuideStep[0]);
        QCOMPARE(activeForm(window), QString("frmCompany"));
        saveNew(window, {{"txtName", "Zelva Traders"}, {"txtAddress", "4 Market Road"}, {"txtState", "Tamil Nadu"}});
        QVERIFY2(messages.texts().contains("Saved Successfully"), qPrintable(messages.texts().join('|')));
        QCOMPARE(ticks(guide), QString("x...."));
        // it stays behind the company form
        const QObjectList stacked = window.mdiArea->viewport()->children();
        QVERIFY(stacked.indexOf(&guide) < stacked.indexOf(window.mdiArea->activeSubWindow()));

        click(guide.cmdGuideStep[1]);
        QCOMPARE(activeForm(window), QString("frmBuyerDetails"));
        saveNew(window, {{"txtName", "Arun Stores"}});
        QCOMPARE(ticks(guide), QString("xx..."));
        QVERIFY(guide.isVisible());

        click(guide.cmdGuideStep[2]);
        QCOMPARE(activeForm(window), QString("frmStockEntry"));
        click(guide.cmdGuideStep[4]);
        QCOMPARE(activeForm(window), QString("frmTaxInvoice"));
    }

    // An item and an invoice saved elsewhere: the guide goes when the window comes back.
    void goesOnceTheBooksAreSetUp()
    {
        Database& db = *m_data->db;
        db.run("INSERT INTO Master.Company (Name, State, sno, CompanyId) VALUES ('Zelva', 'Kerala', 1, 'C00001')", {},
               "add the company", DbFile::Master);
        db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name) VALUES (1, 'C00001', 'Asha')", {}, "add a buyer",
               DbFile::Customer);
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (1, 'G00001', 'Pen', 4)", {},
               "add an item", DbFile::ItemStock);
        frmZelvaBillingSystem& window = openWindow();
        QVERIFY(window.firstRunGuide->isVisible());
        QCOMPARE(ticks(*window.firstRunGuide), QString("xxx.."));
        db.run("INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, InvoiceDate) VALUES (1, 'A00001', '08/12/2026')", {},
               "add an invoice", DbFile::Invoice);
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!window.firstRunGuide->isVisible());
    }

    void dismissedStaysDismissed()
    {
        frmZelvaBillingSystem& window = openWindow();
        QVERIFY(window.firstRunGuide->isVisible());
        click(window.firstRunGuide->cmdGuideDismiss);
        QVERIFY(!window.firstRunGuide->isVisible());
        m_window.reset();
        frmZelvaBillingSystem& again = openWindow();
        QVERIFY(!again.firstRunGuide->isVisible());
        QCOMPARE(ticks(*again.firstRunGuide), QString(".....")); // still kept up to date, only not shown
    }
};

QTEST_MAIN(FirstRunGuideTest)
#include "test_firstrunguide.moc"
