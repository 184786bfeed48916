#include "ui/reportwindow.h"

#include "ui/formboxes.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/reportpreview.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace zelva {

namespace {

// A4, turned for a landscape layout: preview, printer and PDF alike.
void setPaper(QPagedPaintDevice& device, const report::ReportLayout& layout)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

report::Paper paperOf(const report::ReportLayout& layout)
{
    QSizeF points = QPageSize(QPageSize::A4).size(QPageSize::Point);
    if (layout.landscape)
        points.transpose();
    return { points.width() * 20, points.height() * 20 };
}

} // namespace

ReportWindow::ReportWindow(
    report::ReportLayout layout, report::ReportRows rows, QString pdfFolder, int startRow, QWidget* parent)
    : QWidget(parent)
    , m_layout(std::move(layout))
    , m_pdfFolder(std::move(pdfFolder))
{
    buildWindow();
    // The rows go to the preview, which lays out and draws a page only when it
    // comes into sight.
    preview->setReport(report::PagedReport(m_layout, std::move(rows), paperOf(m_layout)));
    goToPage(preview->report().pageOfRow(startRow) + 1);
}

ReportWindow::~ReportWindow() = default;

ReportWindow* ReportWindow::Open(
    QWidget* opener, report::ReportLayout layout, report::ReportRows rows, const QString& pdfFolder, int startRow)
{
    auto* window = new ReportWindow(std::move(layout), std::move(rows), pdfFolder, startRow);
    QMdiArea* area = nullptr;
    for (QWidget* w = opener; w && !area; w = w->parentWidget())
        area = qobject_cast<QMdiArea*>(w);
    if (area) {
        QMdiSubWindow* frame = area->addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        // Wholly inside the work area, at most its size, wherever the area
        // placed it among the windows open: its own buttons stay in reach.
        const QSize room = area->viewport()->size();
        frame->resize((room * 0.9).expandedTo(frame->minimumSizeHint()).boundedTo(room));
        frame->show();
        frame->move(qMax(0, qMin(frame->x(), room.width() - frame->width())),
            qMax(0, qMin(frame->y(), room.height() - frame->height())));
    } else {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(900, 700);
        window->show();
    }
    window->preview->setFocus();
    return window;
}

