#include "invoice/formboxes.h"

#include "masters/masterform.h"

#include <QComboBox>
#include <QListView>

namespace zelva {

QString TextOf(const QWidget* box)
{
    if (auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->currentText();
    return BoxText(box);
}

void SetTextOf(QWidget* box, const QString& text)
{
    auto* combo = qobject_cast<QComboBox*>(box);
    if (!combo)
        SetBoxText(box, text);
    else if (combo->isEditable())
        combo->setEditText(text);
    else
        combo->setCurrentIndex(combo->findText(text));
}

void FillIfEmpty(QWidget* box, const QString& text)
{
    if (TextOf(box).isEmpty())
        SetTextOf(box, text);
}

void ClearCombo(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->clearEditText();
}

void MakeTypable(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
}

void MakeLongList(QComboBox* combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(20);
    combo->setMaxVisibleItems(20);
    if (auto* view = qobject_cast<QListView*>(combo->view()))
        view->setUniformItemSizes(true);
}

} // namespace zelva
