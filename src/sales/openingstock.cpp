#include "sales/openingstock.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/schema.h"
#include "platform/datetext.h"
#include "platform/textnum.h"

#include <QSqlQuery>

namespace zelva {

namespace {

const QString SaveOperation = QStringLiteral("save the item's opening stock");
const QString ReadOperation = QStringLiteral("read the opening stock");

QString openingTable()
{
    return QStringLiteral("\"%1\".\"OpeningStock\"").arg(SchemaName(DbFile::ItemStock));
}

QString tableOf(DbFile file, const char* table)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(file), QLatin1String(table));
}

OpeningStock openingOf(const QSqlQuery& q, int quantityColumn)
{
    OpeningStock opening{q.value(quantityColumn).toDouble(), std::nullopt};
    if (!q.value(quantityColumn + 1).isNull())
        opening.unitCost = q.value(quantityColumn + 1).toLongLong();
    return opening;
}

QString openingText(const std::optional<OpeningStock>& opening)
{
    if (!opening)
        return {};
    return QStringLiteral("%1 at %2")
        .arg(Str(opening->quantity), opening->unitCost ? AmountText(*opening->unitCost) : QStringLiteral("no cost"));
}

// "AND <day key> <= ?" with its value, or nothing when every day counts.
QString upToClause(const QString& dayKey, const std::optional<QDate>& upTo, QVariantList& values)
{
    if (!upTo)
        return {};
    values << DayKey(*upTo);
    return QStringLiteral(" AND %1 <= ?").arg(dayKey);
}

void addPurchases(Database& db, const std::optional<QDate>& upTo, QHash<QString, StockMovements>& movements)
{
    QVariantList values;
    const QString clause = upToClause(PurchaseDayKeySql(), upTo, values);
    QSqlQuery q = db.run(QStringLiteral("SELECT \"itemcode\", \"Quantity\", \"Rate\" FROM %1 WHERE \"PSno\" <> 0%2")
                             .arg(tableOf(DbFile::PurchaseMaster, "Purchase"), clause),
                         values, ReadOperation, DbFile::PurchaseMaster);
    while (q.next()) {
        StockMovements& m = movements[q.value(0).toString()];
        m.purchased += q.value(1).toDouble();
        m.purchaseCost += LineAmount(q.value(1).toDouble(), q.value(2).toDouble());
    }
}

// What invoices took, but not those cancelled by then (their stock came back on the cancelling day).
void addSales(Database& db, const std::optional<QDate>& upTo, QHash<QString, StockMovements>& movements)
{
    QVariantList values;
    const QString clause = upToClause(DateKeySql(QStringLiteral("b.\"InvoiceDate\"")), upTo, values);
    QString cancelled = QStringLiteral("SELECT 1 FROM %1 AS c WHERE c.\"sno\" = s.\"sno\"")
                            .arg(tableOf(DbFile::Invoice, "CancelledInvoice"));
    if (upTo) {
        cancelled += QStringLiteral(" AND %1 <= ?").arg(DateKeySql(QStringLiteral("c.\"CancelDate\"")));
        values << DayKey(*upTo);
    }
    QSqlQuery q = db.run(QStringLiteral("SELECT s.\"itemcode\", s.\"Quantity\" FROM %1 AS s JOIN %2 AS b ON b.\"sno\" = "
                                        "s.\"sno\" WHERE 1 = 1%3 AND NOT EXISTS (%4)")
                             .arg(tableOf(DbFile::Invoice, "InvoiceStock"), tableOf(DbFile::Invoice, "BuyerInvoice"),
                                  clause, cancelled),
                         values, ReadOperation, DbFile::Invoice);
    while (q.next())
        movements[q.value(0).toString()].sold += q.value(1).toDouble();
}

void addReturns(Database& db, const std::optional<QDate>& upTo, QHash<QString, StockMovements>& movements)
{
    QVariantList values;
    const QString clause = upToClause(DateKeySql(QStringLiteral("n.\"NoteDate\"")), upTo, values);
    QSqlQuery q = db.run(QStringLiteral("SELECT l.\"itemcode\", l.\"Returned\" FROM %1 AS l JOIN %2 AS n ON n.\"NoteNo\" = "
                                        "l.\"NoteNo\" WHERE l.\"Returned\" > 0%3")
                             .arg(tableOf(DbFile::Invoice, "SaleNoteLine"), tableOf(DbFile::Invoice, "SaleNote"), clause),
                         values, ReadOperation, DbFile::Invoice);
    while (q.next())
        movements[q.value(0).toString()].returned += q.value(1).toDouble();
}

void addIssues(Database& db, const std::optional<QDate>& upTo, QHash<QString, StockMovements>& movements)
{
    QVariantList values;
    const QString clause = upToClause(IssueDayKeySql(), upTo, values);
    QSqlQuery q = db.run(QStringLiteral("SELECT \"itemcode\", \"Quantity\" FROM %1 WHERE \"ISno\" <> 0%2")
                             .arg(tableOf(DbFile::IssueMaster, "IssueRegister"), clause),
                         values, ReadOperation, DbFile::IssueMaster);
    while (q.next())
        movements[q.value(0).toString()].issued += q.value(1).toDouble();
}

} // namespace

std::optional<OpeningStock> LoadOpeningStock(Database& db, const QString& itemCode)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"Quantity\", \"CostPaise\" FROM %1 WHERE \"itemcode\" = ?").arg(openingTable()),
                         {itemCode}, ReadOperation, DbFile::ItemStock);
    if (!q.next())
        return std::nullopt;
    return openingOf(q, 0);
}

