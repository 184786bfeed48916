#include "ui/qrcode.h"

#include <QPainter>
#include <QPainterPath>
#include <memory>
#include <qrencode.h>

namespace zelva {

QrModules EncodeQr(const QString& text)
{
    if (text.isEmpty())
        return {};
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(bytes.size()), reinterpret_cast<const unsigned char*>(bytes.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return {};
    QrModules modules;
    modules.size = code->width;
    modules.dark.resize(size_t(code->width) * size_t(code->width));
    for (size_t i = 0; i < modules.dark.size(); ++i)
        modules.dark[i] = code->data[i] & 1; // the lowest bit: dark module
    return modules;
}

void DrawQrCode(QPainter& painter, const QRectF& rect, const QString& text)
{
    const QrModules modules = EncodeQr(text);
    if (modules.size == 0)
        return;
    const double side = std::min(rect.width(), rect.height());
    const double module = side / (modules.size + 2 * QrQuietModules);
    const QPointF origin = rect.center() - QPointF(side / 2, side / 2)
                           + QPointF(QrQuietModules * module, QrQuietModules * module);
    // Each row's runs of dark modules as one rectangle: fewer shapes, no seams between neighbours.
    QPainterPath path;
    for (int y = 0; y < modules.size; ++y)
        for (int x = 0; x < modules.size;) {
            if (!modules.isDark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < modules.size && modules.isDark(x, y))
                ++x;
            path.addRect(QRectF(origin.x() + start * module, origin.y() + y * module, (x - start) * module, module));
        }
    path.setFillRule(Qt::WindingFill);
    painter.save();
    painter.fillRect(QRectF(origin - QPointF(QrQuietModules * module, QrQuietModules * module), QSizeF(side, side)),
                     Qt::white);
    painter.fillPath(path, Qt::black);
    painter.restore();
}

QrCodeView::QrCodeView(QWidget* parent)
    : QWidget(parent)
{
}

void QrCodeView::setText(const QString& text)
{
    m_text = text;
    update();
}

void QrCodeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawQrCode(painter, rect(), m_text);
}

} // namespace zelva
