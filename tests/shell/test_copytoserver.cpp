// Moving a shop onto a server: a data folder worked at the counter (invoices
// in and out of the State, purchases, an issue and a return), copied with
// --copy-to-server as the command line does it, then read on both sides.
#include "data/serverstore.h"
#include "invoice/frmtaxinvoice.h"
#include "shell/operators.h"
#include "stock/frmissueregister.h"
#include "stock/frmpurchase.h"
#include "shell/startup.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QtTest>

using namespace testing;
using zelva::DbFile;

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished copyToServer(const QString& folder, const QString& url)
{
    QProcess program;
    program.start(QStringLiteral(ZELVA_PROGRAM), {"--data-dir", folder, "--copy-to-server", url});
    if (!program.waitForFinished(120000))
        program.kill();
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

// Every file under the folder with a hash of its bytes.
QMap<QString, QByteArray> fingerprint(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(it.filePath(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return files;
}

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

QList<QVariantList> rowsOf(zelva::Database& db, const QString& sql)
{
    QSqlQuery query = db.run(sql, {}, "read for the test", DbFile::Invoice);
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        rows << row;
    }
    return rows;
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

template <typename T = QLineEdit>
T* control(QWidget* form, const QString& name)
{
    T* found = child<T>(form, name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A copy of the folder's eight files in another folder.
void copyFolder(const QString& from, const QString& to)
{
    QDir(to).mkpath("Database");
    for (DbFile file : zelva::AllDbFiles())
        QFile::copy(from + '/' + zelva::RelativePath(file), to + '/' + zelva::RelativePath(file));
}

// A raw change to one file of a folder, as another tool would make it.
void changeFile(const QString& folder, DbFile file, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "change");
        db.setDatabaseName(folder + '/' + zelva::RelativePath(file));
        QVERIFY(db.open());
        for (const QString& sql : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase("change");
}

} // namespace

class CopyToServerTest : public QObject {
    Q_OBJECT

    TempData shop;
    QString url;

    void invoice(frmTaxInvoice& form, const QString& buyer, const QString& delivery,
                 const QList<QPair<QString, QString>>& lines, const QString& rate)
    {
        click(control<QPushButton>(&form, "cmdNewInvoice"));
        QVERIFY(pick(control<QComboBox>(&form, "cboBuyerName"), buyer));
        QVERIFY(pick(control<QComboBox>(&form, "cboBuyerNameD"), delivery));
        for (const auto& [item, quantity] : lines) {
            QVERIFY(pick(control<QComboBox>(&form, "cboDescriptionOfGoods"), item));
            typeInto(control(&form, "txtQuantity_0"), quantity);
            click(control<QPushButton>(&form, "cmdAdd"));
        }
        QVERIFY(pick(control<QComboBox>(&form, "cboGoodsCgst"), rate));
        MessageRecorder messages;
        click(control<QPushButton>(&form, "cmdSave"));
        QCOMPARE(messages.last(), QString("Saved Successfully"));
    }

    void movement(QWidget* form, const QString& option, const QString& item, const QList<QPair<QString, QString>>& boxes)
    {
        form->show();
        click(control<QRadioButton>(form, option));
        QListWidget* list = control<QListWidget>(form, "lstName");
        const auto found = list->findItems(item, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        pickRow(list, list->row(found.first()));
        click(control<QPushButton>(form, "cmdNew"));
        for (const auto& [box, text] : boxes)
            typeInto(control(form, box), text);
        MessageRecorder messages;
        click(control<QPushButton>(form, "cmdSave"));
        QCOMPARE(messages.last(), QString("Saved Successfully"));
    }

private slots:
    // The shop: masters, two invoices, a purchase, an issue and a return.
    void initTestCase()
    {
        zelva::Database& db = *shop.db;
        QCOMPARE(zelva::AddOperator(db, "Asha", "pass word"), QString());
        db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
               "('Zelva Traders', '12 Beach Road', 'Ernakulam', 'Kerala', '682001', '32AAAAA0000A1Z5', 1, 'C00001')",
               {}, "add company", DbFile::Master);
        const QList<QVariantList> buyers{{5, "Kochi Stores", "Kerala", "1 Main St"},
                                         {3, "Delhi Mart", "Delhi", "4 Ring Road"},
                                         {9, "Chennai Co", "Tamil Nadu", QVariant()}};
        for (const QVariantList& b : buyers)
            db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, State, address, Pin) VALUES (?, ?, ?, ?, ?, '6')",
                   {b[0], QString("C%1").arg(b[0].toInt(), 5, 10, QChar('0')), b[1], b[2], b[3]}, "add buyer",
                   DbFile::Customer);
        const QList<QVariantList> items{{3, "Cable", 12.35, 40.0}, {2, "Mouse", 333.33, 50.0}, {1, "Laptop", 1000.0, 10.0}};
        for (const QVariantList& i : items)
            db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                   "VALUES (?, ?, ?, '8544', ?, 'Nos.', ?, 'N.A.')",
                   {i[0], QString("G%1").arg(i[0].toInt(), 5, 10, QChar('0')), i[1], i[2], i[3]}, "add item",
                   DbFile::ItemStock);
        db.run("INSERT INTO OtherItemStock.OtherItemStock (sno, itemcode, ItemName, Rate, Per, Quantity) "
               "VALUES (1, 'G00001', 'Toner', 0.1, 'N.A.', 4)",
               {}, "add office item", DbFile::OtherItemStock);

        {
            frmTaxInvoice form(db);
            form.show();
            invoice(form, "Kochi Stores", "Chennai Co", {{"Laptop", "2"}, {"Cable", "3"}}, "CGST @ 9%");
            invoice(form, "Delhi Mart", "Delhi Mart", {{"Mouse", "7"}}, "IGST @ 18%");
            frmPurchase purchase(db);
            movement(&purchase, "optExistingItem", "Cable", {{"txtPurchaseInvoiceNo", "INV-9"}, {"txtQuantity", "2.5"}});
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
        const auto before = fingerprint(shop.folder());
        const Finished copied = copyToServer(shop.folder(), url);
        QVERIFY2(copied.exitCode == 0, qPrintable(copied.err));
        QVERIFY2(copied.out.contains("Invoice.GoodsInvoice: 2 records"), qPrintable(copied.out));
        QVERIFY2(copied.out.contains("agrees with its file"), qPrintable(copied.out));
        QCOMPARE(fingerprint(shop.folder()), before);

        QTemporaryDir local;
        const auto server = zelva::Database::openServer(url, local.path());
        for (const zelva::TableDef& table : zelva::AllTables()) {
            const auto inFile = rowsInFile(shop.folder(), table.file, tableSums(table));
            QCOMPARE(shown(rowsOf(*server, QString(tableSums(table)).replace("FROM \"", "FROM \"" + zelva::SchemaName(table.file) + "\".\""))),
                     shown(inFile));
        }
        QCOMPARE(rowsOf(*server, "SELECT count(*) FROM IssueMaster.IssueRegister WHERE Quantity < 0").value(0).value(0).toInt(), 1);
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

    // A second copy finds the shop there already and changes nothing.
    void refusesADatabaseWithData()
    {
        const QVariant invoices = rawServerValue(url, "SELECT count(*) FROM \"Invoice\".\"BuyerInvoice\"");
        const Finished again = copyToServer(shop.folder(), url);
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(again.err.contains("already holds data") && again.err.contains("Invoice.BuyerInvoice (2)"),
                 qPrintable(again.err));
        QVERIFY(again.out.isEmpty());
        QCOMPARE(rawServerValue(url, "SELECT count(*) FROM \"Invoice\".\"BuyerInvoice\""), invoices);
    }

    // Files of an older layout go over as they are and stay as they were; a
    // copy the server refuses half way leaves not even the layout behind.
    void olderFilesAndAFailedCopy()
    {
        QTemporaryDir older, repeated;
        copyFolder(shop.folder(), older.path());
        changeFile(older.path(), DbFile::Invoice, {"PRAGMA user_version = 2"});
        const Finished copied = copyToServer(older.path(), TestServer::instance().freshDatabase());
        QVERIFY2(copied.exitCode == 0 && copied.out.contains("Database/Invoice.db (layout 2)"), qPrintable(copied.err));
        QCOMPARE(valueInFile(older.path(), DbFile::Invoice, "PRAGMA user_version").toInt(), 2);

        copyFolder(shop.folder(), repeated.path());
        changeFile(repeated.path(), DbFile::Invoice,
                   {"DROP INDEX IF EXISTS \"uq_BuyerInvoice_InvoiceNo\"",
                    "UPDATE BuyerInvoice SET InvoiceNo = (SELECT InvoiceNo FROM BuyerInvoice WHERE sno = 1) WHERE sno = 2"});
        const QString target = TestServer::instance().freshDatabase();
        const Finished refused = copyToServer(repeated.path(), target);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("Invoice.BuyerInvoice: more than one record has the InvoiceNo A00001"),
                 qPrintable(refused.err));
        QCOMPARE(rawServerValue(target, "SELECT count(*) FROM \"Invoice\".\"BuyerInvoice\" WHERE sno <> 0").toInt(), 0);
    }
};

QTEST_MAIN(CopyToServerTest)
#include "test_copytoserver.moc"
