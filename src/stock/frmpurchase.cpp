#include "stock/frmpurchase.h"

#include "data/database.h"
#include "data/serials.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "masters/gstentries.h"
#include "platform/datetext.h"
#include "registers/savedinvoice.h"
#include "sales/gstratestore.h"
#include "stock/frmsuppliernote.h"
#include "ui/amountbox.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

using namespace zelva;

namespace {

QRadioButton* NewOption(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* option = Named(new QRadioButton(caption, parent), QLatin1String(name));
    option->setToolTip(tip);
    return option;
}

} // namespace

frmPurchase::frmPurchase(Database& db, QWidget* parent)
    : StockMovementForm(db, tr("Purchase Register"), parent)
    , optExistingItem(
          NewOption(this, "optExistingItem", tr("Existing Item for Sale"), tr("Item already listed for sale")))
    , optNewItem(NewOption(this, "optNewItem", tr("New Item for Sale"), tr("New Item for sale")))
    , optExistingItemForOffice(
          NewOption(this, "optExistingItemForOffice", tr("Existing Item for Office use"), tr("Items for company use")))
    , optNewItemForOffice(
          NewOption(this, "optNewItemForOffice", tr("New Item for Office use"), tr("Items for company use")))
    , txtPSno(NewBox(this, "txtPSno"))
    , txtPurchaseId(NewBox(this, "txtPurchaseId"))
    , txtPurchaseOrder(NewBox(this, "txtPurchaseOrder"))
    , txtPurchaseOrderDate(NewBox(this, "txtPurchaseOrderDate"))
    , txtPurchaseInvoiceNo(NewBox(this, "txtPurchaseInvoiceNo"))
    , txtPurchaseInvoiceDate(NewBox(this, "txtPurchaseInvoiceDate"))
    , txtSupplierName(NewBox(this, "txtSupplierName"))
    , txtSupGstinNo(NewBox(this, "txtSupGstinNo"))
    , txtSupAddress(NewBox(this, "txtSupAddress"))
    , cboSupplier(Named(new QComboBox(this), QStringLiteral("cboSupplier")))
    , txtSupState(NewBox(this, "txtSupState"))
    , txtTaxable(NewBox(this, "txtTaxable"))
    , cboGstRate(Named(new QComboBox(this), QStringLiteral("cboGstRate")))
    , chkReverseCharge(Named(new QCheckBox(tr("Reverse charge"), this), QStringLiteral("chkReverseCharge")))
    , cboCredit(Named(new QComboBox(this), QStringLiteral("cboCredit")))
    , chkAddToBill(Named(new QCheckBox(tr("&Add this line to the bill just saved"), this),
                         QStringLiteral("chkAddToBill")))
    , lblLineTax(Named(new QLabel(this), QStringLiteral("lblLineTax")))
    , cmdSupplierNote(NewButton(this, "cmdSupplierNote", tr("Supplier's N&ote..."),
                                tr("Enter a supplier's credit or debit note against one of its bills")))
{
    for (const CreditKind kind : CreditKinds())
        cboCredit->addItem(CreditKindText(kind));
    lblLineTax->setTextFormat(Qt::PlainText);
    Setup setup;
    setup.options = { { optExistingItem, StockTable::ForSale, tr("Existing Item List") }, { optNewItem, std::nullopt },
        { optExistingItemForOffice, StockTable::Office, tr("Existing Other Item") },
        { optNewItemForOffice, std::nullopt, {}, true } };
    setup.ownFields = { { "PSno", txtPSno, tr("S.No."), true }, { "PurchaseId", txtPurchaseId, tr("Purchase ID") },
        { "PurchaseDate", txtPurchaseOrderDate }, // beside the order reference, as its date
        { "PurchaseOrder", txtPurchaseOrder, tr("Purchase Order Ref. No.") },
        { "PurchaseInvoiceNo", txtPurchaseInvoiceNo, tr("Purchase Invoice No.") },
        { "PurchaseInvoiceDate", txtPurchaseInvoiceDate, tr("Purchase Invoice Date") },
        { "SupplierName", txtSupplierName, tr("Supplier Name") },
        { "SupGstinNo", txtSupGstinNo, tr("Sup. GSTIN No. ") }, { "SupAddress", txtSupAddress, tr("Sup. Address") } };
    setup.ownRules = { Mandatory(txtPurchaseId, tr("Press New Button first ")),
        Mandatory(txtPurchaseInvoiceNo, tr("Enter Purchase Invoice Number ")),
        Mandatory(txtPurchaseInvoiceDate, tr("Enter Purchase Invoice Date ")) };
    for (QLineEdit* optional : { txtPurchaseOrder, txtSupplierName, txtSupGstinNo, txtSupAddress })
        setup.ownRules.push_back(Optional(optional, NotApplicable));
    setup.beside = { { txtPurchaseOrderDate, txtPurchaseOrder } };
    setup.dates = { { txtPurchaseInvoiceDate, tr("Purchase Invoice Date") },
        { txtPurchaseOrderDate, tr("Purchase Order Date") } };
    setup.firstEntry = txtPurchaseOrder;
    setup.serialBox = txtPSno;
    setup.codeBox = txtPurchaseId;
    setup.serialField = QStringLiteral("PSno");
    setup.codeField = QStringLiteral("PurchaseId");
    setup.codeKind = CodeKind::Purchase;
    setup.file = DbFile::PurchaseMaster;
    setup.table = QStringLiteral("Purchase");
    setup.sign = +1;
    setup.movementName = tr("purchase");
    setup.listHeading = tr("Existing Items List");
    setup.returnNote
        = tr("The quantity below zero is saved as a return to the supplier: the stock of %1 goes down by %2.");
    setUp(std::move(setup));

    auto* gstFrame = Named(new QGroupBox(tr("GST of the bill"), this), QStringLiteral("fraGst"));
    auto* grid = new QGridLayout(gstFrame);
    const auto labelled = [&](const QString& caption, QWidget* box, int row, int column) {
        auto* label = new QLabel(caption, gstFrame);
        label->setBuddy(box);
        grid->addWidget(label, row, column);
        grid->addWidget(box, row, column + 1);
    };
    labelled(tr("Supplier List"), cboSupplier, 0, 0);
    labelled(tr("Sup. State"), txtSupState, 0, 2);
    labelled(tr("Taxable Value"), txtTaxable, 1, 0);
    labelled(tr("GST Rate %"), cboGstRate, 1, 2);
    grid->addWidget(chkReverseCharge, 2, 0, 1, 2);
    labelled(tr("Input tax cre&dit"), cboCredit, 2, 2);
    grid->addWidget(chkAddToBill, 3, 0, 1, 2);
    grid->addWidget(lblLineTax, 3, 2, 1, 2);
    grid->addWidget(cmdSupplierNote, 4, 0, 1, 2);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, gstFrame);
    txtTaxable->setPlaceholderText(tr("quantity x rate"));
    chkAddToBill->setEnabled(false);

    connect(cboSupplier, &QComboBox::activated, this, &frmPurchase::cboSupplier_Click);
    connect(cmdSupplierNote, &QPushButton::clicked, this, &frmPurchase::cmdSupplierNote_Click);
    connect(txtSupplierName, &QLineEdit::textEdited, this, [this] { m_pickedSupplier = 0; });
    for (QLineEdit* box : {txtTaxable, txtSupState, txtSupGstinNo, txtRate, txtQuantity})
        connect(box, &QLineEdit::textChanged, this, &frmPurchase::showLineTax);
    connect(cboGstRate, &QComboBox::currentIndexChanged, this, &frmPurchase::showLineTax);
    connect(chkAddToBill, &QCheckBox::toggled, this, &frmPurchase::showLineTax);
    for (QLineEdit* box : {txtSupGstinNo, txtPurchaseInvoiceDate})
        connect(box, &QLineEdit::textChanged, this, &frmPurchase::offerRates);
    connect(chkReverseCharge, &QCheckBox::toggled, this, &frmPurchase::offerRates);
    connect(chkAddToBill, &QCheckBox::toggled, this, &frmPurchase::offerRates);
    connect(this, &StockMovementForm::movementSaved, this, [this] {
        m_lastBill = m_pending && m_pending->withTax ? m_pending : std::nullopt;
        chkAddToBill->setEnabled(m_lastBill.has_value());
        chkAddToBill->setChecked(false);
        m_pickedSupplier = m_lastBill ? m_lastBill->supplierSerial : 0;
    });
    fillSuppliers();
}

