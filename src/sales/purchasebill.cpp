#include "sales/purchasebill.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/serials.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/gstratestore.h"

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

// The State code of a party: its GSTIN's, where it is registered, else its
// State as the GST list knows it.
QString stateCodeOf(const QString& state, const QString& gstin)
{
    const QString normal = NormalizedGstin(gstin);
    if (!IsNoGstin(gstin) && normal.size() >= 2 && GstStateOfCode(normal.left(2)))
        return normal.left(2);
    if (const GstState* known = FindGstState(state))
        return known->code;
    return {};
}

// The day of a key yyyymmdd (read so rather than from the date text: a
// month's thousands of bills are read at once).
QDate dayOfKey(qint64 key) { return QDate(int(key / 10000), int(key / 100 % 100), int(key % 100)); }

QString taxKindText(TaxMode mode)
{
    return mode == TaxMode::Igst ? QStringLiteral("IGST") : mode == TaxMode::Cgst ? QStringLiteral("CGST") : QString();
}

TaxMode taxModeOf(const QString& text)
{
    return text == u"IGST" ? TaxMode::Igst : text == u"CGST" ? TaxMode::Cgst : TaxMode::None;
}

QString orNotApplicable(const QString& text) { return text.trimmed().isEmpty() ? QStringLiteral("N.A.") : text; }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The credit kind as the ItcEligible column keeps it: 1 and 0 as the older
// "ITC eligible" flag wrote them (eligible, blocked), 2 and 3 the kinds added.
int creditColumn(CreditKind kind)
{
    switch (kind) {
    case CreditKind::Eligible: return 1;
    case CreditKind::Blocked: return 0;
    case CreditKind::Reclaimable: return 2;
    case CreditKind::Ineligible: return 3;
    }
    return 1;
}

CreditKind creditOfColumn(int value)
{
    switch (value) {
    case 0: return CreditKind::Blocked;
    case 2: return CreditKind::Reclaimable;
    case 3: return CreditKind::Ineligible;
    default: return CreditKind::Eligible;
    }
}

// Why one line of a bill with GST cannot be saved; "" when it can.
QString lineRefusal(const PurchaseBill& bill, const PurchaseBillLine& line, int number, const GstRateTable& rates)
{
    if (line.taxable <= 0)
        return tr("Line %1 (%2) has a taxable value of %3: a bill's line must be above 0.00 (Taxable Value, "
                  "line %1). Nothing is saved.")
            .arg(number)
            .arg(line.itemName, AmountText(line.taxable));
    if (!PortalAcceptsRate(line.gstRate))
        return tr("%1 % is not a GST rate the portal takes (GST Rate %, line %2). Nothing is saved.")
            .arg(RateText(line.gstRate))
            .arg(number);
    if (!RateInForce(rates, line.gstRate, bill.date))
        return tr("%1 % is not in force on %2, the bill's date (GST Rate %, line %3). Nothing is saved.")
            .arg(RateText(line.gstRate), DateText(bill.date))
            .arg(number);
    if (!BillCarriesGst(bill) && !SameRate(line.gstRate, 0))
        return tr("%1 has no GSTIN: an unregistered supplier charges no GST, so line %2 is at 0 % unless the bill "
                  "is under reverse charge (GST Rate %, line %2). Nothing is saved.")
            .arg(bill.supplierName)
            .arg(number);
    return {};
}

// Adds the bill's supplier to the supplier list; the bill names it.
void addSupplier(Database& db, PurchaseBill& bill)
{
    const qint64 serial = NextSerial(db, DbFile::PurchaseMaster, QStringLiteral("Supplier"), QStringLiteral("sno"));
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"SupplierId\", \"Name\", \"address\", \"State\", \"Gstin\", "
                          "\"Phone\", \"Email\", \"Remarks\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("Supplier")),
           {serial, RecordCode(CodeKind::Supplier, serial), bill.supplierName, orNotApplicable(bill.supplierAddress),
            orNotApplicable(bill.supplierState), bill.registeredSupplier() ? bill.supplierGstin : QStringLiteral("N.A."),
            QStringLiteral("N.A."), QStringLiteral("N.A."), QStringLiteral("N.A.")},
           tr("add the supplier"), DbFile::PurchaseMaster);
    LogChange(db, QStringLiteral("Supplier"), RecordCode(CodeKind::Supplier, serial), AuditAction::Added,
              {{QStringLiteral("Name"), {}, bill.supplierName}, {QStringLiteral("Gstin"), {}, bill.supplierGstin}});
    bill.supplierSerial = serial;
}

