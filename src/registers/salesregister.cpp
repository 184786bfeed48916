#include "registers/salesregister.h"

#include "gst/gststates.h"
#include "gst/taxheads.h"
#include "platform/textnum.h"
#include "registers/csvfile.h"
#include "registers/uqc.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>

namespace zelva {

namespace {

QStringList figureCells(const SalesFigures& f)
{
    return { AmountText(f.taxable), AmountText(f.tax.cgst), AmountText(f.tax.sgst), AmountText(f.tax.igst),
        AmountText(f.total) };
}

QString placeOfSupplyText(const SavedInvoice& invoice)
{
    const GstState* state = PlaceOfSupply(invoice);
    return state ? PlaceOfSupplyText(*state) : invoice.buyerState.trimmed();
}

using HsnKey = std::tuple<QString, double, QString>; // HSN, rate, unit code

void addTo(std::map<HsnKey, HsnLine>& groups, const HsnLine& part)
{
    const auto [found, added] = groups.try_emplace({ part.hsn, part.rate, part.uqc }, part);
    if (added)
        return; // a new group keeps the texts of its first line
    HsnLine& line = found->second;
    line.quantity += part.quantity;
    line.taxable += part.taxable;
    line.tax += part.tax;
}

void addGoodsLines(std::map<HsnKey, HsnLine>& groups, const SavedInvoice& invoice)
{
    for (const GoodsLine& line : invoice.goods) {
        const bool service = IsServiceCode(line.hsn);
        addTo(groups,
            { line.hsn, line.description, line.unit, service ? ServiceQuantityCode() : UnitQuantityCode(line.unit),
                service ? 0 : line.quantity, line.rate, line.amount, line.tax });
    }
}

void addCharges(std::map<HsnKey, HsnLine>& groups, const SavedInvoice& invoice)
{
    for (int kind : { Others1Base, Others2Base }) {
        const TaxedBase& charge = invoice.bases[kind];
        if (charge.taxable == 0 && charge.tax.total() == 0)
            continue;
        const QString uqc = IsServiceCode(charge.hsn) ? ServiceQuantityCode() : UnitQuantityCode({});
        addTo(groups,
            { charge.hsn, charge.name, {}, uqc, 0, charge.rate, charge.taxable, charge.tax });
    }
}

void addNoteLines(std::map<HsnKey, HsnLine>& groups, const SavedNote& note)
{
    for (const SavedNoteLine& line : note.lines) {
        const bool service = IsServiceCode(line.hsn);
        addTo(groups,
            { line.hsn, line.description, line.unit, service ? ServiceQuantityCode() : UnitQuantityCode(line.unit),
                service ? 0 : note.sign() * line.quantity, line.rate, note.signedValue(line.value),
                note.signedTax(line.tax) });
    }
}

std::vector<HsnLine> linesOf(std::map<HsnKey, HsnLine>& groups)
{
    std::vector<HsnLine> lines;
    for (auto& [key, line] : groups)
        lines.push_back(line);
    return lines;
}

void addInvoiceGroups(std::map<HsnKey, HsnLine>& groups, const std::vector<SavedInvoice>& invoices)
{
    for (const SavedInvoice& invoice : invoices) {
        if (invoice.cancelled)
            continue; // no supply
        addGoodsLines(groups, invoice);
        addCharges(groups, invoice);
    }
}

} // namespace

void SalesFigures::add(const SavedNote& note)
{
    ++notes;
    taxable += note.signedValue(note.taxable);
    tax += note.signedTax(note.tax);
    total += note.signedValue(note.total);
}

void AddNotes(SalesRegister& salesRegister, const std::vector<SavedNote>& notes)
{
    for (const SavedNote& note : notes) {
        const QString remark = (note.credit ? QStringLiteral("Credit Note on %1") : QStringLiteral("Debit Note on %1"))
                                   .arg(note.invoice.number);
        RegisterLine line { note.serial, note.number, note.dateText, note.date, note.invoice.buyerName,
            NormalizedGstin(note.invoice.buyerGstin), placeOfSupplyText(note.invoice), {}, false, remark };
        line.figures.add(note);
        salesRegister.lines.push_back(line);
        salesRegister.totals.add(note);
    }
}

void SalesFigures::add(const SavedInvoice& invoice)
{
    if (invoice.cancelled) {
        ++cancelled;
        return;
    }
    ++invoices;
    taxable += invoice.taxable();
    tax += invoice.tax();
    total += invoice.total;
}

SalesRegister BuildSalesRegister(const Period& period, const std::vector<SavedInvoice>& invoices)
{
    SalesRegister salesRegister { period, {}, {} };
    for (const SavedInvoice& invoice : invoices) {
        RegisterLine line { invoice.serial, invoice.number, invoice.dateText, invoice.date, invoice.buyerName,
            NormalizedGstin(invoice.buyerGstin), placeOfSupplyText(invoice), {}, invoice.cancelled, {} };
        line.figures.add(invoice);
        salesRegister.lines.push_back(line);
        salesRegister.totals.add(invoice);
    }
    return salesRegister;
}

SalesRegister LoadSalesRegister(const Database& db, const Period& period)
{
    SalesRegister salesRegister = BuildSalesRegister(period, LoadInvoices(db, period));
    AddNotes(salesRegister, LoadNotes(db, period));
    return salesRegister;
}

QString SalesRegisterCsv(const SalesRegister& salesRegister)
{
    QString csv = CsvLine({ QStringLiteral("Invoice No"), QStringLiteral("Invoice Date"), QStringLiteral("Buyer"),
        QStringLiteral("Buyer GSTIN"), QStringLiteral("Place of Supply"), QStringLiteral("Taxable Value"),
        QStringLiteral("CGST"), QStringLiteral("SGST"), QStringLiteral("IGST"), QStringLiteral("Invoice Total"),
        QStringLiteral("Status") });
    for (const RegisterLine& line : salesRegister.lines)
        csv += CsvLine({ line.number, line.dateText, line.buyer, line.buyerGstin, line.placeOfSupply },
            figureCells(line.figures) << (line.cancelled ? QStringLiteral("Cancelled") : line.remark));
    csv += CsvLine({ QStringLiteral("Total"), {}, InvoiceCountText(salesRegister.totals), {}, {} },
        figureCells(salesRegister.totals) << QString());
    return csv;
}

QString InvoiceCountText(const SalesFigures& figures)
{
    QString text = QStringLiteral("%1 invoice%2").arg(figures.invoices).arg(figures.invoices == 1 ? "" : "s");
    if (figures.cancelled > 0)
        text += QStringLiteral(", %1 cancelled").arg(figures.cancelled);
    if (figures.notes > 0)
        text += QStringLiteral(", %1 note%2").arg(figures.notes).arg(figures.notes == 1 ? "" : "s");
    return text;
}

YearlySummary BuildYearlySummary(int startYear, const std::vector<SavedInvoice>& invoices)
{
    YearlySummary summary;
    summary.startYear = startYear;
    const std::array<Period, 12> months = FinancialYearMonths(startYear);
    for (int i = 0; i < 12; ++i)
        summary.months[i].month = months[i];
    for (const SavedInvoice& invoice : invoices) {
        for (MonthFigures& month : summary.months)
            if (month.month.contains(invoice.date))
                month.figures.add(invoice);
        if (FinancialYear(startYear).contains(invoice.date))
            summary.totals.add(invoice);
    }
    return summary;
}

YearlySummary BuildYearlySummary(
    int startYear, const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    YearlySummary summary = BuildYearlySummary(startYear, invoices);
    for (const SavedNote& note : notes) {
        for (MonthFigures& month : summary.months)
            if (month.month.contains(note.date))
                month.figures.add(note);
        if (FinancialYear(startYear).contains(note.date))
            summary.totals.add(note);
    }
    return summary;
}

YearlySummary LoadYearlySummary(const Database& db, int startYear)
{
    const Period year = FinancialYear(startYear);
    return BuildYearlySummary(startYear, LoadInvoices(db, year), LoadNotes(db, year));
}

QString YearlySummaryCsv(const YearlySummary& summary)
{
    QString csv = CsvLine({ QStringLiteral("Month"), QStringLiteral("Invoices"), QStringLiteral("Cancelled"),
        QStringLiteral("Taxable Value"), QStringLiteral("CGST"), QStringLiteral("SGST"), QStringLiteral("IGST"),
        QStringLiteral("Total") });
    const auto row = [](const QString& name, const SalesFigures& f) {
        return CsvLine({ name }, QStringList { QString::number(f.invoices), QString::number(f.cancelled) } + figureCells(f));
    };
    for (const MonthFigures& month : summary.months)
        csv += row(month.month.from.toString(QStringLiteral("MMMM yyyy")), month.figures);
    csv += row(QStringLiteral("Total %1").arg(FinancialYearText(summary.startYear)), summary.totals);
    return csv;
}

std::vector<HsnLine> BuildHsnSummary(const std::vector<SavedInvoice>& invoices)
{
    std::map<HsnKey, HsnLine> groups;
    addInvoiceGroups(groups, invoices);
    return linesOf(groups);
}

std::vector<HsnLine> BuildHsnSummary(const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    std::map<HsnKey, HsnLine> groups;
    addInvoiceGroups(groups, invoices);
    for (const SavedNote& note : notes)
        addNoteLines(groups, note);
    return linesOf(groups);
}

std::vector<HsnLine> LoadHsnSummary(const Database& db, const Period& period)
{
    return BuildHsnSummary(LoadInvoices(db, period), LoadNotes(db, period));
}

QString HsnSummaryCsv(const std::vector<HsnLine>& lines)
{
    QString csv = CsvLine({ QStringLiteral("HSN/SAC"), QStringLiteral("Description"), QStringLiteral("Unit"),
        QStringLiteral("UQC"), QStringLiteral("Total Quantity"), QStringLiteral("Rate"),
        QStringLiteral("Taxable Value"), QStringLiteral("IGST"), QStringLiteral("CGST"), QStringLiteral("SGST") });
    for (const HsnLine& line : lines) {
        csv += CsvLine({ line.hsn, line.description, line.unit, line.uqc },
            { Str(RoundAmount(line.quantity, 3)), Str(line.rate), AmountText(line.taxable), AmountText(line.tax.igst),
                AmountText(line.tax.cgst), AmountText(line.tax.sgst) });
    }
    return csv;
}

} // namespace zelva
