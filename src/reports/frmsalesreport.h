#pragma once
// The Sales Report window: the sales register of a period (one line per
// invoice with its buyer, GSTIN, place of supply, taxable value, taxes and
// total; the period's totals at the end), previewed, printed and saved as PDF
// through the report engine, saved as CSV and as an Excel workbook, and the month's GST return of
// outward supplies saved as the JSON file the GST portal's offline tool takes.
//
// The period is chosen as on the purchase report (all, today, yesterday,
// between two dates, this month, last month, this year; counted from the day
// Show is pressed) and the window opens on this month. The return is of one
// whole calendar month: its button is available only while the register
// shown covers exactly one (this month, last month, or between the first and
// the last day of a month), and the line beside it says which month or what
// to choose, and whether its return is marked filed. Mark Return Filed (also
// offered after the return is saved) marks it, after a Yes: the month's
// invoices can then no longer be cancelled.
#include "reports/periodchoice.h"
#include "registers/salesregister.h"
#include "reports/tablereport.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmSalesReport : public QWidget {
    Q_OBJECT
public:
    // operatorName: who marks a return filed.
    explicit frmSalesReport(Database& db, QString operatorName = {}, QWidget* parent = nullptr);

    PeriodChoice* choice;
    QPushButton* cmdShow;
    QTableView* grdRegister;
    QLabel* lblReturnMonth;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveXlsx;
    QPushButton* cmdSaveReturn;
    QPushButton* cmdMarkFiled;
    QPushButton* cmdClose;

    // The days the register shown covers; nullopt: every invoice.
    const std::optional<Period>& days() const { return m_days; }
    TableReport registerTable() const;

    // Writes the register as CSV; false (told) when it cannot.
    bool saveCsv(const QString& path) const;
    // Writes the register as an Excel workbook; false (told) when it cannot.
    bool saveXlsx(const QString& path) const;
    // Writes the return of the month shown; false (told why) when the register
    // is not of one calendar month, the company has no valid GSTIN, the month
    // has no invoices or the file cannot be written.
    bool saveReturn(const QString& path) const;
    // The first day of the month shown when the register is of one whole calendar month.
    std::optional<QDate> returnMonth() const;

private:
    void cmdShow_Click();
    void showDays(const std::optional<Period>& days);
    void showReturnMonth();
    void cmdSaveReturn_Click();
    // The register's file name, without its extension.
    QString fileName() const;
    // Asks whether the month shown is filed and marks it so on a Yes.
    void cmdMarkFiled_Click();

    Database& m_db;
    QString m_operator;
    std::optional<Period> m_days;
    SalesRegister m_register;
};

} // namespace zelva
