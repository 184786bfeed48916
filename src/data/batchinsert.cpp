#include "data/batchinsert.h"

#include <algorithm>
#include <utility>

namespace zelva {

namespace {

// Values bound in one statement: under the limit both stores have always had
// (999 on older SQLite), so a statement never grows past what either takes.
constexpr int ValuesPerStatement = 990;

// A large piece of work's page cache, in KiB (negative as cache_size takes
// it): room for the pages of some 100,000 new rows and their indexes.
constexpr int LargeCacheKib = 65536;

QString cacheSizePragma(DbFile file)
{
    return QStringLiteral("PRAGMA \"%1\".cache_size").arg(SchemaName(file));
}

} // namespace

InsertBatch::InsertBatch(Database& db, DbFile file, QString table, QStringList columns, QString operation)
    : m_db(db)
    , m_file(file)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    , m_operation(std::move(operation))
    , m_rowsPerStatement(std::max(1, ValuesPerStatement / int(std::max<qsizetype>(1, m_columns.size()))))
{
}

InsertBatch::~InsertBatch() = default;

void InsertBatch::add(QVariantList values)
{
    m_rows.push_back(std::move(values));
}

std::unique_ptr<PreparedWrite> InsertBatch::statementFor(int rows) const
{
    QStringList quoted;
    for (const QString& column : m_columns)
        quoted << QStringLiteral("\"%1\"").arg(column);
    const QString marks = QLatin1Char('(') + QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                          + QLatin1Char(')');
    const QString sql = QStringLiteral("INSERT INTO \"%1\".\"%2\" (%3) VALUES %4")
                            .arg(SchemaName(m_file), m_table, quoted.join(QLatin1Char(',')),
                                 QStringList(rows, marks).join(QLatin1Char(',')));
    return std::make_unique<PreparedWrite>(m_db, sql, m_operation, m_file);
}

void InsertBatch::write()
{
    size_t next = 0;
    while (next < m_rows.size()) {
        const int rows = int(std::min<size_t>(size_t(m_rowsPerStatement), m_rows.size() - next));
        std::unique_ptr<PreparedWrite> last; // the few rows after the full statements
        if (rows == m_rowsPerStatement && !m_full)
            m_full = statementFor(rows);
        else if (rows < m_rowsPerStatement)
            last = statementFor(rows);
        QVariantList values;
        values.reserve(rows * m_columns.size());
        for (int r = 0; r < rows; ++r)
            values.append(std::move(m_rows[next + size_t(r)])); // the rows are done with once written
        (last ? *last : *m_full).exec(values);
        next += size_t(rows);
    }
    m_rows.clear();
}

RowsByCode::RowsByCode(Database& db, DbFile file, QString table, const QStringList& valueColumns, QString operation)
    : m_db(db)
    , m_file(file)
    , m_table(std::move(table))
    , m_operation(std::move(operation))
    , m_rows(db, file, m_table, QStringList{QStringLiteral("sno"), QStringLiteral("itemcode")} + valueColumns, m_operation)
{
}

RowsByCode::~RowsByCode() = default;

void RowsByCode::replace(const QString& code, bool hadRow, const std::optional<QVariantList>& values)
{
    if (hadRow && !m_deleted.contains(code))
        m_deleted << code;
    if (!m_lastSerial) {
        QSqlQuery last = m_db.run(QStringLiteral("SELECT COALESCE(MAX(\"sno\"), 0) FROM \"%1\".\"%2\"").arg(SchemaName(m_file), m_table),
                                  {}, m_operation, m_file);
        m_lastSerial = last.next() ? last.value(0).toLongLong() : 0;
    }
    if (m_added.remove(code))
        m_addedOrder.removeOne(code); // a second change of the code in the batch replaces the first
    if (!values)
        return;
    m_added.insert(code, QVariantList{++*m_lastSerial, code} + *values);
    m_addedOrder << code;
}

void RowsByCode::write()
{
    if (!m_deleted.isEmpty()) {
        PreparedWrite remove(
            m_db, QStringLiteral("DELETE FROM \"%1\".\"%2\" WHERE \"itemcode\" = ?").arg(SchemaName(m_file), m_table),
            m_operation, m_file);
        for (const QString& code : std::as_const(m_deleted))
            remove.exec({code});
    }
    for (const QString& code : std::as_const(m_addedOrder))
        m_rows.add(m_added.value(code));
    m_rows.write();
    m_deleted.clear();
    m_added.clear();
    m_addedOrder.clear();
    m_lastSerial.reset(); // the rows of one item stored alone may come between two writes
}

LargeWriteCache::LargeWriteCache(Database& db, std::initializer_list<DbFile> files)
    : m_db(db)
{
    if (db.onServer())
        return;
    const QString operation = QStringLiteral("make room for a large piece of work");
    for (const DbFile file : files) {
        QSqlQuery size = db.run(cacheSizePragma(file), {}, operation, file);
        if (!size.next())
            continue;
        m_sizeBefore.emplace_back(file, size.value(0).toString());
        size.finish();
        db.run(cacheSizePragma(file) + QStringLiteral(" = -%1").arg(LargeCacheKib), {}, operation, file);
    }
}

LargeWriteCache::~LargeWriteCache()
{
    for (const auto& [file, size] : m_sizeBefore) {
        try {
            m_db.run(cacheSizePragma(file) + QStringLiteral(" = %1").arg(size.toLongLong()), {},
                     QStringLiteral("give back the room of a large piece of work"), file);
        } catch (const DataError&) {
            // The larger cache stays until the files close: only memory.
        }
    }
}

} // namespace zelva
