#pragma once
// Linear barcodes (EAN-13, EAN-8, UPC-A, Code 128), encoded by libzint and
// drawn as vector bars, so that they print sharp on paper and in a PDF at any
// size. The quiet zones a scanner needs at either end are part of the drawing.
//
//   const BarcodeBars bars = EncodeBarcode(Symbology::Ean13, "5901234123457");
//   DrawBarcode(painter, rect, bars);
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace zelva {

enum class Symbology { Ean13, Ean8, UpcA, Code128 };

// The bars of one code in the encoder's units (x across, y down); none when
// the code cannot be encoded (error then says why).
struct BarcodeBars {
    QSizeF size;
    std::vector<QRectF> bars;
    QString error;
    bool empty() const { return bars.empty(); }
};
// An EAN or UPC code is given with its check digit, which must be right.
BarcodeBars EncodeBarcode(Symbology symbology, const QString& code);

// Fills the rect (painter units) with the bars: stretched across its width
// and down its height, as a scanner reads a barcode of any height.
void DrawBarcode(QPainter& painter, const QRectF& rect, const BarcodeBars& bars);

} // namespace zelva
