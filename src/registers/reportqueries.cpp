#include "registers/reportqueries.h"

#include <QSqlRecord>

namespace zelva {

namespace {

QString table(DbFile file, const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(file), QLatin1String(name));
}

// The column names are read once; each row then takes its values only.
QueryRows readRows(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    QueryRows rows;
    while (query.next()) {
        QVariantMap row;
        for (int i = 0; i < names.size(); ++i)
            row.insert(names[i], query.value(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

// The day range as bound values, or no condition at all for every day.
QString dayCondition(const QString& dayKey, const std::optional<Period>& days, QVariantList& values)
{
    if (!days)
        return {};
    values << DayKey(days->from) << DayKey(days->to);
    return QStringLiteral(" AND %1 BETWEEN ? AND ?").arg(dayKey);
}

} // namespace

QueryRows StockReportRows(Database& db, StockBand band)
{
    QString sql = QStringLiteral("SELECT sno AS Sno, itemcode AS ItemCode, ItemName, ItemHsn, Rate, Per, Quantity, "
                                 "Remarks FROM %1 WHERE sno <> 0")
                      .arg(table(DbFile::ItemStock, "Stock"));
    QVariantList values;
    switch (band) {
    case StockBand::All:
        break;
    case StockBand::Zero:
        sql += QStringLiteral(" AND Quantity = 0");
        break;
    case StockBand::OneToTen:
        sql += QStringLiteral(" AND Quantity BETWEEN ? AND ?"), values << 1 << 10;
        break;
    case StockBand::ElevenToFifty:
        sql += QStringLiteral(" AND Quantity BETWEEN ? AND ?"), values << 11 << 50;
        break;
    case StockBand::NoneOnHand:
        sql += QStringLiteral(" AND (Quantity IS NULL OR Quantity <= 0)");
        break;
    }
    QSqlQuery query = db.run(sql, values, QStringLiteral("read the stock report"), DbFile::ItemStock);
    return readRows(query);
}

QueryRows PurchaseReportRows(Database& db, const std::optional<Period>& days)
{
    // The register view holds every purchase but the placeholder; its date key
    // is the expression the purchase table is indexed on.
    QVariantList values;
    const QString sql
        = QStringLiteral("SELECT PurchaseOrder, PurchaseDate, PurchaseInvoiceNo, ItemName, ItemHsn, "
                         "Quantity, Rate, PurchaseInvoiceDate, Remarks FROM %1 WHERE 1 = 1%2")
              .arg(table(DbFile::PurchaseMaster, "PurchaseRegister"), dayCondition(PurchaseDayKeySql(), days, values));
    QSqlQuery query = db.run(sql, values, QStringLiteral("read the purchase report"), DbFile::PurchaseMaster);
    return readRows(query);
}

QueryRows IssueReportRows(Database& db, const std::optional<Period>& days)
{
    QVariantList values;
    const QString sql
        = QStringLiteral("SELECT IssueNo, ItemName, IssuedBy, IssueTo, Quantity, Rate, IssueDate, Remarks "
                         "FROM %1 WHERE ISno <> 0%2")
              .arg(table(DbFile::IssueMaster, "IssueRegister"), dayCondition(IssueDayKeySql(), days, values));
    QSqlQuery query = db.run(sql, values, QStringLiteral("read the issue report"), DbFile::IssueMaster);
    return readRows(query);
}

MonthlyRows MonthlyReportRows(Database& db)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT * FROM %1").arg(table(DbFile::Invoice, "MonthlyReport")), {},
        QStringLiteral("read the monthly report"), DbFile::Invoice);
    MonthlyRows monthly;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        monthly.columns << record.fieldName(i);
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        monthly.rows.push_back(std::move(row));
    }
    return monthly;
}

} // namespace zelva
