#include "payments/frmreceipt.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "sales/bankstore.h"
#include "registers/savedinvoice.h"
#include "sales/owed.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/printing.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelva {

namespace {

constexpr int LongestReference = 40;
constexpr int LongestReason = 120;

} // namespace

frmReceipt::frmReceipt(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , txtReceiptNo(NewBox(this, "txtReceiptNo"))
    , cboBuyerName(Named(new QComboBox(this), QStringLiteral("cboBuyerName")))
    , txtDate(NewBox(this, "txtDate"))
    , cboMode(Named(new QComboBox(this), QStringLiteral("cboMode")))
    , txtReference(NewBox(this, "txtReference"))
    , txtBank(NewBox(this, "txtBank"))
    , txtAmount(NewBox(this, "txtAmount"))
    , cmdAllot(NewButton(this, "cmdAllot", tr("Allot &Oldest First"), tr("Allot the amount to the oldest invoices first")))
    , grdInvoices(Named(new QTableWidget(0, 5, this), QStringLiteral("grdInvoices")))
    , lblOwed(Named(new QLabel(this), QStringLiteral("lblOwed")))
    , cmdSave(NewButton(this, "cmdSave", tr("&Save"), tr("Save the receipt")))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Print the receipt shown (PDF when there is no printer)")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , txtCancelNo(NewBox(this, "txtCancelNo"))
    , txtReason(NewBox(this, "txtReason"))
    , cmdCancelReceipt(NewButton(this, "cmdCancelReceipt", tr("Cance&l Receipt"),
                                 tr("Cancel the receipt of the number typed: its allotments are freed")))
    , pageReceipt(new ReceiptPage(this))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Receipt"));
    pageReceipt->setObjectName(QStringLiteral("pageReceipt"));
    txtReceiptNo->setReadOnly(true);
    cboMode->addItems(PaymentModeNames());
    txtReference->setMaxLength(LongestReference);
    txtReference->setPlaceholderText(tr("UTR, cheque or card slip number"));
    txtBank->setMaxLength(LongestReference);
    txtReason->setMaxLength(LongestReason);
    txtReason->setPlaceholderText(tr("why the receipt is cancelled (required)"));
    txtCancelNo->setPlaceholderText(tr("R00001"));
    lblOwed->setTextFormat(Qt::PlainText);
    grdInvoices->setHorizontalHeaderLabels(
        {tr("Invoice No."), tr("Date"), tr("Amount"), tr("Left to Pay"), tr("Allotted")});
    grdInvoices->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdInvoices->verticalHeader()->hide();

    auto* entry = new QFormLayout;
    entry->addRow(tr("Receipt No."), txtReceiptNo);
    entry->addRow(tr("&Buyer"), cboBuyerName);
    entry->addRow(tr("&Date"), txtDate);
    entry->addRow(tr("&Mode"), cboMode);
    entry->addRow(tr("Re&ference"), txtReference);
    entry->addRow(tr("Ban&k"), txtBank);
    entry->addRow(tr("&Amount"), txtAmount);
    auto* allotLine = new QHBoxLayout;
    allotLine->addWidget(lblOwed, 1);
    allotLine->addWidget(cmdAllot);
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdSave);
    commands->addWidget(cmdPrint);
    commands->addWidget(cmdClose);
    auto* cancelLine = new QHBoxLayout;
    cancelLine->addWidget(new QLabel(tr("Receipt to cancel"), this));
    cancelLine->addWidget(txtCancelNo);
    auto* reasonLabel = new QLabel(tr("R&eason"), this);
    reasonLabel->setBuddy(txtReason);
    cancelLine->addWidget(reasonLabel);
    cancelLine->addWidget(txtReason, 1);
    cancelLine->addWidget(cmdCancelReceipt);
    auto* left = new QVBoxLayout;
    left->addLayout(entry);
    left->addLayout(allotLine);
    left->addWidget(grdInvoices, 1);
    left->addLayout(commands);
    left->addLayout(cancelLine);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(pageReceipt);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addWidget(scroll, 1);
    resize(1280, 640);

    connect(cboBuyerName, &QComboBox::activated, this, &frmReceipt::cboBuyerName_Click);
    connect(txtAmount, &QLineEdit::editingFinished, this, &frmReceipt::cmdAllot_Click);
    connect(cmdAllot, &QPushButton::clicked, this, &frmReceipt::cmdAllot_Click);
    connect(grdInvoices, &QTableWidget::itemChanged, this, &frmReceipt::updateOwed);
    connect(cmdSave, &QPushButton::clicked, this, &frmReceipt::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReceipt::cmdPrint_Click);
    connect(cmdCancelReceipt, &QPushButton::clicked, this, &frmReceipt::cmdCancelReceipt_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    loadBuyers();
    ClearControl();
}

