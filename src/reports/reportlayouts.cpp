#include "reports/reportlayouts.h"

namespace zelva {

using namespace report;

namespace {

const Font TitleFont { QStringLiteral("Arial"), 12, true };
const Font LabelFont { QStringLiteral("Arial"), 8.25, true };
const Font FieldFont { QStringLiteral("Arial"), 8.25, false };
constexpr double PageWidth = 10200;
constexpr double LabelHeight = 285;

// The frame the three reports share: width, margins, the title across the
// report header, empty page and report footers.
ReportLayout registerLayout(const QString& caption, double headerHeight, const TwipsRect& titleRect)
{
    ReportLayout layout;
    layout.caption = caption;
    layout.width = 10230;
    layout.margins = { 700, 700, 700, 700 };
    layout.reportHeader = { headerHeight, { Label { caption, titleRect, TitleFont, Align::Center } } };
    layout.pageFooter.height = 360;
    layout.reportFooter.height = 360;
    return layout;
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

ReportLayout StockReportLayout(const QString& title)
{
    ReportLayout layout = registerLayout(title, 600, { 0, 0, PageWidth, 360 });
    layout.pageHeader = { 690,
        { columnLabel("S. No.", 0, 0, 570), columnLabel("Item Code", 735, 30, 960),
            columnLabel("Item Name", 1860, 30, 2595), columnLabel("Item HSN", 4605, 0, 1095),
            columnLabel("Rate", 5940, 0, 1095), columnLabel("Per", 7185, 0, 720), columnLabel("Quantity", 7935, 0, 1095),
            columnLabel("Remarks", 9071, 0, 1155) },
        {}, { Rule { 0, 360, PageWidth } } };
    layout.detail = { 855, {},
        { field("Sno", 0, 150, 555, 240), field("ItemCode", 750, 150, 945, 240),
            field("ItemName", 1845, 165, 2685, 390), field("ItemHsn", 4620, 150, 1095, 240),
            number("Rate", 5895, 150, 1140), field("Per", 7185, 150, 720, 240), number("Quantity", 7935, 150, 1095),
            field("Remarks", 9075, 150, 1125, 603) } };
    return layout;
}

// The detail band shows each purchase under the label that names its value.
ReportLayout PurchaseReportLayout()
{
    ReportLayout layout = registerLayout(QStringLiteral("Purchase Report"), 825, { 0, 0, PageWidth, 360 });
    layout.pageHeader = { 1185,
        { columnLabel("Purchase Order No.", 0, 0, 885, 465), columnLabel("Purchase Date", 945, 15, 900, 435),
            columnLabel("Purchase Invoice No.", 1875, 15, 990, 450), columnLabel("Item Name", 2895, 15, 2205, 450),
            columnLabel("HSN/SAC", 5100, 15, 765, 450), columnLabel("Quantity", 5895, 15, 1080),
            columnLabel("Rate", 7005, 15, 1120), columnLabel("Date", 8155, 0, 855),
            columnLabel("Remarks", 9071, 0, 1155) },
        {}, { Rule { 0, 567, PageWidth } } };
    layout.detail = { 1440, {},
        { field("PurchaseOrder", 0, 0, 885, 465), field("PurchaseDate", 945, 0, 900, 240),
            field("PurchaseInvoiceNo", 1875, 0, 990, 465), field("ItemName", 2895, 0, 2205, 900),
            field("ItemHsn", 5100, 0, 765, 240), number("Quantity", 5895, 0, 1080),
            number("Rate", 7005, 0, 1120, Format::Amount), field("PurchaseInvoiceDate", 8155, 0, 855, 240),
            field("Remarks", 9071, 0, 1155, 1200) } };
    return layout;
}

// Issued by and to are people's or parties' names: they wrap within the
// detail's height instead of shrinking out of sight.
ReportLayout IssueReportLayout()
{
    ReportLayout layout = registerLayout(QStringLiteral("Issue Report"), 1515, { 0, 567, PageWidth, 360 });
    layout.pageHeader = { 945,
        { columnLabel("Issue No.", 0, 0, 810), columnLabel("Item Name", 915, 0, 2520),
            columnLabel("Issue By", 3600, 15, 1695), columnLabel("Issue To", 5445, 0, 1695),
            columnLabel("Quantity", 7245, 0, 720), columnLabel("Date", 8115, 0, 855),
            columnLabel("Remarks", 9071, 0, 1155) },
        {}, { Rule { 0, 615, PageWidth } } };
    layout.detail = { 675, {},
        { field("IssueNo", 0, 0, 780, 240), field("ItemName", 915, 30, 2535, 450),
            field("IssuedBy", 3630, 0, 1710, 645), field("IssueTo", 5445, 0, 1710, 645),
            number("Quantity", 7275, 0, 820), field("IssueDate", 8100, 15, 870, 240),
            field("Remarks", 9071, 0, 1125, 570) } };
    return layout;
}

} // namespace zelva
