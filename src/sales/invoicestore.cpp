#include "sales/invoicestore.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/serials.h"
#include "data/stockchange.h"
#include "gst/amountinwords.h"
#include "platform/datetext.h"
#include "sales/gstratestore.h"
#include "sales/invoiceextras.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace zelva {

using namespace invoicegrid;

namespace {

const QString SaveOperation = QStringLiteral("save the invoice");
const QString ReadOperation = QStringLiteral("read the invoice");
const QString NotKept = QStringLiteral("N.A."); // what an unused goods row holds

QString numbered(const char* stem, int row)
{
    // Made once each: every invoice read asks for the same hundred names.
    thread_local QHash<QPair<const char*, int>, QString> made;
    QString& name = made[qMakePair(stem, row)];
    if (name.isEmpty())
        name = QLatin1String(stem) + QString::number(row);
    return name;
}

QString rateField(int row) { return numbered(row <= 3 ? "Rate" : "rate", row); } // Rate1-3, rate4-15

// A record's fields in order, written with one INSERT.
class Fields {
public:
    void add(const QString& name, const QVariant& value)
    {
        m_names << QLatin1Char('"') + name + QLatin1Char('"');
        m_values << value;
    }
    void add(const char* name, const QVariant& value) { add(QLatin1String(name), value); }
    void insert(Database& db, const char* table) const
    {
        const QStringList marks(m_values.size(), QStringLiteral("?"));
        db.run(QStringLiteral("INSERT INTO \"%1\".\"%2\" (%3) VALUES (%4)")
                   .arg(SchemaName(DbFile::Invoice), QLatin1String(table), m_names.join(QLatin1Char(',')),
                        marks.join(QLatin1Char(','))),
               m_values, SaveOperation, DbFile::Invoice);
    }

private:
    QStringList m_names;
    QVariantList m_values;
};

Fields headerFields(const Invoice& invoice, const StoredInvoice& as)
{
    Fields f;
    f.add("sno", as.serial);
    f.add("InvoiceNo", as.number);
    f.add("InvoiceDate", invoice.date);
    f.add("OrderNo", invoice.orderNo);
    f.add("OrderDate", invoice.orderDate);
    f.add("SuppliersRef", invoice.suppliersRef);
    f.add("DispatchedThrough", invoice.dispatchedThrough);
    f.add("SalerCompany", invoice.seller.name);
    f.add("SalerGstin", invoice.seller.gstin);
    f.add("bid", invoice.buyerCode);
    f.add("BuyerName", invoice.buyer.name);
    f.add("BuyerAddress", invoice.buyer.address);
    f.add("BuyerDist", invoice.buyer.dist);
    f.add("buyerstate", invoice.buyer.state);
    f.add("BuyerPin", invoice.buyer.pin);
    f.add("BuyerGstin", invoice.buyer.gstin);
    f.add("BuyerNameD", invoice.delivery.name);
    f.add("DeliveryAddress", invoice.delivery.address);
    f.add("Dist", invoice.delivery.dist);
    f.add("State", invoice.delivery.state);
    f.add("Pin", invoice.delivery.pin);
    f.add("Time", invoice.time);
    return f;
}

void addGridLine(Fields& f, int row, const GridLine& line)
{
    f.add(numbered("DescriptionOfGoods", row), line.description);
    f.add(numbered("Hsn", row), line.hsn);
    if (row <= RatedRows) {
        f.add(numbered("Per", row), line.per);
        f.add(rateField(row), line.rate);
    }
    f.add(numbered("Amount", row), ToRupees(line.amount));
}

Fields gridFields(const Invoice& invoice, const StoredInvoice& as)
{
    Fields f;
    f.add("sno", as.serial);
    f.add("InvoiceNo", as.number);
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row) {
        const std::size_t i = row - FirstGoodsRow;
        const bool used = i < invoice.lines.size();
        const InvoiceLine line = used ? invoice.lines[i] : InvoiceLine{};
        // a goods line is kept with the value it is taxed on
        addGridLine(f, row, used ? GridLine{line.description, line.hsn, line.unit, line.rate, line.taxable()}
                                 : GridLine{NotKept, NotKept, NotKept, 0, 0});
        f.add(numbered("Quantity", row), line.quantity);
    }
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        addGridLine(f, row, invoice.row(row));
    const InvoiceTotals& t = invoice.totals;
    f.add("TotalQuantity", t.quantity);
    f.add("TotalGoodsAmount", ToRupees(t.goods));
    f.add("totalamount", ToRupees(t.grand));
    f.add("TIgst", ToRupees(t.igst));
    f.add("TCgst", ToRupees(t.cgst));
    f.add("TSgst", ToRupees(t.sgst));
    return f;
}

