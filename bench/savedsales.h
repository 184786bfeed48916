#pragma once
// The invoices a benchmark finds already saved, stored as the counter stores
// them: one line of 100.00 at IGST 18% to a buyer in Kerala.
#include "data/serials.h"
#include "sales/invoicestore.h"

namespace bench {

inline zelva::Invoice OneLineSale()
{
    using namespace zelva;
    Invoice sale;
    sale.date = QDate(2026, 4, 1);
    sale.buyer.name = QStringLiteral("Buyer");
    sale.buyer.state = QStringLiteral("Kerala");
    sale.mode = TaxMode::Igst;
    InvoiceLine line;
    line.description = QStringLiteral("Item");
    line.quantity = 1;
    line.rate = 100;
    line.amount = LineAmount(line.quantity, line.rate);
    sale.lines = { line };
    sale.taxes[TaxOnGoods].rate = 18;
    ComputeTotals(sale);
    return sale;
}

// Saves count copies of sale under serials 1..count inside the caller's
// transaction, each with its own invoice number.
inline void SaveSales(zelva::Database& db, zelva::Invoice sale, int count)
{
    for (int sno = 1; sno <= count; ++sno) {
        sale.serial = sno;
        sale.number = zelva::RecordCode(zelva::CodeKind::Invoice, sno);
        zelva::StoreInvoiceWithin(db, sale, zelva::Renumber::Refused);
    }
}

} // namespace bench
