#include "data/backup.h"

#include "data/database.h"
#include "data/datafolder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <sqlite3.h>

namespace zelva {

namespace {

constexpr int BusyWaitMs = 10000; // a save by another copy takes far less

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

std::function<bool(int)>& restoreStepHook()
{
    static std::function<bool(int)> hook;
    return hook;
}

std::function<void(DbFile)>& backupFileHook()
{
    static std::function<void(DbFile)> hook;
    return hook;
}

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
        if (backupFileHook())
            backupFileHook()(file);
    }
    source.exec(QStringLiteral("COMMIT"));
    return {};
}

// ---------------------------------------------------------------- restoring

const QString MarkerName = QStringLiteral(".zelva-restore");
const QString RestoreOperation = QStringLiteral("restore the data");

QString stagedName(DbFile file) { return RelativePath(file) + QStringLiteral(".restoring"); }

// A restore written down before its first rename: where the data comes from,
// where the files as they were go, and the renames in their order (paths
// relative to the data folder).
struct RestorePlan {
    QString backup;
    QString aside;
    std::vector<std::pair<QString, QString>> renames;
};

QByteArray planText(const RestorePlan& plan)
{
    QJsonArray renames;
    for (const auto& [from, to] : plan.renames)
        renames.append(QJsonArray{from, to});
    return QJsonDocument(QJsonObject{{QStringLiteral("backup"), plan.backup},
                                     {QStringLiteral("aside"), plan.aside},
                                     {QStringLiteral("renames"), renames}})
        .toJson();
}

std::optional<RestorePlan> readPlan(const QString& markerPath)
{
    QFile marker(markerPath);
    if (!marker.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(marker.readAll()).object();
    RestorePlan plan{object.value(QStringLiteral("backup")).toString(), object.value(QStringLiteral("aside")).toString(), {}};
    for (const QJsonValue& rename : object.value(QStringLiteral("renames")).toArray())
        plan.renames.emplace_back(rename.toArray().at(0).toString(), rename.toArray().at(1).toString());
    if (plan.aside.isEmpty() || plan.aside.contains(QLatin1String("..")) || QDir::isAbsolutePath(plan.aside)
        || plan.renames.empty())
        return std::nullopt;
    for (const auto& [from, to] : plan.renames)
        for (const QString& path : {from, to})
            if (path.isEmpty() || path.contains(QLatin1String("..")) || QDir::isAbsolutePath(path))
                return std::nullopt; // only ever within the data folder
    return plan;
}

// The step as the test hook lets it happen.
bool stepAllowed(int step) { return !restoreStepHook() || restoreStepHook()(step); }

// Written whole (a copy renamed into place) and on the disk before the first rename.
bool writeMarker(const QString& folder, const RestorePlan& plan)
{
    const QString path = QDir(folder).filePath(MarkerName);
    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh);
    if (!CreatePrivateFile(fresh))
        return false;
    QFile marker(fresh);
    const QByteArray text = planText(plan);
    const bool written = marker.open(QIODevice::WriteOnly) && marker.write(text) == text.size() && marker.flush();
    marker.close();
    if (!written || !SyncToDisk(fresh) || !RenameFile(fresh, path)) {
        QFile::remove(fresh);
        return false;
    }
    return SyncToDisk(folder);
}

bool removeMarker(const QString& folder)
{
    return QFile::remove(QDir(folder).filePath(MarkerName)) && SyncToDisk(folder);
}

// One rename, unless it was done already (its source gone, or its target
// there: each target is new to the folder it goes to). False when it fails.
bool renameOnce(const QString& folder, const QString& from, const QString& to)
{
    const QString source = QDir(folder).filePath(from);
    const QString target = QDir(folder).filePath(to);
    if (!QFileInfo::exists(source) || QFileInfo::exists(target))
        return true;
    return RenameFile(source, target);
}

void syncFolders(const QString& folder, const RestorePlan& plan)
{
    const QDir data(folder);
    for (const QString& path : {data.filePath(QStringLiteral("Database")), folder,
                                data.filePath(plan.aside + QStringLiteral("/Database")), data.filePath(plan.aside)})
        SyncToDisk(path);
}

