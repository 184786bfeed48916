// The server store's pieces of Database: connecting, the layout, the
// transactions' lock and what the server's errors mean. Everything that only
// the data files need stays in database.cpp.
#include "data/serverstore.h"

#include "data/database.h"
#include "data/serverdialect.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

namespace zelva {

namespace {

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString qualified(DbFile file, const QString& name) { return quoted(SchemaName(file)) + QLatin1Char('.') + quoted(name); }

QString serverType(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QStringLiteral("text");
    case FieldKind::Number: return QStringLiteral("double precision");
    case FieldKind::Serial: return QStringLiteral("bigint");
    }
    return QStringLiteral("text");
}

// Every write transaction of every counter takes this one lock first, so that
// writers follow each other as BEGIN IMMEDIATE makes them on the files.
constexpr qint64 WriterLockKey = 0x5A454C5641; // "ZELVA"

// Texts of the failures that mean the connection itself is gone.
bool connectionLost(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01") || code == QLatin1String("57P02")
        || code == QLatin1String("57P03"))
        return true;
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    for (const char* sign : {"server closed the connection", "no connection to the server", "terminating connection",
                             "could not receive data", "could not send data", "connection to server",
                             "Connection refused", "the database system is shutting down"})
        if (text.contains(QLatin1String(sign), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

QString ShownServerUrl(const QString& url)
{
    QString shown = url;
    // The user information runs to the last "@" (a password may hold any
    // character); everything after its first ":" is the password.
    const qsizetype scheme = shown.indexOf(QLatin1String("://"));
    const qsizetype start = scheme < 0 ? 0 : scheme + 3;
    const qsizetype at = shown.lastIndexOf(QLatin1Char('@'));
    const qsizetype colon = at > start ? shown.indexOf(QLatin1Char(':'), start) : -1;
    if (colon >= 0 && colon < at)
        shown.replace(colon + 1, at - colon - 1, QStringLiteral("****"));
    static const QRegularExpression option(QStringLiteral("([?&;]password=)[^&]*"), QRegularExpression::CaseInsensitiveOption);
    return shown.replace(option, QStringLiteral("\\1****"));
}

std::optional<ServerAddress> ParseServerUrl(const QString& url, QString* error)
{
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    const QString example = QStringLiteral(" (for example postgresql://user@host:5432/shop)");
    if (!parsed.isValid() || (parsed.scheme() != QLatin1String("postgresql") && parsed.scheme() != QLatin1String("postgres"))) {
        *error = QStringLiteral("\"%1\" is not a PostgreSQL address").arg(ShownServerUrl(url)) + example;
        return std::nullopt;
    }
    if (!parsed.password().isEmpty()) {
        *error = QStringLiteral("The server address must not hold a password; keep it in ~/.pgpass or PGPASSWORD.");
        return std::nullopt;
    }
    ServerAddress address;
    address.host = parsed.host();
    address.port = parsed.port();
    address.database = parsed.path().mid(1);
    address.user = parsed.userName();
    if (address.database.isEmpty() || address.database.contains(QLatin1Char('/'))) {
        *error = QStringLiteral("\"%1\" names no database").arg(ShownServerUrl(url)) + example;
        return std::nullopt;
    }
    QStringList options;
    bool timeoutGiven = false;
    for (const auto& [key, value] : QUrlQuery(parsed).queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("password")) {
            *error = QStringLiteral("The server address must not hold a password; keep it in ~/.pgpass or PGPASSWORD.");
            return std::nullopt;
        }
        if (key.contains(QLatin1Char('=')) || key.contains(QLatin1Char(';')) || value.contains(QLatin1Char(';'))) {
            *error = QStringLiteral("\"%1\" has an option that cannot be used: %2").arg(ShownServerUrl(url), key);
            return std::nullopt;
        }
        timeoutGiven = timeoutGiven || key == QLatin1String("connect_timeout");
        options << key + QLatin1Char('=') + value;
    }
    if (!timeoutGiven)
        options << QStringLiteral("connect_timeout=10"); // an unreachable server is said, not waited for
    address.options = options.join(QLatin1Char(';'));
    return address;
}

QString ServerVersionTable() { return qualified(DbFile::Zlv, QStringLiteral("zelva_schema_version")); }

QStringList ServerSchemasSql()
{
    QStringList statements;
    for (DbFile file : AllDbFiles())
        statements << QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quoted(SchemaName(file)));
    statements << ServerFunctionsSql();
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (version integer NOT NULL)").arg(ServerVersionTable());
    return statements;
}

// The rowid keeps the files' record identity and insertion order; no view shows it.
QString ServerCreateTableSql(const TableDef& table)
{
    QStringList columns{QStringLiteral("rowid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY")};
    for (const FieldDef& f : table.fields)
        columns << quoted(f.name) + QLatin1Char(' ') + serverType(f.kind);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(qualified(table.file, table.name), columns.join(QStringLiteral(", ")));
}

QString ServerPlaceholderSql(const TableDef& table)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (0)").arg(qualified(table.file, table.name), quoted(table.serialField));
}

