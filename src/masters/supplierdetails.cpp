#include "masters/supplierdetails.h"

#include "masters/gstentries.h"
#include "masters/openingbills.h"
#include "ui/message.h"

#include <QLineEdit>
#include <QPushButton>

using namespace zelva;

frmSupplierDetails::frmSupplierDetails(Database& db, QWidget* parent)
    : MasterForm(tr("Add New Supplier or Update Existing Supplier Details"),
                 tr("Add New Supplier or Update Existing Supplier Details"), parent)
    , txtSno(NewBox(this, "txtSno"))
    , txtSupplierId(NewBox(this, "txtSupplierId"))
    , txtName(NewBox(this, "txtName"))
    , txtAddress(NewBox(this, "txtAddress"))
    , txtState(NewBox(this, "txtState"))
    , txtGstin(NewBox(this, "txtGstin"))
    , txtContact(NewBox(this, "txtContact"))
    , txtEmail(NewBox(this, "txtEmail"))
    , txtRemarks(NewBox(this, "txtRemarks"))
    , cmdOpeningBalance(NewButton(this, "cmdOpeningBalance", tr("&Opening Balance"),
                                  tr("What the shop owed the supplier on the day the books start here")))
    , datSupplier(db)
    , m_db(db)
{
    Setup setup;
    setup.fields = {{"sno", txtSno},
                    {"SupplierId", txtSupplierId, tr("SupplierID")},
                    {"Name", txtName, tr("Name")},
                    {"address", txtAddress, tr("Address")},
                    {"State", txtState, tr("State")},
                    {"Gstin", txtGstin, tr("GSTIN")},
                    {"Phone", txtContact, tr("Contact No.")},
                    {"Email", txtEmail, tr("eMail")},
                    {"Remarks", txtRemarks, tr("Remarks")}};
    setup.blankRules = {Mandatory(txtSupplierId, tr("Press New Button first ")),
                        Mandatory(txtName, tr("Enter Name of the Supplier "))};
    for (QLineEdit* optional : {txtAddress, txtState, txtGstin, txtContact, txtEmail, txtRemarks})
        setup.blankRules.push_back(Optional(optional, "N.A."));
    setup.serialBox = txtSno;
    setup.codeBox = txtSupplierId;
    setup.nameBox = txtName;
    setup.codeKind = CodeKind::Supplier;
    setup.listKeys = {{tr("Supplier ID"), "SupplierId"}, {tr("Supplier Name"), "Name"}};
    setup.acceptEntries = [this] { return AcceptGstEntries(txtGstin, txtState); };
    setup.states = &ListFormStates();
    setup.extraButtons = {cmdOpeningBalance};
    setUp(std::move(setup));
    connect(cmdOpeningBalance, &QPushButton::clicked, this, &frmSupplierDetails::cmdOpeningBalance_Click);

    onLostFocus(txtName, [this] { txtName_LostFocus(); });
}

void frmSupplierDetails::txtName_LostFocus() { nameLeft(); }

void frmSupplierDetails::cmdOpeningBalance_Click()
{
    if (shownKey() < 0 || txtSupplierId->text().trimmed().isEmpty()) {
        MsgBox(tr("Show the supplier whose opening balance to enter first."));
        return;
    }
    EditOpeningBills(this, m_db, PartyKind::Supplier, txtSupplierId->text().trimmed(), txtName->text());
}

void frmSupplierDetails::SetSupplierDatabase()
{
    datSupplier.bind(DbFile::PurchaseMaster, QStringLiteral("Supplier"));
}

void frmSupplierDetails::ShowSupplierDetails() { copyRecordToBoxes(datSupplier); }

void frmSupplierDetails::Insert() { copyBoxesToRecord(datSupplier); }
