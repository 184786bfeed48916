#include "data/servercopy.h"

#include "data/backup.h"
#include "data/database.h"
#include "data/serverstore.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <limits>
#include <map>
#include <optional>

namespace zelva {

namespace {

constexpr int RowsPerRead = 2000;           // records compared at a time
constexpr int ValuesPerInsert = 20000;      // bound values in one INSERT of several records
constexpr int MaxRecordsPerInsert = 500;
constexpr int DifferencesShown = 10;
const QString Operation = QStringLiteral("copy the data folder to the server");

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }
// The same text names the table in the files and on the server.
QString qualified(const TableDef& table) { return quoted(SchemaName(table.file)) + QLatin1Char('.') + quoted(table.name); }
QString shownName(const TableDef& table) { return SchemaName(table.file) + QLatin1Char('.') + table.name; }
QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString readOnlyUri(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

// Why nothing is copied, said to the operator as it stands.
struct Refusal {
    QStringList lines;
};

// The server's message without its echo of the statement: the first line and
// its DETAIL.
QString errorText(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        return error.text();
    const QStringList lines = text.split(QLatin1Char('\n'));
    QString said = lines.first();
    said.remove(QRegularExpression(QStringLiteral("^ERROR:\\s*")));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("DETAIL:")))
            said += QLatin1Char(' ') + line.mid(7).trimmed();
    return said;
}

void exec(QSqlQuery& query, const QString& where)
{
    if (query.exec())
        return;
    const QSqlError error = query.lastError();
    if (error.nativeErrorCode() == QLatin1String("23505")) {
        // PostgreSQL says which: Key ("InvoiceNo")=(A00001) already exists.
        const QRegularExpressionMatch key
            = QRegularExpression(QStringLiteral("Key \\(\"?([^\")]+)\"?\\)=\\((.*)\\) already exists")).match(errorText(error));
        const QString which = key.hasMatch() ? QStringLiteral("the %1 %2").arg(key.captured(1), key.captured(2))
                                             : QStringLiteral("a serial or code");
        throw Refusal{{QStringLiteral("%1: more than one record has %2, which the server keeps unique. Correct them "
                                      "in the data folder first; nothing was copied.")
                           .arg(where, which)}};
    }
    throw DataError(Operation, where, errorText(error));
}

QSqlQuery prepared(const QSqlDatabase& connection, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query;
}

// The server's statements of the copy, prepared once each. They outlive the
// copy's transaction, so that they are let go of only after it has ended.
class ServerStatements {
public:
    explicit ServerStatements(const Database& server)
        : m_server(server)
    {
    }
    // The statement run with the values; where names the table for a failure.
    QSqlQuery& run(const QString& sql, const QVariantList& values, const QString& where)
    {
        QSqlQuery& query = prepare(sql);
        for (const QVariant& value : values)
            query.addBindValue(value);
        exec(query, where);
        return query;
    }
    QSqlQuery& prepare(const QString& sql)
    {
        auto found = m_statements.find(sql);
        if (found == m_statements.end())
            found = m_statements.emplace(sql, prepared(m_server.connection(), sql)).first;
        return found->second;
    }
    qint64 count(const QString& sql, const QString& where)
    {
        QSqlQuery& query = run(sql, {}, where);
        return query.next() ? query.value(0).toLongLong() : 0;
    }
    QString url() const { return m_server.serverUrl(); }

private:
    const Database& m_server;
    std::map<QString, QSqlQuery> m_statements;
};

