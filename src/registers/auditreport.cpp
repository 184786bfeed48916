#include "registers/auditreport.h"

#include "registers/csvfile.h"

#include <QCoreApplication>
#include <QDateTime>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

} // namespace

QString AuditTimeText(const QString& stored)
{
    const QDateTime at = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return at.isValid() ? at.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")) : stored;
}

QStringList AuditTrailCaptions()
{
    return {tr("Entry"), tr("Time"), tr("Operator"), tr("Computer"), tr("Table"), tr("Record"),
            tr("Action"), tr("Field"), tr("Old value"), tr("New value")};
}

std::vector<QStringList> AuditTrailLines(const std::vector<AuditEntry>& entries)
{
    std::vector<QStringList> lines;
    for (const AuditEntry& e : entries) {
        const QStringList head{QString::number(e.serial), AuditTimeText(e.at), e.operatorName, e.computer,
                               e.table, e.key, e.action};
        if (e.changes.empty())
            lines.push_back(head + QStringList{{}, {}, {}});
        for (const FieldChange& c : e.changes)
            lines.push_back(head + QStringList{c.field, c.before, c.after});
    }
    return lines;
}

QString AuditTrailCsv(const std::vector<AuditEntry>& entries)
{
    QString csv = CsvLine(AuditTrailCaptions());
    for (const QStringList& line : AuditTrailLines(entries))
        csv += CsvLine(line);
    return csv;
}

XlsxSheet AuditTrailSheet(const std::vector<AuditEntry>& entries)
{
    std::vector<SheetColumn> columns;
    for (const QString& caption : AuditTrailCaptions())
        columns.push_back({caption, CellKind::Text});
    columns.front().kind = CellKind::Count;
    XlsxSheet sheet(tr("Audit Trail"), columns);
    for (const QStringList& line : AuditTrailLines(entries)) {
        QVariantList cells{line.front().toLongLong()};
        for (const QString& text : line.mid(1))
            cells << text;
        sheet.addRow(cells);
    }
    return sheet;
}

} // namespace zelva
