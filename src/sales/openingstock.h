#pragma once
// The opening stock of a shop that already traded before its books started
// here: for each item for sale, the quantity on hand on the day the books
// start and what one unit of it cost. The quantity on hand itself stays in
// the Stock record and moves only through AdjustStock; OpeningStock keeps
// what it was at the start, so that the stock can be valued as at any later
// day (registers/stockvalue.h).
//
// An item saved before opening stock was kept has no record: its opening
// quantity is what it has on hand less the movements recorded since
// (purchases in, sales and issues out, sales returns back in).
#include "data/batchinsert.h"
#include "platform/money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

namespace zelva {

class Database;

struct OpeningStock {
    double quantity = 0;
    std::optional<Paise> unitCost; // none: not known
    bool operator==(const OpeningStock&) const = default;
};

// The item's opening stock as kept; nothing when none is. Throws DataError.
std::optional<OpeningStock> LoadOpeningStock(Database& db, const QString& itemCode);
// All items' opening stock, by item code. Throws DataError.
QHash<QString, OpeningStock> LoadAllOpeningStock(Database& db);

// Why a typed cost cannot be an opening cost ("" when it can): not a number
// (named as the box), or below nothing. A blank text is no cost.
QString OpeningCostRefusal(const QString& typed, const QString& boxCaption);
// The cost a typed text gives: none for a blank text (the text accepted above).
std::optional<Paise> OpeningCostTyped(const QString& typed);

// Keeps (or, nothing, takes off) the item's opening stock inside the
// caller's open transaction; a change is logged in the audit trail. Throws
// DataError (a cost below nothing is refused before anything is written).
void StoreOpeningStockWithin(Database& db, const QString& itemCode, const std::optional<OpeningStock>& opening);

class AuditBatch;

// The opening stock of many items kept in one piece of work (an import's new
// items): StoreOpeningStockWithin for each, with what is kept read once and
// each change logged in the caller's audit batch as it is stored; write()
// writes the rows. Throws DataError as StoreOpeningStockWithin does.
class OpeningStockBatch {
public:
    OpeningStockBatch(Database& db, AuditBatch& audit);
    void store(const QString& itemCode, const std::optional<OpeningStock>& opening);
    void write() { m_rows.write(); }

private:
    AuditBatch& m_audit;
    QHash<QString, OpeningStock> m_kept;
    RowsByCode m_rows;
};

// The item's opening quantity now: as kept, else what it has on hand less
// the movements recorded (see above). Throws DataError.
double OpeningQuantityOf(Database& db, const QString& itemCode);

// An item's movements of stock as recorded, quantities as they count for
// the quantity on hand (all zero or more), purchases with what they cost.
struct StockMovements {
    double purchased = 0;
    Paise purchaseCost = 0; // quantity times rate of each purchase, summed
    double sold = 0;        // on invoices not cancelled by then
    double returned = 0;    // given back on credit notes
    double issued = 0;
};
// Each item's movements up to and including the day (all of them when no day
// is given), by item code; the items for sale only are asked about, but a
// purchase or issue of an office item is told apart by its code only.
// Throws DataError.
QHash<QString, StockMovements> LoadStockMovements(Database& db, const std::optional<QDate>& upTo = {});
// The opening quantity of an item with no opening stock kept: what it has on
// hand less all its movements recorded.
double OpeningQuantityFrom(double onHand, const StockMovements& all);

} // namespace zelva
