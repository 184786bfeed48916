// The life of one invoice: New Invoice (serial, number, date, two pending
// records), the pre-save check, Save (both records and the stock deduction in
// one transaction), Cancel and Close.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "data/serials.h"
#include "data/stockchange.h"
#include "ui/ownwindow.h"
#include "platform/datetext.h"
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

QString numbered(const char* stem, int row)
{
    return QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(row);
}

} // namespace

// ---------------------------------------------------------------- new invoice

void InvoiceForm::SetBuyerInvoiceData()
{
    datBuyerInvoice.bind(DbFile::Invoice, QStringLiteral("BuyerInvoice"));
}

void InvoiceForm::SetGoodsInvoiceData()
{
    datGoodsInvoice.bind(DbFile::Invoice, QStringLiteral("GoodsInvoice"));
}

void InvoiceForm::resetInvoiceValues()
{
    for (TaxLine& line : m_tax)
        line.clearRate();
    LineCount = 0;
    LineAmount = LineQuantity = LineRate = 0;
    m_totals = {};
    m_lineAmounts.clear();
    StockItemCodes.clear();
    StockQuantities.clear();
    StockUpdateIndex = 0;
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
        SetBuyerInvoiceData();
        SetGoodsInvoiceData();
        SetBuyerDatabase();
        SetItemDatabase();
        HideGoodsTextBox();
        resetInvoiceValues();
        for (TaxLine& line : m_tax) { // filled when the buyer decides the tax
            line.cgstCombo->clear();
            line.sgstCombo->clear();
        }
        setInvoiceSerial(datBuyerInvoice.nextSerial(QStringLiteral("sno")));
        m_numberAtNew = InvoiceNumber;
        datBuyerInvoice.addNew();
        datGoodsInvoice.addNew();
    });
    if (!started)
        return;
    txtInvoiceDate->setText(DateText(QDate::currentDate()));
    txtOrderDate->setText(txtInvoiceDate->text());
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
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
    FillIfEmpty(txtTotalQuantity, Str(m_totals.quantityTotal));
    for (int row = FirstGoodsRow; row <= RatedRows; ++row)
        FillIfEmpty(txtPer[row], NotApplicable);

    if (txtAmount[FirstGoodsRow]->text().isEmpty())
        return refuse(QStringLiteral(" Amount cannot be Blank "), txtAmount[FirstGoodsRow]);
    for (int row = FirstGoodsRow + 1; row <= GridRows; ++row)
        FillIfEmpty(txtAmount[row], QStringLiteral("0"));
    FillIfEmpty(txtTotalGoodsAmount, Str(goodsValue()));
    FillIfEmpty(txtTotalAmount, Str(m_totals.grandTotal));

    if (txtRate[FirstGoodsRow]->text().isEmpty())
        return refuse(QStringLiteral(" Rate cannot be Blank "), txtRate[FirstGoodsRow]);
    for (int row = FirstGoodsRow + 1; row <= RatedRows; ++row)
        FillIfEmpty(txtRate[row], QStringLiteral("0"));
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
    double unused = 0;
    for (const auto& [box, name] : typed) {
        if (!ReadNumber(box->text(), name, unused)) {
            box->setFocus();
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- save

// The screen into the two pending records, field by field.
void InvoiceForm::Insert()
{
    if (datBuyerInvoice.mode() != RecordSource::Mode::Adding)
        datBuyerInvoice.addNew();
    if (datGoodsInvoice.mode() != RecordSource::Mode::Adding)
        datGoodsInvoice.addNew();

    RecordSource& b = datBuyerInvoice;
    b.setValue(QStringLiteral("sno"), InvoiceSno);
    b.setValue(QStringLiteral("bid"), BuyerBid);
    b.setValue(QStringLiteral("Time"), TimeTextHM(QTime::currentTime()));
    const std::array<std::pair<const char*, QWidget*>, 19> shown{{{"InvoiceNo", txtInvoiceNo},
                                                                  {"InvoiceDate", txtInvoiceDate},
                                                                  {"OrderNo", txtOrderNo},
                                                                  {"OrderDate", txtOrderDate},
                                                                  {"SuppliersRef", txtSuppliersRef},
                                                                  {"DispatchedThrough", txtDispatchedThrough},
                                                                  {"SalerCompany", txtCompanyName},
                                                                  {"SalerGstin", txtGstin},
                                                                  {"BuyerName", cboBuyerName},
                                                                  {"BuyerAddress", txtBuyerAddress},
                                                                  {"BuyerDist", txtBuyerDist},
                                                                  {"buyerstate", txtBuyerState},
                                                                  {"BuyerPin", txtBuyerPin},
                                                                  {"BuyerGstin", txtBuyerGstin},
                                                                  {"BuyerNameD", cboBuyerNameD},
                                                                  {"DeliveryAddress", txtBuyerAddressD},
                                                                  {"Dist", txtBuyerDistD},
                                                                  {"State", txtBuyerStateD},
                                                                  {"Pin", txtBuyerPinD}}};
    for (const auto& [field, box] : shown)
        b.setValue(QLatin1String(field), TextOf(box));

    // The grid's rows side by side, row i in the fields ending in i.
    RecordSource& g = datGoodsInvoice;
    g.setValue(QStringLiteral("sno"), InvoiceSno);
    g.setValue(QStringLiteral("InvoiceNo"), txtInvoiceNo->text());
    for (int row = FirstGoodsRow; row <= GridRows; ++row) {
        g.setValue(numbered("DescriptionOfGoods", row), TextOf(descriptionBox(row)));
        g.setValue(numbered("Hsn", row), TextOf(hsnBox(row)));
        // a goods line is saved with the value it is taxed on
        const bool line = row >= FirstGoodsRow && row <= LineCount;
        g.setValue(numbered("Amount", row), line ? FormatAmount(taxableValue(row)) : txtAmount[row]->text());
        if (row <= LastGoodsRow)
            g.setValue(numbered("Quantity", row), Val(txtQuantity[row]->text()));
        if (row <= RatedRows) {
            g.setValue(numbered("Per", row), txtPer[row]->text());
            g.setValue(numbered(row <= 3 ? "Rate" : "rate", row), txtRate[row]->text()); // Rate1-3, rate4-15
        }
    }
    g.setValue(QStringLiteral("TotalQuantity"), Val(txtTotalQuantity->text()));
    g.setValue(QStringLiteral("TotalGoodsAmount"), m_totals.goodsTotal);
    g.setValue(QStringLiteral("totalamount"), m_totals.grandTotal);
    g.setValue(QStringLiteral("TIgst"), m_totals.totalIgst);
    g.setValue(QStringLiteral("TCgst"), m_totals.totalCgst);
    g.setValue(QStringLiteral("TSgst"), m_totals.totalSgst);
}

// Takes each added line's quantity off its stock item, found by item code,
// from slot updateIndex on. Stock may go below zero; a code no longer in
// stock deducts nothing.
void InvoiceForm::UpdateItemStockQuantity(int& updateIndex)
{
    for (; updateIndex < int(StockItemCodes.size()); ++updateIndex)
        AdjustStock(m_db, StockTable::ForSale, StockItemCodes[updateIndex], -StockQuantities[updateIndex]);
}

bool InvoiceForm::readyToSave()
{
    if (!m_pending || !CheckForEmptyControl() || !CheckNumbers())
        return false;
    RefreshTotals();
    if (!WithinAmountLimit(m_totals.grandTotal)) {
        MsgBox(AmountTooLarge(QStringLiteral("The total of this invoice")));
        return false;
    }
    return true;
}

// Writes both records and the stock deduction in one transaction: all of it
// or nothing. The serial taken at New Invoice is confirmed free first; if
// another invoice took it meanwhile, this one takes the next free number.
void InvoiceForm::cmdSave_Click()
{
    if (readyToSave())
        storeInvoice(Renumber::Allowed, QString());
}

bool InvoiceForm::storeInvoice(Renumber renumber, const QString& failureNote)
{
    int updateIndex = StockUpdateIndex;
    try {
        Transaction transaction(m_db, QStringLiteral("save the invoice"));
        const qint64 free = FreeSerial(m_db, DbFile::Invoice, QStringLiteral("BuyerInvoice"), QStringLiteral("sno"),
                                       QStringLiteral("InvoiceNo"), CodeKind::Invoice, InvoiceSno);
        if (free != InvoiceSno && renumber == Renumber::Refused)
            throw DataError(QStringLiteral("save the invoice"), RelativePath(DbFile::Invoice),
                            QStringLiteral("invoice number %1 was taken by another invoice meanwhile")
                                .arg(InvoiceNumber));
        if (free != InvoiceSno)
            setInvoiceSerial(free);
        Insert();
        datBuyerInvoice.update();
        datGoodsInvoice.update();
        UpdateItemStockQuantity(updateIndex);
        transaction.commit();
    } catch (const DataError& error) {
        // Rolled back: the invoice stays on screen to be saved again.
        MsgBox(error.message() + QStringLiteral("\nThe invoice is not saved and no stock was taken off. "
                                                "It stays on screen to be saved again.")
               + failureNote);
        return false;
    }
    StockUpdateIndex = updateIndex;
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
    Guarded<DataError>([this] {
        datBuyerInvoice.cancelUpdate();
        datGoodsInvoice.cancelUpdate();
        datBuyerInvoice.requery();
        datGoodsInvoice.requery();
    });
    setPending(false);
    ClearControl();
}

void InvoiceForm::cmdClose_Click()
{
    CloseOwnWindow(this);
}
