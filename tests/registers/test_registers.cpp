#include "registers/csvfile.h"
#include "registers/gstr1.h"
#include "registers/registersheets.h"
#include "registers/salesqueries.h"
#include "registers/salesregister.h"
#include "registers/uqc.h"

#include "data/schema.h"
#include "reports/invoiceshape.h"
#include "reports/xlsxreader.h"
#include "sales/invoiceread.h"
#include "support/testserver.h"
#include "support/testdata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QtTest>

using namespace zelva;
using testing::Base;
using testing::InvoiceShape;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8"); // Tamil Nadu

// August 2026 for a Tamil Nadu company, with one invoice on each side of the
// month. Expected figures are worked out by hand in the tests.
std::vector<InvoiceShape> augustInvoices()
{
    using zelva::TaxMode;
    return {
        // within the State, registered; goods at 18%, freight at 5%
        { 1, "01/08/2026", "Arun Traders, Salem", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders, Salem", "Tamil Nadu",
            TaxMode::Cgst,
            { { "Steel Rod", "7214", 10, "Kg", "55", "550.00" }, { "Cement Bag", "2523", 4, "Nos", "400", "1600.00" } },
            Base { nullptr, "N.A.", "0", "9", "193.50" }, Base { "Freight", "9965", "100.00", "2.5", "2.50" }, Base {},
            "0", 196.0 },
        // another State, registered, State typed loosely, goods sent to a
        // depot in a third State; the goods tax does not split evenly
        { 2, "5/8/2026", "Bharat Motors", "29aaaci1681g1zl ", "karnataka ", "Bharat Motors Kerala Depot", "Kerala",
            TaxMode::Igst,
            { { "Steel Rod", "7214", 2.5, "Kg", "40", "100.00" }, { "Hex Bolt", "7318", 7, "Nos", "1.43", "10.01" } },
            Base { nullptr, "N.A.", "0", "18", "19.80" }, Base {}, Base {}, ".19", 19.8018 },
        // unregistered, another State, small
        { 3, "10/08/2026", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
            { { "Paint Tin", "3208", 5, "Ltr", "200", "1000.00" } }, Base { nullptr, "N.A.", "0", "18", "180.00" },
            Base {}, Base {}, "0", 180 },
        // unregistered, another State, above Rs 1,00,000; goods and insurance at one rate
        { 4, "15/08/2026", "Mumbai Build Co", "N.A.", "Maharashtra", "Mumbai Build Co", "Maharashtra", TaxMode::Igst,
            { { "Steel Rod", "7214", 2000, "Kg", "55", "110000.00" } }, Base { nullptr, "N.A.", "0", "18", "19800.00" },
            Base {}, Base { "Insurance", "9971", "500.00", "18", "90.00" }, "0", 19890 },
        // unregistered, within the State
        { 5, "20/08/2026", "Local Buyer", "", "Tamil Nadu", "Local Buyer", "Tamil Nadu", TaxMode::Cgst,
            { { "Paint Tin", "3208", 2, "Ltr", "200", "400.00" } }, Base { nullptr, "N.A.", "0", "9", "36.00" },
            Base {}, Base {}, "0", 36 },
        // unregistered, another State, exactly Rs 1,00,000: not above the limit
        { 6, "25/08/2026", "Goa Resorts", "N.A.", "Goa", "Goa Resorts", "Goa", TaxMode::Igst,
            { { "Bolt Set", "7318", 1, "Nos", "100000", "100000.00" } }, Base { nullptr, "N.A.", "0", "0", "0" },
            Base {}, Base {}, "0", 0 },
        // registered, State the list does not know: the GSTIN's code is the place
        { 7, "31/08/2026", "Puducherry Agencies", "34PONDY5678B1ZO", "Pondy", "Puducherry Agencies", "Pondy",
            TaxMode::Igst, { { "Cement Bag", "2523", 10, "Bag", "350", "3500.00" } },
            Base { nullptr, "N.A.", "0", "5", "175.00" }, Base {}, Base {}, "0", 175 },
        // outside the month
        { 8, "01/09/2026", "Arun Traders, Salem", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders, Salem", "Tamil Nadu",
            TaxMode::Cgst, { { "Steel Rod", "7214", 1, "Kg", "55", "55.00" } },
            Base { nullptr, "N.A.", "0", "9", "4.95" }, Base {}, Base {}, "0", 4.95 },
        { 9, "31/07/2026", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
            { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } }, Base { nullptr, "N.A.", "0", "18", "36.00" },
            Base {}, Base {}, "0", 36 },
    };
}

