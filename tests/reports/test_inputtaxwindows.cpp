// The input tax windows as the accountant uses them: a month's worksheet
// whose figures list their documents on a double-click, the GSTR-2B file
// imported (and a wrong one refused, the window left as it was), and the
// purchase register whose paper shows what the screen shows.
#include "reports/frmgstr2b.h"
#include "reports/frmgstr3b.h"
#include "reports/frmpurchasebills.h"

#include "gst/gststates.h"
#include "reports/invoiceshape.h"
#include "reports/xlsxreader.h"
#include "sales/purchasebill.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QDateEdit>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace testing;
using namespace zelva;

namespace {

const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8");

QString mysore()
{
    const QString first14 = QStringLiteral("29AABCM5678L1Z");
    return first14 + GstinCheckCharacter(first14);
}

struct Month {
    TempData data;
    MessageRecorder messages;

    Month()
    {
        addCompany(*data.db, CompanyGstin);
        writeInvoice(*data.db, {1, "03/01/2027", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala",
                                TaxMode::Igst, {{"Paint Tin", "3208", 10, "Ltr", "200", "2000.00"}},
                                Base{nullptr, "N.A.", "0", "18", "360.00"}, Base{}, Base{}, "0", 360});
        PurchaseBill bill;
        bill.number = "KA-77";
        bill.date = QDate(2027, 1, 8);
        bill.supplierName = "Mysore Paints";
        bill.supplierGstin = mysore();
        bill.supplierState = "Karnataka";
        PurchaseBillLine line;
        line.itemName = "Paint Tin";
        line.quantity = 100;
        line.rate = 150;
        line.taxable = 1500000;
        line.gstRate = 18;
        bill.lines = {line};
        ComputePurchaseTaxes(bill, "Tamil Nadu", CompanyGstin);
        if (!StorePurchaseBill(*data.db, bill).isEmpty())
            qFatal("the bill was not stored");
    }

    QString writeFile(const QString& gstin, const QString& period) const
    {
        const QJsonObject item{{"rt", 18}, {"txval", 15000}, {"igst", 2700}, {"cgst", 0}, {"sgst", 0}, {"cess", 0}};
        const QJsonObject invoice{{"inum", "KA77"}, {"dt", "08-01-2027"}, {"val", 17700}, {"pos", "33"},
                                  {"rev", "N"}, {"itcavl", "Y"}, {"items", QJsonArray{item}}};
        const QJsonObject data{{"gstin", gstin}, {"rtnprd", period},
                               {"docdata", QJsonObject{{"b2b", QJsonArray{QJsonObject{
                                                                  {"ctin", mysore()}, {"trdnm", "MYSORE PAINTS"},
                                                                  {"inv", QJsonArray{invoice}}}}}}}};
        const QString path = this->data.folder() + "/" + gstin + period + ".json";
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QJsonDocument(QJsonObject{{"data", data}}).toJson());
        return path;
    }
};

} // namespace

class InputTaxWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void worksheetListsDocuments()
    {
        Month m;
        frmGstr3b w(*m.data.db);
        w.dtpMonth->setDate(QDate(2027, 1, 1));
        click(w.cmdShow);
        const TableReport table = w.worksheetTable();
        QCOMPARE(table.lines.front()[0], QString("3.1(a)"));
        QCOMPARE(table.lines.front().mid(2, 2), (QStringList{"2000.00", "360.00"}));
        // 4(A)(5): the credit of 15000 at 18 %, and its bill
        int row = 0;
        while (table.lines[row][0] != "4(A)(5)")
            ++row;
        QCOMPARE(GridText(w.grdWorksheet, row, 3), QString("2700.00"));
        m.messages.clear();
        emit w.grdWorksheet->doubleClicked(w.grdWorksheet->model()->index(row, 3));
        QCOMPARE(m.messages.texts().size(), 1);
        QVERIFY2(m.messages.last().contains("Bill KA-77 of 08/01/2027 from Mysore Paints"), qPrintable(m.messages.last()));
    }

    // A file for another GSTIN is refused, naming both; the window keeps what
    // it showed and nothing is kept of the file.
    void wrongFileRefused()
    {
        Month m;
        frmGstr2b w(*m.data.db);
        w.dtpMonth->setDate(QDate(2027, 1, 1));
        QVERIFY(w.importFile(m.writeFile(CompanyGstin, "012027")));
        QCOMPARE(w.matching().count(MatchKind::Matched), 1);
        QCOMPARE(GridText(w.grdMatching, 0, 0), QString("Matched"));
        m.messages.clear();
        QVERIFY(!w.importFile(m.writeFile(mysore(), "012027")));
        QCOMPARE(m.messages.texts().size(), 1);
        QVERIFY2(m.messages.last().contains(QString("is for GSTIN %1, not for the company's GSTIN %2").arg(mysore(), CompanyGstin)),
                 qPrintable(m.messages.last()));
        QCOMPARE(GridRows(w.grdMatching), 1);
        QCOMPARE(GridText(w.grdMatching, 0, 0), QString("Matched"));
    }

    void registerOnPaperAsOnScreen()
    {
        Month m;
        frmPurchaseBills w(*m.data.db);
        w.dtpFrom->setDate(QDate(2027, 1, 1));
        w.dtpTo->setDate(QDate(2027, 1, 31));
        click(w.cmdShow);
        const TableReport table = w.registerTable();
        QCOMPARE(table.lines.size(), size_t(2)); // the bill, and its rate's total
        for (int column = 0; column < int(table.columns.size()); ++column)
            QCOMPARE(GridText(w.grdBills, 0, column), table.lines[0][column]);
        QCOMPARE(table.lines[0].mid(5, 5), (QStringList{"15000.00", "2700.00", "0.00", "0.00", "17700.00"}));
        QCOMPARE(table.totals[5], QString("15000.00"));
        // the workbook: the date a date, the amounts numbers, the supplier as typed
        const QString path = m.data.folder() + "/register.xlsx";
        QVERIFY(w.saveXlsx(path));
        const XlsxBook book(path);
        QCOMPARE(book.cell("A2").date(), QDate(2027, 1, 8));
        QCOMPARE(book.cell("C2").value, QString("Mysore Paints"));
        QVERIFY(book.cell("G2").isNumber());
        QCOMPARE(book.cell("G2").paise(), Paise(270000));
    }
};

QTEST_MAIN(InputTaxWindowsTest)
#include "test_inputtaxwindows.moc"
