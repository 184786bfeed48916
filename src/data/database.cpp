#include "data/database.h"

#include "data/backup.h"
#include "data/serverdialect.h"
#include "data/serverstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QUuid>
#include <optional>
#include <sqlite3.h>

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

// True when SQLite finds the file is no database or a damaged one.
bool Malformed(const QString& path)
{
    sqlite3* handle = nullptr;
    bool malformed = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        const int status = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        malformed = status == SQLITE_CORRUPT || status == SQLITE_NOTADB;
    }
    sqlite3_close(handle);
    return malformed;
}

// A statement that changes nothing, so that running it twice does no harm.
bool readsOnly(const QString& sql)
{
    return sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}

} // namespace

Database::Database(QString folder, QString connectionName, OpenOptions options)
    : m_folder(std::move(folder))
    , m_connectionName(std::move(connectionName))
    , m_options(options)
{
}

Database::~Database()
{
    closeConnection();
}

std::unique_ptr<Database> Database::open(const QString& folder, int busyTimeoutMs)
{
    OpenOptions options;
    options.busyTimeoutMs = busyTimeoutMs;
    return open(folder, options);
}

std::unique_ptr<Database> Database::open(const QString& folder, const OpenOptions& options)
{
    const QString absolute = QDir(folder).absolutePath();
    const QString operation = QStringLiteral("open the data folder");
    KeepSuperJournalsPrivate();
    if (!MakePrivateFolder(absolute))
        throw DataError(operation, absolute, QStringLiteral("the folder cannot be created or written"));
    auto lock = std::make_unique<FolderLock>(absolute);
    const QString restored = FinishInterruptedRestore(absolute, lock->alone());
    const FolderSurvey survey = SurveyDataFolder(absolute);
    if (survey.needsConsent() && !options.createMissingInUse
        && !(options.askToCreateMissing && options.askToCreateMissing(MissingFilesQuestion(absolute, survey))))
        throw DataError(operation, absolute, MissingFilesRefusal(absolute, survey));
    if (!MakePrivateFolder(absolute + QStringLiteral("/Database")))
        throw DataError(QStringLiteral("create the data folder"), absolute,
                        QStringLiteral("the folder cannot be created or written"));
    const QString name = QStringLiteral("zelva-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<Database> db(new Database(absolute, name, options));
    db->m_lock = std::move(lock);
    db->openFiles();
    if (!restored.isEmpty())
        db->m_findings.insert(db->m_findings.begin(), {Finding::Kind::RestoreFinished, restored});
    return db;
}

void Database::openFiles()
{
    m_opening = true;
    const auto opened = qScopeGuard([this] { m_opening = false; });
    m_findings.clear();
    m_damage.clear();
    m_unreadable.clear();
    findAccess();
    createMissingFiles();
    attachAll();
    if (m_options.deferQuickCheck)
        m_checkPending = true;
    else
        checkAll();
    // Alone on the folder, with every file read once (which rolls hot
    // journals back): leftover super-journals can go.
    if (m_lock->alone())
        TidySuperJournals(m_folder);
    m_lock->share();
    createMissing();
    createConnectionViews();
    if (OpenToOthers(m_folder))
        addFinding(Finding::Kind::OpenToOthers,
                   QStringLiteral("The data folder %1 can be read by other users of this computer, and with it "
                                  "the business's records and the operators' password hashes. To keep it "
                                  "private, make it readable by its owner only (chmod 700).")
                       .arg(QDir::toNativeSeparators(m_folder)));
}

void Database::closeConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::reopenAfter(const std::function<void()>& work)
{
    if (onServer())
        throw DataError(QStringLiteral("close the files"), serverUrl(), QStringLiteral("the data is on a database server"));
    if (m_inTransaction)
        throw DataError(QStringLiteral("close the files"), m_folder, QStringLiteral("a piece of work is still open"));
    closeConnection();
    try {
        work();
    } catch (...) {
        openFiles();
        throw;
    }
    openFiles();
}

QString Database::serverUrl() const { return ShownServerUrl(m_serverUrl); }

QString Database::filePath(DbFile file) const
{
    return m_folder + QLatin1Char('/') + RelativePath(file);
}

QString Database::placeOf(DbFile file) const
{
    return onServer() ? QStringLiteral("%1 on the server").arg(SchemaName(file)) : RelativePath(file);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

FileAccess Database::access(DbFile file) const
{
    const auto found = m_access.find(file);
    return found == m_access.end() ? FileAccess::Writable : found->second;
}

void Database::addFinding(Finding::Kind kind, const QString& text)
{
    m_findings.push_back({kind, text});
}

QString Database::backupsFolder() const { return QDir::toNativeSeparators(m_folder + QStringLiteral("/Backups")); }

QString Database::readOnlyReason(DbFile file) const
{
    switch (access(file)) {
    case FileAccess::Writable: return {};
    case FileAccess::ReadOnlyFolder:
        return CanWrite(m_folder) ? QStringLiteral("the folder Database is read-only (it can be viewed but not changed)")
                                  : QStringLiteral("the data folder is read-only (it can be viewed but not changed)");
    case FileAccess::ReadOnlyFile: return QStringLiteral("the file is read-only (it can be viewed but not changed)");
    case FileAccess::Damaged:
        // Restore Data is on the main window, which no one reaches without the operators.
        if (file == DbFile::Zlv)
            return QStringLiteral("the file is damaged, so no operator can log in; close the program, copy ZLV.db "
                                  "from a backup folder (under %1) into the data folder %2, and start it again")
                .arg(backupsFolder(), QDir::toNativeSeparators(m_folder));
        if (m_unreadable.contains(file))
            return QStringLiteral("the file is damaged so that nothing in it can be read; restore it from a backup "
                                  "(Tools, Restore Data)");
        return QStringLiteral("the file is damaged, so nothing is written into it; restore it from a backup "
                              "(Tools, Restore Data)");
    }
    return {};
}

QSqlQuery Database::run(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const
{
    if (m_statementHook)
        m_statementHook(sql);
    if (onServer() && m_connectionLost && !m_inTransaction)
        const_cast<Database*>(this)->connectServer(); // the server may be back
    if (onServer())
        return runOnServer(sql, values, operation, file);
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw fileError(query, operation, file);
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw fileError(query, operation, file);
    return query;
}

DataError Database::fileError(const QSqlQuery& query, const QString& operation, DbFile file) const
{
    return fileError(query.lastError(), operation, file);
}

DataError Database::fileError(const QSqlError& error, const QString& operation, DbFile file) const
{
    const QString text = error.databaseText() + error.driverText();
    const bool blocked = text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("not a database"))
                         || text.contains(QLatin1String("malformed")) || text.contains(QLatin1String("no such table"));
    const QString reason = blocked ? readOnlyReason(file) : QString();
    return DataError(operation, RelativePath(file), reason.isEmpty() ? describe(error) : reason);
}

PreparedStatement::PreparedStatement(const Database& db, const QString& sql, QString operation, DbFile file)
    : m_db(db)
    , m_sql(sql)
    , m_operation(std::move(operation))
    , m_file(file)
    , m_query(db.connection())
{
    m_query.setForwardOnly(true);
    if (m_db.onServer() ? !m_query.prepare(ServerSql(sql)) : !m_query.prepare(sql))
        throw m_db.onServer() ? m_db.serverError(m_query.lastError(), m_operation, m_file)
                              : m_db.fileError(m_query, m_operation, m_file);
}

QSqlQuery& PreparedStatement::exec(const QVariantList& values)
{
    if (m_db.m_statementHook)
        m_db.m_statementHook(m_sql);
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values[i]);
    if (!m_query.exec())
        throw m_db.onServer() ? m_db.serverError(m_query.lastError(), m_operation, m_file)
                              : m_db.fileError(m_query, m_operation, m_file);
    return m_query;
}

PreparedWrite::PreparedWrite(const Database& db, const QString& sql, QString operation, DbFile file)
    : m_db(db)
    , m_sql(sql)
    , m_operation(std::move(operation))
    , m_file(file)
{
    const QVariant handle = db.onServer() ? QVariant() : db.connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        m_server = std::make_unique<PreparedStatement>(db, sql, m_operation, file);
        return;
    }
    m_handle = *static_cast<sqlite3* const*>(handle.constData());
    const QByteArray text = sql.toUtf8();
    const int status = sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                          &m_statement, nullptr);
    if (status != SQLITE_OK)
        throw error(status, QStringLiteral("Unable to execute statement"));
}

