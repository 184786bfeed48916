// The GSTR-3B worksheet of a month of 5,000 invoices and 2,000 purchase bills
// (two lines each) next to the bare SQLite queries that read the same rows
// (target: within twice the bare queries), and the GSTR-2B matching of a file
// of 2,000 invoices against the month's 2,000 bills, reading the file
// included (target: under a second).
#include "gst/gststates.h"
#include "registers/gstr2b.h"
#include "registers/gstr3b.h"
#include "salesmonth.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

namespace {

constexpr int MonthBills = 2000;
const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8");

QString supplierGstin(int i)
{
    const QString first14 = QStringLiteral("%1AABCS%2K1Z").arg(i % 2 ? "29" : "33").arg(1000 + i % 300, 4, 10, QChar('0'));
    return first14 + GstinCheckCharacter(first14);
}

PurchaseBill billOf(int i)
{
    PurchaseBill b;
    b.number = QStringLiteral("B/%1").arg(i);
    b.date = QDate(2026, 8, 1 + i % 31);
    b.supplierName = QStringLiteral("Supplier %1").arg(i % 300);
    b.supplierGstin = supplierGstin(i);
    b.supplierState = i % 2 ? QStringLiteral("Karnataka") : QStringLiteral("Tamil Nadu");
    b.reverseCharge = i % 50 == 0;
    b.credit = i % 40 != 0 ? CreditKind::Eligible : CreditKind::Blocked;
    for (auto [taxable, rate] : {std::pair{Paise(123456 + i), 18.0}, std::pair{Paise(50000), 5.0}}) {
        PurchaseBillLine line;
        line.itemName = QStringLiteral("Item %1").arg(i % 97);
        line.quantity = 1;
        line.rate = ToRupees(taxable);
        line.taxable = taxable;
        line.gstRate = rate;
        b.lines.push_back(line);
    }
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), CompanyGstin);
    return b;
}

void seedBills(Database& db)
{
    Transaction t(db, "seed bills");
    qint64 serial = 1;
    for (int i = 1; i <= MonthBills; ++i) {
        PurchaseBill b = billOf(i);
        b.serial = i;
        db.run("INSERT INTO PurchaseMaster.PurchaseBill (sno, BillKey, BillNo, BillDate, BillDay, SupplierSno, "
               "SupplierName, SupplierGstin, SupplierState, TaxKind, ReverseCharge, ItcEligible) VALUES (?, ?, ?, ?, "
               "?, 0, ?, ?, ?, ?, ?, ?)",
               {b.serial, PurchaseBillKey(b), b.number, b.date.toString("dd/MM/yyyy"),
                b.date.year() * 10000 + b.date.month() * 100 + b.date.day(), b.supplierName, b.supplierGstin,
                b.supplierState, b.mode == TaxMode::Igst ? "IGST" : "CGST", b.reverseCharge ? 1 : 0,
                b.credit == CreditKind::Eligible ? 1 : 0},
               "seed", DbFile::PurchaseMaster);
        for (PurchaseBillLine& line : b.lines) {
            line.purchaseSerial = serial++;
            db.run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, PurchaseInvoiceNo, "
                   "PurchaseInvoiceDate, SupplierName, SupGstinNo, ItemName, Rate, Quantity) VALUES (?, ?, ?, ?, ?, "
                   "?, ?, ?, ?, ?)",
                   {line.purchaseSerial, RecordCode(CodeKind::Purchase, line.purchaseSerial),
                    b.date.toString("dd/MM/yyyy"), b.number, b.date.toString("dd/MM/yyyy"), b.supplierName,
                    b.supplierGstin, line.itemName, line.rate, line.quantity},
                   "seed", DbFile::PurchaseMaster);
            db.run("INSERT INTO PurchaseMaster.PurchaseBillLine (PSno, BillSno, Taxable, GstRate, Igst, Cgst, Sgst) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {line.purchaseSerial, b.serial, ToRupees(line.taxable), line.gstRate, ToRupees(line.tax.igst),
                    ToRupees(line.tax.cgst), ToRupees(line.tax.sgst)},
                   "seed", DbFile::PurchaseMaster);
        }
    }
    t.commit();
}

