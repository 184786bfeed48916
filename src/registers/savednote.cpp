#include "registers/savednote.h"

#include "data/database.h"
#include "gst/gstrates.h"
#include "platform/datetext.h"
#include "sales/invoicestore.h"
#include "sales/salenote.h"

#include <algorithm>

#include <QHash>
#include <QSqlQuery>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the credit and debit notes");

QString table(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(name));
}

QString given(const QString& text) { return text.trimmed() == QLatin1String("N.A.") ? QString() : text.trimmed(); }

// The note's header with its invoice: the buyer as the invoice names it, and
// the invoice's own value (GoodsInvoice's total).
QString notesOfPeriodSql()
{
    const QString date = QStringLiteral("n.\"NoteDate\"");
    return QStringLiteral("SELECT n.\"sno\", n.\"KindSno\", n.\"Kind\", n.\"NoteNo\", n.\"NoteDate\", n.\"Reason\", "
                          "n.\"TaxMode\", n.\"GstRate\", n.\"Taxable\", n.\"Igst\", n.\"Cgst\", n.\"Sgst\", n.\"Total\", "
                          "n.\"InvoiceSno\", n.\"InvoiceNo\", n.\"InvoiceDate\", n.\"BuyerName\", n.\"BuyerGstin\", "
                          "n.\"buyerstate\", b.\"SalerGstin\", g.\"totalamount\" FROM %1 AS n "
                          "LEFT JOIN %2 AS b ON b.\"sno\" = n.\"InvoiceSno\" LEFT JOIN %3 AS g ON g.\"sno\" = n.\"InvoiceSno\" "
                          "WHERE %4 BETWEEN ? AND ? ORDER BY n.\"sno\"")
        .arg(table("SaleNote"), table("BuyerInvoice"), table("GoodsInvoice"), DateKeySql(date));
}

SavedNote readNote(const QSqlQuery& q)
{
    SavedNote note;
    note.serial = q.value(1).toLongLong();
    note.credit = q.value(2).toString() != QLatin1String("D");
    note.number = q.value(3).toString();
    note.dateText = q.value(4).toString();
    note.date = ReadKeptDate(note.dateText);
    note.reason = q.value(5).toString();
    note.mode = TaxModeOfCode(q.value(6).toString());
    note.rate = q.value(7).toDouble();
    note.taxable = ToPaise(q.value(8).toDouble());
    note.tax = {ToPaise(q.value(9).toDouble()), ToPaise(q.value(10).toDouble()), ToPaise(q.value(11).toDouble()), 0};
    note.total = ToPaise(q.value(12).toDouble());
    SavedInvoice& invoice = note.invoice;
    invoice.serial = q.value(13).toLongLong();
    invoice.number = q.value(14).toString();
    invoice.dateText = q.value(15).toString();
    invoice.date = ReadKeptDate(invoice.dateText);
    invoice.buyerName = q.value(16).toString();
    invoice.buyerGstin = q.value(17).toString();
    invoice.buyerState = q.value(18).toString();
    invoice.supplierGstin = q.value(19).toString();
    invoice.mode = note.mode;
    invoice.total = ToPaise(q.value(20).toDouble());
    return note;
}

// Each line's rate is that of the invoice line it corrects: kept with the
// invoice when its lines are at several rates, else the note's own.
QString lineRateSql(const Database& db)
{
    return LineTaxesKept(db) ? QStringLiteral("t.\"GstRate\"") : QStringLiteral("NULL");
}

QString lineRateJoin(const Database& db)
{
    return LineTaxesKept(db) ? QStringLiteral("LEFT JOIN \"%1\".\"InvoiceLineTax\" AS t ON t.\"sno\" = n.\"InvoiceSno\" AND "
                                              "t.\"GoodsRow\" = l.\"GoodsRow\"")
                                   .arg(SchemaName(DbFile::Invoice))
                             : QString();
}

