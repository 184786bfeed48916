#pragma once
// What receipts from buyers and payments to suppliers have in common, kept in
// one place: each is money on a day by a mode, under its own number series,
// allotted to open documents (invoices or bills) with the rest an advance;
// never edited, only cancelled. A MoneyBook names the tables and words of one
// kind; the checks, the save of the record with its allotments and its audit
// line, the read and the cancellation are written once here for both.
#include "data/schema.h"
#include "data/serials.h"
#include "sales/receipt.h"

#include <QHash>
#include <QVariant>

namespace zelva {

class Database;

// The words a kind of money uses in its messages.
struct MoneyWords {
    QString noun;         // "receipt"
    QString party;        // "buyer"
    QString partyBox;     // "Buyer"
    QString moved;        // "received"
    QString movedFromTo;  // "received from"
    QString document;     // "invoice"
};

// The tables and columns of one kind of money. Its record, allotment and
// cancellation tables share one shape: (sno, number, ...).
struct MoneyBook {
    DbFile file;
    QString table;          // "Receipt"
    QString allotmentTable; // "ReceiptAllotment"
    QString cancelledTable; // "CancelledReceipt"
    QString numberColumn;   // "ReceiptNo"
    QString dateColumn;     // "ReceiptDate"
    QString partyCodeColumn; // "bid"
    QString partyNameColumn; // "BuyerName"
    QString documentSerialColumn; // "InvoiceSno"
    QString documentNumberColumn; // "InvoiceNo"
    CodeKind kind;
    MoneyWords words;
};

// One record of money as its tables hold it.
struct MoneyEntry {
    qint64 serial = 0;
    QString number;
    QDate date;
    QString time;
    QVariant partyCode; // a buyer's code (text) or a supplier's serial
    QString partyName;
    PaymentMode mode = PaymentMode::Cash;
    QString reference;
    QString bank;
    Paise amount = 0;
    std::vector<Allotment> allotments;
    QString enteredBy;
    std::optional<ReceiptCancellation> cancellation;
};

// Why the money cannot be saved as it stands, naming the box ("" when it
// can): no party, a date that is no date or after today, an amount of
// nothing or less, a cheque without its number, an allotment below nothing,
// or more allotted than the amount.
QString MoneyRefusal(const MoneyWords& words, bool partyChosen, const MoneyEntry& entry, const QDate& today);
// The refusal of a date typed that names no day, the typed text quoted.
QString MoneyDateRefusal(const MoneyWords& words, const QString& typed);

// Why an allotment cannot stand against what is left on each document now
// (by its serial); "" when all can.
QString OverAllotted(const MoneyWords& words, const std::vector<Allotment>& allotments, QHash<qint64, Paise> left);

struct StoredMoney {
    qint64 serial = 0;
    QString number;
};

// Writes the record (under its serial or the next free one of its series),
// its allotments and its audit line inside the caller's transaction.
StoredMoney InsertMoneyEntry(Database& db, const MoneyBook& book, const MoneyEntry& entry);
void InsertMoneyAllotment(Database& db, const MoneyBook& book, qint64 serial, const QString& number,
                          const Allotment& allotment);
// The record of that number as saved, with its allotments and mark; nothing
// when there is none. Throws DataError.
std::optional<MoneyEntry> LoadMoneyEntry(Database& db, const MoneyBook& book, const QString& number);
// Marks the record cancelled inside the caller's transaction (what else the
// cancellation undoes lands with it: sales/bankstore.h, CancelMoney); "" when
// cancelled, else why not, with nothing changed. Throws DataError.
QString CancelMoneyEntryWithin(Database& db, const MoneyBook& book, const QString& number,
                               const ReceiptCancellation& mark);
// The number the next record of the book will take. Throws DataError.
QString NextMoneyNumber(Database& db, const MoneyBook& book);
// "\"Invoice\".\"Receipt\"" and the like.
QString MoneyTable(const MoneyBook& book, const QString& table);

} // namespace zelva
