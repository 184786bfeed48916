#include "reports/frmsalesreport.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/shownvalues.h"
#include "platform/datetext.h"
#include "registers/gstr1.h"
#include "registers/registersheets.h"
#include "reports/frmreturncheck.h"
#include "sales/invoicecancel.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

QStringList figureTexts(const SalesFigures& f, bool grouped)
{
    return { ShownAmountText(f.taxable, grouped), ShownAmountText(f.tax.cgst, grouped),
        ShownAmountText(f.tax.sgst, grouped), ShownAmountText(f.tax.igst, grouped), ShownAmountText(f.total, grouped) };
}

// A cancelled invoice's line: no value, and the mark where its total would be.
QStringList cancelledTexts() { return { {}, {}, {}, {}, QObject::tr("CANCELLED") }; }

// Every day an invoice can carry: the register of "all" sales.
const Period AllDays { QDate(1, 1, 1), QDate(9999, 12, 31) };

QString periodText(const std::optional<Period>& days)
{
    if (!days)
        return QObject::tr("All invoices");
    const QString format = QStringLiteral("dd/MM/yyyy");
    return QObject::tr("From %1 to %2").arg(days->from.toString(format), days->to.toString(format));
}

QString monthText(const QDate& month) { return QLocale::c().toString(month, QStringLiteral("MMMM yyyy")); }

std::vector<PeriodColumn> salesColumns()
{
    using P = ReportPeriod;
    return {
        { nullptr, {},
            { { "optAll", QObject::tr("&All Sales"), P::All }, { "optToday", QObject::tr("To&day's Sales"), P::Today },
                { "optYesterday", QObject::tr("&Yesterday's Sales"), P::Yesterday },
                { "optSalesBetween", QObject::tr("Sales &Between"), P::Between } } },
        { nullptr, {},
            { { "optCurrentMonth", QObject::tr("Current &Month Sales"), P::CurrentMonth },
                { "optPreviousMonth", QObject::tr("Previ&ous Month Sales"), P::PreviousMonth },
                { "optCurrentYear", QObject::tr("Current Y&ear"), P::CurrentYear } } },
    };
}

} // namespace

frmSalesReport::frmSalesReport(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , choice(new PeriodChoice(salesColumns(), this))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the invoices of the period")))
    , grdRegister(NewTableGrid(this, "grdRegister"))
    , lblReturnMonth(new QLabel(this))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdSaveXlsx(NewButton(this, "cmdSaveXlsx", tr("Save as E&xcel"), tr("An .xlsx workbook for the accountant")))
    , cmdSaveReturn(NewButton(this, "cmdSaveReturn", tr("Save &GST return (JSON)"),
          tr("The month's return of outward supplies for the GST portal's offline tool")))
    , cmdMarkFiled(NewButton(this, "cmdMarkFiled", tr("Mark Return &Filed"),
          tr("The month's return is filed on the portal: its invoices can then no longer be cancelled")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Sales Report"));
    lblReturnMonth->setObjectName(QStringLiteral("lblReturnMonth"));
    lblReturnMonth->setTextFormat(Qt::PlainText);
    lblReturnMonth->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdShow);
    buttons->addWidget(cmdClose);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(choice);
    top->addStretch();
    top->addLayout(buttons);
    auto* commands = new QHBoxLayout;
    commands->addWidget(lblReturnMonth, 1);
    for (QPushButton* button : { cmdPrint, cmdSaveCsv, cmdSaveXlsx, cmdSaveReturn, cmdMarkFiled })
        commands->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(grdRegister, 1);
    column->addLayout(commands);
    resize(1000, 600);

    connect(cmdShow, &QPushButton::clicked, this, &frmSalesReport::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
        [this] { OpenTableReport(this, registerTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), SalesRegisterCsv(m_register));
    });
    connect(cmdSaveXlsx, &QPushButton::clicked, this,
        [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), SalesRegisterSheet(m_register)); });
    connect(cmdSaveReturn, &QPushButton::clicked, this, &frmSalesReport::cmdSaveReturn_Click);
    connect(cmdMarkFiled, &QPushButton::clicked, this, &frmSalesReport::cmdMarkFiled_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    choice->option(ReportPeriod::CurrentMonth)->setChecked(true);
    cmdShow_Click();
}

void frmSalesReport::cmdShow_Click()
{
    std::optional<Period> days;
    if (choice->chosenDays(QDate::currentDate(), days)) // else told; the register shown stays
        showDays(days);
}

void frmSalesReport::showDays(const std::optional<Period>& days)
{
    SalesRegister salesRegister;
    if (!Guarded<DataError>([&] { salesRegister = LoadSalesRegister(m_db, days.value_or(AllDays)); }))
        return; // told; the grid keeps what it showed
    m_days = days;
    m_register = std::move(salesRegister);
    ShowTable(grdRegister, registerTable());
    showReturnMonth();
}

