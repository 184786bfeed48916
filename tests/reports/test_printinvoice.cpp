// Print Duplicate Invoice: the list narrowed by dates and a typed part of the
// number or buyer, newest first, and the chosen invoice alone on one page of
// the invoice report, captioned "Duplicate Copy".
#include "reports/frmprintinvoice.h"

#include "reports/invoiceshape.h"
#include "reports/reportlayouts.h"
#include "support/formdriver.h"
#include "ui/reportwindow.h"

#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace zelva;
using testing::Base;
using testing::InvoiceShape;

namespace {

// Invoice serial, date and buyer; saved out of date order on purpose.
InvoiceShape invoice(int sno, const char* date, const char* buyer)
{
    return { sno, date, buyer, "N.A.", "Kerala", "Depot", "Kerala", TaxMode::Igst,
        { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } }, Base { nullptr, "N.A.", "0", "18", "36.00" }, Base {},
        Base {}, "0", 36 };
}

QStringList pageTexts(const ReportWindow& window, int page)
{
    QStringList texts;
    for (const report::PlacedText& text : window.pages().at(page).texts)
        texts << text.text;
    return texts;
}

} // namespace

class TestPrintInvoice : public QObject {
    Q_OBJECT
private slots:
    void findsByPartAndShowsOneDuplicatePage_data();
    void findsByPartAndShowsOneDuplicatePage();
    void twelveDigitsOnOneLineOfTheRegisters();
};

void TestPrintInvoice::findsByPartAndShowsOneDuplicatePage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QStringList>("listed"); // newest first
    const QDate year(2026, 4, 1);
    QTest::newRow("all, newest date first")
        << "" << year << QStringList { "A00012", "A00010", "A00011", "A00002", "A00001" };
    QTest::newRow("part of the number") << "0011" << year << QStringList { "A00011" };
    QTest::newRow("buyer, any case") << "KOCHI" << year << QStringList { "A00012", "A00002" };
    QTest::newRow("from date") << "" << QDate(2026, 9, 1) << QStringList { "A00012", "A00010", "A00011" };
}

void TestPrintInvoice::findsByPartAndShowsOneDuplicatePage()
{
    QFETCH(QString, typed);
    QFETCH(QDate, from);
    QFETCH(QStringList, listed);
    testing::TempData data;
    for (const InvoiceShape& shape : { invoice(1, "02/04/2026", "Arun Traders"), invoice(2, "15/8/2026", "Kochi Stores"),
             invoice(3, "31/03/2026", "Old Year"), invoice(10, "20/10/2026", "Bharat Motors"),
             invoice(11, "03/10/2026", "Cochin Paints"), invoice(12, "1/11/2026", "kochi stores annexe") })
        testing::writeInvoice(*data.db, shape);
    testing::MessageRecorder messages;
    frmPrintInvoice form(*data.db);
    form.dtpFrom->setDate(from);
    form.dtpTo->setDate({ 2026, 12, 31 });
    testing::typeInto(form.txtFind, typed);
    QCOMPARE(form.listedNumbers(), listed);

    form.grdInvoices->selectRow(int(listed.size()) - 1); // the oldest listed
    ReportWindow* window = form.showDuplicate();
    QVERIFY(window);
    QCOMPARE(window->pageCount(), 1);
    const QStringList texts = pageTexts(*window, 0);
    QVERIFY(texts.contains("Duplicate Copy"));
    QVERIFY(texts.contains(listed.last()));
    for (const QString& other : listed.mid(0, listed.size() - 1))
        QVERIFY2(!texts.contains(other), qPrintable(other));
    QVERIFY(messages.texts().isEmpty());
    window->close();
}

// The stock, purchase and issue reports print a 12-digit quantity and rate
// whole on one line, at 6 points at least, within their own boxes.
void TestPrintInvoice::twelveDigitsOnOneLineOfTheRegisters()
{
    const report::ReportRow row { { "Quantity", 987654321098.0 }, { "Rate", 999999999999.99 }, { "Per", "Nos." },
        { "ItemName", "Laptop" } };
    QImage twips(1, 1, QImage::Format_RGB32); // measures in twips
    twips.setDotsPerMeterX(int(1440 / 0.0254));
    twips.setDotsPerMeterY(int(1440 / 0.0254));
    const QFontMetricsF least(QFont("Arial", 6), &twips);
    for (const report::ReportLayout& layout :
        { StockReportLayout({}), PurchaseReportLayout({}), IssueReportLayout({}) }) {
        QStringList shown;
        std::vector<QRectF> boxes;
        for (const report::ValueBox& box : layout.detail.values) {
            boxes.push_back(box.rect);
            if (box.column != "Quantity" && box.column != "Rate")
                continue;
            const QString text = report::ValueText(box, row);
            shown << text;
            QVERIFY2(!box.wrap && least.horizontalAdvance(text) <= box.rect.width(), qPrintable(layout.caption + ": " + text));
        }
        QVERIFY(shown.contains("987654321098"));
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j)
                QVERIFY2(!boxes[i].intersects(boxes[j]), qPrintable(layout.detail.values[i].column));
    }
}

QTEST_MAIN(TestPrintInvoice)
#include "test_printinvoice.moc"
