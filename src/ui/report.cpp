#include "ui/report.h"

#include "platform/textnum.h"
#include "ui/qrcode.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace zelva::report {

namespace {

constexpr double TwipsPerPoint = 20.0;
constexpr double RuleThickness = 15.0; // twips: one screen pixel of the design
constexpr double SmallestPointSize = 3.0; // a shrunk value stays readable down to this

bool isEmpty(const Section& section)
{
    return section.labels.empty() && section.values.empty() && section.rules.empty() && section.qrCodes.empty();
}

// Where sections go on pages of one height: first which rows fall on which
// page (arithmetic only), then, page by page when asked, the texts and rules
// of each section at its place.
class PageBuilder {
public:
    PageBuilder(const ReportLayout& layout, const Paper& paper)
        : m_layout(layout)
        , m_pageHeight(paper.height / FitScale(layout, paper))
    {
    }

    // From top to bottom, opening pages as needed: the report header on the
    // first page, each row's detail never split, the report footer after the
    // last row (on a page of its own when it does not fit, unless it is only
    // room at the end, which never opens a page).
    std::vector<PagePlan> plan(const ReportRows& rows) const
    {
        std::vector<PagePlan> plans(1);
        plans[0].reportHeader = true;
        double y = bodyTop() + height(m_layout.reportHeader);
        for (int i = 0; i < int(rows.size()); ++i) {
            const Section& detail = detailOf(rows[size_t(i)]);
            if (!fits(y, detail)) {
                plans.emplace_back();
                y = bodyTop();
            }
            PagePlan& page = plans.back();
            if (page.firstRow < 0)
                page.firstRow = i;
            page.lastRow = i;
            y += height(detail);
        }
        const Section& footer = m_layout.reportFooter;
        if (!fits(y, footer) && !isEmpty(footer)) {
            plans.emplace_back();
            y = bodyTop();
        }
        plans.back().reportFooter = fits(y, footer);
        return plans;
    }

    ReportPage layOut(const PagePlan& plan, const ReportRows& rows) const
    {
        ReportPage page;
        page.firstRow = plan.firstRow;
        page.lastRow = plan.lastRow;
        double y = m_layout.margins.top();
        place(page, y, m_layout.pageHeader, nullptr);
        if (plan.reportHeader)
            place(page, y, m_layout.reportHeader, nullptr);
        for (int i = plan.firstRow; i >= 0 && i <= plan.lastRow; ++i)
            place(page, y, detailOf(rows[size_t(i)]), &rows[size_t(i)]);
        if (plan.reportFooter)
            place(page, y, m_layout.reportFooter, m_layout.footerRow.isEmpty() ? nullptr : &m_layout.footerRow);
        y = footerTop();
        place(page, y, m_layout.pageFooter, nullptr);
        return page;
    }

private:
    const Section& detailOf(const ReportRow& row) const
    {
        const int variant = row.value(DetailVariantColumn).toInt();
        return variant > 0 && variant <= int(m_layout.detailVariants.size()) ? m_layout.detailVariants[variant - 1]
                                                                               : m_layout.detail;
    }

    static double height(const Section& section) { return std::max(0.0, section.height); }
    double bodyTop() const { return m_layout.margins.top() + height(m_layout.pageHeader); }
    double footerTop() const { return m_pageHeight - m_layout.margins.bottom() - m_layout.pageFooter.height; }
    bool fits(double y, const Section& section) const { return y + section.height <= footerTop() + 0.5; }

    void place(ReportPage& page, double& y, const Section& section, const ReportRow* row) const
    {
        if (section.height <= 0)
            return;
        const QPointF origin(m_layout.margins.left(), y);
        for (const Label& label : section.labels)
            page.texts.push_back(
                { label.text, label.rect.translated(origin), label.font, label.align, label.wrap, {} });
        for (const ValueBox& box : section.values) {
            const QString text = row ? ValueText(box, *row) : QString();
            page.texts.push_back({ text, box.rect.translated(origin), box.font, box.align, box.wrap, box.column });
        }
        for (const Rule& rule : section.rules)
            page.rules.push_back({ rule.left + origin.x(), rule.top + origin.y(), rule.width });
        for (const QrBox& qr : section.qrCodes)
            if (row && !row->value(qr.column).toString().isEmpty())
                page.qrCodes.push_back({ row->value(qr.column).toString(), qr.rect.translated(origin) });
        y += section.height;
    }

