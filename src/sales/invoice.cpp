#include "sales/invoice.h"

#include "gst/amountinwords.h"

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

} // namespace

void ShareGoodsTax(Invoice& invoice)
{
    std::vector<Paise> taxable;
    for (const InvoiceLine& line : invoice.lines)
        taxable.push_back(line.taxable());
    std::vector<TaxHeads> shares(taxable.size());
    const ChargedTax& goods = invoice.taxes[TaxOnGoods];
    if (goods.rated() && invoice.mode != TaxMode::None)
        shares = ShareTaxRows(taxable, *goods.rate, invoice.taxRows(TaxOnGoods));
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        invoice.lines[i].firstTax = shares[i].igst + shares[i].cgst;
        invoice.lines[i].sgst = shares[i].sgst;
    }
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

std::optional<double> LineGstRate(const Invoice& invoice, const InvoiceLine&)
{
    return invoice.taxes[TaxOnGoods].rate;
}

std::vector<RateTax> GoodsTaxByRate(const Invoice& invoice)
{
    const ChargedTax& goods = invoice.taxes[TaxOnGoods];
    if (!goods.rated() || invoice.mode == TaxMode::None)
        return {};
    return {{*goods.rate, invoice.baseAmount(TaxOnGoods), invoice.taxRows(TaxOnGoods)}};
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
    for (TaxBase kind : {TaxOnGoods, TaxOnOthers1, TaxOnOthers2})
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
        if (invoice.taxes[kind].rated())
            shown += invoice.taxRows(kind);
    totals.igst = shown.igst;
    totals.cgst = shown.cgst;
    totals.sgst = shown.sgst;
    totals.words = AmountInWords(ToRupees(totals.grand));
}

} // namespace zelva
