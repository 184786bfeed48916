#pragma once
// The one SQLite connection of a data folder, with the eight files attached.
#include "data/dataerror.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace zelva {

class Database {
public:
    // Opens (creating what is missing) the eight files in the folder. Existing
    // data is never dropped or changed. Throws DataError.
    static std::unique_ptr<Database> open(const QString& folder, int busyTimeoutMs = 3000);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& folder() const { return m_folder; }
    QString filePath(DbFile file) const;
    QSqlDatabase connection() const;

    // Prepares and runs one statement with bound values; throws DataError naming
    // the operation and the file when it fails.
    QSqlQuery run(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const;

    // "table" or "view" for the object of that name in the file, whatever its
    // letter case (SQLite names ignore case); "" when there is none.
    QString tableKind(DbFile file, const QString& name, const QString& operation) const;

    bool inTransaction() const { return m_inTransaction; }

    // Work in memory to undo when the open transaction rolls back (a record
    // source's write that did not land); nothing happens outside a transaction.
    // An owner that goes away first must call forgetRollback.
    void onRollback(const void* owner, std::function<void()> undo);
    void forgetRollback(const void* owner);

private:
    friend class Transaction;
    Database(QString folder, QString connectionName);
    void attachAll(int busyTimeoutMs);
    void createMissing();
    void checkReadable(DbFile file);
    void createTable(const TableDef& table);

    QString m_folder;
    QString m_connectionName;
    bool m_inTransaction = false;
    std::vector<std::pair<const void*, std::function<void()>>> m_rollbackUndo;
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

    Database& m_db;
    QString m_operation;
    bool m_done = false;
};

} // namespace zelva
