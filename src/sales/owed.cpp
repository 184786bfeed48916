#include "sales/owed.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "sales/opening.h"
#include "sales/receipt.h"

#include <QSqlQuery>
#include <algorithm>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read what the buyers owe");

QString invoiceTable(const char* table)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(table));
}

QDate dateOfKey(qint64 key)
{
    return key > 0 ? QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)) : QDate();
}

// The conditions of a query on one buyer and a last day, with their values.
struct Filter {
    QString sql;
    QVariantList values;
};

// One buyer's documents only, when asked; a last day is applied as the rows
// are read (dayKey), so that the statement reads the table straight through
// as a plain SELECT does.
Filter filterOf(const OwedQuery& query, const QString& alias)
{
    Filter f;
    if (query.buyerKey) {
        f.sql += QStringLiteral(" AND (CASE WHEN trim(coalesce(%1.bid, '')) = '' THEN %1.BuyerName ELSE %1.bid END) = ?")
                     .arg(alias);
        f.values << *query.buyerKey;
    }
    return f;
}

// The day key yyyymmdd of a stored date text as DateKeySql reads it: day,
// month and year as the leading digits of each part, parts split by any one
// character; 0 when it names no day.
qint64 dayKey(const QString& text)
{
    const QString t = text.trimmed();
    int parts[3] = {0, 0, 0};
    qsizetype at = 0;
    for (int part = 0; part < 3; ++part) {
        qsizetype digits = 0;
        while (at < t.size() && t[at].isDigit() && digits < 9) {
            parts[part] = parts[part] * 10 + t[at].digitValue();
            ++at;
            ++digits;
        }
        if (part < 2) {
            while (at < t.size() && t[at].isDigit())
                ++at;
            ++at; // the separator
        }
    }
    return QDate::isValid(parts[2], parts[1], parts[0]) ? qint64(parts[2]) * 10000 + parts[1] * 100 + parts[0] : 0;
}

qint64 keyOf(const QDate& day) { return qint64(day.year()) * 10000 + day.month() * 100 + day.day(); }

// Whether a document of that day counts as at the day asked (a date that
// cannot be read always counts).
bool counts(qint64 key, const OwedQuery& query) { return !query.asAt || key == 0 || key <= keyOf(*query.asAt); }

QString liveReceipt(const QString& alias)
{
    return QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 AS x WHERE x.sno = %2.sno)")
        .arg(invoiceTable("CancelledReceipt"), alias);
}

std::vector<OwedInvoice> liveInvoices(Database& db, const OwedQuery& query)
{
    const Filter f = filterOf(query, QStringLiteral("b"));
    QSqlQuery rows = db.run(
        QStringLiteral("SELECT b.sno, b.InvoiceNo, b.InvoiceDate, b.bid, b.BuyerName, g.totalamount "
                       "FROM %1 AS b LEFT JOIN %2 AS g ON g.sno = b.sno WHERE b.sno <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM %3 AS c WHERE c.sno = b.sno)%4")
            .arg(invoiceTable("BuyerInvoice"), invoiceTable("GoodsInvoice"), invoiceTable("CancelledInvoice"), f.sql),
        f.values, ReadOperation, DbFile::Invoice);
    std::vector<OwedInvoice> invoices;
    while (rows.next()) {
        const QString dateText = rows.value(2).toString();
        const qint64 key = dayKey(dateText);
        if (!counts(key, query))
            continue;
        OwedInvoice i;
        i.serial = rows.value(0).toLongLong();
        i.number = rows.value(1).toString();
        i.dateText = dateText;
        i.date = dateOfKey(key);
        i.buyerCode = rows.value(3).toString();
        i.buyerName = rows.value(4).toString();
        i.amount = ToPaise(rows.value(5).toDouble());
        invoices.push_back(std::move(i));
    }
    rows.finish();
    for (const PartyOpeningBill& b : OpeningBillsOf(db, PartyKind::Buyer, query.buyerKey, query.asAt)) {
        OwedInvoice i;
        i.serial = -b.bill.serial;
        i.number = b.bill.number;
        i.dateText = b.dateText;
        i.date = b.bill.date;
        i.buyerCode = b.partyCode;
        i.buyerName = b.partyName;
        i.amount = b.bill.amount;
        invoices.push_back(std::move(i));
    }
    return invoices;
}

