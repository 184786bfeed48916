#pragma once
// The invoice report: every saved invoice, one page each, read from
// PrintInvoice and laid out as the printed tax invoice.
#include "sales/invoice.h"
#include "ui/report.h"

namespace zelva {

// The layout "Tax Invoice": Arial, the report header, page header, one detail
// per invoice, page footer and report footer, positions in twips.
report::ReportLayout rptInvoice();

// The invoices (LoadInvoice) as the report shows them, one row each, under
// the names of the stored fields: each grid row as kept, those that hold
// nothing ("N.A." and no amount) left blank, the goods lines' serials
// (SNo1..SNo7), the seller's address, the tax rows added up (TotalTax) and the
// grand total in words (AmountInWords); a cancelled invoice carries
// "CANCELLED" (CancelledMark) and when, by whom and why (CancelledNote).
// The transport details on one line (Transport); a registered invoice's IRN,
// acknowledgement and e-way bill (IrnLine, AckLine) and its signed QR code
// (SignedQr, left off a cancelled invoice: its IRN is void); and, given the
// seller's UPI ID, the pay QR of the invoice's total (UpiQr, ScanToPay), left
// off a cancelled invoice too.
report::ReportRow InvoiceReportRow(const Invoice& invoice, const QString& upiId = {});
report::ReportRows InvoiceReportRows(const std::vector<Invoice>& invoices, const QString& upiId = {});

} // namespace zelva
