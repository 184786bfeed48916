#include "sales/invoice.h"

#include "gst/amountinwords.h"
#include "gst/gstrates.h"

#include <algorithm>

namespace zelva {

using namespace invoicegrid;

namespace {

// Each base's rows: the base's own (0 for the goods), its first tax and its SGST.
struct BaseRows {
    int amount;
    int first;
    int sgst;
};
constexpr std::array<BaseRows, TaxedBases> RowsOf{{{0, GoodsCgstRow, GoodsSgstRow},
                                                 {Others1Row, Others1CgstRow, Others1SgstRow},
                                                 {Others2Row, Others2CgstRow, Others2SgstRow}}};

// The base's tax rows, each head to the paisa.
void taxBase(Invoice& invoice, TaxBase kind)
{
    ChargedTax& base = invoice.taxes[kind];
    if (!base.rated() || invoice.mode == TaxMode::None)
        return;
    const TaxHeads tax = TaxAtRate(invoice.baseAmount(kind), *base.rate, invoice.mode);
    std::vector<std::pair<GridLine*, Paise>> rows{{&base.first, tax.igst + tax.cgst}};
    base.first.description = TaxRowLabel(invoice.mode, *base.rate);
    if (invoice.mode == TaxMode::Cgst) {
        base.second.description = TaxRowLabel(invoice.mode, *base.rate, true);
        rows.push_back({&base.second, tax.sgst});
    }
    for (auto [row, amount] : rows) {
        row->rate = HeadRate(*base.rate, invoice.mode);
        row->per = QStringLiteral("%");
        row->amount = amount;
    }
}

// The goods lines at each rate, rates rising (SameRate: one entry per rate).
struct RateLines {
    double gstRate = 0;
    std::vector<std::size_t> lines;
    Paise taxable = 0;
};

std::vector<RateLines> linesByRate(const Invoice& invoice)
{
    std::vector<RateLines> groups;
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const std::optional<double> rate = LineGstRate(invoice, invoice.lines[i]);
        if (!rate)
            continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const RateLines& g) { return SameRate(g.gstRate, *rate); });
        if (group == groups.end())
            group = groups.insert(std::upper_bound(groups.begin(), groups.end(), *rate,
                                                   [](double r, const RateLines& g) { return r < g.gstRate; }),
                                  RateLines{*rate, {}, 0});
        group->lines.push_back(i);
        group->taxable += invoice.lines[i].taxable();
    }
    return groups;
}

void setShare(Invoice& invoice, std::size_t i, const TaxHeads& share)
{
    invoice.lines[i].firstTax = share.igst + share.cgst;
    invoice.lines[i].sgst = share.sgst;
}

// Each line's share of its rate's tax: the rate's lines split that tax.
void shareWithinRate(Invoice& invoice, const RateLines& group, const TaxHeads& tax)
{
    std::vector<Paise> taxable;
    for (std::size_t i : group.lines)
        taxable.push_back(invoice.lines[i].taxable());
    const std::vector<TaxHeads> shares = ShareTaxRows(taxable, group.gstRate, tax);
    for (std::size_t k = 0; k < group.lines.size(); ++k)
        setShare(invoice, group.lines[k], shares[k]);
}

// Each line without a rate of its own takes the goods rate; the goods rate is
// then the one all lines share, none when they mix rates or one has none.
void settleLineRates(Invoice& invoice)
{
    ChargedTax& goods = invoice.taxes[TaxOnGoods];
    for (InvoiceLine& line : invoice.lines)
        if (!line.gstRate)
            line.gstRate = goods.rate;
    if (invoice.lines.empty())
        return;
    const std::optional<double> first = invoice.lines.front().gstRate;
    const bool shared = std::all_of(invoice.lines.begin(), invoice.lines.end(), [&](const InvoiceLine& line) {
        return first && line.gstRate && SameRate(*line.gstRate, *first);
    });
    goods.rate = shared ? first : std::nullopt;
}

// The goods line by line: each rate's tax on the sum of its lines'
// taxable values, split over them; rows 8 and 9 the sums.
void taxMixedGoods(Invoice& invoice)
{
    ChargedTax& goods = invoice.taxes[TaxOnGoods];
    for (std::size_t i = 0; i < invoice.lines.size(); ++i)
        setShare(invoice, i, {}); // a line without a rate is charged nothing
    TaxHeads sum;
    for (const RateLines& group : linesByRate(invoice)) {
        const TaxHeads tax = TaxAtRate(group.taxable, group.gstRate, invoice.mode);
        shareWithinRate(invoice, group, tax);
        sum += tax;
    }
    goods.first = {MixedRatesLabel(invoice.mode), goods.first.hsn, QString(), 0, sum.igst + sum.cgst};
    if (invoice.mode == TaxMode::Cgst)
        goods.second = {MixedRatesLabel(invoice.mode, true), goods.second.hsn, QString(), 0, sum.sgst};
}

// Goods taxed line by line: lines that mix rates, or rated lines beside one
// without a rate.
bool taxedByLine(const Invoice& invoice)
{
    return !invoice.taxes[TaxOnGoods].rated() && !linesByRate(invoice).empty();
}

// Whether the base's rows carry tax: a rated base, or goods at several rates.
bool taxedBase(const Invoice& invoice, TaxBase kind)
{
    return invoice.taxes[kind].rated() || (kind == TaxOnGoods && taxedByLine(invoice));
}

} // namespace

QString MixedRatesLabel(TaxMode mode, bool sgstRow)
{
    switch (mode) {
    case TaxMode::Igst: return QStringLiteral("IGST");
    case TaxMode::Cgst: return sgstRow ? QStringLiteral("SGST") : QStringLiteral("CGST");
    case TaxMode::None: break;
    }
    return {};
}

