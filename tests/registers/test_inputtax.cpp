// Input tax: purchase bills with GST, the purchase register, the GSTR-3B
// worksheet and the GSTR-2B matching over one check month (January 2025, when
// 12 % and 28 % were still in force) of a Tamil Nadu shop. Every expected figure is worked out below from the rules,
// not read from the program.
#include "registers/gstr2b.h"
#include "registers/gstr3b.h"
#include "registers/purchaseregister.h"
#include "sales/suppliernote.h"

#include "data/schema.h"
#include "gst/gststates.h"
#include "reports/invoiceshape.h"
#include "sales/invoicecancel.h"
#include "registers/savedinvoice.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace zelva;
using testing::Base;
using testing::InvoiceShape;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8"); // Tamil Nadu

// A valid GSTIN of the State code and PAN, its check character worked out.
QString gstinOf(const char* state, const char* pan)
{
    const QString first14 = QStringLiteral("%1%2").arg(QLatin1String(state), QLatin1String(pan)) + QStringLiteral("1Z");
    return first14 + GstinCheckCharacter(first14);
}

QString Sharma() { return gstinOf("33", "AAFCS1234K"); } // Tamil Nadu
QString Mysore() { return gstinOf("29", "AABCM5678L"); } // Karnataka
QString Carriers() { return gstinOf("33", "AAGFC9012M"); } // Tamil Nadu, goods transport (reverse charge)
QString Furnish() { return gstinOf("33", "AAHCF3456N"); } // Tamil Nadu
QString Stranger() { return gstinOf("27", "AAJCS7890P"); } // Maharashtra, not in the books

Paise rupees(double amount) { return ToPaise(amount); }

PurchaseBillLine line(const char* item, Paise taxable, double gstRate, const char* itemCode = "")
{
    PurchaseBillLine l;
    l.itemName = QString::fromUtf8(item);
    l.itemCode = QString::fromLatin1(itemCode);
    if (!l.itemCode.isEmpty())
        l.stock = StockTable::ForSale;
    l.quantity = 2;
    l.rate = ToRupees(taxable) / 2;
    l.taxable = taxable;
    l.gstRate = gstRate;
    return l;
}

PurchaseBill bill(const char* number, const char* date, const char* supplier, const QString& gstin, const char* state,
                  std::vector<PurchaseBillLine> lines, bool reverseCharge = false,
                  CreditKind credit = CreditKind::Eligible)
{
    PurchaseBill b;
    b.number = QString::fromLatin1(number);
    b.date = QDate::fromString(QString::fromLatin1(date), QStringLiteral("dd/MM/yyyy"));
    b.supplierName = QString::fromLatin1(supplier);
    b.supplierGstin = gstin;
    b.supplierState = QString::fromLatin1(state);
    b.reverseCharge = reverseCharge;
    b.credit = credit;
    b.lines = std::move(lines);
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), CompanyGstin);
    return b;
}

// The check month's bills: several rates, one inter-State, one under reverse
// charge, one whose credit is not eligible, one from an unregistered supplier
// at 0 %, and one of the next month.
std::vector<PurchaseBill> januaryBills()
{
    return {
        bill("INV/001", "04/01/2025", "Sharma Traders", Sharma(), "Tamil Nadu",
             {line("Steel Rod", rupees(10000), 18, "G00001"), line("Hex Bolt", rupees(1234.57), 5)}),
        bill("KA-77", "08/01/2025", "Mysore Paints", Mysore(), "Karnataka", {line("Paint Tin", rupees(20000), 12)}),
        bill("GTA/5", "12/01/2025", "Chennai Carriers()", Carriers(), "Tamil Nadu", {line("Freight", rupees(5000), 5)},
             true),
        bill("F-9", "20/01/2025", "Furnish Mart", Furnish(), "tamil nadu", {line("Sofa for home", rupees(3000), 28)},
             false, CreditKind::Blocked),
        bill("CASH1", "25/01/2025", "Village Farm", "N.A.", "Tamil Nadu", {line("Cotton Waste", rupees(800), 0)}),
        bill("INV/002", "02/02/2025", "Sharma Traders", Sharma(), "Tamil Nadu", {line("Steel Rod", rupees(999), 18)}),
    };
}

std::vector<InvoiceShape> januaryInvoices()
{
    using zelva::TaxMode;
    return {
        {1, "03/01/2025", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Cgst, {{"Steel Rod", "7214", 10, "Kg", "100", "1000.00"}}, Base{nullptr, "N.A.", "0", "9", "90.00"},
         Base{}, Base{}, "0", 90},
        {2, "05/01/2025", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
         {{"Paint Tin", "3208", 10, "Ltr", "200", "2000.00"}}, Base{nullptr, "N.A.", "0", "12", "240.00"}, Base{},
         Base{}, "0", 240},
        {3, "07/01/2025", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Igst, {{"Cotton Waste", "5202", 5, "Kg", "100", "500.00"}}, Base{nullptr, "N.A.", "0", "0", "0"},
         Base{}, Base{}, "0", 0},
        // cancelled below: left out of every figure
        {4, "09/01/2025", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Cgst, {{"Steel Rod", "7214", 30, "Kg", "100", "3000.00"}},
         Base{nullptr, "N.A.", "0", "9", "270.00"}, Base{}, Base{}, "0", 270},
        {5, "01/02/2025", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
         {{"Paint Tin", "3208", 1, "Ltr", "200", "200.00"}}, Base{nullptr, "N.A.", "0", "12", "24.00"}, Base{},
         Base{}, "0", 24},
    };
}

