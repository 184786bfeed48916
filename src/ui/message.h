#pragma once
// The one way the program tells the operator something (a modal box with OK)
// or asks a question (Yes / No).
#include <QString>
#include <functional>

class QWidget;

namespace zelva {

// The application's title, used when a message names no title of its own.
QString ApplicationTitle();

// Shows text with only an OK button; title defaults to the application's title.
void MsgBox(const QString& text, const QString& title = QString());

// Tests install a hook that records messages instead of showing a dialog.
using MessageHook = std::function<void(const QString& text, const QString& title)>;
void SetMessageHook(MessageHook hook);

// Asks a question with Yes and No (No is the default); true for Yes.
bool AskYesNo(const QString& text, const QString& title = QString());

// Tests install a hook that answers instead of showing a dialog.
using QuestionHook = std::function<bool(const QString& text, const QString& title)>;
void SetQuestionHook(QuestionHook hook);

} // namespace zelva
