#pragma once
// The invoice report: every saved invoice, one page each, read from
// PrintInvoice and laid out as the printed tax invoice.
#include "ui/report.h"

#include <QSqlQuery>

namespace zelva {

// The query the report runs.
inline const QString InvoiceReportSql = QStringLiteral("select * from PrintInvoice");

// The layout "Tax Invoice": Arial, the report header, page header, one detail
// per invoice, page footer and report footer, positions in twips.
report::ReportLayout rptInvoice();

// The query's rows as the report shows them: each column as held, grid rows
// that hold nothing ("N.A." and no amount) left blank, and three columns made
// from the stored ones: SNo1..SNo7 (the goods lines' serials), TotalTax and
// AmountInWords (of totalamount).
report::ReportRows InvoiceReportRows(QSqlQuery& query);

} // namespace zelva