// The eight files through one read-only connection, in one read transaction.
class FolderReader {
public:
    explicit FolderReader(const QString& folder)
        : m_folder(folder)
        , m_name(QStringLiteral("zelva-copy-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        if (RestoreCutShort(folder))
            throw Refusal{{QStringLiteral("A restore of the data folder %1 was cut short, so its files are partly "
                                          "the backup's; start the program once, which finishes it. Nothing was "
                                          "copied.")
                               .arg(shown(folder))}};
        QStringList missing;
        for (DbFile file : AllDbFiles())
            if (!QFileInfo(path(file)).isFile())
                missing << RelativePath(file);
        if (!missing.isEmpty())
            throw Refusal{{QStringLiteral("The data folder %1 lacks %2; nothing was copied.")
                               .arg(shown(folder), missing.join(QStringLiteral(", ")))}};
        // An emptied file would go over as a fresh one, its numbers starting again.
        const QStringList blank = SurveyDataFolder(folder).blank;
        if (!blank.isEmpty())
            throw Refusal{{QStringLiteral("In the data folder %1 these are empty (0 bytes, or none of the program's "
                                          "tables): %2; copy them back from a backup first. Nothing was copied.")
                               .arg(shown(folder), blank.join(QStringLiteral(", ")))}};
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(readOnlyUri(path(DbFile::Zlv)));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open())
            throw DataError(Operation, shown(path(DbFile::Zlv)), errorText(db.lastError()));
        for (DbFile file : AllDbFiles())
            if (file != DbFile::Zlv)
                run(QStringLiteral("ATTACH DATABASE ? AS %1").arg(quoted(SchemaName(file))), {readOnlyUri(path(file))},
                    file);
        // Every file read once at the start: all of them are seen as of one moment.
        run(QStringLiteral("BEGIN"), {}, DbFile::Zlv);
        for (DbFile file : AllDbFiles())
            run(QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(quoted(SchemaName(file))), {}, file);
    }
    ~FolderReader()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_name, false); }
    QString path(DbFile file) const { return QDir(m_folder).filePath(RelativePath(file)); }

    QSqlQuery run(const QString& sql, const QVariantList& values, DbFile file) const
    {
        QSqlQuery query = prepared(connection(), sql, values);
        exec(query, shown(path(file)));
        return query;
    }
    QVariant value(const QString& sql, const QVariantList& values, DbFile file) const
    {
        QSqlQuery query = run(sql, values, file);
        return query.next() ? query.value(0) : QVariant();
    }

private:
    QString m_folder;
    QString m_name;
};

// One table as it goes over: the file's own spelling of the table and of each
// of our fields ("" where the file lacks it).
struct TablePlan {
    const TableDef* table;
    QString fileTable; // "" when the file has no such table
    QStringList fileFields;

    QStringList copiedFields() const
    {
        QStringList names;
        for (qsizetype i = 0; i < fileFields.size(); ++i)
            if (!fileFields[i].isEmpty())
                names << table->fields[size_t(i)].name;
        return names;
    }
};

// Files of a later program are refused; older ones are said.
void checkVersions(const FolderReader& folder, QStringList* notes)
{
    QStringList older;
    for (DbFile file : AllDbFiles()) {
        const int version
            = folder.value(QStringLiteral("PRAGMA %1.user_version").arg(quoted(SchemaName(file))), {}, file).toInt();
        if (version > SchemaVersion)
            throw Refusal{{QStringLiteral("%1 was written by a later version of the program (layout %2; this one "
                                          "knows up to %3); nothing was copied.")
                               .arg(shown(folder.path(file)))
                               .arg(version)
                               .arg(SchemaVersion)}};
        if (version < SchemaVersion)
            older << QStringLiteral("%1 (layout %2)").arg(RelativePath(file)).arg(version);
        const QString check
            = folder.value(QStringLiteral("PRAGMA %1.quick_check(1)").arg(quoted(SchemaName(file))), {}, file).toString();
        if (check != QLatin1String("ok"))
            throw Refusal{{QStringLiteral("%1 is damaged (%2); restore it from a backup before copying. Nothing was "
                                          "copied.")
                               .arg(shown(folder.path(file)), check)}};
    }
    if (!older.isEmpty())
        *notes << QStringLiteral("Files of an older layout, copied into the current layout (%1) on the server; the "
                                 "folder itself is left as it is: %2.")
                      .arg(SchemaVersion)
                      .arg(older.join(QStringLiteral(", ")));
}

