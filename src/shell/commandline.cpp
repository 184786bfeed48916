#include "shell/commandline.h"

#include "shell/module1.h"

#include "registers/returncheck.h"

#include <QCommandLineParser>
#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace zelva {

namespace {

CommandLine failure(const QString& error)
{
    CommandLine line;
    line.action = CommandLine::Action::Error;
    line.error = error;
    return line;
}

// The single value of an option that takes one, or why it is unusable.
std::optional<QString> singleValue(
    const QCommandLineParser& parser, const QString& option, const QString& what, QString* error)
{
    const QStringList values = parser.values(option);
    if (values.isEmpty())
        return QString();
    if (values.size() > 1) {
        *error = QStringLiteral("--%1 is given more than once.").arg(option);
        return std::nullopt;
    }
    if (values.first().isEmpty()) {
        *error = QStringLiteral("--%1 needs %2.").arg(option, what);
        return std::nullopt;
    }
    return values.first();
}

#ifdef Q_OS_UNIX
// Turns the terminal's echo off for as long as it lives.
class EchoOff {
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &m_saved) != 0)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved {};
    bool m_active = false;
};

bool onTerminal() { return isatty(STDIN_FILENO); }
#elif defined(Q_OS_WIN)
// Turns the console's echo off for as long as it lives.
class EchoOff {
public:
    EchoOff()
        : m_input(::GetStdHandle(STD_INPUT_HANDLE))
    {
        if (::GetConsoleMode(m_input, &m_saved))
            m_active = ::SetConsoleMode(m_input, m_saved & ~DWORD(ENABLE_ECHO_INPUT)) != 0;
    }
    ~EchoOff()
    {
        if (m_active)
            ::SetConsoleMode(m_input, m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE m_input;
    DWORD m_saved = 0;
    bool m_active = false;
};

bool onTerminal() { return ::_isatty(::_fileno(stdin)) != 0; }
#else
struct EchoOff { };
bool onTerminal() { return false; }
#endif

// One line of standard input without its line end; std::nullopt at its end.
std::optional<QString> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

std::optional<QString> askHidden(const QString& prompt)
{
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::optional<QString> answer;
    {
        EchoOff quiet;
        answer = readLine();
    }
    std::fputs("\n", stderr);
    return answer;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, QString());
    const QCommandLineOption version({ QStringLiteral("v"), QStringLiteral("version") }, QString());
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption addOperator(QStringLiteral("add-operator"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption backup(QStringLiteral("backup"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption server(QStringLiteral("server"), QString(), QStringLiteral("URL"));
    const QCommandLineOption copyToServer(QStringLiteral("copy-to-server"), QString(), QStringLiteral("URL"));
    const QCommandLineOption verifyTrail(QStringLiteral("verify-audit-trail"), QString());
    const QCommandLineOption checkReturn(QStringLiteral("check-return"), QString(), QStringLiteral("MMYYYY"));
    parser.addOptions({ help, version, dataDir, addOperator, backup, server, copyToServer, verifyTrail, checkReturn });

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return failure(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));

    CommandLine line;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    QString error;
    const std::optional<QString> folder
        = singleValue(parser, QStringLiteral("data-dir"), QStringLiteral("a folder"), &error);
    if (!folder)
        return failure(error);
    const std::optional<QString> name
        = singleValue(parser, QStringLiteral("add-operator"), QStringLiteral("a user name"), &error);
    if (!name)
        return failure(error);
    const std::optional<QString> backupDir
        = singleValue(parser, QStringLiteral("backup"), QStringLiteral("a folder"), &error);
    if (!backupDir)
        return failure(error);
    const std::optional<QString> serverUrl
        = singleValue(parser, QStringLiteral("server"), QStringLiteral("the database's address"), &error);
    if (!serverUrl)
        return failure(error);
    const std::optional<QString> copyTo
        = singleValue(parser, QStringLiteral("copy-to-server"), QStringLiteral("the database's address"), &error);
    if (!copyTo)
        return failure(error);
    const std::optional<QString> returnMonth
        = singleValue(parser, QStringLiteral("check-return"), QStringLiteral("a month as MMYYYY"), &error);
    if (!returnMonth)
        return failure(error);
    const std::optional<Period> checkedMonth = ReadReturnMonth(*returnMonth);
    if (parser.isSet(checkReturn) && !checkedMonth)
        return failure(QStringLiteral("--check-return needs a month as MMYYYY (122026 for December 2026); \"%1\" is "
                                      "none.")
                           .arg(*returnMonth));
    if (parser.isSet(server) && parser.isSet(backup))
        return failure(QStringLiteral("--backup copies a data folder; back a server's database up with pg_dump."));
    if (parser.isSet(server) && parser.isSet(copyToServer))
        return failure(QStringLiteral("--copy-to-server copies a data folder; give the server's address to it alone."));
    if (int(parser.isSet(addOperator)) + int(parser.isSet(backup)) + int(parser.isSet(copyToServer))
            + int(parser.isSet(verifyTrail)) + int(parser.isSet(checkReturn))
        > 1)
        return failure(QStringLiteral("--add-operator, --backup, --copy-to-server, --verify-audit-trail and "
                                      "--check-return cannot be given together."));
    line.dataDir = *folder;
    line.operatorName = *name;
    line.backupDir = *backupDir;
    line.server = *serverUrl;
    line.copyTo = *copyTo;
    if (parser.isSet(addOperator))
        line.action = CommandLine::Action::AddOperator;
    if (parser.isSet(backup))
        line.action = CommandLine::Action::Backup;
    if (parser.isSet(copyToServer))
        line.action = CommandLine::Action::CopyToServer;
    if (parser.isSet(verifyTrail))
        line.action = CommandLine::Action::VerifyAuditTrail;
    if (checkedMonth) {
        line.action = CommandLine::Action::CheckReturn;
        line.returnYear = checkedMonth->from.year();
        line.returnMonth = checkedMonth->from.month();
    }
    return line;
}

// Shaped for help2man, which makes the manual page from it: the usage on one
// line, and at least two blanks between an option and its text.
QString HelpText(const QString& programName)
{
    return QStringLiteral("Usage: %1 [--data-dir DIR] [--server URL] [--add-operator NAME | --backup DIR | "
                          "--copy-to-server URL | --verify-audit-trail | --check-return MMYYYY]\n"
                          "Billing and stock for a business that charges GST.\n"
                          "\n"
                          "  --data-dir DIR        keep the data in DIR (created when missing); without it the\n"
                          "                        program's own folder when it holds ZLV.db, else the\n"
                          "                        per-user data folder\n"
                          "  --server URL          keep the data in a PostgreSQL database instead, shared by\n"
                          "                        several counters: postgresql://user@host:5432/shop (the\n"
                          "                        password from ~/.pgpass or PGPASSWORD); without it the\n"
                          "                        Data/Server entry of the settings, when there is one\n"
                          "  --add-operator NAME   add an operator who may log in, then end; the password is\n"
                          "                        read from standard input (asked twice, unseen, on a\n"
                          "                        terminal)\n"
                          "  --backup DIR          copy all the data files, as they stand at one moment, into\n"
                          "                        a new dated folder in DIR, then end (for a nightly job; the\n"
                          "                        program may be running meanwhile); exit status 1 when no\n"
                          "                        backup was made or a file in it is damaged\n"
                          "  --copy-to-server URL  copy the data folder into a new, empty PostgreSQL database\n"
                          "                        in one piece, check that every table there agrees with\n"
                          "                        its file, then end; the folder is left as it is. Exit\n"
                          "                        status 1 when nothing was copied (the database already\n"
                          "                        holds data, or the copy differs: it is then undone)\n"
                          "  --verify-audit-trail  walk the audit trail's hash chain and say the first entry\n"
                          "                        that does not hold, or that it is intact with its count\n"
                          "                        and first and last times, then end; exit status 1 on a\n"
                          "                        break\n"
                          "  --check-return MMYYYY\n"
                          "                        check every invoice, note and bill of the month (122026:\n"
                          "                        December 2026) and its GSTR-1 file against the GST\n"
                          "                        portals' rules, one finding a line on standard output,\n"
                          "                        then end; exit status 1 when the portal would refuse\n"
                          "                        something (an error), 0 otherwise\n"
                          "  -h, --help            show this help and end\n"
                          "  -v, --version         show the version and end\n"
                          "\n"
                          "Without --add-operator the program shows its login window; on a data folder\n"
                          "without operators that window sets up the first one.\n"
                          "\n"
                          "Files:\n"
                          "  ~/.local/share/ZelvaBilling  the per-user data folder: ZLV.db and Database/*.db;\n"
                          "                               installing, upgrading or removing the program\n"
                          "                               leaves it as it is\n"
                          "  ~/.config/ZelvaBilling/ZelvaBilling.ini\n"
                          "                               the user's settings (Tools menu; Data/Server: the\n"
                          "                               server's URL, as --server takes it)\n")
        .arg(programName);
}

QString VersionText() { return QStringLiteral("Zelva Billing System %1").arg(ApplicationVersion()); }

std::optional<QString> ReadNewPassword(const QString& userName, QString* error)
{
    if (!onTerminal()) {
        std::optional<QString> password = readLine();
        if (!password)
            *error = QStringLiteral("No password on standard input.");
        return password;
    }
    const std::optional<QString> first = askHidden(QStringLiteral("Password for %1: ").arg(userName));
    if (!first) {
        *error = QStringLiteral("No password typed.");
        return std::nullopt;
    }
    const std::optional<QString> second = askHidden(QStringLiteral("Type it again: "));
    if (!second || *second != *first) {
        *error = QStringLiteral("The two passwords differ; nothing was added.");
        return std::nullopt;
    }
    return first;
}

} // namespace zelva