// The purchase date places the purchase in the report periods: left blank,
// it is the supplier's invoice date rather than "N.A." (which no period holds).
void frmPurchase::fillOwnDefaults() { FillIfEmpty(txtPurchaseOrderDate, txtPurchaseInvoiceDate->text()); }

void frmPurchase::fillSuppliers()
{
    m_suppliers.clear();
    cboSupplier->clear();
    Guarded<DataError>([&] { m_suppliers = LoadSupplierList(m_db); });
    for (const ListedSupplier& s : m_suppliers)
        cboSupplier->addItem(s.name);
    cboSupplier->setCurrentIndex(-1);
}

void frmPurchase::refreshLists() { fillSuppliers(); }

// The lists as they stand now: a supplier added meanwhile is there to pick.
void frmPurchase::startNew()
{
    fillSuppliers();
    m_company.reset();
    Guarded<DataError>([&] { m_company = LoadCompany(m_db); });
    cboCredit->setCurrentIndex(0);
    offerRates();
}

// A supplier without GSTIN charges no GST; under reverse charge the shop
// pays it. A line added to the bill just saved goes by that bill.
bool frmPurchase::carriesGst() const
{
    if (chkAddToBill->isChecked() && m_lastBill)
        return BillCarriesGst(*m_lastBill);
    return !IsNoGstin(txtSupGstinNo->text()) || chkReverseCharge->isChecked();
}

