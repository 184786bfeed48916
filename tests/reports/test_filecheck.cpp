// The Return Check of what goes into a file, run by the windows that write
// the portal files before they write it: an error refuses the file (told, and
// nothing written), a warning is asked about (No writes nothing, Yes the file
// whole), a clean month is written without a question. The e-invoice of one
// invoice answers for that invoice alone, not for the rest of its month.
#include "reports/frmnoteregister.h"
#include "reports/frmportalfiles.h"
#include "reports/frmsalesreport.h"

#include "gst/gststates.h"
#include "registers/gstr1.h"
#include "registers/portalfiles.h"
#include "reports/invoiceshape.h"
#include "platform/datetext.h"
#include "reports/periodchoice.h"
#include "reports/tablereport.h"
#include "sales/salenotestore.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using namespace zelva;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8");

QString gstin(const char* first14) { return QString(first14) + GstinCheckCharacter(first14); }

// The 7th of last month: a month that has ended, an invoice not too old for its e-way bill.
QDate saleDay()
{
    const QDate lastMonth = QDate::currentDate().addMonths(-1);
    return {lastMonth.year(), lastMonth.month(), 7};
}

// What may be wrong with the one invoice of three that differs.
enum class Fault { None, Error, Warning };

// A Rs. 60,180.00 sale by road to a registered buyer in Tamil Nadu, delivered
// in Kerala. The Error: the buyer is in Kerala but charged CGST and SGST (the
// file could be made; only the check sees it). The Warning: issued under a
// GSTIN other than the company's.
Invoice sale(int sno, Fault fault)
{
    const testing::InvoiceShape shape{sno, "01/01/2026", "Arun Traders", "", "Tamil Nadu", "Arun Depot", "Kerala",
                                      TaxMode::Cgst, {{"Steel Rod", "7214", 1000, "Kg", "51", "51000.00"}},
                                      testing::Base{nullptr, "N.A.", "0", "9", "4590.00"}, {}, {}, "0", 4590};
    Invoice x = testing::invoiceOf(shape);
    x.date = x.orderDate = saleDay();
    x.seller.gstin = CompanyGstin;
    x.buyer.gstin = gstin("33ARUNT1234A1Z");
    x.transport = InvoiceTransport{"Road", 120, "TN01AB1234", {}, {}, {}, {}};
    if (fault == Fault::Error)
        x.buyer = {"Cochin Builders", "12 Marine Drive", "Ernakulam", "Kerala", "682001", gstin("32CCCCC2222C1Z")};
    if (fault == Fault::Warning)
        x.seller.gstin = gstin("33ZELVA0000Z1Z");
    return x;
}

// The company, then three sales of the day, the middle one with the fault.
void writeSales(Database& db, Fault middle)
{
    db.run(QStringLiteral("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) "
                          "VALUES (?, ?, ?, ?, ?, ?, 1, 'C0001')"),
           {"Zelva Traders", "4 Market Road", "Chennai", "Tamil Nadu", "600002", CompanyGstin},
           QStringLiteral("add the company"), DbFile::Master);
    for (int sno = 1; sno <= 3; ++sno)
        StoreInvoice(db, sale(sno, sno == 2 ? middle : Fault::None), Renumber::Refused);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class FileKind { Gstr1, EwayBillsOfDay };

// Writes the file as the operator does: the Sales Report over the month, then
// Save GST Return; or the day at E-Way Bills of the Day.
bool writeFile(Database& db, FileKind kind, const QString& path)
{
    const QDate day = saleDay();
    if (kind == FileKind::Gstr1) {
        frmSalesReport form(db);
        testing::click(form.choice->option(ReportPeriod::Between));
        form.choice->cboStartDate->setDate({day.year(), day.month(), 1});
        form.choice->cboEndDate->setDate({day.year(), day.month(), day.daysInMonth()});
        testing::click(form.cmdShow);
        return form.saveReturn(path);
    }
    frmPortalFiles form(db);
    form.dtpDay->setDate(day);
    return form.writeEwayBillsOfDay(path);
}

// The file as its writer makes it, unchecked.
QByteArray madeFile(Database& db, FileKind kind)
{
    const QDate day = saleDay();
    if (kind == FileKind::Gstr1)
        return LoadGstr1(db, day.year(), day.month()).json;
    const QString path = QDir::temp().filePath(QStringLiteral("zelva-unchecked-%1.json").arg(QCoreApplication::applicationPid()));
    const QByteArray json = SaveEwayBillsOfDay(db, day, path).json;
    QFile::remove(path);
    return json;
}

// Picks the invoice in the window's list, as a click on its row does.
void chooseInvoice(frmPortalFiles& form, const QString& number)
{
    for (int row = 0; row < GridRows(form.grdInvoices); ++row)
        if (GridText(form.grdInvoices, row, 0) == number)
            form.grdInvoices->selectRow(row);
    QCOMPARE(GridText(form.grdInvoices, form.grdInvoices->currentIndex().row(), 0), number);
}

} // namespace

