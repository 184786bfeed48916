#include "data/audittrail.h"

#include "data/batchinsert.h"
#include "data/database.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>

namespace zelva {

namespace {

const QString Operation = QStringLiteral("keep the audit trail");
const QString Columns = QStringLiteral("\"Sno\", \"At\", \"Operator\", \"Computer\", \"TableName\", \"RecordKey\", "
                                       "\"Action\", \"Changes\", \"Hash\"");

QString& auditOperator()
{
    static QString name;
    return name;
}

QString trailTable()
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Zlv), QLatin1String(AuditTrailTable));
}

// A text as a JSON string, written as QJsonDocument writes it (UTF-8 kept,
// quotes, backslashes and control characters escaped): the trail of an import
// holds tens of thousands of entries, and the document's tree costs more than
// the rest of an entry.
void appendJsonString(QString& out, const QString& text)
{
    static constexpr char16_t hexDigits[] = u"0123456789abcdef";
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += u"\\\""; break;
        case u'\\': out += u"\\\\"; break;
        case u'\b': out += u"\\b"; break;
        case u'\f': out += u"\\f"; break;
        case u'\n': out += u"\\n"; break;
        case u'\r': out += u"\\r"; break;
        case u'\t': out += u"\\t"; break;
        default:
            if (c.unicode() < 0x20) {
                out += u"\\u00";
                out += QChar(hexDigits[c.unicode() >> 4]);
                out += QChar(hexDigits[c.unicode() & 0xf]);
            } else {
                out += c;
            }
        }
    }
    out += u'"';
}

std::vector<FieldChange> changesFrom(const QString& text)
{
    std::vector<FieldChange> changes;
    for (const QJsonValue& v : QJsonDocument::fromJson(text.toUtf8()).array()) {
        const QJsonArray c = v.toArray();
        changes.push_back({c.at(0).toString(), c.at(1).toString(), c.at(2).toString()});
    }
    return changes;
}

// The stored parts of an entry in their order, each with its length, so no
// two different entries hash the same text; then the previous entry's hash.
// Gathered into one text and hashed at once; one hasher serves a whole batch.
class EntryHash {
public:
    QByteArray of(const QByteArray& previous, qint64 serial, const QStringList& parts)
    {
        m_text.resize(0);
        add(previous);
        add(QByteArray::number(serial));
        for (const QString& part : parts)
            add(part.toUtf8());
        m_hash.reset();
        m_hash.addData(m_text);
        return m_hash.result().toHex();
    }

private:
    void add(QByteArrayView part)
    {
        m_text += QByteArray::number(part.size());
        m_text += ':';
        m_text += part;
    }

    QByteArray m_text;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

} // namespace

QString AuditChangesText(const std::vector<FieldChange>& changes)
{
    if (changes.empty())
        return {};
    QString text;
    text.reserve(48 * qsizetype(changes.size()));
    text += u'[';
    for (const FieldChange& c : changes) {
        if (text.size() > 1)
            text += u',';
        text += u'[';
        appendJsonString(text, c.field);
        text += u',';
        appendJsonString(text, c.before);
        text += u',';
        appendJsonString(text, c.after);
        text += u']';
    }
    text += u']';
    return text;
}

QString AuditActionText(AuditAction action)
{
    switch (action) {
    case AuditAction::Added: return QStringLiteral("added");
    case AuditAction::Changed: return QStringLiteral("changed");
    case AuditAction::Cancelled: return QStringLiteral("cancelled");
    case AuditAction::Marked: return QStringLiteral("marked");
    case AuditAction::FoundBroken: return QStringLiteral("found broken");
    }
    return {};
}

void SetAuditOperator(const QString& userName) { auditOperator() = userName; }

QString AuditOperator() { return auditOperator(); }

QString AuditKeyField(const QString& table)
{
    if (table == QLatin1String("Login"))
        return QStringLiteral("username");
    const TableDef* def = FindTable(table);
    if (!def)
        return {};
    return def->codeField.isEmpty() ? def->serialField : def->codeField;
}

bool AuditHidesField(const QString& table, const QString& field)
{
    return table == QLatin1String("Login") && field.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0;
}

QString HiddenValueText() { return QStringLiteral("(not kept)"); }

void LogChange(Database& db, const QString& table, const QString& key, AuditAction action,
               const std::vector<FieldChange>& changes)
{
    AuditBatch entry(db);
    entry.add(table, key, action, changes);
    entry.write();
}

void AuditBatch::add(const QString& table, const QString& key, AuditAction action, std::vector<FieldChange> changes)
{
    m_entries.push_back({table, key, action, std::move(changes)});
}

void AuditBatch::write()
{
    if (m_entries.empty())
        return;
    if (!m_db.inTransaction())
        throw DataError(Operation, m_db.placeOf(DbFile::Zlv),
                        QStringLiteral("a change to %1 must be logged inside its own piece of work").arg(m_entries.front().table));
    // The tail inside the write transaction: the writers' lock (BEGIN
    // IMMEDIATE on the files, the advisory lock on the server) keeps any other
    // counter from appending after the same entry; the unique serial backs it up.
    QSqlQuery tail = m_db.run(QStringLiteral("SELECT \"Sno\", \"Hash\" FROM %1 ORDER BY \"Sno\" DESC LIMIT 1").arg(trailTable()),
                              {}, Operation, DbFile::Zlv);
    qint64 serial = 0;
    QByteArray previous;
    if (tail.next()) {
        serial = tail.value(0).toLongLong();
        previous = tail.value(1).toString().toLatin1();
    }
    tail.finish();
    const QString at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    const QString operatorName = AuditOperator().isEmpty() ? QStringLiteral("(not logged in)") : AuditOperator();
    const QString computer = QSysInfo::machineHostName();
    InsertBatch rows(m_db, DbFile::Zlv, QLatin1String(AuditTrailTable),
                     {"Sno", "At", "Operator", "Computer", "TableName", "RecordKey", "Action", "Changes", "Hash"},
                     Operation);
    EntryHash hash;
    for (const Pending& entry : m_entries) {
        ++serial;
        const QStringList parts{at, operatorName, computer, entry.table, entry.key, AuditActionText(entry.action),
                                AuditChangesText(entry.changes)};
        previous = hash.of(previous, serial, parts);
        QVariantList values{serial};
        for (const QString& part : parts)
            values << part;
        values << QString::fromLatin1(previous);
        rows.add(std::move(values));
    }
    rows.write();
    m_entries.clear();
}

