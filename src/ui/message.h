#pragma once
// The one way the program tells the operator something: a modal box with OK.
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

} // namespace zelva
