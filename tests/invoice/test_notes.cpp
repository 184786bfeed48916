// The note forms worked as an operator does: the invoice chosen first, what
// is left of each line shown, a returned quantity valued and taxed at once,
// Print saving the note and printing it twice without what is for the screen
// only; a box that is no number or asks too much names the box and stores
// nothing; the register prints a saved note again.
#include "invoice/noteform.h"
#include "platform/datetext.h"
#include "reports/frmnoteregister.h"

#include "data/database.h"
#include "sales/invoicestore.h"
#include "support/formdriver.h"
#include "support/qrdecode.h"
#include "ui/message.h"
#include "ui/printing.h"

#include <QDateEdit>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <array>

using namespace zelva;
using testing::need;

namespace {

InvoiceLine line(const char* code, const char* description, double quantity, double rate)
{
    InvoiceLine l;
    l.itemCode = code;
    l.description = description;
    l.hsn = "3208";
    l.unit = "Nos";
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    return l;
}

// Brush 136.05, Paint 2.5 x 385.15 = 962.88, Putty 437.15 to Mysore Mart,
// CGST and SGST: at the whole rate given for each line in turn.
void sellThreeLines(Database& db, const char* date, std::array<double, 3> rates)
{
    Transaction t(db, "add the items");
    for (auto [sno, code, name] : {std::tuple{1, "G00001", "Brush"}, {2, "G00002", "Paint"}, {3, "G00003", "Putty"}})
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, 40)",
               {sno, code, name}, "add an item", DbFile::ItemStock);
    Invoice x;
    x.serial = 1;
    x.number = "A00001";
    x.date = ReadDateText(date);
    x.seller.name = "Zelva Traders";
    x.buyerCode = "C00001";
    x.buyer = {"Mysore Mart", "2 Market Road", "Mysuru", "Karnataka", "570001", "29AAACI1681G1ZL"};
    x.mode = TaxMode::Cgst;
    x.lines = {line("G00001", "Brush", 3, 45.35), line("G00002", "Paint", 2.5, 385.15), line("G00003", "Putty", 7, 62.45)};
    for (std::size_t i = 0; i < x.lines.size(); ++i)
        x.lines[i].gstRate = rates[i];
    ComputeTotals(x);
    StoreInvoiceWithin(db, x);
    t.commit();
}

// All three at 18%, dated 07/12/2026.
void sellThreeLines(Database& db) { sellThreeLines(db, "07/12/2026", {18, 18, 18}); }

// Brush at 5% and Putty at 18% beside Paint at 12%, dated 20/09/2025 (the
// old slab in force then).
void sellAtThreeRates(Database& db) { sellThreeLines(db, "20/09/2025", {5, 12, 18}); }

// Each page as it leaves: its copy, number and invoice reference, and
// whether the screen's Left column went with it.
struct PageLog {
    QStringList pages;
    PageLog()
    {
        SetPageHook([this](QWidget* page, int) {
            pages << QStringList{page->findChild<QLabel*>("lblCopy")->text(), page->findChild<QLabel*>("lblTitle")->text(),
                                 page->findChild<QLineEdit*>("txtNoteNo")->text(),
                                 page->findChild<QLineEdit*>("txtInvoiceRef")->text(),
                                 page->findChild<QLineEdit*>("txtLeft_2")->isVisibleTo(page) ? "Left shown" : "no Left"}
                         .join('|');
            return true;
        });
    }
    ~PageLog() { SetPageHook({}); }
};

double paintInStock(const testing::TempData& data)
{
    return testing::valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE itemcode = 'G00002'")
        .toDouble();
}

int notesStored(const testing::TempData& data)
{
    return testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM SaleNote").toInt();
}

// A credit note started against A00001 for a sales return dated 10/12/2026.
void startReturn(frmCreditNote& form)
{
    testing::click(form.cmdNewNote);
    QVERIFY(testing::pick(form.cboInvoiceNo, "A00001"));
    QVERIFY(testing::pick(form.cboReason, SalesReturnReason()));
    testing::typeInto(form.txtNoteDate, "10/12/2026");
}

} // namespace

