#include "stock/frmissueregister.h"

#include "platform/datetext.h"
#include "data/dataerror.h"
#include "platform/textnum.h"
#include "sales/reorderlevel.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace zelva;

frmIssueRegister::frmIssueRegister(Database& db, QWidget* parent)
    : StockMovementForm(db, tr("Issue Register"), parent)
    , optItemForSale(Named(new QRadioButton(tr("Item for Sale"), this), QStringLiteral("optItemForSale")))
    , optOtherItem(Named(new QRadioButton(tr("Other Item"), this), QStringLiteral("optOtherItem")))
    , txtISno(NewBox(this, "txtISno"))
    , txtIssueNo(NewBox(this, "txtIssueNo"))
    , txtIssueDate(NewBox(this, "txtIssueDate"))
    , txtIssueTime(NewBox(this, "txtIssueTime"))
    , txtIssueSlipNo(NewBox(this, "txtIssueSlipNo"))
    , txtIssueTo(NewBox(this, "txtIssueTo"))
    , txtIssuedBy(NewBox(this, "txtIssuedBy"))
    , cboPer(Named(new QComboBox(this), QStringLiteral("cboPer")))
{
    optItemForSale->setToolTip(tr("Item already listed for sale"));
    optOtherItem->setToolTip(tr("Items for company use"));

    Setup setup;
    setup.options = { { optItemForSale, StockTable::ForSale, tr("Existing Item List") },
        { optOtherItem, StockTable::Office, tr("Existing Other Item") } };
    setup.ownFields = { { "ISno", txtISno, tr("S.No."), true }, { "IssueNo", txtIssueNo, tr("Issue No.") },
        { "IssueDate", txtIssueDate, tr("Issue Date") }, { "IssueTime", txtIssueTime, tr("Issue Time") },
        { "IssueSlipNo", txtIssueSlipNo, tr("Issue Slip No.") }, { "IssueTo", txtIssueTo, tr("Issue To") },
        { "IssuedBy", txtIssuedBy, tr("Issued By") } };
    setup.ownRules = { Mandatory(txtIssueNo, tr("Press New Button first ")), Mandatory(txtIssueDate, tr("Enter date ")),
        Mandatory(txtIssueTime, tr("Enter time ")), Mandatory(txtIssueSlipNo, tr("Enter Issue Slip Number ")),
        Mandatory(txtIssueTo, tr("Enter Issued To ")), Mandatory(txtIssuedBy, tr("Enter Issued By ")) };
    setup.beside = { { cboPer, txtPer } };
    setup.dates = { { txtIssueDate, tr("Issue Date") } };
    setup.firstEntry = txtIssueSlipNo;
    setup.serialBox = txtISno;
    setup.codeBox = txtIssueNo;
    setup.serialField = QStringLiteral("ISno");
    setup.codeField = QStringLiteral("IssueNo");
    setup.codeKind = CodeKind::Issue;
    setup.file = DbFile::IssueMaster;
    setup.table = QStringLiteral("IssueRegister");
    setup.sign = -1;
    setup.movementName = tr("issue");
    setup.listHeading = tr("Existing Items List");
    setup.returnNote = tr("The quantity below zero is saved as goods returned: the stock of %1 goes up by %2.");
    setUp(std::move(setup));

    connect(cboPer, &QComboBox::activated, this, &frmIssueRegister::cboPer_Click);
    // The unit list shows the unit the Per box holds, whatever filled it: an
    // item shown, New, a unit picked.
    connect(txtPer, &QLineEdit::textChanged, this, &frmIssueRegister::showUnitInList);
    onLostFocus(txtQuantity, [this] { txtQuantity_LostFocus(); });
    refreshLists();
}

void frmIssueRegister::refreshLists()
{
    QStringList units;
    if (!Guarded<DataError>([&] { units = UnitsInUse(m_db); }))
        return;
    cboPer->clear();
    cboPer->addItems(units);
    showUnitInList();
}

void frmIssueRegister::startNew()
{
    txtIssueDate->setText(DateText(QDate::currentDate()));
    txtIssueTime->setText(TimeTextHMS(QTime::currentTime()));
    m_warnedQuantity.reset();
}

// The report periods find the issue by these day keys: they are those of the
// date stored in its Date field (checked by Save before this), as typed.
void frmIssueRegister::writeOwnFields(RecordSource& issue)
{
    const QDate filedOn = ReadDateText(txtIssueDate->text());
    issue.setValue(QStringLiteral("issuedd"), filedOn.day());
    issue.setValue(QStringLiteral("issuemm"), filedOn.month());
    issue.setValue(QStringLiteral("issueyy"), filedOn.year());
}

// A warning only: Save still stores the issue, and the stock may go below zero.
void frmIssueRegister::txtQuantity_LostFocus()
{
    if (txtQuantity->isReadOnly() || txtQuantity->text() == m_warnedQuantity)
        return;
    double issued = 0;
    if (!txtQuantity->text().trimmed().isEmpty() && !ReadNumber(txtQuantity->text(), issued))
        return; // not a number: Save says so
    const std::optional<double> onHand = shownItemOnHand();
    if (!onHand)
        return;
    m_warnedQuantity = txtQuantity->text();
    if (issued > *onHand) {
        MsgBox(tr("Item out of stock, only ") + Str(*onHand) + tr(" item available"));
        txtQuantity->setFocus();
    } else if (*onHand == 0) {
        MsgBox(tr("Item is not available"));
    } else if (optItemForSale->isChecked()) {
        QString warning;
        Guarded<DataError>([&] { warning = ReorderWarningFor(m_db, txtItemCode->text(), issued); });
        if (!warning.isEmpty())
            MsgBox(warning);
    }
}

void frmIssueRegister::cboPer_Click()
{
    if (txtPer->isReadOnly()) {
        showUnitInList(); // the entries are locked until New: the pick is undone
        return;
    }
    txtPer->setText(cboPer->currentText());
}

void frmIssueRegister::showUnitInList() { cboPer->setCurrentIndex(cboPer->findText(txtPer->text())); }