void ReportWindow::buildWindow()
{
    setWindowTitle(m_layout.caption);
    preview = Named(new ReportPreview(this), "preview");
    connect(preview, &ReportPreview::currentPageChanged, this, &ReportWindow::showPageNumber);

    cmdFirst = NewButton(this, "cmdFirst", QStringLiteral("|<"), QStringLiteral("First page (Ctrl+Home)"));
    cmdPrevious = NewButton(this, "cmdPrevious", QStringLiteral("<"), QStringLiteral("Previous page (Page Up)"));
    lblPage = Named(new QLabel(this), "lblPage");
    cmdNext = NewButton(this, "cmdNext", QStringLiteral(">"), QStringLiteral("Next page (Page Down)"));
    cmdLast = NewButton(this, "cmdLast", QStringLiteral(">|"), QStringLiteral("Last page (Ctrl+End)"));
    cmdFitWidth
        = NewButton(this, "cmdFitWidth", QStringLiteral("Fit Wi&dth"), QStringLiteral("Zoom to the page width"));
    cmdFitPage = NewButton(this, "cmdFitPage", QStringLiteral("Fit P&age"), QStringLiteral("Show the whole page"));
    cmdZoomOut = NewButton(this, "cmdZoomOut", QStringLiteral("-"), QStringLiteral("Zoom out (Ctrl+-)"));
    cmdZoomIn = NewButton(this, "cmdZoomIn", QStringLiteral("+"), QStringLiteral("Zoom in (Ctrl++)"));
    cmdPrint = NewButton(this, "cmdPrint", QStringLiteral("&Print..."), QStringLiteral("Print the report"));
    cmdSavePdf = NewButton(
        this, "cmdSavePdf", QStringLiteral("Save as PD&F..."), QStringLiteral("Save the report as a PDF file"));
    cmdClose = NewButton(this, "cmdClose", QStringLiteral("&Close"), QStringLiteral("Close the report"));

    connect(cmdFirst, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { goToPage(currentPage() - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { goToPage(currentPage() + 1); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { goToPage(pageCount()); });
    connect(cmdFitWidth, &QPushButton::clicked, preview, &ReportPreview::fitToWidth);
    connect(cmdFitPage, &QPushButton::clicked, preview, &ReportPreview::fitInView);
    connect(cmdZoomOut, &QPushButton::clicked, preview, &ReportPreview::zoomOut);
    connect(cmdZoomIn, &QPushButton::clicked, preview, &ReportPreview::zoomIn);
    connect(cmdPrint, &QPushButton::clicked, this, &ReportWindow::cmdPrint_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &ReportWindow::cmdSavePdf_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    const std::pair<QKeySequence, QPushButton*> keys[] = { { Qt::Key_PageUp, cmdPrevious },
        { Qt::Key_PageDown, cmdNext }, { Qt::CTRL | Qt::Key_Home, cmdFirst }, { Qt::CTRL | Qt::Key_End, cmdLast },
        { QKeySequence::ZoomIn, cmdZoomIn }, { QKeySequence::ZoomOut, cmdZoomOut } };
    for (const auto& [key, button] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, button, &QPushButton::click);

    // Symbol buttons take only their symbol's room and the page number its
    // longest text's, so the whole bar fits a window of common size.
    const int symbolWidth = fontMetrics().height() * 3;
    for (QPushButton* button : { cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdZoomOut, cmdZoomIn })
        button->setFixedWidth(symbolWidth);
    lblPage->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Page 8888 of 8888")));
    lblPage->setAlignment(Qt::AlignCenter);
    auto* bar = new QHBoxLayout;
    for (QWidget* w : { static_cast<QWidget*>(cmdFirst), static_cast<QWidget*>(cmdPrevious),
             static_cast<QWidget*>(lblPage), static_cast<QWidget*>(cmdNext), static_cast<QWidget*>(cmdLast) })
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(cmdFitWidth);
    bar->addWidget(cmdFitPage);
    bar->addWidget(cmdZoomOut);
    bar->addWidget(cmdZoomIn);
    bar->addStretch();
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdSavePdf);
    bar->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(preview, 1);
}

const std::vector<report::ReportPage>& ReportWindow::pages() const { return preview->pages(); }

int ReportWindow::pageCount() const { return preview->pageCount(); }

int ReportWindow::currentPage() const { return preview->currentPage(); }

void ReportWindow::goToPage(int page)
{
    preview->setCurrentPage(page);
    showPageNumber();
}

void ReportWindow::showPageNumber()
{
    const int page = currentPage();
    lblPage->setText(QStringLiteral("Page %1 of %2").arg(page).arg(pageCount()));
    cmdFirst->setEnabled(page > 1);
    cmdPrevious->setEnabled(page > 1);
    cmdNext->setEnabled(page < pageCount());
    cmdLast->setEnabled(page < pageCount());
}

QString ReportWindow::defaultPdfPath() const
{
    const QString name = m_layout.caption + QDate::currentDate().toString(QStringLiteral(" yyyy-MM-dd")) + ".pdf";
    return QDir(m_pdfFolder).filePath(name);
}

bool ReportWindow::savePdf(const QString& path)
{
    QPdfWriter writer(path);
    setPaper(writer, m_layout);
    writer.setResolution(600);
    writer.setTitle(m_layout.caption);
    if (report::RenderReport(writer, m_layout, preview->report().rows()) < 0) {
        MsgBox(QStringLiteral("The PDF file could not be written:\n%1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

void ReportWindow::cmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution); // the default printer, as the dialog opens
    printer.setDocName(m_layout.caption);
    printer.setPageOrientation(m_layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (report::RenderReport(printer, m_layout, preview->report().rows()) < 0)
        MsgBox(QStringLiteral("The printer reported an error; the report was not printed."));
}

void ReportWindow::cmdSavePdf_Click()
{
    QDir().mkpath(m_pdfFolder);
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save as PDF"), defaultPdfPath(), QStringLiteral("PDF files (*.pdf)"));
    if (!path.isEmpty())
        savePdf(path);
}

void ReportWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_closed)
        return;
    m_closed = true;
    preview->setReport({}); // the rows go with the window
    emit closed();
}

} // namespace zelva
