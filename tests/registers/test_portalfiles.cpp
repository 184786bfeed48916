// The files for the GST portals, from saved invoices worked out here by the
// rules: a two-line CGST+SGST invoice carried by road, an IGST invoice with
// freight sent by rail to a delivery party in a third State, and a
// separate-GST invoice with discounts whose taxes leave a paisa over and a
// rounding. Every key and figure of both files is compared; then what stops
// a file, the portal's response matched to its invoice, and the 24 hours in
// which a registered invoice may still be cancelled.
#include "registers/irnresponse.h"
#include "registers/portalfiles.h"

#include "data/database.h"
#include "gst/gststates.h"
#include "sales/companypayment.h"
#include "sales/invoicecancel.h"
#include "sales/invoiceextras.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"
#include "platform/period.h"
#include "registers/salesregister.h"
#include "support/irnresponse.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace zelva;

namespace {

QString gstin(const char* first14) { return QString(first14) + GstinCheckCharacter(first14); }

QString sellerGstin() { return gstin("29AAAAA0000A1Z"); }
QString mysoreGstin() { return gstin("29BBBBB1111B1Z"); }
QString cochinGstin() { return gstin("32CCCCC2222C1Z"); }
QString carrierGstin() { return gstin("29DDDDD3333D1Z"); }

InvoiceLine line(const char* description, const char* hsn, const char* unit, double quantity, double rate,
                 Paise discount = 0)
{
    InvoiceLine l;
    l.description = description;
    l.hsn = hsn;
    l.unit = unit;
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    l.discount = discount;
    return l;
}

Invoice invoice(qint64 serial, TaxMode mode, const InvoiceParty& buyer, std::vector<InvoiceLine> lines, double goodsRate)
{
    Invoice x;
    x.serial = serial;
    x.number = QStringLiteral("A0000%1").arg(serial);
    x.date = QDate(2026, 12, 7);
    x.time = "11:20";
    x.seller = {"Zelva Traders", "4 Market Road\nGandhi Nagar", "Bengaluru Urban", "Karnataka", "560001", sellerGstin()};
    x.buyer = buyer;
    x.delivery = buyer;
    x.delivery.gstin.clear();
    x.mode = mode;
    x.lines = std::move(lines);
    x.taxes[TaxOnGoods].rate = goodsRate;
    x.rounding = {"Short & Excess", "N.A.", QString(), 0, 0};
    return x;
}

InvoiceParty mysoreMart() { return {"Mysore Mart", "1 Palace Road\nNear Fort", "Mysuru", "Karnataka", "570001", mysoreGstin()}; }
InvoiceParty cochinBuilders() { return {"Cochin Builders", "12 Marine Drive\nE2", "Ernakulam", "Kerala", "682001", cochinGstin()}; }

// 1000 x 55.00 and 40 x 400.00 at CGST 9% + SGST 9%, by road.
Invoice roadInvoice()
{
    Invoice x = invoice(1, TaxMode::Cgst, mysoreMart(),
                        {line("Steel Rod", "7214", "Kg", 1000, 55), line("Cement Bag", "2523", "Bag", 40, 400)}, 18);
    x.transport = InvoiceTransport{"Road", 120, "KA01AB1234", {}, {}, {}, {}};
    ComputeTotals(x);
    return x;
}

// 2500 x 12.35 and 150 x 210.50 at IGST 18%, freight 2500.00 at IGST 5%, to a site in Goa, by rail.
Invoice railInvoice()
{
    Invoice x = invoice(2, TaxMode::Igst, cochinBuilders(),
                        {line("Hex Bolt", "7318", "Nos", 2500, 12.35), line("Paint Tin", "3208", "Ltr", 150, 210.5)},
                        18);
    x.delivery = {"Cochin Builders Goa Site", "Plot 7, Verna Estate\nNH 66, Verna", "South Goa", "Goa", "403722", {}};
    x.charges[0] = {"Freight", "9965", "N.A.", 0, 250000};
    x.taxes[TaxOnOthers1].rate = 5;
    x.transport = InvoiceTransport{"Rail", 1450, {}, carrierGstin(), "Konkan Cargo", "RR-4471", QDate(2026, 12, 6)};
    ComputeTotals(x);
    return x;
}

// Discounts on the second and third lines, at CGST 9% + SGST 9%; 102.015 and
// 387.045 each round up, so the largest line gives a paisa back; Short &
// Excess -0.12.
Invoice discountInvoice()
{
    Invoice x = invoice(3, TaxMode::Cgst, mysoreMart(),
                        {line("Brush", "9603", "Nos", 25, 45.34), line("Paint", "3208", "Ltr", 120, 385.15, 121800),
                         line("Putty", "3214", "Kg", 70, 62.45, 7100)},
                        18);
    x.rounding.amount = -12;
    x.transport = InvoiceTransport{"Road", 35, "KA05MN4321", carrierGstin(), "Metro Movers", "LR-88", QDate(2026, 12, 7)};
    ComputeTotals(x);
    return x;
}

QJsonObject parsed(const QString& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad expected JSON: %s", qPrintable(error.errorString()));
    return document.object();
}

QString compact(const QJsonValue& v)
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"v", v}}).toJson(QJsonDocument::Compact));
}

