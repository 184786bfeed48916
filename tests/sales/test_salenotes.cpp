// Credit and debit notes, on the files and on the server: a sales return
// brings its goods back and nothing else does, each line is held to what is
// left of it (also against a second counter), every refusal names its box
// and stores nothing, and a failing save lands nothing.
#include "sales/salenotestore.h"

#include "platform/datetext.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "registers/savednote.h"
#include "sales/invoicecancel.h"
#include "sales/invoicestore.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QtTest>

using namespace zelva;

namespace {

void addStock(Database& db)
{
    Transaction t(db, "add the items");
    for (auto [sno, code, name, quantity] : {std::tuple{1, "G00001", "Brush", 50.0}, {2, "G00002", "Paint", 40.0},
                                             {3, "G00003", "Putty", 30.0}})
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, ?)",
               {sno, code, name, quantity}, "add an item", DbFile::ItemStock);
    t.commit();
}

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

// Brush 3 x 45.35 = 136.05, Paint 2.5 x 385.15 = 962.88, Putty 7 x 62.45 =
// 437.15; CGST and SGST at 9% each, dated 07/12/2026.
Invoice threeLines(qint64 serial, const char* buyerCode = "C00001", const char* buyer = "Mysore Mart")
{
    Invoice x;
    x.serial = serial;
    x.number = QStringLiteral("A0000%1").arg(serial);
    x.date = QDate(2026, 12, 7);
    x.buyerCode = buyerCode;
    x.buyer.name = buyer;
    x.buyer.state = "Karnataka";
    x.mode = TaxMode::Cgst;
    x.lines = {line("G00001", "Brush", 3, 45.35), line("G00002", "Paint", 2.5, 385.15),
               line("G00003", "Putty", 7, 62.45)};
    x.taxes[TaxOnGoods].rate = 18;
    ComputeTotals(x);
    return x;
}

SaleNote noteOn(NoteKind kind, const Invoice& invoice, const QString& reason, std::vector<NoteLine> lines,
                const QString& date = "10/12/2026")
{
    SaleNote note = NoteAgainst(kind, invoice);
    note.serial = 1;
    note.date = ReadDateText(date);
    note.time = "10:15:00";
    note.reason = reason;
    note.issuedBy = "ravi";
    note.lines = std::move(lines);
    return note;
}

NoteLine noteLine(int row, double quantity, Paise value)
{
    static const char* names[] = {"", "Brush", "Paint", "Putty"};
    return {row, names[row], "3208", "Nos", quantity, value, 0, 0};
}

QList<double> stock(const testing::TempData& data)
{
    QList<double> on;
    for (const char* code : {"G00001", "G00002", "G00003"})
        on << testing::valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE itemcode = ?",
                                   {code})
                  .toDouble();
    return on;
}

int storedNotes(const testing::TempData& data)
{
    return testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM SaleNote").toInt()
           + testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM SaleNoteLine").toInt();
}

const QList<double> AfterSale{47, 37.5, 23};

} // namespace

class SaleNotesTest : public QObject {
    Q_OBJECT
private slots:
    void numbersClimbTheInvoiceLadder();
    void lastCreditNoteDay_data();
    void lastCreditNoteDay();
    void salesReturnBringsGoodsBackAndNothingElseDoes();
    void refusedWithNothingStored_data();
    void refusedWithNothingStored();
    void secondCounterCannotTakeBackMoreThanIsLeft();
    void failingSaveLandsNothing();
    void invoiceWithNotesIsNoLongerCancelled();
};

void SaleNotesTest::numbersClimbTheInvoiceLadder()
{
    QCOMPARE(NoteNumber(NoteKind::Credit, 123), QString("CN000123"));
    QCOMPARE(NoteNumber(NoteKind::Credit, 99999999999).size(), LongestNoteNumber);
}

void SaleNotesTest::lastCreditNoteDay_data()
{
    QTest::addColumn<QDate>("invoice");
    QTest::addColumn<QDate>("last");
    QTest::newRow("March closes the year") << QDate(2026, 3, 31) << QDate(2026, 11, 30);
    QTest::newRow("April opens the next") << QDate(2026, 4, 1) << QDate(2027, 11, 30);
    QTest::newRow("December") << QDate(2026, 12, 7) << QDate(2027, 11, 30);
}

