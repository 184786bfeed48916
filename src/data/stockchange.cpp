#include "data/stockchange.h"

#include "data/database.h"

namespace zelva {

DbFile StockFile(StockTable table) { return table == StockTable::ForSale ? DbFile::ItemStock : DbFile::OtherItemStock; }

QString StockTableName(StockTable table)
{
    return table == StockTable::ForSale ? QStringLiteral("Stock") : QStringLiteral("OtherItemStock");
}

bool AdjustStock(Database& db, StockTable table, const QString& itemCode, double delta)
{
    return StockAdjuster(db, table).adjust(itemCode, delta);
}

StockAdjuster::StockAdjuster(Database& db, StockTable table)
{
    const DbFile file = StockFile(table);
    const QString operation = QStringLiteral("change the quantity on hand in %1").arg(StockTableName(table));
    // Outside a transaction the change could land without the record that
    // explains it (the invoice, purchase or issue).
    if (!db.inTransaction())
        throw DataError(operation, RelativePath(file), QStringLiteral("no transaction is open"));
    const QString from = QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(file), StockTableName(table));
    m_change = std::make_unique<PreparedStatement>(db,
                                                   QStringLiteral("UPDATE %1 SET \"Quantity\" = COALESCE(\"Quantity\", 0) + ? "
                                                                  "WHERE rowid = (SELECT rowid FROM %1 WHERE \"itemcode\" = ? "
                                                                  "ORDER BY rowid LIMIT 1)")
                                                       .arg(from),
                                                   operation, file);
}

StockAdjuster::~StockAdjuster() = default;

bool StockAdjuster::adjust(const QString& itemCode, double delta)
{
    QSqlQuery& query = m_change->exec({delta, itemCode});
    const bool changed = query.numRowsAffected() > 0;
    query.finish();
    return changed;
}

QStringList UnitsInUse(Database& db)
{
    QStringList units { QStringLiteral("Nos") };
    for (StockTable table : { StockTable::ForSale, StockTable::Office }) {
        const DbFile file = StockFile(table);
        QSqlQuery query = db.run(
            QStringLiteral("SELECT DISTINCT \"Per\" FROM \"%1\".\"%2\"").arg(SchemaName(file), StockTableName(table)),
            {}, QStringLiteral("read the units of %1").arg(StockTableName(table)), file);
        while (query.next())
            units << query.value(0).toString();
    }
    units.removeAll(QString());
    units.removeAll(QStringLiteral("N.A."));
    units.removeDuplicates();
    units.sort();
    return units;
}

} // namespace zelva
