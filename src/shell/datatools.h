#pragma once
// The Tools menu's work on the data files: Back Up Data, Restore Data, and
// the quick check of every file that runs once the main window shows.
#include "data/database.h"

#include <functional>

class QMdiArea;
class QWidget;

namespace zelva {

// Back Up Data: into a dated folder under the folder the operator picks
// (offered: the data folder's Backups); says where.
void BackUpDataFromMenu(Database& db, QWidget* parent);

// Restore Data: the operator picks a backup folder; with no window open and
// after a Yes, the backup replaces the data (the current files kept aside)
// and the program goes on with the restored data. True when restored.
bool RestoreDataFromMenu(Database& db, QMdiArea* windows, QWidget* parent);

// The quick check left from start-up; says what it found.
void CheckDataAfterShow(Database& db);

// The folder the operator picks; "" when cancelled. Tests install a hook
// that answers instead of showing a dialog.
using FolderPickerHook = std::function<QString(const QString& title, const QString& start)>;
void SetFolderPickerHook(FolderPickerHook hook);

} // namespace zelva
