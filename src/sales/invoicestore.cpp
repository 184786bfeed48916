#include "sales/invoicestore.h"
#include "sales/invoiceread.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/schema.h"
#include "data/serials.h"
#include "data/stockchange.h"
#include "gst/amountinwords.h"
#include "platform/datetext.h"
#include "sales/gstratestore.h"
#include "sales/invoiceextras.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>
#include <iterator>

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
    f.add("InvoiceDate", DateText(invoice.date));
    f.add("OrderNo", invoice.orderNo);
    f.add("OrderDate", DateText(invoice.orderDate));
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
    const QDate day = invoice.date;
    const GstRateTable table = LoadGstRates(db);
    const auto refuse = [](const QString& why) { throw DataError(SaveOperation, RelativePath(DbFile::Invoice), why); };
    const auto checkInForce = [&](double rate, int row, const QString& description) {
        if (day.isValid() && !RateInForce(table, rate, day))
            refuse(RateNotInForce(rate, RatedRowName(row, description), DateText(invoice.date)));
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

// The header fields the reader takes, in the order the query gives them.
enum HeaderField : int {
    HSerial, HNumber, HDate, HOrderNo, HOrderDate, HSuppliersRef, HDispatched, HSellerName, HSellerGstin, HBuyerCode,
    HBuyerName, HBuyerAddress, HBuyerDist, HBuyerState, HBuyerPin, HBuyerGstin, HDeliveryName, HDeliveryAddress,
    HDeliveryDist, HDeliveryState, HDeliveryPin, HTime, HeaderFields
};
constexpr std::array<const char*, HeaderFields> HeaderNames{
    "sno", "InvoiceNo", "InvoiceDate", "OrderNo", "OrderDate", "SuppliersRef", "DispatchedThrough", "SalerCompany",
    "SalerGstin", "bid", "BuyerName", "BuyerAddress", "BuyerDist", "buyerstate", "BuyerPin", "BuyerGstin",
    "BuyerNameD", "DeliveryAddress", "Dist", "State", "Pin", "Time"};
// The cancellation mark's, its serial first (none: not cancelled).
constexpr std::array<const char*, 5> MarkNames{"sno", "CancelDate", "CancelTime", "Reason", "CancelledBy"};

// Where each field of the invoice query lands: the header's, the mark's,
// then the grid's, its serial first (none: a header kept without its grid).
// Positions are fixed once, so that a row of a period of thousands is read
// by position, not by name.
class KeptColumns {
public:
    static const KeptColumns& layout()
    {
        static const KeptColumns columns;
        return columns;
    }

    static constexpr int Mark = HeaderFields;
    static constexpr int Grid = Mark + int(MarkNames.size());
    std::array<int, Rows + 1> description{}, hsn{}, per{}, rate{}, amount{};
    std::array<int, GoodsRows + 1> quantity{};
    int totalQuantity = 0, totalGoods = 0, grand = 0, tigst = 0, tcgst = 0, tsgst = 0;

    // b: BuyerInvoice, c: CancelledInvoice (NULLs when the file keeps no marks), g: GoodsInvoice.
    QString selectList(bool marksKept) const
    {
        QStringList list;
        for (const char* name : HeaderNames)
            list << QStringLiteral("b.\"%1\"").arg(QLatin1String(name));
        for (const char* name : MarkNames)
            list << (marksKept ? QStringLiteral("c.\"%1\"").arg(QLatin1String(name)) : QStringLiteral("NULL"));
        list << QStringLiteral("g.\"sno\"");
        for (const QString& name : m_grid)
            list << QStringLiteral("g.\"%1\"").arg(name);
        return list.join(QStringLiteral(", "));
    }

private:
    KeptColumns()
    {
        for (int row = 1; row <= Rows; ++row) {
            description[row] = add(numbered("DescriptionOfGoods", row));
            hsn[row] = add(numbered("Hsn", row));
            amount[row] = add(numbered("Amount", row));
            if (row <= RatedRows) {
                per[row] = add(numbered("Per", row));
                rate[row] = add(rateField(row));
            }
            if (row <= GoodsRows)
                quantity[row] = add(numbered("Quantity", row));
        }
        totalQuantity = add(QStringLiteral("TotalQuantity"));
        totalGoods = add(QStringLiteral("TotalGoodsAmount"));
        grand = add(QStringLiteral("totalamount"));
        tigst = add(QStringLiteral("TIgst"));
        tcgst = add(QStringLiteral("TCgst"));
        tsgst = add(QStringLiteral("TSgst"));
    }
    int add(const QString& name)
    {
        m_grid << name;
        return Grid + int(m_grid.size());
    }
    QStringList m_grid;
};

// One row of the invoice query, read by position.
class KeptRow {
public:
    explicit KeptRow(const QSqlQuery& query)
        : m_query(query)
    {
    }
    QString text(int at) const { return m_query.value(at).toString(); }
    double number(int at) const { return m_query.value(at).toDouble(); }
    Paise amount(int at) const { return ToPaise(number(at)); } // to the paisa: older files kept more
    bool none(int at) const { return m_query.value(at).isNull(); }

private:
    const QSqlQuery& m_query;
};

void readHeader(const KeptRow& b, Invoice& invoice)
{
    invoice.serial = qint64(b.number(HSerial));
    invoice.number = b.text(HNumber);
    invoice.date = ReadKeptDate(b.text(HDate));
    invoice.orderNo = b.text(HOrderNo);
    invoice.orderDate = ReadKeptDate(b.text(HOrderDate));
    invoice.suppliersRef = b.text(HSuppliersRef);
    invoice.dispatchedThrough = b.text(HDispatched);
    invoice.seller.name = b.text(HSellerName);
    invoice.seller.gstin = b.text(HSellerGstin);
    invoice.buyerCode = b.text(HBuyerCode);
    invoice.buyer = {b.text(HBuyerName), b.text(HBuyerAddress), b.text(HBuyerDist), b.text(HBuyerState),
                     b.text(HBuyerPin),  b.text(HBuyerGstin)};
    invoice.delivery = {b.text(HDeliveryName), b.text(HDeliveryAddress), b.text(HDeliveryDist),
                        b.text(HDeliveryState), b.text(HDeliveryPin), QString()};
    invoice.time = b.text(HTime);
}

void readMark(const KeptRow& c, Invoice& invoice)
{
    constexpr int at = KeptColumns::Mark;
    if (!c.none(at))
        invoice.cancellation = InvoiceCancellation{ReadKeptDate(c.text(at + 1)), c.text(at + 2), c.text(at + 3), c.text(at + 4)};
}

GridLine gridLine(const KeptRow& g, const KeptColumns& c, int row)
{
    GridLine line{g.text(c.description[row]), g.text(c.hsn[row]), QString(), 0, g.amount(c.amount[row])};
    if (row <= RatedRows) {
        line.per = g.text(c.per[row]);
        line.rate = g.number(c.rate[row]);
    }
    return line;
}

// A goods row the invoice used: anything in it but what an unused row holds.
bool usedGoodsRow(const GridLine& row, double quantity)
{
    const QString description = row.description.trimmed();
    return quantity != 0 || row.amount != 0 || !(description.isEmpty() || description == NotKept);
}

// Each goods row's line in the invoice read, -1 for a row it did not use:
// the kept line taxes name the row, and an older file may leave a row
// unused between two lines.
using LinesByRow = std::array<int, GoodsRows + 1>;

LinesByRow noLines()
{
    LinesByRow none;
    none.fill(-1);
    return none;
}

LinesByRow readLines(const KeptRow& g, const KeptColumns& c, Invoice& invoice)
{
    LinesByRow lineAt = noLines();
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row) {
        const GridLine kept = gridLine(g, c, row);
        const double quantity = g.number(c.quantity[row]);
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
        lineAt[row] = int(invoice.lines.size());
        invoice.lines.push_back(line);
    }
    return lineAt;
}

