#include "masters/company.h"

#include "masters/gstentries.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "sales/companypayment.h"
#include "sales/gstratestore.h"
#include "sales/opening.h"
#include "data/dataerror.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

using namespace zelva;

namespace {

// The company form's buttons after each event. Edit, Update and Cancel Edit
// wait for Show to put a record on display; Cancel Edit comes back with Edit;
// the list is closed while a record is being edited.
const StateTable& CompanyStates()
{
    using enum Turn;
    // clang-format off
    static const StateTable table{
        //                       New   Save  Cancel     Edit  Update CancelEdit Close  cboChoice lstName
        {Step::Load,          {Off,  Off,  Off,       Off,  Off,   Off,       On,    Keep,     Off}},
        {Step::Show,          {On,   Off,  Off,       On,   Off,   Off,       On,    Keep,     On}},
        {Step::ListPick,      {Keep, Keep, Keep,      On,   Keep,  Keep,      Keep}},
        {Step::New,           {Off,  On,   OnShown,   Off,  Off,   OffHidden, On}},
        {Step::Saved,         {On,   Off,  OffHidden, Off,  Off,   OffHidden, On}},
        {Step::Cancelled,     {On,   Off,  OffHidden, Off,  Off,   OffHidden, On,    Keep,     On}},
        {Step::EditStarted,   {Keep, Keep, Keep,      Off,  On,    OnShown,   Off,   Keep,     Off}},
        {Step::Updated,       {Keep, Keep, Keep,      On,   Off,   Off,       On,    Keep,     On}},
        {Step::EditCancelled, {Keep, Keep, Keep,      On,   Off,   Off,       On,    Keep,     On}},
    };
    // clang-format on
    return table;
}

} // namespace

frmCompany::frmCompany(Database& db, QWidget* parent)
    : MasterForm(tr("Company Details"), tr("Company Details"), parent)
    , txtSno(NewBox(this, "txtSno"))
    , txtCompanyId(NewBox(this, "txtCompanyId"))
    , txtName(NewBox(this, "txtName"))
    , txtAddress(new QPlainTextEdit(this))
    , txtDistrict(NewBox(this, "txtDistrict"))
    , txtState(NewBox(this, "txtState"))
    , txtPin(NewBox(this, "txtPin"))
    , txtGstin(NewBox(this, "txtGstin"))
    , txtContactNo(NewBox(this, "txtContactNo"))
    , txtEmail(NewBox(this, "txtEmail"))
    , txtWebsite(NewBox(this, "txtWebsite"))
    , txtBankName(NewBox(this, "txtBankName"))
    , txtBankAddress(NewBox(this, "txtBankAddress"))
    , txtAccountNo(NewBox(this, "txtAccountNo"))
    , txtIfsc(NewBox(this, "txtIfsc"))
    , txtUpiId(NewBox(this, "txtUpiId"))
    , txtEwayBillLimit(NewBox(this, "txtEwayBillLimit"))
    , cboTurnover(Named(new QComboBox(this), QStringLiteral("cboTurnover")))
    , txtRollWidth(NewBox(this, "txtRollWidth"))
    , cboScanAt(Named(new QComboBox(this), QStringLiteral("cboScanAt")))
    , txtBooksStart(NewBox(this, "txtBooksStart"))
    , cmdShow(NewButton(this, "cmdShow", tr("Show"), tr("Cancel Editing Members Detail")))
    , datCompany(db)
{
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtSno->setEnabled(false); // shows the serial, never typed into
    cboTurnover->addItems({tr("Up to Rs 5 crore"), tr("Above Rs 5 crore")});
    cboScanAt->addItems({tr("Into the goods box"), tr("Anywhere on the invoice")});
    cmdClose->setToolTip(QString());

    Setup setup;
    setup.fields = {{"sno", txtSno, tr("S.No."), true},
                    {"CompanyId", txtCompanyId, tr("Company ID")},
                    {"Name", txtName, tr("Name")},
                    {"address", txtAddress, tr("Address")},
                    {"Dist", txtDistrict, tr("District")},
                    {"State", txtState, tr("State")},
                    {"Pin", txtPin, tr("Pin")},
                    {"Gstin", txtGstin, tr("GSTIN/UIN")},
                    {"contact", txtContactNo, tr("Contact No.")},
                    {"Email", txtEmail, tr("eMail")},
                    {"Website", txtWebsite, tr("Website")},
                    {"BankName", txtBankName, tr("Bank Name")},
                    {"BankAddress", txtBankAddress, tr("Bank Add.")},
                    {"Accountno", txtAccountNo, tr("Account No.")},
                    {"ifsc", txtIfsc, tr("IFSC Code")},
                    {"", txtUpiId, tr("UPI ID")},
                    {"", txtEwayBillLimit, tr("E-Way Bill above Rs.")},
                    {"", cboTurnover, tr("Turnover last year")},
                    {"", txtRollWidth, tr("Receipt roll mm")},
                    {"", cboScanAt, tr("Barcodes scanned")},
                    {"", txtBooksStart, tr("Books start &on")}};
    setup.blankRules = {Mandatory(txtCompanyId, tr("Press New Button first ")),
                        Mandatory(txtName, tr("Enter Name of the Company ")),
                        Mandatory(txtSno, tr("Press New Button first ")),
                        Mandatory(txtAddress, tr("Enter Address of the Company ")),
                        Optional(txtDistrict, "N.A."),
                        Mandatory(txtState, tr("Enter State  "))};
    for (QLineEdit* optional : {txtPin, txtGstin, txtContactNo, txtEmail, txtWebsite, txtBankName, txtBankAddress, txtAccountNo, txtIfsc})
        setup.blankRules.push_back(Optional(optional, "N.A."));
    setup.serialBox = txtSno;
    setup.codeBox = txtCompanyId;
    setup.nameBox = txtName;
    setup.codeKind = CodeKind::Company;
    setup.showListField = QStringLiteral("Name");
    setup.acceptEntries = [this] { return AcceptGstEntries(txtGstin, txtState) && acceptPayment() && acceptCounter()
                                      && acceptBooksStart(); };
    setup.states = &CompanyStates();
    setup.serialHidden = false;
    setup.extraButtons = {cmdShow};
    setUp(std::move(setup));

    connect(cmdShow, &QPushButton::clicked, this, &frmCompany::cmdShow_Click);
    // Close is the form's cancel button: Esc presses it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cmdClose, &QPushButton::click);
}

