#pragma once
// The layouts of the stock, purchase and issue reports, in twips. The stock
// layout is shared by every report that lists stock items.
#include "ui/report.h"

namespace zelva {

// Titled "Stock Report" unless a report of stock items names itself.
report::ReportLayout StockReportLayout(const QString& title = QStringLiteral("Stock Report"));
report::ReportLayout PurchaseReportLayout();
report::ReportLayout IssueReportLayout();

} // namespace zelva
