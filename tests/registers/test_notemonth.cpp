// One December at a Tamil Nadu shop: four invoices (one cancelled), a sales
// return, a discount and a debit note. Stock, the sales register, the note
// register and the GST return are checked against figures worked out here
// from the rules: tax at the invoice's rate on the note's value to the paisa,
// credit notes taken off and debit notes added, each note where its invoice
// went in the return. Also: an invoice file without the cancellation table
// (a read-only file of the layout before it) reads as nothing cancelled.
#include "registers/gstr1.h"
#include "platform/datetext.h"
#include "registers/gstr3b.h"
#include "registers/noteregister.h"
#include "registers/salesqueries.h"
#include "registers/salesregister.h"

#include "data/dataerror.h"
#include "reports/invoiceshape.h"
#include "sales/invoicecancel.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace zelva;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8"); // Tamil Nadu
const QString ArunGstin = QStringLiteral("33ARUNT1234A1Z2");

void addStock(Database& db)
{
    Transaction t(db, "add the items");
    for (auto [sno, code, name, quantity] : {std::tuple{1, "G00001", "Brush", 100.0}, {2, "G00002", "Paint", 1000.0},
                                             {3, "G00003", "Putty", 50.0}})
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, ?)",
               {sno, code, name, quantity}, "add an item", DbFile::ItemStock);
    testing::addCompany(db, CompanyGstin);
    t.commit();
}

InvoiceLine line(const char* code, const char* description, const char* hsn, double quantity, double rate)
{
    InvoiceLine l;
    l.itemCode = code;
    l.description = description;
    l.hsn = hsn;
    l.unit = "Nos";
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    return l;
}

Invoice invoice(qint64 serial, const char* date, const char* buyer, const char* gstin, const char* state, TaxMode mode,
                std::vector<InvoiceLine> lines)
{
    Invoice x;
    x.serial = serial;
    x.number = QStringLiteral("A0000%1").arg(serial);
    x.date = ReadDateText(date);
    x.seller = {"Zelva Traders", {}, {}, "Tamil Nadu", {}, CompanyGstin};
    x.buyerCode = QStringLiteral("C0000%1").arg(serial);
    x.buyer = {buyer, "Main Road", {}, state, {}, gstin};
    x.mode = mode;
    x.lines = std::move(lines);
    x.taxes[TaxOnGoods].rate = 18; // 18%: CGST 9% + SGST 9%, or IGST 18%
    ComputeTotals(x);
    return x;
}

Invoice arun()
{
    return invoice(1, "07/12/2026", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", TaxMode::Cgst,
                   {line("G00002", "Paint", "3208", 4, 250), line("G00001", "Brush", "9603", 10, 12.5)});
}
Invoice cochin()
{
    return invoice(2, "09/12/2026", "Cochin Stores", "N.A.", "Kerala", TaxMode::Igst,
                   {line("G00003", "Putty", "3214", 5, 200)});
}
Invoice mumbai()
{
    return invoice(3, "12/12/2026", "Mumbai Build Co", "N.A.", "Maharashtra", TaxMode::Igst,
                   {line("G00002", "Paint", "3208", 500, 250)});
}
Invoice local()
{
    return invoice(4, "14/12/2026", "Local Buyer", "N.A.", "Tamil Nadu", TaxMode::Cgst,
                   {line("G00001", "Brush", "9603", 2, 12.5)});
}

void saveNote(Database& db, NoteKind kind, const Invoice& on, const char* date, const QString& reason, NoteLine line)
{
    SaleNote note = NoteAgainst(kind, on);
    note.date = ReadDateText(date);
    note.reason = reason;
    note.lines = {line};
    const StoredNote stored = StoreSaleNote(db, note);
    QVERIFY2(stored.saved(), qPrintable(stored.refusal));
}

