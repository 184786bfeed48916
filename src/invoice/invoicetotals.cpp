// GST on the invoice: which tax the buyer pays, the rate lists, the tax of each
// base (goods, Others1, Others2) in its grid rows, and the totals.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "gst/gstrates.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "sales/gstratestore.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

using namespace zelva;

namespace {

void fillRateLists(std::initializer_list<QComboBox*> combos, const std::vector<double>& rates, zelva::TaxMode mode,
                   bool sgst)
{
    QStringList labels;
    for (double rate : rates)
        labels << TaxRowLabel(mode, rate, sgst);
    for (QComboBox* combo : combos) {
        combo->clear();
        combo->addItems(labels);
        ClearCombo(combo);
    }
}

} // namespace

void InvoiceForm::IgstList()
{
    fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, m_offeredRates, zelva::TaxMode::Igst, false);
}
void InvoiceForm::CgstList()
{
    fillRateLists({cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}, m_offeredRates, zelva::TaxMode::Cgst, false);
}
void InvoiceForm::SgstList()
{
    fillRateLists({cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst}, m_offeredRates, zelva::TaxMode::Cgst, true);
}

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
    TaxMode = mode;
    fillRateListsOfMode();
    if (mode == zelva::TaxMode::Igst)
        HideSgstItem();
    else
        ShowSgstItem();
    RefreshTotals();
}

void InvoiceForm::fillRateListsOfMode()
{
    if (TaxMode == zelva::TaxMode::Igst) {
        IgstList();
    } else if (TaxMode == zelva::TaxMode::Cgst) {
        CgstList();
        SgstList();
    }
}

void InvoiceForm::offerRatesOfDate()
{
    const QDate day = ReadDateText(txtInvoiceDate->text());
    if (!day.isValid())
        return; // the save names a date it cannot read
    std::vector<double> rates;
    if (!Guarded<DataError>([&] { rates = RatesInForce(LoadGstRates(m_db), day, true); }) || rates == m_offeredRates)
        return;
    m_offeredRates = rates;
    fillRateListsOfMode();
    fillLineRateList();
    for (TaxLine& line : m_tax) {
        const auto offered = line.rate ? std::find_if(rates.begin(), rates.end(), [&](double r) { return SameRate(r, *line.rate); })
                                       : rates.end();
        if (offered == rates.end()) {
            if (line.rate)
                line.droppedRate = line.rate;
            line.clearRate();
            for (int row : {line.cgstRow, line.sgstRow})
                for (Row* column : {&txtRate, &txtPer, &txtAmount})
                    (*column)[row]->clear();
            continue;
        }
        line.cgstCombo->setCurrentIndex(int(offered - rates.begin()));
    }
    settleLineRates(); // an item's rate not in force on the new date goes too
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
    txtTotalCgst->clear();
    txtTotalSgst->clear();
    settleLineRates(); // the goods rate chosen goes; each item's own stays
}

void InvoiceForm::chooseRate(TaxBase base, int position)
{
    if (TaxMode == zelva::TaxMode::None || position < 0 || std::size_t(position) >= m_offeredRates.size())
        return;
    m_tax[base].rate = m_offeredRates[std::size_t(position)];
    m_tax[base].droppedRate.reset();
    if (base == Goods) // the goods rate chosen is every line's, over its item's
        settleLineRates();
    RefreshTotals();
}

void InvoiceForm::cboGoodsCgst_Click(int index) { chooseRate(Goods, index); }
void InvoiceForm::cboOthers1Cgst_Click(int index) { chooseRate(Others1, index); }
void InvoiceForm::cboOthers2Cgst_Click(int index) { chooseRate(Others2, index); }

// The screen as an invoice: the header and parties as shown, the goods lines
// added (with the discounts the page takes off), the charges and rounding as
// typed, the rates chosen, and the boxes of the rows no rate fills.
Invoice InvoiceForm::currentInvoice() const
{
    Invoice invoice;
    invoice.serial = InvoiceSno;
    invoice.number = InvoiceNumber;
    invoice.date = ReadDateText(txtInvoiceDate->text());
    invoice.orderNo = txtOrderNo->text();
    invoice.orderDate = ReadDateText(txtOrderDate->text());
    invoice.suppliersRef = txtSuppliersRef->text();
    invoice.dispatchedThrough = txtDispatchedThrough->text();
    invoice.seller = {txtCompanyName->text(), txtAddress->toPlainText(), txtDist->text(), txtState->text(),
                      txtPin->text(),         txtGstin->text()};
    invoice.buyerCode = BuyerBid;
    invoice.buyer = {TextOf(cboBuyerName), txtBuyerAddress->toPlainText(), txtBuyerDist->text(),
                     txtBuyerState->text(), txtBuyerPin->text(),           txtBuyerGstin->text()};
    invoice.delivery = {TextOf(cboBuyerNameD), txtBuyerAddressD->toPlainText(), txtBuyerDistD->text(),
                        txtBuyerStateD->text(), txtBuyerPinD->text(),           QString()};
    invoice.mode = TaxMode;
    invoice.lines = m_lines;
    for (int row = FirstGoodsRow; row <= LineCount; ++row)
        invoice.lines[row - FirstGoodsRow].discount = discountTyped(row);
    const auto typed = [this](int row, QWidget* description, QWidget* hsn) {
        GridLine line{TextOf(description), TextOf(hsn), row <= RatedRows ? txtPer[row]->text() : QString(), 0, 0};
        if (row <= RatedRows)
            zelva::ReadNumber(txtRate[row]->text(), line.rate);
        ReadAmount(txtAmount[row]->text(), line.amount);
        return line;
    };
    invoice.charges[0] = typed(Others1Row, cboOthers1, cboOthers1Hsn);
    invoice.charges[1] = typed(Others2Row, cboOthers2, cboOthers2Hsn);
    for (TaxBase base : {Goods, Others1, Others2}) {
        const TaxLine& line = m_tax[base];
        ChargedTax& taxed = invoice.taxes[base];
        taxed.rate = line.rate;
        taxed.first = typed(line.cgstRow, line.cgstCombo, txtHsn[line.cgstRow]);
        taxed.second = typed(line.sgstRow, line.sgstCombo, txtHsn[line.sgstRow]);
    }
    invoice.rounding = typed(ShortExcessRow, txtShortExcess, txtHsn[ShortExcessRow]);
    invoice.transport = transportTyped();
    return invoice;
}

