#pragma once
// A tax invoice as a value, free of any window: what the invoice forms fill
// from their boxes and show, what StoreInvoice saves whole and LoadInvoice
// reads back, what the reprint and the registers start from.
//
// The grid has sixteen rows, kept in the row-numbered fields of GoodsInvoice:
// rows 1-7 the goods lines, 8 and 9 the goods' CGST (or IGST) and SGST, 10 the
// first extra charge with its taxes in 11 and 12, 13 the second charge with
// its taxes in 14 and 15, and 16 the rounding "Short & Excess".
//
// Amounts are paise (platform/money.h). Quantities and rates per unit stay
// numbers: a rate may carry a fraction of a paisa, and only the line's amount,
// quantity times rate to the paisa, is money.
#include "gst/gsttax.h"
#include "gst/taxheads.h"
#include "platform/money.h"
#include "sales/transport.h"

#include <QDate>
#include <QMetaType>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace zelva {

namespace invoicegrid {
enum Row : int {
    FirstGoodsRow = 1,
    LastGoodsRow = 7,
    GoodsCgstRow = 8,
    GoodsSgstRow = 9,
    Others1Row = 10,
    Others1CgstRow = 11,
    Others1SgstRow = 12,
    Others2Row = 13,
    Others2CgstRow = 14,
    Others2SgstRow = 15,
    ShortExcessRow = 16,
};
constexpr int Rows = ShortExcessRow;
constexpr int GoodsRows = LastGoodsRow;
constexpr int RatedRows = Others2SgstRow; // rows with a rate and a "per": all but the rounding
} // namespace invoicegrid

struct InvoiceParty {
    QString name;
    QString address;
    QString dist;
    QString state;
    QString pin;
    QString gstin;
    bool operator==(const InvoiceParty&) const = default;
};

// A goods line (rows 1-7).
struct InvoiceLine {
    QString itemCode; // the stock item it is taken off; not kept with the invoice
    QString description;
    QString hsn;
    QString unit; // "Per"
    double quantity = 0;
    double rate = 0;
    Paise amount = 0;   // quantity times rate, to the paisa
    Paise discount = 0; // taken off before tax (the separate-GST form); ComputeTotals keeps it within the amount
    // its whole GST rate (18 for CGST 9% + SGST 9%): the item's own, or the
    // one chosen for it; a line without one takes the invoice's goods rate
    std::optional<double> gstRate = std::nullopt;
    // its share of its rate's tax, worked out by ComputeTotals
    Paise firstTax = 0; // CGST, or IGST
    Paise sgst = 0;

    Paise taxable() const { return amount - discount; }
    Paise total() const { return taxable() + firstTax + sgst; }
    bool operator==(const InvoiceLine&) const = default;
};

// A row beneath the goods as it is shown and kept: a charge, a tax row or the rounding.
struct GridLine {
    QString description;
    QString hsn;
    QString per;
    double rate = 0;
    Paise amount = 0;
    bool operator==(const GridLine&) const = default;
};

// One base GST is charged on: the goods, the first or the second extra charge.
enum TaxBase : int { TaxOnGoods, TaxOnOthers1, TaxOnOthers2 };
constexpr int TaxedBases = 3;

// For the goods, rate is the rate of every line when they share one, none
// otherwise (rows 8 and 9 then hold the sums of the rates' rows).
struct ChargedTax {
    std::optional<double> rate; // the whole GST rate chosen (18 for CGST 9% + SGST 9%); none while none is
    GridLine first;             // its CGST or IGST row
    GridLine second;            // its SGST row (CGST mode)
    bool rated() const { return rate.has_value(); }
    bool operator==(const ChargedTax&) const = default;
};

struct InvoiceTotals {
    double quantity = 0;
    Paise goods = 0;   // the goods' taxable value
    Paise charges = 0; // rows 8-16 as shown
    Paise grand = 0;
    // the tax totals as the invoice shows them: the sums of its tax rows
    Paise igst = 0;
    Paise cgst = 0;
    Paise sgst = 0;
    QString words; // the grand total in words
    bool operator==(const InvoiceTotals&) const = default;
};

// The mark a cancelled invoice carries: it stays under its number, with no
// value, its stock given back.
struct InvoiceCancellation {
    QDate date;
    QString time;
    QString reason;
    QString by; // the operator who cancelled it
    bool operator==(const InvoiceCancellation&) const = default;
};