PreparedWrite::~PreparedWrite() { sqlite3_finalize(m_statement); }

void PreparedWrite::exec(const QVariantList& values)
{
    if (m_server) {
        m_server->exec(values).finish();
        return;
    }
    if (m_db.m_statementHook)
        m_db.m_statementHook(m_sql);
    if (sqlite3_bind_parameter_count(m_statement) != values.size())
        throw DataError(m_operation, RelativePath(m_file), QStringLiteral("Parameter count mismatch"));
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
    const int status = sqlite3_step(m_statement);
    sqlite3_reset(m_statement); // done with: no lock is held until the next run
    if (status != SQLITE_DONE)
        throw error(status, QStringLiteral("Unable to fetch row"));
}

// As Qt's SQLite driver binds it: a null text, bytes, date or time as NULL;
// whole numbers and true/false as integers; a text as UTF-16 (the values
// outlive the run); anything else as its text.
void PreparedWrite::bind(int position, const QVariant& value)
{
    int status = SQLITE_OK;
    const auto bindText = [&](const QString& text) {
        return sqlite3_bind_text16(m_statement, position, text.utf16(), int(text.size() * sizeof(QChar)),
                                   SQLITE_TRANSIENT);
    };
    if (value.isNull() || (value.typeId() == QMetaType::QString && static_cast<const QString*>(value.constData())->isNull())
        || (value.typeId() == QMetaType::QByteArray && static_cast<const QByteArray*>(value.constData())->isNull())
        || (value.typeId() == QMetaType::QDateTime && !static_cast<const QDateTime*>(value.constData())->isValid())
        || (value.typeId() == QMetaType::QDate && static_cast<const QDate*>(value.constData())->isNull())
        || (value.typeId() == QMetaType::QTime && !static_cast<const QTime*>(value.constData())->isValid())) {
        status = sqlite3_bind_null(m_statement, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::QByteArray: {
            const auto* bytes = static_cast<const QByteArray*>(value.constData());
            status = sqlite3_bind_blob(m_statement, position, bytes->constData(), int(bytes->size()), SQLITE_STATIC);
            break;
        }
        case QMetaType::Int:
        case QMetaType::Bool:
            status = sqlite3_bind_int(m_statement, position, value.toInt());
            break;
        case QMetaType::Double:
            status = sqlite3_bind_double(m_statement, position, value.toDouble());
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            status = sqlite3_bind_int64(m_statement, position, value.toLongLong());
            break;
        case QMetaType::QDateTime:
            status = bindText(value.toDateTime().toString(Qt::ISODateWithMs));
            break;
        case QMetaType::QTime:
            status = bindText(value.toTime().toString(u"hh:mm:ss.zzz"));
            break;
        case QMetaType::QString: {
            const auto* text = static_cast<const QString*>(value.constData());
            status = sqlite3_bind_text16(m_statement, position, text->utf16(), int(text->size() * sizeof(QChar)),
                                         SQLITE_STATIC);
            break;
        }
        default:
            status = bindText(value.toString());
            break;
        }
    }
    if (status != SQLITE_OK)
        throw error(status, QStringLiteral("Unable to bind parameters"));
}

