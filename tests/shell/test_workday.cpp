// A first day at the counter, through the main window: the company, a buyer and
// an item entered on their forms, then an invoice that sells from that stock.
#include "shell/frmZelvaBillingSystem.h"
#include "support/testserver.h"
#include "invoice/shop.h"
#include "support/formdriver.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

using namespace testing;
using zelva::DbFile;

class WorkdayTest : public QObject {
    Q_OBJECT

    TempData data;
    MessageRecorder messages;
    std::unique_ptr<frmZelvaBillingSystem> window;

    QWidget* form(const QString& name)
    {
        QMdiSubWindow* sub = window->childWindow(name);
        if (!sub)
            qFatal("%s is not open", qPrintable(name));
        return sub->widget();
    }
    template <typename T = QLineEdit>
    T* control(const QString& formName, const QString& name)
    {
        return need<T>(form(formName), name);
    }
    void press(const QString& formName, const QString& button) { click(control<QPushButton>(formName, button)); }
    void toolbar(const QString& toolTip)
    {
        for (QAction* action : window->toolbarButtons())
            if (action->toolTip() == toolTip)
                action->trigger();
    }
    // New, the boxes typed in (the first is the name box), Save.
    void addRecord(const QString& formName, const QList<QPair<QString, QString>>& boxes)
    {
        press(formName, "cmdNew");
        for (const auto& [box, text] : boxes) {
            if (auto* lines = child<QPlainTextEdit>(form(formName), box))
                typeInto(lines, text);
            else
                typeInto(control(formName, box), text);
        }
        focusOut(control(formName, boxes.first().first));
        messages.clear();
        press(formName, "cmdSave");
        QCOMPARE(messages.texts(), QStringList {"Saved Successfully"});
    }

private slots:
    void initTestCase()
    {
        window = std::make_unique<frmZelvaBillingSystem>(*data.db);
        window->resize(1280, 800);
        window->show();
    }

    void mastersThenInvoice()
    {
        toolbar("Update Company Details");
        press("frmCompany", "cmdShow");
        addRecord("frmCompany", {{"txtName", "Zelva Traders"}, {"txtAddress", "12 Anna Salai"}, {"txtState", "Kerala"}});

        window->mnuNewCustomer_Click();
        addRecord("frmBuyerDetails", {{"txtName", "Kochi Stores"}, {"txtState", "Kerala"}});

        window->mnuStockEntry_Click();
        addRecord("frmStockEntry", {{"txtItemName", "Laptop"}, {"txtRate", "1000"}, {"txtQuantity", "10"}});

        window->mnuNewInvoice_Click();
        messages.clear();
        sellOn(form("frmTaxInvoice"), "Kochi Stores", {{"Laptop", "2"}}, "CGST @ 9%");
        QCOMPARE(messages.texts(), QStringList {"Saved Successfully"});

        const auto invoice = rowsInFile(data.folder(), DbFile::Invoice,
            "SELECT b.InvoiceNo, b.SalerCompany, b.BuyerName, b.buyerstate, g.DescriptionOfGoods1, g.Amount1, "
            "g.TCgst, g.TSgst, g.totalamount FROM BuyerInvoice b JOIN GoodsInvoice g ON g.sno = b.sno");
        QCOMPARE(invoice.size(), 1);
        QCOMPARE(invoice.first(),
            (QVariantList {"A00001", "Zelva Traders", "Kochi Stores", "Kerala", "Laptop", 2000.0, 180.0, 180.0, 2360.0}));
        QCOMPARE(valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE ItemName = 'Laptop'"),
            QVariant(8.0));

        // The stock form, brought forward again, shows the sale once it reads the table anew.
        window->mnuStockEntry_Click();
        QVERIFY(pick(control<QComboBox>("frmStockEntry", "cboChoice"), "Item Name"));
        auto* list = control<QListWidget>("frmStockEntry", "lstName");
        const QList<QListWidgetItem*> laptop = list->findItems("Laptop", Qt::MatchExactly);
        QCOMPARE(laptop.size(), 1);
        pickRow(list, list->row(laptop.first()));
        QCOMPARE(control("frmStockEntry", "txtQuantity")->text(), QString("8"));
    }

    // Keys go to the window the operator has in front: a form brought forward
    // takes the focus even when the first control of its tab chain is disabled
    // (the company list), and so does the form left in front when one closes.
    void keysReachTheWindowInFront()
    {
        ON_FILES_ONLY();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto inFront = [&](const QString& name) {
            QMdiSubWindow* sub = window->childWindow(name);
            return sub && window->mdiArea->activeSubWindow() == sub && sub->isAncestorOf(QApplication::focusWidget());
        };
        window->mnuNewInvoice_Click();
        QVERIFY(inFront("frmTaxInvoice"));

        press("frmCompany", "cmdClose");
        toolbar("Update Company Details");
        QVERIFY(inFront("frmCompany"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(inFront("frmCompany"));

        press("frmCompany", "cmdClose");
        QTRY_VERIFY(window->childWindow("frmCompany") == nullptr);
        QVERIFY(window->mdiArea->activeSubWindow() != nullptr);
        QVERIFY(window->mdiArea->activeSubWindow()->isAncestorOf(QApplication::focusWidget()));
    }

};

QTEST_MAIN(WorkdayTest)
#include "test_workday.moc"
