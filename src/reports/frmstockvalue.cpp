#include "reports/frmstockvalue.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "platform/shownvalues.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/guard.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace zelva {

namespace {

QString dayText(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

} // namespace

frmStockValue::frmStockValue(Database& db, QWidget* parent)
    : TableReportWindow(db, parent)
    , dtpAsAt(NewDateBox(this, "dtpAsAt", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the stock and its value as at the day")))
    , lblMethod(Named(new QLabel(this), QStringLiteral("lblMethod")))
    , grdStockValue(NewTableGrid(this, "grdStockValue"))
{
    setWindowTitle(tr("Stock Value"));
    lblMethod->setTextFormat(Qt::PlainText);
    auto* choice = new QHBoxLayout;
    AddLabelled(this, choice, tr("&As at"), dtpAsAt);
    choice->addWidget(cmdShow);
    choice->addWidget(lblMethod, 1);
    layOut(choice, grdStockValue);

    connect(cmdShow, &QPushButton::clicked, this, &frmStockValue::cmdShow_Click);
    cmdShow_Click();
}

void frmStockValue::cmdShow_Click()
{
    StockValue report;
    if (!Guarded<DataError>([&] { report = LoadStockValue(m_db, dtpAsAt->date()); }))
        return;
    m_report = std::move(report);
    lblMethod->setText(noteText());
    ShowTable(grdStockValue, stockValueTable());
}

QString frmStockValue::noteText() const
{
    QString note = StockValueMethod() + '.';
    if (m_report.withoutCost == 1)
        note += tr(" 1 item on hand has no cost: it is not valued.");
    else if (m_report.withoutCost > 1)
        note += tr(" %1 items on hand have no cost: they are not valued.").arg(m_report.withoutCost);
    return note;
}

TableReport frmStockValue::stockValueTable() const
{
    TableReport table;
    table.caption = tr("Stock Value");
    table.title = tr("Stock Value as at %1").arg(dayText(m_report.asAt));
    table.subtitle = noteText();
    table.columns = {{tr("Item Code"), 1000},      {tr("Item Name"), 2800},      {tr("Per"), 700},
                     {tr("Opening"), 900, true},   {tr("Purchased"), 900, true}, {tr("Sold"), 900, true},
                     {tr("Issued"), 900, true},    {tr("On Hand"), 900, true},   {tr("Cost per Unit"), 1200, true},
                     {tr("Value"), 1400, true}};
    const bool grouped = IndianDigitGrouping();
    table.lines.reserve(m_report.lines.size());
    for (const StockValueLine& line : m_report.lines)
        table.lines.push_back({line.itemCode, line.itemName, line.per, Str(line.opening), Str(line.purchased),
                               Str(line.sold), Str(line.issued), Str(line.onHand),
                               line.unitCost ? ShownAmountText(*line.unitCost, grouped) : tr("no cost"),
                               line.unitCost ? ShownAmountText(line.value, grouped) : QString()});
    table.totals = QStringList{tr("Total"), {}, {}, {}, {}, {}, {}, {}, {}, ShownAmountText(m_report.total, grouped)};
    return table;
}

QString frmStockValue::reportCsv() const { return StockValueCsv(m_report); }
XlsxSheet frmStockValue::reportSheet() const { return StockValueSheet(m_report); }

QString frmStockValue::fileName() const
{
    return tr("Stock Value %1").arg(m_report.asAt.toString(Qt::ISODate));
}

} // namespace zelva
