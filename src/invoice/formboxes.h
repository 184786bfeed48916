#pragma once
// Small helpers for the boxes and lists of the invoice forms: the text of any
// kind of box, filling a blank one, and the kinds of list the forms use.
#include <QString>

class QComboBox;
class QWidget;

namespace zelva {

// What the pre-save check writes into a blank box that must not stay blank.
inline const QString NotApplicable = QStringLiteral("N.A.");

template <typename T>
T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// The shown text of a line box, a box of several lines or a list.
QString TextOf(const QWidget* box);
// A list that is not editable takes the text only when it is one of its entries.
void SetTextOf(QWidget* box, const QString& text);
void FillIfEmpty(QWidget* box, const QString& text);

// No entry chosen and nothing shown.
void ClearCombo(QComboBox* combo);
// The operator may type another text; what is typed is not added to the list.
void MakeTypable(QComboBox* combo);
// Long lists must not be measured entry by entry.
void MakeLongList(QComboBox* combo);

} // namespace zelva
