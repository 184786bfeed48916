// Purchases and issues worked as the storekeeper works them: option, item,
// New, the entries, Save; then what the files hold.
#include "invoice/frmtaxinvoice.h"
#include "invoice/shop.h"
#include "masters/stockentry.h"
#include "platform/datetext.h"
#include "registers/reportqueries.h"
#include "sales/reorderlevel.h"
#include "shell/frmZelvaBillingSystem.h"
#include "stock/frmissueregister.h"
#include "stock/frmpurchase.h"
#include "stock/movement.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace testing;
using zelva::DbFile;

namespace {

void addStock(
    zelva::Database& db, const QString& table, int sno, const QString& name, double quantity, const QString& per)
{
    const DbFile file = table == "Stock" ? DbFile::ItemStock : DbFile::OtherItemStock;
    db.run(QString("INSERT INTO %1.%2 (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                   "VALUES (?, ?, ?, '8471', 100, ?, ?, 'N.A.')")
               .arg(zelva::SchemaName(file), table),
        { sno, QString("G%1").arg(sno, 5, 10, QChar('0')), name, per, quantity }, "add stock", file);
}

const QString Today = zelva::DateText(QDate::currentDate());

// A store with items for sale and office items whose serials are out of step
// with their list positions, and one form of each kind over it.
struct Store {
    TempData data;
    MessageRecorder messages;
    std::unique_ptr<frmPurchase> purchase;
    std::unique_ptr<frmIssueRegister> issue;

    Store()
    {
        addStock(*data.db, "Stock", 3, "Cable", 3, "Mtr");
        addStock(*data.db, "Stock", 1, "Laptop", 10, "Nos.");
        addStock(*data.db, "Stock", 2, "Mouse", 0, "Nos.");
        addStock(*data.db, "OtherItemStock", 2, "Printer paper", 20, "Ream");
        addStock(*data.db, "OtherItemStock", 1, "Toner", 4, "N.A.");
        purchase = std::make_unique<frmPurchase>(*data.db);
        issue = std::make_unique<frmIssueRegister>(*data.db);
    }

    template <typename T = QLineEdit> static T* w(QWidget* form, const QString& name) { return need<T>(form, name); }
    // Typed key by key; a text beyond the keyboard's letters is pasted.
    static void type(QWidget* form, const QList<QPair<QString, QString>>& boxes)
    {
        for (const auto& [box, text] : boxes) {
            const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
            typeInto(w(form, box), ascii ? text : QString());
            if (!ascii)
                w(form, box)->insert(text);
        }
    }
    QStringList save(QWidget* form)
    {
        messages.clear();
        click(w<QPushButton>(form, "cmdSave"));
        return messages.texts();
    }
    // The entries a purchase or an issue needs, with that quantity.
    static void fillIn(QWidget* form, const QString& quantity)
    {
        if (qobject_cast<frmPurchase*>(form))
            type(form, { { "txtPurchaseInvoiceNo", "INV-1" }, { "txtQuantity", quantity } });
        else
            type(form, { { "txtIssueSlipNo", "S-1" }, { "txtIssueTo", "Ravi" }, { "txtIssuedBy", "Anu" },
                           { "txtQuantity", quantity } });
    }
    // A purchase (an issue) of the item: the entries typed, Save.
    QStringList buy(const QString& item, const QString& quantity, const QString& option = "optExistingItem")
    {
        startMovement(purchase.get(), option, item);
        fillIn(purchase.get(), quantity);
        return save(purchase.get());
    }
    QStringList issueOut(const QString& item, const QString& quantity, const QString& option = "optItemForSale")
    {
        startMovement(issue.get(), option, item);
        fillIn(issue.get(), quantity);
        return save(issue.get());
    }

    double stock(const QString& code, const QString& table = "Stock") const
    {
        return valueInFile(data.folder(), table == "Stock" ? DbFile::ItemStock : DbFile::OtherItemStock,
            QString("SELECT Quantity FROM %1 WHERE itemcode = ?").arg(table), { code })
            .toDouble();
    }
    QList<QVariantList> purchases(const QString& fields) const
    {
        return rowsInFile(data.folder(), DbFile::PurchaseMaster,
            QString("SELECT %1 FROM Purchase WHERE PSno <> 0 ORDER BY PSno").arg(fields));
    }
    QList<QVariantList> issues(const QString& fields) const
    {
        return rowsInFile(data.folder(), DbFile::IssueMaster,
            QString("SELECT %1 FROM IssueRegister WHERE ISno <> 0 ORDER BY ISno").arg(fields));
    }
    int movements() const { return int(purchases("1").size() + issues("1").size()); }
};

} // namespace

class StockMovementTest : public QObject {
    Q_OBJECT
private slots:
    // ---- purchase