void readLines(const Database& db, const Period& period, std::vector<SavedNote>& notes, const QHash<qint64, std::size_t>& at)
{
    QSqlQuery lines = db.run(QStringLiteral("SELECT l.\"sno\", l.\"GoodsRow\", l.\"Description\", l.\"Hsn\", l.\"Per\", "
                                            "l.\"Quantity\", l.\"Value\", l.\"FirstTax\", l.\"Sgst\", %4 FROM %1 AS l JOIN %2 AS n "
                                            "ON n.\"sno\" = l.\"sno\" %5 WHERE %3 BETWEEN ? AND ? ORDER BY l.\"sno\", l.\"LineNo\"")
                                 .arg(table("SaleNoteLine"), table("SaleNote"), DateKeySql(QStringLiteral("n.\"NoteDate\"")),
                                      lineRateSql(db), lineRateJoin(db)),
                             {DayKey(period.from), DayKey(period.to)}, ReadOperation, DbFile::Invoice);
    while (lines.next()) {
        const auto found = at.constFind(lines.value(0).toLongLong());
        if (found == at.constEnd())
            continue;
        SavedNote& note = notes[*found];
        const QVariant keptRate = lines.value(9);
        note.lines.push_back({lines.value(1).toInt(), given(lines.value(2).toString()), given(lines.value(3).toString()),
                              given(lines.value(4).toString()), lines.value(5).toDouble(),
                              ToPaise(lines.value(6).toDouble()),
                              RowTaxHeads(note.mode, ToPaise(lines.value(7).toDouble()),
                                          ToPaise(lines.value(8).toDouble())),
                              keptRate.isNull() ? note.rate : keptRate.toDouble()});
    }
}

NoteEffect effectOf(const QSqlQuery& q, int first)
{
    NoteEffect effect;
    effect.notes = q.value(first).toInt();
    effect.credited = ToPaise(q.value(first + 1).toDouble());
    effect.debited = ToPaise(q.value(first + 2).toDouble());
    return effect;
}

QString effectColumns()
{
    return QStringLiteral("COUNT(*), COALESCE(SUM(CASE WHEN \"Kind\" = 'C' THEN \"Total\" END), 0.0), "
                          "COALESCE(SUM(CASE WHEN \"Kind\" = 'D' THEN \"Total\" END), 0.0)");
}

// A read-only file left at a layout before notes (never upgraded) has no
// note tables: it holds no notes.
bool notesKept(const Database& db)
{
    return !db.tableKind(DbFile::Invoice, QStringLiteral("SaleNote"), ReadOperation).isEmpty();
}

} // namespace

std::vector<SavedNote> LoadNotes(const Database& db, const Period& period)
{
    std::vector<SavedNote> notes;
    if (!notesKept(db))
        return notes;
    QHash<qint64, std::size_t> at;
    {
        QSqlQuery query = db.run(notesOfPeriodSql(), {DayKey(period.from), DayKey(period.to)}, ReadOperation,
                                 DbFile::Invoice);
        while (query.next()) {
            at.insert(query.value(0).toLongLong(), notes.size());
            notes.push_back(readNote(query));
        }
    }
    if (!notes.empty())
        readLines(db, period, notes, at);
    return notes;
}

std::vector<RateTax> SavedNote::supplies() const
{
    const bool oneRate = std::all_of(lines.begin(), lines.end(), [&](const SavedNoteLine& l) { return SameRate(l.rate, rate); });
    if (oneRate)
        return {{rate, taxable, tax}};
    std::vector<RateTax> byRate;
    for (const SavedNoteLine& line : lines) {
        auto at = std::find_if(byRate.begin(), byRate.end(), [&](const RateTax& r) { return SameRate(r.gstRate, line.rate); });
        if (at == byRate.end())
            at = byRate.insert(std::upper_bound(byRate.begin(), byRate.end(), line.rate,
                                                [](double r, const RateTax& entry) { return r < entry.gstRate; }),
                               RateTax{line.rate, 0, {}});
        at->taxable += line.value;
        at->tax += line.tax;
    }
    return byRate;
}

NoteEffect NoteEffectOnInvoice(const Database& db, qint64 invoiceSerial)
{
    if (!notesKept(db))
        return {};
    QSqlQuery q = db.run(QStringLiteral("SELECT %1 FROM %2 WHERE \"InvoiceSno\" = ?").arg(effectColumns(), table("SaleNote")),
                         {invoiceSerial}, ReadOperation, DbFile::Invoice);
    return q.next() ? effectOf(q, 0) : NoteEffect{};
}

std::map<qint64, NoteEffect> NoteEffectsOfBuyer(const Database& db, const QString& buyerCode)
{
    std::map<qint64, NoteEffect> effects;
    if (!notesKept(db))
        return effects;
    QSqlQuery q = db.run(QStringLiteral("SELECT \"InvoiceSno\", %1 FROM %2 WHERE \"bid\" = ? GROUP BY \"InvoiceSno\"")
                             .arg(effectColumns(), table("SaleNote")),
                         {buyerCode}, ReadOperation, DbFile::Invoice);
    while (q.next())
        effects[q.value(0).toLongLong()] = effectOf(q, 1);
    return effects;
}

} // namespace zelva
