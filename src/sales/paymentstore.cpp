#include "sales/paymentstore.h"

#include "data/database.h"
#include "sales/bankstore.h"
#include "sales/moneybook.h"
#include "sales/payable.h"

namespace zelva {

namespace {

// Why an allotment cannot stand against what is left on the supplier's bills now; "" when all can.
QString overAllotted(Database& db, const Payment& payment)
{
    if (payment.allotments.empty())
        return {};
    const Payables payables = WhatIsPayable(db, {SupplierKey(payment.supplierSerial, payment.supplierName), std::nullopt});
    QHash<qint64, Paise> left;
    for (const OwedBill& b : payables.open)
        if (b.serial != 0)
            left.insert(b.serial, b.left());
    return OverAllotted(PaymentBook().words, payment.allotments, left);
}

} // namespace

StoredPayment StorePayment(Database& db, const Payment& payment, const QDate& today)
{
    Transaction transaction(db, QStringLiteral("save the payment"));
    StoredPayment stored = StorePaymentWithin(db, payment, today);
    if (stored.saved())
        transaction.commit();
    return stored;
}

StoredPayment StorePaymentWithin(Database& db, const Payment& payment, const QDate& today)
{
    StoredPayment stored;
    stored.refusal = PaymentRefusal(payment, today);
    if (stored.refusal.isEmpty())
        stored.refusal = overAllotted(db, payment);
    if (!stored.saved())
        return stored;
    const StoredMoney money = InsertMoneyEntry(db, PaymentBook(), PaymentEntry(payment));
    stored.serial = money.serial;
    stored.number = money.number;
    return stored;
}

std::optional<Payment> LoadPayment(Database& db, const QString& number)
{
    const std::optional<MoneyEntry> entry = LoadMoneyEntry(db, PaymentBook(), number);
    if (!entry)
        return std::nullopt;
    return PaymentOfEntry(*entry);
}

QString CancelPayment(Database& db, const QString& number, const PaymentCancellation& mark)
{
    return CancelMoney(db, MoneyKind::Payment, number, mark);
}

QString NextPaymentNumber(Database& db) { return NextMoneyNumber(db, PaymentBook()); }

} // namespace zelva
