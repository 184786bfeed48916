#include "data/recordsource.h"

#include "data/audittrail.h"
#include "data/numbervalue.h"
#include "data/serials.h"
#include "platform/textnum.h"

#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace zelva {

namespace {

bool isNumericType(const QString& declared)
{
    const QString t = declared.toUpper();
    return t.contains(QLatin1String("INT")) || t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA"))
        || t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM"));
}

bool isIntegerType(const QString& declared)
{
    return declared.toUpper().contains(QLatin1String("INT"));
}

} // namespace

RecordSource::RecordSource(Database& db)
    : m_db(db)
{
}

RecordSource::~RecordSource()
{
    m_db.forgetRollback(this);
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
    m_filterField = m_columns[columnOf(field, QStringLiteral("read table %1").arg(m_table))];
    m_filterValue = equals;
    m_loaded = false;
}

void RecordSource::setFields(const QStringList& fields)
{
    requireBound();
    m_fieldsRead.clear();
    m_columnRead.assign(m_columns.size(), false);
    for (const QString& field : fields) {
        const int column = columnOf(field, QStringLiteral("read table %1").arg(m_table));
        m_fieldsRead << m_columns[column];
        m_columnRead[column] = true;
    }
    m_loaded = false;
}

void RecordSource::refresh()
{
    requireBound();
    m_loaded = false;
    discardPending();
    m_current = 0;
    loadColumns();
}

QString RecordSource::qualifiedTable() const
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(m_file), QString(m_table).replace(QLatin1Char('"'), QLatin1String("\"\"")));
}

// The column of the field (names ignore letter case); throws when there is none.
int RecordSource::columnOf(const QString& field, const QString& operation) const
{
    const int column = findColumn(field);
    if (column < 0)
        throw DataError(operation, m_db.placeOf(m_file), QStringLiteral("table %1 has no field %2").arg(m_table, field));
    return column;
}

// Fields are mostly named as the table spells them: that lookup needs no
// lower-case copy, which long lists would make once per record.
int RecordSource::findColumn(const QString& field) const
{
    if (const auto spelt = m_columnAsSpelt.constFind(field); spelt != m_columnAsSpelt.constEnd())
        return *spelt;
    return m_columnIndex.value(field.toLower(), -1);
}

void RecordSource::requireBound() const
{
    if (m_table.isEmpty())
        throw DataError(QStringLiteral("read the records"), {}, QStringLiteral("no table is bound"));
}

void RecordSource::requireWritable(const QString& operation) const
{
    requireBound();
    if (m_readOnly)
        throw DataError(operation, m_db.placeOf(m_file), QStringLiteral("%1 is read-only").arg(m_table));
}

void RecordSource::discardPending()
{
    m_pending.clear();
    m_mode = Mode::None;
    m_editKey = -1;
}

void RecordSource::loadColumns()
{
    const QString operation = QStringLiteral("open table %1").arg(m_table);
    m_readOnly = m_db.tableKind(m_file, m_table, operation) == QLatin1String("view");

    m_columns.clear();
    m_columnIndex.clear();
    m_columnAsSpelt.clear();
    m_numericColumn.clear();
    m_integerColumn.clear();
    for (const auto& [name, declared] : m_db.fieldTypes(m_file, m_table, operation)) {
        m_columnIndex.insert(name.toLower(), int(m_columns.size()));
        m_columnAsSpelt.insert(name, int(m_columns.size()));
        m_numericColumn.insert(name.toLower(), isNumericType(declared));
        m_integerColumn.insert(name.toLower(), isIntegerType(declared));
        m_columns << name;
    }
    if (m_columns.isEmpty()) // a file damaged so badly that its tables cannot be read says so
        throw DataError(operation, m_db.placeOf(m_file),
                        m_db.access(m_file) == FileAccess::Damaged ? m_db.readOnlyReason(m_file)
                                                                   : QStringLiteral("the table is missing"));
}

void RecordSource::ensureLoaded()
{
    if (m_loaded)
        return;
    requireBound();
    // Each record holds every column; the fields not read stay null. A view
    // has no rowid of its own: its rows are keyed by position.
    std::vector<int> columnOf;
    QStringList selected;
    for (const QString& name : m_fieldsRead.isEmpty() ? m_columns : m_fieldsRead) {
        columnOf.push_back(m_columnIndex.value(name.toLower()));
        selected << QStringLiteral("\"%1\"").arg(name);
    }
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3")
                      .arg(m_readOnly ? QStringLiteral("NULL") : QStringLiteral("rowid"), selected.join(QLatin1Char(',')),
                           qualifiedTable());
    QVariantList values;
    if (!m_filterField.isEmpty()) {
        sql += QStringLiteral(" WHERE \"%1\" = ?").arg(m_filterField);
        values << m_filterValue;
    }
    if (!m_readOnly)
        sql += QStringLiteral(" ORDER BY rowid");
    QSqlQuery query = m_db.run(sql, values, QStringLiteral("read table %1").arg(m_table), m_file);
    m_rowids.clear();
    m_rows.clear();
    while (query.next()) {
        m_rowids.push_back(m_readOnly ? qint64(m_rowids.size()) : query.value(0).toLongLong());
        std::vector<QVariant> row(m_columns.size());
        for (size_t i = 0; i < columnOf.size(); ++i)
            row[columnOf[i]] = query.value(int(i) + 1);
        m_rows.push_back(std::move(row));
    }
    m_rowidsRising = std::is_sorted(m_rowids.begin(), m_rowids.end());
    m_loaded = true;
}

