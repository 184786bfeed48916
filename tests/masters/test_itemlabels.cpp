// Item Labels worked as the shopkeeper works it: items picked and the number
// of labels typed (or filled from a purchase bill), the sheet and the label to
// start at chosen, Print; the PDF read back as a scanner and a reader would:
// every label's barcode decodes to the item's code at the label's place, and
// its name (whole, however long) and price are on it.
#include "invoice/shop.h"
#include "masters/frmitemlabels.h"

#include "data/database.h"
#include "data/datafolder.h"
#include "sales/barcodes.h"
#include "sales/itemlabels.h"
#include "sales/purchasebill.h"
#include "support/qrdecode.h"
#include "ui/printing.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace zelva;
using namespace testing;

namespace {

const QString LongName = "Basmati rice, aged extra long grain, premium export quality, in a five kilo cloth bag";

struct Item {
    int sno;
    QString name;
    double rate;
    QString barcode; // "" for none
    QString entry() const { return QStringLiteral("%1 (G%2)").arg(name).arg(sno, 5, 10, QChar('0')); }
};
const Item Rice{1, LongName, 612.5, "5901234123457"}; // EAN-13
const Item Soap{2, "Bath Soap", 35.75, "96385074"}; // EAN-8
const Item Wire{3, "Copper Wire", 1234, "ZT-0042"}; // the shop's own: Code 128
const Item Twine{4, "Loose Twine", 18, ""};

void shop(Database& db)
{
    Transaction work(db, "set up");
    for (const Item& item : {Rice, Soap, Wire, Twine}) {
        addItem(db, item.sno, item.name, item.rate, 50);
        if (!item.barcode.isEmpty())
            StoreItemBarcodesWithin(db, QStringLiteral("G%1").arg(item.sno, 5, 10, QChar('0')), {item.barcode});
    }
    work.commit();
}

QString labelsPdf(const TempData& data) { return QDir(PrintsFolder(data.folder())).filePath("Item Labels.pdf"); }

int run(const QString& program, const QStringList& arguments, QString* out = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitCode();
}

// The text inside a rect of a page, in millimetres.
QString textWithin(const QString& pdf, int page, const QRectF& mm)
{
    const auto points = [](double millimetres) { return QString::number(qRound(millimetres / 25.4 * 72)); };
    QString out;
    run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-x", points(mm.x()), "-y",
                      points(mm.y()), "-W", points(mm.width()), "-H", points(mm.height()), pdf, "-"},
        &out);
    return out.normalized(QString::NormalizationForm_KC).simplified(); // the ligatures as their letters
}

QImage cropMm(const QImage& page, const QRectF& mm, int dpi)
{
    const double perMm = dpi / 25.4;
    return page.copy(QRectF(mm.topLeft() * perMm, mm.size() * perMm).toRect());
}

int pageCount(const QString& pdf, QSizeF* sizeMm)
{
    QString info;
    run("pdfinfo", {pdf}, &info);
    const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(info);
    if (sizeMm && size.hasMatch())
        *sizeMm = QSizeF(size.captured(1).toDouble() / 72 * 25.4, size.captured(2).toDouble() / 72 * 25.4);
    return QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
}

void addLabels(frmItemLabels& form, const Item& item, const QString& count)
{
    QVERIFY2(pick(form.cboItem, item.entry()), qPrintable(item.entry()));
    typeInto(form.txtCount, count);
    click(form.cmdAdd);
}

QStringList listed(const frmItemLabels& form)
{
    QStringList rows;
    for (int row = 0; row < form.grdLabels->rowCount(); ++row)
        rows << form.grdLabels->item(row, 1)->text() + " x" + form.grdLabels->item(row, 3)->text();
    return rows;
}

