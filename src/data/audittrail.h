#pragma once
// The audit trail: one entry for each record added, changed, cancelled or
// marked, written by the store inside the change's own transaction, so that a
// change that rolls back leaves no entry and no entry is ever written without
// its change. Nothing switches it off and nothing prunes it; when an entry
// cannot be written the change itself fails (DataError) and nothing is saved.
//
// Each entry names the time (to the second), the operator logged in, the
// computer, the table, the record's key (its code or number), the action and,
// for a change, each field's old and new value. Each carries a SHA-256 hash
// over its own content and the previous entry's hash, so editing, removing or
// reordering any entry breaks the chain from there on (VerifyAuditTrail).
// Entries follow in commit order: the chain's tail is read inside the write
// transaction, which holds the writers' lock on both stores.
#include "data/schema.h"

#include <QDate>
#include <QString>
#include <utility>
#include <vector>

namespace zelva {

class Database;

// The table the trail is kept in (in ZLV.db).
inline constexpr const char* AuditTrailTable = "AuditTrail";

enum class AuditAction { Added, Changed, Cancelled, Marked, FoundBroken };
// The action as the trail stores and shows it ("added", "changed", ...).
QString AuditActionText(AuditAction action);

// One field of a record: its value before and after (empty when there was
// none, as for a record added).
struct FieldChange {
    QString field;
    QString before;
    QString after;
    bool operator==(const FieldChange&) const = default;
};

// The changes as the trail keeps them: a JSON array of [field, before, after],
// written compact as QJsonDocument writes it; "" for none.
QString AuditChangesText(const std::vector<FieldChange>& changes);

// The operator whose work the entries name: set once at login (or by a
// command-line task). Empty until then.
void SetAuditOperator(const QString& userName);
QString AuditOperator();

// Appends one entry. Must run inside the change's Transaction; throws
// DataError (so the change is refused) when it cannot be written.
void LogChange(Database& db, const QString& table, const QString& key, AuditAction action,
               const std::vector<FieldChange>& changes = {});

// Entries gathered along a piece of work that changes many records (an
// import) and appended together by write(), in the order added: the entries
// LogChange would have written one by one (all with the time of the write,
// which lands with the work it logs), the chain's tail read once.
class AuditBatch {
public:
    explicit AuditBatch(Database& db) : m_db(db) {}
    void add(const QString& table, const QString& key, AuditAction action, std::vector<FieldChange> changes = {});
    // Must run inside the change's Transaction; throws DataError as LogChange does. Then holds nothing.
    void write();
    bool empty() const { return m_entries.empty(); }

private:
    struct Pending {
        QString table;
        QString key;
        AuditAction action;
        std::vector<FieldChange> changes;
    };
    Database& m_db;
    std::vector<Pending> m_entries;
};

// The field that names a record of the table in the trail (its code, the
// operator's user name, else its serial); "" when it has none.
QString AuditKeyField(const QString& table);
// Fields never written into the trail, not even as old or new values (an
// operator's password hash): only that they changed.
bool AuditHidesField(const QString& table, const QString& field);
// What the trail shows for a hidden field's value.
QString HiddenValueText();

struct AuditEntry {
    qint64 serial = 0;
    QString at; // "yyyy-MM-dd hh:mm:ss", local time
    QString operatorName;
    QString computer;
    QString table;
    QString key;
    QString action;
    std::vector<FieldChange> changes;
};

// Which entries a report shows: empty parts select everything.
struct AuditFilter {
    QDate from;
    QDate to;
    QString operatorName;
    QString table;
    QString key;
    // with the table and key given: the entries of what is kept with that
    // record in tables of its own as well (KeptWithRecord), as its History shows
    bool withKeptRecords = false;
};
// What is kept with a record of the table in tables of its own, as the trail
// names it (table, key): a buyer's or supplier's opening bills; a stock
// item's GST rate, barcodes, reorder level and opening stock. None for others.
std::vector<std::pair<QString, QString>> KeptWithRecord(const QString& table, const QString& key);
// The entries the filter selects, oldest first.
std::vector<AuditEntry> ReadAuditTrail(Database& db, const AuditFilter& filter);
// The tables the trail has entries for, in alphabetical order.
QStringList AuditedTables(Database& db);

// What walking the whole chain found.
struct AuditVerdict {
    bool intact = true;
    qint64 count = 0;
    QString firstAt;
    QString lastAt;
    qint64 brokenSerial = 0; // the first entry that does not hold
    QString problem;         // why it does not
    // "The audit trail is intact: 12 entries, from ... to ..." or the break.
    QString text() const;
};
AuditVerdict VerifyAuditTrail(Database& db);
// At login: verifies the chain and, when it is broken, logs that it was found
// so (in a transaction of its own) and gives what to tell the operator; ""
// when it is intact. Work goes on either way.
QString CheckAuditTrailAtLogin(Database& db);

} // namespace zelva
