#pragma once
// The stock report's selection form: all items or one quantity band.
#include "reports/reportqueries.h"
#include "reports/reportselection.h"

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

protected:
    std::optional<zelva::report::ReportRows> reportRows() override;
    zelva::report::ReportLayout reportLayout() const override;

private:
    QRadioButton* addBand(const char* name, const QString& caption, zelva::StockBand band);

    zelva::StockBand m_band = zelva::StockBand::All;
};
