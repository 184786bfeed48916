#include "sales/reorderlevel.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "platform/textnum.h"
#include "sales/lineitem.h"

#include <QSqlQuery>

namespace zelva {

namespace {

QString levelTable()
{
    return QStringLiteral("\"%1\".\"StockReorderLevel\"").arg(SchemaName(DbFile::ItemStock));
}

QString levelText(std::optional<double> level)
{
    return level ? Str(*level) : QString();
}

// The items at or below their level: Stock joined with its level.
QString belowFrom()
{
    return QStringLiteral("FROM \"%1\".\"Stock\" AS s JOIN %2 AS r ON r.\"itemcode\" = s.\"itemcode\" "
                          "WHERE s.\"sno\" <> 0 AND s.\"Quantity\" <= r.\"ReorderLevel\"")
        .arg(SchemaName(DbFile::ItemStock), levelTable());
}

} // namespace

std::optional<double> LoadReorderLevel(Database& db, const QString& itemCode)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"ReorderLevel\" FROM %1 WHERE \"itemcode\" = ?").arg(levelTable()),
                         {itemCode}, QStringLiteral("read the item's reorder level"), DbFile::ItemStock);
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toDouble();
    return std::nullopt;
}

void StoreReorderLevelWithin(Database& db, const QString& itemCode, std::optional<double> level)
{
    const QString operation = QStringLiteral("save the item's reorder level");
    if (level && *level < 0)
        throw DataError(operation, RelativePath(DbFile::ItemStock),
                        QStringLiteral("A reorder level cannot be below 0: %1 is.").arg(Str(*level)));
    if (const std::optional<double> before = LoadReorderLevel(db, itemCode); before != level)
        LogChange(db, QStringLiteral("StockReorderLevel"), itemCode, AuditAction::Changed,
                  {{QStringLiteral("ReorderLevel"), levelText(before), levelText(level)}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"itemcode\" = ?").arg(levelTable()), {itemCode}, operation,
           DbFile::ItemStock);
    if (!level)
        return;
    QSqlQuery last = db.run(QStringLiteral("SELECT COALESCE(MAX(\"sno\"), 0) FROM %1").arg(levelTable()), {},
                            operation, DbFile::ItemStock);
    const qint64 serial = last.next() ? last.value(0).toLongLong() + 1 : 1;
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"itemcode\", \"ReorderLevel\") VALUES (?, ?, ?)").arg(levelTable()),
           {serial, itemCode, *level}, operation, DbFile::ItemStock);
}

QString ReorderWarning(const QString& itemName, double left, std::optional<double> level)
{
    if (!level || left > *level)
        return {};
    return QStringLiteral("%1: %2 left, at or below its reorder level of %3. Order it again.")
        .arg(itemName, Str(left), Str(*level));
}

QString ReorderWarningFor(Database& db, const QString& itemCode, double taken)
{
    const std::optional<LineItem> item = LoadLineItem(db, itemCode);
    return item ? ReorderWarning(item->name, item->onHand.value_or(0) - taken, item->reorderLevel) : QString();
}

std::vector<BelowReorderItem> LoadBelowReorderLevel(Database& db)
{
    const QString operation = QStringLiteral("read the items below their reorder level");
    QSqlQuery q = db.run(QStringLiteral("SELECT s.\"itemcode\", s.\"ItemName\", s.\"Quantity\", r.\"ReorderLevel\" ") +
                             belowFrom() + QStringLiteral(" ORDER BY s.\"itemcode\""),
                         {}, operation, DbFile::ItemStock);
    std::vector<BelowReorderItem> items;
    while (q.next())
        items.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble(), q.value(3).toDouble(), {}, 0});
    for (BelowReorderItem& item : items) {
        QSqlQuery last = db.run(QStringLiteral("SELECT \"SupplierName\", \"Rate\" FROM \"%1\".\"Purchase\" WHERE "
                                               "\"itemcode\" = ? AND \"PSno\" <> 0 ORDER BY \"PSno\" DESC LIMIT 1")
                                    .arg(SchemaName(DbFile::PurchaseMaster)),
                                {item.itemCode}, operation, DbFile::PurchaseMaster);
        if (last.next()) {
            item.lastSupplier = last.value(0).toString();
            item.lastRate = last.value(1).toDouble();
        }
    }
    return items;
}

int CountBelowReorderLevel(Database& db)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT COUNT(*) ") + belowFrom(), {},
                         QStringLiteral("count the items below their reorder level"), DbFile::ItemStock);
    return q.next() ? q.value(0).toInt() : 0;
}

} // namespace zelva