class NoteFormsTest : public QObject {
    Q_OBJECT
private slots:
    void returnIsValuedTaxedSavedAndPrinted();
    void badBoxIsNamedAndNothingStored_data();
    void badBoxIsNamedAndNothingStored();
    void registerReprintsANoteAndWritesItsEInvoice();
    void noteOnAnInvoiceOfSeveralRates();
};

// Brush and Putty back, Paint between them kept: each taxed at its invoice
// line's rate. Brush 2 x 45.35 = 90.70 at 2.5% each = 2.27 (2.2675); Putty
// 3 x 62.45 = 187.35 at 9% each = 16.86 (16.8615).
void NoteFormsTest::noteOnAnInvoiceOfSeveralRates()
{
    testing::TempData data;
    sellAtThreeRates(*data.db);
    testing::MessageRecorder messages;
    frmCreditNote form(*data.db, "ravi");
    testing::click(form.cmdNewNote);
    QVERIFY(testing::pick(form.cboInvoiceNo, "A00001"));
    QVERIFY(testing::pick(form.cboReason, SalesReturnReason()));
    testing::typeInto(form.txtNoteDate, "10/12/2025");
    testing::typeInto(form.txtQuantity[1], "2");
    testing::focusOut(form.txtQuantity[1]);
    testing::typeInto(form.txtQuantity[3], "3");
    testing::focusOut(form.txtQuantity[3]);
    QCOMPARE(form.txtValue[3]->text(), QString("187.35"));
    QCOMPARE(form.txtTaxLabel->text(), QString("CGST"));
    QCOMPARE(form.txtSgstLabel->text(), QString("SGST"));
    QCOMPARE(form.txtFirstTax->text(), QString("19.13"));
    QCOMPARE(form.txtSgst->text(), QString("19.13"));
    QCOMPARE(form.txtTotal->text(), QString("316.31"));
    const auto row = [&](int block, int r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << form.findChild<QLineEdit*>(QString("txtTaxByRate_%1_%2_%3").arg(block).arg(r).arg(c))->text();
        return cells.join('|');
    };
    QCOMPARE(row(0, 0), QString("5%|90.70|2.27|2.27"));
    QCOMPARE(row(0, 1), QString("18%|187.35|16.86|16.86"));
    QCOMPARE(row(0, 2), QString("|||"));

    testing::click(form.cmdSave);
    QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT Total FROM SaleNote").toDouble(), 316.31);
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT TaxLabel FROM SaleNote").toString(),
             QString("CGST"));
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Invoice,
                                  "SELECT group_concat(GoodsRow || ' ' || FirstTax || ' ' || Sgst, '; ') FROM SaleNoteLine")
                 .toString(),
             QString("1 2.27 2.27; 3 16.86 16.86"));
    // the saved note, read back, shows the same
    QCOMPARE(form.txtTotal->text(), QString("316.31"));
    QCOMPARE(row(0, 1), QString("18%|187.35|16.86|16.86"));
}

void NoteFormsTest::returnIsValuedTaxedSavedAndPrinted()
{
    testing::TempData data;
    sellThreeLines(*data.db);
    testing::MessageRecorder messages;
    PageLog log;
    frmCreditNote form(*data.db, "ravi");
    startReturn(form);
    QCOMPARE(form.txtNoteNo->text(), QString("CN00001"));
    QCOMPARE(form.txtBuyerName->text(), QString("Mysore Mart"));
    QCOMPARE(form.txtLeft[2]->text(), QString("2.5 / 962.88"));

    testing::typeInto(form.txtQuantity[2], "1.5");
    testing::focusOut(form.txtQuantity[2]);
    // 1.5 x 962.88 / 2.5 = 577.728; 9% of 577.73 = 51.9957
    QCOMPARE(form.txtValue[2]->text(), QString("577.73"));
    QCOMPARE(form.txtTaxLabel->text(), QString("CGST @ 9%"));
    QCOMPARE(form.txtSgst->text(), QString("52.00"));
    QCOMPARE(form.txtTotal->text(), QString("681.73"));

    testing::click(form.cmdPrint);
    QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
    QCOMPARE(log.pages, (QStringList{"Original|Credit Note|CN00001|A00001 of 07/12/2026|no Left",
                                     "Duplicate|Credit Note|CN00001|A00001 of 07/12/2026|no Left"}));
    QCOMPARE(paintInStock(data), 37.5 + 1.5);
    QVERIFY(!form.hasPendingWork());
    // what the page shows after saving is the note as stored, its line in row 1
    QCOMPARE(form.txtDescription[1]->text(), QString("Paint"));
    QCOMPARE(form.txtQuantity[1]->text(), QString("1.5"));
}

