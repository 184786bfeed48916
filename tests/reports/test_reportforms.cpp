// The stock, purchase and issue report forms worked as the operator works
// them, what their report windows hold, and the monthly grid against invoices
// saved through the invoice form.
#include "invoice/frmtaxinvoice.h"
#include "reports/frmmonthlyreport.h"
#include "reports/frmregisterreports.h"
#include "reports/frmstockreport.h"
#include "invoice/shop.h"
#include "reports/reportfixture.h"
#include "sales/reorderlevel.h"
#include "support/formdriver.h"

#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

using namespace zelva;
using namespace testing;

namespace {

void choose(QAbstractButton* option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2)); }

// The item names listed, in alphabetical order: a period is read by its
// indexed day key, so rows may come in date order.
QStringList names(const QueryRows& rows)
{
    QStringList shown;
    for (const QVariantMap& row : rows)
        shown << row.value("ItemName").toString();
    shown.sort();
    return shown;
}

// A report form over a window area, as the main window opens it.
template <typename Form> struct Opened {
    explicit Opened(Database& db)
        : form(db, &area)
    {
        area.resize(900, 700);
        area.show();
        form.show();
    }
    QMdiArea area;
    Form form;
};

} // namespace

class ReportFormsTest : public QObject {
    Q_OBJECT
private slots:
    void stockBands_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("all") << 1
                             << QStringList { "Zero", "One", "Ten", "Eleven", "Fifty", "FiftyOne", "Owed", "TenHalf",
                                    "Uncounted" };
        QTest::newRow("zero") << 2 << QStringList { "Zero" };
        QTest::newRow("1 to 10") << 3 << QStringList { "One", "Ten" };
        QTest::newRow("11 to 50") << 4 << QStringList { "Eleven", "Fifty" };
        QTest::newRow("nill: none on hand") << 5 << QStringList { "Zero", "Owed", "Uncounted" };
    }
    // Both ends of each band count; 51 and 10.5 only under all; a negative
    // and no quantity at all are nothing on hand; the placeholder (here with 5
    // on hand, or none) never.
    void stockBands()
    {
        QFETCH(int, band);
        QFETCH(QStringList, listed);
        TempData data;
        addStockItem(*data.db, 0, {}, 5);
        const std::pair<const char*, double> items[] = { { "Zero", 0 }, { "One", 1 }, { "Ten", 10 }, { "Eleven", 11 },
            { "Fifty", 50 }, { "FiftyOne", 51 }, { "Owed", -3 }, { "TenHalf", 10.5 } };
        int sno = 0;
        for (const auto& [name, quantity] : items)
            addStockItem(*data.db, ++sno, name, quantity);
        addStockItem(*data.db, ++sno, "Uncounted", 0);
        data.db->run(
            "UPDATE ItemStock.Stock SET Quantity = NULL WHERE ItemName = 'Uncounted'", {}, "test", DbFile::ItemStock);
        listed.sort();
        QCOMPARE(names(StockReportRows(*data.db, static_cast<StockBand>(band))), listed);
        addStockItem(*data.db, 0, {}, -1); // the placeholder owing stock
        QCOMPARE(names(StockReportRows(*data.db, static_cast<StockBand>(band))), listed);
    }

    // " Nothing to show" keeps the form with its band; another band then opens
    // a report window with every row, over the pages its length needs.
    void stockNothingThenAnotherBand()
    {
        TempData data;
        MessageRecorder messages;
        for (int sno = 1; sno <= 40; ++sno)
            addStockItem(*data.db, sno, QString("Item %1").arg(sno), 20);
        Opened<frmStockReport> opened(*data.db);
        click(opened.form.optItemsWithZero);
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts(), QStringList { " Nothing to show" });
        QVERIFY(opened.form.isVisible());
        QCOMPARE(opened.form.band(), StockBand::Zero);
        QVERIFY(reportWindows(opened.area).isEmpty());

        click(opened.form.optItemsWithinFifty);
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(!opened.form.isVisible());
        const QList<ReportWindow*> windows = reportWindows(opened.area);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(shownColumn(*windows[0], "ItemName").size(), 40);
        QCOMPARE(shownColumn(*windows[0], "Sno").first(), QString("1"));
        QCOMPARE(windows[0]->pageCount(), 3); // 14 to 16 rows of 855 twips a page
    }

    // Below Reorder Level: the items at or below their level (not one above
    // it, nor one without a level), each with its shortfall and the supplier
    // and rate of its last purchase.
    void belowReorderLevel()
    {
        TempData data;
        MessageRecorder messages;
        addStockItem(*data.db, 1, "Cable", 3);
        addStockItem(*data.db, 2, "Mouse", 40);
        addStockItem(*data.db, 3, "Keyboard", 8);
        addStockItem(*data.db, 4, "Unlevelled", 0);
        addPurchase(*data.db, 1, 1, "Cable", QDate(2026, 11, 2));
        {
            Transaction work(*data.db, "set up");
            StoreReorderLevelWithin(*data.db, "G00001", 10);
            StoreReorderLevelWithin(*data.db, "G00002", 39.5);
            StoreReorderLevelWithin(*data.db, "G00003", 8);
            work.commit();
        }
        Opened<frmStockReport> opened(*data.db);
        click(opened.form.optBelowReorderLevel);
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts(), QStringList());
        const QList<ReportWindow*> windows = reportWindows(opened.area);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(shownColumn(*windows[0], "c1"), (QStringList{"Cable", "Keyboard"}));
        QCOMPARE(shownColumn(*windows[0], "c4"), (QStringList{"7", "0"}));
        QCOMPARE(shownColumn(*windows[0], "c5"), (QStringList{"Metro Supply", ""}));
        QCOMPARE(shownColumn(*windows[0], "c6"), (QStringList{"250.50", ""}));
    }

    // All lists every purchase but the placeholder, a new item's (sno 0) too,
    // as Today does; each period reads the purchase date.
    void purchasePeriods()
    {
        TempData data;
        const QDate today = QDate::currentDate();
        addPurchase(*data.db, 1, 1, "Listed today", today);
        addPurchase(*data.db, 2, 0, "New item today", today);
        addPurchase(*data.db, 3, 2, "Yesterday", today.addDays(-1));
        addPurchase(*data.db, 4, 2, "Last year", today.addYears(-1));
        QCOMPARE(names(PurchaseReportRows(*data.db, std::nullopt)),
            (QStringList { "Last year", "Listed today", "New item today", "Yesterday" }));
        QCOMPARE(
            names(PurchaseReportRows(*data.db, DayPeriod(today))), (QStringList { "Listed today", "New item today" }));
        QCOMPARE(names(PurchaseReportRows(*data.db, Period { today.addDays(-1), today })),
            (QStringList { "Listed today", "New item today", "Yesterday" }));
        const QueryRows rows = PurchaseReportRows(*data.db, DayPeriod(today.addDays(-1)));
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(rows[0].value("PurchaseOrder").toString(), QString("PO-3"));
        QCOMPARE(rows[0].value("PurchaseInvoiceNo").toString(), QString("SUP/3"));
    }

    // Issues are chosen by their stored day numbers; the placeholder never shows.
    void issuePeriodsAcrossTheYearEnd()
    {
        TempData data;
        addIssue(*data.db, 1, 1, "31 December", QDate(2026, 12, 31));
        addIssue(*data.db, 2, 0, "1 January", QDate(2027, 1, 1));
        addIssue(*data.db, 3, 1, "1 December", QDate(2026, 12, 1));
        const QDate load(2027, 1, 1);
        const auto issued = [&](ReportPeriod p) { return names(IssueReportRows(*data.db, DaysOf(p, load))); };
        QCOMPARE(issued(ReportPeriod::Yesterday), QStringList { "31 December" });
        QCOMPARE(issued(ReportPeriod::PreviousMonth), (QStringList { "1 December", "31 December" }));
        QCOMPARE(issued(ReportPeriod::CurrentYear), QStringList { "1 January" });
        QCOMPARE(issued(ReportPeriod::All), (QStringList { "1 December", "1 January", "31 December" }));
    }

    // Yesterday finds nothing; Today then queries the load date itself, and
    // the between row (refused while its start is after its end) covers both days.
    void issueFormNothingThenOtherPeriods()
    {
        TempData data;
        MessageRecorder messages;
        const QDate load = QDate::currentDate();
        addIssue(*data.db, 1, 1, "Drill", load);
        addIssue(*data.db, 2, 1, "Saw", load.addDays(-3));
        Opened<frmIssueReport> opened(*data.db);
        choose(opened.form.choice->option(ReportPeriod::Yesterday));
        click(opened.form.cmdShow);
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts(), (QStringList { " Nothing to show", " Nothing to show" }));

        choose(opened.form.choice->option(ReportPeriod::Between));
        opened.form.choice->cboStartDate->setDate(load.addDays(-2));
        opened.form.choice->cboEndDate->setDate(load.addDays(-3));
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts().size(), 3);
        QVERIFY(opened.form.isVisible());
        opened.form.choice->cboStartDate->setDate(load.addDays(-3));
        opened.form.choice->cboEndDate->setDate(load);
        click(opened.form.cmdShow);
        QCOMPARE(messages.texts().size(), 3);
        QStringList shown = shownColumn(*reportWindows(opened.area).at(0), "ItemName");
        shown.sort();
        QCOMPARE(shown, (QStringList { "Drill", "Saw" }));
    }

    // Every page opens with the report's title above the column captions, and
    // the last ends with the totals of what is listed: the count, and the
    // quantity and value (each line's quantity times its rate) of purchases
    // and issues, the stock's value of the items.
    void titleFirstAndTotalsAtTheEnd_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("stock") << "Stock Report" << QStringList { "Total: 20 items", "Stock value (Rs.)", "1655.00" };
        QTest::newRow("purchase") << "Purchase Report"
                                  << QStringList { "Total: 12 purchases", "48", "Value (Rs.)", "12024.00" };
        QTest::newRow("issue") << "Issue Report" << QStringList { "Total: 25 issues", "50", "Value (Rs.)", "3762.50" };
    }
    void titleFirstAndTotalsAtTheEnd()
    {
        QFETCH(QString, report);
        QFETCH(QStringList, totals);
        TempData data;
        const QDate today = QDate::currentDate();
        QMdiArea area;
        area.show();
        std::unique_ptr<ReportSelection> form;
        if (report == "Stock Report") {
            for (int i = 1; i <= 20; ++i)
                addStockItem(*data.db, i, QString("Item %1").arg(i), i % 2 ? 1 : 0.5);
            data.db->run("UPDATE ItemStock.Stock SET Rate = 410 WHERE sno = 20", {}, "rate", DbFile::ItemStock);
            form = std::make_unique<frmStockReport>(*data.db, &area);
        } else if (report == "Purchase Report") {
            for (int i = 1; i <= 12; ++i)
                addPurchase(*data.db, i, 1, QString("Bought %1").arg(i), today);
            form = std::make_unique<frmPurchaseReport>(*data.db, &area);
        } else {
            for (int i = 1; i <= 25; ++i)
                addIssue(*data.db, i, 1, QString("Issued %1").arg(i), today);
            form = std::make_unique<frmIssueReport>(*data.db, &area);
        }
        click(form->cmdShow);
        const std::vector<report::ReportPage>& pages = reportWindows(area).at(0)->pages();
        QVERIFY(pages.size() >= 2);
        QStringList lastLabels;
        for (const report::ReportPage& page : pages) {
            double titleTop = -1, captionTop = -1;
            lastLabels.clear();
            for (const report::PlacedText& text : page.texts) {
                if (!text.column.isEmpty())
                    continue;
                lastLabels << text.text;
                if (text.text == report && titleTop < 0)
                    titleTop = text.rect.top();
                if (text.text == "Quantity" && captionTop < 0)
                    captionTop = text.rect.top();
            }
            QVERIFY2(titleTop >= 0 && titleTop < captionTop,
                qPrintable(QString("%1 above %2").arg(titleTop).arg(captionTop)));
        }
        for (const QString& total : totals)
            QVERIFY2(lastLabels.contains(total), qPrintable(total + " in " + lastLabels.join('|')));
    }

    // Two report windows hold their own rows: closing one leaves the other.
    void twoReportsAtOnce()
    {
        TempData data;
        addPurchase(*data.db, 1, 1, "Bought", QDate::currentDate());
        addIssue(*data.db, 1, 1, "Issued", QDate::currentDate());
        QMdiArea area;
        area.show();
        frmIssueReport issues(*data.db, &area);
        click(issues.cmdShow);
        frmPurchaseReport purchases(*data.db, &area);
        click(purchases.cmdShow);
        frmPurchaseReport again(*data.db, &area);
        click(again.cmdShow);
        QList<ReportWindow*> windows = reportWindows(area);
        QCOMPARE(windows.size(), 3);
        closeReport(windows[0]);
        windows = reportWindows(area);
        QCOMPARE(windows.size(), 2);
        QCOMPARE(shownColumn(*windows[0], "ItemName"), QStringList { "Bought" });
        QCOMPARE(shownColumn(*windows[0], "PurchaseOrder"), QStringList { "PO-1" });
        QCOMPARE(windows[1]->pageCount(), 1);
    }

    // The grid's figures are those of invoices saved through the invoice form;
    // an empty summary shows an empty grid and says so.
    void monthlyGridAgainstSavedInvoices()
    {
        TempData data;
        MessageRecorder messages;
        frmMonthlyReport monthly(*data.db);
        monthly.show();
        click(monthly.cmdShow);
        QCOMPARE(messages.texts(), QStringList { " Nothing to show" });
        QCOMPARE(monthly.dbgMonthlyReport->model()->rowCount(), 0);

        addSeller(*data.db);
        addBuyer(*data.db, 1, "Kochi Stores", "Kerala");
        addBuyer(*data.db, 2, "Delhi Mart", "Delhi");
        addStockItem(*data.db, 1, "Laptop", 50);
        frmTaxInvoice invoice(*data.db);
        invoice.show();
        messages.clear();
        sellOn(&invoice, "Kochi Stores", { { "Laptop", "3" } }, "CGST @ 9%"); // 300 + 27 + 27
        sellOn(&invoice, "Delhi Mart", { { "Laptop", "2" } }, "IGST @ 18%"); // 200 + 36
        QCOMPARE(messages.texts(), QStringList(2, "Saved Successfully"));

        messages.clear();
        click(monthly.cmdShow);
        click(monthly.cmdShow); // Show again reads afresh, no rows twice
        QVERIFY(messages.texts().isEmpty());
        const QAbstractItemModel* grid = monthly.dbgMonthlyReport->model();
        QCOMPARE(grid->rowCount(), 1);
        QStringList shown;
        for (int c = 0; c < grid->columnCount(); ++c)
            shown << grid->headerData(c, Qt::Horizontal).toString() + "=" + grid->index(0, c).data().toString();
        const QDate today = QDate::currentDate();
        QCOMPARE(shown,
            (QStringList { QString("Year=%1").arg(today.year()), QString("Month=%1").arg(today.month()), "Invoices=2",
                "GoodsValue=500.00", "CGST=27.00", "SGST=27.00", "IGST=36.00", "InvoiceTotal=590.00", "Cancelled=0" }));
        QVERIFY(!(grid->flags(grid->index(0, 3)) & Qt::ItemIsEditable));
    }
};

QTEST_MAIN(ReportFormsTest)
#include "test_reportforms.moc"
