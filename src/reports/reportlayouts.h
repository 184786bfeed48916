#pragma once
// The layouts of the stock, purchase and issue reports over their rows, in
// twips. The stock layout is shared by every report that lists stock items.
#include "ui/report.h"

namespace zelva {

// Each report's title heads every page above the column captions; its
// report footer holds the totals of the rows: the count of items and the
// stock's value for the stock reports, the count, quantity and value of the
// purchases or issues listed. A value is each line's quantity times its rate
// to the paisa, added up in paise.
// Titled "Stock Report" unless a report of stock items names itself.
report::ReportLayout StockReportLayout(
    const report::ReportRows& rows, const QString& title = QStringLiteral("Stock Report"));
report::ReportLayout PurchaseReportLayout(const report::ReportRows& rows);
report::ReportLayout IssueReportLayout(const report::ReportRows& rows);

} // namespace zelva
