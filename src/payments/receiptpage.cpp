#include "payments/receiptpage.h"

#include "gst/amountinwords.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zelva {

namespace {

// Half an A4 sheet at the screen's 96 dots an inch: the page keeps A4's width.
constexpr int PageWidth = 794;
constexpr int PageHeight = 561;

QLabel* pageLabel(QWidget* page, const char* name, int pointSize = 10, bool bold = false)
{
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QString amountShown(Paise amount) { return ShownAmountText(amount, true); }

} // namespace

ReceiptPage::ReceiptPage(QWidget* parent)
    : QWidget(parent)
    , lblShop(pageLabel(this, "lblShop", 14, true))
    , lblTitle(pageLabel(this, "lblTitle", 12, true))
    , lblNumber(pageLabel(this, "lblNumber"))
    , lblReceived(pageLabel(this, "lblReceived"))
    , lblWords(pageLabel(this, "lblWords"))
    , lblMode(pageLabel(this, "lblMode"))
    , lblAllotted(pageLabel(this, "lblAllotted"))
    , lblCancelled(pageLabel(this, "lblCancelled", 12, true))
    , lblSignature(pageLabel(this, "lblSignature"))
{
    setFixedSize(PageWidth, PageHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    lblShop->setAlignment(Qt::AlignHCenter);
    lblTitle->setAlignment(Qt::AlignHCenter);
    lblSignature->setAlignment(Qt::AlignRight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(48, 36, 48, 36);
    for (QLabel* label : {lblShop, lblTitle, lblNumber, lblReceived, lblWords, lblMode, lblAllotted, lblCancelled})
        column->addWidget(label);
    column->addStretch();
    column->addWidget(lblSignature);
    showReceipt({}, {});
}

void ReceiptPage::showReceipt(const Receipt& receipt, const ShopLines& shop)
{
    MoneyPageTexts texts{receipt.number.isEmpty(), tr("RECEIPT"),
                         tr("Receipt No.: %1        Date: %2").arg(receipt.number, DateText(receipt.date)),
                         tr("Received with thanks from %1 (%2) the sum of Rs. %3")
                             .arg(receipt.buyerName, receipt.buyerCode, amountShown(receipt.amount)),
                         receipt.amount, PaymentModeName(receipt.mode), receipt.reference, receipt.bank, {},
                         receipt.cancellation};
    for (const Allotment& a : receipt.allotments)
        texts.allotted << tr("Against invoice %1: Rs. %2").arg(a.invoiceNumber, amountShown(a.amount));
    if (!texts.blank && receipt.advance() != 0)
        texts.allotted << tr("Kept as advance: Rs. %1").arg(amountShown(receipt.advance()));
    showMoney(texts, shop);
}

void ReceiptPage::showPayment(const Payment& payment, const ShopLines& shop)
{
    MoneyPageTexts texts{payment.number.isEmpty(), tr("PAYMENT VOUCHER"),
                         tr("Voucher No.: %1        Date: %2").arg(payment.number, DateText(payment.date)),
                         tr("Paid to %1 the sum of Rs. %2").arg(payment.supplierName, amountShown(payment.amount)),
                         payment.amount, PaymentModeName(payment.mode), payment.reference, payment.bank, {},
                         payment.cancellation};
    for (const Allotment& a : payment.allotments)
        texts.allotted << tr("Against bill %1: Rs. %2").arg(a.invoiceNumber, amountShown(a.amount));
    if (!texts.blank && payment.advance() != 0)
        texts.allotted << tr("Kept as advance to the supplier: Rs. %1").arg(amountShown(payment.advance()));
    showMoney(texts, shop);
}

void ReceiptPage::showMoney(const MoneyPageTexts& texts, const ShopLines& shop)
{
    const bool blank = texts.blank;
    lblShop->setText(shop.gstin.isEmpty() || shop.gstin == QLatin1String("N.A.")
                         ? shop.name
                         : tr("%1\nGSTIN: %2").arg(shop.name, shop.gstin));
    lblTitle->setText(texts.title);
    lblNumber->setText(blank ? QString() : texts.numberLine);
    lblReceived->setText(blank ? QString() : texts.movedLine);
    lblWords->setText(blank ? QString() : QStringLiteral("(%1)").arg(AmountInWords(ToRupees(texts.amount)).trimmed()));
    QStringList mode{texts.mode};
    if (!texts.reference.trimmed().isEmpty())
        mode << tr("Ref. %1").arg(texts.reference.trimmed());
    if (!texts.bank.trimmed().isEmpty())
        mode << texts.bank.trimmed();
    lblMode->setText(blank ? QString() : tr("By: %1").arg(mode.join(QStringLiteral(", "))));
    lblAllotted->setText(texts.allotted.join(QLatin1Char('\n')));
    lblCancelled->setText(texts.cancellation
                              ? tr("CANCELLED on %1: %2").arg(DateText(texts.cancellation->date), texts.cancellation->reason)
                              : QString());
    lblCancelled->setVisible(texts.cancellation.has_value());
    lblSignature->setText(blank ? QString() : tr("For %1\n\n\nAuthorised Signatory").arg(shop.name));
    if (layout())
        layout()->activate();
}

QString ReceiptPage::text() const
{
    QStringList texts;
    for (const QLabel* label : {lblShop, lblTitle, lblNumber, lblReceived, lblWords, lblMode, lblAllotted,
                                lblCancelled, lblSignature})
        if (label->isVisibleTo(this) && !label->text().isEmpty())
            texts << label->text();
    return texts.join(QLatin1Char('\n'));
}

} // namespace zelva
