// The month's Return Check. A clean December of five invoices (registered and
// unregistered buyers, within the State and outside it), a credit note and a
// purchase bill reports nothing; each case plants one fault in the middle
// document and expects exactly its findings, each naming its document and key.
// Then the same through the store: the month saved, read back and checked,
// its GSTR-1 file's sums included.
#include "registers/returncheck.h"

#include "platform/datetext.h"
#include "gst/gststates.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>
#include <functional>
#include <unistd.h>

using namespace zelva;

namespace {

QString gstin(const QString& first14) { return first14 + GstinCheckCharacter(first14); }

// Made when asked: the check character's table is itself a static of the library.
QString companyGstin() { return gstin(QStringLiteral("33AAACH7409R1Z")); }
QString arunGstin() { return gstin(QStringLiteral("33ARUNT1234A1Z")); }
QString kochiGstin() { return gstin(QStringLiteral("32KOCHI1234A1Z")); }

// A GSTR-1 file as its text reads.
QJsonObject gstr1File(const char* text) { return QJsonDocument::fromJson(QByteArray(text)).object(); }

InvoiceLine line(const char* description, const char* hsn, double quantity, double rate)
{
    InvoiceLine l;
    l.description = description;
    l.hsn = hsn;
    l.unit = "Nos";
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    return l;
}

Invoice invoice(qint64 serial, const char* date, const char* buyer, const QString& buyerGstin, const char* state,
    const char* pin, std::vector<InvoiceLine> lines)
{
    Invoice x;
    x.serial = serial;
    x.number = QStringLiteral("A%1").arg(serial, 5, 10, QLatin1Char('0'));
    x.date = ReadDateText(date);
    x.seller = { "Zelva Traders", {}, {}, "Tamil Nadu", {}, companyGstin() };
    x.buyerCode = QStringLiteral("C%1").arg(serial, 5, 10, QLatin1Char('0'));
    x.buyer = { buyer, "Main Road", {}, state, pin, buyerGstin };
    x.delivery = x.buyer;
    x.delivery.gstin.clear();
    x.mode = QLatin1String(state) == QLatin1String("Tamil Nadu") ? TaxMode::Cgst : TaxMode::Igst;
    x.lines = std::move(lines);
    x.taxes[TaxOnGoods].rate = 18;
    ComputeTotals(x);
    return x;
}

// The clean month: the middle invoice (A00003) is where each fault goes.
std::vector<Invoice> cleanInvoices()
{
    return {
        invoice(1, "03/12/2026", "Arun Traders", arunGstin(), "Tamil Nadu", "600017", { line("Paint", "320810", 4, 250) }),
        invoice(2, "08/12/2026", "Walk-in Buyer", "N.A.", "Tamil Nadu", "641001", { line("Brush", "960340", 10, 12.5) }),
        invoice(3, "12/12/2026", "Kochi Stores", kochiGstin(), "Kerala", "682001",
            { line("Putty", "321490", 5, 200), line("Primer", "320890", 2, 300) }),
        invoice(4, "15/12/2026", "Bengaluru Buyer", "N.A.", "Karnataka", "560001", { line("Paint", "320810", 2, 250) }),
        invoice(5, "21/12/2026", "Arun Traders", arunGstin(), "Tamil Nadu", "600017", { line("Brush", "960340", 3, 12.5) }),
    };
}

SavedNote creditNote(qint64 serial, const char* number, const char* date, const Invoice& on)
{
    SavedNote note;
    note.serial = serial;
    note.number = number;
    note.date = ReadDateText(date);
    note.dateText = date;
    note.invoice.number = on.number;
    note.invoice.date = on.date;
    note.invoice.buyerName = on.buyer.name;
    return note;
}

PurchaseBill bill(qint64 serial, const char* number, const QString& supplierGstin)
{
    PurchaseBill b;
    b.serial = serial;
    b.number = number;
    b.date = QDate(2026, 12, 10);
    b.supplierName = "Sharma Paints";
    b.supplierGstin = supplierGstin;
    b.supplierState = "Tamil Nadu";
    PurchaseBillLine l;
    l.itemName = "Paint";
    l.hsn = "320810";
    l.quantity = 10;
    l.taxable = 200000;
    l.gstRate = 18;
    b.lines = { l };
    return b;
}

ReturnDocuments cleanMonth()
{
    ReturnDocuments d;
    d.month = MonthPeriod(2026, 12);
    d.today = QDate(2027, 1, 2);
    d.company = CompanyGst { "Zelva Traders", companyGstin(), "Tamil Nadu" };
    d.aboveFiveCrore = true;
    d.rates = ShippedGstRates();
    d.invoices = cleanInvoices();
    d.notes = { creditNote(1, "CN00001", "10/12/2026", d.invoices[0]), creditNote(2, "CN00002", "18/12/2026", d.invoices[2]),
        creditNote(3, "CN00003", "22/12/2026", d.invoices[3]) };
    d.bills = { bill(1, "S-101", gstin("33SHARM1234A1Z")), bill(2, "S-102", gstin("33SHARM1234A1Z")),
        bill(3, "S-103", gstin("33SHARM1234A1Z")) };
    return d;
}

// A finding as the test compares it: kind, document, key.
QString brief(const ReturnFinding& f) { return FindingKindText(f.kind) + " | " + f.document.text() + " | " + f.key; }

QStringList briefs(const std::vector<ReturnFinding>& findings)
{
    QStringList list;
    for (const ReturnFinding& f : findings)
        list << brief(f) + (f.problem.isEmpty() || f.action.isEmpty() ? " (says nothing)" : "");
    return list;
}

using Plant = std::function<void(ReturnDocuments&)>;

Invoice& middle(ReturnDocuments& d) { return d.invoices[2]; }

// The middle invoice under another number, its credit note following it.
void renumberMiddle(ReturnDocuments& d, const QString& number)
{
    middle(d).number = number;
    d.notes[1].invoice.number = number;
}

void retax(Invoice& x)
{
    ComputeTotals(x);
}

const char* const Middle = "Invoice A00003 of 12/12/2026";

QString at(const char* kind, const char* document, const char* key) { return QStringLiteral("%1 | %2 | %3").arg(kind, document, key); }

} // namespace

