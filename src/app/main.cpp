// Start-up: read the command line, open the data folder's database files,
// then show the login window, or add an operator, back up the data, or copy
// the data folder to a server.
#include "data/audittrail.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/servercopy.h"
#include "registers/returncheck.h"
#include "shell/commandline.h"
#include "shell/frmLogin.h"
#include "shell/icons.h"
#include "shell/operators.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const char* const ProgramName = "zelva";

void printLine(std::FILE* stream, const QString& text) { std::fprintf(stream, "%s\n", text.toLocal8Bit().constData()); }

int refuse(const QString& text, int code = 1)
{
    printLine(stderr, QStringLiteral("%1: %2").arg(QLatin1String(ProgramName), text));
    return code;
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString dataFolderOf(const zelva::CommandLine& line)
{
    return zelva::ChooseDataFolder(line.dataDir, QCoreApplication::applicationDirPath());
}

// The data a command works on; what opening it found is said on standard error.
std::unique_ptr<zelva::Database> openForCommand(const zelva::CommandLine& line)
{
    QStringList messages;
    std::unique_ptr<zelva::Database> db
        = zelva::OpenDataForCommand(dataFolderOf(line), &messages, zelva::ChooseServer(line.server));
    for (const QString& message : messages)
        refuse(message);
    return db;
}

int addOperator(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    const std::unique_ptr<zelva::Database> db = openForCommand(line);
    if (!db)
        return 1;
    zelva::SetAuditOperator(QStringLiteral("(command line)"));
    QString error;
    const std::optional<QString> password = zelva::ReadNewPassword(line.operatorName, &error);
    if (!password)
        return refuse(error);
    try {
        const QString refusal = zelva::AddOperator(*db, line.operatorName, *password);
        if (!refusal.isEmpty())
            return refuse(refusal);
    } catch (const zelva::DataError& failure) {
        return refuse(failure.message());
    }
    printLine(stdout,
        QStringLiteral("Operator \"%1\" added to %2.")
            .arg(line.operatorName, db->onServer() ? db->serverUrl() : db->filePath(zelva::DbFile::Zlv)));
    return 0;
}

int backUp(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    if (!zelva::ChooseServer(QString()).isEmpty() && line.dataDir.isEmpty())
        return refuse(QStringLiteral("The settings keep the data on a database server; back it up there with "
                                     "pg_dump, or give --data-dir to back up a data folder."));
    QStringList messages;
    const bool made = zelva::BackUpForCommand(dataFolderOf(line), line.backupDir, &messages);
    for (const QString& message : messages)
        made ? printLine(stdout, message) : (void)refuse(message);
    return made ? 0 : 1;
}

// The data folder onto an empty server database; the folder is only read.
int copyToServer(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    const zelva::CopyOutcome outcome = zelva::CopyFolderToServer(dataFolderOf(line), line.copyTo);
    for (const QString& text : outcome.lines)
        outcome.copied ? printLine(stdout, text) : (void)refuse(text);
    return outcome.copied ? 0 : 1;
}

// Walks the audit trail's chain; only reads.
int verifyAuditTrail(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    const std::unique_ptr<zelva::Database> db = openForCommand(line);
    if (!db)
        return 1;
    try {
        const zelva::AuditVerdict verdict = zelva::VerifyAuditTrail(*db);
        if (!verdict.intact)
            return refuse(verdict.text());
        printLine(stdout, verdict.text());
        return 0;
    } catch (const zelva::DataError& failure) {
        return refuse(failure.message());
    }
}

// The month's documents against the portals' rules; only reads. Exit status 1
// when the portal would refuse something.
int checkReturn(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    const std::unique_ptr<zelva::Database> db = openForCommand(line);
    if (!db)
        return 1;
    try {
        const std::vector<zelva::ReturnFinding> findings
            = zelva::CheckReturnMonth(*db, zelva::MonthPeriod(line.returnYear, line.returnMonth), QDate::currentDate());
        for (const zelva::ReturnFinding& finding : findings)
            printLine(stdout, zelva::FindingLine(finding));
        printLine(stdout, zelva::FindingCounts(findings) + QLatin1Char('.'));
        return zelva::HasErrors(findings) ? 1 : 0;
    } catch (const zelva::DataError& failure) {
        return refuse(failure.message());
    }
}

// Without a display the windowing library would abort with advice to reinstall;
// say plainly what is missing instead.
bool displayMissing()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* variable : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        if (!qEnvironmentVariableIsEmpty(variable))
            return false;
    return true;
#else
    return false;
#endif
}

// zelva.exe is a console program, so that its command-line options print and
// their exit status counts; started from the Start menu it got a console
// window of its own, which the windows do not need.
void closeOwnConsole()
{
#ifdef Q_OS_WIN
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1)
        ::FreeConsole();
#endif
}

int run(int argc, char* argv[], const zelva::CommandLine& line)
{
    if (displayMissing())
        return refuse(QStringLiteral("No display to show the windows on (DISPLAY is not set); start the program "
                                     "on the desktop."));
    closeOwnConsole();
    QApplication app(argc, argv);
    QApplication::setWindowIcon(zelva::ProgramIcon());
    // The program ends through Cancel, Exit or the main window's close box only.
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<zelva::Database> db
        = zelva::OpenDataForWindows(dataFolderOf(line), zelva::ChooseServer(line.server));
    if (!db)
        return 1;
    frmLogin login(*db);
    login.show();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ZelvaBilling"));
    const zelva::CommandLine line = zelva::ParseCommandLine(argumentsOf(argc, argv));
    switch (line.action) {
    case zelva::CommandLine::Action::Error:
        return refuse(
            line.error + QStringLiteral(" See '") + QLatin1String(ProgramName) + QStringLiteral(" --help'."), 2);
    case zelva::CommandLine::Action::Help:
        std::fputs(zelva::HelpText(QLatin1String(ProgramName)).toLocal8Bit().constData(), stdout);
        return 0;
    case zelva::CommandLine::Action::Version:
        printLine(stdout, zelva::VersionText());
        return 0;
    case zelva::CommandLine::Action::AddOperator:
        return addOperator(argc, argv, line);
    case zelva::CommandLine::Action::Backup:
        return backUp(argc, argv, line);
    case zelva::CommandLine::Action::CopyToServer:
        return copyToServer(argc, argv, line);
    case zelva::CommandLine::Action::VerifyAuditTrail:
        return verifyAuditTrail(argc, argv, line);
    case zelva::CommandLine::Action::CheckReturn:
        return checkReturn(argc, argv, line);
    case zelva::CommandLine::Action::Run:
        break;
    }
    return run(argc, argv, line);
}