// The month: invoices 1-4, 4 cancelled; CN00001 returns 1 Paint of
// invoice 1, CN00002 takes Rs 5000 off invoice 3, DN00001 adds Rs 100 to
// invoice 2.
void writeMonth(Database& db)
{
    addStock(db);
    for (const Invoice& x : {arun(), cochin(), mumbai(), local()})
        StoreInvoice(db, x);
    QCOMPARE(CancelInvoice(db, "A00004", {QDate(2026, 12, 15), "10:00:00", "Typed twice", "ravi"}), QString());
    saveNote(db, NoteKind::Credit, arun(), "20/12/2026", SalesReturnReason(), {1, "Paint", "3208", "Nos", 1, 25000, 0, 0});
    saveNote(db, NoteKind::Credit, mumbai(), "21/12/2026", "Post-sale discount", {1, "Paint", "3208", "Nos", 0, 500000, 0, 0});
    saveNote(db, NoteKind::Debit, cochin(), "22/12/2026", "Correction of rate or quantity",
             {1, "Putty", "3214", "Nos", 0, 10000, 0, 0});
}

// Tax at rate percent on a value in paise, to the paisa (half away from zero).
Paise taxOn(Paise value, double rate) { return ToPaise(ToRupees(value) * rate / 100); }

QJsonObject itemDetail(const QJsonObject& entry) { return entry["itms"].toArray()[0].toObject()["itm_det"].toObject(); }

} // namespace

class NoteMonthTest : public QObject {
    Q_OBJECT
private slots:
    void stockFollowsTheReturnAndTheCancellation();
    void registersAreNetOfTheNotes();
    void returnCarriesEachNoteWhereItsInvoiceWent();
    void worksheetIsNetOfTheNotes();
    void fileWithoutCancellationsReadsAsNothingCancelled();
};

void NoteMonthTest::stockFollowsTheReturnAndTheCancellation()
{
    testing::TempData data;
    writeMonth(*data.db);
    QList<double> on;
    for (const char* code : {"G00001", "G00002", "G00003"})
        on << testing::valueInFile(data.folder(), DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE itemcode = ?",
                                   {code})
                  .toDouble();
    // Brush 100 - 10 - 2 + 2 (cancelled); Paint 1000 - 4 - 500 + 1 (returned); Putty 50 - 5
    QCOMPARE(on, (QList<double>{90, 497, 45}));
}

void NoteMonthTest::registersAreNetOfTheNotes()
try {
    testing::TempData data;
    writeMonth(*data.db);
    const Period december = MonthPeriod(2026, 12);

    // the notes: 250.00 back at 9% + 9%, 5000.00 off at IGST 18%, 100.00 more at IGST 18%
    const Paise returnTax = taxOn(25000, 9);      // 22.50 each
    const Paise discountTax = taxOn(500000, 18);  // 900.00
    const Paise debitTax = taxOn(10000, 18);      // 18.00
    const Paise arunTax = taxOn(100000 + 12500, 9); // 101.25 each

    const SalesRegister sales = LoadSalesRegister(*data.db, december);
    QCOMPARE(sales.lines.size(), std::size_t(7));
    QCOMPARE(sales.lines[4].number, QString("CN00001"));
    QCOMPARE(sales.lines[4].figures.total, -(25000 + 2 * returnTax));
    QCOMPARE(sales.lines[6].figures.tax.igst, debitTax);
    const SalesFigures& t = sales.totals;
    QCOMPARE(t.invoices, 3);
    QCOMPARE(t.cancelled, 1);
    QCOMPARE(t.notes, 3);
    QCOMPARE(t.taxable, Paise(112500 + 100000 + 12500000) - 25000 - 500000 + 10000);
    QCOMPARE(t.tax.cgst, arunTax - returnTax);
    QCOMPARE(t.tax.sgst, arunTax - returnTax);
    QCOMPARE(t.tax.igst, taxOn(100000, 18) + taxOn(12500000, 18) - discountTax + debitTax);
    QCOMPARE(t.total, t.taxable + t.tax.cgst + t.tax.sgst + t.tax.igst);
    QVERIFY(SalesRegisterCsv(sales).contains("Credit Note on A00003"));

    // the yearly summary's December and year agree with the month's register
    const YearlySummary year = LoadYearlySummary(*data.db, 2026);
    QCOMPARE(year.months[8].figures.total, t.total);
    QCOMPARE(year.totals.tax.igst, t.tax.igst);

    const NoteRegister notes = LoadNoteRegister(*data.db, december);
    QCOMPARE(notes.credit.notes, 2);
    QCOMPARE(notes.credit.total, 25000 + 2 * returnTax + 500000 + discountTax);
    QCOMPARE(notes.debit.total, 10000 + debitTax);
    QCOMPARE(notes.net.taxable, -25000 - 500000 + 10000);
    QCOMPARE(notes.net.tax.igst, debitTax - discountTax);
    const QStringList csv = NoteRegisterCsv(notes).split("\r\n");
    QCOMPARE(csv[2], QString("CN00002,21/12/2026,Credit,A00003,12/12/2026,Mumbai Build Co,,Post-sale discount,"
                             "5000.00,0.00,0.00,900.00,5900.00"));
    // a note dated in another month is not in this one's registers
    QCOMPARE(LoadNoteRegister(*data.db, MonthPeriod(2027, 1)).notes.size(), std::size_t(0));
} catch (const DataError& error) {
    QFAIL(qPrintable(error.message()));
}

