// How long New takes on the invoice tables as they grow: finding the next
// serial, and binding the tables, finding the serial and starting the new
// records, with 1,000 and with 100,000 saved invoices. Neither may grow with
// the table.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "savedsales.h"
#include "sales/invoicestore.h"
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

// The invoices saved as the counter saves them, every header field filled.
void fillInvoices(Database& db, int count)
{
    Transaction work(db, "fill the invoice table");
    Invoice sale = bench::OneLineSale();
    sale.date = QDate(2026, 12, 5);
    sale.time = QStringLiteral("10:30");
    for (int sno = 1; sno <= count; ++sno) {
        const auto text = [sno](const char* field) { return QStringLiteral("%1 of invoice %2").arg(QLatin1String(field)).arg(sno); };
        sale.serial = sno;
        sale.number = RecordCode(CodeKind::Invoice, sno);
        sale.orderNo = text("OrderNo");
        sale.orderDate = sale.date.addDays(-sno % 28);
        sale.suppliersRef = text("SuppliersRef");
        sale.dispatchedThrough = text("DispatchedThrough");
        sale.seller = {text("SalerCompany"), {}, {}, {}, {}, text("SalerGstin")};
        sale.buyerCode = text("bid");
        sale.buyer = {text("BuyerName"), text("BuyerAddress"), text("BuyerDist"), text("buyerstate"), text("BuyerPin"),
                      text("BuyerGstin")};
        sale.delivery = {text("BuyerNameD"), text("DeliveryAddress"), text("Dist"), text("State"), text("Pin"), {}};
        StoreInvoiceWithin(db, sale, Renumber::Refused);
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