void RecordSource::moveFirst()
{
    ensureLoaded();
    discardPending();
    m_current = 0;
}

void RecordSource::moveNext()
{
    ensureLoaded();
    discardPending();
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

// The keys come in rising order as read, and so does a record added after
// them as a rule: then the key is searched for, not walked to (a list of
// 100,000 items is picked from at every scan).
int RecordSource::indexOfKey(qint64 wanted) const
{
    if (m_rowidsRising) {
        const auto at = std::lower_bound(m_rowids.begin(), m_rowids.end(), wanted);
        return at != m_rowids.end() && *at == wanted ? int(at - m_rowids.begin()) : -1;
    }
    for (int i = 0; i < int(m_rowids.size()); ++i)
        if (m_rowids[i] == wanted)
            return i;
    return -1;
}

bool RecordSource::moveToKey(qint64 wanted)
{
    ensureLoaded();
    discardPending();
    const int index = indexOfKey(wanted);
    m_current = index < 0 ? int(m_rows.size()) : index;
    return index >= 0;
}

QVariant RecordSource::value(const QString& field)
{
    const int column = findColumn(field);
    if (column < 0)
        columnOf(field, QStringLiteral("read field %1").arg(field)); // throws
    if (m_mode != Mode::None) {
        const QString lower = field.toLower();
        if (m_pending.contains(lower))
            return m_pending.value(lower);
    }
    if (m_mode == Mode::Adding)
        return {};
    ensureLoaded();
    const int index = m_mode == Mode::Editing ? indexOfKey(m_editKey) : m_current;
    if (index < 0 || index >= int(m_rows.size()))
        throw DataError(QStringLiteral("read field %1").arg(field), m_db.placeOf(m_file),
                        QStringLiteral("there is no current record"));
    if (!m_columnRead.empty() && !m_columnRead[column])
        throw DataError(QStringLiteral("read field %1").arg(field), m_db.placeOf(m_file),
                        QStringLiteral("the field was not read with the records"));
    return m_rows[index][column];
}

QString RecordSource::text(const QString& field) { return shown(value(field)); }

QString RecordSource::shown(const QVariant& v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Double)
        return Str(v.toDouble());
    return v.toString();
}

std::vector<std::vector<QVariant>> RecordSource::readList(const QStringList& fields, std::vector<qint64>& keys)
{
    requireBound();
    QStringList selected;
    for (const QString& field : fields)
        selected << QStringLiteral("\"%1\"").arg(m_columns[columnOf(field, QStringLiteral("read field %1").arg(field))]);
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3")
                      .arg(m_readOnly ? QStringLiteral("NULL") : QStringLiteral("rowid"), selected.join(QLatin1Char(',')),
                           qualifiedTable());
    if (!m_readOnly)
        sql += QStringLiteral(" ORDER BY rowid");
    QSqlQuery query = m_db.run(sql, {}, QStringLiteral("read table %1").arg(m_table), m_file);
    std::vector<std::vector<QVariant>> values(size_t(fields.size()));
    keys.clear();
    while (query.next()) {
        keys.push_back(m_readOnly ? qint64(keys.size()) : query.value(0).toLongLong());
        for (size_t i = 0; i < values.size(); ++i)
            values[i].push_back(query.value(int(i) + 1));
    }
    return values;
}

void RecordSource::setValue(const QString& field, const QVariant& value)
{
    if (m_mode == Mode::None)
        throw DataError(QStringLiteral("change field %1").arg(field), m_db.placeOf(m_file),
                        QStringLiteral("no new record or edit is pending"));
    columnOf(field, QStringLiteral("change field %1").arg(field));
    m_pending.insert(field.toLower(), value);
}

void RecordSource::addNew()
{
    requireWritable(QStringLiteral("add a record to %1").arg(m_table));
    discardPending();
    m_mode = Mode::Adding;
}

