#pragma once
// The GST rates, each stock item's rate and the company's turnover band as
// the store keeps them (GstRate, StockGstRate, CompanyTurnover).
//
// The rate table starts as the rates the program ships (ShippedGstRates): a
// store that holds none yet gives those, and the first save writes them with
// the operator's change. A later notified change is added by its date; a rate
// the portal does not accept is refused, whoever asks.
#include "data/batchinsert.h"
#include "gst/gstrates.h"

#include <QHash>
#include <QString>
#include <optional>

namespace zelva {

class Database;

// The rates the store keeps, in the order they were entered; the shipped
// rates while it keeps none. Throws DataError.
GstRateTable LoadGstRates(Database& db);

// Why a rate cannot join the table ("" when it can): a rate the portal does
// not accept, no first day, a last day before the first, or the same rate
// already in force on one of its days (a second one would say nothing new).
QString GstRateRefusal(const GstRateTable& table, const GstRate& rate);

// Keeps the whole table, in one transaction: all of it lands or none. Throws
// DataError; refuses (DataError naming the rate) a table with a rate that
// GstRateRefusal refuses against the others.
void StoreGstRates(Database& db, const GstRateTable& table);

// The rate kept for a stock item by its code; nullopt for an item saved
// before rates were kept, or never given one. Throws DataError.
std::optional<double> LoadItemGstRate(Database& db, const QString& itemCode);
// Inside the caller's transaction (the item's own save): keeps the rate, or
// none. Throws DataError.
void StoreItemGstRateWithin(Database& db, const QString& itemCode, std::optional<double> rate);

class AuditBatch;

// The rates of many items kept in one piece of work (an import's new items):
// StoreItemGstRateWithin for each, with the rates kept read once and each
// change logged in the caller's audit batch as it is stored; write() writes
// the rows. Throws DataError.
class ItemGstRateBatch {
public:
    ItemGstRateBatch(Database& db, AuditBatch& audit);
    void store(const QString& itemCode, std::optional<double> rate);
    void write() { m_rows.write(); }

private:
    AuditBatch& m_audit;
    QHash<QString, std::optional<double>> m_kept; // each code with a row, and its rate
    RowsByCode m_rows;
};

// The company's turnover in the previous year: up to Rs 5 crore (HSN codes of
// at least 4 digits) or above (at least 6). By the company's serial; up to
// Rs 5 crore when none is kept. Throws DataError.
bool LoadAboveFiveCrore(Database& db, qint64 companySerial);
// The first company's (the seller); nullopt while its band is not set in
// Company Details (the HSN codes are then not checked). Throws DataError.
std::optional<bool> LoadFirstCompanyAboveFiveCrore(Database& db);
// Inside the caller's transaction (the company's own save). Throws DataError.
void StoreAboveFiveCroreWithin(Database& db, qint64 companySerial, bool aboveFiveCrore);

} // namespace zelva
