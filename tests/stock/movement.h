#pragma once
// A purchase or an issue begun as the storekeeper begins it: the option, the
// item picked from the list by its text, New.
#include "support/formdriver.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace testing {

inline void startMovement(QWidget* form, const QString& option, const QString& item)
{
    form->show();
    click(need<QRadioButton>(form, option));
    auto* list = need<QListWidget>(form, "lstName");
    const auto found = list->findItems(item, Qt::MatchExactly);
    if (found.isEmpty())
        qFatal("no item %s in the list", qPrintable(item));
    pickRow(list, list->row(found.first()));
    click(need<QPushButton>(form, "cmdNew"));
}

} // namespace testing
