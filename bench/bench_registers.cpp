// How long the sales register and the GST return of a month of 5,000 invoices
// take when the financial year holds 6,000 and when it holds 60,000 invoices,
// next to the bare SQLite query that reads the same rows. The month should
// cost about the same in both years, and stay within twice the bare query.
#include "registers/gstr1.h"
#include "registers/salesregister.h"
#include "salesmonth.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-28s %12s %12s\n", "a month of 5,000 invoices", "6,000/year", "60,000/year");
    double bare[2], reg[2], ret[2], hsn[2];
    for (int y = 0; y < 2; ++y) {
        const int yearInvoices = y == 0 ? 6000 : 60000;
        QTemporaryDir dir;
        auto db = Database::open(dir.path());
        seed(*db, yearInvoices);
        const Period august = MonthPeriod(2026, 8);
        bare[y] = best([&] { bareQuery(*db); });
        reg[y] = best([&] {
            if (LoadSalesRegister(*db, august).totals.invoices != MonthInvoices)
                std::printf("register is short\n");
        });
        ret[y] = best([&] {
            if (!LoadGstr1(*db, 2026, 8).ok())
                std::printf("return failed\n");
        });
        hsn[y] = best([&] { LoadHsnSummary(*db, august); });
    }
    std::printf("%-28s %10.1f ms %10.1f ms\n", "bare SQLite query", bare[0], bare[1]);
    std::printf("%-28s %10.1f ms %10.1f ms\n", "sales register", reg[0], reg[1]);
    std::printf("%-28s %10.1f ms %10.1f ms\n", "GST return (JSON)", ret[0], ret[1]);
    std::printf("%-28s %10.1f ms %10.1f ms\n", "HSN summary", hsn[0], hsn[1]);
    std::printf("register / bare: %.2f and %.2f; return / bare: %.2f and %.2f\n", reg[0] / bare[0], reg[1] / bare[1],
        ret[0] / bare[0], ret[1] / bare[1]);
    return 0;
}
