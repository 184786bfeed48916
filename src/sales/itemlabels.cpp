#include "sales/itemlabels.h"

#include "data/database.h"
#include "sales/purchasebill.h"

#include <QHash>
#include <QSqlQuery>
#include <cmath>

namespace zelva {

QRectF LabelLayout::labelRectMm(int position) const
{
    const int column = position % across;
    const int row = position / across;
    return {firstMm + QPointF(column * pitchMm.width(), row * pitchMm.height()), labelMm};
}

const std::vector<LabelLayout>& LabelLayouts()
{
    const QSizeF a4(210, 297);
    static const std::vector<LabelLayout> layouts{
        {QStringLiteral("A4, 65 a sheet, 38.1 x 21.2 mm"), a4, {38.1, 21.2}, 5, 13, {4.7, 10.7}, {40.6, 21.2}},
        {QStringLiteral("A4, 40 a sheet, 52.5 x 29.7 mm"), a4, {52.5, 29.7}, 4, 10, {0, 0}, {52.5, 29.7}},
        {QStringLiteral("A4, 24 a sheet, 70 x 37 mm"), a4, {70, 37}, 3, 8, {0, 0.5}, {70, 37}},
        {QStringLiteral("A4, 21 a sheet, 63.5 x 38.1 mm"), a4, {63.5, 38.1}, 3, 7, {7.25, 15.15}, {66, 38.1}},
        {QStringLiteral("Label printer, 50 x 25 mm"), {50, 25}, {50, 25}, 1, 1, {0, 0}, {50, 25}},
        {QStringLiteral("Label printer, 38 x 25 mm"), {38, 25}, {38, 25}, 1, 1, {0, 0}, {38, 25}},
    };
    return layouts;
}

namespace {

// The items for sale with each one's first barcode (the lowest serial of its codes).
QString labelSelect()
{
    const QString schema = SchemaName(DbFile::ItemStock);
    return QStringLiteral("SELECT s.\"itemcode\", s.\"ItemName\", s.\"Rate\", (SELECT b.\"Barcode\" FROM "
                          "\"%1\".\"StockBarcode\" AS b WHERE b.\"itemcode\" = s.\"itemcode\" ORDER BY b.\"sno\" "
                          "LIMIT 1) FROM \"%1\".\"Stock\" AS s WHERE s.\"sno\" <> 0")
        .arg(schema);
}

ItemLabel readLabel(const QSqlQuery& q)
{
    ItemLabel label{q.value(0).toString(), q.value(1).toString(), ToPaise(q.value(2).toDouble()),
                    q.value(3).toString(), BarcodeKind::ShopCode};
    label.kind = KindOfBarcode(label.barcode).value_or(BarcodeKind::ShopCode);
    return label;
}

} // namespace

std::vector<ItemLabel> LoadItemLabels(const Database& db)
{
    std::vector<ItemLabel> labels;
    QSqlQuery q = db.run(labelSelect() + QStringLiteral(" ORDER BY s.\"itemcode\""), {},
                         QStringLiteral("read the items for their labels"), DbFile::ItemStock);
    while (q.next())
        labels.push_back(readLabel(q));
    return labels;
}

std::optional<ItemLabel> LoadItemLabel(const Database& db, const QString& itemCode)
{
    QSqlQuery q = db.run(labelSelect() + QStringLiteral(" AND s.\"itemcode\" = ?"), {itemCode},
                         QStringLiteral("read the item for its label"), DbFile::ItemStock);
    if (!q.next())
        return std::nullopt;
    return readLabel(q);
}

std::optional<BillLabels> LabelsOfPurchaseBill(const Database& db, const QString& number)
{
    const QString wanted = ComparableBillNumber(number);
    const std::vector<PurchaseBill> bills = LoadPurchaseBills(db, QDate(1900, 1, 1), QDate(9999, 12, 31));
    const PurchaseBill* newest = nullptr; // the bills come in date order
    for (const PurchaseBill& bill : bills)
        if (ComparableBillNumber(bill.number) == wanted)
            newest = &bill;
    if (!newest)
        return std::nullopt;
    BillLabels out{newest->reference(), newest->date, {}};
    QHash<QString, double> quantityOf;
    QStringList order;
    for (const PurchaseBillLine& line : newest->lines) {
        if (!quantityOf.contains(line.itemCode))
            order << line.itemCode;
        quantityOf[line.itemCode] += line.quantity;
    }
    for (const QString& code : order) {
        const int count = int(std::ceil(quantityOf.value(code) - 1e-9));
        if (count > 0 && LoadItemLabel(db, code))
            out.counts.push_back({code, count});
    }
    return out;
}

int SheetsNeeded(int labelCount, int perSheet, int startPosition)
{
    if (labelCount <= 0 || perSheet <= 0)
        return 0;
    return (startPosition + labelCount + perSheet - 1) / perSheet;
}

} // namespace zelva
