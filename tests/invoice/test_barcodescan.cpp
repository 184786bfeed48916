// A barcode scanner at both invoice forms, driven as the scanner types (the
// code's keys and Enter): a scanned code adds its item's line with a
// quantity of 1, the same item again one more on its line; an unknown code
// or one misread (a wrong check digit) adds nothing and says so; a full
// invoice takes no eighth line; with the setting on, a scan anywhere on the
// form adds its line and leaves the box it was typed into as it was; no
// invoice open: the scan is ignored with a note. The lines that take an
// item to its reorder level warn and are saved all the same.
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/shop.h"
#include "sales/barcodes.h"
#include "sales/countersettings.h"
#include "sales/reorderlevel.h"
#include "ui/scancatcher.h"
#include "ui/statusnote.h"

using namespace zelva;
using namespace testing;

namespace {

const QString CableCode = "4006381333931"; // EAN-13
const QString SoapCode = "SOAP-0012";      // the shop's own

void shop(Database& db, bool scanAnywhere = false)
{
    Transaction work(db, "set up");
    addSeller(db);
    addBuyer(db, 1, "Kochi Stores", "Kerala");
    addItem(db, 1, "Cable", 400, 100);
    addItem(db, 2, "Soap", 35.5, 12, "3401");
    StoreItemBarcodesWithin(db, "G00001", {CableCode});
    StoreItemBarcodesWithin(db, "G00002", {"96385074", SoapCode});
    StoreReorderLevelWithin(db, "G00002", 10);
    for (int item = 3; item <= 9; ++item) {
        addItem(db, item, QString("Item %1").arg(item), 10 * item, 50);
        StoreItemBarcodesWithin(db, QString("G%1").arg(item, 5, 10, QChar('0')), {QString("SHOP-%1").arg(item)});
    }
    StoreCounterSettingsWithin(db, 1, {WideRollMm, scanAnywhere});
    work.commit();
}

std::unique_ptr<InvoiceForm> newForm(Database& db, bool seperateGst)
{
    if (seperateGst)
        return std::make_unique<frmTaxInvoiceSeperateGst>(db);
    return std::make_unique<frmTaxInvoice>(db);
}

void scan(QWidget* into, const QString& code)
{
    QTest::keyClicks(into, code);
    QTest::keyClick(into, Qt::Key_Return);
}

// Each goods line on screen as "description quantity amount".
QStringList linesShown(const InvoiceForm& form)
{
    QStringList shown;
    for (int row = InvoiceForm::FirstGoodsRow; row <= InvoiceForm::LastGoodsRow; ++row)
        if (form.txtSNo[row]->isVisibleTo(form.invoicePage()))
            shown << QString("%1 %2 %3").arg(form.txtDescriptionOfGoods[row]->text(), form.txtQuantity[row]->text(),
                                               form.txtAmount[row]->text());
    return shown;
}

void addSeparateGstColumn()
{
    QTest::addColumn<bool>("seperateGst");
    QTest::newRow("tax invoice") << false;
    QTest::newRow("separate GST") << true;
}

} // namespace

