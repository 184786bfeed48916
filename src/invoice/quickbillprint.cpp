// Quick Bill on both invoice forms: the invoice saved as Save saves it, then
// printed from what was stored on the company's receipt roll.
#include "invoice/invoiceform.h"
#include "invoice/quickbill.h"

#include "data/dataerror.h"
#include "sales/companypayment.h"
#include "sales/countersettings.h"
#include "sales/invoicestore.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace zelva;

namespace {

// Keeps a button enabled exactly while another one is.
class EnabledMirror : public QObject {
public:
    EnabledMirror(QWidget* followed, QWidget* follower)
        : QObject(follower)
        , m_follower(follower)
    {
        followed->installEventFilter(this);
        follower->setEnabled(followed->isEnabled());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            m_follower->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_follower;
};

} // namespace

void InvoiceForm::buildQuickBill()
{
    cmdQuickBill = new QPushButton(QStringLiteral("Quic&k Bill"), fraCommandButton);
    cmdQuickBill->setObjectName(QStringLiteral("cmdQuickBill"));
    cmdQuickBill->setToolTip(QStringLiteral("Save the Invoice and print it on the receipt printer"));
    cmdQuickBill->setAutoDefault(true);
    if (auto* column = qobject_cast<QVBoxLayout*>(fraCommandButton->layout()))
        column->insertWidget(column->indexOf(cmdPrint) + 1, cmdQuickBill);
    new EnabledMirror(cmdPrint, cmdQuickBill);
    connect(cmdQuickBill, &QPushButton::clicked, this, &InvoiceForm::cmdQuickBill_Click);
}

void InvoiceForm::cmdQuickBill_Click()
{
    if (!m_pending || !readyToSave() || !storeInvoice(Renumber::Allowed, QString()))
        return;
    const InvoiceParty seller = m_invoice.seller; // the invoice keeps only the seller's name and GSTIN
    Guarded<DataError>([&] {
        const std::optional<Invoice> stored = LoadInvoice(m_db, InvoiceNumber);
        if (!stored)
            return;
        const qint64 company = datCompany.value(QStringLiteral("sno")).toLongLong();
        const int roll = LoadCounterSettings(m_db, company).rollWidthMm;
        const QString upi = LoadCompanyPayment(m_db, company).upiId;
        if (!PrintQuickBill(m_db, *stored, QuickBillLines(*stored, seller, RollColumns(roll)), roll, upi))
            MsgBox(QStringLiteral("Invoice %1 is saved; its Quick Bill was not printed. Print it again from Print Invoice.")
                       .arg(stored->number));
    });
}
