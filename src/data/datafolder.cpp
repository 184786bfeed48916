#include "data/datafolder.h"

#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <optional>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace zelva {

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString pathIn(const QString& folder, const QString& relative) { return folder + QLatin1Char('/') + relative; }

// What a file that is there holds, as far as start-up needs to know.
enum class FileHolds { NoTables, NoRecords, Records };

// Opened read-write when it may be (never created), so that a journal left
// hot by a start or a save cut short is rolled back before the file is read:
// the file is judged as every later reader finds it, not as it was half
// written. A file that cannot be read holds records: it is somebody's, damaged.
FileHolds whatFileHolds(const QString& path, DbFile file)
{
    sqlite3* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(handle);
        handle = nullptr;
        if (sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(handle);
            return FileHolds::Records;
        }
    }
    const auto rows = [&](const QByteArray& sql, QStringList* names) {
        sqlite3_stmt* statement = nullptr;
        int step = sqlite3_prepare_v2(handle, sql.constData(), -1, &statement, nullptr);
        bool any = false;
        if (step == SQLITE_OK)
            while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
                any = true;
                if (names)
                    *names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            }
        sqlite3_finalize(statement);
        return step == SQLITE_DONE ? std::optional<bool>(any) : std::nullopt;
    };
    QStringList names;
    FileHolds holds = FileHolds::Records;
    if (rows("SELECT name FROM sqlite_master WHERE type = 'table'", &names)) {
        holds = FileHolds::NoTables;
        for (const TableDef& table : AllTables()) {
            if (table.file != file || !names.contains(table.name, Qt::CaseInsensitive))
                continue;
            holds = FileHolds::NoRecords;
            // more rows than the placeholder a new table is made with
            const std::optional<bool> more = rows(QStringLiteral("SELECT 1 FROM \"%1\" LIMIT 1 OFFSET %2")
                                                      .arg(table.name)
                                                      .arg(table.placeholder ? 1 : 0)
                                                      .toUtf8(),
                                                  nullptr);
            if (!more || *more) {
                holds = FileHolds::Records;
                break;
            }
        }
    }
    sqlite3_close(handle);
    return holds;
}

bool onlyLoginFile(const FolderSurvey& survey)
{
    return (survey.missing + survey.blank) == QStringList{RelativePath(DbFile::Zlv)};
}

} // namespace

QString ChooseDataFolder(const QString& dataDirOption, const QString& applicationFolder)
{
    if (!dataDirOption.isEmpty())
        return QDir(dataDirOption).absolutePath();
    if (QFileInfo::exists(QDir(applicationFolder).filePath(RelativePath(DbFile::Zlv))))
        return QDir(applicationFolder).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

FolderSurvey SurveyDataFolder(const QString& folder)
{
    FolderSurvey survey;
    const bool subfolder = QFileInfo(pathIn(folder, QStringLiteral("Database"))).isDir();
    for (DbFile file : AllDbFiles()) {
        const QString relative = RelativePath(file);
        if (!QFileInfo::exists(pathIn(folder, relative))) {
            if (subfolder || file == DbFile::Zlv)
                survey.missing << relative;
            continue;
        }
        switch (whatFileHolds(pathIn(folder, relative), file)) {
        case FileHolds::NoTables:
            survey.blank << relative;
            break;
        case FileHolds::Records:
            survey.inUse = true;
            break;
        case FileHolds::NoRecords:
            break;
        }
    }
    if (!subfolder)
        survey.missing << QStringLiteral("Database/");
    return survey;
}

QString AbsentFilesText(const FolderSurvey& survey)
{
    QStringList parts;
    if (!survey.missing.isEmpty())
        parts << QStringLiteral("these are missing from it: %1").arg(survey.missing.join(QStringLiteral(", ")));
    if (!survey.blank.isEmpty())
        parts << QStringLiteral("these in it are empty (0 bytes, or none of the program's tables): %1")
                     .arg(survey.blank.join(QStringLiteral(", ")));
    return parts.join(QStringLiteral("; "));
}

QString MissingFilesQuestion(const QString& folder, const FolderSurvey& survey)
{
    const QString meaning = onlyLoginFile(survey)
        ? QStringLiteral("ZLV.db holds the operators who may log in. Created empty, it has none: the login "
                         "window then asks for a first operator, and the invoices, stock and other records "
                         "stay as they are. If you have a backup, answer No and copy its ZLV.db into the data "
                         "folder first.")
        : QStringLiteral("Created empty, they would start their numbers again (invoices from A00001), "
                         "repeating numbers already issued. If you have a backup, answer No and copy its "
                         "files into the data folder first.");
    return QStringLiteral("The data folder %1 is in use, but %2.\n\n%3\n\nCreate them empty now?")
        .arg(shown(folder), AbsentFilesText(survey), meaning);
}

QString MissingFilesRefusal(const QString& folder, const FolderSurvey& survey)
{
    return QStringLiteral("The data folder %1 is in use, but %2. Nothing was created: copy them back from a "
                          "backup, or start the program on the desktop, which creates them empty once you agree.")
        .arg(shown(folder), AbsentFilesText(survey));
}

QString PrintsFolder(const QString& dataFolder)
{
#ifdef Q_OS_WIN
    // Explorer hides %APPDATA%: beside the usual data folder the copies go where
    // the user keeps documents.
    if (QDir(dataFolder) == QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)))
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Zelva Billing Prints"));
#endif
    return QDir(dataFolder).filePath(QStringLiteral("Prints"));
}