// Takes each line's quantity off its stock item and keeps, for every goods
// line, what was taken from which item (InvoiceStock), in one INSERT, for a
// cancellation to give back.
void takeStock(Database& db, const Invoice& invoice, const StoredInvoice& as)
{
    QStringList rows;
    QVariantList values;
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        // a line whose item is blank or gone takes nothing, and says so
        const bool taken = !line.itemCode.isEmpty()
                           && AdjustStock(db, StockTable::ForSale, line.itemCode, -line.quantity);
        rows << QStringLiteral("(?,?,?,?,?)");
        values << as.serial << as.number << qint64(i) + FirstGoodsRow << (taken ? line.itemCode : QString())
               << (taken ? line.quantity : 0.0);
    }
    if (rows.isEmpty())
        return;
    db.run(QStringLiteral("INSERT INTO \"%1\".\"InvoiceStock\" (\"sno\",\"InvoiceNo\",\"GoodsRow\",\"itemcode\",\"Quantity\") "
                          "VALUES %2")
               .arg(SchemaName(DbFile::Invoice), rows.join(QLatin1Char(','))),
           values, SaveOperation, DbFile::Invoice);
}

// Goods charged GST need a rate on each line (an invoice whose goods carry no
// rate at all is saved untaxed, as ever). Every rate charged must be in force
// on the invoice's date: a line's own rate, which comes from the item and may
// have gone since; the one goods rate and the two charges' rates, chosen from
// the forms' lists of the date's rates, which a date changed afterwards may
// leave behind. An invoice whose date cannot be read is refused elsewhere.
void checkRates(Database& db, const Invoice& invoice)
{
    if (invoice.mode == TaxMode::None)
        return;
    const bool goodsRated = std::any_of(invoice.lines.begin(), invoice.lines.end(), [&](const InvoiceLine& line) {
        return LineGstRate(invoice, line).has_value();
    });
    const QDate day = ReadDateText(invoice.date);
    const GstRateTable table = LoadGstRates(db);
    const auto refuse = [](const QString& why) { throw DataError(SaveOperation, RelativePath(DbFile::Invoice), why); };
    const auto checkInForce = [&](double rate, int row, const QString& description) {
        if (day.isValid() && !RateInForce(table, rate, day))
            refuse(RateNotInForce(rate, RatedRowName(row, description), invoice.date));
    };
    const ChargedTax& goodsTax = invoice.taxes[TaxOnGoods];
    if (goodsTax.rated())
        checkInForce(*goodsTax.rate, GoodsCgstRow, goodsTax.first.description);
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        const int row = int(i) + FirstGoodsRow;
        const std::optional<double> rate = LineGstRate(invoice, line);
        if (!rate && goodsRated)
            refuse(QStringLiteral("%1 has no GST rate: choose its rate").arg(RatedRowName(row, line.description)));
        if (rate && !goodsTax.rated())
            checkInForce(*rate, row, line.description);
    }
    for (const auto& [base, row] : {std::pair{TaxOnOthers1, Others1Row}, std::pair{TaxOnOthers2, Others2Row}})
        if (invoice.taxes[base].rated())
            checkInForce(*invoice.taxes[base].rate, row, invoice.row(row).description);
}

