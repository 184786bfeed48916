#include "ui/fittext.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <array>
#include <optional>

namespace zelva {

namespace {

// A page is printed at a little under its size: 6.25 points on the screen are
// 6 on paper, the least that reads well.
constexpr double LeastPointSize = 6.25;
// Letters narrowed to three quarters of their width still read well.
constexpr int LeastStretch = 75;
const char* const DesignFont = "zelvaDesignFont";
const char* const Lines = "zelvaLines";
const char* const OneLineFirst = "zelvaOneLineFirst";
const char* const Wrapped = "zelvaWrapped"; // the flags that break the text over two lines; 0 for one line

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

// Between words; a word longer than the line (a number, a unit) anywhere.
constexpr std::array<int, 2> WrapFlags{Qt::TextWordWrap, Qt::TextWrapAnywhere};

// 0 when the text does not fit the room at this font in at most `allowed`
// lines; else 1 for one line, or the flags that break it over lines.
int wayItFits(const QFontMetricsF& metrics, const QString& text, const QRectF& room, int allowed,
              bool anywhere = true)
{
    if (metrics.horizontalAdvance(text) <= room.width())
        return 1;
    if (allowed < 2)
        return 0;
    for (int flags : WrapFlags) {
        if (flags == Qt::TextWrapAnywhere && !anywhere)
            break;
        const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, room.width(), 1e6), flags, text);
        if (wrapped.width() <= room.width() && wrapped.height() <= room.height()
            && wrapped.height() < (allowed + 1) * metrics.lineSpacing())
            return flags;
    }
    return 0;
}

int wayItFits(const QFont& font, const QString& text, const QRectF& room, int allowed)
{
    return wayItFits(QFontMetricsF(font), text, room, allowed);
}

struct Fit {
    QFont font;
    int way = 0; // as wayItFits
};

// The largest size, then the widest narrowing, at which the text fits in at
// most `allowed` lines; else the least font, which shows the beginning.
Fit search(const QFont& design, const QString& text, const QRectF& room, int allowed)
{
    Fit fit{design};
    for (double size = design.pointSizeF();; size = std::max(LeastPointSize, size - 0.25)) {
        for (int stretch = 100; fit.way == 0 && stretch >= LeastStretch; stretch -= 5) {
            fit.font = design;
            fit.font.setPointSizeF(size);
            if (stretch < 100)
                fit.font.setStretch(stretch);
            fit.way = wayItFits(fit.font, text, room, allowed);
        }
        if (fit.way != 0 || size <= LeastPointSize)
            return fit;
    }
}

void fit(QLineEdit* box)
{
    const QFont design = box->property(DesignFont).value<QFont>();
    const int allowed = box->property(Lines).toInt();
    const QRectF room = textRect(box);
    Fit found = search(design, box->text(), room, box->property(OneLineFirst).toBool() ? 1 : allowed);
    if (found.way == 0 && allowed > 1)
        found = search(design, box->text(), room, allowed);
    if (box->font() != found.font)
        box->setFont(found.font);
    box->setProperty(Wrapped, found.way > 1 ? found.way : 0);
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
        const int wrapFlags = box->property(Wrapped).toInt();
        if (event->type() != QEvent::Paint || wrapFlags == 0 || box->hasFocus())
            return false;
        QPainter painter(box);
        painter.setFont(box->font());
        painter.setPen(box->palette().color(QPalette::Text));
        const Qt::Alignment across = box->alignment() & Qt::AlignHorizontal_Mask;
        painter.drawText(textRect(box), int(across | Qt::AlignVCenter) | wrapFlags, box->text());
        return true;
    }
};

// Labels are read close up: their texts may go below the boxes' least size.
constexpr double LeastLabelPointSize = 3;

} // namespace

namespace {

// The largest size and widest narrowing at which the text fits, broken only
// between words unless anywhere; nullopt when even the least font does not hold it.
std::optional<FittedText> fitWhole(const QFont& design, const QString& text, const QRectF& room,
                                   const QPaintDevice* device, double fontScale, bool anywhere)
{
    for (double size = design.pointSizeF();; size = std::max(LeastLabelPointSize, size - 0.25)) {
        for (int stretch = 100; stretch >= LeastStretch; stretch -= 5) {
            QFont font = design;
            font.setPointSizeF(size * fontScale);
            if (stretch < 100)
                font.setStretch(stretch);
            const QFontMetricsF metrics(font, device);
            const int way = metrics.height() <= room.height() ? wayItFits(metrics, text, room, 1000, anywhere) : 0;
            if (way != 0)
                return FittedText{font, way > 1 ? way : 0};
        }
        if (size <= LeastLabelPointSize)
            return std::nullopt;
    }
}

} // namespace

FittedText FitWhole(const QFont& design, const QString& text, const QRectF& room, const QPaintDevice* device,
                    double fontScale)
{
    // Words stay whole down to the least size before any word is broken.
    if (std::optional<FittedText> fitted = fitWhole(design, text, room, device, fontScale, false))
        return *fitted;
    if (std::optional<FittedText> fitted = fitWhole(design, text, room, device, fontScale, true))
        return *fitted;
    QFont least = design; // every character on the page, in the least font
    least.setPointSizeF(LeastLabelPointSize * fontScale);
    least.setStretch(LeastStretch);
    return {least, Qt::TextWrapAnywhere};
}

QRectF TextRoom(const QLineEdit* box) { return textRect(box); }

int TwoLineFlags(const QLineEdit* box) { return box->property(Wrapped).toInt(); }

void ShrinkToFit(QLineEdit* box, int lines, SecondLine second)
{
    box->setProperty(DesignFont, box->font());
    box->setProperty(Lines, lines);
    box->setProperty(OneLineFirst, second == SecondLine::AfterShrinking);
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
