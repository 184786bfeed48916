#include "registers/csvfile.h"

#include <QSaveFile>

namespace zelva {

namespace {

QString quotedCell(QString cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) && !cell.contains(QLatin1Char('\n'))
        && !cell.contains(QLatin1Char('\r')))
        return cell;
    return QLatin1Char('"') + cell.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString textCell(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return quotedCell(QLatin1Char('\'') + text);
    return quotedCell(text);
}

} // namespace

QString CsvLine(const QStringList& textCells, const QStringList& numberCells)
{
    QStringList cells;
    for (const QString& text : textCells)
        cells << textCell(text);
    for (const QString& number : numberCells)
        cells << quotedCell(number);
    return cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QByteArray CsvBytes(const QString& lines) { return QByteArray("\xEF\xBB\xBF") + lines.toUtf8(); }

QString SaveFileWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace zelva