void frmReceipt::loadBuyers()
{
    Guarded<DataError>([this] { m_buyers = BuyersToChoose(m_db); });
    cboBuyerName->clear();
    for (const BuyerChoice& buyer : m_buyers)
        cboBuyerName->addItem(QStringLiteral("%1 (%2)").arg(buyer.name, buyer.code));
}

void frmReceipt::ClearControl()
{
    Guarded<DataError>([this] {
        txtReceiptNo->setText(
            RecordCode(CodeKind::Receipt, NextSerial(m_db, DbFile::Invoice, QStringLiteral("Receipt"), QStringLiteral("sno"))));
    });
    cboBuyerName->setCurrentIndex(-1);
    txtDate->setText(DateText(QDate::currentDate()));
    cboMode->setCurrentIndex(int(PaymentMode::Cash));
    for (QLineEdit* box : {txtReference, txtBank, txtAmount})
        box->clear();
    m_open.clear();
    m_advance = 0;
    showOpenInvoices();
}

void frmReceipt::cboBuyerName_Click(int index)
{
    if (index < 0 || index >= int(m_buyers.size()))
        return;
    const BuyerChoice& buyer = m_buyers[std::size_t(index)];
    Owed owed;
    if (!Guarded<DataError>([&] { owed = WhatIsOwed(m_db, {BuyerKey(buyer.code, buyer.name), std::nullopt}); }))
        return;
    m_open.clear();
    for (const OwedInvoice& i : owed.open)
        if (i.left() > 0)
            m_open.push_back({i.serial, i.number, i.dateText, i.left(), i.amount});
    m_advance = owed.advance.value(BuyerKey(buyer.code, buyer.name));
    showOpenInvoices();
    cmdAllot_Click();
}

void frmReceipt::showOpenInvoices()
{
    const QSignalBlocker quiet(grdInvoices);
    grdInvoices->setRowCount(int(m_open.size()));
    for (int row = 0; row < int(m_open.size()); ++row) {
        const OpenInvoice& open = m_open[std::size_t(row)];
        grdInvoices->setItem(row, InvoiceColumn, FixedCell(open.number, false));
        grdInvoices->setItem(row, DateColumn, FixedCell(open.date, false));
        grdInvoices->setItem(row, LeftColumn, FixedCell(AmountText(open.left), true));
        grdInvoices->setItem(row, AmountColumn, FixedCell(AmountText(open.amount), true));
        auto* allot = new QTableWidgetItem;
        allot->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdInvoices->setItem(row, AllotColumn, allot);
    }
    updateOwed();
}

// The amount typed, allotted afresh to the oldest invoices first.
void frmReceipt::cmdAllot_Click()
{
    Paise amount = 0;
    if (!txtAmount->text().trimmed().isEmpty() && !ReadAmount(txtAmount->text(), amount))
        amount = 0; // Save names the box
    const std::vector<Allotment> allotted = AllotOldestFirst(m_open, std::max<Paise>(amount, 0));
    const QSignalBlocker quiet(grdInvoices);
    for (int row = 0; row < grdInvoices->rowCount(); ++row) {
        Paise share = 0;
        for (const Allotment& a : allotted)
            if (a.invoiceSerial == m_open[std::size_t(row)].serial)
                share = a.amount;
        grdInvoices->item(row, AllotColumn)->setText(share ? AmountText(share) : QString());
    }
    updateOwed();
}

void frmReceipt::updateOwed()
{
    Paise owed = -m_advance;
    for (const OpenInvoice& open : m_open)
        owed += open.left;
    lblOwed->setText(cboBuyerName->currentIndex() < 0
                         ? tr("Choose the buyer")
                         : tr("The buyer owes %1 (%2 open, advance %3)")
                               .arg(ShownAmountText(owed, true))
                               .arg(m_open.size() == 1 ? tr("1 invoice") : tr("%1 invoices").arg(m_open.size()))
                               .arg(ShownAmountText(m_advance, true)));
}

bool frmReceipt::readReceipt(Receipt& receipt)
{
    const int index = cboBuyerName->currentIndex();
    if (index >= 0 && index < int(m_buyers.size())) {
        receipt.buyerCode = m_buyers[std::size_t(index)].code;
        receipt.buyerName = m_buyers[std::size_t(index)].name;
    }
    receipt.date = txtDate->text().trimmed();
    receipt.time = TimeTextHMS(QTime::currentTime());
    receipt.mode = PaymentModeNamed(cboMode->currentText());
    receipt.reference = txtReference->text().trimmed();
    receipt.bank = txtBank->text().trimmed();
    receipt.enteredBy = m_operator;
    if (!ReadAmount(txtAmount->text(), receipt.amount)) {
        MsgBox(tr("The amount \"%1\" is not an amount of money (Amount).").arg(txtAmount->text()));
        txtAmount->setFocus();
        return false;
    }
    for (int row = 0; row < grdInvoices->rowCount(); ++row) {
        const QString typed = grdInvoices->item(row, AllotColumn)->text();
        Paise share = 0;
        if (!typed.trimmed().isEmpty() && !ReadAmount(typed, share)) {
            MsgBox(tr("The amount allotted to invoice %1, \"%2\", is not an amount of money (Allotted).")
                       .arg(m_open[std::size_t(row)].number, typed));
            grdInvoices->setCurrentCell(row, AllotColumn);
            return false;
        }
        if (share != 0)
            receipt.allotments.push_back({m_open[std::size_t(row)].serial, m_open[std::size_t(row)].number, share});
    }
    return true;
}

