// The data kept safe when two copies of the program share a folder and when
// files go missing, get damaged, are read-only or readable by others; leftover
// journals; backups taken during saves and restores of them.
#include "data/backup.h"
#include "data/serials.h"
#include "storetest.h"

#include <QCryptographicHash>
#include <QProcess>
#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace zelva;
using namespace testing;

namespace {

QString pathOf(const QString& folder, DbFile file) { return folder + "/" + RelativePath(file); }

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Garbage over part of the file; by default 4 KiB over its second page.
void damagePage(const QString& path, qint64 offset = 4096, int length = 4096)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    QByteArray garbage(length, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 37 + 11) % 251);
    file.write(garbage);
}

// Unwritable even for root (the immutable attribute), or by permissions.
bool makeReadOnly(const QString& path, bool on)
{
    if (QProcess::execute("chattr", {on ? "+i" : "-i", path}) == 0)
        return true;
    return geteuid() != 0 && ::chmod(QFile::encodeName(path).constData(), on ? 0555 : 0755) == 0;
}

int modeOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 0777);
}

QStringList findingsOf(const Database& db, Finding::Kind kind)
{
    QStringList texts;
    for (const Finding& f : db.findings())
        if (f.kind == kind)
            texts << f.text;
    return texts;
}

// One invoice saved as the invoice form does: both records and the stock
// deduction in one transaction, under the next free serial.
void saveInvoice(Database& db, double quantity)
{
    Transaction transaction(db, "save the invoice");
    const qint64 serial = FreeSerial(db, DbFile::Invoice, "BuyerInvoice", "sno", "InvoiceNo", CodeKind::Invoice, 1);
    const QString code = RecordCode(CodeKind::Invoice, serial);
    db.run("INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, BuyerName) VALUES (?, ?, 'Kochi Stores')",
           {serial, code}, "save", DbFile::Invoice);
    db.run("INSERT INTO Invoice.GoodsInvoice (sno, InvoiceNo, Quantity1) VALUES (?, ?, ?)", {serial, code, quantity},
           "save", DbFile::Invoice);
    db.run("UPDATE ItemStock.Stock SET Quantity = Quantity - ? WHERE itemcode = 'G00001'", {quantity}, "save",
           DbFile::ItemStock);
    transaction.commit();
}

