#include "shell/module1.h"

#include "data/audittrail.h"

#include <QCoreApplication>

namespace zelva {

namespace {
QString& loggedInUser()
{
    static QString user;
    return user;
}

EndProgramHook& endHook()
{
    static EndProgramHook hook;
    return hook;
}
} // namespace

QString LoggedInUser() { return loggedInUser(); }

void SetLoggedInUser(const QString& userName)
{
    loggedInUser() = userName;
    SetAuditOperator(userName); // the trail names who did each change
}

void EndProgram()
{
    if (endHook()) {
        endHook()();
        return;
    }
    // exit(), not quit(): quit() would first ask every window to close.
    QCoreApplication::exit(0);
}

void SetEndProgramHook(EndProgramHook hook) { endHook() = std::move(hook); }

QString ApplicationVersion() { return QStringLiteral(ZELVA_VERSION); }

} // namespace zelva
