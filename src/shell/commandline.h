#pragma once
// The program's command line: --data-dir DIR, --server URL, --add-operator NAME,
// --backup DIR, --copy-to-server URL, --verify-audit-trail, --check-return MMYYYY,
// --help, --version.
#include <QString>
#include <QStringList>
#include <optional>

namespace zelva {

struct CommandLine {
    enum class Action { Run, Help, Version, AddOperator, Backup, CopyToServer, VerifyAuditTrail, CheckReturn, Error };
    Action action = Action::Run;
    QString dataDir; // empty: the usual data folder
    QString server; // the PostgreSQL database's URL; empty: the one in the settings, if any
    QString operatorName; // AddOperator: the new operator's user name
    QString backupDir; // Backup: where the dated backup folder goes
    QString copyTo; // CopyToServer: the empty server database the data folder goes to
    int returnYear = 0; // CheckReturn: the month whose return is checked
    int returnMonth = 0;
    QString error; // Error: what is wrong, one line
};

// arguments[0] is the program itself.
CommandLine ParseCommandLine(const QStringList& arguments);

QString HelpText(const QString& programName);
QString VersionText();

// Reads a new operator's password from standard input: on a terminal asked
// twice without echo; otherwise the first line. std::nullopt with the reason
// in error when there is none or the two differ.
std::optional<QString> ReadNewPassword(const QString& userName, QString* error);

} // namespace zelva
