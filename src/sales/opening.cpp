#include "sales/opening.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "sales/moneybook.h"
#include "sales/payment.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the opening balances");
const QString SaveOperation = QStringLiteral("save the opening balances");

QString masterTable(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Master), QLatin1String(name));
}

QString kindLetter(PartyKind kind) { return kind == PartyKind::Buyer ? QStringLiteral("B") : QStringLiteral("S"); }

// Numbers are compared without blanks around them and without letter case:
// "b-17 " is B-17 again.
QString comparedNumber(const QString& number) { return number.trimmed().toCaseFolded(); }

QString billKey(PartyKind kind, const QString& partyCode, const QString& number)
{
    return QStringLiteral("%1|%2|%3").arg(kindLetter(kind), partyCode, comparedNumber(number));
}

// The party list a code is looked up in: its serial, code and name columns.
struct PartyList {
    DbFile file;
    const char* table;
    const char* code;
};
PartyList partyList(PartyKind kind)
{
    return kind == PartyKind::Buyer ? PartyList{DbFile::Customer, "CustomerDetails", "bid"}
                                    : PartyList{DbFile::PurchaseMaster, "Supplier", "SupplierId"};
}

QDate dayOfKey(qint64 key) { return key > 0 ? QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)) : QDate(); }

QString billsText(const std::vector<OpeningBill>& bills)
{
    QStringList parts;
    for (const OpeningBill& b : bills)
        parts << QStringLiteral("%1 %2 %3").arg(b.number, DateText(b.date), AmountText(b.amount));
    return parts.join(QStringLiteral("; "));
}

void sortOldestFirst(std::vector<OpeningBill>& bills)
{
    std::stable_sort(bills.begin(), bills.end(), [](const OpeningBill& a, const OpeningBill& b) {
        return std::pair(a.date.toJulianDay(), a.serial) < std::pair(b.date.toJulianDay(), b.serial);
    });
}

// The live receipt (or payment) allotted to the opening bill of that serial; "" when none.
QString allottedTo(Database& db, PartyKind kind, qint64 serial)
{
    const MoneyBook& book = kind == PartyKind::Buyer ? ReceiptBook() : PaymentBook();
    QSqlQuery q = db.run(QStringLiteral("SELECT a.\"%1\" FROM %2 AS a WHERE a.\"%3\" = ? AND a.\"AmountPaise\" > 0 AND "
                                        "NOT EXISTS (SELECT 1 FROM %4 AS c WHERE c.\"sno\" = a.\"sno\") LIMIT 1")
                             .arg(book.numberColumn, MoneyTable(book, book.allotmentTable), book.documentSerialColumn,
                                  MoneyTable(book, book.cancelledTable)),
                         {-serial}, ReadOperation, book.file);
    return q.next() ? q.value(0).toString() : QString();
}

} // namespace

OpeningBill OneOpeningAmount(Paise amount, const QDate& booksStart) { return {0, OneAmountNumber, booksStart, amount}; }

std::optional<QDate> BooksStartDayOf(Database& db, qint64 companySerial)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"StartDate\" FROM %1 WHERE \"sno\" = ?").arg(masterTable("BooksStart")),
                         {companySerial}, ReadOperation, DbFile::Master);
    if (!q.next())
        return std::nullopt;
    const QDate day = ReadDateText(q.value(0).toString());
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

// The serial of the shop's own company (the first); nothing when none is kept.
static std::optional<qint64> firstCompany(Database& db)
{
    QSqlQuery first = db.run(QStringLiteral("SELECT \"sno\" FROM %1 ORDER BY \"sno\", rowid LIMIT 1").arg(masterTable("Company")),
                             {}, ReadOperation, DbFile::Master);
    return first.next() ? std::optional<qint64>(first.value(0).toLongLong()) : std::nullopt;
}

std::optional<QDate> BooksStartDay(Database& db)
{
    const std::optional<qint64> serial = firstCompany(db);
    return serial ? BooksStartDayOf(db, *serial) : std::nullopt;
}