// The month's bill rows, every column read, nothing computed.
void bareBillQuery(const Database& db)
{
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    query.prepare("SELECT b.*, l.*, p.\"SupAddress\", p.\"itemcode\", p.\"ItemName\", p.\"ItemHsn\", p.\"Per\", "
                  "p.\"Rate\", p.\"Quantity\" FROM PurchaseMaster.PurchaseBill AS b JOIN "
                  "PurchaseMaster.PurchaseBillLine AS l ON l.BillSno = b.sno JOIN PurchaseMaster.Purchase AS p ON "
                  "p.PSno = l.PSno WHERE b.BillDay BETWEEN 20260801 AND 20260831");
    query.exec();
    const int count = query.record().count();
    int rows = 0;
    while (query.next()) {
        for (int c = 0; c < count; ++c)
            query.value(c);
        ++rows;
    }
    if (rows != 2 * MonthBills)
        std::printf("bare bill query found %d rows\n", rows);
}

// The portal's file: every bill reported but every 25th, every 10th off by
// five rupees of tax, and 80 invoices the books do not have.
QByteArray portalFile()
{
    QJsonArray b2b;
    for (int i = 1; i <= MonthBills + 80; ++i) {
        if (i <= MonthBills && i % 25 == 0)
            continue;
        const PurchaseBill b = billOf(i);
        const TaxHeads tax = b.tax();
        const Paise off = i % 10 == 0 ? 500 : 0;
        const QJsonObject item{{"rt", 18}, {"txval", ToRupees(b.taxable())}, {"igst", ToRupees(tax.igst)},
                               {"cgst", ToRupees(tax.cgst + off)}, {"sgst", ToRupees(tax.sgst)}, {"cess", 0}};
        const QJsonObject invoice{{"inum", i > MonthBills ? QStringLiteral("X-%1").arg(i) : b.number},
                                  {"dt", b.date.toString("dd-MM-yyyy")}, {"val", ToRupees(b.total())},
                                  {"pos", "33"}, {"rev", "N"}, {"itcavl", "Y"}, {"items", QJsonArray{item}}};
        b2b.append(QJsonObject{{"ctin", b.supplierGstin}, {"trdnm", b.supplierName}, {"inv", QJsonArray{invoice}}});
    }
    const QJsonObject data{{"gstin", CompanyGstin}, {"rtnprd", "082026"}, {"docdata", QJsonObject{{"b2b", b2b}}}};
    return QJsonDocument(QJsonObject{{"data", data}}).toJson(QJsonDocument::Compact);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, 6000);
    seedBills(*db);

    const double bare = best([&] {
        bareQuery(*db);
        bareBillQuery(*db);
    });
    const double worksheet = best([&] {
        if (LoadGstr3b(*db, 2026, 8).row("4(C)")->documents.isEmpty())
            std::printf("worksheet has no credit\n");
    });
    const Period august = MonthPeriod(2026, 8);
    const double invoices = best([&] { LoadInvoices(*db, august); });
    const double bills = best([&] { LoadPurchaseBills(*db, august.from, august.to); });
    const double bareBills = best([&] { bareBillQuery(*db); });
    std::printf("reading the month: invoices %.1f ms, bills %.1f ms (their bare query %.1f ms)\n", invoices, bills,
                bareBills);
    std::printf("GSTR-3B of 5,000 invoices and 2,000 bills: bare queries %.1f ms, worksheet %.1f ms (%.2fx; target "
                "2x)\n",
                bare, worksheet, worksheet / bare);

    const QByteArray file = portalFile();
    Gstr2bMatching last;
    const double matching = best([&] {
        const Gstr2bFile portal = ReadGstr2b(file, CompanyGstin, 2026, 8);
        last = LoadGstr2bMatching(*db, 2026, 8, portal.documents);
    });
    std::printf("GSTR-2B matching of %d documents against %d bills: %.1f ms (target under 1000 ms)\n",
                int(last.lines.size() - size_t(last.count(MatchKind::BooksOnly))), MonthBills, matching);
    std::printf("  matched %d, with differences %d, in 2B only %d, in the books only %d\n",
                last.count(MatchKind::Matched), last.count(MatchKind::Differences),
                last.count(MatchKind::PortalOnly), last.count(MatchKind::BooksOnly));
    return 0;
}
