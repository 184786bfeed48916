#include "registers/savedinvoice.h"

#include "data/database.h"
#include "gst/gststates.h"
#include "registers/salesqueries.h"
#include "sales/invoicestore.h"

#include <QSqlQuery>

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
            row.number(c.quantity[r]), row.amount(c.amount[r]) };
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
        const double rate = row.number(c.rate[rows.firstTax]);
        if (invoice.mode == TaxMode::Igst) {
            base.rate = rate;
            base.igst = row.amount(c.amount[rows.firstTax]);
        } else if (invoice.mode == TaxMode::Cgst) {
            base.rate = WholeRate(rate, TaxMode::Cgst); // the row shows the CGST rate
            base.cgst = row.amount(c.amount[rows.firstTax]);
            base.sgst = row.amount(c.amount[rows.sgst]);
        }
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
    invoice.rounding = row.amount(c.amount[RoundingRow]);
    invoice.total = row.amount(c.total);
    return invoice;
}

template <typename Figure> Paise sumOver(const std::array<TaxedBase, TaxedBaseCount>& bases, Figure figure)
{
    Paise sum = 0;
    for (const TaxedBase& base : bases)
        sum += figure(base);
    return sum;
}

} // namespace

Paise SavedInvoice::taxable() const
{
    return sumOver(bases, [](const TaxedBase& b) { return b.taxable; });
}
Paise SavedInvoice::igst() const
{
    return sumOver(bases, [](const TaxedBase& b) { return b.igst; });
}
Paise SavedInvoice::cgst() const
{
    return sumOver(bases, [](const TaxedBase& b) { return b.cgst; });
}
Paise SavedInvoice::sgst() const
{
    return sumOver(bases, [](const TaxedBase& b) { return b.sgst; });
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
