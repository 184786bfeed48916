#include "shell/datatools.h"

#include "data/backup.h"
#include "data/datafolder.h"
#include "ui/message.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace zelva {

namespace {

FolderPickerHook& pickerHook()
{
    static FolderPickerHook hook;
    return hook;
}

QString pickFolder(QWidget* parent, const QString& title, const QString& start)
{
    if (pickerHook())
        return pickerHook()(title, start);
    return QFileDialog::getExistingDirectory(parent, title, start);
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Long file work shows the busy cursor.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The data on a server is backed up and restored there, by its own tools.
bool refusedOnServer(const Database& db)
{
    if (!db.onServer())
        return false;
    MsgBox(QStringLiteral("The data is kept on the database server %1. Back it up and restore it there, with the "
                          "server's own tools (pg_dump and pg_restore).")
               .arg(db.serverUrl()));
    return true;
}

} // namespace

void SetFolderPickerHook(FolderPickerHook hook) { pickerHook() = std::move(hook); }

void BackUpDataFromMenu(Database& db, QWidget* parent)
{
    if (refusedOnServer(db))
        return;
    const QString offered = DefaultBackupParent(db.folder());
    MakePrivateFolder(offered);
    const QString parentFolder = pickFolder(parent, QStringLiteral("Back Up Data: where the backup goes"), offered);
    if (parentFolder.isEmpty())
        return;
    QString made;
    try {
        BusyCursor busy;
        made = BackUpData(db.folder(), parentFolder);
    } catch (const DataError& failure) {
        MsgBox(failure.message() + QStringLiteral("\nNo backup was made."));
        return;
    }
    const QString problem = BackupProblem(made);
    MsgBox(problem.isEmpty() ? QStringLiteral("The data was backed up to %1.").arg(shown(made))
                             : QStringLiteral("The data was backed up to %1, but %2: the data folder holds a damaged "
                                              "file.")
                                   .arg(shown(made), problem));
}

bool RestoreDataFromMenu(Database& db, QMdiArea* windows, QWidget* parent)
{
    if (refusedOnServer(db))
        return false;
    if (!windows->subWindowList().isEmpty()) {
        MsgBox(QStringLiteral("Close the open windows first, so that no unsaved entry is lost; then choose "
                              "Restore Data again."));
        return false;
    }
    const QString backup = pickFolder(parent, QStringLiteral("Restore Data: choose a backup folder"),
                                      DefaultBackupParent(db.folder()));
    if (backup.isEmpty())
        return false;
    if (!AskYesNo(QStringLiteral("Replace the data with the backup in %1?\n\nThe files as they are now are kept "
                                 "aside in a backup of their own under %2.")
                      .arg(shown(backup), shown(DefaultBackupParent(db.folder())))))
        return false;
    QString aside;
    try {
        BusyCursor busy;
        aside = RestoreData(db, backup);
    } catch (const DataError& failure) {
        MsgBox(failure.message());
        return false;
    }
    QString text = QStringLiteral("The data was restored from %1; the program goes on with it. The files as they "
                                  "were are kept in %2.")
                       .arg(shown(backup), shown(aside));
    if (!db.findings().empty())
        text += QStringLiteral("\n\n") + FindingsText(db.findings());
    MsgBox(text);
    return true;
}

void CheckDataAfterShow(Database& db)
{
    std::vector<Finding> found;
    try {
        BusyCursor busy;
        found = db.quickCheck();
    } catch (const DataError& failure) {
        MsgBox(failure.message());
        return;
    }
    if (!found.empty())
        MsgBox(FindingsText(found));
}

} // namespace zelva
