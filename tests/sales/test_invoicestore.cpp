// The one save and read of an invoice, on the files and on the server: what
// is stored reads back field for field, the stock comes off through the
// stock function, and a number taken meanwhile moves the invoice on or,
// when refused, saves nothing at all.
#include "sales/invoicestore.h"

#include "data/dataerror.h"
#include "data/database.h"
#include "data/serials.h"
#include "platform/datetext.h"
#include "support/testdata.h"

#include <QtTest>
#include <array>

using namespace zelva;

namespace {

void addShop(Database& db)
{
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
           "('Zelva Traders', '4 Market Road', 'Bengaluru Urban', 'Karnataka', '560001', '29AAAAA0000A1Z5', 1, "
           "'C00001')",
           {}, "add the company", DbFile::Master);
    for (auto [sno, code, quantity] : {std::tuple{1, "G00001", 50.0}, {2, "G00002", 40.0}, {3, "G00003", 30.0}})
        db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, Quantity) VALUES (?, ?, ?, ?)",
               {sno, code, QStringLiteral("Item %1").arg(sno), quantity}, "add an item", DbFile::ItemStock);
}

InvoiceLine line(const char* code, const char* description, double quantity, double rate, Paise discount)
{
    InvoiceLine l;
    l.itemCode = code;
    l.description = description;
    l.hsn = QStringLiteral("HSN-%1").arg(description);
    l.unit = QStringLiteral("Unit-%1").arg(description);
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    l.discount = discount;
    return l;
}

// Every field its own value: a delivery party other than the buyer, a
// discount on the middle line, both charges, a rounding.
Invoice sample(TaxMode mode, qint64 serial, std::array<double, TaxedBases> rates = {18, 5, 40},
               const char* date = "07/12/2026")
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date); // the days the rate tables name, as typed
    x.time = "10:15";
    x.orderNo = "PO-77";
    x.orderDate = QDate(2026, 12, 1);
    x.suppliersRef = "REF-9";
    x.dispatchedThrough = "Road";
    x.seller = {"Zelva Traders", "4 Market Road", "Bengaluru Urban", "Karnataka", "560001", "29AAAAA0000A1Z5"};
    x.buyerCode = "C00005";
    x.buyer = {"Mysore Mart", "1 Palace Road", "Mysuru", mode == TaxMode::Cgst ? "Karnataka" : "Kerala", "570001",
               "29BBBBB1111B1Z5"};
    x.delivery = {"Mysore Depot", "2 Depot Lane", "Mandya", "Goa", "571401", QString()};
    x.mode = mode;
    x.lines = {line("G00001", "Brush", 3, 45.35, 0), line("G00002", "Paint", 2, 385.15, 35000),
               line("G00003", "Putty", 7, 62.45, 0)};
    x.charges[0] = {"Freight", "9965", "Trip", 149.5, 14950};
    x.charges[1] = {"Insurance", "9971", "Policy", 12, 1200};
    for (int base = 0; base < TaxedBases; ++base)
        x.taxes[base].rate = rates[base];
    x.rounding = {"Short & Excess", "N.A.", QString(), 0, 22};
    const QString na = QStringLiteral("N.A.");
    for (ChargedTax& base : x.taxes)
        base.second = {na, "HSN-S", na, 0, 0}; // what an IGST invoice keeps in its SGST rows
    for (ChargedTax& base : x.taxes)
        base.first.hsn = "HSN-C";
    ComputeTotals(x);
    return x;
}

double stockOf(const QString& folder, const char* code)
{
    return testing::valueInFile(folder, DbFile::ItemStock, "SELECT Quantity FROM Stock WHERE itemcode = ?", {code})
        .toDouble();
}

} // namespace

class InvoiceStoreTest : public QObject {
    Q_OBJECT
private slots:
    void readsBackWhatIsStored_data();
    void readsBackWhatIsStored();
    void numberTakenMeanwhile();
    void linesAtTheirOwnRates_data();
    void linesAtTheirOwnRates();
    void ratesRefused_data();
    void ratesRefused();
    void oneRateAndChargesByDate_data();
    void oneRateAndChargesByDate();
};

using Rates = std::array<double, TaxedBases>;
Q_DECLARE_METATYPE(Rates)

