#pragma once
// The one reader of a stored invoice serves the one invoice (LoadInvoice), a
// period's and every one (LoadAllInvoices), so that the invoice page, the
// registers and the returns read the same invoice from the same rows:
// - the tax mode is the head the first labelled tax row names ("CGST @ 9%",
//   "IGST @ 18%", "CGST" over several rates, in any letter case: labels as
//   every version wrote them, the "CGST/ IGST" of a list left unset naming
//   none), else the one whose tax total is not zero; a base whose row names
//   that head with a rate was charged at the rate the row keeps;
// - goods lines at several rates take the rate and tax kept for their own
//   grid row (InvoiceLineTax), lines at one rate their share of rows 8 and 9;
// - the tax totals read to the paisa (older files kept them unrounded).
#include "platform/period.h"
#include "sales/invoice.h"

#include <QStringList>
#include <vector>

namespace zelva {

class Database;

// The invoices dated within the period (their date texts' day keys, as
// DateKeySql reads them), in serial order, each read as LoadInvoice reads one
// with its cancellation mark, but without what only a reprint needs (the
// seller's address, transport and IRN): one query for the headers and grids,
// one for the period's kept line taxes, however many invoices. With
// datesAsStored, each invoice's date text as the file keeps it is appended
// there, in the same order (the registers show it so). Throws DataError.
std::vector<Invoice> LoadInvoicesOfPeriod(const Database& db, const Period& period,
                                          QStringList* datesAsStored = nullptr);

// That query of headers and grids, the period's day keys bound (yyyymmdd,
// from and to): what the query-plan check and the benchmarks run bare.
// marksKept: the file has its CancelledInvoice table (CancellationsKept).
QString InvoicesOfPeriodSql(bool marksKept = true);

} // namespace zelva
