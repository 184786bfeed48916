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
    checkReadable(DbFile::Zlv); // a damaged ZLV.db would otherwise be blamed on the first file attached
    for (DbFile file : AllDbFiles()) {
        if (file == DbFile::Zlv)
            continue;
        run(QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(SchemaName(file)), {filePath(file)},
            QStringLiteral("open the file"), file);
    }
    for (DbFile file : AllDbFiles()) {
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
            if (table.file != file)
                continue;
            QSqlQuery exists = run(QStringLiteral("SELECT 1 FROM \"%1\".sqlite_master WHERE name = ?").arg(schema),
                                   {table.name}, QStringLiteral("read the file"), file);
            const bool present = exists.next();
            exists.finish();
            if (present)
                continue;
            run(CreateTableSql(table), {}, QStringLiteral("create table %1").arg(table.name), file);
            if (table.placeholder)
                run(QStringLiteral("INSERT INTO \"%1\".\"%2\" (\"%3\") VALUES (0)").arg(schema, table.name, table.serialField),
                    {}, QStringLiteral("create table %1").arg(table.name), file);
        }
        for (const QString& sql : CreateViewSql(file) + CreateIndexSql(file))
            run(sql, {}, QStringLiteral("create the views and indexes"), file);
        if (stored < SchemaVersion)
            run(QStringLiteral("PRAGMA \"%1\".user_version = %2").arg(schema).arg(SchemaVersion), {},
                QStringLiteral("write the file's version"), file);
        transaction.commit();
    }
}

Transaction::Transaction(Database& db, QString operation)
    : m_db(db)
    , m_operation(std::move(operation))
{
    if (m_db.m_inTransaction)
        throw DataError(m_operation, {}, QStringLiteral("another piece of work is still open"));
    m_db.run(QStringLiteral("BEGIN"), {}, m_operation, DbFile::Zlv);
    m_db.m_inTransaction = true;
}

Transaction::~Transaction()
{
    if (!m_done) {
        QSqlQuery rollback(m_db.connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
        m_db.m_inTransaction = false;
    }
}

void Transaction::commit()
{
    m_db.run(QStringLiteral("COMMIT"), {}, m_operation, DbFile::Zlv);
    m_done = true;
    m_db.m_inTransaction = false;
}

} // namespace zelva
