#include "ui/printing.h"

#include "ui/fittext.h"
#include "ui/message.h"
#include "ui/qrcode.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <memory>

namespace zelva {

namespace {

PageHook& pageHook()
{
    static PageHook instance;
    return instance;
}

bool& pdfOnly()
{
    static bool instance = false;
    return instance;
}

// One text of the page at its place, in the widget's font: the font's size
// is taken as the screen reads it (fontScale), so that the text fills on
// paper the room it fills on the screen.
void drawText(QPainter& painter, const QWidget* page, const QWidget* widget, const QRectF& room, int flags,
              const QString& text, double fontScale)
{
    if (text.isEmpty())
        return;
    QFont font = widget->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * fontScale);
    painter.setFont(font);
    painter.drawText(room.translated(widget->mapTo(page, QPoint(0, 0))), flags, text);
}

// Every visible text of the page as the screen shows it.
void drawTexts(QPainter& painter, QWidget* page, double fontScale)
{
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(page))
            continue;
        const auto draw = [&](const QRectF& room, int flags, const QString& text) {
            drawText(painter, page, widget, room, flags, text, fontScale);
        };
        if (auto* qr = qobject_cast<QrCodeView*>(widget)) {
            DrawQrCode(painter, QRectF(qr->rect()).translated(qr->mapTo(page, QPoint(0, 0))), qr->text());
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            if (qobject_cast<QComboBox*>(box->parentWidget()))
                continue; // the list draws its own text
            const int across = int(box->alignment() & Qt::AlignHorizontal_Mask);
            draw(TextRoom(box), across | Qt::AlignVCenter | TwoLineFlags(box), box->text());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            draw(label->contentsRect(), int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                 label->text());
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
            const double margin = lines->document()->documentMargin();
            draw(QRectF(lines->viewport()->geometry()).adjusted(margin, margin, -margin, -margin),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines->toPlainText());
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            draw(QRectF(list->rect()).adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, list->currentText());
        }
    }
}

// Draws the whole page scaled to fit the printable area, kept in proportion.
void paintWidget(QPainter& painter, QPrinter& printer, QWidget* page)
{
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize size = page->size();
    const double scale = std::min(double(area.width()) / size.width(), double(area.height()) / size.height());
    painter.save();
    painter.scale(scale, scale);
    painter.setPen(Qt::black);
    const double fontScale = double(page->logicalDpiY()) / printer.logicalDpiY();
    if (const auto* ruled = dynamic_cast<const RuledSurface*>(page))
        ruled->paintRules(painter);
    if (const auto* drawn = dynamic_cast<const DrawnSurface*>(page))
        drawn->paintPage(painter, fontScale);
    painter.setPen(Qt::black);
    drawTexts(painter, page, fontScale);
    painter.restore();
}

// The printer the pages go to: the default one, or a PDF file when none is installed.
// A paper of its own (a receipt roll) with narrow margins.
void setPaper(QPrinter& printer, std::optional<QSizeF> paperMm, double marginMm)
{
    if (!paperMm)
        return;
    printer.setPageSize(QPageSize(*paperMm, QPageSize::Millimeter, QStringLiteral("Roll"), QPageSize::ExactMatch));
    printer.setFullPage(marginMm <= 0); // from the paper's own corner, not the printable area's
    printer.setPageMargins(QMarginsF(marginMm, marginMm, marginMm, marginMm), QPageLayout::Millimeter);
}

std::unique_ptr<QPrinter> openPrinter(const QString& documentName, const QString& pdfFolder, QString& pdfPath,
                                      std::optional<QSizeF> paperMm, double marginMm)
{
    const QPrinterInfo installed = QPrinterInfo::defaultPrinter();
    if (!pdfOnly() && !installed.isNull()) {
        auto printer = std::make_unique<QPrinter>(installed, QPrinter::HighResolution);
        printer->setDocName(documentName);
        setPaper(*printer, paperMm, marginMm);
        return printer;
    }
    if (!QDir().mkpath(pdfFolder)) {
        MsgBox(QStringLiteral("No printer is installed, and the folder for PDF files cannot be made:\n%1\n"
                              "Nothing was printed.")
                   .arg(QDir::toNativeSeparators(pdfFolder)));
        return nullptr;
    }
    pdfPath = QDir(pdfFolder).filePath(documentName + QStringLiteral(".pdf"));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::A4));
    setPaper(*printer, paperMm, marginMm);
    printer->setDocName(documentName);
    printer->setOutputFileName(pdfPath);
    return printer;
}

QString failureText(const QString& pdfPath)
{
    if (!pdfPath.isEmpty())
        return QStringLiteral("The PDF file could not be written:\n%1\nNothing was printed.")
            .arg(QDir::toNativeSeparators(pdfPath));
    return QStringLiteral("The printer reported an error. Nothing was printed; check the printer and print again.");
}

bool printToHook(QWidget* page, int pageCount, const std::function<void(int)>& preparePage)
{
    for (int i = 0; i < pageCount; ++i) {
        preparePage(i);
        if (!pageHook()(page, i))
            return false;
    }
    return true;
}

bool printToDevice(QPrinter& printer, QWidget* page, int pageCount, const std::function<void(int)>& preparePage)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        preparePage(i);
        paintWidget(painter, printer, page);
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace

PrintOutcome PrintWidgetPages(QWidget* page, int pageCount, const std::function<void(int)>& preparePage,
    const QString& documentName, const QString& pdfFolder, std::optional<QSizeF> paperMm, double marginMm)
{
    PrintOutcome outcome;
    if (pageHook()) {
        outcome.printed = printToHook(page, pageCount, preparePage);
        if (!outcome.printed)
            MsgBox(failureText({}));
        return outcome;
    }
    const std::unique_ptr<QPrinter> printer = openPrinter(documentName, pdfFolder, outcome.pdfPath, paperMm, marginMm);
    if (!printer) {
        outcome.pdfPath.clear();
        return outcome;
    }
    outcome.printed = printToDevice(*printer, page, pageCount, preparePage);
    if (!outcome.printed) {
        if (!outcome.pdfPath.isEmpty())
            QFile::remove(outcome.pdfPath); // a part-written file is no copy of the invoice
        MsgBox(failureText(outcome.pdfPath));
        outcome.pdfPath.clear();
        return outcome;
    }
    if (!outcome.pdfPath.isEmpty())
        MsgBox(QStringLiteral("No printer is installed. The pages were written to the PDF file:\n%1")
                   .arg(QDir::toNativeSeparators(outcome.pdfPath)));
    return outcome;
}

void SetPageHook(PageHook hook) { pageHook() = std::move(hook); }

void SetPdfOnly(bool only) { pdfOnly() = only; }

} // namespace zelva
