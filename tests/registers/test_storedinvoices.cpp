// One reader of a stored invoice: a month's invoices read by the registers
// and the return give the figures each invoice shows when read alone, also
// for files as older versions left them: a goods row left unused between
// two lines at their own rates, the kept line taxes of two invoices stored
// interleaved, a list left at "CGST/ IGST" above an IGST charge, a tax total
// kept unrounded, a date written with dashes.
#include "registers/gstr1.h"
#include "platform/datetext.h"
#include "registers/salesregister.h"
#include "registers/savedinvoice.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/serials.h"
#include "gst/gststates.h"
#include "reports/invoiceshape.h"
#include "sales/invoiceread.h"
#include "sales/invoicestore.h"
#include "support/testdata.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QtTest>
#include <map>

using namespace zelva;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8"); // Tamil Nadu

QString gstin(const char* first14)
{
    const QString start = QLatin1String(first14);
    return start + GstinCheckCharacter(start);
}

InvoiceLine line(const char* description, const char* hsn, double quantity, double rate,
                 std::optional<double> gstRate)
{
    InvoiceLine l;
    l.description = description;
    l.hsn = hsn;
    l.unit = "Nos";
    l.quantity = quantity;
    l.rate = rate;
    l.amount = LineAmount(quantity, rate);
    l.gstRate = gstRate;
    return l;
}

Invoice invoice(qint64 serial, const char* date, const InvoiceParty& buyer, TaxMode mode,
                std::vector<InvoiceLine> lines, Paise rounding)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.time = "11:40";
    x.seller = {"Zelva Traders", {}, {}, {}, {}, CompanyGstin};
    x.buyer = buyer;
    x.mode = mode;
    x.lines = std::move(lines);
    x.rounding = {"Short & Excess", "N.A.", QString(), 0, rounding};
    ComputeTotals(x);
    return x;
}

// IGST to Kerala at 5% and 18%: 355.00 at 5% = 17.75; 715.00 + 357.00 at
// 18% = 192.96 (128.70 and 64.26); 1638.00 with 0.29 rounding.
Invoice toKerala()
{
    return invoice(1, "04/08/2026", {"Kochi Stores", "3 Beach Road", "Kochi", "Kerala", "682001", gstin("32AAACK1234F1Z")},
                   TaxMode::Igst,
                   {line("Tea Biscuit", "1905", 10, 35.5, 5), line("Steel Rod", "7214", 13, 55, 18),
                    line("Cream Pastry", "1905", 3, 119, 18)},
                   29);
}

// CGST at one rate: 1600.00 of cement and 100.00 freight at 18%: 153.00 each.
Invoice cementWithFreight()
{
    Invoice x = invoice(2, "05/08/2026", {"Arun Traders", "12 Bazaar Street", "Salem", "Tamil Nadu", "636002",
                                          gstin("33ARUNT1234A1Z")},
                        TaxMode::Cgst, {line("Cement Bag", "2523", 4, 400, std::nullopt)}, 0);
    x.taxes[TaxOnGoods].rate = 18;
    x.charges[0] = {"Freight", "9965", "Trip", 100, 10000};
    x.taxes[TaxOnOthers1].rate = 18;
    ComputeTotals(x);
    return x;
}

// CGST at 40% and 5%: 960.00 = 192.00 each; 426.00 = 10.65 each; 1791.00.
Invoice colaAndBiscuits()
{
    return invoice(3, "06/08/2026", {"Mani Stores", "8 Fort Road", "Vellore", "Tamil Nadu", "632001",
                                     gstin("33MANIS5678B1Z")},
                   TaxMode::Cgst, {line("Cola Can", "2202", 24, 40, 40), line("Tea Biscuit", "1905", 12, 35.5, 5)}, -30);
}

// IGST to a buyer without GSTIN: goods charged nothing, their list left at
// "CGST/ IGST"; freight of 200.00 at 18% = 36.00 IGST.
Invoice hamperWithFreight()
{
    Invoice x = invoice(4, "07/08/2026", {"Latha", "2 Lake View", "Kochi", "Kerala", "682002", "N.A."}, TaxMode::Igst,
                        {line("Gift Hamper", "9803", 1, 500, std::nullopt)}, 0);
    x.taxes[TaxOnGoods].first = {"CGST/ IGST", "N.A.", QString(), 0, 0};
    x.charges[0] = {"Freight", "9965", "Trip", 200, 20000};
    x.taxes[TaxOnOthers1].rate = 18;
    ComputeTotals(x);
    return x;
}

