// The Outstanding and Statement of Account windows over saved invoices and
// receipts: each invoice in its ageing column as at the day chosen, paid,
// cancelled and later invoices left out, an advance taken off the buyer's
// total; the statement's opening, running and closing balances; paper, CSV
// and the Excel sheet showing what the grid shows.
#include "reports/frmoutstanding.h"

#include "platform/datetext.h"
#include "data/serials.h"
#include "invoice/shop.h"
#include "reports/xlsxreader.h"
#include "sales/invoicecancel.h"
#include "sales/companypayment.h"
#include "sales/paymentstore.h"
#include "sales/purchasebill.h"
#include "sales/receiptstore.h"
#include "gst/gststates.h"
#include "sales/salenotestore.h"
#include "support/qrdecode.h"
#include "ui/qrcode.h"
#include "ui/reportwindow.h"

#include "registers/cashbook.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <numeric>

using namespace zelva;
using namespace testing;

namespace {

Invoice sale(qint64 serial, const char* buyerCode, const char* buyerName, const char* date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.buyerCode = buyerCode;
    x.buyer.name = buyerName;
    InvoiceLine l;
    l.description = "Cable";
    l.quantity = 1;
    l.rate = rate;
    l.amount = LineAmount(1, rate);
    x.lines = {l};
    ComputeTotals(x);
    return x;
}

void receive(Database& db, const char* buyerCode, const char* buyerName, const char* date, Paise amount,
             std::vector<Allotment> allotments)
{
    Receipt r;
    r.date = ReadDateText(date);
    r.buyerCode = buyerCode;
    r.buyerName = buyerName;
    r.mode = PaymentMode::Cheque;
    r.reference = "004512";
    r.bank = "Canara";
    r.amount = amount;
    r.allotments = std::move(allotments);
    QVERIFY(StoreReceipt(db, r, QDate(2027, 3, 31)).saved());
}

// As at 31/12/2026 Zeta (C00001) owes A00001 (20/12, 11 days), A00002 (15/11,
// 46 days, 50.00 paid of 200.00), A00003 (10/10, 82 days), A00004 (01/08,
// 152 days); A00005 is paid, A00006 cancelled, A00007 dated in 2027.
// Asha (C00002) paid 800.00 against A00008 of 500.00: 300.00 is advance.
void shop(Database& db)
{
    addBuyer(db, 1, "Zeta", "Kerala");
    addBuyer(db, 2, "Asha", "Kerala");
    const std::tuple<const char*, const char*, const char*, double> sales[] = {
        {"C00001", "Zeta", "20/12/2026", 100},  {"C00001", "Zeta", "15/11/2026", 200},
        {"C00001", "Zeta", "10/10/2026", 300},  {"C00001", "Zeta", "01/08/2026", 400},
        {"C00001", "Zeta", "02/08/2026", 99},   {"C00001", "Zeta", "03/08/2026", 77},
        {"C00001", "Zeta", "05/01/2027", 1000}, {"C00002", "Asha", "30/12/2026", 500}};
    qint64 serial = 0;
    for (const auto& [code, name, date, rate] : sales)
        StoreInvoice(db, sale(++serial, code, name, date, rate));
    receive(db, "C00001", "Zeta", "20/11/2026", 14900, {{2, "A00002", 5000}, {5, "A00005", 9900}});
    QCOMPARE(CancelInvoice(db, "A00006", {QDate(2026, 8, 4), "10:00", "Duplicate", "ravi"}), QString());
    receive(db, "C00002", "Asha", "30/12/2026", 80000, {{8, "A00008", 50000}});
}

void note(Database& db, NoteKind kind, const Invoice& invoice, const char* date, Paise value)
{
    SaleNote n = NoteAgainst(kind, invoice);
    n.date = ReadDateText(date);
    n.time = "11:00:00";
    n.reason = "Post-sale discount";
    n.issuedBy = "ravi";
    n.lines = {{1, "Cable", "", "Nos", 0, value, 0, 0}};
    const StoredNote stored = StoreSaleNote(db, n);
    QVERIFY2(stored.saved(), qPrintable(stored.refusal));
}

void addShop(Database& db, const QString& upiId)
{
    db.run("INSERT INTO Master.Company (Name, State, sno, CompanyId) VALUES ('Zelva & Sons', 'Kerala', 1, 'C00001')", {},
           "add company", DbFile::Master);
    Transaction t(db, "add the UPI ID");
    StoreCompanyPaymentWithin(db, 1, {upiId, DefaultEwayBillLimit});
    t.commit();
}

// The QR codes on the statement's last page, read back from the page drawn at 180 dpi.
QStringList pageQrCodes(const TableReport& table)
{
    const std::vector<report::ReportPage> pages =
        report::PaginateReport(TableLayout(table), TableRows(table), report::Paper{});
    QImage image(1489, 2105, QImage::Format_Grayscale8); // A4 at 1/8 of its twips
    image.setDotsPerMeterX(int(1440 / 8 / 0.0254));
    image.setDotsPerMeterY(int(1440 / 8 / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    report::PaintReportPage(painter, pages.back(), 1.0);
    painter.end();
    return DecodeQrCodes(image);
}

QStringList gridRow(const QTableView* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << GridText(grid, row, c);
    return texts;
}

QStringList takeReportTexts()
{
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ReportWindow*>(w); window && window->isVisible()) {
            for (const report::ReportPage& page : window->pages())
                for (const report::PlacedText& text : page.texts)
                    texts << text.text;
            window->close();
        }
    return texts;
}

} // namespace

class OutstandingTest : public QObject {
    Q_OBJECT
private slots:
    void ageingAsAtTheDay();
    void ageingColumnEdges_data();
    void ageingColumnEdges();
    void statementOfAccount();
    void notesChangeWhatIsOwed();
    void statementCarriesThePayQr_data();
    void statementCarriesThePayQr();
    void payablesOfTheSuppliers();
    void payablesNameTheCreditToReverse();
    void cashBookOfADay();
};

void OutstandingTest::ageingAsAtTheDay()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmOutstanding form(*data.db);
    form.dtpAsAt->setDate({2026, 12, 31});
    click(form.cmdShow);
    const QTableView* grid = form.grdOutstanding;
    // Asha first (by name): her advance and total, the advance in its own
    // column; then Zeta's four invoices, oldest first
    QCOMPARE(gridRow(grid, 0), (QStringList{"Asha", "Advance", "", "", "", "-300.00", "", "", "", "", "", "-300.00"}));
    QCOMPARE(gridRow(grid, 1),
             (QStringList{"Total Asha", "", "", "0.00", "0.00", "-300.00", "", "", "", "", "", "-300.00"}));
    QCOMPARE(gridRow(grid, 2), (QStringList{"Zeta", "A00004", "01/08/2026", "400.00", "0.00", "400.00", "152", "", "",
                                            "", "400.00", ""}));
    QCOMPARE(gridRow(grid, 3).mid(1, 1) + gridRow(grid, 3).mid(6, 5),
             (QStringList{"A00003", "82", "", "", "300.00", ""}));
    QCOMPARE(gridRow(grid, 4).mid(1) , (QStringList{"A00002", "15/11/2026", "200.00", "50.00", "150.00", "46", "",
                                                     "150.00", "", "", ""}));
    QCOMPARE(gridRow(grid, 5).mid(1, 1) + gridRow(grid, 5).mid(6, 2), (QStringList{"A00001", "11", "100.00"}));
    QCOMPARE(gridRow(grid, 6), (QStringList{"Total Zeta", "", "", "1000.00", "50.00", "950.00", "", "100.00",
                                            "150.00", "300.00", "400.00", ""}));
    QCOMPARE(GridRows(grid), 8);
    // 950.00 less Asha's 300.00, which every row's columns add up to
    QCOMPARE(gridRow(grid, 7).mid(5), (QStringList{"650.00", "", "100.00", "150.00", "300.00", "400.00", "-300.00"}));
    const auto addsUp = [](const OutstandingFigures& f) {
        return std::accumulate(f.ageing.begin(), f.ageing.end(), f.advance) == f.balance;
    };
    QVERIFY(addsUp(form.shown().totals));
    for (const OutstandingBuyer& buyer : form.shown().buyers) {
        QVERIFY2(addsUp(buyer.totals), qPrintable(buyer.name));
        for (const OutstandingLine& line : buyer.lines)
            QVERIFY2(addsUp(line.figures), qPrintable(line.number));
    }

