#pragma once
// Records written many at a time, for work that adds thousands in one piece
// (an import): the rows of one table gathered by add() and written by write()
// as multi-row INSERTs, each statement prepared once, so that a store of
// 10,000 records costs about what the bare inserts do. Both stores take the
// same statements. Runs inside the caller's Transaction: nothing lands unless
// it commits.
#include "data/database.h"

#include <QHash>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zelva {

class InsertBatch {
public:
    // columns as the table spells them; operation names the work in messages.
    InsertBatch(Database& db, DbFile file, QString table, QStringList columns, QString operation);
    ~InsertBatch();
    InsertBatch(const InsertBatch&) = delete;
    InsertBatch& operator=(const InsertBatch&) = delete;

    // One record's values, in the order of the columns.
    void add(QVariantList values);
    // Writes what was added, in that order; then holds nothing. Throws DataError.
    void write();
    bool empty() const { return m_rows.empty(); }
    const QStringList& columns() const { return m_columns; }

private:
    std::unique_ptr<PreparedWrite> statementFor(int rows) const;

    Database& m_db;
    DbFile m_file;
    QString m_table;
    QStringList m_columns;
    QString m_operation;
    int m_rowsPerStatement;
    std::vector<QVariantList> m_rows;
    std::unique_ptr<PreparedWrite> m_full; // a statement of m_rowsPerStatement rows, kept for the next write
};

// Rows kept by item code in a table of their own ("sno", "itemcode", then
// the values: an item's GST rate, its opening stock), replaced for many items
// at once as the store of one item replaces its row: the row a code had is
// deleted and the new one added under the next serial. write() writes them.
class RowsByCode {
public:
    RowsByCode(Database& db, DbFile file, QString table, const QStringList& valueColumns, QString operation);
    ~RowsByCode();
    // hadRow: the code has a row in the table now; no values: it keeps none.
    void replace(const QString& code, bool hadRow, const std::optional<QVariantList>& values);
    void write();

private:
    Database& m_db;
    DbFile m_file;
    QString m_table;
    QString m_operation;
    InsertBatch m_rows;
    std::optional<qint64> m_lastSerial; // read when first wanted
    QStringList m_deleted;              // the codes whose rows go, in order
    QHash<QString, QVariantList> m_added; // by code, as the rows will be
    QStringList m_addedOrder;
};

// The page cache of the files a large piece of work writes, made large
// while the guard lasts: with SQLite's default of about 2 MB a file, the
// pages of an import's tens of thousands of rows (the audit trail's with its
// indexes) are written out part-way, journalled and read back before the
// commit. Each file's own size comes back when the guard goes; declare it
// before the work's Transaction, so that happens after the work ends.
// Nothing on a server.
class LargeWriteCache {
public:
    LargeWriteCache(Database& db, std::initializer_list<DbFile> files);
    ~LargeWriteCache();
    LargeWriteCache(const LargeWriteCache&) = delete;
    LargeWriteCache& operator=(const LargeWriteCache&) = delete;

private:
    Database& m_db;
    std::vector<std::pair<DbFile, QString>> m_sizeBefore; // as PRAGMA cache_size gave it
};

} // namespace zelva