QString BooksStartRefusal(Database& db, qint64 companySerial, const std::optional<QDate>& day)
{
    if (const std::optional<qint64> first = firstCompany(db); first && *first != companySerial)
        return {}; // another company's day starts no books
    QSqlQuery q = db.run(QStringLiteral("SELECT \"BillNo\", \"BillDate\", \"PartyCode\" FROM %1 ORDER BY \"BillDay\" DESC "
                                        "LIMIT 1")
                             .arg(masterTable("OpeningBill")),
                         {}, ReadOperation, DbFile::Master);
    if (!q.next())
        return {};
    if (!day)
        return QStringLiteral("Opening bills are kept: give the day the books start here (Books start on).");
    QSqlQuery later = db.run(QStringLiteral("SELECT \"BillNo\", \"BillDate\", \"PartyCode\" FROM %1 WHERE \"BillDay\" > ? "
                                            "ORDER BY \"BillDay\" DESC LIMIT 1")
                                 .arg(masterTable("OpeningBill")),
                             {DayKey(*day)}, ReadOperation, DbFile::Master);
    if (!later.next())
        return {};
    return QStringLiteral("The opening bill %1 of %2 is dated %3, after %4: the books cannot start before it (Books "
                          "start on).")
        .arg(later.value(0).toString(), later.value(2).toString(), later.value(1).toString(), DateText(*day));
}

void StoreBooksStartDayWithin(Database& db, qint64 companySerial, const std::optional<QDate>& day)
{
    const std::optional<QDate> before = BooksStartDayOf(db, companySerial);
    if (before == day)
        return;
    const auto text = [](const std::optional<QDate>& d) { return d ? DateText(*d) : QString(); };
    LogChange(db, QStringLiteral("BooksStart"), QString::number(companySerial), AuditAction::Changed,
              {{QStringLiteral("StartDate"), text(before), text(day)}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"sno\" = ?").arg(masterTable("BooksStart")), {companySerial},
           SaveOperation, DbFile::Master);
    if (day)
        db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"StartDate\") VALUES (?, ?)").arg(masterTable("BooksStart")),
               {companySerial, DateText(*day)}, SaveOperation, DbFile::Master);
}

QString OpeningBillsRefusal(const std::vector<OpeningBill>& bills, const std::optional<QDate>& booksStart)
{
    if (bills.empty())
        return {};
    if (!booksStart)
        return QStringLiteral("Give the day the books start here on Company Details first (Books start on).");
    QHash<QString, int> seen;
    for (int row = 0; row < int(bills.size()); ++row) {
        const OpeningBill& b = bills[std::size_t(row)];
        const QString which = QStringLiteral("Opening bill %1").arg(row + 1);
        if (b.number.trimmed().isEmpty())
            return QStringLiteral("%1 has no number (Bill No).").arg(which);
        if (const auto first = seen.constFind(comparedNumber(b.number)); first != seen.constEnd())
            return QStringLiteral("%1: the number %2 is already opening bill %3 (Bill No).")
                .arg(which, b.number.trimmed())
                .arg(*first + 1);
        seen.insert(comparedNumber(b.number), row);
        if (!b.date.isValid())
            return QStringLiteral("%1 (%2) has no date (Bill Date).").arg(which, b.number.trimmed());
        if (b.date > *booksStart)
            return QStringLiteral("%1 (%2) is dated %3, after the day the books start here, %4 (Bill Date).")
                .arg(which, b.number.trimmed(), DateText(b.date), DateText(*booksStart));
        if (b.amount <= 0)
            return QStringLiteral("%1 (%2) must be an amount above nothing (Amount).").arg(which, b.number.trimmed());
    }
    return {};
}

