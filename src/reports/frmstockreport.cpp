#include "reports/frmstockreport.h"

#include "data/dataerror.h"
#include "platform/textnum.h"
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
    , optBelowReorderLevel(addBand("optBelowReorderLevel", tr("Items &Below Reorder Level"), StockBand::All))
{
    connect(optBelowReorderLevel, &QRadioButton::toggled, this, [this](bool checked) { m_belowReorder = checked; });
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

std::optional<report::ReportRows> frmStockReport::reportRows()
{
    if (!m_belowReorder)
        return AsReportRows(StockReportRows(db(), m_band));
    m_belowTable = BelowReorderLevelTable(LoadBelowReorderLevel(db()));
    return TableRows(m_belowTable);
}

report::ReportLayout frmStockReport::reportLayout(const report::ReportRows& rows) const
{
    return m_belowReorder ? TableLayout(m_belowTable) : StockReportLayout(rows);
}

TableReport zelva::BelowReorderLevelTable(const std::vector<BelowReorderItem>& items)
{
    TableReport table;
    table.caption = QObject::tr("Below Reorder Level");
    table.title = QObject::tr("Items Below Reorder Level");
    table.columns = {{QObject::tr("Item Code"), 1300},     {QObject::tr("Item Name"), 3200},
                     {QObject::tr("Quantity"), 1100, true}, {QObject::tr("Reorder Level"), 1300, true},
                     {QObject::tr("Shortfall"), 1100, true}, {QObject::tr("Last Supplier"), 2600},
                     {QObject::tr("Last Rate"), 1100, true}};
    for (const BelowReorderItem& item : items)
        table.lines.push_back({item.itemCode, item.itemName, Str(item.quantity), Str(item.level), Str(item.shortfall()),
                               item.lastSupplier, item.lastSupplier.isEmpty() ? QString() : FormatAmount(item.lastRate)});
    return table;
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
