// The GSTR-3B worksheet of a month of 5,000 invoices and 2,000 purchase bills
// (two lines each) next to the bare SQLite queries that read the same rows
// (target: within twice the bare queries), and the GSTR-2B matching of a file
// of 2,000 invoices against the month's 2,000 bills, reading the file
// included (target: under a second).
#include "gst/gststates.h"
#include "registers/gstr2b.h"
#include "registers/gstr3b.h"
#include "billsmonth.h"
#include "salesmonth.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace zelva;
using namespace bench;

namespace {

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