// April and May 2025 for the same company: a buyer registered in Maharashtra
// whose goods go to its branch in Kerala (the State typed), an invoice
// back-dated into April, and descriptions longer than the portal takes.
std::vector<InvoiceShape> spring2025()
{
    using zelva::TaxMode;
    return {
        { 1, "02/05/2025", "Konkan Hardware", "27AAPFU0939F1ZV", "Kerala", "Konkan Hardware", "Kerala", TaxMode::Igst,
            { { "Galvanised Steel Bracket Heavy Duty 150mm", "7326", 10, "Nos", "100", "1000.00" } },
            Base { nullptr, "N.A.", "0", "18", "180.00" }, Base {}, Base {}, "0", 180 },
        { 2, "30/04/2025", "Walk-in", "N.A.", "Tamil Nadu", "Walk-in", "Tamil Nadu", TaxMode::Cgst,
            { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } }, Base { nullptr, "N.A.", "0", "6", "12.00" },
            Base {}, Base {}, "0", 12 },
        { 3, "20/05/2025", "Local Buyer", "", "Tamil Nadu", "Local Buyer", "Tamil Nadu", TaxMode::Cgst,
            { { "Galvanised Steel Bracket Heavy Duty 150mm", "7326", 2, "Nos", "100", "200.00" },
                { "Steel Rod Bundle 12mm Grade सरिया", "7214", 1, "Kg", "55", "55.00" } },
            Base { nullptr, "N.A.", "0", "9", "22.95" }, Base {}, Base {}, "0", 22.95 },
        { 4, "31/05/2025", "Arun Traders, Salem", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders, Salem", "Tamil Nadu",
            TaxMode::Cgst, { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } },
            Base { nullptr, "N.A.", "0", "6", "12.00" }, Base {}, Base {}, "0", 12 },
    };
}

QJsonValue parsed(const char* json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray("{\"v\":") + json + "}", &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad expected JSON: %s", qPrintable(error.errorString()));
    return document.object().value("v");
}

// A difference as the two JSON texts, so a failure shows what differs.
void compareJson(const QJsonValue& actual, const QJsonValue& expected)
{
    const auto text = [](const QJsonValue& v) {
        return QString::fromUtf8(QJsonDocument(QJsonObject { { "v", v } }).toJson(QJsonDocument::Compact));
    };
    QCOMPARE(text(actual), text(expected));
}

Paise sumOf(const QJsonArray& list, const char* field)
{
    Paise sum = 0;
    for (const QJsonValue& v : list)
        sum += ToPaise(v.toObject().value(field).toDouble());
    return sum;
}

} // namespace

class RegistersTest : public QObject {
    Q_OBJECT

    testing::TempData data;
    QJsonObject august;

private slots:
    void initTestCase()
    {
        testing::addCompany(*data.db, CompanyGstin);
        for (const InvoiceShape& shape : augustInvoices())
            testing::writeInvoice(*data.db, shape);
        const Gstr1File file = LoadGstr1(*data.db, 2026, 8);
        QVERIFY2(file.ok(), qPrintable(file.error));
        august = QJsonDocument::fromJson(file.json).object();
    }