    click(form.cmdPrint);
    const QStringList paper = takeReportTexts();
    for (const QString& shown : gridRow(grid, 4) + gridRow(grid, 7) + QStringList{"Outstanding as at 31/12/2026"})
        QVERIFY2(shown.isEmpty() || paper.contains(shown), qPrintable(shown));

    const QString xlsx = data.folder() + "/outstanding.xlsx";
    QCOMPARE(SaveXlsx(xlsx, OutstandingSheet(form.shown())), true);
    const XlsxBook book(xlsx);
    QCOMPARE(book.frozenAt(), QString("A2"));
    QCOMPARE(book.cell("B6").value, QString("A00002"));
    QCOMPARE(book.cell("C6").date(), QDate(2026, 11, 15));
    QVERIFY(book.cell("F6").isNumber());
    QCOMPARE(book.cell("F6").paise(), 15000);
    QCOMPARE(book.cell("G6").value, QString("46"));
    QCOMPARE(book.cell("F9").paise(), 65000);
    QVERIFY(book.cell("F9").bold);
    QVERIFY(book.cell("L2").isNumber());
    QCOMPARE(book.cell("L2").paise(), -30000);
    const QString csv = OutstandingCsv(form.shown());
    QVERIFY2(csv.contains("Zeta,A00002,15/11/2026,200.00,50.00,150.00,46,0.00,150.00,0.00,0.00,0.00"), qPrintable(csv));