    const ReportLayout& m_layout;
    double m_pageHeight;
};

QFont qtFont(const Font& font, double pointSize)
{
    QFont result(font.family);
    result.setPointSizeF(pointSize);
    result.setBold(font.bold);
    result.setUnderline(font.underline);
    return result;
}

int alignmentFlags(const PlacedText& text)
{
    const int horizontal = text.align == Align::Right ? Qt::AlignRight
        : text.align == Align::Center                 ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | (text.wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
}

// Fonts by their design, at the page's scale, with their metrics on the device:
// the texts of a page share a handful of fonts.
class FontCache {
public:
    FontCache(double scale, QPaintDevice* device)
        : m_scale(scale)
        , m_device(device)
    {
    }

    // The text's own font, or a smaller one until the text fits its box.
    // The font the text fits its box in, and how far to lower a shrunk single
    // line so that it stands on the same baseline as its neighbours.
    struct Fitted {
        QFont font;
        double drop = 0;
    };
    Fitted fitting(const PlacedText& text, const QRectF& box)
    {
        const Entry& entry = lookup(text.font);
        const int flags = alignmentFlags(text);
        QSizeF needed = entry.metrics.boundingRect(box, flags, text.text).size();
        QFont font = entry.font;
        double size = font.pointSizeF();
        const double smallest = SmallestPointSize * m_scale;
        while (!fits(text, needed, box) && size > smallest) {
            const double ratio = text.wrap ? 0.9 : std::clamp(box.width() / needed.width(), 0.5, 0.98);
            size = std::max(smallest, size * ratio);
            font.setPointSizeF(size);
            needed = QFontMetricsF(font, m_device).boundingRect(box, flags, text.text).size();
        }
        if (text.wrap || size == entry.font.pointSizeF())
            return { font, 0 };
        return { font, entry.metrics.ascent() - QFontMetricsF(font, m_device).ascent() };
    }

private:
    struct Entry {
        Font design;
        QFont font;
        QFontMetricsF metrics;
    };

    static bool fits(const PlacedText& text, const QSizeF& needed, const QRectF& box)
    {
        return needed.width() <= box.width() + 0.5 && (!text.wrap || needed.height() <= box.height() + 0.5);
    }

    const Entry& lookup(const Font& design)
    {
        for (const Entry& entry : m_entries)
            if (entry.design == design)
                return entry;
        const QFont font = qtFont(design, design.pointSize * m_scale);
        m_entries.push_back({ design, font, QFontMetricsF(font, m_device) });
        return m_entries.back();
    }

    double m_scale;
    QPaintDevice* m_device;
    std::vector<Entry> m_entries;
};

} // namespace

double FitScale(const ReportLayout& layout, const Paper& paper)
{
    double body = std::max({ layout.reportHeader.height, layout.detail.height, layout.reportFooter.height });
    for (const Section& variant : layout.detailVariants)
        body = std::max(body, variant.height);
    const double height
        = layout.margins.top() + layout.pageHeader.height + body + layout.pageFooter.height + layout.margins.bottom();
    const double width = layout.margins.left() + layout.width + layout.margins.right();
    return std::min({ 1.0, paper.width / width, paper.height / height });
}

std::vector<ReportPage> PaginateReport(const ReportLayout& layout, const ReportRows& rows, const Paper& paper)
{
    const PageBuilder builder(layout, paper);
    std::vector<ReportPage> pages;
    for (const PagePlan& plan : builder.plan(rows))
        pages.push_back(builder.layOut(plan, rows));
    return pages;
}

PagedReport::PagedReport(ReportLayout layout, ReportRows rows, const Paper& paper)
    : m_layout(std::move(layout))
    , m_rows(std::move(rows))
    , m_paper(paper)
    , m_plans(PageBuilder(m_layout, m_paper).plan(m_rows))
    , m_pages(m_plans.size())
    , m_laidOut(m_plans.size(), false)
{
}

double PagedReport::scale() const { return FitScale(m_layout, m_paper); }

const ReportPage& PagedReport::page(int index) const
{
    const size_t i = size_t(index);
    if (!m_laidOut.at(i)) {
        m_pages[i] = PageBuilder(m_layout, m_paper).layOut(m_plans[i], m_rows);
        m_laidOut[i] = true;
    }
    return m_pages[i];
}

const std::vector<ReportPage>& PagedReport::pages() const
{
    for (int i = 0; i < pageCount(); ++i)
        page(i);
    return m_pages;
}

int PagedReport::pageOfRow(int row) const
{
    for (int i = 0; i < pageCount(); ++i)
        if (m_plans[size_t(i)].firstRow >= 0 && row >= m_plans[size_t(i)].firstRow && row <= m_plans[size_t(i)].lastRow)
            return i;
    return 0;
}

QString ValueText(const ValueBox& box, const ReportRow& row)
{
    const QVariant value = row.value(box.column);
    if (!value.isValid() || value.isNull())
        return QString();
    const bool isNumber = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
    if (box.format == Format::Amount) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            return FormatAmount(number);
    }
    return isNumber ? Str(value.toDouble()) : value.toString();
}

