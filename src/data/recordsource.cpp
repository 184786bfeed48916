#include "data/recordsource.h"

#include "data/serials.h"
#include "platform/textnum.h"

#include <QSqlRecord>

namespace zelva {

namespace {

bool isNumericType(const QString& declared)
{
    const QString t = declared.toUpper();
    return t.contains(QLatin1String("INT")) || t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA"))
        || t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM"));
}

} // namespace

RecordSource::RecordSource(Database& db)
    : m_db(db)
{
}

void RecordSource::bind(DbFile file, const QString& table)
{
    m_file = file;
    m_table = table;
    m_filterField.clear();
    m_filterValue.clear();
    m_fieldsRead.clear();
    m_columnRead.clear();
    refresh();
}

void RecordSource::setFilter(const QString& field, const QVariant& equals)
{
    requireBound();
    if (!m_columnIndex.contains(field.toLower()))
        throw DataError(QStringLiteral("read table %1").arg(m_table), RelativePath(m_file),
                        QStringLiteral("table %1 has no field %2").arg(m_table, field));
    m_filterField = m_columns[m_columnIndex.value(field.toLower())];
    m_filterValue = equals;
    m_loaded = false;
}

void RecordSource::setFields(const QStringList& fields)
{
    requireBound();
    m_fieldsRead.clear();
    m_columnRead.assign(m_columns.size(), false);
    for (const QString& field : fields) {
        if (!m_columnIndex.contains(field.toLower()))
            throw DataError(QStringLiteral("read table %1").arg(m_table), RelativePath(m_file),
                            QStringLiteral("table %1 has no field %2").arg(m_table, field));
        const int column = m_columnIndex.value(field.toLower());
        m_fieldsRead << m_columns[column];
        m_columnRead[column] = true;
    }
    m_loaded = false;
}

void RecordSource::refresh()
{
    requireBound();
    m_loaded = false;
    m_mode = Mode::None;
    m_pending.clear();
    m_current = 0;
    loadColumns();
}

QString RecordSource::qualifiedTable() const
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(m_file), QString(m_table).replace(QLatin1Char('"'), QLatin1String("\"\"")));
}

void RecordSource::requireBound() const
{
    if (m_table.isEmpty())
        throw DataError(QStringLiteral("read the records"), {}, QStringLiteral("no table is bound"));
}

void RecordSource::loadColumns()
{
    QSqlQuery info = m_db.run(QStringLiteral("SELECT name, type FROM pragma_table_info(?, ?)"), {m_table, SchemaName(m_file)},
                              QStringLiteral("open table %1").arg(m_table), m_file);
    m_columns.clear();
    m_columnIndex.clear();
    m_numericColumn.clear();
    while (info.next()) {
        const QString name = info.value(0).toString();
        m_columnIndex.insert(name.toLower(), int(m_columns.size()));
        m_numericColumn.insert(name.toLower(), isNumericType(info.value(1).toString()));
        m_columns << name;
    }
    if (m_columns.isEmpty())
        throw DataError(QStringLiteral("open table %1").arg(m_table), RelativePath(m_file),
                        QStringLiteral("the table is missing"));
}

void RecordSource::ensureLoaded()
{
    if (m_loaded)
        return;
    requireBound();
    // Each record holds every column; the fields not read stay null.
    std::vector<int> columnOf;
    QStringList selected;
    for (const QString& name : m_fieldsRead.isEmpty() ? m_columns : m_fieldsRead) {
        columnOf.push_back(m_columnIndex.value(name.toLower()));
        selected << QStringLiteral("\"%1\"").arg(name);
    }
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2").arg(selected.join(QLatin1Char(',')), qualifiedTable());
    QVariantList values;
    if (!m_filterField.isEmpty()) {
        sql += QStringLiteral(" WHERE \"%1\" = ?").arg(m_filterField);
        values << m_filterValue;
    }
    QSqlQuery query = m_db.run(sql + QStringLiteral(" ORDER BY rowid"), values, QStringLiteral("read table %1").arg(m_table), m_file);
    m_rowids.clear();
    m_rows.clear();
    while (query.next()) {
        m_rowids.push_back(query.value(0).toLongLong());
        std::vector<QVariant> row(m_columns.size());
        for (size_t i = 0; i < columnOf.size(); ++i)
            row[columnOf[i]] = query.value(int(i) + 1);
        m_rows.push_back(std::move(row));
    }
    m_loaded = true;
}

void RecordSource::moveFirst()
{
    ensureLoaded();
    m_current = 0;
}

void RecordSource::moveNext()
{
    ensureLoaded();
    if (m_current < int(m_rows.size()))
        ++m_current;
}

bool RecordSource::eof()
{
    ensureLoaded();
    return m_current >= int(m_rows.size());
}

int RecordSource::recordCount()
{
    ensureLoaded();
    return int(m_rows.size());
}

qint64 RecordSource::key()
{
    return eof() ? -1 : m_rowids[m_current];
}

