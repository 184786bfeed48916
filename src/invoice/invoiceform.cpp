// The invoice's entry: loading the seller and the lists, choosing buyer,
// delivery party and goods, the line amount and Add, and which buttons are on.
// The window is built in invoicewindow.cpp, the GST and totals are in
// invoicetotals.cpp, New Invoice, Save and Cancel in invoicesave.cpp.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "gst/gstrates.h"
#include "sales/gstratestore.h"
#include "ui/fittext.h"
#include "ui/formhooks.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>

using namespace zelva;

namespace {

// The entry as typed when it is plainly the number the line works with ("0.50",
// "12.50") and no longer than the number's own text can be; otherwise that
// number ("12a" gives "12"), so the row shows what is charged and taken off
// the stock, in at most LongestNumber characters.
QString NumberAsEntered(const QString& typed, double value)
{
    bool isNumber = false;
    const QString trimmed = typed.trimmed();
    const double number = trimmed.toDouble(&isNumber);
    return isNumber && number == value && trimmed.size() <= InvoiceForm::LongestNumber ? trimmed : Str(value);
}

// A list to pick from leaves out the master table's placeholder record
// (serial 0), whatever has been written into it.
bool IsPlaceholderSerial(const QVariant& serial) { return !serial.isNull() && serial.toDouble() == 0; }

// A long list's entries read in one pass: the texts of each field in every
// record but the placeholder, in table order, and the keys of those records.
std::vector<QStringList> ListEntries(RecordSource& source, const QStringList& fields, std::vector<qint64>& keys)
{
    std::vector<qint64> keyOfRecord;
    const std::vector<std::vector<QVariant>> values =
        source.readList(QStringList{QStringLiteral("sno")} + fields, keyOfRecord);
    const std::vector<QVariant>& serials = values[0];
    std::vector<QStringList> texts(size_t(fields.size()));
    for (QStringList& list : texts)
        list.reserve(qsizetype(serials.size()) + 1);
    keys.clear();
    for (size_t record = 0; record < serials.size(); ++record) {
        if (IsPlaceholderSerial(serials[record]))
            continue;
        for (size_t field = 0; field < texts.size(); ++field)
            texts[field] << RecordSource::shown(values[field + 1][record]);
        keys.push_back(keyOfRecord[record]);
    }
    return texts;
}

// A stored number as the boxes show it; nothing for none.
QString ShownNumber(std::optional<double> number) { return number ? Str(*number) : QString(); }

// The boxes that show a party's address, State, Pin and GSTIN; the delivery
// block has no GSTIN box.
struct AddressBoxes {
    QPlainTextEdit* address;
    QLineEdit* dist;
    QLineEdit* state;
    QLineEdit* pin;
    QLineEdit* gstin = nullptr;
};

void ShowAddress(RecordSource& record, const AddressBoxes& boxes)
{
    boxes.address->setPlainText(record.text(QStringLiteral("address")));
    boxes.dist->setText(record.text(QStringLiteral("Dist")));
    boxes.state->setText(record.text(QStringLiteral("State")));
    boxes.pin->setText(record.text(QStringLiteral("Pin")));
    if (boxes.gstin)
        boxes.gstin->setText(record.text(QStringLiteral("Gstin")));
}

} // namespace

