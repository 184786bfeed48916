// The Stock Value window over opening stock, purchases, sales and issues:
// each item as at the day chosen, the later movements left out, valued at
// the weighted average of the opening cost and the purchase rates up to the
// day; an item with no known cost shown without a value and counted apart;
// paper, CSV and the Excel sheet showing what the grid shows.
#include "reports/frmstockvalue.h"

#include "platform/datetext.h"
#include "data/database.h"
#include "data/serials.h"
#include "invoice/shop.h"
#include "reports/reportfixture.h"
#include "reports/xlsxreader.h"
#include "sales/invoicestore.h"
#include "sales/openingstock.h"

#include <QDateEdit>
#include <QLabel>
#include <QTableView>

using namespace zelva;
using namespace testing;

namespace {

void addItem(Database& db, int sno, const char* name, double quantity, const std::optional<OpeningStock>& opening)
{
    RecordSource stock(db);
    stock.bind(DbFile::ItemStock, "Stock");
    const QString code = RecordCode(CodeKind::Item, sno);
    addRecord(stock, {{"sno", sno}, {"itemcode", code}, {"ItemName", name}, {"ItemHsn", "4802"}, {"Rate", 99.0},
                      {"Per", "Nos"}, {"Quantity", quantity}, {"Remarks", "N.A."}});
    Transaction t(db, "keep the opening stock");
    StoreOpeningStockWithin(db, code, opening);
    t.commit();
}

void purchase(Database& db, int psno, int sno, const char* day, double quantity, double rate)
{
    RecordSource purchase(db);
    purchase.bind(DbFile::PurchaseMaster, "Purchase");
    addRecord(purchase, {{"PSno", psno}, {"PurchaseId", RecordCode(CodeKind::Purchase, psno)}, {"PurchaseDate", day},
                         {"SupplierName", "Metro Supply"}, {"sno", sno}, {"itemcode", RecordCode(CodeKind::Item, sno)},
                         {"Rate", rate}, {"Per", "Nos"}, {"Quantity", quantity}, {"Remarks", "N.A."}});
}

void issue(Database& db, int isno, int sno, const QDate& day, double quantity)
{
    RecordSource issue(db);
    issue.bind(DbFile::IssueMaster, "IssueRegister");
    addRecord(issue, {{"ISno", isno}, {"IssueNo", RecordCode(CodeKind::Issue, isno)}, {"IssueDate", DateText(day)},
                      {"IssueTo", "Workshop"}, {"sno", sno}, {"itemcode", RecordCode(CodeKind::Item, sno)},
                      {"Quantity", quantity}, {"issuedd", day.day()}, {"issuemm", day.month()},
                      {"issueyy", day.year()}});
}

void sell(Database& db, qint64 serial, const char* date, int sno, double quantity)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.buyer.name = "Arun Traders";
    InvoiceLine l;
    l.itemCode = RecordCode(CodeKind::Item, sno);
    l.description = "Copier Paper";
    l.quantity = quantity;
    l.rate = 70;
    l.amount = LineAmount(quantity, 70);
    x.lines = {l};
    ComputeTotals(x);
    StoreInvoice(db, x);
}

// Copier Paper (G00001): 10 on hand at 50.00 when the books start; 10 bought
// at 60.00 on 05/04 and 5 at 80.00 on 10/05; 4 sold on 20/04 and 1 on 15/05;
// 3 issued on 25/04 and 2 on 12/05. Stapler (G00002): 7 at no known cost.
// Glue (G00003) has no opening stock kept: 20 on hand now, 8 of them bought
// at 12.50 on 01/04, so 12 were there before.
void shop(Database& db)
{
    addItem(db, 1, "Copier Paper", 5, OpeningStock{10, 5000});
    addItem(db, 2, "Stapler", 7, OpeningStock{7, std::nullopt});
    addItem(db, 3, "Glue", 20, std::nullopt);
    purchase(db, 1, 1, "05/04/2026", 10, 60);
    purchase(db, 2, 3, "01/04/2026", 8, 12.5);
    purchase(db, 3, 1, "10/05/2026", 5, 80);
    sell(db, 1, "20/04/2026", 1, 4);
    sell(db, 2, "15/05/2026", 1, 1);
    issue(db, 1, 1, {2026, 4, 25}, 3);
    issue(db, 2, 1, {2026, 5, 12}, 2);
}

QStringList gridRow(const QTableView* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << GridText(grid, row, c);
    return texts;
}

} // namespace

class StockValueTest : public QObject {
    Q_OBJECT

private slots:
    void valuedAtCostAsAtTheDay();
    void laterDayTakesTheLaterMovements();
    void paperCsvAndSheetShowTheGrid();
};

