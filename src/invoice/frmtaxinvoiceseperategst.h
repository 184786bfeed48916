#pragma once
// The separate-GST tax invoice: the invoice form with the page that shows each
// goods line's discount, taxable value, CGST (or IGST) and SGST rate and
// amount and line total, and beneath the grid the totals before tax, the taxes
// added, the total GST and the total after tax. It saves, numbers and prints
// as the tax invoice does; a line is saved with its taxable value.
#include "invoice/invoiceform.h"

class frmTaxInvoiceSeperateGst : public InvoiceForm {
    Q_OBJECT
public:
    explicit frmTaxInvoiceSeperateGst(zelva::Database& db, QWidget* parent = nullptr);

    // the columns of goods rows 1-7 (element 0, the entry row, is not on this page)
    Row txtDisc{};
    Row txtTaxableValue{};
    Row txtCgstPer{};
    Row txtCgstAmt{};
    Row txtSgstPer{};
    Row txtSgstAmt{};
    Row txtTotal{};
    QLabel* lblCgst;
    QLabel* lblSgst;
    // beneath the grid
    QLineEdit* txtTotalBeforeTax;
    QLabel* lblAddCgst;
    QLabel* lblAddSgst;
    QLineEdit* txtTotalGst;
    QLineEdit* txtTotalAfterTax;
    QComboBox* txtReverseCharge; // "No" or "Yes"
    QLineEdit* txtReverseChargePrinted; // beneath the list, printed in its place

protected:
    void buildPage() override;
    void Form_Load() override;
    void showTaxCaptions(bool cgstAndSgst) override;
    void totalsShown() override;
    zelva::Paise discountTyped(int row) const override;
    std::vector<Row*> goodsColumns() override;
    void ClearControl() override;
    bool CheckNumbers() override;

private:
    // its page (seperategstpage.cpp)
    void buildLineColumns();
    void buildTotals();
    void connectDiscounts();
    void extendTabOrder();

    void txtDisc_LostFocus(int row);
    void showLines();

    int m_linesShown = 0; // the goods lines the columns were computed for
};
