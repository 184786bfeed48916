#include "support/formdriver.h"

#include "ui/message.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace testing {

MessageRecorder::MessageRecorder()
{
    zelva::SetMessageHook([this](const QString& text, const QString&) { m_texts << text; });
}

MessageRecorder::~MessageRecorder()
{
    zelva::SetMessageHook({});
}

QStringList MessageRecorder::texts() const { return m_texts; }

void MessageRecorder::clear() { m_texts.clear(); }

Answers::Answers(bool yes)
    : yes(yes)
{
    zelva::SetQuestionHook([this](const QString& text, const QString&) {
        asked << text;
        return this->yes;
    });
}

Answers::~Answers()
{
    zelva::SetQuestionHook({});
}

bool showsAsTyped(const QLabel* label)
{
    return label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text());
}

void focusIn(QWidget* widget)
{
    QWidget* window = widget->window();
    if (!window->isVisible())
        window->show();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void focusOut(QWidget* widget)
{
    if (widget->hasFocus())
        widget->clearFocus();
    QApplication::processEvents();
}

void typeInto(QLineEdit* box, const QString& text)
{
    focusIn(box);
    box->selectAll();
    if (!box->isReadOnly())
        box->del();
    QTest::keyClicks(box, text);
}

void typeInto(QPlainTextEdit* box, const QString& text)
{
    focusIn(box);
    box->selectAll();
    if (!box->isReadOnly())
        box->textCursor().removeSelectedText();
    QTest::keyClicks(box, text);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

void withModal(const std::function<void()>& step, const std::function<void(QDialog*)>& act)
{
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(dialog);
    });
    watcher.start();
    step();
}

bool pick(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    QApplication::processEvents();
    return true;
}

void pickRow(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    QApplication::processEvents();
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace testing