    void purchaseRaisesTheStockOfTheItemChosen()
    {
        Store s;
        frmPurchase& p = *s.purchase;
        p.show();
        click(p.optExistingItem);
        QCOMPARE(p.lstName->count(), 3); // no placeholder
        pickRow(p.lstName, 1);
        QCOMPARE(p.txtItemName->text(), QString("Laptop")); // the entry's own record, not serial 1's position
        QCOMPARE(p.txtQuantity->text(), QString("10"));
        click(p.cmdNew);
        QCOMPARE(p.txtPurchaseInvoiceDate->text(), Today);
        QCOMPARE(p.txtPurchaseOrderDate->text(), Today);
        Store::type(&p, { { "txtPurchaseInvoiceNo", "INV-77" }, { "txtQuantity", "5" }, { "txtRate", "95.5" } });
        QCOMPARE(s.save(&p), QStringList { "Saved Successfully" });
        QCOMPARE(p.txtQuantity->text(), QString("5")); // the boxes keep what was saved

        QCOMPARE(s.stock("G00001"), 15.0);
        // the stock record keeps its own details, the rate as corrected
        QCOMPARE(
            valueInFile(s.data.folder(), DbFile::ItemStock, "SELECT Rate FROM Stock WHERE sno = 1").toDouble(), 95.5);
        QCOMPARE(s.purchases("PSno, PurchaseId, PurchaseDate, PurchaseOrder, PurchaseInvoiceNo, PurchaseInvoiceDate, "
                             "SupplierName, SupGstinNo, SupAddress, sno, itemcode, ItemName, Rate, Per, Quantity"),
            (QList<QVariantList> { { 1, "P00001", Today, "N.A.", "INV-77", Today, "N.A.", "N.A.", "N.A.", 1.0, "G00001",
                "Laptop", 95.5, "Nos.", 5.0 } }));
        // the stock file is unchanged for the office items
        QCOMPARE(s.stock("G00001", "OtherItemStock"), 4.0);
    }

