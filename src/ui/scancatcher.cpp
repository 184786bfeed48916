#include "ui/scancatcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace zelva {

namespace {

QString textOf(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        return plain->toPlainText();
    return {};
}

void setTextOf(QWidget* box, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setPlainText(text);
}

} // namespace

ScanCatcher::ScanCatcher(QWidget* root, QWidget* box, Handler handler, std::function<bool()> anywhere)
    : QObject(root)
    , m_root(root)
    , m_box(box)
    , m_handler(std::move(handler))
    , m_anywhere(std::move(anywhere))
{
    // The application's filter sees a key before the box it goes to does,
    // and before the form's own filters.
    qApp->installEventFilter(this);
}

bool ScanCatcher::watching(QObject* watched) const
{
    // A key a box ignores goes on to its parents: only its first receiver counts.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    if (widget == m_box)
        return true;
    return widget->hasFocus() && m_root->isAncestorOf(widget) && m_anywhere();
}

void ScanCatcher::restoreTypedInto()
{
    if (m_typedInto && textOf(m_typedInto) != m_textBefore)
        setTextOf(m_typedInto, m_textBefore);
}

// The gap between two keys as the keyboard sent them (the events' time
// stamps), not as the program got round to them: a goods list busy with a
// key must not turn a scan into typing. Keys without a stamp are timed as
// they arrive.
bool ScanCatcher::gapBefore(const QKeyEvent* key)
{
    const quint64 stamp = key->timestamp();
    const bool stamped = stamp != 0 && m_lastStamp != 0;
    const bool gap = stamped ? stamp < m_lastStamp || stamp - m_lastStamp > quint64(ScanKeyGapMs)
                             : !m_sinceKey.isValid() || m_sinceKey.elapsed() > ScanKeyGapMs;
    m_lastStamp = stamp;
    m_sinceKey.start();
    return gap;
}

bool ScanCatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watching(watched))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool gap = gapBefore(key);
    if (enter) {
        const QString code = m_code;
        m_code.clear();
        if (gap || code.size() < ShortestScan || !m_handler(code))
            return QObject::eventFilter(watched, event);
        restoreTypedInto();
        return true;
    }
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_code.clear();
        return QObject::eventFilter(watched, event);
    }
    if (m_code.isEmpty() || gap) { // a new code starts here
        m_code.clear();
        m_typedInto = qobject_cast<QWidget*>(watched);
        m_textBefore = textOf(m_typedInto);
    }
    m_code += text;
    return QObject::eventFilter(watched, event);
}

} // namespace zelva
