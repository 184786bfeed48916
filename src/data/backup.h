#pragma once
// Backups of the data: a folder that holds the eight files at their usual
// places (ZLV.db, Database/...), so it can be restored by the program or, with
// the program closed, by copying its files into the data folder.
#include <QString>

namespace zelva {

class Database;

// Where backups go unless the operator chooses: the data folder's Backups.
QString DefaultBackupParent(const QString& dataFolder);

// Copies all eight files as they stand at one moment (one read transaction
// over all of them, so an invoice being saved meanwhile is in the copy whole
// or not at all) into a new dated folder under parent, "<label> yyyy-MM-dd
// hh.mm.ss". Works beside running copies of the program and changes nothing
// in the data folder. Returns the new folder; throws DataError (and leaves no
// partial backup) when the copy cannot be made.
QString BackUpData(const QString& dataFolder, const QString& parent,
                   const QString& label = QStringLiteral("Backup"));

// What makes the folder unfit to restore from: a file missing or failing
// SQLite's integrity check. "" when all eight are there and sound.
QString BackupProblem(const QString& backupFolder);

// Puts a backup's files in place of the data folder's: checks the backup,
// keeps the current files aside in a backup of their own under the data
// folder's Backups, and opens the data again. Refused (DataError, nothing
// changed) when the backup is unfit or another copy of the program has the
// folder open. Returns the folder the current files were kept in.
QString RestoreData(Database& db, const QString& backupFolder);

} // namespace zelva
