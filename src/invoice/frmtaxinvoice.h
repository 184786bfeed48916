#pragma once
// The tax invoice: the invoice form with the page that shows each goods line's
// quantity, rate and amount, and the tax totals beneath the grid.
#include "invoice/invoiceform.h"

class frmTaxInvoice : public InvoiceForm {
    Q_OBJECT
public:
    explicit frmTaxInvoice(zelva::Database& db, QWidget* parent = nullptr);

    QLabel* lblTotalCGST;
    QLabel* lblTotalSGST;

protected:
    void buildPage() override;
    void showTaxCaptions(bool cgstAndSgst) override;

private:
    void buildTotals();
};
