#include "invoice/rptinvoice.h"

#include "platform/datetext.h"
#include "sales/companypayment.h"
#include "ui/formboxes.h"

#include <algorithm>

namespace zelva {

using namespace report;

namespace {

constexpr int GridRows = invoicegrid::Rows;
constexpr int GoodsRows = invoicegrid::GoodsRows;
constexpr int RatedRows = invoicegrid::RatedRows;
constexpr double LabelHeight = 240;

// The head of the page: the seller and the buyer on the left, the invoice's
// number, dates and delivery on the right, and between them the signed QR of
// a registered invoice. A signed token of 900 to 1050 characters (QR versions
// 24 to 26, 113 to 121 modules and four of quiet zone each side) draws 0.35 to
// 0.38 mm a module, which a phone and a 200-dpi print read.
constexpr double LeftColumnWidth = 3700;
constexpr double SignedQrSide = 2600;
constexpr double MiddleGap = SignedQrSide + 100;
constexpr double RightColumnLeft = LeftColumnWidth + MiddleGap;
constexpr double RightColumnWidth = 10368 - RightColumnLeft;

QString numbered(const char* stem, int row)
{
    return QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(row);
}

// A caption and the box it names, on one line.
void labelled(Section& section, const QString& caption, double labelLeft, double boxLeft, double top,
              double labelWidth, double boxWidth, const QString& column, Align align = Align::Left,
              Format format = Format::AsHeld)
{
    section.labels.push_back(Label{caption, {labelLeft, top, labelWidth, LabelHeight}});
    section.values.push_back(ValueBox{column, {boxLeft, top, boxWidth, LabelHeight}, {}, align, format});
}

void box(Section& section, const QString& column, double left, double top, double width, double height = LabelHeight,
         bool wrap = false)
{
    section.values.push_back(ValueBox{column, {left, top, width, height}, {}, Align::Left, Format::AsHeld, wrap});
}

// A party block (seller, buyer, delivery): name, address, Dist., State, Pin, GSTIN.
struct Party {
    QString name, address, dist, state, pin, gstin;
};

const Party SellerColumns{"SalerCompany", "SalerAddress", "SalerDist", "SalerState", "SalerPin", "SalerGstin"};
const Party BuyerColumns{"BuyerName", "BuyerAddress", "BuyerDist", "buyerstate", "BuyerPin", "BuyerGstin"};
// The delivery party's GSTIN is not kept with the invoice: its box stays blank.
const Party DeliveryColumns{"BuyerNameD", "DeliveryAddress", "Dist", "State", "Pin", QString()};

void party(Section& d, const Party& p, double left, double top, double width, bool seller)
{
    box(d, p.name, left, top, width);
    box(d, p.address, left, top + 288, width, 435, true);
    labelled(d, "Dist.:", left, left + 576, top + 720, seller ? 435 : 420, width - 576, p.dist);
    labelled(d, "State", left, left + 720, top + 1008, 570, width - 2025, p.state);
    labelled(d, "Pin", left + width - 1152, left + width - 720, top + 1008, 420, 720, p.pin);
    labelled(d, "GSTIN/ UIN", left, left + 1008, top + 1296, 870, width - 1005, p.gstin);
}

void goodsGrid(Section& d)
{
    const double lefts[] = {0, 720, 5328, 6480, 7344, 8352, 9072};
    const double headWidths[] = {576, 4470, 1008, 720, 855, 720, 1155};
    const char* heads[] = {"S. No.", "Discription of Goods", "HSN/ SAC", "Quantity", "Rate (Rs.)", "Per",
                           "Amount (Rs.)"};
    for (int c = 0; c < 7; ++c)
        d.labels.push_back(Label{heads[c], {lefts[c], 4176, headWidths[c], 285}});
    for (int row = 1; row <= GridRows; ++row) {
        const double top = 4608 + 432 * (row - 1);
        const bool first = row == 1;
        auto cell = [&](const QString& column, double left, double width, Align align = Align::Left,
                        Format format = Format::AsHeld) {
            d.values.push_back(ValueBox{column, {left, top, width, LabelHeight}, {}, align, format});
        };
        cell(numbered("SNo", row), 0, 570);
        cell(numbered("DescriptionOfGoods", row), 720, first ? 4464 : 4455);
        cell(numbered("Hsn", row), 5328, first ? 1000 : 990);
        cell(numbered("Quantity", row), 6480, 720, Align::Right);
        cell(numbered(row <= 3 ? "Rate" : "rate", row), 7344, first ? 864 : 870, Align::Right);
        cell(numbered("Per", row), 8352, 720);
        cell(numbered("Amount", row), 9072, 1155, Align::Right, Format::Amount);
    }
}

// The separate-GST invoice's grid: each goods line with its amount, its
// discount, its taxable value, its share of the tax rows and its total.
void separateGstGrid(Section& d)
{
    struct Col {
        const char* head;
        const char* stem;
        double left;
        double width;
        Align align;
        Format format;
    };
    const Col cols[] = {{"S.No.", "SNo", 0, 400, Align::Left, Format::AsHeld},
                        {"Description of Goods", "DescriptionOfGoods", 420, 1440, Align::Left, Format::AsHeld},
                        {"HSN/ SAC", "Hsn", 1880, 560, Align::Left, Format::AsHeld},
                        {"Quantity", "Quantity", 2460, 600, Align::Right, Format::AsHeld},
                        {"UOM", "Per", 3080, 400, Align::Left, Format::AsHeld},
                        {"Rate (Rs.)", "Rate", 3500, 860, Align::Right, Format::AsHeld},
                        {"Amount", "Amount", 4380, 860, Align::Right, Format::Amount},
                        {"Less: Disc", "Disc", 5260, 860, Align::Right, Format::Amount},
                        {"Taxable Value", "TaxableValue", 6140, 860, Align::Right, Format::Amount},
                        {"Per.", "FirstTaxPer", 7020, 300, Align::Right, Format::AsHeld},
                        {"Amt.", "FirstTaxAmt", 7340, 860, Align::Right, Format::Amount},
                        {"Per.", "SgstPer", 8220, 300, Align::Right, Format::AsHeld},
                        {"Amt.", "SgstAmt", 8540, 860, Align::Right, Format::Amount},
                        {"Total", "Total", 9420, 948, Align::Right, Format::Amount}};
    const Font small{"Arial", 7};
    d.values.push_back(ValueBox{"FirstTaxHead", {7020, 4100, 1180, 200}, small, Align::Center});
    d.values.push_back(ValueBox{"SgstHead", {8220, 4100, 1180, 200}, small, Align::Center});
    for (const Col& c : cols) {
        const QByteArray stem(c.stem);
        const bool sgst = stem.startsWith("Sgst");
        const bool sub = sgst || (stem.startsWith("FirstTax"));
        const TwipsRect rect{c.left, sub ? 4320.0 : 4100.0, c.width, sub ? 240.0 : 460.0};
        if (sgst) // no SGST on an IGST invoice: its heads come with the row
            d.values.push_back(ValueBox{QString::fromLatin1(stem + "Head"), rect, small, c.align});
        else
            d.labels.push_back(Label{c.head, rect, small, c.align, true});
    }
    for (int row = 1; row <= GridRows; ++row) {
        const double top = 4608 + 432 * (row - 1);
        for (const Col& c : cols) {
            QString column = numbered(c.stem, row);
            if (QByteArray(c.stem) == "Rate")
                column = numbered(row <= 3 ? "Rate" : "rate", row);
            d.values.push_back(ValueBox{column, {c.left, top, c.width, LabelHeight}, small, c.align, c.format});
        }
    }
}

void totalsAndFoot(Section& d)
{
    labelled(d, "Total Quantity", 0, 1296, 12240, 1296, 990, "TotalQuantity");
    labelled(d, "Goods Value", 2592, 3888, 12240, 1152, 870, "TotalGoodsAmount", Align::Right, Format::Amount);
    labelled(d, "Tax", 5760, 6480, 12240, 726, 720, "TotalTax", Align::Right, Format::Amount);
    labelled(d, "Grand Total", 8064, 9072, 12240, 1005, 1155, "totalamount", Align::Right, Format::Amount);
    d.labels.push_back(Label{"Amount Chargeable (in words)", {0, 12528, 3015, LabelHeight}});
    box(d, "AmountInWords", 0, 12816, 6915, 288, true); // two lines when long
    d.labels.push_back(Label{"for", {8928, 12672, 1290, LabelHeight}});
    d.labels.push_back(Label{"Declaration", {0, 13104, 3165, LabelHeight}});
    d.labels.push_back(Label{"We declare that this invoice shows the actual price of the goods described and that all "
                             "particulars are true and correct.",
                             {0, 13392, 6915, 576},
                             {},
                             Align::Left,
                             true});
    box(d, "SalerCompany", 8064, 13392, 2016);
    d.labels.push_back(Label{"Authorised Signatory", {8064, 14400, 2016, LabelHeight}});
}

void addParty(ReportRow& row, const InvoiceParty& party, const Party& columns)
{
    const std::pair<const QString*, const QString*> fields[] = {{&columns.name, &party.name},
                                                                {&columns.address, &party.address},
                                                                {&columns.dist, &party.dist},
                                                                {&columns.state, &party.state},
                                                                {&columns.pin, &party.pin},
                                                                {&columns.gstin, &party.gstin}};
    for (auto [column, value] : fields)
        if (!column->isEmpty())
            row.insert(*column, *value);
}

bool heldNothing(const GridLine& line)
{
    const QString description = line.description.trimmed();
    return (description.isEmpty() || description == NotApplicable) && line.amount == 0;
}

// One grid row under its stored names; a row that holds nothing stays blank.
void addGridRow(ReportRow& row, int gridRow, const GridLine& line, const double* quantity)
{
    if (heldNothing(line))
        return;
    row.insert(numbered("DescriptionOfGoods", gridRow), line.description);
    row.insert(numbered("Hsn", gridRow), line.hsn);
    if (quantity)
        row.insert(numbered("Quantity", gridRow), *quantity);
    // the goods' tax rows over several rates (no "%") show no rate of their own
    const bool overSeveralRates = (gridRow == invoicegrid::GoodsCgstRow || gridRow == invoicegrid::GoodsSgstRow)
                                  && line.per.isEmpty() && line.rate == 0;
    if (gridRow <= RatedRows && !overSeveralRates) {
        row.insert(numbered(gridRow <= 3 ? "Rate" : "rate", gridRow), line.rate);
        row.insert(numbered("Per", gridRow), line.per);
    }
    row.insert(numbered("Amount", gridRow), ToRupees(line.amount));
}

// Beneath the grid the transport and the registration; the signed QR code
// where a cancelled invoice says so (a registered invoice is cancelled only
// with its IRN); the pay QR beside the declaration.
void eInvoiceAndPayment(Section& d)
{
    box(d, "Transport", 0, 11400, 10368);
    box(d, "IrnLine", 0, 11660, 10368);
    box(d, "AckLine", 0, 11920, 10368);
    d.qrCodes.push_back(QrBox{"SignedQr", {LeftColumnWidth + (MiddleGap - SignedQrSide) / 2, 20, SignedQrSide, SignedQrSide}});
    d.qrCodes.push_back(QrBox{"UpiQr", {6960, 12540, 1050, 1050}});
    d.values.push_back(ValueBox{"ScanToPay", {6960, 13600, 1050, LabelHeight}, {}, Align::Center});
}

void addTransportAndRegistration(ReportRow& row, const Invoice& invoice, const QString& upiId)
{
    if (invoice.transport)
        row.insert(QStringLiteral("Transport"), QStringLiteral("Transport: ") + TransportSummary(*invoice.transport));
    if (const auto& r = invoice.registration) {
        row.insert(QStringLiteral("IrnLine"), QStringLiteral("IRN: ") + r->irn);
        QString ack = QStringLiteral("Ack No.: %1   Ack Date: %2").arg(r->ackNo, r->ackDate);
        if (!r->ewbNo.isEmpty())
            ack += QStringLiteral("   E-Way Bill No.: %1 of %2, valid till %3").arg(r->ewbNo, r->ewbDate, r->ewbValidTill);
        row.insert(QStringLiteral("AckLine"), ack);
        if (!invoice.cancelled())
            row.insert(QStringLiteral("SignedQr"), r->signedQrCode);
    }
    if (!upiId.isEmpty() && !invoice.cancelled() && invoice.totals.grand > 0) {
        row.insert(QStringLiteral("UpiQr"), UpiPayText(upiId, invoice.seller.name, invoice.totals.grand, invoice.number));
        row.insert(QStringLiteral("ScanToPay"), QStringLiteral("Scan to pay"));
    }
}

// An invoice's page, with the grid of its layout.
Section invoiceDetail(void (*grid)(Section&))
{
    Section d;
    d.height = 14667;
    party(d, SellerColumns, 0, 0, LeftColumnWidth, true);
    d.labels.push_back(Label{"Buyer", {0, 1728, LeftColumnWidth, LabelHeight}});
    party(d, BuyerColumns, 0, 2016, LeftColumnWidth, false);
    const double right = RightColumnLeft;
    labelled(d, "Invoice No.:", right, right + 1000, 144, 1000, 808, "InvoiceNo");
    labelled(d, "Date", 8208, 8928, 144, 585, 864, "InvoiceDate");
    box(d, "Time", 9792, 144, 585);
    labelled(d, "Order No.:", right, 7700, 576, 1290, 2668, "OrderNo");
    labelled(d, "Order Date:", right, 7700, 864, 1290, 2295, "OrderDate");
    labelled(d, "Supplier's Ref.:", right, 7700, 1152, 1290, 2668, "SuppliersRef");
    labelled(d, "Dispatched Through:", right, 8000, 1440, 1590, 2368, "DispatchedThrough");
    d.labels.push_back(Label{"Delivery Address", {right, 1728, RightColumnWidth, LabelHeight}});
    party(d, DeliveryColumns, right, 2016, RightColumnWidth, false);
    // A cancelled invoice says so between the seller and the invoice number,
    // where a registered one has its signed QR (a cancelled one has none).
    const double middle = LeftColumnWidth + 100;
    const double middleWidth = RightColumnLeft - 100 - middle;
    d.values.push_back(ValueBox{"CancelledMark", {middle, 0, middleWidth, 420}, Font{"Arial", 14, true}, Align::Center});
    d.values.push_back(ValueBox{"CancelledNote", {middle, 450, middleWidth, 1250}, {}, Align::Center, Format::AsHeld, true});
    d.rules.push_back(Rule{0, 3744, 10368});
    grid(d);
    eInvoiceAndPayment(d);
    totalsAndFoot(d);
    return d;
}

// Lines with a discount were entered on the separate-GST layout: the
// reprint shows them on it, each line's amount, discount, taxable value and
// taxes. So do goods at several rates, whatever form they were entered on:
// each line's rate and tax must be on the page.
bool separateGst(const Invoice& invoice)
{
    const bool mixedRates = invoice.mode != TaxMode::None && !invoice.taxes[TaxOnGoods].rated()
        && std::ranges::any_of(invoice.lines, [&](const InvoiceLine& line) { return LineHeadRate(invoice, line) >= 0; });
    return mixedRates || std::ranges::any_of(invoice.lines, [](const InvoiceLine& line) { return line.discount != 0; });
}

void addSeparateGstColumns(ReportRow& row, const Invoice& invoice)
{
    row.insert(DetailVariantColumn, 1);
    const bool igst = invoice.mode == TaxMode::Igst;
    row.insert(QStringLiteral("FirstTaxHead"), igst ? QStringLiteral("IGST") : QStringLiteral("CGST"));
    row.insert(QStringLiteral("SgstHead"), igst ? QString() : QStringLiteral("SGST"));
    row.insert(QStringLiteral("SgstPerHead"), igst ? QString() : QStringLiteral("Per."));
    row.insert(QStringLiteral("SgstAmtHead"), igst ? QString() : QStringLiteral("Amt."));
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        const int gridRow = int(i) + 1;
        row.insert(numbered("Amount", gridRow), ToRupees(line.amount));
        row.insert(numbered("Disc", gridRow), ToRupees(line.discount));
        row.insert(numbered("TaxableValue", gridRow), ToRupees(line.taxable()));
        if (const double rate = LineHeadRate(invoice, line); rate >= 0) {
            row.insert(numbered("FirstTaxPer", gridRow), rate);
            row.insert(numbered("FirstTaxAmt", gridRow), ToRupees(line.firstTax));
            if (!igst) {
                row.insert(numbered("SgstPer", gridRow), rate);
                row.insert(numbered("SgstAmt", gridRow), ToRupees(line.sgst));
            }
        }
        row.insert(numbered("Total", gridRow), ToRupees(line.total()));
    }
}

} // namespace

