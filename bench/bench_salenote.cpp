// How long saving a credit note (a sales return of one line, its stock put
// back) takes with 1,000 and with 100,000 invoices saved, next to the bare
// SQLite work it needs: the kind's highest number, the two records and the
// stock change in one transaction. The checks against the invoice and the
// notes before it (the invoice read back, what is left of its lines) are the
// note's own cost; the aim is at most twice the bare work, as for the invoice.
#include "data/database.h"
#include "sales/salenotestore.h"
#include "savedsales.h"
#include "timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using namespace zelva;
using bench::MsSince;

namespace {

constexpr int Repeats = 15;

Invoice saleOfItem()
{
    Invoice sale = bench::OneLineSale();
    sale.buyerCode = QStringLiteral("C00001");
    sale.lines[0].itemCode = QStringLiteral("G00001");
    return sale;
}

void seed(Database& db, int invoices)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (1, 'G00001', 'Item', 1000000)", {},
           "seed", DbFile::ItemStock);
    bench::SaveSales(db, saleOfItem(), invoices);
    t.commit();
}

// A return of the one line of invoice `serial`.
SaleNote returnOf(int serial)
{
    Invoice sale = saleOfItem();
    sale.serial = serial;
    sale.number = RecordCode(CodeKind::Invoice, serial);
    SaleNote note = NoteAgainst(NoteKind::Credit, sale);
    note.date = QDate(2026, 4, 2);
    note.reason = SalesReturnReason();
    note.lines = {{1, QStringLiteral("Item"), {}, {}, 1, 10000, 0, 0}};
    return note;
}

double bareSave(Database& db, int serial)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.exec("BEGIN IMMEDIATE");
    q.prepare("SELECT MAX(KindSno) FROM Invoice.SaleNote WHERE Kind = 'C'");
    q.exec();
    q.next();
    q.prepare("INSERT INTO Invoice.SaleNote (sno, NoteNo, Kind, KindSno, NoteDate, NoteTime, Reason, InvoiceSno, "
              "InvoiceNo, InvoiceDate, bid, BuyerName, BuyerGstin, buyerstate, TaxMode, GstRate, TaxLabel, Taxable, "
              "Igst, Cgst, Sgst, Total, IssuedBy) VALUES (?,?,'C',?,'02/04/2026','','Sales return',?,'A','01/04/2026',"
              "'C00001','Buyer','','Kerala','IGST',18,'IGST @ 18%',100,18,0,0,118,'')");
    q.addBindValue(1000000 + serial);
    q.addBindValue(QString("XN%1").arg(serial));
    q.addBindValue(1000000 + serial);
    q.addBindValue(serial);
    q.exec();
    q.prepare("INSERT INTO Invoice.SaleNoteLine (sno, NoteNo, LineNo, GoodsRow, Description, Hsn, Per, Quantity, Value, "
              "FirstTax, Sgst, itemcode, Returned) VALUES (?, ?, 1, 1, 'Item', '', '', 1, 100, 18, 0, 'G00001', 1)");
    q.addBindValue(1000000 + serial);
    q.addBindValue(QString("XN%1").arg(serial));
    q.exec();
    q.exec("UPDATE ItemStock.Stock SET Quantity = Quantity + 1 WHERE itemcode = 'G00001'");
    q.exec("COMMIT");
    return MsSince(timer);
}

std::pair<double, double> measure(int invoices)
{
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, invoices);
    std::vector<double> notes, bare;
    for (int r = 0; r < Repeats; ++r) {
        QElapsedTimer timer;
        timer.start();
        const StoredNote stored = StoreSaleNote(*db, returnOf(invoices - r));
        notes.push_back(MsSince(timer));
        if (!stored.saved())
            std::fprintf(stderr, "not saved: %s\n", qPrintable(stored.refusal));
        bare.push_back(bareSave(*db, invoices - r));
    }
    return {bench::Median(notes), bench::Median(bare)};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("Credit note (sales return of one line); median of %d runs, milliseconds\n", Repeats);
    std::printf("%-16s %12s %12s %8s\n", "invoices saved", "StoreSaleNote", "bare", "ratio");
    for (int invoices : {1000, 100000}) {
        const auto [note, bare] = measure(invoices);
        std::printf("%-16d %12.2f %12.2f %8.2f\n", invoices, note, bare, note / bare);
    }
    return 0;
}
