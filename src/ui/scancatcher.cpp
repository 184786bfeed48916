#include "ui/scancatcher.h"

#include "ui/formboxes.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace zelva {

namespace {

// The boxes whose typing is undone when the code typed into them is taken;
// a list that is not editable keeps the entry the scan chose.
bool typable(const QWidget* box)
{
    if (auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(box) || qobject_cast<const QPlainTextEdit*>(box);
}

bool modifierOnly(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
        return true;
    default:
        return false;
    }
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
    if (!widget->hasFocus())
        return false;
    // While a code is being taken its message may hold the focus: the next
    // scan goes there.
    return m_taking || (m_root->isAncestorOf(widget) && m_anywhere());
}

// The gap between two keys as the keyboard sent them (the events' time
// stamps), not as the program got round to them: a goods list busy with a
// key must not turn a scan into typing. Keys without a stamp are timed as
// they arrive.
bool ScanCatcher::gapBefore(const QKeyEvent* key, int longestGap)
{
    const quint64 stamp = key->timestamp();
    const bool stamped = stamp != 0 && m_lastStamp != 0;
    const bool gap = stamped ? stamp < m_lastStamp || stamp - m_lastStamp > quint64(longestGap)
                             : !m_sinceKey.isValid() || m_sinceKey.elapsed() > longestGap;
    m_lastStamp = stamp;
    m_sinceKey.start();
    return gap;
}

bool ScanCatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watching(watched))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (modifierOnly(key))
        return QObject::eventFilter(watched, event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool gap = gapBefore(key, enter ? ScanEnterGapMs : ScanKeyGapMs);
    if (enter)
        return codeEnded(gap) || QObject::eventFilter(watched, event);
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_code.clear();
        return QObject::eventFilter(watched, event);
    }
    if (m_code.isEmpty() || gap) { // a new code starts here
        m_code.clear();
        m_typedInto = qobject_cast<QWidget*>(watched);
        m_textBefore = typable(m_typedInto) ? TextOf(m_typedInto) : QString();
    }
    m_code += text;
    // A scan typed into the message of the code before presses none of its
    // buttons (a button's access key may be a letter of the code).
    const bool intoMessage = m_taking && !m_root->isAncestorOf(static_cast<QWidget*>(watched));
    return intoMessage || QObject::eventFilter(watched, event);
}

// True when Enter ended a scan that is taken (or kept to be taken): it then goes no further.
bool ScanCatcher::codeEnded(bool gap)
{
    const Scan scan{m_code, m_typedInto, m_textBefore};
    m_code.clear();
    if (gap || scan.code.size() < ShortestScan)
        return false;
    if (m_taking) {
        m_waiting.push_back(scan);
        return true;
    }
    const bool taken = take(scan);
    while (!m_waiting.empty()) {
        const Scan next = m_waiting.front();
        m_waiting.pop_front();
        take(next);
    }
    return taken;
}

bool ScanCatcher::take(const Scan& scan)
{
    m_taking = true;
    const bool taken = m_handler(scan.code);
    m_taking = false;
    if (taken && scan.typedInto && typable(scan.typedInto) && TextOf(scan.typedInto) != scan.textBefore)
        SetTextOf(scan.typedInto, scan.textBefore);
    return taken;
}

} // namespace zelva
