#pragma once
// Opening the data at start: a folder in use with files missing is opened only
// when the operator agrees (the command line refuses), and what the data layer
// found (damaged, read-only or unprotected files) is said once.
#include "data/database.h"

#include <memory>

namespace zelva {

// For the windows: asks before creating missing files of a folder in use, and
// says through MsgBox why the data cannot be opened, or what was found in it.
// The quick check is left for after the main window shows. nullptr when the
// program cannot go on (the operator declined, or the folder is unusable).
// With a server's URL the data is on that server instead (folder then keeps
// only what stays on this computer, the printed PDFs).
std::unique_ptr<Database> OpenDataForWindows(const QString& folder, const QString& server = {});

// For the command line: refuses a folder in use with files missing; the
// findings and any failure go into messages, one per line.
std::unique_ptr<Database> OpenDataForCommand(const QString& folder, QStringList* messages,
                                             const QString& server = {});

// The server the program uses: the command line's --server, else the URL kept
// under ServerSettingsKey in the user's settings; "" for the data folder.
QString ChooseServer(const QString& commandLineServer);

// --backup: a dated backup of the data folder in target. True when it was
// made and every file in it is sound; the lines to print go into messages.
bool BackUpForCommand(const QString& folder, const QString& target, QStringList* messages);

// The findings as one message, "" when there are none.
QString FindingsText(const std::vector<Finding>& findings);

} // namespace zelva
