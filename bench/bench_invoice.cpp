// How long New Invoice and Save of a seven-line invoice take on a full shop
// (10,000 buyers, 10,000 stock items) with 1,000 and with 100,000 invoices
// saved, next to the bare SQLite work each one needs: once at the one goods
// rate chosen, once with each line at its item's own rate (5, 18 or 40%, no
// goods rate chosen), whose Save keeps each line's rate and tax besides.
#include "data/database.h"
#include "data/serials.h"
#include "savedsales.h"
#include "sales/invoicestore.h"
#include "invoicework.h"
#include "timing.h"
#include "invoice/frmtaxinvoice.h"
#include "ui/message.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zelva;
using namespace bench;

namespace {

constexpr int Buyers = 10000;
constexpr int Items = 10000;
constexpr int Repeats = 7;

const double ItemRates[] = {5, 18, 40};

void seed(Database& db, int invoices, GoodsRate goodsRate)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) "
           "VALUES ('Bench Traders', 'Road', 'Dist', 'Kerala', '682001', 'GSTIN', 1, 'C00001')",
           {}, "seed", DbFile::Master);
    QSqlQuery buyer(db.connection());
    buyer.prepare("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin) "
                  "VALUES (?, ?, ?, 'Address', 'Dist', ?, '600001', 'GSTIN')");
    for (int i = 1; i <= Buyers; ++i) {
        buyer.addBindValue(i);
        buyer.addBindValue(QString("C%1").arg(i, 5, 10, QChar('0')));
        buyer.addBindValue(QString("Buyer %1").arg(i));
        buyer.addBindValue(i % 2 ? "Kerala" : "Delhi");
        buyer.exec();
    }
    QSqlQuery item(db.connection());
    item.prepare("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                 "VALUES (?, ?, ?, '8471', ?, 'Nos.', 1000000, 'N.A.')");
    for (int i = 1; i <= Items; ++i) {
        item.addBindValue(i);
        item.addBindValue(QString("G%1").arg(i, 5, 10, QChar('0')));
        item.addBindValue(QString("Item %1").arg(i));
        item.addBindValue(10.0 + i % 100);
        item.exec();
    }
    if (goodsRate == GoodsRate::ItemsOwn) {
        QSqlQuery rate(db.connection());
        rate.prepare("INSERT INTO ItemStock.StockGstRate (sno, itemcode, GstRate) VALUES (?, ?, ?)");
        for (int i = 1; i <= Items; ++i) {
            rate.addBindValue(i);
            rate.addBindValue(QString("G%1").arg(i, 5, 10, QChar('0')));
            rate.addBindValue(ItemRates[i % 3]);
            rate.exec();
        }
    }
    // the invoices saved before, as the counter saves them: one line of 100.00 at IGST 18%
    bench::SaveSales(db, bench::OneLineSale(), invoices);
    t.commit();
}


// The reads New Invoice cannot do without: the highest serial and the two lists.
double bareNew(Database& db)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    q.exec("SELECT MAX(sno) FROM Invoice.BuyerInvoice");
    q.next();
    q.exec("SELECT rowid, Name FROM Customer.CustomerDetails");
    QStringList names;
    while (q.next())
        names << q.value(1).toString();
    q.exec("SELECT rowid, ItemName, ItemHsn FROM ItemStock.Stock");
    QStringList items;
    while (q.next())
        items << q.value(1).toString() << q.value(2).toString();
    return MsSince(timer);
}