Q_DECLARE_METATYPE(Plant)

class ReturnCheckTest : public QObject {
    Q_OBJECT
private slots:
    void findsExactlyThePlantedFault_data();
    void findsExactlyThePlantedFault();
    void gapNamesTheMissingNumbers();
    void gstinInDetailsNamesTheInvoice();
    void sumFindingsNameBothFigures();
    void findingsForFile_data();
    void findingsForFile();
    void pinRangesFollowTheStates_data();
    void pinRangesFollowTheStates();
    void readsTheMonth_data();
    void readsTheMonth();
    void checksTheStoredMonth();
    void checksTheSumsOfTheFilesAsWritten();
    void findsTheInvoiceOfANoteFromAnEarlierYear();
    void saysTheDataIsReadOnly();
};

void ReturnCheckTest::findsExactlyThePlantedFault_data()
{
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<QStringList>("expected");
    const QString ctin = at("Error", Middle, "Buyer's GSTIN (ctin)");
    QTest::newRow("clean month") << Plant([](ReturnDocuments&) { }) << QStringList();
    QTest::newRow("GSTIN check character") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = kochiGstin().left(14) + (kochiGstin().endsWith('Z') ? 'Y' : 'Z');
    }) << QStringList { ctin };
    QTest::newRow("GSTIN of 14 characters")
        << Plant([](ReturnDocuments& d) { middle(d).buyer.gstin = kochiGstin().left(14); }) << QStringList { ctin };
    QTest::newRow("GSTIN of another State")
        << Plant([](ReturnDocuments& d) { middle(d).buyer.gstin = gstin("29KOCHI1234A1Z"); }) << QStringList { ctin };
    QTest::newRow("the company's own GSTIN")
        << Plant([](ReturnDocuments& d) {
               middle(d).buyer.gstin = companyGstin();
               middle(d).buyer.state = "Tamil Nadu";
               middle(d).buyer.pin = "600001";
               middle(d).mode = TaxMode::Cgst;
               retax(middle(d));
           })
        << QStringList { ctin };
    QTest::newRow("GSTIN in the address of a buyer without one") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = "N.A.";
        middle(d).buyer.address = "Main Road, GSTIN " + kochiGstin().toLower();
    }) << QStringList { ctin };
    QTest::newRow("GSTIN in the name of a buyer without one") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = "";
        middle(d).buyer.name = "Kochi Stores (" + kochiGstin() + ")";
    }) << QStringList { ctin };
    QTest::newRow("a PAN and a short number in the address of a buyer without GSTIN") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = "N.A.";
        middle(d).buyer.address = "PAN KOCHI1234A, Door 32KOCHI1234A1";
    }) << QStringList();
    QTest::newRow("GSTIN in the address of a registered buyer") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.address = "Main Road, GSTIN " + kochiGstin();
    }) << QStringList();
    QTest::newRow("State not in the list") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = "N.A.";
        middle(d).buyer.state = "Keralam";
    }) << QStringList { at("Error", Middle, "Place of supply (pos)") };
    QTest::newRow("no State for a local buyer without GSTIN") << Plant([](ReturnDocuments& d) {
        d.invoices[1].buyer.state = "N.A.";
        d.invoices[1].buyer.pin.clear();
    }) << QStringList();
    QTest::newRow("no State for a buyer charged IGST") << Plant([](ReturnDocuments& d) {
        d.invoices[3].buyer.state = "N.A.";
    }) << QStringList { at("Error", "Invoice A00004 of 15/12/2026", "Place of supply (pos)") };
    QTest::newRow("CGST to another State") << Plant([](ReturnDocuments& d) {
        middle(d).mode = TaxMode::Cgst;
        retax(middle(d));
    }) << QStringList { at("Error", Middle, "Tax kind (iamt, camt, samt)") };
    QTest::newRow("PIN starting with 0")
        << Plant([](ReturnDocuments& d) { middle(d).buyer.pin = "082001"; })
        << QStringList { at("Warning", Middle, "Buyer's PIN (toPincode)") };
    QTest::newRow("PIN of another State")
        << Plant([](ReturnDocuments& d) { middle(d).buyer.pin = "600001"; })
        << QStringList { at("Warning", Middle, "Buyer's PIN (toPincode)") };
    QTest::newRow("delivery PIN of another State on an e-way bill")
        << Plant([](ReturnDocuments& d) {
               middle(d).delivery.pin = "560001";
               middle(d).transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
           })
        << QStringList { at("Error", Middle, "Delivery PIN (toPincode)") };
    QTest::newRow("number of 17 characters")
        << Plant([](ReturnDocuments& d) { renumberMiddle(d, "A2026-27/KOCHI/3X"); })
        << QStringList { at("Error", "Invoice A2026-27/KOCHI/3X of 12/12/2026", "Invoice number (inum)"),
               at("Warning", "Invoice A00004 of 15/12/2026", "Invoice number (inum)") };
    QTest::newRow("number starting with a slash")
        << Plant([](ReturnDocuments& d) { renumberMiddle(d, "/00003"); })
        << QStringList { at("Error", "Invoice /00003 of 12/12/2026", "Invoice number (inum)"),
               at("Warning", "Invoice A00004 of 15/12/2026", "Invoice number (inum)") };
    QTest::newRow("number with a blank")
        << Plant([](ReturnDocuments& d) { renumberMiddle(d, "A 00003"); })
        << QStringList { at("Error", "Invoice A 00003 of 12/12/2026", "Invoice number (inum)"),
               at("Warning", "Invoice A00004 of 15/12/2026", "Invoice number (inum)") };
    QTest::newRow("number used twice, letter case aside")
        << Plant([](ReturnDocuments& d) { renumberMiddle(d, "a00002"); })
        << QStringList { at("Error", "Invoice a00002 of 12/12/2026", "Invoice number (inum)"),
               at("Warning", "Invoice A00004 of 15/12/2026", "Invoice number (inum)") };
    QTest::newRow("gap in the series")
        << Plant([](ReturnDocuments& d) { d.invoices.erase(d.invoices.begin() + 2);
               d.notes[1].invoice.number = "A00002";
               d.notes[1].invoice.date = QDate(2026, 12, 8); })
        << QStringList { at("Warning", "Invoice A00004 of 15/12/2026", "Invoice number (inum)") };
    QTest::newRow("HSN missing") << Plant([](ReturnDocuments& d) { middle(d).lines[1].hsn = "N.A."; })
                                 << QStringList { at("Error", Middle, "HSN (hsn_sc), line 2") };
    QTest::newRow("HSN with a letter") << Plant([](ReturnDocuments& d) { middle(d).lines[0].hsn = "32149O"; })
                                       << QStringList { at("Error", Middle, "HSN (hsn_sc), line 1") };
    QTest::newRow("HSN of five digits") << Plant([](ReturnDocuments& d) { middle(d).lines[0].hsn = "32149"; })
                                        << QStringList { at("Error", Middle, "HSN (hsn_sc), line 1") };
    QTest::newRow("HSN of four digits above Rs 5 crore")
        << Plant([](ReturnDocuments& d) { middle(d).lines[1].hsn = "3208"; })
        << QStringList { at("Error", Middle, "HSN (hsn_sc), line 2") };
    QTest::newRow("service code on goods on an e-way bill") << Plant([](ReturnDocuments& d) {
        middle(d).lines[0].hsn = "998314";
        middle(d).transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
    }) << QStringList { at("Error", Middle, "HSN (hsnCd), line 1") };
    QTest::newRow("freight without its SAC") << Plant([](ReturnDocuments& d) {
        middle(d).charges[0] = { "Freight", "N.A.", "", 0, 15000 };
        middle(d).taxes[TaxOnOthers1].rate = 18;
        retax(middle(d));
    }) << QStringList { at("Error", Middle, "HSN (hsn_sc), Freight") };
    QTest::newRow("issued under another GSTIN") << Plant([](ReturnDocuments& d) {
        middle(d).seller.gstin = gstin("33AAACH7409R2Z");
    }) << QStringList { at("Warning", Middle, "Seller's GSTIN (gstin)") };
    QTest::newRow("rate no longer in force") << Plant([](ReturnDocuments& d) {
        middle(d).taxes[TaxOnGoods].rate = 12;
        for (InvoiceLine& line : middle(d).lines)
            line.gstRate = 12; // each line's rate is its own
        retax(middle(d));
    }) << QStringList { at("Error", Middle, "Rate (rt), line 1"), at("Error", Middle, "Rate (rt), line 2") };
    QTest::newRow("large inter-State invoice to a buyer without GSTIN") << Plant([](ReturnDocuments& d) {
        middle(d).buyer.gstin = "N.A.";
        middle(d).lines[0].quantity = 600;
        middle(d).lines[0].amount = LineAmount(600, 200);
        retax(middle(d));
    }) << QStringList { at("Note", Middle, "Table (b2cl)") };
    QTest::newRow("e-way bill for an invoice over 180 days old") << Plant([](ReturnDocuments& d) {
        d.today = QDate(2027, 6, 20);
        d.aboveFiveCrore = false;
        for (Invoice& x : d.invoices)
            for (InvoiceLine& l : x.lines)
                l.hsn.truncate(4);
        middle(d).transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
    }) << QStringList { at("Error", Middle, "E-way bill (docDate)") };
    QTest::newRow("credit note on an invoice not in the books")
        << Plant([](ReturnDocuments& d) { d.notes[1].invoice.number = "A00099"; })
        << QStringList { at("Error", "Credit note CN00002 of 18/12/2026", "Invoice (inum)") };
    QTest::newRow("credit note after 30 November of the next year") << Plant([](ReturnDocuments& d) {
        Invoice old = invoice(6, "10/03/2025", "Kochi Stores", kochiGstin(), "Kerala", "682001",
            { line("Putty", "321490", 5, 200) });
        old.number = "B00001";
        d.invoices.push_back(old);
        d.notes[1].invoice.number = "B00001";
        d.notes[1].invoice.date = QDate(2025, 3, 10);
    }) << QStringList { at("Error", "Credit note CN00002 of 18/12/2026", "Note date (nt_dt)") };
    QTest::newRow("credit note on the first of December after the next year") << Plant([](ReturnDocuments& d) {
        Invoice old = invoice(6, "31/03/2026", "Kochi Stores", kochiGstin(), "Kerala", "682001",
            { line("Putty", "321490", 5, 200) });
        old.number = "B00001";
        d.invoices.push_back(old);
        d.notes[1].invoice.number = "B00001";
        d.notes[1].invoice.date = QDate(2026, 3, 31); // may be credited up to 30/11/2026
        d.notes[1].date = QDate(2026, 12, 1);
        d.notes[1].dateText = "01/12/2026";
    }) << QStringList { at("Error", "Credit note CN00002 of 01/12/2026", "Note date (nt_dt)") };
    QTest::newRow("note dated before its invoice")
        << Plant([](ReturnDocuments& d) { d.notes[1].invoice.date = QDate(2026, 12, 20); })
        << QStringList { at("Error", "Credit note CN00002 of 18/12/2026", "Note date (nt_dt)") };
    QTest::newRow("supplier's GSTIN of another State") << Plant([](ReturnDocuments& d) {
        d.bills[1].supplierGstin = gstin("27SHARM1234A1Z");
    }) << QStringList { at("Warning", "Bill S-102 of Sharma Paints", "Supplier's GSTIN (ctin)") };
    QTest::newRow("month not yet ended") << Plant([](ReturnDocuments& d) { d.today = QDate(2026, 12, 31); })
                                         << QStringList { at("Warning", "Return of 122026", "Return period (fp)") };
    QTest::newRow("return over three years old") << Plant([](ReturnDocuments& d) {
        d.today = QDate(2030, 1, 12);
        d.aboveFiveCrore = false;
        for (Invoice& x : d.invoices)
            for (InvoiceLine& l : x.lines)
                l.hsn.truncate(4);
    }) << QStringList { at("Error", "Return of 122026", "Return period (fp)") };
    QTest::newRow("HSN summary short of the invoices") << Plant([](ReturnDocuments& d) {
        d.gstr1 = gstr1File(R"({"b2b":[{"ctin":"x","inv":[{"itms":[{"num":1,"itm_det":{"rt":18,"txval":1000.5}}]}]}],)"
                             R"("cdnr":[{"nt":[{"ntty":"C","itms":[{"itm_det":{"rt":18,"txval":100}}]}]}],)"
                             R"("hsn":{"hsn_b2b":[{"hsn_sc":"3208","rt":18,"txval":890.5}]}})");
    }) << QStringList { at("Error", "GSTR-1 file", "HSN summary (hsn_b2b.txval at 18%)") };
    QTest::newRow("HSN summary net of the credit notes") << Plant([](ReturnDocuments& d) {
        d.gstr1 = gstr1File(R"({"b2b":[{"ctin":"x","inv":[{"itms":[{"num":1,"itm_det":{"rt":18,"txval":1000.5}}]}]}],)"
                             R"("cdnr":[{"nt":[{"ntty":"C","itms":[{"itm_det":{"rt":18,"txval":100}}]}]}],)"
                             R"("hsn":{"hsn_b2b":[{"hsn_sc":"3208","rt":18,"txval":900.5}]}})");
    }) << QStringList();
    QTest::newRow("HSN summary's CGST a paisa above the invoices'") << Plant([](ReturnDocuments& d) {
        d.gstr1 = gstr1File(R"({"b2b":[{"ctin":"x","inv":[{"itms":[{"num":1,"itm_det":{"rt":18,"txval":1000,"camt":90,"samt":90}}]}]}],)"
                             R"("hsn":{"hsn_b2b":[{"hsn_sc":"3208","rt":18,"txval":1000,"camt":90.01,"samt":90}]}})");
    }) << QStringList { at("Error", "GSTR-1 file", "HSN summary (hsn_b2b.camt at 18%)") };
    QTest::newRow("b2cs row netted below nothing") << Plant([](ReturnDocuments& d) {
        d.gstr1 = gstr1File(R"({"b2cs":[{"sply_ty":"INTRA","pos":"33","typ":"OE","rt":18,"txval":-150,"camt":-13.5,"samt":-13.5}],)"
                             R"("hsn":{"hsn_b2c":[{"hsn_sc":"9603","rt":18,"txval":-150,"camt":-13.5,"samt":-13.5}]}})");
        d.b2csNotes = { { "INTRA", "33", 18, { "CN00002", "CN00005" } }, { "INTER", "29", 18, { "CN00003" } } };
    }) << QStringList { at("Error", "GSTR-1 file", "b2cs (INTRA, pos 33, rt 18%)") };
    const QJsonObject b2bFile = gstr1File(R"({"b2b":[{"ctin":"x","inv":[{"itms":[{"num":1,"itm_det":{"rt":18,"txval":1000,"camt":90,"samt":90}}]}]}],)"
                             R"("b2cs":[{"sply_ty":"INTRA","pos":"33","rt":0,"txval":40}],)"
                             R"("hsn":{"hsn_b2b":[{"hsn_sc":"3208","rt":18,"txval":1000,"camt":90,"samt":90}],)"
                             R"("hsn_b2c":[{"hsn_sc":"0713","rt":0,"txval":40}]}})");
    QTest::newRow("GSTR-1 agreeing with the 3B worksheet") << Plant([=](ReturnDocuments& d) {
        d.gstr1 = b2bFile;
        d.gstr3b = OutwardTable { 100000, { 0, 9000, 9000, 0 }, 4000 };
    }) << QStringList();
    QTest::newRow("GSTR-1 a paisa short of the 3B worksheet's CGST") << Plant([=](ReturnDocuments& d) {
        d.gstr1 = b2bFile;
        d.gstr3b = OutwardTable { 100000, { 0, 9001, 9000, 0 }, 4000 };
    }) << QStringList { at("Error", "GSTR-1 file", "GSTR-3B 3.1(a) central tax (camt)") };
    QTest::newRow("GSTR-1's nil rated supplies beside the 3B worksheet's") << Plant([=](ReturnDocuments& d) {
        d.gstr1 = b2bFile;
        d.gstr3b = OutwardTable { 100000, { 0, 9000, 9000, 0 }, 3999 };
    }) << QStringList { at("Error", "GSTR-1 file", "GSTR-3B 3.1(c) nil rated (txval)") };
    QTest::newRow("invoice's IGST total a paisa above its rows") << Plant([](ReturnDocuments& d) {
        middle(d).totals.igst += 1; // as an older version kept it, unrounded
    }) << QStringList { at("Error", Middle, "e-invoice ValDtls.IgstVal") };
    QTest::newRow("invoice's total a paisa above its rows") << Plant([](ReturnDocuments& d) {
        middle(d).totals.grand += 1;
    }) << QStringList { at("Error", Middle, "e-invoice ValDtls.TotInvVal") };
    QTest::newRow("tax row a paisa above its rate on an e-way bill") << Plant([](ReturnDocuments& d) {
        Invoice& x = middle(d);
        x.transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
        x.taxes[TaxOnGoods].first.amount += 1; // the row and the totals agreeing, the rate not
        x.totals.igst += 1;
        x.totals.grand += 1;
        ShareGoodsTax(x);
    }) << QStringList { at("Error", Middle, "e-way bill igstValue") };
    QTest::newRow("e-way bill of an invoice whose rows agree") << Plant([](ReturnDocuments& d) {
        middle(d).transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
    }) << QStringList();
    QTest::newRow("no documents") << Plant([](ReturnDocuments& d) {
        d.invoices.clear();
        d.notes.clear();
        d.bills.clear();
    }) << QStringList { at("Note", "Return of 122026", "Return period (fp)") };
}

