// A barcode scanner at both invoice forms, driven as the scanner types (the
// code's keys and Enter): a scanned code adds its item's line with a
// quantity of 1, the same item again one more on its line; an unknown code
// or one misread (a wrong check digit) adds nothing and says so; a full
// invoice takes no eighth line; with the setting on, a scan anywhere on the
// form adds its line and leaves the box it was typed into as it was; no
// invoice open: the scan is ignored with a note. The lines that take an
// item to its reorder level warn and are saved all the same. Scans replayed
// with a scanner's own key stamps into a form holding 100,000 items all land:
// codes with capitals (typed under Shift), an Enter sent a little late, a
// scan made while the message of an unknown code is still up. Each scan
// reads its item as stored: changed or added on the stock form meanwhile.
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/shop.h"
#include "masters/masterdriver.h"
#include "sales/barcodes.h"
#include "sales/countersettings.h"
#include "sales/reorderlevel.h"
#include "ui/scancatcher.h"
#include "ui/message.h"
#include "ui/statusnote.h"

#include <QAbstractButton>
#include <QMessageBox>

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

// Items "Bulk item 1" .. "Bulk item count" (codes B1 .., barcodes BULK-1 ..,
// rate 5 + i % 7), in one statement for each table, the same SQL on either store.
void addBulkItems(Database& db, int count)
{
    const QString numbers =
        QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
    Transaction work(db, "add items");
    db.run(numbers + "INSERT INTO \"ItemStock\".\"Stock\" (\"sno\", \"itemcode\", \"ItemName\", \"ItemHsn\", "
                     "\"Rate\", \"Per\", \"Quantity\", \"Remarks\") SELECT 100 + i, 'B' || i, 'Bulk item ' || i, "
                     "'9403', 5 + i % 7, 'Nos.', 1000, 'N.A.' FROM n",
           {}, "add items", DbFile::ItemStock);
    db.run(numbers + "INSERT INTO \"ItemStock\".\"StockBarcode\" (\"sno\", \"itemcode\", \"Barcode\") "
                     "SELECT 100 + i, 'B' || i, 'BULK-' || i FROM n",
           {}, "add items", DbFile::ItemStock);
    work.commit();
}