void RecordSource::edit()
{
    requireWritable(QStringLiteral("edit the record"));
    if (eof())
        throw DataError(QStringLiteral("edit the record"), m_db.placeOf(m_file), QStringLiteral("there is no current record"));
    discardPending();
    m_editKey = m_rowids[m_current];
    m_mode = Mode::Editing;
}

void RecordSource::cancelUpdate()
{
    discardPending();
}

// The value as the column takes it. A text typed into a number field becomes
// its number; one that is not a number, or a fraction for a whole-number
// field, is refused here with the field's name, before anything is written.
// A number for a text field is written as the boxes show it ("5", not "5.0"),
// and an empty text as an empty text.
QVariant RecordSource::converted(const QString& field, const QVariant& value) const
{
    const QString lower = field.toLower();
    const QString name = m_columns[m_columnIndex.value(lower)];
    if (value.isNull())
        return value;
    if (!m_numericColumn.value(lower)) {
        // An empty box gives a null text, which would be stored as NULL.
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            return QString(QLatin1String(""));
        if (!IsNumber(value))
            return value;
        return IsFraction(value) ? Str(value.toDouble()) : value.toString();
    }
    const auto refuse = [&](const QString& why) {
        return DataError(QStringLiteral("save field %1").arg(name), m_db.placeOf(m_file), why);
    };
    double number = 0.0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        number = text.toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            const QString shown = text.isEmpty() ? QStringLiteral("an empty value") : QStringLiteral("\"%1\"").arg(value.toString());
            throw refuse(QStringLiteral("%1 is not a number").arg(shown));
        }
    } else if (IsNumber(value)) {
        if (!IsFraction(value))
            return value; // whole numbers go in as they are
        number = value.toDouble();
        if (!std::isfinite(number))
            throw refuse(QStringLiteral("the value is not a finite number"));
    } else {
        return value;
    }
    if (m_integerColumn.value(lower)) {
        if (number != std::floor(number) || std::fabs(number) > 9.0e15)
            throw refuse(QStringLiteral("%1 is not a whole number").arg(Str(number)));
        return qint64(number);
    }
    return number;
}

void RecordSource::update()
{
    if (m_mode == Mode::None)
        throw DataError(QStringLiteral("save the record"), m_db.placeOf(m_file), QStringLiteral("no new record or edit is pending"));
    if (!m_db.inTransaction()) { // the record and its audit entry land together or not at all
        Transaction transaction(m_db, QStringLiteral("save the record in %1").arg(m_table));
        update();
        transaction.commit();
        return;
    }
    keepForRollback();
    if (m_mode == Mode::Adding)
        insertPending();
    else
        updatePending();
    // Written: a rollback of the surrounding transaction restores the pending
    // state registered above; without a transaction nothing was registered.
    discardPending();
}

// Inside a transaction, a write that is later rolled back must leave this
// source as it was before update(), so the operator can simply save again.
void RecordSource::keepForRollback()
{
    if (!m_db.inTransaction())
        return;
    m_db.forgetRollback(this);
    m_db.onRollback(this, [this, mode = m_mode, pending = m_pending, editKey = m_editKey] {
        m_mode = mode;
        m_pending = pending;
        m_editKey = editKey;
        m_loaded = false; // the cached rows may hold the undone write
    });
}

// The pending fields as quoted column names, their values as the columns take them.
QStringList RecordSource::pendingColumns(QVariantList& values) const
{
    // In the table's order, so the audit trail lists the fields as the table does.
    QStringList names;
    for (const QString& name : m_columns) {
        const auto pending = m_pending.constFind(name.toLower());
        if (pending == m_pending.constEnd())
            continue;
        names << QStringLiteral("\"%1\"").arg(name);
        values << converted(name, *pending);
    }
    return names;
}

