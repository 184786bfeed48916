#include "sales/countersettings.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"

#include <QSqlQuery>

namespace zelva {

namespace {

QString counterTable()
{
    return QStringLiteral("\"%1\".\"CompanyCounter\"").arg(SchemaName(DbFile::Master));
}

} // namespace

QString RollWidthRefusal(int widthMm)
{
    if (widthMm == NarrowRollMm || widthMm == WideRollMm)
        return {};
    return QStringLiteral("A receipt printer takes a roll %1 or %2 mm wide, not %3 mm.")
        .arg(NarrowRollMm)
        .arg(WideRollMm)
        .arg(widthMm);
}

CounterSettings LoadCounterSettings(Database& db, qint64 companySerial)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"RollWidthMm\", \"ScanAnywhere\" FROM %1 WHERE \"sno\" = ?")
                             .arg(counterTable()),
                         {companySerial}, QStringLiteral("read the company's counter settings"), DbFile::Master);
    CounterSettings settings;
    if (q.next()) {
        settings.rollWidthMm = q.value(0).toInt();
        settings.scanAnywhere = q.value(1).toInt() != 0;
    }
    return settings;
}

CounterSettings LoadFirstCompanyCounterSettings(Database& db)
{
    QSqlQuery first = db.run(QStringLiteral("SELECT \"sno\" FROM \"%1\".\"Company\" ORDER BY \"sno\", rowid LIMIT 1")
                                 .arg(SchemaName(DbFile::Master)),
                             {}, QStringLiteral("read the company's counter settings"), DbFile::Master);
    return first.next() ? LoadCounterSettings(db, first.value(0).toLongLong()) : CounterSettings{};
}

void StoreCounterSettingsWithin(Database& db, qint64 companySerial, const CounterSettings& settings)
{
    const QString operation = QStringLiteral("save the company's counter settings");
    if (const QString refusal = RollWidthRefusal(settings.rollWidthMm); !refusal.isEmpty())
        throw DataError(operation, RelativePath(DbFile::Master), refusal);
    const CounterSettings before = LoadCounterSettings(db, companySerial);
    if (before == settings)
        return;
    std::vector<FieldChange> changes;
    if (before.rollWidthMm != settings.rollWidthMm)
        changes.push_back({QStringLiteral("RollWidthMm"), QString::number(before.rollWidthMm),
                           QString::number(settings.rollWidthMm)});
    if (before.scanAnywhere != settings.scanAnywhere)
        changes.push_back({QStringLiteral("ScanAnywhere"), before.scanAnywhere ? QStringLiteral("1") : QStringLiteral("0"),
                           settings.scanAnywhere ? QStringLiteral("1") : QStringLiteral("0")});
    LogChange(db, QStringLiteral("CompanyCounter"), QString::number(companySerial), AuditAction::Changed, changes);
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"sno\" = ?").arg(counterTable()), {companySerial}, operation,
           DbFile::Master);
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"RollWidthMm\", \"ScanAnywhere\") VALUES (?, ?, ?)")
               .arg(counterTable()),
           {companySerial, settings.rollWidthMm, settings.scanAnywhere ? 1 : 0}, operation, DbFile::Master);
}

} // namespace zelva
