#include "masters/buyerdetails.h"

#include "masters/gstentries.h"
#include "masters/openingbills.h"
#include "ui/message.h"

#include <QLineEdit>
#include <QPushButton>

using namespace zelva;

frmBuyerDetails::frmBuyerDetails(Database& db, QWidget* parent)
    : MasterForm(tr("Add New Buyer or Update Existing Buyer Details"),
                 tr("Add New Buyer or Update Existing Buyer Details"), parent)
    , txtSno(NewBox(this, "txtSno"))
    , txtBid(NewBox(this, "txtBid"))
    , txtName(NewBox(this, "txtName"))
    , txtAddress(NewBox(this, "txtAddress"))
    , txtDistrict(NewBox(this, "txtDistrict"))
    , txtState(NewBox(this, "txtState"))
    , txtPin(NewBox(this, "txtPin"))
    , txtGstin(NewBox(this, "txtGstin"))
    , txtContact(NewBox(this, "txtContact"))
    , txtEmail(NewBox(this, "txtEmail"))
    , txtWebsite(NewBox(this, "txtWebsite"))
    , txtRemarks(NewBox(this, "txtRemarks"))
    , cmdCreditLimit(NewButton(this, "cmdCreditLimit", tr("Credit Li&mit"),
                               tr("The most the buyer may owe before an invoice warns")))
    , cmdOpeningBalance(NewButton(this, "cmdOpeningBalance", tr("&Opening Balance"),
                                  tr("What the buyer owed on the day the books start here")))
    , datBuyer(db)
    , m_db(db)
{
    Setup setup;
    setup.fields = {{"sno", txtSno},
                    {"bid", txtBid, tr("BuyerID")},
                    {"Name", txtName, tr("Name")},
                    {"address", txtAddress, tr("Address")},
                    {"Dist", txtDistrict, tr("District")},
                    {"State", txtState, tr("State")},
                    {"Pin", txtPin, tr("Pin")},
                    {"Gstin", txtGstin, tr("GSTIN/UIN")},
                    {"Phone", txtContact, tr("Contact No.")},
                    {"Email", txtEmail, tr("eMail")},
                    {"Website", txtWebsite, tr("Website")},
                    {"Remarks", txtRemarks, tr("Remarks")}};
    setup.blankRules = {Mandatory(txtBid, tr("Press New Button first ")),
                        Mandatory(txtName, tr("Enter Name of the Buyer "))};
    for (QLineEdit* optional : {txtAddress, txtDistrict, txtState, txtPin, txtGstin, txtContact, txtEmail, txtWebsite, txtRemarks})
        setup.blankRules.push_back(Optional(optional, "N.A."));
    setup.serialBox = txtSno;
    setup.codeBox = txtBid;
    setup.nameBox = txtName;
    setup.codeKind = CodeKind::Buyer;
    setup.listKeys = {{tr("Buyer ID"), "bid"}, {tr("Buyer Name"), "Name"}};
    setup.acceptEntries = [this] { return AcceptGstEntries(txtGstin, txtState); };
    setup.states = &ListFormStates();
    setup.extraButtons = {cmdCreditLimit, cmdOpeningBalance};
    setUp(std::move(setup));
    connect(cmdCreditLimit, &QPushButton::clicked, this, &frmBuyerDetails::cmdCreditLimit_Click);
    connect(cmdOpeningBalance, &QPushButton::clicked, this, &frmBuyerDetails::cmdOpeningBalance_Click);

    onLostFocus(txtName, [this] { txtName_LostFocus(); });
}

void frmBuyerDetails::txtName_LostFocus()
{
    nameLeft();
}

void frmBuyerDetails::cmdOpeningBalance_Click()
{
    if (shownKey() < 0 || txtBid->text().trimmed().isEmpty()) {
        MsgBox(tr("Show the buyer whose opening balance to enter first."));
        return;
    }
    EditOpeningBills(this, m_db, PartyKind::Buyer, txtBid->text().trimmed(), txtName->text());
}

void frmBuyerDetails::SetBuyerDatabase()
{
    datBuyer.bind(DbFile::Customer, QStringLiteral("CustomerDetails"));
}

void frmBuyerDetails::ShowBuyerDetails()
{
    copyRecordToBoxes(datBuyer);
}

void frmBuyerDetails::Insert()
{
    copyBoxesToRecord(datBuyer);
}
