#include "registers/registersheets.h"

#include "platform/textnum.h"

namespace zelva {

namespace {

const std::vector<SheetColumn> figureColumns { { QStringLiteral("Taxable Value"), CellKind::Amount },
    { QStringLiteral("CGST"), CellKind::Amount }, { QStringLiteral("SGST"), CellKind::Amount },
    { QStringLiteral("IGST"), CellKind::Amount }, { QStringLiteral("Invoice Total"), CellKind::Amount } };

QVariantList figureCells(const SalesFigures& f)
{
    return { f.taxable, f.tax.cgst, f.tax.sgst, f.tax.igst, f.total };
}

std::vector<SheetColumn> operator+(std::vector<SheetColumn> first, const std::vector<SheetColumn>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

XlsxSheet SalesRegisterSheet(const SalesRegister& salesRegister)
{
    XlsxSheet sheet(QStringLiteral("Sales Register"),
        std::vector<SheetColumn> { { QStringLiteral("Invoice No"), CellKind::Text },
            { QStringLiteral("Invoice Date"), CellKind::Date }, { QStringLiteral("Buyer"), CellKind::Text },
            { QStringLiteral("Buyer GSTIN"), CellKind::Text }, { QStringLiteral("Place of Supply"), CellKind::Text } }
            + figureColumns + std::vector<SheetColumn> { { QStringLiteral("Status"), CellKind::Text } });
    for (const RegisterLine& line : salesRegister.lines) {
        // An invoice whose date could not be read shows its date as typed.
        const QVariant date = line.date.isValid() ? QVariant(line.date) : QVariant(line.dateText);
        sheet.addRow(QVariantList { line.number, date, line.buyer, line.buyerGstin, line.placeOfSupply }
            + figureCells(line.figures) + QVariantList { line.cancelled ? QStringLiteral("Cancelled") : line.remark });
    }
    sheet.addTotals(QVariantList { QStringLiteral("Total"), {},
                        QStringLiteral("%1 invoices").arg(salesRegister.totals.invoices), {}, {} }
        + figureCells(salesRegister.totals)
        + QVariantList { salesRegister.totals.cancelled > 0
                ? QStringLiteral("%1 cancelled").arg(salesRegister.totals.cancelled)
                : QString() });
    return sheet;
}

XlsxSheet YearlySummarySheet(const YearlySummary& summary)
{
    std::vector<SheetColumn> columns = std::vector<SheetColumn> {
        { QStringLiteral("Month"), CellKind::Text }, { QStringLiteral("Invoices"), CellKind::Count },
        { QStringLiteral("Cancelled"), CellKind::Count }
    } + figureColumns;
    columns.back().caption = QStringLiteral("Total");
    XlsxSheet sheet(QStringLiteral("Yearly Report %1").arg(FinancialYearText(summary.startYear)), columns);
    for (const MonthFigures& month : summary.months)
        sheet.addRow(QVariantList { month.month.from.toString(QStringLiteral("MMMM yyyy")), month.figures.invoices,
                         month.figures.cancelled }
            + figureCells(month.figures));
    sheet.addTotals(
        QVariantList { QStringLiteral("Total %1").arg(FinancialYearText(summary.startYear)), summary.totals.invoices,
            summary.totals.cancelled }
        + figureCells(summary.totals));
    return sheet;
}

XlsxSheet HsnSummarySheet(const std::vector<HsnLine>& lines)
{
    XlsxSheet sheet(QStringLiteral("HSN Summary"),
        { { QStringLiteral("HSN/SAC"), CellKind::Text }, { QStringLiteral("Description"), CellKind::Text },
            { QStringLiteral("Unit"), CellKind::Text }, { QStringLiteral("UQC"), CellKind::Text },
            { QStringLiteral("Total Quantity"), CellKind::Number }, { QStringLiteral("Rate"), CellKind::Number },
            { QStringLiteral("Taxable Value"), CellKind::Amount }, { QStringLiteral("IGST"), CellKind::Amount },
            { QStringLiteral("CGST"), CellKind::Amount }, { QStringLiteral("SGST"), CellKind::Amount } });
    for (const HsnLine& line : lines)
        sheet.addRow({ line.hsn, line.description, line.unit, line.uqc, RoundAmount(line.quantity, 3), line.rate,
            line.taxable, line.tax.igst, line.tax.cgst, line.tax.sgst });
    return sheet;
}

} // namespace zelva
