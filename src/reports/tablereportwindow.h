#pragma once
// The pattern every window over a table report shares (Outstanding,
// Payables, Statement of Account, Cash Book, Supplier Statement, Stock
// Value): a choice line with its Show button above the grid, and beneath it
// Print (the report window over the table: preview, print, PDF), Save as
// CSV, Save as Excel (each offered under the window's file name in the
// Prints folder) and Close. Each window states its choice line, its table,
// its CSV text and sheet; the buttons and their work live here once.
#include "reports/tablereport.h"

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QTableView;

namespace zelva {

class Database;
class XlsxSheet;

class TableReportWindow : public QWidget {
    Q_OBJECT
public:
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdSaveCsv = nullptr;
    QPushButton* cmdSaveXlsx = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    TableReportWindow(Database& db, QWidget* parent);
    // Makes the buttons (after the window's own boxes, so Tab reaches them
    // last), lays out the choice line, the grid taking the room left and the
    // buttons at the foot, and sets the buttons to work; the buttons' line
    // is returned, for a window that puts more beside them.
    QHBoxLayout* layOut(QHBoxLayout* choice, QTableView* grid);

    // What each window shows and saves, as it stands.
    virtual TableReport reportTable() const = 0;
    virtual QString reportCsv() const = 0;
    virtual XlsxSheet reportSheet() const = 0;
    virtual QString fileName() const = 0;

    Database& m_db;
};

// A caption with the box it leads to (its access key), added to the line.
void AddLabelled(QWidget* form, QHBoxLayout* line, const QString& caption, QWidget* box);

} // namespace zelva
