#include "ui/formhooks.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
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

} // namespace

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

} // namespace zelva
