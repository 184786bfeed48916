#pragma once
// The one keeping of bank statements: each bank's columns, the lines
// imported, and the lines confirmed as a receipt or a payment.
//
// A statement imported again adds nothing of what is kept: each line is
// recognised by its key (StatementLineKey: day, amounts, balance and
// reference), so an overlapping or repeated file adds only its new lines.
// A line kept before that comes back changed (the same day, reference and
// balance with other amounts) refuses the import, naming the line.
//
// A confirmed match, and a receipt or payment made from an unmatched line
// together with its match, land whole or not at all, each with its audit
// entries. A line is matched once; a receipt or payment once.
#include "sales/bankstatement.h"

#include <optional>

namespace zelva {

class Database;

// The banks whose columns are kept, by name, in alphabetical order. Throws DataError.
QStringList BankNames(Database& db);
// The columns kept for the bank (its name as compared); nothing when none. Throws DataError.
std::optional<StatementColumns> LoadBankColumns(Database& db, const QString& bankName);
// Keeps the bank's columns (its name as typed), in place of any kept before.
// Throws DataError.
void StoreBankColumns(Database& db, const StatementColumns& columns);

struct StatementImport {
    int added = 0;
    int alreadyKept = 0;
    QString refusal; // why nothing was imported; "" when imported
    bool imported() const { return refusal.isEmpty(); }
    // "12 lines imported, 28 already there." and the like.
    QString summary() const;
};

// Keeps the statement's lines not kept already, in one transaction. Throws DataError.
StatementImport ImportStatement(Database& db, const QString& bankName, const std::vector<BankLine>& lines);

// The bank's kept lines, oldest first (by day, then as imported). Throws DataError.
std::vector<BankLine> LoadStatementLines(Database& db, const QString& bankName);

// The live receipts and payments by the bank's modes (UPI, cheque, bank
// transfer, card) dated from..to, by date. Throws DataError.
std::vector<BookMoney> BankMoney(Database& db, const QDate& from, const QDate& to);

// The matches kept for the bank's lines. Throws DataError.
std::vector<KeptMatch> KeptMatches(Database& db, const QString& bankName);

// The statement line a receipt or payment is matched to, and its bank's name.
struct MatchedLine {
    BankLine line;
    QString bankName;
};
// Nothing when the money is matched to no line. Throws DataError.
std::optional<MatchedLine> LineMatchedTo(Database& db, MoneyKind kind, const QString& number);
// "Receipt R00001 is matched to the bank statement line of 05/11/2026 (HDFC
// Bank, UTR 4410002, 3,688.08): cancelling leaves that line unmatched."
QString MatchedLineWarning(MoneyKind kind, const QString& number, const MatchedLine& matched);
// Marks the receipt or payment cancelled (sales/moneybook.h) and drops its
// match to a statement line, if any, with their audit entries, in one
// transaction: the line is unmatched again. "" when cancelled, else why not,
// with nothing changed. Throws DataError.
QString CancelMoney(Database& db, MoneyKind kind, const QString& number, const ReceiptCancellation& mark);

// Confirms the line (its serial) as the receipt or payment of that number:
// "" when kept, else why not (a line already matched, a receipt matched to
// another line, one cancelled, a debit given a receipt, amounts that
// differ), with nothing kept. Throws DataError.
QString ConfirmMatch(Database& db, qint64 lineSerial, MoneyKind kind, const QString& number);

struct MadeFromLine {
    QString number;  // the receipt's or payment's number; "" when refused
    QString refusal; // why nothing was saved
    bool made() const { return refusal.isEmpty(); }
};

// An unmatched credit made into a receipt from the buyer (its code and
// name), dated the line's day, of its amount, by the mode its narration
// names (UPI, else bank transfer), with its reference and the bank's name;
// allotted to the buyer's open invoices oldest first, the rest an advance;
// kept matched to the line, all in one transaction. Throws DataError.
MadeFromLine MakeReceiptFromLine(Database& db, qint64 lineSerial, const QString& buyerCode, const QString& buyerName,
                                 const QString& enteredBy, const QDate& today);
// An unmatched debit made into a payment to the supplier the same way.
MadeFromLine MakePaymentFromLine(Database& db, qint64 lineSerial, qint64 supplierSerial, const QString& supplierName,
                                 const QString& enteredBy, const QDate& today);

} // namespace zelva