// Each goods line's rate and its share of its rate's tax, in one INSERT,
// when the goods mix rates. Goods at one rate are kept as ever: the grid's
// rows 8 and 9 say it all, and each line's share is made again from them.
void storeLineTaxes(Database& db, const Invoice& invoice, const StoredInvoice& as)
{
    if (invoice.taxes[TaxOnGoods].rated())
        return;
    QStringList rows;
    QVariantList values;
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        const std::optional<double> rate = LineGstRate(invoice, line);
        if (!rate)
            continue;
        const TaxHeads tax = LineTaxHeads(invoice, line);
        rows << QStringLiteral("(?,?,?,?,?,?,?,?)");
        values << as.serial << as.number << qint64(i) + FirstGoodsRow << *rate << tax.igst << tax.cgst << tax.sgst
               << tax.cess;
    }
    if (rows.isEmpty())
        return;
    db.run(QStringLiteral("INSERT INTO \"%1\".\"InvoiceLineTax\" (\"sno\",\"InvoiceNo\",\"GoodsRow\",\"GstRate\","
                          "\"IgstPaise\",\"CgstPaise\",\"SgstPaise\",\"CessPaise\") VALUES %2")
               .arg(SchemaName(DbFile::Invoice), rows.join(QLatin1Char(','))),
           values, SaveOperation, DbFile::Invoice);
}

// ---------------------------------------------------------------- reading

const QString CancellationColumns = QStringLiteral("\"sno\", \"CancelDate\", \"CancelTime\", \"Reason\", \"CancelledBy\"");

InvoiceCancellation cancellationOf(const QSqlQuery& query)
{
    return {query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            query.value(4).toString()};
}

// The position of each field of a query's rows by its name (letter case
// aside, as the record itself finds it), found once for all the rows: a
// month of thousands of invoices read field by field by name otherwise
// spends its time copying and searching each row's record.
class Columns {
public:
    explicit Columns(const QSqlQuery& query)
    {
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            m_exact.insert(record.fieldName(i), i);
            m_folded.insert(record.fieldName(i).toLower(), i);
        }
    }
    int at(const QString& field) const
    {
        const auto found = m_exact.constFind(field);
        return found != m_exact.constEnd() ? *found : m_folded.value(field.toLower(), -1);
    }

private:
    QHash<QString, int> m_exact;
    QHash<QString, int> m_folded;
};

// The row the query stands on, its fields read by name.
class Record {
public:
    Record(const QSqlQuery& query, const Columns& columns)
        : m_query(query)
        , m_columns(columns)
    {
    }
    QString text(const QString& field) const { return value(field).toString(); }
    QString text(const char* field) const { return text(QLatin1String(field)); }
    double number(const QString& field) const { return value(field).toDouble(); }
    double number(const char* field) const { return number(QLatin1String(field)); }
    Paise amount(const QString& field) const { return ToPaise(number(field)); }
    Paise amount(const char* field) const { return amount(QLatin1String(field)); }

private:
    QVariant value(const QString& field) const
    {
        const int at = m_columns.at(field);
        return at < 0 ? QVariant() : m_query.value(at);
    }
    const QSqlQuery& m_query;
    const Columns& m_columns;
};

void readHeader(const Record& b, Invoice& invoice)
{
    invoice.serial = qint64(b.number("sno"));
    invoice.number = b.text("InvoiceNo");
    invoice.date = b.text("InvoiceDate");
    invoice.orderNo = b.text("OrderNo");
    invoice.orderDate = b.text("OrderDate");
    invoice.suppliersRef = b.text("SuppliersRef");
    invoice.dispatchedThrough = b.text("DispatchedThrough");
    invoice.seller.name = b.text("SalerCompany");
    invoice.seller.gstin = b.text("SalerGstin");
    invoice.buyerCode = b.text("bid");
    invoice.buyer = {b.text("BuyerName"), b.text("BuyerAddress"), b.text("BuyerDist"), b.text("buyerstate"),
                     b.text("BuyerPin"), b.text("BuyerGstin")};
    invoice.delivery = {b.text("BuyerNameD"), b.text("DeliveryAddress"), b.text("Dist"), b.text("State"),
                        b.text("Pin"), QString()};
    invoice.time = b.text("Time");
}

GridLine gridLine(const Record& g, int row)
{
    GridLine line{g.text(numbered("DescriptionOfGoods", row)), g.text(numbered("Hsn", row)), QString(), 0,
                  g.amount(numbered("Amount", row))};
    if (row <= RatedRows) {
        line.per = g.text(numbered("Per", row));
        line.rate = g.number(rateField(row));
    }
    return line;
}

// A goods row the invoice used: anything in it but what an unused row holds.
bool usedGoodsRow(const GridLine& row, double quantity)
{
    const QString description = row.description.trimmed();
    return quantity != 0 || row.amount != 0 || !(description.isEmpty() || description == NotKept);
}

