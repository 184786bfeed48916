#pragma once
// The SQL texts of the registers and the return (values are bound, never
// glued in).
#include <QString>
#include <QStringList>

namespace zelva {

// The saved invoices dated between two bound keys (yyyymmdd) whose number or
// buyer name holds a text (any letter case; "" for all; bound twice, once for
// each), newest first:
// sno, InvoiceNo, InvoiceDate, BuyerName, totalamount, and 1 for a cancelled
// invoice (else 0).
QString InvoiceListSql(bool marksKept = true);

// Name, Gstin and State of the first company record.
QString CompanyGstSql();

} // namespace zelva
