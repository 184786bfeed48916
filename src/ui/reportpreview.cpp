#include "ui/reportpreview.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace zelva {

namespace {

constexpr int Gap = 10; // pixels around and between the pages
constexpr double ZoomStep = 1.25;
constexpr double SmallestZoom = 0.1;
constexpr double LargestZoom = 5.0;
constexpr double TwipsPerInch = 1440; // also the resolution of a page drawn one device unit per twip

} // namespace

ReportPreview::ReportPreview(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // Always there, so fitting the width never makes it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
}

void ReportPreview::setReport(report::PagedReport report)
{
    m_report = std::move(report);
    m_paper = m_report.paper();
    m_layoutScale = m_report.scale();
    m_drawn.clear();
    setZoom(m_mode, m_zoom);
    setCurrentPage(1);
}

double ReportPreview::pixelsPerTwip() const { return logicalDpiX() / TwipsPerInch * m_zoom; }

QSize ReportPreview::pageSize() const
{
    const double scale = pixelsPerTwip();
    return { std::max(1, qRound(m_paper.width * scale)), std::max(1, qRound(m_paper.height * scale)) };
}

int ReportPreview::pageTop(int index) const { return Gap + index * (pageSize().height() + Gap); }

int ReportPreview::contentWidth() const { return pageSize().width() + 2 * Gap; }

int ReportPreview::contentHeight() const { return pageTop(pageCount()); }

void ReportPreview::fitToWidth() { setZoom(Zoom::FitWidth, m_zoom); }

void ReportPreview::fitInView() { setZoom(Zoom::FitPage, m_zoom); }

void ReportPreview::zoomIn() { setZoom(Zoom::Steps, m_zoom * ZoomStep); }

void ReportPreview::zoomOut() { setZoom(Zoom::Steps, m_zoom / ZoomStep); }

void ReportPreview::setZoom(Zoom mode, double factor)
{
    m_mode = mode;
    m_zoom = std::clamp(factor, SmallestZoom, LargestZoom);
    fitZoomToView();
    updateScrollBars();
    scrollToCurrentPage();
}

// In a fitting mode, the zoom that fits the page's width or the whole page
// into the view as it is now.
void ReportPreview::fitZoomToView()
{
    if (m_mode == Zoom::Steps)
        return;
    const double realSize = logicalDpiX() / TwipsPerInch; // pixels per twip at zoom 1
    const double byWidth = std::max(1, viewport()->width() - 2 * Gap) / (m_paper.width * realSize);
    const double byHeight = std::max(1, viewport()->height() - 2 * Gap) / (m_paper.height * realSize);
    const double fitted = m_mode == Zoom::FitWidth ? byWidth : std::min(byWidth, byHeight);
    m_zoom = std::clamp(fitted, SmallestZoom, LargestZoom);
}

void ReportPreview::updateScrollBars()
{
    const bool keep = std::exchange(m_scrollingToPage, true); // a shrinking range is not the operator scrolling
    const QSize view = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, contentHeight() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    m_scrollingToPage = keep;
}

void ReportPreview::setCurrentPage(int page)
{
    const int before = m_currentPage;
    m_currentPage = pageCount() == 0 ? 0 : std::clamp(page, 1, pageCount());
    scrollToCurrentPage();
    if (m_currentPage != before)
        emit currentPageChanged(m_currentPage);
}

void ReportPreview::scrollToCurrentPage()
{
    const bool keep = std::exchange(m_scrollingToPage, true);
    if (m_currentPage > 0)
        verticalScrollBar()->setValue(pageTop(m_currentPage - 1) - Gap);
    m_scrollingToPage = keep;
    viewport()->update();
}

int ReportPreview::pageAtViewMiddle() const
{
    if (pageCount() == 0)
        return 0;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2;
    const int index = (middle - Gap) / (pageSize().height() + Gap);
    return std::clamp(index, 0, pageCount() - 1) + 1;
}

void ReportPreview::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy); // what stays in view moves; the strip uncovered is painted
    if (m_scrollingToPage)
        return;
    const int page = pageAtViewMiddle();
    if (page != m_currentPage) {
        m_currentPage = page;
        emit currentPageChanged(page);
    }
}

void ReportPreview::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    setZoom(m_mode, m_zoom);
}

void ReportPreview::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    event->accept();
}

QRect ReportPreview::pagePlace(int index) const
{
    const QSize size = pageSize();
    const int width = viewport()->width();
    const int left = contentWidth() <= width ? (width - size.width()) / 2 : Gap - horizontalScrollBar()->value();
    return { QPoint(left, pageTop(index) - verticalScrollBar()->value()), size };
}

// The part of the view to paint is drawn on an image at the paper's
// resolution, as the printer lays it out, and put on the screen.
void ReportPreview::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    const QColor background = palette().color(QPalette::Dark);
    const double ratio = devicePixelRatioF();
    QImage canvas(area.size() * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.setDotsPerMeterX(qRound(TwipsPerInch / 0.0254));
    canvas.setDotsPerMeterY(qRound(TwipsPerInch / 0.0254));
    canvas.fill(background);
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(-area.topLeft());
    const int step = pageSize().height() + Gap;
    const int scrolledTop = verticalScrollBar()->value();
    for (int i = std::max(0, (scrolledTop + area.top() - Gap) / step);
         i < pageCount() && pagePlace(i).top() <= area.bottom(); ++i)
        if (pagePlace(i).intersects(area))
            drawPage(painter, i);
    painter.end();
    QPainter(viewport()).drawImage(area.topLeft(), canvas);
}

void ReportPreview::drawPage(QPainter& painter, int index)
{
    const QRect place = pagePlace(index);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(place.adjusted(-1, -1, 0, 0));
    painter.fillRect(place, Qt::white);
    painter.save();
    painter.setClipRect(place);
    painter.translate(place.topLeft());
    painter.scale(place.width() / m_paper.width, place.height() / m_paper.height);
    report::PaintReportPage(painter, m_report.page(index), m_layoutScale);
    painter.restore();
    m_drawn.insert(index);
}

QList<int> ReportPreview::drawnPages() const
{
    QList<int> drawn;
    for (int index : m_drawn)
        drawn << index + 1;
    return drawn;
}

} // namespace zelva