// What a tax row's label says: the head it names, and whether a rate follows
// ("CGST @ 9%", "IGST @ 18%" as the forms write them, any letter case or
// blanks), or the head alone ("CGST", "IGST": the goods' rows over several
// rates). A label naming no head ("", "N.A.", the "CGST/ IGST" a list left
// unset shows) says nothing.
struct LabelHead {
    TaxMode mode = TaxMode::None;
    bool rated = false;
};

LabelHead headOf(const QString& label)
{
    const QString text = label.trimmed();
    for (TaxMode mode : {TaxMode::Igst, TaxMode::Cgst}) {
        const QString head = MixedRatesLabel(mode);
        if (!text.startsWith(head, Qt::CaseInsensitive))
            continue;
        const QStringView rest = QStringView(text).mid(head.size()).trimmed();
        if (rest.isEmpty())
            return {mode, false};
        if (rest.front() == QLatin1Char('@') || rest.front().isDigit())
            return {mode, true};
    }
    return {};
}

// The tax mode is the head the first labelled tax row names, else the one
// whose tax total is not zero. A base whose row names that head with a rate
// was charged at the rate the row keeps (the head's: 9 for CGST 9%, whole 18).
void readRates(const KeptRow& g, const KeptColumns& c, Invoice& invoice)
{
    for (const ChargedTax& base : invoice.taxes) {
        if (const LabelHead head = headOf(base.first.description); head.mode != TaxMode::None) {
            invoice.mode = head.mode;
            break;
        }
    }
    if (invoice.mode == TaxMode::None) {
        if (g.number(c.tigst) != 0)
            invoice.mode = TaxMode::Igst;
        else if (g.number(c.tcgst) != 0 || g.number(c.tsgst) != 0)
            invoice.mode = TaxMode::Cgst;
    }
    for (ChargedTax& base : invoice.taxes) {
        const LabelHead head = headOf(base.first.description);
        if (head.rated && head.mode == invoice.mode)
            base.rate = WholeRate(base.first.rate, invoice.mode);
    }
}