DataError PreparedWrite::error(int status, const QString& what) const
{
    return m_db.fileError(QSqlError(what, QString::fromUtf8(sqlite3_errmsg(m_handle)), QSqlError::StatementError,
                                    QString::number(status)),
                          m_operation, m_file);
}

QSqlQuery Database::runOnServer(const QString& sql, const QVariantList& values, const QString& operation,
                                DbFile file) const
{
    // The server prepares only queries; a statement without values (SET,
    // CREATE) goes as it is.
    const QString serverSql = ServerSql(sql);
    const auto attempt = [&](bool last) -> std::optional<QSqlQuery> {
        QSqlQuery query(connection());
        query.setForwardOnly(true);
        bool done = false;
        if (values.isEmpty()) {
            done = query.exec(serverSql);
        } else if (query.prepare(serverSql)) {
            for (const QVariant& v : values)
                query.addBindValue(v);
            done = query.exec();
        }
        if (done)
            return query;
        const DataError error = serverError(query.lastError(), operation, file);
        if (last || !m_connectionLost || m_inTransaction || !readsOnly(sql))
            throw error;
        return std::nullopt;
    };
    if (std::optional<QSqlQuery> query = attempt(false))
        return std::move(*query);
    // Lost while idle (the server restarted meanwhile): a read outside any
    // piece of work is tried once more on a new connection.
    const_cast<Database*>(this)->connectServer();
    return *attempt(true);
}

