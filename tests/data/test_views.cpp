// The read-only views the reports and the invoice print read: the right rows,
// never the placeholder, dates cut into whole numbers, sums per month.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "support/formdriver.h"

#include <QSqlRecord>
#include <QtTest>

using namespace zelva;

namespace {

struct Invoice {
    int sno;
    QString date;
    double goods, cgst, sgst, igst, total;
};

void saveInvoice(Database& db, const Invoice& inv)
{
    Transaction work(db, "save the invoice");
    RecordSource buyer(db);
    buyer.bind(DbFile::Invoice, "BuyerInvoice");
    buyer.addNew();
    buyer.setValue("sno", inv.sno);
    buyer.setValue("InvoiceNo", RecordCode(CodeKind::Invoice, inv.sno));
    buyer.setValue("InvoiceDate", inv.date);
    buyer.setValue("BuyerName", "Ravi Stores");
    buyer.update();
    RecordSource goods(db);
    goods.bind(DbFile::Invoice, "GoodsInvoice");
    goods.addNew();
    goods.setValue("sno", inv.sno);
    goods.setValue("InvoiceNo", RecordCode(CodeKind::Invoice, inv.sno));
    goods.setValue("DescriptionOfGoods1", QString("Item of invoice %1").arg(inv.sno));
    goods.setValue("TotalGoodsAmount", inv.goods);
    goods.setValue("TCgst", inv.cgst);
    goods.setValue("TSgst", inv.sgst);
    goods.setValue("TIgst", inv.igst);
    goods.setValue("totalamount", inv.total);
    goods.update();
    work.commit();
}

void savePurchase(Database& db, int psno, const QString& date)
{
    RecordSource rs(db);
    rs.bind(DbFile::PurchaseMaster, "Purchase");
    rs.addNew();
    rs.setValue("PSno", psno);
    rs.setValue("PurchaseId", QString("P%1").arg(psno, 5, 10, QChar('0')));
    rs.setValue("PurchaseDate", date);
    rs.setValue("sno", 1);
    rs.setValue("Quantity", 4);
    rs.update();
}

QList<QVariantList> rows(Database& db, DbFile file, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query = db.run(sql, values, "read the view", file);
    QList<QVariantList> out;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        out << row;
    }
    return out;
}

} // namespace

