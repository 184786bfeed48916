#pragma once
// The main window's status bar at the counter: how many stock items are at
// or below their reorder level (counted again whenever a window comes to the
// front or closes), and the passing notes of the forms (StatusNote).
class QMdiArea;
class QStatusBar;

namespace zelva {

class Database;

void ShowCounterStatus(QStatusBar* bar, QMdiArea* area, Database& db);

} // namespace zelva
