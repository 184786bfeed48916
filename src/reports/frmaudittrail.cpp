#include "reports/frmaudittrail.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "registers/auditreport.h"
#include "platform/period.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/ownwindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

namespace zelva {

namespace {

// Where a record's whole history starts: before any entry the program made.
const QDate EarliestDay(2000, 1, 1);

} // namespace

frmAuditTrail::frmAuditTrail(Database& db, const QString& table, const QString& record, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom",
                         record.isEmpty() ? MonthPeriod(QDate::currentDate().year(), QDate::currentDate().month()).from
                                          : EarliestDay))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , txtOperator(NewBox(this, "txtOperator"))
    , cboTable(new QComboBox(this))
    , txtRecord(NewBox(this, "txtRecord"))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the entries chosen")))
    , grdTrail(NewTableGrid(this, "grdTrail"))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdSaveXlsx(NewButton(this, "cmdSaveXlsx", tr("Save as E&xcel"), tr("An .xlsx workbook for the auditor")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
    , m_withKeptRecords(!table.isEmpty() && !record.isEmpty())
{
    setWindowTitle(tr("Audit Trail"));
    cboTable->setObjectName(QStringLiteral("cboTable"));
    cboTable->addItem(QString()); // every table
    Guarded<DataError>([&] { cboTable->addItems(AuditedTables(m_db)); });
    if (!table.isEmpty() && cboTable->findText(table) < 0)
        cboTable->addItem(table);
    cboTable->setCurrentText(table);
    txtRecord->setText(record);
    txtOperator->setToolTip(tr("Only this operator's entries; empty for every operator"));
    txtRecord->setToolTip(tr("Only this record (its code or number); empty for every record"));

    LayOutRegisterWindow(this,
                         {{tr("&From"), dtpFrom},
                          {tr("T&o"), dtpTo},
                          {tr("Op&erator"), txtOperator},
                          {tr("Ta&ble"), cboTable},
                          {tr("Recor&d"), txtRecord}},
                         {cmdShow}, grdTrail, {cmdPrint, cmdSaveCsv, cmdSaveXlsx, cmdClose});
    resize(1100, 600);
    cmdShow->setDefault(true);

    connect(cmdShow, &QPushButton::clicked, this, &frmAuditTrail::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, trailTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this,
            [this] { AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), AuditTrailCsv(m_entries)); });
    connect(cmdSaveXlsx, &QPushButton::clicked, this,
            [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), AuditTrailSheet(m_entries)); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    cmdShow_Click();
}

AuditFilter frmAuditTrail::filter() const
{
    return {dtpFrom->date(), dtpTo->date(), txtOperator->text().trimmed(), cboTable->currentText().trimmed(),
            txtRecord->text().trimmed(), m_withKeptRecords};
}

void frmAuditTrail::cmdShow_Click()
{
    const AuditFilter chosen = filter();
    std::vector<AuditEntry> read;
    if (!Guarded<DataError>([&] { read = ReadAuditTrail(m_db, chosen); }))
        return;
    m_shown = chosen;
    m_entries = std::move(read);
    ShowTable(grdTrail, trailTable());
}

QString frmAuditTrail::fileName() const
{
    QString name = tr("Audit Trail %1 to %2")
                       .arg(m_shown.from.toString(QStringLiteral("yyyy-MM-dd")), m_shown.to.toString(QStringLiteral("yyyy-MM-dd")));
    if (!m_shown.key.isEmpty())
        name += QLatin1Char(' ') + QString(m_shown.key).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return name;
}

frmAuditTrail* OpenRecordHistory(QWidget* opener, Database& db, const QString& table, const QString& record)
{
    auto* history = new frmAuditTrail(db, table, record);
    history->setObjectName(QStringLiteral("frmAuditTrailHistory"));
    history->setWindowTitle(QCoreApplication::translate("zelva", "History of %1").arg(record));
    QMdiArea* area = nullptr;
    for (QWidget* w = opener; w && !area; w = w->parentWidget())
        area = qobject_cast<QMdiArea*>(w);
    QWidget* shown = history;
    if (area)
        shown = area->addSubWindow(history);
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->show();
    history->txtRecord->setFocus();
    return history;
}

bool frmAuditTrail::saveCsv(const QString& path) const { return SaveCsv(path, AuditTrailCsv(m_entries)); }

bool frmAuditTrail::saveXlsx(const QString& path) const { return SaveXlsx(path, AuditTrailSheet(m_entries)); }

TableReport frmAuditTrail::trailTable() const
{
    TableReport table;
    table.caption = tr("Audit Trail");
    table.title = tr("Audit Trail");
    QStringList narrowed;
    if (!m_shown.operatorName.isEmpty())
        narrowed << tr("operator %1").arg(m_shown.operatorName);
    if (!m_shown.table.isEmpty())
        narrowed << tr("table %1").arg(m_shown.table);
    if (!m_shown.key.isEmpty())
        narrowed << tr("record %1").arg(m_shown.key);
    table.subtitle = tr("Entries from %1 to %2").arg(DateText(m_shown.from), DateText(m_shown.to));
    if (!narrowed.isEmpty())
        table.subtitle += QStringLiteral(", ") + narrowed.join(QStringLiteral(", "));
    const QStringList captions = AuditTrailCaptions();
    const double widths[] = {600, 1700, 1000, 1000, 1300, 1000, 900, 1200, 1900, 1900};
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({captions[i], widths[i], i == 0});
    table.lines = AuditTrailLines(m_entries);
    table.totals = QStringList{tr("%1 entries").arg(m_entries.size())} + QStringList(captions.size() - 1, QString());
    return table;
}

} // namespace zelva
