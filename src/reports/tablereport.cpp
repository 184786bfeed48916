#include "reports/tablereport.h"

#include "reports/csvfile.h"
#include "ui/message.h"
#include "ui/reportwindow.h"

#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QTableWidget>

namespace zelva {

using namespace report;

namespace {

constexpr double Margin = 700;
constexpr double LineHeight = 300;
constexpr double BoxHeight = 240;
constexpr double Gap = 60; // twips between columns

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
template <typename Make> void acrossColumns(const TableReport& table, Make make)
{
    double left = 0;
    for (int c = 0; c < int(table.columns.size()); ++c) {
        make(c, TwipsRect(left, 0, table.columns[c].width, BoxHeight));
        left += table.columns[c].width + Gap;
    }
}

QTableWidgetItem* cell(const QString& text, const TableColumn& column, bool bold)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment((column.number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

void ShowTable(QTableWidget* grid, const TableReport& table)
{
    grid->clear();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->setVisible(false);
    grid->setColumnCount(int(table.columns.size()));
    QStringList captions;
    for (const TableColumn& column : table.columns)
        captions << column.caption;
    grid->setHorizontalHeaderLabels(captions);
    const int lineCount = int(table.lines.size());
    grid->setRowCount(lineCount + (table.totals.isEmpty() ? 0 : 1));
    const auto fillRow = [&](int row, const QStringList& texts, bool bold) {
        for (int c = 0; c < int(table.columns.size()); ++c)
            grid->setItem(row, c, cell(texts.value(c), table.columns[c], bold));
    };
    for (int row = 0; row < lineCount; ++row)
        fillRow(row, table.lines[row], false);
    if (!table.totals.isEmpty())
        fillRow(lineCount, table.totals, true);
    grid->resizeColumnsToContents();
}

ReportLayout TableLayout(const TableReport& table)
{
    const double width = tableWidth(table);
    const Font titleFont { QStringLiteral("Arial"), 12, true };
    const Font boldFont { QStringLiteral("Arial"), 8.25, true };
    ReportLayout layout;
    layout.caption = table.caption;
    layout.width = width;
    layout.margins = { Margin, Margin, Margin, Margin };
    layout.pageHeader.height = 1000;
    layout.pageHeader.labels = { Label { table.title, { 0, 0, width, 330 }, titleFont, Align::Center },
        Label { table.subtitle, { 0, 360, width, BoxHeight }, {}, Align::Center } };
    acrossColumns(table, [&](int c, TwipsRect rect) {
        layout.pageHeader.labels.push_back(
            Label { table.columns[c].caption, rect.translated(0, 660), boldFont, alignOf(table.columns[c]) });
    });
    layout.pageHeader.rules = { Rule { 0, 950, width } };
    layout.detail.height = LineHeight;
    acrossColumns(table, [&](int c, TwipsRect rect) {
        layout.detail.values.push_back(ValueBox { columnKey(c), rect, {}, alignOf(table.columns[c]) });
    });
    if (!table.totals.isEmpty()) {
        layout.reportFooter.height = LineHeight + 120;
        layout.reportFooter.rules = { Rule { 0, 30, width } };
        acrossColumns(table, [&](int c, TwipsRect rect) {
            layout.reportFooter.labels.push_back(
                Label { table.totals.value(c), rect.translated(0, 90), boldFont, alignOf(table.columns[c]) });
        });
    }
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

QDateEdit* NewDateBox(QWidget* parent, const char* name, const QDate& day)
{
    auto* box = new QDateEdit(day, parent);
    box->setObjectName(QLatin1String(name));
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    box->setCalendarPopup(true);
    return box;
}

void CloseReportForm(QWidget* form)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

QString PrintsFolder(const QString& dataFolder) { return QDir(dataFolder).filePath(QStringLiteral("Prints")); }

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

} // namespace zelva