void ReturnCheckTest::findsExactlyThePlantedFault()
{
    QFETCH(Plant, plant);
    QFETCH(QStringList, expected);
    ReturnDocuments d = cleanMonth();
    plant(d);
    const std::vector<ReturnFinding> findings = CheckReturn(d);
    QCOMPARE(briefs(findings).join("\n"), expected.join("\n"));
    QCOMPARE(HasErrors(findings), !expected.filter("Error |").isEmpty());
}

// The finding of a b2cs row below nothing names its notes and its row; a
// difference in a sum names the file, the key and both figures.
void ReturnCheckTest::sumFindingsNameBothFigures()
{
    ReturnDocuments d = cleanMonth();
    d.gstr1 = gstr1File(R"({"b2cs":[{"sply_ty":"INTRA","pos":"33","typ":"OE","rt":18,"txval":-150,"camt":-13.5,"samt":-13.5}],)"
                         R"("hsn":{"hsn_b2c":[{"hsn_sc":"9603","rt":18,"txval":-150,"camt":-13.5,"samt":-13.49}]}})");
    d.b2csNotes = { { "INTER", "33", 18, { "CN00003" } }, { "INTRA", "33", 18, { "CN00002", "CN00005" } } };
    middle(d).totals.igst += 1;
    const std::vector<ReturnFinding> findings = CheckReturn(d);
    QCOMPARE(findings.size(), std::size_t(3));
    QCOMPARE(findings[0].problem, QString("The e-invoice's ValDtls.IgstVal is Rs 288.00, the invoice's IGST as saved Rs 288.01."));
    QCOMPARE(findings[0].files, PortalFiles(PortalFileKind::EInvoice));
    QCOMPARE(findings[1].key, QString("HSN summary (hsn_b2c.samt at 18%)"));
    QCOMPARE(findings[1].problem,
        QString("In the GSTR-1 file the HSN summary hsn_b2c comes to Rs -13.49 of samt at 18%, its supplies (b2cl, b2cs, cdnur) to Rs -13.50."));
    QVERIFY2(findings[2].problem.contains("comes to Rs -150.00 (tax Rs -27.00): the credit notes CN00002, CN00005 take off"),
        qPrintable(findings[2].problem));
}