void frmPurchase::offerRates()
{
    const QString chosen = cboGstRate->currentText();
    QDate day = ReadDateText(txtPurchaseInvoiceDate->text());
    if (!day.isValid())
        day = QDate::currentDate();
    QSignalBlocker quiet(cboGstRate);
    cboGstRate->clear();
    GstRateTable table = ShippedGstRates();
    Guarded<DataError>([&] { table = LoadGstRates(m_db); }); // the rates as the store keeps them, changes entered too
    if (carriesGst())
        for (const double rate : RatesInForce(table, day, true))
            cboGstRate->addItem(RateText(rate));
    cboGstRate->setCurrentIndex(cboGstRate->findText(chosen));
    cboGstRate->setEnabled(!m_locked && carriesGst());
    cboGstRate->setToolTip(carriesGst() ? QString()
                                        : tr("A supplier without GSTIN charges no GST: the bill is saved without "
                                             "tax, unless it is under reverse charge"));
    quiet.unblock();
    showLineTax();
}

void frmPurchase::cmdSupplierNote_Click()
{
    frmSupplierNote form(m_db, this);
    form.exec();
}

void frmPurchase::cboSupplier_Click(int index)
{
    if (index < 0 || size_t(index) >= m_suppliers.size() || txtSupplierName->isReadOnly())
        return;
    const ListedSupplier& s = m_suppliers[size_t(index)];
    txtSupplierName->setText(s.name);
    txtSupGstinNo->setText(s.gstin);
    txtSupAddress->setText(s.address);
    txtSupState->setText(s.state);
    m_pickedSupplier = s.serial;
}

void frmPurchase::lockOwnExtras(bool locked)
{
    m_locked = locked;
    for (QLineEdit* box : {txtSupState, txtTaxable})
        SetBoxReadOnly(box, locked);
    for (QWidget* w : std::initializer_list<QWidget*>{cboSupplier, chkReverseCharge, cboCredit})
        w->setEnabled(!locked);
    offerRates();
}

void frmPurchase::clearOwnExtras()
{
    txtSupState->clear();
    txtTaxable->clear();
    cboGstRate->setCurrentIndex(-1);
    cboSupplier->setCurrentIndex(-1);
    m_pickedSupplier = 0;
}

// The line's tax as Save will work it out, while the operator types.
void frmPurchase::showLineTax()
{
    PurchaseBillLine line;
    double rate = 0, quantity = 0, gstRate = 0;
    if (!ReadNumber(cboGstRate->currentText(), gstRate)) {
        lblLineTax->clear();
        return;
    }
    if (!ReadAmount(txtTaxable->text(), line.taxable) && ReadNumber(txtRate->text(), rate)
        && ReadNumber(txtQuantity->text(), quantity))
        line.taxable = LineAmount(quantity, rate);
    TaxMode mode = chkAddToBill->isChecked() && m_lastBill ? m_lastBill->mode : TaxMode::None;
    if (!chkAddToBill->isChecked() && m_company)
        mode = PurchaseTaxMode(txtSupState->text(), txtSupGstinNo->text(), m_company->state, m_company->gstin);
    const TaxHeads tax = TaxAtRate(line.taxable, gstRate, mode);
    lblLineTax->setText(mode == TaxMode::Igst   ? tr("IGST %1").arg(AmountText(tax.igst))
                        : mode == TaxMode::Cgst ? tr("CGST %1 + SGST %2").arg(AmountText(tax.cgst), AmountText(tax.sgst))
                                                : tr("Tax kind not known: give the supplier's State"));
}

bool frmPurchase::readLine(PurchaseBillLine& line)
{
    double rate = 0, quantity = 0;
    ReadNumber(txtRate->text(), rate);
    ReadNumber(txtQuantity->text(), quantity);
    if (txtTaxable->text().trimmed().isEmpty())
        line.taxable = LineAmount(quantity, rate);
    else if (!ReadAmountBox(txtTaxable, tr("Taxable Value"), line.taxable))
        return false;
    if (!ReadNumber(cboGstRate->currentText(), line.gstRate)) {
        MsgBox(tr("Choose the GST rate of the line "));
        cboGstRate->setFocus();
        return false;
    }
    return true;
}