// The writes Save cannot do without: two records and seven deductions by
// item code (and, lines at their own rates, their seven rates and taxes in
// one insert), in one transaction.
double bareSave(Database& db, qint64 serial, GoodsRate goodsRate)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.exec("BEGIN");
    q.prepare("SELECT MAX(sno) FROM Invoice.BuyerInvoice");
    q.exec();
    q.next();
    q.prepare("INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, InvoiceDate, OrderNo, OrderDate, SuppliersRef, "
              "DispatchedThrough, SalerCompany, SalerGstin, bid, BuyerName, BuyerAddress, BuyerDist, buyerstate, "
              "BuyerPin, BuyerGstin, BuyerNameD, DeliveryAddress, Dist, State, Pin, Time) "
              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    q.addBindValue(serial);
    for (int i = 0; i < 21; ++i)
        q.addBindValue(QString("text %1").arg(i));
    q.exec();
    QStringList names{"sno", "InvoiceNo"};
    for (int i = 1; i <= 16; ++i)
        names << QString("DescriptionOfGoods%1").arg(i) << QString("Hsn%1").arg(i) << QString("Amount%1").arg(i);
    for (int i = 1; i <= 15; ++i)
        names << QString("Per%1").arg(i) << (i <= 3 ? QString("Rate%1").arg(i) : QString("rate%1").arg(i));
    for (int i = 1; i <= 7; ++i)
        names << QString("Quantity%1").arg(i);
    names << "TotalQuantity" << "TotalGoodsAmount" << "totalamount" << "TIgst" << "TCgst" << "TSgst";
    QStringList marks;
    for (int i = 0; i < names.size(); ++i)
        marks << "?";
    q.prepare(QString("INSERT INTO Invoice.GoodsInvoice (%1) VALUES (%2)").arg(names.join(','), marks.join(',')));
    for (const QString& name : names) {
        const bool text = name.startsWith("Desc") || name.startsWith("Hsn") || name.startsWith("Per") || name == "InvoiceNo";
        q.addBindValue(text ? QVariant(QString("x")) : QVariant(name == "sno" ? double(serial) : 1.0));
    }
    q.exec();
    q.prepare("UPDATE ItemStock.Stock SET Quantity = Quantity - ? WHERE itemcode = ?");
    for (int line = 1; line <= 7; ++line) {
        q.addBindValue(1.0);
        q.addBindValue(QString("G%1").arg(line * 1400, 5, 10, QChar('0')));
        q.exec();
    }
    if (goodsRate == GoodsRate::ItemsOwn) {
        QStringList rows;
        for (int line = 1; line <= 7; ++line)
            rows << "(?,?,?,?,?,?,?,?)";
        q.prepare("INSERT INTO Invoice.InvoiceLineTax (sno, InvoiceNo, GoodsRow, GstRate, IgstPaise, CgstPaise, "
                  "SgstPaise, CessPaise) VALUES " + rows.join(','));
        for (int line = 1; line <= 7; ++line)
            for (const QVariant& value : QVariantList{double(serial), "x", line, ItemRates[line % 3], 0, 100, 100, 0})
                q.addBindValue(value);
        q.exec();
    }
    q.exec("COMMIT");
    return MsSince(timer);
}

// The rates the goods of the invoice last saved were kept at, as "5 18 40".
QString keptRates(Database& db)
{
    QSqlQuery q(db.connection());
    q.exec("SELECT DISTINCT GstRate FROM Invoice.InvoiceLineTax WHERE sno = (SELECT MAX(sno) FROM Invoice.BuyerInvoice) "
           "ORDER BY GstRate");
    QStringList rates;
    while (q.next())
        rates << q.value(0).toString();
    return rates.join(' ');
}

FormAgainstBare measure(int invoices, GoodsRate goodsRate)
{
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, invoices, goodsRate);

    frmTaxInvoice form(*db);
    form.show();
    std::vector<double> news, saves, bareNews, bareSaves;
    for (int r = 0; r < Repeats; ++r) {
        const bench::InvoiceTimes times = bench::WorkOneInvoice(form, r, {}, goodsRate);
        news.push_back(times.newInvoiceMs);
        saves.push_back(times.saveMs);
        if (!times.saved)
            std::fprintf(stderr, "save failed\n");
        if (goodsRate == GoodsRate::ItemsOwn && keptRates(*db) != "5 18 40")
            std::fprintf(stderr, "the lines were kept at %s, not at 5, 18 and 40%%\n", qPrintable(keptRates(*db)));

        bareNews.push_back(bareNew(*db));
        bareSaves.push_back(bareSave(*db, invoices + 1000 + r, goodsRate));
    }
    return {Median(news), Median(bareNews), Median(saves), Median(bareSaves)};
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {});

    std::printf("Tax invoice, %d buyers, %d stock items; median of %d runs, milliseconds\n", Buyers, Items, Repeats);
    const FormAgainstBare small = measure(1000, GoodsRate::Chosen);
    const FormAgainstBare large = measure(100000, GoodsRate::Chosen);
    PrintFormAgainstBare("1,000 inv.", "100,000 inv.", small, large,
        { "New Invoice (form)", "  bare: max serial + two lists", "Save, seven lines (form)",
            "  bare: inserts + updates, one txn" });

    std::printf("\nThe lines at their items' own rates (5, 18, 40%%), no goods rate chosen\n");
    const FormAgainstBare ownSmall = measure(1000, GoodsRate::ItemsOwn);
    const FormAgainstBare ownLarge = measure(100000, GoodsRate::ItemsOwn);
    PrintFormAgainstBare("1,000 inv.", "100,000 inv.", ownSmall, ownLarge,
        { "New Invoice (form)", "  bare: max serial + two lists", "Save, seven lines at own rates (form)",
            "  bare: + seven line taxes, one txn" });
    return 0;
}
