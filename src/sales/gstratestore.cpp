#include "sales/gstratestore.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "platform/period.h"
#include "platform/textnum.h"

#include <QSqlQuery>

namespace zelva {

namespace {

QString table(DbFile file, const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(file), QLatin1String(name));
}

QDate dayOfKey(int key)
{
    return key > 0 ? QDate(key / 10000, key / 100 % 100, key % 100) : QDate();
}

int keyOf(const QDate& day)
{
    return day.isValid() ? DayKey(day) : 0;
}

bool overlap(const GstRate& a, const GstRate& b)
{
    const QDate far(9999, 12, 31);
    return a.from <= (b.to.isValid() ? b.to : far) && b.from <= (a.to.isValid() ? a.to : far);
}

// The table as the audit trail keeps it: one rate a line.
QString ratesText(const GstRateTable& rates)
{
    QStringList lines;
    for (const GstRate& rate : rates)
        lines << QStringLiteral("%1% from %2%3%4")
                     .arg(Str(rate.percent), rate.from.toString(QStringLiteral("dd/MM/yyyy")),
                          rate.to.isValid() ? QStringLiteral(" to ") + rate.to.toString(QStringLiteral("dd/MM/yyyy"))
                                            : QString(),
                          rate.special ? QStringLiteral(" (special)") : QString());
    return lines.join(QLatin1Char('\n'));
}

QString rateText(std::optional<double> rate)
{
    return rate ? Str(*rate) : QString();
}

} // namespace

GstRateTable LoadGstRates(Database& db)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"GstRate\", \"FromDay\", \"ToDay\", \"Special\", \"Note\" FROM %1 "
                                        "ORDER BY \"sno\"")
                             .arg(table(DbFile::Master, "GstRate")),
                         {}, QStringLiteral("read the GST rates"), DbFile::Master);
    GstRateTable rates;
    while (q.next())
        rates.push_back({q.value(0).toDouble(), dayOfKey(q.value(1).toInt()), dayOfKey(q.value(2).toInt()),
                         q.value(3).toInt() != 0, q.value(4).toString()});
    return rates.empty() ? ShippedGstRates() : rates;
}

QString GstRateRefusal(const GstRateTable& others, const GstRate& rate)
{
    if (!PortalAcceptsRate(rate.percent))
        return QStringLiteral("The GST portal does not accept a rate of %1% (GST rate %). The rates it accepts are %2.")
            .arg(Str(rate.percent), [] {
                QStringList texts;
                for (double r : PortalRates())
                    texts << Str(r);
                return texts.join(QStringLiteral(", "));
            }());
    if (!rate.from.isValid())
        return QStringLiteral("Type the day the rate applies from as dd/mm/yyyy (From).");
    if (rate.to.isValid() && rate.to < rate.from)
        return QStringLiteral("The last day of the rate is before its first day (Last day).");
    for (const GstRate& other : others)
        if (SameRate(other.percent, rate.percent) && other.special == rate.special && overlap(other, rate))
            return QStringLiteral("The rate of %1% is already in force from %2 (GST rate %).")
                .arg(Str(rate.percent), other.from.toString(QStringLiteral("dd/MM/yyyy")));
    return {};
}

void StoreGstRates(Database& db, const GstRateTable& rates)
{
    const QString operation = QStringLiteral("save the GST rates");
    for (std::size_t i = 0; i < rates.size(); ++i) {
        GstRateTable others(rates.begin(), rates.begin() + qsizetype(i));
        const QString refusal = GstRateRefusal(others, rates[i]);
        if (!refusal.isEmpty())
            throw DataError(operation, RelativePath(DbFile::Master), refusal);
    }
    Transaction transaction(db, operation);
    const QString before = ratesText(LoadGstRates(db));
    db.run(QStringLiteral("DELETE FROM %1").arg(table(DbFile::Master, "GstRate")), {}, operation, DbFile::Master);
    qint64 serial = 0;
    for (const GstRate& rate : rates)
        db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"GstRate\", \"FromDay\", \"ToDay\", \"Special\", \"Note\") "
                              "VALUES (?, ?, ?, ?, ?, ?)")
                   .arg(table(DbFile::Master, "GstRate")),
               {++serial, rate.percent, keyOf(rate.from), keyOf(rate.to), rate.special ? 1 : 0, rate.note}, operation,
               DbFile::Master);
    if (const QString after = ratesText(rates); after != before)
        LogChange(db, QStringLiteral("GstRate"), QStringLiteral("rates"), AuditAction::Changed,
                  {{QStringLiteral("Rates"), before, after}});
    transaction.commit();
}

std::optional<double> LoadItemGstRate(Database& db, const QString& itemCode)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"GstRate\" FROM %1 WHERE \"itemcode\" = ?")
                             .arg(table(DbFile::ItemStock, "StockGstRate")),
                         {itemCode}, QStringLiteral("read the item's GST rate"), DbFile::ItemStock);
    if (q.next() && !q.value(0).isNull())
        return q.value(0).toDouble();
    return std::nullopt;
}