std::vector<TablePlan> planTables(const FolderReader& folder, QStringList* notes)
{
    std::vector<TablePlan> plans;
    QStringList unknown;
    for (const TableDef& table : AllTables()) {
        TablePlan plan{&table, {}, {}};
        const QString schema = quoted(SchemaName(table.file));
        plan.fileTable = folder
                             .value(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' AND name = ? "
                                                   "COLLATE NOCASE ORDER BY name = ? DESC LIMIT 1")
                                        .arg(schema),
                                    {table.name, table.name}, table.file)
                             .toString();
        if (plan.fileTable.isEmpty()) {
            *notes << QStringLiteral("%1 is not in the file; it stays as a fresh layout makes it.").arg(shownName(table));
            plans.push_back(plan);
            continue;
        }
        QStringList present;
        QSqlQuery fields = folder.run(QStringLiteral("SELECT name FROM pragma_table_info(?, ?)"),
                                      {plan.fileTable, SchemaName(table.file)}, table.file);
        while (fields.next())
            present << fields.value(0).toString();
        for (const FieldDef& field : table.fields) {
            const auto found = std::find_if(present.begin(), present.end(), [&](const QString& name) {
                return name.compare(field.name, Qt::CaseInsensitive) == 0;
            });
            plan.fileFields << (found == present.end() ? QString() : *found);
            if (found == present.end())
                *notes << QStringLiteral("%1 has no field %2 in the file; it is left empty on the server.")
                              .arg(shownName(table), field.name);
            else
                present.erase(found);
        }
        for (const QString& extra : present)
            unknown << shownName(table) + QLatin1Char('.') + extra;
        plans.push_back(plan);
    }
    if (!unknown.isEmpty())
        throw Refusal{{QStringLiteral("The files hold fields the program does not know, which the server's tables "
                                      "could not keep: %1. Nothing was copied.")
                           .arg(unknown.join(QStringLiteral(", ")))}};
    return plans;
}

// Records beyond the placeholders a fresh layout holds, table by table.
QStringList serverHoldings(ServerStatements& server)
{
    QStringList held;
    for (const TableDef& table : AllTables()) {
        QString sql = QStringLiteral("SELECT count(*) FROM ") + qualified(table);
        if (table.placeholder) {
            QStringList beyond{quoted(table.serialField) + QStringLiteral(" IS DISTINCT FROM 0")};
            for (const FieldDef& field : table.fields)
                if (field.name != table.serialField)
                    beyond << quoted(field.name) + QStringLiteral(" IS NOT NULL");
            sql += QStringLiteral(" WHERE ") + beyond.join(QStringLiteral(" OR "));
        }
        const qint64 records = server.count(sql, shownName(table));
        if (records > 0)
            held << QStringLiteral("%1 (%2)").arg(shownName(table)).arg(records);
    }
    return held;
}

// Tables outside the server's own schemas that the program's layout does not
// have, empty or not: the database is somebody else's.
QStringList foreignTables(ServerStatements& server)
{
    QStringList ours{SchemaName(DbFile::Zlv) + QStringLiteral(".zelva_schema_version")};
    for (const TableDef& table : AllTables())
        ours << shownName(table);
    QSqlQuery& tables = server.run(
        QStringLiteral("SELECT n.nspname || '.' || c.relname FROM pg_catalog.pg_class AS c JOIN pg_catalog.pg_namespace "
                       "AS n ON n.oid = c.relnamespace WHERE c.relkind IN ('r', 'p', 'f', 'm') AND n.nspname NOT IN "
                       "('pg_catalog', 'information_schema') AND n.nspname NOT LIKE 'pg\\_%' ORDER BY 1"),
        {}, server.url());
    QStringList foreign;
    while (tables.next())
        if (!ours.contains(tables.value(0).toString()))
            foreign << tables.value(0).toString();
    return foreign;
}

void checkServerEmpty(ServerStatements& server)
{
    if (server.count(QStringLiteral("SELECT max(version) FROM ") + ServerVersionTable(), server.url()) > SchemaVersion)
        throw Refusal{{QStringLiteral("The server database %1 was laid out by a later version of the program; "
                                      "nothing was copied.")
                           .arg(server.url())}};
    const QStringList foreign = foreignTables(server);
    if (!foreign.isEmpty())
        throw Refusal{{QStringLiteral("The server database %1 already holds tables of another program: %2. Nothing "
                                      "was copied; copy into a new, empty database.")
                           .arg(server.url(), foreign.join(QStringLiteral(", ")))}};
    const QStringList held = serverHoldings(server);
    if (!held.isEmpty())
        throw Refusal{{QStringLiteral("The server database %1 already holds data: %2. Nothing was copied; copy into "
                                      "a new, empty database.")
                           .arg(server.url(), held.join(QStringLiteral(", ")))}};
}

QString marks(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("?");
    return QLatin1Char('(') + list.join(QLatin1Char(',')) + QLatin1Char(')');
}

