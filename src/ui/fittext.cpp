#include "ui/fittext.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace zelva {

namespace {

constexpr double LeastPointSize = 4.0;
const char* const DesignFont = "zelvaDesignFont";

// The width the box gives its text: inside the frame and the line box's own margins.
double textWidth(const QLineEdit* box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect inside = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    return inside.width() - margins.left() - margins.right() - 4; // the line box keeps 2 pixels each side
}

void fit(QLineEdit* box)
{
    QFont font = box->property(DesignFont).value<QFont>();
    const double room = textWidth(box);
    double size = font.pointSizeF();
    while (size > LeastPointSize && QFontMetricsF(font).horizontalAdvance(box->text()) > room) {
        size = std::max(LeastPointSize, size - 0.25);
        font.setPointSizeF(size);
    }
    if (box->font() != font)
        box->setFont(font);
    box->setCursorPosition(0); // a fitting text shows whole; any rest starts at its beginning
}

} // namespace

void ShrinkToFit(QLineEdit* box)
{
    box->setProperty(DesignFont, box->font());
    QObject::connect(box, &QLineEdit::textChanged, box, [box] {
        if (!box->hasFocus()) // the operator typing sees the font stay put
            fit(box);
    });
    QObject::connect(box, &QLineEdit::editingFinished, box, [box] { fit(box); });
    fit(box);
}

} // namespace zelva