InvoiceForm::InvoiceForm(Database& db, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
    , datCompany(db)
    , datBuyer(db)
    , datStock(db)
{
}

InvoiceForm::~InvoiceForm()
{
    zelva::DisconnectChildren(this);
}

void InvoiceForm::setUp()
{
    buildWindow();
    // The page's style sheet keeps the page's font from its boxes and labels:
    // each gets it here, unless it has its own (bold, larger).
    for (QWidget* widget : m_page->findChildren<QWidget*>())
        if (!widget->testAttribute(Qt::WA_SetFont))
            widget->setFont(m_page->font());
    // On screen and on paper every value shows whole: a long one in a smaller
    // font, a long description on two lines, and so a quantity or a unit that
    // the least font cannot hold on one line.
    for (QLineEdit* box : m_page->findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(box->parentWidget()))
            continue;
        if (std::ranges::count(txtDescriptionOfGoods, box))
            ShrinkToFit(box, 2);
        else if (std::ranges::count(txtQuantity, box) || std::ranges::count(txtPer, box) || box == txtTotalQuantity)
            ShrinkToFit(box, 2, SecondLine::AfterShrinking);
        else
            ShrinkToFit(box);
    }

    m_tax[Goods] = {cboGoodsCgst, cboGoodsSgst, GoodsCgstRow, GoodsSgstRow, std::nullopt, std::nullopt};
    m_tax[Others1] = {cboOthers1Cgst, cboOthers1Sgst, Others1CgstRow, Others1SgstRow, std::nullopt, std::nullopt};
    m_tax[Others2] = {cboOthers2Cgst, cboOthers2Sgst, Others2CgstRow, Others2SgstRow, std::nullopt, std::nullopt};

    connectHandlers();
    setTabOrders();
    watchFocus();
    watchEnter();
    watchWheel();
    watchListKeys();
    watchScans();
    buildQuickBill();
    Form_Load();
    cmdNewInvoice->setFocus(); // the day's work starts with a new invoice
}

// ---------------------------------------------------------------- loading and lists

void InvoiceForm::Form_Load()
{
    HideGoodsTextBox();
    Guarded<DataError>([this] { SetCompanyDatabase(); });
    setPending(false);
}

std::vector<InvoiceForm::Row*> InvoiceForm::goodsColumns()
{
    return {&txtSNo, &txtDescriptionOfGoods, &txtHsn, &txtQuantity, &txtRate, &txtPer, &txtAmount};
}

void InvoiceForm::setCellsVisible(int row, const std::vector<Row*>& columns, bool visible)
{
    for (Row* column : columns)
        (*column)[row]->setVisible(visible);
}

void InvoiceForm::HideGoodsTextBox()
{
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row)
        setCellsVisible(row, goodsColumns(), false);
}

// Lists every company in table order and shows the first as the seller, so
// that the tax is decided against a State from the start; false when there
// is no company.
bool InvoiceForm::SetCompanyDatabase()
{
    cboCompany->clear();
    m_companyKeys.clear();
    datCompany.bind(DbFile::Master, QStringLiteral("Company"));
    QStringList names;
    for (datCompany.moveFirst(); !datCompany.eof(); datCompany.moveNext()) {
        names << datCompany.text(QStringLiteral("Name"));
        m_companyKeys.push_back(datCompany.key());
    }
    cboCompany->addItems(names);
    return showCompany(0);
}

bool InvoiceForm::showCompany(int index)
{
    if (index < 0 || index >= int(m_companyKeys.size()) || !datCompany.moveToKey(m_companyKeys[index]))
        return false;
    cboCompany->setCurrentIndex(index);
    ShowCompanyDetails();
    return true;
}

// Another seller: a buyer already chosen may now pay the other tax.
void InvoiceForm::cboCompany_Click(int index)
{
    Guarded<DataError>([&] {
        if (showCompany(index) && TaxMode != zelva::TaxMode::None)
            decideTaxMode();
    });
}

void InvoiceForm::ShowCompanyDetails()
{
    txtCompanyName->setText(datCompany.text(QStringLiteral("Name")));
    lblCompanyName->setText(QStringLiteral("For ") + txtCompanyName->text());
    ShowAddress(datCompany, {txtAddress, txtDist, txtState, txtPin, txtGstin});
    CompanyState = txtState->text();
    m_companyPayment = LoadCompanyPayment(m_db, datCompany.value(QStringLiteral("sno")).toLongLong());
}

// Both buyer lists (the delivery list shows the same entries), each entry kept
// with the key of the record it shows.
void InvoiceForm::SetBuyerDatabase()
{
    datBuyer.bind(DbFile::Customer, QStringLiteral("CustomerDetails"));
    m_buyersReadInFull = false;
    SetEntries(cboBuyerName, ListEntries(datBuyer, {QStringLiteral("Name")}, m_buyerKeys)[0]);
    cboBuyerName->setCurrentIndex(-1);
    ClearCombo(cboBuyerNameD);
}

