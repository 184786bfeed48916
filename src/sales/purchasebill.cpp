#include "sales/purchasebill.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/serials.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "platform/textnum.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlQuery>
#include <algorithm>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

QString table(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::PurchaseMaster), QLatin1String(name));
}

// The State code of a party: its State as the GST list knows it, else its GSTIN's.
QString stateCodeOf(const QString& state, const QString& gstin)
{
    if (const GstState* known = FindGstState(state))
        return known->code;
    const QString normal = NormalizedGstin(gstin);
    if (!IsNoGstin(gstin) && normal.size() >= 2 && GstStateOfCode(normal.left(2)))
        return normal.left(2);
    return {};
}

int dayKey(const QDate& day) { return day.year() * 10000 + day.month() * 100 + day.day(); }

// The day of a key yyyymmdd (read so rather than from the date text: a
// month's thousands of bills are read at once).
QDate dayOfKey(qint64 key) { return QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)); }

int financialYearOf(const QDate& day) { return day.month() < 4 ? day.year() - 1 : day.year(); }

QString taxKindText(TaxMode mode)
{
    return mode == TaxMode::Igst ? QStringLiteral("IGST") : mode == TaxMode::Cgst ? QStringLiteral("CGST") : QString();
}

TaxMode taxModeOf(const QString& text)
{
    return text == u"IGST" ? TaxMode::Igst : text == u"CGST" ? TaxMode::Cgst : TaxMode::None;
}

QString orNotApplicable(const QString& text) { return text.trimmed().isEmpty() ? QStringLiteral("N.A.") : text; }

// The stock record's serial the Purchase record names (0 when none).
qint64 stockSerial(Database& db, StockTable stock, const QString& itemCode)
{
    QSqlQuery query = db.run(QStringLiteral("SELECT \"sno\" FROM \"%1\".\"%2\" WHERE \"itemcode\" = ? LIMIT 1")
                                 .arg(SchemaName(StockFile(stock)), StockTableName(stock)),
                             {itemCode}, tr("read the stock item"), StockFile(stock));
    return query.next() ? query.value(0).toLongLong() : 0;
}

void storePurchaseRecord(Database& db, const PurchaseBill& bill, PurchaseBillLine& line)
{
    const qint64 proposed = NextSerial(db, DbFile::PurchaseMaster, QStringLiteral("Purchase"), QStringLiteral("PSno"));
    line.purchaseSerial = FreeSerial(db, DbFile::PurchaseMaster, QStringLiteral("Purchase"), QStringLiteral("PSno"),
                                     QStringLiteral("PurchaseId"), CodeKind::Purchase, proposed);
    const QString date = DateText(bill.date);
    const qint64 stockSno = line.stock ? stockSerial(db, *line.stock, line.itemCode) : 0;
    db.run(QStringLiteral("INSERT INTO %1 (\"PSno\", \"PurchaseId\", \"PurchaseDate\", \"PurchaseOrder\", "
                          "\"PurchaseInvoiceNo\", \"PurchaseInvoiceDate\", \"SupplierName\", \"SupGstinNo\", "
                          "\"SupAddress\", \"sno\", \"itemcode\", \"ItemName\", \"ItemHsn\", \"Rate\", \"Per\", "
                          "\"Quantity\", \"Remarks\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("Purchase")),
           {line.purchaseSerial, RecordCode(CodeKind::Purchase, line.purchaseSerial), date, QStringLiteral("N.A."),
            bill.number, date, orNotApplicable(bill.supplierName), orNotApplicable(bill.supplierGstin),
            orNotApplicable(bill.supplierAddress), stockSno, line.itemCode, line.itemName, orNotApplicable(line.hsn),
            line.rate, orNotApplicable(line.per), line.quantity, QStringLiteral("N.A.")},
           tr("save the purchase"), DbFile::PurchaseMaster);
    LogChange(db, QStringLiteral("Purchase"), RecordCode(CodeKind::Purchase, line.purchaseSerial), AuditAction::Added,
              {{QStringLiteral("Quantity"), {}, Str(line.quantity)}});
}

PurchaseBillLine readLine(const QSqlQuery& q, int first)
{
    PurchaseBillLine line;
    line.purchaseSerial = q.value(first).toLongLong();
    line.itemCode = q.value(first + 1).toString();
    line.itemName = q.value(first + 2).toString();
    line.hsn = q.value(first + 3).toString();
    line.per = q.value(first + 4).toString();
    line.rate = q.value(first + 5).toDouble();
    line.quantity = q.value(first + 6).toDouble();
    return line;
}

} // namespace

LineTax PurchaseLineTax(Paise taxable, double gstRate, TaxMode mode)
{
    LineTax tax;
    if (mode == TaxMode::Igst)
        tax.igst = ToPaise(TaxOn(ToRupees(taxable), gstRate));
    else if (mode == TaxMode::Cgst)
        tax.cgst = tax.sgst = ToPaise(TaxOn(ToRupees(taxable), gstRate / 2));
    return tax;
}

