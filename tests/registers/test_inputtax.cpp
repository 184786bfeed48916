// Input tax: purchase bills with GST, the purchase register, the GSTR-3B
// worksheet and the GSTR-2B matching over one check month (January 2027) of a
// Tamil Nadu shop. Every expected figure is worked out below from the rules,
// not read from the program.
#include "registers/gstr2b.h"
#include "registers/gstr3b.h"
#include "registers/purchaseregister.h"

#include "data/schema.h"
#include "gst/gststates.h"
#include "reports/invoiceshape.h"
#include "sales/invoicecancel.h"
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
                  std::vector<PurchaseBillLine> lines, bool reverseCharge = false, bool itcEligible = true)
{
    PurchaseBill b;
    b.number = QString::fromLatin1(number);
    b.date = QDate::fromString(QString::fromLatin1(date), QStringLiteral("dd/MM/yyyy"));
    b.supplierName = QString::fromLatin1(supplier);
    b.supplierGstin = gstin;
    b.supplierState = QString::fromLatin1(state);
    b.reverseCharge = reverseCharge;
    b.itcEligible = itcEligible;
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
        bill("INV/001", "04/01/2027", "Sharma Traders", Sharma(), "Tamil Nadu",
             {line("Steel Rod", rupees(10000), 18, "G00001"), line("Hex Bolt", rupees(1234.57), 5)}),
        bill("KA-77", "08/01/2027", "Mysore Paints", Mysore(), "Karnataka", {line("Paint Tin", rupees(20000), 12)}),
        bill("GTA/5", "12/01/2027", "Chennai Carriers()", Carriers(), "Tamil Nadu", {line("Freight", rupees(5000), 5)},
             true),
        bill("F-9", "20/01/2027", "Furnish Mart", Furnish(), "tamil nadu", {line("Sofa for home", rupees(3000), 28)},
             false, false),
        bill("CASH1", "25/01/2027", "Village Farm", "N.A.", "Tamil Nadu", {line("Cotton Waste", rupees(800), 0)}),
        bill("INV/002", "02/02/2027", "Sharma Traders", Sharma(), "Tamil Nadu", {line("Steel Rod", rupees(999), 18)}),
    };
}

