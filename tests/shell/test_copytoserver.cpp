// Moving a shop onto a server: a data folder worked at the counter (invoices
// in and out of the State, purchases, an issue and a return), copied with
// --copy-to-server as the command line does it, then read on both sides.
#include "data/audittrail.h"
#include "data/serverstore.h"
#include "platform/datetext.h"
#include "invoice/frmtaxinvoice.h"
#include "sales/companypayment.h"
#include "sales/invoicecancel.h"
#include "sales/invoiceextras.h"
#include "sales/openingstock.h"
#include "sales/paymentstore.h"
#include "sales/salenotestore.h"
#include "shell/operators.h"
#include "stock/frmissueregister.h"
#include "stock/frmpurchase.h"
#include "shell/startup.h"
#include "data/storetest.h"
#include "invoice/shop.h"
#include "shell/program.h"
#include "stock/movement.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QPushButton>
#include "sales/owed.h"
#include "sales/receiptstore.h"

#include "gst/gststates.h"

#include <QtTest>

using namespace testing;
using zelva::DbFile;

namespace {

// Per table: records, and per field the values present and their sum (the
// length of texts), as one line; the same SQL on the file and on the server.
QString tableSums(const zelva::TableDef& table)
{
    QStringList parts{"count(*)"};
    for (const zelva::FieldDef& field : table.fields) {
        const QString name = '"' + field.name + '"';
        parts << "count(" + name + ")"
              << (field.kind == zelva::FieldKind::Text ? "sum(length(" + name + "))" : "sum(" + name + ")");
    }
    return QString("SELECT %1 FROM \"%2\"").arg(parts.join(','), table.name);
}

QStringList shown(const QList<QVariantList>& rows)
{
    QStringList lines;
    for (const QVariantList& row : rows) {
        QStringList values;
        for (const QVariant& value : row)
            values << (value.isNull() ? "NULL" : value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 12) : value.toString());
        lines << values.join('|');
    }
    return lines;
}

// Straight to the server database, without the program making its layout.
QVariant rawServerValue(const QString& url, const QString& sql)
{
    QString error;
    const auto address = zelva::ParseServerUrl(url, &error);
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "raw");
        db.setHostName(address->host);
        db.setPort(address->port);
        db.setDatabaseName(address->database);
        db.setUserName(address->user);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                value = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase("raw");
    return value;
}

} // namespace

class CopyToServerTest : public QObject {
    Q_OBJECT

    TempData shop;
    QString url;