void StockValueTest::valuedAtCostAsAtTheDay()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmStockValue form(*data.db);
    form.dtpAsAt->setDate({2026, 4, 30});
    click(form.cmdShow);
    const QTableView* grid = form.grdStockValue;
    // (10 x 50.00 + 10 x 60.00) / 20 = 55.00; 10 + 10 - 4 - 3 = 13 on hand
    QCOMPARE(gridRow(grid, 0), (QStringList{"G00001", "Copier Paper", "Nos", "10", "10", "4", "3", "13", "55.00", "715.00"}));
    QCOMPARE(gridRow(grid, 1), (QStringList{"G00002", "Stapler", "Nos", "7", "0", "0", "0", "7", "no cost", ""}));
    // the opening 12 of no known cost: the purchases alone give the cost
    QCOMPARE(gridRow(grid, 2), (QStringList{"G00003", "Glue", "Nos", "12", "8", "0", "0", "20", "12.50", "250.00"}));
    QCOMPARE(GridRows(grid), 4);
    QCOMPARE(GridText(grid, 3, 9), QString("965.00"));
    QVERIFY2(form.lblMethod->text().contains("weighted average"), qPrintable(form.lblMethod->text()));
    QVERIFY2(form.lblMethod->text().contains("1 item on hand has no cost"), qPrintable(form.lblMethod->text()));
    QVERIFY(messages.texts().isEmpty());
}

void StockValueTest::laterDayTakesTheLaterMovements()
{
    TempData data;
    shop(*data.db);
    const StockValue value = LoadStockValue(*data.db, {2026, 5, 31});
    const StockValueLine& paper = value.lines.at(0);
    // (500 + 600 + 400) / 25 = 60.00 a ream; 10 + 15 - 5 - 5 = 15 on hand
    QCOMPARE(paper.purchased, 15.0);
    QCOMPARE(paper.sold, 5.0);
    QCOMPARE(paper.issued, 5.0);
    QCOMPARE(paper.onHand, 15.0);
    QCOMPARE(paper.unitCost, std::optional<Paise>(6000));
    QCOMPARE(paper.value, Paise(90000));
    QCOMPARE(value.total, Paise(90000 + 25000));
    QCOMPARE(value.withoutCost, 1);
    // and the day before everything: the opening stock alone, at its own cost
    const StockValue before = LoadStockValue(*data.db, {2026, 3, 31});
    QCOMPARE(before.lines.at(0).onHand, 10.0);
    QCOMPARE(before.lines.at(0).value, Paise(50000));
    QCOMPARE(before.lines.at(2).unitCost, std::optional<Paise>()); // the glue's cost is not known yet
    QCOMPARE(before.total, Paise(50000));
    QCOMPARE(before.withoutCost, 2);
}

void StockValueTest::paperCsvAndSheetShowTheGrid()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmStockValue form(*data.db);
    form.dtpAsAt->setDate({2026, 4, 30});
    click(form.cmdShow);

    const TableReport table = form.stockValueTable();
    QCOMPARE(table.title, QString("Stock Value as at 30/04/2026"));
    QVERIFY(table.subtitle.contains("weighted average"));
    const std::vector<report::ReportPage> pages =
        report::PaginateReport(TableLayout(table), TableRows(table), report::Paper{});
    QStringList paper;
    for (const report::ReportPage& page : pages)
        for (const report::PlacedText& text : page.texts)
            paper << text.text;
    for (const QString& shown : gridRow(form.grdStockValue, 0) + QStringList{"965.00", "Stock Value as at 30/04/2026"})
        QVERIFY2(paper.contains(shown), qPrintable(shown));

    const QString csv = StockValueCsv(form.shown());
    QVERIFY2(csv.contains("G00001,Copier Paper,Nos,10,10,4,3,13,55.00,715.00\r\n"), qPrintable(csv));
    QVERIFY2(csv.contains("G00002,Stapler,Nos,7,0,0,0,7,,\r\n"), qPrintable(csv));
    QVERIFY2(csv.contains("Total as at 30/04/2026,,,,,,,,,965.00"), qPrintable(csv));

    const QString xlsx = data.folder() + "/stockvalue.xlsx";
    QVERIFY(SaveXlsx(xlsx, StockValueSheet(form.shown())));
    const XlsxBook book(xlsx);
    QCOMPARE(book.cell("A2").value, QString("G00001"));
    QVERIFY(book.cell("H2").isNumber());
    QCOMPARE(book.cell("H2").value, QString("13"));
    QCOMPARE(book.cell("I2").paise(), 5500);
    QCOMPARE(book.cell("J2").paise(), 71500);
    QVERIFY(book.cell("J3").value.isEmpty()); // no cost, no value
    QCOMPARE(book.cell("J5").paise(), 96500);
    QVERIFY(book.cell("J5").bold);
}

QTEST_MAIN(StockValueTest)
#include "test_stockvalue.moc"
