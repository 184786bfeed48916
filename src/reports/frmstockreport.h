#pragma once
// The stock report's selection form: all items or one quantity band; and the
// Nill Item report, which needs no choice.
#include "registers/reportqueries.h"
#include "reports/reportselection.h"
#include "reports/tablereport.h"
#include "sales/reorderlevel.h"

class QRadioButton;

class frmStockReport : public zelva::ReportSelection {
    Q_OBJECT
public:
    frmStockReport(zelva::Database& db, QWidget* reportArea, QWidget* parent = nullptr);

    zelva::StockBand band() const { return m_band; }

    QRadioButton* optAllItems;
    QRadioButton* optItemsWithZero;
    QRadioButton* optItemsWithinTen;
    QRadioButton* optItemsWithinFifty;
    // the items at or below their reorder level, with the shortfall and the last purchase
    QRadioButton* optBelowReorderLevel;

protected:
    std::optional<zelva::report::ReportRows> reportRows() override;
    zelva::report::ReportLayout reportLayout(const zelva::report::ReportRows& rows) const override;

private:
    QRadioButton* addBand(const char* name, const QString& caption, zelva::StockBand band);

    zelva::StockBand m_band = zelva::StockBand::All;
    bool m_belowReorder = false;
    zelva::TableReport m_belowTable; // as last read, when m_belowReorder
};

namespace zelva {
class ReportWindow;

// The Stock Report for Nill Item: the items with nothing on hand
// (StockBand::NoneOnHand) in a report window of the stock report's layout in
// the window area. nullptr when there is none (" Nothing to show") or the
// stock cannot be read (told).
ReportWindow* OpenNillStockReport(Database& db, QWidget* reportArea);
// The items at or below their reorder level as the report's table.
TableReport BelowReorderLevelTable(const std::vector<BelowReorderItem>& items);
} // namespace zelva
