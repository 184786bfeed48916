#include "registers/sheetfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <unzip.h>

namespace zelva {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("SheetFile", text);
}

QString shownName(const QString& path)
{
    return QFileInfo(path).fileName();
}

SheetCells refused(const QString& problem)
{
    SheetCells cells;
    cells.problem = problem;
    return cells;
}

// Drops the empty rows at the end (a spreadsheet's last line break, rows
// formatted but never filled).
void dropTrailingEmptyRows(std::vector<QStringList>& rows)
{
    while (!rows.empty()) {
        const QStringList& last = rows.back();
        if (std::any_of(last.begin(), last.end(), [](const QString& cell) { return !cell.trimmed().isEmpty(); }))
            return;
        rows.pop_back();
    }
}

// ';' when the first line has more of them than commas outside quotes.
QChar separatorOf(const QString& text)
{
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? QChar(';') : QChar(',');
}

// --- the workbook's zip parts ---

// The workbook's zip, read through the zip library libxlsxwriter writes with.
struct Workbook {
    unzFile zip = nullptr;
    explicit Workbook(const QString& path) : zip(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Workbook()
    {
        if (zip)
            unzClose(zip);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    bool open() const { return zip != nullptr; }
    // The part's bytes; ok false when it is missing or cannot be unpacked whole.
    QByteArray part(const QString& name, bool& ok)
    {
        ok = false;
        if (unzLocateFile(zip, name.toUtf8().constData(), 1) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK)
            return {};
        QByteArray bytes;
        char buffer[65536];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, read);
        // Closing checks the part's CRC: a damaged part is not read as whole.
        ok = read == 0 && unzCloseCurrentFile(zip) == UNZ_OK;
        return bytes;
    }
};

struct SheetEntry {
    QString name;
    QString target; // the part's path inside the zip
};

QString partPath(QString target)
{
    if (target.startsWith('/'))
        return target.mid(1);
    return target.startsWith(QLatin1String("xl/")) ? target : QStringLiteral("xl/") + target;
}

// The workbook's sheets in order, with the part each is kept in.
std::vector<SheetEntry> sheetsOf(Workbook& book, bool& ok)
{
    const QByteArray workbook = book.part(QStringLiteral("xl/workbook.xml"), ok);
    if (!ok)
        return {};
    bool relsOk = false;
    const QByteArray rels = book.part(QStringLiteral("xl/_rels/workbook.xml.rels"), relsOk);
    QHash<QString, QString> targets;
    QXmlStreamReader relsReader(rels);
    while (relsOk && !relsReader.atEnd()) {
        if (relsReader.readNext() == QXmlStreamReader::StartElement && relsReader.name() == u"Relationship")
            targets.insert(relsReader.attributes().value("Id").toString(),
                           relsReader.attributes().value("Target").toString());
    }
    std::vector<SheetEntry> sheets;
    QXmlStreamReader reader(workbook);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != u"sheet")
            continue;
        QString id;
        for (const QXmlStreamAttribute& attribute : reader.attributes())
            if (attribute.name() == u"id")
                id = attribute.value().toString();
        const QString target = targets.value(id, QStringLiteral("worksheets/sheet%1.xml").arg(sheets.size() + 1));
        sheets.push_back({reader.attributes().value("name").toString(), partPath(target)});
    }
    ok = !reader.hasError();
    return sheets;
}

QStringList sharedStringsOf(Workbook& book, bool& ok)
{
    bool present = false;
    const QByteArray xml = book.part(QStringLiteral("xl/sharedStrings.xml"), present);
    ok = true;
    QStringList strings;
    if (!present)
        return strings; // a workbook of numbers only has none
    QXmlStreamReader reader(xml);
    QString current;
    bool inString = false, inPhonetic = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (reader.name() == u"si") {
                inString = true;
                current.clear();
            } else if (reader.name() == u"rPh") {
                inPhonetic = true; // a reading aid, not part of the text
            } else if (reader.name() == u"t" && inString && !inPhonetic) {
                current += reader.readElementText();
            }
        } else if (reader.isEndElement()) {
            if (reader.name() == u"si") {
                strings << current;
                inString = false;
            } else if (reader.name() == u"rPh") {
                inPhonetic = false;
            }
        }
    }
    ok = !reader.hasError();
    return strings;
}

// The column index of a cell reference ("C12" -> 2); -1 when there is none.
int columnOfReference(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.toUpper().unicode() - 'A' + 1);
        ++letters;
    }
    return letters ? column - 1 : -1;
}

// A number as a spreadsheet shows it when General: "1250.5", not "1.2505E3".
QString numberText(const QString& stored)
{
    if (!stored.contains('E') && !stored.contains('e'))
        return stored;
    bool ok = false;
    const double value = stored.toDouble(&ok);
    return ok ? QString::number(value, 'g', 15) : stored;
}

