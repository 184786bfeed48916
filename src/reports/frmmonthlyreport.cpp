#include "reports/frmmonthlyreport.h"

#include "data/dataerror.h"
#include "platform/textnum.h"
#include "registers/reportqueries.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

using namespace zelva;

namespace {

// Whole numbers (year, month, count) as they are; amounts as "##.00".
QStandardItem* cellOf(const QVariant& value)
{
    QString text = value.toString();
    if (value.typeId() == QMetaType::Double)
        text = FormatAmount(value.toDouble());
    auto* cell = new QStandardItem(text);
    cell->setEditable(false);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong
        || value.typeId() == QMetaType::Int)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

} // namespace

frmMonthlyReport::frmMonthlyReport(Database& db, QWidget* parent)
    : QWidget(parent)
    , lblTitle(new QLabel(tr("Monthly Report"), this))
    , cmdShow(new QPushButton(tr("Show"), this))
    , dbgMonthlyReport(new QTableView(this))
    , m_db(db)
    , m_model(new QStandardItemModel(this))
{
    setWindowTitle(tr("Monthly Report"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setMinimumHeight(cmdShow->sizeHint().height() * 2);
    dbgMonthlyReport->setObjectName(QStringLiteral("dbgMonthlyReport"));
    dbgMonthlyReport->setModel(m_model);
    dbgMonthlyReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgMonthlyReport->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblTitle, 0, 0);
    layout->addWidget(cmdShow, 0, 1);
    layout->addWidget(dbgMonthlyReport, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    resize(1120, 650);

    connect(cmdShow, &QPushButton::clicked, this, &frmMonthlyReport::cmdShow_Click);
}

void frmMonthlyReport::cmdShow_Click() { SetMonthlyReportDatabase(); }

// Reads the summary afresh; the grid is left as it was when it cannot be read.
void frmMonthlyReport::SetMonthlyReportDatabase()
{
    MonthlyRows monthly;
    if (!Guarded<DataError>([&] { monthly = MonthlyReportRows(m_db); }))
        return;
    m_model->clear();
    m_model->setHorizontalHeaderLabels(monthly.columns);
    for (const QVariantList& row : monthly.rows) {
        QList<QStandardItem*> cells;
        for (const QVariant& value : row)
            cells << cellOf(value);
        m_model->appendRow(cells);
    }
    if (monthly.rows.empty()) {
        MsgBox(tr(" Nothing to show"));
        return;
    }
    dbgMonthlyReport->setCurrentIndex(m_model->index(0, 0));
}