void SaleNotesTest::lastCreditNoteDay()
{
    QFETCH(QDate, invoice);
    QFETCH(QDate, last);
    QCOMPARE(LastCreditNoteDay(invoice), last);
}

// A return of part of the middle line puts it back on its item; a discount
// and a debit note move nothing. What is left follows every note, and each
// note reads back as saved, its tax worked out by the invoice's rules.
void SaleNotesTest::salesReturnBringsGoodsBackAndNothingElseDoes()
try {
    testing::TempData data;
    addStock(*data.db);
    const Invoice invoice = threeLines(1);
    StoreInvoice(*data.db, invoice);
    QCOMPARE(stock(data), AfterSale);

    // 1.5 of the 2.5 Paint: 1.5 x 385.15 = 577.73; CGST and SGST 9% of it 52.00 each (51.9957)
    const StoredNote returned =
        StoreSaleNote(*data.db, noteOn(NoteKind::Credit, invoice, SalesReturnReason(), {noteLine(2, 1.5, 57773)}));
    QVERIFY2(returned.saved(), qPrintable(returned.refusal));
    QCOMPARE(returned.number, QString("CN00001"));
    QCOMPARE(stock(data), (QList<double>{47, 39, 23}));

    // a discount on Putty and a debit on Brush: no stock moves
    SaleNote discount = noteOn(NoteKind::Credit, invoice, "Post-sale discount", {noteLine(3, 0, 10000)});
    discount.serial = 1; // another counter's number is taken: the next one
    QCOMPARE(StoreSaleNote(*data.db, discount).number, QString("CN00002"));
    SaleNote debit = noteOn(NoteKind::Debit, invoice, "Correction of rate or quantity", {noteLine(1, 0, 2000)});
    QCOMPARE(StoreSaleNote(*data.db, debit).number, QString("DN00001"));
    QCOMPARE(stock(data), (QList<double>{47, 39, 23}));

    const std::vector<LineLeft> left = LeftOfInvoice(*data.db, invoice);
    std::vector<std::pair<double, Paise>> leftOf;
    for (const LineLeft& l : left)
        leftOf.emplace_back(l.quantity, l.value);
    QCOMPARE(leftOf, (std::vector<std::pair<double, Paise>>{{3, 13605 + 2000}, {1, 96288 - 57773}, {7, 43715 - 10000}}));

    const std::optional<SaleNote> kept = LoadSaleNote(*data.db, "CN00001");
    QVERIFY(kept);
    QCOMPARE(kept->taxLabel, QString("CGST @ 9%"));
    QCOMPARE(kept->taxable, Paise(57773));
    QCOMPARE(kept->firstTax, Paise(5200));
    QCOMPARE(kept->sgst, Paise(5200));
    QCOMPARE(kept->total, Paise(57773 + 10400));
    QCOMPARE(kept->invoiceNumber, QString("A00001"));
    QCOMPARE(kept->lines.size(), std::size_t(1));
    QCOMPARE(kept->lines[0].quantity, 1.5);
    QVERIFY(kept->words.startsWith("Rupees Six Hundred Eighty"));

    // what the notes do to the invoice: credits 681.73 + 118.00, the debit 23.60
    const NoteEffect effect = NoteEffectOnInvoice(*data.db, invoice.serial);
    QCOMPARE(effect.notes, 3);
    QCOMPARE(effect.credited, Paise(68173 + 11800));
    QCOMPARE(effect.debited, Paise(2360));
    const std::map<qint64, NoteEffect> ofBuyer = NoteEffectsOfBuyer(*data.db, "C00001");
    QVERIFY(ofBuyer.size() == 1 && ofBuyer.at(1).net() == effect.net());
    QVERIFY(NoteEffectsOfBuyer(*data.db, "C00002").empty());

    // a correction of rate or quantity credits a quantity but takes no goods
    // back; dated the last day a credit note may be, 30 November of the next year
    const StoredNote corrected = StoreSaleNote(
        *data.db, noteOn(NoteKind::Credit, invoice, "Correction of rate or quantity", {noteLine(1, 1, 1000)}, "30/11/2027"));
    QVERIFY2(corrected.saved(), qPrintable(corrected.refusal));
    QCOMPARE(stock(data), (QList<double>{47, 39, 23}));
    QCOMPARE(LeftOfInvoice(*data.db, invoice)[0].quantity, 2.0);
} catch (const DataError& error) {
    QFAIL(qPrintable(error.message()));
}