// Reads one <c> element; the reader stands on its start.
QString cellText(QXmlStreamReader& reader, const QStringList& shared)
{
    const QString type = reader.attributes().value("t").toString();
    QString value, inline_;
    while (!(reader.isEndElement() && reader.name() == u"c") && !reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"v")
            value = reader.readElementText();
        else if (reader.name() == u"t")
            inline_ += reader.readElementText();
    }
    if (type == u"s") {
        const int index = value.toInt();
        return index >= 0 && index < shared.size() ? shared.at(index) : QString();
    }
    if (type == u"inlineStr")
        return inline_;
    if (type == u"b")
        return value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type == u"str" || type == u"e")
        return value;
    return numberText(value);
}

std::vector<QStringList> sheetRows(const QByteArray& xml, const QStringList& shared, bool& ok)
{
    std::vector<QStringList> rows;
    QXmlStreamReader reader(xml);
    QStringList* row = nullptr;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"row") {
            // Rows left out of the part are empty rows of the sheet.
            const qsizetype number = reader.attributes().value("r").toLongLong();
            while (number > 0 && qsizetype(rows.size()) < number - 1)
                rows.emplace_back();
            rows.emplace_back();
            row = &rows.back();
        } else if (reader.name() == u"c" && row) {
            const int column = columnOfReference(reader.attributes().value("r"));
            const QString text = cellText(reader, shared);
            const int at = column >= 0 ? column : int(row->size());
            while (row->size() < at)
                row->append(QString());
            row->append(text);
        }
    }
    ok = !reader.hasError();
    dropTrailingEmptyRows(rows);
    return rows;
}

bool startsWith(const QString& path, const QByteArray& magic)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

// An Office file protected by a password is not a zip but an OLE compound file.
bool isPasswordProtected(const QString& path)
{
    return startsWith(path, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

QString cutOff(const QString& path)
{
    return tr("The workbook %1 cannot be read whole: it may be cut off or damaged.").arg(shownName(path));
}

SheetCells readWorkbook(const QString& path, const QString& sheet)
{
    Workbook book(path);
    if (!book.open())
        return refused(cutOff(path));
    bool ok = false;
    const std::vector<SheetEntry> sheets = sheetsOf(book, ok);
    if (!ok)
        return refused(cutOff(path));
    if (sheets.empty())
        return refused(tr("The workbook %1 has no sheet.").arg(shownName(path)));
    auto chosen = sheets.begin();
    if (!sheet.isEmpty()) {
        chosen = std::find_if(sheets.begin(), sheets.end(), [&](const SheetEntry& s) { return s.name == sheet; });
        if (chosen == sheets.end())
            return refused(tr("The workbook %1 has no sheet named \"%2\".").arg(shownName(path), sheet));
    }
    const QStringList shared = sharedStringsOf(book, ok);
    if (!ok)
        return refused(cutOff(path));
    const QByteArray xml = book.part(chosen->target, ok);
    if (!ok)
        return refused(cutOff(path));
    SheetCells cells;
    cells.rows = sheetRows(xml, shared, ok);
    if (!ok)
        return refused(cutOff(path));
    if (cells.rows.empty())
        return refused(tr("The sheet \"%1\" of %2 is empty.").arg(chosen->name, shownName(path)));
    return cells;
}

} // namespace

bool LooksLikeWorkbook(const QString& path)
{
    return startsWith(path, QByteArray("PK\x03\x04", 4));
}

SheetCells ReadCsvBytes(const QByteArray& bytes, const QString& fileName)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        return refused(tr("%1 is neither a CSV file (UTF-8 text) nor an .xlsx workbook.").arg(fileName));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.trimmed().isEmpty())
        return refused(tr("%1 is empty.").arg(fileName));
    const QChar separator = separatorOf(text);
    SheetCells cells;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            row << cell;
            cell.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
            row << cell;
            cell.clear();
            cells.rows.push_back(row);
            row.clear();
        } else {
            cell += c;
        }
    }
    if (quoted)
        return refused(tr("%1 ends inside a quoted cell: it may be cut off.").arg(fileName));
    if (!cell.isEmpty() || !row.isEmpty()) {
        row << cell;
        cells.rows.push_back(row);
    }
    dropTrailingEmptyRows(cells.rows);
    return cells;
}

SheetCells ReadSheetFile(const QString& path, const QString& sheet)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(tr("%1 cannot be opened: %2").arg(shownName(path), file.errorString()));
    file.close();
    if (isPasswordProtected(path))
        return refused(tr("The workbook %1 is protected by a password: save it without one and choose it again.")
                           .arg(shownName(path)));
    if (LooksLikeWorkbook(path))
        return readWorkbook(path, sheet);
    if (!file.open(QIODevice::ReadOnly))
        return refused(tr("%1 cannot be opened: %2").arg(shownName(path), file.errorString()));
    return ReadCsvBytes(file.readAll(), shownName(path));
}

QStringList WorkbookSheetNames(const QString& path, QString* problem)
{
    if (!LooksLikeWorkbook(path))
        return {};
    Workbook book(path);
    bool ok = book.open();
    std::vector<SheetEntry> sheets;
    if (ok)
        sheets = sheetsOf(book, ok);
    if (!ok && problem)
        *problem = cutOff(path);
    QStringList names;
    for (const SheetEntry& entry : sheets)
        names << entry.name;
    return names;
}

} // namespace zelva
