#pragma once
// The layouts of the stock, purchase and issue reports, in twips. The stock
// layout is shared by every report that lists stock items.
#include "ui/report.h"

namespace zelva {

report::ReportLayout StockReportLayout();
report::ReportLayout PurchaseReportLayout();
report::ReportLayout IssueReportLayout();

} // namespace zelva
