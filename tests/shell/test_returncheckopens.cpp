// The Return Check opened from the main window's menu, each finding
// double-clicked as an operator does: it opens, as a child window of the
// main window, where the finding is mended, at its record: the buyer in
// Buyer Details, the stock item in Stock Item Details, the company in
// Company Details, an invoice in Print Invoice with its duplicate shown, a
// note in the note register, a bill in the bill register; a finding about
// the return file is shown whole.
#include "gst/gststates.h"
#include "masters/buyerdetails.h"
#include "masters/stockentry.h"
#include "reports/frmnoteregister.h"
#include "reports/frmprintinvoice.h"
#include "reports/frmpurchasebills.h"
#include "reports/frmreturncheck.h"
#include "reports/tablereport.h"
#include "sales/invoicestore.h"
#include "sales/purchasebill.h"
#include "sales/salenotestore.h"
#include "shell/frmZelvaBillingSystem.h"
#include "support/formdriver.h"
#include "support/testdata.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace zelva;
using namespace testing;

namespace {

QString withCheckCharacter(const QString& first14) { return first14 + GstinCheckCharacter(first14); }

QDate lastMonth() { return QDate::currentDate().addMonths(-1); }
QDate dayOfLastMonth(int day) { return QDate(lastMonth().year(), lastMonth().month(), day); }
QString dayText(int day) { return dayOfLastMonth(day).toString("dd/MM/yyyy"); }

Invoice invoiceTo(int serial, int day, const QString& buyerCode, const QString& buyer, const QString& gstin,
    const InvoiceLine& line)
{
    Invoice x;
    x.serial = serial;
    x.number = QStringLiteral("A%1").arg(serial, 5, 10, QLatin1Char('0'));
    x.date = dayOfLastMonth(day);
    x.buyerCode = buyerCode;
    x.buyer = { buyer, "Gandhi Road", {}, "Tamil Nadu", "625001", gstin };
    x.mode = TaxMode::Cgst;
    x.lines = { line };
    x.taxes[TaxOnGoods].rate = 18;
    ComputeTotals(x);
    return x;
}

// Last month at a Tamil Nadu shop: A00001 kept its CGST total unrounded (an
// older version's record), A00002 carries Ravi Stores' GSTIN mistyped,
// A00003 sells Thinner under an HSN code of three characters; the credit
// note on A00001 keeps its CGST a paisa above its line's; Sharma Paints'
// bill S-7 is at a rate no longer in force.
void keepLastMonth(Database& db)
{
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')",
        { "Zelva Traders", "Tamil Nadu", withCheckCharacter("33AAACH7409R1Z") }, "add the company", DbFile::Master);
    for (const QVariantList& buyer : { QVariantList { 1, "C00001", "Meena Hardware" }, QVariantList { 2, "C00002", "Ravi Stores" } })
        db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, State) VALUES (?, ?, ?, 'Tamil Nadu')", buyer,
            "add a buyer", DbFile::Customer);
    for (const QVariantList& item : { QVariantList { 1, "G00001", "Varnish", "3208" }, QVariantList { 2, "G00002", "Thinner", "32A" } })
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
               "VALUES (?, ?, ?, ?, 100, 'Ltr', 50, 'N.A.')",
            item, "add an item", DbFile::ItemStock);
    const QString meena = withCheckCharacter("33MEENA4321B1Z");
    const QString ravi = withCheckCharacter("33RAVIS4321B1Z");
    const QString mistyped = ravi.left(14) + (ravi.endsWith('Q') ? 'R' : 'Q');
    const InvoiceLine varnish { {}, "Varnish", "3208", "Ltr", 3, 410, LineAmount(3, 410), 0, 18.0, 0, 0 };
    const InvoiceLine thinner { {}, "Thinner", "32A", "Ltr", 2, 150, LineAmount(2, 150), 0, 18.0, 0, 0 };
    const Invoice first = invoiceTo(1, 2, "C00001", "Meena Hardware", meena, varnish);
    StoreInvoice(db, first);
    StoreInvoice(db, invoiceTo(2, 9, "C00002", "Ravi Stores", mistyped, varnish));
    StoreInvoice(db, invoiceTo(3, 16, "C00001", "Meena Hardware", meena, thinner));
    db.run("UPDATE Invoice.GoodsInvoice SET TCgst = TCgst + 0.006 WHERE sno = 1", {}, "plant", DbFile::Invoice);
    SaleNote note = NoteAgainst(NoteKind::Credit, first);
    note.date = dayOfLastMonth(20);
    note.reason = SalesReturnReason();
    note.lines = { { 1, "Varnish", "3208", "Ltr", 1, 41000, 0, 0 } };
    QVERIFY(StoreSaleNote(db, note).saved());
    db.run("UPDATE Invoice.SaleNote SET Cgst = Cgst + 0.01", {}, "plant", DbFile::Invoice);

    PurchaseBill bill;
    bill.number = "S-7";
    bill.date = dayOfLastMonth(12);
    bill.supplierName = "Sharma Paints";
    bill.supplierGstin = withCheckCharacter("33SHARM1234A1Z");
    bill.supplierState = "Tamil Nadu";
    PurchaseBillLine line;
    line.itemName = "Varnish";
    line.quantity = 10;
    line.rate = 200;
    line.taxable = 200000;
    line.gstRate = 18;
    bill.lines = { line };
    ComputePurchaseTaxes(bill, "Tamil Nadu", withCheckCharacter("33AAACH7409R1Z"));
    QCOMPARE(StorePurchaseBill(db, bill), QString());
    db.run("UPDATE PurchaseMaster.PurchaseBillLine SET GstRate = 12", {}, "plant", DbFile::PurchaseMaster);
}

