#include "masters/labelsheet.h"

#include "ui/barcode.h"
#include "ui/fittext.h"

#include <QPainter>
#include <algorithm>

namespace zelva {

Symbology SymbologyOf(BarcodeKind kind)
{
    switch (kind) {
    case BarcodeKind::Ean13: return Symbology::Ean13;
    case BarcodeKind::Ean8: return Symbology::Ean8;
    case BarcodeKind::UpcA: return Symbology::UpcA;
    case BarcodeKind::ShopCode: return Symbology::Code128;
    }
    return Symbology::Code128;
}

namespace {

// A label's parts, as shares of its height inside its margins: the name,
// the price, the bars and the code beneath them.
constexpr double NameShare = 0.30;
constexpr double PriceShare = 0.17;
constexpr double CodeShare = 0.13;
constexpr double MarginMm = 1.5;
// Wider bars than this read no better and only take the label's room.
constexpr double WidestModuleMm = 0.5;

QFont designFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void drawFitted(QPainter& painter, const QRectF& room, const QString& text, const QFont& design, double fontScale)
{
    const FittedText fitted = FitWhole(design, text, room, painter.device(), fontScale);
    painter.setFont(fitted.font);
    painter.drawText(room, int(Qt::AlignHCenter | Qt::AlignVCenter) | fitted.flags, text);
}

} // namespace

LabelSheetPage::LabelSheetPage(const LabelLayout& layout, std::vector<ItemLabel> labels, int startPosition,
                               QWidget* parent)
    : QWidget(parent)
    , m_layout(layout)
    , m_labels(std::move(labels))
    , m_start(startPosition)
{
    const double pixelsPerMm = logicalDpiX() / 25.4;
    resize(qRound(layout.paperMm.width() * pixelsPerMm), qRound(layout.paperMm.height() * pixelsPerMm));
}

int LabelSheetPage::sheetCount() const
{
    return SheetsNeeded(int(m_labels.size()), m_layout.perSheet(), m_start);
}

void LabelSheetPage::showSheet(int sheet)
{
    m_sheet = sheet;
    update();
}

void LabelSheetPage::paintPage(QPainter& painter, double fontScale) const
{
    const double perMm = width() / m_layout.paperMm.width();
    const int perSheet = m_layout.perSheet();
    const int first = m_sheet == 0 ? m_start : 0;
    for (int position = first; position < perSheet; ++position) {
        const qsizetype index = qsizetype(m_sheet) * perSheet + position - m_start;
        if (index >= qsizetype(m_labels.size()))
            break;
        const QRectF mm = m_layout.labelRectMm(position);
        paintLabel(painter, QRectF(mm.topLeft() * perMm, mm.size() * perMm), m_labels[size_t(index)], fontScale);
    }
}

void LabelSheetPage::paintLabel(QPainter& painter, const QRectF& rect, const ItemLabel& label, double fontScale) const
{
    const double perMm = width() / m_layout.paperMm.width();
    const double margin = MarginMm * perMm;
    const QRectF inside = rect.adjusted(margin, margin, -margin, -margin);
    const double h = inside.height();
    const QRectF name(inside.left(), inside.top(), inside.width(), h * NameShare);
    const QRectF price(inside.left(), name.bottom(), inside.width(), h * PriceShare);
    const QRectF code(inside.left(), inside.bottom() - h * CodeShare, inside.width(), h * CodeShare);
    const BarcodeBars encoded = EncodeBarcode(SymbologyOf(label.kind), label.barcode);
    const double barsWidth = std::min(inside.width(), encoded.size.width() * WidestModuleMm * perMm);
    const QRectF bars(inside.center().x() - barsWidth / 2, price.bottom(), barsWidth, code.top() - price.bottom());
    painter.save();
    painter.setPen(Qt::black);
    drawFitted(painter, name, label.name, designFont(8), fontScale);
    drawFitted(painter, price, QStringLiteral("Rs. ") + AmountText(label.price), designFont(9, true), fontScale);
    DrawBarcode(painter, bars, encoded);
    drawFitted(painter, code, label.barcode, designFont(7), fontScale);
    painter.restore();
}

void LabelSheetPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintPage(painter, 1);
}

} // namespace zelva
