#pragma once
// The Close button of every form and report window (masters, invoices, stock
// movements, reports): inside the main window's work area it closes the
// form's own child window (no empty frame stays behind); standing alone, the
// form itself.
class QWidget;

namespace zelva {

void CloseOwnWindow(QWidget* form);

} // namespace zelva
