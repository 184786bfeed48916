#pragma once
// Saved invoices for the report tests, described as the registers read them
// (goods rows, the three taxed bases as shown, the rounding) and saved through
// StoreInvoice, the one save the invoice forms use. The shape gives the rows
// as the forms show them after the pre-save check ("N.A." and "0" in what was
// left blank) and the tax total unrounded, as the forms keep it; nothing is
// worked out here but the sums of the shown rows.
#include "data/database.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/invoicestore.h"

#include <QtTest>
#include <vector>

namespace testing {

struct GoodsRow {
    const char* description;
    const char* hsn;
    double quantity;
    const char* unit;
    const char* rate;
    const char* amount;
};

// One taxed base: the goods, Others1 or Others2. No rate: nothing charged.
struct Base {
    const char* name = nullptr; // the charge's name ("Freight"); unused for the goods
    const char* hsn = "N.A.";
    const char* amount = "0"; // the charge; the goods' total comes from their rows
    const char* rate = nullptr; // CGST or IGST rate as the grid shows it ("9", "18")
    const char* tax = "0"; // that tax as shown ("193.50")
};

struct InvoiceShape {
    int sno;
    const char* date;
    const char* buyer;
    const char* gstin;
    const char* state;
    const char* deliveryName;
    const char* deliveryState;
    zelva::TaxMode mode;
    std::vector<GoodsRow> goods;
    Base goodsTax;
    Base others1;
    Base others2;
    const char* rounding = "0";
    double unroundedTax = 0; // the kept tax total of the form (TCgst = TSgst, or TIgst)
};

inline QString invoiceNumber(int sno)
{
    return (sno < 10 ? QStringLiteral("A0000") : QStringLiteral("A000")) + QString::number(sno);
}

inline zelva::Paise paiseOf(const char* shown) { return zelva::ToPaise(zelva::Val(shown)); }

// A base's tax rows as the grid shows them: its label, "%", the rate and the
// tax; the SGST row in the CGST mode only; "N.A." rows without a rate.
inline zelva::ChargedTax taxRows(const InvoiceShape& s, const Base& base)
{
    const zelva::GridLine none{"N.A.", "N.A.", "N.A.", 0, 0};
    zelva::ChargedTax taxed{std::nullopt, none, none};
    if (!base.rate)
        return taxed;
    const bool cgst = s.mode == zelva::TaxMode::Cgst;
    const QString rate = QString::fromLatin1(base.rate);
    taxed.rate = zelva::WholeRate(zelva::Val(rate), s.mode);
    taxed.first = {QStringLiteral("%1 @ %2%").arg(cgst ? "CGST" : "IGST", rate), "N.A.", "%", zelva::Val(rate),
                   paiseOf(base.tax)};
    if (cgst)
        taxed.second = {QStringLiteral("SGST @ %1%").arg(rate), "N.A.", "%", zelva::Val(rate), paiseOf(base.tax)};
    return taxed;
}

inline zelva::Invoice invoiceOf(const InvoiceShape& s)
{
    zelva::Invoice x;
    x.serial = s.sno;
    x.number = invoiceNumber(s.sno);
    x.date = zelva::ReadDateText(QString::fromLatin1(s.date));
    x.time = "10:15";
    x.orderNo = "N.A.";
    x.orderDate = x.date;
    x.suppliersRef = "N.A.";
    x.dispatchedThrough = "N.A.";
    x.seller = {"Zelva Traders", {}, {}, {}, {}, "33AAACH7409R1Z8"};
    x.buyerCode = "C0001";
    x.buyer = {s.buyer, "1 Main Road", "N.A.", s.state, "600001", s.gstin};
    x.delivery = {s.deliveryName, "2 Depot Lane", "N.A.", s.deliveryState, "682001", {}};
    x.mode = s.mode;
    for (const GoodsRow& row : s.goods) {
        zelva::InvoiceLine line;
        line.description = row.description;
        line.hsn = row.hsn;
        line.unit = row.unit;
        line.quantity = row.quantity;
        line.rate = zelva::Val(row.rate);
        line.amount = paiseOf(row.amount);
        x.lines.push_back(line);
        x.totals.quantity += row.quantity;
        x.totals.goods += line.amount;
    }
    x.taxes = {taxRows(s, s.goodsTax), taxRows(s, s.others1), taxRows(s, s.others2)};
    x.charges[0] = {s.others1.name ? s.others1.name : "Others1", s.others1.hsn, "N.A.", 0, paiseOf(s.others1.amount)};
    x.charges[1] = {s.others2.name ? s.others2.name : "Others2", s.others2.hsn, "N.A.", 0, paiseOf(s.others2.amount)};
    x.rounding = {"Short & Excess", "N.A.", {}, 0, paiseOf(s.rounding)};
    // the grand total as the form makes it: the goods plus rows 8 to 16 as shown
    for (int row = zelva::invoicegrid::GoodsCgstRow; row <= zelva::invoicegrid::Rows; ++row)
        x.totals.charges += x.row(row).amount;
    x.totals.grand = x.totals.goods + x.totals.charges;
    const bool cgst = s.mode == zelva::TaxMode::Cgst;
    x.totals.igst = cgst ? 0 : zelva::ToPaise(s.unroundedTax);
    x.totals.cgst = x.totals.sgst = cgst ? zelva::ToPaise(s.unroundedTax) : 0;
    return x;
}

// Saved, its date then kept as the shape gives it ("1/1/2026"), as the forms
// of earlier versions kept a date as typed: the registers show it so.
inline void writeInvoice(zelva::Database& db, const InvoiceShape& s)
{
    const zelva::StoredInvoice stored = zelva::StoreInvoice(db, invoiceOf(s), zelva::Renumber::Refused);
    db.run(QStringLiteral("UPDATE Invoice.BuyerInvoice SET InvoiceDate = ?, OrderDate = ? WHERE sno = ?"),
           { QString::fromLatin1(s.date), QString::fromLatin1(s.date), stored.serial }, QStringLiteral("keep the date as typed"),
           zelva::DbFile::Invoice);
}

inline void addCompany(zelva::Database& db, const QString& gstin)
{
    db.run(
        QStringLiteral("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')"),
        { QStringLiteral("Zelva Traders"), QStringLiteral("Tamil Nadu"), gstin }, QStringLiteral("add the company"),
        zelva::DbFile::Master);
}

} // namespace testing