    // Stored amounts to whole paise: two decimals as they were shown, a half
    // paisa away from zero, the largest amounts exact.
    void toPaise_data()
    {
        QTest::addColumn<double>("rupees");
        QTest::addColumn<qint64>("paise");
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << qint64(30);
        QTest::newRow("a whole amount") << 2642.0 << qint64(264200);
        QTest::newRow("half a paisa") << 0.005 << qint64(1);
        QTest::newRow("half a paisa owed") << -12.345 << qint64(-1235);
        QTest::newRow("1.005 as shown") << 1.005 << qint64(101);
        QTest::newRow("twelve digits") << 777777777777.77 << qint64(77777777777777);
        QTest::newRow("twelve digits owed") << -999999999999.99 << qint64(-99999999999999);
    }
    void toPaise()
    {
        ON_FILES_ONLY();
        QFETCH(double, rupees);
        QFETCH(qint64, paise);
        QCOMPARE(ToPaise(rupees), paise);
    }

    // Registered buyers by GSTIN (as capitals); the place of supply is the
    // buyer's State, not the delivery party's; items are grouped by rate.
    void b2b()
    {
        compareJson(august.value("b2b"), parsed(R"([
          {"ctin": "29AAACI1681G1ZL", "inv": [{"inum": "A00002", "idt": "05-08-2026", "val": 130, "pos": "29",
            "rchrg": "N", "inv_typ": "R",
            "itms": [{"num": 1, "itm_det": {"rt": 18, "txval": 110.01, "iamt": 19.8, "csamt": 0}}]}]},
          {"ctin": "33ARUNT1234A1Z2", "inv": [{"inum": "A00001", "idt": "01-08-2026", "val": 2642, "pos": "33",
            "rchrg": "N", "inv_typ": "R",
            "itms": [{"num": 1, "itm_det": {"rt": 5, "txval": 100, "camt": 2.5, "samt": 2.5, "csamt": 0}},
                     {"num": 2, "itm_det": {"rt": 18, "txval": 2150, "camt": 193.5, "samt": 193.5, "csamt": 0}}]}]},
          {"ctin": "34PONDY5678B1ZO", "inv": [{"inum": "A00007", "idt": "31-08-2026", "val": 3675, "pos": "34",
            "rchrg": "N", "inv_typ": "R",
            "itms": [{"num": 1, "itm_det": {"rt": 5, "txval": 3500, "iamt": 175, "csamt": 0}}]}]}
        ])"));
    }

    // Above Rs 1,00,000 to another State is b2cl; the insurance at the goods'
    // rate joins their item; exactly Rs 1,00,000 stays in b2cs.
    void b2clAndB2cs()
    {
        compareJson(august.value("b2cl"), parsed(R"([
          {"pos": "27", "inv": [{"inum": "A00004", "idt": "15-08-2026", "val": 130390,
            "itms": [{"num": 1, "itm_det": {"rt": 18, "txval": 110500, "iamt": 19890, "csamt": 0}}]}]}
        ])"));
        compareJson(august.value("b2cs"), parsed(R"([
          {"sply_ty": "INTRA", "pos": "33", "typ": "OE", "rt": 18, "txval": 400, "camt": 36, "samt": 36, "csamt": 0},
          {"sply_ty": "INTER", "pos": "30", "typ": "OE", "rt": 0, "txval": 100000, "iamt": 0, "csamt": 0},
          {"sply_ty": "INTER", "pos": "32", "typ": "OE", "rt": 18, "txval": 1000, "iamt": 180, "csamt": 0}
        ])"));
    }

