#pragma once
// The month-by-month invoice summary in a read-only grid: Show reads it
// afresh; with no invoices saved the grid stays empty and says so.
#include "data/database.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

class frmMonthlyReport : public QWidget {
    Q_OBJECT
public:
    explicit frmMonthlyReport(zelva::Database& db, QWidget* parent = nullptr);

    QLabel* lblTitle;
    QPushButton* cmdShow;
    QTableView* dbgMonthlyReport;

    void cmdShow_Click();

private:
    void SetMonthlyReportDatabase();

    zelva::Database& m_db;
    QStandardItemModel* m_model;
};
