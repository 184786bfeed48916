#include "registers/stockvalue.h"

#include "data/database.h"
#include "data/schema.h"
#include "platform/textnum.h"
#include "registers/csvfile.h"
#include "sales/openingstock.h"

#include <QSqlQuery>

namespace zelva {

namespace {

const QStringList Captions{QStringLiteral("Item Code"), QStringLiteral("Item Name"), QStringLiteral("Per"),
                           QStringLiteral("Opening"),   QStringLiteral("Purchased"), QStringLiteral("Sold"),
                           QStringLiteral("Issued"),    QStringLiteral("On Hand"),   QStringLiteral("Cost per Unit"),
                           QStringLiteral("Value")};

struct Item {
    QString code;
    QString name;
    QString per;
    double onHandNow = 0;
};

std::vector<Item> itemsForSale(Database& db)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"itemcode\", \"ItemName\", \"Per\", \"Quantity\" FROM \"%1\".\"Stock\" "
                                        "WHERE \"sno\" <> 0 ORDER BY \"itemcode\"")
                             .arg(SchemaName(DbFile::ItemStock)),
                         {}, QStringLiteral("read the stock items"), DbFile::ItemStock);
    std::vector<Item> items;
    while (q.next())
        items.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toDouble()});
    return items;
}

// The weighted average of the quantities whose cost is known; none when none is.
std::optional<Paise> averageCost(double opening, const std::optional<Paise>& openingCost, const StockMovements& m)
{
    double quantity = m.purchased;
    Paise cost = m.purchaseCost;
    if (openingCost && opening > 0) {
        quantity += opening;
        cost += LineAmount(opening, ToRupees(*openingCost));
    }
    if (quantity <= 0)
        return std::nullopt;
    return ToPaise(ToRupees(cost) / quantity);
}

QString costText(const StockValueLine& line)
{
    return line.unitCost ? AmountText(*line.unitCost) : QString();
}

QStringList quantityTexts(const StockValueLine& line)
{
    return {Str(line.opening), Str(line.purchased), Str(line.sold), Str(line.issued), Str(line.onHand)};
}

} // namespace

QString StockValueMethod()
{
    return QStringLiteral("At cost: the weighted average of the opening cost and the purchase rates up to the day");
}

StockValue LoadStockValue(Database& db, const QDate& asAt)
{
    const QHash<QString, OpeningStock> kept = LoadAllOpeningStock(db);
    const QHash<QString, StockMovements> all = LoadStockMovements(db);
    const QHash<QString, StockMovements> upTo = LoadStockMovements(db, asAt);
    StockValue report;
    report.asAt = asAt;
    for (const Item& item : itemsForSale(db)) {
        StockValueLine line;
        line.itemCode = item.code;
        line.itemName = item.name;
        line.per = item.per;
        const StockMovements m = upTo.value(item.code);
        std::optional<Paise> openingCost;
        if (const auto found = kept.constFind(item.code); found != kept.constEnd()) {
            line.opening = found->quantity;
            openingCost = found->unitCost;
        } else {
            line.opening = OpeningQuantityFrom(item.onHandNow, all.value(item.code));
        }
        line.purchased = m.purchased;
        line.sold = m.sold - m.returned;
        line.issued = m.issued;
        line.onHand = line.opening + line.purchased - line.sold - line.issued;
        line.unitCost = averageCost(line.opening, openingCost, m);
        if (line.unitCost)
            line.value = LineAmount(line.onHand, ToRupees(*line.unitCost));
        else if (line.onHand != 0)
            ++report.withoutCost;
        report.total += line.value;
        report.lines.push_back(std::move(line));
    }
    return report;
}

QString StockValueCsv(const StockValue& report)
{
    QString csv = CsvLine(Captions);
    for (const StockValueLine& line : report.lines)
        csv += CsvLine({line.itemCode, line.itemName, line.per},
                       quantityTexts(line) << costText(line) << (line.unitCost ? AmountText(line.value) : QString()));
    csv += CsvLine({QStringLiteral("Total as at %1").arg(report.asAt.toString(QStringLiteral("dd/MM/yyyy"))), {}, {}},
                   {{}, {}, {}, {}, {}, {}, AmountText(report.total)});
    return csv;
}

XlsxSheet StockValueSheet(const StockValue& report)
{
    std::vector<SheetColumn> columns{{Captions[0], CellKind::Text}, {Captions[1], CellKind::Text},
                                     {Captions[2], CellKind::Text}};
    for (int i = 3; i < 8; ++i)
        columns.push_back({Captions[i], CellKind::Number});
    columns.push_back({Captions[8], CellKind::Amount});
    columns.push_back({Captions[9], CellKind::Amount});
    XlsxSheet sheet(QStringLiteral("Stock Value"), columns);
    for (const StockValueLine& line : report.lines) {
        const QVariant cost = line.unitCost ? QVariant(qlonglong(*line.unitCost)) : QVariant();
        const QVariant value = line.unitCost ? QVariant(qlonglong(line.value)) : QVariant();
        sheet.addRow({line.itemCode, line.itemName, line.per, line.opening, line.purchased, line.sold, line.issued,
                      line.onHand, cost, value});
    }
    sheet.addTotals({QStringLiteral("Total as at %1").arg(report.asAt.toString(QStringLiteral("dd/MM/yyyy"))), {}, {}, {},
                     {}, {}, {}, {}, {}, qlonglong(report.total)});
    return sheet;
}

} // namespace zelva
