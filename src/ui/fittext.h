#pragma once
// Nothing a box shows is cut off: a value too long for its line box is shown
// in a smaller font, then in narrower letters, down to a size still readable
// on paper, rather than losing characters at either end. A box allowed two
// lines breaks a long text between its words instead, or anywhere in a word
// too long for a line. The box keeps its design font for values that fit.
#include <QFont>
#include <QRectF>

class QLineEdit;
class QPaintDevice;

namespace zelva {

// How a box allowed two lines uses them: a description breaks between its
// words before it shrinks; a number or a unit stays on one line as long as
// the least font holds it, and then breaks, between words or anywhere.
enum class SecondLine { BeforeShrinking, AfterShrinking };

// From now on, whenever its text changes, the box's font is the design font
// or the largest smaller size (and then the widest narrowing) at which the
// whole text fits on one line, or, where lines is 2, on two lines, which the
// box then shows while it is not being edited.
void ShrinkToFit(QLineEdit* box, int lines = 1, SecondLine second = SecondLine::BeforeShrinking);

// Where a box shows its text, in its own pixels, and the flags that break it
// over two lines (0 for one line): what paper draws in the box's place.
QRectF TextRoom(const QLineEdit* box);
int TwoLineFlags(const QLineEdit* box);

// A text drawn straight onto a page (a label): the largest size of the design
// font, then the widest narrowing, at which the whole text fits the room, on
// one line or broken over as many as the room holds, as measured on the
// device with the point size times fontScale (as ui/printing.h's pages draw
// their texts). Smaller than the least size the boxes take rather than cut.
struct FittedText {
    QFont font; // its point size times fontScale
    int flags = 0; // the flags that break the text over lines; 0 for one line
};
FittedText FitWhole(const QFont& design, const QString& text, const QRectF& room, const QPaintDevice* device,
                    double fontScale = 1);

} // namespace zelva