QJsonObject item(double rate, double taxable, double igst, double cgst, double sgst)
{
    return {{"rt", rate}, {"txval", taxable}, {"igst", igst}, {"cgst", cgst}, {"sgst", sgst}, {"cess", 0}};
}

QJsonObject invoice(const char* number, const char* date, double value, std::initializer_list<QJsonObject> items)
{
    QJsonArray list;
    for (const QJsonObject& i : items)
        list.append(i);
    return {{"inum", number}, {"dt", date}, {"val", value}, {"pos", "33"}, {"rev", "N"}, {"itcavl", "Y"},
            {"items", list}};
}

QJsonObject supplier(const QString& gstin, const char* name, const char* listKey, QJsonArray documents)
{
    return {{"ctin", gstin}, {"trdnm", name}, {QLatin1String(listKey), documents}};
}

// The portal's file for the month: one exact match (numbers written another
// way), one off by a paisa, one off by five rupees, one bill the shop has not
// entered, a credit note, and nothing for the reverse charge bill.
QByteArray januaryFile(const QString& gstin = CompanyGstin, const char* period = "012025")
{
    const QJsonArray b2b{
        supplier(Sharma(), "SHARMA TRADERS", "inv",
                 {invoice("inv-001", "04-01-2025", 13166.29,
                          {item(18, 10000, 0, 900, 900), item(5, 1234.57, 0, 30.86, 30.86)})}),
        supplier(Mysore(), "MYSORE PAINTS", "inv",
                 {invoice("ka/077", "08-01-2025", 22400.01, {item(12, 20000.01, 2400, 0, 0)})}),
        supplier(Furnish(), "FURNISH MART", "inv",
                 {invoice("F 9", "20-01-2025", 3850, {item(28, 3000, 0, 425, 420)})}),
        supplier(Stranger(), "STRANGER STEEL", "inv",
                 {invoice("Z-100", "15-01-2025", 1180, {item(18, 1000, 180, 0, 0)})}),
    };
    QJsonObject note = invoice("CN-3", "18-01-2025", 118, {item(18, 100, 0, 9, 9)});
    note.insert("ntnum", "CN-3");
    note.insert("typ", "C");
    const QJsonArray cdnr{supplier(Sharma(), "SHARMA TRADERS", "nt", {note})};
    const QJsonObject data{{"gstin", gstin}, {"rtnprd", period}, {"gendt", "14-02-2025"},
                           {"docdata", QJsonObject{{"b2b", b2b}, {"cdnr", cdnr}}}};
    return QJsonDocument(QJsonObject{{"chksum", "x"}, {"data", data}}).toJson();
}

SupplierNote supplierNote(const char* number, const char* date, qint64 bill, double rate, Paise taxable,
                          bool credit = true)
{
    SupplierNote n;
    n.number = QString::fromLatin1(number);
    n.date = QDate::fromString(QString::fromLatin1(date), QStringLiteral("dd/MM/yyyy"));
    n.billSerial = bill;
    n.gstRate = rate;
    n.taxable = taxable;
    n.credit = credit;
    return n;
}

void addStockItem(Database& db, int sno, const char* code, const char* name, double quantity)
{
    db.run(QStringLiteral("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, "
                          "Remarks) VALUES (?, ?, ?, 'N.A.', 10, 'Nos', ?, 'N.A.')"),
           {sno, code, name, quantity}, QStringLiteral("add an item"), DbFile::ItemStock);
}

} // namespace

class InputTaxTest : public QObject {
    Q_OBJECT

    testing::TempData data;
    std::vector<PurchaseBill> stored;
    std::unique_ptr<testing::TempData> notesData; // the supplier's notes' rows, one after another
    qint64 notesBill = 0;

    void fillMonth()
    {
        testing::addCompany(*data.db, CompanyGstin);
        addStockItem(*data.db, 1, "G00001", "Steel Rod", 7);
        for (const InvoiceShape& shape : januaryInvoices())
            testing::writeInvoice(*data.db, shape);
        QCOMPARE(CancelInvoice(*data.db, QStringLiteral("A00004"), {QDate(2025, 1, 10), "11:00", "Wrong buyer", "ravi"}),
                 QString());
        for (PurchaseBill b : januaryBills()) {
            QCOMPARE(StorePurchaseBill(*data.db, b), QString());
            stored.push_back(b);
        }
        // Sharma's credit note on INV/001: 100.00 at 18 %, 9.00 a head taken off
        SupplierNote cn = supplierNote("cn/03", "18/01/2025", stored.front().serial, 18, rupees(100));
        QCOMPARE(StoreSupplierNote(*data.db, cn), QString());
        QCOMPARE(cn.tax, (TaxHeads{0, rupees(9), rupees(9)}));
        // A purchase saved before bills carried GST: a bill without tax.
        data.db->run(QStringLiteral("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, "
                                    "PurchaseInvoiceNo, PurchaseInvoiceDate, SupplierName, SupGstinNo, SupAddress, "
                                    "sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) VALUES (90, "
                                    "'P00090', '15/01/2025', 'OLD-1', '15/01/2025', 'Old Supplier', 'N.A.', 'N.A.', 0, "
                                    "'', 'Twine', 'N.A.', 12.5, 'Nos', 4, 'N.A.')"),
                     {}, QStringLiteral("add an old purchase"), DbFile::PurchaseMaster);
    }

private slots:
    void initTestCase()
    {
        try {
            fillMonth();
        } catch (const DataError& error) {
            QFAIL(qPrintable(error.message()));
        }
    }

