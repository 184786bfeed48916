#pragma once
// Comma-separated text for a spreadsheet, and writing a file whole or not at all.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zelva {

// One line of cells, quoted where a comma, quote or line break needs it, ended
// by CR LF. A text cell that a spreadsheet would run as a formula ("=...",
// "+...", "-...", "@...") is kept as text by a leading apostrophe; amounts
// are passed as numbers and left alone.
QString CsvLine(const QStringList& textCells, const QStringList& numberCells = {});

// The lines as a UTF-8 file, with the byte-order mark spreadsheets look for.
QByteArray CsvBytes(const QString& lines);

// Writes the bytes to the path in one step (a full disk or a folder that
// cannot be written leaves any old file as it was); "" when written, else what
// went wrong, naming the file.
QString SaveFileWhole(const QString& path, const QByteArray& bytes);

} // namespace zelva
