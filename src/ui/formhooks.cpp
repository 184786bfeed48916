#include "ui/formhooks.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace zelva {

namespace {

// Eats the key press that follows a shortcut taken over by the form, so the
// key that pressed a button is not also typed into the box with the focus.
class KeyPressEater : public QObject {
public:
    explicit KeyPressEater(QWidget* target)
        : QObject(target)
    {
        target->installEventFilter(this);
        QTimer::singleShot(0, this, &QObject::deleteLater); // only the press that comes at once
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        deleteLater();
        return true;
    }
};

// Walks a closed list by the arrow keys, picking only on Enter or Tab.
class ListWalker : public QObject {
public:
    explicit ListWalker(QComboBox* list)
        : QObject(list)
        , m_list(list)
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            return keyPressed(*static_cast<QKeyEvent*>(event));
        // A shortcut (Alt+S, Alt+P, a menu's key) acts with the focus left in
        // the list: the entry shown is picked first, so that what is saved or
        // printed is the entry shown, with what its choice computes.
        if (event->type() == QEvent::ShortcutOverride && m_walking && isShortcut(*static_cast<QKeyEvent*>(event)))
            pick();
        if (event->type() == QEvent::FocusOut && m_walking) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                putBack();
        }
        return false;
    }

private:
    bool keyPressed(QKeyEvent& key)
    {
        switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: pick(); return false; // Enter then moves on as the form leads it
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // A pick that moved the focus on has done what Tab would do.
            return pick() && !m_list->hasFocus();
        default: break;
        }
        if (!movesTheChoice(key))
            return false;
        // The list moves as it would, without telling anyone it was picked.
        const int before = m_list->currentIndex();
        const QString beforeText = m_list->currentText();
        {
            const QSignalBlocker quiet(m_list);
            static_cast<QObject*>(m_list)->event(&key);
        }
        if (!m_walking && m_list->currentIndex() != before) {
            m_walking = true;
            m_pickedIndex = before;
            m_pickedText = beforeText;
        }
        return true;
    }

    // The keys by which a closed list changes its choice: the arrows and, in
    // a list that cannot be typed into, Home, End and the first letters.
    bool movesTheChoice(const QKeyEvent& key) const
    {
        if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) // Alt+Down opens the list
            return false;
        switch (key.key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        case Qt::Key_Home:
        case Qt::Key_End: return !m_list->isEditable();
        default: return !m_list->isEditable() && !key.text().isEmpty() && key.text().at(0).isPrint();
        }
    }

    // A key with Alt or Ctrl, other than Alt+Up or Alt+Down, which open the list.
    static bool isShortcut(const QKeyEvent& key)
    {
        if (!(key.modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
            return false;
        return key.key() != Qt::Key_Up && key.key() != Qt::Key_Down && key.key() != Qt::Key_Alt
            && key.key() != Qt::Key_Control;
    }

    bool pick()
    {
        if (!m_walking)
            return false;
        m_walking = false;
        emit m_list->activated(m_list->currentIndex());
        return true;
    }

    void putBack()
    {
        m_walking = false;
        m_list->setCurrentIndex(m_pickedIndex);
        if (m_list->isEditable())
            m_list->setEditText(m_pickedText);
    }

    QComboBox* m_list;
    bool m_walking = false;
    int m_pickedIndex = -1;
    QString m_pickedText;
};

} // namespace

void PickOnEnterOrTab(QComboBox* list)
{
    new ListWalker(list);
}

bool PressButtonForAccessKey(QWidget* form, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (QPushButton* button : form->findChildren<QPushButton*>()) {
        if (button->isEnabled() && button->isVisibleTo(form) && QKeySequence::mnemonic(button->text()) == pressed) {
            if (QWidget* focus = QApplication::focusWidget())
                new KeyPressEater(focus);
            event->accept();
            button->animateClick();
            return true;
        }
    }
    return false;
}

void LostFocusHooks::add(QWidget* box, std::function<void()> handler)
{
    m_handlers[box] = std::move(handler);
    box->installEventFilter(this);
}

bool LostFocusHooks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto handler = m_handlers.find(watched);
        if (handler != m_handlers.end())
            handler->second();
    }
    return QObject::eventFilter(watched, event);
}

void TurnControl(QWidget* control, Turn how)
{
    switch (how) {
    case Turn::Keep: return;
    case Turn::On: control->setEnabled(true); return;
    case Turn::Off: control->setEnabled(false); return;
    case Turn::OnShown: control->setEnabled(true); control->setVisible(true); return;
    case Turn::OffHidden: control->setEnabled(false); control->setVisible(false); return;
    }
}

void DisconnectChildren(QObject* form)
{
    for (QObject* child : form->findChildren<QObject*>())
        QObject::disconnect(child, nullptr, form, nullptr);
}

} // namespace zelva