#ifdef Q_OS_UNIX

namespace {

sqlite3_vfs* baseVfs = nullptr;
sqlite3_vfs privateVfs {};

int openPrivately(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    const int status = baseVfs->xOpen(baseVfs, name, file, flags, outFlags);
    // Made, but not yet written: nothing of it was readable by others.
    if (status == SQLITE_OK && (flags & SQLITE_OPEN_SUPER_JOURNAL) && name)
        ::chmod(name, 0600);
    return status;
}

} // namespace

void KeepSuperJournalsPrivate()
{
    static const bool registered = [] {
        baseVfs = sqlite3_vfs_find(nullptr);
        if (!baseVfs)
            return false;
        privateVfs = *baseVfs;
        privateVfs.pNext = nullptr;
        privateVfs.zName = "zelva-private-journals";
        privateVfs.xOpen = openPrivately;
        return sqlite3_vfs_register(&privateVfs, 1) == SQLITE_OK; // the default for every file opened later
    }();
    (void)registered;
}

bool MakePrivateFolder(const QString& path)
{
    const QString absolute = QDir(path).absolutePath();
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).absolutePath();
    if (parent != absolute && !MakePrivateFolder(parent))
        return false;
    const QByteArray name = QFile::encodeName(absolute);
    if (::mkdir(name.constData(), 0700) != 0 && !QFileInfo(absolute).isDir())
        return false;
    return ::chmod(name.constData(), 0700) == 0; // the umask may have narrowed it oddly
}

bool CreatePrivateFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST;
    const bool done = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return done;
}

bool OpenToOthers(const QString& folder)
{
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return (info.st_mode & (S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH)) != 0;
}