ReportLayout rptInvoice()
{
    ReportLayout layout;
    layout.caption = QStringLiteral("Tax Invoice");
    layout.width = 10395;
    layout.margins = {700, 700, 700, 700};
    layout.pageHeader = {330, {Label{"Tax Invoice", {0, 0, 10365, 285}, Font{"Arial", 9.75, true, true}, Align::Center}}};
    layout.pageFooter = {528, {Label{"This is a Computer Generated Invoice", {0, 0, 10368, 240}, {}, Align::Center}}};
    layout.reportFooter = {168};

    layout.detail = invoiceDetail(goodsGrid);
    layout.detailVariants = {invoiceDetail(separateGstGrid)};
    return layout;
}

ReportRow InvoiceReportRow(const Invoice& invoice, const QString& upiId)
{
    ReportRow row;
    const std::pair<const char*, QVariant> header[] = {
        {"Sno", invoice.serial},        {"InvoiceNo", invoice.number},         {"InvoiceDate", DateText(invoice.date)},
        {"Time", invoice.time},         {"OrderNo", invoice.orderNo},          {"OrderDate", DateText(invoice.orderDate)},
        {"SuppliersRef", invoice.suppliersRef}, {"DispatchedThrough", invoice.dispatchedThrough},
        {"bid", invoice.buyerCode}};
    for (const auto& [column, value] : header)
        row.insert(QLatin1String(column), value);
    addParty(row, invoice.seller, SellerColumns);
    addParty(row, invoice.buyer, BuyerColumns);
    addParty(row, invoice.delivery, DeliveryColumns);

    int serial = 0;
    for (int gridRow = 1; gridRow <= GoodsRows; ++gridRow) {
        const std::size_t i = gridRow - 1;
        if (i >= invoice.lines.size())
            continue;
        const InvoiceLine& line = invoice.lines[i];
        // a goods line shows the value it is taxed on, as it is kept
        addGridRow(row, gridRow, {line.description, line.hsn, line.unit, line.rate, line.taxable()}, &line.quantity);
        row.insert(numbered("SNo", gridRow), ++serial);
    }
    for (int gridRow = GoodsRows + 1; gridRow <= GridRows; ++gridRow)
        addGridRow(row, gridRow, invoice.row(gridRow), nullptr);
    const InvoiceTotals& totals = invoice.totals;
    row.insert(QStringLiteral("TotalQuantity"), totals.quantity);
    row.insert(QStringLiteral("TotalGoodsAmount"), ToRupees(totals.goods));
    // the tax rows as printed, added up: the page adds up to its grand total
    row.insert(QStringLiteral("TotalTax"), ToRupees(invoice.taxShown()));
    row.insert(QStringLiteral("totalamount"), ToRupees(totals.grand));
    row.insert(QStringLiteral("AmountInWords"), totals.words);
    if (separateGst(invoice))
        addSeparateGstColumns(row, invoice);
    addTransportAndRegistration(row, invoice, upiId);
    if (const auto& mark = invoice.cancellation) {
        row.insert(QStringLiteral("CancelledMark"), QStringLiteral("CANCELLED"));
        row.insert(QStringLiteral("CancelledNote"),
                   QStringLiteral("on %1 by %2: %3").arg(DateText(mark->date), mark->by, mark->reason));
    }
    return row;
}

ReportRows InvoiceReportRows(const std::vector<Invoice>& invoices, const QString& upiId)
{
    ReportRows rows;
    for (const Invoice& invoice : invoices)
        rows.push_back(InvoiceReportRow(invoice, upiId));
    return rows;
}

} // namespace zelva
