#include "stock/frmpurchase.h"

#include "ui/formboxes.h"

#include <QLineEdit>
#include <QRadioButton>

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
{
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
}

// The purchase date places the purchase in the report periods: left blank,
// it is the supplier's invoice date rather than "N.A." (which no period holds).
void frmPurchase::fillOwnDefaults() { FillIfEmpty(txtPurchaseOrderDate, txtPurchaseInvoiceDate->text()); }
