// The Return Check of a month of 5,000 invoices (two thirds to registered
// buyers, each with its e-invoice's sums added up) and 2,000 purchase bills,
// in a year of 6,000 invoices, next to the bare SQLite queries that read the
// month's invoices and bills (target: within three times the bare queries).
// Both on the clock and in processor time: on a machine busy with other work
// the processor time is the steadier measure.
#include "billsmonth.h"
#include "registers/returncheck.h"
#include "salesmonth.h"
#include "sales/invoicestore.h"
#include "sales/purchasebill.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

namespace {

// The best processor time of a few runs, in milliseconds.
double bestCpu(const std::function<void()>& work, int repeats)
{
    std::vector<double> times;
    for (int run = 0; run < repeats; ++run) {
        CpuTimer timer;
        work();
        times.push_back(timer.elapsed());
    }
    return Best(times);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, 6000);
    seedBills(*db);

    const auto bareQueries = [&] {
        bareQuery(*db);
        bareBillQuery(*db);
    };
    const Period august = MonthPeriod(2026, 8);
    const QDate today(2026, 9, 5);
    std::vector<ReturnFinding> findings;
    const auto check = [&] { findings = CheckReturnMonth(*db, august, today); };
    const double bare = best(bareQueries);
    const double checked = best(check, 3);
    const double bareCpu = bestCpu(bareQueries, Repeats);
    const double checkedCpu = bestCpu(check, 3);
    std::printf("Return Check of 5,000 invoices and 2,000 bills (target 3x the bare queries):\n");
    std::printf("  on the clock:       bare queries %7.1f ms, check %7.1f ms (%.2fx)\n", bare, checked, checked / bare);
    std::printf("  in processor time:  bare queries %7.1f ms, check %7.1f ms (%.2fx)\n", bareCpu, checkedCpu,
        checkedCpu / bareCpu);
    const double reading = bestCpu([&] { LoadReturnDocuments(*db, august, today); }, 3);
    const ReturnDocuments documents = LoadReturnDocuments(*db, august, today);
    const double checking = bestCpu([&] { CheckReturn(documents); }, 3);
    std::printf("  reading the documents %.1f ms, checking them %.1f ms (processor time); %s\n", reading, checking,
        qPrintable(FindingCounts(findings)));
    // Where the reading goes: each reader the check calls, alone.
    const double allInvoices = bestCpu([&] { LoadAllInvoices(*db); }, 3);
    const double monthInvoices = bestCpu([&] { LoadInvoices(*db, august); }, 3);
    const double bills = bestCpu([&] { LoadPurchaseBills(*db, august.from, august.to); }, 3);
    std::printf("  readers: every invoice %.1f ms, the month's for the return %.1f ms, the bills %.1f ms\n", allInvoices,
        monthInvoices, bills);
    return 0;
}