    // as at 16/11 only what was billed and paid by then counts
    form.dtpAsAt->setDate({2026, 11, 16});
    click(form.cmdShow);
    QCOMPARE(gridRow(grid, GridRows(grid) - 1).mid(5, 1), QStringList{"999.00"}); // 200+300+400+99; the receipt of 20/11 not yet, A00006 cancelled
}

// An invoice exactly 30, 60 or 90 days old is still in the column it ends.
void OutstandingTest::ageingColumnEdges_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("column");
    for (const auto& [days, column] : {std::pair{0, 0}, {30, 0}, {31, 1}, {60, 1}, {61, 2}, {90, 2}, {91, 3}, {-1, 3}})
        QTest::addRow("%d days", days) << days << column;
}

void OutstandingTest::ageingColumnEdges()
{
    QFETCH(int, days);
    QFETCH(int, column);
    QCOMPARE(AgeingColumn(days), column);
}

void OutstandingTest::statementOfAccount()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmStatement form(*data.db);
    click(form.cmdShow);
    QCOMPARE(messages.last(), QString("Choose the buyer whose account to show (Buyer)."));
    form.dtpFrom->setDate({2026, 10, 1});
    form.dtpTo->setDate({2026, 12, 31});
    QVERIFY(pick(form.cboBuyerName, "Zeta (C00001)"));
    const QTableView* grid = form.grdStatement;
    // opening: A00004 and A00005 (August) billed, A00006 cancelled
    QCOMPARE(gridRow(grid, 0), (QStringList{"01/10/2026", "Opening balance", "", "", "499.00"}));
    QCOMPARE(gridRow(grid, 1), (QStringList{"10/10/2026", "Invoice A00003", "300.00", "", "799.00"}));
    QCOMPARE(gridRow(grid, 2), (QStringList{"15/11/2026", "Invoice A00002", "200.00", "", "999.00"}));
    QCOMPARE(gridRow(grid, 3),
             (QStringList{"20/11/2026", "Receipt R00001 (Cheque, 004512, Canara)", "", "149.00", "850.00"}));
    QCOMPARE(gridRow(grid, 4), (QStringList{"20/12/2026", "Invoice A00001", "100.00", "", "950.00"}));
    QCOMPARE(gridRow(grid, 5), (QStringList{"31/12/2026", "Closing balance", "600.00", "149.00", "950.00"}));
    QCOMPARE(GridRows(grid), 6);
    QCOMPARE(form.shown().closing, WhatIsOwed(*data.db, {"C00001", QDate(2026, 12, 31)}).balance("C00001"));

    click(form.cmdPrint);
    const QStringList paper = takeReportTexts();
    for (const QString& shown : gridRow(grid, 3) + QStringList{"Statement of Account: Zeta"})
        QVERIFY2(shown.isEmpty() || paper.contains(shown), qPrintable(shown));
    const QString xlsx = data.folder() + "/statement.xlsx";
    QVERIFY(SaveXlsx(xlsx, StatementSheet(form.shown())));
    const XlsxBook book(xlsx);
    QCOMPARE(book.cell("A4").date(), QDate(2026, 11, 15));
    QCOMPARE(book.cell("E7").paise(), 95000);
    QCOMPARE(book.frozenAt(), QString("A2"));
}