QJsonObject readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString sellerParty()
{
    return QString(R"("Gstin":"%1","LglNm":"Zelva Traders","Addr1":"4 Market Road","Addr2":"Gandhi Nagar","Loc":"Bengaluru Urban","Pin":560001,"Stcd":"29")")
        .arg(sellerGstin());
}

const char* Expected[3][2] = {
    // e-invoice, e-way bill
    {R"({%T,
        "DocDtls":{"Typ":"INV","No":"A00001","Dt":"07/12/2026"}, "SellerDtls":{%S},
        "BuyerDtls":{"Gstin":"%B","LglNm":"Mysore Mart","Addr1":"1 Palace Road","Addr2":"Near Fort","Loc":"Mysuru","Pin":570001,"Stcd":"29","Pos":"29"},
        "ItemList":[
         {"SlNo":"1","IsServc":"N","PrdDesc":"Steel Rod","HsnCd":"7214","Qty":1000,"Unit":"KGS","UnitPrice":55,"TotAmt":55000,
          "Discount":0,"AssAmt":55000,"GstRt":18,"IgstAmt":0,"CgstAmt":4950,"SgstAmt":4950,"TotItemVal":64900},
         {"SlNo":"2","IsServc":"N","PrdDesc":"Cement Bag","HsnCd":"2523","Qty":40,"Unit":"BAG","UnitPrice":400,"TotAmt":16000,
          "Discount":0,"AssAmt":16000,"GstRt":18,"IgstAmt":0,"CgstAmt":1440,"SgstAmt":1440,"TotItemVal":18880}],
        "ValDtls":{"AssVal":71000,"CgstVal":6390,"SgstVal":6390,"IgstVal":0,"OthChrg":0,"RndOffAmt":0,"TotInvVal":83780},
        "EwbDtls":{"TransMode":"1","Distance":120,"VehNo":"KA01AB1234","VehType":"R"}})",
     R"({"userGstin":"%G","supplyType":"O","subSupplyType":1,"docType":"INV","docNo":"A00001","docDate":"07/12/2026",%F
        "toGstin":"%B","toTrdName":"Mysore Mart","toAddr1":"1 Palace Road","toAddr2":"Near Fort","toPlace":"Mysuru",
        "toPincode":570001,"toStateCode":29,"actToStateCode":29,"transactionType":1,
        "totalValue":71000,"cgstValue":6390,"sgstValue":6390,"igstValue":0,"cessValue":0,"otherValue":0,"totInvValue":83780,
        "transMode":1,"transDistance":120,"transporterId":"","transporterName":"","transDocNo":"","transDocDate":"",
        "vehicleNo":"KA01AB1234","vehicleType":"R","itemList":[
         {"itemNo":1,"productName":"Steel Rod","productDesc":"Steel Rod","hsnCode":7214,"quantity":1000,"qtyUnit":"KGS",
          "taxableAmount":55000,"cgstRate":9,"sgstRate":9,"igstRate":0,"cessRate":0},
         {"itemNo":2,"productName":"Cement Bag","productDesc":"Cement Bag","hsnCode":2523,"quantity":40,"qtyUnit":"BAG",
          "taxableAmount":16000,"cgstRate":9,"sgstRate":9,"igstRate":0,"cessRate":0}]})"},
    {R"({%T,
        "DocDtls":{"Typ":"INV","No":"A00002","Dt":"07/12/2026"}, "SellerDtls":{%S},
        "BuyerDtls":{"Gstin":"%B","LglNm":"Cochin Builders","Addr1":"12 Marine Drive","Loc":"Ernakulam","Pin":682001,"Stcd":"32","Pos":"32"},
        "ShipDtls":{"LglNm":"Cochin Builders Goa Site","Addr1":"Plot 7, Verna Estate","Addr2":"NH 66, Verna","Loc":"South Goa","Pin":403722,"Stcd":"30"},
        "ItemList":[
         {"SlNo":"1","IsServc":"N","PrdDesc":"Hex Bolt","HsnCd":"7318","Qty":2500,"Unit":"NOS","UnitPrice":12.35,"TotAmt":30875,
          "Discount":0,"AssAmt":30875,"GstRt":18,"IgstAmt":5557.5,"CgstAmt":0,"SgstAmt":0,"TotItemVal":36432.5},
         {"SlNo":"2","IsServc":"N","PrdDesc":"Paint Tin","HsnCd":"3208","Qty":150,"Unit":"LTR","UnitPrice":210.5,"TotAmt":31575,
          "Discount":0,"AssAmt":31575,"GstRt":18,"IgstAmt":5683.5,"CgstAmt":0,"SgstAmt":0,"TotItemVal":37258.5},
         {"SlNo":"3","IsServc":"Y","PrdDesc":"Freight","HsnCd":"9965","Qty":1,"Unit":"OTH","UnitPrice":2500,"TotAmt":2500,
          "Discount":0,"AssAmt":2500,"GstRt":5,"IgstAmt":125,"CgstAmt":0,"SgstAmt":0,"TotItemVal":2625}],
        "ValDtls":{"AssVal":64950,"CgstVal":0,"SgstVal":0,"IgstVal":11366,"OthChrg":0,"RndOffAmt":0,"TotInvVal":76316},
        "EwbDtls":{"TransId":"%C","TransName":"Konkan Cargo","TransMode":"2","Distance":1450,"TransDocNo":"RR-4471",
                   "TransDocDt":"06/12/2026","VehType":"R"}})",
     R"({"userGstin":"%G","supplyType":"O","subSupplyType":1,"docType":"INV","docNo":"A00002","docDate":"07/12/2026",%F
        "toGstin":"%B","toTrdName":"Cochin Builders","toAddr1":"Plot 7, Verna Estate","toAddr2":"NH 66, Verna","toPlace":"South Goa",
        "toPincode":403722,"toStateCode":32,"actToStateCode":30,"transactionType":2,
        "totalValue":64950,"cgstValue":0,"sgstValue":0,"igstValue":11366,"cessValue":0,"otherValue":0,"totInvValue":76316,
        "transMode":2,"transDistance":1450,"transporterId":"%C","transporterName":"Konkan Cargo","transDocNo":"RR-4471",
        "transDocDate":"06/12/2026","vehicleNo":"","vehicleType":"R","itemList":[
         {"itemNo":1,"productName":"Hex Bolt","productDesc":"Hex Bolt","hsnCode":7318,"quantity":2500,"qtyUnit":"NOS",
          "taxableAmount":30875,"cgstRate":0,"sgstRate":0,"igstRate":18,"cessRate":0},
         {"itemNo":2,"productName":"Paint Tin","productDesc":"Paint Tin","hsnCode":3208,"quantity":150,"qtyUnit":"LTR",
          "taxableAmount":31575,"cgstRate":0,"sgstRate":0,"igstRate":18,"cessRate":0},
         {"itemNo":3,"productName":"Freight","productDesc":"Freight","hsnCode":9965,"quantity":1,"qtyUnit":"OTH",
          "taxableAmount":2500,"cgstRate":0,"sgstRate":0,"igstRate":5,"cessRate":0}]})"},
    {R"({%T,
        "DocDtls":{"Typ":"INV","No":"A00003","Dt":"07/12/2026"}, "SellerDtls":{%S},
        "BuyerDtls":{"Gstin":"%B","LglNm":"Mysore Mart","Addr1":"1 Palace Road","Addr2":"Near Fort","Loc":"Mysuru","Pin":570001,"Stcd":"29","Pos":"29"},
        "ItemList":[
         {"SlNo":"1","IsServc":"N","PrdDesc":"Brush","HsnCd":"9603","Qty":25,"Unit":"NOS","UnitPrice":45.34,"TotAmt":1133.5,
          "Discount":0,"AssAmt":1133.5,"GstRt":18,"IgstAmt":0,"CgstAmt":102.02,"SgstAmt":102.02,"TotItemVal":1337.54},
         {"SlNo":"2","IsServc":"N","PrdDesc":"Paint","HsnCd":"3208","Qty":120,"Unit":"LTR","UnitPrice":385.15,"TotAmt":46218,
          "Discount":1218,"AssAmt":45000,"GstRt":18,"IgstAmt":0,"CgstAmt":4049.99,"SgstAmt":4049.99,"TotItemVal":53099.98},
         {"SlNo":"3","IsServc":"N","PrdDesc":"Putty","HsnCd":"3214","Qty":70,"Unit":"KGS","UnitPrice":62.45,"TotAmt":4371.5,
          "Discount":71,"AssAmt":4300.5,"GstRt":18,"IgstAmt":0,"CgstAmt":387.05,"SgstAmt":387.05,"TotItemVal":5074.6}],
        "ValDtls":{"AssVal":50434,"CgstVal":4539.06,"SgstVal":4539.06,"IgstVal":0,"OthChrg":0,"RndOffAmt":-0.12,"TotInvVal":59512},
        "EwbDtls":{"TransId":"%C","TransName":"Metro Movers","TransMode":"1","Distance":35,"TransDocNo":"LR-88",
                   "TransDocDt":"07/12/2026","VehNo":"KA05MN4321","VehType":"R"}})",
     R"({"userGstin":"%G","supplyType":"O","subSupplyType":1,"docType":"INV","docNo":"A00003","docDate":"07/12/2026",%F
        "toGstin":"%B","toTrdName":"Mysore Mart","toAddr1":"1 Palace Road","toAddr2":"Near Fort","toPlace":"Mysuru",
        "toPincode":570001,"toStateCode":29,"actToStateCode":29,"transactionType":1,
        "totalValue":50434,"cgstValue":4539.06,"sgstValue":4539.06,"igstValue":0,"cessValue":0,"otherValue":-0.12,"totInvValue":59512,
        "transMode":1,"transDistance":35,"transporterId":"%C","transporterName":"Metro Movers","transDocNo":"LR-88",
        "transDocDate":"07/12/2026","vehicleNo":"KA05MN4321","vehicleType":"R","itemList":[
         {"itemNo":1,"productName":"Brush","productDesc":"Brush","hsnCode":9603,"quantity":25,"qtyUnit":"NOS",
          "taxableAmount":1133.5,"cgstRate":9,"sgstRate":9,"igstRate":0,"cessRate":0},
         {"itemNo":2,"productName":"Paint","productDesc":"Paint","hsnCode":3208,"quantity":120,"qtyUnit":"LTR",
          "taxableAmount":45000,"cgstRate":9,"sgstRate":9,"igstRate":0,"cessRate":0},
         {"itemNo":3,"productName":"Putty","productDesc":"Putty","hsnCode":3214,"quantity":70,"qtyUnit":"KGS",
          "taxableAmount":4300.5,"cgstRate":9,"sgstRate":9,"igstRate":0,"cessRate":0}]})"}};