QString table(const char* name) { return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), name); }

void run(Database& db, const QString& sql, const QVariantList& values = {})
{
    db.run(sql, values, "leave the file as an older version did", DbFile::Invoice);
}

// Moves a goods line of a stored invoice to another grid row, leaving its
// own row as an unused one is kept, its kept tax with it.
void moveGoodsRow(Database& db, qint64 serial, int from, int to)
{
    const auto field = [](const char* stem, int row) { return QStringLiteral("\"%1%2\"").arg(stem).arg(row); };
    const auto rate = [&](int row) { return field(row <= 3 ? "Rate" : "rate", row); };
    QStringList set;
    for (const char* stem : {"DescriptionOfGoods", "Hsn", "Per", "Amount", "Quantity"})
        set << field(stem, to) + " = " + field(stem, from);
    set << rate(to) + " = " + rate(from);
    run(db, QStringLiteral("UPDATE %1 SET %2 WHERE \"sno\" = ?").arg(table("GoodsInvoice"), set.join(", ")), {serial});
    QStringList clear;
    for (const char* stem : {"DescriptionOfGoods", "Hsn", "Per"})
        clear << field(stem, from) + " = 'N.A.'";
    for (const char* stem : {"Amount", "Quantity"})
        clear << field(stem, from) + " = 0";
    clear << rate(from) + " = 0";
    run(db, QStringLiteral("UPDATE %1 SET %2 WHERE \"sno\" = ?").arg(table("GoodsInvoice"), clear.join(", ")), {serial});
    run(db, QStringLiteral("UPDATE %1 SET \"GoodsRow\" = ? WHERE \"sno\" = ? AND \"GoodsRow\" = ?").arg(table("InvoiceLineTax")),
        {to, serial, from});
}

// The kept line taxes stored again last row first, one invoice's between the other's.
void interleaveLineTaxes(Database& db)
{
    const QString columns = "\"sno\", \"InvoiceNo\", \"GoodsRow\", \"GstRate\", \"IgstPaise\", \"CgstPaise\", "
                            "\"SgstPaise\", \"CessPaise\"";
    QList<QVariantList> rows;
    QSqlQuery kept = db.run(QStringLiteral("SELECT %1 FROM %2 ORDER BY \"GoodsRow\" DESC, \"sno\"")
                                .arg(columns, table("InvoiceLineTax")),
                            {}, "read the line taxes", DbFile::Invoice);
    while (kept.next()) {
        QVariantList row;
        for (int i = 0; i < 8; ++i)
            row << kept.value(i);
        rows << row;
    }
    run(db, QStringLiteral("DELETE FROM %1").arg(table("InvoiceLineTax")));
    for (const QVariantList& row : rows)
        run(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?)").arg(table("InvoiceLineTax"), columns),
            row);
}

struct Figures {
    Paise taxable = 0;
    TaxHeads tax;
    bool operator==(const Figures&) const = default;
};
using ByRate = std::map<double, Figures>;

// What an invoice read alone supplied at each rate: its goods by rate, its charges.
ByRate suppliedAlone(const Invoice& x)
{
    ByRate byRate;
    for (const RateTax& goods : GoodsTaxByRate(x)) {
        byRate[goods.gstRate].taxable += goods.taxable;
        byRate[goods.gstRate].tax += goods.tax;
    }
    if (x.mode == TaxMode::None || GoodsTaxByRate(x).empty())
        byRate[0].taxable += x.baseAmount(TaxOnGoods);
    for (TaxBase kind : {TaxOnOthers1, TaxOnOthers2}) {
        if (x.baseAmount(kind) == 0 && x.taxRows(kind).total() == 0)
            continue;
        const double rate = x.taxes[kind].rate.value_or(0);
        byRate[rate].taxable += x.baseAmount(kind);
        byRate[rate].tax += x.taxRows(kind);
    }
    std::erase_if(byRate, [](const auto& entry) { return entry.second == Figures{}; });
    return byRate;
}

