#include "sales/salenotestore.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/stockchange.h"
#include "gst/amountinwords.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/invoicestore.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

namespace zelva {

namespace {

const QString SaveOperation = QStringLiteral("save the note");
const QString ReadOperation = QStringLiteral("read the notes");

QString table(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(name));
}

QString shownQuantity(double quantity) { return Str(RoundAmount(quantity, 3)); }

// The quantities and values the notes saved against the invoice put on each
// goods row, credits and debits apart.
struct NotedRow {
    double credited = 0;
    Paise creditedValue = 0;
    Paise debitedValue = 0;
};

std::map<int, NotedRow> notedRows(Database& db, qint64 invoiceSerial)
{
    std::map<int, NotedRow> rows;
    QSqlQuery noted = db.run(QStringLiteral("SELECT l.\"GoodsRow\", n.\"Kind\", l.\"Quantity\", l.\"Value\" FROM %1 AS l "
                                            "JOIN %2 AS n ON n.\"sno\" = l.\"sno\" WHERE n.\"InvoiceSno\" = ?")
                                 .arg(table("SaleNoteLine"), table("SaleNote")),
                             {invoiceSerial}, ReadOperation, DbFile::Invoice);
    while (noted.next()) {
        NotedRow& row = rows[noted.value(0).toInt()];
        const Paise value = ToPaise(noted.value(3).toDouble());
        if (noted.value(1).toString() == NoteKindCode(NoteKind::Credit)) {
            row.credited += noted.value(2).toDouble();
            row.creditedValue += value;
        } else {
            row.debitedValue += value;
        }
    }
    return rows;
}

// A note's line is named by the invoice's row it corrects, as the note's
// form shows it (rows the operator left empty are not on the note).
int invoiceRowOf(const NoteLine& line) { return line.goodsRow - invoicegrid::FirstGoodsRow + 1; }

QString lineName(const NoteLine& line)
{
    return QStringLiteral("line %1 (%2)").arg(invoiceRowOf(line)).arg(line.description);
}

QString invoiceRefusal(const std::optional<Invoice>& invoice, const SaleNote& note)
{
    if (note.invoiceNumber.trimmed().isEmpty())
        return QStringLiteral("Choose the invoice the note corrects (Original Invoice No.).");
    if (!invoice)
        return QStringLiteral("There is no saved invoice %1 (Original Invoice No.).").arg(note.invoiceNumber);
    if (invoice->cancelled())
        return QStringLiteral("Invoice %1 is cancelled: no note can be issued against it (Original Invoice No.).")
            .arg(note.invoiceNumber);
    if (invoice->buyerCode != note.buyerCode || invoice->buyer.name != note.buyer.name)
        return QStringLiteral("Invoice %1 was issued to %2, not to %3 (Original Invoice No.).")
            .arg(note.invoiceNumber, invoice->buyer.name, note.buyer.name);
    return {};
}

QString dateRefusal(const Invoice& invoice, const SaleNote& note)
{
    const QDate day = note.date;
    if (!day.isValid())
        return QStringLiteral("Type the note's date as day/month/year (Note Date).");
    const QDate invoiceDay = invoice.date;
    if (invoiceDay.isValid() && day < invoiceDay)
        return QStringLiteral("The note's date %1 is before the date of invoice %2 (%3) (Note Date).")
            .arg(DateText(note.date), invoice.number, DateText(invoice.date));
    if (note.kind == NoteKind::Credit && invoiceDay.isValid() && day > LastCreditNoteDay(invoiceDay))
        return QStringLiteral("A credit note against invoice %1 of %2 can be issued only up to %3: after that the "
                              "buyer's input tax credit can no longer be reduced (Note Date).")
            .arg(invoice.number, DateText(invoice.date), DateText(LastCreditNoteDay(invoiceDay)));
    return {};
}

QString lineRefusal(const SaleNote& note, const NoteLine& line, const LineLeft* left)
{
    const QString name = lineName(line);
    const int number = invoiceRowOf(line);
    if (!left)
        return QStringLiteral("Invoice %1 has no goods row %2 (%3).").arg(note.invoiceNumber).arg(line.goodsRow).arg(name);
    if (line.quantity < 0)
        return QStringLiteral("The quantity of %1 cannot be below nothing (Quantity, line %2).").arg(name).arg(number);
    if (line.value <= 0)
        return QStringLiteral("The value of %1 must be above nothing (Value, line %2).").arg(name).arg(number);
    if (note.reason == SalesReturnReason() && line.quantity <= 0)
        return QStringLiteral("A sales return takes goods back: type the quantity returned of %1 (Quantity, line %2).")
            .arg(name)
            .arg(number);
    if (note.kind != NoteKind::Credit)
        return {};
    if (line.quantity > left->quantity + 1e-9)
        return QStringLiteral("The quantity %1 of %2 is more than the %3 left of it (Quantity, line %4).")
            .arg(shownQuantity(line.quantity), name, shownQuantity(left->quantity))
            .arg(number);
    if (line.value > left->value)
        return QStringLiteral("The value %1 of %2 is more than the %3 left of it (Value, line %4).")
            .arg(AmountText(line.value), name, AmountText(left->value))
            .arg(number);
    return {};
}

QString linesRefusal(Database& db, const Invoice& invoice, const SaleNote& note)
{
    if (note.lines.empty())
        return QStringLiteral("Type the quantity or value of at least one line (Quantity, line 1).");
    const std::vector<LineLeft> left = LeftOfInvoice(db, invoice);
    std::map<int, int> seen;
    for (const NoteLine& line : note.lines) {
        const LineLeft* found = nullptr;
        for (const LineLeft& l : left)
            if (l.goodsRow == line.goodsRow)
                found = &l;
        if (seen[line.goodsRow]++ > 0)
            return QStringLiteral("Goods row %1 of the invoice is on the note twice (%2).").arg(line.goodsRow).arg(lineName(line));
        if (QString why = lineRefusal(note, line, found); !why.isEmpty())
            return why;
    }
    if (!WithinAmountLimit(ToRupees(note.total)))
        return AmountTooLarge(QStringLiteral("The total of this note"));
    return {};
}

// The kind's next serial whose number is free, from the proposed one on.
qint64 freeNoteSerial(Database& db, NoteKind kind, qint64 proposed)
{
    qint64 serial = std::max(proposed, NextNoteSerial(db, kind));
    for (;; ++serial) {
        QSqlQuery taken = db.run(QStringLiteral("SELECT 1 FROM %1 WHERE \"NoteNo\" = ?").arg(table("SaleNote")),
                                 {NoteNumber(kind, serial)}, SaveOperation, DbFile::Invoice);
        if (!taken.next())
            return serial;
    }
}

qint64 nextSerialOf(Database& db, const char* tableName)
{
    QSqlQuery max = db.run(QStringLiteral("SELECT MAX(\"sno\") FROM %1").arg(table(tableName)), {}, SaveOperation,
                           DbFile::Invoice);
    return max.next() ? max.value(0).toLongLong() + 1 : 1;
}

// The stock item a goods row of the invoice was taken from; "" when none.
QString itemOfRow(Database& db, const Invoice& invoice, const NoteLine& line)
{
    QSqlQuery taken = db.run(QStringLiteral("SELECT \"itemcode\" FROM %1 WHERE \"sno\" = ? AND \"GoodsRow\" = ?")
                                 .arg(table("InvoiceStock")),
                             {invoice.serial, line.goodsRow}, SaveOperation, DbFile::Invoice);
    if (taken.next())
        return taken.value(0).toString();
    // an invoice saved before the taking was kept: the first item of its name
    const DbFile file = StockFile(StockTable::ForSale);
    QSqlQuery item = db.run(QStringLiteral("SELECT \"itemcode\" FROM \"%1\".\"%2\" WHERE \"ItemName\" = ? AND \"sno\" <> 0 "
                                           "ORDER BY rowid LIMIT 1")
                                .arg(SchemaName(file), StockTableName(StockTable::ForSale)),
                            {line.description}, SaveOperation, file);
    return item.next() ? item.value(0).toString() : QString();
}

void insertHeader(Database& db, const SaleNote& note, qint64 sno, const StoredNote& as)
{
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"NoteNo\", \"Kind\", \"KindSno\", \"NoteDate\", \"NoteTime\", "
                          "\"Reason\", \"InvoiceSno\", \"InvoiceNo\", \"InvoiceDate\", \"bid\", \"BuyerName\", "
                          "\"BuyerGstin\", \"buyerstate\", \"TaxMode\", \"GstRate\", \"TaxLabel\", \"Taxable\", \"Igst\", "
                          "\"Cgst\", \"Sgst\", \"Total\", \"IssuedBy\") VALUES "
                          "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
               .arg(table("SaleNote")),
           {sno, as.number, NoteKindCode(note.kind), as.serial, DateText(note.date), note.time, note.reason,
            note.invoiceSerial, note.invoiceNumber, DateText(note.invoiceDate), note.buyerCode, note.buyer.name,
            note.buyer.gstin, note.buyer.state,
            TaxModeCode(note.mode),
            note.gstRate(), note.taxLabel, ToRupees(note.taxable),
            ToRupees(note.mode == TaxMode::Igst ? note.firstTax : 0), ToRupees(note.mode == TaxMode::Cgst ? note.firstTax : 0),
            ToRupees(note.sgst), ToRupees(note.total), note.issuedBy},
           SaveOperation, DbFile::Invoice);
}