void ReturnCheckTest::gstinInDetailsNamesTheInvoice()
{
    ReturnDocuments d = cleanMonth();
    middle(d).buyer.gstin = "N.A.";
    middle(d).buyer.dist = "Ernakulam " + kochiGstin();
    const std::vector<ReturnFinding> findings = CheckReturn(d);
    QCOMPARE(findings.size(), std::size_t(1));
    QCOMPARE(findings[0].problem,
        "Invoice A00003 is to a buyer without GSTIN, but the buyer's district holds \"" + kochiGstin()
            + "\", which has the form of a GSTIN.");
    QVERIFY(findings[0].action.contains("credit note for invoice A00003"));
}

void ReturnCheckTest::findingsForFile_data()
{
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<int>("file");
    QTest::addColumn<QString>("document"); // the invoice or note that goes into the file; "" for the return
    QTest::addColumn<QStringList>("expected");
    const int gstr1 = int(PortalFileKind::Gstr1), eInvoice = int(PortalFileKind::EInvoice),
              ewayBill = int(PortalFileKind::EwayBill);
    const Plant pin = [](ReturnDocuments& d) { middle(d).buyer.pin = "600001"; };
    const QString pinWarning = at("Warning", Middle, "Buyer's PIN (toPincode)");
    QTest::newRow("PIN: not in the return") << pin << gstr1 << "" << QStringList();
    QTest::newRow("PIN: in the e-invoice") << pin << eInvoice << "A00003" << QStringList { pinWarning };
    QTest::newRow("PIN: in the e-way bill") << pin << ewayBill << "A00003" << QStringList { pinWarning };
    QTest::newRow("PIN: not in another invoice's e-invoice") << pin << eInvoice << "A00002" << QStringList();
    const Plant gap = [](ReturnDocuments& d) { d.invoices[4].number = "A00009"; };
    const QString gapWarning = at("Warning", "Invoice A00009 of 21/12/2026", "Invoice number (inum)");
    QTest::newRow("gap: in the return") << gap << gstr1 << "" << QStringList { gapWarning };
    QTest::newRow("gap: not in the e-invoice") << gap << eInvoice << "A00009" << QStringList();
    const Plant notEnded = [](ReturnDocuments& d) { d.today = QDate(2026, 12, 31); };
    QTest::newRow("month not ended: in the return")
        << notEnded << gstr1 << "" << QStringList { at("Warning", "Return of 122026", "Return period (fp)") };
    QTest::newRow("month not ended: not in the e-way bill") << notEnded << ewayBill << "A00003" << QStringList();
    const Plant serviceCode = [](ReturnDocuments& d) {
        middle(d).lines[0].hsn = "998314";
        middle(d).transport = InvoiceTransport { "Road", 120, "KL07AB1234", {}, {}, {}, {} };
    };
    QTest::newRow("service code: in the e-way bill")
        << serviceCode << ewayBill << "A00003" << QStringList { at("Error", Middle, "HSN (hsnCd), line 1") };
    QTest::newRow("service code: not in the e-invoice") << serviceCode << eInvoice << "A00003" << QStringList();
    const Plant bill = [](ReturnDocuments& d) { d.bills[1].supplierGstin = gstin("27SHARM1234A1Z"); };
    QTest::newRow("purchase bill: not in the return") << bill << gstr1 << "" << QStringList();
    const Plant company = [](ReturnDocuments& d) { d.company->state = "Madras Presidency"; };
    QTest::newRow("company: in every invoice's e-invoice") << company << eInvoice << "A00001"
                                                           << QStringList { at("Error", "Company Zelva Traders", "Company's State") };
    const Plant noteDate = [](ReturnDocuments& d) { d.notes[1].invoice.date = QDate(2026, 12, 20); };
    const QString noteError = at("Error", "Credit note CN00002 of 18/12/2026", "Note date (nt_dt)");
    QTest::newRow("note: in its e-invoice") << noteDate << eInvoice << "CN00002" << QStringList { noteError };
    QTest::newRow("note: in the return") << noteDate << gstr1 << "" << QStringList { noteError };
}

