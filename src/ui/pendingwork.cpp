#include "ui/pendingwork.h"

#include "ui/message.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>
#include <QWidget>

namespace zelva {

QList<QWidget*> FormsWithPendingWork(const QList<QWidget*>& forms)
{
    QList<QWidget*> pending;
    for (QWidget* form : forms)
        if (auto* work = dynamic_cast<PendingWork*>(form); work && work->hasPendingWork())
            pending << form;
    return pending;
}

bool MayLeaveForms(const QList<QWidget*>& forms)
{
    const QList<QWidget*> pending = FormsWithPendingWork(forms);
    if (pending.isEmpty())
        return true;
    QStringList names;
    for (const QWidget* form : pending)
        names << form->windowTitle();
    const QString question = QStringLiteral("The work in %1 is not saved. Leave without saving it?");
    if (AskYesNo(question.arg(names.join(QStringLiteral(", ")))))
        return true;
    QWidget* first = pending.first();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(first->parentWidget()); frame && frame->mdiArea())
        frame->mdiArea()->setActiveSubWindow(frame);
    first->activateWindow();
    return false;
}

} // namespace zelva
