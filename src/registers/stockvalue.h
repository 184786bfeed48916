#pragma once
// The value of the stock for sale at cost as at a day: for each item, its
// opening stock (sales/openingstock.h) plus what was bought less what was
// sold (net of sales returns) and issued up to and including the day, valued
// at the weighted average cost of the opening stock and the purchases up to
// the day. A quantity whose cost is not known (an opening stock kept without
// its cost) takes no part in the average; an item with no known cost at all
// is shown without a value and counted apart, never valued at nothing
// unsaid. Amounts in paise; the average to the paisa, the value to the paisa
// (platform/money.h).
#include "platform/money.h"
#include "registers/xlsxfile.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

struct StockValueLine {
    QString itemCode;
    QString itemName;
    QString per;
    double opening = 0;
    double purchased = 0;
    double sold = 0; // net of the sales returns
    double issued = 0;
    double onHand = 0; // as at the day
    std::optional<Paise> unitCost; // the weighted average; none when no cost is known
    Paise value = 0;               // 0 when no cost is known
};

struct StockValue {
    QDate asAt;
    std::vector<StockValueLine> lines; // in item code order
    Paise total = 0;
    int withoutCost = 0; // items with stock on hand and no known cost
};

// How the stock is valued, for the report's heading.
QString StockValueMethod();

// The stock as at the day. Throws DataError.
StockValue LoadStockValue(Database& db, const QDate& asAt);

// The report as CSV text and as an Excel sheet, the totals last.
QString StockValueCsv(const StockValue& report);
XlsxSheet StockValueSheet(const StockValue& report);

} // namespace zelva
