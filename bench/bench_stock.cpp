// How long New and Save of a purchase take on a shop with 10,000 stock items
// and 1,000 or 100,000 purchases stored, next to the bare SQLite work each
// one needs (the highest serial; one insert and one update in a transaction).
#include "data/database.h"
#include "timing.h"
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
using namespace bench;

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


double bareNew(Database& db)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.exec("SELECT MAX(PSno) FROM PurchaseMaster.Purchase");
    q.next();
    return MsSince(timer);
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
    return MsSince(timer);
}

FormAgainstBare measure(int purchases)
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
        news.push_back(MsSince(timer));

        form.txtPurchaseInvoiceNo->setText("INV-9");
        form.txtQuantity->setText("5");
        timer.restart();
        form.cmdSave->click();
        saves.push_back(MsSince(timer));
        if (form.movementPending())
            std::fprintf(stderr, "save failed\n");

        bareNews.push_back(bareNew(*db));
        bareSaves.push_back(bareSave(*db, purchases + 1000 + r, form.txtItemCode->text()));
    }
    return { Median(news), Median(bareNews), Median(saves), Median(bareSaves) };
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {});

    std::printf("Purchase, %d stock items; median of %d runs, milliseconds\n", Items, Repeats);
    const FormAgainstBare small = measure(1000);
    const FormAgainstBare large = measure(100000);
    PrintFormAgainstBare("1,000 purch.", "100,000 purch.", small, large,
        { "New (form)", "  bare: max serial", "Save (form)", "  bare: insert + update, one txn" });
    return 0;
}
