#include "stock/frmsuppliernote.h"

#include "data/dataerror.h"
#include "gst/gsttax.h"
#include "platform/datetext.h"
#include "platform/period.h"
#include "ui/amountbox.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace zelva;

namespace {

// 1 April of the financial year before today's: a note is issued by 30
// November after the end of its bill's financial year.
QDate firstBillDay()
{
    return FinancialYear(FinancialYearOf(QDate::currentDate()) - 1).from;
}

} // namespace

frmSupplierNote::frmSupplierNote(Database& db, QWidget* parent)
    : QDialog(parent)
    , cboBill(Named(new QComboBox(this), QStringLiteral("cboBill")))
    , optCredit(Named(new QRadioButton(tr("&Credit note"), this), QStringLiteral("optCredit")))
    , optDebit(Named(new QRadioButton(tr("&Debit note"), this), QStringLiteral("optDebit")))
    , txtNoteNo(NewBox(this, "txtNoteNo"))
    , txtNoteDate(NewBox(this, "txtNoteDate"))
    , cboRate(Named(new QComboBox(this), QStringLiteral("cboRate")))
    , txtTaxable(NewBox(this, "txtTaxable"))
    , lblTax(Named(new QLabel(this), QStringLiteral("lblTax")))
    , txtReason(NewBox(this, "txtReason"))
    , cmdSave(NewButton(this, "cmdSave", tr("&Save"), tr("Save the note")))
    , cmdClose(NewButton(this, "cmdClose", tr("Cl&ose"), tr("Close Curent Window")))
    , m_db(db)
{
    setObjectName(QStringLiteral("frmSupplierNote"));
    setWindowTitle(tr("Supplier's Credit or Debit Note"));
    lblTax->setTextFormat(Qt::PlainText);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(optCredit);
    kinds->addButton(optDebit);
    optCredit->setChecked(true);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(optCredit);
    kindRow->addWidget(optDebit);
    kindRow->addStretch();

    auto* entries = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        entries->addRow(label, box);
    };
    row(tr("&Bill"), cboBill);
    entries->addRow(tr("Kind"), kindRow);
    row(tr("Note &No."), txtNoteNo);
    row(tr("Note D&ate"), txtNoteDate);
    row(tr("GST &Rate %"), cboRate);
    row(tr("&Taxable Value"), txtTaxable);
    entries->addRow(tr("Tax"), lblTax);
    row(tr("R&eason"), txtReason);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* page = new QVBoxLayout(this);
    page->addLayout(entries);
    page->addLayout(buttons);
    setMinimumWidth(560);
    cmdSave->setDefault(true);

    QWidget* order[] = {cboBill, optCredit, optDebit, txtNoteNo, txtNoteDate, cboRate, txtTaxable, txtReason,
                        cmdSave, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    Guarded<DataError>([&] { m_bills = LoadBillsForNotes(m_db, firstBillDay()); });
    for (const PurchaseBill& bill : m_bills)
        cboBill->addItem(tr("%1 of %2, %3").arg(bill.number, DateText(bill.date), bill.supplierName));
    cboBill->setCurrentIndex(-1);
    txtNoteDate->setText(DateText(QDate::currentDate()));

    connect(cboBill, &QComboBox::activated, this, &frmSupplierNote::cboBill_Click);
    connect(cboRate, &QComboBox::currentIndexChanged, this, &frmSupplierNote::showTax);
    connect(txtTaxable, &QLineEdit::textChanged, this, &frmSupplierNote::showTax);
    connect(cmdSave, &QPushButton::clicked, this, &frmSupplierNote::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    cboBill->setFocus();
}

const PurchaseBill* frmSupplierNote::chosenBill() const
{
    const int index = cboBill->currentIndex();
    return index >= 0 && size_t(index) < m_bills.size() ? &m_bills[size_t(index)] : nullptr;
}

// The bill's own rates to choose from.
void frmSupplierNote::cboBill_Click(int)
{
    cboRate->clear();
    if (const PurchaseBill* bill = chosenBill())
        for (const PurchaseBillLine& line : bill->lines)
            if (cboRate->findText(RateText(line.gstRate)) < 0)
                cboRate->addItem(RateText(line.gstRate));
    cboRate->setCurrentIndex(cboRate->count() == 1 ? 0 : -1);
    showTax();
}

// The note's tax as the save works it out: the bill's tax kind at the rate.
void frmSupplierNote::showTax()
{
    const PurchaseBill* bill = chosenBill();
    Paise taxable = 0;
    double rate = 0;
    if (!bill || !ReadAmount(txtTaxable->text(), taxable) || !ReadNumber(cboRate->currentText(), rate)) {
        lblTax->clear();
        return;
    }
    const TaxHeads tax = TaxAtRate(taxable, rate, bill->mode);
    lblTax->setText(bill->mode == TaxMode::Igst ? tr("IGST %1").arg(AmountText(tax.igst))
                                                : tr("CGST %1 + SGST %2").arg(AmountText(tax.cgst), AmountText(tax.sgst)));
}

bool frmSupplierNote::noteFromBoxes(SupplierNote& note)
{
    const PurchaseBill* bill = chosenBill();
    if (!bill) {
        MsgBox(tr("Choose the bill the note is against (Bill) "));
        cboBill->setFocus();
        return false;
    }
    note.billSerial = bill->serial;
    note.credit = optCredit->isChecked();
    note.number = txtNoteNo->text().trimmed();
    note.reason = txtReason->text();
    note.date = ReadDateText(txtNoteDate->text());
    if (!note.date.isValid()) {
        MsgBox(tr("Note Date must be a date written as day/month/year (%1): \"%2\" is not one.")
                   .arg(DateText(QDate::currentDate()), txtNoteDate->text()));
        txtNoteDate->setFocus();
        return false;
    }
    if (!ReadNumber(cboRate->currentText(), note.gstRate)) {
        MsgBox(tr("Choose the GST rate of the note (GST Rate %) "));
        cboRate->setFocus();
        return false;
    }
    return ReadAmountBox(txtTaxable, tr("Taxable Value"), note.taxable);
}

void frmSupplierNote::cmdSave_Click()
{
    SupplierNote note;
    if (!noteFromBoxes(note))
        return;
    QString refused;
    if (!Guarded<DataError>([&] { refused = StoreSupplierNote(m_db, note); }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    MsgBox(tr("Saved Successfully"));
    // Ready for the next note of the same bill.
    for (QLineEdit* box : {txtNoteNo, txtTaxable, txtReason})
        box->clear();
    txtNoteNo->setFocus();
}