// INSERT of `records` records at once, each with its rowid.
QString insertSql(const TablePlan& plan, int records)
{
    QStringList names{QStringLiteral("rowid")};
    for (const QString& field : plan.copiedFields())
        names << quoted(field);
    QStringList rows;
    for (int i = 0; i < records; ++i)
        rows << marks(int(names.size()));
    return QStringLiteral("INSERT INTO %1 (%2) OVERRIDING SYSTEM VALUE VALUES %3")
        .arg(qualified(*plan.table), names.join(QLatin1Char(',')), rows.join(QLatin1Char(',')));
}

// The file's records from after rowid `after` on, in rowid order: rowid first.
QString fileSelect(const TablePlan& plan, bool copiedOnly)
{
    QStringList names{QStringLiteral("rowid")};
    for (const QString& field : plan.fileFields)
        if (!field.isEmpty() || !copiedOnly)
            names << (field.isEmpty() ? QStringLiteral("NULL") : quoted(field));
    return QStringLiteral("SELECT %1 FROM %2.%3 WHERE rowid > ? ORDER BY rowid LIMIT ?")
        .arg(names.join(QLatin1Char(',')), quoted(SchemaName(plan.table->file)), quoted(plan.fileTable));
}

QString serverSelect(const TablePlan& plan)
{
    QStringList names{QStringLiteral("rowid")};
    for (const FieldDef& field : plan.table->fields)
        names << quoted(field.name);
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT ?")
        .arg(names.join(QLatin1Char(',')), qualified(*plan.table));
}

using Records = std::vector<QVariantList>;

Records readRecords(QSqlQuery& query, const QString& where)
{
    exec(query, where);
    Records records;
    while (query.next()) {
        QVariantList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << query.value(i);
        records.push_back(std::move(values));
    }
    return records;
}

void insertRecords(ServerStatements& server, const TablePlan& plan, const Records& records)
{
    const int perInsert = int(std::clamp<qsizetype>(ValuesPerInsert / (plan.copiedFields().size() + 1), 1,
                                                     MaxRecordsPerInsert));
    for (size_t first = 0; first < records.size(); first += size_t(perInsert)) {
        const size_t count = std::min(records.size() - first, size_t(perInsert));
        QSqlQuery& insert = server.prepare(insertSql(plan, int(count)));
        for (size_t r = first; r < first + count; ++r)
            for (const QVariant& value : records[r])
                insert.addBindValue(value);
        exec(insert, shownName(*plan.table));
    }
}

// Each record of the table in rowid order; the placeholders the fresh layout
// made give way to the file's own, so they are there once.
void copyTable(const FolderReader& folder, ServerStatements& server, const TablePlan& plan)
{
    server.run(QStringLiteral("DELETE FROM ") + qualified(*plan.table), {}, shownName(*plan.table));
    QVariant after = std::numeric_limits<qint64>::min();
    for (;;) {
        QSqlQuery read = prepared(folder.connection(), fileSelect(plan, true), {after, RowsPerRead});
        const Records records = readRecords(read, shown(folder.path(plan.table->file)));
        if (records.empty())
            break;
        insertRecords(server, plan, records);
        after = records.back().front();
    }
    // New records on the server go on after the copied rowids.
    server.run(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'rowid'), max(rowid)) FROM %1 HAVING "
                              "max(rowid) > 0")
                   .arg(qualified(*plan.table)),
               {qualified(*plan.table)}, shownName(*plan.table));
}

// Exactly the same value: NULL as NULL, text as the same text, numbers equal
// as numbers (a whole number in the file and on the server alike).
bool sameValue(const QVariant& file, const QVariant& server)
{
    if (file.isNull() || server.isNull())
        return file.isNull() && server.isNull();
    const bool fileText = file.typeId() == QMetaType::QString;
    const bool serverText = server.typeId() == QMetaType::QString;
    if (fileText || serverText)
        return fileText && serverText && file.toString() == server.toString();
    if (file.typeId() == QMetaType::Double || server.typeId() == QMetaType::Double)
        return file.toDouble() == server.toDouble();
    return file.toLongLong() == server.toLongLong();
}

QString shownValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::QString)
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

