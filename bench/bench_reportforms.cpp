// How long the stock report of 10,000 items, the purchase report "current
// year" over 100,000 purchases and the purchase report "All" over 10,010
// purchases (1,113 pages) take from Show to the first preview page, beside the
// bare SQLite query with every row read, plus the engine's layout and drawing
// of the first page (the target: within twice the bare query). Then "today"
// over 100,000 purchases beside 1,000, which should cost about the same: the
// day key is indexed.
//
// Times are the program's processor time, best of five: on a machine shared
// with other work the clock on the wall counts their turns too. Nothing here
// waits on the disk (the files are fresh and in memory), so on an idle
// machine the two agree.
#include "data/database.h"
#include "reports/frmregisterreports.h"
#include "reports/frmstockreport.h"
#include "reports/reportlayouts.h"
#include "registers/reportqueries.h"
#include "timing.h"
#include "ui/reportpreview.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

using namespace zelva;

namespace {

const QDate Today(2026, 6, 15);
constexpr int Runs = 5;

void fillStock(Database& db, int count)
{
    Transaction transaction(db, "bench stock");
    for (int i = 1; i <= count; ++i)
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
               "VALUES (?, ?, ?, '8471', 125.5, 'Nos.', ?, 'N.A.')",
            { i, QString("G%1").arg(i, 5, 10, QChar('0')), QString("Stock item %1").arg(i), i % 60 }, "bench",
            DbFile::ItemStock);
    transaction.commit();
}

// Purchases spread over the days before Today, a few each day.
void fillPurchases(Database& db, int count)
{
    Transaction transaction(db, "bench purchases");
    for (int i = 1; i <= count; ++i)
        db.run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, PurchaseOrder, "
               "PurchaseInvoiceNo, PurchaseInvoiceDate, sno, ItemName, ItemHsn, Rate, Quantity, Remarks) "
               "VALUES (?, ?, ?, ?, ?, '01/01/2026', 1, 'Printer paper', '4802', 250.5, 4, 'N.A.')",
            { i, QString("P%1").arg(i, 5, 10, QChar('0')), Today.addDays(-(i / 12)).toString("dd/MM/yyyy"),
                QString("PO-%1").arg(i), QString("SUP/%1").arg(i) },
            "bench", DbFile::PurchaseMaster);
    transaction.commit();
}

// Show pressed until the report window has laid out its pages and its
// preview has drawn the first on the screen.
double showToFirstPage(ReportSelection& form, QMdiArea& area)
{
    bench::CpuTimer timer;
    form.cmdShow->click();
    QApplication::processEvents();
    auto* window = qobject_cast<ReportWindow*>(area.activeSubWindow()->widget());
    if (!window->preview->drawnPages().contains(1))
        window->preview->viewport()->repaint();
    const double ms = timer.elapsed();
    if (!window->preview->drawnPages().contains(1))
        std::printf("  (the first page was not drawn)\n");
    for (QMdiSubWindow* frame : area.subWindowList())
        frame->close();
    QApplication::processEvents();
    return ms;
}

struct BareTimes {
    double query = 0; // the SQLite query, rows read
    double paginate = 0; // the engine lays out every page
    double firstPage = 0; // the engine draws the first page
    double total() const { return query + paginate + firstPage; }
};

// The query alone, then the engine's pages and the first page drawn.
BareTimes bare(const std::function<QueryRows()>& query,
    const std::function<report::ReportLayout(const report::ReportRows&)>& layoutOf)
{
    BareTimes times;
    bench::CpuTimer timer;
    report::ReportRows rows = AsReportRows(query());
    times.query = timer.restart();
    const report::ReportLayout layout = layoutOf(rows);
    const auto pages = report::PaginateReport(layout, rows, report::Paper {});
    times.paginate = timer.restart();
    QImage image(827, 1169, QImage::Format_RGB32);
    QPainter painter(&image);
    report::PaintReportPage(painter, pages.front(), 827.0 / 11906);
    painter.end();
    times.firstPage = timer.elapsed();
    return times;
}

BareTimes bestBare(const std::function<QueryRows()>& query,
    const std::function<report::ReportLayout(const report::ReportRows&)>& layout)
{
    BareTimes fastest = bare(query, layout);
    for (int i = 1; i < Runs; ++i)
        if (const BareTimes run = bare(query, layout); run.total() < fastest.total())
            fastest = run;
    return fastest;
}

void printBeside(const char* report, double show, const BareTimes& bare)
{
    std::printf("%s: Show to first page %.1f ms, bare query + first page %.1f ms (%.2fx), bare query alone "
                "%.1f ms (%.2fx)\n"
                "  bare: query %.1f ms, pagination %.1f ms, first page drawn %.1f ms\n",
        report, show, bare.total(), show / bare.total(), bare.query, show / bare.query, bare.query, bare.paginate,
        bare.firstPage);
}

double best(const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i)
        times.push_back(run());
    return bench::Best(times);
}

double todayQuery(Database& db)
{
    return best([&] {
        bench::CpuTimer timer;
        PurchaseReportRows(db, DayPeriod(Today));
        return timer.elapsed();
    });
}

void printPlan(Database& db)
{
    QSqlQuery plan = db.run(QString("EXPLAIN QUERY PLAN SELECT * FROM PurchaseMaster.PurchaseRegister WHERE %1 "
                                    "BETWEEN ? AND ?")
                                .arg(PurchaseDayKeySql()),
        { 20260615, 20260615 }, "plan", DbFile::PurchaseMaster);
    while (plan.next())
        std::printf("  plan: %s\n", qPrintable(plan.value(3).toString()));
}

} // namespace

int main(int argc, char** argv)
{
    bench::OffscreenUnlessNamed();
    QApplication app(argc, argv);
    QTemporaryDir big, mid, small;
    auto db = Database::open(big.path());
    auto midDb = Database::open(mid.path());
    auto smallDb = Database::open(small.path());
    fillStock(*db, 10000);
    fillPurchases(*db, 100000);
    fillPurchases(*midDb, 10010);
    fillPurchases(*smallDb, 1000);

    QMdiArea area;
    area.resize(1000, 800);
    area.show();

    const double stockShow = best([&] {
        frmStockReport form(*db, &area);
        return showToFirstPage(form, area);
    });
    printBeside("stock report, 10,000 items", stockShow,
        bestBare([&] { return StockReportRows(*db, StockBand::All); },
            [](const report::ReportRows& rows) { return StockReportLayout(rows); }));

    const double yearShow = best([&] {
        frmPurchaseReport form(*db, &area);
        form.setLoadDate(Today);
        form.choice->option(ReportPeriod::CurrentYear)->setChecked(true);
        return showToFirstPage(form, area);
    });
    printBeside("purchase report, current year of 100,000 purchases", yearShow,
        bestBare([&] { return PurchaseReportRows(*db, YearPeriod(Today.year())); }, &PurchaseReportLayout));

    const double allShow = best([&] {
        frmPurchaseReport form(*midDb, &area);
        form.setLoadDate(Today);
        form.choice->option(ReportPeriod::All)->setChecked(true);
        return showToFirstPage(form, area);
    });
    printBeside("purchase report, All of 10,010 purchases", allShow,
        bestBare([&] { return PurchaseReportRows(*midDb, std::nullopt); }, &PurchaseReportLayout));

    std::printf("purchase report, today: %.2f ms over 100,000 purchases, %.2f ms over 1,000\n", todayQuery(*db),
        todayQuery(*smallDb));
    printPlan(*db);
    return 0;
}