int PageOfRow(const std::vector<ReportPage>& pages, int row)
{
    for (int i = 0; i < int(pages.size()); ++i)
        if (pages[i].firstRow >= 0 && row >= pages[i].firstRow && row <= pages[i].lastRow)
            return i;
    return 0;
}

void PaintReportPage(QPainter& painter, const ReportPage& page, double scale)
{
    QPaintDevice* device = painter.device();
    const double unit = device->logicalDpiX() / 1440.0 * scale; // device units per twip
    auto toDevice = [unit](const QRectF& twips) {
        return QRectF(twips.x() * unit, twips.y() * unit, twips.width() * unit, twips.height() * unit);
    };
    painter.save();
    painter.setPen(QPen(Qt::black, RuleThickness * unit));
    for (const Rule& rule : page.rules)
        painter.drawLine(
            QPointF(rule.left * unit, rule.top * unit), QPointF((rule.left + rule.width) * unit, rule.top * unit));
    FontCache fonts(scale, device);
    for (const PlacedText& text : page.texts) {
        if (text.text.isEmpty())
            continue;
        const QRectF box = toDevice(text.rect);
        const auto [font, drop] = fonts.fitting(text, box);
        painter.setFont(font);
        painter.drawText(box.translated(0, drop), alignmentFlags(text), text.text);
    }
    for (const PlacedQr& qr : page.qrCodes)
        DrawQrCode(painter, toDevice(qr.rect), qr.text);
    painter.restore();
}

int RenderReport(QPagedPaintDevice& device, const ReportLayout& layout, const ReportRows& rows)
{
    const QPageLayout pageLayout = device.pageLayout();
    const QRectF paperPoints = pageLayout.fullRectPoints();
    const Paper paper { paperPoints.width() * TwipsPerPoint, paperPoints.height() * TwipsPerPoint };
    const double scale = FitScale(layout, paper);
    const std::vector<ReportPage> pages = PaginateReport(layout, rows, paper);

    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    // The painter starts at the printable area's corner; the layout counts from the paper's.
    painter.translate(-QPointF(pageLayout.paintRectPixels(device.logicalDpiX()).topLeft()));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return -1;
        PaintReportPage(painter, pages[i], scale);
    }
    return painter.end() ? int(pages.size()) : -1;
}

} // namespace zelva::report