qint64 Database::insert(const QString& sql, const QVariantList& values, const QString& operation, DbFile file) const
{
    if (onServer()) {
        QSqlQuery query = run(sql + QStringLiteral(" RETURNING rowid"), values, operation, file);
        return query.next() ? query.value(0).toLongLong() : -1;
    }
    QSqlQuery query = run(sql, values, operation, file);
    const qint64 rowid = query.lastInsertId().toLongLong();
    query.finish();
    return rowid;
}

// The data folder (for every file: multi-file commits keep their journal
// there), the Database folder and each file: which can be changed.
void Database::findAccess()
{
    m_access.clear();
    const QString subfolder = m_folder + QStringLiteral("/Database");
    const bool folderWritable = CanWrite(m_folder);
    const bool subfolderWritable = folderWritable && CanWrite(subfolder);
    const QString viewOnly = QStringLiteral(" can be viewed but not changed: the folder is read-only. Nothing can be "
                                            "saved into its files until it may be written again.");
    if (!folderWritable)
        addFinding(Finding::Kind::ReadOnlyFolder,
                   QStringLiteral("The data folder %1").arg(QDir::toNativeSeparators(m_folder)) + viewOnly);
    else if (!subfolderWritable)
        addFinding(Finding::Kind::ReadOnlyFolder,
                   QStringLiteral("The folder %1").arg(QDir::toNativeSeparators(subfolder)) + viewOnly);
    for (DbFile file : AllDbFiles()) {
        const bool folderOk = file == DbFile::Zlv ? folderWritable : subfolderWritable;
        const QString path = filePath(file);
        if (!folderOk)
            m_access[file] = FileAccess::ReadOnlyFolder;
        else if (QFileInfo::exists(path) && !CanWrite(path)) {
            m_access[file] = FileAccess::ReadOnlyFile;
            addFinding(Finding::Kind::ReadOnlyFile,
                       QStringLiteral("The file %1 can be viewed but not changed: the file is read-only. Nothing "
                                      "can be saved into it until it may be written again.")
                           .arg(QDir::toNativeSeparators(path)));
        }
    }
}

// SQLite would create a missing file readable by everyone; made here first,
// it is the owner's alone.
void Database::createMissingFiles()
{
    for (DbFile file : AllDbFiles())
        if (access(file) == FileAccess::Writable && !QFileInfo::exists(filePath(file))
            && !CreatePrivateFile(filePath(file)))
            throw DataError(QStringLiteral("create the file"), RelativePath(file),
                            QStringLiteral("the folder cannot be written"));
}