void NoteMonthTest::returnCarriesEachNoteWhereItsInvoiceWent()
{
    testing::TempData data;
    writeMonth(*data.db);
    const Gstr1File file = LoadGstr1(*data.db, 2026, 12);
    QVERIFY2(file.ok(), qPrintable(file.error));
    const QJsonObject root = QJsonDocument::fromJson(file.json).object();

    // cdnr: the sales return to the registered buyer, taxed within the State
    const QJsonArray cdnr = root["cdnr"].toArray();
    QCOMPARE(cdnr.size(), 1);
    QCOMPARE(cdnr[0]["ctin"].toString(), ArunGstin);
    const QJsonObject nt = cdnr[0]["nt"].toArray()[0].toObject();
    QCOMPARE(nt["ntty"].toString(), QString("C"));
    QCOMPARE(nt["nt_num"].toString(), QString("CN00001"));
    QCOMPARE(nt["nt_dt"].toString(), QString("20-12-2026"));
    QCOMPARE(nt["pos"].toString(), QString("33"));
    QCOMPARE(nt["inv_typ"].toString(), QString("R"));
    QCOMPARE(nt["val"].toDouble(), 250 + 2 * 22.5);
    QCOMPARE(itemDetail(nt)["rt"].toDouble(), 18.0);
    QCOMPARE(itemDetail(nt)["txval"].toDouble(), 250.0);
    QCOMPARE(itemDetail(nt)["camt"].toDouble(), 22.5);
    QCOMPARE(itemDetail(nt)["samt"].toDouble(), 22.5);

    // cdnur: the discount on the large inter-State invoice to an unregistered buyer
    const QJsonArray cdnur = root["cdnur"].toArray();
    QCOMPARE(cdnur.size(), 1);
    const QJsonObject ur = cdnur[0].toObject();
    QCOMPARE(ur["typ"].toString(), QString("B2CL"));
    QCOMPARE(ur["nt_num"].toString(), QString("CN00002"));
    QCOMPARE(ur["pos"].toString(), QString("27"));
    QCOMPARE(ur["val"].toDouble(), 5900.0);
    QCOMPARE(itemDetail(ur)["iamt"].toDouble(), 900.0);

    // b2cs: the small Kerala invoice with the debit note added: 1000 + 100, IGST 180 + 18
    const QJsonArray b2cs = root["b2cs"].toArray();
    QCOMPARE(b2cs.size(), 1);
    QCOMPARE(b2cs[0]["pos"].toString(), QString("32"));
    QCOMPARE(b2cs[0]["txval"].toDouble(), 1100.0);
    QCOMPARE(b2cs[0]["iamt"].toDouble(), 198.0);

    // HSN, split: Paint to the registered buyer 4 - 1 returned, 1000 - 250, CGST
    // 101.25 shared 1000:125 = 90.00, less 22.50; Paint to the others 125000 - 5000
    const QJsonObject hsn = root["hsn"].toObject();
    const auto row = [&](const char* list, const char* code) {
        for (const QJsonValue r : hsn[list].toArray())
            if (r["hsn_sc"].toString() == QLatin1String(code))
                return r.toObject();
        return QJsonObject{};
    };
    QCOMPARE(row("hsn_b2b", "3208")["qty"].toDouble(), 3.0);
    QCOMPARE(row("hsn_b2b", "3208")["txval"].toDouble(), 750.0);
    QCOMPARE(row("hsn_b2b", "3208")["camt"].toDouble(), 67.5);
    QCOMPARE(row("hsn_b2b", "9603")["camt"].toDouble(), 11.25);
    QCOMPARE(row("hsn_b2c", "3208")["txval"].toDouble(), 120000.0);
    QCOMPARE(row("hsn_b2c", "3208")["iamt"].toDouble(), 21600.0);
    QCOMPARE(row("hsn_b2c", "3214")["qty"].toDouble(), 5.0);
    QCOMPARE(row("hsn_b2c", "3214")["txval"].toDouble(), 1100.0);
    QVERIFY(row("hsn_b2c", "9603").isEmpty()); // the cancelled invoice supplied nothing

    // documents: invoices 1 to 4 with one cancelled, debit notes (4), credit notes (5)
    const QJsonArray docs = root["doc_issue"]["doc_det"].toArray();
    QCOMPARE(docs.size(), 3);
    const auto range = [&](int i) { return docs[i]["docs"].toArray()[0].toObject(); };
    QCOMPARE(docs[0]["doc_num"].toInt(), 1);
    QCOMPARE(range(0)["to"].toString(), QString("A00004"));
    QCOMPARE(range(0)["cancel"].toInt(), 1);
    QCOMPARE(range(0)["net_issue"].toInt(), 3);
    QCOMPARE(docs[1]["doc_num"].toInt(), 4);
    QCOMPARE(range(1)["from"].toString(), QString("DN00001"));
    QCOMPARE(range(1)["totnum"].toInt(), 1);
    QCOMPARE(docs[2]["doc_num"].toInt(), 5);
    QCOMPARE(range(2)["from"].toString(), QString("CN00001"));
    QCOMPARE(range(2)["to"].toString(), QString("CN00002"));
    QCOMPARE(range(2)["net_issue"].toInt(), 2);

    // a credit note on the small Kerala invoice goes into b2cs too, taken off it:
    // 1100 - 300, IGST 198 - 54; no cdnur entry for it
    saveNote(*data.db, NoteKind::Credit, cochin(), "23/12/2026", "Post-sale discount", {1, "Putty", "3214", "Nos", 0, 30000, 0, 0});
    const QJsonObject after = QJsonDocument::fromJson(LoadGstr1(*data.db, 2026, 12).json).object();
    QCOMPARE(after["b2cs"].toArray().size(), 1);
    QCOMPARE(after["b2cs"][0]["txval"].toDouble(), 800.0);
    QCOMPARE(after["b2cs"][0]["iamt"].toDouble(), 144.0);
    QCOMPARE(after["cdnur"].toArray().size(), 1);
}