// Any rate the portal takes reads back as it was charged: today's slabs, the
// 40% one, gold's 3% and rough stones' 0.25%, the 28% of a late entry dated
// 20 September 2025. The tax totals are kept as the page shows them.
void InvoiceStoreTest::readsBackWhatIsStored_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<Rates>("rates");
    QTest::addColumn<QString>("date");
    QTest::newRow("CGST and SGST") << int(TaxMode::Cgst) << Rates{18, 5, 40} << "07/12/2026";
    QTest::newRow("IGST") << int(TaxMode::Igst) << Rates{5, 18, 0} << "07/12/2026";
    QTest::newRow("CGST at 40%, 3% and 0.25%") << int(TaxMode::Cgst) << Rates{40, 3, 0.25} << "07/12/2026";
    QTest::newRow("IGST at 3% and 40%") << int(TaxMode::Igst) << Rates{3, 40, 0} << "07/12/2026";
    QTest::newRow("late entry at 28%") << int(TaxMode::Cgst) << Rates{28, 12, 18} << "20/09/2025";
}

void InvoiceStoreTest::readsBackWhatIsStored()
{
    QFETCH(int, mode);
    QFETCH(Rates, rates);
    QFETCH(QString, date);
    testing::TempData data;
    addShop(*data.db);
    const Invoice x = sample(TaxMode(mode), 1, rates, qPrintable(date));
    const StoredInvoice as = StoreInvoice(*data.db, x);
    QCOMPARE(as.number, QString("A00001"));
    const std::optional<Invoice> loaded = LoadInvoice(*data.db, as.number);
    QVERIFY(loaded);
    Invoice y = *loaded;
    // the stock item is not kept with the invoice
    for (std::size_t i = 0; i < y.lines.size(); ++i) {
        QVERIFY(y.lines[i].itemCode.isEmpty());
        y.lines[i].itemCode = x.lines[i].itemCode;
    }
    QCOMPARE(y.totals.words, x.totals.words);
    QVERIFY(y == x); // every field, the grid rows and the totals
    // the stock came off each line's own item
    QCOMPARE(stockOf(data.folder(), "G00001"), 47.0);
    QCOMPARE(stockOf(data.folder(), "G00002"), 38.0);
    QCOMPARE(stockOf(data.folder(), "G00003"), 23.0);
    QVERIFY(!LoadInvoice(*data.db, "A00002"));

    // the tax totals kept are the page's, to the paisa; what a file written
    // before kept unrounded is read back rounded
    const bool cgst = TaxMode(mode) == TaxMode::Cgst;
    const QString kept = "SELECT TIgst, TCgst, TSgst FROM GoodsInvoice WHERE sno = 1";
    const QVariantList stored = testing::rowsInFile(data.folder(), DbFile::Invoice, kept).value(0);
    const double shown = ToRupees(x.firstTaxShown());
    QCOMPARE(stored, (QVariantList{cgst ? 0.0 : shown, cgst ? shown : 0.0, cgst ? ToRupees(x.sgstShown()) : 0.0}));
    QVERIFY(testing::changeFileElsewhere(data.folder(), DbFile::Invoice,
                                         "UPDATE GoodsInvoice SET TIgst = TIgst + 0.0045, TCgst = TCgst - 0.0045"));
    const Invoice older = *LoadInvoice(*data.db, as.number);
    QCOMPARE(older.totals.igst, x.totals.igst);
    QCOMPARE(older.totals.cgst, x.totals.cgst);
}

// Another counter saved serial 1 first: allowed, this invoice becomes A00002;
// refused, nothing of it is stored and no stock comes off.
void InvoiceStoreTest::numberTakenMeanwhile()
{
    testing::TempData data;
    addShop(*data.db);
    StoreInvoice(*data.db, sample(TaxMode::Igst, 1));
    Invoice late = sample(TaxMode::Cgst, 1);
    QVERIFY_THROWS_EXCEPTION(DataError, StoreInvoice(*data.db, late, Renumber::Refused));
    QCOMPARE(stockOf(data.folder(), "G00002"), 38.0);
    QVERIFY(!LoadInvoice(*data.db, "A00002"));
    const StoredInvoice as = StoreInvoice(*data.db, late, Renumber::Allowed);
    QCOMPARE(as.serial, 2);
    QCOMPARE(as.number, QString("A00002"));
    QCOMPARE(LoadInvoice(*data.db, "A00002")->buyer.state, QString("Karnataka"));
    QCOMPARE(LoadInvoice(*data.db, "A00001")->buyer.state, QString("Kerala"));
    QCOMPARE(stockOf(data.folder(), "G00002"), 36.0);
}

// The sample's lines at 5, 40 and 18% (none the invoice's own goods rate).
Invoice mixedSample(TaxMode mode, const char* date = "07/12/2026", std::array<double, 3> lineRates = {5, 40, 18})
{
    Invoice x = sample(mode, 1, {18, 5, 18}, date);
    for (std::size_t i = 0; i < x.lines.size(); ++i)
        x.lines[i].gstRate = lineRates[i];
    ComputeTotals(x);
    return x;
}

