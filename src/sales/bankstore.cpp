#include "sales/bankstore.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "sales/moneybook.h"
#include "sales/owed.h"
#include "sales/payable.h"
#include "sales/payment.h"
#include "sales/paymentstore.h"
#include "sales/receiptstore.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <array>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the bank statements");
const QString ColumnsOperation = QStringLiteral("save the bank's statement columns");
const QString ImportOperation = QStringLiteral("import the bank statement");
const QString MatchOperation = QStringLiteral("confirm the bank statement match");
const QString MakeOperation = QStringLiteral("save the money of the bank statement line");

QString masterTable(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Master), QLatin1String(name));
}

QString kindLetter(MoneyKind kind) { return kind == MoneyKind::Receipt ? QStringLiteral("R") : QStringLiteral("P"); }
QString moneyKey(MoneyKind kind, const QString& number) { return kindLetter(kind) + QLatin1Char(' ') + number; }
const MoneyBook& bookOf(MoneyKind kind) { return kind == MoneyKind::Receipt ? ReceiptBook() : PaymentBook(); }
QString kindWord(MoneyKind kind) { return bookOf(kind).words.noun; }

QDate dayOfKey(qint64 key) { return key > 0 ? QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)) : QDate(); }
QString nowText() { return QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")); }

const QString LineColumns = QStringLiteral("sno, LineDay, Narration, Reference, DebitPaise, CreditPaise, BalancePaise");

BankLine lineOfRow(const QSqlQuery& q)
{
    BankLine line;
    line.serial = q.value(0).toLongLong();
    line.date = dayOfKey(q.value(1).toLongLong());
    line.narration = q.value(2).toString();
    line.reference = q.value(3).toString();
    line.debit = q.value(4).toLongLong();
    line.credit = q.value(5).toLongLong();
    line.balance = q.value(6).toLongLong();
    return line;
}

struct KeptLine {
    BankLine line;
    QString bankName;
};

std::optional<KeptLine> loadLine(Database& db, qint64 serial)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT %1, BankKey FROM %2 WHERE sno = ?").arg(LineColumns, masterTable("BankStatementLine")),
                         {serial}, ReadOperation, DbFile::Master);
    if (!q.next())
        return std::nullopt;
    return KeptLine{lineOfRow(q), q.value(7).toString()};
}

// The money matched to the line, or the line matched to the money; "" when neither is.
QString matchedAlready(Database& db, qint64 lineSerial, MoneyKind kind, const QString& number)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT LineSno, MoneyKey FROM %1 WHERE LineSno = ? OR MoneyKey = ?").arg(masterTable("BankMatch")),
                         {lineSerial, moneyKey(kind, number)}, ReadOperation, DbFile::Master);
    if (!q.next())
        return {};
    if (q.value(0).toLongLong() == lineSerial)
        return QStringLiteral("This statement line is already matched (%1).").arg(q.value(1).toString());
    return QStringLiteral("The %1 %2 is already matched to another statement line.").arg(kindWord(kind), number);
}

// Why the line cannot be the money ("" when it can), read inside the transaction.
QString matchRefusal(Database& db, const BankLine& line, MoneyKind kind, const QString& number)
{
    if (const QString already = matchedAlready(db, line.serial, kind, number); !already.isEmpty())
        return already;
    const Paise lineAmount = kind == MoneyKind::Receipt ? line.credit : line.debit;
    if (lineAmount <= 0)
        return kind == MoneyKind::Receipt ? QStringLiteral("A debit of the statement cannot be a receipt.")
                                          : QStringLiteral("A credit of the statement cannot be a payment.");
    const std::optional<MoneyEntry> money = LoadMoneyEntry(db, bookOf(kind), number);
    if (!money)
        return QStringLiteral("There is no %1 %2.").arg(kindWord(kind), number);
    if (money->cancellation)
        return QStringLiteral("The %1 %2 is cancelled.").arg(kindWord(kind), number);
    if (money->amount != lineAmount)
        return QStringLiteral("The %1 %2 is of %3, the statement line of %4: they are not one.")
            .arg(kindWord(kind), number, ShownAmountText(money->amount, true), ShownAmountText(lineAmount, true));
    return {};
}

