// The Sales Report window over a month of 5,000 invoices when the financial
// year holds 6,000 and when it holds 60,000: the time from pressing Show to
// the filled grid on screen, from Save as CSV and from Save GST return to the
// file written, and from Print to the report window's first page, each beside
// the bare SQLite query that reads the same rows, with their ratios.
#include "reports/frmsalesreport.h"
#include "salesmonth.h"
#include "ui/message.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

namespace {

struct Figures {
    double bare = 0, show = 0, csv = 0, json = 0, print = 0;
};

// Each round runs the bare query and every window path once; each figure is
// its best round, so a busy machine slows both sides of a ratio alike.
Figures measure(int yearInvoices)
{
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, yearInvoices);
    frmSalesReport form(*db);
    form.show();
    form.choice->option(ReportPeriod::Between)->setChecked(true);
    form.choice->cboStartDate->setDate({ 2026, 8, 1 });
    form.choice->cboEndDate->setDate({ 2026, 8, 31 });
    const QString csv = dir.filePath("august.csv");
    const QString json = dir.filePath("august.json");

    Figures f;
    const std::pair<double Figures::*, std::function<void()>> paths[] = {
        { &Figures::bare, [&] { bareQuery(*db); } },
        { &Figures::show,
            [&] {
                form.cmdShow->click();
                QApplication::processEvents(); // the grid painted
                if (GridRows(form.grdRegister) != MonthInvoices + 1)
                    std::printf("the grid is short: %d rows\n", GridRows(form.grdRegister));
            } },
        { &Figures::csv, [&] { form.saveCsv(csv); } },
        { &Figures::json,
            [&] {
                if (!form.saveReturn(json))
                    std::printf("no return written\n");
            } },
        { &Figures::print,
            [&] {
                form.cmdPrint->click();
                QApplication::processEvents(); // the first page previewed
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<ReportWindow*>(w))
                        delete w;
            } },
    };
    for (const auto& [figure, work] : paths)
        f.*figure = 1e9;
    for (int round = 0; round < Repeats; ++round)
        for (const auto& [figure, work] : paths)
            f.*figure = std::min(f.*figure, best(work, 1));
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {}); // "saved in ..." needs no answer
    const Figures year[2] = { measure(6000), measure(60000) };
    std::printf(
        "%-32s %12s %12s %14s\n", "Sales Report, 5,000 in a month", "6,000/year", "60,000/year", "ratio to bare");
    const auto line = [&](const char* what, double Figures::*figure) {
        std::printf("%-32s %9.1f ms %9.1f ms %6.2f %6.2f\n", what, year[0].*figure, year[1].*figure,
            year[0].*figure / year[0].bare, year[1].*figure / year[1].bare);
    };
    line("bare SQLite query", &Figures::bare);
    line("Show to the grid", &Figures::show);
    line("Save as CSV", &Figures::csv);
    line("Save GST return (JSON)", &Figures::json);
    line("Print to the first page", &Figures::print);
    return 0;
}