void ReturnCheckTest::findingsForFile()
{
    QFETCH(Plant, plant);
    QFETCH(int, file);
    QFETCH(QString, document);
    QFETCH(QStringList, expected);
    ReturnDocuments d = cleanMonth();
    plant(d);
    std::vector<CheckedDocument> documents;
    for (const Invoice& x : d.invoices)
        if (x.number == document)
            documents.push_back(CheckedInvoice(x));
    if (document.startsWith("CN"))
        documents.push_back({ CheckedDocument::Type::CreditNote, document, 0, {}, {} });
    QCOMPARE(documents.empty(), document.isEmpty());
    QCOMPARE(briefs(FindingsForFile(CheckReturn(d), PortalFileKind(file), documents)).join("\n"), expected.join("\n"));
}

void ReturnCheckTest::gapNamesTheMissingNumbers()
{
    ReturnDocuments d = cleanMonth();
    d.invoices[4].number = "A00009";
    const std::vector<ReturnFinding> findings = CheckReturn(d);
    QCOMPARE(findings.size(), std::size_t(1));
    QCOMPARE(findings[0].document.number, QString("A00009"));
    QVERIFY2(findings[0].problem.contains("A00005, A00006, A00007, A00008 missing"),
        qPrintable(findings[0].problem));
}

