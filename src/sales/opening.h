#pragma once
// Opening balances of a shop that already traded before its books started
// here: the day the books start (kept with the company; the first company's
// is the shop's), and what each buyer owed the shop and the shop each
// supplier on that day, as opening bills: earlier bills with their own
// numbers, dates and amounts (so that they age by their own dates), or one
// amount stored as one bill numbered "Opening" dated the books-start day.
//
// Opening bills are not sales: no GST, no return, no register. They count
// only in what is owed (sales/owed.h: what a buyer owes, the outstanding
// report, the statement, the credit-limit warning, receipts allotted to
// them; sales/payable.h: what the shop owes a supplier). A buyer's opening
// bill is met there as an invoice of serial -sno, so that a receipt's
// allotment names it as it names an invoice; a supplier's as a bill of
// serial -sno.
//
// A party's bills are saved whole, in one transaction, or not at all; a
// bill kept under its number keeps its serial, so allotments to it stand.
#include "platform/money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

enum class PartyKind { Buyer, Supplier };

// The number one opening amount is stored under.
inline const QString OneAmountNumber = QStringLiteral("Opening");

struct OpeningBill {
    qint64 serial = 0; // OpeningBill's sno; 0 for a bill not saved yet
    QString number;
    QDate date;
    Paise amount = 0;
    bool operator==(const OpeningBill&) const = default;
};

// One amount as the one bill it is stored as.
OpeningBill OneOpeningAmount(Paise amount, const QDate& booksStart);

// The day the books start here: the company's (by its serial), the first
// company's; nothing when none is set. Throws DataError.
std::optional<QDate> BooksStartDayOf(Database& db, qint64 companySerial);
std::optional<QDate> BooksStartDay(Database& db);
// Why the company's books-start day cannot be that day ("" when it can): the
// shop's (the first company's) cleared or set before an opening bill's date
// while opening bills are kept. Throws DataError.
QString BooksStartRefusal(Database& db, qint64 companySerial, const std::optional<QDate>& day);
// Sets or (nothing) clears it inside the caller's open transaction (the
// company's own save). Throws DataError.
void StoreBooksStartDayWithin(Database& db, qint64 companySerial, const std::optional<QDate>& day);

// Why the bills cannot be saved as they stand, naming the bill and its box
// ("" when they can): no books-start day, a bill without its date or dated
// after the books-start day, an amount of nothing or less, a number twice.
QString OpeningBillsRefusal(const std::vector<OpeningBill>& bills, const std::optional<QDate>& booksStart);

// The party's opening bills (by its code: a buyer's bid, a supplier's
// SupplierId), oldest first. Throws DataError.
std::vector<OpeningBill> LoadOpeningBills(Database& db, PartyKind kind, const QString& partyCode);
// Saves them in place of the party's bills, whole or not at all; "" when
// saved, else why not (nothing changed). Throws DataError, with nothing saved.
QString StoreOpeningBills(Database& db, PartyKind kind, const QString& partyCode, const std::vector<OpeningBill>& bills);
// The same inside the caller's open transaction: a refusal writes nothing
// (it comes before the first write).
QString StoreOpeningBillsWithin(Database& db, PartyKind kind, const QString& partyCode,
                                const std::vector<OpeningBill>& bills);

// An opening bill with the party it is owed by or to, as the readers of what
// is owed meet it.
struct PartyOpeningBill {
    OpeningBill bill;
    QString dateText; // as stored
    QString partyCode;
    qint64 partySerial = 0; // 0 when the code is on no list
    QString partyName;      // the code when it is on no list
};
// The opening bills of one kind (of one party only, by its code, when asked;
// dated on or before asAt only, when asked), oldest first. Throws DataError.
std::vector<PartyOpeningBill> OpeningBillsOf(Database& db, PartyKind kind, const std::optional<QString>& partyCode = {},
                                             const std::optional<QDate>& asAt = {});

} // namespace zelva