// Runs the work in a child process, as another run of the program that may
// end on the way (status 3 by the tests' own hooks); its exit status: 0 when
// the work ran to its end, 1 when it threw, -1 when it did not exit.
int runInChild(const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// From now on the process ends (status 3) at the file sync of that number,
// counting every sync SQLite asks of any file it opens later.
void endAtSync(int number)
{
    struct Wrapped {
        sqlite3_io_methods methods;
        const sqlite3_io_methods* original;
    };
    static sqlite3_vfs* base = nullptr;
    static sqlite3_vfs counting {};
    static std::deque<Wrapped> wrapped;
    static int left = 0;
    left = number;
    if (base)
        return;
    base = sqlite3_vfs_find(nullptr);
    counting = *base;
    counting.pNext = nullptr;
    counting.zName = "test-sync-counting";
    counting.xOpen = [](sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
        const int status = base->xOpen(base, name, file, flags, outFlags);
        if (status != SQLITE_OK || !file->pMethods)
            return status;
        auto at = std::find_if(wrapped.begin(), wrapped.end(), [&](const Wrapped& w) { return w.original == file->pMethods; });
        if (at == wrapped.end()) {
            Wrapped w{*file->pMethods, file->pMethods};
            w.methods.xSync = [](sqlite3_file* synced, int syncFlags) {
                if (--left == 0)
                    ::_exit(3);
                return reinterpret_cast<const Wrapped*>(synced->pMethods)->original->xSync(synced, syncFlags);
            };
            at = wrapped.insert(wrapped.end(), w);
        }
        file->pMethods = &at->methods;
        return status;
    };
    sqlite3_vfs_register(&counting, 1);
}

// Invoices, goods records and the stock left, as one comparable line.
QString invoiceState(const QString& folder)
{
    const int headers = countIn(folder, DbFile::Invoice, "BuyerInvoice") - 1;
    const int bodies = countIn(folder, DbFile::Invoice, "GoodsInvoice");
    const double sold = valueInFile(folder, DbFile::Invoice, "SELECT TOTAL(Quantity1) FROM GoodsInvoice").toDouble();
    const double left = valueInFile(folder, DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE sno = 1").toDouble();
    return QString("%1 invoices, %2 bodies, %3 sold, %4 left").arg(headers).arg(bodies).arg(sold).arg(left);
}

QString wholeState(int invoices, double each)
{
    return QString("%1 invoices, %1 bodies, %2 sold, %3 left").arg(invoices).arg(invoices * each).arg(1000 - invoices * each);
}

void addStockItem(const QString& folder)
{
    writeFile(folder, DbFile::ItemStock,
              {"INSERT INTO Stock (sno, itemcode, ItemName, Quantity) VALUES (1, 'G00001', 'Fan', 1000)"});
}

// What a restore leaves when all is done: neither its copies nor its marker.
QStringList restoreLeftovers(const QString& folder)
{
    return QDir(folder).entryList({".zelva-restore*"}, QDir::Files | QDir::Hidden)
           + QDir(folder + "/Database").entryList({"*.restoring"}, QDir::Files);
}

// Another copy of the program saving an invoice of 3 with its stock, on a
// connection of its own that says (once) whether the save landed at once,
// had to wait for a reader of the files, or failed.
struct OwnSave {
    std::promise<QString> said;
    bool told = false;
    void tell(const QString& what)
    {
        if (!told)
            said.set_value(what);
        told = true;
    }
};

void saveOnOwnConnection(const QString& folder, OwnSave* save)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(pathOf(folder, DbFile::Zlv)).constData(), &db);
    sqlite3_busy_handler(db, [](void* save, int tries) {
        static_cast<OwnSave*>(save)->tell("waiting");
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return tries < 10000 ? 1 : 0;
    }, save);
    QStringList statements;
    for (DbFile file : {DbFile::Invoice, DbFile::ItemStock})
        statements << QString("ATTACH DATABASE '%1' AS %2").arg(pathOf(folder, file), SchemaName(file));
    statements << "BEGIN IMMEDIATE"
               << "INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, BuyerName) VALUES (99, 'A00099', 'Pune Traders')"
               << "INSERT INTO Invoice.GoodsInvoice (sno, InvoiceNo, Quantity1) VALUES (99, 'A00099', 3)"
               << "UPDATE ItemStock.Stock SET Quantity = Quantity - 3 WHERE itemcode = 'G00001'" << "COMMIT";
    for (const QString& sql : statements)
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            save->tell("failed: " + sql + ": " + QString::fromUtf8(sqlite3_errmsg(db)));
            break;
        }
    save->tell("saved");
    sqlite3_close(db);
}

} // namespace

class SafetyTest : public QObject {
    Q_OBJECT
private slots:
    // Two copies save at the same moment: the second waits its turn on the
    // busy timeout and takes the next free code, instead of failing with
    // "database is locked" or repeating the first one's code.
    void secondCopyWaitsAndTakesTheNextCode()
    {
        QTemporaryDir dir;
        auto mine = Database::open(dir.path(), 5000);
        std::promise<void> holding;
        std::thread other([&] {
            auto theirs = Database::open(dir.path(), 5000);
            Transaction transaction(*theirs, "save the item");
            theirs->run("INSERT INTO ItemStock.Stock (sno, itemcode) VALUES (1, 'G00001')", {}, "save",
                        DbFile::ItemStock);
            holding.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            transaction.commit();
        });
        holding.get_future().wait();
        QString code;
        const QString outcome = errorOf([&] { // as the item form's Save does, with serial 1 from its New
            Transaction transaction(*mine, "save the item");
            const qint64 serial = FreeSerial(*mine, DbFile::ItemStock, "Stock", "sno", "itemcode", CodeKind::Item, 1);
            code = RecordCode(CodeKind::Item, serial);
            mine->run("INSERT INTO ItemStock.Stock (sno, itemcode) VALUES (?, ?)", {serial, code}, "save",
                      DbFile::ItemStock);
            transaction.commit();
        });
        other.join();
        QCOMPARE(outcome, "no error");
        QCOMPARE(code, "G00002");
        QCOMPARE(rowsInFile(dir.path(), DbFile::ItemStock, "SELECT itemcode FROM Stock WHERE sno > 0 ORDER BY sno"),
                 (QList<QVariantList>{{"G00001"}, {"G00002"}}));
    }

