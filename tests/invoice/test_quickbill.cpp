// Quick Bill on both invoice forms: the invoice is saved, then printed on the
// company's receipt roll (here a PDF of that width in Prints/, no printer):
// every figure of the stored invoice is on the page, no line is longer than
// the roll takes (a long name wraps), the tax by rate, and the pay QR reads
// back when the company has a UPI ID.
#include "invoice/frmtaxinvoice.h"
#include "platform/datetext.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/quickbill.h"
#include "reports/frmprintinvoice.h"
#include "invoice/shop.h"
#include "data/datafolder.h"
#include "sales/companypayment.h"
#include "sales/countersettings.h"
#include "sales/invoicestore.h"
#include "support/qrdecode.h"
#include "ui/printing.h"

#include <QDateEdit>
#include <QDir>
#include <QTableView>
#include <QPageSize>
#include <QPdfWriter>

using namespace zelva;
using namespace testing;

namespace {

const QString LongName = "Copper cable twin core 2.5 sq mm fire retardant, red and black, in a coil of ninety metres";

void shop(Database& db, int rollMm, const QString& upiId)
{
    Transaction work(db, "set up");
    addSeller(db);
    addBuyer(db, 1, "Walk-in", "Kerala");
    addBuyer(db, 2, "Chennai Mart", "Tamil Nadu");
    addItem(db, 1, LongName, 1234.56, 100);
    addItem(db, 2, "Soap", 35.5, 100, "3401");
    StoreCounterSettingsWithin(db, 1, {rollMm, false});
    StoreCompanyPaymentWithin(db, 1, {upiId, DefaultEwayBillLimit});
    work.commit();
}

QString pdfText(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The stored invoice's figures that the Quick Bill's text does not hold.
QStringList figuresMissing(const QString& text, const Invoice& stored)
{
    QStringList figures{stored.number, DateText(stored.date), AmountText(stored.totals.goods), AmountText(stored.totals.grand)};
    for (const InvoiceLine& line : stored.lines)
        figures << AmountText(line.amount) << FormatAmount(line.rate);
    for (const RateTax& byRate : GoodsTaxByRate(stored))
        figures << AmountText(byRate.tax.igst + byRate.tax.cgst) << AmountText(byRate.taxable);
    if (stored.rounding.amount != 0)
        figures << AmountText(stored.rounding.amount);
    QStringList missing;
    for (const QString& figure : figures)
        if (!text.contains(figure))
            missing << figure;
    return missing;
}

std::unique_ptr<InvoiceForm> newForm(Database& db, bool seperateGst)
{
    if (seperateGst)
        return std::make_unique<frmTaxInvoiceSeperateGst>(db);
    return std::make_unique<frmTaxInvoice>(db);
}

} // namespace

class QuickBillTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetPdfOnly(true); }
    void cleanupTestCase() { SetPdfOnly(false); }

    void savedAndPrintedOnTheRoll_data()
    {
        QTest::addColumn<bool>("seperateGst");
        QTest::addColumn<int>("rollMm");
        QTest::addColumn<QString>("buyer");
        QTest::addColumn<QString>("upiId");
        QTest::newRow("tax invoice, 58 mm, CGST and SGST, UPI") << false << 58 << "Walk-in" << "zelva.traders@okbank";
        QTest::newRow("separate GST, 80 mm, IGST, no UPI") << true << 80 << "Chennai Mart" << "";
    }
    void savedAndPrintedOnTheRoll()
    {
        QFETCH(bool, seperateGst);
        QFETCH(int, rollMm);
        QFETCH(QString, buyer);
        QFETCH(QString, upiId);
        TempData data;
        shop(*data.db, rollMm, upiId);
        MessageRecorder messages;
        auto form = newForm(*data.db, seperateGst);
        click(form->cmdNewInvoice);
        QVERIFY(pick(form->cboBuyerName, buyer));
        for (auto [item, quantity] : {std::pair{LongName, "3"}, {"Soap", "7"}}) {
            QVERIFY(pick(form->cboDescriptionOfGoods, item));
            typeInto(form->txtQuantity[0], quantity);
            click(form->cmdAdd);
        }
        QVERIFY(pick(form->cboGoodsCgst, buyer == "Walk-in" ? "CGST @ 9%" : "IGST @ 18%"));
        focusIn(form->txtTotalAmount);
        QVERIFY(form->cmdQuickBill->isEnabled());
        click(form->cmdQuickBill);
        QVERIFY2(messages.texts().contains("Saved Successfully"), qPrintable(messages.texts().join('|')));
        const std::optional<Invoice> stored = LoadInvoice(*data.db, "A00001");
        QVERIFY(stored);

        const QString pdf = QDir(PrintsFolder(data.folder())).filePath("Quick Bill A00001.pdf");
        QVERIFY2(QFile::exists(pdf), qPrintable(messages.texts().join('|')));
        const QString text = pdfText(pdf);
        QVERIFY2(figuresMissing(text, *stored).isEmpty(), qPrintable(figuresMissing(text, *stored).join(", ") + " not in:\n" + text));
        QVERIFY(!text.contains("Duplicate Copy"));
        QVERIFY2(text.contains(buyer == "Walk-in" ? "SGST 9%" : "IGST 18%"), qPrintable(text));
        QVERIFY2(text.simplified().contains(stored->totals.words.simplified().left(20)), qPrintable(text));
        QVERIFY2(text.simplified().contains("fire retardant"), qPrintable(text)); // the long name wrapped, not cut

        // the page's lines within the roll; the paper the roll's width, as long as the bill
        const QStringList lines = QuickBillLines(*stored, form->shownInvoice().seller, RollColumns(rollMm));
        for (const QString& line : lines)
            QVERIFY2(line.size() <= RollColumns(rollMm), qPrintable(line));
        QProcess info;
        info.start("pdfinfo", {pdf});
        info.waitForFinished();
        const QString pageSize = QString::fromUtf8(info.readAllStandardOutput());
        const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(pageSize);
        QVERIFY2(size.hasMatch(), qPrintable(pageSize));
        QCOMPARE(qRound(size.captured(1).toDouble() / 72 * 25.4), rollMm);
        QVERIFY(size.captured(2).toDouble() / 72 * 25.4 > lines.size() * 2); // as long as its lines

        const QStringList codes = DecodeQrCodes(RenderPdfPage(pdf, 1, 300));
        if (upiId.isEmpty())
            QCOMPARE(codes, QStringList());
        else
            QCOMPARE(codes, QStringList{UpiPayText(upiId, "Zelva Traders", stored->totals.grand, "A00001")});
    }

    // A saved invoice printed again as its Quick Bill from Print Duplicate
    // Invoice: the stored figures, marked as a copy; a cancelled one refused.
    void reprintedFromPrintInvoice()
    {
        TempData data;
        shop(*data.db, 58, "zelva.traders@okbank");
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        sellOn(&form, "Chennai Mart", {{LongName, "2"}, {"Soap", "9"}}, "IGST @ 18%");
        sellOn(&form, "Walk-in", {{"Soap", "4"}}, "CGST @ 9%");
        QVERIFY2(messages.texts().count("Saved Successfully") == 2, qPrintable(messages.texts().join('|')));
        const QString pdf = QDir(PrintsFolder(data.folder())).filePath("Quick Bill A00001.pdf");
        QVERIFY(!QFile::exists(pdf));

        frmPrintInvoice reprint(*data.db);
        reprint.dtpFrom->setDate(QDate::currentDate().addDays(-1));
        QCOMPARE(reprint.listedNumbers(), (QStringList{"A00002", "A00001"}));
        reprint.grdInvoices->selectRow(1);
        click(reprint.cmdQuickBill);
        QVERIFY2(QFile::exists(pdf), qPrintable(messages.texts().join('|')));
        const std::optional<Invoice> stored = LoadInvoice(*data.db, "A00001");
        QVERIFY(stored);
        const QString text = pdfText(pdf);
        QVERIFY2(figuresMissing(text, *stored).isEmpty(), qPrintable(figuresMissing(text, *stored).join(", ") + " not in:\n" + text));
        QVERIFY2(text.contains("Duplicate Copy") && text.contains("IGST 18%") && text.contains("Chennai Mart"), qPrintable(text));
        QVERIFY2(!text.contains(AmountText(LoadInvoice(*data.db, "A00002")->totals.grand)), qPrintable(text));
        QCOMPARE(DecodeQrCodes(RenderPdfPage(pdf, 1, 300)),
                 QStringList{UpiPayText("zelva.traders@okbank", "Zelva Traders", stored->totals.grand, "A00001")});
    }
};

QTEST_MAIN(QuickBillTest)
#include "test_quickbill.moc"
