#include "payments/frmpayment.h"

#include "platform/datetext.h"
#include "sales/payable.h"
#include "sales/purchasebill.h"

namespace zelva {

namespace {

MoneyFormSetup paymentSetup()
{
    return {MoneyKind::Payment,
            PaymentBook(),
            "txtPaymentNo",
            "cboSupplierName",
            "grdBills",
            "cmdCancelPayment",
            "pageVoucher",
            QObject::tr("Payment"),
            QObject::tr("Voucher No."),
            QObject::tr("Supp&lier"),
            QObject::tr("Bill No."),
            QObject::tr("Allot the amount to the oldest bills first"),
            QObject::tr("Save the payment"),
            QObject::tr("Print the voucher shown (PDF when there is no printer)"),
            QObject::tr("Cancel Pa&yment"),
            QObject::tr("Cancel the payment of the number typed: its allotments are freed"),
            QObject::tr("Payme&nt to cancel"),
            QObject::tr("V00001"),
            QObject::tr("Choose the supplier"),
            QObject::tr("The shop owes %1 (%2 open, advance %3)"),
            QObject::tr("1 bill"),
            QObject::tr("%1 bills"),
            QObject::tr("%1 is more than the %2 the shop owes the supplier. Keep the %3 beyond it as an advance to the "
                        "supplier, for its later bills?"),
            QObject::tr("Save a payment first: the voucher shows the payment to print."),
            QObject::tr("Cancel payment %1 to %2 for %3?\n\n%4It stays under its number, marked cancelled, and the "
                        "bills it paid are owed again. This cannot be undone."),
            QObject::tr("Payment %1 is cancelled: the bills it paid are owed again.")};
}

} // namespace

frmPayment::frmPayment(Database& db, QString operatorName, QWidget* parent)
    : MoneyForm(db, std::move(operatorName), paymentSetup(), parent)
    , txtPaymentNo(m_number)
    , cboSupplierName(m_party)
    , grdBills(m_grid)
    , cmdCancelPayment(m_cancel)
    , pageVoucher(m_page)
{
    start();
}

// The supplier list, then any supplier not on it that bills or payments name.
QStringList frmPayment::loadParties()
{
    m_suppliers.clear();
    for (const ListedSupplier& s : LoadSupplierList(db()))
        m_suppliers.push_back({s.serial, s.name});
    const Payables payables = WhatIsPayable(db());
    QStringList others;
    for (auto name = payables.supplierNames.constBegin(); name != payables.supplierNames.constEnd(); ++name)
        if (!name.key().startsWith(QLatin1Char('#')))
            others << name.value();
    others.sort();
    for (const QString& name : others)
        m_suppliers.push_back({0, name});
    QStringList names;
    for (const SupplierChoice& s : m_suppliers)
        names << s.name;
    return names;
}

MoneyForm::PartyOpen frmPayment::openOf(int party)
{
    const QString key = SupplierKey(m_suppliers[std::size_t(party)].serial, m_suppliers[std::size_t(party)].name);
    const Payables payables = WhatIsPayable(db(), {key, std::nullopt});
    PartyOpen open;
    for (const OwedBill& b : payables.open)
        if (b.left() > 0 && b.serial != 0)
            open.open.push_back({b.serial, b.number, DateText(b.date), b.left(), b.amount});
    open.advance = payables.advance.value(key);
    return open;
}

void frmPayment::setParty(int party, MoneyEntry& entry) const
{
    entry.partyCode = m_suppliers[std::size_t(party)].serial;
    entry.partyName = m_suppliers[std::size_t(party)].name;
}

QString frmPayment::refusalOf(const MoneyEntry& entry, const QDate& today) const
{
    return PaymentRefusal(PaymentOfEntry(entry), today);
}

MoneyForm::Stored frmPayment::store(const MoneyEntry& entry, const QDate& today)
{
    const StoredPayment stored = StorePayment(db(), PaymentOfEntry(entry), today);
    return {stored.serial, stored.number, stored.refusal};
}

void frmPayment::showEntry(const MoneyEntry& entry, const ShopLines& shop)
{
    m_shown = PaymentOfEntry(entry);
    pageVoucher->showPayment(m_shown, shop);
}

} // namespace zelva
