#include "reports/frmstockvalue.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/shownvalues.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/ownwindow.h"

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
    : QWidget(parent)
    , dtpAsAt(NewDateBox(this, "dtpAsAt", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the stock and its value as at the day")))
    , lblMethod(Named(new QLabel(this), QStringLiteral("lblMethod")))
    , grdStockValue(NewTableGrid(this, "grdStockValue"))
    , m_db(db)
{
    setWindowTitle(tr("Stock Value"));
    lblMethod->setTextFormat(Qt::PlainText);
    const ReportButtons b = NewReportButtons(this);
    cmdPrint = b.print;
    cmdSaveCsv = b.csv;
    cmdSaveXlsx = b.xlsx;
    cmdClose = b.close;
    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(tr("&As at"), this);
    label->setBuddy(dtpAsAt);
    choice->addWidget(label);
    choice->addWidget(dtpAsAt);
    choice->addWidget(cmdShow);
    choice->addWidget(lblMethod, 1);
    LayOutReportWindow(this, choice, grdStockValue, b);

    connect(cmdShow, &QPushButton::clicked, this, &frmStockValue::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, stockValueTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this,
            [this] { AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), StockValueCsv(m_report)); });
    connect(cmdSaveXlsx, &QPushButton::clicked, this,
            [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), StockValueSheet(m_report)); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
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

QString frmStockValue::fileName() const
{
    return tr("Stock Value %1").arg(m_report.asAt.toString(Qt::ISODate));
}

} // namespace zelva