ByRate suppliedInRegister(const SavedInvoice& s)
{
    ByRate byRate;
    for (const TaxedBase& base : s.supplies()) {
        byRate[base.rate].taxable += base.taxable;
        byRate[base.rate].tax += base.tax;
    }
    return byRate;
}

QString text(const ByRate& byRate)
{
    QStringList parts;
    for (const auto& [rate, f] : byRate)
        parts << QStringLiteral("%1%: %2 I%3 C%4 S%5")
                     .arg(rate)
                     .arg(AmountText(f.taxable), AmountText(f.tax.igst), AmountText(f.tax.cgst), AmountText(f.tax.sgst));
    return parts.join("; ");
}

QJsonObject invoiceOfReturn(const QJsonObject& gstr1, const QString& number)
{
    for (const QJsonValue& party : gstr1.value("b2b").toArray())
        for (const QJsonValue& inv : party.toObject().value("inv").toArray())
            if (inv.toObject().value("inum").toString() == number)
                return inv.toObject();
    return {};
}

} // namespace

class StoredInvoicesTest : public QObject {
    Q_OBJECT
    testing::TempData data;
    const Period august = MonthPeriod(2026, 8);

private slots:
    void initTestCase()
    {
        testing::addCompany(*data.db, CompanyGstin);
        for (const Invoice& x : {toKerala(), cementWithFreight(), colaAndBiscuits(), hamperWithFreight()})
            StoreInvoice(*data.db, x, Renumber::Refused);
        Database& db = *data.db;
        moveGoodsRow(db, 1, 3, 5); // Cream Pastry to row 5,
        moveGoodsRow(db, 1, 2, 3); // Steel Rod to row 3: rows 2 and 4 unused
        interleaveLineTaxes(db);
        run(db, QStringLiteral("UPDATE %1 SET \"TCgst\" = 153.004, \"TSgst\" = 152.996 WHERE \"sno\" = 2")
                    .arg(table("GoodsInvoice")));
        run(db, QStringLiteral("UPDATE %1 SET \"InvoiceDate\" = '05-08-2026' WHERE \"sno\" = 2").arg(table("BuyerInvoice")));
    }

    // Each line keeps the rate and tax kept for its own row, whatever rows
    // the invoice left unused and however the kept taxes lie in the file.
    void linesTakeTheTaxesOfTheirRows()
    {
        const std::optional<Invoice> alone = LoadInvoice(*data.db, "A00001");
        QVERIFY(alone);
        QStringList lines;
        for (const InvoiceLine& l : alone->lines)
            lines << QStringLiteral("%1 %2 %3").arg(l.description).arg(l.gstRate.value_or(-1)).arg(AmountText(l.firstTax));
        QCOMPARE(lines.join("; "), QString("Tea Biscuit 5 17.75; Steel Rod 18 128.70; Cream Pastry 18 64.26"));
        const Invoice stored = toKerala();
        QVERIFY(GoodsTaxByRate(*alone) == GoodsTaxByRate(stored));
        QVERIFY(alone->totals == stored.totals);
    }

    // The mode is IGST though the unused goods list above reads "CGST/ IGST";
    // an unrounded tax total reads to the paisa; a dashed date reads as its day
    // and the registers show it as kept.
    void olderShapesReadAsTheyWereMeant()
    {
        const std::optional<Invoice> hamper = LoadInvoice(*data.db, "A00004");
        QVERIFY(hamper);
        QCOMPARE(hamper->mode, TaxMode::Igst);
        QVERIFY(hamper->taxes[TaxOnOthers1].rate == std::optional<double>(18));
        QVERIFY(!hamper->taxes[TaxOnGoods].rated());
        QCOMPARE(hamper->taxRows(TaxOnOthers1), (TaxHeads{3600, 0, 0, 0}));

        const std::optional<Invoice> cement = LoadInvoice(*data.db, "A00002");
        QVERIFY(cement);
        QCOMPARE(cement->totals.cgst, Paise(15300));
        QCOMPARE(cement->totals.sgst, Paise(15300));
        QCOMPARE(cement->date, QDate(2026, 8, 5));
        // the registers show it as the file keeps it
        const std::vector<SavedInvoice> rows = LoadInvoices(*data.db, august);
        const auto row = std::find_if(rows.begin(), rows.end(), [](const SavedInvoice& r) { return r.number == "A00002"; });
        QVERIFY(row != rows.end());
        QCOMPARE(row->dateText, QString("05-08-2026"));
        QCOMPARE(row->date, QDate(2026, 8, 5));
    }