// Lines at several rates each keep their own rate and their share of their
// rate's tax; the grid's goods rows keep the sums, the totals as the page
// shows them. Goods at one rate keep the grid alone, as ever. An invoice
// whose lines' taxes are not kept (saved before) reads back from its grid.
void InvoiceStoreTest::linesAtTheirOwnRates_data()
{
    QTest::addColumn<Invoice>("x");
    QTest::addColumn<QString>("kept"); // GoodsRow GstRate IgstPaise CgstPaise SgstPaise, a row each
    QTest::addColumn<QString>("grid"); // rows 8 and 9: label, rate, amount
    QTest::newRow("5, 40 and 18% to another State")
        << mixedSample(TaxMode::Igst) << "1 5 680 0 0; 2 40 16812 0 0; 3 18 7869 0 0"
        << "IGST 0 253.61; N.A. 0 0";
    QTest::newRow("5, 40 and 18% in the company's State")
        << mixedSample(TaxMode::Cgst) << "1 5 0 340 340; 2 40 0 8406 8406; 3 18 0 3934 3934"
        << "CGST 0 126.8; SGST 0 126.8";
    // one rate: the grid as ever, no line kept
    QTest::newRow("one rate: as ever") << sample(TaxMode::Cgst, 1) << "" << "CGST @ 9% 9 89.42; SGST @ 9% 9 89.42";
    QTest::newRow("late entry at 12%") << mixedSample(TaxMode::Igst, "20/09/2025", {12, 12, 12}) << ""
                                       << "IGST @ 12% 12 119.22; N.A. 0 0";
}

void InvoiceStoreTest::linesAtTheirOwnRates()
{
    QFETCH(Invoice, x);
    QFETCH(QString, kept);
    QFETCH(QString, grid);
    testing::TempData data;
    addShop(*data.db);
    const StoredInvoice as = StoreInvoice(*data.db, x);
    const auto withItems = [&](Invoice y) {
        for (std::size_t i = 0; i < y.lines.size(); ++i)
            y.lines[i].itemCode = x.lines[i].itemCode;
        return y;
    };
    const auto readBack = [&] { return withItems(*LoadInvoice(*data.db, as.number)); };
    QCOMPARE(readBack(), x);
    QCOMPARE(withItems(LoadAllInvoices(*data.db).at(0)), x);
    const auto joined = [&](const char* sql) {
        QStringList rows;
        for (const QVariantList& row : testing::rowsInFile(data.folder(), DbFile::Invoice, sql)) {
            QStringList fields;
            for (const QVariant& field : row)
                fields << field.toString();
            rows << fields.join(' ');
        }
        return rows.join("; ");
    };
    QCOMPARE(joined("SELECT GoodsRow, GstRate, IgstPaise, CgstPaise, SgstPaise FROM InvoiceLineTax WHERE sno = 1 "
                    "ORDER BY GoodsRow"),
             kept);
    QCOMPARE(joined("SELECT DescriptionOfGoods8, rate8, Amount8 FROM GoodsInvoice UNION ALL "
                    "SELECT DescriptionOfGoods9, rate9, Amount9 FROM GoodsInvoice"),
             grid);
    Paise linesTax = 0;
    for (const InvoiceLine& line : x.lines)
        linesTax += line.firstTax + line.sgst;
    QCOMPARE(linesTax, x.taxRows(TaxOnGoods).total());

    // saved before the lines' taxes were kept: one rate reads back the same
    QVERIFY(testing::changeFileElsewhere(data.folder(), DbFile::Invoice, "DELETE FROM InvoiceLineTax"));
    if (x.taxes[TaxOnGoods].rated())
        QCOMPARE(readBack(), x);
    else
        QCOMPARE(readBack().totals, x.totals);
}

// Nothing is stored of an invoice with a line without a rate or a rate not
// in force on its date; the refusal names the row. The failing line is the
// middle one.
void InvoiceStoreTest::ratesRefused_data()
{
    QTest::addColumn<Invoice>("x");
    QTest::addColumn<QString>("reason");
    Invoice unrated = mixedSample(TaxMode::Cgst);
    unrated.lines[1].gstRate.reset();
    ComputeTotals(unrated);
    QTest::newRow("a line without a rate") << unrated << "goods row 2 (Paint) has no GST rate: choose its rate";
    // 12% stayed for the notified tobacco goods up to 31 January 2026
    QTest::newRow("12% from February 2026")
        << mixedSample(TaxMode::Igst, "01/02/2026", {5, 12, 18})
        << "GST 12% of goods row 2 (Paint) is not in force on 01/02/2026";
    QTest::newRow("40% before 22 September 2025")
        << mixedSample(TaxMode::Igst, "21/09/2025", {5, 40, 18})
        << "GST 40% of goods row 2 (Paint) is not in force on 21/09/2025";
}