class FileCheckTest : public QObject {
    Q_OBJECT

private slots:
    void checkedBeforeWritten_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("middle");
        QTest::addColumn<bool>("yes"); // the answer to a question
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("told"); // part of the last message
        const std::pair<FileKind, const char*> kinds[] = {{FileKind::Gstr1, "GST return"},
                                                         {FileKind::EwayBillsOfDay, "e-way bills of the day"}};
        for (const auto& [kind, name] : kinds) {
            const int k = int(kind);
            QTest::addRow("%s, clean", name) << k << int(Fault::None) << false << true << 0 << "is saved in";
            QTest::addRow("%s, error in the middle", name)
                << k << int(Fault::Error) << true << false << 0 << "Invoice A00002 of";
            QTest::addRow("%s, warning answered No", name) << k << int(Fault::Warning) << false << false << 1 << "";
            QTest::addRow("%s, warning answered Yes", name)
                << k << int(Fault::Warning) << true << true << 1 << "is saved in";
        }
    }

    void checkedBeforeWritten()
    {
        QFETCH(int, kind);
        QFETCH(int, middle);
        QFETCH(bool, yes);
        QFETCH(bool, written);
        QFETCH(int, questions);
        QFETCH(QString, told);
        testing::TempData data;
        writeSales(*data.db, Fault(middle));
        testing::MessageRecorder messages;
        testing::Answers answers(yes);
        const QString path = data.folder() + "/file.json";

        QCOMPARE(writeFile(*data.db, FileKind(kind), path), written);
        QCOMPARE(answers.asked.size(), questions);
        if (questions > 0)
            QVERIFY2(answers.asked.first().contains("Seller's GSTIN (gstin)") && answers.asked.first().contains("A00002")
                         && !answers.asked.first().contains("A00001") && !answers.asked.first().contains("A00003"),
                     qPrintable(answers.asked.first()));
        if (!told.isEmpty())
            QVERIFY2(messages.last().contains(told), qPrintable(messages.last()));
        if (Fault(middle) == Fault::Error)
            QVERIFY2(messages.last().startsWith("No ") && messages.last().contains("Tax kind (iamt, camt, samt)")
                         && !messages.last().contains("A00001") && !messages.last().contains("A00003"),
                     qPrintable(messages.last()));
        if (!written)
            QVERIFY(!QFile::exists(path));
        if (written)
            QCOMPARE(fileBytes(path), madeFile(*data.db, FileKind(kind)));
    }

    // Another invoice's error in the month does not keep an invoice's own
    // e-invoice or e-way bill from being written; its own error does.
    void eInvoiceOfOneInvoice()
    {
        testing::TempData data;
        writeSales(*data.db, Fault::Error);
        testing::MessageRecorder messages;
        testing::Answers answers(false);
        frmPortalFiles form(*data.db);
        form.dtpFrom->setDate(saleDay());
        form.dtpTo->setDate(saleDay());
        QCOMPARE(GridRows(form.grdInvoices), 3);

        const QString path = data.folder() + "/einvoice.json";
        chooseInvoice(form, "A00003");
        QVERIFY2(form.writeEInvoice(path), qPrintable(messages.last()));
        QVERIFY2(messages.last().startsWith("The e-invoice of A00003 is saved in"), qPrintable(messages.last()));
        QVERIFY(answers.asked.isEmpty());
        QVERIFY(fileBytes(path).contains("\"No\": \"A00003\""));
        QVERIFY(QFile::remove(path));

        chooseInvoice(form, "A00002");
        QVERIFY(!form.writeEInvoice(path));
        QVERIFY2(messages.last().startsWith("No e-invoice of A00002 was written")
                     && messages.last().contains("Tax kind (iamt, camt, samt)"),
                 qPrintable(messages.last()));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!form.writeEwayBill(path));
        QVERIFY2(messages.last().startsWith("No e-way bill of A00002 was written"), qPrintable(messages.last()));
        QVERIFY(!QFile::exists(path));

        chooseInvoice(form, "A00001");
        QVERIFY2(form.writeEwayBill(path), qPrintable(messages.last()));
        QVERIFY(answers.asked.isEmpty());
    }

    void noteEInvoice_data()
    {
        QTest::addColumn<QString>("companyGstin"); // as mended in Company Details after the sales
        QTest::addColumn<QString>("told");
        QTest::newRow("another invoice's error") << CompanyGstin << "The e-invoice of CN00001 is saved in";
        QTest::newRow("company GSTIN mistyped") << "33AAACH7409R1Z9" << "Company's GSTIN (gstin)";
    }

    // A credit note's e-invoice (Notes register) is checked against the note
    // and the company, not against the invoices of its month.
    void noteEInvoice()
    {
        QFETCH(QString, companyGstin);
        QFETCH(QString, told);
        testing::TempData data;
        writeSales(*data.db, Fault::Error);
        const std::optional<Invoice> invoice = LoadInvoice(*data.db, "A00001");
        QVERIFY(invoice);
        SaleNote note = NoteAgainst(NoteKind::Credit, *invoice);
        note.date = saleDay().addDays(1);
        note.reason = "Post-sale discount";
        note.lines = {{1, "Steel Rod", "7214", "Kg", 0, 100000, 0, 0}};
        const StoredNote stored = StoreSaleNote(*data.db, note);
        QVERIFY2(stored.saved(), qPrintable(stored.refusal));
        data.db->run(QStringLiteral("UPDATE Master.Company SET Gstin = ?"), {companyGstin},
                     QStringLiteral("mend the company"), DbFile::Master);
        testing::MessageRecorder messages;
        testing::Answers answers(false);
        frmNoteRegister list(*data.db, "meena");
        list.dtpFrom->setDate(saleDay());
        list.dtpTo->setDate(saleDay().addDays(1));
        list.grdNotes->selectRow(0);

        const QString path = data.folder() + "/note.json";
        const bool written = companyGstin == CompanyGstin;
        QCOMPARE(list.writeEInvoice(path), written);
        QVERIFY2(messages.last().contains(told), qPrintable(messages.last()));
        QVERIFY(answers.asked.isEmpty());
        QCOMPARE(QFile::exists(path), written);
    }
};

QTEST_MAIN(FileCheckTest)
#include "test_filecheck.moc"
