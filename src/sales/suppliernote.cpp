#include "sales/suppliernote.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/serials.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "platform/datetext.h"

#include <QCoreApplication>
#include <QSqlQuery>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

QString table() { return QStringLiteral("\"%1\".\"SupplierNote\"").arg(SchemaName(DbFile::PurchaseMaster)); }

QString kindLetter(bool credit) { return credit ? QStringLiteral("C") : QStringLiteral("D"); }

// Financial year, supplier, kind and the note number as compared: a note is entered once.
QString noteKey(const SupplierNote& note, const PurchaseBill& bill)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(FinancialYearOf(note.date))
        .arg(NormalizedGstin(bill.supplierGstin), kindLetter(note.credit), ComparableBillNumber(note.number));
}

Paise billTaxableAt(const PurchaseBill& bill, double rate)
{
    Paise sum = 0;
    for (const PurchaseBillLine& line : bill.lines)
        if (SameRate(line.gstRate, rate))
            sum += line.taxable;
    return sum;
}

// The stored notes' taxable value on the bill at that rate, with its sign
// (credit notes negative).
Paise notedAt(Database& db, qint64 billSerial, double rate)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"Kind\", \"GstRate\", \"TaxablePaise\" FROM %1 WHERE \"BillSno\" = ?")
                             .arg(table()),
                         {billSerial}, tr("read the supplier's notes"), DbFile::PurchaseMaster);
    Paise sum = 0;
    while (q.next())
        if (SameRate(q.value(1).toDouble(), rate))
            sum += q.value(0).toString() == u"C" ? -q.value(2).toLongLong() : q.value(2).toLongLong();
    return sum;
}

} // namespace

QString SupplierNote::reference() const
{
    return (credit ? tr("Credit note %1 of %2 on bill %3 of %4") : tr("Debit note %1 of %2 on bill %3 of %4"))
        .arg(number, DateText(date), bill.number, bill.supplierName);
}

std::vector<PurchaseBill> LoadBillsForNotes(const Database& db, const QDate& from)
{
    std::vector<PurchaseBill> bills;
    for (PurchaseBill& bill : LoadGstBillsFrom(db, from))
        if (bill.registeredSupplier())
            bills.push_back(std::move(bill));
    return bills;
}

QString SupplierNoteRefusal(const SupplierNote& note, const PurchaseBill& bill)
{
    if (note.number.trimmed().isEmpty())
        return tr("Enter the supplier's note number (Note No.). Nothing is saved.");
    if (!note.date.isValid())
        return tr("Note %1 has no date (Note Date). Nothing is saved.").arg(note.number);
    if (!bill.registeredSupplier())
        return tr("%1 has no GSTIN: only a registered supplier's note changes input tax (Bill). Nothing is saved.")
            .arg(bill.supplierName);
    if (note.date < bill.date)
        return tr("Note %1 is dated %2, before its bill %3 of %4 (Note Date). Nothing is saved.")
            .arg(note.number, DateText(note.date), bill.number, DateText(bill.date));
    if (billTaxableAt(bill, note.gstRate) <= 0)
        return tr("Bill %1 has no line at %2 % (GST Rate %). Nothing is saved.")
            .arg(bill.number, RateText(note.gstRate));
    if (note.taxable <= 0)
        return tr("The note's taxable value must be above 0.00, not %1 (Taxable Value). Nothing is saved.")
            .arg(AmountText(note.taxable));
    return {};
}

