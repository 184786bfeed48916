#include "data/backup.h"

#include "data/database.h"
#include "data/datafolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>
#include <sqlite3.h>

namespace zelva {

namespace {

constexpr int BusyWaitMs = 10000; // a save by another copy takes far less

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString uri(const QString& path, const char* mode)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=") + QLatin1String(mode);
}

// One connection of SQLite's own, closed when it goes.
class Handle {
public:
    Handle(const QString& uriName, int flags)
    {
        m_status = sqlite3_open_v2(uriName.toUtf8().constData(), &m_db, flags | SQLITE_OPEN_URI, nullptr);
        sqlite3_busy_timeout(m_db, BusyWaitMs);
    }
    ~Handle() { sqlite3_close(m_db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    sqlite3* get() const { return m_db; }
    bool ok() const { return m_status == SQLITE_OK; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }
    // Runs SQL without results; false on failure (error() says why).
    bool exec(const QString& sql) { return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK; }
    // The first column of the first row, "" when none or on failure.
    QString firstValue(const QString& sql)
    {
        sqlite3_stmt* statement = nullptr;
        QString value;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return value;
    }

private:
    sqlite3* m_db = nullptr;
    int m_status = SQLITE_OK;
};

QString newBackupFolder(const QString& parent, const QString& label)
{
    const QString stem = QDir(parent).filePath(
        label + QLatin1Char(' ') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")));
    QString folder = stem;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = QStringLiteral("%1 (%2)").arg(stem).arg(n);
    return folder;
}

// Copies one attached schema of source into a new file at target.
QString copySchema(Handle& source, DbFile file, const QString& target)
{
    if (!CreatePrivateFile(target))
        return QStringLiteral("%1 cannot be created").arg(shown(target));
    Handle copy(target, SQLITE_OPEN_READWRITE);
    if (!copy.ok())
        return copy.error();
    const QByteArray schema = SchemaName(file).toUtf8();
    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), schema.constData());
    if (!backup)
        return copy.error();
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errstr(stepped != SQLITE_DONE ? stepped : finished));
    return {};
}

// Copies the eight files into folder, all from one read transaction.
QString copyAll(const QString& dataFolder, const QString& folder)
{
    // Read-write (never create): reading a file rolls back what a crashed
    // save left half done, so the copy holds only whole saves.
    Handle source(uri(QDir(dataFolder).filePath(RelativePath(DbFile::Zlv)), "rw"), SQLITE_OPEN_READWRITE);
    if (!source.ok())
        return QStringLiteral("%1: %2").arg(RelativePath(DbFile::Zlv), source.error());
    for (DbFile file : AllDbFiles()) {
        const QString schema = SchemaName(file);
        if (file != DbFile::Zlv
            && !source.exec(QStringLiteral("ATTACH DATABASE '%1' AS \"%2\"")
                                .arg(uri(QDir(dataFolder).filePath(RelativePath(file)), "rw").replace(QLatin1Char('\''), QLatin1String("''")),
                                     schema)))
            return QStringLiteral("%1: %2").arg(RelativePath(file), source.error());
    }
    // One read transaction over every file: no save can land in some of the
    // copies and not in the others.
    if (!source.exec(QStringLiteral("BEGIN")))
        return source.error();
    for (DbFile file : AllDbFiles())
        if (!source.exec(QStringLiteral("SELECT count(*) FROM \"%1\".sqlite_master").arg(SchemaName(file))))
            return QStringLiteral("%1: %2").arg(RelativePath(file), source.error());
    if (!MakePrivateFolder(folder + QStringLiteral("/Database")))
        return QStringLiteral("the folder %1 cannot be created").arg(shown(folder));
    for (DbFile file : AllDbFiles()) {
        const QString failure = copySchema(source, file, QDir(folder).filePath(RelativePath(file)));
        if (!failure.isEmpty())
            return QStringLiteral("%1: %2").arg(RelativePath(file), failure);
    }
    source.exec(QStringLiteral("COMMIT"));
    return {};
}

} // namespace

QString DefaultBackupParent(const QString& dataFolder) { return QDir(dataFolder).filePath(QStringLiteral("Backups")); }

