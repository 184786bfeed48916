#pragma once
// QR codes, made by libqrencode and drawn as vector squares, so that they
// print sharp on paper and in a PDF at any size.
//
//   DrawQrCode(painter, rect, "upi://pay?pa=shop@okbank&...");
//
// draws the code as the largest square that fits the rect, centred in it,
// with the quiet zone of four modules the readers need inside that square.
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

class QPainter;

namespace zelva {

// A QR code's modules, row by row (size x size); empty when the text cannot be
// encoded (too long for any QR code).
struct QrModules {
    int size = 0;
    std::vector<bool> dark;
    bool isDark(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)]; }
};
// The text as UTF-8, error correction level M (about 15% of the code may be spoilt).
QrModules EncodeQr(const QString& text);

constexpr int QrQuietModules = 4;

// Draws the text's code at the rect (painter units); nothing for an empty text
// or one too long to encode.
void DrawQrCode(QPainter& painter, const QRectF& rect, const QString& text);

// A QR code on a form's page. Printing draws it as DrawQrCode does
// (ui/printing.h), so paper shows it as the screen does.
class QrCodeView : public QWidget {
    Q_OBJECT
public:
    explicit QrCodeView(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
};

} // namespace zelva