// A credit or debit note against a live invoice, with its invoice's buyer.
struct LiveNote {
    qint64 invoiceSerial = 0;
    QString invoiceNumber;
    bool credit = true;
    QString number;
    QString dateText;
    qint64 dayKey = 0;
    Paise total = 0; // tax included
    Paise signedTotal() const { return credit ? -total : total; }
};

// A file left at a layout before notes (read-only, never upgraded) holds none.
std::vector<LiveNote> liveNotes(Database& db, const OwedQuery& query)
{
    std::vector<LiveNote> notes;
    if (db.tableKind(DbFile::Invoice, QStringLiteral("SaleNote"), ReadOperation).isEmpty())
        return notes;
    const Filter f = filterOf(query, QStringLiteral("b"));
    QSqlQuery rows = db.run(
        QStringLiteral("SELECT n.InvoiceSno, n.InvoiceNo, n.Kind, n.NoteNo, n.NoteDate, n.Total FROM %1 AS n "
                       "JOIN %2 AS b ON b.sno = n.InvoiceSno WHERE NOT EXISTS (SELECT 1 FROM %3 AS c WHERE "
                       "c.sno = n.InvoiceSno)%4")
            .arg(invoiceTable("SaleNote"), invoiceTable("BuyerInvoice"), invoiceTable("CancelledInvoice"), f.sql),
        f.values, ReadOperation, DbFile::Invoice);
    while (rows.next()) {
        const QString dateText = rows.value(4).toString();
        const qint64 key = dayKey(dateText);
        if (!counts(key, query))
            continue;
        notes.push_back({rows.value(0).toLongLong(), rows.value(1).toString(),
                         rows.value(2).toString() != QLatin1String("D"), rows.value(3).toString(), dateText, key,
                         ToPaise(rows.value(5).toDouble())});
    }
    return notes;
}

} // namespace

QString BuyerKey(const QString& buyerCode, const QString& buyerName)
{
    // asked once an invoice over every invoice: no trimmed copy made
    for (const QChar c : buyerCode)
        if (!c.isSpace())
            return buyerCode;
    return buyerName;
}

Paise Owed::balance(const QString& buyerKey) const
{
    Paise sum = -advance.value(buyerKey);
    for (const OwedInvoice& i : open)
        if (BuyerKey(i.buyerCode, i.buyerName) == buyerKey)
            sum += i.left();
    return sum;
}

std::vector<OwedInvoice> Owed::openOf(const QString& buyerKey) const
{
    std::vector<OwedInvoice> of;
    std::copy_if(open.begin(), open.end(), std::back_inserter(of),
                 [&](const OwedInvoice& i) { return BuyerKey(i.buyerCode, i.buyerName) == buyerKey; });
    return of;
}