    // A purchase or an issue of the item, the boxes typed, Save.
    void movement(QWidget* form, const QString& option, const QString& item, const QList<QPair<QString, QString>>& boxes)
    {
        startMovement(form, option, item);
        for (const auto& [box, text] : boxes)
            typeInto(need(form, box), text);
        MessageRecorder messages;
        click(need<QPushButton>(form, "cmdSave"));
        QCOMPARE(messages.last(), QString("Saved Successfully"));
    }

private slots:
    // The shop: masters, two invoices, a purchase, an issue and a return.
    void initTestCase()
    {
        zelva::Database& db = *shop.db;
        QCOMPARE(zelva::AddOperator(db, "Asha", "pass word"), QString());
        addSeller(db);
        addBuyer(db, 5, "Kochi Stores", "Kerala");
        addBuyer(db, 3, "Delhi Mart", "Delhi", "4 Ring Road");
        addBuyer(db, 9, "Chennai Co", "Tamil Nadu", QVariant()); // no address at all
        addItem(db, 3, "Cable", 12.35, 40);
        addItem(db, 2, "Mouse", 333.33, 50);
        addItem(db, 1, "Laptop", 1000, 10);
        {
            zelva::Transaction opening(db, "keep the opening stock");
            zelva::StoreOpeningStockWithin(db, "G00001", zelva::OpeningStock{10, 8250000});
            zelva::StoreOpeningStockWithin(db, "G00002", zelva::OpeningStock{50, std::nullopt});
            opening.commit();
        }
        db.run("INSERT INTO OtherItemStock.OtherItemStock (sno, itemcode, ItemName, Rate, Per, Quantity) "
               "VALUES (1, 'G00001', 'Toner', 0.1, 'N.A.', 4)",
               {}, "add office item", DbFile::OtherItemStock);

        {
            frmTaxInvoice form(db);
            form.show();
            MessageRecorder messages;
            sellOn(&form, "Kochi Stores", {{"Laptop", "2"}, {"Cable", "3"}}, "CGST @ 9%", "Chennai Co");
            sellOn(&form, "Delhi Mart", {{"Mouse", "7"}}, "IGST @ 18%");
            QCOMPARE(messages.texts(), QStringList(2, "Saved Successfully"));
            // the second cancelled, and a month's return filed
            QCOMPARE(zelva::CancelInvoice(db, "A00002", {QDate(2026, 12, 8), "10:00:00", "Wrong buyer", "Asha"}), QString());
            zelva::MarkReturnFiled(db, 2026, 11, {"11/12/2026", "Asha"});
            // the first registered on the invoice portal; the company's UPI ID
            QCOMPARE(zelva::StoreRegistration(db, "A00001", {QString(64, 'e'), "1126", "2026-12-08 10:05:00", "a.b.c", {}, {}, {}}),
                     QString());
            zelva::Transaction upi(db, "add the UPI ID");
            zelva::StoreCompanyPaymentWithin(db, 1, {"shop@okbank", 6000000});
            upi.commit();
            // one Cable of the first invoice comes back
            zelva::SaleNote back = zelva::NoteAgainst(zelva::NoteKind::Credit, *zelva::LoadInvoice(db, "A00001"));
            back.date = back.invoiceDate;
            back.reason = zelva::SalesReturnReason();
            back.lines = {{2, "Cable", "", "Nos", 1, 1235, 0, 0}};
            QVERIFY(zelva::StoreSaleNote(db, back).saved());
            // money received against the first, one receipt cancelled, a credit limit
            zelva::Receipt paid;
            paid.date = QDate(2026, 12, 7);
            paid.buyerCode = "C00005";
            paid.buyerName = "Kochi Stores";
            paid.amount = 100000;
            paid.allotments = {{1, "A00001", 60000}};
            QVERIFY(zelva::StoreReceipt(db, paid, {2026, 12, 31}).saved());
            QVERIFY(zelva::StoreReceipt(db, paid, {2026, 12, 31}).saved());
            QCOMPARE(zelva::CancelReceipt(db, "R00002", {QDate(2026, 12, 8), "10:00:00", "Twice", "Asha"}), QString());
            zelva::SetCreditLimit(db, 5, "C00005", 2500000);
            frmPurchase purchase(db);
            movement(&purchase, "optExistingItem", "Cable", {{"txtPurchaseInvoiceNo", "INV-9"}, {"txtQuantity", "2.5"}});
            {
                // a bill with GST from a supplier typed and added to the list
                Answers yes(true);
                startMovement(&purchase, "optExistingItem", "Mouse");
                for (const auto& [box, text] : QList<QPair<QString, QString>>{
                         {"txtSupplierName", "Madurai Mice"}, {"txtSupState", "Tamil Nadu"},
                         {"txtSupGstinNo", QString("33AAFCS1234K1Z") + zelva::GstinCheckCharacter("33AAFCS1234K1Z")},
                         {"txtPurchaseInvoiceNo", "MM/4"}, {"txtQuantity", "3"}})
                    typeInto(need(&purchase, box), text);
                pick(need<QComboBox>(&purchase, "cboGstRate"), "18");
                MessageRecorder saved;
                click(need<QPushButton>(&purchase, "cmdSave"));
                QCOMPARE(saved.last(), QString("Saved Successfully"));
            }
            {
                // paid ahead to the supplier: a payment with no bill
                zelva::Payment paid;
                paid.date = QDate::currentDate();
                paid.supplierSerial = zelva::LoadSupplierList(db).front().serial;
                paid.supplierName = "Madurai Mice";
                paid.amount = 150000;
                QVERIFY(zelva::StorePayment(db, paid, QDate::currentDate()).saved());
            }
            frmIssueRegister issue(db);
            movement(&issue, "optItemForSale", "Laptop",
                     {{"txtIssueSlipNo", "S-1"}, {"txtIssueTo", "Ravi"}, {"txtIssuedBy", "Anu"}, {"txtQuantity", "1"}});
            movement(&issue, "optItemForSale", "Mouse",
                     {{"txtIssueSlipNo", "S-2"}, {"txtIssueTo", "Meena"}, {"txtIssuedBy", "Anu"}, {"txtQuantity", "-2"}});
        }
        shop.db.reset(); // the counter has closed for the day
        url = TestServer::instance().freshDatabase();
    }

