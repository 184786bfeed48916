#pragma once
// The one connection to the program's data: either the data folder's SQLite
// files, attached under their schema names, or a PostgreSQL database on a
// server, holding the same tables in schemas of the same names. The forms
// cannot tell the two apart: both take the same SQL (the server reads it
// through ServerSql) and both serialise writers.
#include "data/datafolder.h"
#include "data/dataerror.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zelva {

// Something start-up found wrong with the data, said to the operator once.
struct Finding {
    enum class Kind { Damaged, ReadOnlyFolder, ReadOnlyFile, OpenToOthers, DuplicateCodes, RestoreFinished };
    Kind kind;
    QString text;
};

// How far a file may be changed. A damaged or read-only file is opened
// read-only: it can be viewed, and nothing is ever written into it.
enum class FileAccess { Writable, ReadOnlyFolder, ReadOnlyFile, Damaged };

struct OpenOptions {
    int busyTimeoutMs = 3000;
    // The operator agreed to create empty the files missing from a folder in
    // use (or blank in it); without it opening such a folder throws.
    bool createMissingInUse = false;
    // Asked with the question about such files, when createMissingInUse is
    // not set; true to create them. Runs while this copy holds the folder.
    std::function<bool(const QString& question)> askToCreateMissing;
    // SQLite's quick check of every file runs at open, or later through
    // quickCheck() (long files: after the main window shows).
    bool deferQuickCheck = false;
    // On a server: make the missing layout at open in a transaction of its
    // own; false leaves it to the caller's transaction (ensureServerLayout).
    bool createServerLayout = true;
};

