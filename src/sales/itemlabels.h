#pragma once
// Item labels: what a label of a stock item for sale says (its barcode, its
// name and its price, the item's sale rate), the sheets labels are printed on,
// and the labels a purchase bill's goods want.
//
// An item without a barcode gets no label: a label whose code the counter
// cannot scan into a bill would only mislead; the item is given a barcode in
// Stock Entry first.
#include "platform/money.h"
#include "sales/barcodes.h"

#include <QDate>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

// A sheet of labels, in millimetres from the paper's top left corner: labels
// of labelMm, across x down of them, the first at firstMm, each the next at
// pitchMm. A label printer's page is a sheet of one label, as large as the paper.
struct LabelLayout {
    QString name;
    QSizeF paperMm;
    QSizeF labelMm;
    int across = 1;
    int down = 1;
    QPointF firstMm;
    QSizeF pitchMm;
    int perSheet() const { return across * down; }
    // The label at a position on the sheet (from 0, row by row).
    QRectF labelRectMm(int position) const;
};
// A4 sheets of 65, 40, 24 and 21 labels, then the label printers' pages.
const std::vector<LabelLayout>& LabelLayouts();

struct ItemLabel {
    QString itemCode;
    QString name;
    Paise price = 0;
    QString barcode; // the item's first barcode; "" when it has none
    BarcodeKind kind = BarcodeKind::ShopCode;
    bool operator==(const ItemLabel&) const = default;
};

// The items for sale with their labels, in item code order. Throws DataError.
std::vector<ItemLabel> LoadItemLabels(const Database& db);
// One item's label; nullopt when no item for sale has that code. Throws DataError.
std::optional<ItemLabel> LoadItemLabel(const Database& db, const QString& itemCode);

struct LabelCount {
    QString itemCode;
    int count = 0;
    bool operator==(const LabelCount&) const = default;
};

// The labels the goods of a purchase bill want: the newest bill of that
// number (numbers compared as ComparableBillNumber compares them), each item
// for sale on it once, in the bill's order, with a label for each unit that
// came in (a part of a unit takes a label of its own).
struct BillLabels {
    QString reference; // "bill 42 of Sharma Traders"
    QDate date;
    std::vector<LabelCount> counts;
};
// nullopt when no bill has that number. Throws DataError.
std::optional<BillLabels> LabelsOfPurchaseBill(const Database& db, const QString& number);

// Which sheet and place each label goes to: labels fill the sheets in order,
// the first from startPosition (from 0) of the first sheet (a sheet part used
// before); the sheets needed.
int SheetsNeeded(int labelCount, int perSheet, int startPosition);

} // namespace zelva