void ShareGoodsTax(Invoice& invoice)
{
    const bool taxed = invoice.mode != TaxMode::None;
    if (taxed && taxedByLine(invoice))
        return; // each line keeps its share of its own rate's tax
    for (std::size_t i = 0; i < invoice.lines.size(); ++i)
        setShare(invoice, i, {});
    const ChargedTax& goods = invoice.taxes[TaxOnGoods];
    if (!taxed || !goods.rated())
        return;
    RateLines all{*goods.rate, {}, 0};
    for (std::size_t i = 0; i < invoice.lines.size(); ++i)
        all.lines.push_back(i);
    shareWithinRate(invoice, all, invoice.taxRows(TaxOnGoods));
}


GridLine& Invoice::row(int gridRow)
{
    return const_cast<GridLine&>(std::as_const(*this).row(gridRow));
}

const GridLine& Invoice::row(int gridRow) const
{
    for (int kind = 0; kind < TaxedBases; ++kind) {
        if (gridRow == RowsOf[kind].first)
            return taxes[kind].first;
        if (gridRow == RowsOf[kind].sgst)
            return taxes[kind].second;
    }
    if (gridRow == Others1Row)
        return charges[0];
    if (gridRow == Others2Row)
        return charges[1];
    return rounding;
}

Paise Invoice::baseAmount(TaxBase base) const
{
    if (base != TaxOnGoods)
        return charges[base - TaxOnOthers1].amount;
    Paise goods = 0;
    for (const InvoiceLine& line : lines)
        goods += line.taxable();
    return goods;
}

double Invoice::goodsRate() const
{
    const ChargedTax& goods = taxes[TaxOnGoods];
    return !goods.rated() || mode == TaxMode::None ? -1 : HeadRate(*goods.rate, mode);
}

TaxHeads Invoice::taxRows(TaxBase base) const
{
    const ChargedTax& tax = taxes[base];
    switch (mode) {
    case TaxMode::Igst: return {tax.first.amount, 0, 0, 0};
    case TaxMode::Cgst: return {0, tax.first.amount, tax.second.amount, 0};
    case TaxMode::None: break;
    }
    return {};
}

std::optional<double> LineGstRate(const Invoice& invoice, const InvoiceLine& line)
{
    return line.gstRate ? line.gstRate : invoice.taxes[TaxOnGoods].rate;
}

double LineHeadRate(const Invoice& invoice, const InvoiceLine& line)
{
    const std::optional<double> rate = LineGstRate(invoice, line);
    return !rate || invoice.mode == TaxMode::None ? -1 : HeadRate(*rate, invoice.mode);
}

TaxHeads LineTaxHeads(const Invoice& invoice, const InvoiceLine& line)
{
    switch (invoice.mode) {
    case TaxMode::Igst: return {line.firstTax, 0, 0, 0};
    case TaxMode::Cgst: return {0, line.firstTax, line.sgst, 0};
    case TaxMode::None: break;
    }
    return {};
}

std::vector<RateTax> GoodsTaxByRate(const Invoice& invoice)
{
    if (invoice.mode == TaxMode::None)
        return {};
    const ChargedTax& goods = invoice.taxes[TaxOnGoods];
    if (goods.rated())
        return {{*goods.rate, invoice.baseAmount(TaxOnGoods), invoice.taxRows(TaxOnGoods)}};
    std::vector<RateTax> byRate;
    for (const RateLines& group : linesByRate(invoice)) {
        RateTax rate{group.gstRate, group.taxable, {}};
        for (std::size_t i : group.lines)
            rate.tax += LineTaxHeads(invoice, invoice.lines[i]);
        byRate.push_back(rate);
    }
    return byRate;
}

Paise Invoice::firstTaxShown() const
{
    Paise sum = 0;
    for (const ChargedTax& base : taxes)
        sum += base.first.amount;
    return sum;
}

Paise Invoice::sgstShown() const
{
    Paise sum = 0;
    if (mode != TaxMode::Igst)
        for (const ChargedTax& base : taxes)
            sum += base.second.amount;
    return sum;
}

Paise Invoice::beforeTax() const
{
    return baseAmount(TaxOnGoods) + charges[0].amount + charges[1].amount;
}

Paise ChargedDiscount(Paise typed, Paise lineAmount)
{
    return std::clamp(typed, Paise(0), std::max(Paise(0), lineAmount));
}

void ComputeTotals(Invoice& invoice)
{
    for (InvoiceLine& line : invoice.lines)
        line.discount = ChargedDiscount(line.discount, line.amount);
    settleLineRates(invoice);
    if (invoice.mode != TaxMode::None && taxedByLine(invoice))
        taxMixedGoods(invoice);
    else
        taxBase(invoice, TaxOnGoods);
    for (TaxBase kind : {TaxOnOthers1, TaxOnOthers2})
        taxBase(invoice, kind);
    ShareGoodsTax(invoice);

    InvoiceTotals& totals = invoice.totals;
    totals.quantity = 0;
    for (const InvoiceLine& line : invoice.lines)
        totals.quantity += line.quantity;
    totals.goods = invoice.baseAmount(TaxOnGoods);
    totals.charges = 0;
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        totals.charges += invoice.row(row).amount;
    totals.grand = totals.goods + totals.charges;
    TaxHeads shown;
    for (TaxBase kind : {TaxOnGoods, TaxOnOthers1, TaxOnOthers2})
        if (taxedBase(invoice, kind))
            shown += invoice.taxRows(kind);
    totals.igst = shown.igst;
    totals.cgst = shown.cgst;
    totals.sgst = shown.sgst;
    totals.words = AmountInWords(ToRupees(totals.grand));
}

} // namespace zelva
