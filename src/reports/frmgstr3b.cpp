#include "reports/frmgstr3b.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/shownvalues.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace zelva {

namespace {

// The most documents a message lists; the CSV and the print carry the counts.
constexpr int DocumentsListed = 40;
// Room beside the grid's columns: its frame, the row numbers and the layout's margins.
constexpr int GridMargin = 80;

QString monthText(int year, int month) { return QLocale::c().toString(QDate(year, month, 1), QStringLiteral("MMMM yyyy")); }

} // namespace

QDateEdit* NewMonthBox(QWidget* parent, const char* name, const QDate& month)
{
    auto* box = Named(new QDateEdit(QDate(month.year(), month.month(), 1), parent), QString::fromLatin1(name));
    box->setDisplayFormat(QStringLiteral("MM/yyyy"));
    return box;
}

frmGstr3b::frmGstr3b(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpMonth(NewMonthBox(this, "dtpMonth", QDate::currentDate().addMonths(-1)))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Work out the month's figures")))
    , grdWorksheet(NewTableGrid(this, "grdWorksheet"))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("GSTR-3B Worksheet"));
    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(tr("&Month"), this);
    label->setBuddy(dtpMonth);
    choice->addWidget(label);
    choice->addWidget(dtpMonth);
    choice->addWidget(cmdShow);
    choice->addStretch();
    choice->addWidget(new QLabel(tr("Double-click a figure to list its documents"), this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdPrint, cmdSaveCsv, cmdClose})
        buttons->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdWorksheet, 1);
    column->addLayout(buttons);
    resize(1000, 640);

    connect(cmdShow, &QPushButton::clicked, this, &frmGstr3b::cmdShow_Click);
    connect(grdWorksheet, &QTableView::doubleClicked, this, &frmGstr3b::grdWorksheet_DblClick);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, worksheetTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(),
                      tr("GSTR-3B %1-%2.csv").arg(m_worksheet.year).arg(m_worksheet.month, 2, 10, QLatin1Char('0')),
                      Gstr3bCsv(m_worksheet));
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    cmdShow_Click();
    // wide enough for every figure's column (the main window bounds it by its work area)
    resize(std::max(width(), grdWorksheet->horizontalHeader()->length() + GridMargin), height());
}

void frmGstr3b::cmdShow_Click()
{
    Gstr3b read;
    const QDate month = dtpMonth->date();
    if (!Guarded<DataError>([&] { read = LoadGstr3b(m_db, month.year(), month.month()); }))
        return;
    m_worksheet = std::move(read);
    ShowTable(grdWorksheet, worksheetTable());
}

void frmGstr3b::grdWorksheet_DblClick(const QModelIndex& index)
{
    if (!index.isValid() || size_t(index.row()) >= m_worksheet.rows.size())
        return;
    const Gstr3bFigure& row = m_worksheet.rows[size_t(index.row())];
    if (row.documents.isEmpty()) {
        MsgBox(tr("%1 %2: no document is behind this figure.").arg(row.section, row.description));
        return;
    }
    QStringList listed = row.documents.mid(0, DocumentsListed);
    if (row.documents.size() > DocumentsListed)
        listed << tr("... and %1 more").arg(row.documents.size() - DocumentsListed);
    MsgBox(tr("%1 %2: %3 documents\n\n%4")
               .arg(row.section, row.description)
               .arg(row.documents.size())
               .arg(listed.join(QLatin1Char('\n'))),
           tr("Documents behind %1").arg(row.section));
}

TableReport frmGstr3b::worksheetTable() const
{
    TableReport table;
    table.caption = tr("GSTR-3B Worksheet");
    table.title = tr("GSTR-3B Worksheet");
    table.subtitle = monthText(m_worksheet.year ? m_worksheet.year : 2000, m_worksheet.month ? m_worksheet.month : 1);
    const QStringList captions = Gstr3bCaptions() << tr("Documents");
    const double widths[] = {800, 4200, 1300, 1200, 1200, 1200, 600, 700};
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({captions[i], widths[i], i >= 2});
    const bool grouped = IndianDigitGrouping();
    for (const Gstr3bFigure& row : m_worksheet.rows) {
        QStringList cells{row.section, row.description,
                          row.hasTaxable ? ShownAmountText(row.taxable, grouped) : QString(),
                          ShownAmountText(row.tax.igst, grouped), ShownAmountText(row.tax.cgst, grouped),
                          ShownAmountText(row.tax.sgst, grouped), ShownAmountText(0, grouped),
                          QString::number(row.documents.size())};
        table.lines.push_back(cells);
    }
    return table;
}

bool frmGstr3b::saveCsv(const QString& path) const { return SaveCsv(path, Gstr3bCsv(m_worksheet)); }

} // namespace zelva
