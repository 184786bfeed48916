#pragma once
// Backups of the data: a folder that holds the eight files at their usual
// places (ZLV.db, Database/...), so it can be restored by the program or, with
// the program closed, by copying its files into the data folder.
#include "data/schema.h"

#include <QString>
#include <functional>

namespace zelva {

class Database;

// Where backups go unless the operator chooses: the data folder's Backups.
QString DefaultBackupParent(const QString& dataFolder);

// Copies all eight files as they stand at one moment (one read transaction
// over all of them, so an invoice being saved meanwhile is in the copy whole
// or not at all) into a new dated folder under parent, "<label> yyyy-MM-dd
// hh.mm.ss". Works beside running copies of the program and changes nothing
// in the data folder. Returns the new folder; throws DataError (and leaves no
// partial backup) when the copy cannot be made, or when a file of the folder
// is missing or empty (0 bytes, or none of the program's tables), as
// start-up refuses it: a copy of such a folder is no backup.
QString BackUpData(const QString& dataFolder, const QString& parent,
                   const QString& label = QStringLiteral("Backup"));

// What makes the folder unfit to restore from: a file missing, failing
// SQLite's integrity check, or lacking its tables (all of them when the file
// is of this program's version). "" when all eight are there and sound.
QString BackupProblem(const QString& backupFolder);

// Puts a backup's files in place of the data folder's: checks the backup,
// keeps the current files aside in a backup of their own under the data
// folder's Backups, and opens the data again. Refused (DataError, nothing
// changed) when the backup is unfit or another copy of the program has the
// folder open. Returns the folder the current files were kept in.
//
// All or nothing, even across a crash: the backup's files are first copied
// in beside the current ones ("ZLV.db.restoring"), then a marker file lists
// the renames planned (each current file aside, each copy into its place),
// then they are done, and only then is the marker removed. A rename that
// fails undoes those before it.
QString RestoreData(Database& db, const QString& backupFolder);

// At start, before anything opens the files: a restore that a crash cut short
// is finished when its marker was written (or undone when finishing fails),
// and the copies of one cut short before that are removed. Says what was done
// ("" when there was nothing to do). Throws DataError when it cannot be done,
// or when another copy has the folder open (alone is false) meanwhile.
QString FinishInterruptedRestore(const QString& dataFolder, bool alone);

// True when a restore was cut short after its first rename may have been
// made: the files are partly the backup's until the next start finishes it.
bool RestoreCutShort(const QString& dataFolder);

// For tests: runs at each step of a restore that could be cut short (writing
// the marker, each rename, removing the marker), with the step's number from
// 0, before it; false makes the step fail. A crash can be staged there too.
void SetRestoreStepHook(std::function<bool(int step)> hook);
// For tests: runs in a backup after each file is copied, before the next.
void SetBackupFileHook(std::function<void(DbFile copied)> hook);

} // namespace zelva
