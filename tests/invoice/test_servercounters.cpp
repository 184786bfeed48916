// Several counters on one server at once, and a server that goes away in the
// middle of a save. The counters are separate processes (invoice_counter)
// working the forms as operators do.
#include "invoice/frmtaxinvoice.h"

#include "data/audittrail.h"
#include "data/storetest.h"
#include "invoice/shop.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace testing;
using zelva::DbFile;

namespace {

// A company in Kerala, a buyer there, and 1000 cables in stock.
std::unique_ptr<zelva::Database> openShop(const QString& url, const QString& folder)
{
    auto db = zelva::Database::openServer(url, folder);
    addSeller(*db);
    addBuyer(*db, 5, "Kochi Stores", "Kerala");
    addItem(*db, 3, "Cable", 10, 1000);
    return db;
}

QVariantList row(zelva::Database& db, const QString& sql) { return rowsOf(db, sql).value(0); }

// Both counters at the same moment; each must do all its work.
void runTwoCounters(const QString& url, const QString& work, int count)
{
    QProcess counters[2];
    for (QProcess& counter : counters) {
        counter.setProcessChannelMode(QProcess::MergedChannels);
        counter.start(QStringLiteral(ZELVA_COUNTER), {url, work, QString::number(count)});
    }
    for (QProcess& counter : counters) {
        QVERIFY(counter.waitForFinished(400000));
        const QString said = QString::fromLocal8Bit(counter.readAll());
        QVERIFY2(counter.exitCode() == 0, qPrintable(said));
        QVERIFY2(said.endsWith(QStringLiteral("saved %1\n").arg(count)), qPrintable(said));
    }
}

} // namespace

class ServerCountersTest : public QObject {
    Q_OBJECT

private slots:
    // 400 invoices, 400 numbers, and every one of them took its cable.
    void twoCountersSaveAtOnce()
    {
        TempData local; // the counter's own folder (printed PDFs)
        const QString url = TestServer::instance().freshDatabase();
        const auto db = openShop(url, local.folder());
        runTwoCounters(url, "invoices", 200);
        QCOMPARE(row(*db, "SELECT count(*), count(DISTINCT InvoiceNo), count(DISTINCT sno), max(sno) FROM BuyerInvoice "
                          "WHERE sno <> 0"),
                 (QVariantList{400, 400, 400, 400}));
        QCOMPARE(row(*db, "SELECT count(*), count(DISTINCT InvoiceNo), sum(Quantity1) FROM GoodsInvoice"),
                 (QVariantList{400, 400, 400.0}));
        QCOMPARE(row(*db, "SELECT Quantity FROM Stock WHERE itemcode = 'G00003'"), (QVariantList{600.0}));
        // Every invoice has its entry, and the two counters' entries make one unbroken chain.
        QCOMPARE(row(*db, "SELECT count(*), count(DISTINCT RecordKey) FROM AuditTrail WHERE TableName = 'BuyerInvoice'"),
                 (QVariantList{400, 400}));
        const zelva::AuditVerdict verdict = zelva::VerifyAuditTrail(*db);
        QVERIFY2(verdict.intact, qPrintable(verdict.text()));
    }

    void twoCountersAddItemsAtOnce()
    {
        TempData local;
        const QString url = TestServer::instance().freshDatabase();
        const auto db = openShop(url, local.folder());
        runTwoCounters(url, "items", 40);
        // The placeholder record, serial 0, has no code.
        QCOMPARE(row(*db, "SELECT count(*), count(DISTINCT itemcode), count(DISTINCT sno) FROM Stock"),
                 (QVariantList{82, 81, 82}));
        QCOMPARE(row(*db, "SELECT count(*) FROM AuditTrail WHERE TableName = 'Stock' AND Action = 'added'"),
                 (QVariantList{80}));
        QVERIFY(zelva::VerifyAuditTrail(*db).intact);
    }

    // Stopped between the invoice's records and its stock: nothing of it
    // lands, the form says so and keeps it to be saved again, which works
    // once the server is back.
    void serverGoneDuringSave()
    {
        TempData local;
        const QString url = TestServer::instance().freshDatabase();
        const auto db = openShop(url, local.folder());
        MessageRecorder messages;
        frmTaxInvoice form(*db);
        form.show();
        click(child<QPushButton>(&form, "cmdNewInvoice"));
        QVERIFY(pick(child<QComboBox>(&form, "cboBuyerName"), "Kochi Stores"));
        QVERIFY(pick(child<QComboBox>(&form, "cboDescriptionOfGoods"), "Cable"));
        typeInto(child<QLineEdit>(&form, "txtQuantity_0"), "3");
        click(child<QPushButton>(&form, "cmdAdd"));
        db->setStatementHook([](const QString& sql) {
            if (sql.contains("COALESCE(\"Quantity\", 0) +"))
                TestServer::instance().stopNow();
        });
        messages.clear();
        click(child<QPushButton>(&form, "cmdSave"));
        db->setStatementHook({});
        TestServer::instance().start();
        QVERIFY2(messages.texts().size() == 1
                     && messages.last().contains("the connection to the database server was lost")
                     && messages.last().contains("The invoice is not saved"),
                 qPrintable(messages.texts().join('|')));
        QVERIFY(form.invoicePending());
        const auto reader = zelva::Database::openServer(url, local.folder());
        QCOMPARE(row(*reader, "SELECT (SELECT count(*) FROM BuyerInvoice), (SELECT count(*) FROM GoodsInvoice), "
                              "(SELECT Quantity FROM Stock WHERE sno = 3)"),
                 (QVariantList{1, 0, 1000.0}));

        QCOMPARE(row(*db, "SELECT count(*) FROM Stock"), QVariantList{2}); // connected again
        messages.clear();
        click(child<QPushButton>(&form, "cmdSave"));
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(row(*reader, "SELECT (SELECT count(*) FROM BuyerInvoice), (SELECT count(*) FROM GoodsInvoice), "
                              "(SELECT Quantity FROM Stock WHERE sno = 3)"),
                 (QVariantList{2, 1, 997.0}));
    }
};

QTEST_MAIN(ServerCountersTest)
#include "test_servercounters.moc"
