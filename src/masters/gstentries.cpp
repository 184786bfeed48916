#include "masters/gstentries.h"

#include "gst/gststates.h"
#include "ui/formboxes.h"
#include "ui/message.h"

#include <QCoreApplication>
#include <QStringList>

namespace zelva {

QString GstEntryProblems(const QWidget* gstinBox, const QWidget* stateBox)
{
    QStringList problems;
    if (gstinBox) {
        const QString warning = CheckGstin(TextOf(gstinBox)).warning();
        if (!warning.isEmpty())
            problems << warning;
    }
    if (stateBox && !IsNoGstin(TextOf(stateBox))) // "N.A." or blank: no State typed
        if (const QString problem = StateProblem(TextOf(stateBox)); !problem.isEmpty())
            problems << problem;
    if (gstinBox && stateBox)
        if (const QString problem = GstinStateProblem(TextOf(gstinBox), TextOf(stateBox)); !problem.isEmpty())
            problems << problem;
    return problems.join(QLatin1Char('\n'));
}

bool AcceptGstEntries(const QWidget* gstinBox, const QWidget* stateBox)
{
    const QString problems = GstEntryProblems(gstinBox, stateBox);
    return problems.isEmpty()
        || AskYesNo(problems + QCoreApplication::translate("zelva", "\n\nSave anyway?"),
            QCoreApplication::translate("zelva", "GSTIN and State"));
}

} // namespace zelva