struct Invoice {
    qint64 serial = 0;
    QString number; // "A00001"
    QDate date; // stored as "dd/mm/yyyy" (DateText); invalid when the stored text names no day
    QString time;
    QString orderNo;
    QDate orderDate;
    QString suppliersRef;
    QString dispatchedThrough;
    InvoiceParty seller; // only its name and GSTIN are kept with the invoice
    QString buyerCode;   // "bid"
    InvoiceParty buyer;
    InvoiceParty delivery; // no GSTIN
    TaxMode mode = TaxMode::None;
    std::vector<InvoiceLine> lines; // at most seven
    std::array<GridLine, 2> charges; // rows 10 and 13
    std::array<ChargedTax, TaxedBases> taxes;
    GridLine rounding; // row 16
    InvoiceTotals totals;
    std::optional<InvoiceCancellation> cancellation; // read back by LoadInvoice; StoreInvoice saves none
    std::optional<InvoiceTransport> transport; // saved with the invoice when given
    std::optional<InvoiceRegistration> registration; // read back by LoadInvoice; kept by StoreRegistration

    bool cancelled() const { return cancellation.has_value(); }
    // Rows 8-16 by their number.
    GridLine& row(int gridRow);
    const GridLine& row(int gridRow) const;
    // The base of a tax: the goods' taxable value or the charge.
    Paise baseAmount(TaxBase base) const;
    // The rate the goods' tax rows show (IGST, or CGST and SGST each), in
    // percent; negative while no goods rate is chosen.
    double goodsRate() const;
    // The base's tax rows as heads: IGST, or CGST and SGST.
    TaxHeads taxRows(TaxBase base) const;
    // What the tax rows show, added up: CGST or IGST rows, SGST rows.
    Paise firstTaxShown() const;
    Paise sgstShown() const;
    Paise taxShown() const { return firstTaxShown() + sgstShown(); }
    // The goods and the two charges before tax.
    Paise beforeTax() const;
    bool operator==(const Invoice&) const = default;
};

// A goods line's whole GST rate (18 for CGST 9% + SGST 9%): its own, else the
// invoice's goods rate; none while it has neither.
std::optional<double> LineGstRate(const Invoice& invoice, const InvoiceLine& line);

// The rate a goods line's tax shows (IGST, or CGST and SGST each), in
// percent; negative while the line has none or the invoice charges no GST.
double LineHeadRate(const Invoice& invoice, const InvoiceLine& line);

// The goods' taxable value and their tax at one whole rate.
struct RateTax {
    double gstRate = 0;
    Paise taxable = 0;
    TaxHeads tax;
    bool operator==(const RateTax&) const = default;
};

// The goods' tax by rate, rates rising: an entry for each rate the goods are
// charged at, its tax that of the goods' rows at one rate, the sum of its
// lines' shares when the goods mix rates.
std::vector<RateTax> GoodsTaxByRate(const Invoice& invoice);

// A goods line's share of its rate's tax as heads: IGST, or CGST and SGST.
TaxHeads LineTaxHeads(const Invoice& invoice, const InvoiceLine& line);

// The label of a goods tax row over several rates: its head alone.
QString MixedRatesLabel(TaxMode mode, bool sgstRow = false);

// A discount as it is charged: never below nothing nor above the line's amount.
Paise ChargedDiscount(Paise typed, Paise lineAmount);

// The rules of both invoice forms, in one place: each line's discount kept
// within its amount; each line without a rate of its own given the goods
// rate, and the goods rate then the one rate all lines share (none when they
// mix rates); the goods taxed rate by rate (TaxAtRate on the sum of the
// taxable values at that rate), each line's share worked out within its rate
// (ShareTaxRows), rows 8 and 9 at one rate as below, else (several rates, or
// a line without one, which is charged nothing) the sums of the rates' rows
// labelled by their head alone ("CGST", "SGST", "IGST");
// each rated charge taxed at its rate (TaxAtRate), its rows
// showing the label, the head's rate, "%" and the tax to the paisa (the SGST
// row too in CGST mode); each line's share of the goods' tax rows
// (ShareTaxRows); the totals: the quantity, the goods' taxable value, rows
// 8-16 as shown, the grand total and its words, and the tax totals as the
// rows show them. A base without a rate (or an invoice without a tax mode)
// keeps its rows as they are.
void ComputeTotals(Invoice& invoice);

// Each goods line's share of the goods' tax rows as they stand (ShareTaxRows),
// as ComputeTotals gives it at one rate: what a stored invoice read back is
// given again. Lines at several rates keep the shares they have.
void ShareGoodsTax(Invoice& invoice);

} // namespace zelva

Q_DECLARE_METATYPE(zelva::Invoice)
