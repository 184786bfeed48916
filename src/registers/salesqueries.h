#pragma once
// The SQL texts of the registers and the return (values are bound, never
// glued in).
#include <QString>
#include <QStringList>

namespace zelva {

// The saved invoices whose date key (yyyymmdd) lies between two bound keys,
// in serial order: BuyerInvoice's header columns, the date's day, month and
// year as numbers, 1 for a cancelled invoice (else 0), then the GoodsInvoice
// columns named, in that order.
// marksKept: the file has its CancelledInvoice table (CancellationsKept).
QString InvoicesOfPeriodSql(const QStringList& goodsColumns, bool marksKept = true);
constexpr int InvoiceHeaderColumns = 11; // sno ... year, cancelled, before the goods columns

// The saved invoices dated between two bound keys (yyyymmdd) whose number or
// buyer name holds a text (any letter case; "" for all; bound twice, once for
// each), newest first:
// sno, InvoiceNo, InvoiceDate, BuyerName, totalamount, and 1 for a cancelled
// invoice (else 0).
QString InvoiceListSql(bool marksKept = true);

// Name, Gstin and State of the first company record.
QString CompanyGstSql();

} // namespace zelva
