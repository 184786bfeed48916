#pragma once
// A report as an Excel workbook of one sheet, for the accountant: numbers as
// numbers, amounts in the Indian grouping (12,34,567.89), dates as dates
// shown dd/mm/yyyy, text as typed (never run as a formula), a bold header row
// that stays in view, and columns wide enough for what they hold.
#include <QDate>
#include <QString>
#include <QVariant>

#include <vector>

namespace zelva {

// What a column holds, which decides how its cells are written.
enum class CellKind {
    Text, // a QString, written as typed
    Date, // a QDate, written as a date
    Amount, // integer paise, written as rupees in the Indian grouping
    Count, // a whole number
    Number, // a quantity or a rate, as it is
};

struct SheetColumn {
    QString caption;
    CellKind kind = CellKind::Text;
};

class XlsxSheet {
public:
    XlsxSheet(const QString& name, std::vector<SheetColumn> columns);

    // One cell a column; a null QVariant, an empty text or a missing cell is
    // left blank. A text in a column of another kind (a totals row's caption)
    // is written as text.
    void addRow(const QVariantList& cells);
    // The closing line, in bold.
    void addTotals(const QVariantList& cells);

    // Writes the workbook to the path in one step (an old file stays as it was
    // when the new one cannot be written whole); "" when written, else what
    // went wrong, naming the file.
    QString save(const QString& path) const;

    // The Excel number format of amounts: Indian grouping of lakhs and crores.
    static const char* const AmountFormat;
    static const char* const DateFormat;

private:
    struct Row {
        QVariantList cells;
        bool bold = false;
    };
    QString writeTo(const QString& path) const;
    std::vector<double> columnWidths() const;

    QString m_name;
    std::vector<SheetColumn> m_columns;
    std::vector<Row> m_rows;
};

} // namespace zelva
