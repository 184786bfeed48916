#pragma once
// What the buyers owe as at a day, and one buyer's statement of account for a
// period, both worked out from sales/owed.h (what each invoice and buyer
// owes, in one place), with their CSV texts and Excel sheets.
//
// The outstanding report lists, buyer by buyer (by name), each invoice not
// fully paid as at the day: its amount, what was paid by then, the balance,
// the days from the invoice to that day, and the balance again in its ageing
// column (0-30, 31-60, 61-90, over 90 days; an invoice whose date cannot be
// read counts as over 90); then the buyer's advance, if any (what its
// receipts and credit notes hold beyond what they were set against), taken
// off in a column of its own, and the buyer's totals; the overall totals at
// the end. Every row's ageing columns and advance add up to its balance.
// What the shop owes adds a last column: the credit reversed on each bill
// unpaid too long (registers/payables.h), and its totals.
#include "platform/period.h"
#include "registers/xlsxfile.h"
#include "sales/owed.h"

#include <array>

namespace zelva {

class Database;

constexpr int AgeingColumns = 4;

struct OutstandingFigures {
    Paise amount = 0;
    Paise paid = 0;
    Paise balance = 0;
    std::array<Paise, AgeingColumns> ageing{};
    Paise advance = 0; // taken off: 0 or below nothing
    Paise creditToReverse = 0; // input tax reversed while the bill is unpaid too long (payables only)
    void add(const OutstandingFigures& other);
};

struct OutstandingLine {
    QString number;
    QString dateText;
    QDate date;
    int days = -1; // -1: the date cannot be read
    OutstandingFigures figures;
};

struct OutstandingBuyer {
    QString key;
    QString name;
    std::vector<OutstandingLine> lines;
    Paise advance = 0;
    OutstandingFigures totals; // the balance less the advance
    // The advance's own row: its balance and its column, below nothing.
    OutstandingFigures advanceFigures() const { return {0, 0, -advance, {}, -advance}; }
};

// The words the report's columns and sheet use: the buyers' by default,
// the suppliers' for what the shop owes (registers/payables.h).
struct OutstandingWords {
    QString party = QStringLiteral("Buyer");
    QString document = QStringLiteral("Invoice");
    QString advance = QStringLiteral("Advance received");
    QString sheet = QStringLiteral("Outstanding");
    // The caption of the column of the input tax reversed on bills unpaid too
    // long, last on every row; "" for none (what buyers owe).
    QString creditToReverse;
};

struct Outstanding {
    QDate asAt;
    OutstandingWords words;
    std::vector<OutstandingBuyer> buyers;
    OutstandingFigures totals;
};

// The ageing column of an invoice that many days old (0-30: 0, 31-60: 1,
// 61-90: 2, over 90 or unknown: 3).
int AgeingColumn(int days);

// Each party's totals and the report's (lines, then the advance), parties by name.
void AddUpOutstanding(Outstanding& report);

// Throws DataError.
Outstanding LoadOutstanding(Database& db, const QDate& asAt);
QString OutstandingCsv(const Outstanding& outstanding);
XlsxSheet OutstandingSheet(const Outstanding& outstanding);

struct StatementLine {
    QDate date;
    QString dateText;
    QString particulars; // "Invoice A00001", "Receipt R00001 (UPI, UTR 4411)", "Credit Note CN00001 on A00001"
    Paise debit = 0;
    Paise credit = 0;
    Paise balance = 0; // running
};

struct Statement {
    QString buyerKey;
    QString buyerName;
    Period period;
    Paise opening = 0;
    std::vector<StatementLine> lines;
    Paise debits = 0;
    Paise credits = 0;
    Paise closing = 0;
};

// The buyer's account over the period: the balance before its first day,
// each invoice, note and receipt of the period in date order with the running
// balance, the closing balance. Throws DataError.
Statement LoadStatement(Database& db, const QString& buyerKey, const QString& buyerName, const Period& period);
// What the statement's pay QR encodes (sales/companypayment.h): the closing
// balance when the buyer owes, no amount otherwise, noted "Statement" and the
// buyer's key; "" when the company takes no UPI payment.
QString StatementPayText(const Statement& statement, const QString& upiId, const QString& companyName);
QString StatementCsv(const Statement& statement);
XlsxSheet StatementSheet(const Statement& statement);

} // namespace zelva
