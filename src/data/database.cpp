#include "data/database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace zelva {

namespace {

QString describe(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    if (text.contains(QLatin1String("database is locked")))
        return QStringLiteral("the file is in use by another program (database is locked); try again");
    if (text.contains(QLatin1String("readonly")))
        return QStringLiteral("the file is read-only (%1)").arg(text);
    if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
        return QStringLiteral("the file is damaged or not a database of this program (%1)").arg(text);
    if (text.contains(QLatin1String("unable to open")))
        return QStringLiteral("the file cannot be opened (%1)").arg(text);
    return text;
}

} // namespace

Database::Database(QString folder, QString connectionName)
    : m_folder(std::move(folder))
    , m_connectionName(std::move(connectionName))
{
}

Database::~Database()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const QString& folder, int busyTimeoutMs)
{
    const QString absolute = QDir(folder).absolutePath();
    if (!QDir().mkpath(absolute + QStringLiteral("/Database")))
        throw DataError(QStringLiteral("create the data folder"), absolute,
                        QStringLiteral("the folder cannot be created or written"));
    const QString name = QStringLiteral("zelva-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<Database> db(new Database(absolute, name));
    db->attachAll(busyTimeoutMs);
    db->createMissing();
    for (const QString& sql : CreateConnectionViewSql())
        db->run(sql, {}, QStringLiteral("create the views"), DbFile::Invoice);
    return db;
}

QString Database::filePath(DbFile file) const
{
    return m_folder + QLatin1Char('/') + RelativePath(file);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery Database::run(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const
{
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DataError(operation, RelativePath(file), describe(query.lastError()));
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw DataError(operation, RelativePath(file), describe(query.lastError()));
    return query;
}

void Database::attachAll(int busyTimeoutMs)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(filePath(DbFile::Zlv));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open())
        throw DataError(QStringLiteral("open the login file"), RelativePath(DbFile::Zlv), describe(db.lastError()));
    // Each file is read once as soon as it is there, so a damaged one is
    // named before anything else touches it.
    for (DbFile file : AllDbFiles()) {
        if (file != DbFile::Zlv)
            run(QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(SchemaName(file)), {filePath(file)},
                QStringLiteral("open the file"), file);
        checkReadable(file);
        // Rollback journal: a commit over attached files is atomic only without WAL.
        run(QStringLiteral("PRAGMA \"%1\".journal_mode = DELETE").arg(SchemaName(file)), {},
            QStringLiteral("open the file"), file);
    }
}

void Database::checkReadable(DbFile file)
{
    run(QStringLiteral("SELECT count(*) FROM \"%1\".sqlite_master").arg(SchemaName(file)), {},
        QStringLiteral("read the file"), file);
}

void Database::createMissing()
{
    for (DbFile file : AllDbFiles()) {
        const QString schema = SchemaName(file);
        QSqlQuery version = run(QStringLiteral("PRAGMA \"%1\".user_version").arg(schema), {},
                                QStringLiteral("read the file's version"), file);
        const int stored = version.next() ? version.value(0).toInt() : 0;
        version.finish();
        if (stored > SchemaVersion)
            continue; // written by a later program: leave its layout alone

        Transaction transaction(*this, QStringLiteral("create the tables"));
        for (const TableDef& table : AllTables()) {
            if (table.file == file && tableKind(file, table.name, QStringLiteral("read the file")).isEmpty())
                createTable(table);
        }
        for (const QString& sql : CreateViewSql(file))
            run(sql, {}, QStringLiteral("create the views"), file);
        for (const QString& sql : UpgradeSql(file, stored))
            run(sql, {}, QStringLiteral("bring the file up to date"), file);
        if (stored < SchemaVersion)
            run(QStringLiteral("PRAGMA \"%1\".user_version = %2").arg(schema).arg(SchemaVersion), {},
                QStringLiteral("write the file's version"), file);
        transaction.commit();
    }
}

// A "stock" made elsewhere is the Stock table, so start-up leaves it alone.
QString Database::tableKind(DbFile file, const QString& name, const QString& operation) const
{
    QSqlQuery kind = run(QStringLiteral("SELECT type FROM \"%1\".sqlite_master WHERE type IN ('table', 'view') "
                                        "AND name = ? COLLATE NOCASE")
                             .arg(SchemaName(file)),
                         {name}, operation, file);
    const QString found = kind.next() ? kind.value(0).toString() : QString();
    kind.finish();
    return found;
}

// A new table gets its serial index and, where New scans it, the placeholder
// record with serial 0 so that the first real record gets serial 1.
void Database::createTable(const TableDef& table)
{
    const QString operation = QStringLiteral("create table %1").arg(table.name);
    run(CreateTableSql(table), {}, operation, table.file);
    const QString index = CreateIndexSql(table);
    if (!index.isEmpty())
        run(index, {}, operation, table.file);
    if (table.placeholder)
        run(QStringLiteral("INSERT INTO \"%1\".\"%2\" (\"%3\") VALUES (0)").arg(SchemaName(table.file), table.name, table.serialField),
            {}, operation, table.file);
}

void Database::onRollback(const void* owner, std::function<void()> undo)
{
    if (m_inTransaction)
        m_rollbackUndo.push_back({owner, std::move(undo)});
}

void Database::forgetRollback(const void* owner)
{
    std::erase_if(m_rollbackUndo, [owner](const auto& entry) { return entry.first == owner; });
}

Transaction::Transaction(Database& db, QString operation)
    : m_db(db)
    , m_operation(std::move(operation))
{
    if (m_db.m_inTransaction)
        throw DataError(m_operation, m_db.folder(), QStringLiteral("another piece of work is still open"));
    exec(QStringLiteral("BEGIN"));
    m_db.m_inTransaction = true;
}

// BEGIN and COMMIT span every attached file, so a failure names the data folder.
void Transaction::exec(const QString& statement)
{
    QSqlQuery query(m_db.connection());
    if (!query.exec(statement))
        throw DataError(m_operation, m_db.folder(), describe(query.lastError()));
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    QSqlQuery rollback(m_db.connection());
    rollback.exec(QStringLiteral("ROLLBACK"));
    m_db.m_inTransaction = false;
    // Put the record sources back as they were before their writes.
    auto undo = std::move(m_db.m_rollbackUndo);
    m_db.m_rollbackUndo.clear();
    for (auto it = undo.rbegin(); it != undo.rend(); ++it)
        it->second();
}

void Transaction::commit()
{
    exec(QStringLiteral("COMMIT"));
    m_done = true;
    m_db.m_inTransaction = false;
    m_db.m_rollbackUndo.clear();
}

} // namespace zelva