void ReturnCheckTest::pinRangesFollowTheStates_data()
{
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("within");
    QTest::newRow("Chennai") << "600017" << "33" << true;
    QTest::newRow("Coimbatore") << "641001" << "33" << true;
    QTest::newRow("Bengaluru in Tamil Nadu") << "560001" << "33" << false;
    QTest::newRow("Puducherry") << "605001" << "34" << true;
    QTest::newRow("Mahe, Puducherry") << "673310" << "34" << true;
    QTest::newRow("Chennai in Puducherry") << "600017" << "34" << false;
    QTest::newRow("Dehradun") << "248001" << "05" << true;
    QTest::newRow("Lucknow in Uttarakhand") << "226001" << "05" << false;
    QTest::newRow("Hyderabad") << "500001" << "36" << true;
    QTest::newRow("Vijayawada in Telangana") << "520001" << "36" << false;
    QTest::newRow("Panaji") << "403001" << "30" << true;
    QTest::newRow("Mumbai in Goa") << "400001" << "30" << false;
    QTest::newRow("Gangtok") << "737101" << "11" << true;
    QTest::newRow("Other Territory") << "110001" << "97" << true;
}

void ReturnCheckTest::pinRangesFollowTheStates()
{
    QFETCH(QString, pin);
    QFETCH(QString, state);
    QFETCH(bool, within);
    QCOMPARE(PinWithinState(pin, state), within);
}