class Database {
public:
    // Opens the eight files in the folder, creating those missing from a fresh
    // folder (folders 0700, files 0600), upgrading older files a step at a
    // time and checking each (OpenOptions). Before anything opens a file, a
    // restore that a crash cut short is finished (or undone) and said among
    // the findings. Existing data is never dropped or changed; what was found
    // wrong is in findings(). Throws DataError when the folder cannot be used
    // at all (missing or blank files of a folder in use, a file locked by
    // another program, a folder that cannot be made, an unfinished restore
    // while another copy has the folder open).
    static std::unique_ptr<Database> open(const QString& folder, const OpenOptions& options);
    static std::unique_ptr<Database> open(const QString& folder, int busyTimeoutMs = 3000);
    // Connects to the PostgreSQL database the URL names
    // ("postgresql://user@host:5432/shop"; the password from ~/.pgpass or
    // PGPASSWORD), creating the schemas, tables, views and indexes missing
    // and upgrading an older layout a step at a time, each in a transaction.
    // localFolder keeps what stays on this computer (printed PDFs). Throws
    // DataError naming the server when it cannot be reached or used.
    static std::unique_ptr<Database> openServer(const QString& url, const QString& localFolder,
                                                const OpenOptions& options = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The data folder; on a server the local folder for what stays here.
    const QString& folder() const { return m_folder; }
    // The server's URL as messages show it (a password masked); "" for the
    // data folder.
    QString serverUrl() const;
    bool onServer() const { return !m_serverUrl.isEmpty(); }
    QString filePath(DbFile file) const;
    // Where the data of that file is, for messages: the file within the data
    // folder, or its schema on the server.
    QString placeOf(DbFile file) const;
    QSqlDatabase connection() const;

    // Prepares and runs one statement with bound values; throws DataError naming
    // the operation and the file when it fails.
    QSqlQuery run(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const;
    // Runs an INSERT and gives the new record's key (its rowid).
    qint64 insert(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const;

    // "table" or "view" for the object of that name in the file, whatever its
    // letter case (SQLite names ignore case); "" when there is none.
    QString tableKind(DbFile file, const QString& name, const QString& operation) const;
    // The fields of a table or view in their order, each with its declared
    // type ("REAL", "double precision"); empty when there is none. Leaves out
    // the server's rowid field, which the files keep hidden.
    std::vector<std::pair<QString, QString>> fieldTypes(DbFile file, const QString& table,
                                                        const QString& operation) const;

    bool inTransaction() const { return m_inTransaction; }
    // On a server, inside the caller's open transaction: makes what is missing
    // of the layout, as openServer does (so that a copy that fails leaves not
    // even the layout behind). True when something was made.
    bool ensureServerLayout();

    const std::vector<Finding>& findings() const { return m_findings; }
    FileAccess access(DbFile file) const;
    // Why nothing can be written into (or, damaged badly enough, read from)
    // the file, with what to do about it; "" when it may be changed.
    QString readOnlyReason(DbFile file) const;
    // Runs the quick check when open() left it for later (nothing otherwise):
    // a damaged file is opened again read-only. Returns what it found. The
    // first transaction runs it first, so nothing is saved before it.
    std::vector<Finding> quickCheck();

    // The lock this copy of the program holds on the folder (none on a server).
    FolderLock& folderLock() { return *m_lock; }
    // Closes the files, runs work (which may replace them), and opens them
    // again as open() does; throws DataError when they cannot be opened.
    void reopenAfter(const std::function<void()>& work);

    // Work in memory to undo when the open transaction rolls back (a record
    // source's write that did not land); nothing happens outside a transaction.
    // An owner that goes away first must call forgetRollback.
    void onRollback(const void* owner, std::function<void()> undo);
    void forgetRollback(const void* owner);

    // For tests: runs before each statement with its SQL (a server stopped in
    // the middle of a save). Empty: nothing.
    void setStatementHook(std::function<void(const QString& sql)> hook) { m_statementHook = std::move(hook); }

private:
    friend class Transaction;
    friend class PreparedStatement;
    friend class PreparedWrite;
    Database(QString folder, QString connectionName, OpenOptions options);
    // The server store's own pieces (serverstore.cpp).
    void connectServer();
    void createServerLayout();
    int serverVersion() const;
    QString serverTableKind(const QString& schema, const QString& name, const QString& operation) const;
    DataError serverError(const QSqlError& error, const QString& operation, DbFile file) const;
    // What a statement that failed on the files tells the operator.
    DataError fileError(const QSqlQuery& query, const QString& operation, DbFile file) const;
    DataError fileError(const QSqlError& error, const QString& operation, DbFile file) const;
    void beginServerTransaction(const QString& operation);
    QSqlQuery runOnServer(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const;
    // Runs a statement written for the server as it is (no ServerSql).
    void execOnServer(const QString& sql, const QString& operation, DbFile file) const;
    void openFiles();
    void closeConnection();
    void findAccess();
    void createMissingFiles();
    void attachAll();
    bool attach(DbFile file);
    QString attachPath(DbFile file) const;
    void checkAll();
    QString damageIn(DbFile file);
    void markDamaged(DbFile file, const QString& detail);
    QString damagedText(DbFile file) const;
    QString backupsFolder() const;
    void createMissing();
    void createConnectionViews();
    void createTable(const TableDef& table);
    void upgradeToUniqueCodes(DbFile file, bool firstTime);
    bool hasIndex(DbFile file, const QString& name) const;
    bool hasColumn(DbFile file, const QString& table, const QString& field) const;
    QString tryUniqueIndex(DbFile file, const IndexDef& index);
    void addFinding(Finding::Kind kind, const QString& text);

    QString m_folder;
    QString m_connectionName;
    QString m_serverUrl;
    mutable bool m_connectionLost = false;
    OpenOptions m_options;
    std::unique_ptr<FolderLock> m_lock;
    std::map<DbFile, FileAccess> m_access;
    // What was found damaged in each damaged file; those that cannot be read
    // at all stand in as empty files (nothing of them can be viewed).
    std::map<DbFile, QString> m_damage;
    std::set<DbFile> m_unreadable;
    bool m_checkPending = false;
    bool m_opening = false;
    std::vector<Finding> m_findings;
    bool m_inTransaction = false;
    std::vector<std::pair<const void*, std::function<void()>>> m_rollbackUndo;
    std::function<void(const QString&)> m_statementHook;
};

// One statement prepared once and run many times with other values (the
// rows of an import), inside the caller's piece of work: each run fails as
// run() does, naming the operation and the file.
class PreparedStatement {
public:
    PreparedStatement(const Database& db, const QString& sql, QString operation, DbFile file);
    // Runs it with these values; the query holds what it gives until the next run.
    QSqlQuery& exec(const QVariantList& values);

private:
    const Database& m_db;
    QString m_sql;
    QString m_operation;
    DbFile m_file;
    QSqlQuery m_query;
};

// A statement that gives no rows (the multi-row INSERTs of an import), kept
// prepared and run many times inside the caller's piece of work, failing as
// run() does. On the files it is bound and stepped through SQLite's own
// calls, each value bound as Qt's driver binds it (the same stored bytes):
// Qt names and hashes every placeholder it binds, which took a fifth of an
// import's store. On the server it runs as a PreparedStatement.
class PreparedWrite {
public:
    PreparedWrite(const Database& db, const QString& sql, QString operation, DbFile file);
    ~PreparedWrite();
    PreparedWrite(const PreparedWrite&) = delete;
    PreparedWrite& operator=(const PreparedWrite&) = delete;
    void exec(const QVariantList& values);

private:
    void bind(int position, const QVariant& value);
    DataError error(int status, const QString& what) const;

    const Database& m_db;
    QString m_sql;
    QString m_operation;
    DbFile m_file;
    std::unique_ptr<PreparedStatement> m_server;
    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

// Work that touches several tables or files at once: all of it lands on
// commit(), none of it when the guard goes out of scope uncommitted.
class Transaction {
public:
    Transaction(Database& db, QString operation);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    // Throws DataError (naming the data folder) when the work cannot land; the
    // guard then rolls everything back.
    void commit();

private:
    void exec(const QString& statement);
    void commitOnServer();

    Database& m_db;
    QString m_operation;
    bool m_done = false;
};

} // namespace zelva