    // Per-line tax to the paisa as on our invoices: IGST at the rate, CGST
    // and SGST each at half of it, half a paisa away from zero.
    void lineTax_data()
    {
        QTest::addColumn<Paise>("taxable");
        QTest::addColumn<double>("rate");
        QTest::addColumn<bool>("interState");
        QTest::addColumn<Paise>("igst");
        QTest::addColumn<Paise>("cgstEach");
        // 1234.57 x 2.5% = 30.86425
        QTest::newRow("half rate rounds down") << rupees(1234.57) << 5.0 << false << Paise(0) << Paise(3086);
        // 0.10 x 5% = 0.005: half a paisa, away from zero
        QTest::newRow("half a paisa up") << Paise(10) << 5.0 << true << Paise(1) << Paise(0);
        // 333.33 x 18% = 59.9994
        QTest::newRow("inter-State") << rupees(333.33) << 18.0 << true << Paise(6000) << Paise(0);
        QTest::newRow("largest amount") << Paise(99999999999) << 28.0 << false << Paise(0) << Paise(13999999999 + 1);
    }
    void lineTax()
    {
        QFETCH(Paise, taxable);
        QFETCH(double, rate);
        QFETCH(bool, interState);
        QFETCH(Paise, igst);
        QFETCH(Paise, cgstEach);
        const TaxHeads tax = TaxAtRate(taxable, rate, interState ? TaxMode::Igst : TaxMode::Cgst);
        QCOMPARE(tax.igst, igst);
        QCOMPARE(tax.cgst, cgstEach);
        QCOMPARE(tax.sgst, cgstEach);
    }

    // Bill numbers as the duplicate check and the 2B matching compare them:
    // case, blanks, "/" and "-" ignored, and the leading zeros of each run of
    // digits, a separator between two runs of digits kept as a boundary.
    void billNumbers_data()
    {
        QTest::addColumn<QString>("books");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("zeros after a separator") << "INV/0042" << "inv-42" << true;
        QTest::newRow("zeros of the second run") << "INV/0043" << "INV/043" << true;
        QTest::newRow("case and zeros") << "KA-101" << "ka-0101" << true;
        QTest::newRow("blanks and no separator") << " INV 42 " << "INV42" << true;
        QTest::newRow("zeros at the start") << "0042" << "42" << true;
        QTest::newRow("zeros inside a number count") << "A101" << "A11" << false;
        QTest::newRow("runs kept apart") << "1/05" << "10/5" << false;
        QTest::newRow("runs kept apart, no zeros") << "1/15" << "11/5" << false;
        QTest::newRow("a number and its runs") << "1/05" << "15" << false;
        QTest::newRow("zero alone") << "INV/00" << "INV-0" << true;
    }
    void billNumbers()
    {
        QFETCH(QString, books);
        QFETCH(QString, other);
        QFETCH(bool, same);
        QCOMPARE(ComparableBillNumber(books) == ComparableBillNumber(other), same);
    }

