#pragma once
// The data folder on disk, before and beside SQLite: which folder, whether it
// is in use, who else has it open, and keeping it private to its user.
#include <QString>
#include <QStringList>

namespace zelva {

// Which folder holds the data: the --data-dir option when given; else the
// application folder when it already holds ZLV.db (a portable install); else
// the per-user data folder.
QString ChooseDataFolder(const QString& dataDirOption, const QString& applicationFolder);

// What start-up finds before it opens anything.
struct FolderSurvey {
    // A folder in use: a file holds an operator or a record beyond the
    // placeholders set-up makes (or cannot be read). A fresh folder, or one
    // whose first start was cut short while it made the files, holds none and
    // is set up silently.
    bool inUse = false;
    // The database files that are not there, as relative paths; "Database/"
    // alone when the whole folder is gone.
    QStringList missing;
    // The files that are there but blank: 0 bytes (a full disk or a sync tool
    // can leave that) or holding none of the program's tables. Opened as they
    // are, they would start afresh just as missing ones would.
    QStringList blank;
    bool needsConsent() const { return inUse && !(missing.isEmpty() && blank.isEmpty()); }
};
FolderSurvey SurveyDataFolder(const QString& folder);
// "these are missing from it: ..." and/or "these in it are empty (...): ..."
QString AbsentFilesText(const FolderSurvey& survey);

// The operator's question (and the command line's refusal) about a folder in
// use with files missing or blank: names them and says what creating them
// empty means (only ZLV.db: the operators are set up again, nothing else).
QString MissingFilesQuestion(const QString& folder, const FolderSurvey& survey);
QString MissingFilesRefusal(const QString& folder, const FolderSurvey& survey);

// The Prints folder of a data folder, where printed copies without a printer
// and saved reports go. On Windows, for the usual data folder in the hidden
// %APPDATA%, it is "Zelva Billing Prints" in the user's Documents.
QString PrintsFolder(const QString& dataFolder);

// Creates the folder and any missing parent; the folders made here are
// private to the user (0700). False when it cannot be made.
bool MakePrivateFolder(const QString& path);
// Creates an empty file readable and writable by its owner only (0600),
// whatever the umask; an existing file is left alone. False on failure.
bool CreatePrivateFile(const QString& path);
// True when users other than the owner may read or enter the folder.
bool OpenToOthers(const QString& folder);
// True when this program may create and change files in the folder or change
// the file (the immutable attribute counts, also for root).
bool CanWrite(const QString& path);
// Writes what the system still holds of the file (or of the folder's list of
// names) to the disk, so that it outlives a power cut. False on failure.
bool SyncToDisk(const QString& path);
// Renames the file in one step, replacing a file of the new name; false on failure.
bool RenameFile(const QString& from, const QString& to);

// Every running copy of the program holds a shared lock on the folder's lock
// file for as long as it has the folder open. A copy that gets the lock
// exclusively knows it is alone: it may tidy up and restore.
class FolderLock {
public:
    // Takes the lock exclusively when no other copy holds it, else shared.
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool alone() const { return m_alone; }
    // Exclusive to shared, so that other copies may start.
    void share();
    // Tries to become exclusive again; false (still shared) when another copy
    // has the folder open.
    bool takeAlone();

private:
    int m_fd = -1;
    bool m_alone = false;
};

// SQLite makes the super-journal of a save that spans files (ZLV.db-mj...)
// readable by everyone; from the first call on, each is its owner's alone at
// once, as the other files are. Call before the files are opened.
void KeepSuperJournalsPrivate();

// Removes the super-journal files (ZLV.db-mj...) that no hot journal of the
// eight files refers to; call only while alone, after the files were read
// (reading rolls hot journals back). Returns the names removed.
QStringList TidySuperJournals(const QString& folder);

} // namespace zelva
