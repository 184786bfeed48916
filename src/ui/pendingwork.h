#pragma once
// What the main window asks of its working forms before the program ends:
// whether the operator is in the middle of something not yet saved (a new or
// edited record, an invoice, a purchase or an issue being entered). A form
// joins by deriving from PendingWork beside its widget class.
#include <QList>
#include <QString>

class QWidget;

namespace zelva {

class PendingWork {
public:
    virtual ~PendingWork() = default;
    // True while work has been started on the form and neither saved nor cancelled.
    virtual bool hasPendingWork() = 0;
};

// The forms among these that have pending work, in the order given.
QList<QWidget*> FormsWithPendingWork(const QList<QWidget*>& forms);

// Asked once before the program ends while any of the forms has pending work:
// true when the operator chooses to leave without saving (or nothing is
// pending); false brings the first such form to the front for the operator.
bool MayLeaveForms(const QList<QWidget*>& forms);

} // namespace zelva
