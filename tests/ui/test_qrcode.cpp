// QR codes as zbar reads them back: drawn on their own, and drawn by the
// report engine from a row's value at a box of the layout, the text exactly
// as given (a payee's name in another script, a signed token of a thousand
// characters).
#include "ui/qrcode.h"
#include "ui/report.h"

#include "support/qrdecode.h"

#include <QPainter>
#include <QtTest>

using namespace zelva;

class QrCodeTest : public QObject {
    Q_OBJECT

private slots:
    void readsBackExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("pay address") << "upi://pay?pa=zelva.traders@okbank&pn=Zelva%20Traders&am=1340.00&cu=INR&tn=A00001";
        QTest::newRow("another script") << QString::fromUtf8("upi://pay?pa=a@b&pn=ஜெல்வா%20கடை");
        QString token;
        for (int i = 0; i < 1000; ++i)
            token += QChar("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_."[(i * 7) % 65]);
        QTest::newRow("signed token") << token;
    }

    void readsBackExactly()
    {
        QFETCH(QString, text);
        QImage image(900, 900, QImage::Format_Grayscale8);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawQrCode(painter, QRectF(50, 50, 800, 800), text);
        painter.end();
        QCOMPARE(testing::DecodeQrCodes(image), QStringList{text});
    }

    // The engine places the code in its box, scaled with the page, and draws
    // none for a row without the value.
    void reportDrawsTheRowsCode()
    {
        using namespace report;
        ReportLayout layout;
        layout.width = 4000;
        layout.margins = {500, 500, 500, 500};
        layout.detail = {3000, {Label{"Pay", {0, 0, 1000, 240}}}, {}, {}, {QrBox{"Pay", {0, 300, 2500, 2500}}}};
        const ReportRows rows{{{"Pay", "upi://pay?pa=first@okbank&am=10.00"}}, {}};
        const Paper paper{5000, 7000};
        const std::vector<ReportPage> pages = PaginateReport(layout, rows, paper);
        QCOMPARE(pages.size(), size_t(1));
        QCOMPARE(pages[0].qrCodes.size(), size_t(1));
        QCOMPARE(pages[0].qrCodes[0].rect, QRectF(500, 800, 2500, 2500));
        QImage image(1000, 1400, QImage::Format_Grayscale8); // 5000 x 7000 twips at 1/5
        image.setDotsPerMeterX(int(1440 / 5 / 0.0254));
        image.setDotsPerMeterY(int(1440 / 5 / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintReportPage(painter, pages[0], 1.0);
        painter.end();
        QCOMPARE(testing::DecodeQrCodes(image), QStringList{"upi://pay?pa=first@okbank&am=10.00"});
    }
};

QTEST_MAIN(QrCodeTest)
#include "test_qrcode.moc"
