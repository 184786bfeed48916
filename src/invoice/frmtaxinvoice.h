#pragma once
// The tax invoice: the invoice form with the page that shows each goods line's
// quantity, rate and amount, and the tax totals beneath the grid.
#include "invoice/invoiceform.h"

class frmTaxInvoice : public InvoiceForm {
    Q_OBJECT
public:
    explicit frmTaxInvoice(zelva::Database& db, QWidget* parent = nullptr);

protected:
    void buildPage() override;

private:
    // its page (taxinvoicepage.cpp)
    void buildSellerAndReferences();
    void buildBuyerAndDelivery();
    void buildGrid();
    void buildTaxLists();
    void buildTotalsAndFoot();
};
