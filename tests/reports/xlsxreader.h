#pragma once
// Reads back an Excel workbook of one sheet the way a spreadsheet program
// would: the workbook is a zip of XML parts, taken out with unzip; each cell
// gives its kind (number, shared string, inline string, formula), its value,
// the number format of its style and whether its font is bold.
#include <QDate>
#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

namespace testing {

struct XlsxCell {
    QString type; // "n" number, "s" shared string, "str"/"inlineStr" other text
    QString value; // the number as written, or the text
    bool formula = false;
    QString numberFormat; // the format code of the cell's style, "" for General
    bool bold = false;
    bool isNumber() const { return type == "n" && !formula; }
    bool isText() const { return (type == "s" || type == "inlineStr" || type == "str") && !formula; }
    qint64 paise() const { return qRound64(value.toDouble() * 100); }
    // A date serial is the count of days from 30 December 1899.
    QDate date() const { return QDate(1899, 12, 30).addDays(qint64(value.toDouble())); }
};

class XlsxBook {
public:
    explicit XlsxBook(const QString& path)
    {
        readStrings(part(path, "xl/sharedStrings.xml"));
        readStyles(part(path, "xl/styles.xml"));
        readSheet(part(path, "xl/worksheets/sheet1.xml"));
    }

    bool read() const { return !m_cells.isEmpty(); }
    XlsxCell cell(const QString& ref) const { return m_cells.value(ref); }
    QString frozenAt() const { return m_frozenAt; } // the first cell that scrolls; "" unless frozen
    QString sheetFormula() const { return m_anyFormula; } // the first formula found, if any
    int columnsWithWidth() const { return m_widths; }

private:
    static QByteArray part(const QString& path, const char* name)
    {
        QProcess unzip;
        unzip.start("unzip", { "-p", path, QString::fromLatin1(name) });
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    }

    void readStrings(const QByteArray& xml)
    {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == u"si")
                m_strings << reader.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }

    void readStyles(const QByteArray& xml)
    {
        QHash<int, QString> formats;
        QList<bool> boldFonts;
        QString section;
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            const auto name = reader.name();
            const auto attribute = [&](const char* key) { return reader.attributes().value(QLatin1String(key)); };
            if (name == u"numFmts" || name == u"fonts" || name == u"cellXfs" || name == u"cellStyleXfs"
                || name == u"dxfs")
                section = name.toString();
            else if (name == u"numFmt")
                formats.insert(attribute("numFmtId").toInt(), attribute("formatCode").toString());
            else if (name == u"font" && section == "fonts")
                boldFonts << false;
            else if (name == u"b" && section == "fonts")
                boldFonts.last() = true;
            else if (name == u"xf" && section == "cellXfs")
                m_styles.push_back(
                    { formats.value(attribute("numFmtId").toInt()), boldFonts.value(attribute("fontId").toInt()) });
        }
    }

    void readSheet(const QByteArray& xml)
    {
        QXmlStreamReader reader(xml);
        XlsxCell current;
        QString ref;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isEndElement() && reader.name() == u"c") {
                if (current.type == "s")
                    current.value = m_strings.value(current.value.toInt());
                m_cells.insert(ref, current);
                continue;
            }
            if (!reader.isStartElement())
                continue;
            const QXmlStreamAttributes a = reader.attributes();
            if (reader.name() == u"pane" && a.value("state") == u"frozen")
                m_frozenAt = a.value("topLeftCell").toString();
            else if (reader.name() == u"col" && a.hasAttribute("width"))
                ++m_widths;
            else if (reader.name() == u"c") {
                ref = a.value("r").toString();
                const auto style = m_styles.value(a.value("s").toInt());
                current = { a.hasAttribute("t") ? a.value("t").toString() : "n", {}, false, style.first, style.second };
            } else if (reader.name() == u"v" || reader.name() == u"t")
                current.value = reader.readElementText();
            else if (reader.name() == u"f") {
                current.formula = true;
                if (m_anyFormula.isEmpty())
                    m_anyFormula = reader.readElementText();
            }
        }
    }

    QStringList m_strings;
    QList<std::pair<QString, bool>> m_styles;
    QHash<QString, XlsxCell> m_cells;
    QString m_frozenAt;
    QString m_anyFormula;
    int m_widths = 0;
};

} // namespace testing