std::vector<InvoiceShape> januaryInvoices()
{
    using zelva::TaxMode;
    return {
        {1, "03/01/2027", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Cgst, {{"Steel Rod", "7214", 10, "Kg", "100", "1000.00"}}, Base{nullptr, "N.A.", "0", "9", "90.00"},
         Base{}, Base{}, "0", 90},
        {2, "05/01/2027", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
         {{"Paint Tin", "3208", 10, "Ltr", "200", "2000.00"}}, Base{nullptr, "N.A.", "0", "12", "240.00"}, Base{},
         Base{}, "0", 240},
        {3, "07/01/2027", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Igst, {{"Cotton Waste", "5202", 5, "Kg", "100", "500.00"}}, Base{nullptr, "N.A.", "0", "0", "0"},
         Base{}, Base{}, "0", 0},
        // cancelled below: left out of every figure
        {4, "09/01/2027", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu",
         TaxMode::Cgst, {{"Steel Rod", "7214", 30, "Kg", "100", "3000.00"}},
         Base{nullptr, "N.A.", "0", "9", "270.00"}, Base{}, Base{}, "0", 270},
        {5, "01/02/2027", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
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
QByteArray januaryFile(const QString& gstin = CompanyGstin, const char* period = "012027")
{
    const QJsonArray b2b{
        supplier(Sharma(), "SHARMA TRADERS", "inv",
                 {invoice("inv-001", "04-01-2027", 13166.29,
                          {item(18, 10000, 0, 900, 900), item(5, 1234.57, 0, 30.86, 30.86)})}),
        supplier(Mysore(), "MYSORE PAINTS", "inv",
                 {invoice("0KA/77", "08-01-2027", 22400.01, {item(12, 20000.01, 2400, 0, 0)})}),
        supplier(Furnish(), "FURNISH MART", "inv",
                 {invoice("F 9", "20-01-2027", 3850, {item(28, 3000, 0, 425, 420)})}),
        supplier(Stranger(), "STRANGER STEEL", "inv",
                 {invoice("Z-100", "15-01-2027", 1180, {item(18, 1000, 180, 0, 0)})}),
    };
    QJsonObject note = invoice("CN-3", "18-01-2027", 118, {item(18, 100, 0, 9, 9)});
    note.insert("ntnum", "CN-3");
    note.insert("typ", "C");
    const QJsonArray cdnr{supplier(Sharma(), "SHARMA TRADERS", "nt", {note})};
    const QJsonObject data{{"gstin", gstin}, {"rtnprd", period}, {"gendt", "14-02-2027"},
                           {"docdata", QJsonObject{{"b2b", b2b}, {"cdnr", cdnr}}}};
    return QJsonDocument(QJsonObject{{"chksum", "x"}, {"data", data}}).toJson();
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

    void fillMonth()
    {
        testing::addCompany(*data.db, CompanyGstin);
        addStockItem(*data.db, 1, "G00001", "Steel Rod", 7);
        for (const InvoiceShape& shape : januaryInvoices())
            testing::writeInvoice(*data.db, shape);
        QCOMPARE(CancelInvoice(*data.db, QStringLiteral("A00004"), {"10/01/2027", "11:00", "Wrong buyer", "ravi"}),
                 QString());
        for (PurchaseBill b : januaryBills()) {
            QCOMPARE(StorePurchaseBill(*data.db, b), QString());
            stored.push_back(b);
        }
        // A purchase saved before bills carried GST: a bill without tax.
        data.db->run(QStringLiteral("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, "
                                    "PurchaseInvoiceNo, PurchaseInvoiceDate, SupplierName, SupGstinNo, SupAddress, "
                                    "sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) VALUES (90, "
                                    "'P00090', '15/01/2027', 'OLD-1', '15/01/2027', 'Old Supplier', 'N.A.', 'N.A.', 0, "
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
        const LineTax tax = PurchaseLineTax(taxable, rate, interState ? TaxMode::Igst : TaxMode::Cgst);
        QCOMPARE(tax.igst, igst);
        QCOMPARE(tax.cgst, cgstEach);
        QCOMPARE(tax.sgst, cgstEach);
    }

    void sameBillTwice_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("gstin");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same number written otherwise") << " inv-001" << "03/03/2027" << Sharma() << true;
        QTest::newRow("leading zeros") << "00INV001" << "04/03/2027" << Sharma() << true;
        QTest::newRow("same year, other month") << "INV/001" << "31/03/2027" << Sharma() << true;
        QTest::newRow("next financial year") << "INV/001" << "01/04/2027" << Sharma() << false;
        QTest::newRow("another supplier") << "INV/001" << "05/03/2027" << Mysore() << false;
    }
    void sameBillTwice()
    {
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QString, gstin);
        QFETCH(bool, refused);
        testing::TempData fresh;
        testing::addCompany(*fresh.db, CompanyGstin);
        PurchaseBill first = januaryBills().front();
        first.lines.resize(1);
        first.lines[0].stock.reset();
        QCOMPARE(StorePurchaseBill(*fresh.db, first), QString());
        PurchaseBill again = first;
        again.number = number;
        again.date = QDate::fromString(date, QStringLiteral("dd/MM/yyyy"));
        again.supplierGstin = gstin;
        const QString refusal = StorePurchaseBill(*fresh.db, again);
        QCOMPARE(refusal.contains(QStringLiteral("already entered")), refused);
        const QVariant purchases = testing::valueInFile(fresh.folder(), DbFile::PurchaseMaster,
                                                        QStringLiteral("SELECT COUNT(*) FROM Purchase WHERE PSno <> 0"));
        QCOMPARE(purchases.toInt(), refused ? 1 : 2);
    }

    // Each line moves its stock; a line whose item is gone, in the middle of
    // the bill, leaves nothing stored: no bill, no purchase, no stock moved.
    void billLandsWhole()
    {
        testing::TempData fresh;
        testing::addCompany(*fresh.db, CompanyGstin);
        addStockItem(*fresh.db, 1, "G00001", "Steel Rod", 7);
        addStockItem(*fresh.db, 2, "G00002", "Hex Bolt", 3);
        PurchaseBill b = bill("B-1", "04/01/2027", "Sharma Traders", Sharma(), "Tamil Nadu",
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
        const PurchaseRegister r = LoadPurchaseRegister(*data.db, QDate(2027, 1, 1), QDate(2027, 1, 31));
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
        const Gstr3b w = LoadGstr3b(*data.db, 2027, 1);
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
                                     "4(A)(3)", "4(A)(4)", "4(A)(5)", "4(B)(1)", "4(B)(2)", "4(C)", "6.1"}));
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
        // 4(A)(5): Sharma (900 + 30.86 each head), Mysore (IGST 2400), Furnish (420 each head)
        check(figure("4(A)(5)"), 0, rupees(2400), rupees(1350.86), rupees(1350.86), 3);
        check(figure("4(B)(1)"), 0, 0, rupees(420), rupees(420), 1);
        // 4(C) = 4(A) - 4(B)
        check(figure("4(C)"), 0, rupees(2400), rupees(1055.86), rupees(1055.86), 4);
        // 6.1: IGST credit 2400 pays the IGST 240, then the CGST 90, then the SGST 90;
        // no cash but the reverse charge tax; 1980 of IGST credit is left
        QCOMPARE(w.setOff.paid[IgstHead], (HeadAmounts{rupees(240), rupees(90), rupees(90)}));
        QCOMPARE(w.setOff.paid[CgstHead], (HeadAmounts{0, 0, 0}));
        QCOMPARE(w.setOff.cash, (HeadAmounts{0, 0, 0}));
        QCOMPARE(w.setOff.carriedForward, (HeadAmounts{rupees(1980), rupees(1055.86), rupees(1055.86)}));
        QCOMPARE(w.reverseChargeCash, (HeadAmounts{0, rupees(125), rupees(125)}));
    }

    // The legal order of the set-off, head by head.
    void setOff_data()
    {
        QTest::addColumn<HeadAmounts>("payable");
        QTest::addColumn<HeadAmounts>("credit");
        QTest::addColumn<HeadAmounts>("cash");
        QTest::addColumn<HeadAmounts>("left");
        QTest::addColumn<HeadAmounts>("cgstCreditUsed");
        // IGST credit short: CGST credit pays CGST, then IGST; SGST credit pays SGST, then what IGST is left
        QTest::newRow("cgst credit pays igst") << HeadAmounts{1000, 500, 300} << HeadAmounts{200, 900, 100}
                                               << HeadAmounts{400, 0, 200} << HeadAmounts{0, 0, 0}
                                               << HeadAmounts{400, 500, 0};
        // CGST credit never pays SGST
        QTest::newRow("cgst never for sgst") << HeadAmounts{0, 0, 500} << HeadAmounts{0, 1000, 0}
                                             << HeadAmounts{0, 0, 500} << HeadAmounts{0, 1000, 0}
                                             << HeadAmounts{0, 0, 0};
        // IGST credit goes to CGST before SGST
        QTest::newRow("igst to cgst first") << HeadAmounts{0, 100, 100} << HeadAmounts{150, 0, 0}
                                            << HeadAmounts{0, 0, 50} << HeadAmounts{0, 0, 0} << HeadAmounts{0, 0, 0};
        // SGST credit pays IGST left after the CGST credit
        QTest::newRow("sgst credit for igst") << HeadAmounts{700, 0, 0} << HeadAmounts{0, 300, 300}
                                              << HeadAmounts{100, 0, 0} << HeadAmounts{0, 0, 0}
                                              << HeadAmounts{300, 0, 0};
    }
    void setOff()
    {
        QFETCH(HeadAmounts, payable);
        QFETCH(HeadAmounts, credit);
        QFETCH(HeadAmounts, cash);
        QFETCH(HeadAmounts, left);
        QFETCH(HeadAmounts, cgstCreditUsed);
        const SetOff s = SetOffTax(payable, credit);
        QCOMPARE(s.cash, cash);
        QCOMPARE(s.carriedForward, left);
        QCOMPARE(s.paid[CgstHead], cgstCreditUsed);
        QCOMPARE(s.paid[CgstHead][SgstHead], Paise(0));
        QCOMPARE(s.paid[SgstHead][CgstHead], Paise(0));
    }

    void matching()
    {
        const Gstr2bFile file = ReadGstr2b(januaryFile(), CompanyGstin, 2027, 1);
        QVERIFY2(file.ok(), qPrintable(file.refusal));
        QCOMPARE(file.documents.size(), size_t(5));
        const Gstr2bMatching m = LoadGstr2bMatching(*data.db, 2027, 1, file.documents);
        const auto numbersOf = [&](MatchKind kind) {
            QStringList numbers;
            for (const MatchLine& l : m.lines)
                if (l.kind == kind)
                    numbers << (l.books ? l.books->number : l.portal->number);
            return numbers;
        };
        // "inv-001" is "INV/001"; "0KA/77" is "KA-77", a paisa off: within a rupee
        QCOMPARE(numbersOf(MatchKind::Matched), (QStringList{"INV/001", "KA-77"}));
        // CGST 425.00 against 420.00: five rupees
        QCOMPARE(numbersOf(MatchKind::Differences), QStringList{"F-9"});
        const MatchLine& furnish = *std::find_if(m.lines.begin(), m.lines.end(),
                                                 [](const MatchLine& l) { return l.kind == MatchKind::Differences; });
        QCOMPARE(furnish.differences, QStringList{"CGST 425.00 in 2B, 420.00 in the books"});
        QCOMPARE(numbersOf(MatchKind::PortalOnly), (QStringList{"Z-100", "CN-3"}));
        // the carrier's bill is not reported; the unregistered farm and the
        // purchase saved before have no GSTIN to be reported under
        QCOMPARE(numbersOf(MatchKind::BooksOnly), QStringList{"GTA/5"});
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("gstin,rtnprd\n33AAACH7409R1Z8,012027") << "it is not JSON text";
        QTest::newRow("another return") << QByteArray(R"({"data":{"gstin":"33AAACH7409R1Z8","fp":"012027"}})")
                                        << "it has no data.gstin, data.rtnprd or data.docdata";
        QTest::newRow("another GSTIN") << januaryFile(Sharma()) << QStringLiteral("for GSTIN %1, not").arg(Sharma());
        QTest::newRow("another month") << januaryFile(CompanyGstin, "122026") << "return period 122026, not for 012027";
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        const Gstr2bFile file = ReadGstr2b(json, CompanyGstin, 2027, 1);
        QVERIFY2(file.refusal.contains(reason), qPrintable(file.refusal));
        QVERIFY(file.documents.empty());
    }

    // The new tables are declared, so both stores make them and the copies take them.
    void tablesDeclared()
    {
        for (const char* name : {"Supplier", "PurchaseBill", "PurchaseBillLine"})
            QVERIFY(FindTable(QString::fromLatin1(name)));
        QVERIFY(SchemaVersion >= PurchaseTaxVersion);
    }
};

QTEST_GUILESS_MAIN(InputTaxTest)
#include "test_inputtax.moc"