void frmCompany::cmdShow_Click()
{
    showFirstRecord();
}

void frmCompany::SetCompanyDatabase()
{
    datCompany.bind(DbFile::Master, QStringLiteral("Company"));
    datCompany.moveFirst();
}

void frmCompany::Display()
{
    copyRecordToBoxes(datCompany);
    const CompanyPayment payment = LoadCompanyPayment(datCompany.database(), txtSno->text().toLongLong());
    txtUpiId->setText(payment.upiId);
    txtEwayBillLimit->setText(AmountText(payment.ewayBillLimit));
    cboTurnover->setCurrentIndex(LoadAboveFiveCrore(datCompany.database(), txtSno->text().toLongLong()) ? 1 : 0);
    const CounterSettings counter = LoadCounterSettings(datCompany.database(), txtSno->text().toLongLong());
    txtRollWidth->setText(QString::number(counter.rollWidthMm));
    cboScanAt->setCurrentIndex(counter.scanAnywhere ? 1 : 0);
    const std::optional<QDate> booksStart = BooksStartDayOf(datCompany.database(), txtSno->text().toLongLong());
    txtBooksStart->setText(booksStart ? DateText(*booksStart) : QString());
}

// Inside the save's transaction: the company and its payment details land together.
void frmCompany::Insert()
{
    copyBoxesToRecord(datCompany);
    CompanyPayment payment;
    payment.upiId = txtUpiId->text().trimmed();
    if (!txtEwayBillLimit->text().trimmed().isEmpty())
        ReadAmount(txtEwayBillLimit->text(), payment.ewayBillLimit);
    StoreCompanyPaymentWithin(datCompany.database(), txtSno->text().toLongLong(), payment);
    StoreAboveFiveCroreWithin(datCompany.database(), txtSno->text().toLongLong(), cboTurnover->currentIndex() == 1);
    StoreCounterSettingsWithin(datCompany.database(), txtSno->text().toLongLong(), counterTyped());
    const QDate booksStart = ReadDateText(txtBooksStart->text());
    StoreBooksStartDayWithin(datCompany.database(), txtSno->text().toLongLong(),
                             booksStart.isValid() ? std::optional<QDate>(booksStart) : std::nullopt);
}

bool frmCompany::acceptBooksStart()
{
    const QString typed = txtBooksStart->text().trimmed();
    const QDate day = ReadDateText(typed);
    QString refused;
    if (!typed.isEmpty() && !day.isValid())
        refused = tr("The day the books start here \"%1\" is not a date dd/mm/yyyy (Books start on).").arg(typed);
    else if (!Guarded<DataError>([&] {
                 refused = BooksStartRefusal(datCompany.database(), txtSno->text().toLongLong(),
                                             day.isValid() ? std::optional<QDate>(day) : std::nullopt);
             }))
        return false;
    if (refused.isEmpty())
        return true;
    MsgBox(refused);
    txtBooksStart->setFocus();
    return false;
}

CounterSettings frmCompany::counterTyped() const
{
    CounterSettings counter;
    const QString typed = txtRollWidth->text().trimmed();
    if (!typed.isEmpty())
        counter.rollWidthMm = typed.toInt();
    counter.scanAnywhere = cboScanAt->currentIndex() == 1;
    return counter;
}

bool frmCompany::acceptCounter()
{
    const QString typed = txtRollWidth->text().trimmed();
    bool whole = true;
    const int width = typed.isEmpty() ? WideRollMm : typed.toInt(&whole);
    if (whole && RollWidthRefusal(width).isEmpty())
        return true;
    MsgBox(tr("A receipt printer takes a roll %1 or %2 mm wide (Receipt roll mm): \"%3\" is not one.")
               .arg(NarrowRollMm)
               .arg(WideRollMm)
               .arg(typed));
    txtRollWidth->setFocus();
    return false;
}

bool frmCompany::acceptPayment()
{
    const QString upi = txtUpiId->text().trimmed();
    if (!upi.isEmpty() && upi != QLatin1String("N.A.") && !IsUpiId(upi)) {
        MsgBox(tr("The UPI ID \"%1\" is not of the form name@bank (such as shopname@okbank).").arg(upi));
        txtUpiId->setFocus();
        return false;
    }
    if (upi == QLatin1String("N.A."))
        txtUpiId->clear();
    Paise limit = 0;
    const QString typed = txtEwayBillLimit->text().trimmed();
    if (!typed.isEmpty() && (!ReadAmount(typed, limit) || limit <= 0)) {
        MsgBox(tr("Type the invoice value above which goods need an e-way bill as an amount in rupees (E-Way Bill "
                  "above Rs.), such as 50000."));
        txtEwayBillLimit->setFocus();
        return false;
    }
    return true;
}
