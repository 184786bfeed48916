#pragma once
// Reads the QR codes and barcodes of a rendered page back with zbar's command-line reader
// (Debian zbar-tools), as a phone would read the paper.
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace testing {

// The texts of every code of the symbologies enabled (zbar's -S settings) on
// the image, in the order zbar finds them.
inline QStringList DecodeCodes(const QImage& image, const QStringList& enabled)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("page.png");
    if (!image.save(path))
        return {QStringLiteral("(the image could not be saved)")};
    QProcess zbar;
    QStringList arguments{QStringLiteral("--quiet"), QStringLiteral("--raw"), QStringLiteral("-Sdisable")};
    for (const QString& symbology : enabled)
        arguments << QStringLiteral("-S%1.enable").arg(symbology);
    zbar.start(QStringLiteral("zbarimg"), arguments << path);
    if (!zbar.waitForFinished(30000))
        return {QStringLiteral("(zbarimg did not finish)")};
    QString out = QString::fromUtf8(zbar.readAllStandardOutput());
    if (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out.isEmpty() ? QStringList{} : out.split(QLatin1Char('\n'));
}

// Where the ink is within the part of the image (the bounding box of its dark
// pixels); an empty rect when that part is blank.
inline QRect InkBounds(const QImage& image, const QRect& within)
{
    QRect ink;
    const QRect part = within.intersected(image.rect());
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The texts of every QR code on the image, in the order zbar finds them.
inline QStringList DecodeQrCodes(const QImage& image)
{
    return DecodeCodes(image, {QStringLiteral("qrcode")});
}

// The texts of every EAN-13, EAN-8, UPC-A and Code 128 barcode on the image.
inline QStringList DecodeBarcodes(const QImage& image)
{
    return DecodeCodes(image, {QStringLiteral("ean13"), QStringLiteral("ean8"), QStringLiteral("upca"),
                               QStringLiteral("code128")});
}

// A PDF's page as an image at the resolution (poppler-utils' pdftoppm).
inline QImage RenderPdfPage(const QString& pdf, int page, int dpi)
{
    QTemporaryDir dir;
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                                QStringLiteral("-png"), QStringLiteral("-f"), QString::number(page),
                                                QStringLiteral("-l"), QString::number(page),
                                                QStringLiteral("-singlefile"), pdf, dir.filePath("page")});
    if (!pdftoppm.waitForFinished(60000))
        return {};
    return QImage(dir.filePath("page.png"));
}

} // namespace testing