// The renames from the first on, each unless done; "" or the one that failed
// ("from to to"). Counted as steps from firstStep on (the hook's), when given.
QString finishRenames(const QString& folder, const RestorePlan& plan, int firstStep = -1)
{
    int step = firstStep;
    for (const auto& [from, to] : plan.renames)
        if ((firstStep >= 0 && !stepAllowed(++step)) || !renameOnce(folder, from, to))
            return QStringLiteral("%1 to %2").arg(from, to);
    syncFolders(folder, plan);
    return {};
}

// The renames taken back, the last first; the copies and the folder made for
// the files as they were go too. False when a file cannot be put back.
bool undoRenames(const QString& folder, const RestorePlan& plan)
{
    for (auto it = plan.renames.rbegin(); it != plan.renames.rend(); ++it)
        if (!renameOnce(folder, it->second, it->first))
            return false;
    for (DbFile file : AllDbFiles())
        QFile::remove(QDir(folder).filePath(stagedName(file)));
    const QString aside = QDir(folder).filePath(plan.aside);
    if (!QDirIterator(aside, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories).hasNext())
        QDir(aside).removeRecursively();
    syncFolders(folder, plan);
    return true;
}

// The copies of the backup, checked, beside the current files; throws when
// one cannot be made (and then none stays).
void stageCopies(const QString& folder, const QString& backup)
{
    const auto removeAll = [&] {
        for (DbFile file : AllDbFiles())
            QFile::remove(QDir(folder).filePath(stagedName(file)));
    };
    for (DbFile file : AllDbFiles()) {
        const QString staged = QDir(folder).filePath(stagedName(file));
        QFile::remove(staged);
        if (!QFile::copy(QDir(backup).filePath(RelativePath(file)), staged)
            || !QFile::setPermissions(staged, QFile::ReadOwner | QFile::WriteOwner) || !SyncToDisk(staged)) {
            removeAll();
            throw DataError(RestoreOperation, RelativePath(file), QStringLiteral("it cannot be copied in; nothing was changed"));
        }
    }
}

// The file's tables that its copy lacks: all of them for a file of this
// program's version (or later); a file of an older one (a backup from before
// an upgrade) needs at least one, the rest come with the upgrade.
QStringList tablesLacking(Handle& copy, DbFile file)
{
    QStringList lacking;
    bool anyThere = false;
    for (const TableDef& table : AllTables()) {
        if (table.file != file)
            continue;
        const bool there = !copy.firstValue(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                                           "name = '%1' COLLATE NOCASE")
                                                .arg(table.name))
                                .isEmpty();
        anyThere = anyThere || there;
        if (!there)
            lacking << table.name;
    }
    const bool current = copy.firstValue(QStringLiteral("PRAGMA user_version")).toInt() >= SchemaVersion;
    return current || !anyThere ? lacking : QStringList();
}

} // namespace

QString DefaultBackupParent(const QString& dataFolder) { return QDir(dataFolder).filePath(QStringLiteral("Backups")); }

QString BackUpData(const QString& dataFolder, const QString& parent, const QString& label)
{
    const QString operation = QStringLiteral("back up the data");
    if (!MakePrivateFolder(parent))
        throw DataError(operation, shown(parent), QStringLiteral("the folder cannot be created"));
    if (RestoreCutShort(dataFolder))
        throw DataError(operation, shown(dataFolder),
                        QStringLiteral("a restore of the data was cut short, so the files are partly the backup's; "
                                       "start the program, which finishes it, then back up"));
    const FolderSurvey survey = SurveyDataFolder(dataFolder);
    if (!survey.missing.isEmpty() || !survey.blank.isEmpty())
        throw DataError(operation, shown(dataFolder),
                        AbsentFilesText(survey) + QStringLiteral(", so a copy of it would not be a backup"));
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
        const QStringList lacking = tablesLacking(copy, file);
        if (!lacking.isEmpty())
            return QStringLiteral("%1 in it lacks the tables %2").arg(RelativePath(file), lacking.join(QStringLiteral(", ")));
    }
    return {};
}

