#include "registers/savedinvoice.h"

#include "data/database.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "gst/taxheads.h"
#include "registers/salesqueries.h"
#include "platform/datetext.h"
#include "sales/invoiceread.h"
#include "sales/invoicestore.h"

#include <QSqlQuery>
#include <algorithm>

namespace zelva {

namespace {

// A text the invoice filled with "N.A." because it was left blank holds nothing.
QString given(const QString& value)
{
    const QString text = value.trimmed();
    return text == QLatin1String("N.A.") ? QString() : text;
}

GoodsLine goodsLine(const Invoice& invoice, const InvoiceLine& line)
{
    return {given(line.description), given(line.hsn), given(line.unit), line.quantity, line.taxable(),
            LineGstRate(invoice, line).value_or(0), LineTaxHeads(invoice, line)};
}

TaxedBase taxedBase(const Invoice& invoice, TaxBase kind)
{
    TaxedBase base;
    if (kind == TaxOnGoods) {
        base.name = QStringLiteral("Goods");
    } else {
        const GridLine& charge = invoice.charges[kind - TaxOnOthers1];
        base.name = given(charge.description);
        base.hsn = given(charge.hsn);
    }
    base.taxable = invoice.baseAmount(kind);
    if (invoice.mode != TaxMode::None) {
        base.rate = invoice.taxes[kind].rate.value_or(0);
        base.tax = invoice.taxRows(kind);
    }
    return base;
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

SavedInvoice SavedInvoiceOf(const Invoice& invoice, const QString& dateText)
{
    SavedInvoice saved;
    saved.serial = invoice.serial;
    saved.number = invoice.number;
    saved.dateText = dateText;
    saved.date = ReadKeptDate(dateText);
    saved.buyerName = invoice.buyer.name;
    saved.buyerGstin = invoice.buyer.gstin;
    saved.buyerState = invoice.buyer.state;
    saved.supplierGstin = invoice.seller.gstin;
    saved.mode = invoice.mode;
    for (const InvoiceLine& line : invoice.lines)
        saved.goods.push_back(goodsLine(invoice, line));
    for (TaxBase kind : {TaxOnGoods, TaxOnOthers1, TaxOnOthers2})
        saved.bases[kind] = taxedBase(invoice, kind);
    saved.rounding = invoice.rounding.amount;
    saved.total = invoice.totals.grand;
    saved.cancelled = invoice.cancelled();
    return saved;
}

std::vector<SavedInvoice> LoadInvoices(const Database& db, const Period& period)
{
    std::vector<SavedInvoice> invoices;
    QStringList dates;
    const std::vector<Invoice> read = LoadInvoicesOfPeriod(db, period, &dates);
    for (std::size_t i = 0; i < read.size(); ++i)
        invoices.push_back(SavedInvoiceOf(read[i], dates[qsizetype(i)]));
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