// Each refusal names the box, the invoice's row as the form shows it (the
// first row left empty, so the note's first line is row 2), and leaves the
// notes and the stock as they were.
void SaleNotesTest::refusedWithNothingStored_data()
{
    QTest::addColumn<QString>("invoiceNo");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<double>("quantity"); // of row 2, the middle one, before row 3 at 1 x 10.00
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("said");
    const int credit = int(NoteKind::Credit);
    const QString ret = SalesReturnReason();
    QTest::newRow("unknown invoice") << "A00009" << credit << "10/12/2026" << ret << 1.0 << qint64(100)
                                     << "There is no saved invoice A00009 (Original Invoice No.).";
    QTest::newRow("cancelled invoice") << "A00002" << credit << "10/12/2026" << ret << 1.0 << qint64(100)
                                       << "Invoice A00002 is cancelled: no note can be issued against it";
    QTest::newRow("date before the invoice")
        << "A00001" << credit << "06/12/2026" << ret << 1.0 << qint64(100)
        << "The note's date 06/12/2026 is before the date of invoice A00001 (07/12/2026) (Note Date).";
    QTest::newRow("credit after 30 November of the next year")
        << "A00001" << credit << "01/12/2027" << ret << 1.0 << qint64(100)
        << "A credit note against invoice A00001 of 07/12/2026 can be issued only up to 30/11/2027";
    QTest::newRow("no reason") << "A00001" << credit << "10/12/2026" << "" << 1.0 << qint64(100) << "(Reason)";
    QTest::newRow("quantity above what is left")
        << "A00001" << credit << "10/12/2026" << ret << 2.75 << qint64(100)
        << "The quantity 2.75 of line 2 (Paint) is more than the 2.5 left of it (Quantity, line 2).";
    QTest::newRow("value above what is left")
        << "A00001" << credit << "10/12/2026" << "Post-sale discount" << 0.0 << qint64(96289)
        << "The value 962.89 of line 2 (Paint) is more than the 962.88 left of it (Value, line 2).";
    QTest::newRow("zero value") << "A00001" << int(NoteKind::Debit) << "10/12/2026" << "Other" << 0.0 << qint64(0)
                                << "The value of line 2 (Paint) must be above nothing (Value, line 2).";
    QTest::newRow("negative quantity") << "A00001" << credit << "10/12/2026" << "Other" << -1.0 << qint64(100)
                                       << "(Quantity, line 2)";
    QTest::newRow("invoice at several rates, quantity above what is left")
        << "A00003" << credit << "10/12/2026" << ret << 2.75 << qint64(100)
        << "The quantity 2.75 of line 2 (Paint) is more than the 2.5 left of it (Quantity, line 2).";
    QTest::newRow("sales return without quantity") << "A00001" << credit << "10/12/2026" << ret << 0.0 << qint64(100)
                                                   << "type the quantity returned of line 2 (Paint)";
}

