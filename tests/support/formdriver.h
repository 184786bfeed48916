#pragma once
// Helpers for tests that work a form as an operator does: type, click, pick,
// read the messages shown, and read back what the database files hold.
#include "support/testdata.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStringList>
#include <functional>

namespace testing {

// Records every message the program shows instead of showing a dialog.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QStringList texts() const;
    QString last() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    void clear();

private:
    QStringList m_texts;
};

// Answers every question the program asks with `yes`, noting the questions.
class Answers {
public:
    explicit Answers(bool yes = false);
    ~Answers();
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
    bool yes;
    QStringList asked;
};

// The child of root with that objectName and type; nullptr when absent.
template <typename T>
T* child(QObject* root, const QString& name)
{
    return root->findChild<T*>(name);
}

// The same, for a control the test cannot go on without.
template <typename T = QLineEdit>
T* need(QObject* root, const QString& name)
{
    T* found = child<T>(root, name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The label shows its text as typed: "<b>Bold</b> Co" is never shown in bold as "Bold Co".
bool showsAsTyped(const QLabel* label);

// Focus the box, select what is there and type the text key by key.
void typeInto(QLineEdit* box, const QString& text);
void typeInto(QPlainTextEdit* box, const QString& text);
// Give the widget the keyboard focus, then take it away again (LostFocus).
void focusIn(QWidget* widget);
void focusOut(QWidget* widget);
void click(QAbstractButton* button);
// Runs the step; each modal dialog it brings up is handed to act, which
// answers it (and so lets the step go on).
void withModal(const std::function<void()>& step, const std::function<void(QDialog*)>& act);
// Picks the entry with that text as the operator does (fires activated).
bool pick(QComboBox* combo, const QString& text);
// Picks list row k (fires itemClicked).
void pickRow(QListWidget* list, int row);
// The entries a list offers, in order.
QStringList itemsOf(const QComboBox* list);
QStringList itemsOf(const QListWidget* list);

} // namespace testing