Owed WhatIsOwed(Database& db, const OwedQuery& query)
{
    std::vector<OwedInvoice> invoices = liveInvoices(db, query);
    QHash<qint64, std::size_t> bySerial;
    bySerial.reserve(qsizetype(invoices.size()));
    for (std::size_t i = 0; i < invoices.size(); ++i)
        bySerial.insert(invoices[i].serial, i);
    for (const LiveNote& note : liveNotes(db, query))
        if (const auto at = bySerial.constFind(note.invoiceSerial); at != bySerial.constEnd())
            invoices[*at].amount += note.signedTotal();

    const Filter f = filterOf(query, QStringLiteral("r"));
    // each live receipt with what it holds beyond its allotments to live invoices
    struct Held {
        QString number;
        QString buyerKey;
        QString buyerName;
        qint64 dayKey = 0;
        Paise amount = 0;
    };
    std::vector<Held> held;
    QHash<qint64, std::size_t> receiptAt;
    {
        QSqlQuery rows = db.run(QStringLiteral("SELECT r.sno, r.ReceiptNo, r.bid, r.BuyerName, r.AmountPaise, "
                                               "r.ReceiptDate FROM %1 AS r WHERE %2%3")
                                    .arg(invoiceTable("Receipt"), liveReceipt(QStringLiteral("r")), f.sql),
                                f.values, ReadOperation, DbFile::Invoice);
        while (rows.next()) {
            const qint64 key = dayKey(rows.value(5).toString());
            if (!counts(key, query))
                continue;
            receiptAt.insert(rows.value(0).toLongLong(), held.size());
            held.push_back({rows.value(1).toString(), BuyerKey(rows.value(2).toString(), rows.value(3).toString()),
                            rows.value(3).toString(), key, rows.value(4).toLongLong()});
        }
    }
    {
        QSqlQuery rows = db.run(QStringLiteral("SELECT a.sno, a.InvoiceSno, a.AmountPaise FROM %1 AS a JOIN %2 AS r ON "
                                               "r.sno = a.sno WHERE %3%4 ORDER BY a.rowid")
                                    .arg(invoiceTable("ReceiptAllotment"), invoiceTable("Receipt"),
                                         liveReceipt(QStringLiteral("r")), f.sql),
                                f.values, ReadOperation, DbFile::Invoice);
        // Each allotment, in the order saved, counts as far as its invoice
        // still owes and its receipt still holds: no money is counted twice
        // nor below nothing, whatever notes, cancellations and later
        // allotments of the advance happened in between.
        while (rows.next()) {
            const auto invoice = bySerial.constFind(rows.value(1).toLongLong());
            const auto receipt = receiptAt.constFind(rows.value(0).toLongLong());
            if (invoice == bySerial.constEnd() || receipt == receiptAt.constEnd())
                continue; // an invoice cancelled (or after the day asked): the receipt keeps it as advance
            OwedInvoice& paidFor = invoices[*invoice];
            Held& from = held[*receipt];
            const Paise amount = std::clamp<Paise>(rows.value(2).toLongLong(), 0,
                                                   std::max<Paise>(std::min(paidFor.left(), from.amount), 0));
            paidFor.paid += amount;
            from.amount -= amount;
        }
    }

    Owed owed;
    for (auto r = receiptAt.constBegin(); r != receiptAt.constEnd(); ++r) {
        const Held& h = held[r.value()];
        if (h.amount != 0) {
            owed.advance[h.buyerKey] += h.amount;
            owed.advances.push_back({r.key(), h.number, h.buyerKey, h.buyerName, h.amount});
        }
    }
    std::sort(owed.advances.begin(), owed.advances.end(), [&](const Owed::Advance& a, const Owed::Advance& b) {
        return std::pair(held[receiptAt.value(a.receiptSerial)].dayKey, a.receiptSerial)
               < std::pair(held[receiptAt.value(b.receiptSerial)].dayKey, b.receiptSerial); // oldest first
    });
    std::erase_if(invoices, [](const OwedInvoice& i) { return i.left() == 0; });
    std::sort(invoices.begin(), invoices.end(), [](const OwedInvoice& a, const OwedInvoice& b) {
        return std::pair(a.date.toJulianDay(), a.serial) < std::pair(b.date.toJulianDay(), b.serial);
    });
    owed.open = std::move(invoices);
    return owed;
}

Paise AdvanceHeld(Database& db, const QString& buyerKey)
{
    const Filter f = filterOf({buyerKey, std::nullopt}, QStringLiteral("r"));
    const QString live = liveReceipt(QStringLiteral("r"));
    QSqlQuery received = db.run(QStringLiteral("SELECT coalesce(sum(r.AmountPaise), 0) FROM %1 AS r WHERE %2%3")
                                    .arg(invoiceTable("Receipt"), live, f.sql),
                                f.values, ReadOperation, DbFile::Invoice);
    const Paise in = received.next() ? received.value(0).toLongLong() : 0;
    received.finish();
    QSqlQuery allotted = db.run(QStringLiteral("SELECT coalesce(sum(a.AmountPaise), 0) FROM %1 AS a JOIN %2 AS r ON "
                                               "r.sno = a.sno WHERE %3%4 AND NOT EXISTS (SELECT 1 FROM %5 AS c WHERE "
                                               "c.sno = a.InvoiceSno)")
                                    .arg(invoiceTable("ReceiptAllotment"), invoiceTable("Receipt"), live, f.sql,
                                         invoiceTable("CancelledInvoice")),
                                f.values, ReadOperation, DbFile::Invoice);
    const Paise out = allotted.next() ? allotted.value(0).toLongLong() : 0;
    Paise credited = 0;
    for (const LiveNote& note : liveNotes(db, {buyerKey, std::nullopt}))
        credited += note.credit ? note.total : 0;
    return in - out + credited;
}