void readLines(const Record& g, Invoice& invoice)
{
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row) {
        const GridLine kept = gridLine(g, row);
        const double quantity = g.number(numbered("Quantity", row));
        if (!usedGoodsRow(kept, quantity))
            continue;
        InvoiceLine line;
        line.description = kept.description;
        line.hsn = kept.hsn;
        line.unit = kept.per;
        line.quantity = quantity;
        line.rate = kept.rate;
        // kept: the taxable value; the discount is what quantity times rate exceeds it by
        const Paise gross = LineAmount(quantity, kept.rate);
        line.amount = std::max(gross, kept.amount);
        line.discount = line.amount - kept.amount;
        invoice.lines.push_back(line);
    }
}

// The tax mode and each base's rate: a tax row whose label is the one of its
// kept rate ("CGST @ 9%" over a rate of 9) was charged at that rate; the mode
// is that of such a row, else the one whose tax total is not zero.
void readRates(const Record& g, Invoice& invoice)
{
    for (TaxMode mode : {TaxMode::Igst, TaxMode::Cgst})
        if (invoice.taxes[TaxOnGoods].first.description == MixedRatesLabel(mode))
            invoice.mode = mode; // goods at several rates, their rows the sums
    for (ChargedTax& base : invoice.taxes) {
        for (TaxMode mode : {TaxMode::Igst, TaxMode::Cgst}) {
            const double rate = WholeRate(base.first.rate, mode);
            if (base.first.description == TaxRowLabel(mode, rate)) {
                invoice.mode = mode;
                base.rate = rate;
            }
        }
    }
    if (invoice.mode == TaxMode::None) {
        if (g.number("TIgst") != 0)
            invoice.mode = TaxMode::Igst;
        else if (g.number("TCgst") != 0 || g.number("TSgst") != 0)
            invoice.mode = TaxMode::Cgst;
    }
}

// The grid of an invoice whose header is read.
void readGrid(const Record& g, Invoice& invoice)
{
    readLines(g, invoice);
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        invoice.row(row) = gridLine(g, row);
    readRates(g, invoice);
    ShareGoodsTax(invoice); // an invoice saved before its lines' taxes were kept: made again as ComputeTotals made them
    for (InvoiceLine& line : invoice.lines)
        line.gstRate = invoice.taxes[TaxOnGoods].rate;
    InvoiceTotals& t = invoice.totals;
    t.quantity = g.number("TotalQuantity");
    t.goods = g.amount("TotalGoodsAmount");
    t.grand = g.amount("totalamount");
    t.charges = 0;
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        t.charges += invoice.row(row).amount;
    // kept as shown, to the paisa; files written before kept them unrounded
    t.igst = g.amount("TIgst");
    t.cgst = g.amount("TCgst");
    t.sgst = g.amount("TSgst");
}

void readWords(Invoice& invoice) { invoice.totals.words = AmountInWords(ToRupees(invoice.totals.grand)); }

// The seller's address is not kept with the invoice: it is the company
// record's of the invoice's seller, the first of its name and GSTIN, else the
// first of its name.
void readSellerAddress(Database& db, InvoiceParty& seller)
{
    QSqlQuery company = db.run(QStringLiteral("SELECT \"address\", \"Dist\", \"State\", \"Pin\" FROM \"%1\".\"Company\" "
                                              "WHERE \"Name\" = ? ORDER BY CASE WHEN \"Gstin\" = ? THEN 0 ELSE 1 END, "
                                              "\"sno\", rowid LIMIT 1")
                                   .arg(SchemaName(DbFile::Master)),
                               {seller.name, seller.gstin}, ReadOperation, DbFile::Master);
    if (!company.next())
        return;
    seller.address = company.value(0).toString();
    seller.dist = company.value(1).toString();
    seller.state = company.value(2).toString();
    seller.pin = company.value(3).toString();
}

// A line's rate and tax as kept (InvoiceLineTax), over what its grid gave.
struct KeptLineTax {
    qint64 serial = 0;
    int goodsRow = 0;
    double gstRate = 0;
    TaxHeads tax;
};

