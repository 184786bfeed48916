#pragma once
// The GSTR-3B worksheet window of one month (last month when it opens): the
// form's tables in the portal's order and numbering, each figure traceable
// (a double-click on a row lists the documents behind it), printed or saved
// as PDF through the report engine, saved as CSV.
#include "registers/gstr3b.h"
#include "reports/tablereport.h"

#include <QWidget>

class QDateEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

// A month box (mm/yyyy) for the returns' windows.
QDateEdit* NewMonthBox(QWidget* parent, const char* name, const QDate& month);

class frmGstr3b : public QWidget {
    Q_OBJECT
public:
    explicit frmGstr3b(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpMonth;
    QPushButton* cmdShow;
    QTableView* grdWorksheet;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdClose;

    const Gstr3b& worksheet() const { return m_worksheet; }
    TableReport worksheetTable() const;
    bool saveCsv(const QString& path) const;

public slots:
    void cmdShow_Click();
    // Lists the documents behind the row's figure.
    void grdWorksheet_DblClick(const QModelIndex& index);

private:
    Database& m_db;
    Gstr3b m_worksheet;
};

} // namespace zelva
