#include "invoice/frmtaxinvoice.h"

frmTaxInvoice::frmTaxInvoice(zelva::Database& db, QWidget* parent)
    : InvoiceForm(db, parent)
{
    setObjectName(QStringLiteral("frmTaxInvoice"));
    setWindowTitle(QStringLiteral("Tax Invoice"));
    setUp();
}