// Rate, "%" and the tax of each rated base in its tax rows; in CGST mode the
// SGST row repeats them under the matching SGST label.
void InvoiceForm::showTaxRows()
{
    if (TaxMode == zelva::TaxMode::None)
        return;
    for (TaxBase base : {Goods, Others1, Others2}) {
        const TaxLine& line = m_tax[base];
        const ChargedTax& taxed = m_invoice.taxes[base];
        // goods at several rates: rows 8 and 9 show the sums, under their head alone
        const bool mixedRates = base == Goods && !taxed.rated() && taxed.first.description == MixedRatesLabel(TaxMode);
        // no goods rate chosen: the rows show what the lines' own rates make of them
        const bool fromLines = base == Goods && !line.rate;
        if (fromLines)
            line.cgstCombo->setEditText(taxed.rated() || mixedRates ? taxed.first.description : QString());
        if (fromLines && !taxed.rated() && !mixedRates) {
            for (int row : {line.cgstRow, line.sgstRow})
                for (Row* column : {&txtRate, &txtPer, &txtAmount})
                    (*column)[row]->clear();
            if (TaxMode == zelva::TaxMode::Cgst)
                line.sgstCombo->setEditText(QString());
            continue;
        }
        if (!line.rate && !fromLines)
            continue;
        std::vector<std::pair<int, const GridLine*>> rows{{line.cgstRow, &taxed.first}};
        if (TaxMode == zelva::TaxMode::Cgst) {
            line.sgstCombo->setEditText(taxed.second.description);
            rows.push_back({line.sgstRow, &taxed.second});
        }
        for (auto [row, shown] : rows) {
            ShowText(txtRate[row], mixedRates ? QString() : RateText(shown->rate));
            ShowText(txtPer[row], shown->per);
            ShowText(txtAmount[row], BoxAmountText(shown->amount));
        }
    }
}

// The table takes the line beneath the frame; the line that says the invoice
// is the computer's own moves into the frame, beneath the declaration.
void InvoiceForm::showTaxByRate()
{
    if (!m_taxByRate)
        return;
    m_taxByRate->show(TaxMode, GoodsTaxByRate(m_invoice));
    const bool shown = !m_taxByRate->shownRows().isEmpty();
    lblComputerGenerated->setAlignment((shown ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    if (shown)
        invoicepage::place(lblComputerGenerated, 100, m_footTop + 1980, 5600);
    else
        invoicepage::place(lblComputerGenerated, 0, m_footTop + 2430, invoicepage::ContentWidth);
}

void InvoiceForm::alltotal(bool askForBuyer)
{
    m_invoice = currentInvoice();
    ComputeTotals(m_invoice);
    showTaxRows();
    showTaxByRate();
    const InvoiceTotals& totals = m_invoice.totals;
    // the tax totals as the rows show them, so that the page adds up
    if (TaxMode == zelva::TaxMode::Cgst) {
        ShowText(txtTotalCgst, BoxAmountText(m_invoice.firstTaxShown()));
        ShowText(txtTotalSgst, BoxAmountText(m_invoice.sgstShown()));
    } else if (TaxMode == zelva::TaxMode::Igst) {
        ShowText(txtTotalCgst, BoxAmountText(m_invoice.firstTaxShown()));
    } else if (askForBuyer) {
        MsgBox(QStringLiteral("Select Buyer"));
    }
    ShowText(txtTotalQuantity, Str(totals.quantity));
    ShowText(txtTotalAmount, BoxAmountText(totals.grand));
    showUpiQr();
    totalsShown();
}

void InvoiceForm::ConvertCurrencyToEnglish()
{
    if (txtAmountInWords->toPlainText() != m_invoice.totals.words) // setting it again lays it out for nothing
        txtAmountInWords->setPlainText(m_invoice.totals.words);
}

void InvoiceForm::RefreshTotals()
{
    alltotal(false);
    ShowText(txtTotalGoodsAmount, BoxAmountText(m_invoice.totals.goods));
    ConvertCurrencyToEnglish();
}

void InvoiceForm::showGoodsTotal()
{
    m_invoice = currentInvoice();
    ComputeTotals(m_invoice);
    txtTotalGoodsAmount->setText(BoxAmountText(m_invoice.totals.goods));
}

void InvoiceForm::txtShortExcess_GotFocus()
{
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    alltotal(true);
    ConvertCurrencyToEnglish();
}

void InvoiceForm::txtTotalGoodsAmount_Click()
{
    showGoodsTotal();
}

void InvoiceForm::txtTotalAmount_GotFocus()
{
    alltotal(true);
    ConvertCurrencyToEnglish();
    cmdPrint->setEnabled(m_pending); // Print saves: only an open invoice can be printed
}