    // Every table holds the same records, and the folder is not touched.
    void copyGivesEqualTables()
    {
        const auto before = digestsUnder(shop.folder());
        const Finished copied = runProgram({"--data-dir", shop.folder(), "--copy-to-server", url});
        QVERIFY2(copied.exitCode == 0, qPrintable(copied.err));
        QVERIFY2(copied.out.contains("Invoice.GoodsInvoice: 2 records"), qPrintable(copied.out));
        for (const char* kept : {"Invoice.CancelledInvoice: 1 record\n", "Invoice.FiledReturn: 1 record\n",
                                 "Invoice.InvoiceStock: 3 records", "Invoice.Receipt: 2 records",
                                 "Invoice.ReceiptAllotment: 2 records", "Invoice.CancelledReceipt: 1 record\n",
                                 "Customer.BuyerCreditLimit: 1 record\n", "Invoice.InvoiceIrn: 1 record\n",
                                 "Master.CompanyPayment: 1 record\n", "PurchaseMaster.Supplier: 1 record\n",
                                 "PurchaseMaster.PurchaseBill: 1 record\n", "PurchaseMaster.PurchaseBillLine: 1 record\n",
                                 "PurchaseMaster.Payment: 1 record\n",
                                 "Invoice.SaleNote: 1 record\n", "Invoice.SaleNoteLine: 1 record\n",
                                 "ItemStock.OpeningStock: 2 records"})
            QVERIFY2(copied.out.contains(kept), qPrintable(copied.out));
        QVERIFY2(copied.out.contains("agrees with its file"), qPrintable(copied.out));
        QCOMPARE(digestsUnder(shop.folder()), before);

        QTemporaryDir local;
        const auto server = zelva::Database::openServer(url, local.path());
        for (const zelva::TableDef& table : zelva::AllTables()) {
            const auto inFile = rowsInFile(shop.folder(), table.file, tableSums(table));
            QCOMPARE(shown(rowsOf(*server, QString(tableSums(table)).replace("FROM \"", "FROM \"" + zelva::SchemaName(table.file) + "\".\""))),
                     shown(inFile));
        }
        QCOMPARE(rowsOf(*server, "SELECT count(*) FROM IssueMaster.IssueRegister WHERE Quantity < 0").value(0).value(0).toInt(), 1);
        // The day's audit trail came along whole: its chain holds on the server too.
        const zelva::AuditVerdict onServer = zelva::VerifyAuditTrail(*server);
        QVERIFY2(onServer.intact, qPrintable(onServer.text()));
        QVERIFY(onServer.count > 10);
        QCOMPARE(onServer.count, qint64(countIn(shop.folder(), zelva::DbFile::Zlv, "AuditTrail")));
    }