    // One line per code, rate and unit, in two lists numbered from 1: the
    // registered buyers' and the others'; the goods tax shared over the lines
    // to the paisa (invoice 2: 19.80 over 100.00 and 10.01 gives 18.00 and
    // 1.80); charges as services without quantity.
    void hsn()
    {
        compareJson(august.value("hsn"), parsed(R"({"hsn_b2b": [
          {"num": 1, "hsn_sc": "2523", "desc": "Cement Bag", "uqc": "BAG", "qty": 10, "rt": 5, "txval": 3500,
           "iamt": 175, "camt": 0, "samt": 0, "csamt": 0},
          {"num": 2, "hsn_sc": "2523", "desc": "Cement Bag", "uqc": "NOS", "qty": 4, "rt": 18, "txval": 1600,
           "iamt": 0, "camt": 144, "samt": 144, "csamt": 0},
          {"num": 3, "hsn_sc": "7214", "desc": "Steel Rod", "uqc": "KGS", "qty": 12.5, "rt": 18, "txval": 650,
           "iamt": 18, "camt": 49.5, "samt": 49.5, "csamt": 0},
          {"num": 4, "hsn_sc": "7318", "desc": "Hex Bolt", "uqc": "NOS", "qty": 7, "rt": 18, "txval": 10.01,
           "iamt": 1.8, "camt": 0, "samt": 0, "csamt": 0},
          {"num": 5, "hsn_sc": "9965", "desc": "Freight", "uqc": "NA", "qty": 0, "rt": 5, "txval": 100,
           "iamt": 0, "camt": 2.5, "samt": 2.5, "csamt": 0}
        ], "hsn_b2c": [
          {"num": 1, "hsn_sc": "3208", "desc": "Paint Tin", "uqc": "LTR", "qty": 7, "rt": 18, "txval": 1400,
           "iamt": 180, "camt": 36, "samt": 36, "csamt": 0},
          {"num": 2, "hsn_sc": "7214", "desc": "Steel Rod", "uqc": "KGS", "qty": 2000, "rt": 18, "txval": 110000,
           "iamt": 19800, "camt": 0, "samt": 0, "csamt": 0},
          {"num": 3, "hsn_sc": "7318", "desc": "Bolt Set", "uqc": "NOS", "qty": 1, "rt": 0, "txval": 100000,
           "iamt": 0, "camt": 0, "samt": 0, "csamt": 0},
          {"num": 4, "hsn_sc": "9971", "desc": "Insurance", "uqc": "NA", "qty": 0, "rt": 18, "txval": 500,
           "iamt": 90, "camt": 0, "samt": 0, "csamt": 0}
        ]})"));
    }

    // The months either side of the HSN summary's change, by the return's own
    // month: April 2025 keeps one list, May 2025 splits it. A registered
    // buyer's place of supply is the State typed, not the one its GSTIN
    // names. The documents issued count the month's invoices, not the span of
    // their numbers (A00002 was back-dated into April). A long description
    // is cut to 30 characters between two whole letters.
    void hsnListsByReturnMonth_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("hsn");
        QTest::newRow("April 2025") << 4 << R"({"data": [
          {"num": 1, "hsn_sc": "3208", "desc": "Paint Tin", "uqc": "LTR", "qty": 1, "rt": 12, "txval": 200,
           "iamt": 0, "camt": 12, "samt": 12, "csamt": 0}]})";
        QTest::newRow("May 2025") << 5 << R"({"hsn_b2b": [
          {"num": 1, "hsn_sc": "3208", "desc": "Paint Tin", "uqc": "LTR", "qty": 1, "rt": 12, "txval": 200,
           "iamt": 0, "camt": 12, "samt": 12, "csamt": 0},
          {"num": 2, "hsn_sc": "7326", "desc": "Galvanised Steel Bracket Heavy", "uqc": "NOS", "qty": 10, "rt": 18,
           "txval": 1000, "iamt": 180, "camt": 0, "samt": 0, "csamt": 0}
        ], "hsn_b2c": [
          {"num": 1, "hsn_sc": "7214", "desc": "Steel Rod Bundle 12mm Grade स", "uqc": "KGS", "qty": 1, "rt": 18,
           "txval": 55, "iamt": 0, "camt": 4.95, "samt": 4.95, "csamt": 0},
          {"num": 2, "hsn_sc": "7326", "desc": "Galvanised Steel Bracket Heavy", "uqc": "NOS", "qty": 2, "rt": 18,
           "txval": 200, "iamt": 0, "camt": 18, "samt": 18, "csamt": 0}
        ]})";
    }
    void hsnListsByReturnMonth()
    {
        QFETCH(int, month);
        QFETCH(QString, hsn);
        testing::TempData spring;
        testing::addCompany(*spring.db, CompanyGstin);
        for (const InvoiceShape& shape : spring2025())
            testing::writeInvoice(*spring.db, shape);
        const Gstr1File file = LoadGstr1(*spring.db, 2025, month);
        QVERIFY2(file.ok(), qPrintable(file.error));
        const QJsonObject json = QJsonDocument::fromJson(file.json).object();
        compareJson(json.value("hsn"), parsed(hsn.toUtf8().constData()));
        if (month != 5)
            return;
        const QJsonArray b2b = json.value("b2b").toArray();
        const QJsonObject konkan = b2b.first().toObject();
        QCOMPARE(konkan.value("ctin").toString(), QString("27AAPFU0939F1ZV"));
        QCOMPARE(konkan.value("inv").toArray().first().toObject().value("pos").toString(), QString("32")); // Kerala
        compareJson(json.value("doc_issue"), parsed(R"({"doc_det": [{"doc_num": 1, "docs": [
          {"num": 1, "from": "A00001", "to": "A00004", "totnum": 3, "cancel": 0, "net_issue": 3}]}]})"));
    }

    // The header, and the invoices of the month by their first and last numbers.
    void headerAndDocIssue()
    {
        QCOMPARE(august.value("gstin").toString(), CompanyGstin);
        QCOMPARE(august.value("fp").toString(), QString("082026"));
        compareJson(august.value("doc_issue"), parsed(R"({"doc_det": [{"doc_num": 1, "docs": [
          {"num": 1, "from": "A00001", "to": "A00007", "totnum": 7, "cancel": 0, "net_issue": 7}]}]})"));
    }

    // The register's lines and totals are those of the saved invoices, read
    // through a connection of their own; the sections of the return add up
    // to the same taxable value and taxes.
    void registerEqualsSavedInvoices()
    {
        const SalesRegister month = LoadSalesRegister(*data.db, MonthPeriod(2026, 8));
        QCOMPARE(int(month.lines.size()), 7);
        const RegisterLine& second = month.lines[1];
        QCOMPARE(second.number, QString("A00002"));
        QCOMPARE(second.buyerGstin, QString("29AAACI1681G1ZL"));
        QCOMPARE(second.placeOfSupply, QString("29-Karnataka"));
        QCOMPARE(month.lines[6].placeOfSupply, QString("34-Puducherry"));
        QCOMPARE(month.lines[4].buyerGstin, QString());
        QCOMPARE(AmountText(second.figures.taxable), QString("110.01"));
        QCOMPARE(AmountText(second.figures.tax.igst), QString("19.80"));
        QCOMPARE(AmountText(second.figures.total), QString("130.00"));

        const SalesFigures& t = month.totals;
        QCOMPARE(t.invoices, 7);
        QCOMPARE(AmountText(t.taxable), QString("217760.01"));
        QCOMPARE(AmountText(t.tax.cgst), QString("232.00"));
        QCOMPARE(AmountText(t.tax.sgst), QString("232.00"));
        QCOMPARE(AmountText(t.tax.igst), QString("20264.80"));
        QCOMPARE(AmountText(t.total), QString("238489.00"));

        const QVariant saved = testing::valueInFile(
            data.folder(), DbFile::Invoice, "SELECT SUM(totalamount) FROM GoodsInvoice WHERE sno BETWEEN 1 AND 7");
        QCOMPARE(t.total, ToPaise(saved.toDouble()));
        const QVariant rounding = testing::valueInFile(
            data.folder(), DbFile::Invoice, "SELECT SUM(Amount16) FROM GoodsInvoice WHERE sno BETWEEN 1 AND 7");
        QCOMPARE(t.taxable + t.tax.cgst + t.tax.sgst + t.tax.igst + ToPaise(rounding.toDouble()), t.total);

        QJsonArray hsnData = august.value("hsn").toObject().value("hsn_b2b").toArray();
        for (const QJsonValue& row : august.value("hsn").toObject().value("hsn_b2c").toArray())
            hsnData.append(row);
        QCOMPARE(sumOf(hsnData, "txval"), t.taxable);
        QCOMPARE(sumOf(hsnData, "iamt"), t.tax.igst);
        QCOMPARE(sumOf(hsnData, "camt"), t.tax.cgst);
        Paise sectionTaxable = sumOf(august.value("b2cs").toArray(), "txval");
        for (const char* section : { "b2b", "b2cl" })
            for (const QJsonValue& party : august.value(section).toArray())
                for (const QJsonValue& invoice : party.toObject().value("inv").toArray())
                    for (const QJsonValue& item : invoice.toObject().value("itms").toArray())
                        sectionTaxable
                            += ToPaise(item.toObject().value("itm_det").toObject().value("txval").toDouble());
        QCOMPARE(sectionTaxable, t.taxable);
    }

    // Commas and quotes are quoted, a text a spreadsheet would run is kept as
    // text, amounts have a dot and two decimals.
    void registerCsv()
    {
        const QStringList lines = SalesRegisterCsv(LoadSalesRegister(*data.db, MonthPeriod(2026, 8))).split("\r\n");
        QCOMPARE(lines[0],
            QString("Invoice No,Invoice Date,Buyer,Buyer GSTIN,Place of Supply,Taxable Value,CGST,"
                    "SGST,IGST,Invoice Total,Status"));
        QCOMPARE(lines[1],
            QString("A00001,01/08/2026,\"Arun Traders, Salem\",33ARUNT1234A1Z2,33-Tamil Nadu,2250.00,"
                    "196.00,196.00,0.00,2642.00,"));
        QCOMPARE(lines[8], QString("Total,,7 invoices,,,217760.01,232.00,232.00,20264.80,238489.00,"));
        QCOMPARE(CsvLine({ "=HYPERLINK(\"x\")", "-5 Traders" }, { "-0.50" }),
            QString("\"'=HYPERLINK(\"\"x\"\")\",'-5 Traders,-0.50\r\n"));
        QVERIFY(CsvBytes("é").startsWith("\xEF\xBB\xBF"));
    }

    // The register as a workbook: dates and amounts are numbers a spreadsheet
    // sorts and adds up, to the paisa, shown as dates and in lakhs; texts as typed.
    void registerWorkbook()
    {
        const QString path = data.folder() + "/august.xlsx";
        QCOMPARE(SalesRegisterSheet(LoadSalesRegister(*data.db, MonthPeriod(2026, 8))).save(path), QString());
        const testing::XlsxBook book(path);
        QVERIFY(book.read());
        QVERIFY(book.cell("A2").isText());
        QCOMPARE(book.cell("C2").value, QString("Arun Traders, Salem"));
        for (const auto& [ref, day] : { std::pair { "B2", QDate(2026, 8, 1) }, { "B3", QDate(2026, 8, 5) } }) {
            QVERIFY2(book.cell(ref).isNumber(), ref);
            QCOMPARE(book.cell(ref).date(), day);
            QCOMPARE(book.cell(ref).numberFormat, QString("dd/mm/yyyy"));
        }
        for (const auto& [ref, paise] : { std::pair { "F2", 225000 }, { "G2", 19600 }, { "J2", 264200 },
                 { "F9", 21776001 }, { "I9", 2026480 }, { "J9", 23848900 } }) {
            QVERIFY2(book.cell(ref).isNumber(), ref);
            QCOMPARE(book.cell(ref).paise(), qint64(paise));
            QCOMPARE(book.cell(ref).numberFormat, QString(XlsxSheet::AmountFormat));
        }
        QCOMPARE(book.cell("C9").value, QString("7 invoices"));
        // every amount of every row a number, none a text that looks like one
        for (int r = 2; r <= 9; ++r)
            for (const char column : QByteArray("FGHIJ")) {
                const QString ref = QString("%1%2").arg(QChar(column)).arg(r);
                QVERIFY2(book.cell(ref).isNumber(), qPrintable(ref + " " + book.cell(ref).value));
            }
    }

    // Each kind of cell as a spreadsheet reads it back.
    void workbookCells_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<bool>("number");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("format");
        const QString amount = XlsxSheet::AmountFormat;
        const auto row = [](const char* name, CellKind kind, const QVariant& written) -> QTestData& {
            return QTest::newRow(name) << int(kind) << written;
        };
        row("a formula stays text", CellKind::Text, "=1+1") << false << "=1+1" << "";
        row("a sum stays text", CellKind::Text, "@SUM(A1:A9)") << false << "@SUM(A1:A9)" << "";
        row("a phone number stays text", CellKind::Text, "+91 98400 12345") << false << "+91 98400 12345" << "";
        row("digits stay text", CellKind::Text, "0072") << false << "0072" << "";
        row("largest amount", CellKind::Amount, qint64(99999999999999)) << true << "999999999999.99" << amount;
        row("a lakh and a paisa", CellKind::Amount, qint64(10000001)) << true << "100000.01" << amount;
        row("a credit", CellKind::Amount, qint64(-50)) << true << "-0.5" << amount;
        row("text among amounts", CellKind::Amount, "Total") << false << "Total" << "";
        row("a date", CellKind::Date, QDate(2026, 3, 31)) << true << "46112" << "dd/mm/yyyy";
        row("a count", CellKind::Count, 7) << true << "7" << "";
        row("a quantity", CellKind::Number, 1.25) << true << "1.25" << "";
    }
    void workbookCells()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, written);
        XlsxSheet sheet("Cells", { { "Header", CellKind(kind) } });
        sheet.addRow({ written });
        const QString path = data.folder() + "/cells.xlsx";
        QCOMPARE(sheet.save(path), QString());
        const testing::XlsxBook book(path);
        const testing::XlsxCell cell = book.cell("A2");
        QCOMPARE(book.sheetFormula(), QString());
        QTEST(cell.isNumber(), "number");
        QCOMPARE(cell.isText(), !cell.isNumber());
        QTEST(cell.value, "read");
        QTEST(cell.numberFormat, "format");
    }

    // A workbook that cannot be written is told, naming the file, and none is left.
    void workbookNotWritten()
    {
        const QString notAFolder = data.folder() + "/a file";
        QFile blocker(notAFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = notAFolder + "/register.xlsx";
        XlsxSheet sheet("Register", { { "Amount", CellKind::Amount } });
        sheet.addRow({ qint64(100) });
        const QString error = sheet.save(path);
        QVERIFY2(error.startsWith("Could not write " + path), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }

    // The period query reads the invoice date index, not every invoice.
    void monthQueryUsesTheDateIndex()
    {
        SKIP_ON_SERVER("SQLite's query plan");
        QSqlQuery plan(data.db->connection());
        QVERIFY(plan.exec("EXPLAIN QUERY PLAN " + InvoicesOfPeriodSql().replace("?", "0")));
        QStringList steps;
        while (plan.next())
            steps << plan.value(3).toString();
        QVERIFY2(steps.join(" | ").contains("idx_BuyerInvoice_datekey"), qPrintable(steps.join(" | ")));
    }

    // No valid company GSTIN, a month without invoices, or an invoice whose
    // place of supply cannot be told: a message and no file.
    void refusals_data()
    {
        QTest::addColumn<QString>("companyGstin");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("errorStart");
        QTest::newRow("no GSTIN") << "N.A." << 8 << "The company has no GSTIN";
        QTest::newRow("mistyped GSTIN") << "33AAACH7409R1Z9" << 8 << "The company's GSTIN 33AAACH7409R1Z9 is not valid";
        QTest::newRow("empty month") << CompanyGstin << 6 << "There is no invoice dated in June 2026.";
        QTest::newRow("place unknown") << CompanyGstin << 10 << "Invoice A00010: the place of supply cannot be told";
    }
    void refusals()
    {
        QFETCH(QString, companyGstin);
        QFETCH(int, month);
        QFETCH(QString, errorStart);
        testing::TempData other;
        testing::addCompany(*other.db, companyGstin);
        for (const InvoiceShape& shape : augustInvoices())
            testing::writeInvoice(*other.db, shape);
        testing::writeInvoice(*other.db,
            { 10, "02/10/2026", "Walk-in", "N.A.", "Bangalore", "Walk-in", "Bangalore", TaxMode::Igst,
                { { "Paint Tin", "3208", 1, "Ltr", "200", "200.00" } }, Base { nullptr, "N.A.", "0", "18", "36.00" },
                Base {}, Base {}, "0", 36 });
        const QString path = other.folder() + "/return.json";
        const Gstr1File file = SaveGstr1(*other.db, 2026, month, path);
        QVERIFY2(file.error.startsWith(errorStart), qPrintable(file.error));
        QVERIFY(file.error.endsWith("No return file was written."));
        QVERIFY(file.json.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    // A wrong buyer GSTIN or a tax that does not fit the place are written
    // but named; the file is written whole.
    void warningsAndWrittenFile()
    {
        testing::TempData other;
        testing::addCompany(*other.db, CompanyGstin);
        testing::writeInvoice(*other.db,
            { 1, "03/11/2026", "Slip Traders", "33ARUNT1234A1Z3", "Tamil Nadu", "Slip Traders", "Tamil Nadu",
                TaxMode::Igst, { { "Steel Rod", "", 1, "Kg", "55", "55.00" } },
                Base { nullptr, "N.A.", "0", "18", "9.90" }, Base {}, Base {}, "0", 9.9 });
        const QString path = other.folder() + "/return.json";
        const Gstr1File file = SaveGstr1(*other.db, 2026, 11, path);
        QVERIFY2(file.ok(), qPrintable(file.error));
        QCOMPARE(file.warnings.size(), 3);
        QVERIFY(file.warnings[0].startsWith("Invoice A00001: the buyer's GSTIN 33ARUNT1234A1Z3 looks wrong."));
        QCOMPARE(file.warnings[1], QString("Invoice A00001 charges IGST, but its place of supply is 33-Tamil Nadu."));
        QCOMPARE(file.warnings[2], QString("Invoice A00001: \"Steel Rod\" has no HSN code."));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), file.json);
    }

    // The financial year runs April to March across the calendar year (the
    // yearly summary's rows are the report window's test). The limit for a
    // large invoice to an unregistered buyer in another State fell on 1 August 2024.
    void financialYearAndDatedLimits()
    {
        QCOMPARE(LargeInvoiceLimit(QDate(2024, 7, 31)), Paise(250000 * 100));
        QCOMPARE(LargeInvoiceLimit(QDate(2024, 8, 1)), Paise(100000 * 100));
        QCOMPARE(FinancialYearOf(QDate(2026, 4, 1)), 2026);
        QCOMPARE(FinancialYearOf(QDate(2027, 3, 31)), 2026);
        QCOMPARE(FinancialYearOf(QDate(2026, 3, 31)), 2025);
        QCOMPARE(FinancialYearText(2099), QString("2099-00"));
        QCOMPARE(FinancialYear(2026).to, QDate(2027, 3, 31));
        QCOMPARE(MonthPeriod(2028, 2).to, QDate(2028, 2, 29));
    }

    void unitCodes_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("uqc");
        for (auto [unit, uqc] : { std::pair { "Nos", "NOS" }, { "kgs.", "KGS" }, { "Kg", "KGS" }, { " Mtr ", "MTR" },
                 { "Litre", "LTR" }, { "Box", "BOX" }, { "Pcs", "PCS" }, { "Sq. Ft", "SQF" }, { "Dozen", "DOZ" },
                 { "N.A.", "OTH" }, { "", "OTH" }, { "Lot", "OTH" } })
            QTest::newRow(unit) << unit << uqc;
    }
    void unitCodes()
    {
        ON_FILES_ONLY();
        QFETCH(QString, unit);
        QFETCH(QString, uqc);
        QCOMPARE(UnitQuantityCode(unit), uqc);
    }
};

QTEST_GUILESS_MAIN(RegistersTest)
#include "test_registers.moc"
