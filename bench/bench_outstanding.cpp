// The Outstanding window over 100,000 saved invoices of 1,000 buyers over a
// year and 50,000 receipts, each paying one invoice whole or in part: the
// time from opening the window to its first page of the grid on screen, and
// from Show to it again, beside the bare SQLite queries that read the same
// rows (the invoices with their totals, the live receipts, their allotments),
// with their ratios, in processor time. The target: the window within twice
// the bare queries.
//
// The invoices are saved as the counter saves them (bench/savedsales.h); the
// receipts are written straight into their tables, as a data load would,
// since the counter's check of each allotment is not what is measured here.
#include "reports/frmoutstanding.h"
#include "savedsales.h"
#include "timing.h"
#include "data/database.h"
#include "platform/datetext.h"
#include "ui/message.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>

using namespace zelva;

namespace {

constexpr int Invoices = 100000;
constexpr int Receipts = 50000;
constexpr int Buyers = 1000;
constexpr int Repeats = 5;

QString buyerCode(int i) { return RecordCode(CodeKind::Buyer, 1 + i % Buyers); }

void seed(Database& db)
{
    Transaction transaction(db, "seed");
    Invoice sale = bench::OneLineSale();
    const QDate first(2025, 12, 1);
    for (int sno = 1; sno <= Invoices; ++sno) {
        sale.serial = sno;
        sale.number = RecordCode(CodeKind::Invoice, sno);
        sale.date = first.addDays(sno * 365 / Invoices);
        sale.buyerCode = buyerCode(sno);
        sale.buyer.name = QString("Buyer %1").arg(1 + sno % Buyers);
        StoreInvoiceWithin(db, sale, Renumber::Refused);
    }
    // every other invoice paid: one in three whole, the rest in part
    const Paise total = sale.totals.grand;
    for (int r = 1; r <= Receipts; ++r) {
        const int invoice = 2 * r;
        const Paise amount = r % 3 == 0 ? total : total / 2;
        const QString number = RecordCode(CodeKind::Receipt, r);
        db.run("INSERT INTO Invoice.Receipt (sno, ReceiptNo, ReceiptDate, bid, BuyerName, Mode, AmountPaise) VALUES "
               "(?, ?, ?, ?, ?, 'Cash', ?)",
               {r, number, DateText(first.addDays(invoice * 365 / Invoices)), buyerCode(invoice),
                QString("Buyer %1").arg(1 + invoice % Buyers), amount},
               "seed", DbFile::Invoice);
        db.run("INSERT INTO Invoice.ReceiptAllotment (sno, ReceiptNo, InvoiceSno, InvoiceNo, AmountPaise) VALUES "
               "(?, ?, ?, ?, ?)",
               {r, number, invoice, RecordCode(CodeKind::Invoice, invoice), amount}, "seed", DbFile::Invoice);
    }
    transaction.commit();
}

// The rows the report starts from, read and touched, with nothing worked out.
void bareQueries(Database& db)
{
    qint64 sum = 0;
    for (const char* sql :
         {"SELECT b.sno, b.InvoiceNo, b.InvoiceDate, b.bid, b.BuyerName, g.totalamount FROM Invoice.BuyerInvoice AS b "
          "LEFT JOIN Invoice.GoodsInvoice AS g ON g.sno = b.sno WHERE b.sno <> 0 AND NOT EXISTS (SELECT 1 FROM "
          "Invoice.CancelledInvoice AS c WHERE c.sno = b.sno)",
          "SELECT r.sno, r.ReceiptNo, r.bid, r.BuyerName, r.AmountPaise FROM Invoice.Receipt AS r WHERE NOT EXISTS "
          "(SELECT 1 FROM Invoice.CancelledReceipt AS x WHERE x.sno = r.sno)",
          "SELECT a.sno, a.InvoiceSno, a.AmountPaise FROM Invoice.ReceiptAllotment AS a JOIN Invoice.Receipt AS r ON "
          "r.sno = a.sno WHERE NOT EXISTS (SELECT 1 FROM Invoice.CancelledReceipt AS x WHERE x.sno = r.sno)"}) {
        QSqlQuery rows = db.run(sql, {}, "bare", DbFile::Invoice);
        const int columns = rows.record().count();
        while (rows.next())
            for (int column = 0; column < columns; ++column)
                sum += rows.value(column).isNull() ? 0 : 1;
    }
    if (sum == 0)
        std::printf("no rows read\n");
}

// The best of the runs in processor time: steadier than the clock on a
// machine shared with other work, and the same on an idle one (nothing here
// waits on the disk: the files are in the page cache after the seeding).
double best(const std::function<void()>& work)
{
    double fastest = 1e12;
    for (int run = 0; run < Repeats; ++run) {
        bench::CpuTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, timer.elapsed());
    }
    return fastest;
}

} // namespace

int main(int argc, char** argv)
{
    bench::OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString& text, const QString&) { std::printf("message: %s\n", qPrintable(text)); });
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    QElapsedTimer seeding;
    seeding.start();
    seed(*db);
    std::printf("seeded %d invoices and %d receipts in %.1f s\n", Invoices, Receipts, bench::MsSince(seeding) / 1000);

    const double bare = best([&] { bareQueries(*db); });
    int rows = 0;
    // from Outstanding chosen to its first page painted; the window closed afterwards, untimed
    double open = 1e12;
    for (int run = 0; run < Repeats; ++run) {
        bench::CpuTimer timer;
        timer.start();
        auto* window = new frmOutstanding(*db);
        window->show();
        QApplication::processEvents();
        open = std::min(open, timer.elapsed());
        rows = GridRows(window->grdOutstanding);
        delete window;
    }
    frmOutstanding form(*db);
    form.show();
    const double owed = best([&] { WhatIsOwed(*db, {std::nullopt, QDate::currentDate()}); });
    const double load = best([&] { LoadOutstanding(*db, QDate::currentDate()); });
    const double table = best([&] { form.outstandingTable(); });
    std::printf("%-40s %9.1f ms\n", "  of which: what is owed", owed);
    std::printf("%-40s %9.1f ms\n", "  of which: the report", load);
    std::printf("%-40s %9.1f ms\n", "  of which: its texts", table);
    const double show = best([&] {
        form.cmdShow->click();
        QApplication::processEvents();
    });
    std::printf("%d lines (open invoices, advances and totals)\n", rows);
    std::printf("%-40s %9.1f ms\n", "bare SQLite queries", bare);
    std::printf("%-40s %9.1f ms  %5.2f x bare\n", "Outstanding opened to its first page", open, open / bare);
    std::printf("%-40s %9.1f ms  %5.2f x bare\n", "Show again to the first page", show, show / bare);
    return 0;
}
