#include "sales/moneybook.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "platform/datetext.h"

#include <QSqlQuery>

namespace zelva {

namespace {

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString operation(const MoneyBook& book, const char* verb)
{
    return QStringLiteral("%1 the %2").arg(QLatin1String(verb), book.words.noun);
}

} // namespace

QString MoneyTable(const MoneyBook& book, const QString& table)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(book.file), table);
}

QString MoneyDateRefusal(const MoneyWords& words, const QString& typed)
{
    return QStringLiteral("The %1 date \"%2\" is not a date: type it as dd/mm/yyyy (Date).").arg(words.noun, typed);
}

QString MoneyRefusal(const MoneyWords& words, bool partyChosen, const MoneyEntry& entry, const QDate& today)
{
    if (!partyChosen)
        return QStringLiteral("Choose the %1 the money is %2 (%3).").arg(words.party, words.movedFromTo, words.partyBox);
    if (!entry.date.isValid())
        return QStringLiteral("The %1 date is not a date: type it as dd/mm/yyyy (Date).").arg(words.noun);
    if (entry.date > today)
        return QStringLiteral("The %1 date %2 is after today: money cannot be %3 in the future (Date).")
            .arg(words.noun, DateText(entry.date), words.moved);
    if (entry.amount <= 0)
        return QStringLiteral("The amount %1 must be more than nothing (Amount).").arg(words.moved);
    if (entry.mode == PaymentMode::Cheque && entry.reference.trimmed().isEmpty())
        return QStringLiteral("Give the cheque's number for a payment by cheque (Reference).");
    for (const Allotment& a : entry.allotments)
        if (a.amount < 0)
            return QStringLiteral("The amount allotted to %1 %2 is below nothing (Allotted).")
                .arg(words.document, a.invoiceNumber);
    const Paise allotted = AllottedSum(entry.allotments);
    if (allotted > entry.amount)
        return QStringLiteral("%1 is allotted to %2s, more than the %3 %4 (Allotted).")
            .arg(AmountText(allotted), words.document, AmountText(entry.amount), words.moved);
    return {};
}

QString OverAllotted(const MoneyWords& words, const std::vector<Allotment>& allotments, QHash<qint64, Paise> left)
{
    for (const Allotment& a : allotments) {
        if (a.amount == 0)
            continue;
        const Paise canTake = left.value(a.invoiceSerial);
        if (a.amount > canTake)
            return QStringLiteral("%1 %2 has only %3 left to pay now, less than the %4 allotted to it (another %5 "
                                  "may have been saved against it meanwhile). Nothing is saved: show the %6's %7s "
                                  "again and allot anew.")
                .arg(capitalised(words.document), a.invoiceNumber, AmountText(std::max<Paise>(canTake, 0)),
                     AmountText(a.amount), words.noun, words.party, words.document);
        left[a.invoiceSerial] = canTake - a.amount; // one document listed twice takes no more than is left
    }
    return {};
}

void InsertMoneyAllotment(Database& db, const MoneyBook& book, qint64 serial, const QString& number,
                          const Allotment& allotment)
{
    db.run(QStringLiteral("INSERT INTO %1 (sno, %2, %3, %4, AmountPaise) VALUES (?, ?, ?, ?, ?)")
               .arg(MoneyTable(book, book.allotmentTable), book.numberColumn, book.documentSerialColumn,
                    book.documentNumberColumn),
           {serial, number, allotment.invoiceSerial, allotment.invoiceNumber, allotment.amount},
           operation(book, "save"), book.file);
}

QString NextMoneyNumber(Database& db, const MoneyBook& book)
{
    return RecordCode(book.kind, NextSerial(db, book.file, book.table, QStringLiteral("sno")));
}