void ReturnCheckTest::readsTheMonth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("from");
    QTest::newRow("December") << "122026" << QDate(2026, 12, 1);
    QTest::newRow("January, blanks around") << " 012027 " << QDate(2027, 1, 1);
    QTest::newRow("month 13") << "132026" << QDate();
    QTest::newRow("month 0") << "002026" << QDate();
    QTest::newRow("year first") << "202612" << QDate();
    QTest::newRow("five digits") << "12026" << QDate();
    QTest::newRow("before GST") << "062017" << QDate(2017, 6, 1);
    QTest::newRow("a word") << "Dec2026" << QDate();
}

void ReturnCheckTest::readsTheMonth()
{
    QFETCH(QString, text);
    QFETCH(QDate, from);
    const std::optional<Period> month = ReadReturnMonth(text);
    QCOMPARE(month ? month->from : QDate(), from);
}

// The month saved as the invoice forms save it, then read back: a clean
// month (its GSTR-1 file's sums agreeing) reports nothing, and the fault
// planted in the middle invoice is found there alone.
void ReturnCheckTest::checksTheStoredMonth()
{
    testing::TempData data;
    Database& db = *data.db;
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')",
        { "Zelva Traders", "Tamil Nadu", companyGstin() }, "add the company", DbFile::Master);
    std::vector<Invoice> invoices = cleanInvoices();
    invoices[2].buyer.pin = "560001";
    for (const Invoice& x : invoices)
        StoreInvoice(db, x);
    SaleNote note = NoteAgainst(NoteKind::Credit, invoices[1]);
    note.date = QDate(2026, 12, 20);
    note.reason = SalesReturnReason();
    note.lines = { { 1, "Brush", "960340", "Nos", 2, 2500, 0, 0 } };
    QVERIFY(StoreSaleNote(db, note).saved());

    const std::vector<ReturnFinding> findings = CheckReturnMonth(db, MonthPeriod(2026, 12), QDate(2027, 1, 5));
    // The turnover band is not set: the HSN codes' length is not checked, and the check says so.
    QCOMPARE(briefs(findings),
        (QStringList { at("Note", "Company Zelva Traders", "Turnover band"),
            at("Warning", Middle, "Buyer's PIN (toPincode)") }));
    QCOMPARE(findings[1].document.serial, 3);
    QVERIFY2(findings[1].problem.contains("560001"), qPrintable(findings[1].problem));
    QVERIFY(!HasErrors(findings));
}

namespace {

void addCompany(Database& db)
{
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')",
        { "Zelva Traders", "Tamil Nadu", companyGstin() }, "add the company", DbFile::Master);
}

// A credit note of value on the goods line of the invoice.
void storeCreditNote(Database& db, const Invoice& on, const char* date, const NoteLine& line)
{
    SaleNote note = NoteAgainst(NoteKind::Credit, on);
    note.date = ReadDateText(date);
    note.reason = SalesReturnReason();
    note.lines = { line };
    QVERIFY(StoreSaleNote(db, note).saved());
}

// December stored: the first invoice travels on an e-way bill and has a
// credit note (CN00002) as its registered buyer's e-invoice; the second's
// note (CN00001) is netted into b2cs.
void storeDecember(Database& db)
{
    addCompany(db);
    std::vector<Invoice> invoices = cleanInvoices();
    invoices[0].transport = InvoiceTransport { "Road", 12, "TN01AB1234", {}, {}, {}, {} };
    for (const Invoice& x : invoices)
        StoreInvoice(db, x);
    storeCreditNote(db, invoices[1], "20/12/2026", { 1, "Brush", "960340", "Nos", 2, 2500, 0, 0 });
    storeCreditNote(db, invoices[0], "22/12/2026", { 1, "Paint", "320810", "Nos", 1, 25000, 0, 0 });
}

QString turnoverNote() { return at("Note", "Company Zelva Traders", "Turnover band"); }

} // namespace