void SaleNotesTest::refusedWithNothingStored()
{
    QFETCH(QString, invoiceNo);
    QFETCH(int, kind);
    QFETCH(QString, date);
    QFETCH(QString, reason);
    QFETCH(double, quantity);
    QFETCH(qint64, value);
    QFETCH(QString, said);
    testing::TempData data;
    addStock(*data.db);
    const Invoice invoice = threeLines(1);
    StoreInvoice(*data.db, invoice);
    StoreInvoice(*data.db, threeLines(2));
    QCOMPARE(CancelInvoice(*data.db, "A00002", {QDate(2026, 12, 8), "09:00:00", "Wrong buyer", "meena"}), QString());
    const QList<double> before = stock(data);
    QCOMPARE(NoteableInvoices(*data.db, 10), QStringList{"A00001"}); // the cancelled one is not offered

    Invoice mixed = threeLines(3); // Brush at 5%, the others at 18%
    mixed.lines[0].gstRate = 5;
    mixed.taxes[TaxOnGoods].rate.reset();
    ComputeTotals(mixed);
    if (invoiceNo == "A00003") {
        StoreInvoice(*data.db, mixed);
        QCOMPARE(stock(data), (QList<double>{44, 35, 16}));
    }
    const QList<double> noted = stock(data);

    SaleNote note = noteOn(NoteKind(kind), invoiceNo == "A00003" ? mixed : invoice, reason,
                           {noteLine(2, quantity, value), noteLine(3, 1, 1000)}, date);
    note.invoiceNumber = invoiceNo;
    if (invoiceNo == "A00002")
        note.invoiceSerial = 2;
    const StoredNote stored = StoreSaleNote(*data.db, note);
    QVERIFY2(stored.refusal.contains(said), qPrintable(stored.refusal));
    QCOMPARE(storedNotes(data), 0);
    QCOMPARE(stock(data), noted);
    QVERIFY(invoiceNo == "A00003" || noted == before);
}

// Two counters read the same Paint line as wholly left; the first takes it
// all back, the second is refused inside its save, not before.
void SaleNotesTest::secondCounterCannotTakeBackMoreThanIsLeft()
{
    testing::TempData data;
    addStock(*data.db);
    const Invoice invoice = threeLines(1);
    StoreInvoice(*data.db, invoice);
    auto other = data.openAnother();
    const SaleNote all = noteOn(NoteKind::Credit, invoice, SalesReturnReason(), {noteLine(2, 2.5, 96288)});
    QCOMPARE(NoteRefusal(*other, all), QString());
    QVERIFY(StoreSaleNote(*data.db, all).saved());
    const StoredNote second = StoreSaleNote(*other, all);
    QVERIFY2(second.refusal.contains("more than the 0 left of it (Quantity, line 2)"), qPrintable(second.refusal));
    QCOMPARE(stock(data), (QList<double>{47, 40, 23}));
}

// The lines cannot be written after the stock came back: nothing lands.
void SaleNotesTest::failingSaveLandsNothing()
{
    testing::TempData data;
    addStock(*data.db);
    const Invoice invoice = threeLines(1);
    StoreInvoice(*data.db, invoice);
    data.db->setStatementHook([](const QString& sql) {
        if (sql.contains("INSERT INTO") && sql.contains("SaleNoteLine"))
            throw DataError("save the note", "Invoice", "disk full");
    });
    const SaleNote note =
        noteOn(NoteKind::Credit, invoice, SalesReturnReason(), {noteLine(1, 1, 4535), noteLine(3, 2, 12490)});
    QVERIFY_THROWS_EXCEPTION(DataError, StoreSaleNote(*data.db, note));
    data.db->setStatementHook({});
    QCOMPARE(storedNotes(data), 0);
    QCOMPARE(stock(data), AfterSale);
    QVERIFY(StoreSaleNote(*data.db, note).saved());
    QCOMPARE(stock(data), (QList<double>{48, 37.5, 25}));
}

// Cancelling would give back goods a return already gave back.
void SaleNotesTest::invoiceWithNotesIsNoLongerCancelled()
{
    testing::TempData data;
    addStock(*data.db);
    const Invoice invoice = threeLines(1);
    StoreInvoice(*data.db, invoice);
    QVERIFY(StoreSaleNote(*data.db, noteOn(NoteKind::Credit, invoice, SalesReturnReason(), {noteLine(1, 1, 4535)}))
                .saved());
    const QString refusal = CancelInvoice(*data.db, "A00001", {QDate(2026, 12, 11), "09:00:00", "Late", "ravi"});
    QVERIFY2(refusal.contains("has a credit or debit note against it"), qPrintable(refusal));
    QCOMPARE(stock(data), (QList<double>{48, 37.5, 23}));
}

QTEST_GUILESS_MAIN(SaleNotesTest)
#include "test_salenotes.moc"