QStringList ServerIndexSql(const TableDef& table)
{
    QStringList statements;
    for (const IndexDef& index : UniqueIndexes(table))
        statements << QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(quoted(index.name), qualified(table.file, table.name), quoted(index.field));
    // The day keys the registers and reports select periods by, as the files have them.
    const auto dayKey = [&](const char* name, const QString& key) {
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(quoted(QLatin1String(name)), qualified(table.file, table.name), ServerSql(key));
    };
    if (table.name == QLatin1String("BuyerInvoice"))
        dayKey("idx_BuyerInvoice_datekey", DateKeySql(QStringLiteral("\"InvoiceDate\"")));
    if (table.name == QLatin1String("Purchase"))
        dayKey("idx_Purchase_daykey", PurchaseDayKeySql());
    if (table.name == QLatin1String("IssueRegister"))
        dayKey("idx_IssueRegister_daykey", IssueDayKeySql());
    if (table.name == QLatin1String("PurchaseBill"))
        dayKey("idx_PurchaseBill_daykey", QStringLiteral("\"BillDay\""));
    if (table.name == QLatin1String("PurchaseBillLine"))
        dayKey("idx_PurchaseBillLine_bill", QStringLiteral("\"BillSno\""));
    if (table.name == QLatin1String("AuditTrail")) { // a record's history, a period of the trail
        dayKey("idx_AuditTrail_record", QStringLiteral("\"TableName\", \"RecordKey\""));
        dayKey("idx_AuditTrail_at", QStringLiteral("\"At\""));
    }
    for (const IndexDef& index : LookupIndexes(table.name))
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(quoted(index.name), qualified(table.file, table.name), quoted(index.field));
    if (table.name == QLatin1String("SupplierNote")) {
        dayKey("idx_SupplierNote_daykey", QStringLiteral("\"NoteDay\""));
        dayKey("idx_SupplierNote_bill", QStringLiteral("\"BillSno\""));
    }
    return statements;
}

std::vector<ServerView> ServerViews()
{
    std::vector<ServerView> views;
    for (const ViewDef& view : FileViews())
        views.push_back({SchemaName(view.file), view.name,
                         QStringLiteral("CREATE VIEW %1 AS %2").arg(qualified(view.file, view.name), ServerSql(view.select))});
    // The invoices with their seller's address: the files make it on each
    // connection; the server holds it in the first schema of the search path,
    // where the unqualified name PrintInvoice finds it.
    views.push_back({SchemaName(DbFile::Zlv), QStringLiteral("PrintInvoice"),
                     QStringLiteral("CREATE VIEW %1 AS %2")
                         .arg(qualified(DbFile::Zlv, QStringLiteral("PrintInvoice")), ServerSql(ConnectionPrintInvoiceSelect()))});
    return views;
}

// ---------------------------------------------------------------- Database, on a server

