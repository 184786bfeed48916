#include "sales/receipt.h"

#include "platform/datetext.h"

#include <algorithm>

namespace zelva {

const QStringList& PaymentModeNames()
{
    static const QStringList names{QStringLiteral("Cash"), QStringLiteral("UPI"), QStringLiteral("Cheque"),
                                   QStringLiteral("Bank transfer"), QStringLiteral("Card")};
    return names;
}

QString PaymentModeName(PaymentMode mode) { return PaymentModeNames().value(int(mode)); }

PaymentMode PaymentModeNamed(const QString& name)
{
    const qsizetype at = PaymentModeNames().indexOf(name);
    return at < 0 ? PaymentMode::Cash : PaymentMode(at);
}

Paise Receipt::allotted() const
{
    Paise sum = 0;
    for (const Allotment& a : allotments)
        sum += a.amount;
    return sum;
}

std::vector<Allotment> AllotOldestFirst(const std::vector<OpenInvoice>& open, Paise amount)
{
    std::vector<Allotment> allotments;
    for (const OpenInvoice& invoice : open) {
        if (amount <= 0)
            break;
        const Paise share = std::min(amount, invoice.left);
        if (share <= 0)
            continue;
        allotments.push_back({invoice.serial, invoice.number, share});
        amount -= share;
    }
    return allotments;
}

QString ReceiptRefusal(const Receipt& receipt, const QDate& today)
{
    if (receipt.buyerCode.trimmed().isEmpty() && receipt.buyerName.trimmed().isEmpty())
        return QStringLiteral("Choose the buyer the money is received from (Buyer).");
    const QDate date = ReadDateText(receipt.date);
    if (!date.isValid())
        return QStringLiteral("The receipt date \"%1\" is not a date: type it as dd/mm/yyyy (Date).").arg(receipt.date);
    if (date > today)
        return QStringLiteral("The receipt date %1 is after today: money cannot be received in the future (Date).")
            .arg(receipt.date);
    if (receipt.amount <= 0)
        return QStringLiteral("The amount received must be more than nothing (Amount).");
    if (receipt.mode == PaymentMode::Cheque && receipt.reference.trimmed().isEmpty())
        return QStringLiteral("Give the cheque's number for a payment by cheque (Reference).");
    for (const Allotment& a : receipt.allotments)
        if (a.amount < 0)
            return QStringLiteral("The amount allotted to invoice %1 is below nothing (Allotted).").arg(a.invoiceNumber);
    if (receipt.allotted() > receipt.amount)
        return QStringLiteral("%1 is allotted to invoices, more than the %2 received (Allotted).")
            .arg(AmountText(receipt.allotted()), AmountText(receipt.amount));
    return {};
}

} // namespace zelva