void StoreItemGstRateWithin(Database& db, const QString& itemCode, std::optional<double> rate)
{
    const QString operation = QStringLiteral("save the item's GST rate");
    const QString kept = table(DbFile::ItemStock, "StockGstRate");
    if (const std::optional<double> before = LoadItemGstRate(db, itemCode); before != rate)
        LogChange(db, QStringLiteral("StockGstRate"), itemCode, AuditAction::Changed,
                  {{QStringLiteral("GstRate"), rateText(before), rateText(rate)}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"itemcode\" = ?").arg(kept), {itemCode}, operation, DbFile::ItemStock);
    if (!rate)
        return;
    QSqlQuery last = db.run(QStringLiteral("SELECT COALESCE(MAX(\"sno\"), 0) FROM %1").arg(kept), {}, operation,
                            DbFile::ItemStock);
    const qint64 serial = last.next() ? last.value(0).toLongLong() + 1 : 1;
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"itemcode\", \"GstRate\") VALUES (?, ?, ?)").arg(kept),
           {serial, itemCode, *rate}, operation, DbFile::ItemStock);
}

ItemGstRateBatch::ItemGstRateBatch(Database& db, AuditBatch& audit)
    : m_audit(audit)
    , m_rows(db, DbFile::ItemStock, QStringLiteral("StockGstRate"), {QStringLiteral("GstRate")},
             QStringLiteral("save the item's GST rate"))
{
    QSqlQuery kept = db.run(QStringLiteral("SELECT \"itemcode\", \"GstRate\" FROM %1").arg(table(DbFile::ItemStock, "StockGstRate")),
                            {}, QStringLiteral("read the items' GST rates"), DbFile::ItemStock);
    while (kept.next())
        if (!m_kept.contains(kept.value(0).toString())) // the first, as LoadItemGstRate reads it
            m_kept.insert(kept.value(0).toString(),
                          kept.value(1).isNull() ? std::nullopt : std::optional<double>(kept.value(1).toDouble()));
}

void ItemGstRateBatch::store(const QString& itemCode, std::optional<double> rate)
{
    const auto kept = m_kept.constFind(itemCode);
    const bool hadRow = kept != m_kept.constEnd();
    if (const std::optional<double> before = hadRow ? *kept : std::nullopt; before != rate)
        m_audit.add(QStringLiteral("StockGstRate"), itemCode, AuditAction::Changed,
                    {{QStringLiteral("GstRate"), rateText(before), rateText(rate)}});
    m_rows.replace(itemCode, hadRow, rate ? std::optional<QVariantList>(QVariantList{*rate}) : std::nullopt);
    if (rate)
        m_kept.insert(itemCode, rate);
    else
        m_kept.remove(itemCode);
}

bool LoadAboveFiveCrore(Database& db, qint64 companySerial)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"AboveFiveCrore\" FROM %1 WHERE \"sno\" = ?")
                             .arg(table(DbFile::Master, "CompanyTurnover")),
                         {companySerial}, QStringLiteral("read the company's turnover"), DbFile::Master);
    return q.next() && q.value(0).toInt() != 0;
}

std::optional<bool> LoadFirstCompanyAboveFiveCrore(Database& db)
{
    QSqlQuery first = db.run(QStringLiteral("SELECT t.\"AboveFiveCrore\" FROM %1 AS c LEFT JOIN %2 AS t ON t.\"sno\" = "
                                            "c.\"sno\" ORDER BY c.\"sno\", c.rowid LIMIT 1")
                                 .arg(table(DbFile::Master, "Company"), table(DbFile::Master, "CompanyTurnover")),
                             {}, QStringLiteral("read the company's turnover"), DbFile::Master);
    if (!first.next() || first.value(0).isNull())
        return std::nullopt;
    return first.value(0).toInt() != 0;
}

void StoreAboveFiveCroreWithin(Database& db, qint64 companySerial, bool aboveFiveCrore)
{
    const QString operation = QStringLiteral("save the company's turnover");
    const QString kept = table(DbFile::Master, "CompanyTurnover");
    if (const bool before = LoadAboveFiveCrore(db, companySerial); before != aboveFiveCrore)
        LogChange(db, QStringLiteral("CompanyTurnover"), QString::number(companySerial), AuditAction::Changed,
                  {{QStringLiteral("AboveFiveCrore"), before ? QStringLiteral("1") : QStringLiteral("0"),
                    aboveFiveCrore ? QStringLiteral("1") : QStringLiteral("0")}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"sno\" = ?").arg(kept), {companySerial}, operation, DbFile::Master);
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"AboveFiveCrore\") VALUES (?, ?)").arg(kept),
           {companySerial, aboveFiveCrore ? 1 : 0}, operation, DbFile::Master);
}

} // namespace zelva