// Mira's A00001 of 1000.00 less CN00001 (200.00) plus DN00001 (50.00) is paid
// by R00001 (850.00) in full; CN00002 (100.00) then leaves her 100.00 ahead.
void OutstandingTest::notesChangeWhatIsOwed()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Mira", "Kerala");
    const Invoice invoice = sale(1, "C00001", "Mira", "01/12/2026", 1000);
    StoreInvoice(db, invoice);
    note(db, NoteKind::Credit, invoice, "03/12/2026", 20000);
    note(db, NoteKind::Debit, invoice, "05/12/2026", 5000);
    const Owed before = WhatIsOwed(db, {"C00001", QDate(2026, 12, 6)});
    QCOMPARE(before.balance("C00001"), 85000);
    QCOMPARE(before.open.size(), std::size_t(1));
    QCOMPARE(before.open[0].left(), 85000);
    receive(db, "C00001", "Mira", "07/12/2026", 85000, {{1, "A00001", 85000}});
    note(db, NoteKind::Credit, invoice, "10/12/2026", 10000);

    QCOMPARE(WhatIsOwed(db, {"C00001", QDate(2026, 12, 8)}).balance("C00001"), 0);
    const Owed after = WhatIsOwed(db);
    QVERIFY(after.open.empty());
    QCOMPARE(after.balance("C00001"), -10000);
    QCOMPARE(after.advances.size(), std::size_t(1));
    QCOMPARE(after.advances[0].amount, 10000);
    QVERIFY(AdvanceHeld(db, "C00001") >= 10000);

    MessageRecorder messages;
    frmOutstanding outstanding(db);
    outstanding.dtpAsAt->setDate({2026, 12, 31});
    click(outstanding.cmdShow);
    QCOMPARE(gridRow(outstanding.grdOutstanding, 0).mid(0, 6), (QStringList{"Mira", "Advance", "", "", "", "-100.00"}));

    frmStatement form(db);
    form.dtpFrom->setDate({2026, 12, 2});
    form.dtpTo->setDate({2026, 12, 31});
    QVERIFY(pick(form.cboBuyerName, "Mira (C00001)"));
    const QTableView* grid = form.grdStatement;
    const QList<QStringList> lines{
        {"02/12/2026", "Opening balance", "", "", "1000.00"},
        {"03/12/2026", "Credit Note CN00001 on A00001", "", "200.00", "800.00"},
        {"05/12/2026", "Debit Note DN00001 on A00001", "50.00", "", "850.00"},
        {"07/12/2026", "Receipt R00001 (Cheque, 004512, Canara)", "", "850.00", "0.00"},
        {"10/12/2026", "Credit Note CN00002 on A00001", "", "100.00", "-100.00"},
        {"31/12/2026", "Closing balance", "50.00", "1150.00", "-100.00"}};
    QCOMPARE(GridRows(grid), int(lines.size()));
    for (int row = 0; row < lines.size(); ++row)
        QCOMPARE(gridRow(grid, row), lines[row]);
    QCOMPARE(form.shown().closing, after.balance("C00001"));
}