PurchaseBillLine billLine(const Item& item, double quantity)
{
    PurchaseBillLine line;
    line.stock = StockTable::ForSale;
    line.itemCode = QStringLiteral("G%1").arg(item.sno, 5, 10, QChar('0'));
    line.itemName = item.name;
    line.per = "Nos.";
    line.rate = item.rate;
    line.quantity = quantity;
    line.taxable = LineAmount(quantity, item.rate);
    return line;
}

void storeBill(Database& db, const QString& number, const QDate& date, const QString& supplier,
               std::vector<PurchaseBillLine> lines)
{
    PurchaseBill bill;
    bill.number = number;
    bill.date = date;
    bill.supplierName = supplier;
    bill.supplierGstin = "N.A.";
    bill.supplierState = "Kerala";
    bill.lines = std::move(lines);
    ComputePurchaseTaxes(bill, "Kerala", "32AAAAA0000A1Z5");
    QCOMPARE(StorePurchaseBill(db, bill), QString());
}

} // namespace

class ItemLabelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetPdfOnly(true); }
    void cleanupTestCase() { SetPdfOnly(false); }

    // Nine labels of three items on a sheet of 65 from its 30th label: each
    // at its place, its code read back as its kind, its name whole and price.
    void sheetFromAPlaceInTheMiddle()
    {
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        frmItemLabels form(*data.db);
        addLabels(form, Rice, "3");
        addLabels(form, Soap, "2");
        addLabels(form, Wire, "4");
        QCOMPARE(listed(form), (QStringList{LongName + " x3", "Bath Soap x2", "Copper Wire x4"}));
        const LabelLayout& sheet = LabelLayouts().front();
        QCOMPARE(sheet.perSheet(), 65);
        QVERIFY(pick(form.cboLayout, sheet.name));
        typeInto(form.txtStart, "30");
        click(form.cmdPrint);
        const QString pdf = labelsPdf(data);
        QVERIFY2(QFile::exists(pdf), qPrintable(messages.texts().join('|')));
        QSizeF paper;
        QCOMPARE(pageCount(pdf, &paper), 1);
        QCOMPARE(qRound(paper.width()), 210);
        QCOMPARE(qRound(paper.height()), 297);

        const int dpi = 400;
        const QImage page = RenderPdfPage(pdf, 1, dpi);
        QVERIFY(!page.isNull());
        // zbar tells a code found several times on one image once
        QStringList all = DecodeBarcodes(page);
        all.sort();
        QCOMPARE(all, (QStringList{Rice.barcode, Soap.barcode, Wire.barcode}));

        // positions 29 to 37 (from 0) in the order the labels were listed, a code each
        const std::vector<const Item*> order{&Rice, &Rice, &Rice, &Soap, &Soap, &Wire, &Wire, &Wire, &Wire};
        for (int i = 0; i < int(order.size()); ++i) {
            const QRectF label = sheet.labelRectMm(29 + i);
            const Item& item = *order[size_t(i)];
            QCOMPARE(DecodeBarcodes(cropMm(page, label, dpi)), QStringList{item.barcode});
            const QString text = textWithin(pdf, 1, label);
            QVERIFY2(text.contains(item.name.simplified()), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("Rs. ") + AmountText(ToPaise(item.rate))), qPrintable(text));
            QVERIFY2(text.contains(item.barcode), qPrintable(text));
        }
        // nothing on the used part of the sheet, nor after the last label
        const QRectF before(0, 0, 210, sheet.labelRectMm(29).top());
        QCOMPARE(DecodeBarcodes(cropMm(page, before, dpi)), QStringList());
        QCOMPARE(textWithin(pdf, 1, before), QString());
        const QRectF after(0, sheet.labelRectMm(38).bottom(), 210, 297 - sheet.labelRectMm(38).bottom());
        QCOMPARE(DecodeBarcodes(cropMm(page, after, dpi)), QStringList());
    }

    // A label printer's page holds one label: a page a label, of the label's size.
    void labelPrinterPageALabel()
    {
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        frmItemLabels form(*data.db);
        addLabels(form, Wire, "1");
        addLabels(form, Soap, "2");
        const LabelLayout& printer = LabelLayouts().back();
        QCOMPARE(printer.perSheet(), 1);
        QVERIFY(pick(form.cboLayout, printer.name));
        QVERIFY(!form.txtStart->isEnabled());
        click(form.cmdPrint);
        const QString pdf = labelsPdf(data);
        QVERIFY2(QFile::exists(pdf), qPrintable(messages.texts().join('|')));
        QSizeF paper;
        QCOMPARE(pageCount(pdf, &paper), 3);
        QCOMPARE(qRound(paper.width()), qRound(printer.paperMm.width()));
        QCOMPARE(qRound(paper.height()), qRound(printer.paperMm.height()));
        const QStringList expected{Wire.barcode, Soap.barcode, Soap.barcode};
        for (int page = 1; page <= 3; ++page)
            QCOMPARE(DecodeBarcodes(RenderPdfPage(pdf, page, 600)), QStringList{expected[page - 1]});
    }

    // The newest bill of the number typed: a label a unit (a part of a unit
    // one more), an item on two lines once; an item without a barcode named.
    void filledFromAPurchaseBill()
    {
        TempData data;
        shop(*data.db);
        storeBill(*data.db, "INV/0042", QDate::currentDate().addDays(-30), "Old Traders", {billLine(Wire, 9)});
        storeBill(*data.db, "inv-42", QDate::currentDate().addDays(-2), "Kerala Wholesale",
                  {billLine(Rice, 3), billLine(Twine, 5), billLine(Soap, 2.5), billLine(Rice, 2)});
        MessageRecorder messages;
        frmItemLabels form(*data.db);
        typeInto(form.txtBillNo, "INV42");
        click(form.cmdFromBill);
        QCOMPARE(listed(form), (QStringList{LongName + " x5", "Bath Soap x3"}));
        QVERIFY2(messages.last().contains("Kerala Wholesale") && messages.last().contains(Twine.entry()),
                 qPrintable(messages.last()));

        messages.clear();
        typeInto(form.txtBillNo, "INV43");
        click(form.cmdFromBill);
        QCOMPARE(messages.texts(), QStringList{"No purchase bill has the number INV43."});
        QCOMPARE(listed(form).size(), 2);
    }

    // Bad entries are refused naming the box, and nothing is printed.
    void refusals()
    {
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        frmItemLabels form(*data.db);
        addLabels(form, Twine, "2");
        QVERIFY2(messages.last().contains("Loose Twine (G00004) has no barcode"), qPrintable(messages.last()));
        QCOMPARE(form.grdLabels->rowCount(), 0);
        for (const char* count : {"2a", "0", "1.5"}) {
            messages.clear();
            addLabels(form, Soap, count);
            QVERIFY2(messages.last().startsWith("Number of labels"), qPrintable(messages.last()));
            QCOMPARE(form.grdLabels->rowCount(), 0);
        }
        addLabels(form, Soap, "2");
        addLabels(form, Wire, "1");
        QVERIFY(pick(form.cboLayout, LabelLayouts().front().name));
        messages.clear();
        typeInto(form.txtStart, "66");
        click(form.cmdPrint);
        QVERIFY2(messages.last().startsWith("Start at label must be"), qPrintable(messages.last()));
        typeInto(form.txtStart, "1");
        form.grdLabels->item(0, 3)->setText("two");
        click(form.cmdPrint);
        QVERIFY2(messages.last().startsWith("Labels of Bath Soap"), qPrintable(messages.last()));
        QVERIFY(!QFile::exists(labelsPdf(data)));
        form.grdLabels->item(0, 3)->setText("2");
        click(form.cmdPrint);
        QVERIFY2(QFile::exists(labelsPdf(data)), qPrintable(messages.texts().join('|')));
    }
};

QTEST_MAIN(ItemLabelsTest)
#include "test_itemlabels.moc"
