// One bill at several GST rates, saved as the invoice forms save it, read by
// everything that reports it: the return's items and HSN summary by rate
// (one HSN at two rates stays two rows), the 3B worksheet, the sales
// register and the e-invoice's items each at its own rate.
#include "registers/gstr1.h"
#include "registers/gstr3b.h"
#include "registers/portalfiles.h"
#include "registers/salesregister.h"

#include "data/database.h"
#include "data/serials.h"
#include "reports/invoiceshape.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"
#include "support/testdata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace zelva;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8"); // Tamil Nadu

InvoiceLine line(const char* description, const char* hsn, const char* unit, double quantity, double rate,
                 double gstRate)
{
    InvoiceLine l;
    l.description = description;
    l.hsn = hsn;
    l.unit = unit;
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    l.gstRate = gstRate;
    return l;
}

Invoice invoice(qint64 serial, const InvoiceParty& buyer, TaxMode mode, std::vector<InvoiceLine> lines,
                Paise rounding)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = QDate(2026, 12, 7);
    x.time = "11:40";
    x.seller = {"Zelva Traders", "4 Market Road", "Salem", "Tamil Nadu", "636001", CompanyGstin};
    x.buyer = buyer;
    // delivered elsewhere: the place of supply stays the buyer's State
    x.delivery = {"Depot of " + buyer.name, "9 Depot Lane", "Hosur", "Karnataka", "635109", QString()};
    x.mode = mode;
    x.lines = std::move(lines);
    x.rounding = {"Short & Excess", "N.A.", QString(), 0, rounding};
    ComputeTotals(x);
    return x;
}

// Biscuits at 5% and pastry at 18% share HSN 1905; the steel rod at 18% is
// the middle line; freight at 18% joins the 18% goods in the return's items.
Invoice withinTheState()
{
    Invoice x = invoice(1, {"Arun Traders", "12 Bazaar Street", "Salem", "Tamil Nadu", "636002", "33ARUNT1234A1Z2"},
                        TaxMode::Cgst,
                        {line("Tea Biscuit", "1905", "Nos", 12, 35.5, 5), line("Steel Rod", "7214", "Kg", 13, 55, 18),
                         line("Cream Pastry", "1905", "Nos", 3, 119, 18)},
                        -26);
    x.charges[0] = {"Freight", "9965", "Trip", 100, 10000};
    x.taxes[TaxOnOthers1].rate = 18;
    ComputeTotals(x);
    return x;
}

// To a buyer without GSTIN in Kerala: a cola at 40% before biscuits at 5%.
Invoice toAnotherState()
{
    return invoice(2, {"Cochin Stores", "3 Beach Road", "Kochi", "Kerala", "682001", "N.A."}, TaxMode::Igst,
                   {line("Cola Can", "2202", "Nos", 24, 40, 40), line("Tea Biscuit", "1905", "Nos", 10, 35.5, 5)}, 25);
}

QJsonValue parsed(const char* json)
{
    return QJsonDocument::fromJson(QByteArray("{\"v\":") + json + "}").object().value("v");
}

void compareJson(const QJsonValue& actual, const QJsonValue& expected)
{
    const auto text = [](const QJsonValue& v) {
        return QJsonDocument(QJsonObject{{"v", v}}).toJson(QJsonDocument::Compact);
    };
    QCOMPARE(text(actual), text(expected));
}

} // namespace

class MixedRatesTest : public QObject {
    Q_OBJECT
    testing::TempData data;
    QJsonObject gstr1;

private slots:
    void initTestCase()
    {
        testing::addCompany(*data.db, CompanyGstin);
        data.db->run("UPDATE Master.Company SET address = '4 Market Road', Dist = 'Salem', Pin = '636001'", {},
                     "give the company its address", DbFile::Master);
        StoreInvoice(*data.db, withinTheState());
        StoreInvoice(*data.db, toAnotherState());
        const Gstr1File file = LoadGstr1(*data.db, 2026, 12);
        QVERIFY2(file.ok(), qPrintable(file.error));
        gstr1 = QJsonDocument::fromJson(file.json).object();
    }