bool CanWrite(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

bool SyncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

FolderLock::FolderLock(const QString& folder)
{
    const QString path = pathIn(folder, QStringLiteral(".zelva-open.lock"));
    CreatePrivateFile(path);
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return; // a folder that takes no lock file takes no tidying either
    m_alone = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    if (!m_alone)
        ::flock(m_fd, LOCK_SH);
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FolderLock::share()
{
    if (m_fd >= 0 && m_alone)
        ::flock(m_fd, LOCK_SH);
    m_alone = false;
}

bool FolderLock::takeAlone()
{
    if (m_fd < 0)
        return false;
    if (!m_alone) {
        ::flock(m_fd, LOCK_UN);
        m_alone = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        if (!m_alone)
            ::flock(m_fd, LOCK_SH);
    }
    return m_alone;
}

#else

// Elsewhere (on Windows: in the user's profile, %APPDATA%, whose NTFS
// permissions already keep the data folder to that user and the
// administrators, and which what is made in it inherits) there are no modes to
// set and nothing for the "open to others" check to find.

void KeepSuperJournalsPrivate() { }
bool MakePrivateFolder(const QString& path) { return QDir().mkpath(path); }
bool CreatePrivateFile(const QString& path)
{
    QFile file(path);
    return file.exists() || file.open(QIODevice::WriteOnly);
}
bool OpenToOthers(const QString&) { return false; }
bool CanWrite(const QString& path) { return QFileInfo(path).isWritable(); }

#ifdef Q_OS_WIN

namespace {

// The lock file's bytes: OpenByte is held shared by every copy, exclusively by
// a copy alone. Windows cannot turn an exclusive lock into a shared one, so
// GateByte is held while a copy changes its lock on OpenByte: no other copy
// sees the moment in between as "alone".
constexpr DWORD OpenByte = 0;
constexpr DWORD GateByte = 1;

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

bool lockByte(int fd, DWORD byte, DWORD flags)
{
    OVERLAPPED at {};
    at.Offset = byte;
    return ::LockFileEx(handleOf(fd), flags, 0, 1, 0, &at) != 0;
}

void unlockByte(int fd, DWORD byte)
{
    OVERLAPPED at {};
    at.Offset = byte;
    ::UnlockFileEx(handleOf(fd), 0, 1, 0, &at);
}

class Gate {
public:
    explicit Gate(int fd)
        : m_fd(fd)
    {
        lockByte(m_fd, GateByte, LOCKFILE_EXCLUSIVE_LOCK);
    }
    ~Gate() { unlockByte(m_fd, GateByte); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

private:
    int m_fd;
};

bool lockAloneOrShared(int fd)
{
    const bool alone = lockByte(fd, OpenByte, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY);
    if (!alone)
        lockByte(fd, OpenByte, 0);
    return alone;
}

} // namespace

// NTFS keeps a folder's list of names in its own journal: only files are flushed.
bool SyncToDisk(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)
        && ::FlushFileBuffers(handleOf(file.handle())) != 0;
}

// By the names as they are (a profile's path may hold any letters), on the disk when it returns.
bool RenameFile(const QString& from, const QString& to)
{
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    const auto wide = [](const QString& path) { return reinterpret_cast<const wchar_t*>(path.utf16()); };
    return ::MoveFileExW(wide(source), wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

FolderLock::FolderLock(const QString& folder)
{
    const QString path = QDir::toNativeSeparators(pathIn(folder, QStringLiteral(".zelva-open.lock")));
    CreatePrivateFile(path);
    m_fd = ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (m_fd < 0)
        return; // a folder that takes no lock file takes no tidying either
    const Gate gate(m_fd);
    m_alone = lockAloneOrShared(m_fd);
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::_close(m_fd);
}

void FolderLock::share()
{
    if (m_fd >= 0 && m_alone) {
        const Gate gate(m_fd);
        unlockByte(m_fd, OpenByte);
        lockByte(m_fd, OpenByte, 0);
    }
    m_alone = false;
}

bool FolderLock::takeAlone()
{
    if (m_fd < 0)
        return false;
    if (!m_alone) {
        const Gate gate(m_fd);
        unlockByte(m_fd, OpenByte);
        m_alone = lockAloneOrShared(m_fd);
    }
    return m_alone;
}

#else

bool SyncToDisk(const QString&) { return true; }
FolderLock::FolderLock(const QString&) { }
FolderLock::~FolderLock() { }
void FolderLock::share() { }
bool FolderLock::takeAlone() { return false; }

#endif
#endif

#ifndef Q_OS_WIN
bool RenameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
#endif

QStringList TidySuperJournals(const QString& folder)
{
    QByteArrayList journals;
    for (DbFile file : AllDbFiles()) {
        QFile journal(pathIn(folder, RelativePath(file)) + QStringLiteral("-journal"));
        if (journal.open(QIODevice::ReadOnly))
            journals << journal.readAll();
    }
    QStringList removed;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({RelativePath(DbFile::Zlv) + QStringLiteral("-mj*")}, QDir::Files)) {
        const QByteArray reference = QFile::encodeName(name);
        const bool referred = std::any_of(journals.begin(), journals.end(),
                                          [&](const QByteArray& journal) { return journal.contains(reference); });
        if (!referred && QFile::remove(dir.filePath(name)))
            removed << name;
    }
    return removed;
}

} // namespace zelva