void InvoiceForm::SetItemDatabase()
{
    datStock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
    ++m_itemListFillings;
    std::vector<QStringList> entries = ListEntries(
        datStock, {QStringLiteral("ItemName"), QStringLiteral("ItemHsn"), QStringLiteral("itemcode")}, m_itemKeys);
    m_itemCodes = std::move(entries[2]);
    entries[0] << QStringLiteral("End of List");
    SetEntries(cboDescriptionOfGoods, entries[0]);
    SetEntries(cboHsn, entries[1]);
    cboDescriptionOfGoods->setCurrentIndex(-1);
    ClearCombo(cboHsn);
}

// Every box on the page and in the entry row, then every list; the text boxes
// inside the lists are the lists' own.
void InvoiceForm::ClearControl()
{
    for (QWidget* area : std::initializer_list<QWidget*>{m_page, fraDescriptionOfGoods, fraTransport})
        for (QLineEdit* box : area->findChildren<QLineEdit*>())
            if (!qobject_cast<QComboBox*>(box->parentWidget()))
                box->clear();
    for (QPlainTextEdit* box : m_page->findChildren<QPlainTextEdit*>())
        box->clear();
    for (QComboBox* combo : findChildren<QComboBox*>())
        ClearCombo(combo);
}

// ---------------------------------------------------------------- choosing

// The lists are read with only the fields they show; the buyers' records
// behind them are read in full when an entry is first picked (a goods entry's
// item is read alone, by its code: LoadLineItem). False when the entry is
// outside the list or its record is gone.
bool InvoiceForm::moveToEntry(RecordSource& source, bool& readInFull, const std::vector<qint64>& keys, int index)
{
    if (index < 0 || index >= int(keys.size()))
        return false;
    if (!readInFull) {
        source.bind(source.file(), source.table());
        readInFull = true;
    }
    return source.moveToKey(keys[index]);
}

void InvoiceForm::cboBuyerName_Click(int index)
{
    if (index < 0 || index >= int(m_buyerKeys.size()))
        return;
    if (!Guarded<DataError>([&] { showBuyer(index); }))
        return;
    txtSNo[EntryRow]->setText(QStringLiteral("1"));
    decideTaxMode();
    txtOrderNo->setFocus();
}

// The buyer's details, and the same as the delivery party to start with.
void InvoiceForm::showBuyer(int index)
{
    if (!moveToEntry(datBuyer, m_buyersReadInFull, m_buyerKeys, index))
        return;
    BuyerBid = datBuyer.text(QStringLiteral("bid"));
    ShowAddress(datBuyer, {txtBuyerAddress, txtBuyerDist, txtBuyerState, txtBuyerPin, txtBuyerGstin});
    BuyerState = txtBuyerState->text();
    showDelivery();
    cboBuyerNameD->setEditText(cboBuyerName->currentText());
    showBuyerBalance();
}

// The delivery block from the current buyer record.
void InvoiceForm::showDelivery()
{
    ShowAddress(datBuyer, {txtBuyerAddressD, txtBuyerDistD, txtBuyerStateD, txtBuyerPinD});
}

void InvoiceForm::cboBuyerNameD_Click(int index)
{
    Guarded<DataError>([&] {
        if (moveToEntry(datBuyer, m_buyersReadInFull, m_buyerKeys, index))
            showDelivery();
    });
}

void InvoiceForm::cboDescriptionOfGoods_Click(int index)
{
    pickGoods(index, std::nullopt);
}

void InvoiceForm::pickGoods(int index, std::optional<LineItem> scanned)
{
    m_entryItem.reset();
    const bool endOfList = index < 0 || index >= int(m_itemKeys.size());
    if (!endOfList) {
        Guarded<DataError>([&] {
            m_entryItem = scanned ? std::move(scanned) : LoadLineItem(m_db, m_itemCodes[index]);
            if (!m_entryItem) // gone since the list was filled
                return;
            SetTextOf(cboHsn, m_entryItem->hsn);
            txtQuantity[EntryRow]->setText(ShownNumber(m_entryItem->onHand));
            CurrentItemCode = m_entryItem->itemCode;
            txtRate[EntryRow]->setText(ShownNumber(m_entryItem->rate));
            SetTextOf(cboPer, m_entryItem->unit);
            showEntryLineRate(m_entryItem->gstRate);
        });
    } else {
        showGoodsTotal();
    }
    updateAddButton();
    cmdPrint->setEnabled(m_pending); // Print saves: only an open invoice can be printed
}

