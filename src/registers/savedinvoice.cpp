#include "registers/savedinvoice.h"

#include "data/database.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "gst/taxheads.h"
#include "registers/salesqueries.h"
#include "sales/invoicestore.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>

namespace zelva {

namespace {

constexpr int GoodsRows = 7;
constexpr int RoundingRow = 16;

// Each base: its amount row, and the rows of its first tax (CGST or IGST) and SGST.
struct BaseRows {
    int amount;
    int firstTax;
    int sgst;
};
constexpr std::array<BaseRows, TaxedBaseCount> BaseRowsOf { { { 0, 8, 9 }, { 10, 11, 12 }, { 13, 14, 15 } } };

// Where each GoodsInvoice column comes in a row of the period query (-1: not read).
struct Columns {
    QStringList names;
    std::array<int, 17> description {}, hsn {}, quantity {}, unit {}, amount {}, rate {};
    int total = -1, tigst = -1, tcgst = -1, tsgst = -1;

    int add(const QString& name)
    {
        names << name;
        return InvoiceHeaderColumns + int(names.size()) - 1;
    }
    int add(const char* stem, int row) { return add(QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(row)); }

    Columns()
    {
        for (std::array<int, 17>* column : { &description, &hsn, &quantity, &unit, &amount, &rate })
            column->fill(-1);
        for (int row = 1; row <= GoodsRows; ++row) {
            description[row] = add("DescriptionOfGoods", row);
            hsn[row] = add("Hsn", row);
            quantity[row] = add("Quantity", row);
            unit[row] = add("Per", row);
        }
        for (const BaseRows& base : BaseRowsOf) {
            for (int row : { base.firstTax, base.sgst })
                amount[row] = add("Amount", row);
            description[base.firstTax] = add("DescriptionOfGoods", base.firstTax);
            rate[base.firstTax] = add("rate", base.firstTax); // rate8, rate11, rate14
            if (base.amount != 0) {
                amount[base.amount] = add("Amount", base.amount);
                description[base.amount] = add("DescriptionOfGoods", base.amount);
                hsn[base.amount] = add("Hsn", base.amount);
            }
        }
        for (int row = 1; row <= GoodsRows; ++row)
            amount[row] = add("Amount", row);
        amount[RoundingRow] = add("Amount", RoundingRow);
        total = add(QStringLiteral("totalamount"));
        tigst = add(QStringLiteral("TIgst"));
        tcgst = add(QStringLiteral("TCgst"));
        tsgst = add(QStringLiteral("TSgst"));
    }
};

const Columns& columns()
{
    static const Columns layout;
    return layout;
}

// A text the invoice filled with "N.A." because it was left blank holds nothing.
QString given(const QVariant& value)
{
    const QString text = value.toString().trimmed();
    return text == QLatin1String("N.A.") ? QString() : text;
}

class RowReader {
public:
    explicit RowReader(const QSqlQuery& query)
        : m_query(query)
    {
    }
    QString text(int position) const { return given(m_query.value(position)); }
    double number(int position) const { return m_query.value(position).toDouble(); }
    Paise amount(int position) const { return ToPaise(number(position)); }

private:
    const QSqlQuery& m_query;
};

TaxMode modeOf(const RowReader& row, const Columns& c)
{
    for (const BaseRows& base : BaseRowsOf) {
        const QString label = row.text(c.description[base.firstTax]).toUpper();
        if (label.startsWith(QLatin1String("IGST")))
            return TaxMode::Igst;
        if (label.startsWith(QLatin1String("CGST")))
            return TaxMode::Cgst;
    }
    if (row.number(c.tigst) != 0)
        return TaxMode::Igst;
    if (row.number(c.tcgst) != 0 || row.number(c.tsgst) != 0)
        return TaxMode::Cgst;
    return TaxMode::None;
}

void readGoods(const RowReader& row, const Columns& c, SavedInvoice& invoice)
{
    for (int r = 1; r <= GoodsRows; ++r) {
        GoodsLine line { r, row.text(c.description[r]), row.text(c.hsn[r]), row.text(c.unit[r]),
            row.number(c.quantity[r]), row.amount(c.amount[r]), 0, {} };
        if (line.description.isEmpty() && line.amount == 0 && line.quantity == 0)
            continue; // a goods row the invoice did not use
        invoice.goods.push_back(line);
    }
}

void readBases(const RowReader& row, const Columns& c, SavedInvoice& invoice)
{
    for (int kind = 0; kind < TaxedBaseCount; ++kind) {
        const BaseRows& rows = BaseRowsOf[kind];
        TaxedBase& base = invoice.bases[kind];
        if (kind == GoodsBase) {
            base.name = QStringLiteral("Goods");
            for (const GoodsLine& line : invoice.goods)
                base.taxable += line.amount;
        } else {
            base.name = row.text(c.description[rows.amount]);
            base.hsn = row.text(c.hsn[rows.amount]);
            base.taxable = row.amount(c.amount[rows.amount]);
        }
        if (invoice.mode == TaxMode::None)
            continue;
        base.rate = WholeRate(row.number(c.rate[rows.firstTax]), invoice.mode); // the row shows its head's rate
        base.tax = RowTaxHeads(invoice.mode, row.amount(c.amount[rows.firstTax]), row.amount(c.amount[rows.sgst]));
    }
}

// Each goods line at the goods' one rate, its share of rows 8/9 as the
// invoice itself gives it (ShareTaxRows).
void shareGoodsRows(SavedInvoice& invoice)
{
    const TaxedBase& goods = invoice.bases[GoodsBase];
    std::vector<Paise> weights;
    for (const GoodsLine& line : invoice.goods)
        weights.push_back(line.amount);
    const std::vector<TaxHeads> shares = ShareTaxRows(weights, goods.rate, goods.tax);
    for (std::size_t i = 0; i < invoice.goods.size(); ++i) {
        GoodsLine& line = invoice.goods[i];
        line.rate = goods.rate;
        line.tax = shares[i];
    }
}

SavedInvoice readInvoice(const QSqlQuery& query)
{
    const Columns& c = columns();
    const RowReader row(query);
    SavedInvoice invoice;
    invoice.serial = query.value(0).toLongLong();
    invoice.number = query.value(1).toString();
    invoice.dateText = query.value(2).toString();
    invoice.buyerName = query.value(3).toString();
    invoice.buyerGstin = query.value(4).toString();
    invoice.buyerState = query.value(5).toString();
    invoice.supplierGstin = query.value(6).toString();
    invoice.date = QDate(query.value(9).toInt(), query.value(8).toInt(), query.value(7).toInt());
    invoice.cancelled = query.value(10).toInt() != 0;
    invoice.mode = modeOf(row, c);
    readGoods(row, c, invoice);
    readBases(row, c, invoice);
    shareGoodsRows(invoice);
    invoice.rounding = row.amount(c.amount[RoundingRow]);
    invoice.total = row.amount(c.total);
    return invoice;
}

// The rate and tax each goods line was saved with (InvoiceLineTax), over what
// the goods' rows gave: the lines of an invoice that mixes rates.
void readKeptLineTaxes(const Database& db, std::vector<SavedInvoice>& invoices)
{
    if (invoices.empty() || !LineTaxesKept(db))
        return;
    QHash<qint64, SavedInvoice*> bySerial;
    for (SavedInvoice& invoice : invoices)
        bySerial.insert(invoice.serial, &invoice);
    const auto [first, last] = std::minmax_element(invoices.begin(), invoices.end(),
        [](const SavedInvoice& a, const SavedInvoice& b) { return a.serial < b.serial; });
    QSqlQuery query = db.run(QStringLiteral("SELECT \"sno\", \"GoodsRow\", \"GstRate\", \"IgstPaise\", \"CgstPaise\", "
                                            "\"SgstPaise\" FROM \"%1\".\"InvoiceLineTax\" WHERE \"sno\" BETWEEN ? AND ?")
                                 .arg(SchemaName(DbFile::Invoice)),
        { first->serial, last->serial }, QStringLiteral("read the invoices' GST rates"), DbFile::Invoice);
    while (query.next()) {
        SavedInvoice* invoice = bySerial.value(query.value(0).toLongLong());
        if (!invoice)
            continue;
        const int row = query.value(1).toInt();
        const auto line = std::find_if(invoice->goods.begin(), invoice->goods.end(),
            [&](const GoodsLine& l) { return l.row == row; });
        if (line == invoice->goods.end())
            continue;
        line->rate = query.value(2).toDouble();
        line->tax = { query.value(3).toLongLong(), query.value(4).toLongLong(), query.value(5).toLongLong(), 0 };
    }
}

} // namespace

std::vector<TaxedBase> SavedInvoice::supplies() const
{
    std::vector<TaxedBase> byRate;
    for (const GoodsLine& line : goods) {
        auto at = std::find_if(byRate.begin(), byRate.end(), [&](const TaxedBase& b) { return SameRate(b.rate, line.rate); });
        if (at == byRate.end()) {
            TaxedBase entry;
            entry.name = bases[GoodsBase].name;
            entry.rate = line.rate;
            at = byRate.insert(std::upper_bound(byRate.begin(), byRate.end(), line.rate,
                                   [](double rate, const TaxedBase& b) { return rate < b.rate; }),
                entry);
        }
        at->taxable += line.amount;
        at->tax += line.tax;
    }
    if (goods.empty())
        byRate.push_back(bases[GoodsBase]); // tax rows kept without goods lines still count
    for (int kind : { Others1Base, Others2Base })
        byRate.push_back(bases[kind]);
    std::erase_if(byRate, [](const TaxedBase& b) { return b.taxable == 0 && b.tax.total() == 0; });
    return byRate;
}

Paise SavedInvoice::taxable() const
{
    Paise sum = 0;
    for (const TaxedBase& base : bases)
        sum += base.taxable;
    return sum;
}

TaxHeads SavedInvoice::tax() const
{
    TaxHeads sum;
    for (const TaxedBase& base : bases)
        sum += base.tax;
    return sum;
}

TaxHeads RowTaxHeads(TaxMode mode, Paise firstTax, Paise sgst)
{
    switch (mode) {
    case TaxMode::Igst: return { firstTax, 0, 0, 0 };
    case TaxMode::Cgst: return { 0, firstTax, sgst, 0 };
    case TaxMode::None: break;
    }
    return {};
}

bool SavedInvoice::registeredBuyer() const { return !IsNoGstin(buyerGstin); }

const GstState* PlaceOfSupply(const SavedInvoice& invoice)
{
    if (const GstState* state = FindGstState(invoice.buyerState))
        return state;
    if (invoice.registeredBuyer())
        return GstStateOfCode(NormalizedGstin(invoice.buyerGstin).left(2));
    return nullptr;
}

std::vector<SavedInvoice> LoadInvoices(const Database& db, const Period& period)
{
    QSqlQuery query = db.run(InvoicesOfPeriodSql(columns().names, CancellationsKept(db)), { DayKey(period.from), DayKey(period.to) },
        QStringLiteral("read the invoices"), DbFile::Invoice);
    std::vector<SavedInvoice> invoices;
    while (query.next())
        invoices.push_back(readInvoice(query));
    readKeptLineTaxes(db, invoices);
    return invoices;
}

std::optional<CompanyGst> LoadCompany(const Database& db)
{
    QSqlQuery query = db.run(CompanyGstSql(), {}, QStringLiteral("read the company details"), DbFile::Master);
    if (!query.next())
        return std::nullopt;
    return CompanyGst { query.value(0).toString(), query.value(1).toString(), query.value(2).toString() };
}

} // namespace zelva
