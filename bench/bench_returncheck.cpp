// The Return Check of a month of 5,000 invoices (two thirds to registered
// buyers, each with its e-invoice's sums added up) and 2,000 purchase bills,
// in a year of 6,000 invoices, next to the bare SQLite queries that read the
// month's invoices and bills (target: within three times the bare queries).
#include "billsmonth.h"
#include "registers/returncheck.h"
#include "salesmonth.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, 6000);
    seedBills(*db);

    const double bare = best([&] {
        bareQuery(*db);
        bareBillQuery(*db);
    });
    const Period august = MonthPeriod(2026, 8);
    std::vector<ReturnFinding> findings;
    const double check = best([&] { findings = CheckReturnMonth(*db, august, QDate(2026, 9, 5)); });
    CpuTimer parts;
    const ReturnDocuments documents = LoadReturnDocuments(*db, august, QDate(2026, 9, 5));
    const double reading = parts.restart();
    CheckReturn(documents);
    const double checking = parts.restart();
    std::printf("Return Check of 5,000 invoices and 2,000 bills: bare queries %.1f ms, check %.1f ms (%.2fx; target "
                "3x)\n",
                bare, check, check / bare);
    std::printf("  reading the documents %.1f ms, checking them %.1f ms; %s\n", reading, checking,
        qPrintable(FindingCounts(findings)));
    return 0;
}