    // The file itself refuses a repeated serial or code; a file from before
    // that already repeats one still opens, says so once, and guards the rest.
    void serialsAndCodesAreUniqueInTheFile()
    {
        TempData data;
        const QStringList repeats{"INSERT INTO Stock (sno, itemcode) VALUES (1, 'G00001')",
                                  "INSERT INTO Stock (sno, itemcode) VALUES (2, 'G00001')"};
        RawFile raw(data.folder(), DbFile::ItemStock);
        QVERIFY(raw.exec(repeats).contains("UNIQUE"));
        QVERIFY(raw.exec({"INSERT INTO Stock (sno, itemcode) VALUES (1, 'G00002')"}).contains("UNIQUE"));

        QTemporaryDir old;
        writeFile(old.path(), DbFile::ItemStock,
                  {"CREATE TABLE Stock (sno INTEGER, itemcode TEXT, ItemName TEXT, ItemHsn TEXT, Rate REAL, Per TEXT, "
                   "Quantity REAL, Remarks TEXT)",
                   "INSERT INTO Stock (sno, itemcode) VALUES (0, NULL), (3, 'G00004'), (4, 'G00004')",
                   "PRAGMA user_version = 1"});
        for (DbFile file : AllDbFiles())
            if (file != DbFile::ItemStock)
                writeFile(old.path(), file, {"PRAGMA user_version = 1"});
        {
            auto db = openMadeFolder(old.path()); // the other files hold none of the tables yet
            const QStringList said = findingsOf(*db, Finding::Kind::DuplicateCodes);
            QCOMPARE(said.size(), 1);
            QVERIFY2(said.first().contains("ItemStock.db") && said.first().contains("itemcode G00004"),
                     qPrintable(said.first()));
            QCOMPARE(valueInFile(old.path(), DbFile::ItemStock, "PRAGMA user_version").toInt(), SchemaVersion);
            RawFile other(old.path(), DbFile::ItemStock);
            QVERIFY(other.exec({"INSERT INTO Stock (sno, itemcode) VALUES (4, 'G00009')"}).contains("UNIQUE"));
        }
        QVERIFY(Database::open(old.path())->findings().empty()); // said once
    }

    // The very first start killed at each file sync it makes (a power cut
    // while it sets up the files): the next start finds no operator and no
    // record and finishes the set-up without a word, every file whole.
    void firstStartCutShortIsFinishedSilently()
    {
        for (int sync = 1;; ++sync) {
            QTemporaryDir dir;
            const int status = runInChild([&] {
                endAtSync(sync);
                Database::open(dir.path());
            });
            QVERIFY(status == 0 || status == 3);
            std::vector<Finding> said;
            const QString outcome = errorOf([&] { said = Database::open(dir.path())->findings(); });
            QVERIFY2(outcome == "no error", qPrintable(QString("killed at sync %1: %2").arg(sync).arg(outcome)));
            QVERIFY2(said.empty(), qPrintable(QString("killed at sync %1: %2").arg(sync).arg(said.empty() ? QString() : said.front().text)));
            for (DbFile file : AllDbFiles())
                QCOMPARE(valueInFile(dir.path(), file, "PRAGMA user_version").toInt(), SchemaVersion);
            QCOMPARE(countIn(dir.path(), DbFile::Invoice, "BuyerInvoice"), 1);
            if (status == 0) { // the start ran to its end: every sync was a step
                QVERIFY(sync > 16);
                break;
            }
        }
    }