    // The month read at once is each invoice read alone, the seller's
    // address and what only a reprint needs aside; the register's row
    // supplies what the invoice shows at each rate.
    void monthReadsAsEachInvoiceAlone()
    {
        const std::vector<Invoice> month = LoadInvoicesOfPeriod(*data.db, august);
        const std::vector<SavedInvoice> rows = LoadInvoices(*data.db, august);
        QCOMPARE(month.size(), std::size_t(4));
        QCOMPARE(rows.size(), month.size());
        for (std::size_t i = 0; i < month.size(); ++i) {
            std::optional<Invoice> alone = LoadInvoice(*data.db, month[i].number);
            QVERIFY(alone);
            alone->seller = month[i].seller;
            QVERIFY2(*alone == month[i], qPrintable(month[i].number));
            QCOMPARE(text(suppliedInRegister(rows[i])), text(suppliedAlone(*alone)));
            QCOMPARE(rows[i].mode, alone->mode);
            QCOMPARE(rows[i].total, alone->totals.grand);
            QVERIFY2(rows[i].date.isValid() && august.contains(rows[i].date), qPrintable(rows[i].dateText));
        }
    }

    // The HSN summary and the return's items at the figures above.
    void returnAndHsnSummary()
    {
        QStringList hsn;
        for (const HsnLine& l : LoadHsnSummary(*data.db, august))
            hsn << QStringLiteral("%1 %2% %3 I%4 C%5 S%6")
                       .arg(l.hsn)
                       .arg(l.rate)
                       .arg(AmountText(l.taxable), AmountText(l.tax.igst), AmountText(l.tax.cgst), AmountText(l.tax.sgst));
        QCOMPARE(hsn, (QStringList{"1905 5% 781.00 I17.75 C10.65 S10.65", "1905 18% 357.00 I64.26 C0.00 S0.00",
                                   "2202 40% 960.00 I0.00 C192.00 S192.00", "2523 18% 1600.00 I0.00 C144.00 S144.00",
                                   "7214 18% 715.00 I128.70 C0.00 S0.00", "9803 0% 500.00 I0.00 C0.00 S0.00",
                                   "9965 18% 300.00 I36.00 C9.00 S9.00"}));

        const Gstr1File file = LoadGstr1(*data.db, 2026, 8);
        QVERIFY2(file.ok(), qPrintable(file.error));
        QVERIFY2(file.warnings.isEmpty(), qPrintable(file.warnings.join('\n')));
        const QJsonObject gstr1 = QJsonDocument::fromJson(file.json).object();
        const QJsonObject kerala = invoiceOfReturn(gstr1, "A00001");
        QCOMPARE(kerala.value("val").toDouble(), 1638.0);
        QCOMPARE(kerala.value("itms").toArray().size(), 2);
        const QJsonObject at18 = kerala.value("itms").toArray().at(1).toObject().value("itm_det").toObject();
        QCOMPARE(at18.value("txval").toDouble(), 1072.0);
        QCOMPARE(at18.value("iamt").toDouble(), 192.96);
        QCOMPARE(invoiceOfReturn(gstr1, "A00002").value("idt").toString(), QString("05-08-2026"));
        QStringList unregistered;
        for (const QJsonValue& entry : gstr1.value("b2cs").toArray()) {
            const QJsonObject e = entry.toObject();
            unregistered << QStringLiteral("%1 %2 %3 %4").arg(e.value("sply_ty").toString()).arg(e.value("rt").toDouble())
                                .arg(e.value("txval").toDouble()).arg(e.value("iamt").toDouble());
        }
        QVERIFY2(unregistered.contains("INTER 18 200 36"), qPrintable(unregistered.join("; ")));
    }
};

QTEST_GUILESS_MAIN(StoredInvoicesTest)
#include "test_storedinvoices.moc"
