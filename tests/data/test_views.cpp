// The read-only views the reports and the invoice print read: the right rows,
// never the placeholder, dates cut into whole numbers, sums per month.
#include "data/serials.h"
#include "storetest.h"

#include <tuple>

using namespace zelva;
using namespace testing;

namespace {

struct Invoice {
    int sno;
    QString date;
    double goods, cgst, sgst, igst, total;
};

void saveInvoices(Database& db, const QList<Invoice>& invoices)
{
    RecordSource buyer(db);
    RecordSource goods(db);
    buyer.bind(DbFile::Invoice, "BuyerInvoice");
    goods.bind(DbFile::Invoice, "GoodsInvoice");
    for (const Invoice& inv : invoices) {
        const QString number = RecordCode(CodeKind::Invoice, inv.sno);
        addRecord(buyer, {{"sno", inv.sno}, {"InvoiceNo", number}, {"InvoiceDate", inv.date}, {"BuyerName", "Ravi"}});
        addRecord(goods, {{"sno", inv.sno}, {"InvoiceNo", number}, {"DescriptionOfGoods1", "Goods " + number},
                          {"TotalGoodsAmount", inv.goods}, {"TCgst", inv.cgst}, {"TSgst", inv.sgst},
                          {"TIgst", inv.igst}, {"totalamount", inv.total}});
    }
}

void savePurchases(Database& db, const QStringList& dates)
{
    RecordSource rs(db);
    rs.bind(DbFile::PurchaseMaster, "Purchase");
    for (int psno = 1; psno <= dates.size(); ++psno)
        addRecord(rs, {{"PSno", psno}, {"PurchaseId", RecordCode(CodeKind::Purchase, psno)},
                       {"PurchaseDate", dates[psno - 1]}, {"sno", 1}, {"Quantity", 4}});
}

} // namespace