// The grid of an invoice whose header is read.
LinesByRow readGrid(const KeptRow& g, const KeptColumns& c, Invoice& invoice)
{
    const LinesByRow lineAt = readLines(g, c, invoice);
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        invoice.row(row) = gridLine(g, c, row);
    readRates(g, c, invoice);
    ShareGoodsTax(invoice); // at one rate: made again as ComputeTotals made them
    for (InvoiceLine& line : invoice.lines)
        line.gstRate = invoice.taxes[TaxOnGoods].rate;
    InvoiceTotals& t = invoice.totals;
    t.quantity = g.number(c.totalQuantity);
    t.goods = g.amount(c.totalGoods);
    t.grand = g.amount(c.grand);
    t.charges = 0;
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        t.charges += invoice.row(row).amount;
    // kept as shown, to the paisa; files written before kept them unrounded
    t.igst = g.amount(c.tigst);
    t.cgst = g.amount(c.tcgst);
    t.sgst = g.amount(c.tsgst);
    return lineAt;
}

// A goods line's rate and tax as kept (InvoiceLineTax), over what its grid
// gave: the lines of goods at several rates, matched by their grid row.
void applyLineTax(Invoice& invoice, const LinesByRow& lineAt, const QSqlQuery& kept)
{
    const int row = kept.value(1).toInt();
    if (row < FirstGoodsRow || row > LastGoodsRow || lineAt[row] < 0)
        return;
    InvoiceLine& line = invoice.lines[std::size_t(lineAt[row])];
    line.gstRate = kept.value(2).toDouble();
    line.firstTax = kept.value(3).toLongLong() + kept.value(4).toLongLong(); // IGST, or CGST
    line.sgst = kept.value(5).toLongLong();
}

// "+b.sno" sorts the few rows found instead of letting SQLite walk the whole
// serial index to save that sort, which would read every invoice ever saved.
QString invoicesSql(bool marksKept, const QString& condition)
{
    const QString file = SchemaName(DbFile::Invoice);
    const QString marks = marksKept ? QStringLiteral(" LEFT JOIN \"%1\".\"CancelledInvoice\" AS c ON c.\"sno\" = b.\"sno\"")
                                          .arg(file)
                                    : QString();
    return QStringLiteral("SELECT %1 FROM \"%2\".\"BuyerInvoice\" AS b LEFT JOIN \"%2\".\"GoodsInvoice\" AS g "
                          "ON g.\"sno\" = b.\"sno\"%3 WHERE %4 ORDER BY +b.sno, b.rowid")
        .arg(KeptColumns::layout().selectList(marksKept), file, marks, condition);
}

QString lineTaxesSql(const QString& condition)
{
    return QStringLiteral("SELECT t.\"sno\", t.\"GoodsRow\", t.\"GstRate\", t.\"IgstPaise\", t.\"CgstPaise\", "
                          "t.\"SgstPaise\" FROM \"%1\".\"InvoiceLineTax\" AS t JOIN \"%1\".\"BuyerInvoice\" AS b "
                          "ON b.\"sno\" = t.\"sno\" WHERE %2")
        .arg(SchemaName(DbFile::Invoice), condition);
}

QString periodCondition()
{
    return QStringLiteral("b.\"sno\" <> 0 AND %1 BETWEEN ? AND ?").arg(DateKeySql(QStringLiteral("b.\"InvoiceDate\"")));
}