    // The remembered item survives Save and New: a second purchase counts on
    // top of the first, and a sale made meanwhile is not overwritten.
    void secondPurchaseWithoutChoosingAgainCountsBoth()
    {
        Store s;
        QCOMPARE(s.buy("Printer paper", "5", "optExistingItemForOffice"), QStringList { "Saved Successfully" });
        s.data.db->run("UPDATE OtherItemStock.OtherItemStock SET Quantity = Quantity - 1 WHERE sno = 2", {}, "use",
            DbFile::OtherItemStock);
        click(s.purchase->cmdNew);
        QCOMPARE(s.purchase->txtPurchaseId->text(), QString("P00002"));
        typeInto(s.purchase->txtQuantity, "3");
        QCOMPARE(s.save(s.purchase.get()), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00002", "OtherItemStock"), 20.0 + 5 - 1 + 3);
        QCOMPARE(s.stock("G00002"), 0.0); // the item for sale of that code is another item
    }

    // Boxes emptied by Cancel no longer show the remembered item: Save refuses
    // and nothing is written over that item's record.
    void emptiedBoxesAreNotWrittenOverTheRememberedItem()
    {
        Store s;
        frmPurchase& p = *s.purchase;
        startMovement(&p, "optExistingItem", "Laptop");
        click(p.cmdCancel);
        QVERIFY(p.txtItemName->text().isEmpty());
        click(p.cmdNew);
        typeInto(p.txtPurchaseInvoiceNo, "INV-9");
        QCOMPARE(s.save(&p), QStringList { "Choose the item from the list again " });
        QCOMPARE(s.movements(), 0);
        QCOMPARE(rowsInFile(s.data.folder(), DbFile::ItemStock, "SELECT ItemName, Quantity FROM Stock WHERE sno = 1"),
            (QList<QVariantList> { { "Laptop", 10.0 } }));
        // choosing it again puts things right
        pickRow(p.lstName, 0);
        QCOMPARE(p.lstName->count(), 0); // Cancel emptied the list
        click(p.optExistingItem);
        pickRow(p.lstName, 1);
        click(p.cmdNew);
        Store::type(&p, { { "txtPurchaseInvoiceNo", "INV-9" }, { "txtQuantity", "2" } });
        QCOMPARE(s.save(&p), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00001"), 12.0);
    }

    // A new item: the stock-item form opens (office title for office items);
    // the purchase is stored with no item code and no stock change; Save, New,
    // Save again gives a second record with the next serial.
    void newItemOptionsOpenTheStockItemForm()
    {
        Store s;
        frmZelvaBillingSystem window(*s.data.db);
        window.show();
        window.mnuPurchaseRegister->trigger();
        auto* p = qobject_cast<frmPurchase*>(window.childWindow("frmPurchase")->widget());
        QVERIFY(p);
        click(p->optExistingItem);
        pickRow(p->lstName, 1); // an item shown before the option changes
        click(p->optNewItemForOffice);
        auto* entry = qobject_cast<frmStockEntry*>(window.childWindow("frmStockEntry")->widget());
        QVERIFY(entry && entry->officeItems());
        click(p->optNewItem);
        QVERIFY(!entry->officeItems());

        click(p->cmdNew);
        QVERIFY(p->txtItemCode->text().isEmpty());
        Store::type(p, { { "txtPurchaseInvoiceNo", "INV-5" }, { "txtItemName", "Scanner" }, { "txtQuantity", "2" } });
        QCOMPARE(s.save(p), QStringList { "Saved Successfully" });
        click(p->cmdNew);
        QCOMPARE(s.save(p), QStringList { "Saved Successfully" });
        QCOMPARE(s.purchases("PurchaseId, itemcode, ItemName, Quantity, PurchaseDate"),
            (QList<QVariantList> { { "P00001", "", "Scanner", 2.0, Today }, { "P00002", "", "Scanner", 2.0, Today } }));
        QCOMPARE(s.stock("G00001"), 10.0);
    }

    void purchaseChecks_data()
    {
        QTest::addColumn<QStringList>("boxes"); // box=text, typed after New
        QTest::addColumn<QString>("said");
        const auto row = [](const char* name, const QStringList& boxes, const char* said) {
            QTest::newRow(name) << boxes << QString(said);
        };
        row("invoice number first", { "txtPurchaseInvoiceDate=" }, "Enter Purchase Invoice Number ");
        row("invoice date", { "txtPurchaseInvoiceNo=INV", "txtPurchaseInvoiceDate=" }, "Enter Purchase Invoice Date ");
        row("item name", { "txtPurchaseInvoiceNo=INV", "txtItemName=" }, "Enter Name of the Item ");
        row("date that is none", { "txtPurchaseInvoiceNo=INV", "txtPurchaseInvoiceDate=31/02/2026" },
            "Purchase Invoice Date must be a date");
        row("order date that is none", { "txtPurchaseInvoiceNo=INV", "txtPurchaseOrderDate=N.A." },
            "Purchase Order Date must be");
        row("quantity with a comma", { "txtPurchaseInvoiceNo=INV", "txtQuantity=1,000" },
            "Quantity must be a number: \"1,000\"");
        row("rate with letters", { "txtPurchaseInvoiceNo=INV", "txtRate=12a" }, "Rate (Rs.) must be a number");
    }
    // Each refusal stores nothing and leaves the purchase pending.
    void purchaseChecks()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, said);
        Store s;
        startMovement(s.purchase.get(), "optExistingItem", "Cable");
        for (const QString& entry : boxes)
            typeInto(Store::w(s.purchase.get(), entry.section('=', 0, 0)), entry.section('=', 1));
        const QStringList messages = s.save(s.purchase.get());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(said), qPrintable(messages[0]));
        QCOMPARE(s.movements(), 0);
        QCOMPARE(s.stock("G00003"), 3.0);
        QVERIFY(s.purchase->movementPending());
    }

    void nothingButNewThenSave()
    {
        Store s;
        s.purchase->show();
        s.purchase->cmdSave_Click(); // disabled until New
        QCOMPARE(s.messages.texts(), QStringList { "Press New Button first " });
        click(s.purchase->cmdNew); // no option chosen: no item whose stock could move
        typeInto(s.purchase->txtPurchaseInvoiceNo, "INV");
        QCOMPARE(s.save(s.purchase.get()), QStringList { "Choose the item from the list again " });
        QCOMPARE(s.movements(), 0);
    }

