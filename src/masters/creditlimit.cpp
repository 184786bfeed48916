// A buyer's credit limit: the most it may owe before saving an invoice warns
// (never refuses). It is kept in a table of its own by the buyer's serial,
// set or cleared for the buyer on display, in a small window of its own.
#include "masters/buyerdetails.h"

#include "data/dataerror.h"
#include "platform/money.h"
#include "sales/owed.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

using namespace zelva;

void frmBuyerDetails::cmdCreditLimit_Click()
{
    const qint64 serial = txtSno->text().trimmed().toLongLong();
    if (shownKey() < 0 || serial <= 0) {
        MsgBox(tr("Show the buyer whose credit limit to set first."));
        return;
    }
    std::optional<Paise> limit;
    if (!Guarded<DataError>([&] { limit = CreditLimitOfSerial(m_db, serial); }))
        return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgCreditLimit"));
    dialog.setWindowTitle(tr("Credit Limit of %1").arg(txtName->text()));
    auto* txtCreditLimit = NewBox(&dialog, "txtCreditLimit");
    txtCreditLimit->setText(limit ? AmountText(*limit) : QString());
    txtCreditLimit->setPlaceholderText(tr("blank: no limit"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* form = new QFormLayout(&dialog);
    form->addRow(tr("Credit limit (Rs.)"), txtCreditLimit);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        std::optional<Paise> typed;
        if (!txtCreditLimit->text().trimmed().isEmpty()) {
            Paise amount = 0;
            if (!ReadAmount(txtCreditLimit->text(), amount) || amount < 0) {
                MsgBox(tr("The credit limit \"%1\" is not an amount of money (Credit limit).")
                           .arg(txtCreditLimit->text()));
                return; // the window stays, with what was typed
            }
            typed = amount;
        }
        if (Guarded<DataError>([&] { SetCreditLimit(m_db, serial, txtBid->text(), typed); }))
            dialog.accept();
    });
    dialog.exec();
}