// The invoices whose header meets the condition (over b, BuyerInvoice), as
// the invoice file keeps them: two reads one after the other (a server gives
// one statement's rows at a time), the headers with their grids and marks,
// then the line taxes kept for them.
std::vector<Invoice> readInvoices(const Database& db, const QString& condition, const QVariantList& values,
                                  QStringList* datesAsStored = nullptr)
{
    const KeptColumns& c = KeptColumns::layout();
    std::vector<Invoice> invoices;
    std::vector<LinesByRow> lineAt;
    QHash<qint64, std::size_t> bySerial;
    {
        QSqlQuery query = db.run(invoicesSql(CancellationsKept(db), condition), values, ReadOperation, DbFile::Invoice);
        while (query.next()) {
            const KeptRow row(query);
            Invoice& invoice = invoices.emplace_back();
            readHeader(row, invoice);
            if (datesAsStored)
                datesAsStored->append(row.text(HDate));
            readMark(row, invoice);
            lineAt.push_back(row.none(KeptColumns::Grid) ? noLines() : readGrid(row, c, invoice));
            bySerial.insert(invoice.serial, invoices.size() - 1);
        }
    }
    if (!invoices.empty() && LineTaxesKept(db)) {
        QSqlQuery taxes = db.run(lineTaxesSql(condition), values, ReadOperation, DbFile::Invoice);
        while (taxes.next()) {
            const auto at = bySerial.constFind(taxes.value(0).toLongLong());
            if (at != bySerial.constEnd())
                applyLineTax(invoices[*at], lineAt[*at], taxes);
        }
    }
    for (Invoice& invoice : invoices)
        invoice.totals.words = AmountInWords(ToRupees(invoice.totals.grand));
    return invoices;
}

// The seller's address is not kept with the invoice: it is the company
// record's of the invoice's seller, the first of its name and GSTIN, else the
// first of its name.
void readSellerAddress(const Database& db, InvoiceParty& seller)
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
    std::vector<Invoice> found = readInvoices(db, QStringLiteral("b.\"InvoiceNo\" = ?"), {number});
    if (found.empty())
        return std::nullopt;
    Invoice invoice = std::move(found.front());
    readSellerAddress(db, invoice.seller);
    ReadInvoiceExtras(db, invoice);
    return invoice;
}

std::vector<Invoice> LoadInvoicesOfPeriod(const Database& db, const Period& period, QStringList* datesAsStored)
{
    return readInvoices(db, periodCondition(), {DayKey(period.from), DayKey(period.to)}, datesAsStored);
}

QString InvoicesOfPeriodSql(bool marksKept) { return invoicesSql(marksKept, periodCondition()); }

void CompleteInvoices(Database& db, std::vector<Invoice>& invoices)
{
    QHash<QString, InvoiceParty> sellers; // the company record of each seller, read once
    for (Invoice& invoice : invoices) {
        const QString key = invoice.seller.name + QChar(0) + invoice.seller.gstin;
        if (!sellers.contains(key)) {
            InvoiceParty found = invoice.seller;
            readSellerAddress(db, found);
            sellers.insert(key, found);
        }
        invoice.seller = sellers.value(key);
    }
    ReadInvoiceExtras(db, invoices);
}

std::vector<Invoice> LoadAllInvoices(Database& db)
{
    std::vector<Invoice> invoices = readInvoices(db, QStringLiteral("b.\"sno\" <> 0"), {});
    CompleteInvoices(db, invoices);
    return invoices;
}

std::vector<Invoice> LoadInvoicesNumbered(Database& db, const QStringList& numbers)
{
    std::vector<Invoice> invoices;
    // A statement takes a bounded number of parameters: the numbers go a batch at a time.
    constexpr qsizetype Batch = 500;
    for (qsizetype from = 0; from < numbers.size(); from += Batch) {
        QVariantList folded;
        for (const QString& number : numbers.mid(from, Batch))
            folded << number.toUpper();
        QStringList marks(folded.size(), QStringLiteral("?"));
        std::vector<Invoice> batch = readInvoices(
            db, QStringLiteral("b.\"sno\" <> 0 AND UPPER(b.\"InvoiceNo\") IN (%1)").arg(marks.join(QLatin1Char(','))), folded);
        std::move(batch.begin(), batch.end(), std::back_inserter(invoices));
    }
    std::sort(invoices.begin(), invoices.end(), [](const Invoice& a, const Invoice& b) { return a.serial < b.serial; });
    CompleteInvoices(db, invoices);
    return invoices;
}

} // namespace zelva