void InvoiceStoreTest::ratesRefused()
{
    QFETCH(Invoice, x);
    QFETCH(QString, reason);
    testing::TempData data;
    addShop(*data.db);
    try {
        StoreInvoice(*data.db, x);
        QFAIL("stored");
    } catch (const DataError& e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QVERIFY(!LoadInvoice(*data.db, "A00001"));
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT COUNT(*) FROM InvoiceLineTax").toInt(), 0);
    QCOMPARE(stockOf(data.folder(), "G00002"), 40.0);
}

// The one goods rate (rows 8 and 9) and each charge's rate must be in force
// on the invoice's date as a line's own rate must, the rates the forms offer
// for the day: 12% saves on 21 September 2025 and, as the notified tobacco
// goods' rate, up to 31 January 2026; it is refused from 1 February 2026,
// 40% before 22 September 2025; a charge at a rate gone is refused beside
// goods at 18%. The refusal names the row.
void InvoiceStoreTest::oneRateAndChargesByDate_data()
{
    QTest::addColumn<Invoice>("x");
    QTest::addColumn<QString>("reason"); // "" when it saves
    const QString choose = ": choose a rate in force on the invoice's date";
    QTest::newRow("12% on 21/09/2025 saves") << sample(TaxMode::Cgst, 1, {12, 5, 18}, "21/09/2025") << "";
    QTest::newRow("12% on 22/09/2025 saves, the tobacco goods' rate")
        << sample(TaxMode::Cgst, 1, {12, 5, 18}, "22/09/2025") << "";
    QTest::newRow("12% on 01/02/2026 refused")
        << sample(TaxMode::Cgst, 1, {12, 5, 18}, "01/02/2026")
        << "GST 12% of goods tax row 8 (CGST @ 6%) is not in force on 01/02/2026" + choose;
    QTest::newRow("12% IGST on 01/02/2026 refused")
        << sample(TaxMode::Igst, 1, {12, 5, 18}, "01/02/2026")
        << "GST 12% of goods tax row 8 (IGST @ 12%) is not in force on 01/02/2026" + choose;
    QTest::newRow("18% on 22/09/2025 saves") << sample(TaxMode::Cgst, 1, {18, 5, 40}, "22/09/2025") << "";
    QTest::newRow("40% on 21/09/2025 refused")
        << sample(TaxMode::Cgst, 1, {40, 5, 18}, "21/09/2025")
        << "GST 40% of goods tax row 8 (CGST @ 20%) is not in force on 21/09/2025" + choose;
    QTest::newRow("first charge at 28% in 2026 refused")
        << sample(TaxMode::Igst, 1, {18, 28, 5}, "09/02/2026")
        << "GST 28% of charge row 10 (Freight) is not in force on 09/02/2026" + choose;
    QTest::newRow("second charge at 12% in 2026 refused")
        << sample(TaxMode::Cgst, 1, {18, 5, 12}, "10/02/2026")
        << "GST 12% of charge row 13 (Insurance) is not in force on 10/02/2026" + choose;
    QTest::newRow("charges at 28% and 12% on 21/09/2025 save")
        << sample(TaxMode::Cgst, 1, {18, 28, 12}, "21/09/2025") << "";
}

void InvoiceStoreTest::oneRateAndChargesByDate()
{
    QFETCH(Invoice, x);
    QFETCH(QString, reason);
    testing::TempData data;
    addShop(*data.db);
    QString refused;
    try {
        StoreInvoice(*data.db, x);
    } catch (const DataError& e) {
        refused = e.message();
    }
    if (reason.isEmpty()) {
        QCOMPARE(refused, QString());
        Invoice y = *LoadInvoice(*data.db, "A00001");
        for (std::size_t i = 0; i < y.lines.size(); ++i)
            y.lines[i].itemCode = x.lines[i].itemCode;
        QCOMPARE(y, x);
        QCOMPARE(stockOf(data.folder(), "G00002"), 38.0);
        return;
    }
    QVERIFY2(refused.contains(reason), qPrintable(refused));
    QVERIFY(!LoadInvoice(*data.db, "A00001"));
    QCOMPARE(testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT COUNT(*) FROM GoodsInvoice").toInt(), 0);
    QCOMPARE(stockOf(data.folder(), "G00002"), 40.0);
}

QTEST_MAIN(InvoiceStoreTest)
#include "test_invoicestore.moc"
