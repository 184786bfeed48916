#pragma once
// Buyers, suppliers and stock items brought in from a table of cells (a CSV
// file or a workbook's sheet, read by registers/sheetfile.h), free of any
// window.
//
// How it goes:
// - the first row is the header; each cell names a column by its caption on
//   the master's form ("Name", "GSTIN/UIN", "HSN/ SAC", "Opening Quantity"),
//   letter case, blanks and punctuation aside. A header of another name is
//   mapped once by the operator (ColumnMapping). A header that names no
//   column is left out; two that give the same column refuse the file;
// - PreviewMasterImport checks every row before anything is stored and names
//   each row's problems: a GSTIN whose check character or State is wrong, a
//   State not in the list, a PIN that is not six digits, an HSN code too short
//   for the company's turnover band, a GST rate the portal refuses or that is
//   not in force on the day, a number that is not a number, a name already in
//   the masters or twice in the file. A name already in the masters is
//   updated or skipped, as the operator chose: never a second record;
// - StoreMasterImport stores every good row in one transaction (new records
//   by the usual code ladder, each logged in the audit trail) or none at all;
// - the rows left out go back to the operator with the reason in a last
//   column (RejectedRows), so they can be mended and brought in again.
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace zelva {

class Database;

enum class MasterKind { Buyer, Supplier, Item };

// What the import does with a row whose name is already in the masters.
enum class ExistingName { Update, Skip };

struct ImportColumn {
    QString field;       // the stored field ("Gstin"), or "GstRate" for an item's rate
    QString header;      // the caption it goes by ("GSTIN/UIN")
    QStringList aliases; // other captions read the same way ("GSTIN", "Unit")
    bool number = false; // the cell must be a number
};

// The columns of a kind, in the template's order; the name comes first.
const std::vector<ImportColumn>& ImportColumns(MasterKind kind);
// The kind's name as the window offers it ("Buyers").
QString MasterKindText(MasterKind kind);

// The template of a kind: the header row and one filled example row.
std::vector<QStringList> ImportTemplate(MasterKind kind);

// The operator's mapping: a file's header (as the file spells it) to the
// header of one of the kind's columns, or to "" to leave it out.
using ColumnMapping = QHash<QString, QString>;

struct ImportRow {
    int line = 0;      // its row in the file, the header being row 1
    QStringList cells; // as the file has them
    QHash<QString, QString> values; // by field, as they will be stored
    QStringList problems;           // why it cannot be stored; empty when it can
    qint64 existingKey = -1;        // the record of the same name, -1 for a new name
    QString existingCode;
    bool skipped = false; // its name is in the masters and the operator chose Skip
    bool good() const { return problems.isEmpty() && !skipped; }
    // What it becomes ("new", "update B00003", "left out"), for the preview.
    QString becomes() const;
    // The problems in one text, "" when none.
    QString reason() const;
};

struct ImportPreview {
    MasterKind kind = MasterKind::Buyer;
    QStringList header;       // the file's header row
    QStringList columnOfCell; // for each header cell, the column's header it gives ("" none)
    QString problem;          // what refuses the whole file; "" when rows can be stored
    std::vector<ImportRow> rows;
    int goodRows() const;
    int leftOutRows() const { return int(rows.size()) - goodRows(); }
};

// Checks each row against the masters as they stand and the GST rates in
// force on the day. progress (optional) is told the rows checked so far and
// stops the check when it answers false (problem then says so). Throws DataError.
ImportPreview PreviewMasterImport(Database& db, MasterKind kind, const std::vector<QStringList>& rows,
                                  const ColumnMapping& mapping, ExistingName existing, const QDate& day,
                                  const std::function<bool(int)>& progress = {});

struct ImportResult {
    int added = 0;
    int updated = 0;
    bool cancelled = false; // progress answered false: nothing was stored
    // "Imported 12 buyers: 10 new, 2 updated. 3 rows were left out."
    QString text(const ImportPreview& preview) const;
};

// Stores the good rows of the preview in one transaction, all or none.
// progress as above: false rolls everything back. Throws DataError (nothing
// is then stored); refuses a preview with a problem of the whole file.
ImportResult StoreMasterImport(Database& db, const ImportPreview& preview,
                               const std::function<bool(int)>& progress = {});

// The rows left out: the file's header with "Reason" after it, then each such
// row's cells with its reason in the last column.
std::vector<QStringList> RejectedRows(const ImportPreview& preview);

} // namespace zelva