TaxMode PurchaseTaxMode(const QString& supplierState, const QString& supplierGstin, const QString& companyState,
                        const QString& companyGstin)
{
    const QString supplier = stateCodeOf(supplierState, supplierGstin);
    const QString company = stateCodeOf(companyState, companyGstin);
    if (supplier.isEmpty() || company.isEmpty())
        return TaxMode::None;
    return supplier == company ? TaxMode::Cgst : TaxMode::Igst;
}

QString ComparableBillNumber(const QString& number)
{
    QString kept;
    for (const QChar c : number.toUpper())
        if (!c.isSpace() && c != u'/' && c != u'-')
            kept += c;
    qsizetype zeros = 0;
    while (zeros < kept.size() - 1 && kept[zeros] == u'0')
        ++zeros;
    return kept.mid(zeros);
}

Paise PurchaseBill::taxable() const
{
    Paise sum = 0;
    for (const PurchaseBillLine& line : lines)
        sum += line.taxable;
    return sum;
}

LineTax PurchaseBill::tax() const
{
    LineTax sum;
    for (const PurchaseBillLine& line : lines) {
        sum.igst += line.tax.igst;
        sum.cgst += line.tax.cgst;
        sum.sgst += line.tax.sgst;
    }
    return sum;
}

bool PurchaseBill::registeredSupplier() const { return !IsNoGstin(supplierGstin); }

QString PurchaseBill::reference() const { return tr("bill %1 of %2").arg(number, supplierName); }

void ComputePurchaseTaxes(PurchaseBill& bill, const QString& companyState, const QString& companyGstin)
{
    bill.mode = PurchaseTaxMode(bill.supplierState, bill.supplierGstin, companyState, companyGstin);
    for (PurchaseBillLine& line : bill.lines)
        line.tax = PurchaseLineTax(line.taxable, line.gstRate, bill.mode);
}

QString PurchaseBillKey(const PurchaseBill& bill)
{
    const QString supplier =
        bill.registeredSupplier() ? NormalizedGstin(bill.supplierGstin) : bill.supplierName.simplified().toUpper();
    return QStringLiteral("%1|%2|%3").arg(financialYearOf(bill.date)).arg(supplier, ComparableBillNumber(bill.number));
}

QString StoreBillHeaderWithin(Database& db, PurchaseBill& bill)
{
    const QString key = PurchaseBillKey(bill);
    QSqlQuery same = db.run(QStringLiteral("SELECT \"BillNo\", \"BillDate\" FROM %1 WHERE \"BillKey\" = ?")
                                .arg(table("PurchaseBill")),
                            {key}, tr("look for the same bill"), DbFile::PurchaseMaster);
    if (same.next())
        return tr("Bill %1 of %2 is already entered (as %3, dated %4): a supplier's bill number is entered once "
                  "in a financial year. Nothing is saved.")
            .arg(bill.number, bill.supplierName, same.value(0).toString(), same.value(1).toString());
    bill.serial = NextSerial(db, DbFile::PurchaseMaster, QStringLiteral("PurchaseBill"), QStringLiteral("sno"));
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"BillKey\", \"BillNo\", \"BillDate\", \"BillDay\", "
                          "\"SupplierSno\", \"SupplierName\", \"SupplierGstin\", \"SupplierState\", \"TaxKind\", "
                          "\"ReverseCharge\", \"ItcEligible\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("PurchaseBill")),
           {bill.serial, key, bill.number, DateText(bill.date), dayKey(bill.date), bill.supplierSerial,
            bill.supplierName, bill.supplierGstin, bill.supplierState, taxKindText(bill.mode),
            bill.reverseCharge ? 1 : 0, bill.itcEligible ? 1 : 0},
           tr("save the bill"), DbFile::PurchaseMaster);
    LogChange(db, QStringLiteral("PurchaseBill"), key, AuditAction::Added, {{QStringLiteral("BillNo"), {}, bill.number}});
    return {};
}

void StoreBillLineWithin(Database& db, qint64 billSerial, const PurchaseBillLine& line)
{
    db.run(QStringLiteral("INSERT INTO %1 (\"PSno\", \"BillSno\", \"Taxable\", \"GstRate\", \"Igst\", \"Cgst\", "
                          "\"Sgst\") VALUES (?, ?, ?, ?, ?, ?, ?)")
               .arg(table("PurchaseBillLine")),
           {line.purchaseSerial, billSerial, ToRupees(line.taxable), line.gstRate, ToRupees(line.tax.igst),
            ToRupees(line.tax.cgst), ToRupees(line.tax.sgst)},
           tr("save the bill's tax"), DbFile::PurchaseMaster);
}

QString StorePurchaseBill(Database& db, PurchaseBill& bill)
{
    Transaction transaction(db, tr("save the bill"));
    if (QString refused = StoreBillHeaderWithin(db, bill); !refused.isEmpty())
        return refused;
    for (PurchaseBillLine& line : bill.lines) {
        storePurchaseRecord(db, bill, line);
        if (line.stock && !AdjustStock(db, *line.stock, line.itemCode, line.quantity))
            return tr("%1 (%2) is no longer in the stock list. Nothing is saved.").arg(line.itemName, line.itemCode);
        StoreBillLineWithin(db, bill.serial, line);
    }
    transaction.commit();
    return {};
}

