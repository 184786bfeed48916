// How long New and Save of a purchase take on a shop with 10,000 stock items
// and 1,000 or 100,000 purchases stored, next to the bare SQLite work each
// one needs (the highest serial; one insert and one update in a transaction).
#include "data/database.h"
#include "stock/frmpurchase.h"
#include "ui/message.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zelva;

namespace {

constexpr int Items = 10000;
constexpr int Repeats = 9;

void seed(Database& db, int purchases)
{
    Transaction t(db, "seed");
    QSqlQuery item(db.connection());
    item.prepare("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                 "VALUES (?, ?, ?, '8471', 10, 'Nos.', 100, 'N.A.')");
    for (int i = 1; i <= Items; ++i) {
        item.addBindValue(i);
        item.addBindValue(QString("G%1").arg(i, 5, 10, QChar('0')));
        item.addBindValue(QString("Item %1").arg(i));
        item.exec();
    }
    QSqlQuery purchase(db.connection());
    purchase.prepare("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, PurchaseInvoiceNo, "
                     "PurchaseInvoiceDate, sno, itemcode, ItemName, Quantity) "
                     "VALUES (?, ?, '01/04/2026', 'INV', '01/04/2026', 1, 'G00001', 'Item 1', 1)");
    for (int i = 1; i <= purchases; ++i) {
        purchase.addBindValue(i);
        purchase.addBindValue(QString("P%1").arg(i, 5, 10, QChar('0')));
        purchase.exec();
    }
    t.commit();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double msSince(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

double bareNew(Database& db)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.exec("SELECT MAX(PSno) FROM PurchaseMaster.Purchase");
    q.next();
    return msSince(timer);
}

double bareSave(Database& db, qint64 serial, const QString& itemCode)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.exec("BEGIN");
    q.prepare("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, PurchaseOrder, PurchaseInvoiceNo, "
              "PurchaseInvoiceDate, SupplierName, SupGstinNo, SupAddress, sno, itemcode, ItemName, ItemHsn, Rate, Per, "
              "Quantity, Remarks) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    q.addBindValue(serial);
    for (int i = 0; i < 8; ++i)
        q.addBindValue(QString("text %1").arg(i));
    q.addBindValue(1.0);
    for (int i = 0; i < 3; ++i)
        q.addBindValue(QString("text %1").arg(i));
    q.addBindValue(10.0);
    q.addBindValue(QString("Nos."));
    q.addBindValue(5.0);
    q.addBindValue(QString("N.A."));
    q.exec();
    q.prepare("UPDATE ItemStock.Stock SET Quantity = Quantity + ? WHERE itemcode = ?");
    q.addBindValue(5.0);
    q.addBindValue(itemCode);
    q.exec();
    q.exec("COMMIT");
    return msSince(timer);
}

struct Result {
    double formNew;
    double bareNew;
    double formSave;
    double bareSave;
};

Result measure(int purchases)
{
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, purchases);

    frmPurchase form(*db);
    form.show();
    form.optExistingItem->click();
    std::vector<double> news, saves, bareNews, bareSaves;
    for (int r = 0; r < Repeats; ++r) {
        const int row = 1000 * r + 500;
        form.lstName->setCurrentRow(row);
        form.lstName_Click(form.lstName->item(row));

        QElapsedTimer timer;
        timer.start();
        form.cmdNew->click();
        news.push_back(msSince(timer));

        form.txtPurchaseInvoiceNo->setText("INV-9");
        form.txtQuantity->setText("5");
        timer.restart();
        form.cmdSave->click();
        saves.push_back(msSince(timer));
        if (form.movementPending())
            std::fprintf(stderr, "save failed\n");

        bareNews.push_back(bareNew(*db));
        bareSaves.push_back(bareSave(*db, purchases + 1000 + r, form.txtItemCode->text()));
    }
    return { median(news), median(bareNews), median(saves), median(bareSaves) };
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {});

    std::printf("Purchase, %d stock items; median of %d runs, milliseconds\n", Items, Repeats);
    std::printf("%-36s %12s %14s\n", "", "1,000 purch.", "100,000 purch.");
    const Result small = measure(1000);
    const Result large = measure(100000);
    auto row = [](const char* what, double a, double b) { std::printf("%-36s %12.2f %14.2f\n", what, a, b); };
    row("New (form)", small.formNew, large.formNew);
    row("  bare: max serial", small.bareNew, large.bareNew);
    row("  factor", small.formNew / small.bareNew, large.formNew / large.bareNew);
    row("Save (form)", small.formSave, large.formSave);
    row("  bare: insert + update, one txn", small.bareSave, large.bareSave);
    row("  factor", small.formSave / small.bareSave, large.formSave / large.bareSave);
    return 0;
}
