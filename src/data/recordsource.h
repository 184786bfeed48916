#pragma once
// A form's data-bound record source: bound to one table of one file, read
// record by record by field name, appended to and edited through a pending
// record that update() writes with bound values.
//
// How it behaves:
// - bind/refresh/requery re-read the table; the first record is current;
// - while a new record is pending (addNew), value() shows what was assigned to
//   it and nothing else; while an edit is pending, the edited record with what
//   was assigned over it;
// - moving (moveFirst, moveNext, moveToKey) or re-reading drops a pending new
//   record or edit unsaved, so walk the table before addNew/edit, not after;
// - after update() of a new record the record current before addNew stays current.
// A view (MonthlyReport) binds like a table but is read-only; its keys are
// the row positions.
#include "data/audittrail.h"
#include "data/batchinsert.h"
#include "data/database.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

namespace zelva {

class RecordSource {
public:
    enum class Mode { None, Adding, Editing };

    explicit RecordSource(Database& db);
    ~RecordSource();

    // Sets the file and table, then refresh(): bind(DbFile::ItemStock, "Stock").
    void bind(DbFile file, const QString& table);
    // Narrow what the next read brings in, for long tables: only the records
    // whose field equals the value, and only the listed fields (reading any
    // other field then fails). Both stay until the next bind().
    void setFilter(const QString& field, const QVariant& equals);
    void setFields(const QStringList& fields);
    // Re-reads the table; the first record becomes current. Drops a pending record.
    void refresh();
    void requery() { refresh(); }

    // Moving drops a pending new record or edit (see above).
    void moveFirst();
    void moveNext();
    bool eof();
    int recordCount();

    // The current record's key (its rowid; a view's row position); -1 at end of file.
    qint64 key();
    // Makes the record with this key current; false (end of file) when it is gone.
    bool moveToKey(qint64 key);

    // A long list in one pass straight from the bound table, without loading
    // its records: each field's stored values in every record, in table order,
    // and the records' keys (as key() gives them) in keys. The current record
    // and anything pending stay as they are.
    std::vector<std::vector<QVariant>> readList(const QStringList& fields, std::vector<qint64>& keys);
    // A value as the boxes show it: numbers without trailing zeros, NULL as "".
    static QString shown(const QVariant& value);

    // The current record's value, with what is pending assigned over it.
    QVariant value(const QString& field);
    // The value as the boxes show it: numbers without trailing zeros, NULL as "".
    QString text(const QString& field);
    void setValue(const QString& field, const QVariant& value);

    void addNew();
    void edit();
    // Writes the pending record. On failure throws DataError and keeps the
    // record pending, so the operator can correct it and try again. A text
    // assigned to a number field must be a number ("12a" and "" are refused);
    // a whole-number field takes whole numbers only. Inside a Transaction that
    // later rolls back, the record is pending again afterwards.
    void update();
    void cancelUpdate();
    Mode mode() const { return m_mode; }

    // Highest serial of the table plus one (1 for an empty table).
    qint64 nextSerial(const QString& serialField = QStringLiteral("sno"));

    // True for a view, which cannot be added to or edited.
    bool isReadOnly() const { return m_readOnly; }

    Database& database() { return m_db; }
    DbFile file() const { return m_file; }
    const QString& table() const { return m_table; }

private:
    friend class RecordAppender;
    int columnOf(const QString& field, const QString& operation) const;
    int findColumn(const QString& field) const; // -1 when the table has no such field
    void requireBound() const;
    void requireWritable(const QString& operation) const;
    void discardPending();
    int indexOfKey(qint64 key) const;
    void ensureLoaded();
    void loadColumns();
    QVariant converted(const QString& field, const QVariant& value) const;
    QString qualifiedTable() const;
    QStringList pendingColumns(QVariantList& values) const;
    void insertPending();
    void updatePending();
    std::vector<FieldChange> changesOfPending(const QVariantList& newValues);
    void reloadRow(qint64 rowid, int index);
    void keepForRollback();

    Database& m_db;
    DbFile m_file = DbFile::Zlv;
    QString m_table;
    bool m_loaded = false;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;   // lower-case name -> column
    QHash<QString, int> m_columnAsSpelt; // name as the table spells it -> column
    QHash<QString, bool> m_numericColumn; // lower-case name -> column takes numbers
    QHash<QString, bool> m_integerColumn; // lower-case name -> column takes whole numbers
    bool m_readOnly = false;
    std::vector<qint64> m_rowids;
    bool m_rowidsRising = true; // m_rowids in rising order, searched by halves
    std::vector<std::vector<QVariant>> m_rows;
    int m_current = 0;
    Mode m_mode = Mode::None;
    QHash<QString, QVariant> m_pending; // lower-case name -> value
    qint64 m_editKey = -1;             // the record a pending edit writes to
    QString m_editKeyText;             // its key in the audit trail
    QString m_filterField;
    QVariant m_filterValue;
    QStringList m_fieldsRead;        // empty: every field
    std::vector<bool> m_columnRead; // by column; empty: every column
};

// Many new records of one table added in one piece of work (an import), as
// addNew, setValue and update() would add them one by one: each value taken
// as update() takes it (a text for a number field refused with the field's
// name), and each record logged as added in the caller's audit batch, when
// add() is called. write() writes the records gathered by multi-row INSERTs.
// The table's records are named by a key field (AuditKeyField: their code or
// serial), which each record must be given.
class RecordAppender {
public:
    RecordAppender(Database& db, DbFile file, const QString& table, AuditBatch& audit);
    // A record's fields by name (any letter case); throws DataError before
    // anything is written when a value does not fit its field.
    void add(const QHash<QString, QVariant>& fields);
    // Writes what was added, in that order; then holds nothing. Throws DataError.
    void write();

private:
    RecordSource m_source; // the table's fields and how their values are taken
    AuditBatch& m_audit;
    QString m_keyField;
    std::unique_ptr<InsertBatch> m_rows; // of one set of fields; another set writes it first
};

} // namespace zelva
