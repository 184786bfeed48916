// The report engine: paging on a layout small enough to reason about, values
// as the row holds them or as amounts, nothing drawn outside its box, and the
// same pages reaching a PDF file.
#include "ui/message.h"
#include "ui/printing.h"
#include "ui/report.h"
#include "ui/reportpreview.h"
#include "ui/reportwindow.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelva::report;

namespace {

// Paper 2000 twips tall with 100 twip margins: the page header (200) and page
// footer (100) leave 1500 twips, room for five details of 300.
ReportLayout smallLayout(double reportHeader, double reportFooter)
{
    ReportLayout layout;
    layout.caption = "Small";
    layout.width = 1000;
    layout.margins = { 100, 100, 100, 100 };
    layout.pageHeader = { 200, { Label { "Head", { 0, 0, 1000, 200 } } } };
    layout.reportHeader = { reportHeader, { Label { "Opening", { 0, 0, 1000, 100 } } } };
    layout.detail = { 300, {}, { ValueBox { "n", { 0, 0, 1000, 250 } } }, { Rule { 0, 290, 1000 } } };
    layout.pageFooter = { 100, { Label { "Foot", { 0, 0, 1000, 100 } } } };
    layout.reportFooter = { reportFooter, { Label { "Closing", { 0, 0, 1000, 100 } } } };
    return layout;
}

ReportRows numberedRows(int count)
{
    ReportRows rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({ { "n", QString("row%1").arg(i) } });
    return rows;
}

// Every page as one line: "Head Opening row0 ... Closing Foot", in drawing order.
QStringList pageTexts(const std::vector<ReportPage>& pages)
{
    QStringList result;
    for (const ReportPage& page : pages) {
        QStringList texts;
        for (const PlacedText& text : page.texts)
            texts << text.text;
        result << texts.join(' ');
    }
    return result;
}

int pdfPageCount(const QString& path)
{
    QProcess pdfinfo;
    pdfinfo.start("pdfinfo", { path });
    if (!pdfinfo.waitForFinished())
        return -1;
    const QString out = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    const QRegularExpressionMatch match = QRegularExpression(R"(Pages:\s+(\d+))").match(out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Dark pixels of the preview as the operator sees it.
int inkShown(zelva::ReportPreview* preview)
{
    const QImage image = preview->viewport()->grab().toImage();
    const QRgb background = preview->palette().color(QPalette::Dark).rgb();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb pixel = image.pixel(x, y); pixel != background && qGray(pixel) < 100)
                ++ink;
    return ink;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    // A tall row (a detail variant of 1400) asked for by row 1 takes a page
    // of its own; a detail taller than the paper scales the layout whole.
    void paging_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("reportHeader");
        QTest::addColumn<double>("reportFooter");
        QTest::addColumn<double>("detail");
        QTest::addColumn<bool>("tallRow");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("no rows") << 0 << 100.0 << 100.0 << 300.0 << false << QStringList { "Head Opening Closing Foot" };
        QTest::newRow("report header takes room of the first page")
            << 6 << 100.0 << 0.0 << 300.0 << false
            << QStringList { "Head Opening row0 row1 row2 row3 Foot", "Head row4 row5 Foot" };
        QTest::newRow("five details fill a page; the footer goes on")
            << 5 << 0.0 << 100.0 << 300.0 << false
            << QStringList { "Head row0 row1 row2 row3 row4 Foot", "Head Closing Foot" };
        QTest::newRow("twelve rows over three pages")
            << 12 << 0.0 << 100.0 << 300.0 << false
            << QStringList { "Head row0 row1 row2 row3 row4 Foot", "Head row5 row6 row7 row8 row9 Foot",
                   "Head row10 row11 Closing Foot" };
        QTest::newRow("a row on the tall detail")
            << 3 << 0.0 << 0.0 << 300.0 << true << QStringList { "Head row0 Foot", "Head Tall Foot", "Head row2 Foot" };
        QTest::newRow("detail taller than the paper") // 100 + 200 + 3800 + 100 + 100 = 4300 on paper of 2000
            << 2 << 0.0 << 0.0 << 3800.0 << false << QStringList { "Head row0 Foot", "Head row1 Foot" };
    }
    void paging()
    {
        QFETCH(int, rows);
        QFETCH(double, reportHeader);
        QFETCH(double, reportFooter);
        QFETCH(double, detail);
        QFETCH(bool, tallRow);
        QFETCH(QStringList, pages);
        ReportLayout layout = smallLayout(reportHeader, reportFooter);
        layout.detail.height = detail;
        layout.detailVariants = { { 1400, { Label { "Tall", { 0, 0, 1000, 100 } } }, {} } };
        ReportRows given = numberedRows(rows);
        if (tallRow)
            given[1].insert(DetailVariantColumn, 1);
        const double scale = FitScale(layout, Paper { 1200, 2000 });
        QCOMPARE(scale, detail > 1500 ? 2000.0 / 4300 : 1.0);
        const std::vector<ReportPage> laid = PaginateReport(layout, given, Paper { 1200, 2000 });
        QCOMPARE(pageTexts(laid), pages);
        for (const ReportPage& page : scale < 1 ? std::vector<ReportPage> {} : laid) {
            for (const PlacedText& text : page.texts) {
                QVERIFY2(text.rect.bottom() <= 2000 - 100 + 0.5, qPrintable(text.text + " runs into the margin"));
                if (text.text == "Foot")
                    QCOMPARE(text.rect.top(), 2000.0 - 100 - 100); // at the foot of the page
            }
            for (const Rule& rule : page.rules)
                QVERIFY(rule.top < 2000 - 100 - 100); // a detail's rule stays with it, above the footer
        }
        if (rows > 0)
            QCOMPARE(PageOfRow(laid, rows - 1), int(laid.size()) - 1 - (pages.last() == "Head Closing Foot"));
    }

    void valueText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text as held") << QVariant(" A0001 ") << int(Format::AsHeld) << " A0001 ";
        QTest::newRow("number as held") << QVariant(589.995) << int(Format::AsHeld) << "589.995";
        QTest::newRow("whole number as held") << QVariant(qint64(16)) << int(Format::AsHeld) << "16";
        QTest::newRow("amount") << QVariant(589.995) << int(Format::Amount) << "590.00";
        QTest::newRow("largest amount") << QVariant(999999999999.99) << int(Format::Amount) << "999999999999.99";
        QTest::newRow("zero amount") << QVariant(0.0) << int(Format::Amount) << ".00";
        QTest::newRow("amount held as text") << QVariant("1234.5") << int(Format::Amount) << "1234.50";
        QTest::newRow("text in an amount box") << QVariant("N.A.") << int(Format::Amount) << "N.A.";
        QTest::newRow("null") << QVariant() << int(Format::Amount) << "";
    }
    void valueText()
    {
        QFETCH(QVariant, value);
        QFETCH(int, format);
        QFETCH(QString, shown);
        QCOMPARE(ValueText(ValueBox { "v", {}, {}, Align::Left, Format(format) }, { { "v", value } }), shown);
    }

