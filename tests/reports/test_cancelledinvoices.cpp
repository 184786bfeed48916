// A month with two of its four invoices cancelled, one at the Cancel Invoice
// window as the operator does it: the reprint, the registers and the return
// show them cancelled with no value; once the month's return is marked
// filed, the window refuses to cancel more. Every figure is worked out here.
#include "invoiceshape.h"
#include "invoice/rptinvoice.h"
#include "reports/frmcancelinvoice.h"
#include "reports/frmsalesreport.h"
#include "registers/gstr1.h"
#include "registers/reportqueries.h"
#include "registers/salesregister.h"
#include "sales/invoicecancel.h"
#include "support/formdriver.h"

#include <QDateEdit>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace zelva;
using testing::Base;

namespace {

// October 2026 for a Tamil Nadu company. 2 (inter-State, registered) and 4
// (within the State, unregistered) are cancelled.
std::vector<testing::InvoiceShape> october()
{
    return {
        { 1, "01/10/2026", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Depot", "Tamil Nadu", TaxMode::Cgst,
            { { "Steel Rod", "7214", 10, "Kg", "55", "550.00" } }, Base { nullptr, "N.A.", "0", "9", "49.50" }, Base {},
            Base {}, "0", 49.5 },
        { 2, "09/10/2026", "Bharat Motors", "29AAACI1681G1ZL", "Karnataka", "Bharat Motors", "Karnataka",
            TaxMode::Igst, { { "Hex Bolt", "7318", 100, "Nos", "2", "200.00" } },
            Base { nullptr, "N.A.", "0", "18", "36.00" }, Base {}, Base {}, "0", 36 },
        { 3, "15/10/2026", "Walk-in", "N.A.", "Tamil Nadu", "Walk-in", "Tamil Nadu", TaxMode::Cgst,
            { { "Paint Tin", "3208", 2, "Ltr", "200", "400.00" } }, Base { nullptr, "N.A.", "0", "9", "36.00" },
            Base {}, Base {}, "0", 36 },
        { 4, "30/10/2026", "Local Buyer", "N.A.", "Tamil Nadu", "Local Buyer", "Tamil Nadu", TaxMode::Cgst,
            { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } }, Base { nullptr, "N.A.", "0", "9", "18.00" },
            Base {}, Base {}, "0", 18 },
    };
}

QByteArray compact(const QJsonValue& value)
{
    return QJsonDocument(QJsonObject { { "v", value } }).toJson(QJsonDocument::Compact);
}

QByteArray compact(const char* json) { return compact(QJsonDocument::fromJson(json).object().value("v")); }

} // namespace

class CancelledInvoicesTest : public QObject {
    Q_OBJECT
    testing::TempData data;
    testing::MessageRecorder messages;

private slots:
    void initTestCase()
    {
        testing::addCompany(*data.db, "33AAACH7409R1Z8");
        for (const testing::InvoiceShape& shape : october())
            testing::writeInvoice(*data.db, shape);
        QCOMPARE(CancelInvoice(*data.db, "A00004", { QDate(2026, 10, 31), "18:00:00", "Duplicate bill", "meena" }), QString());

        // Invoice 2 at the window: found by its buyer, the reason typed.
        frmCancelInvoice form(*data.db, "ravi");
        form.dtpFrom->setDate({ 2026, 10, 1 });
        form.dtpTo->setDate({ 2026, 10, 31 });
        testing::typeInto(form.txtFind, "bharat");
        QCOMPARE(GridRows(form.grdInvoices), 1);
        messages.clear();
        testing::click(form.cmdCancelInvoice);
        QCOMPARE(messages.last(), QString("Give the reason the invoice is cancelled (Reason)."));
        testing::typeInto(form.txtReason, "Goods not sent");
        {
            testing::Answers no(false);
            testing::click(form.cmdCancelInvoice);
            QVERIFY(!LoadInvoice(*data.db, "A00002")->cancelled());
        }
        testing::Answers yes(true);
        testing::click(form.cmdCancelInvoice);
        QCOMPARE(messages.last(), QString("Invoice A00002 is cancelled and its goods are back in stock."));
        QCOMPARE(GridText(form.grdInvoices, 0, 3), QString("CANCELLED"));
        const std::optional<Invoice> kept = LoadInvoice(*data.db, "A00002");
        QCOMPARE(kept->cancellation->reason, QString("Goods not sent"));
        QCOMPARE(kept->cancellation->by, QString("ravi"));
    }

