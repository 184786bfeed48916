// What the audit trail costs: Save of an invoice (its entry written in the
// same transaction) against the same Save less the cost of one entry, on a
// shop with 10,000 invoices and as many entries; and walking the chain of
// 1,000,000 entries.
//   bench_audittrail [entries to verify, 1000000 unless given]
#include "data/audittrail.h"
#include "data/database.h"
#include "savedsales.h"
#include "timing.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace zelva;
using namespace bench;

namespace {

constexpr int SavedBefore = 10000;
constexpr int Rounds = 41;

void addEntries(Database& db, qint64 count)
{
    constexpr qint64 PerTransaction = 20000;
    for (qint64 done = 0; done < count;) {
        Transaction t(db, "seed the trail");
        for (qint64 i = 0; i < PerTransaction && done < count; ++i, ++done)
            LogChange(db, "Stock", QStringLiteral("G%1").arg(done % 100000, 5, 10, QChar('0')), AuditAction::Changed,
                      {{"Rate", "10", "12.5"}});
        t.commit();
    }
}

// One invoice saved in its own transaction; withExtraEntry writes one entry
// more, so the difference of the two is what an entry costs.
double saveOnce(Database& db, Invoice sale, qint64 serial, bool withExtraEntry)
{
    sale.serial = serial;
    sale.number = RecordCode(CodeKind::Invoice, serial);
    CpuTimer timer;
    Transaction t(db, "save the invoice");
    StoreInvoiceWithin(db, sale, Renumber::Refused);
    if (withExtraEntry)
        LogChange(db, "BuyerInvoice", sale.number, AuditAction::Marked);
    t.commit();
    return timer.elapsed();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 toVerify = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir dir;
    SetAuditOperator("bench");
    {
        const std::unique_ptr<Database> db = Database::open(dir.path());
        {
            Transaction t(*db, "seed");
            SaveSales(*db, OneLineSale(), SavedBefore);
            t.commit();
        }
        std::vector<double> with;
        std::vector<double> withTwo;
        qint64 serial = SavedBefore;
        for (int round = 0; round < Rounds; ++round) {
            with.push_back(saveOnce(*db, OneLineSale(), ++serial, false));
            withTwo.push_back(saveOnce(*db, OneLineSale(), ++serial, true));
        }
        const double save = Median(with);
        const double entry = Median(withTwo) - save;
        const double without = save - entry;
        std::printf("Save of an invoice (%d saved before), median of %d, processor ms\n", SavedBefore, Rounds);
        std::printf("  with its audit entry          %8.3f\n", save);
        std::printf("  one audit entry               %8.3f\n", entry);
        std::printf("  without the entry             %8.3f\n", without);
        std::printf("  factor                        %8.3f  (goal: at most 1.2)\n", save / without);
    }
    {
        QTemporaryDir big;
        const std::unique_ptr<Database> db = Database::open(big.path());
        CpuTimer seeding;
        addEntries(*db, toVerify);
        std::printf("Trail of %lld entries written in %.1f s\n", toVerify, seeding.elapsed() / 1000);
        QElapsedTimer timer;
        timer.start();
        CpuTimer processor; // steadier than the clock on a shared machine
        const AuditVerdict verdict = VerifyAuditTrail(*db);
        std::printf("Verified in %.2f s on the clock, %.2f s of processor (goal: under 10 s): %s\n",
                    MsSince(timer) / 1000, processor.elapsed() / 1000, qPrintable(verdict.text()));
        return verdict.intact && verdict.count == toVerify ? 0 : 1;
    }
}
