#pragma once
// What a goods line takes from the store of its stock item: the item's
// record as stored now (HSN, rate, unit, quantity on hand), its GST rate and
// its reorder level. They are read together, in one query, when the item is
// picked from the goods list or its barcode scanned: a scan is one look-up,
// nothing is read of the other items, and a line follows the masters as
// they stand at that moment, whatever changed since the list was filled.
#include <QString>
#include <optional>

namespace zelva {

class Database;

struct LineItem {
    QString itemCode;
    QString name;
    QString hsn;
    std::optional<double> rate; // none while the record holds none
    QString unit;
    std::optional<double> onHand;
    std::optional<double> gstRate;      // none for an item never given one
    std::optional<double> reorderLevel; // none for an item without one
};

// The item of this code; nullopt when there is none. Throws DataError.
std::optional<LineItem> LoadLineItem(Database& db, const QString& itemCode);
// The item the barcode belongs to; nullopt when it is nobody's. Throws DataError.
std::optional<LineItem> LoadLineItemOfBarcode(Database& db, const QString& barcode);

} // namespace zelva