// The stock record's details as the line gives them; its quantity moves
// apart, through AdjustStock.
void updateItemDetails(Database& db, StockTable stock, const PurchaseBillLine& line)
{
    db.run(QStringLiteral("UPDATE \"%1\".\"%2\" SET \"ItemName\" = ?, \"ItemHsn\" = ?, \"Rate\" = ?, \"Per\" = ?, "
                          "\"Remarks\" = ? WHERE \"itemcode\" = ?")
               .arg(SchemaName(StockFile(stock)), StockTableName(stock)),
           {line.itemName, line.hsn, line.rate, line.per, line.remarks, line.itemCode}, tr("update the stock item"),
           StockFile(stock));
}

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
    const qint64 proposed = line.purchaseSerial > 0 ? line.purchaseSerial
                                                    : NextSerial(db, DbFile::PurchaseMaster, QStringLiteral("Purchase"),
                                                                 QStringLiteral("PSno"));
    line.purchaseSerial = FreeSerial(db, DbFile::PurchaseMaster, QStringLiteral("Purchase"), QStringLiteral("PSno"),
                                     QStringLiteral("PurchaseId"), CodeKind::Purchase, proposed);
    const QString date = DateText(bill.date);
    const qint64 stockSno = line.stock ? stockSerial(db, *line.stock, line.itemCode) : 0;
    db.run(QStringLiteral("INSERT INTO %1 (\"PSno\", \"PurchaseId\", \"PurchaseDate\", \"PurchaseOrder\", "
                          "\"PurchaseInvoiceNo\", \"PurchaseInvoiceDate\", \"SupplierName\", \"SupGstinNo\", "
                          "\"SupAddress\", \"sno\", \"itemcode\", \"ItemName\", \"ItemHsn\", \"Rate\", \"Per\", "
                          "\"Quantity\", \"Remarks\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("Purchase")),
           {line.purchaseSerial, RecordCode(CodeKind::Purchase, line.purchaseSerial),
            bill.orderDate.isValid() ? DateText(bill.orderDate) : date, orNotApplicable(bill.orderNumber),
            bill.number, date, orNotApplicable(bill.supplierName), orNotApplicable(bill.supplierGstin),
            orNotApplicable(bill.supplierAddress), stockSno, line.itemCode, line.itemName, orNotApplicable(line.hsn),
            line.rate, orNotApplicable(line.per), line.quantity, orNotApplicable(line.remarks)},
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
    line.remarks = q.value(first + 7).toString();
    return line;
}

} // namespace

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
    const QString upper = number.toUpper();
    QString kept;
    bool separated = false; // a blank, "/" or "-" since the last character kept
    for (qsizetype i = 0; i < upper.size();) {
        const QChar c = upper[i];
        if (c.isSpace() || c == u'/' || c == u'-') {
            separated = true;
            ++i;
            continue;
        }
        if (!isDigit(c)) {
            kept += c;
            ++i;
        } else {
            qsizetype end = i;
            while (end < upper.size() && isDigit(upper[end]))
                ++end;
            while (i < end - 1 && upper[i] == u'0')
                ++i;
            if (separated && !kept.isEmpty() && isDigit(kept.back()))
                kept += u'/'; // "1/05" is not "10/5"
            kept += QStringView(upper).mid(i, end - i);
            i = end;
        }
        separated = false;
    }
    return kept;
}

const std::vector<CreditKind>& CreditKinds()
{
    static const std::vector<CreditKind> kinds{CreditKind::Eligible, CreditKind::Blocked, CreditKind::Reclaimable,
                                               CreditKind::Ineligible};
    return kinds;
}

QString CreditKindText(CreditKind kind)
{
    switch (kind) {
    case CreditKind::Eligible: return tr("Eligible");
    case CreditKind::Blocked: return tr("Blocked, section 17(5)");
    case CreditKind::Reclaimable: return tr("Reversed for now, reclaimable (rule 37)");
    case CreditKind::Ineligible: return tr("Ineligible, section 16(4) or place of supply");
    }
    return {};
}

Paise PurchaseBill::taxable() const
{
    Paise sum = 0;
    for (const PurchaseBillLine& line : lines)
        sum += line.taxable;
    return sum;
}

TaxHeads PurchaseBill::tax() const
{
    TaxHeads sum;
    for (const PurchaseBillLine& line : lines)
        sum += line.tax;
    return sum;
}

bool PurchaseBill::registeredSupplier() const { return !IsNoGstin(supplierGstin); }

QString PurchaseBill::reference() const { return tr("bill %1 of %2").arg(number, supplierName); }

void ComputePurchaseTaxes(PurchaseBill& bill, const QString& companyState, const QString& companyGstin)
{
    bill.mode = PurchaseTaxMode(bill.supplierState, bill.supplierGstin, companyState, companyGstin);
    ComputeLineTaxes(bill);
}

void ComputeLineTaxes(PurchaseBill& bill)
{
    for (PurchaseBillLine& line : bill.lines)
        line.tax = BillCarriesGst(bill) ? TaxAtRate(line.taxable, line.gstRate, bill.mode) : TaxHeads{};
}

