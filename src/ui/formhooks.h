#pragma once
// Keyboard and focus behaviour any form can take on: its buttons' access keys
// winning over the main window's menus, handlers run when the focus leaves a
// box, and turning a control on or off as a form's state table says.
#include <QObject>
#include <functional>
#include <map>

class QComboBox;
class QEvent;
class QWidget;

namespace zelva {

// The main window's menus have access keys of their own, and Alt+U is both
// the Update menu and the Update button: Qt would open the menu, or only
// focus the button. Called first from a form's event(): on a ShortcutOverride
// that is the access key of one of the form's enabled, shown buttons, presses
// that button and returns true (the form then returns true too).
bool PressButtonForAccessKey(QWidget* form, QEvent* event);

// LostFocus handlers of a form's boxes. Keep it as a member of the form, so
// no handler runs once the form is being taken down.
class LostFocusHooks : public QObject {
public:
    // Runs handler when the focus leaves box.
    void add(QWidget* box, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<QObject*, std::function<void()>> m_handlers;
};

// The arrow keys walk a closed list without picking: its activated signal
// (the operator's choice, which may fill in a buyer's details and move the
// focus on) waits for Enter or Tab, or for a shortcut pressed in the list
// (Alt+S saves the entry shown, with what its choice computes). Leaving the
// list any other way puts back the entry last picked. A click in the open
// list picks at once, as ever.
void PickOnEnterOrTab(QComboBox* list);

// Called from a form's destructor: the signals of its boxes and buttons stop
// reaching it. Qt takes the children down after the form's own part is gone,
// and a box losing the focus then (editingFinished) would run a handler of
// the half-destroyed form.
void DisconnectChildren(QObject* form);

// How an event leaves a control in a form's state table; Keep is the table's
// dash. For a list On unlocks and Off locks.
enum class Turn { Keep, On, Off, OnShown, OffHidden };
void TurnControl(QWidget* control, Turn how);

} // namespace zelva