void insertMatch(Database& db, const BankLine& line, MoneyKind kind, const QString& number)
{
    const QString matchedOn = nowText();
    db.run(QStringLiteral("INSERT INTO %1 (LineSno, MoneyKey, Kind, MoneyNo, MatchedOn, MatchedBy) VALUES (?, ?, ?, ?, ?, ?)")
               .arg(masterTable("BankMatch")),
           {line.serial, moneyKey(kind, number), kindLetter(kind), number, matchedOn, AuditOperator()}, MatchOperation,
           DbFile::Master);
    LogChange(db, QStringLiteral("BankMatch"), moneyKey(kind, number), AuditAction::Added,
              {{QStringLiteral("LineSno"), {}, QString::number(line.serial)},
               {QStringLiteral("LineDate"), {}, DateText(line.date)},
               {QStringLiteral("Reference"), {}, line.reference},
               {QStringLiteral("Amount"), {}, AmountText(kind == MoneyKind::Receipt ? line.credit : line.debit)}});
}

// The mode a line's narration names: UPI, else a bank transfer.
PaymentMode modeOfLine(const BankLine& line)
{
    return line.narration.contains(QLatin1String("UPI"), Qt::CaseInsensitive) ? PaymentMode::Upi : PaymentMode::BankTransfer;
}

// The line for money to be made from it, or why not.
QString lineForMoney(Database& db, qint64 lineSerial, MoneyKind kind, KeptLine& kept)
{
    const std::optional<KeptLine> found = loadLine(db, lineSerial);
    if (!found)
        return QStringLiteral("The statement line is no longer kept.");
    kept = *found;
    if (const QString already = matchedAlready(db, lineSerial, kind, QString()); !already.isEmpty())
        return already;
    if ((kind == MoneyKind::Receipt ? kept.line.credit : kept.line.debit) <= 0)
        return kind == MoneyKind::Receipt ? QStringLiteral("Only a credit of the statement can become a receipt.")
                                          : QStringLiteral("Only a debit of the statement can become a payment.");
    return {};
}

QString bankNameOf(Database& db, const QString& bankKey)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT BankName FROM %1 WHERE BankKey = ?").arg(masterTable("BankLayout")), {bankKey},
                         ReadOperation, DbFile::Master);
    return q.next() ? q.value(0).toString() : bankKey;
}

// Why the statement does not follow the bank's lines kept before it ("" when
// it does, or nothing of it is new, or it overlaps them, or none is kept before
// its first day): a statement whose first line is new starts from the last line
// kept on or before that line's day.
QString gapBeforeStatement(const std::vector<BankLine>& kept, const QSet<QString>& keptKeys, const QString& bankName,
                           const std::vector<BankLine>& lines)
{
    if (lines.empty() || keptKeys.contains(StatementLineKey(bankName, lines.front())))
        return {}; // its lines before a new one are kept, and the running balance joins them
    const BankLine& first = lines.front();
    const auto after = std::find_if(kept.begin(), kept.end(), [&](const BankLine& l) { return l.date > first.date; });
    if (after == kept.begin())
        return {};
    return OpeningBalanceProblem(*std::prev(after), first);
}

} // namespace

QString StatementImport::summary() const
{
    return QStringLiteral("%1 line(s) imported, %2 already there.").arg(added).arg(alreadyKept);
}

QStringList BankNames(Database& db)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT BankName FROM %1").arg(masterTable("BankLayout")), {}, ReadOperation, DbFile::Master);
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    names.sort(Qt::CaseInsensitive);
    return names;
}

std::optional<StatementColumns> LoadBankColumns(Database& db, const QString& bankName)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT BankName, DateColumn, NarrationColumn, ReferenceColumn, DebitColumn, CreditColumn, "
                                        "BalanceColumn FROM %1 WHERE BankKey = ?")
                             .arg(masterTable("BankLayout")),
                         {BankKeyOf(bankName)}, ReadOperation, DbFile::Master);
    if (!q.next())
        return std::nullopt;
    return StatementColumns{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                            q.value(4).toString(), q.value(5).toString(), q.value(6).toString()};
}