    // A value far too long for its box is drawn smaller, all of it inside the box.
    void longValueStaysInsideItsBox()
    {
        ReportPage page;
        const QRectF box(1440, 1440, 870, 240); // the invoice's rate box
        page.texts.push_back({ "999999999999.99", box, Font {}, Align::Right, false, "rate" });
        page.texts.push_back({ "Rupees Seventy Seven Lakh Seventy Seven Thousand Seven Hundred Seventy Seven and "
                               "Seventy Seven Paise Only",
            QRectF(1440, 2880, 3000, 435), Font {}, Align::Left, true, "words" });
        QImage image(1000, 1000, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(144 / 0.0254));
        image.setDotsPerMeterY(int(144 / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintReportPage(painter, page, 1.0);
        painter.end();
        const QRect inkAllowed = QRect(144, 144, 87, 24).united(QRect(144, 288, 300, 44)).adjusted(-1, -1, 1, 1);
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    ++ink;
                    QVERIFY2(inkAllowed.contains(x, y), qPrintable(QString("ink at %1,%2").arg(x).arg(y)));
                }
        QVERIFY(ink > 0);
    }

    // The window opens inside the opener's area at the asked row's page, pages
    // on, saves the whole report (nothing where it cannot be written), and
    // tells once that it closed.
    void reportWindowInTheMainWindowsArea()
    {
        QTemporaryDir dir;
        QMdiArea area;
        auto* opener = new QWidget;
        area.addSubWindow(opener)->show();
        ReportLayout layout = smallLayout(0, 0);
        layout.detail.height = 5000; // three details to an A4 page
        zelva::ReportWindow* window
            = zelva::ReportWindow::Open(opener, layout, numberedRows(7), dir.filePath("Prints"), 4);
        QCOMPARE(area.subWindowList().size(), 2);
        QCOMPARE(window->pageCount(), 3);
        QCOMPARE(window->currentPage(), 2);
        window->cmdNext->click();
        QCOMPARE(window->lblPage->text(), "Page 3 of 3");
        QVERIFY(!window->cmdNext->isEnabled());

        QVERIFY(window->defaultPdfPath().startsWith(dir.filePath("Prints/Small 2")));
        QVERIFY(window->savePdf(dir.filePath("saved.pdf")));
        QCOMPARE(pdfPageCount(dir.filePath("saved.pdf")), 3);
        QPdfWriter unwritable(dir.filePath("missing/folder/small.pdf"));
        QCOMPARE(RenderReport(unwritable, layout, numberedRows(7)), -1);

        int closed = 0;
        connect(window, &zelva::ReportWindow::closed, [&] { ++closed; });
        QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        window->cmdClose->click();
        QCOMPARE(closed, 1);
        QTRY_VERIFY(frame.isNull());
        QCOMPARE(area.subWindowList().size(), 1);
    }

    // Forty rows of three to an A4 page: fourteen pages, counted at once but
    // drawn only as they come into sight; the last page shows its one row,
    // and the PDF has the pages the preview counted.
    void previewDrawsThePagesInSight()
    {
        QTemporaryDir dir;
        ReportLayout layout = smallLayout(0, 0);
        layout.detail.height = 5000;
        zelva::ReportWindow window(layout, numberedRows(40), dir.filePath("Prints"));
        window.resize(800, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.lblPage->text(), "Page 1 of 14");
        QTRY_VERIFY(window.preview->drawnPages().contains(1));
        QVERIFY(window.preview->drawnPages().size() <= 2);
        const int firstPageInk = inkShown(window.preview);

        window.cmdLast->click();
        QCOMPARE(window.lblPage->text(), "Page 14 of 14");
        QVERIFY(!window.cmdNext->isEnabled() && window.cmdPrevious->isEnabled());
        QTRY_VERIFY(window.preview->drawnPages().contains(14));
        QVERIFY(!window.preview->drawnPages().contains(7));
        QCOMPARE(window.pages().back().firstRow, 39);
        const int lastPageInk = inkShown(window.preview); // one row where the first page has three
        QVERIFY2(lastPageInk > 0 && lastPageInk < firstPageInk * 2 / 3,
            qPrintable(QString("ink %1 on the last page, %2 on the first").arg(lastPageInk).arg(firstPageInk)));

        window.cmdPrevious->click();
        QCOMPARE(window.lblPage->text(), "Page 13 of 14");
        QScrollBar* scroll = window.preview->verticalScrollBar();
        scroll->setValue(scroll->maximum() / 2); // the operator scrolls to the middle
        QVERIFY2(QStringList({ "Page 7 of 14", "Page 8 of 14" }).contains(window.lblPage->text()),
            qPrintable(window.lblPage->text()));
        QVERIFY(window.cmdNext->isEnabled() && window.cmdPrevious->isEnabled());
        QVERIFY(window.savePdf(dir.filePath("long.pdf")));
        QCOMPARE(pdfPageCount(dir.filePath("long.pdf")), window.pageCount());
    }

    // Without a printer the pages become one PDF in the folder, and the
    // operator is told where; a folder that cannot be made prints nothing.
    void pagesWithoutAPrinterGoToPdf()
    {
        QTemporaryDir dir;
        QStringList messages;
        zelva::SetMessageHook([&](const QString& text, const QString&) { messages << text; });
        zelva::SetPdfOnly(true);
        QLabel page("page");
        page.resize(400, 600);
        QStringList prepared;
        auto prepare = [&](int i) { prepared << QString::number(i); };

        const zelva::PrintOutcome written
            = zelva::PrintWidgetPages(&page, 3, prepare, "A00012", dir.filePath("Prints"));
        QVERIFY(written.printed);
        QCOMPARE(written.pdfPath, dir.filePath("Prints/A00012.pdf"));
        QCOMPARE(pdfPageCount(written.pdfPath), 3);
        QCOMPARE(prepared, QStringList({ "0", "1", "2" }));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QDir::toNativeSeparators(written.pdfPath)));

        QFile blocker(dir.filePath("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        const zelva::PrintOutcome refused
            = zelva::PrintWidgetPages(&page, 3, prepare, "A00013", dir.filePath("blocked"));
        QVERIFY(!refused.printed);
        QVERIFY(refused.pdfPath.isEmpty());
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains("Nothing was printed"));
        zelva::SetPdfOnly(false);
        zelva::SetMessageHook({});
    }
};

QTEST_MAIN(ReportTest)
#include "test_report.moc"
