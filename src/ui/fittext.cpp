#include "ui/fittext.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace zelva {

namespace {

// A page is printed at a little under its size: 6.25 points on the screen are
// 6 on paper, the least that reads well.
constexpr double LeastPointSize = 6.25;
// Letters narrowed to three quarters of their width still read well.
constexpr int LeastStretch = 75;
const char* const DesignFont = "zelvaDesignFont";
const char* const Lines = "zelvaLines";
const char* const Wrapped = "zelvaWrapped"; // the text is shown on two lines

// Where the box shows its text: inside the frame and the line box's own margins.
QRectF textRect(const QLineEdit* box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect inside = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    // the line box keeps 2 pixels each side
    return QRectF(inside.marginsRemoved(box->textMargins())).adjusted(2, 0, -2, 0);
}

constexpr int WrapFlags = Qt::TextWordWrap;

// 0 when the text does not fit the room at this font, else the lines it takes.
int linesTaken(const QFont& font, const QString& text, const QRectF& room, int allowed)
{
    const QFontMetricsF metrics(font);
    if (metrics.horizontalAdvance(text) <= room.width())
        return 1;
    if (allowed < 2)
        return 0;
    const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, room.width(), 1e6), WrapFlags, text);
    const bool fits = wrapped.width() <= room.width() && wrapped.height() <= room.height()
        && wrapped.height() < 3 * metrics.lineSpacing();
    return fits ? 2 : 0;
}

void fit(QLineEdit* box)
{
    const QFont design = box->property(DesignFont).value<QFont>();
    const int allowed = box->property(Lines).toInt();
    const QRectF room = textRect(box);
    QFont font = design;
    int lines = 0;
    for (double size = design.pointSizeF();; size = std::max(LeastPointSize, size - 0.25)) {
        for (int stretch = 100; lines == 0 && stretch >= LeastStretch; stretch -= 5) {
            font = design;
            font.setPointSizeF(size);
            if (stretch < 100)
                font.setStretch(stretch);
            lines = linesTaken(font, box->text(), room, allowed);
        }
        if (lines > 0 || size <= LeastPointSize)
            break; // else nothing fits: the least font shows the beginning
    }
    if (box->font() != font)
        box->setFont(font);
    box->setProperty(Wrapped, lines == 2);
    box->setCursorPosition(0); // a fitting text shows whole; any rest starts at its beginning
    box->update();
}

// Paints a text that takes two lines in place of the line box's one line.
class TwoLinePainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = static_cast<QLineEdit*>(watched);
        if (event->type() != QEvent::Paint || !box->property(Wrapped).toBool() || box->hasFocus())
            return false;
        QPainter painter(box);
        painter.setFont(box->font());
        painter.setPen(box->palette().color(QPalette::Text));
        const Qt::Alignment across = box->alignment() & Qt::AlignHorizontal_Mask;
        painter.drawText(textRect(box), int(across | Qt::AlignVCenter) | WrapFlags, box->text());
        return true;
    }
};

} // namespace

void ShrinkToFit(QLineEdit* box, int lines)
{
    box->setProperty(DesignFont, box->font());
    box->setProperty(Lines, lines);
    if (lines > 1)
        box->installEventFilter(new TwoLinePainter(box));
    QObject::connect(box, &QLineEdit::textChanged, box, [box] {
        if (!box->hasFocus()) // the operator typing sees the font stay put
            fit(box);
    });
    QObject::connect(box, &QLineEdit::editingFinished, box, [box] { fit(box); });
    fit(box);
}

} // namespace zelva