// As a read-only invoice file of the layout before cancellations shows
// itself: no CancelledInvoice table, nor any other table of a later layout. Registers, the list and the reprint
// read its invoices as not cancelled instead of failing.
// The GSTR-3B worksheet: 3.1(a) and 3.2 net of the notes as the return nets
// them, 6.1's output tax following; the notes listed behind each figure.
void NoteMonthTest::worksheetIsNetOfTheNotes()
{
    testing::TempData data;
    writeMonth(*data.db);
    const Gstr3b w = LoadGstr3b(*data.db, 2026, 12);

    // invoices 1-3 (4 cancelled): 1125 at CGST+SGST 9 %, 1000 and 125000 at IGST 18 %;
    // less CN00001 (250 on 1) and CN00002 (5000 on 3), plus DN00001 (100 on 2)
    const Paise cgst = taxOn(112500, 9) - taxOn(25000, 9);
    const Paise kerala = taxOn(100000, 18) + taxOn(10000, 18);
    const Paise maharashtra = taxOn(12500000, 18) - taxOn(500000, 18);
    const Gstr3bFigure* outward = w.row("3.1(a)");
    QVERIFY(outward);
    QCOMPARE(outward->taxable, Paise(112500 + 100000 + 12500000 - 25000 - 500000 + 10000));
    QCOMPARE(outward->tax.igst, kerala + maharashtra);
    QCOMPARE(outward->tax.cgst, cgst);
    QCOMPARE(outward->tax.sgst, cgst);
    QCOMPARE(outward->documents.size(), 6);
    QVERIFY(outward->documents.filter("CN00002").join("").contains("A00003"));

    // 3.2 by place of supply in code order: Maharashtra (27), Kerala (32)
    std::vector<Gstr3bFigure> places;
    std::ranges::copy_if(w.rows, std::back_inserter(places), [](const Gstr3bFigure& f) { return f.section == "3.2"; });
    QCOMPARE(places.size(), std::size_t(2));
    QCOMPARE(places[0].taxable, Paise(12500000 - 500000));
    QCOMPARE(places[0].tax.igst, maharashtra);
    QCOMPARE(places[1].taxable, Paise(100000 + 10000));
    QCOMPARE(places[1].tax.igst, kerala);
    QCOMPARE(places[1].documents.size(), 2);
    QVERIFY(places[1].documents[1].startsWith("Debit note DN00001"));

    // no purchases: all the output tax is paid in cash
    QCOMPARE(w.setOff.payable, (TaxHeads{kerala + maharashtra, cgst, cgst}));
    QCOMPARE(w.setOff.cash, w.setOff.payable);

    // a credit note at 0 % comes off 3.1(c), and never goes into 3.2
    SavedNote nil;
    nil.number = "CN00009";
    nil.taxable = 43210;
    nil.invoice.buyerGstin = "N.A.";
    nil.invoice.buyerState = "Kerala";
    nil.invoice.mode = TaxMode::Igst;
    const OutwardSupplies out = BuildOutwardSupplies({}, {nil});
    QCOMPARE(out.nilRated.taxable, Paise(-43210));
    QCOMPARE(out.taxable.taxable, Paise(0));
    QVERIFY(out.unregisteredInterState.empty());
}