int rowOf(const QTableView* grid, const QString& document, const QString& key)
{
    for (int row = 0; row < GridRows(grid); ++row)
        if (GridText(grid, row, 1) == document && GridText(grid, row, 2) == key)
            return row;
    return -1;
}

QString chosen(const QTableView* grid, int column) { return GridText(grid, grid->currentIndex().row(), column); }

} // namespace

class ReturnCheckOpensTest : public QObject {
    Q_OBJECT
private slots:
    void doubleClickOpensWhereTheFindingIsMended()
    {
        TempData data;
        MessageRecorder messages;
        keepLastMonth(*data.db);
        frmZelvaBillingSystem window(*data.db);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        need<QAction>(&window, "mnuReturnCheck")->trigger();
        auto* check = qobject_cast<frmReturnCheck*>(window.childWindow("frmReturnCheck")->widget());
        QVERIFY(check);
        check->dtpMonth->setDate(lastMonth());
        click(check->cmdShow);

        const auto doubleClick = [&](const QString& document, const QString& key) {
            const int row = rowOf(check->grdFindings, document, key);
            if (row < 0)
                return false;
            const QRect cell = check->grdFindings->visualRect(check->grdFindings->model()->index(row, 1));
            check->grdFindings->scrollTo(check->grdFindings->model()->index(row, 1));
            QTest::mouseClick(check->grdFindings->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(check->grdFindings->viewport(), Qt::LeftButton, {}, cell.center());
            return true;
        };
        const auto front = [&] {
            QMdiSubWindow* active = window.mdiArea->activeSubWindow();
            return active ? active->widget()->objectName() : QString();
        };
        const QString invoice2 = "Invoice A00002 of " + dayText(9);

        QVERIFY(doubleClick(invoice2, "Buyer's GSTIN (ctin)"));
        QCOMPARE(front(), QString("frmBuyerDetails"));
        auto* buyers = qobject_cast<frmBuyerDetails*>(window.childWindow("frmBuyerDetails")->widget());
        QCOMPARE(buyers->txtBid->text(), QString("C00002"));
        QCOMPARE(buyers->txtName->text(), QString("Ravi Stores"));

        QVERIFY(doubleClick("Invoice A00003 of " + dayText(16), "HSN (hsn_sc), line 1"));
        QCOMPARE(front(), QString("frmStockEntry"));
        auto* items = qobject_cast<frmStockEntry*>(window.childWindow("frmStockEntry")->widget());
        QCOMPARE(items->txtItemName->text(), QString("Thinner"));

        QVERIFY(doubleClick("Invoice A00001 of " + dayText(2), "e-invoice ValDtls.CgstVal"));
        // Its duplicate in front, beside Print Invoice chosen at it.
        QCOMPARE(front(), QString("rptDuplicateInvoice"));
        auto* reprint = qobject_cast<frmPrintInvoice*>(window.childWindow("frmPrintInvoice")->widget());
        QVERIFY(reprint);
        QCOMPARE(chosen(reprint->grdInvoices, 0), QString("A00001"));
        window.mdiArea->activeSubWindow()->close();

        QVERIFY(doubleClick("Credit note CN00001 of " + dayText(20), "e-invoice ValDtls.CgstVal"));
        QCOMPARE(front(), QString("frmNoteRegister"));
        auto* notes = qobject_cast<frmNoteRegister*>(window.childWindow("frmNoteRegister")->widget());
        QCOMPARE(chosen(notes->grdNotes, 0), QString("CN00001"));

        QVERIFY(doubleClick("Bill S-7 of Sharma Paints", "Rate (rt), line 1"));
        QCOMPARE(front(), QString("frmPurchaseBills"));
        auto* bills = qobject_cast<frmPurchaseBills*>(window.childWindow("frmPurchaseBills")->widget());
        QCOMPARE(chosen(bills->grdBills, 1), QString("S-7"));
        QCOMPARE(chosen(bills->grdBills, 2), QString("Sharma Paints"));

        QVERIFY(doubleClick("Company Zelva Traders", "Turnover band"));
        QCOMPARE(front(), QString("frmCompany"));

        QCOMPARE(messages.texts(), QStringList());
        QVERIFY(doubleClick("GSTR-1 file", "HSN summary (hsn_b2b.camt at 18%)"));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().contains("What to do: "), qPrintable(messages.last()));
    }
};

QTEST_MAIN(ReturnCheckOpensTest)
#include "test_returncheckopens.moc"
