#include "sales/receipt.h"

#include "sales/moneybook.h"

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

Paise AllottedSum(const std::vector<Allotment>& allotments)
{
    Paise sum = 0;
    for (const Allotment& a : allotments)
        sum += a.amount;
    return sum;
}

Paise Receipt::allotted() const { return AllottedSum(allotments); }

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
    MoneyEntry entry = ReceiptEntry(receipt);
    return MoneyRefusal(ReceiptBook().words,
                        !receipt.buyerCode.trimmed().isEmpty() || !receipt.buyerName.trimmed().isEmpty(), entry, today);
}

const MoneyBook& ReceiptBook()
{
    static const MoneyBook book{DbFile::Invoice,
                                QStringLiteral("Receipt"),
                                QStringLiteral("ReceiptAllotment"),
                                QStringLiteral("CancelledReceipt"),
                                QStringLiteral("ReceiptNo"),
                                QStringLiteral("ReceiptDate"),
                                QStringLiteral("bid"),
                                QStringLiteral("BuyerName"),
                                QStringLiteral("InvoiceSno"),
                                QStringLiteral("InvoiceNo"),
                                CodeKind::Receipt,
                                {QStringLiteral("receipt"), QStringLiteral("buyer"), QStringLiteral("Buyer"),
                                 QStringLiteral("received"), QStringLiteral("received from"), QStringLiteral("invoice")}};
    return book;
}

MoneyEntry ReceiptEntry(const Receipt& receipt)
{
    return {receipt.serial,    receipt.number, receipt.date,      receipt.time,       receipt.buyerCode,
            receipt.buyerName, receipt.mode,   receipt.reference, receipt.bank,       receipt.amount,
            receipt.allotments, receipt.enteredBy, receipt.cancellation};
}

Receipt ReceiptOfEntry(const MoneyEntry& entry)
{
    Receipt receipt;
    receipt.serial = entry.serial;
    receipt.number = entry.number;
    receipt.date = entry.date;
    receipt.time = entry.time;
    receipt.buyerCode = entry.partyCode.toString();
    receipt.buyerName = entry.partyName;
    receipt.mode = entry.mode;
    receipt.reference = entry.reference;
    receipt.bank = entry.bank;
    receipt.amount = entry.amount;
    receipt.allotments = entry.allotments;
    receipt.enteredBy = entry.enteredBy;
    receipt.cancellation = entry.cancellation;
    return receipt;
}

} // namespace zelva
