#include "payments/frmreceipt.h"

#include "sales/owed.h"

namespace zelva {

namespace {

MoneyFormSetup receiptSetup()
{
    return {MoneyKind::Receipt,
            ReceiptBook(),
            "txtReceiptNo",
            "cboBuyerName",
            "grdInvoices",
            "cmdCancelReceipt",
            "pageReceipt",
            QObject::tr("Receipt"),
            QObject::tr("Receipt No."),
            QObject::tr("&Buyer"),
            QObject::tr("Invoice No."),
            QObject::tr("Allot the amount to the oldest invoices first"),
            QObject::tr("Save the receipt"),
            QObject::tr("Print the receipt shown (PDF when there is no printer)"),
            QObject::tr("Cance&l Receipt"),
            QObject::tr("Cancel the receipt of the number typed: its allotments are freed"),
            QObject::tr("Receipt to cancel"),
            QObject::tr("R00001"),
            QObject::tr("Choose the buyer"),
            QObject::tr("The buyer owes %1 (%2 open, advance %3)"),
            QObject::tr("1 invoice"),
            QObject::tr("%1 invoices"),
            QObject::tr("%1 is more than the %2 the buyer owes. Keep the %3 beyond it as the buyer's advance, for its "
                        "later invoices?"),
            QObject::tr("Save a receipt first: the page shows the receipt to print."),
            QObject::tr("Cancel receipt %1 of %2 for %3?\n\n%4It stays under its number, marked cancelled, and the "
                        "invoices it paid are owed again. This cannot be undone."),
            QObject::tr("Receipt %1 is cancelled: the invoices it paid are owed again.")};
}

} // namespace

frmReceipt::frmReceipt(Database& db, QString operatorName, QWidget* parent)
    : MoneyForm(db, std::move(operatorName), receiptSetup(), parent)
    , txtReceiptNo(m_number)
    , cboBuyerName(m_party)
    , grdInvoices(m_grid)
    , cmdCancelReceipt(m_cancel)
    , pageReceipt(m_page)
{
    start();
}

QStringList frmReceipt::loadParties()
{
    m_buyers = BuyersToChoose(db());
    QStringList names;
    for (const BuyerChoice& buyer : m_buyers)
        names << QStringLiteral("%1 (%2)").arg(buyer.name, buyer.code);
    return names;
}

MoneyForm::PartyOpen frmReceipt::openOf(int party)
{
    const BuyerChoice& buyer = m_buyers[std::size_t(party)];
    const Owed owed = WhatIsOwed(db(), {BuyerKey(buyer.code, buyer.name), std::nullopt});
    PartyOpen open;
    for (const OwedInvoice& i : owed.open)
        if (i.left() > 0)
            open.open.push_back({i.serial, i.number, i.dateText, i.left(), i.amount});
    open.advance = owed.advance.value(BuyerKey(buyer.code, buyer.name));
    return open;
}

void frmReceipt::setParty(int party, MoneyEntry& entry) const
{
    entry.partyCode = m_buyers[std::size_t(party)].code;
    entry.partyName = m_buyers[std::size_t(party)].name;
}

QString frmReceipt::refusalOf(const MoneyEntry& entry, const QDate& today) const
{
    return ReceiptRefusal(ReceiptOfEntry(entry), today);
}

MoneyForm::Stored frmReceipt::store(const MoneyEntry& entry, const QDate& today)
{
    const StoredReceipt stored = StoreReceipt(db(), ReceiptOfEntry(entry), today);
    return {stored.serial, stored.number, stored.refusal};
}

void frmReceipt::showEntry(const MoneyEntry& entry, const ShopLines& shop)
{
    m_shown = ReceiptOfEntry(entry);
    pageReceipt->showReceipt(m_shown, shop);
}

} // namespace zelva
