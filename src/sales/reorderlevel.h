#pragma once
// The quantity at or below which a stock item is to be ordered again
// (StockReorderLevel, by the item's code), and the items that have reached it.
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

// The item's level; nullopt when it has none. Throws DataError.
std::optional<double> LoadReorderLevel(Database& db, const QString& itemCode);
// Inside the caller's transaction (the item's own save): keeps the level, or
// none. Throws DataError; a level below 0 is refused.
void StoreReorderLevelWithin(Database& db, const QString& itemCode, std::optional<double> level);

// The warning for a line that leaves `left` of an item on hand: "" while it
// stays above its level (or the item has none).
QString ReorderWarning(const QString& itemName, double left, std::optional<double> level);

// The warning for taking `taken` of the item off its quantity on hand as
// stored: "" while what is left stays above its level. Throws DataError.
QString ReorderWarningFor(Database& db, const QString& itemCode, double taken);

// An item at or below its level, with the last purchase of it (supplier and
// rate; empty and 0 while it was never bought).
struct BelowReorderItem {
    QString itemCode;
    QString itemName;
    double quantity = 0;
    double level = 0;
    double shortfall() const { return level - quantity; }
    QString lastSupplier;
    double lastRate = 0;
};
// Every item for sale at or below its level, by item code. Throws DataError.
std::vector<BelowReorderItem> LoadBelowReorderLevel(Database& db);
// How many there are, without reading the items. Throws DataError.
int CountBelowReorderLevel(Database& db);

} // namespace zelva