class BarcodeScanTest : public QObject {
    Q_OBJECT
private slots:
    void scansIntoTheGoodsBox_data() { addSeparateGstColumn(); }
    void scansIntoTheGoodsBox()
    {
        QFETCH(bool, seperateGst);
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        auto form = newForm(*data.db, seperateGst);
        click(form->cmdNewInvoice);
        QVERIFY(pick(form->cboBuyerName, "Kochi Stores"));
        QWidget* goods = form->cboDescriptionOfGoods;

        scan(goods, SoapCode);
        scan(goods, CableCode);
        scan(goods, CableCode); // the same item: one more on its line
        QCOMPARE(linesShown(*form), (QStringList{"Soap 1 35.50", "Cable 2 800.00"}));
        QCOMPARE(messages.texts(), QStringList());

        scan(goods, "8901030865275"); // well formed, nobody's
        QVERIFY2(messages.last().contains("No item has the barcode \"8901030865275\""), qPrintable(messages.last()));
        scan(goods, "4006381333932"); // the cable's code misread
        QVERIFY2(messages.last().contains("wrong check digit"), qPrintable(messages.last()));
        QCOMPARE(linesShown(*form), (QStringList{"Soap 1 35.50", "Cable 2 800.00"}));
        QCOMPARE(messages.texts().size(), 2);

        scan(goods, "96385074"); // the soap's other code: 12 on hand, 10 left at its level
        QCOMPARE(messages.texts().size(), 3);
        QVERIFY2(messages.last().contains("Soap") && messages.last().contains("10 left"), qPrintable(messages.last()));
        QCOMPARE(linesShown(*form), (QStringList{"Soap 2 71.00", "Cable 2 800.00"}));
        QCOMPARE(form->shownInvoice().totals.goods, 87100);

        QVERIFY(pick(form->cboGoodsCgst, "CGST @ 9%"));
        click(form->cmdSave);
        QCOMPARE(messages.last(), "Saved Successfully");
        QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice, "SELECT Quantity1, Amount1, Quantity2, Amount2 FROM GoodsInvoice"),
                 (QList<QVariantList>{{2.0, 71.0, 2.0, 800.0}}));
        QCOMPARE(rowsInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE sno IN (1, 2) ORDER BY sno"),
                 (QList<QVariantList>{{98.0}, {10.0}}));
    }

    // Seven lines fill an invoice: the eighth item scanned is not added, a
    // scan of an item on it still adds one.
    void fullInvoiceTakesNoEighthLine()
    {
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        click(form.cmdNewInvoice);
        QVERIFY(pick(form.cboBuyerName, "Kochi Stores"));
        scan(form.cboDescriptionOfGoods, CableCode);
        for (int item = 3; item <= 8; ++item)
            scan(form.cboDescriptionOfGoods, QString("SHOP-%1").arg(item));
        QCOMPARE(linesShown(form).size(), InvoiceForm::GoodsRows);
        QCOMPARE(messages.texts(), QStringList());
        scan(form.cboDescriptionOfGoods, "SHOP-9");
        QVERIFY2(messages.last().contains("full"), qPrintable(messages.last()));
        QCOMPARE(linesShown(form).size(), InvoiceForm::GoodsRows);
        QVERIFY(!linesShown(form).join(' ').contains("Item 9"));
        scan(form.cboDescriptionOfGoods, CableCode);
        QCOMPARE(linesShown(form).first(), "Cable 2 800.00");
    }

    // With the setting on, a scan into another box adds the line and leaves
    // that box as it was; typed by hand the box takes the keys as ever. No
    // invoice open: the scan is ignored with a note in the status bar.
    void scansAnywhereWhenTheSettingSaysSo_data() { addSeparateGstColumn(); }
    void scansAnywhereWhenTheSettingSaysSo()
    {
        QFETCH(bool, seperateGst);
        TempData data;
        shop(*data.db, true);
        MessageRecorder messages;
        QStringList notes;
        SetStatusNoteHandler([&](const QString& note) { notes << note; });
        auto form = newForm(*data.db, seperateGst);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        form->cmdNewInvoice->setFocus();
        QTRY_VERIFY2(form->cmdNewInvoice->hasFocus(), qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none"));
        scan(form->cmdNewInvoice, CableCode);
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes.last().contains("No invoice is open"), qPrintable(notes.last()));
        QVERIFY(!form->invoicePending());

        click(form->cmdNewInvoice);
        QVERIFY(pick(form->cboBuyerName, "Kochi Stores"));
        form->txtOrderNo->setFocus();
        typeInto(form->txtOrderNo, "PO-7");
        QTest::qWait(ScanKeyGapMs * 2); // the operator's typing ends before the scan
        scan(form->txtOrderNo, CableCode);
        QCOMPARE(form->txtOrderNo->text(), "PO-7");
        QCOMPARE(linesShown(*form), QStringList{"Cable 1 400.00"});
        QCOMPARE(messages.texts(), QStringList());
        SetStatusNoteHandler({});
    }

    // A code typed by hand into the goods box, a key at a time slower than a
    // scanner types, is the box's typing and adds no line, whether Enter
    // follows at once or after a pause; a scan afterwards still adds one.
    void slowTypingIsNoScan_data()
    {
        QTest::addColumn<int>("enterAfterMs");
        QTest::newRow("Enter at once") << 0;
        QTest::newRow("Enter after a pause") << ScanKeyGapMs + 40;
    }
    void slowTypingIsNoScan()
    {
        QFETCH(int, enterAfterMs);
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        click(form.cmdNewInvoice);
        QVERIFY(pick(form.cboBuyerName, "Kochi Stores"));
        QWidget* goods = form.cboDescriptionOfGoods;
        for (const QChar key : CableCode)
            QTest::keyClick(goods, key.toLatin1(), Qt::NoModifier, ScanKeyGapMs + 25);
        QTest::keyClick(goods, Qt::Key_Return, Qt::NoModifier, enterAfterMs);
        QCOMPARE(linesShown(form), QStringList());
        for (const QString& told : messages.texts())
            QVERIFY2(!told.contains("barcode"), qPrintable(told));

        form.cboDescriptionOfGoods->setCurrentIndex(-1);
        scan(goods, CableCode);
        QCOMPARE(linesShown(form), QStringList{"Cable 1 400.00"});
    }

    // With the setting off, a scan into another box is that box's typing.
    void scansOnlyInTheGoodsBoxByDefault()
    {
        TempData data;
        shop(*data.db, false);
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        click(form.cmdNewInvoice);
        QVERIFY(pick(form.cboBuyerName, "Kochi Stores"));
        form.txtOrderNo->setFocus();
        scan(form.txtOrderNo, CableCode);
        QCOMPARE(form.txtOrderNo->text(), CableCode);
        QCOMPARE(linesShown(form), QStringList());
    }
};

QTEST_MAIN(BarcodeScanTest)
#include "test_barcodescan.moc"