std::unique_ptr<Database> Database::openServer(const QString& url, const QString& localFolder, const OpenOptions& options)
{
    const QString name = QStringLiteral("zelva-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<Database> db(new Database(QDir(localFolder).absolutePath(), name, options));
    db->m_serverUrl = url.trimmed();
    db->connectServer();
    db->m_opening = true;
    if (options.createServerLayout)
        db->createServerLayout();
    db->m_opening = false;
    return db;
}

void Database::connectServer()
{
    const QString operation = QStringLiteral("connect to the database server");
    const QString shownUrl = serverUrl();
    QString error;
    const std::optional<ServerAddress> address = ParseServerUrl(m_serverUrl, &error);
    if (!address)
        throw DataError(operation, shownUrl, error);
    closeConnection();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        if (!db.isValid())
            throw DataError(operation, shownUrl,
                QStringLiteral("the PostgreSQL driver of Qt is not installed (Debian package "
                               "libqt6sql6-psql; the Windows build keeps the data in files only)"));
        db.setHostName(address->host);
        if (address->port > 0)
            db.setPort(address->port);
        db.setDatabaseName(address->database);
        db.setUserName(address->user);
        db.setConnectOptions(address->options);
        if (!db.open())
            throw DataError(operation, shownUrl, db.lastError().databaseText().trimmed().isEmpty()
                                                        ? db.lastError().text()
                                                        : db.lastError().databaseText().trimmed());
    }
    m_connectionLost = false;
    QStringList schemas;
    for (DbFile file : AllDbFiles())
        schemas << quoted(SchemaName(file));
    schemas << QStringLiteral("public");
    execOnServer(QStringLiteral("SET search_path TO ") + schemas.join(QStringLiteral(", ")), operation, DbFile::Zlv);
}

void Database::execOnServer(const QString& sql, const QString& operation, DbFile file) const
{
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw serverError(query.lastError(), operation, file);
}

int Database::serverVersion() const
{
    if (serverTableKind(SchemaName(DbFile::Zlv), QStringLiteral("zelva_schema_version"), QStringLiteral("read the version")).isEmpty())
        return 0;
    QSqlQuery version = run(QStringLiteral("SELECT max(version) FROM ") + ServerVersionTable(), {},
                            QStringLiteral("read the version"), DbFile::Zlv);
    return version.next() ? version.value(0).toInt() : 0;
}

// Made once for the whole database, under the writers' lock, so that two
// counters starting together do not both make it. A database of a later
// program is left as it is; one that lost a table or view gets it back.
void Database::createServerLayout()
{
    Transaction transaction(*this, QStringLiteral("create the tables"));
    if (ensureServerLayout())
        transaction.commit();
}

namespace {

bool lookupIndexMissing(const Database& db, const TableDef& table, const QString& operation)
{
    for (const IndexDef& index : LookupIndexes(table.name)) {
        QSqlQuery found = db.run(QStringLiteral("SELECT 1 FROM pg_catalog.pg_class AS c JOIN pg_catalog.pg_namespace AS n "
                                                "ON n.oid = c.relnamespace WHERE n.nspname = ? AND c.relname = ? AND "
                                                "c.relkind = 'i'"),
                                 {SchemaName(table.file), index.name}, operation, DbFile::Zlv);
        if (!found.next())
            return true;
    }
    return false;
}

} // namespace

