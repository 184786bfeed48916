// The life of one invoice: New Invoice (serial, number, date, two pending
// records), the pre-save check, Save (both records and the stock deduction in
// one transaction), Cancel and Close.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "data/serials.h"
#include "ui/ownwindow.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace zelva;

namespace {

// A blank the invoice cannot do without: say so, put the focus there, fail.
bool refuse(const QString& message, QWidget* focus)
{
    MsgBox(message);
    focus->setFocus();
    return false;
}

} // namespace

// ---------------------------------------------------------------- new invoice

void InvoiceForm::resetInvoiceValues()
{
    for (TaxLine& line : m_tax) {
        line.clearRate();
        line.droppedRate.reset();
    }
    LineCount = 0;
    LineAmount = 0;
    LineQuantity = LineRate = 0;
    m_lineTooLarge = false;
    m_invoice = {};
    m_lines.clear();
    m_chosenLineRates.clear();
    cboLineGst->setCurrentIndex(0);
    TaxMode = zelva::TaxMode::None;
    BuyerBid.clear();
    BuyerState.clear();
    CurrentItemCode.clear();
}

void InvoiceForm::setInvoiceSerial(qint64 serial)
{
    InvoiceSno = serial;
    InvoiceNumber = RecordCode(CodeKind::Invoice, serial);
    txtInvoiceNo->setText(InvoiceNumber);
}

void InvoiceForm::cmdNewInvoice_Click()
{
    if (m_pending)
        return;
    bool hasCompany = false;
    if (!Guarded<DataError>([&] { hasCompany = SetCompanyDatabase(); }))
        return;
    if (!hasCompany) {
        MsgBox(QStringLiteral("Enter the company details first (Update Company Details): the invoice is issued "
                              "in the name of the company."));
        return;
    }
    ClearControl();
    const bool started = Guarded<DataError>([this] {
        showCompany(0);
        SetBuyerDatabase();
        SetItemDatabase();
        HideGoodsTextBox();
        resetInvoiceValues();
        for (TaxLine& line : m_tax) { // filled when the buyer decides the tax
            line.cgstCombo->clear();
            line.sgstCombo->clear();
        }
        setInvoiceSerial(NextSerial(m_db, DbFile::Invoice, QStringLiteral("BuyerInvoice"), QStringLiteral("sno")));
        m_numberAtNew = InvoiceNumber;
    });
    if (!started)
        return;
    txtInvoiceDate->setText(DateText(QDate::currentDate()));
    txtOrderDate->setText(txtInvoiceDate->text());
    offerRatesOfDate();
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    resetPaidNow();
    cboDescriptionOfGoods->setEnabled(true);
    cboBuyerName->setFocus();
    setPending(true);
}

// ---------------------------------------------------------------- pre-save check

// Row i's description: the goods rows' own boxes, the tax and charge lists of
// the tax and charge rows, the rounding box of the rounding row.
QWidget* InvoiceForm::descriptionBox(int row) const
{
    if (row <= LastGoodsRow)
        return txtDescriptionOfGoods[row];
    if (row == ShortExcessRow)
        return txtShortExcess;
    const std::array<QComboBox*, 8> lists{cboGoodsCgst, cboGoodsSgst, cboOthers1, cboOthers1Cgst,
                                          cboOthers1Sgst, cboOthers2, cboOthers2Cgst, cboOthers2Sgst};
    return lists[row - GoodsCgstRow];
}

// Row i's HSN: the two charge rows take theirs from a list.
QWidget* InvoiceForm::hsnBox(int row) const
{
    if (row == Others1Row)
        return cboOthers1Hsn;
    if (row == Others2Row)
        return cboOthers2Hsn;
    return txtHsn[row];
}

