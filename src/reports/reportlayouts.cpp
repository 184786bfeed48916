#include "reports/reportlayouts.h"

#include "platform/textnum.h"
#include "platform/money.h"

#include <QObject>

namespace zelva {

using namespace report;

namespace {

const Font TitleFont { QStringLiteral("Arial"), 12, true };
const Font LabelFont { QStringLiteral("Arial"), 8.25, true };
const Font FieldFont { QStringLiteral("Arial"), 8.25, false };
constexpr double PageWidth = 10200;
constexpr double LabelHeight = 285;

constexpr double TitleHeight = 360;
constexpr double TitleBand = 480; // the title and the room under it, above the column captions
constexpr double FooterLine = 300; // one line of the totals

// The frame the three reports share: width, margins, the title heading every
// page above the column captions, and the page footer's room.
ReportLayout registerLayout(const QString& caption)
{
    ReportLayout layout;
    layout.caption = caption;
    layout.width = 10230;
    layout.margins = { 700, 700, 700, 700 };
    layout.pageFooter.height = 360;
    return layout;
}

// The column captions and their rule under the title, on every page.
Section titledHeader(const QString& title, double height, std::vector<Label> captions, const Rule& underCaptions)
{
    Section header { TitleBand + height,
        { Label { title, { 0, 0, PageWidth, TitleHeight }, TitleFont, Align::Center } }, {},
        { Rule { underCaptions.left, TitleBand + underCaptions.top, underCaptions.width } } };
    for (Label& caption : captions) {
        caption.rect.translate(0, TitleBand);
        header.labels.push_back(std::move(caption));
    }
    return header;
}

Label totalLabel(const QString& text, double left, double line, double width, Align align = Align::Left)
{
    return Label { text, { left, 120 + line * FooterLine, width, 240 }, LabelFont, align };
}

// A line's value to the paisa; the totals add the lines' values.
Paise lineValue(const ReportRow& row)
{
    return ToPaise(row.value(QStringLiteral("Quantity")).toDouble() * row.value(QStringLiteral("Rate")).toDouble());
}

struct Totals {
    double quantity = 0;
    Paise value = 0;
};

Totals totalsOf(const ReportRows& rows)
{
    Totals totals;
    for (const ReportRow& row : rows) {
        totals.quantity += row.value(QStringLiteral("Quantity")).toDouble();
        totals.value += lineValue(row);
    }
    return totals;
}

// The movements' totals: how many, the quantity under the Quantity column,
// and their value at the rates they were made at.
Section movementFooter(const QString& counted, const ReportRows& rows, double quantityLeft, double quantityWidth)
{
    const Totals totals = totalsOf(rows);
    return { 120 + 2 * FooterLine + 120,
        { totalLabel(QObject::tr("Total: %1 %2").arg(rows.size()).arg(counted), 0, 0, quantityLeft - 150),
            totalLabel(Str(totals.quantity), quantityLeft, 0, quantityWidth),
            totalLabel(QObject::tr("Value (Rs.)"), 0, 1, quantityLeft - 150, Align::Right),
            totalLabel(AmountText(totals.value), quantityLeft, 1, PageWidth - quantityLeft) },
        {}, { Rule { 0, 60, PageWidth } } };
}

Label columnLabel(const char* text, double left, double top, double width, double height = LabelHeight)
{
    return Label { QString::fromLatin1(text), { left, top, width, height }, LabelFont, Align::Left,
        height > LabelHeight };
}

ValueBox field(const char* column, double left, double top, double width, double height, Format format = Format::AsHeld)
{
    return ValueBox { QString::fromLatin1(column), { left, top, width, height }, FieldFont, Align::Left, format,
        height > 240 };
}

// A quantity or a rate: one line, whatever the box's height, shrunk as
// needed; its box holds twelve digits and the paise at 6 points.
ValueBox number(const char* column, double left, double top, double width, Format format = Format::AsHeld)
{
    return ValueBox { QString::fromLatin1(column), { left, top, width, 240 }, FieldFont, Align::Left, format, false };
}

} // namespace

ReportLayout StockReportLayout(const ReportRows& rows, const QString& title)
{
    ReportLayout layout = registerLayout(title);
    layout.pageHeader = titledHeader(title, 690,
        { columnLabel("S. No.", 0, 0, 570), columnLabel("Item Code", 735, 30, 960),
            columnLabel("Item Name", 1860, 30, 2595), columnLabel("Item HSN", 4605, 0, 1095),
            columnLabel("Rate", 5940, 0, 1095), columnLabel("Per", 7185, 0, 720),
            columnLabel("Quantity", 7935, 0, 1095), columnLabel("Remarks", 9071, 0, 1155) },
        Rule { 0, 360, PageWidth });
    layout.detail = { 855, {},
        { field("Sno", 0, 150, 555, 240), field("ItemCode", 750, 150, 945, 240),
            field("ItemName", 1845, 165, 2685, 390), field("ItemHsn", 4620, 150, 1095, 240),
            number("Rate", 5895, 150, 1140), field("Per", 7185, 150, 720, 240), number("Quantity", 7935, 150, 1095),
            field("Remarks", 9075, 150, 1125, 603) } };
    // How many items, and what the stock listed is worth at the items' rates.
    const Totals totals = totalsOf(rows);
    layout.reportFooter = { 120 + 2 * FooterLine + 120,
        { totalLabel(QObject::tr("Total: %1 items").arg(rows.size()), 0, 0, 4455),
            totalLabel(QObject::tr("Stock value (Rs.)"), 0, 1, 5745, Align::Right),
            totalLabel(AmountText(totals.value), 5895, 1, PageWidth - 5895) },
        {}, { Rule { 0, 60, PageWidth } } };
    return layout;
}

// The detail band shows each purchase under the label that names its value.
ReportLayout PurchaseReportLayout(const ReportRows& rows)
{
    const QString title = QStringLiteral("Purchase Report");
    ReportLayout layout = registerLayout(title);
    layout.pageHeader = titledHeader(title, 690,
        { columnLabel("Purchase Order No.", 0, 0, 885, 465), columnLabel("Purchase Date", 945, 15, 900, 435),
            columnLabel("Purchase Invoice No.", 1875, 15, 990, 450), columnLabel("Item Name", 2895, 15, 2205, 450),
            columnLabel("HSN/SAC", 5100, 15, 765, 450), columnLabel("Quantity", 5895, 15, 1080),
            columnLabel("Rate", 7005, 15, 1120), columnLabel("Date", 8155, 0, 855),
            columnLabel("Remarks", 9071, 0, 1155) },
        Rule { 0, 567, PageWidth });
    layout.detail = { 1440, {},
        { field("PurchaseOrder", 0, 0, 885, 465), field("PurchaseDate", 945, 0, 900, 240),
            field("PurchaseInvoiceNo", 1875, 0, 990, 465), field("ItemName", 2895, 0, 2205, 900),
            field("ItemHsn", 5100, 0, 765, 240), number("Quantity", 5895, 0, 1080),
            number("Rate", 7005, 0, 1120, Format::Amount), field("PurchaseInvoiceDate", 8155, 0, 855, 240),
            field("Remarks", 9071, 0, 1155, 1200) } };
    layout.reportFooter = movementFooter(QObject::tr("purchases"), rows, 5895, 1080);
    return layout;
}

// Issued by and to are people's or parties' names: they wrap within the
// detail's height instead of shrinking out of sight.
ReportLayout IssueReportLayout(const ReportRows& rows)
{
    const QString title = QStringLiteral("Issue Report");
    ReportLayout layout = registerLayout(title);
    layout.pageHeader = titledHeader(title, 690,
        { columnLabel("Issue No.", 0, 0, 810), columnLabel("Item Name", 915, 0, 2520),
            columnLabel("Issue By", 3600, 15, 1695), columnLabel("Issue To", 5445, 0, 1695),
            columnLabel("Quantity", 7245, 0, 720), columnLabel("Date", 8115, 0, 855),
            columnLabel("Remarks", 9071, 0, 1155) },
        Rule { 0, 615, PageWidth });
    layout.detail = { 675, {},
        { field("IssueNo", 0, 0, 780, 240), field("ItemName", 915, 30, 2535, 450),
            field("IssuedBy", 3630, 0, 1710, 645), field("IssueTo", 5445, 0, 1710, 645),
            number("Quantity", 7275, 0, 820), field("IssueDate", 8100, 15, 870, 240),
            field("Remarks", 9071, 0, 1125, 570) } };
    layout.reportFooter = movementFooter(QObject::tr("issues"), rows, 7275, 820);
    return layout;
}

} // namespace zelva
