#pragma once
// The one SQLite connection of a data folder, with the eight files attached.
#include "data/dataerror.h"
#include "data/schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <memory>

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

    bool inTransaction() const { return m_inTransaction; }

private:
    friend class Transaction;
    Database(QString folder, QString connectionName);
    void attachAll(int busyTimeoutMs);
    void createMissing();
    void checkReadable(DbFile file);

    QString m_folder;
    QString m_connectionName;
    bool m_inTransaction = false;
};

// Work that touches several tables or files at once: all of it lands on
// commit(), none of it when the guard goes out of scope uncommitted.
class Transaction {
public:
    Transaction(Database& db, QString operation);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    QString m_operation;
    bool m_done = false;
};

} // namespace zelva
