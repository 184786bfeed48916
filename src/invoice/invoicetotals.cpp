// GST on the invoice: which tax the buyer pays, the rate lists, the tax of each
// base (goods, Others1, Others2) in its grid rows, and the totals.
#include "invoice/invoiceform.h"

#include "gst/amountinwords.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

void InvoiceForm::IgstList() { fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, zelva::IgstList()); }
void InvoiceForm::CgstList() { fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, zelva::CgstList()); }
void InvoiceForm::SgstList() { fillRateLists({cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst}, zelva::SgstList()); }

void InvoiceForm::HideSgstItem() { showSgstItems(false); }
void InvoiceForm::ShowSgstItem() { showSgstItems(true); }

// The SGST lists, the SGST rows and the SGST total; the CGST total is
// captioned for the tax it then holds. Texts are kept.
void InvoiceForm::showSgstItems(bool visible)
{
    for (QComboBox* combo : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst})
        combo->setVisible(visible);
    for (int row : {GoodsSgstRow, Others1SgstRow, Others2SgstRow})
        setCellsVisible(row, {&txtHsn, &txtRate, &txtPer, &txtAmount}, visible);
    showTaxCaptions(visible);
    txtTotalSgst->setVisible(visible);
}

// A buyer of the company's own State pays CGST plus SGST, any other IGST. The
// rate choices and tax rows of the other mode are cleared, so that nothing of
// it is charged unseen; a buyer of the same kind keeps the choices made.
void InvoiceForm::decideTaxMode()
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

void InvoiceForm::clearTaxRows()
{
    for (TaxLine& line : m_tax) {
        line.clearRate();
        ClearCombo(line.cgstCombo);
        ClearCombo(line.sgstCombo);
        for (int row : {line.cgstRow, line.sgstRow})
            for (Row* column : {&txtRate, &txtPer, &txtAmount})
                (*column)[row]->clear();
    }
    m_totals.totalIgst = m_totals.totalCgst = m_totals.totalSgst = 0;
    txtTotalCgst->clear();
    txtTotalSgst->clear();
}

double InvoiceForm::baseAmount(TaxBase base) const
{
    switch (base) {
    case Goods: return goodsValue();
    case Others1: return Val(txtAmount[Others1Row]->text());
    case Others2: return Val(txtAmount[Others2Row]->text());
    }
    return 0;
}

// Rate, "%" and the tax of one base into its tax rows; in CGST mode the SGST
// row repeats them under the matching SGST label.
void InvoiceForm::applyTax(TaxLine& line, double base)
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

void InvoiceForm::chooseRate(TaxBase base, int position)
{
    if (TaxMode == zelva::TaxMode::None || position < 0)
        return;
    m_tax[base].position = position;
    RefreshTotals();
}

void InvoiceForm::cboGoodsCgst_Click(int index) { chooseRate(Goods, index); }
void InvoiceForm::cboOthers1Cgst_Click(int index) { chooseRate(Others1, index); }
void InvoiceForm::cboOthers2Cgst_Click(int index) { chooseRate(Others2, index); }

// The goods are taxed on the sum of their lines' taxable values.
double InvoiceForm::goodsValue() const
{
    double total = 0;
    for (int row = FirstGoodsRow; row <= LineCount; ++row)
        total += taxableValue(row);
    return total;
}

double InvoiceForm::goodsRate() const
{
    const TaxLine& goods = m_tax[Goods];
    return goods.position < 0 || TaxMode == zelva::TaxMode::None ? -1 : RateAt(TaxMode, goods.position);
}

// Every chosen rate charged again on its base as it is now.
void InvoiceForm::recomputeTaxes()
{
    for (TaxBase base : {Goods, Others1, Others2})
        applyTax(m_tax[base], baseAmount(base));
}

void InvoiceForm::alltotal(bool askForBuyer)
{
    TotalsInput input;
    input.mode = TaxMode;
    input.goodsTax = m_tax[Goods].tax;
    input.others1Tax = m_tax[Others1].tax;
    input.others2Tax = m_tax[Others2].tax;
    input.goodsTotal = goodsValue();
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row)
        input.quantityTexts[row - 1] = txtQuantity[row]->text();
    for (int row = GoodsCgstRow; row <= GridRows; ++row)
        input.chargeAmountTexts[row - GoodsCgstRow] = txtAmount[row]->text();
    m_totals = ComputeTotals(input);

    if (TaxMode == zelva::TaxMode::Cgst) {
        txtTotalCgst->setText(FormatAmount(m_totals.totalCgst));
        txtTotalSgst->setText(FormatAmount(m_totals.totalSgst));
    } else if (TaxMode == zelva::TaxMode::Igst) {
        txtTotalCgst->setText(FormatAmount(m_totals.totalIgst));
    } else if (askForBuyer) {
        MsgBox(QStringLiteral("Select Buyer"));
    }
    txtTotalQuantity->setText(Str(m_totals.quantityTotal));
    txtTotalAmount->setText(FormatAmount(m_totals.grandTotal));
    totalsShown();
}

void InvoiceForm::ConvertCurrencyToEnglish(double amount)
{
    txtAmountInWords->setPlainText(AmountInWords(amount));
}

void InvoiceForm::RefreshTotals()
{
    recomputeTaxes();
    alltotal(false);
    txtTotalGoodsAmount->setText(FormatAmount(goodsValue()));
    ConvertCurrencyToEnglish(m_totals.grandTotal);
}

void InvoiceForm::txtShortExcess_GotFocus()
{
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    alltotal(true);
    ConvertCurrencyToEnglish(m_totals.grandTotal);
}

void InvoiceForm::txtTotalGoodsAmount_Click()
{
    txtTotalGoodsAmount->setText(FormatAmount(goodsValue()));
}

void InvoiceForm::txtTotalAmount_GotFocus()
{
    alltotal(true);
    ConvertCurrencyToEnglish(m_totals.grandTotal);
    cmdPrint->setEnabled(m_pending); // Print saves: only an open invoice can be printed
}