// The parts every file has alike: the e-invoice's transaction and the e-way
// bill's sender.
QString filled(QString json)
{
    return json
        .replace("%T", R"("Version":"1.1","TranDtls":{"TaxSch":"GST","SupTyp":"B2B","RegRev":"N","IgstOnIntra":"N"})")
        .replace("%F", R"("fromGstin":"%G","fromTrdName":"Zelva Traders","fromAddr1":"4 Market Road","fromAddr2":
                          "Gandhi Nagar","fromPlace":"Bengaluru Urban","fromPincode":560001,"fromStateCode":29,
                          "actFromStateCode":29,)")
        .replace("%S", sellerParty())
        .replace("%G", sellerGstin())
        .replace("%C", carrierGstin());
}

QString expected(int invoice, int file, const QString& buyer)
{
    return filled(QString(Expected[invoice][file]).replace("%B", buyer));
}

void addCompany(Database& db, const QString& pin = "560001")
{
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
           "('Zelva Traders', ?, 'Bengaluru Urban', 'Karnataka', ?, ?, 1, 'C00001')",
           {"4 Market Road\nGandhi Nagar", pin, sellerGstin()}, "add the company", DbFile::Master);
}

// The company and the three worked invoices, saved.
void storeThree(Database& db)
{
    addCompany(db);
    for (const Invoice& x : {roadInvoice(), railInvoice(), discountInvoice()})
        StoreInvoice(db, x);
}