bool BillCarriesGst(const PurchaseBill& bill) { return bill.registeredSupplier() || bill.reverseCharge; }

QString PurchaseBillRefusal(const PurchaseBill& bill, const GstRateTable& rates)
{
    if (bill.number.trimmed().isEmpty())
        return tr("The bill has no number: enter the supplier's bill number (Purchase Invoice No.). Nothing is "
                  "saved.");
    if (!bill.date.isValid())
        return tr("Bill %1 has no date (Purchase Invoice Date). Nothing is saved.").arg(bill.number);
    if (bill.lines.empty())
        return tr("Bill %1 has no lines: a bill holds at least one item bought. Nothing is saved.").arg(bill.number);
    if (bill.withTax)
        for (size_t i = 0; i < bill.lines.size(); ++i)
            if (QString refused = lineRefusal(bill, bill.lines[i], int(i + 1), rates); !refused.isEmpty())
                return refused;
    return {};
}

QString PurchaseBillKey(const PurchaseBill& bill)
{
    const QString supplier =
        bill.registeredSupplier() ? NormalizedGstin(bill.supplierGstin) : bill.supplierName.simplified().toUpper();
    return QStringLiteral("%1|%2|%3").arg(FinancialYearOf(bill.date)).arg(supplier, ComparableBillNumber(bill.number));
}

namespace {

// The header of a new bill, numbered with the next bill serial.
QString storeBillHeader(Database& db, PurchaseBill& bill)
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
           {bill.serial, key, bill.number, DateText(bill.date), DayKey(bill.date), bill.supplierSerial,
            bill.supplierName, bill.supplierGstin, bill.supplierState, taxKindText(bill.mode),
            bill.reverseCharge ? 1 : 0, creditColumn(bill.credit)},
           tr("save the bill"), DbFile::PurchaseMaster);
    LogChange(db, QStringLiteral("PurchaseBill"), key, AuditAction::Added, {{QStringLiteral("BillNo"), {}, bill.number}});
    return {};
}

// The lines are to join the stored bill bill.serial: it must be there, of
// the same supplier and number.
QString checkStoredBill(Database& db, const PurchaseBill& bill)
{
    QSqlQuery stored = db.run(QStringLiteral("SELECT \"BillKey\" FROM %1 WHERE \"sno\" = ?").arg(table("PurchaseBill")),
                              {bill.serial}, tr("read the bill"), DbFile::PurchaseMaster);
    if (!stored.next() || stored.value(0).toString() != PurchaseBillKey(bill))
        return tr("The line is to be added to %1, which is not stored as such: its bill number and supplier must be "
                  "that bill's. Nothing is saved.")
            .arg(bill.reference());
    return {};
}

void storeBillLine(Database& db, qint64 billSerial, const PurchaseBillLine& line)
{
    db.run(QStringLiteral("INSERT INTO %1 (\"PSno\", \"BillSno\", \"Taxable\", \"GstRate\", \"Igst\", \"Cgst\", "
                          "\"Sgst\") VALUES (?, ?, ?, ?, ?, ?, ?)")
               .arg(table("PurchaseBillLine")),
           {line.purchaseSerial, billSerial, ToRupees(line.taxable), line.gstRate, ToRupees(line.tax.igst),
            ToRupees(line.tax.cgst), ToRupees(line.tax.sgst)},
           tr("save the bill's tax"), DbFile::PurchaseMaster);
}

} // namespace

QString StorePurchaseBill(Database& db, PurchaseBill& bill, PurchaseSave how)
{
    if (QString refused = PurchaseBillRefusal(bill, LoadGstRates(db)); !refused.isEmpty())
        return refused;
    Transaction transaction(db, tr("save the bill"));
    const bool addingLines = bill.withTax && how.toStoredBill;
    if (how.addSupplier && !addingLines)
        addSupplier(db, bill);
    if (addingLines) {
        if (QString refused = checkStoredBill(db, bill); !refused.isEmpty())
            return refused;
    } else if (bill.withTax) {
        if (QString refused = storeBillHeader(db, bill); !refused.isEmpty())
            return refused;
    }
    for (PurchaseBillLine& line : bill.lines) {
        storePurchaseRecord(db, bill, line);
        if (line.stock && line.updatesItem)
            updateItemDetails(db, *line.stock, line);
        if (line.stock && !AdjustStock(db, *line.stock, line.itemCode, line.quantity))
            return tr("%1 (%2) is no longer in the stock list. Nothing is saved.").arg(line.itemName, line.itemCode);
        if (bill.withTax)
            storeBillLine(db, bill.serial, line);
    }
    transaction.commit();
    return {};
}