QString RestoreData(Database& db, const QString& backupFolder)
{
    const QString& operation = RestoreOperation;
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
        const QString folder = db.folder();
        stageCopies(folder, from);
        RestorePlan plan{from, QDir(folder).relativeFilePath(aside), {}};
        for (DbFile file : AllDbFiles()) {
            if (QFileInfo::exists(db.filePath(file)))
                plan.renames.emplace_back(RelativePath(file), plan.aside + QLatin1Char('/') + RelativePath(file));
            plan.renames.emplace_back(stagedName(file), RelativePath(file));
        }
        // The folder for the files as they are comes after the marker, so
        // that a restore cut short before it leaves nothing behind.
        const bool marked = stepAllowed(0) && writeMarker(folder, plan);
        if (!marked || !MakePrivateFolder(aside + QStringLiteral("/Database"))) {
            undoRenames(folder, plan);
            QFile::remove(QDir(folder).filePath(MarkerName + QStringLiteral(".new")));
            if (marked)
                removeMarker(folder);
            throw DataError(RestoreOperation, shown(aside), QStringLiteral("it cannot be made ready; nothing was changed"));
        }
        const QString failed = finishRenames(folder, plan, 0);
        if (!failed.isEmpty()) {
            if (!undoRenames(folder, plan)) {
                if (finishRenames(folder, plan).isEmpty()) { // restored after all
                    removeMarker(folder);
                    return;
                }
                throw DataError(RestoreOperation, failed,
                                QStringLiteral("the file cannot be renamed, and the files as they were cannot all be "
                                               "put back; end the program and start it again to finish the restore"));
            }
            removeMarker(folder);
            throw DataError(RestoreOperation, failed,
                            QStringLiteral("the file cannot be renamed; the files as they were are back, nothing "
                                           "was changed"));
        }
        if (stepAllowed(int(plan.renames.size()) + 1))
            removeMarker(folder); // else the next start finds the restore whole and removes it
    });
    return aside;
}

QString FinishInterruptedRestore(const QString& dataFolder, bool alone)
{
    const QString markerPath = QDir(dataFolder).filePath(MarkerName);
    QStringList leftovers{markerPath + QStringLiteral(".new")};
    for (DbFile file : AllDbFiles())
        leftovers << QDir(dataFolder).filePath(stagedName(file));
    const bool marked = QFileInfo::exists(markerPath);
    if (!marked && std::none_of(leftovers.begin(), leftovers.end(), [](const QString& path) { return QFileInfo::exists(path); }))
        return {};
    const QString operation = QStringLiteral("finish the restore that was cut short");
    if (!alone)
        throw DataError(operation, shown(dataFolder),
                        QStringLiteral("another copy of the program has the data folder open; close every copy, "
                                       "then start the program again"));
    if (!marked) {
        for (const QString& path : leftovers)
            QFile::remove(path);
        return QStringLiteral("A restore of the data from a backup was cut short before it changed anything; the "
                              "data is as it was before it, and the copies it had made were removed.");
    }
    const std::optional<RestorePlan> plan = readPlan(markerPath);
    if (!plan)
        throw DataError(operation, shown(markerPath),
                        QStringLiteral("the list of the restore's steps cannot be read; the files of the data "
                                       "folder may be partly the backup's. Copy the files of a backup folder into it, "
                                       "then remove this file"));
    MakePrivateFolder(QDir(dataFolder).filePath(plan->aside + QStringLiteral("/Database")));
    const QString failed = finishRenames(dataFolder, *plan);
    if (failed.isEmpty()) {
        removeMarker(dataFolder);
        return QStringLiteral("A restore of the data from %1 was cut short (the program stopped in the middle of "
                              "it). It has now been finished: the data is the backup's, and the files as they were "
                              "are kept in %2.")
            .arg(shown(plan->backup), shown(QDir(dataFolder).filePath(plan->aside)));
    }
    if (!undoRenames(dataFolder, *plan))
        throw DataError(operation, failed,
                        QStringLiteral("the file cannot be renamed, nor can the files as they were be put back; "
                                       "see the list of the restore's steps in %1")
                            .arg(shown(markerPath)));
    removeMarker(dataFolder);
    return QStringLiteral("A restore of the data from %1 was cut short (the program stopped in the middle of it), "
                          "and it cannot be finished (%2 cannot be renamed). It has been undone: the data is as it "
                          "was before it.")
        .arg(shown(plan->backup), failed);
}

bool RestoreCutShort(const QString& dataFolder) { return QFileInfo::exists(QDir(dataFolder).filePath(MarkerName)); }

void SetRestoreStepHook(std::function<bool(int step)> hook) { restoreStepHook() = std::move(hook); }

void SetBackupFileHook(std::function<void(DbFile copied)> hook) { backupFileHook() = std::move(hook); }

} // namespace zelva