class ViewsTest : public QObject {
    Q_OBJECT

private slots:
    void printInvoiceHasOneRowPerSavedInvoice()
    {
        TempData data;
        saveInvoices(*data.db, {{1, "05/01/2026", 100, 9, 9, 0, 118}, {2, "17/02/2026", 200, 0, 0, 36, 236}});
        const QString sql = "select Sno, InvoiceNo, DescriptionOfGoods1, BuyerName, InvoiceDate, totalamount "
                            "from PrintInvoice";
        QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice, sql),
                 (QList<QVariantList>{{qint64(1), "A00001", "Goods A00001", "Ravi", "05/01/2026", 118.0},
                                      {qint64(2), "A00002", "Goods A00002", "Ravi", "17/02/2026", 236.0}}));
    }

    // On the program's connection each row also carries its seller's address
    // from the company record of the invoice's name and GSTIN.
    void printInvoiceOnTheConnectionAddsTheSellersAddress()
    {
        TempData data;
        RecordSource company(*data.db);
        company.bind(DbFile::Master, "Company");
        addRecord(company, {{"sno", 1}, {"Name", "Zelva"}, {"Gstin", "OLD"}, {"address", "Old Road"}, {"Pin", "1"}});
        addRecord(company, {{"sno", 2}, {"Name", "Zelva"}, {"Gstin", "32AAA"}, {"address", "New Road"},
                            {"Dist", "Ernakulam"}, {"State", "Kerala"}, {"Pin", "682001"}});
        saveInvoices(*data.db, {{1, "05/01/2026", 100, 9, 9, 0, 118}, {2, "06/01/2026", 100, 9, 9, 0, 118}});
        data.db->run("UPDATE Invoice.BuyerInvoice SET SalerCompany = 'Zelva', SalerGstin = '32AAA' WHERE sno = 2", {},
                     "test", DbFile::Invoice);
        QSqlQuery rows = data.db->run("select Sno, SalerAddress, SalerDist, SalerState, SalerPin from PrintInvoice", {},
                                      "test", DbFile::Invoice);
        QStringList seen;
        while (rows.next())
            seen << QStringList{rows.value(0).toString(), rows.value(1).toString(), rows.value(2).toString(),
                                rows.value(3).toString(), rows.value(4).toString()}
                        .join('|');
        QCOMPARE(seen, QStringList({"1||||", "2|New Road|Ernakulam|Kerala|682001"}));
    }

    void monthlyReportSumsEachMonth()
    {
        TempData data;
        saveInvoices(*data.db, {{1, "05/01/2026", 100.10, 9.01, 9.01, 0, 118.12},
                                {2, "31/01/2026", 200.20, 18.02, 18.02, 0, 236.24},
                                {3, "01/02/2026", 50, 0, 0, 9, 59},
                                {4, "5/12/2025", 10, 0.9, 0.9, 0, 11.8}, // typed without leading zero
                                {5, "10/01/2025", 40, 0, 0, 7.2, 47.2}, // January of another year
                                {6, "20/01/2026", 700, 63, 63, 0, 826}}); // cancelled: counted apart, no value
        data.db->run("INSERT INTO Invoice.CancelledInvoice (sno, InvoiceNo) VALUES (6, 'A00006')", {}, "cancel",
                     DbFile::Invoice);
        QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice, "select * from MonthlyReport"),
                 (QList<QVariantList>{{qint64(2025), qint64(1), qint64(1), 40.0, 0.0, 0.0, 7.2, 47.2, qint64(0)},
                                      {qint64(2025), qint64(12), qint64(1), 10.0, 0.9, 0.9, 0.0, 11.8, qint64(0)},
                                      {qint64(2026), qint64(1), qint64(2), 300.3, 27.03, 27.03, 0.0, 354.36, qint64(1)},
                                      {qint64(2026), qint64(2), qint64(1), 50.0, 0.0, 0.0, 9.0, 59.0, qint64(0)}}));

        // The monthly screen binds it as a read-only record source.
        RecordSource monthly(*data.db);
        monthly.bind(DbFile::Invoice, "MonthlyReport");
        QCOMPARE(monthly.recordCount(), 4);
        monthly.moveNext();
        monthly.moveNext();
        QCOMPARE(monthly.text("Invoices"), QString("2"));
        QCOMPARE(monthly.text("InvoiceTotal"), QString("354.36"));
        QVERIFY(monthly.moveToKey(monthly.key()));
    }

    // The reports pick a day, month or year with bound values, numbers or texts.
    void purchaseRegisterCutsTheDate()
    {
        TempData data;
        savePurchases(*data.db, {"05/12/2026", "5/1/2027", "17.01.2027"}); // short parts, another separator
        QCOMPARE(rowsInFile(data.folder(), DbFile::PurchaseMaster,
                            "select PSno, PurchaseId, Purchasedd, Purchasemm, Purchaseyy from PurchaseRegister"),
                 (QList<QVariantList>{{qint64(1), "P00001", qint64(5), qint64(12), qint64(2026)},
                                      {qint64(2), "P00002", qint64(5), qint64(1), qint64(2027)},
                                      {qint64(3), "P00003", qint64(17), qint64(1), qint64(2027)}}));
        const QString day = "Purchasedd = ? and Purchasemm = ? and Purchaseyy = ?";
        const QString month = "Purchasemm = ? and Purchaseyy = ?";
        const QList<std::tuple<QString, QVariantList, int>> picks{
            {day, {5, 12, 2026}, 1},  {day, {"05", "12", "2026"}, 1}, {month, {1, 2027}, 2},
            {month, {"1", "2027"}, 2}, {"Purchaseyy = ?", {2027}, 2},  {"Purchaseyy = ?", {2025}, 0}};
        for (const auto& [where, values, count] : picks)
            QCOMPARE(rowsInFile(data.folder(), DbFile::PurchaseMaster, "select * from PurchaseRegister where " + where,
                                values)
                         .size(),
                     count);
    }
};

QTEST_GUILESS_MAIN(ViewsTest)
#include "test_views.moc"
