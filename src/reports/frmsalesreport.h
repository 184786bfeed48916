#pragma once
// The Sales Report window: the sales register of a period (one line per
// invoice with its buyer, GSTIN, place of supply, taxable value, taxes and
// total; the period's totals at the end), previewed, printed and saved as PDF
// through the report engine, saved as CSV, and the month's GST return of
// outward supplies saved as the JSON file the GST portal's offline tool takes.
// The return is made for a period that is one whole calendar month.
#include "reports/salesregister.h"
#include "reports/tablereport.h"

#include <QWidget>
#include <optional>

class QDateEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class Database;

class frmSalesReport : public QWidget {
    Q_OBJECT
public:
    explicit frmSalesReport(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdShow;
    QTableWidget* grdRegister;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveReturn;
    QPushButton* cmdClose;

    // The period the register shows.
    const Period& period() const { return m_register.period; }
    // Chooses the period and shows its register (as Show does).
    void showPeriod(const Period& period);
    TableReport registerTable() const;

    // Writes the register as CSV; false (told) when it cannot.
    bool saveCsv(const QString& path) const;
    // Writes the return of the period's month; false (told why) when the period
    // is not one calendar month, the company has no valid GSTIN, the month has
    // no invoices or the file cannot be written.
    bool saveReturn(const QString& path) const;
    // The month of the period when it is one whole calendar month.
    std::optional<QDate> returnMonth() const;

private:
    void cmdShow_Click();
    void cmdSaveReturn_Click();

    Database& m_db;
    SalesRegister m_register;
};

} // namespace zelva