// A file that may not be changed is opened read-only, so that nothing (not
// even rolling back a journal) writes into it.
QString Database::attachPath(DbFile file) const
{
    if (access(file) == FileAccess::Writable)
        return filePath(file);
    // A damaged login file cannot even carry the others: an empty stand-in
    // does, and every use of the login table then says the file is damaged.
    if (file == DbFile::Zlv && access(file) == FileAccess::Damaged)
        return QStringLiteral(":memory:");
    return QUrl::fromLocalFile(filePath(file)).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

void Database::attachAll()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(attachPath(DbFile::Zlv));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI").arg(m_options.busyTimeoutMs));
        if (!db.open())
            throw DataError(QStringLiteral("open the login file"), RelativePath(DbFile::Zlv), describe(db.lastError()));
    } // no handle kept: the connection may be closed and made again below
    bool newlyDamaged = false;
    for (DbFile file : AllDbFiles()) {
        const QString schema = SchemaName(file);
        if (file != DbFile::Zlv && !attach(file))
            continue;
        if (access(file) == FileAccess::Damaged)
            continue;
        // Each file is read once as soon as it is there: a file that is not
        // a database at all is found here, one locked by another program stops the start.
        try {
            run(QStringLiteral("SELECT count(*) FROM \"%1\".sqlite_master").arg(schema), {},
                QStringLiteral("read the file"), file);
        } catch (const DataError& error) {
            if (!error.detail().contains(QLatin1String("damaged")))
                throw;
            markDamaged(file, error.detail());
            newlyDamaged = true;
            if (file == DbFile::Zlv)
                break; // nothing can be attached to it
            continue;
        }
        // Rollback journal: a commit over attached files is atomic only without WAL.
        if (access(file) == FileAccess::Writable)
            run(QStringLiteral("PRAGMA \"%1\".journal_mode = DELETE").arg(schema), {}, QStringLiteral("open the file"),
                file);
    }
    if (newlyDamaged) { // again, with the damaged files read-only
        closeConnection();
        attachAll();
    }
}

// A file that is not a database at all cannot be attached even read-only:
// an empty stand-in takes its place. False when that happened.
bool Database::attach(DbFile file)
{
    const QString sql = QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(SchemaName(file));
    try {
        run(sql, {attachPath(file)}, QStringLiteral("open the file"), file);
        return true;
    } catch (const DataError& error) {
        // SQLite attaches a file whose list of tables is damaged as one it cannot open.
        const bool damaged = error.detail().contains(QLatin1String("damaged")) || Malformed(filePath(file));
        if (!damaged)
            throw;
        if (access(file) != FileAccess::Damaged)
            markDamaged(file, error.detail().contains(QLatin1String("damaged"))
                                  ? error.detail()
                                  : QStringLiteral("its list of tables cannot be read"));
    }
    run(sql, {QStringLiteral(":memory:")}, QStringLiteral("open the file"), file);
    if (m_unreadable.insert(file).second) // said as it is: nothing of it can be viewed
        for (Finding& finding : m_findings)
            if (finding.kind == Finding::Kind::Damaged && finding.text.contains(QDir::toNativeSeparators(filePath(file))))
                finding.text = damagedText(file);
    return false;
}

// What SQLite's quick check finds wrong in the file; "" when it is sound.
QString Database::damageIn(DbFile file)
{
    try {
        QSqlQuery check = run(QStringLiteral("PRAGMA \"%1\".quick_check(1)").arg(SchemaName(file)), {},
                              QStringLiteral("check the file"), file);
        const QString verdict = check.next() ? check.value(0).toString() : QString();
        return verdict == QLatin1String("ok") ? QString() : verdict;
    } catch (const DataError& error) {
        if (!error.detail().contains(QLatin1String("damaged")))
            throw;
        return error.detail();
    }
}

void Database::markDamaged(DbFile file, const QString& detail)
{
    m_access[file] = FileAccess::Damaged;
    m_damage[file] = detail;
    if (file == DbFile::Zlv)
        m_unreadable.insert(file); // it stands in empty, so that the other files can be opened
    addFinding(Finding::Kind::Damaged, damagedText(file));
}