void NoteFormsTest::badBoxIsNamedAndNothingStored_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("said");
    QTest::newRow("not a number") << "1.5x" << "" << "Quantity, line 2";
    QTest::newRow("nothing returned") << "" << "0" << "(Value, line 2)";
}

void NoteFormsTest::badBoxIsNamedAndNothingStored()
{
    QFETCH(QString, quantity);
    QFETCH(QString, value);
    QFETCH(QString, said);
    testing::TempData data;
    sellThreeLines(*data.db);
    testing::MessageRecorder messages;
    PageLog log;
    frmCreditNote form(*data.db, "ravi");
    startReturn(form);
    testing::typeInto(form.txtQuantity[1], "1");
    testing::typeInto(form.txtQuantity[2], quantity);
    testing::typeInto(form.txtValue[2], value);
    testing::click(form.cmdPrint);
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.last().contains(said), qPrintable(messages.last()));
    QVERIFY(log.pages.isEmpty());
    QCOMPARE(notesStored(data), 0);
    QCOMPARE(paintInStock(data), 37.5);
    QVERIFY(form.hasPendingWork()); // what was typed stays for the operator to mend
    QCOMPARE(form.txtQuantity[2]->text(), quantity);
}

void NoteFormsTest::registerReprintsANoteAndWritesItsEInvoice()
{
    testing::TempData data;
    sellThreeLines(*data.db);
    testing::MessageRecorder messages;
    {
        frmCreditNote form(*data.db, "ravi");
        startReturn(form);
        testing::typeInto(form.txtQuantity[3], "2");
        testing::click(form.cmdSave);
    }
    PageLog log;
    frmNoteRegister list(*data.db, "meena");
    list.dtpFrom->setDate(QDate(2026, 12, 1));
    list.dtpTo->setDate(QDate(2026, 12, 31));
    QCOMPARE(list.registerTable().lines.at(0).at(0), QString("CN00001"));
    list.grdNotes->selectRow(0);
    QVERIFY(list.cmdReprint_Click());
    QCOMPARE(log.pages, (QStringList{"Original|Credit Note|CN00001|A00001 of 07/12/2026|no Left",
                                     "Duplicate|Credit Note|CN00001|A00001 of 07/12/2026|no Left"}));
    // its e-invoice: this seller has no GSTIN, so the operator is told why and no file is written
    const QString path = data.folder() + "/EInvoice CN00001.json";
    QVERIFY(!list.writeEInvoice(path));
    QVERIFY2(messages.last().contains("CRN CN00001: the seller's GSTIN"), qPrintable(messages.last()));
    QVERIFY(!QFile::exists(path));

    // registered (a signed token of about 900 characters), the reprint carries
    // its IRN and acknowledgement, and the signed QR reads back from the PDF at 200 dpi
    QString token = "eyJhbGciOiJSUzI1NiJ9.";
    for (int i = 0; i < 860; ++i)
        token += QChar("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"[(i * 13) % 64]);
    token += ".c2ln";
    QCOMPARE(StoreNoteRegistration(*data.db, "CN00001",
                                   {QString(64, 'e'), "112610012345679", "2026-12-10 12:00:00", token, {}, {}, {}}),
             QString());
    SetPageHook({});
    SetPdfOnly(true);
    const bool reprinted = list.cmdReprint_Click();
    SetPdfOnly(false);
    QVERIFY(reprinted);
    const QStringList pdfs = QDir(data.folder() + "/Prints").entryList({"*.pdf"});
    QCOMPARE(pdfs.size(), 1);
    const QString pdf = data.folder() + "/Prints/" + pdfs.first();
    QCOMPARE(testing::DecodeQrCodes(testing::RenderPdfPage(pdf, 1, 200)), QStringList{token});
    QProcess text;
    text.start("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString onPage = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(onPage.contains("IRN: " + QString(64, 'e')) && onPage.contains("Ack No.: 112610012345679"),
             qPrintable(onPage));
}

QTEST_MAIN(NoteFormsTest)
#include "test_notes.moc"
