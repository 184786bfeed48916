// One counter of a shop on a server, for the tests of several counters at
// once: saves N invoices through the tax-invoice form, or adds N stock items
// through the stock-entry form, offscreen, as an operator does. Prints how
// many were saved and each message that was not the expected one.
//   invoice_counter URL invoices|items N
#include "invoice/frmtaxinvoice.h"
#include "masters/stockentry.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace testing;

namespace {

bool saved(const QStringList& said) { return !said.isEmpty() && said.last() == QLatin1String("Saved Successfully"); }

// New Invoice for the buyer, one line of the item, Save.
bool saveInvoice(frmTaxInvoice& form, MessageRecorder& messages)
{
    messages.clear();
    click(need<QPushButton>(&form, "cmdNewInvoice"));
    if (!pick(need<QComboBox>(&form, "cboBuyerName"), QStringLiteral("Kochi Stores"))
        || !pick(need<QComboBox>(&form, "cboDescriptionOfGoods"), QStringLiteral("Cable")))
        return false;
    typeInto(need(&form, "txtQuantity_0"), QStringLiteral("1"));
    click(need<QPushButton>(&form, "cmdAdd"));
    click(need<QPushButton>(&form, "cmdSave"));
    return saved(messages.texts());
}

bool addItem(frmStockEntry& form, MessageRecorder& messages, int n)
{
    messages.clear();
    click(need<QPushButton>(&form, "cmdNew"));
    typeInto(need(&form, "txtItemName"), QStringLiteral("Item %1 of pid %2").arg(n).arg(QCoreApplication::applicationPid()));
    focusOut(need(&form, "txtItemName"));
    click(need<QPushButton>(&form, "cmdSave"));
    return saved(messages.texts());
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const int count = args[3].toInt();
    QTemporaryDir local;
    std::unique_ptr<zelva::Database> db;
    try {
        zelva::OpenOptions options;
        options.busyTimeoutMs = 30000; // the other counter may hold the writers' lock for a while
        db = zelva::Database::openServer(args[1], local.path(), options);
    } catch (const zelva::DataError& error) {
        std::printf("%s\n", qPrintable(error.message()));
        return 1;
    }
    MessageRecorder messages;
    int done = 0;
    const bool invoices = args[2] == QLatin1String("invoices");
    std::unique_ptr<QWidget> form;
    if (invoices)
        form = std::make_unique<frmTaxInvoice>(*db);
    else
        form = std::make_unique<frmStockEntry>(*db);
    form->show();
    for (int i = 0; i < count; ++i) {
        const bool ok = invoices ? saveInvoice(static_cast<frmTaxInvoice&>(*form), messages)
                                 : addItem(static_cast<frmStockEntry&>(*form), messages, i);
        if (ok)
            ++done;
        for (const QString& said : messages.texts())
            if (said != QLatin1String("Saved Successfully") && !said.contains(QLatin1String("meanwhile")))
                std::printf("said: %s\n", qPrintable(said));
    }
    std::printf("saved %d\n", done);
    return done == count ? 0 : 1;
}
