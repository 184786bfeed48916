// The Return Check window worked as an operator does: the month chosen and
// checked, the counts above the findings, a double click on a finding that
// asks for the buyer's record to mend, Enter on the company's note that asks
// for Company Details, the
// keys moving through the window in order, and the same lines on paper and in
// the CSV file as on screen.
#include "reports/frmreturncheck.h"

#include "platform/datetext.h"
#include "gst/gststates.h"
#include "sales/invoicestore.h"
#include "support/formdriver.h"
#include "support/testserver.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QSignalSpy>
#include <QtTest>

using namespace testing;
using namespace zelva;

namespace {

QString withCheckCharacter(const QString& first14) { return first14 + GstinCheckCharacter(first14); }

// Last month, which has ended, at a Tamil Nadu shop.
QDate lastMonth() { return QDate::currentDate().addMonths(-1); }
QString dayOfLastMonth(int day) { return QDate(lastMonth().year(), lastMonth().month(), day).toString("dd/MM/yyyy"); }
QString monthName(const QDate& month) { return QLocale::c().toString(month, "MMMM yyyy"); }

// Three invoices to one buyer last month, the middle one carrying the
// buyer's GSTIN with a wrong check character.
void keepLastMonth(Database& db)
{
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) VALUES (?, ?, ?, 1, 'C0001')",
        { "Zelva Traders", "Tamil Nadu", withCheckCharacter("33AAACH7409R1Z") }, "add the company", DbFile::Master);
    const QString buyer = withCheckCharacter("33MEENA4321B1Z");
    const QString mistyped = buyer.left(14) + (buyer.endsWith('Q') ? 'R' : 'Q');
    int serial = 0;
    for (const QString& date : { dayOfLastMonth(2), dayOfLastMonth(16), dayOfLastMonth(28) }) {
        ++serial;
        Invoice x;
        x.serial = serial;
        x.number = QStringLiteral("A%1").arg(serial, 5, 10, QLatin1Char('0'));
        x.date = ReadDateText(date);
        x.buyerCode = QStringLiteral("C%1").arg(serial, 5, 10, QLatin1Char('0'));
        x.buyer = { "Meena Hardware", "Gandhi Road", {}, "Tamil Nadu", "625001", serial == 2 ? mistyped : buyer };
        x.mode = TaxMode::Cgst;
        x.lines = { { {}, "Varnish", "3208", "Ltr", 3, 410, LineAmount(3, 410), 0, 0, 0 } };
        x.taxes[TaxOnGoods].rate = 18;
        ComputeTotals(x);
        StoreInvoice(db, x);
    }
}

QStringList gridLine(const QTableView* grid, int row)
{
    QStringList line;
    for (int column = 0; column < 5; ++column)
        line << GridText(grid, row, column);
    return line;
}

void doubleClickRow(QTableView* grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class ReturnCheckWindowTest : public QObject {
    Q_OBJECT
private slots:
    void checksTheMonthAndOpensTheDocuments()
    {
        TempData data;
        MessageRecorder messages;
        keepLastMonth(*data.db);
        frmReturnCheck w(*data.db);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.dtpMonth->setFocus();
        w.dtpMonth->setDate(lastMonth().addMonths(-1));
        click(w.cmdShow);
        w.dtpMonth->setDate(lastMonth());
        click(w.cmdShow);
        QCOMPARE(w.lblCounts->text(), monthName(lastMonth()) + ": 1 error, 0 warnings, 1 note");
        QCOMPARE(GridRows(w.grdFindings), 2);
        const QStringList error = gridLine(w.grdFindings, 1);
        QCOMPARE(error.mid(0, 3), (QStringList { "Error", "Invoice A00002 of " + dayOfLastMonth(16), "Buyer's GSTIN (ctin)" }));
        QVERIFY2(error[3].contains("check character"), qPrintable(error[3]));

        // The GSTIN is mended in Buyer Details: the window asks for the buyer's record.
        QSignalSpy masters(&w, &frmReturnCheck::masterWanted);
        doubleClickRow(w.grdFindings, 1);
        QCOMPARE(masters.size(), 1);
        QCOMPARE(masters.at(0), (QVariantList { "frmBuyerDetails", "bid", "C00002" }));

        // Enter on the company's note asks for Company Details.
        w.grdFindings->setFocus();
        w.grdFindings->selectRow(0);
        w.grdFindings->setCurrentIndex(w.grdFindings->model()->index(0, 0));
        QTest::keyClick(w.grdFindings, Qt::Key_Return);
        QCOMPARE(masters.size(), 2);
        QCOMPARE(masters.at(1), (QVariantList { "frmCompany", QString(), QString() }));

        // A month without documents says so.
        const QDate before = lastMonth().addMonths(-1);
        w.dtpMonth->setDate(before);
        click(w.cmdShow);
        QCOMPARE(w.lblCounts->text(), monthName(before) + ": 0 errors, 0 warnings, 2 notes");
        QCOMPARE(gridLine(w.grdFindings, 1).mid(0, 3),
            (QStringList { "Note", "Return of " + before.toString("MMyyyy"), "Return period (fp)" }));
        // A finding about the return is shown whole, with what to do.
        doubleClickRow(w.grdFindings, 1);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().startsWith("Note: Return period (fp)\n\n"), qPrintable(messages.last()));
        QVERIFY2(messages.last().contains("What to do: File a nil return"), qPrintable(messages.last()));
    }

    void keysMoveInOrder()
    {
        TempData data;
        frmReturnCheck w(*data.db);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList order { "dtpMonth", "cmdShow", "grdFindings", "cmdOpen", "cmdPrint", "cmdSaveCsv", "cmdClose" };
        QStringList reached;
        QWidget* at = w.dtpMonth;
        for (int step = 0; step < 40 && reached.size() < order.size(); ++step) {
            if (order.contains(at->objectName()) && !reached.contains(at->objectName()))
                reached << at->objectName();
            at = at->nextInFocusChain();
        }
        QCOMPARE(reached, order);
    }

    // Paper and the CSV file carry the lines the screen shows.
    void printsAndSavesWhatItShows()
    {
        TempData data;
        MessageRecorder messages;
        keepLastMonth(*data.db);
        frmReturnCheck w(*data.db);
        w.dtpMonth->setDate(lastMonth());
        click(w.cmdShow);
        click(w.cmdPrint);
        ReportWindow* paper = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* report = qobject_cast<ReportWindow*>(widget); report && report->isVisible())
                paper = report;
        QVERIFY(paper);
        QStringList printed;
        for (const report::ReportPage& page : paper->pages())
            for (const report::PlacedText& text : page.texts)
                printed << text.text;
        for (int row = 0; row < GridRows(w.grdFindings); ++row)
            for (const QString& cell : gridLine(w.grdFindings, row))
                QVERIFY2(printed.contains(cell), qPrintable(cell));
        QVERIFY(printed.contains(monthName(lastMonth()) + ": 1 error, 0 warnings, 1 note"));
        const QString pdf = data.folder() + "/check.pdf";
        QVERIFY(paper->savePdf(pdf));
        QFile saved(pdf);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.read(5) == "%PDF-");
        paper->close();

        const QString path = data.folder() + "/check.csv";
        QVERIFY(w.saveCsv(path));
        QFile csv(path);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 1 + 2);
        QVERIFY2(rows[2].startsWith("Error,Invoice A00002 of " + dayOfLastMonth(16) + ",Buyer's GSTIN (ctin),"),
            qPrintable(rows[2]));
        QCOMPARE(messages.texts(), QStringList());
    }
};

QTEST_MAIN(ReturnCheckWindowTest)
#include "test_returncheckwindow.moc"