// Fills every blank that may be filled, in order, and fails at the first of
// the four entries an invoice cannot do without.
bool InvoiceForm::CheckForEmptyControl()
{
    FillIfEmpty(txtOrderNo, NotApplicable);
    FillIfEmpty(txtOrderDate, txtInvoiceDate->text());
    FillIfEmpty(txtSuppliersRef, NotApplicable);
    FillIfEmpty(txtDispatchedThrough, NotApplicable);

    if (TextOf(cboBuyerName).isEmpty())
        return refuse(QStringLiteral(" Select Buyer Name "), cboBuyerName);
    for (QWidget* box :
         std::initializer_list<QWidget*>{txtBuyerAddress, txtBuyerDist, txtBuyerState, txtBuyerPin, txtBuyerGstin})
        FillIfEmpty(box, NotApplicable);
    // the goods go to the buyer unless another delivery party is given
    const std::array<std::pair<QWidget*, QWidget*>, 5> delivery{{{cboBuyerNameD, cboBuyerName},
                                                                  {txtBuyerAddressD, txtBuyerAddress},
                                                                  {txtBuyerDistD, txtBuyerDist},
                                                                  {txtBuyerStateD, txtBuyerState},
                                                                  {txtBuyerPinD, txtBuyerPin}}};
    for (auto [box, buyers] : delivery)
        FillIfEmpty(box, TextOf(buyers));

    if (txtDescriptionOfGoods[FirstGoodsRow]->text().isEmpty())
        return refuse(QStringLiteral(" Select the Goods "), cboDescriptionOfGoods);
    for (int row = FirstGoodsRow + 1; row <= GridRows; ++row)
        FillIfEmpty(descriptionBox(row), NotApplicable);
    for (int row = FirstGoodsRow; row <= GridRows; ++row)
        FillIfEmpty(hsnBox(row), NotApplicable);
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row)
        FillIfEmpty(txtQuantity[row], QStringLiteral("0"));
    FillIfEmpty(txtTotalQuantity, Str(m_invoice.totals.quantity));
    for (int row = FirstGoodsRow; row <= RatedRows; ++row)
        FillIfEmpty(txtPer[row], NotApplicable);

    if (txtAmount[FirstGoodsRow]->text().isEmpty())
        return refuse(QStringLiteral(" Amount cannot be Blank "), txtAmount[FirstGoodsRow]);
    for (int row = FirstGoodsRow + 1; row <= GridRows; ++row)
        FillIfEmpty(txtAmount[row], QStringLiteral("0"));
    FillIfEmpty(txtTotalGoodsAmount, Str(ToRupees(m_invoice.totals.goods)));
    FillIfEmpty(txtTotalAmount, Str(ToRupees(m_invoice.totals.grand)));

    if (txtRate[FirstGoodsRow]->text().isEmpty())
        return refuse(QStringLiteral(" Rate cannot be Blank "), txtRate[FirstGoodsRow]);
    for (int row = FirstGoodsRow + 1; row <= RatedRows; ++row)
        FillIfEmpty(txtRate[row], QStringLiteral("0"));
    return true;
}

// The two date boxes, each read as a calendar day: a date that names none
// ("31/02/2027", "abc") is refused naming its box, never saved as typed.
bool InvoiceForm::CheckDates()
{
    const std::array<std::pair<QLineEdit*, QString>, 2> typed{{
        {txtInvoiceDate, QStringLiteral("Invoice Date")},
        {txtOrderDate, QStringLiteral("Order Date")},
    }};
    for (const auto& [box, name] : typed)
        if (!ReadDateText(box->text()).isValid())
            return refuse(QStringLiteral("The %1 \"%2\" is not a date: type it as dd/mm/yyyy.").arg(name, box->text()),
                          box);
    return true;
}

