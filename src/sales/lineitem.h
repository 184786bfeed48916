#pragma once
// What a goods line takes from the store of its stock item besides what the
// goods list shows: the item's GST rate, its reorder level, and its name and
// quantity on hand as stored now (for the reorder warning). They are read
// together, in one query, when the item is picked or its barcode scanned,
// so a scan is one look-up and a line follows the masters as they stand at
// that moment, whatever changed since the list was filled.
#include <QString>
#include <optional>

namespace zelva {

class Database;

struct LineItem {
    QString itemCode;
    QString name;
    double onHand = 0;
    std::optional<double> gstRate;      // none for an item never given one
    std::optional<double> reorderLevel; // none for an item without one
};

// The item of this code; nullopt when there is none. Throws DataError.
std::optional<LineItem> LoadLineItem(Database& db, const QString& itemCode);
// The item the barcode belongs to; nullopt when it is nobody's. Throws DataError.
std::optional<LineItem> LoadLineItemOfBarcode(Database& db, const QString& barcode);

} // namespace zelva
