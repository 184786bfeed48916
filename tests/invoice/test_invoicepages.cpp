// Every page of an invoice adds up: the screen that is printed and the page
// of Print Invoice, on both invoice layouts and in both tax modes. The worked
// example: a buyer of the seller's State; 3 x 45.35, 2 x 385.15 less 350.00
// (on the separate-GST layout) and 7 x 62.45 at CGST 9%; Freight 149.50 at
// CGST 6%; Short & Excess 0.22. The tax rows show 89.42 twice and 8.97
// twice: the page's tax is 196.78 and its grand total 1340.00.
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"

#include "invoice/shop.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "support/formdriver.h"
#include "ui/formboxes.h"
#include "ui/printing.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

using namespace testing;
using zelva::Paise;

namespace {

void addKarnatakaShop(zelva::Database& db)
{
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
           "('Zelva Traders', '4 Market Road', 'Bengaluru Urban', 'Karnataka', '560001', '29AAAAA0000A1Z5', 1, "
           "'C00001')",
           {}, "add company", zelva::DbFile::Master);
    addBuyer(db, 4, "Mysore Mart", "Karnataka");
    addBuyer(db, 7, "Kochi Stores", "Kerala");
    addItem(db, 1, "Brush", 45.35, 100);
    addItem(db, 2, "Paint", 385.15, 100);
    addItem(db, 3, "Putty", 62.45, 100);
}

Paise amountOf(const QString& shown)
{
    double value = 0;
    QString text = shown;
    return zelva::ReadNumber(text.remove(','), value) ? zelva::ToPaise(value) : 0;
}

// The amounts a report page shows, by bound column.
QHash<QString, Paise> pageAmounts(const zelva::ReportWindow& window, int page)
{
    QHash<QString, Paise> amounts;
    for (const zelva::report::PlacedText& text : window.pages().at(page).texts)
        if (!text.column.isEmpty())
            amounts.insert(text.column, amountOf(text.text));
    return amounts;
}

zelva::ReportWindow* reportWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "rptInvoice" && w->isVisible())
            return qobject_cast<zelva::ReportWindow*>(w);
    return nullptr;
}

} // namespace

class InvoicePagesTest : public QObject {
    Q_OBJECT
private slots:
    void everyPageAddsUp_data();
    void everyPageAddsUp();
    void printedCopiesAreText();
};

void InvoicePagesTest::everyPageAddsUp_data()
{
    QTest::addColumn<bool>("separateGst");
    QTest::addColumn<QString>("buyer");
    QTest::addColumn<QString>("goodsRate");
    QTest::addColumn<QString>("freightRate");
    QTest::addColumn<QString>("tax"); // on the report page, "" when not worked out here
    QTest::addColumn<QString>("grand");
    QTest::newRow("separate GST, CGST: the worked example")
        << true << "Mysore Mart" << "CGST @ 9%" << "CGST @ 6%" << "196.78" << "1340.00";
    QTest::newRow("tax invoice, CGST: no discount") << false << "Mysore Mart" << "CGST @ 9%" << "CGST @ 6%"
                                                    << "259.78" << "1753.00"; // 2 x (120.92 + 8.97)
    QTest::newRow("separate GST, IGST") << true << "Kochi Stores" << "IGST @ 18%" << "IGST @ 12%" << "196.77"
                                        << "1339.99"; // 178.83 + 17.94
    QTest::newRow("tax invoice, IGST") << false << "Kochi Stores" << "IGST @ 18%" << "IGST @ 12%" << "259.77"
                                       << "1752.99"; // 241.83 + 17.94
}

