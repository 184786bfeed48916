#pragma once
// The one way the quantity on hand changes: a signed quantity added to the
// stock record as it stands inside the caller's transaction. No form writes
// back a quantity it read earlier, so a sale, a purchase and an issue of the
// same item, in any order and from any window, all count.
#include "data/schema.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zelva {

class Database;

// The two stock tables: items for sale and items for the business's own use.
enum class StockTable { ForSale, Office };

DbFile StockFile(StockTable table);
QString StockTableName(StockTable table);

// Adds delta (negative to take stock off) to the quantity on hand of the
// first record, in table order, with that item code; a blank quantity counts
// as 0 and the result may go below zero. False when no record has the code
// (nothing changes). Must run inside a Transaction; throws DataError.
bool AdjustStock(Database& db, StockTable table, const QString& itemCode, double delta);

class PreparedStatement;

// AdjustStock for many items in one piece of work (an import's opening
// stock): the same change, its statement prepared once.
class StockAdjuster {
public:
    // Throws DataError outside a Transaction.
    StockAdjuster(Database& db, StockTable table);
    ~StockAdjuster();
    // As AdjustStock.
    bool adjust(const QString& itemCode, double delta);

private:
    std::unique_ptr<PreparedStatement> m_change;
};

// The units the stock tables already use (distinct Per of both, blanks and
// "N.A." left out) and "Nos", in alphabetical order.
QStringList UnitsInUse(Database& db);

} // namespace zelva