// ---------------------------------------------------------------- goods lines

// Add is usable only while an invoice is pending, the end of the goods list
// is not what is chosen, and a goods row is still free.
void InvoiceForm::updateAddButton()
{
    const bool endOfList = cboDescriptionOfGoods->currentIndex() == int(m_itemKeys.size());
    cmdAdd->setEnabled(m_pending && !endOfList && LineCount < LastGoodsRow);
}

// The amount box shows quantity times rate while both are numbers, else nothing.
void InvoiceForm::computeLineAmount()
{
    double quantity = 0;
    double rate = 0;
    if (!ReadNumber(txtQuantity[EntryRow]->text(), quantity) || !ReadNumber(txtRate[EntryRow]->text(), rate)) {
        txtAmount[EntryRow]->clear();
        return;
    }
    LineQuantity = quantity;
    LineRate = rate;
    // money: to the paisa, as it is shown and printed; a line beyond what an
    // amount can carry is shown as it comes and refused by Add
    m_lineTooLarge = !WithinAmountLimit(quantity * rate);
    LineAmount = m_lineTooLarge ? 0 : zelva::LineAmount(quantity, rate);
    txtAmount[EntryRow]->setText(m_lineTooLarge ? FormatAmount(quantity * rate) : BoxAmountText(LineAmount));
}

// The quantity and rate by the one rule for number boxes; a quantity must be
// above 0 (goods coming back are not an invoice). False, the operator told
// and the box to correct in focus, when either is refused.
bool InvoiceForm::readEntryLine()
{
    double quantity = 0;
    double rate = 0;
    QLineEdit* quantityBox = txtQuantity[EntryRow];
    if (!ReadNumber(quantityBox->text(), QStringLiteral("Quantity"), quantity)) {
        quantityBox->setFocus();
        return false;
    }
    if (quantity <= 0) {
        MsgBox(QStringLiteral("Quantity must be above 0: \"%1\" is not.").arg(quantityBox->text()));
        quantityBox->setFocus();
        return false;
    }
    if (!ReadNumber(txtRate[EntryRow]->text(), QStringLiteral("Rate (Rs.)"), rate)) {
        txtRate[EntryRow]->setFocus();
        return false;
    }
    computeLineAmount();
    return true;
}

void InvoiceForm::txtAmount_GotFocus(int)
{
    computeLineAmount();
}

bool InvoiceForm::entryRowComplete() const
{
    for (const QWidget* box : std::initializer_list<const QWidget*>{cboDescriptionOfGoods, cboHsn, txtQuantity[EntryRow],
                                                                   txtRate[EntryRow], cboPer, txtAmount[EntryRow]})
        if (TextOf(box).isEmpty())
            return false;
    return true;
}

// The rate kept for the stock item, none when it has none or cannot be read
// (the line then takes the goods rate chosen).
std::optional<double> InvoiceForm::itemGstRate(const QString& itemCode)
{
    if (itemCode.isEmpty())
        return std::nullopt;
    try {
        return LoadItemGstRate(m_db, itemCode);
    } catch (const DataError& error) {
        MsgBox(error.message());
        return std::nullopt;
    }
}

std::optional<double> InvoiceForm::lineGstRate(const QString& itemCode, std::optional<double> chosen,
                                               const LineItem* item)
{
    if (m_tax[Goods].rate)
        return m_tax[Goods].rate;
    const std::optional<double> own = chosen ? chosen : item ? item->gstRate : itemGstRate(itemCode);
    const bool inForce = own && std::any_of(m_offeredRates.begin(), m_offeredRates.end(),
                                            [&](double rate) { return SameRate(rate, *own); });
    return inForce ? own : std::nullopt;
}

void InvoiceForm::settleLineRates()
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        m_lines[i].gstRate = lineGstRate(m_lines[i].itemCode, i < m_chosenLineRates.size() ? m_chosenLineRates[i] : std::nullopt);
}

