#include "reports/tablereport.h"

#include "data/datafolder.h"
#include "registers/csvfile.h"
#include "registers/xlsxfile.h"
#include "ui/formboxes.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/reportwindow.h"

#include <algorithm>
#include <QAbstractTableModel>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

using namespace report;

namespace {

constexpr double Margin = 700;
constexpr double LineHeight = 300;
constexpr double BoxHeight = 240;
constexpr double Gap = 60; // twips between columns
constexpr double PortraitWidth = 11906; // A4
constexpr double CharacterWidth = 91; // twips, about, of a character of the 8.25 point font

// Text columns (names, descriptions) break over two lines where a text of
// theirs is too long for one, rather than shrinking to an unreadable size.
bool needsTwoLines(const TableReport& table)
{
    for (int c = 0; c < int(table.columns.size()); ++c) {
        if (table.columns[c].number)
            continue;
        for (const QStringList& line : table.lines)
            if (line.value(c).size() * CharacterWidth > table.columns[c].width)
                return true;
    }
    return false;
}

QString columnKey(int column) { return QStringLiteral("c%1").arg(column); }

double tableWidth(const TableReport& table)
{
    double width = 0;
    for (const TableColumn& column : table.columns)
        width += column.width + Gap;
    return width;
}

Align alignOf(const TableColumn& column) { return column.number ? Align::Right : Align::Left; }

// One line of texts or value boxes across the columns, at top.
template <typename Make> void acrossColumns(const TableReport& table, Make make, double height = BoxHeight)
{
    double left = 0;
    for (int c = 0; c < int(table.columns.size()); ++c) {
        make(c, TwipsRect(left, 0, table.columns[c].width, height));
        left += table.columns[c].width + Gap;
    }
}

// The table's texts as the grid asks for them: the lines, then the totals.
class TableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const TableReport& table)
    {
        beginResetModel();
        m_table = table;
        endResetModel();
    }
    const TableReport& table() const { return m_table; }
    bool isTotals(int row) const { return row == int(m_table.lines.size()); }
    const QStringList& texts(int row) const { return isTotals(row) ? m_table.totals : m_table.lines[row]; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_table.lines.size()) + (m_table.totals.isEmpty() ? 0 : 1);
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_table.columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return texts(index.row()).value(index.column());
        case Qt::TextAlignmentRole:
            return int((m_table.columns[index.column()].number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        case Qt::FontRole:
            if (isTotals(index.row())) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(m_table.columns.size()))
            return m_table.columns[section].caption;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsSelectable | Qt::ItemIsEnabled; }

private:
    TableReport m_table;
};

// The longest texts of the column, by their count of characters (a few of
// each length at most: amounts of one length are about one width).
QStringList longestTexts(const TableModel& model, int column)
{
    constexpr int Measured = 8;
    QStringList longest;
    qsizetype length = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString& text = model.texts(row).at(column);
        if (text.size() > length) {
            length = text.size();
            longest = { text };
        } else if (text.size() == length && longest.size() < Measured) {
            longest << text;
        }
    }
    return longest;
}

// Each column as wide as its caption and its widest text, bold for the totals.
void fitColumns(QTableView* grid, const TableModel& model)
{
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold); // the totals are bold; plain lines are no wider
    const int padding = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 12;
    for (int c = 0; c < model.columnCount(); ++c) {
        int width = grid->horizontalHeader()->sectionSizeHint(c);
        for (const QString& text : longestTexts(model, c))
            width = std::max(width, metrics.horizontalAdvance(text) + padding);
        grid->setColumnWidth(c, width);
    }
}

TableModel* modelOf(const QTableView* grid) { return dynamic_cast<TableModel*>(grid->model()); }

} // namespace

QTableView* NewTableGrid(QWidget* parent, const char* name)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setModel(new TableModel(grid));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->setWordWrap(false);
    return grid;
}

void ShowTable(QTableView* grid, const TableReport& table)
{
    TableModel* model = modelOf(grid);
    model->show(table);
    fitColumns(grid, *model);
}