void OutstandingTest::statementCarriesThePayQr_data()
{
    QTest::addColumn<QString>("upiId");
    QTest::addColumn<QString>("buyer");
    QTest::addColumn<QString>("pay");
    QTest::newRow("owes: the closing balance asked") // 950.00 of A00001-A00004, less 50.00 paid
        << "zelva.sons@okbank" << "Zeta (C00001)"
        << "upi://pay?pa=zelva.sons@okbank&pn=Zelva%20%26%20Sons&am=950.00&cu=INR&tn=Statement%20C00001";
    QTest::newRow("ahead: no amount") << "zelva.sons@okbank" << "Asha (C00002)"
                                      << "upi://pay?pa=zelva.sons@okbank&pn=Zelva%20%26%20Sons&cu=INR&tn=Statement%20C00002";
    QTest::newRow("no UPI ID: no code") << "" << "Zeta (C00001)" << "";
}

void OutstandingTest::statementCarriesThePayQr()
{
    QFETCH(QString, upiId);
    QFETCH(QString, buyer);
    QFETCH(QString, pay);
    TempData data;
    shop(*data.db);
    addShop(*data.db, upiId);
    MessageRecorder messages;
    frmStatement form(*data.db);
    form.dtpFrom->setDate({2026, 10, 1});
    form.dtpTo->setDate({2026, 12, 31});
    QVERIFY(pick(form.cboBuyerName, buyer));
    QCOMPARE(form.qrPay->text(), pay);
    QCOMPARE(form.qrPay->isVisibleTo(&form), !pay.isEmpty());
    QCOMPARE(pageQrCodes(form.statementTable()), pay.isEmpty() ? QStringList{} : QStringList{pay});
}

// The same window over what the shop owes: Kavi Steels' bill of 100 days,
// paid in part, over 90; Anbu Wires paid 100.00 ahead.
void OutstandingTest::payablesOfTheSuppliers()
{
    TempData data;
    const auto bill = [&](const char* number, const QDate& date, const char* supplier, const char* pan, Paise taxable) {
        PurchaseBill b;
        b.number = number;
        b.date = date;
        b.supplierName = supplier;
        const QString first14 = QStringLiteral("33%1").arg(QLatin1String(pan)) + "1Z";
        b.supplierGstin = first14 + GstinCheckCharacter(first14);
        b.supplierState = "Tamil Nadu";
        PurchaseBillLine l;
        l.itemName = "Rod";
        l.quantity = 1;
        l.rate = ToRupees(taxable);
        l.taxable = taxable;
        l.gstRate = 18;
        b.lines = {l};
        ComputePurchaseTaxes(b, "Tamil Nadu", "33AAACH7409R1Z8");
        if (const QString refusal = StorePurchaseBill(*data.db, b); !refusal.isEmpty())
            qFatal("%s", qPrintable(refusal));
        return b.serial;
    };
    const QDate asAt(2026, 12, 1);
    const qint64 kavi = bill("K-100", asAt.addDays(-100), "Kavi Steels", "AAFCS1234K", 100000);
    Payment part;
    part.date = QDate(2026, 11, 20);
    part.supplierName = "Kavi Steels";
    part.amount = 18000;
    part.allotments = {{kavi, "K-100", 18000}};
    QVERIFY(StorePayment(*data.db, part, asAt).saved());
    Payment ahead = part;
    ahead.supplierName = "Anbu Wires";
    ahead.amount = 10000;
    ahead.allotments = {};
    QVERIFY(StorePayment(*data.db, ahead, asAt).saved());

    MessageRecorder messages;
    frmOutstanding form(*data.db, nullptr, true);
    form.dtpAsAt->setDate(asAt);
    click(form.cmdShow);
    const QTableView* grid = form.grdOutstanding;
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Supplier"));
    QCOMPARE(gridRow(grid, 0).mid(0, 6), (QStringList{"Anbu Wires", "Advance", "", "", "", "-100.00"}));
    QCOMPARE(gridRow(grid, 2), (QStringList{"Kavi Steels", "K-100", "23/08/2026", "1180.00", "180.00", "1000.00", "100",
                                            "", "", "", "1000.00", "", ""}));
    QCOMPARE(gridRow(grid, GridRows(grid) - 1).mid(5, 1), QStringList{"900.00"});
    click(form.cmdPrint);
    const QStringList paper = takeReportTexts();
    for (const QString& shown : gridRow(grid, 2) + QStringList{"Payables as at 01/12/2026"})
        QVERIFY2(shown.isEmpty() || paper.contains(shown), qPrintable(shown));
    const QString xlsx = data.folder() + "/payables.xlsx";
    QCOMPARE(SaveXlsx(xlsx, OutstandingSheet(form.shown())), true);
    const XlsxBook book(xlsx);
    QCOMPARE(book.cell("A1").value, QString("Supplier"));
    QCOMPARE(book.cell("F4").paise(), 100000);

    // Kavi's statement from September: K-100 before it, K-101 and the payment in it.
    bill("K-101", QDate(2026, 10, 15), "Kavi Steels", "AAFCS1234K", 50000);
    frmSupplierStatement statement(*data.db);
    click(statement.cmdShow);
    QCOMPARE(messages.last(), QString("Choose the supplier whose account to show (Supplier)."));
    statement.dtpFrom->setDate({2026, 9, 1});
    statement.dtpTo->setDate(asAt);
    QVERIFY(pick(statement.cboSupplierName, "Kavi Steels"));
    const QTableView* lines = statement.grdStatement;
    QCOMPARE(GridRows(lines), 4);
    QCOMPARE(gridRow(lines, 0), (QStringList{"01/09/2026", "Opening balance", "", "", "1180.00"}));
    QCOMPARE(gridRow(lines, 1), (QStringList{"15/10/2026", "Bill K-101", "", "590.00", "1770.00"}));
    QCOMPARE(gridRow(lines, 2), (QStringList{"20/11/2026", "Payment V00001 (Cash)", "180.00", "", "1590.00"}));
    QCOMPARE(gridRow(lines, 3), (QStringList{"01/12/2026", "Closing balance", "180.00", "590.00", "1590.00"}));
    click(statement.cmdPrint);
    const QStringList statementPaper = takeReportTexts();
    QVERIFY(statementPaper.contains("Supplier Statement: Kavi Steels"));
    QVERIFY(statementPaper.contains("Payment V00001 (Cash)"));
}