    void numbering_data()
    {
        QTest::addColumn<bool>("isPurchase");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("code");
        QTest::newRow("P00008") << true << 7 << "P00008";
        QTest::newRow("P10000") << true << 9999 << "P10000";
        QTest::newRow("I00010") << false << 9 << "I00010";
        QTest::newRow("I00100") << false << 99 << "I00100";
    }
    void numbering()
    {
        QFETCH(bool, isPurchase);
        QFETCH(int, highest);
        QFETCH(QString, code);
        Store s;
        if (isPurchase)
            s.data.db->run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId) VALUES (?, 'old')", { highest },
                "seed", DbFile::PurchaseMaster);
        else
            s.data.db->run("INSERT INTO IssueMaster.IssueRegister (ISno, IssueNo) VALUES (?, 'old')", { highest },
                "seed", DbFile::IssueMaster);
        const QStringList said = isPurchase ? s.buy("Cable", "1") : s.issueOut("Cable", "1");
        QCOMPARE(said, QStringList { "Saved Successfully" });
        const auto stored = isPurchase ? s.purchases("PurchaseId, PSno") : s.issues("IssueNo, ISno");
        QCOMPARE(stored.last(), (QVariantList { code, highest + 1 }));
    }

    // Another window saved a purchase with the serial this one took at New.
    void serialTakenMeanwhileTakesTheNext()
    {
        Store s;
        startMovement(s.purchase.get(), "optExistingItem", "Cable");
        frmPurchase other(*s.data.db);
        startMovement(&other, "optExistingItem", "Laptop");
        Store::type(&other, { { "txtPurchaseInvoiceNo", "X" }, { "txtQuantity", "1" } });
        s.save(&other);
        Store::type(s.purchase.get(), { { "txtPurchaseInvoiceNo", "Y" }, { "txtQuantity", "2" } });
        const QStringList said = s.save(s.purchase.get());
        QCOMPARE(said.size(), 2);
        QVERIFY(said[0].contains("P00001") && said[0].contains("P00002"));
        QCOMPARE(s.purchases("PurchaseId, PurchaseInvoiceNo"),
            (QList<QVariantList> { { "P00001", "X" }, { "P00002", "Y" } }));
    }

    // ---- both: one item after another

    // A click on the list shows the clicked item, whatever the form read
    // before (a save, the on-hand check when the quantity is left), and the
    // next movement moves that item's stock only.
    void secondMovementGoesToTheItemClicked_data()
    {
        QTest::addColumn<bool>("isPurchase");
        QTest::addColumn<bool>("leaveQuantity");
        QTest::newRow("purchase") << true << false;
        QTest::newRow("purchase, quantity left") << true << true;
        QTest::newRow("issue") << false << false;
        QTest::newRow("issue, quantity left") << false << true;
    }
    void secondMovementGoesToTheItemClicked()
    {
        QFETCH(bool, isPurchase);
        QFETCH(bool, leaveQuantity);
        Store s;
        auto* form = isPurchase ? static_cast<zelva::StockMovementForm*>(s.purchase.get()) : s.issue.get();
        const double sign = isPurchase ? 1 : -1;
        const auto move = [&](const QString& quantity) {
            Store::fillIn(form, quantity);
            if (leaveQuantity)
                focusOut(form->txtQuantity);
            return s.save(form);
        };
        startMovement(form, isPurchase ? "optExistingItem" : "optItemForSale", "Cable");
        QCOMPARE(move("2"), QStringList { "Saved Successfully" });

        pickRow(form->lstName, form->lstName->row(form->lstName->findItems("Laptop", Qt::MatchExactly).first()));
        QCOMPARE(form->txtItemName->text(), QString("Laptop"));
        QCOMPARE(form->txtItemCode->text(), QString("G00001"));
        click(form->cmdNew);
        QCOMPARE(move("5"), QStringList { "Saved Successfully" });

        QCOMPARE(s.stock("G00003"), 3 + sign * 2);
        QCOMPARE(s.stock("G00001"), 10 + sign * 5);
        QCOMPARE(s.stock("G00002"), 0.0);
        const auto stored
            = isPurchase ? s.purchases("itemcode, ItemName, Quantity") : s.issues("itemcode, ItemName, Quantity");
        QCOMPARE(stored, (QList<QVariantList> { { "G00003", "Cable", 2.0 }, { "G00001", "Laptop", 5.0 } }));
    }

    // An item taken out of the file since the list was read: the click says
    // so, and the boxes keep the item they showed.
    void clickOnAnItemGoneSaysSo()
    {
        Store s;
        frmPurchase& p = *s.purchase;
        p.show();
        click(p.optExistingItem);
        pickRow(p.lstName, 0);
        s.data.db->run("DELETE FROM ItemStock.Stock WHERE sno = 1", {}, "remove", DbFile::ItemStock);
        s.messages.clear();
        pickRow(p.lstName, 1);
        QCOMPARE(s.messages.texts(),
            QStringList { "Laptop is no longer in the stock list. Choose the option again to read the list afresh " });
        QCOMPARE(p.txtItemName->text(), QString("Cable"));
    }

    // ---- issue

    // The issue is filed under the date typed over New's (yesterday, in
    // another month or year on the first days): its day keys place it in the
    // report periods.
    void issueIsFiledUnderItsTypedDate()
    {
        Store s;
        frmIssueRegister& i = *s.issue;
        startMovement(&i, "optItemForSale", "Laptop");
        QCOMPARE(i.txtIssueNo->text(), QString("I00001"));
        QCOMPARE(i.txtIssueDate->text(), Today);
        QVERIFY(QTime::fromString(i.txtIssueTime->text(), "HH:mm:ss").isValid());
        const QDate yesterday = QDate::currentDate().addDays(-1);
        Store::type(&i,
            { { "txtIssueSlipNo", "S-4" }, { "txtIssueTo", "Ravi" }, { "txtIssuedBy", "Anu" }, { "txtQuantity", "4" },
                { "txtIssueDate", yesterday.toString("d/M/yyyy") } });
        QCOMPARE(s.save(&i), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00001"), 6.0);
        QCOMPARE(s.issues("IssueNo, IssueDate, IssueSlipNo, IssueTo, IssuedBy, itemcode, Quantity, issuedd, issuemm, "
                          "issueyy"),
            (QList<QVariantList> { { "I00001", zelva::DateText(yesterday), "S-4", "Ravi", "Anu", "G00001", 4.0,
                double(yesterday.day()), double(yesterday.month()), qlonglong(yesterday.year()) } }));
        const auto issuedOn = [&](const zelva::Period& days) {
            QStringList numbers;
            for (const QVariantMap& row : zelva::IssueReportRows(*s.data.db, days))
                numbers << row.value("IssueNo").toString();
            return numbers;
        };
        QCOMPARE(issuedOn(zelva::DayPeriod(yesterday)), QStringList { "I00001" });
        QCOMPARE(issuedOn(zelva::DayPeriod(QDate::currentDate())), QStringList {});
    }

    // More than is held: a warning naming what is held, the focus back on the
    // quantity; leaving again does not warn again, and Save stores it.
    void issueMoreThanHeldWarnsAndGoesBelowZero()
    {
        Store s;
        frmIssueRegister& i = *s.issue;
        startMovement(&i, "optItemForSale", "Cable");
        Store::fillIn(&i, "5");
        s.messages.clear();
        focusOut(i.txtQuantity);
        QCOMPARE(s.messages.texts(), QStringList { "Item out of stock, only 3 item available" });
        QVERIFY(i.txtQuantity->hasFocus());
        focusOut(i.txtQuantity);
        QCOMPARE(s.messages.texts().size(), 1);
        QCOMPARE(s.save(&i), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00003"), -2.0);

        startMovement(&i, "optItemForSale", "Mouse"); // none held
        typeInto(i.txtQuantity, "");
        s.messages.clear();
        focusOut(i.txtQuantity);
        QCOMPARE(s.messages.texts(), QStringList { "Item is not available" });
    }

    // An item for sale issued to or below its reorder level warns as the
    // quantity is left, and is issued all the same; an office item of the
    // same code has no level of its own and does not warn.
    void issueWarnsAtTheReorderLevel_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QStringList>("warned");
        QTest::addColumn<double>("left");
        QTest::newRow("above the level") << "optItemForSale" << "Laptop" << "5" << QStringList{} << 5.0;
        QTest::newRow("at the level") << "optItemForSale" << "Laptop" << "6"
                                      << QStringList{"Laptop: 4 left, at or below its reorder level of 4. Order it again."}
                                      << 4.0;
        QTest::newRow("below the level") << "optItemForSale" << "Laptop" << "8"
                                         << QStringList{"Laptop: 2 left, at or below its reorder level of 4. Order it again."}
                                         << 2.0;
        QTest::newRow("office item of the same code") << "optOtherItem" << "Toner" << "3" << QStringList{} << 1.0;
    }
    void issueWarnsAtTheReorderLevel()
    {
        QFETCH(QString, option);
        QFETCH(QString, item);
        QFETCH(QString, quantity);
        QFETCH(QStringList, warned);
        QFETCH(double, left);
        Store s;
        {
            zelva::Transaction work(*s.data.db, "set the level");
            zelva::StoreReorderLevelWithin(*s.data.db, "G00001", 4);
            work.commit();
        }
        frmIssueRegister& i = *s.issue;
        startMovement(&i, option, item);
        Store::fillIn(&i, quantity);
        s.messages.clear();
        focusOut(i.txtQuantity);
        QCOMPARE(s.messages.texts(), warned);
        QCOMPARE(s.save(&i), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00001", option == "optOtherItem" ? "OtherItemStock" : "Stock"), left);
    }

    void issueChecks()
    {
        Store s;
        frmIssueRegister& i = *s.issue;
        startMovement(&i, "optOtherItem", "Toner");
        i.txtIssueDate->clear();
        i.txtIssueTime->clear();
        i.txtRemarks->clear();
        // each message in order, the box named filled in before the next Save
        const QList<QPair<QString, QString>> steps { { "Enter date ", "txtIssueDate" },
            { "Enter time ", "txtIssueTime" }, { "Enter Issue Slip Number ", "txtIssueSlipNo" },
            { "Enter Issued To ", "txtIssueTo" }, { "Enter Issued By ", "txtIssuedBy" } };
        for (const auto& [said, box] : steps) {
            QCOMPARE(s.save(&i), QStringList { said });
            typeInto(Store::w(&i, box), box == "txtIssueDate" ? Today : "x");
        }
        QCOMPARE(s.movements(), 0);
        typeInto(i.txtQuantity, "1");
        QCOMPARE(s.save(&i), QStringList { "Saved Successfully" });
        QCOMPARE(s.issues("IssueTime, Remarks"), (QList<QVariantList> { { "x", "N.A." } }));
        QCOMPARE(s.stock("G00001", "OtherItemStock"), 3.0);
    }

    // ---- both, and the invoice between them

    // A purchase and an issue of the item, each form's item chosen before an
    // invoice sells some: the stock is the sum of every movement.
    void movementsInterleavedWithAnInvoice()
    {
        Store s;
        addSeller(*s.data.db);
        addBuyer(*s.data.db, 1, "Kochi", "Kerala");
        startMovement(s.purchase.get(), "optExistingItem", "Laptop");
        startMovement(s.issue.get(), "optItemForSale", "Laptop");

        frmTaxInvoice invoice(*s.data.db);
        invoice.show();
        s.messages.clear();
        sellOn(&invoice, "Kochi", { { "Laptop", "2" } });
        QCOMPARE(s.messages.texts(), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00001"), 8.0);

        Store::fillIn(s.purchase.get(), "5");
        QCOMPARE(s.save(s.purchase.get()), QStringList { "Saved Successfully" });
        Store::fillIn(s.issue.get(), "4");
        QCOMPARE(s.save(s.issue.get()), QStringList { "Saved Successfully" });
        QCOMPARE(s.stock("G00001"), 10.0 - 2 + 5 - 4);
    }

    // The item taken off the stock list between the choice and Save: the
    // operator is told, and nothing is stored.
    void itemGoneBeforeSaveIsSaid()
    {
        Store s;
        startMovement(s.purchase.get(), "optExistingItem", "Laptop");
        Store::fillIn(s.purchase.get(), "5");
        s.data.db->run("DELETE FROM ItemStock.Stock WHERE itemcode = 'G00001'", {}, "remove the item", DbFile::ItemStock);
        QCOMPARE(s.save(s.purchase.get()),
                 QStringList{"Laptop (G00001) is no longer in the stock list. Nothing is saved."});
        QCOMPARE(s.movements(), 0);
        QVERIFY(s.purchase->movementPending());
    }

    // A quantity below zero is a return: stored as typed, the stock moved the
    // other way, and the operator told so.
    void negativeQuantityIsAReturn()
    {
        Store s;
        QCOMPARE(s.buy("Laptop", "-5"),
            (QStringList { "The quantity below zero is saved as a return to the supplier: the stock of Laptop goes "
                           "down by 5.",
                "Saved Successfully" }));
        QCOMPARE(s.issueOut("Laptop", " -2 ").size(), 2);
        QCOMPARE(s.stock("G00001"), 10.0 - 5 + 2);
        QCOMPARE(s.purchases("Quantity").first().first(), QVariant(-5.0));
        QCOMPARE(s.issues("Quantity").first().first(), QVariant(-2.0));
    }

    void textsStoredVerbatim()
    {
        Store s;
        const QString supplier
            = QString::fromUtf8("O'Brien \"Bros\"; DROP TABLE Stock; \u0c38\u0c30\u0c2b\u0c30\u0c3e");
        const QString remark = QString(290, 'r') + QString::fromUtf8("\u0939\u093f\u0902\u0926\u0940 end");
        startMovement(s.purchase.get(), "optExistingItem", "Mouse");
        Store::type(s.purchase.get(),
            { { "txtPurchaseInvoiceNo", "INV" }, { "txtSupplierName", supplier }, { "txtSupAddress", supplier },
                { "txtRemarks", remark }, { "txtQuantity", "1" } });
        QCOMPARE(s.save(s.purchase.get()), QStringList { "Saved Successfully" });
        QCOMPARE(
            s.purchases("SupplierName, SupAddress, Remarks"), (QList<QVariantList> { { supplier, supplier, remark } }));
        QCOMPARE(valueInFile(s.data.folder(), DbFile::ItemStock, "SELECT Remarks FROM Stock WHERE sno = 2"),
            QVariant(remark));
        QCOMPARE(s.stock("G00002"), 1.0);
    }

    // Save is all or nothing: the stock file locked by another program, or the
    // movement's own record refused after the stock has moved.
    void failedSaveWritesNothing_data()
    {
        QTest::addColumn<bool>("isPurchase");
        QTest::addColumn<bool>("lockStock");
        QTest::newRow("purchase, stock locked") << true << true;
        QTest::newRow("purchase, record refused") << true << false;
        QTest::newRow("issue, stock locked") << false << true;
        QTest::newRow("issue, record refused") << false << false;
    }
    void failedSaveWritesNothing()
    {
        QFETCH(bool, isPurchase);
        QFETCH(bool, lockStock);
        SKIP_ON_SERVER("a file locked, a trigger written for SQLite");
        Store s;
        QWidget* form = isPurchase ? static_cast<QWidget*>(s.purchase.get()) : s.issue.get();
        startMovement(form, isPurchase ? "optExistingItem" : "optItemForSale", "Laptop");
        Store::fillIn(form, "5");
        const QString table = isPurchase ? "PurchaseMaster.Purchase" : "IssueMaster.IssueRegister";
        const DbFile file = isPurchase ? DbFile::PurchaseMaster : DbFile::IssueMaster;
        QStringList said;
        if (lockStock) {
            said = whileLocked(s.data.folder(), DbFile::ItemStock, [&] { return s.save(form); });
        } else {
            s.data.db->run(QString("CREATE TRIGGER %1.refuse BEFORE INSERT ON %2 BEGIN SELECT RAISE(ABORT, 'disk "
                                   "full'); END")
                               .arg(table.section('.', 0, 0), table.section('.', 1)),
                {}, "trigger", file);
            said = s.save(form);
        }
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains(lockStock ? "in use" : "disk full") && said[0].contains("Nothing is saved"),
            qPrintable(said[0]));
        QCOMPARE(s.movements(), 0);
        QCOMPARE(s.stock("G00001"), 10.0);
        QCOMPARE(valueInFile(s.data.folder(), DbFile::ItemStock, "SELECT ItemName FROM Stock WHERE sno = 1"),
            QVariant("Laptop"));

        if (!lockStock)
            s.data.db->run(QString("DROP TRIGGER %1.refuse").arg(table.section('.', 0, 0)), {}, "untrigger", file);
        QCOMPARE(s.save(form), QStringList { "Saved Successfully" });
        QCOMPARE(s.movements(), 1);
        QCOMPARE(s.stock("G00001"), isPurchase ? 15.0 : 5.0);
    }
};

QTEST_MAIN(StockMovementTest)
#include "test_stockmovement.moc"