QString GridText(const QTableView* grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

int GridRows(const QTableView* grid) { return grid->model()->rowCount(); }

void WidenDays(QDateEdit* from, QDateEdit* to, const QDate& day)
{
    if (!day.isValid())
        return;
    if (day < from->date())
        from->setDate(day);
    if (day > to->date())
        to->setDate(day);
}

bool ChooseGridRow(QTableView* grid, const std::vector<std::pair<int, QString>>& texts)
{
    for (int row = 0; row < GridRows(grid); ++row) {
        const bool match = std::all_of(texts.begin(), texts.end(),
            [&](const std::pair<int, QString>& cell) { return GridText(grid, row, cell.first) == cell.second; });
        if (!match)
            continue;
        grid->selectRow(row);
        grid->setCurrentIndex(grid->model()->index(row, 0));
        grid->scrollTo(grid->currentIndex());
        return true;
    }
    return false;
}

namespace {

// The pay QR at the foot of the last page, at the right, the caption beneath.
void addPayQr(ReportLayout& layout, const TableReport& table)
{
    if (table.payQr.isEmpty())
        return;
    constexpr double side = 1500;
    const double top = layout.reportFooter.height + 120;
    const TwipsRect qr{layout.width - side, top, side, side};
    layout.reportFooter.qrCodes.push_back(QrBox{QStringLiteral("PayQr"), qr});
    layout.reportFooter.labels.push_back(
        Label{QObject::tr("Scan to pay"), {qr.left(), qr.bottom(), side, BoxHeight}, {}, Align::Center});
    layout.reportFooter.height = qr.bottom() + BoxHeight + 60;
    layout.footerRow.insert(QStringLiteral("PayQr"), table.payQr);
}

} // namespace

ReportLayout TableLayout(const TableReport& table)
{
    const double width = tableWidth(table);
    const Font titleFont { QStringLiteral("Arial"), 12, true };
    const Font boldFont { QStringLiteral("Arial"), 8.25, true };
    ReportLayout layout;
    layout.caption = table.caption;
    layout.width = width;
    layout.margins = { Margin, Margin, Margin, Margin };
    layout.landscape = width + 2 * Margin > PortraitWidth;
    layout.pageHeader.height = 1000;
    layout.pageHeader.labels = { Label { table.title, { 0, 0, width, 330 }, titleFont, Align::Center },
        Label { table.subtitle, { 0, 360, width, BoxHeight }, {}, Align::Center } };
    acrossColumns(table, [&](int c, TwipsRect rect) {
        layout.pageHeader.labels.push_back(
            Label { table.columns[c].caption, rect.translated(0, 660), boldFont, alignOf(table.columns[c]) });
    });
    layout.pageHeader.rules = { Rule { 0, 950, width } };
    const bool twoLines = needsTwoLines(table);
    layout.detail.height = twoLines ? 2 * LineHeight - Gap : LineHeight;
    acrossColumns(
        table,
        [&](int c, TwipsRect rect) {
            const bool wrap = twoLines && !table.columns[c].number;
            layout.detail.values.push_back(
                ValueBox { columnKey(c), rect, {}, alignOf(table.columns[c]), Format::AsHeld, wrap });
        },
        twoLines ? 2 * BoxHeight : BoxHeight);
    if (!table.totals.isEmpty()) {
        layout.reportFooter.height = LineHeight + 120;
        layout.reportFooter.rules = { Rule { 0, 30, width } };
        acrossColumns(table, [&](int c, TwipsRect rect) {
            layout.reportFooter.labels.push_back(
                Label { table.totals.value(c), rect.translated(0, 90), boldFont, alignOf(table.columns[c]) });
        });
    }
    addPayQr(layout, table);
    return layout;
}

ReportRows TableRows(const TableReport& table)
{
    ReportRows rows;
    rows.reserve(table.lines.size());
    for (const QStringList& line : table.lines) {
        ReportRow row;
        for (int c = 0; c < line.size(); ++c)
            row.insert(columnKey(c), line[c]);
        rows.push_back(std::move(row));
    }
    return rows;
}

ReportWindow* OpenTableReport(QWidget* opener, const TableReport& table, const QString& pdfFolder)
{
    return ReportWindow::Open(opener, TableLayout(table), TableRows(table), pdfFolder);
}

void LayOutRegisterWindow(QWidget* window, const std::vector<LabelledBox>& choices,
                          const std::vector<QWidget*>& choiceButtons, QWidget* grid,
                          const std::vector<QWidget*>& footButtons)
{
    auto* choice = new QHBoxLayout;
    for (const LabelledBox& c : choices) {
        auto* label = new QLabel(c.caption, window);
        label->setBuddy(c.box);
        choice->addWidget(label);
        choice->addWidget(c.box);
    }
    for (QWidget* button : choiceButtons)
        choice->addWidget(button);
    choice->addStretch();
    auto* foot = new QHBoxLayout;
    foot->addStretch();
    for (QWidget* button : footButtons)
        foot->addWidget(button);
    auto* column = new QVBoxLayout(window);
    column->addLayout(choice);
    column->addWidget(grid, 1);
    column->addLayout(foot);
}

ReportButtons NewReportButtons(QWidget* form)
{
    return {NewButton(form, "cmdPrint", QObject::tr("&Print"), QObject::tr("Preview, print or save as PDF")),
            NewButton(form, "cmdSaveCsv", QObject::tr("Save as CS&V"), QObject::tr("For a spreadsheet")),
            NewButton(form, "cmdSaveXlsx", QObject::tr("Save as E&xcel"),
                      QObject::tr("An .xlsx workbook for the accountant")),
            NewButton(form, "cmdClose", QObject::tr("&Close"), QObject::tr("Close this Window"))};
}

QHBoxLayout* LayOutReportWindow(QWidget* form, QHBoxLayout* choice, QTableView* grid, const ReportButtons& b)
{
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    for (QPushButton* button : {b.print, b.csv, b.xlsx, b.close})
        commands->addWidget(button);
    auto* column = new QVBoxLayout(form);
    column->addLayout(choice);
    column->addWidget(grid, 1);
    column->addLayout(commands);
    form->resize(1100, 600);
    return commands;
}

QDateEdit* NewDateBox(QWidget* parent, const char* name, const QDate& day)
{
    auto* box = new QDateEdit(day, parent);
    box->setObjectName(QLatin1String(name));
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    box->setCalendarPopup(true);
    return box;
}

bool AskAndSaveCsv(QWidget* parent, const QString& dataFolder, const QString& suggestedName, const QString& csv)
{
    const QString folder = PrintsFolder(dataFolder);
    QDir().mkpath(folder);
    const QString path = QFileDialog::getSaveFileName(
        parent, QObject::tr("Save as CSV"), QDir(folder).filePath(suggestedName), QObject::tr("CSV files (*.csv)"));
    return !path.isEmpty() && SaveCsv(path, csv);
}

bool SaveCsv(const QString& path, const QString& csv)
{
    const QString error = SaveFileWhole(path, CsvBytes(csv));
    if (!error.isEmpty())
        MsgBox(error);
    return error.isEmpty();
}

bool AskAndSaveXlsx(QWidget* parent, const QString& dataFolder, const QString& suggestedName, const XlsxSheet& sheet)
{
    const QString folder = PrintsFolder(dataFolder);
    QDir().mkpath(folder);
    const QString path = QFileDialog::getSaveFileName(parent, QObject::tr("Save as Excel"),
        QDir(folder).filePath(suggestedName + QStringLiteral(".xlsx")), QObject::tr("Excel workbooks (*.xlsx)"));
    return !path.isEmpty() && SaveXlsx(path, sheet);
}

bool SaveXlsx(const QString& path, const XlsxSheet& sheet)
{
    const QString error = sheet.save(path);
    if (!error.isEmpty())
        MsgBox(error);
    return error.isEmpty();
}

} // namespace zelva