std::vector<PurchaseBill> LoadPurchaseBills(const Database& db, const QDate& from, const QDate& to)
{
    std::vector<PurchaseBill> bills;
    const QString lineColumns = QStringLiteral("p.\"PSno\", p.\"itemcode\", p.\"ItemName\", p.\"ItemHsn\", p.\"Per\", "
                                               "p.\"Rate\", p.\"Quantity\"");
    QSqlQuery q = db.run(
        QStringLiteral("SELECT b.\"sno\", b.\"BillNo\", b.\"BillDay\", b.\"SupplierSno\", b.\"SupplierName\", "
                       "b.\"SupplierGstin\", b.\"SupplierState\", b.\"TaxKind\", b.\"ReverseCharge\", "
                       "b.\"ItcEligible\", p.\"SupAddress\", l.\"Taxable\", l.\"GstRate\", l.\"Igst\", l.\"Cgst\", "
                       "l.\"Sgst\", %1 FROM %2 AS b JOIN %3 AS l ON l.\"BillSno\" = b.\"sno\" JOIN %4 AS p ON "
                       "p.\"PSno\" = l.\"PSno\" WHERE b.\"BillDay\" BETWEEN ? AND ? ORDER BY b.\"BillDay\", "
                       "b.\"sno\", l.\"PSno\"")
            .arg(lineColumns, table("PurchaseBill"), table("PurchaseBillLine"), table("Purchase")),
        {dayKey(from), dayKey(to)}, tr("read the purchase bills"), DbFile::PurchaseMaster);
    while (q.next()) {
        if (bills.empty() || bills.back().serial != q.value(0).toLongLong()) {
            PurchaseBill bill;
            bill.serial = q.value(0).toLongLong();
            bill.number = q.value(1).toString();
            bill.date = dayOfKey(q.value(2).toLongLong());
            bill.supplierSerial = q.value(3).toLongLong();
            bill.supplierName = q.value(4).toString();
            bill.supplierGstin = q.value(5).toString();
            bill.supplierState = q.value(6).toString();
            bill.mode = taxModeOf(q.value(7).toString());
            bill.reverseCharge = q.value(8).toInt() != 0;
            bill.itcEligible = q.value(9).toInt() != 0;
            bill.supplierAddress = q.value(10).toString();
            bills.push_back(bill);
        }
        PurchaseBillLine line = readLine(q, 16);
        line.taxable = ToPaise(q.value(11).toDouble());
        line.gstRate = q.value(12).toDouble();
        line.tax = {ToPaise(q.value(13).toDouble()), ToPaise(q.value(14).toDouble()), ToPaise(q.value(15).toDouble())};
        bills.back().lines.push_back(line);
    }

    // Purchases saved before bills carried GST: one bill per supplier, bill
    // number and date, without tax.
    QSqlQuery old = db.run(
        QStringLiteral("SELECT p.\"PurchaseInvoiceNo\", p.\"PurchaseInvoiceDate\", p.\"SupplierName\", "
                       "p.\"SupGstinNo\", p.\"SupAddress\", %1 FROM %2 AS p WHERE p.\"PSno\" <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM %3 AS l WHERE l.\"PSno\" = p.\"PSno\") AND %4 BETWEEN ? AND ? ORDER BY "
                       "p.\"PSno\"")
            .arg(lineColumns, table("Purchase"), table("PurchaseBillLine"),
                 DateKeySql(QStringLiteral("p.\"PurchaseInvoiceDate\""))),
        {dayKey(from), dayKey(to)}, tr("read the purchases"), DbFile::PurchaseMaster);
    std::vector<PurchaseBill> older;
    QHash<QString, size_t> olderOf; // supplier, number and date text -> its bill in older
    QHash<QString, QDate> dates; // each date text read once
    while (old.next()) {
        const QString dateText = old.value(1).toString();
        if (!dates.contains(dateText))
            dates.insert(dateText, ReadDateText(dateText));
        const QDate date = dates.value(dateText);
        const QString key = old.value(2).toString() + QChar(0) + old.value(0).toString() + QChar(0) + DateText(date);
        PurchaseBill* bill = olderOf.contains(key) ? &older[olderOf.value(key)] : nullptr;
        if (!bill) {
            olderOf.insert(key, older.size());
            older.push_back({});
            bill = &older.back();
            bill->number = old.value(0).toString();
            bill->date = date;
            bill->supplierName = old.value(2).toString();
            bill->supplierGstin = old.value(3).toString();
            bill->supplierAddress = old.value(4).toString();
            bill->withTax = false;
            bill->itcEligible = false;
        }
        PurchaseBillLine line = readLine(old, 5);
        line.taxable = LineAmount(line.quantity, line.rate);
        bill->lines.push_back(line);
    }
    bills.insert(bills.end(), older.begin(), older.end());
    std::stable_sort(bills.begin(), bills.end(),
                     [](const PurchaseBill& a, const PurchaseBill& b) { return a.date < b.date; });
    return bills;
}

} // namespace zelva
