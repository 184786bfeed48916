#pragma once
// How a company's counter works (CompanyCounter, by the company's serial):
// the width of the receipt roll Quick Bill prints on, and whether a barcode
// scanned anywhere on an invoice form adds its item or only one scanned into
// the goods box.
#include <QString>

namespace zelva {

class Database;

// The rolls receipt printers take.
constexpr int NarrowRollMm = 58;
constexpr int WideRollMm = 80;

struct CounterSettings {
    int rollWidthMm = WideRollMm;
    bool scanAnywhere = false;
    bool operator==(const CounterSettings&) const = default;
};

// Why a roll of that width cannot be printed on ("" when it can).
QString RollWidthRefusal(int widthMm);

// The company's, by its serial; the defaults when it keeps none. Throws DataError.
CounterSettings LoadCounterSettings(Database& db, qint64 companySerial);
// The first company's (the seller the invoices are issued by). Throws DataError.
CounterSettings LoadFirstCompanyCounterSettings(Database& db);
// Inside the caller's transaction (the company's own save). Throws DataError;
// a roll width RollWidthRefusal refuses is refused.
void StoreCounterSettingsWithin(Database& db, qint64 companySerial, const CounterSettings& settings);

} // namespace zelva
