#include "reports/frmreturncheck.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "reports/frmgstr3b.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

QString monthText(const QDate& month) { return QLocale::c().toString(month, QStringLiteral("MMMM yyyy")); }

} // namespace

frmReturnCheck::frmReturnCheck(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpMonth(NewMonthBox(this, "dtpMonth", QDate::currentDate().addMonths(-1)))
    , cmdShow(NewButton(this, "cmdShow", tr("Chec&k"), tr("Check the month's documents")))
    , lblCounts(new QLabel(this))
    , grdFindings(NewTableGrid(this, "grdFindings"))
    , cmdOpen(NewButton(this, "cmdOpen", tr("&Open Document"), tr("Show the chosen finding's document")))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Return Check"));
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    lblCounts->setTextFormat(Qt::PlainText);
    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(tr("&Month"), this);
    label->setBuddy(dtpMonth);
    choice->addWidget(label);
    choice->addWidget(dtpMonth);
    choice->addWidget(cmdShow);
    choice->addSpacing(20);
    choice->addWidget(lblCounts);
    choice->addStretch();
    choice->addWidget(new QLabel(tr("Double-click a finding to open its document"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : { cmdOpen, cmdPrint, cmdSaveCsv, cmdClose })
        buttons->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdFindings, 1);
    column->addLayout(buttons);
    setTabOrder(dtpMonth, cmdShow);
    setTabOrder(cmdShow, grdFindings);
    setTabOrder(grdFindings, cmdOpen);
    setTabOrder(cmdOpen, cmdPrint);
    setTabOrder(cmdPrint, cmdSaveCsv);
    setTabOrder(cmdSaveCsv, cmdClose);
    resize(1100, 600);

    connect(cmdShow, &QPushButton::clicked, this, &frmReturnCheck::cmdShow_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmReturnCheck::cmdOpen_Click);
    // Enter on a finding opens it, as a double click does.
    connect(grdFindings, &QTableView::activated, this, &frmReturnCheck::grdFindings_DblClick);
    connect(cmdPrint, &QPushButton::clicked, this,
        [this] { OpenTableReport(this, findingsTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(), tr("Return Check %1.csv").arg(m_month.from.toString(QStringLiteral("MM-yyyy"))),
            FindingsCsv(m_findings));
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    cmdShow_Click();
}

void frmReturnCheck::cmdShow_Click()
{
    const QDate chosen = dtpMonth->date();
    const Period month = MonthPeriod(chosen.year(), chosen.month());
    std::vector<ReturnFinding> found;
    if (!Guarded<DataError>([&] { found = CheckReturnMonth(m_db, month, QDate::currentDate()); }))
        return;
    m_month = month;
    m_findings = std::move(found);
    lblCounts->setText(tr("%1: %2").arg(monthText(month.from), FindingCounts(m_findings)));
    ShowTable(grdFindings, findingsTable());
    if (!m_findings.empty())
        grdFindings->selectRow(0);
}

void frmReturnCheck::cmdOpen_Click()
{
    const int row = grdFindings->currentIndex().row();
    if (row < 0 || size_t(row) >= m_findings.size()) {
        MsgBox(tr("Choose a finding from the list first."));
        return;
    }
    openFinding(row);
}

void frmReturnCheck::grdFindings_DblClick(const QModelIndex& index)
{
    if (index.isValid() && size_t(index.row()) < m_findings.size())
        openFinding(index.row());
}

void frmReturnCheck::openFinding(int row)
{
    using Master = MendIn::Master;
    using Type = CheckedDocument::Type;
    const ReturnFinding& finding = m_findings[size_t(row)];
    const CheckedDocument& document = finding.document;
    switch (finding.mendIn.master) {
    case Master::Buyer:
        emit masterWanted(QStringLiteral("frmBuyerDetails"), QStringLiteral("bid"), finding.mendIn.record);
        return;
    case Master::StockItem:
        emit masterWanted(QStringLiteral("frmStockEntry"), QStringLiteral("ItemName"), finding.mendIn.record);
        return;
    case Master::Supplier:
        emit masterWanted(QStringLiteral("frmSupplierDetails"), QStringLiteral("Name"), finding.mendIn.record);
        return;
    case Master::None:
        break;
    }
    switch (document.type) {
    case Type::Company:
        emit masterWanted(QStringLiteral("frmCompany"), {}, {});
        return;
    case Type::Invoice:
        emit invoiceWanted(document.number, document.date);
        return;
    case Type::CreditNote:
    case Type::DebitNote:
        emit noteWanted(document.number, document.date);
        return;
    case Type::Bill:
        emit billWanted(document.number, document.party, document.date);
        return;
    case Type::Return:
    case Type::File:
        break;
    }
    MsgBox(tr("%1: %2\n\n%3\n\nWhat to do: %4")
               .arg(FindingKindText(finding.kind), finding.key, finding.problem, finding.action),
        finding.document.text());
}

TableReport frmReturnCheck::findingsTable() const
{
    TableReport table;
    table.caption = tr("Return Check");
    table.title = tr("Return Check");
    table.subtitle = m_month.from.isValid() ? tr("%1: %2").arg(monthText(m_month.from), FindingCounts(m_findings))
                                            : QString();
    const QStringList captions = FindingCaptions();
    const double widths[] = { 800, 2600, 2000, 4600, 3800 };
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({ captions[i], widths[i], false });
    for (const ReturnFinding& finding : m_findings)
        table.lines.push_back(
            { FindingKindText(finding.kind), finding.document.text(), finding.key, finding.problem, finding.action });
    return table;
}

bool frmReturnCheck::saveCsv(const QString& path) const { return SaveCsv(path, FindingsCsv(m_findings)); }

namespace {

// "Invoice A00002 of 16/11/2026, Buyer's GSTIN (ctin): ... What to do: ..."
QString findingsText(const std::vector<ReturnFinding>& findings, FindingKind kind)
{
    QStringList lines;
    for (const ReturnFinding& f : findings)
        if (f.kind == kind)
            lines << QStringLiteral("%1, %2: %3 %4").arg(f.document.text(), f.key, f.problem, f.action);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

bool GoOnAfterCheck(const std::vector<ReturnFinding>& findings, const QString& what)
{
    if (HasErrors(findings)) {
        MsgBox(QObject::tr("No %1 was written: the portal would refuse it. Put these right first:\n%2")
                   .arg(what, findingsText(findings, FindingKind::Error)));
        return false;
    }
    const QString warnings = findingsText(findings, FindingKind::Warning);
    return warnings.isEmpty()
        || AskYesNo(QObject::tr("The Return Check has these warnings about the %1:\n%2\n\nWrite the file all the same?")
                        .arg(what, warnings));
}

MayWrite CheckBeforeWriting(Database& db, PortalFileKind file, const QString& what, bool& stopped)
{
    stopped = false;
    return [&db, file, what, &stopped](const std::vector<CheckedDocument>& documents) {
        std::vector<ReturnFinding> findings;
        stopped = !Guarded<DataError>([&] { findings = CheckInvoiceFile(db, file, documents, QDate::currentDate()); })
            || !GoOnAfterCheck(findings, what);
        return !stopped;
    };
}

} // namespace zelva