QString ackHoursAgo(int hours)
{
    return QDateTime::currentDateTime().addSecs(-hours * 3600).toString("yyyy-MM-dd HH:mm:ss");
}

} // namespace

class PortalFilesTest : public QObject {
    Q_OBJECT

private slots:
    void filesAgreeWithTheRules_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("CGST and SGST, by road") << 0;
        QTest::newRow("IGST with freight, shipped to another State, by rail") << 1;
        QTest::newRow("separate GST with discounts and rounding") << 2;
    }

    void filesAgreeWithTheRules()
    {
        QFETCH(int, which);
        testing::TempData data;
        storeThree(*data.db);
        const QString number = QString("A0000%1").arg(which + 1);
        const QString buyer = which == 1 ? cochinGstin() : mysoreGstin();

        const QString eInvoicePath = data.folder() + "/einvoice.json";
        const PortalFile eInvoice = SaveEInvoice(*data.db, number, eInvoicePath);
        QVERIFY2(eInvoice.ok(), qPrintable(eInvoice.problems.join('\n')));
        QCOMPARE(compact(readFile(eInvoicePath)), compact(parsed(expected(which, 0, buyer))));

        const QString ewayPath = data.folder() + "/ewaybill.json";
        const PortalFile eway = SaveEwayBillOfInvoice(*data.db, number, ewayPath);
        QVERIFY2(eway.ok(), qPrintable(eway.problems.join('\n')));
        const QJsonObject file = readFile(ewayPath);
        QCOMPARE(file.value("version").toString(), QString("1.0.0621"));
        QCOMPARE(file.value("billLists").toArray().size(), 1);
        QCOMPARE(compact(file.value("billLists").toArray().first()), compact(parsed(expected(which, 1, buyer))));
    }

    // A day's file takes the invoices above the limit set for the company,
    // and leaves a cancelled one out.
    void billsOfTheDayAboveTheLimit()
    {
        testing::TempData data;
        storeThree(*data.db);
        {
            Transaction t(*data.db, "set the limit");
            StoreCompanyPaymentWithin(*data.db, 1, {"zelva@okbank", 7000000});
            t.commit();
        }
        const QString path = data.folder() + "/day.json";
        PortalFile file = SaveEwayBillsOfDay(*data.db, QDate(2026, 12, 7), path);
        QVERIFY2(file.ok(), qPrintable(file.problems.join('\n')));
        QStringList numbers;
        for (const QJsonValue& bill : readFile(path).value("billLists").toArray())
            numbers << bill.toObject().value("docNo").toString();
        QCOMPARE(numbers, QStringList({"A00001", "A00002"}));

        QCOMPARE(CancelInvoice(*data.db, "A00001", {QDate(2026, 12, 7), "12:00", "wrong buyer", "asha"}), QString());
        file = SaveEwayBillsOfDay(*data.db, QDate(2026, 12, 7), path);
        QVERIFY(file.ok());
        QCOMPARE(readFile(path).value("billLists").toArray().size(), 1);
        file = SaveEwayBillsOfDay(*data.db, QDate(2026, 12, 8), path);
        QVERIFY(!file.ok());
        QVERIFY2(file.problems.join(' ').contains("70000.00"), qPrintable(file.problems.join(' ')));
    }

    // A buyer without GSTIN is "URP" on the e-way bill, its State from its name.
    void ewayBillOfUnregisteredBuyer()
    {
        Invoice road = roadInvoice();
        road.buyer.gstin = "N.A.";
        const PortalFile file = BuildEwayBills({road}, DefaultEwayBillLimit);
        QVERIFY2(file.ok(), qPrintable(file.problems.join('\n')));
        const QJsonObject bill = QJsonDocument::fromJson(file.json).object()["billLists"].toArray().first().toObject();
        QCOMPARE(bill["toGstin"].toString(), QString("URP"));
        QCOMPARE(bill["toStateCode"].toInt(), 29);
        QCOMPARE(bill["fromGstin"].toString(), sellerGstin());
    }

    // Each fault is named and no file is written; the faults of the middle
    // invoice do not hide behind the others.
    void whatStopsAnEwayBill_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("no transport details") << 0 << "A00002: it has no transport details";
        QTest::newRow("a vehicle number of no State") << 1 << "A00002: The vehicle number K01AB1234 is not";
        QTest::newRow("a buyer's PIN of five digits") << 2 << "A00002: the buyer's PIN \"68200\" is not six digits";
        QTest::newRow("a value under the limit") << 3 << "A00002: its value 76316.00 is not above the e-way bill limit 80000.00";
    }

    void whatStopsAnEwayBill()
    {
        QFETCH(int, fault);
        QFETCH(QString, told);
        Invoice middle = railInvoice();
        middle.delivery = middle.buyer; // the PIN checked is the buyer's
        middle.delivery.gstin.clear();
        Paise limit = DefaultEwayBillLimit;
        if (fault == 0)
            middle.transport.reset();
        if (fault == 1)
            middle.transport = InvoiceTransport{"Road", 300, "K01AB1234", {}, {}, {}, {}};
        if (fault == 2)
            middle.buyer.pin = middle.delivery.pin = "68200";
        if (fault == 3)
            limit = 8000000;
        const PortalFile file = BuildEwayBills({roadInvoice(), middle, discountInvoice()}, limit);
        QVERIFY(!file.ok());
        QVERIFY(file.json.isEmpty());
        QVERIFY2(file.problems.join('\n').contains(told), qPrintable(file.problems.join('\n')));
        for (const QString& problem : file.problems)
            QVERIFY2(problem.startsWith("Invoice A00002") || (fault == 3 && problem.contains("limit")),
                     qPrintable(problem));
    }

    // An invoice whose saved date names no calendar day (a file written
    // elsewhere) is refused by both writers, the date named, and no file is
    // written; the invoices around it still make theirs.
    void savedDateOfNoDayRefused_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("day 0 of month 13") << "00/13/2026";
        QTest::newRow("31 February") << "31/02/2026";
        QTest::newRow("letters") << "abc";
        QTest::newRow("a year of two digits") << "05/12/26";
        QTest::newRow("nothing") << "";
    }

    void savedDateOfNoDayRefused()
    {
        QFETCH(QString, stored);
        testing::TempData data;
        storeThree(*data.db);
        data.db->run("UPDATE Invoice.BuyerInvoice SET InvoiceDate = ? WHERE InvoiceNo = 'A00002'", {stored},
                     "spoil the date", DbFile::Invoice);
        const QString eInvoicePath = data.folder() + "/einvoice.json";
        const QString ewayPath = data.folder() + "/ewaybill.json";
        for (const PortalFile& file : {SaveEInvoice(*data.db, "A00002", eInvoicePath),
                                       SaveEwayBillOfInvoice(*data.db, "A00002", ewayPath)}) {
            QVERIFY(!file.ok());
            const QString told = file.problems.join('\n');
            QVERIFY2(told.contains("A00002: its date as saved names no calendar day"), qPrintable(told));
        }
        QVERIFY(!QFile::exists(eInvoicePath));
        QVERIFY(!QFile::exists(ewayPath));
        for (const char* number : {"A00001", "A00003"}) {
            QVERIFY(SaveEInvoice(*data.db, number, eInvoicePath).ok());
            QVERIFY(SaveEwayBillOfInvoice(*data.db, number, ewayPath).ok());
        }
    }

    // A credit note on the road invoice, one line with its quantity and one of
    // value only (one "OTH" at its value): CGST and SGST 9 % each on 200.05
    // and 100.05 are 18.0045 and 9.0045, 18.00 and 9.00 to the paisa, but on
    // the note's 300.10 they are 27.009, 27.01: the paisa over goes to the
    // larger line, so the items still add up to ValDtls.
    void creditNoteFile()
    {
        testing::TempData data;
        addCompany(*data.db);
        const Invoice road = roadInvoice();
        StoreInvoice(*data.db, road);
        SaleNote note = NoteAgainst(NoteKind::Credit, road);
        note.date = QDate(2026, 12, 15);
        note.reason = "Post-sale discount";
        note.lines = {{1, "Steel Rod", "7214", "Kg", 5, 20005, 0, 0}, {2, "Cement Bag", "2523", "Bag", 0, 10005, 0, 0}};
        const StoredNote stored = StoreSaleNote(*data.db, note);
        QVERIFY2(stored.saved(), qPrintable(stored.refusal));

        const QString path = data.folder() + "/note.json";
        const PortalFile file = SaveNoteEInvoice(*data.db, stored.number, path);
        QVERIFY2(file.ok(), qPrintable(file.problems.join('\n')));
        const QString want = filled(R"({%T,
            "DocDtls":{"Typ":"CRN","No":"CN00001","Dt":"15/12/2026"}, "SellerDtls":{%S},
            "BuyerDtls":{"Gstin":"%B","LglNm":"Mysore Mart","Addr1":"1 Palace Road","Addr2":"Near Fort","Loc":"Mysuru","Pin":570001,"Stcd":"29","Pos":"29"},
            "ItemList":[
             {"SlNo":"1","IsServc":"N","PrdDesc":"Steel Rod","HsnCd":"7214","Qty":5,"Unit":"KGS","UnitPrice":40.01,"TotAmt":200.05,
              "Discount":0,"AssAmt":200.05,"GstRt":18,"IgstAmt":0,"CgstAmt":18.01,"SgstAmt":18.01,"TotItemVal":236.07},
             {"SlNo":"2","IsServc":"N","PrdDesc":"Cement Bag","HsnCd":"2523","Qty":1,"Unit":"OTH","UnitPrice":100.05,"TotAmt":100.05,
              "Discount":0,"AssAmt":100.05,"GstRt":18,"IgstAmt":0,"CgstAmt":9,"SgstAmt":9,"TotItemVal":118.05}],
            "ValDtls":{"AssVal":300.1,"CgstVal":27.01,"SgstVal":27.01,"IgstVal":0,"OthChrg":0,"RndOffAmt":0,"TotInvVal":354.12},
            "RefDtls":{"PrecDocDtls":[{"InvNo":"A00001","InvDt":"07/12/2026"}]}})")
                                 .replace("%B", mysoreGstin());
        QCOMPARE(compact(readFile(path)), compact(parsed(want)));

        // a debit note is a DBN; a note of a buyer without GSTIN takes none
        std::optional<SaleNote> saved = LoadSaleNote(*data.db, stored.number);
        QVERIFY(saved);
        saved->kind = NoteKind::Debit;
        const QJsonObject debit = QJsonDocument::fromJson(BuildNoteEInvoice(*saved, road).json).object();
        QCOMPARE(debit["DocDtls"].toObject()["Typ"].toString(), QString("DBN"));
        Invoice unregistered = road;
        unregistered.buyer.gstin = "N.A.";
        QVERIFY(!BuildNoteEInvoice(*saved, unregistered).ok());
        QVERIFY(!SaveNoteEInvoice(*data.db, "CN00009", path).ok());

        // the portal's answer for the note is kept with the note, read back with it
        const QString ack = ackHoursAgo(1);
        QVERIFY(ImportIrnResponse(*data.db, testing::IrnResponseJson(stored.number, "14/12/2026", sellerGstin(), ack))
                    .error.contains("dated 14/12/2026, not 15/12/2026"));
        const IrnImport imported
            = ImportIrnResponse(*data.db, testing::IrnResponseJson(stored.number, "15/12/2026", sellerGstin(), ack));
        QCOMPARE(imported.error, QString());
        QCOMPARE(imported.invoiceNo, stored.number);
        QVERIFY(imported.forNote);
        const std::optional<SaleNote> registered = LoadSaleNote(*data.db, stored.number);
        QVERIFY(registered->registration);
        QCOMPARE(registered->registration->irn, QString(64, 'a'));
        QCOMPARE(registered->registration->ackNo, QString("112610012345678"));
        QCOMPARE(registered->registration->ackDate, ack);
        QVERIFY(registered->registration->signedQrCode.count('.') == 2);
        QVERIFY(!LoadInvoice(*data.db, road.number)->registration); // its invoice stays as it was
        QCOMPARE(ImportIrnResponse(*data.db, testing::IrnResponseJson(stored.number, "15/12/2026", sellerGstin(), ack))
                     .error,
                 QString());
        QVERIFY(ImportIrnResponse(*data.db, testing::IrnResponseJson(stored.number, "15/12/2026", sellerGstin(), ack,
                                                                     QString(64, 'b')))
                    .error.contains("Note CN00001 is registered already"));
    }

    // A line's share of a tax row is one number everywhere: on the invoice, in
    // the HSN summary, in the e-invoice and on a note of the whole line, also
    // where the lines' own shares fall a paisa off the row (IGST 5% on 503.90
    // and 971.59: 25.20 and 48.57 of 73.77; CGST 9% on 100.05 and 123.45:
    // 9.00 and 11.12 of 20.12, the paisa over to the larger line).
    void oneShareOfALineEverywhere_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::addColumn<qint64>("firstShare");
        QTest::addColumn<qint64>("secondShare");
        QTest::newRow("IGST 5%") << int(TaxMode::Igst) << 5.0 << 503.90 << 971.59 << qint64(2520) << qint64(4857);
        QTest::newRow("CGST 9% + SGST 9%") << int(TaxMode::Cgst) << 18.0 << 100.05 << 123.45 << qint64(900)
                                           << qint64(1112);
    }
    void oneShareOfALineEverywhere()
    {
        QFETCH(int, mode);
        QFETCH(double, rate);
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(qint64, firstShare);
        QFETCH(qint64, secondShare);
        testing::TempData data;
        addCompany(*data.db);
        const TaxMode taxMode = TaxMode(mode);
        Invoice x = invoice(1, taxMode, taxMode == TaxMode::Cgst ? mysoreMart() : cochinBuilders(),
                            {line("Wheat", "1001", "Kg", 1, first), line("Maize", "1005", "Kg", 1, second)}, rate);
        ComputeTotals(x);
        StoreInvoice(*data.db, x);
        const std::vector<Paise> shares{firstShare, secondShare};
        const auto headOf = [&](Paise igst, Paise cgst) { return taxMode == TaxMode::Igst ? igst : cgst; };

        const std::optional<Invoice> saved = LoadInvoice(*data.db, x.number);
        QVERIFY(saved);
        const std::vector<HsnLine> hsn = LoadHsnSummary(*data.db, DayPeriod(QDate(2026, 12, 7)));
        QCOMPARE(hsn.size(), std::size_t(2));
        const QJsonArray items =
            QJsonDocument::fromJson(BuildEInvoice(*saved).json).object()["ItemList"].toArray();
        QCOMPARE(items.size(), 2);
        SaleNote note = NoteAgainst(NoteKind::Credit, *saved);
        note.lines = {{1, "Wheat", "1001", "Kg", 0, saved->lines[0].taxable(), 0, 0},
                      {2, "Maize", "1005", "Kg", 0, saved->lines[1].taxable(), 0, 0}};
        ComputeNoteTotals(note);
        const char* head = taxMode == TaxMode::Igst ? "IgstAmt" : "CgstAmt";
        for (std::size_t i = 0; i < 2; ++i) {
            QCOMPARE(saved->lines[i].firstTax, shares[i]);
            QCOMPARE(headOf(hsn[i].tax.igst, hsn[i].tax.cgst), shares[i]);
            QCOMPARE(ToPaise(items[qsizetype(i)].toObject()[head].toDouble()), shares[i]);
            QCOMPARE(note.lines[i].firstTax, shares[i]);
            if (taxMode == TaxMode::Cgst) {
                QCOMPARE(hsn[i].tax.sgst, shares[i]);
                QCOMPARE(note.lines[i].sgst, shares[i]);
            }
        }
    }

    // The response is kept with its own invoice only: another invoice's
    // number, date or seller refuses it, and nothing is kept.
    void responseBelongsToItsInvoice_data()
    {
        QTest::addColumn<QString>("docNo");
        QTest::addColumn<QString>("docDate");
        QTest::addColumn<QString>("seller");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("its own") << "A00002" << "07/12/2026" << sellerGstin() << "";
        QTest::newRow("an invoice not saved here") << "A00009" << "07/12/2026" << sellerGstin() << "A00009, which is not saved";
        QTest::newRow("another day") << "A00002" << "06/12/2026" << sellerGstin() << "dated 06/12/2026, not 07/12/2026";
        QTest::newRow("another seller") << "A00002" << "07/12/2026" << gstin("29EEEEE4444E1Z") << "issued by GSTIN";
    }

    void responseBelongsToItsInvoice()
    {
        QFETCH(QString, docNo);
        QFETCH(QString, docDate);
        QFETCH(QString, seller);
        QFETCH(QString, refusal);
        testing::TempData data;
        storeThree(*data.db);
        const QString ack = ackHoursAgo(1);
        const IrnImport imported = ImportIrnResponse(*data.db, testing::IrnResponseJson(docNo, docDate, seller, ack));
        QVERIFY2(imported.error.contains(refusal), qPrintable(imported.error));
        const int kept = testing::valueInFile(data.folder(), DbFile::Invoice, "SELECT COUNT(*) FROM InvoiceIrn").toInt();
        QCOMPARE(kept, refusal.isEmpty() ? 1 : 0);
        if (!refusal.isEmpty())
            return;
        QCOMPARE(imported.invoiceNo, QString("A00002"));
        const std::optional<Invoice> back = LoadInvoice(*data.db, "A00002");
        QVERIFY(back->registration);
        QCOMPARE(back->registration->irn, QString(64, 'a'));
        QCOMPARE(back->registration->ackNo, QString("112610012345678"));
        QCOMPARE(back->registration->ackDate, ack);
        QCOMPARE(back->registration->ewbNo, QString("391001234567"));
        QVERIFY(back->registration->signedQrCode.count('.') == 2);
        QVERIFY(!LoadInvoice(*data.db, "A00001")->registration);
        // the same response again changes nothing; another IRN for it is refused
        QCOMPARE(ImportIrnResponse(*data.db, testing::IrnResponseJson(docNo, docDate, seller, ack)).error, QString());
        QVERIFY(ImportIrnResponse(*data.db, testing::IrnResponseJson(docNo, docDate, seller, ack, QString(64, 'b')))
                    .error.contains("registered already"));
    }

    // The portal cancels an IRN within 24 hours; after that the invoice stands.
    void registeredInvoiceCancelledWithinADay_data()
    {
        QTest::addColumn<int>("hoursAgo");
        QTest::addColumn<bool>("cancellable");
        QTest::newRow("an hour ago") << 1 << true;
        QTest::newRow("23 hours ago") << 23 << true;
        QTest::newRow("exactly 24 hours ago") << 24 << false;
        QTest::newRow("25 hours ago") << 25 << false;
    }

    void registeredInvoiceCancelledWithinADay()
    {
        QFETCH(int, hoursAgo);
        QFETCH(bool, cancellable);
        const InvoiceRegistration atTen{QString(64, 'a'), "1", "2026-12-07 10:00:00", "x.y.z", {}, {}, {}};
        QVERIFY(IrnCancellable(atTen, QDateTime({2026, 12, 8}, {9, 59, 59})));
        QVERIFY(!IrnCancellable(atTen, QDateTime({2026, 12, 8}, {10, 0, 0}))); // exactly 24 hours on
        testing::TempData data;
        storeThree(*data.db);
        const QString ack = ackHoursAgo(hoursAgo);
        QCOMPARE(ImportIrnResponse(*data.db, testing::IrnResponseJson("A00002", "07/12/2026", sellerGstin(), ack)).error, QString());
        const QString refusal = CancelRefusal(*data.db, "A00002");
        QCOMPARE(refusal.isEmpty(), cancellable);
        if (!cancellable)
            QVERIFY2(refusal.contains("24 hours"), qPrintable(refusal));
        QVERIFY(IrnCancelReminder(*LoadInvoice(*data.db, "A00002")).contains(QString(64, 'a')));
        QVERIFY(IrnCancelReminder(*LoadInvoice(*data.db, "A00001")).isEmpty());
        QCOMPARE(CancelInvoice(*data.db, "A00002", {QDate(2026, 12, 7), "12:00", "wrong rate", "asha"}).isEmpty(), cancellable);
    }

    // What a UPI ID and a vehicle number may look like.
    void typedIdentifiers_data()
    {
        QTest::addColumn<bool>("vehicle");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("UPI name and bank") << false << "zelva.traders@okbank" << true;
        QTest::newRow("UPI mobile number") << false << "9876543210@ybl" << true;
        QTest::newRow("UPI hyphen and underscore") << false << "zelva-traders_2@oksbi" << true;
        QTest::newRow("UPI no bank") << false << "zelva@" << false;
        QTest::newRow("UPI no name") << false << "@okbank" << false;
        QTest::newRow("UPI a blank inside") << false << "zelva traders@okbank" << false;
        QTest::newRow("UPI two at signs") << false << "zelva@@okbank" << false;
        QTest::newRow("UPI a dot in the bank") << false << "zelva@ok.bank" << false;
        QTest::newRow("vehicle State series") << true << "KA01AB1234" << true;
        QTest::newRow("vehicle typed loosely") << true << "ka-01 ab 1234" << true;
        QTest::newRow("vehicle Delhi's one-digit district") << true << "DL1CAB1234" << true;
        QTest::newRow("vehicle one series letter") << true << "MH12A0001" << true;
        QTest::newRow("vehicle no series") << true << "TN091234" << true;
        QTest::newRow("vehicle Bharat series") << true << "22BH1234AA" << true;
        QTest::newRow("vehicle one State letter") << true << "K01AB1234" << false;
        QTest::newRow("vehicle three digits at the end") << true << "KA01AB123" << false;
        QTest::newRow("vehicle four series letters") << true << "KA01ABCD1234" << false;
        QTest::newRow("vehicle blank") << true << "" << false;
    }

    void typedIdentifiers()
    {
        QFETCH(bool, vehicle);
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QCOMPARE(vehicle ? IsVehicleNumber(typed) : IsUpiId(typed), valid);
    }
};

QTEST_GUILESS_MAIN(PortalFilesTest)
#include "test_portalfiles.moc"