    // 5%: 426.00 at 2.5% each = 10.65; 18%: 715.00 + 357.00 + 100.00 at 9%
    // each = 105.48; 40%: 960.00 = 384.00; 5%: 355.00 = 17.75.
    void returnItemsByRate()
    {
        compareJson(gstr1.value("b2b"), parsed(R"([
          {"ctin": "33ARUNT1234A1Z2", "inv": [{"inum": "A00001", "idt": "07-12-2026", "val": 1830, "pos": "33",
            "rchrg": "N", "inv_typ": "R",
            "itms": [{"num": 1, "itm_det": {"rt": 5, "txval": 426, "camt": 10.65, "samt": 10.65, "csamt": 0}},
                     {"num": 2, "itm_det": {"rt": 18, "txval": 1172, "camt": 105.48, "samt": 105.48, "csamt": 0}}]}]}
        ])"));
        compareJson(gstr1.value("b2cs"), parsed(R"([
          {"sply_ty": "INTER", "pos": "32", "typ": "OE", "rt": 5, "txval": 355, "iamt": 17.75, "csamt": 0},
          {"sply_ty": "INTER", "pos": "32", "typ": "OE", "rt": 40, "txval": 960, "iamt": 384, "csamt": 0}
        ])"));
    }

    // 1905 at 5% and at 18% are two rows; the 18% lines' tax is split as the
    // invoice split it (715.00 and 357.00 of 96.48: 64.35 and 32.13).
    void hsnSummaryByCodeAndRate()
    {
        compareJson(gstr1.value("hsn"), parsed(R"({"hsn_b2b": [
          {"num": 1, "hsn_sc": "1905", "desc": "Tea Biscuit", "uqc": "NOS", "qty": 12, "rt": 5, "txval": 426,
           "iamt": 0, "camt": 10.65, "samt": 10.65, "csamt": 0},
          {"num": 2, "hsn_sc": "1905", "desc": "Cream Pastry", "uqc": "NOS", "qty": 3, "rt": 18, "txval": 357,
           "iamt": 0, "camt": 32.13, "samt": 32.13, "csamt": 0},
          {"num": 3, "hsn_sc": "7214", "desc": "Steel Rod", "uqc": "KGS", "qty": 13, "rt": 18, "txval": 715,
           "iamt": 0, "camt": 64.35, "samt": 64.35, "csamt": 0},
          {"num": 4, "hsn_sc": "9965", "desc": "Freight", "uqc": "NA", "qty": 0, "rt": 18, "txval": 100,
           "iamt": 0, "camt": 9, "samt": 9, "csamt": 0}
        ], "hsn_b2c": [
          {"num": 1, "hsn_sc": "1905", "desc": "Tea Biscuit", "uqc": "NOS", "qty": 10, "rt": 5, "txval": 355,
           "iamt": 17.75, "camt": 0, "samt": 0, "csamt": 0},
          {"num": 2, "hsn_sc": "2202", "desc": "Cola Can", "uqc": "NOS", "qty": 24, "rt": 40, "txval": 960,
           "iamt": 384, "camt": 0, "samt": 0, "csamt": 0}
        ]})"));
    }

    void worksheetAndRegister()
    {
        const Gstr3b worksheet = LoadGstr3b(*data.db, 2026, 12);
        const Gstr3bFigure* outward = worksheet.row(QStringLiteral("3.1(a)"));
        QVERIFY(outward);
        QCOMPARE(outward->taxable, Paise(291300));
        QCOMPARE(outward->tax, (TaxHeads{40175, 11613, 11613, 0}));
        const Gstr3bFigure* kerala = worksheet.row(QStringLiteral("3.2"));
        QVERIFY(kerala);
        QCOMPARE(kerala->taxable, Paise(131500));
        QCOMPARE(kerala->tax.igst, Paise(40175));

        const SalesRegister sales = LoadSalesRegister(*data.db, MonthPeriod(2026, 12));
        QCOMPARE(sales.totals.taxable, Paise(291300));
        QCOMPARE(sales.totals.tax.cgst, Paise(11613));
        QCOMPARE(sales.totals.tax.igst, Paise(40175));
        QCOMPARE(sales.totals.total, Paise(183000 + 171700));
    }

    // Each item at its own rate; the freight at its own.
    void eInvoiceItems()
    {
        const std::optional<Invoice> saved = LoadInvoice(*data.db, "A00001");
        QVERIFY(saved);
        const PortalFile file = BuildEInvoice(*saved);
        QVERIFY2(file.ok(), qPrintable(file.problems.join('\n')));
        const QJsonDocument document = QJsonDocument::fromJson(file.json);
        const QJsonObject root = document.isArray() ? document.array().at(0).toObject() : document.object();
        QStringList items;
        for (const QJsonValue& item : root.value("ItemList").toArray())
            items << QStringLiteral("%1 %2 %3").arg(item["HsnCd"].toString()).arg(item["GstRt"].toDouble())
                         .arg(item["CgstAmt"].toDouble());
        QCOMPARE(items.join("; "), QStringLiteral("1905 5 10.65; 7214 18 64.35; 1905 18 32.13; 9965 18 9"));
    }

    // Last, since it changes the month: a sales return of 4 biscuits (5%)
    // and 1 pastry (18%), the steel rod between them untouched. 142.00 at
    // 2.5% each = 3.55; 119.00 at 9% each = 10.71; 289.52 in all.
    void creditNoteAtEachLinesRate()
    {
        const std::optional<Invoice> saved = LoadInvoice(*data.db, "A00001");
        QVERIFY(saved);
        SaleNote note = NoteAgainst(NoteKind::Credit, *saved);
        note.serial = 1;
        note.date = QDate(2026, 12, 8);
        note.time = "10:05:00";
        note.reason = SalesReturnReason();
        note.issuedBy = "ravi";
        note.lines = {{1, "Tea Biscuit", "1905", "Nos", 4, 14200, 0, 0}, {3, "Cream Pastry", "1905", "Nos", 1, 11900, 0, 0}};
        const StoredNote stored = StoreSaleNote(*data.db, note);
        QVERIFY2(stored.saved(), qPrintable(stored.refusal));

        const std::optional<SaleNote> kept = LoadSaleNote(*data.db, stored.number);
        QVERIFY(kept);
        QCOMPARE(kept->taxLabel, QStringLiteral("CGST"));
        QCOMPARE(kept->total, Paise(28952));
        QCOMPARE(kept->taxByRate(), (std::vector<RateTax>{{5, 14200, {0, 355, 355, 0}}, {18, 11900, {0, 1071, 1071, 0}}}));
        QCOMPARE(kept->lines[1].gstRate, std::optional<double>(18));

        const Gstr1File file = LoadGstr1(*data.db, 2026, 12);
        QVERIFY2(file.ok(), qPrintable(file.error));
        const QJsonObject root = QJsonDocument::fromJson(file.json).object();
        const QJsonObject nt = root.value("cdnr").toArray().at(0)["nt"].toArray().at(0).toObject();
        QCOMPARE(nt.value("val").toDouble(), 289.52);
        compareJson(nt.value("itms"), parsed(R"([
          {"num": 1, "itm_det": {"rt": 5, "txval": 142, "camt": 3.55, "samt": 3.55, "csamt": 0}},
          {"num": 2, "itm_det": {"rt": 18, "txval": 119, "camt": 10.71, "samt": 10.71, "csamt": 0}}])"));
        // the summary nets the return off each rate's row of 1905
        const QJsonArray b2b = root.value("hsn").toObject().value("hsn_b2b").toArray();
        QCOMPARE(b2b.at(0)["rt"].toDouble(), 5.0);
        QCOMPARE(b2b.at(0)["qty"].toDouble(), 8.0);
        QCOMPARE(b2b.at(0)["txval"].toDouble(), 284.0);
        QCOMPARE(b2b.at(0)["camt"].toDouble(), 7.1);
        QCOMPARE(b2b.at(1)["rt"].toDouble(), 18.0);
        QCOMPARE(b2b.at(1)["qty"].toDouble(), 2.0);
        QCOMPARE(b2b.at(1)["txval"].toDouble(), 238.0);
        QCOMPARE(b2b.at(1)["camt"].toDouble(), 21.42);

        const Gstr3bFigure* outward = LoadGstr3b(*data.db, 2026, 12).row(QStringLiteral("3.1(a)"));
        QVERIFY(outward);
        QCOMPARE(outward->taxable, Paise(291300 - 26100));
        QCOMPARE(outward->tax, (TaxHeads{40175, 11613 - 1426, 11613 - 1426, 0}));

        const PortalFile eInvoice = BuildNoteEInvoice(*kept, *saved);
        QVERIFY2(eInvoice.ok(), qPrintable(eInvoice.problems.join('\n')));
        const QJsonDocument document = QJsonDocument::fromJson(eInvoice.json);
        const QJsonObject eRoot = document.isArray() ? document.array().at(0).toObject() : document.object();
        QStringList items;
        for (const QJsonValue& item : eRoot.value("ItemList").toArray())
            items << QStringLiteral("%1 %2 %3").arg(item["HsnCd"].toString()).arg(item["GstRt"].toDouble())
                         .arg(item["SgstAmt"].toDouble());
        QCOMPARE(items.join("; "), QStringLiteral("1905 5 3.55; 1905 18 10.71"));
        QCOMPARE(eRoot.value("ValDtls")["TotInvVal"].toDouble(), 289.52);
    }
};

QTEST_GUILESS_MAIN(MixedRatesTest)
#include "test_mixedrates.moc"
