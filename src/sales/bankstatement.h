#pragma once
// A bank's statement as values free of any window: its lines read from the
// cells of a CSV file or a workbook's sheet by the columns mapped for that
// bank, the check that its running balance runs, and the matching of its
// lines to the receipts (credits) and payments (debits) the books hold.
//
// Matching, in this order, each receipt or payment to one line at most:
// - a match confirmed before stays (kept in the store, sales/bankstore.h);
// - by reference: the line's reference, or a word of its narration, is the
//   UTR or cheque number of exactly one receipt (credit) or payment (debit)
//   of the same amount: matched. A reference that two or more name, or one
//   whose amount differs, is only suggested, with a note;
// - by amount: receipts or payments of the same amount dated within
//   MatchDays of the line are suggested, the nearest day first.
// Both are found through hash maps (by reference, by amount), so a
// statement of thousands of lines against tens of thousands of receipts
// matches in a moment.
#include "platform/money.h"
#include "sales/receipt.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace zelva {

// The header of each column a bank's statement is read from, as the bank
// writes it (compared without letter case and blanks around). Debit and
// credit may name one column whose amounts carry "Dr" or "Cr".
struct StatementColumns {
    QString bankName;
    QString date;
    QString narration;
    QString reference; // may be "" when the bank writes the UTR in the narration only
    QString debit;
    QString credit;
    QString balance;
    bool operator==(const StatementColumns&) const = default;
};

// The columns' names as messages and the mapping grid show them.
QStringList StatementColumnNames(); // "Date", "Narration", "Reference", "Debit", "Credit", "Balance"

// The statement's header row (its index; -1 when no row looks like one: the
// first with a cell naming a date and three more cells) and the columns its
// headers most likely are ("Txn Date", "Narration" or "Description",
// "Chq./Ref.No.", "Withdrawal Amt." or "Debit", "Deposit Amt." or "Credit",
// "Closing Balance"), for the operator to check once per bank.
struct GuessedColumns {
    int headerRow = -1;
    StatementColumns columns;
};
GuessedColumns GuessStatementColumns(const std::vector<QStringList>& rows);

struct BankLine {
    qint64 serial = 0; // BankStatementLine's sno once kept; 0 before
    int row = 0;       // the file's row it was read from (1: the first), 0 when read from the store
    QDate date;
    QString narration;
    QString reference;
    Paise debit = 0;
    Paise credit = 0;
    Paise balance = 0;
    bool operator==(const BankLine&) const = default;
};

// "Line 17 (row 19, 05/11/2026)": how messages name a line.
QString StatementLineName(const BankLine& line, int index);

struct ReadStatement {
    std::vector<BankLine> lines; // oldest first, as the balance runs
    QString problem;                  // "" when read whole; nothing is read otherwise
    bool read() const { return problem.isEmpty(); }
};

// The statement's lines from its cells: the header row is the first row
// holding every mapped header; rows below it with a date are lines, a row
// with only a narration continues the line above, rows with neither date
// nor amounts (an opening line, a footer) are passed over. A date that is
// no date, or a text where an amount belongs, refuses the whole statement,
// naming the row and the column. Lines the bank lists newest first are put
// oldest first. The running balance is checked (StatementBalanceProblem).
ReadStatement ParseStatement(const std::vector<QStringList>& rows, const StatementColumns& columns);

// "" when each line's balance is the balance before it plus its credit less
// its debit; else names the first line where it is not, with the figures
// (a line missing or changed in between).
QString StatementBalanceProblem(const std::vector<BankLine>& lines);

// "" when a new statement's first line follows the last line kept of the
// bank's earlier statements: its opening balance (its balance less its credit
// plus its debit) is that line's balance; else names the line, with the
// figures, as StatementBalanceProblem does (a statement or line missing
// between them).
QString OpeningBalanceProblem(const BankLine& lastKept, const BankLine& first);

// The key a statement line is recognised by when it comes again: the bank,
// day, amounts, balance and reference.
QString StatementLineKey(const QString& bankName, const BankLine& line);
// A bank's name as compared ("hdfc bank " is HDFC Bank).
QString BankKeyOf(const QString& bankName);

enum class MoneyKind { Receipt, Payment };

// A receipt or payment as matching sees it.
struct BookMoney {
    MoneyKind kind = MoneyKind::Receipt;
    QString number;
    QDate date;
    QString partyName;
    PaymentMode mode = PaymentMode::BankTransfer;
    QString reference;
    Paise amount = 0;
};

// A line confirmed as a receipt or payment (BankMatch).
struct KeptMatch {
    qint64 lineSerial = 0;
    MoneyKind kind = MoneyKind::Receipt;
    QString number;
};

// How near a receipt's or payment's day must be to the line's to be suggested by amount.
inline constexpr int MatchDays = 3;

enum class MatchState { Kept, Matched, Suggested, Unmatched };
// "Kept", "Matched", "Suggested", "Unmatched".
QString MatchStateName(MatchState state);

struct LineMatch {
    MatchState state = MatchState::Unmatched;
    std::vector<std::size_t> candidates; // into the book money, the likeliest first
    QString note;                        // why a reference was only suggested
};

struct StatementMatch {
    std::vector<LineMatch> lines;          // one per statement line, in their order
    std::vector<std::size_t> unmatchedBook; // book money no line took, in its order
};

StatementMatch MatchStatement(const std::vector<BankLine>& lines, const std::vector<BookMoney>& book,
                              const std::vector<KeptMatch>& kept = {});

// A reference as compared: without blanks and letter case, a number without
// its leading zeros (cheque 000123 is cheque 123).
QString ComparedReference(const QString& reference);

} // namespace zelva