    void reprintSaysCancelled()
    {
        const report::ReportRow cancelled = InvoiceReportRow(*LoadInvoice(*data.db, "A00004"));
        QCOMPARE(cancelled.value("CancelledMark").toString(), QString("CANCELLED"));
        QCOMPARE(cancelled.value("CancelledNote").toString(), QString("on 31/10/2026 by meena: Duplicate bill"));
        QVERIFY(!InvoiceReportRow(*LoadInvoice(*data.db, "A00003")).contains("CancelledMark"));
    }

    // Standing: 550.00 + 49.50 + 49.50 and 400.00 + 36.00 + 36.00.
    void registersLeaveTheValueOut()
    {
        const SalesRegister sales = LoadSalesRegister(*data.db, MonthPeriod(2026, 10));
        QCOMPARE(sales.lines.size(), std::size_t(4));
        QCOMPARE(sales.lines[1].cancelled, true);
        QCOMPARE(sales.lines[1].figures.total, Paise(0));
        QCOMPARE(sales.totals.invoices, 2);
        QCOMPARE(sales.totals.cancelled, 2);
        QCOMPARE(sales.totals.taxable, Paise(95000));
        QCOMPARE(sales.totals.tax.cgst, Paise(8550));
        QCOMPARE(sales.totals.tax.igst, Paise(0));
        QCOMPARE(sales.totals.total, Paise(112100));
        const QStringList csv = SalesRegisterCsv(sales).split("\r\n");
        QCOMPARE(csv[2], QString("A00002,09/10/2026,Bharat Motors,29AAACI1681G1ZL,29-Karnataka,0.00,0.00,0.00,0.00,0.00,"
                                 "Cancelled"));
        QCOMPARE(csv[5], QString("Total,,\"2 invoices, 2 cancelled\",,,950.00,85.50,85.50,0.00,1121.00,"));

        const YearlySummary year = LoadYearlySummary(*data.db, 2026);
        QCOMPARE(year.months[6].figures.invoices, 2);
        QCOMPARE(year.months[6].figures.cancelled, 2);
        QCOMPARE(year.totals.total, Paise(112100));
        QCOMPARE(LoadHsnSummary(*data.db, MonthPeriod(2026, 10)).size(), std::size_t(2)); // no Hex Bolt

        const MonthlyRows monthly = MonthlyReportRows(*data.db);
        QCOMPARE(monthly.rows.size(), std::size_t(1));
        QCOMPARE(monthly.rows[0].mid(2, 1).value(0).toInt(), 2);
        QCOMPARE(monthly.rows[0].last().toInt(), 2);
        QCOMPARE(ToPaise(monthly.rows[0][7].toDouble()), Paise(112100));

        frmSalesReport window(*data.db);
        testing::click(window.choice->option(ReportPeriod::Between));
        window.choice->cboStartDate->setDate({ 2026, 10, 1 });
        window.choice->cboEndDate->setDate({ 2026, 10, 31 });
        testing::click(window.cmdShow);
        QCOMPARE(GridText(window.grdRegister, 3, 5), QString());
        QCOMPARE(GridText(window.grdRegister, 3, 9), QString("CANCELLED"));
    }