    // The same supplier's bill number again in a financial year is refused;
    // one that only looks alike is a bill of its own.
    void sameBillTwice_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("gstin");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same number written otherwise") << "INV/001" << " inv-001" << "03/03/2025" << Sharma() << true;
        QTest::newRow("leading zeros") << "INV/001" << "INV/0001" << "04/03/2025" << Sharma() << true;
        QTest::newRow("zeros of a later run") << "ka-0101" << "KA-101" << "04/03/2025" << Sharma() << true;
        QTest::newRow("same year, other month") << "INV/001" << "INV/001" << "31/03/2025" << Sharma() << true;
        QTest::newRow("two runs, not one") << "1/05" << "10/5" << "04/03/2025" << Sharma() << false;
        QTest::newRow("next financial year") << "INV/001" << "INV/001" << "01/04/2025" << Sharma() << false;
        QTest::newRow("another supplier") << "INV/001" << "INV/001" << "05/03/2025" << Mysore() << false;
    }
    void sameBillTwice()
    {
        QFETCH(QString, first);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QString, gstin);
        QFETCH(bool, refused);
        testing::TempData fresh;
        testing::addCompany(*fresh.db, CompanyGstin);
        PurchaseBill stored = januaryBills().front();
        stored.number = first;
        stored.lines.resize(1);
        stored.lines[0].stock.reset();
        QCOMPARE(StorePurchaseBill(*fresh.db, stored), QString());
        PurchaseBill again = stored;
        again.number = number;
        again.date = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
        again.supplierGstin = gstin;
        const QString refusal = StorePurchaseBill(*fresh.db, again);
        QCOMPARE(refusal.contains(QStringLiteral("already entered")), refused);
        const QVariant purchases = testing::valueInFile(fresh.folder(), DbFile::PurchaseMaster,
                                                        QStringLiteral("SELECT COUNT(*) FROM Purchase WHERE PSno <> 0"));
        QCOMPARE(purchases.toInt(), refused ? 1 : 2);
    }

    // The store refuses a bad bill whoever calls it, naming the box, and
    // stores nothing of it.
    void badBillsRefused_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("said");
        QTest::newRow("no number") << "number=" << "(Purchase Invoice No.)";
        QTest::newRow("no lines") << "lines=0" << "has no lines";
        QTest::newRow("zero taxable, middle line") << "taxable=0" << "Line 2 (Hex Bolt) has a taxable value of 0.00";
        QTest::newRow("negative taxable") << "taxable=-125000" << "taxable value of -1250.00";
        QTest::newRow("rate the portal has not") << "rate=7" << "7 % is not a GST rate the portal takes (GST Rate %, line 2)";
        QTest::newRow("rate ended") << "date=01/02/2026" << "12 % is not in force on 01/02/2026";
        QTest::newRow("unregistered supplier charging GST")
            << "gstin=N.A." << "Sharma Traders has no GSTIN: an unregistered supplier charges no GST, so line 1";
    }
    void badBillsRefused()
    {
        QFETCH(QString, change);
        QFETCH(QString, said);
        testing::TempData fresh;
        testing::addCompany(*fresh.db, CompanyGstin);
        addStockItem(*fresh.db, 1, "G00001", "Steel Rod", 7);
        PurchaseBill b = bill("B-7", "04/01/2025", "Sharma Traders", Sharma(), "Tamil Nadu",
                              {line("Steel Rod", rupees(100), 18, "G00001"), line("Hex Bolt", rupees(10), 5),
                               line("Paint Tin", rupees(20), 12)});
        const QString key = change.section('=', 0, 0);
        const QString value = change.section('=', 1);
        if (key == "number")
            b.number = value;
        else if (key == "lines")
            b.lines.clear();
        else if (key == "taxable")
            b.lines[1].taxable = ToPaise(value.toDouble() / 100);
        else if (key == "rate")
            b.lines[1].gstRate = value.toDouble();
        else if (key == "date")
            b.date = QDate::fromString(value, QStringLiteral("dd/MM/yyyy"));
        else if (key == "gstin") {
            b.supplierGstin = value;
            b.lines[0].tax = TaxAtRate(b.lines[0].taxable, 18, TaxMode::Cgst); // as a caller might give it
        }
        const QString refusal = StorePurchaseBill(*fresh.db, b);
        QVERIFY2(refusal.contains(said) && refusal.endsWith(QStringLiteral("Nothing is saved.")), qPrintable(refusal));
        for (const char* table : {"PurchaseBill", "PurchaseBillLine", "Purchase WHERE PSno <> 0"})
            QCOMPARE(testing::valueInFile(fresh.folder(), DbFile::PurchaseMaster,
                                          QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
                         .toInt(),
                     0);
        QCOMPARE(testing::valueInFile(fresh.folder(), DbFile::ItemStock,
                                      QStringLiteral("SELECT Quantity FROM Stock WHERE itemcode = 'G00001'"))
                     .toDouble(),
                 7.0);
    }

    // A supplier's note is refused, naming the box, when it cannot stand
    // against its bill; nothing of it is stored.
    void supplierNotesRefused_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("taxable");
        QTest::addColumn<bool>("credit");
        QTest::addColumn<QString>("said"); // "" when stored
        QTest::newRow("stored") << "CN-7" << "20/01/2025" << 5.0 << 1000.0 << true << "";
        QTest::newRow("a debit note above the bill") << "DN-1" << "20/01/2025" << 18.0 << 20000.0 << false << "";
        QTest::newRow("no number") << " " << "20/01/2025" << 18.0 << 10.0 << true << "(Note No.)";
        QTest::newRow("before the bill") << "CN-8" << "03/01/2025" << 18.0 << 10.0 << true
                                         << "is dated 03/01/2025, before its bill INV/001 of 04/01/2025 (Note Date)";
        QTest::newRow("rate not on the bill") << "CN-8" << "20/01/2025" << 12.0 << 10.0 << true
                                              << "Bill INV/001 has no line at 12 % (GST Rate %)";
        QTest::newRow("nothing") << "CN-8" << "20/01/2025" << 18.0 << 0.0 << true << "(Taxable Value)";
        // 1234.57 at 5 % on the bill, 1000 of it credited before
        QTest::newRow("more than is left") << "CN-8" << "20/01/2025" << 5.0 << 234.58 << true
                                           << "only 234.57 is left of bill INV/001 at that rate";
        QTest::newRow("all that is left") << "CN-8" << "20/01/2025" << 5.0 << 234.57 << true << "";
        QTest::newRow("same number again") << "cn/007" << "21/01/2025" << 18.0 << 10.0 << true << "already entered";
        QTest::newRow("a debit note of that number") << "cn/007" << "21/01/2025" << 18.0 << 10.0 << false << "";
    }
    void supplierNotesRefused()
    {
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(double, rate);
        QFETCH(double, taxable);
        QFETCH(bool, credit);
        QFETCH(QString, said);
        // the rows build on each other: CN-7 stands for the later ones
        if (!notesData) {
            notesData = std::make_unique<testing::TempData>();
            testing::addCompany(*notesData->db, CompanyGstin);
            PurchaseBill first = januaryBills().front();
            first.lines[0].stock.reset();
            QCOMPARE(StorePurchaseBill(*notesData->db, first), QString());
            notesBill = first.serial;
        }
        testing::TempData& fresh = *notesData;
        const qint64 billSerial = notesBill;
        const auto notes = [&] {
            return testing::valueInFile(fresh.folder(), DbFile::PurchaseMaster,
                                        QStringLiteral("SELECT COUNT(*) FROM SupplierNote"))
                .toInt();
        };
        const int before = notes();
        SupplierNote note = supplierNote("", "", billSerial, rate, rupees(taxable), credit);
        note.number = number;
        note.date = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
        const QString refusal = StoreSupplierNote(*fresh.db, note);
        if (said.isEmpty()) {
            QCOMPARE(refusal, QString());
            QCOMPARE(notes(), before + 1);
        } else {
            QVERIFY2(refusal.contains(said) && refusal.endsWith(QStringLiteral("Nothing is saved.")),
                     qPrintable(refusal));
            QCOMPARE(notes(), before);
        }
    }

    // Each line moves its stock; a line whose item is gone, in the middle of
    // the bill, leaves nothing stored: no bill, no purchase, no stock moved.
    void billLandsWhole()
    {
        testing::TempData fresh;
        testing::addCompany(*fresh.db, CompanyGstin);
        addStockItem(*fresh.db, 1, "G00001", "Steel Rod", 7);
        addStockItem(*fresh.db, 2, "G00002", "Hex Bolt", 3);
        PurchaseBill b = bill("B-1", "04/01/2025", "Sharma Traders", Sharma(), "Tamil Nadu",
                              {line("Steel Rod", rupees(100), 18, "G00001"), line("Gone", rupees(50), 18, "G00009"),
                               line("Hex Bolt", rupees(10), 18, "G00002")});
        QVERIFY(StorePurchaseBill(*fresh.db, b).contains(QStringLiteral("no longer in the stock list")));
        const auto count = [&](const char* table) {
            return testing::valueInFile(fresh.folder(), DbFile::PurchaseMaster,
                                        QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)))
                .toInt();
        };
        QCOMPARE(count("PurchaseBill"), 0);
        QCOMPARE(count("PurchaseBillLine"), 0);
        QCOMPARE(count("Purchase WHERE PSno <> 0"), 0);
        QCOMPARE(testing::valueInFile(fresh.folder(), DbFile::ItemStock,
                                      QStringLiteral("SELECT Quantity FROM Stock WHERE itemcode = 'G00001'"))
                     .toDouble(),
                 7.0);
        b.lines.erase(b.lines.begin() + 1);
        QCOMPARE(StorePurchaseBill(*fresh.db, b), QString());
        QCOMPARE(testing::valueInFile(fresh.folder(), DbFile::ItemStock,
                                      QStringLiteral("SELECT Quantity FROM Stock WHERE itemcode = 'G00002'"))
                     .toDouble(),
                 5.0);
        QCOMPARE(count("PurchaseBillLine"), 2);
    }

    void purchaseRegister()
    {
        const PurchaseRegister r = LoadPurchaseRegister(*data.db, QDate(2025, 1, 1), QDate(2025, 1, 31));
        QCOMPARE(r.bills, 6);
        // taxable: 10000 + 1234.57 + 20000 + 5000 + 3000 + 800 + 50 (the old purchase)
        QCOMPARE(r.taxable, rupees(40084.57));
        // IGST 20000 x 12%; CGST 900 + 30.86 + 125 + 420
        QCOMPARE(r.tax.igst, rupees(2400));
        QCOMPARE(r.tax.cgst, rupees(1475.86));
        QCOMPARE(r.tax.sgst, rupees(1475.86));
        // one line per bill and rate: Sharma's bill at 5 % and 18 %
        QCOMPARE(r.lines.size(), size_t(7));
        QCOMPARE(r.lines[0].rate, 5.0);
        QCOMPARE(r.lines[1].rate, 18.0);
        // per rate: 0 % (800 + 50), 5 % (1234.57 + 5000), 12 %, 18 %, 28 %
        QCOMPARE(r.byRate.size(), size_t(5));
        QCOMPARE(r.byRate[0].taxable, rupees(850));
        QCOMPARE(r.byRate[1].taxable, rupees(6234.57));
        QCOMPARE(r.byRate[1].tax.cgst, rupees(155.86));
        const QStringList csv = PurchaseRegisterCsv(r).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(csv.size(), 1 + 7 + 5 + 1);
        QVERIFY2(csv.last().contains(QStringLiteral("40084.57")), qPrintable(csv.last()));
    }

    void worksheet()
    {
        const Gstr3b w = LoadGstr3b(*data.db, 2025, 1);
        const auto figure = [&](const char* section) {
            const Gstr3bFigure* f = w.row(QString::fromLatin1(section));
            if (!f)
                qFatal("no row %s", section);
            return *f;
        };
        const auto check = [](const Gstr3bFigure& f, Paise taxable, Paise igst, Paise cgst, Paise sgst, int documents) {
            QCOMPARE(f.taxable, taxable);
            QCOMPARE(f.tax.igst, igst);
            QCOMPARE(f.tax.cgst, cgst);
            QCOMPARE(f.tax.sgst, sgst);
            QCOMPARE(f.documents.size(), documents);
        };
        // the portal's order
        QStringList order;
        for (const Gstr3bFigure& f : w.rows)
            if (!order.contains(f.section))
                order << f.section;
        QCOMPARE(order, (QStringList{"3.1(a)", "3.1(b)", "3.1(c)", "3.1(d)", "3.1(e)", "3.2", "4(A)(1)", "4(A)(2)",
                                     "4(A)(3)", "4(A)(4)", "4(A)(5)", "4(B)(1)", "4(B)(2)", "4(C)", "4(D)(1)",
                                     "4(D)(2)", "6.1"}));
        // 3.1(a): invoices 1 (1000 at 18 %) and 2 (2000 at 12 %); 3 is at 0 %, 4 cancelled, 5 in February
        check(figure("3.1(a)"), rupees(3000), rupees(240), rupees(90), rupees(90), 2);
        QVERIFY(figure("3.1(a)").documents.front().contains(QStringLiteral("A00001")));
        check(figure("3.1(c)"), rupees(500), 0, 0, 0, 1);
        // 3.1(d): the carrier's bill, 5000 at 5 %: CGST and SGST 125 each
        check(figure("3.1(d)"), rupees(5000), 0, rupees(125), rupees(125), 1);
        // 3.2: invoice 2, to an unregistered buyer in Kerala
        check(figure("3.2"), rupees(2000), rupees(240), 0, 0, 1);
        QVERIFY(figure("3.2").description.contains(QStringLiteral("32-Kerala")));
        check(figure("4(A)(3)"), 0, 0, rupees(125), rupees(125), 1);
        // 4(A)(5): Sharma (900 + 30.86 each head), Mysore (IGST 2400), Furnish (420 each head),
        // less Sharma's credit note (9 each head)
        check(figure("4(A)(5)"), 0, rupees(2400), rupees(1341.86), rupees(1341.86), 4);
        QVERIFY(figure("4(A)(5)").documents.last().startsWith(QStringLiteral("Credit note cn/03 of 18/01/2025 on bill INV/001")));
        check(figure("4(B)(1)"), 0, 0, rupees(420), rupees(420), 1);
        // 4(C) = 4(A) - 4(B)
        check(figure("4(C)"), 0, rupees(2400), rupees(1046.86), rupees(1046.86), 5);
        check(figure("4(D)(2)"), 0, 0, 0, 0, 0);
        // 6.1: IGST credit 2400 pays the IGST 240, then the CGST 90, then the SGST 90;
        // no cash but the reverse charge tax; 1980 of IGST credit is left
        QCOMPARE(w.setOff.paid[IgstHead], (TaxHeads{rupees(240), rupees(90), rupees(90)}));
        QCOMPARE(w.setOff.paid[CgstHead], (TaxHeads{0, 0, 0}));
        QCOMPARE(w.setOff.cash, (TaxHeads{0, 0, 0}));
        QCOMPARE(w.setOff.carriedForward, (TaxHeads{rupees(1980), rupees(1046.86), rupees(1046.86)}));
        QCOMPARE(w.reverseChargeCash, (TaxHeads{0, rupees(125), rupees(125)}));
    }

    // The legal order of the set-off, head by head.
    void setOff_data()
    {
        QTest::addColumn<TaxHeads>("payable");
        QTest::addColumn<TaxHeads>("credit");
        QTest::addColumn<TaxHeads>("cash");
        QTest::addColumn<TaxHeads>("left");
        QTest::addColumn<TaxHeads>("cgstCreditUsed");
        QTest::addColumn<TaxHeads>("plainCash"); // IGST credit to CGST before SGST
        // IGST credit short: CGST credit pays CGST, then IGST; SGST credit pays SGST, then what IGST is left
        QTest::newRow("cgst credit pays igst") << TaxHeads{1000, 500, 300} << TaxHeads{200, 900, 100}
                                               << TaxHeads{400, 0, 200} << TaxHeads{0, 0, 0}
                                               << TaxHeads{400, 500, 0} << TaxHeads{400, 0, 200};
        // CGST credit never pays SGST
        QTest::newRow("cgst never for sgst") << TaxHeads{0, 0, 500} << TaxHeads{0, 1000, 0}
                                             << TaxHeads{0, 0, 500} << TaxHeads{0, 1000, 0}
                                             << TaxHeads{0, 0, 0} << TaxHeads{0, 0, 500};
        // IGST credit goes to CGST before SGST
        QTest::newRow("igst to cgst first") << TaxHeads{0, 100, 100} << TaxHeads{150, 0, 0}
                                            << TaxHeads{0, 0, 50} << TaxHeads{0, 0, 0} << TaxHeads{0, 0, 0}
                                            << TaxHeads{0, 0, 50};
        // SGST credit pays IGST left after the CGST credit
        QTest::newRow("sgst credit for igst") << TaxHeads{700, 0, 0} << TaxHeads{0, 300, 300}
                                              << TaxHeads{100, 0, 0} << TaxHeads{0, 0, 0}
                                              << TaxHeads{300, 0, 0} << TaxHeads{100, 0, 0};
        // IGST credit left after IGST goes where the heads' own credit falls
        // short: 158.28 left, 79.14 short on each; the plain order gives it all
        // to CGST and leaves 79.14 of SGST in cash (and 79.14 of CGST credit)
        QTest::newRow("least cash") << TaxHeads{24000, 100000, 100000} << TaxHeads{39828, 92086, 92086}
                                    << TaxHeads{0, 0, 0} << TaxHeads{0, 0, 0} << TaxHeads{0, 92086, 0}
                                    << TaxHeads{0, 0, 7914};
        // all IGST credit is used before CGST and SGST credit: what the short
        // heads do not need goes to the others, saving their own credit
        QTest::newRow("igst credit used up first") << TaxHeads{0, 1000, 1000} << TaxHeads{1500, 800, 900}
                                                   << TaxHeads{0, 0, 0} << TaxHeads{0, 800, 400}
                                                   << TaxHeads{0, 0, 0} << TaxHeads{0, 0, 0};
    }
    void setOff()
    {
        QFETCH(TaxHeads, payable);
        QFETCH(TaxHeads, credit);
        QFETCH(TaxHeads, cash);
        QFETCH(TaxHeads, left);
        QFETCH(TaxHeads, cgstCreditUsed);
        QFETCH(TaxHeads, plainCash);
        const SetOff s = SetOffTax(payable, credit);
        QCOMPARE(s.plainOrderCash, plainCash);
        QCOMPARE(s.cash, cash);
        QCOMPARE(s.carriedForward, left);
        QCOMPARE(s.paid[CgstHead], cgstCreditUsed);
        QCOMPARE(s.paid[CgstHead].sgst, Paise(0));
        QCOMPARE(s.paid[SgstHead].cgst, Paise(0));
    }

    // A month whose IGST credit is above its IGST: the worksheet sets it off
    // the least-cash way and shows the plain order's cash beside it; the
    // reverse charge tax is paid in cash whatever the credit.
    void leastCashMonth()
    {
        const auto sale = [](const char* number, TaxMode mode, Paise taxable, double rate, TaxHeads tax) {
            SavedInvoice invoice;
            invoice.number = QString::fromLatin1(number);
            invoice.dateText = QStringLiteral("10/01/2025");
            invoice.date = QDate(2025, 1, 10);
            invoice.buyerName = QStringLiteral("Arun Traders");
            invoice.buyerGstin = QStringLiteral("33ARUNT1234A1Z2");
            invoice.mode = mode;
            invoice.bases[0] = {QStringLiteral("Goods"), {}, taxable, rate, tax};
            return invoice;
        };
        // 2000 at 12 % out of the State; 11111.11 at 18 % within it (999.9999 a head)
        const std::vector<SavedInvoice> sales{sale("A00001", TaxMode::Igst, rupees(2000), 12, {rupees(240), 0, 0}),
                                              sale("A00002", TaxMode::Cgst, rupees(11111.11), 18,
                                                   {0, rupees(1000), rupees(1000)})};
        // IGST credit 3319 x 12 % = 398.28; CGST and SGST 9954 x 9 % = 895.86 each, and 25.00 each
        // under reverse charge: 920.86 a head, 79.14 short of each head's 1000.00
        const std::vector<PurchaseBill> bills{
            bill("KA-1", "06/01/2025", "Mysore Paints", Mysore(), "Karnataka", {line("Paint Tin", rupees(3319), 12)}),
            bill("S-1", "07/01/2025", "Sharma Traders", Sharma(), "Tamil Nadu",
                 {line("Steel Rod", rupees(9954), 18)}),
            bill("GTA/9", "08/01/2025", "Chennai Carriers", Carriers(), "Tamil Nadu", {line("Freight", rupees(1000), 5)},
                 true)};
        const Gstr3b w = BuildGstr3b(2025, 1, sales, bills);
        QCOMPARE(w.setOff.cash, (TaxHeads{0, 0, 0}));
        QCOMPARE(w.setOff.plainOrderCash, (TaxHeads{0, 0, rupees(79.14)}));
        QCOMPARE(w.setOff.paid[IgstHead], (TaxHeads{rupees(240), rupees(79.14), rupees(79.14)}));
        QCOMPARE(w.reverseChargeCash, (TaxHeads{0, rupees(25), rupees(25)}));
        QStringList cash;
        for (const Gstr3bFigure& f : w.rows)
            if (f.section == u"6.1" && f.description.contains(QStringLiteral("cash")))
                cash << f.description + QStringLiteral(": ") + AmountText(f.tax.sgst);
        QCOMPARE(cash, (QStringList{"Paid in cash (other than reverse charge): 0.00",
                                    "For comparison: cash in the plain order (IGST credit to Central tax before "
                                    "State/UT tax): 79.14",
                                    "Tax payable and paid in cash (reverse charge): 25.00",
                                    "Total paid in cash: 25.00"}));
    }

    // The four kinds of credit in table 4, and the unregistered supplier's
    // bill: no tax and no credit, unless under reverse charge (3.1(d) and
    // 4(A)(3)). A registered supplier's State is its GSTIN's, whatever State
    // is typed.
    void kindsOfCredit()
    {
        const auto of = [](const char* number, const char* supplier, const QString& gstin, const char* state,
                           Paise taxable, CreditKind credit, bool reverseCharge = false) {
            return bill(number, "15/01/2025", supplier, gstin, state, {line("Goods", taxable, 18)}, reverseCharge,
                        credit);
        };
        const std::vector<PurchaseBill> bills{
            of("E-1", "Sharma Traders", Sharma(), "Tamil Nadu", rupees(1000), CreditKind::Eligible),
            of("B-2", "Furnish Mart", Furnish(), "Tamil Nadu", rupees(2000), CreditKind::Blocked),
            of("R-3", "Sharma Traders", Sharma(), "Tamil Nadu", rupees(3000), CreditKind::Reclaimable),
            // Karnataka's GSTIN with Tamil Nadu typed: IGST
            of("I-4", "Mysore Paints", Mysore(), "Tamil Nadu", rupees(4000), CreditKind::Ineligible),
            of("U-5", "Village Farm", "N.A.", "Tamil Nadu", rupees(500), CreditKind::Eligible),
            of("U-6", "Village Carrier", "", "Tamil Nadu", rupees(600), CreditKind::Eligible, true),
        };
        QCOMPARE(bills[3].mode, TaxMode::Igst);
        QCOMPARE(bills[4].tax(), TaxHeads{});
        const Gstr3b w = BuildGstr3b(2025, 1, {}, bills);
        const auto tax = [&](const char* section) { return w.row(QString::fromLatin1(section))->tax; };
        // 4(A)(5): 1000 + 2000 + 3000 at 9 % a head; the ineligible bill is not in it
        QCOMPARE(tax("4(A)(5)"), (TaxHeads{0, rupees(540), rupees(540)}));
        QCOMPARE(tax("4(B)(1)"), (TaxHeads{0, rupees(180), rupees(180)}));
        QCOMPARE(tax("4(B)(2)"), (TaxHeads{0, rupees(270), rupees(270)}));
        QCOMPARE(tax("4(D)(2)"), (TaxHeads{rupees(720), 0, 0}));
        QCOMPARE(w.row("3.1(d)")->taxable, rupees(600));
        QCOMPARE(tax("3.1(d)"), (TaxHeads{0, rupees(54), rupees(54)}));
        QCOMPARE(tax("4(A)(3)"), (TaxHeads{0, rupees(54), rupees(54)}));
        // 4(C) = 4(A) - 4(B): 540 + 54 - 180 - 270
        QCOMPARE(tax("4(C)"), (TaxHeads{0, rupees(144), rupees(144)}));
        QCOMPARE(w.row("4(A)(5)")->documents.size(), 3);
    }

    // One rupee apart is within the tolerance; a paisa more, or another
    // date, is a difference.
    void matchTolerance_data()
    {
        QTest::addColumn<Paise>("taxableOff");
        QTest::addColumn<int>("daysOff");
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("exactly one rupee more") << Paise(100) << 0 << QStringList{};
        QTest::newRow("a rupee and a paisa less") << Paise(-101) << 0
                                                  << QStringList{"Taxable value 998.99 in 2B, 1000.00 in the books"};
        QTest::newRow("exactly one rupee less") << Paise(-100) << 0 << QStringList{};
        QTest::newRow("a rupee and a paisa more") << Paise(101) << 0
                                                  << QStringList{"Taxable value 1001.01 in 2B, 1000.00 in the books"};
        QTest::newRow("another date") << Paise(0) << 1 << QStringList{"Date 16/01/2025 in 2B, 15/01/2025 in the books"};
    }
    void matchTolerance()
    {
        QFETCH(Paise, taxableOff);
        QFETCH(int, daysOff);
        QFETCH(QStringList, differences);
        const PurchaseBill books = bill("S/0042", "15/01/2025", "Sharma Traders", Sharma(), "Tamil Nadu",
                                        {line("Steel Rod", rupees(1000), 18)});
        PortalDocument portal;
        portal.kind = QStringLiteral("Invoice");
        portal.gstin = Sharma();
        portal.number = QStringLiteral("s-42");
        portal.date = books.date.addDays(daysOff);
        portal.taxable = rupees(1000) + taxableOff;
        portal.tax = books.tax();
        const Gstr2bMatching m = MatchGstr2b({portal}, {books});
        QCOMPARE(m.lines.size(), size_t(1));
        QCOMPARE(m.lines[0].kind, differences.isEmpty() ? MatchKind::Matched : MatchKind::Differences);
        QCOMPARE(m.lines[0].differences, differences);
    }

    void matching()
    {
        const Gstr2bFile file = ReadGstr2b(januaryFile(), CompanyGstin, 2025, 1);
        QVERIFY2(file.ok(), qPrintable(file.refusal));
        QCOMPARE(file.documents.size(), size_t(5));
        const Gstr2bMatching m = LoadGstr2bMatching(*data.db, 2025, 1, file.documents);
        const auto numbersOf = [&](MatchKind kind) {
            QStringList numbers;
            for (const MatchLine& l : m.lines)
                if (l.kind == kind)
                    numbers << (l.books ? l.books->number : l.note ? l.note->number : l.portal->number);
            return numbers;
        };
        // "inv-001" is "INV/001"; "ka/077" is "KA-77", a paisa off: within a rupee
        // and "CN-3" is the books' credit note "cn/03"
        QCOMPARE(numbersOf(MatchKind::Matched), (QStringList{"INV/001", "KA-77", "cn/03"}));
        // CGST 425.00 against 420.00: five rupees
        QCOMPARE(numbersOf(MatchKind::Differences), QStringList{"F-9"});
        const MatchLine& furnish = *std::find_if(m.lines.begin(), m.lines.end(),
                                                 [](const MatchLine& l) { return l.kind == MatchKind::Differences; });
        QCOMPARE(furnish.differences, QStringList{"CGST 425.00 in 2B, 420.00 in the books"});
        QCOMPARE(numbersOf(MatchKind::PortalOnly), QStringList{"Z-100"});
        // the carrier's bill is not reported; the unregistered farm and the
        // purchase saved before have no GSTIN to be reported under
        QCOMPARE(numbersOf(MatchKind::BooksOnly), QStringList{"GTA/5"});
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("gstin,rtnprd\n33AAACH7409R1Z8,012025") << "it is not JSON text";
        QTest::newRow("another return") << QByteArray(R"({"data":{"gstin":"33AAACH7409R1Z8","fp":"012025"}})")
                                        << "it has no data.gstin, data.rtnprd or data.docdata";
        QTest::newRow("another GSTIN") << januaryFile(Sharma()) << QStringLiteral("for GSTIN %1, not").arg(Sharma());
        QTest::newRow("another month") << januaryFile(CompanyGstin, "122024") << "return period 122024, not for 012025";
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        const Gstr2bFile file = ReadGstr2b(json, CompanyGstin, 2025, 1);
        QVERIFY2(file.refusal.contains(reason), qPrintable(file.refusal));
        QVERIFY(file.documents.empty());
    }

    // The new tables are declared, so both stores make them and the copies take them.
    void tablesDeclared()
    {
        for (const char* name : {"Supplier", "PurchaseBill", "PurchaseBillLine", "SupplierNote"})
            QVERIFY(FindTable(QString::fromLatin1(name)));
        QVERIFY(SchemaVersion >= SupplierNotesVersion);
    }
};

QTEST_GUILESS_MAIN(InputTaxTest)
#include "test_inputtax.moc"