QString BackUpData(const QString& dataFolder, const QString& parent, const QString& label)
{
    const QString operation = QStringLiteral("back up the data");
    if (!MakePrivateFolder(parent))
        throw DataError(operation, shown(parent), QStringLiteral("the folder cannot be created"));
    const QString folder = newBackupFolder(parent, label);
    // SQLite may refuse a file at once while another copy commits a save
    // (waiting could deadlock it); the next try finds it free.
    QString failure;
    for (int attempt = 0; attempt < BusyWaitMs / 100; ++attempt) {
        failure = copyAll(dataFolder, folder);
        if (failure.isEmpty())
            return folder;
        QDir(folder).removeRecursively();
        if (!failure.contains(QLatin1String("locked")))
            break;
        QThread::msleep(100);
    }
    throw DataError(operation, shown(dataFolder), failure);
}

QString BackupProblem(const QString& backupFolder)
{
    for (DbFile file : AllDbFiles()) {
        const QString path = QDir(backupFolder).filePath(RelativePath(file));
        if (!QFileInfo(path).isFile())
            return QStringLiteral("%1 is missing from it").arg(RelativePath(file));
        Handle copy(uri(path, "ro"), SQLITE_OPEN_READONLY);
        const QString verdict = copy.ok() ? copy.firstValue(QStringLiteral("PRAGMA integrity_check(1)")) : QString();
        if (verdict != QLatin1String("ok"))
            return QStringLiteral("%1 in it is damaged (%2)")
                .arg(RelativePath(file), verdict.isEmpty() ? copy.error() : verdict);
    }
    return {};
}

QString RestoreData(Database& db, const QString& backupFolder)
{
    const QString operation = QStringLiteral("restore the data");
    const QString from = QDir(backupFolder).absolutePath();
    if (db.onServer())
        throw DataError(operation, db.serverUrl(), QStringLiteral("the data is kept on the database server"));
    if (from == db.folder())
        throw DataError(operation, shown(from), QStringLiteral("that is the data folder itself"));
    const QString problem = BackupProblem(from);
    if (!problem.isEmpty())
        throw DataError(operation, shown(from), problem + QStringLiteral("; nothing was changed"));
    if (!db.folderLock().takeAlone())
        throw DataError(operation, shown(db.folder()),
                        QStringLiteral("another copy of the program has the data open; close it first. Nothing "
                                       "was changed"));
    const auto shareAgain = qScopeGuard([&] { db.folderLock().share(); });

    // Every file read once rolls back what a crashed save left behind, so the
    // files kept aside hold whole saves only.
    for (DbFile file : AllDbFiles())
        db.run(QStringLiteral("SELECT count(*) FROM \"%1\".sqlite_master").arg(SchemaName(file)), {},
               QStringLiteral("read the file"), file);
    const QString aside = newBackupFolder(DefaultBackupParent(db.folder()), QStringLiteral("Before restore"));
    db.reopenAfter([&] {
        // First the slow part, copying in beside the current files; then only renames.
        const auto staged = [&](DbFile file) { return db.filePath(file) + QStringLiteral(".restoring"); };
        for (DbFile file : AllDbFiles()) {
            QFile::remove(staged(file));
            if (!QFile::copy(QDir(from).filePath(RelativePath(file)), staged(file))
                || !QFile::setPermissions(staged(file), QFile::ReadOwner | QFile::WriteOwner)) {
                for (DbFile done : AllDbFiles())
                    QFile::remove(staged(done));
                throw DataError(operation, RelativePath(file), QStringLiteral("it cannot be copied in; nothing was changed"));
            }
        }
        if (!MakePrivateFolder(aside + QStringLiteral("/Database")))
            throw DataError(operation, shown(aside), QStringLiteral("the folder cannot be created; nothing was changed"));
        for (DbFile file : AllDbFiles()) {
            const QString kept = QDir(aside).filePath(RelativePath(file));
            if (QFileInfo::exists(db.filePath(file)) && !QFile::rename(db.filePath(file), kept))
                throw DataError(operation, RelativePath(file), QStringLiteral("it cannot be moved aside"));
            if (!QFile::rename(staged(file), db.filePath(file)))
                throw DataError(operation, RelativePath(file), QStringLiteral("it cannot be put in place"));
        }
    });
    return aside;
}

} // namespace zelva
