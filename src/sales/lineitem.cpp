#include "sales/lineitem.h"

#include "data/database.h"

#include <QSqlQuery>

namespace zelva {

namespace {

// The item's record with its rate and level (each kept once an item, by its code).
QString lineItemSelect(const QString& from)
{
    const QString schema = SchemaName(DbFile::ItemStock);
    return QStringLiteral("SELECT s.\"itemcode\", s.\"ItemName\", s.\"ItemHsn\", s.\"Rate\", s.\"Per\", s.\"Quantity\", "
                          "g.\"GstRate\", r.\"ReorderLevel\" "
                          "FROM %1 LEFT JOIN \"%2\".\"StockGstRate\" AS g ON g.\"itemcode\" = s.\"itemcode\" "
                          "LEFT JOIN \"%2\".\"StockReorderLevel\" AS r ON r.\"itemcode\" = s.\"itemcode\" ")
        .arg(from, schema);
}

std::optional<double> optionalNumber(const QVariant& value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

std::optional<LineItem> readLineItem(Database& db, const QString& sql, const QString& key, const QString& operation)
{
    QSqlQuery q = db.run(sql, {key}, operation, DbFile::ItemStock);
    if (!q.next())
        return std::nullopt;
    return LineItem{q.value(0).toString(),      q.value(1).toString(),      q.value(2).toString(),
                    optionalNumber(q.value(3)), q.value(4).toString(),      optionalNumber(q.value(5)),
                    optionalNumber(q.value(6)), optionalNumber(q.value(7))};
}

} // namespace

std::optional<LineItem> LoadLineItem(Database& db, const QString& itemCode)
{
    static const QString sql =
        lineItemSelect(QStringLiteral("\"%1\".\"Stock\" AS s").arg(SchemaName(DbFile::ItemStock)))
        + QStringLiteral("WHERE s.\"itemcode\" = ?");
    return readLineItem(db, sql, itemCode, QStringLiteral("read the stock item of a line"));
}

std::optional<LineItem> LoadLineItemOfBarcode(Database& db, const QString& barcode)
{
    static const QString sql =
        lineItemSelect(QStringLiteral("\"%1\".\"StockBarcode\" AS b JOIN \"%1\".\"Stock\" AS s ON s.\"itemcode\" = "
                                      "b.\"itemcode\"")
                           .arg(SchemaName(DbFile::ItemStock)))
        + QStringLiteral("WHERE b.\"Barcode\" = ?");
    return readLineItem(db, sql, barcode, QStringLiteral("find the item of a barcode"));
}

} // namespace zelva