KeptLineTax keptLineTax(const QSqlQuery& query)
{
    return {query.value(0).toLongLong(), query.value(1).toInt(), query.value(2).toDouble(),
            {query.value(3).toLongLong(), query.value(4).toLongLong(), query.value(5).toLongLong(),
             query.value(6).toLongLong()}};
}

void applyLineTax(Invoice& invoice, const KeptLineTax& kept)
{
    const std::size_t i = std::size_t(kept.goodsRow - FirstGoodsRow);
    if (kept.goodsRow < FirstGoodsRow || i >= invoice.lines.size())
        return;
    InvoiceLine& line = invoice.lines[i];
    line.gstRate = kept.gstRate;
    line.firstTax = kept.tax.igst + kept.tax.cgst;
    line.sgst = kept.tax.sgst;
}

QString lineTaxSql(const QString& condition)
{
    return QStringLiteral("SELECT \"sno\", \"GoodsRow\", \"GstRate\", \"IgstPaise\", \"CgstPaise\", \"SgstPaise\", "
                          "\"CessPaise\" FROM \"%1\".\"InvoiceLineTax\" WHERE %2 ORDER BY \"sno\", \"GoodsRow\"")
        .arg(SchemaName(DbFile::Invoice), condition);
}

QString selectSql(const char* table, const QString& condition)
{
    return QStringLiteral("SELECT * FROM \"%1\".\"%2\" WHERE %3 ORDER BY \"sno\"")
        .arg(SchemaName(DbFile::Invoice), QLatin1String(table), condition);
}

} // namespace

QString RatedRowName(int gridRow, const QString& description)
{
    const char* kind = gridRow <= LastGoodsRow ? "goods row" : gridRow == GoodsCgstRow ? "goods tax row" : "charge row";
    return QStringLiteral("%1 %2 (%3)").arg(QLatin1String(kind)).arg(gridRow).arg(description);
}

QString RateNotInForce(double rate, const QString& rowName, const QString& date)
{
    return QStringLiteral("GST %1% of %2 is not in force on %3: choose a rate in force on the invoice's date")
        .arg(RateText(rate), rowName, date);
}

bool CancellationsKept(const Database& db)
{
    return !db.tableKind(DbFile::Invoice, QStringLiteral("CancelledInvoice"), ReadOperation).isEmpty();
}

bool LineTaxesKept(const Database& db)
{
    return !db.tableKind(DbFile::Invoice, QStringLiteral("InvoiceLineTax"), ReadOperation).isEmpty();
}

StoredInvoice StoreInvoice(Database& db, const Invoice& invoice, Renumber renumber)
{
    Transaction transaction(db, SaveOperation);
    const StoredInvoice as = StoreInvoiceWithin(db, invoice, renumber);
    transaction.commit();
    return as;
}

StoredInvoice StoreInvoiceWithin(Database& db, const Invoice& invoice, Renumber renumber)
{
    StoredInvoice as;
    as.serial = FreeSerial(db, DbFile::Invoice, QStringLiteral("BuyerInvoice"), QStringLiteral("sno"),
                           QStringLiteral("InvoiceNo"), CodeKind::Invoice, invoice.serial);
    if (as.serial != invoice.serial && renumber == Renumber::Refused)
        throw DataError(SaveOperation, RelativePath(DbFile::Invoice),
                        QStringLiteral("invoice number %1 was taken by another invoice meanwhile").arg(invoice.number));
    as.number = as.serial == invoice.serial && !invoice.number.isEmpty() ? invoice.number
                                                                         : RecordCode(CodeKind::Invoice, as.serial);
    checkRates(db, invoice);
    headerFields(invoice, as).insert(db, "BuyerInvoice");
    gridFields(invoice, as).insert(db, "GoodsInvoice");
    storeLineTaxes(db, invoice, as);
    takeStock(db, invoice, as);
    LogChange(db, QStringLiteral("BuyerInvoice"), as.number, AuditAction::Added,
              {{QStringLiteral("totalamount"), {}, AmountText(invoice.totals.grand)}});
    if (invoice.transport)
        StoreTransportWithin(db, as.serial, as.number, *invoice.transport);
    return as;
}

