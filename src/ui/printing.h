#pragma once
// The one way a form's page leaves the program on paper. Pages go to the
// default printer when one is installed; otherwise they are written as one
// PDF file in the given folder (made when missing), and the operator is told
// where it is. A failure (printer error, folder or file not writable) is told
// to the operator and reported back, so the caller never takes it for printed.
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QWidget;

namespace zelva {

struct PrintOutcome {
    bool printed = false;
    QString pdfPath; // the file written when there was no printer; empty otherwise
};

// A page whose ruled lines lie beneath its boxes, drawn on paper too.
class RuledSurface {
public:
    virtual ~RuledSurface() = default;
    // Draws the rules in the page's own pixels.
    virtual void paintRules(QPainter& painter) const = 0;
};

// A page that draws itself (a sheet of labels with their barcodes), in its
// own pixels, beneath any boxes. Its fonts' point sizes are to be multiplied
// by fontScale, as the page's boxes are, so that a text fills on paper the
// room it fills on the screen; it measures them on the painter's device.
class DrawnSurface {
public:
    virtual ~DrawnSurface() = default;
    virtual void paintPage(QPainter& painter, double fontScale) const = 0;
};

// Prints pageCount pages of one document. Before page i (from 0) is drawn,
// preparePage(i) sets the widget up (a copy caption, say); the page is then
// drawn as the widget shows it, also the part scrolled out of view, scaled to
// fit the printable area: every visible box, label and list as text in its
// own font at its place, and the rules of a RuledSurface, as vector text and
// lines (never a picture of the screen: text stays text in a PDF).
// Paper of paperMm (a receipt roll's width and the bill's length) instead of
// the printer's own, or A4 for the PDF file; marginMm round it, where 0 puts
// the page's corner on the paper's (a sheet of labels measured from its edge).
PrintOutcome PrintWidgetPages(QWidget* page, int pageCount, const std::function<void(int)>& preparePage,
    const QString& documentName, const QString& pdfFolder, std::optional<QSizeF> paperMm = std::nullopt,
    double marginMm = 2);

// Tests and headless runs: a hook that receives each page instead of the
// printer, at the moment it would be printed (the widget as it then stands).
// Returning false stands for a printer error on that page.
using PageHook = std::function<bool(QWidget* page, int index)>;
void SetPageHook(PageHook hook);

// Tests: behave as if no printer were installed, so pages go to the PDF file.
void SetPdfOnly(bool pdfOnly);

} // namespace zelva
