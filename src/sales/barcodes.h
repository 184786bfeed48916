#pragma once
// The barcodes a stock item is scanned by, as the store keeps them
// (StockBarcode): one or more an item, each belonging to one item only.
//
// A code of 8, 12 or 13 digits is an EAN-8, UPC-A or EAN-13 code and must
// carry its check digit; any other code of letters, digits, "-", "." or "/"
// (up to LongestBarcode characters) is the shop's own.
#include <QString>
#include <QStringList>
#include <optional>

namespace zelva {

class Database;

constexpr int LongestBarcode = 32;

enum class BarcodeKind { Ean13, Ean8, UpcA, ShopCode };
// The kind a well-formed code is of; nullopt for a code that is none.
std::optional<BarcodeKind> KindOfBarcode(const QString& code);
// Why the code cannot be a barcode ("" when it can): empty, too long, a
// character a scanner does not type, or an EAN/UPC code whose check digit is wrong.
QString BarcodeRefusal(const QString& code);
// The codes typed into one box, separated by commas or blanks, each once.
QStringList SplitBarcodes(const QString& typed);

// The item's barcodes in the order they were given. Throws DataError.
QStringList LoadItemBarcodes(Database& db, const QString& itemCode);
// The code of the item a barcode belongs to; nullopt when none. Throws DataError.
std::optional<QString> ItemOfBarcode(Database& db, const QString& barcode);
// Why the item cannot carry these codes ("" when it can): a malformed code,
// or one that belongs to another item (named by its code and name). Throws DataError.
QString BarcodesRefusal(Database& db, const QString& itemCode, const QStringList& barcodes);
// Inside the caller's transaction (the item's own save): keeps exactly these
// codes for the item. Throws DataError, and so refuses the save, for codes
// BarcodesRefusal refuses.
void StoreItemBarcodesWithin(Database& db, const QString& itemCode, const QStringList& barcodes);

} // namespace zelva