void RecordSource::insertPending()
{
    QVariantList values;
    const QStringList names = pendingColumns(values);
    const QStringList marks(names.size(), QStringLiteral("?"));
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(qualifiedTable())
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(qualifiedTable(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    const qint64 rowid = m_db.insert(sql, values, QStringLiteral("save the new record in %1").arg(m_table), m_file);
    std::vector<FieldChange> added;
    QString key;
    for (int i = 0; i < names.size(); ++i) {
        const QString field = names[i].mid(1, names[i].size() - 2); // unquoted
        if (field.compare(AuditKeyField(m_table), Qt::CaseInsensitive) == 0)
            key = shown(values[i]);
        added.push_back({field, {}, AuditHidesField(m_table, field) ? HiddenValueText() : shown(values[i])});
    }
    LogChange(m_db, m_table, key.isEmpty() ? QString::number(rowid) : key, AuditAction::Added, added);
    if (m_loaded) {
        m_rowidsRising = m_rowidsRising && (m_rowids.empty() || m_rowids.back() < rowid);
        m_rowids.push_back(rowid);
        m_rows.emplace_back(m_columns.size());
        reloadRow(rowid, int(m_rows.size()) - 1);
    }
}

void RecordSource::updatePending()
{
    QVariantList values;
    QStringList sets = pendingColumns(values);
    for (QString& set : sets)
        set += QStringLiteral(" = ?");
    if (sets.isEmpty())
        return;
    const std::vector<FieldChange> changes = changesOfPending(values);
    values << m_editKey;
    m_db.run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(qualifiedTable(), sets.join(QLatin1Char(','))), values,
             QStringLiteral("save the changes in %1").arg(m_table), m_file);
    if (!changes.empty())
        LogChange(m_db, m_table, m_editKeyText, AuditAction::Changed, changes);
    const int index = indexOfKey(m_editKey);
    if (m_loaded && index >= 0)
        reloadRow(m_editKey, index);
}

// Each pending field whose value differs from the record as it stands now
// (read inside the update's transaction), with its old and new value as the
// boxes show them; also finds the record's key for the trail.
std::vector<FieldChange> RecordSource::changesOfPending(const QVariantList& newValues)
{
    const QString keyField = AuditKeyField(m_table);
    const int keyColumn = keyField.isEmpty() ? -1 : findColumn(keyField);
    QStringList columns;
    QStringList fields;
    for (const QString& name : m_columns) // as pendingColumns lists them
        if (m_pending.contains(name.toLower())) {
            fields << name;
            columns << QStringLiteral("\"%1\"").arg(name);
        }
    columns << (keyColumn < 0 ? QStringLiteral("rowid") : QStringLiteral("\"%1\"").arg(m_columns[keyColumn]));
    QSqlQuery old = m_db.run(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columns.join(QLatin1Char(',')), qualifiedTable()),
                             {m_editKey}, QStringLiteral("save the changes in %1").arg(m_table), m_file);
    std::vector<FieldChange> changes;
    if (!old.next())
        return changes;
    for (int i = 0; i < fields.size(); ++i) {
        const QString before = shown(old.value(i));
        const QString after = shown(newValues[i]);
        if (before == after)
            continue;
        if (AuditHidesField(m_table, fields[i]))
            changes.push_back({fields[i], HiddenValueText(), HiddenValueText()});
        else
            changes.push_back({fields[i], before, after});
    }
    m_editKeyText = shown(old.value(int(fields.size())));
    return changes;
}

void RecordSource::reloadRow(qint64 rowid, int index)
{
    QStringList columns;
    for (const QString& name : m_columns)
        columns << QStringLiteral("\"%1\"").arg(name);
    QSqlQuery query = m_db.run(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columns.join(QLatin1Char(',')), qualifiedTable()), {rowid},
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

RecordAppender::RecordAppender(Database& db, DbFile file, const QString& table, AuditBatch& audit)
    : m_source(db)
    , m_audit(audit)
    , m_keyField(AuditKeyField(table))
{
    m_source.bind(file, table);
    m_source.requireWritable(QStringLiteral("add a record to %1").arg(table));
}

void RecordAppender::add(const QHash<QString, QVariant>& fields)
{
    const QString& table = m_source.m_table;
    QStringList columns;
    QVariantList values;
    std::vector<FieldChange> added;
    QString key;
    for (const QString& name : m_source.m_columns) { // in the table's order, as update() logs them
        auto given = fields.constFind(name);
        if (given == fields.constEnd())
            for (given = fields.constBegin(); given != fields.constEnd(); ++given)
                if (given.key().compare(name, Qt::CaseInsensitive) == 0)
                    break;
        if (given == fields.constEnd())
            continue;
        const QVariant value = m_source.converted(name, *given);
        if (name.compare(m_keyField, Qt::CaseInsensitive) == 0)
            key = RecordSource::shown(value);
        columns << name;
        values << value;
        added.push_back({name, {}, AuditHidesField(table, name) ? HiddenValueText() : RecordSource::shown(value)});
    }
    if (key.isEmpty())
        throw DataError(QStringLiteral("save the new record in %1").arg(table), m_source.m_db.placeOf(m_source.m_file),
                        QStringLiteral("the record has no %1").arg(m_keyField.isEmpty() ? QStringLiteral("key") : m_keyField));
    if (m_rows && m_rows->columns() != columns)
        write();
    if (!m_rows)
        m_rows = std::make_unique<InsertBatch>(m_source.m_db, m_source.m_file, table, columns,
                                               QStringLiteral("save the new record in %1").arg(table));
    m_rows->add(std::move(values));
    m_audit.add(table, key, AuditAction::Added, std::move(added));
}

void RecordAppender::write()
{
    if (m_rows)
        m_rows->write();
    m_rows.reset();
}

} // namespace zelva
