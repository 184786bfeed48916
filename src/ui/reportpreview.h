#pragma once
// The report window's preview: a report's laid-out pages stacked one under the
// other in a scrolling view, each drawn only when it comes into sight. The
// page count is known as soon as the rows are laid out, and a report of
// hundreds of pages shows its first page as fast as one of a single page;
// page 57 is drawn when the operator gets there.
//
// A page is drawn at the paper's own resolution (one device unit per twip),
// as the printer lays it out, then scaled to the screen: a value shrunk to fit
// its box on paper is shrunk the same on screen. No page is kept as an image
// (one page at the width of a large screen is tens of megabytes): scrolling
// moves what is on the screen and draws only the strip it uncovers.
//
// Zoom: to the page width, to the whole page, or in steps (Ctrl+wheel); the
// fitting modes follow the view's size. Arrow keys and the scroll bars scroll;
// the current page is the one last asked for, or, after the operator
// scrolled, the page at the middle of the view.
#include "ui/report.h"

#include <QAbstractScrollArea>
#include <set>

namespace zelva {

class ReportPreview : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Zoom { FitWidth, FitPage, Steps };

    explicit ReportPreview(QWidget* parent = nullptr);

    // The report to show, its pages laid out as they come into sight; the
    // view returns to the first page.
    void setReport(report::PagedReport report);
    const report::PagedReport& report() const { return m_report; }
    // Every page, each laid out (a test's look at all of them).
    const std::vector<report::ReportPage>& pages() const { return m_report.pages(); }
    int pageCount() const { return m_report.pageCount(); }

    int currentPage() const { return m_currentPage; } // from 1; 0 without pages
    void setCurrentPage(int page); // clamped to the pages there are

    void fitToWidth();
    void fitInView();
    void zoomIn();
    void zoomOut();
    Zoom zoomMode() const { return m_mode; }
    double zoomFactor() const { return m_zoom; } // 1: the paper's real size on the screen

    // The pages (from 1) drawn since setReport, in order.
    QList<int> drawnPages() const;

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    double pixelsPerTwip() const;
    QSize pageSize() const; // one page on the screen, in pixels
    int pageTop(int index) const; // in the scrolled content
    int contentWidth() const;
    int contentHeight() const;
    void setZoom(Zoom mode, double factor);
    void fitZoomToView();
    void updateScrollBars();
    void scrollToCurrentPage();
    int pageAtViewMiddle() const;
    QRect pagePlace(int index) const; // in the view
    void drawPage(QPainter& painter, int index);

    report::PagedReport m_report;
    report::Paper m_paper;
    double m_layoutScale = 1;
    Zoom m_mode = Zoom::FitWidth;
    double m_zoom = 1;
    int m_currentPage = 0;
    bool m_scrollingToPage = false;
    std::set<int> m_drawn; // page indexes
};

} // namespace zelva