void StoreBankColumns(Database& db, const StatementColumns& columns)
{
    Transaction work(db, ColumnsOperation);
    const std::optional<StatementColumns> before = LoadBankColumns(db, columns.bankName);
    if (before == columns)
        return;
    const QString table = masterTable("BankLayout");
    const QVariantList values{columns.bankName.simplified(), columns.date, columns.narration, columns.reference,
                              columns.debit, columns.credit, columns.balance, BankKeyOf(columns.bankName)};
    if (before)
        db.run(QStringLiteral("UPDATE %1 SET BankName = ?, DateColumn = ?, NarrationColumn = ?, ReferenceColumn = ?, "
                              "DebitColumn = ?, CreditColumn = ?, BalanceColumn = ? WHERE BankKey = ?")
                   .arg(table),
               values, ColumnsOperation, DbFile::Master);
    else
        db.run(QStringLiteral("INSERT INTO %1 (BankName, DateColumn, NarrationColumn, ReferenceColumn, DebitColumn, "
                              "CreditColumn, BalanceColumn, BankKey, sno) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                   .arg(table),
               QVariantList(values) << NextSerial(db, DbFile::Master, QStringLiteral("BankLayout"), QStringLiteral("sno")),
               ColumnsOperation, DbFile::Master);
    std::vector<FieldChange> changes;
    const StatementColumns old = before.value_or(StatementColumns{});
    const QStringList names = StatementColumnNames();
    const std::array<std::pair<QString, QString>, 6> pairs{std::pair{old.date, columns.date}, {old.narration, columns.narration},
                                                           {old.reference, columns.reference}, {old.debit, columns.debit},
                                                           {old.credit, columns.credit}, {old.balance, columns.balance}};
    for (std::size_t i = 0; i < pairs.size(); ++i)
        if (pairs[i].first != pairs[i].second)
            changes.push_back({names[qsizetype(i)] + QStringLiteral("Column"), pairs[i].first, pairs[i].second});
    LogChange(db, QStringLiteral("BankLayout"), BankKeyOf(columns.bankName), before ? AuditAction::Changed : AuditAction::Added,
              changes);
    work.commit();
}

StatementImport ImportStatement(Database& db, const QString& bankName, const std::vector<BankLine>& lines)
{
    StatementImport result;
    Transaction work(db, ImportOperation);
    const QString bank = BankKeyOf(bankName);
    // The bank's kept lines by their key, and by what stays when a line is changed.
    QSet<QString> keptKeys;
    QHash<QString, BankLine> keptBySpot;
    const auto spot = [](const BankLine& l) {
        return QStringLiteral("%1|%2|%3").arg(DayKey(l.date)).arg(l.balance).arg(ComparedReference(l.reference));
    };
    const std::vector<BankLine> keptLines = LoadStatementLines(db, bankName);
    for (const BankLine& l : keptLines) {
        keptKeys.insert(StatementLineKey(bankName, l));
        keptBySpot.insert(spot(l), l);
    }
    if (const QString gap = gapBeforeStatement(keptLines, keptKeys, bankName, lines); !gap.isEmpty())
        return {0, 0, gap + QStringLiteral(" Nothing was imported: import the bank's statement of the days between first.")};
    const QString table = masterTable("BankStatementLine");
    qint64 next = NextSerial(db, DbFile::Master, QStringLiteral("BankStatementLine"), QStringLiteral("sno"));
    const QString importedOn = nowText();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const BankLine& line = lines[i];
        const QString key = StatementLineKey(bankName, line);
        if (keptKeys.contains(key)) {
            ++result.alreadyKept;
            continue;
        }
        if (const auto changed = keptBySpot.constFind(spot(line)); changed != keptBySpot.constEnd()
            && !ComparedReference(line.reference).isEmpty()) {
            result = {0, 0, QStringLiteral("%1 was imported before with debit %2 and credit %3; the file now says debit %4 and "
                                           "credit %5. Nothing was imported.")
                                .arg(StatementLineName(line, int(i) + 1), ShownAmountText(changed->debit, true),
                                     ShownAmountText(changed->credit, true), ShownAmountText(line.debit, true),
                                     ShownAmountText(line.credit, true))};
            return result; // the guard rolls back
        }
        db.run(QStringLiteral("INSERT INTO %1 (sno, LineKey, BankKey, LineDate, LineDay, Narration, Reference, DebitPaise, "
                              "CreditPaise, BalancePaise, ImportedOn, ImportedBy) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                   .arg(table),
               {next++, key, bank, DateText(line.date), DayKey(line.date), line.narration, line.reference, line.debit,
                line.credit, line.balance, importedOn, AuditOperator()},
               ImportOperation, DbFile::Master);
        keptKeys.insert(key);
        ++result.added;
    }
    if (result.added > 0)
        LogChange(db, QStringLiteral("BankStatementLine"), bank, AuditAction::Added,
                  {{QStringLiteral("Lines"), {}, QString::number(result.added)},
                   {QStringLiteral("From"), {}, DateText(lines.front().date)},
                   {QStringLiteral("To"), {}, DateText(lines.back().date)}});
    work.commit();
    return result;
}

std::vector<BankLine> LoadStatementLines(Database& db, const QString& bankName)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT %1 FROM %2 WHERE BankKey = ? ORDER BY LineDay, sno").arg(LineColumns, masterTable("BankStatementLine")),
                         {BankKeyOf(bankName)}, ReadOperation, DbFile::Master);
    std::vector<BankLine> lines;
    while (q.next())
        lines.push_back(lineOfRow(q));
    return lines;
}