void InvoiceForm::fillLineRateList()
{
    const std::optional<double> shown = entryLineRate();
    cboLineGst->clear();
    cboLineGst->addItem(QString());
    for (double rate : m_offeredRates)
        cboLineGst->addItem(RateText(rate) + QLatin1Char('%'), rate);
    showEntryLineRate(shown);
}

std::optional<double> InvoiceForm::entryLineRate() const
{
    const QVariant rate = cboLineGst->currentData();
    return rate.isValid() ? std::optional<double>(rate.toDouble()) : std::nullopt;
}

// The rate among those offered, else nothing (the line then takes the goods rate).
void InvoiceForm::showEntryLineRate(std::optional<double> rate)
{
    int index = 0;
    for (int i = 1; rate && i < cboLineGst->count(); ++i)
        if (SameRate(cboLineGst->itemData(i).toDouble(), *rate))
            index = i;
    cboLineGst->setCurrentIndex(index);
}

void InvoiceForm::cmdAdd_Click()
{
    if (!m_pending || LineCount >= LastGoodsRow)
        return;
    // The line is what the entry row holds now, whatever was shown before.
    if (!txtQuantity[EntryRow]->text().isEmpty() && !txtRate[EntryRow]->text().isEmpty() && !readEntryLine())
        return;
    if (!entryRowComplete()) {
        MsgBox(QStringLiteral("Fill all the Details "));
        cboDescriptionOfGoods->setFocus();
        return;
    }
    // A line cannot be taken back, so one too large to carry is not added.
    if (!WithinAmountLimit(LineQuantity) || !WithinAmountLimit(LineRate) || m_lineTooLarge) {
        MsgBox(AmountTooLarge(QStringLiteral("The quantity, rate or amount of this line")));
        txtQuantity[EntryRow]->setFocus();
        return;
    }
    const int n = ++LineCount;
    setCellsVisible(n, goodsColumns(), true);
    txtSNo[n]->setText(QString::number(n));
    txtDescriptionOfGoods[n]->setText(TextOf(cboDescriptionOfGoods));
    txtHsn[n]->setText(TextOf(cboHsn));
    txtQuantity[n]->setText(NumberAsEntered(txtQuantity[EntryRow]->text(), LineQuantity));
    txtRate[n]->setText(NumberAsEntered(txtRate[EntryRow]->text(), LineRate));
    txtPer[n]->setText(TextOf(cboPer));
    txtAmount[n]->setText(BoxAmountText(LineAmount));
    m_scroll->ensureWidgetVisible(txtAmount[n]); // the operator sees the line land

    InvoiceLine line;
    line.itemCode = CurrentItemCode;
    line.description = txtDescriptionOfGoods[n]->text();
    line.hsn = txtHsn[n]->text();
    line.unit = txtPer[n]->text();
    line.quantity = LineQuantity;
    line.rate = LineRate;
    line.amount = LineAmount;
    const std::optional<double> chosen = entryLineRate();
    line.gstRate = lineGstRate(CurrentItemCode, chosen, m_entryItem ? &*m_entryItem : nullptr);
    m_lines.push_back(line);
    m_chosenLineRates.push_back(chosen);
    txtSNo[EntryRow]->setText(QString::number(n + 1));
    cboDescriptionOfGoods->setFocus();
    if (m_entryItem)
        warnOfReorderLevel(*m_entryItem);
    if (LineCount == LastGoodsRow) {
        cboDescriptionOfGoods->setEnabled(false);
        showGoodsTotal();
    }
    updateAddButton();
    RefreshTotals();
}

// ---------------------------------------------------------------- buttons

// Entering (from New Invoice): Save, Cancel and Add on, New Invoice and Close
// off. Idle (loaded, saved or cancelled): the other way round, Add off too.
// Print comes on only once an item is picked or the grand total is shown.
void InvoiceForm::setPending(bool pending)
{
    m_pending = pending;
    cmdNewInvoice->setEnabled(!pending);
    cmdSave->setEnabled(pending);
    cmdCancel->setEnabled(pending);
    cmdPrint->setEnabled(false);
    cmdAdd->setEnabled(pending);
    cmdClose->setEnabled(!pending);
}
