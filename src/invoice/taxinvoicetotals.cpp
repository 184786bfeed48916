// GST on the invoice: which tax the buyer pays, the rate lists, the tax of each
// base (goods, Others1, Others2) in its grid rows, and the totals.
#include "invoice/frmtaxinvoice.h"

#include "invoice/amountinwords.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace zelva;

namespace {

void fillRateLists(std::initializer_list<QComboBox*> combos, const QStringList& rates)
{
    for (QComboBox* combo : combos) {
        combo->clear();
        combo->addItems(rates);
        ClearCombo(combo);
    }
}

} // namespace

void frmTaxInvoice::IgstList() { fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, zelva::IgstList()); }
void frmTaxInvoice::CgstList() { fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, zelva::CgstList()); }
void frmTaxInvoice::SgstList() { fillRateLists({cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst}, zelva::SgstList()); }

void frmTaxInvoice::HideSgstItem() { showSgstItems(false); }
void frmTaxInvoice::ShowSgstItem() { showSgstItems(true); }

// The SGST lists, rows 9, 12 and 15 and the SGST total; the CGST total is
// captioned for the tax it then holds. Texts are kept.
void frmTaxInvoice::showSgstItems(bool visible)
{
    for (QComboBox* combo : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst})
        combo->setVisible(visible);
    for (int row : {9, 12, 15})
        setCellsVisible(row, {&txtHsn, &txtRate, &txtPer, &txtAmount}, visible);
    lblTotalCGST->setText(visible ? QStringLiteral("Total CGST") : QStringLiteral("Total IGST"));
    lblTotalSGST->setVisible(visible);
    txtTotalSgst->setVisible(visible);
}

// A buyer of the company's own State pays CGST plus SGST, any other IGST. The
// rate choices and tax rows of the other mode are cleared, so that nothing of
// it is charged unseen; a buyer of the same kind keeps the choices made.
void frmTaxInvoice::decideTaxMode()
{
    BuyerState = txtBuyerState->text();
    const zelva::TaxMode mode = DecideTaxMode(BuyerState, CompanyState);
    if (mode == TaxMode)
        return;
    clearTaxRows();
    if (mode == zelva::TaxMode::Igst) {
        IgstList();
        HideSgstItem();
    } else {
        CgstList();
        SgstList();
        ShowSgstItem();
    }
    TaxMode = mode;
    RefreshTotals();
}

void frmTaxInvoice::clearTaxRows()
{
    for (TaxLine& line : m_tax) {
        line.clearRate();
        ClearCombo(line.cgstCombo);
        ClearCombo(line.sgstCombo);
        for (int row : {line.cgstRow, line.sgstRow})
            for (Row* column : {&txtRate, &txtPer, &txtAmount})
                (*column)[row]->clear();
    }
    TotalIgst = TotalCgst = TotalSgst = 0;
    txtTotalCgst->clear();
    txtTotalSgst->clear();
}

double frmTaxInvoice::baseAmount(TaxBase base) const
{
    switch (base) {
    case Goods: return GoodsTotal;
    case Others1: return Val(txtAmount[10]->text());
    case Others2: return Val(txtAmount[13]->text());
    }
    return 0;
}

// Rate, "%" and the tax of one base into its tax rows; in CGST mode the SGST
// row repeats them under the matching SGST label.
void frmTaxInvoice::applyTax(TaxLine& line, double base)
{
    if (line.position < 0 || TaxMode == zelva::TaxMode::None)
        return;
    line.rate = RateAt(TaxMode, line.position);
    line.tax = TaxOn(base, line.rate);
    std::vector<int> rows{line.cgstRow};
    if (TaxMode == zelva::TaxMode::Cgst) {
        line.sgstCombo->setEditText(SgstLabelFor(line.cgstCombo->currentText()));
        rows.push_back(line.sgstRow);
    }
    for (int row : rows) {
        txtRate[row]->setText(RateText(line.rate));
        txtPer[row]->setText(QStringLiteral("%"));
        txtAmount[row]->setText(FormatAmount(line.tax));
    }
}

void frmTaxInvoice::chooseRate(TaxBase base, int position)
{
    if (TaxMode == zelva::TaxMode::None || position < 0)
        return;
    m_tax[base].position = position;
    RefreshTotals();
}

void frmTaxInvoice::cboGoodsCgst_Click(int index) { chooseRate(Goods, index); }
void frmTaxInvoice::cboOthers1Cgst_Click(int index) { chooseRate(Others1, index); }
void frmTaxInvoice::cboOthers2Cgst_Click(int index) { chooseRate(Others2, index); }

// Every chosen rate charged again on its base as it is now.
void frmTaxInvoice::recomputeTaxes()
{
    for (TaxBase base : {Goods, Others1, Others2})
        applyTax(m_tax[base], baseAmount(base));
}

void frmTaxInvoice::alltotal(bool askForBuyer)
{
    TotalsInput input;
    input.mode = TaxMode;
    input.goodsTax = m_tax[Goods].tax;
    input.others1Tax = m_tax[Others1].tax;
    input.others2Tax = m_tax[Others2].tax;
    input.goodsTotal = GoodsTotal;
    for (int row = 1; row <= GoodsRows; ++row)
        input.quantityTexts[row - 1] = txtQuantity[row]->text();
    for (int row = 8; row <= GridRows; ++row)
        input.chargeAmountTexts[row - 8] = txtAmount[row]->text();
    const Totals totals = ComputeTotals(input);

    if (TaxMode == zelva::TaxMode::Cgst) {
        TotalCgst = totals.totalCgst;
        TotalSgst = totals.totalSgst;
        txtTotalCgst->setText(FormatAmount(TotalCgst));
        txtTotalSgst->setText(FormatAmount(TotalSgst));
    } else if (TaxMode == zelva::TaxMode::Igst) {
        TotalIgst = totals.totalIgst;
        txtTotalCgst->setText(FormatAmount(TotalIgst));
    } else if (askForBuyer) {
        MsgBox(QStringLiteral("Select Buyer"));
    }
    QuantityTotal = totals.quantityTotal;
    txtTotalQuantity->setText(Str(QuantityTotal));
    GrandTotal = totals.grandTotal;
    txtTotalAmount->setText(FormatAmount(GrandTotal));
}

void frmTaxInvoice::ConvertCurrencyToEnglish(double amount)
{
    txtAmountInWords->setText(AmountInWords(amount));
}

void frmTaxInvoice::RefreshTotals()
{
    recomputeTaxes();
    alltotal(false);
    txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
    ConvertCurrencyToEnglish(GrandTotal);
}

void frmTaxInvoice::txtShortExcess_GotFocus()
{
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    alltotal(true);
    ConvertCurrencyToEnglish(GrandTotal);
}

void frmTaxInvoice::txtTotalGoodsAmount_Click()
{
    txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
}

void frmTaxInvoice::txtTotalAmount_GotFocus()
{
    alltotal(true);
    ConvertCurrencyToEnglish(GrandTotal);
    cmdPrint->setEnabled(m_pending); // Print saves: only an open invoice can be printed
}