void insertLines(Database& db, const Invoice& invoice, const SaleNote& note, qint64 sno, const QString& number)
{
    QStringList rows;
    QVariantList values;
    for (std::size_t i = 0; i < note.lines.size(); ++i) {
        const NoteLine& line = note.lines[i];
        QString item;
        double returned = 0;
        if (note.movesStock() && line.quantity > 0) {
            item = itemOfRow(db, invoice, line);
            if (!item.isEmpty() && AdjustStock(db, StockTable::ForSale, item, line.quantity))
                returned = line.quantity;
        }
        rows << QStringLiteral("(?,?,?,?,?,?,?,?,?,?,?,?,?)");
        values << sno << number << qint64(i) + 1 << qint64(line.goodsRow) << line.description << line.hsn << line.unit
               << line.quantity << ToRupees(line.value) << ToRupees(line.firstTax) << ToRupees(line.sgst)
               << (returned != 0 ? item : QString()) << returned;
    }
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"NoteNo\", \"LineNo\", \"GoodsRow\", \"Description\", \"Hsn\", "
                          "\"Per\", \"Quantity\", \"Value\", \"FirstTax\", \"Sgst\", \"itemcode\", \"Returned\") VALUES %2")
               .arg(table("SaleNoteLine"), rows.join(QLatin1Char(','))),
           values, SaveOperation, DbFile::Invoice);
}

