#pragma once
// A saved tax invoice as the registers and the return read it: made from the
// Invoice the one reader gives (sales/invoicestore.h), as goods lines, the
// three taxed bases and the rounding.
//
// How the figures are made (all from the amounts as the invoice shows them,
// two decimals, in paise):
// - Taxable value is the goods lines (rows 1-7) plus the two extra charges
//   (rows 10 and 13): a charge is a supply of its own with its own rate.
// - Each base carries the tax rows under it: goods rows 8/9, Others1 rows
//   11/12, Others2 rows 14/15; CGST and SGST in the CGST mode, IGST (rows 8,
//   11, 14) in the IGST mode, the mode as the reader tells it.
// - The GST rate of a base is the whole rate it was charged at (0 when none).
// - Each goods line carries its whole rate and its share of that rate's tax:
//   as the invoice kept them (InvoiceLineTax) when the goods mix rates, else
//   the goods' one rate and the line's share of rows 8/9.
// - The invoice value is the invoice's own grand total to the paisa; it holds
//   the rounding ("Short & Excess", row 16), which is no taxable value.
#include "gst/gsttax.h"
#include "gst/taxheads.h"
#include "platform/money.h"
#include "platform/period.h"
#include "sales/invoice.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace zelva {

class Database;
struct GstState;

struct GoodsLine {
    QString description;
    QString hsn; // "" when the invoice has none ("N.A.")
    QString unit;
    double quantity = 0;
    Paise amount = 0;
    // its whole GST rate and its share of that rate's tax: as the invoice kept
    // them, or (an invoice saved with one goods rate) that rate and the line's
    // share of the goods' tax rows
    double rate = 0;
    TaxHeads tax;
};

enum TaxedBaseKind { GoodsBase, Others1Base, Others2Base };
constexpr int TaxedBaseCount = 3;

struct TaxedBase {
    QString name; // "Goods", or the charge's own name ("Freight")
    QString hsn; // the charge's HSN/SAC; "" for the goods (theirs are per line) or none
    Paise taxable = 0;
    double rate = 0; // whole GST rate in percent: 18 for CGST 9% + SGST 9%
    TaxHeads tax;
};

struct SavedInvoice {
    qint64 serial = 0;
    QString number;
    QString dateText; // as stored
    QDate date; // invalid when the stored text is no calendar day
    QString buyerName;
    QString buyerGstin; // as stored ("N.A." for none)
    QString buyerState; // the buyer's, not the delivery party's
    QString supplierGstin;
    TaxMode mode = TaxMode::None;
    std::vector<GoodsLine> goods;
    std::array<TaxedBase, TaxedBaseCount> bases;
    Paise rounding = 0;
    Paise total = 0;
    // Kept under its number with no value: the registers list it as cancelled
    // and add nothing of it; the return counts it among the documents only.
    bool cancelled = false;

    Paise taxable() const;
    TaxHeads tax() const;
    bool registeredBuyer() const; // a GSTIN is given (right or not)
    // What was supplied at each rate: the goods, one entry per rate (rates
    // rising, named "Goods"), then each charge as its base holds it; entries
    // with nothing on them left out.
    std::vector<TaxedBase> supplies() const;
};

// A pair of tax rows as the stored grid keeps them, as heads: the first row
// IGST or CGST by the mode, the second SGST (CGST mode only).
TaxHeads RowTaxHeads(TaxMode mode, Paise firstTax, Paise sgst);

// The place of supply: the buyer's State, else the State code of the buyer's
// GSTIN; nullptr when neither is known.
const GstState* PlaceOfSupply(const SavedInvoice& invoice);

// The register's row of an invoice read back: texts the invoice filled with
// "N.A." hold nothing; the date as the file keeps its text (dateText) and
// as that reads (ReadKeptDate).
SavedInvoice SavedInvoiceOf(const Invoice& invoice, const QString& dateText);

// The invoices dated within the period (LoadInvoicesOfPeriod), in serial
// order. Throws DataError.
std::vector<SavedInvoice> LoadInvoices(const Database& db, const Period& period);

struct CompanyGst {
    QString name;
    QString gstin;
    QString state;
};
// The company the invoices are issued in the name of (the first company
// record); nothing when none is entered. Throws DataError.
std::optional<CompanyGst> LoadCompany(const Database& db);

} // namespace zelva