    // The program on the server shows what it showed on the folder: the
    // invoices as printed (seller from the company record), the registers.
    void serverShowsTheSameInvoices()
    {
        QStringList messages;
        const auto onServer = zelva::OpenDataForCommand(shop.folder(), &messages, url);
        QVERIFY2(onServer, qPrintable(messages.join('\n')));
        const auto onFiles = zelva::OpenDataForCommand(shop.folder(), &messages);
        QVERIFY2(onFiles, qPrintable(messages.join('\n')));
        for (const char* sql : {"SELECT * FROM PrintInvoice ORDER BY InvoiceNo",
                                "SELECT * FROM PurchaseMaster.PurchaseRegister ORDER BY PSno",
                                "SELECT * FROM Invoice.MonthlyReport"}) {
            const QStringList files = shown(rowsOf(*onFiles, sql));
            QVERIFY(!files.isEmpty());
            QCOMPARE(shown(rowsOf(*onServer, sql)), files);
        }
        QVERIFY(shown(rowsOf(*onServer, "SELECT SalerAddress, BuyerNameD FROM PrintInvoice ORDER BY InvoiceNo"))
                    .contains("12 Beach Road|Chennai Co"));
    }

    // Refused, naming why, with nothing made or changed on the server: a
    // database that holds the shop already, or another program's table (even
    // with none of ours); an emptied file, which would go over as a fresh one;
    // a repeated invoice number, which the server refuses half way.
    void refusedCopyLeavesTheServerAlone_data()
    {
        QTest::addColumn<QString>("spoilt");
        QTest::addColumn<QString>("said"); // its parts apart by |
        QTest::newRow("shop there already") << "copied" << "already holds data|Invoice.BuyerInvoice (2)";
        QTest::newRow("another program's table") << "foreign"
                                                 << "already holds tables of another program: public.customers";
        QTest::newRow("emptied file") << "emptied" << "none of the program's tables): Database/ItemStock.db";
        QTest::newRow("repeated number") << "repeated"
                                         << "Invoice.BuyerInvoice: more than one record has the InvoiceNo A00001";
    }
    void refusedCopyLeavesTheServerAlone()
    {
        QFETCH(QString, spoilt);
        QFETCH(QString, said);
        QTemporaryDir folder;
        copyDataFiles(shop.folder(), folder.path());
        const QString target = spoilt == "copied" ? url : TestServer::instance().freshDatabase(spoilt != "foreign");
        if (spoilt == "foreign")
            rawServerValue(target, "CREATE TABLE public.customers (name text)");
        if (spoilt == "emptied")
            QVERIFY(QFile::resize(folder.path() + "/Database/ItemStock.db", 0));
        if (spoilt == "repeated")
            writeFile(folder.path(), DbFile::Invoice,
                      {"DROP INDEX IF EXISTS \"uq_BuyerInvoice_InvoiceNo\"",
                       "UPDATE BuyerInvoice SET InvoiceNo = (SELECT InvoiceNo FROM BuyerInvoice WHERE sno = 1) WHERE sno = 2"});
        const auto serverState = [&] {
            return QVariantList{
                rawServerValue(target, "SELECT count(*) FROM pg_catalog.pg_namespace WHERE nspname = 'Invoice'"),
                rawServerValue(target, "SELECT count(*) FROM \"Invoice\".\"BuyerInvoice\"")};
        };
        const QVariantList before = serverState();
        const Finished refused = runProgram({"--data-dir", folder.path(), "--copy-to-server", target});
        QCOMPARE(refused.exitCode, 1);
        for (const QString& part : said.split('|'))
            QVERIFY2(refused.err.contains(part), qPrintable(refused.err));
        QCOMPARE(serverState(), before);
    }

    // Files of an older layout go over as they are and stay as they were.
    void olderFilesGoOverAsTheyAre()
    {
        QTemporaryDir older;
        copyDataFiles(shop.folder(), older.path());
        writeFile(older.path(), DbFile::Invoice, {"PRAGMA user_version = 2"});
        const Finished copied = runProgram({"--data-dir", older.path(), "--copy-to-server", TestServer::instance().freshDatabase()});
        QVERIFY2(copied.exitCode == 0 && copied.out.contains("Database/Invoice.db (layout 2)"), qPrintable(copied.err));
        QCOMPARE(valueInFile(older.path(), DbFile::Invoice, "PRAGMA user_version").toInt(), 2);
    }
};

QTEST_MAIN(CopyToServerTest)
#include "test_copytoserver.moc"