QString Database::damagedText(DbFile file) const
{
    const QString start = QStringLiteral("The file %1 is damaged (%2). ")
                              .arg(QDir::toNativeSeparators(filePath(file)), m_damage.at(file));
    if (file == DbFile::Zlv)
        return start + QStringLiteral("The operators in it cannot be read, so no one can log in. To mend it, close "
                                      "the program, copy ZLV.db from a backup folder (under %1) into the data "
                                      "folder %2, and start the program again.")
                           .arg(backupsFolder(), QDir::toNativeSeparators(m_folder));
    const QString restore = QStringLiteral("To mend it, restore the last good backup (Tools, Restore Data), or, "
                                           "with the program closed, copy the file from a backup folder (under %1) "
                                           "over it.")
                                .arg(backupsFolder());
    if (m_unreadable.contains(file))
        return start + QStringLiteral("Nothing in it can be read: its records cannot be viewed, and nothing is saved "
                                      "into it. ")
               + restore;
    return start + QStringLiteral("The program works on with it read-only: it can be viewed, but nothing is saved "
                                  "into it. ")
           + restore;
}

void Database::checkAll()
{
    m_checkPending = false;
    bool newlyDamaged = false;
    for (DbFile file : AllDbFiles()) {
        if (access(file) == FileAccess::Damaged)
            continue;
        const QString damage = damageIn(file);
        if (!damage.isEmpty()) {
            markDamaged(file, damage);
            newlyDamaged = true;
        }
    }
    if (newlyDamaged) {
        closeConnection();
        attachAll();
        if (!m_opening)
            createConnectionViews();
    }
}

// The views that join files live on the connection only, made at each open.
// One over a damaged file stands in vain: its use says the file is damaged.
void Database::createConnectionViews()
{
    for (const QString& sql : CreateConnectionViewSql()) {
        try {
            run(sql, {}, QStringLiteral("create the views"), DbFile::Invoice);
        } catch (const DataError&) {
            if (access(DbFile::Invoice) == FileAccess::Writable && access(DbFile::Master) == FileAccess::Writable)
                throw;
        }
    }
}

std::vector<Finding> Database::quickCheck()
{
    if (!m_checkPending)
        return {};
    const size_t before = m_findings.size();
    checkAll();
    return {m_findings.begin() + qsizetype(before), m_findings.end()};
}

void Database::createMissing()
{
    for (DbFile file : AllDbFiles()) {
        if (access(file) != FileAccess::Writable)
            continue;
        const QString schema = SchemaName(file);
        QSqlQuery version = run(QStringLiteral("PRAGMA \"%1\".user_version").arg(schema), {},
                                QStringLiteral("read the file's version"), file);
        const int stored = version.next() ? version.value(0).toInt() : 0;
        version.finish();
        if (stored > SchemaVersion)
            continue; // written by a later program: leave its layout alone
        std::vector<const TableDef*> missing;
        for (const TableDef& table : AllTables())
            if (table.file == file && tableKind(file, table.name, QStringLiteral("read the file")).isEmpty())
                missing.push_back(&table);
        // Nothing is written into a file before it has been checked.
        if (m_checkPending && (stored < SchemaVersion || !missing.empty()) && !damageIn(file).isEmpty()) {
            checkAll();
            continue;
        }

        Transaction transaction(*this, QStringLiteral("create the tables"));
        for (const TableDef* table : missing)
            createTable(*table);
        for (const QString& sql : CreateViewSql(file))
            run(sql, {}, QStringLiteral("create the views"), file);
        for (const QString& sql : UpgradeSql(file, stored))
            run(sql, {}, QStringLiteral("bring the file up to date"), file);
        if (stored < UniqueCodesVersion - 1)
            run(QStringLiteral("PRAGMA \"%1\".user_version = %2").arg(schema).arg(UniqueCodesVersion - 1), {},
                QStringLiteral("write the file's version"), file);
        transaction.commit();
        upgradeToUniqueCodes(file, stored < UniqueCodesVersion);
        if (stored < SchemaVersion) { // the later steps' tables and views are made above
            Transaction later(*this, QStringLiteral("bring the file up to date"));
            run(QStringLiteral("PRAGMA \"%1\".user_version = %2").arg(schema).arg(SchemaVersion), {},
                QStringLiteral("write the file's version"), file);
            later.commit();
        }
    }
}

