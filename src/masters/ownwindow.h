#pragma once
// A form's Close button, shared by the master, invoice and stock-movement
// forms: inside the main window's work area it closes the form's own child
// window (no empty frame stays behind); standing alone, the form itself.
class QWidget;

namespace zelva {

void CloseOwnWindow(QWidget* form);

} // namespace zelva