// As at 01/12/2026 (Anbu Wires by name first): A-190, 190 days old with its
// credit blocked, reverses nothing; A-181 (200.00 + 36.00 tax, unpaid) is
// just past the 180 days; A-180 just within them; Kavi's K-200, half paid,
// reverses the tax of its unpaid half (90.00); K-150 is within the days.
void OutstandingTest::payablesNameTheCreditToReverse()
{
    TempData data;
    const QDate asAt(2026, 12, 1);
    const auto bill = [&](const char* number, int daysOld, const char* supplier, const char* pan, Paise taxable,
                          CreditKind credit) {
        PurchaseBill b;
        b.number = number;
        b.date = asAt.addDays(-daysOld);
        b.supplierName = supplier;
        const QString first14 = QStringLiteral("33%1").arg(QLatin1String(pan)) + "1Z";
        b.supplierGstin = first14 + GstinCheckCharacter(first14);
        b.supplierState = "Tamil Nadu";
        b.credit = credit;
        PurchaseBillLine l;
        l.itemName = "Rod";
        l.quantity = 1;
        l.rate = ToRupees(taxable);
        l.taxable = taxable;
        l.gstRate = 18;
        b.lines = {l};
        ComputePurchaseTaxes(b, "Tamil Nadu", "33AAACH7409R1Z8");
        if (const QString refusal = StorePurchaseBill(*data.db, b); !refusal.isEmpty())
            qFatal("%s", qPrintable(refusal));
        return b.serial;
    };
    const qint64 k200 = bill("K-200", 200, "Kavi Steels", "AAFCS1234K", 100000, CreditKind::Eligible);
    bill("K-150", 150, "Kavi Steels", "AAFCS1234K", 40000, CreditKind::Eligible);
    bill("A-190", 190, "Anbu Wires", "AABCM5678L", 50000, CreditKind::Blocked);
    bill("A-181", 181, "Anbu Wires", "AABCM5678L", 20000, CreditKind::Eligible);
    bill("A-180", 180, "Anbu Wires", "AABCM5678L", 30000, CreditKind::Eligible);
    Payment half;
    half.date = QDate(2026, 7, 1);
    half.supplierName = "Kavi Steels";
    half.amount = 59000;
    half.allotments = {{k200, "K-200", 59000}};
    QVERIFY(StorePayment(*data.db, half, asAt).saved());

    MessageRecorder messages;
    frmOutstanding form(*data.db, nullptr, true);
    form.dtpAsAt->setDate(asAt);
    click(form.cmdShow);
    const QTableView* grid = form.grdOutstanding;
    const int last = grid->model()->columnCount() - 1;
    QCOMPARE(last, 12);
    QCOMPARE(grid->model()->headerData(last, Qt::Horizontal).toString(), QString("Unpaid 180 Days"));
    QStringList column;
    for (int row = 0; row < GridRows(grid); ++row)
        column << GridText(grid, row, 1) + ":" + GridText(grid, row, last);
    QCOMPARE(column, (QStringList{"A-190:", "A-181:36.00", "A-180:", ":36.00", "K-200:90.00", "K-150:", ":90.00",
                                  ":126.00"}));

    // on paper every row has its cell in the column, in the grid's order
    click(form.cmdPrint);
    QStringList paperColumn;
    QStringList paper;
    bool captioned = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ReportWindow*>(w); window && window->isVisible()) {
            for (const report::ReportPage& page : window->pages())
                for (const report::PlacedText& text : page.texts) {
                    captioned = captioned || text.text == "Unpaid 180 Days";
                    paper << text.text;
                    if (text.column == QStringLiteral("c%1").arg(last))
                        paperColumn << text.text;
                }
            window->close();
        }
    QVERIFY(captioned);
    QStringList gridColumn;
    for (const QString& cell : column)
        gridColumn << cell.section(':', 1);
    QCOMPARE(paperColumn.mid(0, gridColumn.size() - 1), gridColumn.mid(0, gridColumn.size() - 1));
    QVERIFY(paper.contains("126.00")); // the totals beneath

    // the CSV: every line as many cells as the caption line, the credit last
    const QStringList csv = OutstandingCsv(form.shown()).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 8 + 1);
    QVERIFY2(csv[0].endsWith(",Advance paid,Unpaid 180 Days"), qPrintable(csv[0]));
    for (const QString& line : csv)
        QVERIFY2(line.count(',') == 12, qPrintable(line));
    QVERIFY2(csv[2].startsWith("Anbu Wires,A-181,") && csv[2].endsWith(",36.00"), qPrintable(csv[2]));
    QVERIFY2(csv[3].endsWith(",0.00"), qPrintable(csv[3]));
    QVERIFY2(csv[8].endsWith(",126.00"), qPrintable(csv[8]));

    // the workbook: the column captioned, a number on every row
    const QString xlsx = data.folder() + "/payables.xlsx";
    QCOMPARE(SaveXlsx(xlsx, OutstandingSheet(form.shown())), true);
    const XlsxBook book(xlsx);
    QCOMPARE(book.cell("M1").value, QString("Unpaid 180 Days"));
    QCOMPARE(book.cell("M3").paise(), 3600);
    QCOMPARE(book.cell("M4").paise(), 0);
    QVERIFY(book.cell("M4").isNumber());
    QCOMPARE(book.cell("M6").paise(), 9000);
    QCOMPARE(book.cell("M9").paise(), 12600);
    QVERIFY(book.cell("M9").bold);
    QVERIFY(!book.cell("N1").isNumber() && book.cell("N1").value.isEmpty());
}

