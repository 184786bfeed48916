#pragma once
// Saves invoices for the report tests the way the invoice form stores them:
// one BuyerInvoice and one GoodsInvoice record, the grid's sixteen rows side by
// side as the form's boxes hold them after the pre-save check (amounts as
// shown, "N.A." and "0" in what was left blank), the tax totals unrounded.
#include "data/recordsource.h"
#include "gst/gsttax.h"
#include "platform/textnum.h"

#include <QtTest>
#include <array>
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

// The grand total as the form makes it: the goods plus rows 8 to 16 as shown.
inline double grandTotal(const InvoiceShape& s)
{
    double total = zelva::Val(s.rounding);
    for (const GoodsRow& row : s.goods)
        total += zelva::Val(row.amount);
    for (const Base* base : { &s.goodsTax, &s.others1, &s.others2 })
        total += zelva::Val(base->amount) + zelva::Val(base->tax) * (s.mode == zelva::TaxMode::Cgst ? 2 : 1);
    return total;
}

inline void writeTaxRows(zelva::RecordSource& g, const InvoiceShape& s, const Base& base, int firstTaxRow)
{
    const bool cgst = s.mode == zelva::TaxMode::Cgst;
    const QString rate = base.rate ? QString::fromLatin1(base.rate) : QStringLiteral("0");
    const auto set = [&](int row, const QString& label, const QString& per, const QString& amount) {
        g.setValue(QStringLiteral("DescriptionOfGoods%1").arg(row), label);
        g.setValue(QStringLiteral("Hsn%1").arg(row), QStringLiteral("N.A."));
        g.setValue(QStringLiteral("Per%1").arg(row), per);
        g.setValue(QStringLiteral("rate%1").arg(row), base.rate && (cgst || row == firstTaxRow) ? rate : "0");
        g.setValue(QStringLiteral("Amount%1").arg(row), amount);
    };
    if (!base.rate) {
        set(firstTaxRow, "N.A.", "N.A.", "0");
        set(firstTaxRow + 1, "N.A.", "N.A.", "0");
        return;
    }
    set(firstTaxRow, QStringLiteral("%1 @ %2%").arg(cgst ? "CGST" : "IGST", rate), "%", base.tax);
    if (cgst)
        set(firstTaxRow + 1, QStringLiteral("SGST @ %1%").arg(rate), "%", base.tax);
    else
        set(firstTaxRow + 1, "N.A.", "N.A.", "0");
}

inline void writeInvoice(zelva::Database& db, const InvoiceShape& s)
{
    zelva::Transaction transaction(db, QStringLiteral("save the invoice"));
    zelva::RecordSource b(db);
    b.bind(zelva::DbFile::Invoice, QStringLiteral("BuyerInvoice"));
    b.addNew();
    const QString number = invoiceNumber(s.sno);
    const std::vector<std::pair<const char*, QVariant>> header { { "sno", s.sno }, { "InvoiceNo", number },
        { "InvoiceDate", s.date }, { "OrderNo", "N.A." }, { "OrderDate", s.date }, { "SuppliersRef", "N.A." },
        { "DispatchedThrough", "N.A." }, { "SalerCompany", "Zelva Traders" }, { "SalerGstin", "33AAACH7409R1Z8" },
        { "bid", "C0001" }, { "BuyerName", s.buyer }, { "BuyerAddress", "1 Main Road" }, { "BuyerDist", "N.A." },
        { "buyerstate", s.state }, { "BuyerPin", "600001" }, { "BuyerGstin", s.gstin },
        { "BuyerNameD", s.deliveryName }, { "DeliveryAddress", "2 Depot Lane" }, { "Dist", "N.A." },
        { "State", s.deliveryState }, { "Pin", "682001" }, { "Time", "10:15" } };
    for (const auto& [field, value] : header)
        b.setValue(QLatin1String(field), value);
    b.update();

    zelva::RecordSource g(db);
    g.bind(zelva::DbFile::Invoice, QStringLiteral("GoodsInvoice"));
    g.addNew();
    g.setValue("sno", s.sno);
    g.setValue("InvoiceNo", number);
    double goodsTotal = 0;
    double quantityTotal = 0;
    for (int row = 1; row <= 7; ++row) {
        const bool used = row <= int(s.goods.size());
        const GoodsRow line = used ? s.goods[row - 1] : GoodsRow { "N.A.", "N.A.", 0, "N.A.", "0", "0" };
        g.setValue(QStringLiteral("DescriptionOfGoods%1").arg(row), line.description);
        g.setValue(QStringLiteral("Hsn%1").arg(row), line.hsn);
        g.setValue(QStringLiteral("Quantity%1").arg(row), line.quantity);
        g.setValue(QStringLiteral("Per%1").arg(row), line.unit);
        g.setValue(QString::fromLatin1(row <= 3 ? "Rate%1" : "rate%1").arg(row), line.rate);
        g.setValue(QStringLiteral("Amount%1").arg(row), line.amount);
        goodsTotal += zelva::Val(line.amount);
        quantityTotal += line.quantity;
    }
    writeTaxRows(g, s, s.goodsTax, 8);
    for (auto [base, row] : { std::pair { &s.others1, 10 }, std::pair { &s.others2, 13 } }) {
        g.setValue(QStringLiteral("DescriptionOfGoods%1").arg(row),
            base->name ? base->name : (row == 10 ? "Others1" : "Others2"));
        g.setValue(QStringLiteral("Hsn%1").arg(row), base->hsn);
        g.setValue(QStringLiteral("Per%1").arg(row), "N.A.");
        g.setValue(QStringLiteral("rate%1").arg(row), "0");
        g.setValue(QStringLiteral("Amount%1").arg(row), base->amount);
        writeTaxRows(g, s, *base, row + 1);
    }
    g.setValue("DescriptionOfGoods16", "Short & Excess");
    g.setValue("Hsn16", "N.A.");
    g.setValue("Amount16", s.rounding);
    g.setValue("TotalQuantity", quantityTotal);
    g.setValue("TotalGoodsAmount", goodsTotal);
    g.setValue("totalamount", grandTotal(s));
    const bool cgst = s.mode == zelva::TaxMode::Cgst;
    g.setValue("TIgst", cgst ? 0 : s.unroundedTax);
    g.setValue("TCgst", cgst ? s.unroundedTax : 0);
    g.setValue("TSgst", cgst ? s.unroundedTax : 0);
    g.update();
    transaction.commit();
}

inline void addCompany(zelva::Database& db, const QString& gstin)
{
    db.run(
        QStringLiteral("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')"),
        { QStringLiteral("Zelva Traders"), QStringLiteral("Tamil Nadu"), gstin }, QStringLiteral("add the company"),
        zelva::DbFile::Master);
}

} // namespace testing
