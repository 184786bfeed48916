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

const QString& listEntry(TaxMode mode, int position)
{
    const QStringList& list = mode == TaxMode::Igst ? IgstList() : CgstList();
    return list.at(position);
}

// The base's tax rows; the tax unrounded, as the tax totals keep it.
double taxBase(Invoice& invoice, TaxBase kind)
{
    ChargedTax& base = invoice.taxes[kind];
    if (!base.rated() || invoice.mode == TaxMode::None)
        return 0;
    const double rate = RateAt(invoice.mode, base.ratePosition);
    const double tax = TaxOn(ToRupees(invoice.baseAmount(kind)), rate);
    std::vector<GridLine*> rows{&base.first};
    base.first.description = listEntry(invoice.mode, base.ratePosition);
    if (invoice.mode == TaxMode::Cgst) {
        base.second.description = SgstLabelFor(base.first.description);
        rows.push_back(&base.second);
    }
    for (GridLine* row : rows) {
        row->rate = rate;
        row->per = QStringLiteral("%");
        row->amount = ToPaise(tax);
    }
    return tax;
}

void shareGoodsTax(Invoice& invoice)
{
    std::vector<Paise> taxable;
    for (const InvoiceLine& line : invoice.lines)
        taxable.push_back(line.taxable());
    const double rate = invoice.goodsRate();
    std::vector<Paise> first(taxable.size(), 0);
    std::vector<Paise> sgst(taxable.size(), 0);
    if (rate >= 0) {
        const ChargedTax& goods = invoice.taxes[TaxOnGoods];
        first = SplitPaise(taxable, rate, goods.first.amount);
        if (invoice.mode == TaxMode::Cgst)
            sgst = SplitPaise(taxable, rate, goods.second.amount);
    }
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        invoice.lines[i].firstTax = first[i];
        invoice.lines[i].sgst = sgst[i];
    }
}

} // namespace

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
    return !goods.rated() || mode == TaxMode::None ? -1 : RateAt(mode, goods.ratePosition);
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
    double taxes = 0;
    for (TaxBase kind : {TaxOnGoods, TaxOnOthers1, TaxOnOthers2})
        taxes += taxBase(invoice, kind);
    shareGoodsTax(invoice);

    InvoiceTotals& totals = invoice.totals;
    totals.quantity = 0;
    for (const InvoiceLine& line : invoice.lines)
        totals.quantity += line.quantity;
    totals.goods = invoice.baseAmount(TaxOnGoods);
    totals.charges = 0;
    for (int row = GoodsCgstRow; row <= Rows; ++row)
        totals.charges += invoice.row(row).amount;
    totals.grand = totals.goods + totals.charges;
    totals.igst = invoice.mode == TaxMode::Igst ? taxes : 0;
    totals.cgst = totals.sgst = invoice.mode == TaxMode::Cgst ? taxes : 0;
    totals.words = AmountInWords(ToRupees(totals.grand));
}

} // namespace zelva
