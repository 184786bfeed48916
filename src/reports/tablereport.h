#pragma once
// A table of report lines shown the same way on screen and on paper: the grid
// of a report window (columns, the lines, the totals as a last bold line) and
// the report layout the engine prints it with (title and period on every page,
// column captions, one detail per line, the totals at the end). Texts are
// passed as they are to be seen, so paper and screen show the same figures.
#include "ui/report.h"

#include <QStringList>
#include <vector>

class QDate;
class QDateEdit;
class QHBoxLayout;
class QPushButton;
class QTableView;
class QWidget;

namespace zelva {

class ReportWindow;
class XlsxSheet;

struct TableColumn {
    QString caption;
    double width = 0; // twips on paper
    bool number = false; // right-aligned
};

struct TableReport {
    QString caption; // the report window's title and the PDF's name
    QString title; // heads every page
    QString subtitle; // the period, under the title
    std::vector<TableColumn> columns;
    std::vector<QStringList> lines; // one text per column
    QStringList totals; // the closing line; empty for none
    QString payQr; // a QR code printed beneath, "Scan to pay" under it; "" for none
};

// Shows the columns and lines in the grid (read-only, whole rows selected),
// the totals as a last bold line, each column wide enough for its longest
// text. The grid reads the texts as it draws them, so a month of thousands of
// invoices shows at once.
void ShowTable(QTableView* grid, const TableReport& table);
// A grid ready for ShowTable, with its objectName.
QTableView* NewTableGrid(QWidget* parent, const char* name);
// The text the grid shows at row and column ("" outside the table).
QString GridText(const QTableView* grid, int row, int column);
int GridRows(const QTableView* grid);
// Widens the days from and to, where needed, so that they hold day.
void WidenDays(QDateEdit* from, QDateEdit* to, const QDate& day);
// Chooses the first row whose texts at the columns are the ones given
// (column, text pairs) and scrolls to it; false (the choice as it was) when
// no row has them.
bool ChooseGridRow(QTableView* grid, const std::vector<std::pair<int, QString>>& texts);

report::ReportLayout TableLayout(const TableReport& table);
report::ReportRows TableRows(const TableReport& table);

// Opens the report window over the table beside opener.
ReportWindow* OpenTableReport(QWidget* opener, const TableReport& table, const QString& pdfFolder);

// A register window's page: a row of labelled choice boxes followed by its
// buttons, the grid beneath taking the room left, the window's own buttons at
// the foot on the right. Each label leads to its box (its access key).
struct LabelledBox {
    QString caption;
    QWidget* box;
};
void LayOutRegisterWindow(QWidget* window, const std::vector<LabelledBox>& choices,
                          const std::vector<QWidget*>& choiceButtons, QWidget* grid,
                          const std::vector<QWidget*>& footButtons);

// The buttons a report window over a table has beneath its grid.
struct ReportButtons {
    QPushButton* print;
    QPushButton* csv;
    QPushButton* xlsx;
    QPushButton* close;
};
ReportButtons NewReportButtons(QWidget* form);
// The choice line above, the grid, the buttons beneath (their line returned).
QHBoxLayout* LayOutReportWindow(QWidget* form, QHBoxLayout* choice, QTableView* grid, const ReportButtons& b);

// A date box for a period's ends: dd/MM/yyyy with a calendar to pick from.
QDateEdit* NewDateBox(QWidget* parent, const char* name, const QDate& day);

// Asks where to save the CSV text (offering suggestedName in the Prints folder)
// and writes it whole; false when the operator cancels or the file cannot be
// written (the operator is told why).
bool AskAndSaveCsv(QWidget* parent, const QString& dataFolder, const QString& suggestedName, const QString& csv);
// Writes the CSV text whole; false (and a message naming the file) when it cannot.
bool SaveCsv(const QString& path, const QString& csv);

// The same for an Excel workbook of the sheet, offered as suggestedName.xlsx.
bool AskAndSaveXlsx(QWidget* parent, const QString& dataFolder, const QString& suggestedName, const XlsxSheet& sheet);
bool SaveXlsx(const QString& path, const XlsxSheet& sheet);

} // namespace zelva