QHash<QString, OpeningStock> LoadAllOpeningStock(Database& db)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"itemcode\", \"Quantity\", \"CostPaise\" FROM %1").arg(openingTable()), {},
                         ReadOperation, DbFile::ItemStock);
    QHash<QString, OpeningStock> all;
    while (q.next())
        all.insert(q.value(0).toString(), openingOf(q, 1));
    return all;
}

QString OpeningCostRefusal(const QString& typed, const QString& boxCaption)
{
    if (typed.trimmed().isEmpty())
        return {};
    Paise cost = 0;
    if (!ReadAmount(typed, cost))
        return NotANumberMessage(boxCaption, typed.trimmed());
    if (cost < 0)
        return QStringLiteral("An opening cost cannot be below nothing: \"%1\" is (%2).").arg(typed.trimmed(), boxCaption);
    return {};
}

std::optional<Paise> OpeningCostTyped(const QString& typed)
{
    Paise cost = 0;
    if (typed.trimmed().isEmpty() || !ReadAmount(typed, cost))
        return std::nullopt;
    return cost;
}

namespace {

// Refuses a cost below nothing before anything is written.
void refuseCostBelowNothing(const std::optional<OpeningStock>& opening)
{
    if (opening && opening->unitCost && *opening->unitCost < 0)
        throw DataError(SaveOperation, RelativePath(DbFile::ItemStock),
                        QStringLiteral("An opening cost cannot be below nothing: %1 is.").arg(AmountText(*opening->unitCost)));
}

// A kept row's values as the table takes them.
QVariantList openingValues(const OpeningStock& opening)
{
    const QVariant cost = opening.unitCost ? QVariant(qlonglong(*opening.unitCost)) : QVariant(QMetaType::fromType<qlonglong>());
    return {opening.quantity, cost};
}

} // namespace

void StoreOpeningStockWithin(Database& db, const QString& itemCode, const std::optional<OpeningStock>& opening)
{
    refuseCostBelowNothing(opening);
    const std::optional<OpeningStock> before = LoadOpeningStock(db, itemCode);
    if (before == opening)
        return;
    LogChange(db, QStringLiteral("OpeningStock"), itemCode, AuditAction::Changed,
              {{QStringLiteral("OpeningStock"), openingText(before), openingText(opening)}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"itemcode\" = ?").arg(openingTable()), {itemCode}, SaveOperation,
           DbFile::ItemStock);
    if (!opening)
        return;
    QSqlQuery last = db.run(QStringLiteral("SELECT COALESCE(MAX(\"sno\"), 0) FROM %1").arg(openingTable()), {},
                            SaveOperation, DbFile::ItemStock);
    const qint64 serial = last.next() ? last.value(0).toLongLong() + 1 : 1;
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"itemcode\", \"Quantity\", \"CostPaise\") VALUES (?, ?, ?, ?)")
               .arg(openingTable()),
           QVariantList{serial, itemCode} + openingValues(*opening), SaveOperation, DbFile::ItemStock);
}

OpeningStockBatch::OpeningStockBatch(Database& db, AuditBatch& audit)
    : m_audit(audit)
    , m_kept(LoadAllOpeningStock(db))
    , m_rows(db, DbFile::ItemStock, QStringLiteral("OpeningStock"), {QStringLiteral("Quantity"), QStringLiteral("CostPaise")},
             SaveOperation)
{
}

void OpeningStockBatch::store(const QString& itemCode, const std::optional<OpeningStock>& opening)
{
    refuseCostBelowNothing(opening);
    const auto kept = m_kept.constFind(itemCode);
    const bool hadRow = kept != m_kept.constEnd();
    const std::optional<OpeningStock> before = hadRow ? std::optional<OpeningStock>(*kept) : std::nullopt;
    if (before == opening)
        return;
    m_audit.add(QStringLiteral("OpeningStock"), itemCode, AuditAction::Changed,
                {{QStringLiteral("OpeningStock"), openingText(before), openingText(opening)}});
    m_rows.replace(itemCode, hadRow, opening ? std::optional<QVariantList>(openingValues(*opening)) : std::nullopt);
    if (opening)
        m_kept.insert(itemCode, *opening);
    else
        m_kept.remove(itemCode);
}

double OpeningQuantityOf(Database& db, const QString& itemCode)
{
    if (const std::optional<OpeningStock> kept = LoadOpeningStock(db, itemCode))
        return kept->quantity;
    QSqlQuery q = db.run(QStringLiteral("SELECT \"Quantity\" FROM %1 WHERE \"itemcode\" = ? ORDER BY rowid LIMIT 1")
                             .arg(tableOf(DbFile::ItemStock, "Stock")),
                         {itemCode}, ReadOperation, DbFile::ItemStock);
    const double onHand = q.next() ? q.value(0).toDouble() : 0;
    return OpeningQuantityFrom(onHand, LoadStockMovements(db).value(itemCode));
}

double OpeningQuantityFrom(double onHand, const StockMovements& all)
{
    return onHand - all.purchased + all.sold - all.returned + all.issued;
}

QHash<QString, StockMovements> LoadStockMovements(Database& db, const std::optional<QDate>& upTo)
{
    QHash<QString, StockMovements> movements;
    addPurchases(db, upTo, movements);
    addSales(db, upTo, movements);
    addReturns(db, upTo, movements);
    addIssues(db, upTo, movements);
    return movements;
}

} // namespace zelva