std::vector<BookMoney> BankMoney(Database& db, const QDate& from, const QDate& to)
{
    std::vector<BookMoney> money;
    for (const MoneyKind kind : {MoneyKind::Receipt, MoneyKind::Payment}) {
        const MoneyBook& book = bookOf(kind);
        const QString dateKey = DateKeySql(QStringLiteral("r.\"%1\"").arg(book.dateColumn));
        // The day from its key: reading each date text anew is slow over tens of thousands.
        QSqlQuery q = db.run(QStringLiteral("SELECT r.\"%1\", %2, r.\"%3\", r.Mode, r.Reference, r.AmountPaise FROM %4 AS r "
                                            "WHERE r.Mode <> ? AND %5 BETWEEN ? AND ? AND NOT EXISTS (SELECT 1 FROM %6 AS c "
                                            "WHERE c.sno = r.sno) ORDER BY %5, r.sno")
                                 .arg(book.numberColumn, dateKey, book.partyNameColumn, MoneyTable(book, book.table),
                                      dateKey, MoneyTable(book, book.cancelledTable)),
                             {PaymentModeName(PaymentMode::Cash), DayKey(from), DayKey(to)}, ReadOperation, book.file);
        while (q.next())
            money.push_back({kind, q.value(0).toString(), dayOfKey(q.value(1).toLongLong()), q.value(2).toString(),
                             PaymentModeNamed(q.value(3).toString()), q.value(4).toString(), q.value(5).toLongLong()});
    }
    std::stable_sort(money.begin(), money.end(), [](const BookMoney& a, const BookMoney& b) { return a.date < b.date; });
    return money;
}

std::vector<KeptMatch> KeptMatches(Database& db, const QString& bankName)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT m.LineSno, m.Kind, m.MoneyNo FROM %1 AS m JOIN %2 AS l ON l.sno = m.LineSno "
                                        "WHERE l.BankKey = ? ORDER BY m.LineSno")
                             .arg(masterTable("BankMatch"), masterTable("BankStatementLine")),
                         {BankKeyOf(bankName)}, ReadOperation, DbFile::Master);
    std::vector<KeptMatch> kept;
    while (q.next())
        kept.push_back({q.value(0).toLongLong(),
                        q.value(1).toString() == QLatin1String("P") ? MoneyKind::Payment : MoneyKind::Receipt,
                        q.value(2).toString()});
    return kept;
}

QString ConfirmMatch(Database& db, qint64 lineSerial, MoneyKind kind, const QString& number)
{
    Transaction work(db, MatchOperation);
    const std::optional<KeptLine> kept = loadLine(db, lineSerial);
    if (!kept)
        return QStringLiteral("The statement line is no longer kept.");
    if (const QString refused = matchRefusal(db, kept->line, kind, number); !refused.isEmpty())
        return refused;
    insertMatch(db, kept->line, kind, number);
    work.commit();
    return {};
}

std::optional<MatchedLine> LineMatchedTo(Database& db, MoneyKind kind, const QString& number)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT l.sno, l.LineDay, l.Narration, l.Reference, l.DebitPaise, l.CreditPaise, "
                                        "l.BalancePaise, l.BankKey FROM %1 AS m JOIN %2 AS l ON l.sno = m.LineSno WHERE "
                                        "m.MoneyKey = ?")
                             .arg(masterTable("BankMatch"), masterTable("BankStatementLine")),
                         {moneyKey(kind, number)}, ReadOperation, DbFile::Master);
    if (!q.next())
        return std::nullopt;
    const BankLine line = lineOfRow(q);
    return MatchedLine{line, bankNameOf(db, q.value(7).toString())};
}

QString MatchedLineWarning(MoneyKind kind, const QString& number, const MatchedLine& matched)
{
    QStringList about{matched.bankName};
    if (!matched.line.reference.trimmed().isEmpty())
        about << matched.line.reference.trimmed();
    about << ShownAmountText(kind == MoneyKind::Receipt ? matched.line.credit : matched.line.debit, true);
    const QString noun = kindWord(kind);
    return QStringLiteral("%1 %2 is matched to the bank statement line of %3 (%4): cancelling leaves that line unmatched.")
        .arg(noun.left(1).toUpper() + noun.mid(1), number, DateText(matched.line.date), about.join(QStringLiteral(", ")));
}