// A "stock" made elsewhere is the Stock table, so start-up leaves it alone.
QString Database::tableKind(DbFile file, const QString& name, const QString& operation) const
{
    if (onServer())
        return serverTableKind(SchemaName(file), name, operation);
    QSqlQuery kind = run(QStringLiteral("SELECT type FROM \"%1\".sqlite_master WHERE type IN ('table', 'view') "
                                        "AND name = ? COLLATE NOCASE")
                             .arg(SchemaName(file)),
                         {name}, operation, file);
    const QString found = kind.next() ? kind.value(0).toString() : QString();
    kind.finish();
    return found;
}

// A new table gets its unique serial and code and, where New scans it, the
// placeholder record with serial 0 so that the first real record gets serial 1.
void Database::createTable(const TableDef& table)
{
    const QString operation = QStringLiteral("create table %1").arg(table.name);
    run(CreateTableSql(table), {}, operation, table.file);
    for (const IndexDef& index : UniqueIndexes(table))
        run(CreateIndexSql(table.file, index), {}, operation, table.file);
    if (table.placeholder)
        run(QStringLiteral("INSERT INTO \"%1\".\"%2\" (\"%3\") VALUES (0)").arg(SchemaName(table.file), table.name, table.serialField),
            {}, operation, table.file);
}

// Version 1 to 2: every serial and code unique. A file already holding a
// repeated one keeps working without that index; the step says so once and
// later starts try again quietly.
void Database::upgradeToUniqueCodes(DbFile file, bool firstTime)
{
    const QString schema = SchemaName(file);
    const QString operation = QStringLiteral("make serials and codes unique");
    std::vector<IndexDef> wanted;
    for (const TableDef& table : AllTables())
        if (table.file == file && !tableKind(file, table.name, QStringLiteral("read the file")).isEmpty())
            for (const IndexDef& index : UniqueIndexes(table))
                if (firstTime || !hasIndex(file, index.name))
                    wanted.push_back(index);
    if (wanted.empty() && !firstTime)
        return;
    Transaction transaction(*this, operation);
    for (const IndexDef& index : wanted) {
        if (!hasColumn(file, index.table, index.field))
            continue; // a table laid out elsewhere without it
        const QString repeated = tryUniqueIndex(file, index);
        const TableDef* table = FindTable(index.table);
        if (repeated.isNull()) {
            if (index.name == UniqueIndexes(*table).front().name) // the serial's plain index is no longer needed
                run(QStringLiteral("DROP INDEX IF EXISTS \"%1\".\"%2\"").arg(schema, OldSerialIndexName(*table)), {},
                    operation, file);
        } else if (firstTime) {
            addFinding(Finding::Kind::DuplicateCodes,
                       QStringLiteral("In %1, more than one record of %2 has the %3 %4, so the file cannot refuse a "
                                      "repeated %3 by itself. The program works on and gives new records free "
                                      "ones; correct the repeated ones to have the file guard them too.")
                           .arg(QDir::toNativeSeparators(filePath(file)), index.table, index.field, repeated));
        }
    }
    if (firstTime)
        run(QStringLiteral("PRAGMA \"%1\".user_version = %2").arg(schema).arg(UniqueCodesVersion), {},
            QStringLiteral("write the file's version"), file);
    transaction.commit();
}

std::vector<std::pair<QString, QString>> Database::fieldTypes(DbFile file, const QString& table,
                                                              const QString& operation) const
{
    const QString sql = onServer()
        ? QStringLiteral("SELECT a.attname, pg_catalog.format_type(a.atttypid, a.atttypmod) FROM pg_catalog.pg_attribute "
                         "AS a JOIN pg_catalog.pg_class AS c ON c.oid = a.attrelid JOIN pg_catalog.pg_namespace AS n "
                         "ON n.oid = c.relnamespace WHERE c.relname = ? AND n.nspname = ? AND a.attnum > 0 AND NOT "
                         "a.attisdropped AND a.attname <> 'rowid' ORDER BY a.attnum")
        : QStringLiteral("SELECT name, type FROM pragma_table_info(?, ?)");
    QSqlQuery info = run(sql, {table, SchemaName(file)}, operation, file);
    std::vector<std::pair<QString, QString>> fields;
    while (info.next())
        fields.emplace_back(info.value(0).toString(), info.value(1).toString());
    return fields;
}

