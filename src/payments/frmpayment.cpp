#include "payments/frmpayment.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "sales/bankstore.h"
#include "registers/savedinvoice.h"
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

frmPayment::frmPayment(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , txtPaymentNo(NewBox(this, "txtPaymentNo"))
    , cboSupplierName(Named(new QComboBox(this), QStringLiteral("cboSupplierName")))
    , txtDate(NewBox(this, "txtDate"))
    , cboMode(Named(new QComboBox(this), QStringLiteral("cboMode")))
    , txtReference(NewBox(this, "txtReference"))
    , txtBank(NewBox(this, "txtBank"))
    , txtAmount(NewBox(this, "txtAmount"))
    , cmdAllot(NewButton(this, "cmdAllot", tr("Allot &Oldest First"), tr("Allot the amount to the oldest bills first")))
    , grdBills(Named(new QTableWidget(0, 5, this), QStringLiteral("grdBills")))
    , lblOwed(Named(new QLabel(this), QStringLiteral("lblOwed")))
    , cmdSave(NewButton(this, "cmdSave", tr("&Save"), tr("Save the payment")))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Print the voucher shown (PDF when there is no printer)")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , txtCancelNo(NewBox(this, "txtCancelNo"))
    , txtReason(NewBox(this, "txtReason"))
    , cmdCancelPayment(NewButton(this, "cmdCancelPayment", tr("Cancel Pa&yment"),
                                 tr("Cancel the payment of the number typed: its allotments are freed")))
    , pageVoucher(new ReceiptPage(this))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Payment"));
    pageVoucher->setObjectName(QStringLiteral("pageVoucher"));
    txtPaymentNo->setReadOnly(true);
    cboMode->addItems(PaymentModeNames());
    txtReference->setMaxLength(LongestReference);
    txtReference->setPlaceholderText(tr("UTR, cheque or card slip number"));
    txtBank->setMaxLength(LongestReference);
    txtReason->setMaxLength(LongestReason);
    txtReason->setPlaceholderText(tr("why the payment is cancelled (required)"));
    txtCancelNo->setPlaceholderText(tr("V00001"));
    lblOwed->setTextFormat(Qt::PlainText);
    grdBills->setHorizontalHeaderLabels({tr("Bill No."), tr("Date"), tr("Amount"), tr("Left to Pay"), tr("Allotted")});
    grdBills->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdBills->verticalHeader()->hide();

    auto* entry = new QFormLayout;
    entry->addRow(tr("Voucher No."), txtPaymentNo);
    entry->addRow(tr("Supp&lier"), cboSupplierName);
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
    auto* cancelLabel = new QLabel(tr("Payme&nt to cancel"), this);
    cancelLabel->setBuddy(txtCancelNo);
    cancelLine->addWidget(cancelLabel);
    cancelLine->addWidget(txtCancelNo);
    auto* reasonLabel = new QLabel(tr("R&eason"), this);
    reasonLabel->setBuddy(txtReason);
    cancelLine->addWidget(reasonLabel);
    cancelLine->addWidget(txtReason, 1);
    cancelLine->addWidget(cmdCancelPayment);
    auto* left = new QVBoxLayout;
    left->addLayout(entry);
    left->addLayout(allotLine);
    left->addWidget(grdBills, 1);
    left->addLayout(commands);
    left->addLayout(cancelLine);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(pageVoucher);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addWidget(scroll, 1);
    resize(1280, 640);

    connect(cboSupplierName, &QComboBox::activated, this, &frmPayment::cboSupplierName_Click);
    connect(txtAmount, &QLineEdit::editingFinished, this, &frmPayment::cmdAllot_Click);
    connect(cmdAllot, &QPushButton::clicked, this, &frmPayment::cmdAllot_Click);
    connect(grdBills, &QTableWidget::itemChanged, this, &frmPayment::updateOwed);
    connect(cmdSave, &QPushButton::clicked, this, &frmPayment::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPayment::cmdPrint_Click);
    connect(cmdCancelPayment, &QPushButton::clicked, this, &frmPayment::cmdCancelPayment_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    loadSuppliers();
    ClearControl();
}

// The supplier list, then any supplier not on it that bills or payments name.
void frmPayment::loadSuppliers()
{
    m_suppliers.clear();
    Guarded<DataError>([this] {
        for (const ListedSupplier& s : LoadSupplierList(m_db))
            m_suppliers.push_back({s.serial, s.name});
        const Payables payables = WhatIsPayable(m_db);
        QStringList others;
        for (auto name = payables.supplierNames.constBegin(); name != payables.supplierNames.constEnd(); ++name)
            if (!name.key().startsWith(QLatin1Char('#')))
                others << name.value();
        others.sort();
        for (const QString& name : others)
            m_suppliers.push_back({0, name});
    });
    cboSupplierName->clear();
    for (const SupplierChoice& s : m_suppliers)
        cboSupplierName->addItem(s.name);
}

void frmPayment::ClearControl()
{
    Guarded<DataError>([this] { txtPaymentNo->setText(NextPaymentNumber(m_db)); });
    cboSupplierName->setCurrentIndex(-1);
    txtDate->setText(DateText(QDate::currentDate()));
    cboMode->setCurrentIndex(int(PaymentMode::Cash));
    for (QLineEdit* box : {txtReference, txtBank, txtAmount})
        box->clear();
    m_open.clear();
    m_advance = 0;
    showOpenBills();
}

void frmPayment::cboSupplierName_Click(int index)
{
    if (index < 0 || index >= int(m_suppliers.size()))
        return;
    const QString key = SupplierKey(m_suppliers[std::size_t(index)].serial, m_suppliers[std::size_t(index)].name);
    Payables payables;
    if (!Guarded<DataError>([&] { payables = WhatIsPayable(m_db, {key, std::nullopt}); }))
        return;
    m_open.clear();
    for (const OwedBill& b : payables.open)
        if (b.left() > 0 && b.serial != 0)
            m_open.push_back({b.serial, b.number, DateText(b.date), b.left(), b.amount});
    m_advance = payables.advance.value(key);
    showOpenBills();
    cmdAllot_Click();
}

void frmPayment::showOpenBills()
{
    const QSignalBlocker quiet(grdBills);
    grdBills->setRowCount(int(m_open.size()));
    for (int row = 0; row < int(m_open.size()); ++row) {
        const OpenInvoice& open = m_open[std::size_t(row)];
        grdBills->setItem(row, BillColumn, FixedCell(open.number, false));
        grdBills->setItem(row, DateColumn, FixedCell(open.date, false));
        grdBills->setItem(row, AmountColumn, FixedCell(AmountText(open.amount), true));
        grdBills->setItem(row, LeftColumn, FixedCell(AmountText(open.left), true));
        auto* allot = new QTableWidgetItem;
        allot->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdBills->setItem(row, AllotColumn, allot);
    }
    updateOwed();
}

void frmPayment::cmdAllot_Click()
{
    Paise amount = 0;
    if (!txtAmount->text().trimmed().isEmpty() && !ReadAmount(txtAmount->text(), amount))
        amount = 0; // Save names the box
    const std::vector<Allotment> allotted = AllotOldestFirst(m_open, std::max<Paise>(amount, 0));
    const QSignalBlocker quiet(grdBills);
    for (int row = 0; row < grdBills->rowCount(); ++row) {
        Paise share = 0;
        for (const Allotment& a : allotted)
            if (a.invoiceSerial == m_open[std::size_t(row)].serial)
                share = a.amount;
        grdBills->item(row, AllotColumn)->setText(share ? AmountText(share) : QString());
    }
    updateOwed();
}

Paise frmPayment::owedNow() const
{
    Paise owed = -m_advance;
    for (const OpenInvoice& open : m_open)
        owed += open.left;
    return owed;
}

void frmPayment::updateOwed()
{
    lblOwed->setText(cboSupplierName->currentIndex() < 0
                         ? tr("Choose the supplier")
                         : tr("The shop owes %1 (%2 open, advance %3)")
                               .arg(ShownAmountText(owedNow(), true))
                               .arg(m_open.size() == 1 ? tr("1 bill") : tr("%1 bills").arg(m_open.size()))
                               .arg(ShownAmountText(m_advance, true)));
}

bool frmPayment::readPayment(Payment& payment)
{
    const int index = cboSupplierName->currentIndex();
    if (index >= 0 && index < int(m_suppliers.size())) {
        payment.supplierSerial = m_suppliers[std::size_t(index)].serial;
        payment.supplierName = m_suppliers[std::size_t(index)].name;
    }
    payment.date = txtDate->text().trimmed();
    payment.time = TimeTextHMS(QTime::currentTime());
    payment.mode = PaymentModeNamed(cboMode->currentText());
    payment.reference = txtReference->text().trimmed();
    payment.bank = txtBank->text().trimmed();
    payment.enteredBy = m_operator;
    if (!ReadAmount(txtAmount->text(), payment.amount)) {
        MsgBox(tr("The amount \"%1\" is not an amount of money (Amount).").arg(txtAmount->text()));
        txtAmount->setFocus();
        return false;
    }
    for (int row = 0; row < grdBills->rowCount(); ++row) {
        const QString typed = grdBills->item(row, AllotColumn)->text();
        Paise share = 0;
        if (!typed.trimmed().isEmpty() && !ReadAmount(typed, share)) {
            MsgBox(tr("The amount allotted to bill %1, \"%2\", is not an amount of money (Allotted).")
                       .arg(m_open[std::size_t(row)].number, typed));
            grdBills->setCurrentCell(row, AllotColumn);
            return false;
        }
        if (share != 0)
            payment.allotments.push_back({m_open[std::size_t(row)].serial, m_open[std::size_t(row)].number, share});
    }
    return true;
}

void frmPayment::cmdSave_Click()
{
    Payment payment;
    if (!readPayment(payment))
        return;
    const QDate today = QDate::currentDate();
    if (const QString refused = PaymentRefusal(payment, today); !refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    const Paise owed = std::max<Paise>(owedNow(), 0);
    if (payment.amount > owed
        && !AskYesNo(tr("%1 is more than the %2 the shop owes the supplier. Keep the %3 beyond it as an advance to the "
                        "supplier, for its later bills?")
                         .arg(ShownAmountText(payment.amount, true), ShownAmountText(owed, true),
                              ShownAmountText(payment.amount - owed, true))))
        return;
    StoredPayment stored;
    if (!Guarded<DataError>([&] { stored = StorePayment(m_db, payment, today); }))
        return;
    if (!stored.saved()) {
        MsgBox(stored.refusal);
        cboSupplierName_Click(cboSupplierName->currentIndex()); // what is left now
        return;
    }
    payment.serial = stored.serial;
    payment.number = stored.number;
    showOnPage(payment);
    MsgBox(tr("Payment %1 is saved.").arg(stored.number));
    ClearControl();
}

void frmPayment::showOnPage(const Payment& payment)
{
    m_shown = payment;
    ShopLines shop;
    Guarded<DataError>([&] {
        if (const std::optional<CompanyGst> company = LoadCompany(m_db))
            shop = {company->name, company->gstin};
    });
    pageVoucher->showPayment(payment, shop);
}

void frmPayment::cmdPrint_Click()
{
    if (m_shown.number.isEmpty()) {
        MsgBox(tr("Save a payment first: the voucher shows the payment to print."));
        return;
    }
    PrintWidgetPages(pageVoucher, 1, [](int) {}, tr("Payment %1").arg(m_shown.number), PrintsFolder(m_db.folder()));
}

void frmPayment::cmdCancelPayment_Click()
{
    const QString number = txtCancelNo->text().trimmed().toUpper();
    if (number.isEmpty()) {
        MsgBox(tr("Type the number of the payment to cancel (Payment to cancel)."));
        txtCancelNo->setFocus();
        return;
    }
    const QString reason = txtReason->text().trimmed();
    if (reason.isEmpty()) {
        MsgBox(tr("Give the reason the payment is cancelled (Reason)."));
        txtReason->setFocus();
        return;
    }
    std::optional<Payment> payment;
    if (!Guarded<DataError>([&] { payment = LoadPayment(m_db, number); }))
        return;
    if (!payment) {
        MsgBox(tr("There is no saved payment %1.").arg(number));
        return;
    }
    std::optional<MatchedLine> matched;
    if (!Guarded<DataError>([&] { matched = LineMatchedTo(m_db, MoneyKind::Payment, number); }))
        return;
    // a statement line matched to it is named, for the operator to know it becomes unmatched
    const QString matchedWarning =
        matched ? MatchedLineWarning(MoneyKind::Payment, number, *matched) + QStringLiteral("\n\n") : QString();
    const QString question = tr("Cancel payment %1 to %2 for %3?\n\n%4It stays under its number, marked cancelled, and the bills "
                     "it paid are owed again. This cannot be undone.")
                      .arg(number, payment->supplierName, ShownAmountText(payment->amount, true), matchedWarning);
    if (!AskYesNo(question))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    QString refused;
    if (!Guarded<DataError>([&] {
            refused = CancelPayment(m_db, number, {DateText(now.date()), TimeTextHMS(now.time()), reason, m_operator});
        }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    Guarded<DataError>([&] { payment = LoadPayment(m_db, number); });
    if (payment)
        showOnPage(*payment);
    MsgBox(tr("Payment %1 is cancelled: the bills it paid are owed again.").arg(number));
    txtCancelNo->clear();
    txtReason->clear();
    cboSupplierName_Click(cboSupplierName->currentIndex());
}

} // namespace zelva
