// The Audit Trail window: this month's entries, narrowed to one record or
// one operator, one line per changed field with its old and new value, the
// same cells on screen, on paper, in the CSV file and in the workbook.
#include "reports/frmaudittrail.h"

#include "data/recordsource.h"
#include "sales/opening.h"
#include "reports/xlsxreader.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace testing;
using namespace zelva;

namespace {

// A buyer added by one operator, its GSTIN and State changed by another, and
// a stock item added: four entries, the change on two lines.
void keepABuyer(Database& db)
{
    RecordSource buyers(db);
    buyers.bind(DbFile::Customer, "CustomerDetails");
    SetAuditOperator("meena");
    {
        Transaction t(db, "save");
        buyers.addNew();
        buyers.setValue("sno", 1);
        buyers.setValue("bid", "C00001");
        buyers.setValue("Name", "Kochi Stores");
        buyers.setValue("Gstin", "32AAAAA0000A1Z5");
        buyers.update();
        t.commit();
    }
    SetAuditOperator("ravi");
    buyers.setFilter("bid", "C00001");
    buyers.moveFirst();
    {
        Transaction t(db, "save");
        buyers.edit();
        buyers.setValue("Gstin", "33AAACH7409R1Z8");
        buyers.setValue("State", "Tamil Nadu");
        buyers.update();
        t.commit();
    }
    RecordSource stock(db);
    stock.bind(DbFile::ItemStock, "Stock");
    Transaction t(db, "save");
    stock.addNew();
    stock.setValue("sno", 1);
    stock.setValue("itemcode", "G00001");
    stock.update();
    t.commit();
}

QStringList gridLine(const QTableView* grid, int row)
{
    QStringList line;
    for (int column = 0; column < 10; ++column)
        line << GridText(grid, row, column);
    return line;
}

} // namespace

class AuditTrailWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsAndNarrowsTheEntries()
    {
        TempData data;
        MessageRecorder messages;
        keepABuyer(*data.db);
        frmAuditTrail w(*data.db);
        w.show();
        QCOMPARE(w.trailTable().lines.size(), size_t(4 + 2 + 2)); // each entry a line per field
        QCOMPARE(GridRows(w.grdTrail), 8 + 1); // and the count of entries beneath
        const QStringList change = gridLine(w.grdTrail, 4);
        QCOMPARE(change.mid(2, 1) + change.mid(4), (QStringList{"ravi", "CustomerDetails", "C00001", "changed", "State",
                                                                 "", "Tamil Nadu"}));
        QCOMPARE(gridLine(w.grdTrail, 5).mid(7), (QStringList{"Gstin", "32AAAAA0000A1Z5", "33AAACH7409R1Z8"}));

        typeInto(w.txtRecord, "C00001");
        click(w.cmdShow);
        QCOMPARE(w.trailTable().lines.size(), size_t(6));
        typeInto(w.txtOperator, "ravi");
        click(w.cmdShow);
        QCOMPARE(w.trailTable().lines.size(), size_t(2));
        QVERIFY(w.trailTable().subtitle.endsWith(", operator ravi, record C00001"));
        typeInto(w.txtOperator, "");
        typeInto(w.txtRecord, "");
        QVERIFY(pick(w.cboTable, "Stock"));
        click(w.cmdShow);
        QCOMPARE(w.trailTable().lines.size(), size_t(2));
        QCOMPARE(w.trailTable().lines[0][5], QString("G00001"));
        // a period before the entries shows none
        w.dtpFrom->setDate(QDate(2020, 1, 1));
        w.dtpTo->setDate(QDate(2020, 1, 31));
        click(w.cmdShow);
        QCOMPARE(w.trailTable().lines.size(), size_t(0));
        QCOMPARE(messages.texts(), QStringList());
    }

    // A buyer's History shows the changes of its opening bills beside its
    // own, and not another buyer's; the trail window opened from the menu
    // and narrowed to the buyer shows the buyer's own entries only.
    void buyersHistoryShowsItsOpeningBills()
    {
        TempData data;
        MessageRecorder messages;
        keepABuyer(*data.db);
        data.db->run("INSERT INTO Master.Company (Name, State, sno, CompanyId) VALUES ('Zelva', 'Kerala', 1, 'C00001')",
                     {}, "add the company", DbFile::Master);
        {
            Transaction t(*data.db, "set the day");
            StoreBooksStartDayWithin(*data.db, 1, QDate(2026, 4, 1));
            t.commit();
        }
        SetAuditOperator("meena");
        QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Buyer, "C00001", {OneOpeningAmount(123456, QDate(2026, 4, 1))}),
                 QString());
        QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Buyer, "C00002", {OneOpeningAmount(500, QDate(2026, 4, 1))}),
                 QString());
        QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Supplier, "C00001", {OneOpeningAmount(700, QDate(2026, 4, 1))}),
                 QString());

        frmAuditTrail* history = OpenRecordHistory(nullptr, *data.db, "CustomerDetails", "C00001");
        const std::unique_ptr<frmAuditTrail> closing(history);
        const std::vector<QStringList>& lines = history->trailTable().lines;
        QCOMPARE(lines.size(), size_t(6 + 1)); // the buyer's own six lines, then its opening bill
        QCOMPARE(QStringList(lines.back().mid(4, 4)), (QStringList{"OpeningBill", "B C00001", "changed", "Bills"}));
        QVERIFY2(lines.back()[9].contains("1234.56"), qPrintable(lines.back().join('|')));

        frmAuditTrail w(*data.db);
        QVERIFY(pick(w.cboTable, "CustomerDetails"));
        typeInto(w.txtRecord, "C00001");
        click(w.cmdShow);
        QCOMPARE(w.trailTable().lines.size(), size_t(6));
        QCOMPARE(messages.texts(), QStringList());
    }

    // The old and new values reach the CSV file and the workbook as they
    // are shown: text as typed, never run as a formula.
    void savesTheSameCells()
    {
        TempData data;
        keepABuyer(*data.db);
        frmAuditTrail w(*data.db, "CustomerDetails", "C00001");
        QCOMPARE(w.trailTable().lines.size(), size_t(6)); // the record's whole history
        const QString csvPath = data.folder() + "/trail.csv";
        QVERIFY(w.saveCsv(csvPath));
        QFile csv(csvPath);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 6);
        QVERIFY2(rows[6].endsWith(",CustomerDetails,C00001,changed,Gstin,32AAAAA0000A1Z5,33AAACH7409R1Z8"),
                 qPrintable(rows[6]));
        const QString xlsxPath = data.folder() + "/trail.xlsx";
        QVERIFY(w.saveXlsx(xlsxPath));
        const XlsxBook book(xlsxPath);
        QVERIFY(book.cell("A2").isNumber());
        QCOMPARE(book.cell("J7").value, QString("33AAACH7409R1Z8"));
        QCOMPARE(book.cell("I7").value, QString("32AAAAA0000A1Z5"));
    }
};

QTEST_MAIN(AuditTrailWindowTest)
#include "test_audittrailwindow.moc"