// A USB scanner as the program gets its keys: each character pressed and
// released a few milliseconds after the one before, a capital under Shift,
// then Enter; every event stamped by the scanner's clock. Posted, the keys
// wait in the queue behind whatever the form is busy with, as a scanner's
// keys do.
class Scanner {
public:
    static constexpr int KeyMs = 8;
    void pause(int ms) { m_clock += quint64(ms); }
    void post(QWidget* box, const QString& code, int enterAfterMs = KeyMs) { type(box, code, enterAfterMs, true); }
    void send(QWidget* box, const QString& code) { type(box, code, KeyMs, false); }
    // Enter pressed by hand.
    void pressEnter(QWidget* box)
    {
        key(box, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", false);
        key(box, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", false);
    }

private:
    void type(QWidget* box, const QString& code, int enterAfterMs, bool queued)
    {
        for (const QChar c : code) {
            const bool capital = c.isUpper();
            const Qt::KeyboardModifiers shift = capital ? Qt::ShiftModifier : Qt::NoModifier;
            if (capital)
                key(box, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, {}, queued);
            key(box, QEvent::KeyPress, c.toUpper().unicode(), shift, c, queued);
            key(box, QEvent::KeyRelease, c.toUpper().unicode(), shift, c, queued);
            if (capital)
                key(box, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, {}, queued);
            pause(KeyMs);
        }
        pause(enterAfterMs - KeyMs);
        key(box, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", queued);
        key(box, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", queued);
    }
    void key(QWidget* box, QEvent::Type type, int code, Qt::KeyboardModifiers modifiers, const QString& text, bool queued)
    {
        auto* event = new QKeyEvent(type, code, modifiers, text);
        event->setTimestamp(m_clock++);
        if (queued) {
            QCoreApplication::postEvent(box, event);
        } else {
            QApplication::sendEvent(box, event);
            delete event;
        }
    }
    quint64 m_clock = 5000000;
};

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

    // Three rounds of nine scans, stamped as a scanner stamps them, queued at
    // once into the goods box of a form holding 100,000 items: shop codes
    // with capitals (under Shift), an EAN-13 code, an Enter a little late,
    // and in the middle an unknown code, whose message is still up when the
    // next code is scanned (into the message). Every scan lands on its line,
    // in the order scanned; the unknown code adds nothing and says so each
    // time. Typing a name into the goods box by hand still picks its item.
    void everyScanLandsOnABusyForm()
    {
        TempData data;
        shop(*data.db);
        addBulkItems(*data.db, 100000);
        Scanner scanner;
        QStringList told;
        QMessageBox shownMessage(QMessageBox::NoIcon, "Zelva Billing System", {}, QMessageBox::Ok);
        SetMessageHook([&](const QString& text, const QString&) {
            told << text;
            if (!text.contains("No item has the barcode"))
                return;
            // The operator scans the next item while the message is up: its keys go to the message.
            shownMessage.setText(text);
            shownMessage.show();
            QApplication::setActiveWindow(&shownMessage);
            shownMessage.button(QMessageBox::Ok)->setFocus();
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != &shownMessage) {
                told << "the message has no focus";
                return;
            }
            scanner.pause(300);
            scanner.send(focus, "BULK-99999");
            // ... and only then presses Enter to close it.
            scanner.pause(700);
            scanner.pressEnter(focus);
        });
        frmTaxInvoice form(*data.db);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        click(form.cmdNewInvoice);
        QVERIFY(pick(form.cboBuyerName, "Kochi Stores"));
        QWidget* goods = form.cboDescriptionOfGoods;
        goods->setFocus();

        const QStringList round{"SHOP-3", CableCode, "BULK-50000", "SHOP-3", "8901030865275", CableCode,
                                "BULK-50000", CableCode, "SHOP-3"};
        for (int times = 0; times < 3; ++times)
            for (const QString& code : round) {
                scanner.post(goods, code, code == "BULK-50000" && times == 1 ? 100 : Scanner::KeyMs);
                if (code == "8901030865275") // the message is up before the next scan
                    QCoreApplication::processEvents();
                scanner.pause(400); // the operator reaches for the next item
            }
        QCoreApplication::processEvents();
        SetMessageHook({});

        QCOMPARE(linesShown(form), (QStringList{"Item 3 9 270.00", "Cable 9 3600.00", "Bulk item 50000 6 66.00",
                                                "Bulk item 99999 3 27.00"}));
        QCOMPARE(told, QStringList(3, "No item has the barcode \"8901030865275\": nothing is added."));
        QVERIFY(!shownMessage.isVisible()); // the operator's own Enter closed it
        QCOMPARE(form.shownInvoice().totals.goods, 396300);

        QTest::qWait(QApplication::keyboardInputInterval() + 50); // typing by hand, a while after the scans
        QTest::keyClicks(goods, "CAB"); // too short to be a scan: the list moves to the name
        QTest::keyClick(goods, Qt::Key_Return); // and Enter picks it
        QCOMPARE(form.cboDescriptionOfGoods->currentText(), "Cable");
        QCOMPARE(form.txtRate[InvoiceForm::EntryRow]->text(), "400");
        QCOMPARE(linesShown(form).size(), 4);
    }

    // The stock form changes an item's price and GST rate, and adds an item
    // with a barcode, while an invoice is open: the next scans take the
    // item as it is stored now. The lines already on the invoice keep theirs.
    void itemChangedWhileTheFormIsOpenReachesTheNextScan_data() { addSeparateGstColumn(); }
    void itemChangedWhileTheFormIsOpenReachesTheNextScan()
    {
        QFETCH(bool, seperateGst);
        TempData data;
        shop(*data.db);
        MessageRecorder messages;
        auto form = newForm(*data.db, seperateGst);
        click(form->cmdNewInvoice);
        QVERIFY(pick(form->cboBuyerName, "Kochi Stores"));
        QWidget* goods = form->cboDescriptionOfGoods;
        scan(goods, CableCode);
        scan(goods, SoapCode);

        frmStockEntry stockForm(*data.db);
        Operator stock(stockForm, Kind("stock"));
        stock.browseByName();
        stock.pickListed("Soap");
        stock.press("cmdEdit");
        stock.type("txtRate", "36.25");
        stock.type("txtGstRate", "5");
        stock.press("cmdUpdate");
        stock.pickListed("Item 4");
        stock.press("cmdEdit");
        stock.type("txtRate", "42.75");
        stock.type("txtGstRate", "5");
        stock.press("cmdUpdate");
        stock.startNew();
        stock.enter("txtItemName", "Torch");
        stock.enter("txtRate", "149.5");
        stock.enter("txtQuantity", "20");
        stock.enter("txtGstRate", "18");
        stock.enter("txtBarcodes", "TORCH-7");
        stock.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});

        scan(goods, "TORCH-7");
        scan(goods, "96385074"); // the soap again, by its other code: one more at the line's price
        scan(goods, "SHOP-4");
        QCOMPARE(linesShown(*form), (QStringList{"Cable 1 400.00", "Soap 2 71.00", "Torch 1 149.50", "Item 4 1 42.75"}));
        QCOMPARE(messages.texts().size(), 2); // the soap's second takes it to its reorder level
        QVERIFY2(messages.last().contains("Soap") && messages.last().contains("10 left"), qPrintable(messages.last()));
        const zelva::Invoice shown = form->shownInvoice();
        QCOMPARE(shown.lines[1].gstRate, std::nullopt); // taken before its rate was given
        QCOMPARE(shown.lines[2].gstRate, std::optional<double>(18));
        QCOMPARE(shown.lines[3].gstRate, std::optional<double>(5));
        QCOMPARE(shown.totals.goods, 40000 + 7100 + 14950 + 4275);
        // The goods list now offers the new item by hand too.
        QVERIFY(pick(form->cboDescriptionOfGoods, "Torch"));
        QCOMPARE(form->txtRate[InvoiceForm::EntryRow]->text(), "149.5");
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