std::vector<std::pair<QString, QString>> KeptWithRecord(const QString& table, const QString& key)
{
    if (table == u"CustomerDetails")
        return {{QStringLiteral("OpeningBill"), QStringLiteral("B ") + key}};
    if (table == u"Supplier")
        return {{QStringLiteral("OpeningBill"), QStringLiteral("S ") + key}};
    if (table == u"Stock") {
        std::vector<std::pair<QString, QString>> kept;
        for (const char* of : {"StockGstRate", "StockBarcode", "StockReorderLevel", "OpeningStock"})
            kept.emplace_back(QString::fromLatin1(of), key);
        return kept;
    }
    return {};
}

std::vector<AuditEntry> ReadAuditTrail(Database& db, const AuditFilter& filter)
{
    QStringList where;
    QVariantList values;
    const auto equals = [&](const char* column, const QString& value) {
        if (value.isEmpty())
            return;
        where << QStringLiteral("\"%1\" = ?").arg(QLatin1String(column));
        values << value;
    };
    if (filter.from.isValid()) {
        where << QStringLiteral("\"At\" >= ?");
        values << filter.from.toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (filter.to.isValid()) {
        where << QStringLiteral("\"At\" < ?");
        values << filter.to.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    }
    equals("Operator", filter.operatorName);
    const auto kept = filter.withKeptRecords && !filter.table.isEmpty() && !filter.key.isEmpty()
                          ? KeptWithRecord(filter.table, filter.key)
                          : std::vector<std::pair<QString, QString>>{};
    if (kept.empty()) {
        equals("TableName", filter.table);
        equals("RecordKey", filter.key);
    } else {
        QStringList records;
        const auto record = [&](const QString& table, const QString& key) {
            records << QStringLiteral("(\"TableName\" = ? AND \"RecordKey\" = ?)");
            values << table << key;
        };
        record(filter.table, filter.key);
        for (const auto& [table, key] : kept)
            record(table, key);
        where << QLatin1Char('(') + records.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(Columns, trailTable());
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    QSqlQuery query = db.run(sql + QStringLiteral(" ORDER BY \"Sno\""), values, Operation, DbFile::Zlv);
    std::vector<AuditEntry> entries;
    while (query.next())
        entries.push_back({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                           query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                           query.value(6).toString(), changesFrom(query.value(7).toString())});
    return entries;
}

QStringList AuditedTables(Database& db)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT DISTINCT \"TableName\" FROM %1 ORDER BY 1").arg(trailTable()), {},
                             Operation, DbFile::Zlv);
    QStringList tables;
    while (query.next())
        tables << query.value(0).toString();
    return tables;
}

AuditVerdict VerifyAuditTrail(Database& db)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT %1 FROM %2 ORDER BY \"Sno\"").arg(Columns, trailTable()), {},
                             QStringLiteral("verify the audit trail"), DbFile::Zlv);
    AuditVerdict verdict;
    QByteArray previous;
    qint64 expected = 1;
    QStringList parts;
    EntryHash hash;
    while (query.next()) {
        const qint64 serial = query.value(0).toLongLong();
        parts.clear();
        for (int i = 1; i <= 7; ++i)
            parts << query.value(i).toString();
        const QByteArray stored = query.value(8).toString().toLatin1();
        QString problem;
        if (serial != expected)
            problem = serial > expected ? QStringLiteral("entry %1 before it is missing").arg(expected)
                                        : QStringLiteral("it is out of order");
        else if (hash.of(previous, serial, parts) != stored)
            problem = QStringLiteral("its content does not match its hash");
        if (!problem.isEmpty()) {
            verdict.intact = false;
            verdict.brokenSerial = serial;
            verdict.problem = problem;
            return verdict;
        }
        if (verdict.count == 0)
            verdict.firstAt = parts[0];
        verdict.lastAt = parts[0];
        ++verdict.count;
        previous = stored;
        expected = serial + 1;
    }
    return verdict;
}

QString CheckAuditTrailAtLogin(Database& db)
{
    const AuditVerdict verdict = VerifyAuditTrail(db);
    if (verdict.intact)
        return {};
    Transaction transaction(db, QStringLiteral("log the broken audit trail"));
    LogChange(db, QLatin1String(AuditTrailTable), QString::number(verdict.brokenSerial), AuditAction::FoundBroken,
              {{QStringLiteral("Verified"), {}, verdict.text()}});
    transaction.commit();
    return verdict.text() + QStringLiteral(" The finding is logged; work can go on, and the trail keeps every "
                                           "change from here on. Keep a backup of the data as it is for the auditor.");
}

QString AuditVerdict::text() const
{
    if (!intact)
        return QStringLiteral("The audit trail is broken at entry %1: %2.").arg(brokenSerial).arg(problem);
    if (count == 0)
        return QStringLiteral("The audit trail is intact: no entries yet.");
    return QStringLiteral("The audit trail is intact: %1 %2, the first at %3, the last at %4.")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"), firstAt, lastAt);
}

} // namespace zelva
