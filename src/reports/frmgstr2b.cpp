#include "reports/frmgstr2b.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "registers/savedinvoice.h"
#include "reports/frmgstr3b.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

frmGstr2b::frmGstr2b(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpMonth(NewMonthBox(this, "dtpMonth", QDate::currentDate().addMonths(-1)))
    , cmdImport(NewButton(this, "cmdImport", tr("Import GSTR-2B &File"), tr("The JSON file downloaded from the portal")))
    , lblSummary(Named(new QLabel(this), QStringLiteral("lblSummary")))
    , grdMatching(NewTableGrid(this, "grdMatching"))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("GSTR-2B Matching"));
    lblSummary->setTextFormat(Qt::PlainText);
    auto* choice = new QHBoxLayout;
    auto* label = new QLabel(tr("&Month"), this);
    label->setBuddy(dtpMonth);
    choice->addWidget(label);
    choice->addWidget(dtpMonth);
    choice->addWidget(cmdImport);
    choice->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdPrint, cmdSaveCsv, cmdClose})
        buttons->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(lblSummary);
    column->addWidget(grdMatching, 1);
    column->addLayout(buttons);
    resize(1100, 600);
    cmdPrint->setEnabled(false);
    cmdSaveCsv->setEnabled(false);

    connect(cmdImport, &QPushButton::clicked, this, &frmGstr2b::cmdImport_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, matchingTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(), tr("GSTR-2B matching %1.csv").arg(dtpMonth->date().toString(QStringLiteral("yyyy-MM"))),
                      Gstr2bCsv(m_matching));
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
}

void frmGstr2b::cmdImport_Click()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("GSTR-2B file of the month"), QString(),
                                                      tr("JSON files (*.json);;All files (*)"));
    if (!path.isEmpty())
        importFile(path);
}

bool frmGstr2b::importFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MsgBox(tr("%1 cannot be read: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray text = file.readAll();
    const QDate month = dtpMonth->date();
    Gstr2bMatching matching;
    QString refusal;
    const bool read = Guarded<DataError>([&] {
        const std::optional<CompanyGst> company = LoadCompany(m_db);
        const Gstr2bFile portal = ReadGstr2b(text, company ? company->gstin : QString(), month.year(), month.month());
        refusal = portal.refusal;
        if (portal.ok())
            matching = LoadGstr2bMatching(m_db, month.year(), month.month(), portal.documents);
    });
    if (!read)
        return false;
    if (!refusal.isEmpty()) {
        MsgBox(tr("%1 is not taken.\n%2").arg(QFileInfo(path).fileName(), refusal));
        return false;
    }
    m_matching = std::move(matching);
    m_fileName = QFileInfo(path).fileName();
    lblSummary->setText(tr("%1: %2 matched, %3 with differences, %4 in 2B only, %5 in the books only")
                            .arg(m_fileName)
                            .arg(m_matching.count(MatchKind::Matched))
                            .arg(m_matching.count(MatchKind::Differences))
                            .arg(m_matching.count(MatchKind::PortalOnly))
                            .arg(m_matching.count(MatchKind::BooksOnly)));
    ShowTable(grdMatching, matchingTable());
    cmdPrint->setEnabled(true);
    cmdSaveCsv->setEnabled(true);
    return true;
}

TableReport frmGstr2b::matchingTable() const
{
    TableReport table;
    table.caption = tr("GSTR-2B Matching");
    table.title = tr("GSTR-2B Matching");
    table.subtitle = tr("%1, file %2").arg(dtpMonth->date().toString(QStringLiteral("MM/yyyy")), m_fileName);
    const QStringList captions = Gstr2bCaptions();
    const double widths[] = {1500, 1700, 1800, 1000, 1000, 1100, 1000, 1100, 1000, 3000};
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({captions[i], widths[i], i >= 5 && i <= 8});
    for (const MatchLine& line : m_matching.lines)
        table.lines.push_back(Gstr2bCells(line));
    return table;
}

bool frmGstr2b::saveCsv(const QString& path) const { return SaveCsv(path, Gstr2bCsv(m_matching)); }

} // namespace zelva
