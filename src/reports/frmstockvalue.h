#pragma once
// The Stock Value window: each item for sale as at a chosen day with its
// opening stock, purchases, sales and issues up to the day, what is on hand
// and its value at cost (registers/stockvalue.h), with the total. It
// previews, prints and saves as PDF through the report engine, and saves as
// CSV and as an Excel workbook.
#include "registers/stockvalue.h"
#include "reports/tablereportwindow.h"

class QDateEdit;
class QLabel;

namespace zelva {

class frmStockValue : public TableReportWindow {
    Q_OBJECT
public:
    explicit frmStockValue(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpAsAt;
    QPushButton* cmdShow;
    QLabel* lblMethod; // how the stock is valued, and the items without a cost
    QTableView* grdStockValue;

    const StockValue& shown() const { return m_report; }
    TableReport stockValueTable() const;

private:
    void cmdShow_Click();
    QString noteText() const;
    TableReport reportTable() const override { return stockValueTable(); }
    QString reportCsv() const override;
    XlsxSheet reportSheet() const override;
    QString fileName() const override;

    StockValue m_report;
};

} // namespace zelva