std::vector<LedgerEntry> BuyerLedger(Database& db, const QString& buyerKey)
{
    const OwedQuery query{buyerKey, std::nullopt};
    std::vector<LedgerEntry> entries;
    for (const OwedInvoice& i : liveInvoices(db, query)) {
        LedgerEntry e;
        e.date = i.date;
        e.dateText = i.dateText;
        e.kind = i.opening() ? LedgerEntry::Opening : LedgerEntry::Invoice;
        e.number = i.number;
        e.debit = i.amount;
        entries.push_back(std::move(e));
    }
    for (const LiveNote& note : liveNotes(db, query)) {
        LedgerEntry e;
        e.dateText = note.dateText;
        e.date = dateOfKey(note.dayKey);
        e.kind = note.credit ? LedgerEntry::CreditNote : LedgerEntry::DebitNote;
        e.number = note.number;
        e.detail = note.invoiceNumber;
        (note.credit ? e.credit : e.debit) = note.total;
        entries.push_back(std::move(e));
    }
    const Filter f = filterOf(query, QStringLiteral("r"));
    QSqlQuery rows = db.run(QStringLiteral("SELECT r.ReceiptNo, r.ReceiptDate, 0, r.Mode, r.Reference, r.Bank, "
                                           "r.AmountPaise FROM %1 AS r WHERE %2%3")
                                .arg(invoiceTable("Receipt"), liveReceipt(QStringLiteral("r")), f.sql),
                            f.values, ReadOperation, DbFile::Invoice);
    while (rows.next()) {
        LedgerEntry e;
        e.kind = LedgerEntry::Receipt;
        e.number = rows.value(0).toString();
        e.dateText = rows.value(1).toString();
        e.date = dateOfKey(dayKey(e.dateText));
        QStringList detail{rows.value(3).toString()};
        for (int column : {4, 5})
            if (!rows.value(column).toString().trimmed().isEmpty())
                detail << rows.value(column).toString().trimmed();
        e.detail = detail.join(QStringLiteral(", "));
        e.credit = rows.value(6).toLongLong();
        entries.push_back(std::move(e));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const LedgerEntry& a, const LedgerEntry& b) {
        return std::tuple(a.date.toJulianDay(), int(a.kind), a.number)
               < std::tuple(b.date.toJulianDay(), int(b.kind), b.number);
    });
    return entries;
}

// ---------------------------------------------------------------- credit limits

namespace {

QString limitTable() { return QStringLiteral("\"%1\".\"BuyerCreditLimit\"").arg(SchemaName(DbFile::Customer)); }

std::optional<Paise> limitOf(QSqlQuery& query)
{
    if (!query.next() || query.value(0).isNull())
        return std::nullopt;
    return query.value(0).toLongLong();
}

} // namespace

std::optional<Paise> CreditLimit(Database& db, const QString& buyerCode)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT l.LimitPaise FROM %1 AS l JOIN \"%2\".\"CustomerDetails\" AS c ON "
                                            "c.sno = l.sno WHERE c.bid = ? AND c.sno <> 0 ORDER BY c.rowid LIMIT 1")
                                 .arg(limitTable(), SchemaName(DbFile::Customer)),
                             {buyerCode}, QStringLiteral("read the buyer's credit limit"), DbFile::Customer);
    return limitOf(query);
}

std::optional<Paise> CreditLimitOfSerial(Database& db, qint64 buyerSerial)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT LimitPaise FROM %1 WHERE sno = ?").arg(limitTable()), {buyerSerial},
                             QStringLiteral("read the buyer's credit limit"), DbFile::Customer);
    return limitOf(query);
}

void SetCreditLimit(Database& db, qint64 buyerSerial, const QString& buyerCode, std::optional<Paise> limit)
{
    const QString operation = QStringLiteral("save the buyer's credit limit");
    Transaction transaction(db, operation);
    const auto text = [](std::optional<Paise> p) { return p ? AmountText(*p) : QString(); };
    if (const std::optional<Paise> before = CreditLimitOfSerial(db, buyerSerial); before != limit)
        LogChange(db, QStringLiteral("BuyerCreditLimit"), buyerCode, AuditAction::Changed,
                  {{QStringLiteral("LimitPaise"), text(before), text(limit)}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE sno = ?").arg(limitTable()), {buyerSerial}, operation, DbFile::Customer);
    if (limit)
        db.run(QStringLiteral("INSERT INTO %1 (sno, bid, LimitPaise) VALUES (?, ?, ?)").arg(limitTable()),
               {buyerSerial, buyerCode, *limit}, operation, DbFile::Customer);
    transaction.commit();
}

} // namespace zelva
