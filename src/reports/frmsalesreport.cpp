#include "reports/frmsalesreport.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "reports/gstr1.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelva {

namespace {

QStringList figureTexts(const SalesFigures& f)
{
    return { ShownAmountText(f.taxable), ShownAmountText(f.cgst), ShownAmountText(f.sgst), ShownAmountText(f.igst), ShownAmountText(f.total) };
}

QString periodText(const Period& period)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    return QObject::tr("From %1 to %2").arg(period.from.toString(format), period.to.toString(format));
}

} // namespace

frmSalesReport::frmSalesReport(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", QDate()))
    , dtpTo(NewDateBox(this, "dtpTo", QDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the invoices of the period")))
    , grdRegister(new QTableWidget(this))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as &CSV"), tr("For a spreadsheet")))
    , cmdSaveReturn(NewButton(this, "cmdSaveReturn", tr("Save GST &return (JSON)"),
          tr("The month's return of outward supplies for the GST portal's offline tool")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Sales Report"));
    grdRegister->setObjectName(QStringLiteral("grdRegister"));

    auto* choice = new QHBoxLayout;
    for (auto [caption, box] : { std::pair { tr("&From"), dtpFrom }, std::pair { tr("&To"), dtpTo } }) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choice->addWidget(label);
        choice->addWidget(box);
    }
    choice->addWidget(cmdShow);
    choice->addStretch();
    choice->addWidget(cmdClose);
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    for (QPushButton* button : { cmdPrint, cmdSaveCsv, cmdSaveReturn })
        commands->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdRegister, 1);
    column->addLayout(commands);
    resize(1000, 600);

    connect(cmdShow, &QPushButton::clicked, this, &frmSalesReport::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
        [this] { OpenTableReport(this, registerTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        const QString name = tr("Sales Register %1 to %2.csv")
                                 .arg(period().from.toString(Qt::ISODate), period().to.toString(Qt::ISODate));
        AskAndSaveCsv(this, m_db.folder(), name, SalesRegisterCsv(m_register));
    });
    connect(cmdSaveReturn, &QPushButton::clicked, this, &frmSalesReport::cmdSaveReturn_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseReportForm(this); });
    const QDate today = QDate::currentDate();
    showPeriod(MonthPeriod(today.year(), today.month()));
}

void frmSalesReport::cmdShow_Click()
{
    if (dtpFrom->date() > dtpTo->date()) {
        MsgBox(tr("The period ends before it begins: choose a From date on or before the To date."));
        return;
    }
    showPeriod({ dtpFrom->date(), dtpTo->date() });
}

void frmSalesReport::showPeriod(const Period& period)
{
    dtpFrom->setDate(period.from);
    dtpTo->setDate(period.to);
    SalesRegister salesRegister;
    if (!Guarded<DataError>([&] { salesRegister = LoadSalesRegister(m_db, period); }))
        return; // told; the grid keeps what it showed
    m_register = std::move(salesRegister);
    ShowTable(grdRegister, registerTable());
}

TableReport frmSalesReport::registerTable() const
{
    TableReport table;
    table.caption = tr("Sales Register");
    table.title = tr("Sales Register");
    table.subtitle = periodText(period());
    table.columns
        = { { tr("Invoice No."), 1000 }, { tr("Date"), 1000 }, { tr("Buyer"), 2300 }, { tr("Buyer GSTIN"), 1700 },
              { tr("Place of Supply"), 1500 }, { tr("Taxable Value"), 1200, true }, { tr("CGST"), 1000, true },
              { tr("SGST"), 1000, true }, { tr("IGST"), 1000, true }, { tr("Invoice Total"), 1200, true } };
    for (const RegisterLine& line : m_register.lines)
        table.lines.push_back(
            QStringList { line.number, line.dateText, line.buyer, line.buyerGstin, line.placeOfSupply }
            + figureTexts(line.figures));
    table.totals = QStringList { tr("Total"), tr("%n invoice(s)", nullptr, m_register.totals.invoices), {}, {}, {} }
        + figureTexts(m_register.totals);
    return table;
}

bool frmSalesReport::saveCsv(const QString& path) const { return SaveCsv(path, SalesRegisterCsv(m_register)); }

std::optional<QDate> frmSalesReport::returnMonth() const
{
    const Period month = MonthPeriod(period().from.year(), period().from.month());
    if (period().from != month.from || period().to != month.to)
        return std::nullopt;
    return month.from;
}

void frmSalesReport::cmdSaveReturn_Click()
{
    const std::optional<QDate> month = returnMonth();
    if (!month) {
        saveReturn({}); // tells the operator to choose one month
        return;
    }
    const QString folder = PrintsFolder(m_db.folder());
    QDir().mkpath(folder);
    const QString name = QStringLiteral("GSTR1 %1.json").arg(month->toString(QStringLiteral("MM-yyyy")));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save GST return (JSON)"), QDir(folder).filePath(name), tr("JSON files (*.json)"));
    if (!path.isEmpty())
        saveReturn(path);
}

bool frmSalesReport::saveReturn(const QString& path) const
{
    const std::optional<QDate> month = returnMonth();
    if (!month) {
        MsgBox(tr("The GST return is made for one month: choose a period from the first to the last day of a "
                  "month, then Show."));
        return false;
    }
    const Gstr1File file = SaveGstr1(m_db, month->year(), month->month(), path);
    if (!file.ok()) {
        MsgBox(file.error);
        return false;
    }
    QString told = tr("The GST return of %1 is saved in %2.")
                       .arg(QLocale::c().toString(*month, QStringLiteral("MMMM yyyy")), QDir::toNativeSeparators(path));
    if (!file.warnings.isEmpty())
        told += tr("\n\nLook at these before filing:\n") + file.warnings.join(QLatin1Char('\n'));
    MsgBox(told);
    return true;
}

} // namespace zelva