namespace {

void dropMatchWithin(Database& db, MoneyKind kind, const QString& number)
{
    const std::optional<MatchedLine> matched = LineMatchedTo(db, kind, number);
    if (!matched)
        return;
    const QString key = moneyKey(kind, number);
    const QString dropping = QStringLiteral("drop the bank statement match of the cancelled %1").arg(kindWord(kind));
    db.run(QStringLiteral("DELETE FROM %1 WHERE MoneyKey = ?").arg(masterTable("BankMatch")), {key}, dropping,
           DbFile::Master);
    LogChange(db, QStringLiteral("BankMatch"), key, AuditAction::Cancelled,
              {{QStringLiteral("LineSno"), QString::number(matched->line.serial), {}},
               {QStringLiteral("LineDate"), DateText(matched->line.date), {}}});
}

} // namespace

QString CancelMoney(Database& db, MoneyKind kind, const QString& number, const ReceiptCancellation& mark)
{
    Transaction work(db, QStringLiteral("cancel the %1").arg(kindWord(kind)));
    const QString refused = CancelMoneyEntryWithin(db, bookOf(kind), number, mark);
    if (!refused.isEmpty())
        return refused;
    dropMatchWithin(db, kind, number);
    work.commit();
    return {};
}

namespace {

// What a receipt or payment made from a line is, but its party and allotments:
// the line's day and amount, the mode its narration names, its reference and
// the bank's name.
MoneyEntry moneyOfLine(Database& db, const KeptLine& kept, MoneyKind kind, const QString& enteredBy)
{
    MoneyEntry money;
    money.date = kept.line.date;
    money.time = TimeTextHMS(QTime::currentTime());
    money.mode = modeOfLine(kept.line);
    money.reference = kept.line.reference;
    money.bank = bankNameOf(db, kept.bankName);
    money.amount = kind == MoneyKind::Receipt ? kept.line.credit : kept.line.debit;
    money.enteredBy = enteredBy;
    return money;
}

// The line made into money by save (the party's own store, inside this
// transaction, giving what it saved or why not), kept matched to the line,
// all or nothing.
template <typename Save>
MadeFromLine makeFromLine(Database& db, qint64 lineSerial, MoneyKind kind, const QString& enteredBy, Save save)
{
    Transaction work(db, MakeOperation);
    KeptLine kept;
    if (const QString refused = lineForMoney(db, lineSerial, kind, kept); !refused.isEmpty())
        return {{}, refused};
    const auto stored = save(moneyOfLine(db, kept, kind, enteredBy));
    if (!stored.saved())
        return {{}, stored.refusal};
    insertMatch(db, kept.line, kind, stored.number);
    work.commit();
    return {stored.number, {}};
}

} // namespace

MadeFromLine MakeReceiptFromLine(Database& db, qint64 lineSerial, const QString& buyerCode, const QString& buyerName,
                                 const QString& enteredBy, const QDate& today)
{
    return makeFromLine(db, lineSerial, MoneyKind::Receipt, enteredBy, [&](const MoneyEntry& money) {
        Receipt receipt = ReceiptOfEntry(money);
        receipt.buyerCode = buyerCode;
        receipt.buyerName = buyerName;
        std::vector<OpenInvoice> open;
        for (const OwedInvoice& i : WhatIsOwed(db, {BuyerKey(buyerCode, buyerName), std::nullopt}).open)
            if (i.left() > 0)
                open.push_back({i.serial, i.number, i.dateText, i.left(), i.amount});
        receipt.allotments = AllotOldestFirst(open, receipt.amount);
        return StoreReceiptWithin(db, receipt, today);
    });
}

MadeFromLine MakePaymentFromLine(Database& db, qint64 lineSerial, qint64 supplierSerial, const QString& supplierName,
                                 const QString& enteredBy, const QDate& today)
{
    return makeFromLine(db, lineSerial, MoneyKind::Payment, enteredBy, [&](const MoneyEntry& money) {
        Payment payment = PaymentOfEntry(money);
        payment.supplierSerial = supplierSerial;
        payment.supplierName = supplierName;
        std::vector<OpenInvoice> open;
        for (const OwedBill& b : WhatIsPayable(db, {SupplierKey(supplierSerial, supplierName), std::nullopt}).open)
            if (b.left() > 0 && b.serial != 0)
                open.push_back({b.serial, b.number, DateText(b.date), b.left(), b.amount});
        payment.allotments = AllotOldestFirst(open, payment.amount);
        return StorePaymentWithin(db, payment, today);
    });
}

} // namespace zelva
