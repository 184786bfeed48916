// Start-up: read the command line, open (creating what is missing) the data
// folder's database files, then show the login window, or add an operator.
#include "data/database.h"
#include "data/datafolder.h"
#include "shell/commandline.h"
#include "shell/frmLogin.h"
#include "shell/icons.h"
#include "shell/operators.h"
#include "ui/message.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

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

std::unique_ptr<zelva::Database> openData(const QString& dataDirOption, QString* error)
{
    const QString folder = zelva::ChooseDataFolder(dataDirOption, QCoreApplication::applicationDirPath());
    try {
        return zelva::Database::open(folder);
    } catch (const zelva::DataError& failure) {
        // Say which folder, so the operator knows where to look (the default one is not obvious).
        const QString shown = QDir::toNativeSeparators(folder);
        *error = failure.message();
        if (!error->contains(shown))
            *error += QStringLiteral(" (data folder %1)").arg(shown);
        return nullptr;
    }
}

int addOperator(int argc, char* argv[], const zelva::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    QString error;
    const std::unique_ptr<zelva::Database> db = openData(line.dataDir, &error);
    if (!db)
        return refuse(error);
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
        QStringLiteral("Operator \"%1\" added to %2.").arg(line.operatorName, db->filePath(zelva::DbFile::Zlv)));
    return 0;
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

int run(int argc, char* argv[], const zelva::CommandLine& line)
{
    if (displayMissing())
        return refuse(QStringLiteral("No display to show the windows on (DISPLAY is not set); start the program "
                                     "on the desktop."));
    QApplication app(argc, argv);
    QApplication::setWindowIcon(zelva::ProgramIcon());
    // The program ends through Cancel, Exit or the main window's close box only.
    QApplication::setQuitOnLastWindowClosed(false);
    QString error;
    const std::unique_ptr<zelva::Database> db = openData(line.dataDir, &error);
    if (!db) {
        refuse(error);
        zelva::MsgBox(error);
        return 1;
    }
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
    case zelva::CommandLine::Action::Run:
        break;
    }
    return run(argc, argv, line);
}