QString StoreSupplierNote(Database& db, SupplierNote& note)
{
    Transaction transaction(db, tr("save the supplier's note"));
    const std::optional<PurchaseBill> bill = LoadPurchaseBill(db, note.billSerial);
    if (!bill)
        return tr("The bill of the note is not stored (Bill). Nothing is saved.");
    note.bill = *bill;
    if (QString refused = SupplierNoteRefusal(note, *bill); !refused.isEmpty())
        return refused;
    if (note.credit) {
        const Paise left = billTaxableAt(*bill, note.gstRate) + notedAt(db, bill->serial, note.gstRate);
        if (note.taxable > left)
            return tr("Credit note %1 takes off %2 at %3 %, but only %4 is left of bill %5 at that rate, its notes "
                      "counted (Taxable Value). Nothing is saved.")
                .arg(note.number, AmountText(note.taxable), RateText(note.gstRate), AmountText(left), bill->number);
    }
    const QString key = noteKey(note, *bill);
    QSqlQuery same = db.run(QStringLiteral("SELECT \"NoteNo\", \"NoteDate\" FROM %1 WHERE \"NoteKey\" = ?").arg(table()),
                            {key}, tr("look for the same note"), DbFile::PurchaseMaster);
    if (same.next())
        return tr("Note %1 of %2 is already entered (as %3, dated %4): a supplier's note number is entered once in "
                  "a financial year. Nothing is saved.")
            .arg(note.number, bill->supplierName, same.value(0).toString(), same.value(1).toString());
    note.tax = TaxAtRate(note.taxable, note.gstRate, bill->mode);
    note.serial = NextSerial(db, DbFile::PurchaseMaster, QStringLiteral("SupplierNote"), QStringLiteral("sno"));
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"NoteKey\", \"NoteNo\", \"NoteDate\", \"NoteDay\", \"Kind\", "
                          "\"BillSno\", \"GstRate\", \"TaxablePaise\", \"IgstPaise\", \"CgstPaise\", \"SgstPaise\", "
                          "\"Reason\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table()),
           {note.serial, key, note.number, DateText(note.date), DayKey(note.date), kindLetter(note.credit),
            bill->serial, note.gstRate, note.taxable, note.tax.igst, note.tax.cgst, note.tax.sgst,
            note.reason.trimmed().isEmpty() ? QStringLiteral("N.A.") : note.reason},
           tr("save the supplier's note"), DbFile::PurchaseMaster);
    LogChange(db, QStringLiteral("SupplierNote"), key, AuditAction::Added,
              {{QStringLiteral("NoteNo"), {}, note.number}, {QStringLiteral("TaxablePaise"), {}, AmountText(note.taxable)}});
    transaction.commit();
    return {};
}

std::vector<SupplierNote> LoadSupplierNotes(const Database& db, const QDate& from, const QDate& to)
{
    std::vector<SupplierNote> notes;
    QSqlQuery q = db.run(QStringLiteral("SELECT \"sno\", \"Kind\", \"NoteNo\", \"NoteDay\", \"BillSno\", \"GstRate\", "
                                        "\"TaxablePaise\", \"IgstPaise\", \"CgstPaise\", \"SgstPaise\", \"Reason\" "
                                        "FROM %1 WHERE \"NoteDay\" BETWEEN ? AND ? ORDER BY \"NoteDay\", \"sno\"")
                             .arg(table()),
                         {DayKey(from), DayKey(to)}, tr("read the supplier's notes"), DbFile::PurchaseMaster);
    while (q.next()) {
        SupplierNote note;
        note.serial = q.value(0).toLongLong();
        note.credit = q.value(1).toString() == u"C";
        note.number = q.value(2).toString();
        const qint64 day = q.value(3).toLongLong();
        note.date = QDate(int(day / 10000), int(day / 100 % 100), int(day % 100));
        note.billSerial = q.value(4).toLongLong();
        note.gstRate = q.value(5).toDouble();
        note.taxable = q.value(6).toLongLong();
        note.tax = {q.value(7).toLongLong(), q.value(8).toLongLong(), q.value(9).toLongLong(), 0};
        note.reason = q.value(10).toString();
        notes.push_back(note);
    }
    for (SupplierNote& note : notes)
        if (const std::optional<PurchaseBill> bill = LoadPurchaseBill(db, note.billSerial))
            note.bill = *bill;
    return notes;
}

} // namespace zelva
