#include "sales/payment.h"

#include "sales/moneybook.h"

namespace zelva {

Paise Payment::allotted() const { return AllottedSum(allotments); }

QString PaymentRefusal(const Payment& payment, const QDate& today)
{
    return MoneyRefusal(PaymentBook().words, payment.supplierSerial > 0 || !payment.supplierName.trimmed().isEmpty(),
                        PaymentEntry(payment), today);
}

const MoneyBook& PaymentBook()
{
    static const MoneyBook book{DbFile::PurchaseMaster,
                                QStringLiteral("Payment"),
                                QStringLiteral("PaymentAllotment"),
                                QStringLiteral("CancelledPayment"),
                                QStringLiteral("PaymentNo"),
                                QStringLiteral("PaymentDate"),
                                QStringLiteral("SupplierSno"),
                                QStringLiteral("SupplierName"),
                                QStringLiteral("BillSno"),
                                QStringLiteral("BillNo"),
                                CodeKind::Payment,
                                {QStringLiteral("payment"), QStringLiteral("supplier"), QStringLiteral("Supplier"),
                                 QStringLiteral("paid"), QStringLiteral("paid to"), QStringLiteral("bill")}};
    return book;
}

MoneyEntry PaymentEntry(const Payment& payment)
{
    return {payment.serial,       payment.number, payment.date,      payment.time,
            payment.supplierSerial, payment.supplierName, payment.mode, payment.reference,
            payment.bank,         payment.amount, payment.allotments, payment.enteredBy,
            payment.cancellation};
}

Payment PaymentOfEntry(const MoneyEntry& entry)
{
    Payment payment;
    payment.serial = entry.serial;
    payment.number = entry.number;
    payment.date = entry.date;
    payment.time = entry.time;
    payment.supplierSerial = entry.partyCode.toLongLong();
    payment.supplierName = entry.partyName;
    payment.mode = entry.mode;
    payment.reference = entry.reference;
    payment.bank = entry.bank;
    payment.amount = entry.amount;
    payment.allotments = entry.allotments;
    payment.enteredBy = entry.enteredBy;
    payment.cancellation = entry.cancellation;
    return payment;
}

} // namespace zelva
