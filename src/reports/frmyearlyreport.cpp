#include "reports/frmyearlyreport.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/shownvalues.h"
#include "platform/textnum.h"
#include "registers/registersheets.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/ownwindow.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

constexpr int YearsOffered = 10; // the current financial year and the nine before it

QStringList figureTexts(const SalesFigures& f, bool grouped)
{
    return { QString::number(f.invoices), QString::number(f.cancelled), ShownAmountText(f.taxable, grouped),
        ShownAmountText(f.tax.cgst, grouped), ShownAmountText(f.tax.sgst, grouped), ShownAmountText(f.tax.igst, grouped),
        ShownAmountText(f.total, grouped) };
}

QString monthName(const QDate& firstDay) { return QLocale::c().toString(firstDay, QStringLiteral("MMMM yyyy")); }

} // namespace

frmYearlyReport::frmYearlyReport(Database& db, QWidget* parent)
    : QWidget(parent)
    , cboYear(new QComboBox(this))
    , grdMonths(NewTableGrid(this, "grdMonths"))
    , grdHsn(NewTableGrid(this, "grdHsn"))
    , cmdPrintMonths(NewButton(this, "cmdPrintMonths", tr("&Print Months"), tr("Preview and print the months")))
    , cmdSaveMonthsCsv(NewButton(this, "cmdSaveMonthsCsv", tr("Save Months as CS&V"), tr("For a spreadsheet")))
    , cmdSaveMonthsXlsx(NewButton(
          this, "cmdSaveMonthsXlsx", tr("Save Months as E&xcel"), tr("An .xlsx workbook for the accountant")))
    , cmdPrintHsn(NewButton(this, "cmdPrintHsn", tr("Print HS&N Summary"), tr("Preview and print the HSN summary")))
    , cmdSaveHsnCsv(NewButton(this, "cmdSaveHsnCsv", tr("Save HSN as C&SV"), tr("For a spreadsheet")))
    , cmdSaveHsnXlsx(
          NewButton(this, "cmdSaveHsnXlsx", tr("Save HSN as Exce&l"), tr("An .xlsx workbook for the accountant")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Yearly Report"));
    cboYear->setObjectName(QStringLiteral("cboYear"));
    const int current = FinancialYearOf(QDate::currentDate());
    for (int year = current; year > current - YearsOffered; --year)
        cboYear->addItem(FinancialYearText(year), year);

    auto* choice = new QHBoxLayout;
    auto* yearLabel = new QLabel(tr("Financial &Year"), this);
    yearLabel->setBuddy(cboYear);
    choice->addWidget(yearLabel);
    choice->addWidget(cboYear);
    choice->addStretch();
    choice->addWidget(cmdClose);
    const auto buttons = [](QPushButton* print, QPushButton* csv, QPushButton* xlsx) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(print);
        row->addWidget(csv);
        row->addWidget(xlsx);
        return row;
    };
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdMonths, 3);
    column->addLayout(buttons(cmdPrintMonths, cmdSaveMonthsCsv, cmdSaveMonthsXlsx));
    column->addWidget(new QLabel(tr("HSN-wise summary of the year"), this));
    column->addWidget(grdHsn, 2);
    column->addLayout(buttons(cmdPrintHsn, cmdSaveHsnCsv, cmdSaveHsnXlsx));
    resize(900, 680);

    connect(cboYear, &QComboBox::activated, this, &frmYearlyReport::cboYear_Click);
    const QString prints = PrintsFolder(m_db.folder());
    connect(
        cmdPrintMonths, &QPushButton::clicked, this, [this, prints] { OpenTableReport(this, monthsTable(), prints); });
    connect(cmdPrintHsn, &QPushButton::clicked, this, [this, prints] { OpenTableReport(this, hsnTable(), prints); });
    const auto fileName = [this](const char* what) {
        return QStringLiteral("%1 %2").arg(QLatin1String(what), FinancialYearText(startYear()));
    };
    const QString csv = QStringLiteral(".csv");
    connect(cmdSaveMonthsCsv, &QPushButton::clicked, this, [this, fileName, csv] {
        AskAndSaveCsv(this, m_db.folder(), fileName("Yearly Report") + csv, YearlySummaryCsv(m_summary));
    });
    connect(cmdSaveHsnCsv, &QPushButton::clicked, this, [this, fileName, csv] {
        AskAndSaveCsv(this, m_db.folder(), fileName("HSN Summary") + csv, HsnSummaryCsv(m_hsn));
    });
    connect(cmdSaveMonthsXlsx, &QPushButton::clicked, this, [this, fileName] {
        AskAndSaveXlsx(this, m_db.folder(), fileName("Yearly Report"), YearlySummarySheet(m_summary));
    });
    connect(cmdSaveHsnXlsx, &QPushButton::clicked, this,
        [this, fileName] { AskAndSaveXlsx(this, m_db.folder(), fileName("HSN Summary"), HsnSummarySheet(m_hsn)); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    showYear(current);
}

void frmYearlyReport::cboYear_Click() { showYear(cboYear->currentData().toInt()); }

void frmYearlyReport::showYear(int year)
{
    YearlySummary summary;
    std::vector<HsnLine> hsn;
    const bool read = Guarded<DataError>([&] {
        summary = LoadYearlySummary(m_db, year);
        hsn = LoadHsnSummary(m_db, FinancialYear(year));
    });
    if (!read) { // the message is told; the grids keep the year they showed
        cboYear->setCurrentIndex(cboYear->findData(m_summary.startYear));
        return;
    }
    m_summary = std::move(summary);
    m_hsn = std::move(hsn);
    cboYear->setCurrentIndex(cboYear->findData(year));
    ShowTable(grdMonths, monthsTable());
    ShowTable(grdHsn, hsnTable());
}

TableReport frmYearlyReport::monthsTable() const
{
    TableReport table;
    table.caption = tr("Yearly Report %1").arg(FinancialYearText(startYear()));
    table.title = tr("Yearly Report");
    table.subtitle = tr("Financial year %1 (April to March)").arg(FinancialYearText(startYear()));
    // As wide as the page is upright: the cancelled count taken from the amounts' room.
    table.columns = { { tr("Month"), 1500 }, { tr("Invoices"), 700, true }, { tr("Cancelled"), 700, true },
        { tr("Taxable Value"), 1500, true }, { tr("CGST"), 1300, true }, { tr("SGST"), 1300, true },
        { tr("IGST"), 1300, true }, { tr("Total"), 1500, true } };
    const bool grouped = IndianDigitGrouping();
    for (const MonthFigures& month : m_summary.months)
        table.lines.push_back(QStringList { monthName(month.month.from) } + figureTexts(month.figures, grouped));
    table.totals = QStringList { tr("Total") } + figureTexts(m_summary.totals, grouped);
    return table;
}

TableReport frmYearlyReport::hsnTable() const
{
    TableReport table;
    table.caption = tr("HSN Summary %1").arg(FinancialYearText(startYear()));
    table.title = tr("HSN-wise Summary");
    table.subtitle = tr("Financial year %1 (April to March)").arg(FinancialYearText(startYear()));
    table.columns = { { tr("HSN/SAC"), 1000 }, { tr("Description"), 2400 }, { tr("Unit"), 700 },
        { tr("Quantity"), 1000, true }, { tr("Rate %"), 700, true }, { tr("Taxable Value"), 1400, true },
        { tr("IGST"), 1400, true }, { tr("CGST"), 1400, true }, { tr("SGST"), 1400, true } };
    const bool grouped = IndianDigitGrouping();
    const auto taxTexts = [grouped](Paise taxable, const TaxHeads& tax) {
        return QStringList { ShownAmountText(taxable, grouped), ShownAmountText(tax.igst, grouped),
            ShownAmountText(tax.cgst, grouped), ShownAmountText(tax.sgst, grouped) };
    };
    SalesFigures sum;
    for (const HsnLine& line : m_hsn) {
        table.lines.push_back(
            QStringList { line.hsn, line.description, line.unit, Str(RoundAmount(line.quantity, 3)), Str(line.rate) }
            + taxTexts(line.taxable, line.tax));
        sum.taxable += line.taxable;
        sum.tax += line.tax;
    }
    table.totals = QStringList { tr("Total"), {}, {}, {}, {} } + taxTexts(sum.taxable, sum.tax);
    return table;
}

bool frmYearlyReport::saveMonthsCsv(const QString& path) const { return SaveCsv(path, YearlySummaryCsv(m_summary)); }

bool frmYearlyReport::saveHsnCsv(const QString& path) const { return SaveCsv(path, HsnSummaryCsv(m_hsn)); }

bool frmYearlyReport::saveMonthsXlsx(const QString& path) const
{
    return SaveXlsx(path, YearlySummarySheet(m_summary));
}

bool frmYearlyReport::saveHsnXlsx(const QString& path) const { return SaveXlsx(path, HsnSummarySheet(m_hsn)); }

} // namespace zelva