StoredMoney InsertMoneyEntry(Database& db, const MoneyBook& book, const MoneyEntry& entry)
{
    StoredMoney stored;
    stored.serial = FreeSerial(db, book.file, book.table, QStringLiteral("sno"), book.numberColumn, book.kind,
                               std::max<qint64>(entry.serial, 1));
    stored.number = RecordCode(book.kind, stored.serial);
    db.run(QStringLiteral("INSERT INTO %1 (sno, %2, %3, Time, %4, %5, Mode, Reference, Bank, AmountPaise, EnteredBy) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(MoneyTable(book, book.table), book.numberColumn, book.dateColumn, book.partyCodeColumn,
                    book.partyNameColumn),
           {stored.serial, stored.number, DateText(entry.date), entry.time, entry.partyCode, entry.partyName,
            PaymentModeName(entry.mode), entry.reference.trimmed(), entry.bank.trimmed(), entry.amount,
            entry.enteredBy},
           operation(book, "save"), book.file);
    for (const Allotment& a : entry.allotments)
        if (a.amount != 0)
            InsertMoneyAllotment(db, book, stored.serial, stored.number, a);
    LogChange(db, book.table, stored.number, AuditAction::Added,
              {{QStringLiteral("AmountPaise"), {}, AmountText(entry.amount)}});
    return stored;
}

std::optional<MoneyEntry> LoadMoneyEntry(Database& db, const MoneyBook& book, const QString& number)
{
    const QString reading = operation(book, "read");
    QSqlQuery r = db.run(QStringLiteral("SELECT sno, %2, %3, Time, %4, %5, Mode, Reference, Bank, AmountPaise, "
                                        "EnteredBy FROM %1 WHERE %2 = ?")
                             .arg(MoneyTable(book, book.table), book.numberColumn, book.dateColumn,
                                  book.partyCodeColumn, book.partyNameColumn),
                         {number}, reading, book.file);
    if (!r.next())
        return std::nullopt;
    MoneyEntry entry;
    entry.serial = r.value(0).toLongLong();
    entry.number = r.value(1).toString();
    entry.date = ReadKeptDate(r.value(2).toString());
    entry.time = r.value(3).toString();
    entry.partyCode = r.value(4);
    entry.partyName = r.value(5).toString();
    entry.mode = PaymentModeNamed(r.value(6).toString());
    entry.reference = r.value(7).toString();
    entry.bank = r.value(8).toString();
    entry.amount = r.value(9).toLongLong();
    entry.enteredBy = r.value(10).toString();
    r.finish();
    QSqlQuery a = db.run(QStringLiteral("SELECT %2, %3, AmountPaise FROM %1 WHERE sno = ? ORDER BY rowid")
                             .arg(MoneyTable(book, book.allotmentTable), book.documentSerialColumn,
                                  book.documentNumberColumn),
                         {entry.serial}, reading, book.file);
    while (a.next())
        entry.allotments.push_back({a.value(0).toLongLong(), a.value(1).toString(), a.value(2).toLongLong()});
    a.finish();
    QSqlQuery mark = db.run(QStringLiteral("SELECT CancelDate, CancelTime, Reason, CancelledBy FROM %1 WHERE sno = ?")
                                .arg(MoneyTable(book, book.cancelledTable)),
                            {entry.serial}, reading, book.file);
    if (mark.next())
        entry.cancellation = ReceiptCancellation{ReadKeptDate(mark.value(0).toString()), mark.value(1).toString(),
                                                 mark.value(2).toString(), mark.value(3).toString()};
    return entry;
}

QString CancelMoneyEntryWithin(Database& db, const MoneyBook& book, const QString& number,
                               const ReceiptCancellation& mark)
{
    if (mark.reason.trimmed().isEmpty())
        return QStringLiteral("Give the reason the %1 is cancelled (Reason).").arg(book.words.noun);
    const QString cancelling = operation(book, "cancel");
    const std::optional<MoneyEntry> entry = LoadMoneyEntry(db, book, number);
    if (!entry)
        return QStringLiteral("There is no saved %1 %2.").arg(book.words.noun, number);
    if (entry->cancellation)
        return QStringLiteral("%1 %2 is already cancelled (on %3 by %4).")
            .arg(capitalised(book.words.noun), number, DateText(entry->cancellation->date), entry->cancellation->by);
    db.run(QStringLiteral("INSERT INTO %1 (sno, %2, CancelDate, CancelTime, Reason, CancelledBy) VALUES (?, ?, ?, ?, "
                          "?, ?)")
               .arg(MoneyTable(book, book.cancelledTable), book.numberColumn),
           {entry->serial, entry->number, DateText(mark.date), mark.time, mark.reason.trimmed(), mark.by}, cancelling, book.file);
    LogChange(db, book.table, entry->number, AuditAction::Cancelled,
              {{QStringLiteral("Reason"), {}, mark.reason.trimmed()}});
    return {};
}

} // namespace zelva