void frmPurchase::fillItem(PurchaseBillLine& line) const
{
    ReadNumber(txtRate->text(), line.rate);
    ReadNumber(txtQuantity->text(), line.quantity);
    line.itemCode = txtItemCode->text();
    line.itemName = txtItemName->text();
    line.hsn = txtHsn->text();
    line.per = txtPer->text();
    line.remarks = txtRemarks->text();
}

std::optional<PurchaseBill> frmPurchase::billFromBoxes()
{
    PurchaseBill bill;
    bill.number = txtPurchaseInvoiceNo->text();
    bill.date = ReadDateText(txtPurchaseInvoiceDate->text());
    bill.supplierName = txtSupplierName->text();
    bill.supplierGstin = IsNoGstin(txtSupGstinNo->text()) ? txtSupGstinNo->text() : NormalizedGstin(txtSupGstinNo->text());
    bill.supplierState = txtSupState->text();
    bill.supplierAddress = txtSupAddress->text();
    bill.supplierSerial = m_pickedSupplier;
    bill.orderNumber = txtPurchaseOrder->text();
    bill.orderDate = ReadDateText(txtPurchaseOrderDate->text());
    bill.reverseCharge = chkReverseCharge->isChecked();
    bill.credit = CreditKinds().at(size_t(std::max(0, cboCredit->currentIndex())));
    if (!Guarded<DataError>([&] { m_company = LoadCompany(m_db); }))
        return std::nullopt;
    if (m_company)
        bill.mode = PurchaseTaxMode(bill.supplierState, bill.supplierGstin, m_company->state, m_company->gstin);
    return bill;
}

// The bill of the line: the one just saved, when the line is added to it, or
// a new one from the boxes; a supplier not in the list is offered for it. No
// GST rate: a bill without tax, as purchases were saved before.
bool frmPurchase::acceptOwnEntries()
{
    m_pending.reset();
    m_addSupplier = false;
    PurchaseBillLine line;
    fillItem(line);
    if (cboGstRate->currentText().trimmed().isEmpty() && !chkAddToBill->isChecked()) {
        std::optional<PurchaseBill> plain = billFromBoxes();
        if (!plain)
            return false;
        plain->withTax = false;
        plain->lines = {line};
        m_pending = plain;
        return true;
    }
    if (!readLine(line))
        return false;
    std::optional<PurchaseBill> bill;
    if (chkAddToBill->isChecked() && m_lastBill) {
        if (ComparableBillNumber(txtPurchaseInvoiceNo->text()) != ComparableBillNumber(m_lastBill->number)
            || txtSupplierName->text() != m_lastBill->supplierName) {
            MsgBox(tr("The line is to be added to bill %1 of %2: its bill number and supplier must be that bill's. ")
                       .arg(m_lastBill->number, m_lastBill->supplierName));
            txtPurchaseInvoiceNo->setFocus();
            return false;
        }
        bill = m_lastBill;
        bill->orderNumber = txtPurchaseOrder->text();
        bill->orderDate = ReadDateText(txtPurchaseOrderDate->text());
    } else {
        if (!AcceptGstEntries(txtSupGstinNo, txtSupState))
            return false;
        bill = billFromBoxes();
        if (!bill)
            return false;
    }
    if (bill->mode == TaxMode::None && line.gstRate > 0) {
        MsgBox(tr("Give the supplier's State (or GSTIN) and the company's: they tell IGST from CGST and SGST. "));
        txtSupState->setFocus();
        return false;
    }
    bill->lines = {line};
    if (!chkAddToBill->isChecked() && bill->supplierSerial == 0 && !IsNoGstin(bill->supplierName)) {
        for (const ListedSupplier& s : m_suppliers)
            if (s.name.compare(bill->supplierName.trimmed(), Qt::CaseInsensitive) == 0)
                bill->supplierSerial = s.serial;
        if (bill->supplierSerial == 0)
            m_addSupplier = AskYesNo(tr("%1 is not in the supplier list. Add the supplier to the list?")
                                         .arg(bill->supplierName));
    }
    m_pending = bill;
    return true;
}

// The bill through its store: the line with the serial New proposed, the
// stock of the remembered item, the item's details as the boxes correct them.
QString frmPurchase::storeMovement(double quantity)
{
    PurchaseBill bill = *m_pending;
    PurchaseBillLine& line = bill.lines.front();
    line.quantity = quantity;
    line.stock = movedTable();
    line.updatesItem = line.stock.has_value();
    line.purchaseSerial = serial();
    ComputeLineTaxes(bill);
    const PurchaseSave how{m_addSupplier, bill.withTax && chkAddToBill->isChecked() && m_lastBill};
    if (QString refused = StorePurchaseBill(m_db, bill, how); !refused.isEmpty())
        return refused;
    datMovement.cancelUpdate(); // stored by the bill's store
    setSerial(line.purchaseSerial);
    m_pending = bill;
    return {};
}