void frmSalesReport::showReturnMonth()
{
    const std::optional<QDate> month = returnMonth();
    std::optional<FiledReturn> filed;
    if (month)
        Guarded<DataError>([&] { filed = ReturnFiled(m_db, month->year(), month->month()); });
    cmdSaveReturn->setEnabled(month.has_value());
    cmdMarkFiled->setEnabled(month && !filed);
    if (!month)
        lblReturnMonth->setText(tr("GST return: show one calendar month (current month, previous month, or "
                                   "between the first and the last day of a month)"));
    else if (filed)
        lblReturnMonth->setText(tr("GST return: %1, filed (marked on %2 by %3)").arg(monthText(*month), filed->on, filed->by));
    else
        lblReturnMonth->setText(tr("GST return: %1").arg(monthText(*month)));
}

void frmSalesReport::cmdMarkFiled_Click()
{
    const std::optional<QDate> month = returnMonth();
    if (!month || !cmdMarkFiled->isEnabled())
        return;
    if (!AskYesNo(tr("Is the GST return of %1 filed on the portal?\n\nYes marks it filed: its invoices can then no "
                     "longer be cancelled, only corrected by a credit or debit note.")
                      .arg(monthText(*month))))
        return;
    Guarded<DataError>([&] {
        MarkReturnFiled(m_db, month->year(), month->month(), { DateText(QDate::currentDate()), m_operator });
    });
    showReturnMonth();
}

TableReport frmSalesReport::registerTable() const
{
    TableReport table;
    table.caption = tr("Sales Register");
    table.title = tr("Sales Register");
    table.subtitle = periodText(m_days);
    // Wide enough for amounts of twelve digits before the point; printed landscape.
    table.columns
        = { { tr("Invoice No."), 1000 }, { tr("Date"), 1000 }, { tr("Buyer"), 2300 }, { tr("Buyer GSTIN"), 1600 },
              { tr("Place of Supply"), 1500 }, { tr("Taxable Value"), 1400, true }, { tr("CGST"), 1400, true },
              { tr("SGST"), 1400, true }, { tr("IGST"), 1400, true }, { tr("Invoice Total"), 1400, true } };
    const bool grouped = IndianDigitGrouping();
    table.lines.reserve(m_register.lines.size());
    for (const RegisterLine& line : m_register.lines)
        table.lines.push_back(
            QStringList { line.number, line.dateText, line.buyer, line.buyerGstin, line.placeOfSupply }
            + (line.cancelled ? cancelledTexts() : figureTexts(line.figures, grouped)));
    table.totals = QStringList { tr("Total"), InvoiceCountText(m_register.totals), {}, {}, {} }
        + figureTexts(m_register.totals, grouped);
    return table;
}

bool frmSalesReport::saveCsv(const QString& path) const { return SaveCsv(path, SalesRegisterCsv(m_register)); }

bool frmSalesReport::saveXlsx(const QString& path) const { return SaveXlsx(path, SalesRegisterSheet(m_register)); }

QString frmSalesReport::fileName() const
{
    if (!m_days)
        return tr("Sales Register all");
    return tr("Sales Register %1 to %2").arg(m_days->from.toString(Qt::ISODate), m_days->to.toString(Qt::ISODate));
}

std::optional<QDate> frmSalesReport::returnMonth() const
{
    if (!m_days)
        return std::nullopt;
    const Period month = MonthPeriod(m_days->from.year(), m_days->from.month());
    if (m_days->from != month.from || m_days->to != month.to)
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
    if (!path.isEmpty() && saveReturn(path))
        cmdMarkFiled_Click(); // asked now, while the operator has the return in hand
}

bool frmSalesReport::saveReturn(const QString& path) const
{
    const std::optional<QDate> month = returnMonth();
    if (!month) {
        MsgBox(tr("The GST return is made for one calendar month: choose Current Month Sales, Previous Month Sales "
                  "or Sales Between the first and the last day of a month, then Show."));
        return false;
    }
    std::vector<ReturnFinding> findings;
    if (!Guarded<DataError>([&] {
            findings = FindingsForFile(CheckReturnMonth(m_db, MonthPeriod(month->year(), month->month()),
                                           QDate::currentDate()), PortalFileKind::Gstr1);
        }) || !GoOnAfterCheck(findings, tr("GST return of %1").arg(monthText(*month))))
        return false;
    const Gstr1File file = SaveGstr1(m_db, month->year(), month->month(), path);
    if (!file.ok()) {
        MsgBox(file.error);
        return false;
    }
    QString told = tr("The GST return of %1 is saved in %2.").arg(monthText(*month), QDir::toNativeSeparators(path));
    if (!file.warnings.isEmpty())
        told += tr("\n\nLook at these before filing:\n") + file.warnings.join(QLatin1Char('\n'));
    MsgBox(told);
    return true;
}

} // namespace zelva
