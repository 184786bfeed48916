#pragma once
// The one way a form's page leaves the program on paper. Pages go to the
// default printer when one is installed; otherwise they are written as one
// PDF file in the given folder (made when missing), and the operator is told
// where it is. A failure (printer error, folder or file not writable) is told
// to the operator and reported back, so the caller never takes it for printed.
#include <QString>
#include <functional>

class QWidget;

namespace zelva {

struct PrintOutcome {
    bool printed = false;
    QString pdfPath; // the file written when there was no printer; empty otherwise
};

// Prints pageCount pages of one document. Before page i (from 0) is drawn,
// preparePage(i) sets the widget up (a copy caption, say); the page is then the
// image of the whole widget, also the part scrolled out of view, scaled to fit
// the printable area.
PrintOutcome PrintWidgetPages(QWidget* page, int pageCount, const std::function<void(int)>& preparePage,
    const QString& documentName, const QString& pdfFolder);

// Tests and headless runs: a hook that receives each page instead of the
// printer, at the moment it would be printed (the widget as it then stands).
// Returning false stands for a printer error on that page.
using PageHook = std::function<bool(QWidget* page, int index)>;
void SetPageHook(PageHook hook);

// Tests: behave as if no printer were installed, so pages go to the PDF file.
void SetPdfOnly(bool pdfOnly);

} // namespace zelva