bool Database::ensureServerLayout()
{
    const int stored = serverVersion();
    if (stored > SchemaVersion)
        return false;
    const QString operation = QStringLiteral("create the tables");
    if (stored == 0)
        for (const QString& sql : ServerSchemasSql())
            execOnServer(sql, operation, DbFile::Zlv);
    bool changed = stored < SchemaVersion;
    for (const TableDef& table : AllTables()) {
        if (!serverTableKind(SchemaName(table.file), table.name, operation).isEmpty()) {
            if (lookupIndexMissing(*this, table, operation)) // a table made before it had one
                for (const QString& sql : ServerIndexSql(table))
                    execOnServer(sql, operation, table.file);
            continue;
        }
        changed = true;
        execOnServer(ServerCreateTableSql(table), operation, table.file);
        if (table.placeholder)
            execOnServer(ServerPlaceholderSql(table), operation, table.file);
        for (const QString& sql : ServerIndexSql(table))
            execOnServer(sql, operation, table.file);
    }
    // Version 4: the monthly view leaves cancelled invoices' values out; made again below.
    if (stored > 0 && stored < CancelledInvoicesVersion)
        execOnServer(QStringLiteral("DROP VIEW IF EXISTS %1.\"MonthlyReport\"").arg(quoted(SchemaName(DbFile::Invoice))),
                     operation, DbFile::Invoice);
    for (const ServerView& view : ServerViews())
        if (serverTableKind(view.schema, view.name, operation).isEmpty()) {
            changed = true;
            execOnServer(view.sql, QStringLiteral("create the views"), DbFile::Invoice);
        }
    // Later layouts add their steps here, each from the version before it.
    if (!changed)
        return false;
    run(QStringLiteral("DELETE FROM ") + ServerVersionTable(), {}, operation, DbFile::Zlv);
    run(QStringLiteral("INSERT INTO %1 (version) VALUES (?)").arg(ServerVersionTable()), {SchemaVersion}, operation,
        DbFile::Zlv);
    return true;
}

QString Database::serverTableKind(const QString& schema, const QString& name, const QString& operation) const
{
    // The exact name first, else one that differs in letter case only.
    QSqlQuery kind = run(QStringLiteral("SELECT CASE c.relkind WHEN 'v' THEN 'view' ELSE 'table' END FROM "
                                        "pg_catalog.pg_class AS c JOIN pg_catalog.pg_namespace AS n ON n.oid = "
                                        "c.relnamespace WHERE n.nspname = ? AND lower(c.relname) = lower(?) AND "
                                        "c.relkind IN ('r', 'v', 'p') ORDER BY c.relname = ? DESC LIMIT 1"),
                         {schema, name, name}, operation, DbFile::Zlv);
    return kind.next() ? kind.value(0).toString() : QString();
}

// The writers' lock, waited for as long as the busy timeout allows.
void Database::beginServerTransaction(const QString& operation)
{
    if (m_connectionLost)
        connectServer(); // the server may be back; what was lost was rolled back
    const auto exec = [&](const QString& sql) {
        QSqlQuery query(connection());
        if (!query.exec(sql))
            throw serverError(query.lastError(), operation, DbFile::Zlv);
    };
    try {
        exec(QStringLiteral("BEGIN"));
    } catch (const DataError&) {
        // Lost while idle (the server restarted meanwhile): nothing was
        // pending, so one new connection is tried before anything is said.
        if (!m_connectionLost)
            throw;
        connectServer();
        exec(QStringLiteral("BEGIN"));
    }
    try {
        exec(QStringLiteral("SET LOCAL lock_timeout = %1").arg(std::max(m_options.busyTimeoutMs, 1)));
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(WriterLockKey));
    } catch (...) {
        QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

DataError Database::serverError(const QSqlError& error, const QString& operation, DbFile file) const
{
    const QString where = QStringLiteral("%1 on the server %2").arg(SchemaName(file), serverUrl());
    const QString code = error.nativeErrorCode();
    const QString text = error.databaseText().trimmed().isEmpty() ? error.text() : error.databaseText().trimmed();
    if (connectionLost(error)) {
        m_connectionLost = true;
        return DataError(operation, serverUrl(),
                         QStringLiteral("the connection to the database server was lost (%1); nothing of this work "
                                        "was saved. Try again when the server is back")
                             .arg(text));
    }
    if (code == QLatin1String("55P03") || code == QLatin1String("40P01"))
        return DataError(operation, where,
                         QStringLiteral("another counter is saving at this moment (%1); try again").arg(text));
    if (code == QLatin1String("23505"))
        return DataError(operation, where, QStringLiteral("UNIQUE constraint failed: %1").arg(text));
    if (code == QLatin1String("42501"))
        return DataError(operation, where, QStringLiteral("the server refuses this to the user (%1)").arg(text));
    return DataError(operation, where, text);
}

} // namespace zelva
