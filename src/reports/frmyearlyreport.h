#pragma once
// The Yearly Report window: for a financial year (April to March, the current
// one when it opens) the month-by-month sales with the year's totals, and
// below it the HSN-wise summary of the year. Each table is printed through the
// report engine and saved as CSV for a spreadsheet. Every figure comes from
// the saved invoices; the window writes nothing to them.
#include "registers/salesregister.h"
#include "reports/tablereport.h"

#include <QWidget>

class QComboBox;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmYearlyReport : public QWidget {
    Q_OBJECT
public:
    explicit frmYearlyReport(Database& db, QWidget* parent = nullptr);

    QComboBox* cboYear;
    QTableView* grdMonths;
    QTableView* grdHsn;
    QPushButton* cmdPrintMonths;
    QPushButton* cmdSaveMonthsCsv;
    QPushButton* cmdPrintHsn;
    QPushButton* cmdSaveHsnCsv;
    QPushButton* cmdClose;

    // The financial year shown, by the calendar year it starts in.
    int startYear() const { return m_summary.startYear; }
    // Writes the month grid or the HSN summary as CSV; false (told) when it cannot.
    bool saveMonthsCsv(const QString& path) const;
    bool saveHsnCsv(const QString& path) const;
    // The two tables as they are shown and printed.
    TableReport monthsTable() const;
    TableReport hsnTable() const;

private:
    void cboYear_Click();
    void showYear(int startYear);

    Database& m_db;
    YearlySummary m_summary;
    std::vector<HsnLine> m_hsn;
};

} // namespace zelva
