#include "sales/receiptstore.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "sales/bankstore.h"
#include "sales/moneybook.h"
#include "sales/owed.h"

#include <QHash>
#include <QSqlQuery>

namespace zelva {

namespace {

const QString SaveOperation = QStringLiteral("save the receipt");

// Why an allotment cannot stand against what the buyer owes now; "" when all can.
QString overAllotted(Database& db, const Receipt& receipt)
{
    if (receipt.allotments.empty())
        return {};
    const Owed owed = WhatIsOwed(db, {BuyerKey(receipt.buyerCode, receipt.buyerName), std::nullopt});
    QHash<qint64, Paise> left;
    for (const OwedInvoice& i : owed.open)
        left.insert(i.serial, i.left());
    return OverAllotted(ReceiptBook().words, receipt.allotments, left);
}

} // namespace

StoredReceipt StoreReceipt(Database& db, const Receipt& receipt, const QDate& today)
{
    Transaction transaction(db, SaveOperation);
    StoredReceipt stored = StoreReceiptWithin(db, receipt, today);
    if (stored.saved())
        transaction.commit();
    return stored;
}

StoredReceipt StoreReceiptWithin(Database& db, const Receipt& receipt, const QDate& today)
{
    StoredReceipt stored;
    stored.refusal = ReceiptRefusal(receipt, today);
    if (stored.refusal.isEmpty())
        stored.refusal = overAllotted(db, receipt);
    if (!stored.saved())
        return stored;
    const StoredMoney money = InsertMoneyEntry(db, ReceiptBook(), ReceiptEntry(receipt));
    stored.serial = money.serial;
    stored.number = money.number;
    return stored;
}

std::optional<Receipt> LoadReceipt(Database& db, const QString& number)
{
    const std::optional<MoneyEntry> entry = LoadMoneyEntry(db, ReceiptBook(), number);
    if (!entry)
        return std::nullopt;
    return ReceiptOfEntry(*entry);
}

QString CancelReceipt(Database& db, const QString& number, const ReceiptCancellation& mark)
{
    return CancelMoney(db, MoneyKind::Receipt, number, mark);
}

QString PaidNowRefusal(const PaidNow& paid)
{
    if (paid.mode == PaymentMode::Cheque && paid.reference.trimmed().isEmpty())
        return QStringLiteral("Give the cheque's number for an invoice paid now by cheque (Paid now: Reference).");
    return {};
}

std::vector<BuyerChoice> BuyersToChoose(Database& db)
{
    QSqlQuery rows = db.run(QStringLiteral("SELECT sno, bid, Name, Gstin FROM \"%1\".\"CustomerDetails\" WHERE sno <> 0 "
                                           "ORDER BY rowid")
                                .arg(SchemaName(DbFile::Customer)),
                            {}, QStringLiteral("read the buyers"), DbFile::Customer);
    std::vector<BuyerChoice> buyers;
    while (rows.next())
        buyers.push_back({rows.value(0).toLongLong(), rows.value(1).toString(), rows.value(2).toString(),
                          rows.value(3).toString()});
    return buyers;
}

void AllotAdvanceWithin(Database& db, const QString& buyerKey)
{
    if (AdvanceHeld(db, buyerKey) <= 0)
        return; // most sales: nothing to read further
    const Owed owed = WhatIsOwed(db, {buyerKey, std::nullopt});
    if (owed.advances.empty())
        return;
    std::vector<OpenInvoice> open;
    for (const OwedInvoice& i : owed.open)
        if (i.left() > 0)
            open.push_back({i.serial, i.number, i.dateText, i.left(), i.amount});
    for (const Owed::Advance& advance : owed.advances) {
        if (advance.amount <= 0)
            continue;
        for (const Allotment& a : AllotOldestFirst(open, advance.amount)) {
            InsertMoneyAllotment(db, ReceiptBook(), advance.receiptSerial, advance.receiptNumber, a);
            for (OpenInvoice& i : open)
                if (i.serial == a.invoiceSerial)
                    i.left -= a.amount;
        }
    }
}

StoredSale StoreSale(Database& db, const Invoice& invoice, Renumber renumber, const std::optional<PaidNow>& paid,
                     const QString& enteredBy)
{
    Transaction transaction(db, QStringLiteral("save the invoice"));
    StoredSale sale;
    sale.invoice = StoreInvoiceWithin(db, invoice, renumber);
    if (paid && invoice.totals.grand > 0) {
        Receipt receipt;
        receipt.date = invoice.date;
        receipt.time = invoice.time;
        receipt.buyerCode = invoice.buyerCode;
        receipt.buyerName = invoice.buyer.name;
        receipt.mode = paid->mode;
        receipt.reference = paid->reference;
        receipt.bank = paid->bank;
        receipt.amount = invoice.totals.grand;
        receipt.enteredBy = enteredBy;
        receipt.allotments = {{sale.invoice.serial, sale.invoice.number, invoice.totals.grand}};
        // paid on the invoice's own day, whatever the clock says
        const QDate day = std::max(QDate::currentDate(), invoice.date);
        const StoredReceipt stored = StoreReceiptWithin(db, receipt, day);
        if (!stored.saved())
            throw DataError(QStringLiteral("save the invoice's receipt"), RelativePath(DbFile::Invoice), stored.refusal);
        sale.receiptNumber = stored.number;
    }
    AllotAdvanceWithin(db, BuyerKey(invoice.buyerCode, invoice.buyer.name));
    transaction.commit();
    return sale;
}

} // namespace zelva