class ViewsTest : public QObject {
    Q_OBJECT

private slots:
    void printInvoiceHasOneRowPerSavedInvoice()
    {
        testing::TempData data;
        saveInvoice(*data.db, {1, "05/01/2026", 100, 9, 9, 0, 118});
        saveInvoice(*data.db, {2, "17/02/2026", 200, 0, 0, 36, 236});
        const auto list = rows(*data.db, DbFile::Invoice,
                               "select Sno, InvoiceNo, DescriptionOfGoods1, BuyerName, InvoiceDate, totalamount from PrintInvoice");
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0], (QVariantList{qint64(1), "A00001", "Item of invoice 1", "Ravi Stores", "05/01/2026", 118.0}));
        QCOMPARE(list[1][0], QVariant(qint64(2)));
        // "select *" offers the header and every grid column under its own name.
        QSqlQuery all = data.db->run("select * from PrintInvoice", {}, "print the invoices", DbFile::Invoice);
        const QSqlRecord record = all.record();
        for (const char* column : {"Sno", "InvoiceNo", "DescriptionOfGoods1", "DescriptionOfGoods16", "Hsn16", "Quantity7",
                                   "Per15", "Amount16", "rate15", "TotalGoodsAmount", "BuyerGstin", "Time"})
            QVERIFY2(record.indexOf(column) >= 0, column);
        QCOMPARE(record.fieldName(0), QString("Sno"));
    }

    void emptyPrintInvoiceWithOnlyThePlaceholder()
    {
        testing::TempData data;
        QVERIFY(rows(*data.db, DbFile::Invoice, "select * from PrintInvoice").isEmpty());
        QVERIFY(rows(*data.db, DbFile::Invoice, "select * from MonthlyReport").isEmpty());
    }

    void monthlyReportSumsEachMonth()
    {
        testing::TempData data;
        saveInvoice(*data.db, {1, "05/01/2026", 100.10, 9.01, 9.01, 0, 118.12});
        saveInvoice(*data.db, {2, "31/01/2026", 200.20, 18.02, 18.02, 0, 236.24});
        saveInvoice(*data.db, {3, "01/02/2026", 50, 0, 0, 9, 59});
        saveInvoice(*data.db, {4, "5/12/2025", 10, 0.9, 0.9, 0, 11.8}); // typed without leading zero
        const auto list = rows(*data.db, DbFile::Invoice, "select * from MonthlyReport");
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0], (QVariantList{qint64(2025), qint64(12), qint64(1), 10.0, 0.9, 0.9, 0.0, 11.8}));
        QCOMPARE(list[1], (QVariantList{qint64(2026), qint64(1), qint64(2), 300.3, 27.03, 27.03, 0.0, 354.36}));
        QCOMPARE(list[2], (QVariantList{qint64(2026), qint64(2), qint64(1), 50.0, 0.0, 0.0, 9.0, 59.0}));

        // The monthly screen binds it as a read-only record source.
        RecordSource monthly(*data.db);
        monthly.bind(DbFile::Invoice, "MonthlyReport");
        QCOMPARE(monthly.recordCount(), 3);
        monthly.moveNext();
        QCOMPARE(monthly.text("Invoices"), QString("2"));
        QCOMPARE(monthly.text("InvoiceTotal"), QString("354.36"));
        QVERIFY(monthly.moveToKey(monthly.key()));
    }

    void purchaseRegisterCutsTheDate()
    {
        testing::TempData data;
        savePurchase(*data.db, 1, "05/12/2026");
        savePurchase(*data.db, 2, "5/1/2027");
        savePurchase(*data.db, 3, "17.01.2027"); // another date separator
        const auto list = rows(*data.db, DbFile::PurchaseMaster,
                               "select PSno, PurchaseId, Purchasedd, Purchasemm, Purchaseyy from PurchaseRegister order by PSno");
        QCOMPARE(list.size(), 3); // no placeholder
        QCOMPARE(list[0], (QVariantList{qint64(1), "P00001", qint64(5), qint64(12), qint64(2026)}));
        QCOMPARE(list[1], (QVariantList{qint64(2), "P00002", qint64(5), qint64(1), qint64(2027)}));
        QCOMPARE(list[2], (QVariantList{qint64(3), "P00003", qint64(17), qint64(1), qint64(2027)}));
    }

    void purchaseRegisterFiltersByBoundDateParts_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("count");
        const QString day = "select * from PurchaseRegister where Purchasedd = ? and Purchasemm = ? and Purchaseyy = ?";
        const QString month = "select * from PurchaseRegister where Purchasemm = ? and Purchaseyy = ?";
        const QString year = "select * from PurchaseRegister where Purchaseyy = ?";
        QTest::newRow("day") << day << QVariantList{5, 12, 2026} << 1;
        QTest::newRow("day as texts") << day << QVariantList{"05", "12", "2026"} << 1;
        QTest::newRow("month") << month << QVariantList{1, 2027} << 2;
        QTest::newRow("month as texts") << month << QVariantList{"1", "2027"} << 2;
        QTest::newRow("year") << year << QVariantList{2027} << 2;
        QTest::newRow("no such year") << year << QVariantList{2025} << 0;
        QTest::newRow("whole table") << "select * from Purchase where sno<>0" << QVariantList{} << 3;
    }
    void purchaseRegisterFiltersByBoundDateParts()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        QFETCH(int, count);
        testing::TempData data;
        savePurchase(*data.db, 1, "05/12/2026");
        savePurchase(*data.db, 2, "05/01/2027");
        savePurchase(*data.db, 3, "28/01/2027");
        QCOMPARE(rows(*data.db, DbFile::PurchaseMaster, sql, values).size(), count);
    }
};

QTEST_GUILESS_MAIN(ViewsTest)
#include "test_views.moc"
