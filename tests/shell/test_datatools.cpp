// Start-up's question about missing files, and Back Up Data and Restore Data
// worked from the main window's Tools menu.
#include "data/backup.h"
#include "data/datafolder.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "sales/invoicecancel.h"
#include "ui/message.h"
#include "shell/datatools.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/startup.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QAction>
#include <QMdiArea>
#include <QtTest>

using namespace zelva;
using namespace testing;

namespace {

int invoicesIn(const QString& folder)
{
    return valueInFile(folder, DbFile::Invoice, "SELECT count(*) FROM BuyerInvoice WHERE sno > 0").toInt();
}

void addInvoice(Database& db, int serial)
{
    RecordSource invoices(db);
    invoices.bind(DbFile::Invoice, "BuyerInvoice");
    invoices.addNew();
    invoices.setValue("sno", serial);
    invoices.setValue("InvoiceNo", RecordCode(CodeKind::Invoice, serial));
    invoices.update();
}

} // namespace

class DataToolsTest : public QObject {
    Q_OBJECT
private slots:
    // A folder in use that lost a file, or has it emptied: start-up names it
    // and says what making it empty means (invoice numbers again, or only
    // the operators for ZLV.db), and makes it only after a Yes.
    void startUpAsksBeforeMakingMissingFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("Invoice.db missing") << "Database/Invoice.db" << false << "missing from it: Database/Invoice.db"
                                            << "invoices from A00001";
        QTest::newRow("ZLV.db missing") << "ZLV.db" << false << "missing from it: ZLV.db"
                                        << "the invoices, stock and other records stay as they are";
        QTest::newRow("ZLV.db emptied") << "ZLV.db" << true << "none of the program's tables): ZLV.db"
                                        << "the login window then asks for a first operator";
    }
    void startUpAsksBeforeMakingMissingFiles()
    {
        SKIP_ON_SERVER("files missing from a data folder");
        QFETCH(QString, file);
        QFETCH(bool, emptied);
        QFETCH(QString, named);
        QFETCH(QString, meaning);
        TempData data;
        {
            const auto db = std::move(data.db);
            RecordSource login(*db);
            login.bind(DbFile::Zlv, "Login");
            login.addNew();
            login.setValue("username", "Asha");
            login.update();
            addInvoice(*db, 1);
        }
        const QString path = data.folder() + "/" + file;
        QVERIFY(emptied ? QFile::resize(path, 0) : QFile::remove(path));
        MessageRecorder messages;
        {
            Answers no(false);
            QVERIFY(!OpenDataForWindows(data.folder()));
            QCOMPARE(no.asked.size(), 1);
            QVERIFY2(no.asked.first().contains(named) && no.asked.first().contains(meaning)
                         && no.asked.first().contains("A00001") == file.contains("Invoice"),
                     qPrintable(no.asked.first()));
            QCOMPARE(QFileInfo(path).exists(), emptied);
        }
        QCOMPARE(messages.texts(), QStringList()); // the No was the operator's own
        Answers yes(true);
        QVERIFY(OpenDataForWindows(data.folder()));
        QCOMPARE(invoicesIn(data.folder()), file.contains("Invoice") ? 0 : 1);
        QCOMPARE(messages.texts(), QStringList());
    }

    // Back Up Data says where; Restore Data waits until no window is open,
    // then goes on with the backup's data, the files as they were kept aside.
    void toolsMenuBacksUpAndRestores()
    {
        SKIP_ON_SERVER("a data folder backed up");
        TempData data;
        QTemporaryDir elsewhere;
        addInvoice(*data.db, 1);
        QCOMPARE(CancelInvoice(*data.db, "A00001", {QDate(2026, 12, 7), "10:00:00", "Wrong buyer", "Asha"}), QString());
        frmZelvaBillingSystem window(*data.db);
        MessageRecorder messages;
        Answers yes(true);
        QString picked = elsewhere.path();
        SetFolderPickerHook([&](const QString&, const QString&) { return picked; });
        const auto unhook = qScopeGuard([] { SetFolderPickerHook({}); });

        window.mnuBackUpData->trigger();
        const QStringList backups = QDir(elsewhere.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(backups.size(), 1);
        picked = QDir(elsewhere.path()).filePath(backups.first());
        QCOMPARE(messages.last(), QString("The data was backed up to %1.").arg(picked));

        addInvoice(*data.db, 2);
        MarkReturnFiled(*data.db, 2026, 12, {"10/01/2027", "Asha"});
        window.mnuStockEntry->trigger();
        window.mnuRestoreData->trigger();
        QVERIFY(messages.last().startsWith("Close the open windows first"));
        QCOMPARE(invoicesIn(data.folder()), 2);

        window.mdiArea->closeAllSubWindows();
        window.mnuRestoreData->trigger();
        QVERIFY2(messages.last().startsWith(QString("The data was restored from %1;").arg(picked)),
                 qPrintable(messages.last()));
        QCOMPARE(invoicesIn(data.folder()), 1);
        // the cancellation came back with the backup, the later filing did not
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT Reason FROM CancelledInvoice").toString(),
                 QString("Wrong buyer"));
        QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM FiledReturn").toInt(), 0);
        const QStringList kept = QDir(DefaultBackupParent(data.folder())).entryList({"Before restore *"}, QDir::Dirs);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(invoicesIn(DefaultBackupParent(data.folder()) + "/" + kept.first()), 2);
    }

    // Data on a server is backed up by the server's own tools: both entries
    // say so, ask for no folder and leave the data as it is.
    void serverDataIsLeftToTheServersTools()
    {
        if (!onTestServer())
            QSKIP("the data is in a folder");
        TempData data;
        addInvoice(*data.db, 1);
        QCOMPARE(CancelInvoice(*data.db, "A00001", {QDate(2026, 12, 7), "10:00:00", "Wrong buyer", "Asha"}), QString());
        frmZelvaBillingSystem window(*data.db);
        MessageRecorder messages;
        Answers yes(true);
        bool asked = false;
        SetFolderPickerHook([&](const QString&, const QString&) {
            asked = true;
            return QString();
        });
        const auto unhook = qScopeGuard([] { SetFolderPickerHook({}); });
        for (QAction* entry : {window.mnuBackUpData, window.mnuRestoreData}) {
            entry->trigger();
            QVERIFY2(messages.last().contains("pg_dump and pg_restore"), qPrintable(messages.last()));
        }
        QVERIFY(!asked);
        QCOMPARE(invoicesIn(data.folder()), 1);
        QVERIFY(QDir(data.folder()).isEmpty());
    }
};

QTEST_MAIN(DataToolsTest)
#include "test_datatools.moc"