NoteKind kindOf(const QString& code) { return code == NoteKindCode(NoteKind::Debit) ? NoteKind::Debit : NoteKind::Credit; }

SaleNote readHeader(const QSqlRecord& r)
{
    SaleNote note;
    note.kind = kindOf(r.value(QStringLiteral("Kind")).toString());
    note.serial = r.value(QStringLiteral("KindSno")).toLongLong();
    note.number = r.value(QStringLiteral("NoteNo")).toString();
    note.date = ReadKeptDate(r.value(QStringLiteral("NoteDate")).toString());
    note.time = r.value(QStringLiteral("NoteTime")).toString();
    note.reason = r.value(QStringLiteral("Reason")).toString();
    note.issuedBy = r.value(QStringLiteral("IssuedBy")).toString();
    note.invoiceSerial = r.value(QStringLiteral("InvoiceSno")).toLongLong();
    note.invoiceNumber = r.value(QStringLiteral("InvoiceNo")).toString();
    note.invoiceDate = ReadKeptDate(r.value(QStringLiteral("InvoiceDate")).toString());
    note.buyerCode = r.value(QStringLiteral("bid")).toString();
    note.buyer.name = r.value(QStringLiteral("BuyerName")).toString();
    note.buyer.gstin = r.value(QStringLiteral("BuyerGstin")).toString();
    note.buyer.state = r.value(QStringLiteral("buyerstate")).toString();
    note.mode = TaxModeOfCode(r.value(QStringLiteral("TaxMode")).toString());
    note.taxLabel = r.value(QStringLiteral("TaxLabel")).toString();
    // a note without tax keeps no label, one over several rates its head alone
    if (note.mode != TaxMode::None && !note.taxLabel.isEmpty() && note.taxLabel != MixedRatesLabel(note.mode))
        note.rate = r.value(QStringLiteral("GstRate")).toDouble();
    note.taxable = ToPaise(r.value(QStringLiteral("Taxable")).toDouble());
    note.firstTax = ToPaise(r.value(QStringLiteral("Igst")).toDouble() + r.value(QStringLiteral("Cgst")).toDouble());
    note.sgst = ToPaise(r.value(QStringLiteral("Sgst")).toDouble());
    note.total = ToPaise(r.value(QStringLiteral("Total")).toDouble());
    return note;
}

