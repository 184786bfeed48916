#include "ui/barcode.h"

#include <QPainter>
#include <memory>
#include <zint.h>

namespace zelva {

namespace {

int zintSymbology(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Ean13:
    case Symbology::Ean8: return BARCODE_EANX_CHK; // the length tells EAN-13 from EAN-8
    case Symbology::UpcA: return BARCODE_UPCA_CHK;
    case Symbology::Code128: return BARCODE_CODE128;
    }
    return BARCODE_CODE128;
}

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

BarcodeBars EncodeBarcode(Symbology symbology, const QString& code)
{
    BarcodeBars out;
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        out.error = QStringLiteral("The barcode library could not start.");
        return out;
    }
    symbol->symbology = zintSymbology(symbology);
    symbol->scale = 0.5f; // one unit a module
    symbol->show_hrt = 0; // the label writes the code itself, in its own font
    symbol->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray data = code.toLatin1();
    const int encoded = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                                        int(data.size()));
    if (encoded >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector) {
        out.error = QStringLiteral("\"%1\" cannot be drawn as a barcode: %2").arg(code, QString::fromLatin1(symbol->errtxt));
        return out;
    }
    out.size = QSizeF(symbol->vector->width, symbol->vector->height);
    for (const zint_vector_rect* bar = symbol->vector->rectangles; bar; bar = bar->next)
        out.bars.emplace_back(bar->x, bar->y, bar->width, bar->height);
    return out;
}

void DrawBarcode(QPainter& painter, const QRectF& rect, const BarcodeBars& bars)
{
    if (bars.empty() || bars.size.isEmpty())
        return;
    const double across = rect.width() / bars.size.width();
    const double down = rect.height() / bars.size.height();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRectF& bar : bars.bars)
        painter.drawRect(QRectF(rect.left() + bar.left() * across, rect.top() + bar.top() * down, bar.width() * across,
                                bar.height() * down));
    painter.restore();
}

} // namespace zelva