void NoteMonthTest::fileWithoutCancellationsReadsAsNothingCancelled()
try {
    if (testing::onTestServer())
        QSKIP("a read-only file left at an older layout is a data folder's");
    testing::TempData data;
    addStock(*data.db);
    StoreInvoice(*data.db, arun());
    StoreInvoice(*data.db, cochin());
    // every invoice table but the two the file began with
    for (const TableDef& table : AllTables())
        if (table.file == DbFile::Invoice && table.name != "BuyerInvoice" && table.name != "GoodsInvoice")
            data.db->run(QString("DROP TABLE \"Invoice\".\"%1\"").arg(table.name), {}, "lay the file out as before",
                         DbFile::Invoice);

    QVERIFY(!CancellationsKept(*data.db));
    const SalesRegister sales = LoadSalesRegister(*data.db, MonthPeriod(2026, 12));
    QCOMPARE(sales.totals.invoices, 2);
    QCOMPARE(sales.totals.cancelled, 0);
    QCOMPARE(sales.totals.notes, 0);
    QCOMPARE(NoteEffectOnInvoice(*data.db, 1).notes, 0);
    const std::optional<Invoice> reprint = LoadInvoice(*data.db, "A00002");
    QVERIFY(reprint && !reprint->cancelled());
    QCOMPARE(LoadAllInvoices(*data.db).size(), std::size_t(2));
    QSqlQuery listed = data.db->run(InvoiceListSql(false), {20261201, 20261231, "", ""}, "list", DbFile::Invoice);
    QVERIFY(listed.next());
    QCOMPARE(listed.value(5).toInt(), 0);
} catch (const DataError& error) {
    QFAIL(qPrintable(error.message()));
}

QTEST_GUILESS_MAIN(NoteMonthTest)
#include "test_notemonth.moc"
