#pragma once
// The rows of the stock, purchase and issue reports and of the monthly grid,
// read on the shared connection with bound values. Each row is a map from the
// report layout's column names to the stored values; no query sets an order
// beyond the table's own (the order records were saved in).
#include "data/database.h"
#include "platform/period.h"

#include <QStringList>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace zelva {

using QueryRows = std::vector<QVariantMap>;

// The stock report's quantity bands, numbered as the form keeps them. Each
// band includes both its ends; the placeholder item is in none. NoneOnHand
// (the Nill Item report) is every item with nothing on hand: zero, below zero
// (issued beyond the stock) or no quantity recorded at all.
enum class StockBand { All = 1, Zero = 2, OneToTen = 3, ElevenToFifty = 4, NoneOnHand = 5 };

// Stock items: Sno, ItemCode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks.
QueryRows StockReportRows(Database& db, StockBand band);

// Purchases (all but the placeholder) whose purchase date lies in the days;
// nullopt: every purchase. PurchaseOrder, PurchaseDate, PurchaseInvoiceNo,
// ItemName, ItemHsn, Quantity, Rate, PurchaseInvoiceDate, Remarks.
QueryRows PurchaseReportRows(Database& db, const std::optional<Period>& days);

// Issues (all but the placeholder) whose issue day lies in the days;
// nullopt: every issue. IssueNo, ItemName, IssuedBy, IssueTo, Quantity,
// Rate (for the value issued), IssueDate, Remarks.
QueryRows IssueReportRows(Database& db, const std::optional<Period>& days);

// The month-by-month invoice summary: its column names and its rows.
struct MonthlyRows {
    QStringList columns;
    std::vector<QVariantList> rows;
};
MonthlyRows MonthlyReportRows(Database& db);

} // namespace zelva