std::vector<PartyOpeningBill> OpeningBillsOf(Database& db, PartyKind kind, const std::optional<QString>& partyCode,
                                             const std::optional<QDate>& asAt)
{
    const PartyList list = partyList(kind);
    QString where = QStringLiteral("o.\"PartyKind\" = ?");
    QVariantList values{kindLetter(kind)};
    if (partyCode) {
        where += QStringLiteral(" AND o.\"PartyCode\" = ?");
        values << *partyCode;
    }
    if (asAt) {
        where += QStringLiteral(" AND o.\"BillDay\" <= ?");
        values << DayKey(*asAt);
    }
    QSqlQuery q = db.run(QStringLiteral("SELECT o.\"sno\", o.\"BillNo\", o.\"BillDate\", o.\"BillDay\", o.\"AmountPaise\", "
                                        "o.\"PartyCode\", p.\"sno\", p.\"Name\" FROM %1 AS o LEFT JOIN \"%2\".\"%3\" AS p ON "
                                        "p.\"%4\" = o.\"PartyCode\" AND p.\"sno\" <> 0 WHERE %5 ORDER BY o.\"BillDay\", "
                                        "o.\"sno\"")
                             .arg(masterTable("OpeningBill"), SchemaName(list.file), QLatin1String(list.table),
                                  QLatin1String(list.code), where),
                         values, ReadOperation, DbFile::Master);
    std::vector<PartyOpeningBill> bills;
    while (q.next()) {
        PartyOpeningBill b;
        b.bill = {q.value(0).toLongLong(), q.value(1).toString(), dayOfKey(q.value(3).toLongLong()),
                  q.value(4).toLongLong()};
        b.dateText = q.value(2).toString();
        b.partyCode = q.value(5).toString();
        b.partySerial = q.value(6).toLongLong();
        b.partyName = q.value(7).isNull() ? b.partyCode : q.value(7).toString();
        bills.push_back(std::move(b));
    }
    return bills;
}

std::vector<OpeningBill> LoadOpeningBills(Database& db, PartyKind kind, const QString& partyCode)
{
    std::vector<OpeningBill> bills;
    for (PartyOpeningBill& b : OpeningBillsOf(db, kind, partyCode))
        bills.push_back(std::move(b.bill));
    return bills;
}

QString StoreOpeningBills(Database& db, PartyKind kind, const QString& partyCode, const std::vector<OpeningBill>& bills)
{
    Transaction transaction(db, SaveOperation);
    const QString refused = StoreOpeningBillsWithin(db, kind, partyCode, bills);
    if (refused.isEmpty())
        transaction.commit();
    return refused;
}

QString StoreOpeningBillsWithin(Database& db, PartyKind kind, const QString& partyCode,
                                const std::vector<OpeningBill>& bills)
{
    if (const QString refused = OpeningBillsRefusal(bills, BooksStartDay(db)); !refused.isEmpty())
        return refused;
    const std::vector<OpeningBill> before = LoadOpeningBills(db, kind, partyCode);
    // a bill kept under its number keeps its serial: receipts allotted to it still name it
    QHash<QString, qint64> serialOf;
    for (const OpeningBill& b : before)
        serialOf.insert(comparedNumber(b.number), b.serial);
    // a bill money was allotted to stays: the money would lose what it paid
    QSet<QString> kept;
    for (const OpeningBill& b : bills)
        kept.insert(comparedNumber(b.number));
    for (const OpeningBill& b : before)
        if (!kept.contains(comparedNumber(b.number)))
            if (const QString money = allottedTo(db, kind, b.serial); !money.isEmpty())
                return QStringLiteral("The opening bill %1 cannot be taken off: %2 %3 was allotted to it (Bill No).")
                    .arg(b.number, kind == PartyKind::Buyer ? QStringLiteral("receipt") : QStringLiteral("payment"),
                         money);
    const QString table = masterTable("OpeningBill");
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"PartyKind\" = ? AND \"PartyCode\" = ?").arg(table),
           {kindLetter(kind), partyCode}, SaveOperation, DbFile::Master);
    qint64 next = NextSerial(db, DbFile::Master, QStringLiteral("OpeningBill"), QStringLiteral("sno"));
    std::vector<OpeningBill> after;
    for (const OpeningBill& b : bills) {
        const qint64 serial = serialOf.value(comparedNumber(b.number), 0);
        OpeningBill saved{serial > 0 ? serial : next++, b.number.trimmed(), b.date, b.amount};
        db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"BillKey\", \"PartyKind\", \"PartyCode\", \"BillNo\", "
                              "\"BillDate\", \"BillDay\", \"AmountPaise\") VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                   .arg(table),
               {saved.serial, billKey(kind, partyCode, saved.number), kindLetter(kind), partyCode, saved.number,
                DateText(saved.date), DayKey(saved.date), saved.amount},
               SaveOperation, DbFile::Master);
        after.push_back(saved);
    }
    sortOldestFirst(after);
    if (after != before)
        LogChange(db, QStringLiteral("OpeningBill"), QStringLiteral("%1 %2").arg(kindLetter(kind), partyCode),
                  AuditAction::Changed, {{QStringLiteral("Bills"), billsText(before), billsText(after)}});
    return {};
}

} // namespace zelva
