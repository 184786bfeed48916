#pragma once
// A passing note for the operator that needs no answer (a scan ignored),
// shown in the main window's status bar; one function, so that tests record
// the notes and a form needs no main window to give one.
#include <QString>
#include <functional>

namespace zelva {

void StatusNote(const QString& text);
// Where the notes go (the main window's status bar); none: they are dropped.
void SetStatusNoteHandler(std::function<void(const QString&)> handler);

} // namespace zelva