void InvoicePagesTest::everyPageAddsUp()
{
    QFETCH(bool, separateGst);
    QFETCH(QString, buyer);
    QFETCH(QString, goodsRate);
    QFETCH(QString, freightRate);
    QFETCH(QString, tax);
    QFETCH(QString, grand);
    TempData data;
    addKarnatakaShop(*data.db);
    MessageRecorder messages;
    std::unique_ptr<InvoiceForm> form;
    if (separateGst)
        form = std::make_unique<frmTaxInvoiceSeperateGst>(*data.db);
    else
        form = std::make_unique<frmTaxInvoice>(*data.db);
    form->show();
    QWidget* f = form.get();
    const auto shown = [f](const QString& name) { return amountOf(zelva::TextOf(need<QWidget>(f, name))); };

    click(need<QPushButton>(f, "cmdNewInvoice"));
    // a late entry of the days when freight was charged 12%
    typeInto(need(f, "txtInvoiceDate"), "20/09/2025");
    QTest::keyClick(need(f, "txtInvoiceDate"), Qt::Key_Return);
    QVERIFY(pick(need<QComboBox>(f, "cboBuyerName"), buyer));
    for (auto [item, quantity] : {std::pair{"Brush", "3"}, {"Paint", "2"}, {"Putty", "7"}}) {
        QVERIFY(pick(need<QComboBox>(f, "cboDescriptionOfGoods"), item));
        typeInto(need(f, "txtQuantity_0"), quantity);
        click(need<QPushButton>(f, "cmdAdd"));
    }
    if (separateGst)
        typeInto(need(f, "txtDisc_2"), "350"); // the discount on the middle line
    QVERIFY(pick(need<QComboBox>(f, "cboGoodsCgst"), goodsRate));
    QVERIFY(pick(need<QComboBox>(f, "cboOthers1"), "Freight"));
    typeInto(need(f, "txtAmount_10"), "149.50");
    QVERIFY(pick(need<QComboBox>(f, "cboOthers1Cgst"), freightRate));
    typeInto(need(f, "txtAmount_16"), "0.22");
    form->RefreshTotals();

    // the screen, as it is printed
    Paise rows = 0;
    for (int row = 8; row <= 16; ++row)
        rows += shown(QStringLiteral("txtAmount_%1").arg(row));
    const Paise taxRows = rows - shown("txtAmount_10") - shown("txtAmount_13") - shown("txtAmount_16");
    QCOMPARE(shown("txtTotalGoodsAmount") + rows, shown("txtTotalAmount"));
    QCOMPARE(shown("txtTotalCgst") + shown("txtTotalSgst"), taxRows);
    QCOMPARE(zelva::TextOf(need<QWidget>(f, "txtTotalAmount")), grand);
    if (separateGst) {
        Paise lineTotals = 0;
        Paise lineTaxes = 0;
        for (int row = 1; row <= 3; ++row) {
            lineTotals += shown(QStringLiteral("txtTotal_%1").arg(row));
            lineTaxes += shown(QStringLiteral("txtCgstAmt_%1").arg(row)) + shown(QStringLiteral("txtSgstAmt_%1").arg(row));
        }
        QCOMPARE(lineTaxes, shown("txtAmount_8") + shown("txtAmount_9"));
        QCOMPARE(lineTotals, shown("txtTotalGoodsAmount") + lineTaxes);
        QCOMPARE(shown("txtTotalGst"), taxRows);
        QCOMPARE(shown("txtTotalBeforeTax") + shown("txtTotalGst"), shown("txtTotalAfterTax"));
        QCOMPARE(shown("txtTotalAfterTax") + shown("txtAmount_16"), shown("txtTotalAmount"));
    }
    click(need<QPushButton>(f, "cmdSave"));
    QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});

    // the page of Print Invoice
    click(need<QPushButton>(f, "cmdInvoiceReport"));
    std::unique_ptr<zelva::ReportWindow> window(reportWindow());
    QVERIFY(window);
    const QHash<QString, Paise> page = pageAmounts(*window, 0);
    QCOMPARE(zelva::AmountText(page["TotalTax"]), tax);
    QCOMPARE(zelva::AmountText(page["totalamount"]), grand);
    QCOMPARE(page["TotalGoodsAmount"] + page["Amount10"] + page["Amount13"] + page["TotalTax"] + page["Amount16"],
             page["totalamount"]);
    // the grid: the goods' taxed values and the rows beneath add up to the grand total; on the
    // separate-GST layout each line shows its amount, discount and taxes, and they add up too
    Paise pageRows = 0;
    for (int row = 1; row <= 16; ++row)
        pageRows += page.value(QString(row <= 7 && separateGst ? "TaxableValue%1" : "Amount%1").arg(row));
    QCOMPARE(pageRows, page["totalamount"]);
    if (separateGst) {
        QCOMPARE(zelva::AmountText(page["Amount2"]) + " less " + zelva::AmountText(page["Disc2"]),
                 QString("770.30 less 350.00"));
        Paise lineTotals = 0;
        for (int row = 1; row <= 3; ++row) {
            const QString n = QString::number(row);
            QCOMPARE(page["Amount" + n] - page["Disc" + n], page["TaxableValue" + n]);
            lineTotals += page["Total" + n];
        }
        QCOMPARE(lineTotals, page["TotalGoodsAmount"] + page["Amount8"] + page["Amount9"]);
    }
}

// Without a printer the three copies are a small PDF in Prints, the
// operator told where, whose text can be searched: what the page shows,
// each copy under its caption.
void InvoicePagesTest::printedCopiesAreText()
{
    TempData data;
    addKarnatakaShop(*data.db);
    MessageRecorder messages;
    frmTaxInvoiceSeperateGst form(*data.db);
    form.show();
    click(form.cmdNewInvoice);
    QVERIFY(pick(form.cboBuyerName, "Mysore Mart"));
    for (auto [item, quantity] : {std::pair{"Brush", "3"}, {"Paint", "2"}, {"Putty", "7"}}) {
        QVERIFY(pick(form.cboDescriptionOfGoods, item));
        typeInto(form.txtQuantity[0], quantity);
        click(form.cmdAdd);
    }
    typeInto(form.txtDisc[2], "350");
    QVERIFY(pick(form.cboGoodsCgst, "CGST @ 9%"));
    typeInto(form.txtAmount[16], "0.22");
    zelva::SetPdfOnly(true);
    click(form.cmdPrint);
    zelva::SetPdfOnly(false);
    const QString pdf = data.folder() + "/Prints/A00001.pdf";
    QCOMPARE(messages.texts().size(), 2); // where the copies are, told before the save
    QVERIFY2(messages.texts()[0].contains(QDir::toNativeSeparators(pdf)), qPrintable(messages.texts()[0]));
    QCOMPARE(messages.last(), QString("Saved Successfully"));
    QVERIFY2(QFileInfo(pdf).size() < 300 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished());
    const QStringList pages = QString(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    const QStringList captions{"Original Copy", "Duplicate Copy", "Receiving Copy"};
    for (int i = 0; i < 3; ++i)
        for (const QString& shown : {captions[i], QString("A00001"), QString("Mysore Mart"), QString("Paint"),
                                     QString("350"), QString("770.30"), QString("420.30"), form.txtTotalAmount->text()})
            QVERIFY2(pages[i].contains(shown), qPrintable(captions[i] + ": " + shown));
}

QTEST_MAIN(InvoicePagesTest)
#include "test_invoicepages.moc"