void frmReceipt::cmdSave_Click()
{
    Receipt receipt;
    if (!readReceipt(receipt))
        return;
    const QDate today = QDate::currentDate();
    if (const QString refused = ReceiptRefusal(receipt, today); !refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    Paise owed = -m_advance;
    for (const OpenInvoice& open : m_open)
        owed += open.left;
    if (receipt.amount > owed
        && !AskYesNo(tr("%1 is more than the %2 the buyer owes. Keep the %3 beyond it as the buyer's advance, for its "
                        "later invoices?")
                         .arg(ShownAmountText(receipt.amount, true), ShownAmountText(std::max<Paise>(owed, 0), true),
                              ShownAmountText(receipt.amount - std::max<Paise>(owed, 0), true))))
        return;
    StoredReceipt stored;
    if (!Guarded<DataError>([&] { stored = StoreReceipt(m_db, receipt, today); }))
        return;
    if (!stored.saved()) {
        MsgBox(stored.refusal);
        cboBuyerName_Click(cboBuyerName->currentIndex()); // what is left now
        return;
    }
    receipt.serial = stored.serial;
    receipt.number = stored.number;
    showOnPage(receipt);
    MsgBox(tr("Receipt %1 is saved.").arg(stored.number));
    ClearControl();
}

void frmReceipt::showOnPage(const Receipt& receipt)
{
    m_shown = receipt;
    ShopLines shop;
    Guarded<DataError>([&] {
        if (const std::optional<CompanyGst> company = LoadCompany(m_db))
            shop = {company->name, company->gstin};
    });
    pageReceipt->showReceipt(receipt, shop);
}

void frmReceipt::cmdPrint_Click()
{
    if (m_shown.number.isEmpty()) {
        MsgBox(tr("Save a receipt first: the page shows the receipt to print."));
        return;
    }
    PrintWidgetPages(pageReceipt, 1, [](int) {}, tr("Receipt %1").arg(m_shown.number), PrintsFolder(m_db.folder()));
}

void frmReceipt::cmdCancelReceipt_Click()
{
    const QString number = txtCancelNo->text().trimmed().toUpper();
    if (number.isEmpty()) {
        MsgBox(tr("Type the number of the receipt to cancel (Receipt to cancel)."));
        txtCancelNo->setFocus();
        return;
    }
    const QString reason = txtReason->text().trimmed();
    if (reason.isEmpty()) {
        MsgBox(tr("Give the reason the receipt is cancelled (Reason)."));
        txtReason->setFocus();
        return;
    }
    std::optional<Receipt> receipt;
    if (!Guarded<DataError>([&] { receipt = LoadReceipt(m_db, number); }))
        return;
    if (!receipt) {
        MsgBox(tr("There is no saved receipt %1.").arg(number));
        return;
    }
    std::optional<MatchedLine> matched;
    if (!Guarded<DataError>([&] { matched = LineMatchedTo(m_db, MoneyKind::Receipt, number); }))
        return;
    // a statement line matched to it is named, for the operator to know it becomes unmatched
    const QString matchedWarning =
        matched ? MatchedLineWarning(MoneyKind::Receipt, number, *matched) + QStringLiteral("\n\n") : QString();
    const QString question = tr("Cancel receipt %1 of %2 for %3?\n\n%4It stays under its number, marked cancelled, and the invoices "
                     "it paid are owed again. This cannot be undone.")
                      .arg(number, receipt->buyerName, ShownAmountText(receipt->amount, true), matchedWarning);
    if (!AskYesNo(question))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    QString refused;
    if (!Guarded<DataError>([&] {
            refused = CancelReceipt(m_db, number, {DateText(now.date()), TimeTextHMS(now.time()), reason, m_operator});
        }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    Guarded<DataError>([&] { receipt = LoadReceipt(m_db, number); });
    if (receipt)
        showOnPage(*receipt);
    MsgBox(tr("Receipt %1 is cancelled: the invoices it paid are owed again.").arg(number));
    txtCancelNo->clear();
    txtReason->clear();
    cboBuyerName_Click(cboBuyerName->currentIndex());
}

} // namespace zelva
