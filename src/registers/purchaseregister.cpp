#include "registers/purchaseregister.h"

#include "gst/gststates.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"

#include <QCoreApplication>
#include <map>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

QStringList amountCells(Paise taxable, const TaxHeads& tax)
{
    return {AmountText(taxable), AmountText(tax.igst), AmountText(tax.cgst), AmountText(tax.sgst),
            AmountText(taxable + tax.total())};
}

} // namespace

QString YesNoText(bool yes) { return yes ? tr("Yes") : tr("No"); }

QString ItcText(const PurchaseRegisterLine& line)
{
    if (!line.withTax)
        return tr("No");
    switch (line.credit) {
    case CreditKind::Eligible: return tr("Eligible");
    case CreditKind::Blocked: return tr("Blocked");
    case CreditKind::Reclaimable: return tr("Reversed");
    case CreditKind::Ineligible: return tr("Ineligible");
    }
    return {};
}

PurchaseRegister BuildPurchaseRegister(const QDate& from, const QDate& to, const std::vector<PurchaseBill>& bills)
{
    PurchaseRegister result{from, to, {}, {}, 0, 0, {}};
    std::map<double, RateTotal> rates;
    for (const PurchaseBill& bill : bills) {
        ++result.bills;
        std::map<double, PurchaseRegisterLine> byRate;
        for (const PurchaseBillLine& line : bill.lines) {
            PurchaseRegisterLine& row = byRate[line.gstRate];
            row.rate = line.gstRate;
            row.taxable += line.taxable;
            row.tax += line.tax;
        }
        for (auto& [rate, row] : byRate) {
            row.billSerial = bill.serial;
            row.date = bill.date;
            row.number = bill.number;
            row.supplier = bill.supplierName;
            row.gstin = bill.registeredSupplier() ? NormalizedGstin(bill.supplierGstin) : QString();
            row.reverseCharge = bill.reverseCharge;
            row.credit = bill.credit;
            row.withTax = bill.withTax;
            RateTotal& total = rates[rate];
            total.rate = rate;
            total.taxable += row.taxable;
            total.tax += row.tax;
            result.taxable += row.taxable;
            result.tax += row.tax;
            result.lines.push_back(row);
        }
    }
    for (const auto& [rate, total] : rates)
        result.byRate.push_back(total);
    return result;
}

PurchaseRegister LoadPurchaseRegister(const Database& db, const QDate& from, const QDate& to)
{
    return BuildPurchaseRegister(from, to, LoadPurchaseBills(db, from, to));
}

QStringList PurchaseRegisterCaptions()
{
    return {tr("Date"), tr("Bill No."), tr("Supplier"), tr("GSTIN"), tr("Rate %"), tr("Taxable Value"), tr("IGST"),
            tr("CGST"), tr("SGST"), tr("Total"), tr("Reverse Charge"), tr("ITC")};
}

QString PurchaseRegisterCsv(const PurchaseRegister& purchases)
{
    QString csv = CsvLine(PurchaseRegisterCaptions());
    for (const PurchaseRegisterLine& line : purchases.lines) {
        const QStringList amounts = amountCells(line.taxable, line.tax);
        // the texts, the numbers, then the two yes/no texts: one line of two pieces
        csv += CsvLine({DateText(line.date), line.number, line.supplier, line.gstin},
                       QStringList{RateText(line.rate)} + amounts)
                   .chopped(2)
               + u',' + CsvLine({YesNoText(line.reverseCharge), ItcText(line)});
    }
    for (const RateTotal& rate : purchases.byRate)
        csv += CsvLine({tr("Total at %1%").arg(RateText(rate.rate)), {}, {}, {}},
                       QStringList{RateText(rate.rate)} + amountCells(rate.taxable, rate.tax));
    csv += CsvLine({tr("Total of %1 bills").arg(purchases.bills), {}, {}, {}, {}},
                   amountCells(purchases.taxable, purchases.tax));
    return csv;
}

XlsxSheet PurchaseRegisterSheet(const PurchaseRegister& purchases)
{
    std::vector<SheetColumn> columns;
    const QStringList captions = PurchaseRegisterCaptions();
    const CellKind kinds[] = {CellKind::Date,   CellKind::Text,   CellKind::Text,   CellKind::Text,
                              CellKind::Number, CellKind::Amount, CellKind::Amount, CellKind::Amount,
                              CellKind::Amount, CellKind::Amount, CellKind::Text,   CellKind::Text};
    for (int i = 0; i < captions.size(); ++i)
        columns.push_back({captions[i], kinds[i]});
    XlsxSheet sheet(tr("Purchase Register"), columns);
    for (const PurchaseRegisterLine& line : purchases.lines)
        sheet.addRow({line.date, line.number, line.supplier, line.gstin, line.rate, line.taxable, line.tax.igst,
                      line.tax.cgst, line.tax.sgst, line.total(), YesNoText(line.reverseCharge),
                      ItcText(line)});
    for (const RateTotal& rate : purchases.byRate)
        sheet.addRow({tr("Total at %1%").arg(RateText(rate.rate)), {}, {}, {}, rate.rate, rate.taxable,
                      rate.tax.igst, rate.tax.cgst, rate.tax.sgst, rate.taxable + rate.tax.total()});
    sheet.addTotals({tr("Total of %1 bills").arg(purchases.bills), {}, {}, {}, {}, purchases.taxable,
                     purchases.tax.igst, purchases.tax.cgst, purchases.tax.sgst, purchases.total()});
    return sheet;
}

} // namespace zelva