    // Only the standing invoices are supplies; the cancelled are counted
    // among the documents issued.
    void returnLeavesThemOut()
    {
        const Gstr1File file = LoadGstr1(*data.db, 2026, 10);
        QVERIFY2(file.ok(), qPrintable(file.error));
        const QJsonObject r = QJsonDocument::fromJson(file.json).object();
        QCOMPARE(compact(r.value("b2b")), compact(R"({"v": [{"ctin": "33ARUNT1234A1Z2", "inv": [{"inum": "A00001",
            "idt": "01-10-2026", "val": 649, "pos": "33", "rchrg": "N", "inv_typ": "R", "itms": [{"num": 1,
            "itm_det": {"rt": 18, "txval": 550, "camt": 49.5, "samt": 49.5, "csamt": 0}}]}]}]})"));
        QCOMPARE(r.value("b2cl").toArray().size(), 0);
        QCOMPARE(compact(r.value("b2cs")), compact(R"({"v": [{"sply_ty": "INTRA", "pos": "33", "typ": "OE", "rt": 18,
            "txval": 400, "camt": 36, "samt": 36, "csamt": 0}]})"));
        QCOMPARE(compact(r.value("hsn")), compact(R"({"v": {
            "hsn_b2b": [{"num": 1, "hsn_sc": "7214", "desc": "Steel Rod", "uqc": "KGS", "qty": 10, "rt": 18,
                         "txval": 550, "iamt": 0, "camt": 49.5, "samt": 49.5, "csamt": 0}],
            "hsn_b2c": [{"num": 1, "hsn_sc": "3208", "desc": "Paint Tin", "uqc": "LTR", "qty": 2, "rt": 18,
                         "txval": 400, "iamt": 0, "camt": 36, "samt": 36, "csamt": 0}]}})"));
        QCOMPARE(compact(r.value("doc_issue")), compact(R"({"v": {"doc_det": [{"doc_num": 1, "docs": [{"num": 1,
            "from": "A00001", "to": "A00004", "totnum": 4, "cancel": 2, "net_issue": 2}]}]}})"));
    }

    // Marked filed in the Sales Report window, the month's invoices stand.
    void filedMonthRefusesCancelling()
    {
        frmSalesReport window(*data.db, "meena");
        testing::click(window.choice->option(ReportPeriod::Between));
        window.choice->cboStartDate->setDate({ 2026, 10, 1 });
        window.choice->cboEndDate->setDate({ 2026, 10, 31 });
        testing::click(window.cmdShow);
        QVERIFY(window.cmdMarkFiled->isEnabled());
        {
            testing::Answers no(false);
            testing::click(window.cmdMarkFiled);
            QVERIFY(!ReturnFiled(*data.db, 2026, 10));
        }
        testing::Answers yes(true);
        testing::click(window.cmdMarkFiled);
        QVERIFY(ReturnFiled(*data.db, 2026, 10));
        QVERIFY(!window.cmdMarkFiled->isEnabled());
        QVERIFY2(window.lblReturnMonth->text().contains("October 2026, filed") &&
                     window.lblReturnMonth->text().contains("by meena"),
            qPrintable(window.lblReturnMonth->text()));

        frmCancelInvoice form(*data.db, "ravi");
        form.dtpFrom->setDate({ 2026, 10, 1 });
        form.dtpTo->setDate({ 2026, 10, 31 });
        testing::typeInto(form.txtFind, "A00003");
        testing::typeInto(form.txtReason, "Wrong rate");
        yes.asked.clear();
        testing::click(form.cmdCancelInvoice);
        QVERIFY(yes.asked.isEmpty()); // told at once, nothing asked
        QCOMPARE(messages.last(), QString("The GST return of October 2026 is filed, so invoice A00003 can no longer be "
                                          "cancelled. Issue a credit note against it instead."));
        QVERIFY(!LoadInvoice(*data.db, "A00003")->cancelled());
    }
};

QTEST_MAIN(CancelledInvoicesTest)
#include "test_cancelledinvoices.moc"