// The cash of 02/12/2026: opening with the cash of 01/12 (500.00 in, 120.50
// out), a receipt in cash, an invoice paid now in cash and a payment in
// cash; a receipt by UPI, a cancelled cash receipt, a payment by bank and
// the cash of 03/12 left out.
void OutstandingTest::cashBookOfADay()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Zeta", "Kerala");
    addBuyer(db, 2, "Asha", "Kerala");
    const auto cash = [&](const char* code, const char* name, const char* date, const char* time, PaymentMode mode, Paise amount) {
        Receipt r;
        r.date = ReadDateText(date);
        r.time = time;
        r.buyerCode = code;
        r.buyerName = name;
        r.mode = mode;
        r.reference = mode == PaymentMode::Cash ? "" : "UTR 5512";
        r.amount = amount;
        const StoredReceipt stored = StoreReceipt(db, r, QDate(2027, 3, 31));
        if (!stored.saved())
            qFatal("%s", qPrintable(stored.refusal));
        return stored.number;
    };
    const auto pay = [&](const char* date, const char* time, PaymentMode mode, Paise amount) {
        Payment p;
        p.date = ReadDateText(date);
        p.time = time;
        p.supplierName = "Sharma Traders";
        p.mode = mode;
        p.reference = mode == PaymentMode::Cash ? "" : "NEFT 77";
        p.amount = amount;
        QVERIFY(StorePayment(db, p, QDate(2027, 3, 31)).saved());
    };
    cash("C00001", "Zeta", "01/12/2026", "09:00:00", PaymentMode::Cash, 50000);
    pay("01/12/2026", "17:00:00", PaymentMode::Cash, 12050);
    cash("C00002", "Asha", "02/12/2026", "09:15:00", PaymentMode::Cash, 100000);
    cash("C00002", "Asha", "02/12/2026", "09:20:00", PaymentMode::Upi, 200000);
    const QString cancelled = cash("C00001", "Zeta", "02/12/2026", "09:30:00", PaymentMode::Cash, 77700);
    QCOMPARE(CancelReceipt(db, cancelled, {QDate(2026, 12, 2), "09:40", "entered twice", "ravi"}), QString());
    Invoice counter = sale(1, "C00001", "Zeta", "02/12/2026", 590);
    counter.time = "11:00:00";
    const StoredSale paidNow = StoreSale(db, counter, Renumber::Allowed, PaidNow{PaymentMode::Cash, {}, {}});
    QVERIFY(!paidNow.receiptNumber.isEmpty());
    const Paise counterCash = LoadReceipt(db, paidNow.receiptNumber)->amount;
    pay("02/12/2026", "12:00:00", PaymentMode::Cash, 25025);
    pay("02/12/2026", "12:30:00", PaymentMode::BankTransfer, 99900);
    cash("C00001", "Zeta", "03/12/2026", "09:00:00", PaymentMode::Cash, 300000);

    MessageRecorder messages;
    frmCashBook form(db);
    form.dtpFrom->setDate({2026, 12, 2});
    form.dtpTo->setDate({2026, 12, 2});
    click(form.cmdShow);
    const QTableView* grid = form.grdCashBook;
    QCOMPARE(GridRows(grid), 5);
    QCOMPARE(gridRow(grid, 0), (QStringList{"02/12/2026", "Opening cash", "", "", "379.50"}));
    QCOMPARE(gridRow(grid, 1), (QStringList{"02/12/2026", "Receipt R00002 from Asha", "1000.00", "", "1379.50"}));
    QCOMPARE(gridRow(grid, 2), (QStringList{"02/12/2026", QString("Receipt %1 from Zeta").arg(paidNow.receiptNumber),
                                            AmountText(counterCash), "", AmountText(137950 + counterCash)}));
    QCOMPARE(gridRow(grid, 3), (QStringList{"02/12/2026", "Payment V00002 to Sharma Traders", "", "250.25",
                                            AmountText(137950 + counterCash - 25025)}));
    QCOMPARE(gridRow(grid, 4), (QStringList{"02/12/2026", "Closing cash", AmountText(100000 + counterCash), "250.25",
                                            AmountText(137950 + counterCash - 25025)}));
    QVERIFY(CashBookCsv(form.shown()).contains("Payment V00002 to Sharma Traders,,250.25," + AmountText(137950 + counterCash - 25025)));
    click(form.cmdPrint);
    const QStringList paper = takeReportTexts();
    for (const QString& shown : gridRow(grid, 2) + QStringList{"Cash Book", "Closing cash"})
        QVERIFY2(shown.isEmpty() || paper.contains(shown), qPrintable(shown));
    // The period's ends the wrong way round.
    form.dtpFrom->setDate({2026, 12, 3});
    click(form.cmdShow);
    QCOMPARE(messages.last(), QString("The period starts after it ends: choose a From day on or before the To day."));
}

QTEST_MAIN(OutstandingTest)
#include "test_outstanding.moc"