// The boxes the operator types numbers into besides the entry row (the two
// charges and the rounding), each by the one rule for number boxes. The
// rounding (Short & Excess) may be below 0.
bool InvoiceForm::CheckNumbers()
{
    const std::array<std::pair<QLineEdit*, QString>, 5> typed{{
        {txtRate[Others1Row], QStringLiteral("Others1 Rate (Rs.)")},
        {txtAmount[Others1Row], QStringLiteral("Others1 Amount")},
        {txtRate[Others2Row], QStringLiteral("Others2 Rate (Rs.)")},
        {txtAmount[Others2Row], QStringLiteral("Others2 Amount")},
        {txtAmount[ShortExcessRow], QStringLiteral("Short & Excess Amount")},
    }};
    for (const auto& [box, name] : typed) {
        double value = 0;
        if (!ReadNumber(box->text(), name, value)) {
            box->setFocus();
            return false;
        }
        // an amount beyond what an amount carries is refused, not counted as nothing
        if (!WithinAmountLimit(value)) {
            MsgBox(AmountTooLarge(name));
            box->setFocus();
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- save

bool InvoiceForm::readyToSave()
{
    if (!m_pending || !CheckForEmptyControl() || !CheckDates() || !CheckNumbers() || !droppedRatesChosenAgain() || !transportAccepted())
        return false;
    RefreshTotals();
    if (!WithinAmountLimit(ToRupees(m_invoice.totals.grand))) {
        MsgBox(AmountTooLarge(QStringLiteral("The total of this invoice")));
        return false;
    }
    return checkPayment(m_invoice.totals.grand);
}

// A rate chosen for the goods or a charge that a date typed afterwards
// dropped (not in force on it) is not saved as no tax: Save tells the
// operator, in the words the store refuses a rate not in force with, until
// a rate of the day is chosen.
bool InvoiceForm::droppedRatesChosenAgain()
{
    const std::array<std::pair<TaxBase, int>, 3> named{{{Goods, GoodsCgstRow}, {Others1, Others1Row}, {Others2, Others2Row}}};
    for (const auto& [base, row] : named) {
        const TaxLine& line = m_tax[base];
        if (line.rate || !line.droppedRate)
            continue;
        const QString description = base == Goods ? TaxRowLabel(TaxMode, *line.droppedRate) : TextOf(descriptionBox(row));
        return refuse(RateNotInForce(*line.droppedRate, RatedRowName(row, description), txtInvoiceDate->text()),
                      line.cgstCombo);
    }
    return true;
}

// Saves the invoice whole or not at all (StoreInvoice). The serial taken at
// New Invoice is confirmed free first; if another invoice took it
// meanwhile, this one takes the next free number.
void InvoiceForm::cmdSave_Click()
{
    if (readyToSave())
        storeInvoice(Renumber::Allowed, QString());
}

bool InvoiceForm::storeInvoice(Renumber renumber, const QString& failureNote)
{
    Invoice invoice = currentInvoice();
    ComputeTotals(invoice);
    invoice.time = TimeTextHM(QTime::currentTime());
    StoredInvoice stored;
    try {
        stored = StoreSale(m_db, invoice, renumber, paidNow()).invoice;
    } catch (const DataError& error) {
        // Rolled back: the invoice stays on screen to be saved again.
        MsgBox(error.message() + QStringLiteral("\nThe invoice is not saved and no stock was taken off. "
                                                "It stays on screen to be saved again.")
               + failureNote);
        return false;
    }
    if (stored.serial != InvoiceSno)
        setInvoiceSerial(stored.serial);
    m_invoice = invoice;
    setPending(false);
    if (InvoiceNumber != m_numberAtNew)
        MsgBox(QStringLiteral("Invoice number %1 was taken by another invoice meanwhile. This invoice is saved as %2.")
                   .arg(m_numberAtNew, InvoiceNumber));
    MsgBox(QStringLiteral("Saved Successfully"));
    return true;
}

// ---------------------------------------------------------------- cancel and close

void InvoiceForm::cmdCancel_Click()
{
    setPending(false);
    ClearControl();
}

void InvoiceForm::cmdClose_Click()
{
    CloseOwnWindow(this);
}