    // A folder in use with a file or the Database folder gone, or a file
    // emptied (0 bytes, as a full disk or a sync tool leaves it) or holding
    // none of the program's tables: the files are named and nothing is made
    // until the operator agrees; a fresh folder is set up without a word.
    void missingFilesNeedConsent_data()
    {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("inUse");
        QTest::addColumn<QString>("named");
        const QString blank = "empty (0 bytes, or none of the program's tables): ";
        QTest::newRow("Invoice.db of a folder with records")
            << "Database/Invoice.db" << "remove" << true << "missing from it: Database/Invoice.db";
        QTest::newRow("Database folder") << "Database" << "remove" << true << "missing from it: Database/";
        QTest::newRow("Database folder, never used") << "Database" << "remove" << false << "";
        QTest::newRow("Invoice.db emptied") << "Database/Invoice.db" << "empty" << true << blank + "Database/Invoice.db";
        QTest::newRow("ItemStock.db another program's") << "Database/ItemStock.db" << "foreign" << true
                                                        << blank + "Database/ItemStock.db";
        QTest::newRow("ZLV.db emptied") << "ZLV.db" << "empty" << true << blank + "ZLV.db";
    }
    void missingFilesNeedConsent()
    {
        QFETCH(QString, changed);
        QFETCH(QString, how);
        QFETCH(bool, inUse);
        QFETCH(QString, named);
        QTemporaryDir dir;
        {
            auto db = Database::open(dir.path());
            if (inUse)
                saveInvoice(*db, 1);
        }
        if (inUse)
            writeFile(dir.path(), DbFile::Zlv, {"INSERT INTO Login VALUES ('ravi', 'hash')"});
        const QString path = dir.path() + "/" + changed;
        if (how == "remove")
            QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        else
            QVERIFY(QFile::resize(path, 0));
        if (how == "foreign")
            QVERIFY(RawFile(dir.path(), DbFile::ItemStock).exec({"CREATE TABLE customers (name TEXT)"}).isEmpty());
        const QMap<QString, QByteArray> before = digestsUnder(dir.path());

        const QString refusal = errorOf([&] { Database::open(dir.path()); });
        if (!inUse) {
            QCOMPARE(refusal, "no error");
            return;
        }
        QVERIFY2(refusal.contains(named), qPrintable(refusal));
        QCOMPARE(digestsUnder(dir.path()), before); // nothing made or changed
        OpenOptions agreed;
        agreed.createMissingInUse = true;
        QVERIFY(Database::open(dir.path(), agreed)->findings().empty());
        const bool invoicesGone = changed == "Database" || changed.contains("Invoice");
        QCOMPARE(countIn(dir.path(), DbFile::Invoice, "BuyerInvoice"), invoicesGone ? 1 : 2);
    }

