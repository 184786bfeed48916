#include "shell/startup.h"

#include "data/backup.h"
#include "data/datafolder.h"
#include "data/serverstore.h"
#include "ui/message.h"

#include <QDir>
#include <QSettings>

namespace zelva {

namespace {

// A failure says which folder, so the operator knows where to look (the
// default one is not obvious).
QString failureText(const DataError& failure, const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(QDir(folder).absolutePath());
    QString text = failure.message();
    if (!text.contains(shown))
        text += QStringLiteral(" (data folder %1)").arg(shown);
    return text;
}

} // namespace

QString FindingsText(const std::vector<Finding>& findings)
{
    QStringList texts;
    for (const Finding& finding : findings)
        texts << finding.text;
    return texts.join(QStringLiteral("\n\n"));
}

QString ChooseServer(const QString& commandLineServer)
{
    if (!commandLineServer.isEmpty())
        return commandLineServer;
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvaBilling"),
                             QStringLiteral("ZelvaBilling"));
    return settings.value(QLatin1String(ServerSettingsKey)).toString().trimmed();
}

std::unique_ptr<Database> OpenDataForWindows(const QString& folder, const QString& server)
{
    if (!server.isEmpty()) {
        try {
            return Database::openServer(server, folder);
        } catch (const DataError& failure) {
            MsgBox(failure.message());
            return nullptr;
        }
    }
    OpenOptions options;
    options.deferQuickCheck = true;
    bool declined = false;
    options.askToCreateMissing = [&](const QString& question) {
        declined = !AskYesNo(question);
        return !declined;
    };
    try {
        std::unique_ptr<Database> db = Database::open(folder, options);
        if (!db->findings().empty())
            MsgBox(FindingsText(db->findings()));
        return db;
    } catch (const DataError& failure) {
        if (!declined) // a No was the operator's own answer
            MsgBox(failureText(failure, folder));
        return nullptr;
    }
}

std::unique_ptr<Database> OpenDataForCommand(const QString& folder, QStringList* messages, const QString& server)
{
    if (!server.isEmpty()) {
        try {
            return Database::openServer(server, folder);
        } catch (const DataError& failure) {
            *messages << failure.message();
            return nullptr;
        }
    }
    try {
        std::unique_ptr<Database> db = Database::open(folder);
        for (const Finding& finding : db->findings())
            *messages << finding.text;
        return db;
    } catch (const DataError& failure) {
        *messages << failureText(failure, folder);
        return nullptr;
    }
}

bool BackUpForCommand(const QString& folder, const QString& target, QStringList* messages)
{
    QString made;
    try {
        made = BackUpData(folder, QDir(target).absolutePath());
    } catch (const DataError& failure) {
        *messages << failureText(failure, folder);
        return false;
    }
    *messages << QStringLiteral("Backup written to %1.").arg(QDir::toNativeSeparators(made));
    const QString problem = BackupProblem(made);
    if (!problem.isEmpty())
        *messages << QStringLiteral("But %1: the data folder holds a damaged file.").arg(problem);
    return problem.isEmpty();
}

} // namespace zelva
