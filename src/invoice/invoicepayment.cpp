// Paid at the counter: the "Paid now" choice beside the invoice's buttons,
// saved as the invoice's receipt in the invoice's own transaction
// (StoreSale); and what the buyer owes, shown when the buyer is picked, with
// the warning (never a refusal) when the invoice takes the buyer past its
// credit limit. None of it is on the printed page.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "platform/shownvalues.h"
#include "sales/owed.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace zelva;

namespace {

// A buyer without a GSTIN buys as a consumer at the counter.
bool walkInBuyer(const QString& gstin)
{
    const QString kept = gstin.trimmed();
    return kept.isEmpty() || kept == NotApplicable;
}

} // namespace

void InvoiceForm::buildPaidNow(QVBoxLayout* column)
{
    fraPaidNow = Named(new QGroupBox(tr("Payment"), fraCommandButton), QStringLiteral("fraPaidNow"));
    chkPaidNow = Named(new QCheckBox(tr("Pai&d now"), fraPaidNow), QStringLiteral("chkPaidNow"));
    chkPaidNow->setToolTip(tr("Paid at the counter: the invoice's receipt is saved with it"));
    cboPaidMode = Named(new QComboBox(fraPaidNow), QStringLiteral("cboPaidMode"));
    txtPaidReference = Named(new QLineEdit(fraPaidNow), QStringLiteral("txtPaidReference"));
    txtPaidReference->setPlaceholderText(tr("UTR / cheque no."));
    lblBuyerBalance = Named(new QLabel(fraPaidNow), QStringLiteral("lblBuyerBalance"));
    lblBuyerBalance->setTextFormat(Qt::PlainText);
    lblBuyerBalance->setWordWrap(true);
    auto* inside = new QVBoxLayout(fraPaidNow);
    for (QWidget* w : std::initializer_list<QWidget*>{chkPaidNow, cboPaidMode, txtPaidReference, lblBuyerBalance})
        inside->addWidget(w);
    column->addWidget(fraPaidNow);
    connect(chkPaidNow, &QCheckBox::toggled, this, [this](bool on) {
        cboPaidMode->setEnabled(on);
        txtPaidReference->setEnabled(on);
    });
    resetPaidNow();
}

void InvoiceForm::resetPaidNow()
{
    cboPaidMode->clear();
    cboPaidMode->addItems(PaymentModeNames());
    cboPaidMode->setCurrentIndex(int(PaymentMode::Cash));
    txtPaidReference->clear();
    chkPaidNow->setChecked(false);
    cboPaidMode->setEnabled(false);
    txtPaidReference->setEnabled(false);
    lblBuyerBalance->clear();
}

void InvoiceForm::showBuyerBalance()
{
    chkPaidNow->setChecked(walkInBuyer(txtBuyerGstin->text()));
    Paise balance = 0;
    std::optional<Paise> limit;
    const bool read = Guarded<DataError>([&] {
        balance = WhatIsOwed(m_db, {BuyerKey(BuyerBid, TextOf(cboBuyerName)), std::nullopt})
                      .balance(BuyerKey(BuyerBid, TextOf(cboBuyerName)));
        limit = CreditLimit(m_db, BuyerBid);
    });
    if (!read) {
        lblBuyerBalance->clear();
        return;
    }
    QString text = balance < 0 ? tr("Advance with us: %1").arg(ShownAmountText(-balance, true))
                               : tr("Balance owed: %1").arg(ShownAmountText(balance, true));
    if (limit)
        text += tr("\nCredit limit: %1").arg(ShownAmountText(*limit, true));
    lblBuyerBalance->setText(text);
}

std::optional<PaidNow> InvoiceForm::paidNow() const
{
    if (!chkPaidNow->isChecked())
        return std::nullopt;
    return PaidNow{PaymentModeNamed(cboPaidMode->currentText()), txtPaidReference->text().trimmed(), {}};
}

bool InvoiceForm::checkPayment(Paise invoiceTotal)
{
    if (const std::optional<PaidNow> paid = paidNow()) {
        if (const QString refused = PaidNowRefusal(*paid); !refused.isEmpty()) {
            MsgBox(refused);
            txtPaidReference->setFocus();
            return false;
        }
        return true; // paid: the balance does not grow
    }
    Paise balance = 0;
    std::optional<Paise> limit;
    const QString key = BuyerKey(BuyerBid, TextOf(cboBuyerName));
    if (!Guarded<DataError>([&] {
            limit = CreditLimit(m_db, BuyerBid);
            if (limit)
                balance = WhatIsOwed(m_db, {key, std::nullopt}).balance(key);
        }))
        return true; // the warning cannot be worked out; the save decides
    if (limit && balance + invoiceTotal > *limit)
        MsgBox(tr("With this invoice %1 will owe %2, over its credit limit of %3. The invoice is saved all the same.")
                   .arg(TextOf(cboBuyerName), ShownAmountText(balance + invoiceTotal, true),
                        ShownAmountText(*limit, true)));
    return true;
}
