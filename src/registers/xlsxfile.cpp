#include "registers/xlsxfile.h"

#include "registers/csvfile.h"
#include "platform/money.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <xlsxwriter.h>

namespace zelva {

// Lakhs and crores: Excel groups by threes only, so the sizes are told apart
// by conditions, of which a format has two: crores beyond 99 stay one group
// and a negative amount is grouped by thousands.
const char* const XlsxSheet::AmountFormat = "[>=10000000]##\\,##\\,##\\,##0.00;[>=100000]##\\,##\\,##0.00;##,##0.00";
const char* const XlsxSheet::DateFormat = "dd/mm/yyyy";

namespace {

constexpr double MinimumWidth = 6; // characters
constexpr double MaximumWidth = 50;
constexpr int SheetNameLength = 31; // Excel's limit

// Excel refuses a sheet name over 31 characters or with any of []:*?/\ in it.
QString sheetName(QString name)
{
    for (QChar& c : name)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('-');
    name = name.left(SheetNameLength).trimmed();
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

// The characters a cell shows, for the width of its column.
qsizetype shownLength(const QVariant& cell, CellKind kind)
{
    if (cell.typeId() == QMetaType::QString)
        return cell.toString().size();
    switch (kind) {
    case CellKind::Date:
        return 10;
    case CellKind::Amount:
        return ShownAmountText(cell.toLongLong(), true).size();
    default:
        return cell.toString().size();
    }
}

bool isBlank(const QVariant& cell)
{
    return cell.isNull() || (cell.typeId() == QMetaType::QString && cell.toString().isEmpty())
        || (cell.typeId() == QMetaType::QDate && !cell.toDate().isValid());
}

// The formats of a workbook: plain and bold of each kind.
struct Formats {
    lxw_format* text[2];
    lxw_format* amount[2];
    lxw_format* date[2];
    lxw_format* number[2];

    explicit Formats(lxw_workbook* book)
    {
        for (int bold = 0; bold < 2; ++bold) {
            text[bold] = workbook_add_format(book);
            amount[bold] = workbook_add_format(book);
            format_set_num_format(amount[bold], XlsxSheet::AmountFormat);
            date[bold] = workbook_add_format(book);
            format_set_num_format(date[bold], XlsxSheet::DateFormat);
            number[bold] = workbook_add_format(book);
            if (bold)
                for (lxw_format* format : { text[1], amount[1], date[1], number[1] })
                    format_set_bold(format);
        }
    }
};

lxw_error writeCell(
    lxw_worksheet* sheet, int row, int column, const QVariant& cell, CellKind kind, const Formats& formats, bool bold)
{
    if (cell.typeId() == QMetaType::QString || kind == CellKind::Text)
        return worksheet_write_string(sheet, row, column, cell.toString().toUtf8().constData(), formats.text[bold]);
    switch (kind) {
    case CellKind::Date: {
        const QDate day = cell.toDate();
        lxw_datetime when { day.year(), day.month(), day.day(), 0, 0, 0 };
        return worksheet_write_datetime(sheet, row, column, &when, formats.date[bold]);
    }
    case CellKind::Amount:
        return worksheet_write_number(sheet, row, column, ToRupees(cell.toLongLong()), formats.amount[bold]);
    default:
        return worksheet_write_number(sheet, row, column, cell.toDouble(), formats.number[bold]);
    }
}

} // namespace

XlsxSheet::XlsxSheet(const QString& name, std::vector<SheetColumn> columns)
    : m_name(sheetName(name))
    , m_columns(std::move(columns))
{
}

void XlsxSheet::addRow(const QVariantList& cells) { m_rows.push_back({ cells, false }); }

void XlsxSheet::addTotals(const QVariantList& cells) { m_rows.push_back({ cells, true }); }

std::vector<double> XlsxSheet::columnWidths() const
{
    std::vector<double> widths;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        qsizetype longest = m_columns[c].caption.size();
        for (const Row& row : m_rows)
            if (c < row.cells.size() && !isBlank(row.cells[c]))
                longest = std::max(longest, shownLength(row.cells[c], m_columns[c].kind));
        widths.push_back(std::clamp(double(longest) + 2, MinimumWidth, MaximumWidth));
    }
    return widths;
}

// Writes the workbook at path; "" when done, else the library's reason.
QString XlsxSheet::writeTo(const QString& path) const
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return QStringLiteral("the workbook could not be made");
    lxw_worksheet* sheet = workbook_add_worksheet(book, m_name.toUtf8().constData());
    const Formats formats(book);
    lxw_error error = LXW_NO_ERROR;
    const auto keep = [&error](lxw_error result) {
        if (error == LXW_NO_ERROR)
            error = result;
    };
    const std::vector<double> widths = columnWidths();
    for (int c = 0; c < int(m_columns.size()); ++c) {
        keep(worksheet_set_column(sheet, c, c, widths[c], nullptr));
        keep(worksheet_write_string(sheet, 0, c, m_columns[c].caption.toUtf8().constData(), formats.text[1]));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const Row& row = m_rows[r];
        for (int c = 0; c < int(m_columns.size()) && c < row.cells.size(); ++c)
            if (!isBlank(row.cells[c]))
                keep(writeCell(sheet, r + 1, c, row.cells[c], m_columns[c].kind, formats, row.bold));
    }
    keep(workbook_close(book)); // frees the workbook whatever happened
    return error == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(error));
}

QString XlsxSheet::save(const QString& path) const
{
    // The library writes where it is told as it goes; the workbook is made
    // aside and then put in place whole.
    const QTemporaryDir aside;
    const QString made = aside.filePath(QStringLiteral("report.xlsx"));
    const QString error = aside.isValid() ? writeTo(made) : aside.errorString();
    if (!error.isEmpty())
        return QStringLiteral("Could not write %1: %2").arg(path, error);
    QFile file(made);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return SaveFileWhole(path, file.readAll());
}

} // namespace zelva