bool RecordSource::moveToKey(qint64 wanted)
{
    ensureLoaded();
    for (m_current = 0; m_current < int(m_rowids.size()); ++m_current)
        if (m_rowids[m_current] == wanted)
            return true;
    return false;
}

QVariant RecordSource::value(const QString& field)
{
    const QString lower = field.toLower();
    const auto column = m_columnIndex.constFind(lower);
    if (column == m_columnIndex.constEnd())
        throw DataError(QStringLiteral("read field %1").arg(field), RelativePath(m_file),
                        QStringLiteral("table %1 has no such field").arg(m_table));
    if (m_mode != Mode::None && m_pending.contains(lower))
        return m_pending.value(lower);
    if (m_mode == Mode::Adding)
        return {};
    if (eof())
        throw DataError(QStringLiteral("read field %1").arg(field), RelativePath(m_file),
                        QStringLiteral("there is no current record"));
    if (!m_columnRead.empty() && !m_columnRead[*column])
        throw DataError(QStringLiteral("read field %1").arg(field), RelativePath(m_file),
                        QStringLiteral("the field was not read with the records"));
    return m_rows[m_current][*column];
}

QString RecordSource::text(const QString& field)
{
    const QVariant v = value(field);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Double)
        return Str(v.toDouble());
    return v.toString();
}

void RecordSource::setValue(const QString& field, const QVariant& value)
{
    if (m_mode == Mode::None)
        throw DataError(QStringLiteral("change field %1").arg(field), RelativePath(m_file),
                        QStringLiteral("no new record or edit is pending"));
    if (!m_columnIndex.contains(field.toLower()))
        throw DataError(QStringLiteral("change field %1").arg(field), RelativePath(m_file),
                        QStringLiteral("table %1 has no such field").arg(m_table));
    m_pending.insert(field.toLower(), value);
}

void RecordSource::addNew()
{
    requireBound();
    m_pending.clear();
    m_mode = Mode::Adding;
}

void RecordSource::edit()
{
    if (eof())
        throw DataError(QStringLiteral("edit the record"), RelativePath(m_file), QStringLiteral("there is no current record"));
    m_pending.clear();
    m_mode = Mode::Editing;
}

void RecordSource::cancelUpdate()
{
    m_pending.clear();
    m_mode = Mode::None;
}

// A text typed into a number field becomes its number; a text that is not a
// number is refused here with the field's name, before anything is written.
QVariant RecordSource::converted(const QString& field, const QVariant& value) const
{
    const QString lower = field.toLower();
    if (!m_numericColumn.value(lower) || value.isNull() || value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString().trimmed();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok) {
        const QString shown = text.isEmpty() ? QStringLiteral("an empty value") : QStringLiteral("\"%1\"").arg(value.toString());
        throw DataError(QStringLiteral("save field %1").arg(m_columns[m_columnIndex.value(lower)]), RelativePath(m_file),
                        QStringLiteral("%1 is not a number").arg(shown));
    }
    return number;
}

void RecordSource::update()
{
    switch (m_mode) {
    case Mode::None:
        throw DataError(QStringLiteral("save the record"), RelativePath(m_file), QStringLiteral("no new record or edit is pending"));
    case Mode::Adding: insertPending(); break;
    case Mode::Editing: updatePending(); break;
    }
    m_pending.clear();
    m_mode = Mode::None;
}

void RecordSource::insertPending()
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
        const QString name = m_columns[m_columnIndex.value(it.key())];
        names << QStringLiteral("\"%1\"").arg(name);
        marks << QStringLiteral("?");
        values << converted(name, it.value());
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(qualifiedTable())
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(qualifiedTable(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    QSqlQuery query = m_db.run(sql, values, QStringLiteral("save the new record in %1").arg(m_table), m_file);
    const qint64 rowid = query.lastInsertId().toLongLong();
    query.finish();
    if (m_loaded) {
        m_rowids.push_back(rowid);
        m_rows.emplace_back(m_columns.size());
        reloadRow(rowid, int(m_rows.size()) - 1);
    }
}

void RecordSource::updatePending()
{
    QStringList sets;
    QVariantList values;
    for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
        const QString name = m_columns[m_columnIndex.value(it.key())];
        sets << QStringLiteral("\"%1\" = ?").arg(name);
        values << converted(name, it.value());
    }
    if (sets.isEmpty())
        return;
    const qint64 rowid = m_rowids[m_current];
    values << rowid;
    m_db.run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(qualifiedTable(), sets.join(QLatin1Char(','))), values,
             QStringLiteral("save the changes in %1").arg(m_table), m_file);
    reloadRow(rowid, m_current);
}

void RecordSource::reloadRow(qint64 rowid, int index)
{
    QSqlQuery query = m_db.run(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(qualifiedTable()), {rowid},
                               QStringLiteral("read table %1").arg(m_table), m_file);
    if (!query.next())
        return;
    for (int i = 0; i < int(m_columns.size()); ++i)
        m_rows[index][i] = query.value(i);
}

qint64 RecordSource::nextSerial(const QString& serialField)
{
    requireBound();
    return NextSerial(m_db, m_file, m_table, serialField);
}

} // namespace zelva
