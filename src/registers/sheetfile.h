#pragma once
// Reading a table of cells from a file an operator brings: a CSV file or the
// sheet of an .xlsx workbook, free of any window.
//
// CSV follows RFC 4180: a cell in double quotes may hold the separator, line
// breaks and doubled quotes; UTF-8 with or without the byte-order mark; the
// separator is ';' or ',', whichever the first line uses outside quotes (a
// spreadsheet set to a decimal comma writes ';').
//
// An .xlsx workbook is read from its zip parts: the first sheet or the one
// named, its shared strings, inline strings, formula results and numbers (as
// the cell holds them, "1250.5"). Empty cells between full ones come as "";
// every row has as many cells as it was written with, trailing empty rows are
// dropped.
//
// Whatever cannot be read whole (a file cut off in the middle, one that is
// neither CSV nor a workbook, an empty one, a workbook protected by a
// password) gives a problem and no rows: nothing half-read goes further.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace zelva {

struct SheetCells {
    std::vector<QStringList> rows; // as the file has them, the header row first
    QString problem;                // "" when read; else one sentence naming the file
    bool read() const { return problem.isEmpty(); }
};

// Reads the file by what it holds (a zip is a workbook, anything else CSV).
// sheet names the workbook's sheet; "" for the first. CSV has no sheets.
SheetCells ReadSheetFile(const QString& path, const QString& sheet = {});

// The CSV rows of bytes; fileName is only for the messages.
SheetCells ReadCsvBytes(const QByteArray& bytes, const QString& fileName);

// The sheets of a workbook in their order; empty for a CSV file or a file
// that cannot be read (problem then says why, for a workbook).
QStringList WorkbookSheetNames(const QString& path, QString* problem = nullptr);

// True when the file starts as a zip (an .xlsx workbook) does.
bool LooksLikeWorkbook(const QString& path);

} // namespace zelva
