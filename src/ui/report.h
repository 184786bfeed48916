#pragma once
// The report engine. A report layout is plain data, positions in twips
// (1440 per inch), the way the layouts are designed:
//
//   ReportLayout layout;
//   layout.caption = "Stock Report";
//   layout.width = 10395;
//   layout.margins = {700, 700, 700, 700};
//   layout.pageHeader = {330, {Label{"Stock Report", {0, 0, 10365, 285}, TitleFont, Align::Center}}};
//   layout.detail.height = 300;
//   layout.detail.values = {ValueBox{"ItemName", {0, 0, 4000, 240}},
//                           ValueBox{"Quantity", {4100, 0, 1000, 240}, {}, Align::Right, Format::Amount}};
//
// and the rows are the query's records, one name -> value map each:
//
//   ReportRows rows = {{{"ItemName", "Bolt"}, {"Quantity", 12.5}}, ...};
//   RenderReport(printer, layout, rows);        // QPrinter, QPdfWriter, the preview's printer
//
// The engine takes rows, never a database, so any layer may hand it rows.
//
// Paging: the page header and page footer are on every page (the footer at the
// foot of the page), the report header opens the first page, each row is one
// detail section and a detail is never split across pages, the report footer
// follows the last row (on a page of its own when it does not fit, unless it
// holds nothing). A layout taller or wider than the paper is scaled down
// whole, never cut.
//
// Values are shown as the row holds them; a box formatted as Amount shows a
// number in "##.00". A value too long for its box is drawn in a smaller font
// rather than losing characters; a box marked Wrap breaks its text over lines.
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace zelva::report {

enum class Align { Left, Center, Right };
enum class Format { AsHeld, Amount };

struct Font {
    QString family = QStringLiteral("Arial");
    double pointSize = 8.25;
    bool bold = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

// Left, top, width, height in twips, relative to the section's top left.
using TwipsRect = QRectF;

struct Label {
    QString text;
    TwipsRect rect;
    Font font = {};
    Align align = Align::Left;
    bool wrap = false;
};

struct ValueBox {
    QString column; // the row's value of this name is shown
    TwipsRect rect;
    Font font = {};
    Align align = Align::Left;
    Format format = Format::AsHeld;
    bool wrap = false; // several lines (addresses, amounts in words)
};

// A horizontal line from left, at top, width long (twips).
struct Rule {
    double left = 0;
    double top = 0;
    double width = 0;
};

// A QR code of the row's value of the column, drawn as the largest square
// that fits the rect (ui/qrcode.h); nothing when the value is empty.
struct QrBox {
    QString column;
    TwipsRect rect;
};

struct Section {
    double height = 0; // twips; 0 leaves the section out
    std::vector<Label> labels = {};
    std::vector<ValueBox> values = {};
    std::vector<Rule> rules = {};
    std::vector<QrBox> qrCodes = {};
};

struct ReportLayout {
    QString caption; // the report window's title and the PDF's default name
    double width = 0; // twips, from the left margin
    QMarginsF margins; // left, top, right, bottom in twips
    bool landscape = false; // printed on the paper turned sideways (a wide table)
    Section reportHeader; // first page only, under the page header
    Section pageHeader; // top of every page
    Section detail; // once per row
    // Other details a row may ask for by its "DetailVariant" value (1 for
    // the first of these; none or 0 for detail), for rows of one report laid
    // out in more than one way.
    std::vector<Section> detailVariants;
    Section pageFooter; // foot of every page
    Section reportFooter; // after the last row
    QVariantMap footerRow = {}; // (a ReportRow) the values the report footer's value boxes and QR codes show
};

using ReportRow = QVariantMap;
inline const QString DetailVariantColumn = QStringLiteral("DetailVariant");
using ReportRows = std::vector<ReportRow>;

// One text as it lands on a page: position in twips from the paper's top left.
struct PlacedText {
    QString text;
    TwipsRect rect;
    Font font;
    Align align = Align::Left;
    bool wrap = false;
    QString column; // the bound column; empty for a label
};

// A QR code as it lands on a page: its text, and its room from the paper's top left.
struct PlacedQr {
    QString text;
    TwipsRect rect;
};

struct ReportPage {
    std::vector<PlacedText> texts;
    std::vector<PlacedQr> qrCodes;
    std::vector<Rule> rules; // positions from the paper's top left
    int firstRow = -1; // rows whose detail is on this page; -1 when none
    int lastRow = -1;
};

// Paper size in twips and the scale the layout is drawn at to fit on it.
struct Paper {
    double width = 11906; // A4
    double height = 16838;
};
double FitScale(const ReportLayout& layout, const Paper& paper);

// The pages the rows make on paper of the given size: what goes where.
std::vector<ReportPage> PaginateReport(const ReportLayout& layout, const ReportRows& rows, const Paper& paper);

// Which rows a page holds, and whether the report header or footer is on it.
struct PagePlan {
    int firstRow = -1;
    int lastRow = -1;
    bool reportHeader = false;
    bool reportFooter = false;
};

// A report's pages as the report window shows them: which rows fall on which
// page is worked out at once (a little arithmetic per row), and each page's
// texts only when the page is first asked for, so a report of a thousand
// pages opens about as fast as its query reads the rows. The pages are those
// PaginateReport gives.
class PagedReport {
public:
    PagedReport() = default;
    PagedReport(ReportLayout layout, ReportRows rows, const Paper& paper);

    const ReportLayout& layout() const { return m_layout; }
    const ReportRows& rows() const { return m_rows; }
    const Paper& paper() const { return m_paper; }
    double scale() const; // FitScale of the layout on the paper
    int pageCount() const { return int(m_plans.size()); }
    // Page index (from 0), laid out when first asked for.
    const ReportPage& page(int index) const;
    // Every page, each laid out.
    const std::vector<ReportPage>& pages() const;
    // The page (from 0) that shows the detail of row (from 0); 0 when none does.
    int pageOfRow(int row) const;

private:
    ReportLayout m_layout;
    ReportRows m_rows;
    Paper m_paper;
    std::vector<PagePlan> m_plans;
    mutable std::vector<ReportPage> m_pages;
    mutable std::vector<bool> m_laidOut;
};

// The text a value box shows for a row.
QString ValueText(const ValueBox& box, const ReportRow& row);

// The page (from 0) that shows the detail of row (from 0); 0 when none does.
int PageOfRow(const std::vector<ReportPage>& pages, int row);

// Draws one page on the painter (device coordinates of the paper's top left
// at the painter's origin, scaled by scale).
void PaintReportPage(QPainter& painter, const ReportPage& page, double scale);

// The one render function: paginates for the device's paper and draws every
// page, starting a new page between them. Returns the number of pages, or -1
// when the device refuses to start or to turn a page (a printer error, a
// file that cannot be written).
int RenderReport(QPagedPaintDevice& device, const ReportLayout& layout, const ReportRows& rows);

} // namespace zelva::report
