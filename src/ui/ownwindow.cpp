#include "ui/ownwindow.h"

#include <QMdiSubWindow>

namespace zelva {

void CloseOwnWindow(QWidget* form)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

} // namespace zelva