// The note's registration as kept; nothing when none (or a file from before
// notes were registered, left read-only).
std::optional<InvoiceRegistration> registrationOf(Database& db, const QString& number)
{
    if (db.tableKind(DbFile::Invoice, QStringLiteral("SaleNoteIrn"), ReadOperation).isEmpty())
        return std::nullopt;
    QSqlQuery kept = db.run(QStringLiteral("SELECT \"Irn\", \"AckNo\", \"AckDate\", \"SignedQrCode\" FROM %1 WHERE "
                                           "\"NoteNo\" = ?")
                                .arg(table("SaleNoteIrn")),
                            {number}, ReadOperation, DbFile::Invoice);
    if (!kept.next())
        return std::nullopt;
    InvoiceRegistration r;
    r.irn = kept.value(0).toString();
    r.ackNo = kept.value(1).toString();
    r.ackDate = kept.value(2).toString();
    r.signedQrCode = kept.value(3).toString();
    return r;
}

} // namespace

std::vector<LineLeft> LeftOfInvoice(Database& db, const Invoice& invoice)
{
    const std::map<int, NotedRow> noted = notedRows(db, invoice.serial);
    std::vector<LineLeft> left;
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        LineLeft l{int(i) + invoicegrid::FirstGoodsRow, line.description, line.hsn, line.unit, line.quantity,
                   line.taxable(), line.quantity, line.taxable(), LineGstRate(invoice, line)};
        if (const auto at = noted.find(l.goodsRow); at != noted.end()) {
            l.quantity -= at->second.credited;
            l.value += at->second.debitedValue - at->second.creditedValue;
        }
        left.push_back(l);
    }
    return left;
}

namespace {

// The invoice the note names, as saved; nothing when it names none or no saved one.
std::optional<Invoice> invoiceOf(Database& db, const SaleNote& note)
{
    return note.invoiceNumber.trimmed().isEmpty() ? std::nullopt : LoadInvoice(db, note.invoiceNumber);
}

QString refusalAgainst(Database& db, const std::optional<Invoice>& invoice, const SaleNote& note)
{
    if (QString why = invoiceRefusal(invoice, note); !why.isEmpty())
        return why;
    if (QString why = dateRefusal(*invoice, note); !why.isEmpty())
        return why;
    if (!NoteReasons().contains(note.reason))
        return QStringLiteral("Pick why the note is issued from the list (Reason).");
    return linesRefusal(db, *invoice, note);
}

} // namespace

QString NoteRefusal(Database& db, const SaleNote& note)
{
    return refusalAgainst(db, invoiceOf(db, note), note);
}

qint64 NextNoteSerial(Database& db, NoteKind kind)
{
    QSqlQuery max = db.run(QStringLiteral("SELECT MAX(\"KindSno\") FROM %1 WHERE \"Kind\" = ?").arg(table("SaleNote")),
                           {NoteKindCode(kind)}, ReadOperation, DbFile::Invoice);
    return max.next() ? max.value(0).toLongLong() + 1 : 1;
}

StoredNote StoreSaleNote(Database& db, const SaleNote& given)
{
    SaleNote note = given;
    Transaction transaction(db, SaveOperation);
    StoredNote as;
    const std::optional<Invoice> invoice = invoiceOf(db, note);
    if (invoice)
        TaxAsInvoiced(note, *invoice); // each line at its invoice line's rate, whatever the caller gave
    ComputeNoteTotals(note);
    as.refusal = refusalAgainst(db, invoice, note);
    if (!as.saved())
        return as; // rolled back: nothing was written
    as.serial = freeNoteSerial(db, note.kind, note.serial);
    as.number = NoteNumber(note.kind, as.serial);
    const qint64 sno = nextSerialOf(db, "SaleNote");
    insertHeader(db, note, sno, as);
    insertLines(db, *invoice, note, sno, as.number);
    LogChange(db, QStringLiteral("SaleNote"), as.number, AuditAction::Added,
              {{QStringLiteral("InvoiceNo"), {}, note.invoiceNumber}});
    transaction.commit();
    return as;
}

