#include "masters/frmimport.h"

#include "data/dataerror.h"
#include "data/database.h"
#include "registers/csvfile.h"
#include "registers/sheetfile.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelva {

namespace {

const MasterKind Kinds[] = {MasterKind::Buyer, MasterKind::Supplier, MasterKind::Item};

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QTableWidgetItem* plainCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text); // shown as plain text, never as rich text
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

// Asks the operator along the way; false when Cancel was pressed.
class Progress {
public:
    Progress(QWidget* parent, const QString& what, int rows) : m_dialog(what, QObject::tr("Cancel"), 0, rows, parent)
    {
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
    }
    std::function<bool(int)> callback()
    {
        return [this](int done) {
            m_dialog.setValue(done);
            QCoreApplication::processEvents();
            return !m_dialog.wasCanceled();
        };
    }

private:
    QProgressDialog m_dialog;
};

} // namespace

frmImport::frmImport(Database& db, QWidget* parent)
    : QWidget(parent)
    , cboKind(new QComboBox(this))
    , txtFile(new QLineEdit(this))
    , cmdBrowse(button(this, "cmdBrowse", tr("&File...")))
    , cboSheet(new QComboBox(this))
    , optUpdate(new QRadioButton(tr("Upd&ate it"), this))
    , optSkip(new QRadioButton(tr("S&kip the row"), this))
    , grdMapping(new QTableWidget(0, 2, this))
    , grdPreview(new QTableWidget(this))
    , lblSummary(new QLabel(this))
    , cmdImport(button(this, "cmdImport", tr("Im&port")))
    , cmdSaveRejected(button(this, "cmdSaveRejected", tr("Save Re&jected Rows")))
    , cmdSaveTemplate(button(this, "cmdSaveTemplate", tr("Save Temp&late")))
    , cmdClose(button(this, "cmdClose", tr("&Close")))
    , m_db(db)
{
    setWindowTitle(tr("Import Masters"));
    cboKind->setObjectName("cboKind");
    txtFile->setObjectName("txtFile");
    txtFile->setReadOnly(true);
    cboSheet->setObjectName("cboSheet");
    optUpdate->setObjectName("optUpdate");
    optSkip->setObjectName("optSkip");
    grdMapping->setObjectName("grdMapping");
    grdPreview->setObjectName("grdPreview");
    lblSummary->setObjectName("lblSummary");
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    for (const MasterKind kind : Kinds)
        cboKind->addItem(MasterKindText(kind));
    auto* existing = new QButtonGroup(this);
    existing->addButton(optUpdate);
    existing->addButton(optSkip);
    optUpdate->setChecked(true);
    grdMapping->setHorizontalHeaderLabels({tr("Column in the file"), tr("Is read as")});
    grdMapping->horizontalHeader()->setStretchLastSection(true);
    grdMapping->verticalHeader()->hide();
    grdPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* choices = new QFormLayout;
    auto* kindLabel = new QLabel(tr("Kin&d of masters"), this);
    kindLabel->setBuddy(cboKind);
    choices->addRow(kindLabel, cboKind);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(cmdBrowse);
    choices->addRow(tr("File"), fileRow);
    auto* sheetLabel = new QLabel(tr("Sh&eet"), this);
    sheetLabel->setBuddy(cboSheet);
    choices->addRow(sheetLabel, cboSheet);
    auto* existingRow = new QHBoxLayout;
    existingRow->addWidget(optUpdate);
    existingRow->addWidget(optSkip);
    existingRow->addStretch();
    choices->addRow(tr("A name already in the masters"), existingRow);
    auto* mappingLabel = new QLabel(tr("Column &mapping"), this);
    mappingLabel->setBuddy(grdMapping);
    choices->addRow(mappingLabel, grdMapping);
    grdMapping->setMaximumHeight(160);

    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdImport);
    commands->addWidget(cmdSaveRejected);
    commands->addWidget(cmdSaveTemplate);
    commands->addStretch();
    commands->addWidget(cmdClose);

    auto* previewLabel = new QLabel(tr("R&ows and what they become"), this);
    previewLabel->setBuddy(grdPreview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(previewLabel);
    layout->addWidget(grdPreview, 1);
    layout->addWidget(lblSummary);
    layout->addLayout(commands);
    resize(900, 620);

    setTabOrder(cboKind, cmdBrowse);
    setTabOrder(cmdBrowse, cboSheet);
    setTabOrder(cboSheet, optUpdate);
    setTabOrder(optUpdate, optSkip);
    setTabOrder(optSkip, grdMapping);
    setTabOrder(grdMapping, grdPreview);
    setTabOrder(grdPreview, cmdImport);
    setTabOrder(cmdImport, cmdSaveRejected);
    setTabOrder(cmdSaveRejected, cmdSaveTemplate);
    setTabOrder(cmdSaveTemplate, cmdClose);

    connect(cboKind, &QComboBox::activated, this, [this] {
        fillMapping();
        refreshPreview();
    });
    connect(cboSheet, &QComboBox::activated, this, [this] { readSheet(); });
    connect(optUpdate, &QRadioButton::toggled, this, [this] { refreshPreview(); });
    connect(cmdBrowse, &QPushButton::clicked, this, &frmImport::cmdBrowse_Click);
    connect(cmdImport, &QPushButton::clicked, this, &frmImport::cmdImport_Click);
    connect(cmdSaveRejected, &QPushButton::clicked, this, &frmImport::cmdSaveRejected_Click);
    connect(cmdSaveTemplate, &QPushButton::clicked, this, &frmImport::cmdSaveTemplate_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    refreshPreview();
}

MasterKind frmImport::kind() const
{
    return Kinds[qBound(0, cboKind->currentIndex(), 2)];
}

bool frmImport::openFile(const QString& path)
{
    txtFile->setText(path);
    cboSheet->clear();
    QString problem;
    cboSheet->addItems(WorkbookSheetNames(path, &problem));
    cboSheet->setEnabled(cboSheet->count() > 1);
    readSheet();
    if (!m_readProblem.isEmpty())
        MsgBox(m_readProblem);
    return m_readProblem.isEmpty();
}

void frmImport::readSheet()
{
    const SheetCells cells = ReadSheetFile(txtFile->text(), cboSheet->currentText());
    m_cells = cells.rows;
    m_readProblem = cells.problem;
    fillMapping();
    refreshPreview();
}

// One row per header cell of the file, with the column it is read as: the
// one of its name, else none until the operator picks one.
void frmImport::fillMapping()
{
    grdMapping->setRowCount(0);
    if (m_cells.empty())
        return;
    const QStringList& header = m_cells.front();
    const ImportPreview guess = PreviewMasterImport(m_db, kind(), {header}, {}, ExistingName::Update, QDate::currentDate());
    grdMapping->setRowCount(int(header.size()));
    for (int i = 0; i < header.size(); ++i) {
        grdMapping->setItem(i, 0, plainCell(header[i]));
        auto* choice = new QComboBox(grdMapping);
        choice->setObjectName(QStringLiteral("cboMapping_%1").arg(i));
        choice->addItem(tr("(not read)"), QString());
        for (const ImportColumn& column : ImportColumns(kind()))
            choice->addItem(column.header, column.header);
        const QString given = i < guess.columnOfCell.size() ? guess.columnOfCell[i] : QString();
        choice->setCurrentIndex(qMax(0, choice->findData(given)));
        connect(choice, &QComboBox::activated, this, [this] { refreshPreview(); });
        grdMapping->setCellWidget(i, 1, choice);
    }
}

ColumnMapping frmImport::mapping() const
{
    ColumnMapping mapping;
    for (int i = 0; i < grdMapping->rowCount(); ++i)
        if (const auto* choice = qobject_cast<QComboBox*>(grdMapping->cellWidget(i, 1)))
            mapping.insert(grdMapping->item(i, 0)->text(), choice->currentData().toString());
    return mapping;
}

void frmImport::refreshPreview()
{
    m_preview = ImportPreview{};
    m_preview.kind = kind();
    if (!m_readProblem.isEmpty()) {
        m_preview.problem = m_readProblem;
    } else if (m_cells.empty()) {
        m_preview.problem = tr("Choose a CSV file or an .xlsx workbook with File.");
    } else {
        Progress progress(this, tr("Checking the rows..."), int(m_cells.size()));
        Guarded<DataError>([&] {
            m_preview = PreviewMasterImport(m_db, kind(), m_cells, mapping(),
                                            optSkip->isChecked() ? ExistingName::Skip : ExistingName::Update,
                                            QDate::currentDate(), progress.callback());
        });
    }
    showPreview();
}

void frmImport::showPreview()
{
    const std::vector<ImportColumn>& columns = ImportColumns(kind());
    QStringList headers{tr("Row"), tr("Becomes")};
    for (const ImportColumn& column : columns)
        headers << column.header;
    headers << tr("Problems");
    grdPreview->clear();
    grdPreview->setColumnCount(int(headers.size()));
    grdPreview->setHorizontalHeaderLabels(headers);
    const int rows = int(m_preview.rows.size());
    const int shown = fillPreviewRows();
    const bool rowsRead = m_preview.problem.isEmpty();
    QString summary = rowsRead ? tr("%1 rows can be imported, %2 are left out.")
                                     .arg(m_preview.goodRows())
                                     .arg(m_preview.leftOutRows())
                               : m_preview.problem;
    if (shown < rows)
        summary += tr(" The list shows the first %1 of the %2 rows; Import takes them all.").arg(shown).arg(rows);
    lblSummary->setText(summary);
    cmdImport->setEnabled(rowsRead && m_preview.goodRows() > 0);
    cmdSaveRejected->setEnabled(rowsRead && m_preview.leftOutRows() > 0);
}

// A file of tens of thousands of rows fills the grid in steps, with a
// progress window whose Cancel stops the filling (the rows checked all stay).
int frmImport::fillPreviewRows()
{
    constexpr int Step = 1000;
    const std::vector<ImportColumn>& columns = ImportColumns(kind());
    const int rows = int(m_preview.rows.size());
    const int problems = grdPreview->columnCount() - 1;
    grdPreview->setRowCount(rows);
    Progress progress(this, tr("Showing the rows..."), rows);
    const std::function<bool(int)> goOn = progress.callback();
    int r = 0;
    for (; r < rows; ++r) {
        if (r > 0 && r % Step == 0 && !goOn(r))
            break;
        const ImportRow& row = m_preview.rows[size_t(r)];
        grdPreview->setItem(r, 0, plainCell(QString::number(row.line)));
        grdPreview->setItem(r, 1, plainCell(row.becomes()));
        for (int c = 0; c < int(columns.size()); ++c)
            grdPreview->setItem(r, c + 2, plainCell(row.values.value(columns[size_t(c)].field)));
        grdPreview->setItem(r, problems, plainCell(row.reason()));
    }
    grdPreview->setRowCount(r);
    return r;
}

void frmImport::cmdBrowse_Click()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("File to import"), QString(),
                                                      tr("CSV files and workbooks (*.csv *.xlsx);;All files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void frmImport::cmdImport_Click()
{
    if (!m_preview.problem.isEmpty() || m_preview.goodRows() == 0)
        return;
    ImportResult result;
    Progress progress(this, tr("Importing..."), m_preview.goodRows());
    if (!Guarded<DataError>([&] { result = StoreMasterImport(m_db, m_preview, progress.callback()); }))
        return;
    if (result.cancelled) {
        MsgBox(tr("The import was cancelled: nothing is stored."));
        return;
    }
    MsgBox(result.text(m_preview));
    emit recordsImported();
    refreshPreview(); // the names are in the masters now
}

bool frmImport::saveRows(const QString& path, const std::vector<QStringList>& rows)
{
    QString lines;
    for (const QStringList& row : rows)
        lines += CsvLine(row);
    const QString problem = SaveFileWhole(path, CsvBytes(lines));
    if (!problem.isEmpty())
        MsgBox(problem);
    return problem.isEmpty();
}

bool frmImport::saveRejectedTo(const QString& path)
{
    return saveRows(path, RejectedRows(m_preview));
}

bool frmImport::saveTemplateTo(const QString& path)
{
    return saveRows(path, ImportTemplate(kind()));
}

void frmImport::cmdSaveRejected_Click()
{
    const QString suggested = QFileInfo(txtFile->text()).completeBaseName() + tr(" - rows left out.csv");
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Rejected Rows"), suggested, tr("CSV files (*.csv)"));
    if (!path.isEmpty() && saveRejectedTo(path))
        MsgBox(tr("The rows left out are saved in %1.").arg(path));
}

void frmImport::cmdSaveTemplate_Click()
{
    const QString suggested = tr("%1 template.csv").arg(MasterKindText(kind()));
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Template"), suggested, tr("CSV files (*.csv)"));
    if (!path.isEmpty() && saveTemplateTo(path))
        MsgBox(tr("The template is saved in %1.").arg(path));
}

} // namespace zelva