    // A damaged file is named at start (checked then, or just after) and
    // opened read-only: nothing is written into it, a save into it says the
    // file is damaged (never that a table is missing), and the other files
    // still take records. With its first page or its list of tables damaged
    // nothing in it can be read, and start-up says so.
    void damagedFileIsNamedAndLeftAlone_data()
    {
        QTest::addColumn<qint64>("page"); // 0: the last page of the list of tables
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("deferred");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("refused");
        const QString unreadable = "(Database/Invoice.db): the file is damaged so that nothing in it can be read; "
                                   "restore it from a backup";
        QTest::newRow("second page") << qint64(2) << 4096 << false << "Restore Data"
                                     << "(Database/Invoice.db): the file is damaged";
        QTest::newRow("first page") << qint64(1) << 100 << true << "Nothing in it can be read" << unreadable;
        QTest::newRow("list of tables") << qint64(0) << 64 << true << "Nothing in it can be read" << unreadable;
    }
    void damagedFileIsNamedAndLeftAlone()
    {
        QFETCH(qint64, page);
        QFETCH(int, length);
        QFETCH(bool, deferred);
        QFETCH(QString, said);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        {
            auto db = Database::open(dir.path());
            for (int i = 0; i < 30; ++i)
                saveInvoice(*db, 1);
        }
        const QString invoices = pathOf(dir.path(), DbFile::Invoice);
        if (page == 0) {
            page = valueInFile(dir.path(), DbFile::Invoice, "SELECT max(pageno) FROM dbstat WHERE name = 'sqlite_schema'")
                       .toLongLong();
            QVERIFY(page > 2);
        }
        damagePage(invoices, (page - 1) * 4096, length);
        const QByteArray before = digestOf(invoices);

        OpenOptions atStart;
        atStart.deferQuickCheck = deferred;
        auto db = Database::open(dir.path(), atStart);
        db->quickCheck();
        const QStringList found = findingsOf(*db, Finding::Kind::Damaged);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.first().contains(QDir::toNativeSeparators(invoices)) && found.first().contains(said)
                     && found.first().contains("can be viewed") == !deferred, // read-only, or nothing to view
                 qPrintable(found.first()));
        const QString refusal = errorOf([&] { saveInvoice(*db, 1); });
        QVERIFY2(refusal.contains(refused), qPrintable(refusal));
        QCOMPARE(digestOf(invoices), before);
        RecordSource stock(*db);
        stock.bind(DbFile::ItemStock, "Stock");
        addRecord(stock, {{"sno", 1}, {"itemcode", "G00001"}});
    }

    // A read-only folder or file is found at start and said once, naming the
    // one that is read-only; reading works, a save names it too.
    void readOnlyFolderOrFileIsNamed_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("atSave");
        QTest::newRow("data folder") << "" << "The data folder %1 can be viewed but not changed: the folder is read-only"
                                     << "the data folder is read-only";
        QTest::newRow("Database folder") << "/Database" << "The folder %1 can be viewed but not changed: the folder is read-only"
                                         << "the folder Database is read-only";
        QTest::newRow("file") << "/Database/ItemStock.db" << "The file %1 can be viewed but not changed: the file is read-only"
                              << "the file is read-only";
    }
    void readOnlyFolderOrFileIsNamed()
    {
        QFETCH(QString, made);
        QFETCH(QString, said);
        QFETCH(QString, atSave);
        QTemporaryDir dir;
        Database::open(dir.path()).reset();
        const QString path = dir.path() + made;
        if (!makeReadOnly(path, true))
            QSKIP("this file system cannot make the folder read-only for this user");
        const auto restore = qScopeGuard([&] { makeReadOnly(path, false); });

        auto db = Database::open(dir.path());
        QStringList found = findingsOf(*db, Finding::Kind::ReadOnlyFolder) + findingsOf(*db, Finding::Kind::ReadOnlyFile);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.first().startsWith(said.arg(QDir::toNativeSeparators(path))), qPrintable(found.first()));
        RecordSource stock(*db);
        stock.bind(DbFile::ItemStock, "Stock");
        QCOMPARE(stock.recordCount(), 1);
        const QString refusal = errorOf([&] { addRecord(stock, {{"sno", 1}}); });
        QVERIFY2(refusal.contains("(Database/ItemStock.db): " + atSave), qPrintable(refusal));
        QCOMPARE(stock.mode(), RecordSource::Mode::Adding);
        if (made.endsWith(".db")) { // the other files still take records
            stock.bind(DbFile::Customer, "CustomerDetails");
            addRecord(stock, {{"sno", 1}});
        }
    }

    // The folders made are the user's alone and so are the files, whatever
    // the umask; a folder others can read is said, not changed.
    void dataIsPrivate()
    {
        QTemporaryDir dir;
        const mode_t saved = ::umask(022);
        const auto restore = qScopeGuard([&] { ::umask(saved); });
        const QString folder = dir.path() + "/new/data";
        auto db = Database::open(folder);
        QVERIFY(db->findings().empty());
        saveInvoice(*db, 1);
        QCOMPARE(modeOf(folder), 0700);
        QCOMPARE(modeOf(folder + "/Database"), 0700);
        for (DbFile file : AllDbFiles())
            QCOMPARE(modeOf(pathOf(folder, file)), 0600);

        const QString shared = dir.path() + "/shared";
        QVERIFY(QDir().mkpath(shared));
        ::chmod(QFile::encodeName(shared).constData(), 0755);
        const QStringList said = findingsOf(*Database::open(shared), Finding::Kind::OpenToOthers);
        QCOMPARE(said.size(), 1);
        QVERIFY(said.first().contains(QDir::toNativeSeparators(shared)));
        QCOMPARE(modeOf(shared), 0755);
    }

    // Super-journals that no journal refers to go at start, unless another
    // copy has the folder open.
    void leftoverJournalsAreRemovedWhenAlone()
    {
        QTemporaryDir dir;
        Database::open(dir.path()).reset();
        const QString leftover = dir.path() + "/ZLV.db-mj1A2B3C4D";
        const auto leave = [&] {
            QFile file(leftover);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QFile::encodeName(pathOf(dir.path(), DbFile::Invoice) + "-journal"));
        };
        {
            auto running = Database::open(dir.path());
            leave();
            auto second = Database::open(dir.path()); // another copy is running
            QVERIFY(QFile::exists(leftover));
        }
        Database::open(dir.path()).reset();
        QVERIFY(!QFile::exists(leftover));
    }

    // A backup taken while another copy saves invoices holds whole invoices
    // with the stock to match, and restores to exactly that.
    void backupDuringSavesRestoresWhole()
    {
        QTemporaryDir dir, backups;
        auto db = Database::open(dir.path(), 5000);
        addStockItem(dir.path());
        std::atomic<bool> stop = false;
        std::atomic<int> saved = 0;
        std::thread counter([&] {
            auto theirs = Database::open(dir.path(), 5000);
            while (!stop) {
                saveInvoice(*theirs, 3);
                ++saved;
            }
        });
        QStringList taken;
        const QString failure = errorOf([&] {
            while (taken.size() < 3) {
                if (saved > 3 * (taken.size() + 1))
                    taken << BackUpData(dir.path(), backups.path());
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        stop = true;
        counter.join();
        QCOMPARE(failure, "no error");
        const QString last = invoiceState(dir.path());

        for (const QString& backup : taken) {
            QCOMPARE(BackupProblem(backup), QString());
            const int invoices = countIn(backup, DbFile::Invoice, "BuyerInvoice") - 1;
            QVERIFY(invoices > 0 && invoices < saved);
            QCOMPARE(invoiceState(backup), wholeState(invoices, 3));
        }
        const QString restored = invoiceState(taken.first());
        const QString aside = RestoreData(*db, taken.first());
        QCOMPARE(invoiceState(dir.path()), restored);
        QCOMPARE(invoiceState(aside), last); // the files as they were, kept aside
        saveInvoice(*db, 3); // the program goes on with the restored data
        QCOMPARE(countIn(dir.path(), DbFile::Invoice, "GoodsInvoice"), restored.section(' ', 0, 0).toInt() + 1);
    }

    // The super-journal of a save over several files is the owner's alone,
    // as every other file of the folder is, whatever the umask.
    void superJournalsArePrivate()
    {
        QTemporaryDir dir;
        const mode_t saved = ::umask(022);
        const auto restoreUmask = qScopeGuard([&] { ::umask(saved); });
        Database::open(dir.path()).reset();
        addStockItem(dir.path());
        // A look at each super-journal just before SQLite deletes it.
        static sqlite3_vfs* watched = nullptr;
        static QList<int> modes;
        modes.clear();
        watched = sqlite3_vfs_find(nullptr);
        sqlite3_vfs spy = *watched;
        spy.zName = "test-spy";
        spy.xDelete = [](sqlite3_vfs*, const char* name, int syncDir) {
            if (QByteArray(name).contains("-mj"))
                modes << modeOf(QFile::decodeName(name));
            return watched->xDelete(watched, name, syncDir);
        };
        QCOMPARE(sqlite3_vfs_register(&spy, 1), SQLITE_OK);
        {
            auto db = Database::open(dir.path());
            saveInvoice(*db, 1);
        }
        sqlite3_vfs_unregister(&spy);
        sqlite3_vfs_register(watched, 1);
        QVERIFY(!modes.isEmpty()); // each save spans the files it began on
        QCOMPARE(modes, QList<int>(modes.size(), 0600));
    }

    // A backup paused between Invoice.db and ItemStock.db while another copy
    // commits a save over both holds that save whole or not at all.
    void backupPausedBetweenFilesHoldsWholeSaves()
    {
        QTemporaryDir dir, backups;
        auto db = Database::open(dir.path(), 5000);
        addStockItem(dir.path());
        saveInvoice(*db, 3);
        OwnSave save;
        QString during;
        std::thread saver;
        bool paused = false;
        SetBackupFileHook([&](DbFile copied) {
            if (paused || (copied != DbFile::Invoice && copied != DbFile::ItemStock))
                return;
            paused = true; // one of the two files copied, the other not yet
            saver = std::thread(saveOnOwnConnection, dir.path(), &save);
            during = save.said.get_future().get();
        });
        const auto unhook = qScopeGuard([] { SetBackupFileHook({}); });
        const QString backup = BackUpData(dir.path(), backups.path());
        saver.join();
        QVERIFY(paused);
        QVERIFY2(!during.startsWith("failed"), qPrintable(during));
        QVERIFY2(QStringList({wholeState(1, 3), wholeState(2, 3)}).contains(invoiceState(backup)),
                 qPrintable(invoiceState(backup) + " (the save " + during + " during the backup)"));
        QCOMPARE(invoiceState(dir.path()), wholeState(2, 3));
    }

    // Restore cut short at each of its steps (the program killed there): the
    // next start makes the folder wholly the backup's, or wholly as it was
    // when nothing was changed yet, and says which.
    void restoreCutShortIsMadeWholeAtStart()
    {
        QTemporaryDir dir, backups;
        QString backup;
        {
            auto db = Database::open(dir.path());
            addStockItem(dir.path());
            for (int i = 0; i < 3; ++i)
                saveInvoice(*db, 2);
            backup = BackUpData(dir.path(), backups.path());
            for (int i = 0; i < 4; ++i)
                saveInvoice(*db, 2);
        }
        for (int step = 0;; ++step) {
            QTemporaryDir work;
            copyDataFiles(dir.path(), work.path());
            const int status = runInChild([&] { // the program that restores, killed at the step
                SetRestoreStepHook([step](int at) {
                    if (at == step)
                        ::_exit(3);
                    return true;
                });
                auto db = Database::open(work.path());
                RestoreData(*db, backup);
            });
            QVERIFY(status == 0 || status == 3);
            const bool killed = status == 3;
            if (killed && step > 0) { // a nightly backup would copy a torn folder
                const QString refusal = errorOf([&] { BackUpData(work.path(), backups.path()); });
                QVERIFY2(refusal.contains("a restore of the data was cut short"), qPrintable(refusal));
            }

            auto db = Database::open(work.path());
            const QStringList said = findingsOf(*db, Finding::Kind::RestoreFinished);
            QCOMPARE(restoreLeftovers(work.path()), QStringList());
            const QStringList aside = QDir(work.filePath("Backups")).entryList({"Before restore*"}, QDir::Dirs);
            if (killed && step == 0) {
                QCOMPARE(invoiceState(work.path()), wholeState(7, 2));
                QCOMPARE(aside, QStringList());
                QCOMPARE(said.size(), 1);
                QVERIFY2(said.first().contains("before it changed anything"), qPrintable(said.first()));
                continue;
            }
            QCOMPARE(invoiceState(work.path()), wholeState(3, 2));
            QCOMPARE(aside.size(), 1);
            QCOMPARE(invoiceState(work.filePath("Backups/" + aside.first())), wholeState(7, 2));
            if (!killed) {
                QVERIFY(step > 16); // every rename was a step
                QCOMPARE(said, QStringList());
                break;
            }
            QCOMPARE(said.size(), 1);
            QVERIFY2(said.first().contains("It has now been finished") && said.first().contains(QDir::toNativeSeparators(backup)),
                     qPrintable(said.first()));
        }
    }

    // A step of the restore that fails (a file that cannot be renamed) takes
    // back the steps before it: the data is as it was, and the program goes
    // on with it.
    void restoreFailingAtAStepChangesNothing()
    {
        QTemporaryDir dir, backups;
        auto db = Database::open(dir.path());
        addStockItem(dir.path());
        saveInvoice(*db, 2);
        const QString backup = BackUpData(dir.path(), backups.path());
        saveInvoice(*db, 2);
        const auto unhook = qScopeGuard([] { SetRestoreStepHook({}); });
        for (int step = 0;; ++step) {
            bool failed = false;
            SetRestoreStepHook([&](int at) { return !(failed = failed || at == step); });
            const QMap<QString, QByteArray> before = digestsUnder(dir.path());
            const QString outcome = errorOf([&] { RestoreData(*db, backup); });
            if (outcome == "no error") { // the step was past the last rename
                QVERIFY(step > 16);
                if (failed) { // the marker stayed: the next start finds the restore whole
                    db.reset();
                    db = Database::open(dir.path());
                }
                QCOMPARE(restoreLeftovers(dir.path()), QStringList());
                QCOMPARE(invoiceState(dir.path()), wholeState(1, 2));
                break;
            }
            QVERIFY2(outcome.contains("nothing was changed"), qPrintable(outcome));
            QCOMPARE(restoreLeftovers(dir.path()), QStringList());
            QCOMPARE(digestsUnder(dir.path()), before);
            QCOMPARE(QDir(dir.filePath("Backups")).entryList({"Before restore*"}, QDir::Dirs), QStringList());
            saveInvoice(*db, 2);
            QCOMPARE(invoiceState(dir.path()), wholeState(step + 3, 2));
        }
    }

    // A backup with a file damaged, missing or lacking a table is refused
    // and nothing changes.
    void unfitBackupIsRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("said");
        QTest::newRow("damaged") << "damaged" << "Database/Invoice.db in it is damaged";
        QTest::newRow("missing") << "missing" << "Database/Invoice.db is missing";
        QTest::newRow("table dropped") << "dropped" << "Database/ItemStock.db in it lacks the tables Stock";
    }
    void unfitBackupIsRefused()
    {
        QFETCH(QString, how);
        QFETCH(QString, said);
        QTemporaryDir dir, backups;
        auto db = Database::open(dir.path());
        addStockItem(dir.path());
        for (int i = 0; i < 30; ++i)
            saveInvoice(*db, 2);
        const QString backup = BackUpData(dir.path(), backups.path());
        QCOMPARE(BackupProblem(backup), QString());
        if (how == "damaged")
            damagePage(pathOf(backup, DbFile::Invoice));
        else if (how == "missing")
            QVERIFY(QFile::remove(pathOf(backup, DbFile::Invoice)));
        else
            QVERIFY(RawFile(backup, DbFile::ItemStock).exec({"DROP TABLE Stock"}).isEmpty());
        saveInvoice(*db, 2);
        const QMap<QString, QByteArray> before = digestsUnder(dir.path());

        const QString refusal = errorOf([&] { RestoreData(*db, backup); });
        QVERIFY2(refusal.contains(said), qPrintable(refusal));
        QVERIFY(refusal.contains("nothing was changed"));
        QCOMPARE(digestsUnder(dir.path()), before);
        QCOMPARE(invoiceState(dir.path()), wholeState(31, 2));
    }
};

QTEST_GUILESS_MAIN(SafetyTest)
#include "test_safety.moc"