std::optional<SaleNote> LoadSaleNote(Database& db, const QString& number)
{
    QSqlQuery header = db.run(QStringLiteral("SELECT * FROM %1 WHERE \"NoteNo\" = ?").arg(table("SaleNote")), {number},
                              ReadOperation, DbFile::Invoice);
    if (!header.next())
        return std::nullopt;
    SaleNote note = readHeader(header.record());
    header.finish();
    QSqlQuery lines = db.run(QStringLiteral("SELECT \"GoodsRow\", \"Description\", \"Hsn\", \"Per\", \"Quantity\", "
                                            "\"Value\", \"FirstTax\", \"Sgst\" FROM %1 WHERE \"NoteNo\" = ? ORDER BY "
                                            "\"LineNo\"")
                                 .arg(table("SaleNoteLine")),
                             {number}, ReadOperation, DbFile::Invoice);
    while (lines.next())
        note.lines.push_back({lines.value(0).toInt(), lines.value(1).toString(), lines.value(2).toString(),
                              lines.value(3).toString(), lines.value(4).toDouble(), ToPaise(lines.value(5).toDouble()),
                              ToPaise(lines.value(6).toDouble()), ToPaise(lines.value(7).toDouble())});
    lines.finish();
    if (note.rate) {
        for (NoteLine& line : note.lines)
            line.gstRate = note.rate;
    } else if (note.mode != TaxMode::None && note.taxLabel == MixedRatesLabel(note.mode)) {
        // over several rates: each line's is kept with the invoice line it corrects
        if (const std::optional<Invoice> invoice = invoiceOf(db, note))
            TaxAsInvoiced(note, *invoice);
    }
    note.words = AmountInWords(ToRupees(note.total));
    note.registration = registrationOf(db, number);
    return note;
}

QString StoreNoteRegistration(Database& db, const QString& number, const InvoiceRegistration& r)
{
    const QString operation = QStringLiteral("keep the note's IRN");
    Transaction transaction(db, operation);
    QSqlQuery header = db.run(QStringLiteral("SELECT \"sno\" FROM %1 WHERE \"NoteNo\" = ?").arg(table("SaleNote")),
                              {number}, operation, DbFile::Invoice);
    if (!header.next())
        return QStringLiteral("There is no saved note %1.").arg(number);
    const qint64 sno = header.value(0).toLongLong();
    header.finish();
    if (const std::optional<InvoiceRegistration> kept = registrationOf(db, number)) {
        if (kept->irn == r.irn)
            return {};
        return QStringLiteral("Note %1 is registered already, under the IRN %2.").arg(number, kept->irn);
    }
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"NoteNo\", \"Irn\", \"AckNo\", \"AckDate\", \"SignedQrCode\", "
                          "\"ImportedOn\") VALUES (?, ?, ?, ?, ?, ?, ?)")
               .arg(table("SaleNoteIrn")),
           {sno, number, r.irn, r.ackNo, r.ackDate, r.signedQrCode, DateText(QDate::currentDate())}, operation,
           DbFile::Invoice);
    LogChange(db, QStringLiteral("SaleNoteIrn"), number, AuditAction::Marked, {{QStringLiteral("Irn"), {}, r.irn}});
    transaction.commit();
    return {};
}

std::vector<SaleNote> LoadSaleNoteHeaders(Database& db)
{
    std::vector<SaleNote> notes;
    QSqlQuery header = db.run(QStringLiteral("SELECT * FROM %1 ORDER BY \"sno\" DESC").arg(table("SaleNote")), {},
                              ReadOperation, DbFile::Invoice);
    while (header.next())
        notes.push_back(readHeader(header.record()));
    return notes;
}

QStringList NoteableInvoices(Database& db, int limit)
{
    const QString cancelled = CancellationsKept(db)
                                  ? QStringLiteral("AND NOT EXISTS (SELECT 1 FROM %1 AS c WHERE c.\"sno\" = b.\"sno\")")
                                        .arg(table("CancelledInvoice"))
                                  : QString();
    QSqlQuery found = db.run(QStringLiteral("SELECT b.\"InvoiceNo\" FROM %1 AS b WHERE b.\"sno\" <> 0 %2 ORDER BY "
                                            "b.\"sno\" DESC LIMIT %3")
                                 .arg(table("BuyerInvoice"), cancelled)
                                 .arg(limit),
                             {}, ReadOperation, DbFile::Invoice);
    QStringList numbers;
    while (found.next())
        numbers << found.value(0).toString();
    return numbers;
}

bool HasSaleNotes(Database& db, qint64 invoiceSerial)
{
    QSqlQuery any = db.run(QStringLiteral("SELECT 1 FROM %1 WHERE \"InvoiceSno\" = ? LIMIT 1").arg(table("SaleNote")),
                           {invoiceSerial}, ReadOperation, DbFile::Invoice);
    return any.next();
}

} // namespace zelva
