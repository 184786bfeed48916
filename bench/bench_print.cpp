// How long Print takes to the saved PDF with no printer installed (three
// copies of a seven-line invoice on each layout), how large the PDF is and
// how much memory the program took at its peak. Targets: under 1 s, under
// 300 kB, under 300 MB.
#include "data/database.h"
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "timing.h"
#include "ui/message.h"
#include "ui/printing.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace zelva;
using namespace bench;

namespace {

void seed(Database& db)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) "
           "VALUES ('Bench Traders', 'Road', 'Dist', 'Kerala', '682001', '32AAAAA0000A1Z5', 1, 'C00001')",
           {}, "seed", DbFile::Master);
    db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin) "
           "VALUES (1, 'C00001', 'Buyer One', 'Address', 'Dist', 'Kerala', '600001', 'GSTIN')",
           {}, "seed", DbFile::Customer);
    for (int i = 1; i <= 7; ++i)
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
               "VALUES (?, ?, ?, '8471', ?, 'Nos.', 1000, 'N.A.')",
               {i, QString("G%1").arg(i, 5, 10, QChar('0')), QString("Item number %1").arg(i), 10.5 * i}, "seed",
               DbFile::ItemStock);
    t.commit();
}

double printOnce(InvoiceForm& form, QPushButton* newInvoice, QComboBox* buyer, QComboBox* goods,
                 QLineEdit* quantity, QPushButton* add, QComboBox* rate, QPushButton* print)
{
    newInvoice->click();
    buyer->setCurrentIndex(0);
    form.cboBuyerName_Click(0);
    for (int line = 0; line < 7; ++line) {
        goods->setCurrentIndex(line);
        form.cboDescriptionOfGoods_Click(line);
        quantity->setText(QString::number(line + 2));
        add->click();
    }
    rate->setCurrentIndex(3);
    form.cboGoodsCgst_Click(3);
    form.RefreshTotals();
    QElapsedTimer timer;
    timer.start();
    print->click();
    return MsSince(timer);
}

template <typename Form> void measure(const char* name)
{
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("KEEP_PRINT"));
    auto db = Database::open(dir.path());
    seed(*db);
    Form form(*db);
    form.show();
    const double ms = printOnce(form, form.cmdNewInvoice, form.cboBuyerName, form.cboDescriptionOfGoods,
                                form.txtQuantity[0], form.cmdAdd, form.cboGoodsCgst, form.cmdPrint);
    const qint64 bytes = QFileInfo(dir.filePath("Prints/A00001.pdf")).size();
    std::printf("%-26s %8.0f ms %8.0f kB\n", name, ms, bytes / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {});
    SetPdfOnly(true);
    std::printf("Print, three copies to PDF (no printer)\n");
    measure<frmTaxInvoice>("tax invoice");
    measure<frmTaxInvoiceSeperateGst>("separate-GST invoice");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}
