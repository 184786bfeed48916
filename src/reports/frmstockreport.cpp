#include "reports/frmstockreport.h"

#include "data/dataerror.h"
#include "reports/reportlayouts.h"
#include "ui/guard.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace zelva;

frmStockReport::frmStockReport(Database& db, QWidget* reportArea, QWidget* parent)
    : ReportSelection(db, reportArea, tr("Current Stock"), tr("Stock Report"), parent)
    , optAllItems(addBand("optAllItems", tr("&All Items"), StockBand::All))
    , optItemsWithZero(addBand("optItemsWithZero", tr("Items having &0 balance"), StockBand::Zero))
    , optItemsWithinTen(addBand("optItemsWithinTen", tr("Items having Quantity Between &1 to 10"), StockBand::OneToTen))
    , optItemsWithinFifty(
          addBand("optItemsWithinFifty", tr("Items having Quantity Between 11 to &50"), StockBand::ElevenToFifty))
{
    setObjectName(QStringLiteral("frmStockReport"));
    optAllItems->setChecked(true);
}

QRadioButton* frmStockReport::addBand(const char* name, const QString& caption, StockBand band)
{
    auto* option = new QRadioButton(caption, fracommand);
    option->setObjectName(QString::fromLatin1(name));
    options()->addWidget(option);
    connect(option, &QRadioButton::toggled, this, [this, band](bool checked) {
        if (checked)
            m_band = band;
    });
    return option;
}

std::optional<report::ReportRows> frmStockReport::reportRows() { return AsReportRows(StockReportRows(db(), m_band)); }

report::ReportLayout frmStockReport::reportLayout(const report::ReportRows& rows) const
{
    return StockReportLayout(rows);
}

ReportWindow* zelva::OpenNillStockReport(Database& db, QWidget* reportArea)
{
    QueryRows rows;
    if (!Guarded<DataError>([&] { rows = StockReportRows(db, StockBand::NoneOnHand); }))
        return nullptr;
    report::ReportRows shown = AsReportRows(std::move(rows));
    report::ReportLayout layout = StockReportLayout(shown, QObject::tr("Stock Report for Nill Item"));
    return OpenReportOrTell(reportArea, std::move(layout), std::move(shown), db.folder());
}
