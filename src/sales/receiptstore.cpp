#include "sales/receiptstore.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "sales/owed.h"

#include <QHash>
#include <QSqlQuery>

namespace zelva {

namespace {

const QString SaveOperation = QStringLiteral("save the receipt");
const QString ReadOperation = QStringLiteral("read the receipt");
const QString CancelOperation = QStringLiteral("cancel the receipt");

QString invoiceTable(const char* table)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(table));
}

void insertAllotment(Database& db, qint64 receiptSerial, const QString& receiptNumber, const Allotment& a)
{
    db.run(QStringLiteral("INSERT INTO %1 (sno, ReceiptNo, InvoiceSno, InvoiceNo, AmountPaise) VALUES (?, ?, ?, ?, ?)")
               .arg(invoiceTable("ReceiptAllotment")),
           {receiptSerial, receiptNumber, a.invoiceSerial, a.invoiceNumber, a.amount}, SaveOperation, DbFile::Invoice);
}

// Why an allotment cannot stand against what the buyer owes now; "" when all can.
QString overAllotted(Database& db, const Receipt& receipt)
{
    if (receipt.allotments.empty())
        return {};
    const Owed owed = WhatIsOwed(db, {BuyerKey(receipt.buyerCode, receipt.buyerName), std::nullopt});
    QHash<qint64, Paise> left;
    for (const OwedInvoice& i : owed.open)
        left.insert(i.serial, i.left());
    for (const Allotment& a : receipt.allotments) {
        if (a.amount == 0)
            continue;
        const Paise canTake = left.value(a.invoiceSerial);
        if (a.amount > canTake)
            return QStringLiteral("Invoice %1 has only %2 left to pay now, less than the %3 allotted to it (another "
                                  "receipt may have been saved against it meanwhile). Nothing is saved: show the "
                                  "buyer's invoices again and allot anew.")
                .arg(a.invoiceNumber, AmountText(std::max<Paise>(canTake, 0)), AmountText(a.amount));
        left[a.invoiceSerial] = canTake - a.amount; // one invoice listed twice takes no more than is left
    }
    return {};
}

Receipt receiptOf(const QSqlQuery& r)
{
    Receipt receipt;
    receipt.serial = r.value(0).toLongLong();
    receipt.number = r.value(1).toString();
    receipt.date = r.value(2).toString();
    receipt.time = r.value(3).toString();
    receipt.buyerCode = r.value(4).toString();
    receipt.buyerName = r.value(5).toString();
    receipt.mode = PaymentModeNamed(r.value(6).toString());
    receipt.reference = r.value(7).toString();
    receipt.bank = r.value(8).toString();
    receipt.amount = r.value(9).toLongLong();
    receipt.enteredBy = r.value(10).toString();
    return receipt;
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
    stored.serial = FreeSerial(db, DbFile::Invoice, QStringLiteral("Receipt"), QStringLiteral("sno"),
                               QStringLiteral("ReceiptNo"), CodeKind::Receipt, std::max<qint64>(receipt.serial, 1));
    stored.number = RecordCode(CodeKind::Receipt, stored.serial);
    db.run(QStringLiteral("INSERT INTO %1 (sno, ReceiptNo, ReceiptDate, Time, bid, BuyerName, Mode, Reference, Bank, "
                          "AmountPaise, EnteredBy) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(invoiceTable("Receipt")),
           {stored.serial, stored.number, receipt.date, receipt.time, receipt.buyerCode, receipt.buyerName,
            PaymentModeName(receipt.mode), receipt.reference.trimmed(), receipt.bank.trimmed(), receipt.amount,
            receipt.enteredBy},
           SaveOperation, DbFile::Invoice);
    for (const Allotment& a : receipt.allotments)
        if (a.amount != 0)
            insertAllotment(db, stored.serial, stored.number, a);
    LogChange(db, QStringLiteral("Receipt"), stored.number, AuditAction::Added,
              {{QStringLiteral("AmountPaise"), {}, AmountText(receipt.amount)}});
    return stored;
}

std::optional<Receipt> LoadReceipt(Database& db, const QString& number)
{
    QSqlQuery r = db.run(QStringLiteral("SELECT sno, ReceiptNo, ReceiptDate, Time, bid, BuyerName, Mode, Reference, "
                                        "Bank, AmountPaise, EnteredBy FROM %1 WHERE ReceiptNo = ?")
                             .arg(invoiceTable("Receipt")),
                         {number}, ReadOperation, DbFile::Invoice);
    if (!r.next())
        return std::nullopt;
    Receipt receipt = receiptOf(r);
    r.finish();
    QSqlQuery a = db.run(QStringLiteral("SELECT InvoiceSno, InvoiceNo, AmountPaise FROM %1 WHERE sno = ? ORDER BY rowid")
                             .arg(invoiceTable("ReceiptAllotment")),
                         {receipt.serial}, ReadOperation, DbFile::Invoice);
    while (a.next())
        receipt.allotments.push_back({a.value(0).toLongLong(), a.value(1).toString(), a.value(2).toLongLong()});
    a.finish();
    QSqlQuery mark = db.run(QStringLiteral("SELECT CancelDate, CancelTime, Reason, CancelledBy FROM %1 WHERE sno = ?")
                                .arg(invoiceTable("CancelledReceipt")),
                            {receipt.serial}, ReadOperation, DbFile::Invoice);
    if (mark.next())
        receipt.cancellation = ReceiptCancellation{mark.value(0).toString(), mark.value(1).toString(),
                                                   mark.value(2).toString(), mark.value(3).toString()};
    return receipt;
}

QString CancelReceipt(Database& db, const QString& number, const ReceiptCancellation& mark)
{
    if (mark.reason.trimmed().isEmpty())
        return QStringLiteral("Give the reason the receipt is cancelled (Reason).");
    Transaction transaction(db, CancelOperation);
    const std::optional<Receipt> receipt = LoadReceipt(db, number);
    if (!receipt)
        return QStringLiteral("There is no saved receipt %1.").arg(number);
    if (receipt->cancelled())
        return QStringLiteral("Receipt %1 is already cancelled (on %2 by %3).")
            .arg(number, receipt->cancellation->date, receipt->cancellation->by);
    db.run(QStringLiteral("INSERT INTO %1 (sno, ReceiptNo, CancelDate, CancelTime, Reason, CancelledBy) VALUES (?, ?, "
                          "?, ?, ?, ?)")
               .arg(invoiceTable("CancelledReceipt")),
           {receipt->serial, receipt->number, mark.date, mark.time, mark.reason.trimmed(), mark.by}, CancelOperation,
           DbFile::Invoice);
    LogChange(db, QStringLiteral("Receipt"), receipt->number, AuditAction::Cancelled,
              {{QStringLiteral("Reason"), {}, mark.reason.trimmed()}});
    transaction.commit();
    return {};
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
            insertAllotment(db, advance.receiptSerial, advance.receiptNumber, a);
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
        const QDate day = std::max(QDate::currentDate(), ReadDateText(invoice.date));
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