// The files as their writers make them from the stored month: agreeing sums
// report nothing. Then records as an older version wrote them, each a paisa
// off, are each found in the file whose sum they upset, naming both figures;
// and a November invoice to a walk-in buyer taken back in December beyond
// December's small sales there nets the b2cs row of place 33 at 18% below
// nothing, the finding naming both notes on it.
void ReturnCheckTest::checksTheSumsOfTheFilesAsWritten()
{
    testing::TempData data;
    Database& db = *data.db;
    storeDecember(db);
    const Period december = MonthPeriod(2026, 12);
    QCOMPARE(briefs(CheckReturnMonth(db, december, QDate(2027, 1, 5))), QStringList { turnoverNote() });

    const auto plant = [&](const QString& sql) { db.run(sql, {}, "plant an older record", DbFile::Invoice); };
    // A00001: a tax row a paisa above its rate, its totals agreeing with it.
    plant("UPDATE Invoice.GoodsInvoice SET Amount8 = Amount8 + 0.01, TCgst = TCgst + 0.01, "
          "totalamount = totalamount + 0.01 WHERE sno = 1");
    // A00005: its CGST total kept unrounded.
    plant("UPDATE Invoice.GoodsInvoice SET TCgst = TCgst + 0.006 WHERE sno = 5");
    // CN00002: its stored CGST a paisa above its line's.
    plant("UPDATE Invoice.SaleNote SET Cgst = Cgst + 0.01 WHERE NoteNo = 'CN00002'");
    const Invoice november = invoice(6, "25/11/2026", "Walk-in Buyer", "N.A.", "Tamil Nadu", "641001",
        { line("Brush", "960340", 20, 12.5) });
    StoreInvoice(db, november);
    storeCreditNote(db, november, "23/12/2026", { 1, "Brush", "960340", "Nos", 20, 25000, 0, 0 });

    const std::vector<ReturnFinding> findings = CheckReturnMonth(db, december, QDate(2027, 1, 5));
    QCOMPARE(briefs(findings).join("\n"),
        (QStringList { turnoverNote(), at("Error", "Invoice A00001 of 03/12/2026", "e-way bill cgstValue"),
             at("Error", "Invoice A00005 of 21/12/2026", "e-invoice ValDtls.CgstVal"),
             at("Error", "Credit note CN00002 of 22/12/2026", "e-invoice ValDtls.CgstVal"),
             at("Error", "GSTR-1 file", "HSN summary (hsn_b2b.camt at 18%)"),
             at("Error", "GSTR-1 file", "b2cs (INTRA, pos 33, rt 18%)") })
            .join("\n"));
    const QStringList problems { "The e-way bill's cgstValue is Rs 90.01, its items' taxable amounts at their cgstRate "
                                 "come to Rs 90.00.",
        "The e-invoice's ValDtls.CgstVal is Rs 3.38, the invoice's CGST as saved Rs 3.39.",
        "The e-invoice's ValDtls.CgstVal is Rs 22.50, the note's CGST as saved Rs 22.51.",
        "In the GSTR-1 file the HSN summary hsn_b2b comes to Rs 70.89 of camt at 18%, its supplies (b2b, cdnr) to "
        "Rs 70.88." };
    for (int i = 0; i < problems.size(); ++i)
        QCOMPARE(findings[std::size_t(i) + 1].problem, problems[i]);
    QVERIFY2(findings[5].problem.contains("comes to Rs -150.00 (tax Rs -27.00): the credit notes CN00001, CN00003 take off"),
        qPrintable(findings[5].problem));
}

// A note of the month on an invoice of the financial year before (dated
// within its credit note days) finds that invoice in the books, and its
// e-invoice made with that invoice's buyer agrees with the note as saved.
void ReturnCheckTest::findsTheInvoiceOfANoteFromAnEarlierYear()
{
    testing::TempData data;
    Database& db = *data.db;
    storeDecember(db);
    const Invoice march = invoice(6, "10/03/2026", "Arun Traders", arunGstin(), "Tamil Nadu", "600017",
        { line("Paint", "320810", 4, 250), line("Brush", "960340", 6, 12.5) });
    StoreInvoice(db, march);
    storeCreditNote(db, march, "16/11/2026", { 2, "Brush", "960340", "Nos", 2, 2500, 0, 0 });
    QCOMPARE(briefs(CheckReturnMonth(db, MonthPeriod(2026, 11), QDate(2027, 1, 5))), QStringList { turnoverNote() });
}

// A data folder whose invoice file is read-only is checked all the same, and
// the check says the data cannot be changed and which file.
void ReturnCheckTest::saysTheDataIsReadOnly()
{
    testing::TempData data;
    if (data.db->onServer())
        QSKIP("a server's database is not made read-only by a file's mode");
    storeDecember(*data.db);
    data.db.reset();
    const QString file = data.folder() + "/Database/Invoice.db";
    const bool immutable = QProcess::execute("chattr", { "+i", file }) == 0;
    if (!immutable && (geteuid() == 0 || !QFile::setPermissions(file, QFile::ReadOwner)))
        QSKIP("this file system cannot make the file read-only for this user");
    const auto restore = qScopeGuard([&] {
        if (immutable)
            QProcess::execute("chattr", { "-i", file });
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    });
    const std::unique_ptr<Database> db = Database::open(data.folder());
    const std::vector<ReturnFinding> findings = CheckReturnMonth(*db, MonthPeriod(2026, 12), QDate(2027, 1, 5));
    QCOMPARE(briefs(findings), (QStringList { turnoverNote(), at("Note", "Return of 122026", "Data (read-only)") }));
    QVERIFY2(findings[1].problem.contains("Database/Invoice.db: the file is read-only"), qPrintable(findings[1].problem));
}

QTEST_GUILESS_MAIN(ReturnCheckTest)
#include "test_returncheck.moc"