// The table read back from the server and set against its file.
void compareTable(const FolderReader& folder, ServerStatements& server, const TablePlan& plan, QStringList* differences)
{
    const TableDef& table = *plan.table;
    const qint64 inFile = folder.value(QStringLiteral("SELECT count(*) FROM %1.%2")
                                           .arg(quoted(SchemaName(table.file)), quoted(plan.fileTable)),
                                       {}, table.file)
                              .toLongLong();
    const qint64 onServer = server.count(QStringLiteral("SELECT count(*) FROM ") + qualified(table), shownName(table));
    if (inFile != onServer) {
        *differences << QStringLiteral("%1: %2 records in the file, %3 on the server").arg(shownName(table)).arg(inFile).arg(onServer);
        return;
    }
    QVariant after = std::numeric_limits<qint64>::min();
    for (;;) {
        QSqlQuery fileRead = prepared(folder.connection(), fileSelect(plan, false), {after, RowsPerRead});
        const Records fileRecords = readRecords(fileRead, shown(folder.path(table.file)));
        QSqlQuery& serverRead = server.prepare(serverSelect(plan));
        serverRead.addBindValue(after);
        serverRead.addBindValue(RowsPerRead);
        const Records serverRecords = readRecords(serverRead, shownName(table));
        for (size_t r = 0; r < fileRecords.size() && differences->size() < DifferencesShown; ++r) {
            const QVariantList& mine = fileRecords[r];
            const QVariantList theirs = r < serverRecords.size() ? serverRecords[r] : QVariantList();
            if (theirs.isEmpty() || !sameValue(mine[0], theirs[0])) {
                *differences << QStringLiteral("%1: the record of rowid %2 is not on the server")
                                    .arg(shownName(table), shownValue(mine[0]));
                continue;
            }
            for (qsizetype i = 1; i < mine.size(); ++i)
                if (!sameValue(mine[i], theirs[i]))
                    *differences << QStringLiteral("%1, record of rowid %2, %3: %4 in the file, %5 on the server")
                                        .arg(shownName(table), shownValue(mine[0]), table.fields[size_t(i - 1)].name,
                                             shownValue(mine[i]), shownValue(theirs[i]));
        }
        if (fileRecords.empty() || differences->size() >= DifferencesShown)
            return;
        after = fileRecords.back().front();
    }
}

CopyOutcome copy(const QString& dataFolder, const QString& serverUrl)
{
    CopyOutcome outcome;
    const FolderReader folder(dataFolder);
    QStringList notes;
    checkVersions(folder, &notes);
    const std::vector<TablePlan> plans = planTables(folder, &notes);

    OpenOptions options;
    options.createServerLayout = false; // made inside the copy's transaction, so a failed copy leaves nothing
    const std::unique_ptr<Database> server = Database::openServer(serverUrl, dataFolder, options);
    ServerStatements statements(*server);
    Transaction transaction(*server, Operation);
    server->ensureServerLayout();
    checkServerEmpty(statements);
    for (const TablePlan& plan : plans)
        if (!plan.fileTable.isEmpty())
            copyTable(folder, statements, plan);

    QStringList differences;
    for (const TablePlan& plan : plans)
        if (!plan.fileTable.isEmpty() && differences.size() < DifferencesShown)
            compareTable(folder, statements, plan, &differences);
    if (!differences.isEmpty())
        throw Refusal{QStringList{QStringLiteral("The copy on the server differs from the data folder, so it was "
                                                 "undone; nothing was copied:")}
                      + differences};
    transaction.commit();

    outcome.copied = true;
    outcome.lines << QStringLiteral("The data folder %1 was copied to %2:").arg(shown(dataFolder), server->serverUrl());
    for (const TablePlan& plan : plans) {
        if (plan.fileTable.isEmpty())
            continue;
        const qint64 records
            = statements.count(QStringLiteral("SELECT count(*) FROM ") + qualified(*plan.table), shownName(*plan.table));
        outcome.lines << QStringLiteral("  %1: %2 record%3").arg(shownName(*plan.table)).arg(records).arg(records == 1 ? "" : "s");
    }
    outcome.lines << notes;
    outcome.lines << QStringLiteral("Every table was read back and agrees with its file, value by value.");
    return outcome;
}

} // namespace

CopyOutcome CopyFolderToServer(const QString& dataFolder, const QString& serverUrl)
{
    try {
        return copy(dataFolder, serverUrl);
    } catch (const Refusal& refusal) {
        return {false, refusal.lines};
    } catch (const DataError& failure) {
        return {false, {failure.message(), QStringLiteral("Nothing was copied.")}};
    }
}

} // namespace zelva