std::vector<ListedSupplier> LoadSupplierList(const Database& db)
{
    std::vector<ListedSupplier> suppliers;
    QSqlQuery q = db.run(QStringLiteral("SELECT \"sno\", \"Name\", \"Gstin\", \"address\", \"State\" FROM %1 WHERE "
                                        "\"sno\" <> 0 ORDER BY \"sno\"")
                             .arg(table("Supplier")),
                         {}, tr("read the suppliers"), DbFile::PurchaseMaster);
    while (q.next())
        suppliers.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString(), q.value(4).toString()});
    return suppliers;
}

namespace {

const QString& lineColumns()
{
    static const QString columns = QStringLiteral("p.\"PSno\", p.\"itemcode\", p.\"ItemName\", p.\"ItemHsn\", "
                                                  "p.\"Per\", p.\"Rate\", p.\"Quantity\", p.\"Remarks\"");
    return columns;
}

// The GST bills the condition on b (PurchaseBill) selects, with their lines,
// in the order given.
std::vector<PurchaseBill> readGstBills(const Database& db, const QString& where, const QVariantList& values,
                                       const QString& order)
{
    std::vector<PurchaseBill> bills;
    QSqlQuery q = db.run(
        QStringLiteral("SELECT b.\"sno\", b.\"BillNo\", b.\"BillDay\", b.\"SupplierSno\", b.\"SupplierName\", "
                       "b.\"SupplierGstin\", b.\"SupplierState\", b.\"TaxKind\", b.\"ReverseCharge\", "
                       "b.\"ItcEligible\", p.\"SupAddress\", l.\"Taxable\", l.\"GstRate\", l.\"Igst\", l.\"Cgst\", "
                       "l.\"Sgst\", %1 FROM %2 AS b JOIN %3 AS l ON l.\"BillSno\" = b.\"sno\" JOIN %4 AS p ON "
                       "p.\"PSno\" = l.\"PSno\" WHERE %5 ORDER BY %6, l.\"PSno\"")
            .arg(lineColumns(), table("PurchaseBill"), table("PurchaseBillLine"), table("Purchase"), where, order),
        values, tr("read the purchase bills"), DbFile::PurchaseMaster);
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
            bill.credit = creditOfColumn(q.value(9).toInt());
            bill.supplierAddress = q.value(10).toString();
            bills.push_back(bill);
        }
        PurchaseBillLine line = readLine(q, 16);
        line.taxable = ToPaise(q.value(11).toDouble());
        line.gstRate = q.value(12).toDouble();
        line.tax = {ToPaise(q.value(13).toDouble()), ToPaise(q.value(14).toDouble()), ToPaise(q.value(15).toDouble()), 0};
        bills.back().lines.push_back(line);
    }
    return bills;
}

} // namespace

std::optional<PurchaseBill> LoadPurchaseBill(const Database& db, qint64 serial)
{
    std::vector<PurchaseBill> bills =
        readGstBills(db, QStringLiteral("b.\"sno\" = ?"), {serial}, QStringLiteral("b.\"sno\""));
    if (bills.empty())
        return std::nullopt;
    return bills.front();
}

std::vector<PurchaseBill> LoadGstBillsFrom(const Database& db, const QDate& from)
{
    return readGstBills(db, QStringLiteral("b.\"BillDay\" >= ?"), {DayKey(from)},
                        QStringLiteral("b.\"BillDay\" DESC, b.\"sno\" DESC"));
}

std::vector<PurchaseBill> LoadPurchaseBills(const Database& db, const QDate& from, const QDate& to)
{
    std::vector<PurchaseBill> bills =
        readGstBills(db, QStringLiteral("b.\"BillDay\" BETWEEN ? AND ?"), {DayKey(from), DayKey(to)},
                     QStringLiteral("b.\"BillDay\", b.\"sno\""));
    const QString lineColumns = zelva::lineColumns();

    // Purchases saved before bills carried GST: one bill per supplier, bill
    // number and date, without tax.
    QSqlQuery old = db.run(
        QStringLiteral("SELECT p.\"PurchaseInvoiceNo\", p.\"PurchaseInvoiceDate\", p.\"SupplierName\", "
                       "p.\"SupGstinNo\", p.\"SupAddress\", %1 FROM %2 AS p WHERE p.\"PSno\" <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM %3 AS l WHERE l.\"PSno\" = p.\"PSno\") AND %4 BETWEEN ? AND ? ORDER BY "
                       "p.\"PSno\"")
            .arg(lineColumns, table("Purchase"), table("PurchaseBillLine"),
                 DateKeySql(QStringLiteral("p.\"PurchaseInvoiceDate\""))),
        {DayKey(from), DayKey(to)}, tr("read the purchases"), DbFile::PurchaseMaster);
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
            bill->credit = CreditKind::Blocked; // no tax, no credit
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