std::optional<Invoice> LoadInvoice(Database& db, const QString& number)
{
    Invoice invoice;
    {
        QSqlQuery header = db.run(selectSql("BuyerInvoice", QStringLiteral("\"InvoiceNo\" = ?")), {number},
                                  ReadOperation, DbFile::Invoice);
        if (!header.next())
            return std::nullopt;
        readHeader(Record(header, Columns(header)), invoice);
    }
    {
        QSqlQuery goods = db.run(selectSql("GoodsInvoice", QStringLiteral("\"InvoiceNo\" = ?")), {number},
                                 ReadOperation, DbFile::Invoice);
        if (goods.next())
            readGrid(Record(goods, Columns(goods)), invoice);
    }
    if (LineTaxesKept(db)) {
        QSqlQuery taxes = db.run(lineTaxSql(QStringLiteral("\"sno\" = ?")), {invoice.serial}, ReadOperation,
                                 DbFile::Invoice);
        while (taxes.next())
            applyLineTax(invoice, keptLineTax(taxes));
    }
    if (CancellationsKept(db)) {
        QSqlQuery mark = db.run(QStringLiteral("SELECT %1 FROM \"%2\".\"CancelledInvoice\" WHERE \"sno\" = ?")
                                    .arg(CancellationColumns, SchemaName(DbFile::Invoice)),
                                {invoice.serial}, ReadOperation, DbFile::Invoice);
        if (mark.next())
            invoice.cancellation = cancellationOf(mark);
    }
    readWords(invoice);
    readSellerAddress(db, invoice.seller);
    ReadInvoiceExtras(db, invoice);
    return invoice;
}

// One read after the other (a server gives one statement's rows at a time):
// the headers, then the grids matched to them by serial, then the sellers.
std::vector<Invoice> LoadAllInvoices(Database& db)
{
    std::vector<Invoice> invoices;
    QHash<qint64, std::size_t> bySerial;
    {
        QSqlQuery header = db.run(selectSql("BuyerInvoice", QStringLiteral("\"sno\" <> 0")), {}, ReadOperation,
                                  DbFile::Invoice);
        const Columns columns(header);
        while (header.next()) {
            invoices.emplace_back();
            readHeader(Record(header, columns), invoices.back());
            bySerial.insert(invoices.back().serial, invoices.size() - 1); // a header without its grid still shows
        }
    }
    {
        QSqlQuery goods = db.run(selectSql("GoodsInvoice", QStringLiteral("\"sno\" <> 0")), {}, ReadOperation,
                                 DbFile::Invoice);
        const Columns columns(goods);
        while (goods.next()) {
            const Record g(goods, columns);
            const auto at = bySerial.constFind(qint64(g.number("sno")));
            if (at != bySerial.constEnd())
                readGrid(g, invoices[*at]);
        }
    }
    if (LineTaxesKept(db)) {
        QSqlQuery taxes = db.run(lineTaxSql(QStringLiteral("\"sno\" <> 0")), {}, ReadOperation, DbFile::Invoice);
        while (taxes.next()) {
            const KeptLineTax kept = keptLineTax(taxes);
            const auto at = bySerial.constFind(kept.serial);
            if (at != bySerial.constEnd())
                applyLineTax(invoices[*at], kept);
        }
    }
    if (CancellationsKept(db)) {
        QSqlQuery marks = db.run(QStringLiteral("SELECT %1 FROM \"%2\".\"CancelledInvoice\"")
                                     .arg(CancellationColumns, SchemaName(DbFile::Invoice)),
                                 {}, ReadOperation, DbFile::Invoice);
        while (marks.next()) {
            const auto at = bySerial.constFind(marks.value(0).toLongLong());
            if (at != bySerial.constEnd())
                invoices[*at].cancellation = cancellationOf(marks);
        }
    }
    QHash<QString, InvoiceParty> sellers; // the company record of each seller, read once
    for (Invoice& invoice : invoices) {
        readWords(invoice);
        const QString key = invoice.seller.name + QChar(0) + invoice.seller.gstin;
        if (!sellers.contains(key)) {
            InvoiceParty found = invoice.seller;
            readSellerAddress(db, found);
            sellers.insert(key, found);
        }
        invoice.seller = sellers.value(key);
    }
    ReadInvoiceExtras(db, invoices);
    return invoices;
}

} // namespace zelva
