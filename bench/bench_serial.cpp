// How long New takes on the invoice tables as they grow: finding the next
// serial, and binding the tables, finding the serial and starting the new
// records, with 1,000 and with 100,000 saved invoices. Neither may grow with
// the table.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zelva;

namespace {

constexpr int Repeats = 200;

void fillInvoices(Database& db, int count)
{
    Transaction work(db, "fill the invoice table");
    RecordSource buyer(db);
    buyer.bind(DbFile::Invoice, "BuyerInvoice");
    for (int sno = 1; sno <= count; ++sno) {
        buyer.addNew();
        buyer.setValue("sno", sno);
        buyer.setValue("InvoiceNo", RecordCode(CodeKind::Invoice, sno));
        buyer.setValue("InvoiceDate", QStringLiteral("05/12/2026"));
        for (const char* field : {"OrderNo", "OrderDate", "SuppliersRef", "DispatchedThrough", "SalerCompany",
                                  "SalerGstin", "bid", "BuyerName", "BuyerAddress", "BuyerDist", "buyerstate",
                                  "BuyerPin", "BuyerGstin", "BuyerNameD", "DeliveryAddress", "Dist", "State", "Pin"})
            buyer.setValue(QLatin1String(field), QStringLiteral("%1 of invoice %2").arg(QLatin1String(field)).arg(sno));
        buyer.setValue("Time", QStringLiteral("10:30"));
        buyer.update();
    }
    work.commit();
}

struct Timing {
    double median;
    double worst;
};

template <typename Step>
Timing measure(Step&& step)
{
    std::vector<double> ms = bench::TimeRuns(Repeats, step);
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

struct Row {
    int records;
    Timing serial;
    Timing newInvoice;
};

Row run(int records)
{
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    fillInvoices(*db, records);

    const Timing serial = measure([&] {
        if (NextSerial(*db, DbFile::Invoice, "BuyerInvoice", "sno") != records + 1)
            std::fprintf(stderr, "wrong next serial\n");
    });
    // What New Invoice does with the tables: bind both, find the serial and
    // its number, start a pending record in each.
    const Timing newInvoice = measure([&] {
        RecordSource buyer(*db);
        RecordSource goods(*db);
        buyer.bind(DbFile::Invoice, "BuyerInvoice");
        goods.bind(DbFile::Invoice, "GoodsInvoice");
        const qint64 n = buyer.nextSerial();
        const QString number = RecordCode(CodeKind::Invoice, n);
        buyer.addNew();
        goods.addNew();
        buyer.setValue("sno", n);
        buyer.setValue("InvoiceNo", number);
        buyer.cancelUpdate();
        goods.cancelUpdate();
    });
    return {records, serial, newInvoice};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<Row> rows;
    try {
        for (int records : {1000, 100000})
            rows.push_back(run(records));
    } catch (const DataError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    std::printf("New on BuyerInvoice, %d repeats each (milliseconds, median / worst)\n", Repeats);
    std::printf("%10s  %22s  %36s\n", "invoices", "next serial", "bind + next serial + add new");
    for (const Row& r : rows)
        std::printf("%10d  %10.3f / %9.3f  %22.3f / %11.3f\n", r.records, r.serial.median, r.serial.worst,
                    r.newInvoice.median, r.newInvoice.worst);
    return 0;
}