bool Database::hasIndex(DbFile file, const QString& name) const
{
    QSqlQuery found = run(
        QStringLiteral("SELECT 1 FROM \"%1\".sqlite_master WHERE type = 'index' AND name = ?").arg(SchemaName(file)),
        {name}, QStringLiteral("read the file"), file);
    return found.next();
}

bool Database::hasColumn(DbFile file, const QString& table, const QString& field) const
{
    QSqlQuery found = run(QStringLiteral("SELECT 1 FROM pragma_table_info(?, ?) WHERE name = ? COLLATE NOCASE"),
                          {table, SchemaName(file), field}, QStringLiteral("read the file"), file);
    return found.next();
}

// Builds the index: a null text when it stands, else a value found repeated.
QString Database::tryUniqueIndex(DbFile file, const IndexDef& index)
{
    const QString operation = QStringLiteral("make %1 unique").arg(index.field);
    run(QStringLiteral("SAVEPOINT unique_index"), {}, operation, file);
    try {
        run(CreateIndexSql(file, index), {}, operation, file);
    } catch (const DataError& error) {
        if (!error.detail().contains(QLatin1String("UNIQUE")))
            throw;
        run(QStringLiteral("ROLLBACK TO unique_index"), {}, operation, file);
        run(QStringLiteral("RELEASE unique_index"), {}, operation, file);
        QSqlQuery repeated = run(QStringLiteral("SELECT \"%2\" FROM \"%1\".\"%3\" WHERE \"%2\" IS NOT NULL "
                                                "GROUP BY \"%2\" HAVING count(*) > 1 LIMIT 1")
                                     .arg(SchemaName(file), index.field, index.table),
                                 {}, operation, file);
        return repeated.next() ? repeated.value(0).toString() : QStringLiteral("?");
    }
    run(QStringLiteral("RELEASE unique_index"), {}, operation, file);
    return {};
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
    if (m_db.onServer()) {
        m_db.beginServerTransaction(m_operation);
        m_db.m_inTransaction = true;
        return;
    }
    if (!m_db.m_opening)
        m_db.quickCheck(); // nothing is saved into a file before it has been checked
    // An immediate write: a second copy of the program waits its turn on the
    // busy timeout, where a read turning into a write would fail at once.
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_db.m_inTransaction = true;
}

// BEGIN and COMMIT span every attached file, so a failure names the data folder.
void Transaction::exec(const QString& statement)
{
    QSqlQuery query(m_db.connection());
    if (query.exec(statement))
        return;
    if (m_db.onServer())
        throw m_db.serverError(query.lastError(), m_operation, DbFile::Zlv);
    throw DataError(m_operation, m_db.folder(), describe(query.lastError()));
}

// A statement that failed inside the transaction, its failure caught, has
// aborted all of it on the server, where COMMIT would then quietly roll back:
// that is said instead. A connection lost during COMMIT leaves unknown
// whether the work landed, and that is said too.
void Transaction::commitOnServer()
{
    exec(QStringLiteral("SELECT 1"));
    QSqlQuery query(m_db.connection());
    if (query.exec(QStringLiteral("COMMIT")))
        return;
    DataError error = m_db.serverError(query.lastError(), m_operation, DbFile::Zlv);
    if (m_db.m_connectionLost)
        error = DataError(m_operation, m_db.serverUrl(),
                          QStringLiteral("the connection to the database server was lost while the work was being "
                                         "saved, so whether it landed is not known; look for it before doing it again"));
    throw error;
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
    if (m_db.onServer())
        commitOnServer();
    else
        exec(QStringLiteral("COMMIT"));
    m_done = true;
    m_db.m_inTransaction = false;
    m_db.m_rollbackUndo.clear();
}

} // namespace zelva
