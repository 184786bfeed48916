// The Yearly Report and Sales Report windows over invoices saved as the
// invoice form saves them: the financial year runs April to March across the
// calendar year, the grids show the saved figures, printing shows on paper
// what the grid shows, and the CSV and return files are written (or, with a
// reason told, not written at all). The figures themselves are the registers'
// own tests' business.
#include "reports/frmsalesreport.h"
#include "support/testserver.h"
#include "reports/frmyearlyreport.h"

#include "reports/invoiceshape.h"
#include "reports/xlsxreader.h"
#include "support/formdriver.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using namespace zelva;
using testing::Base;
using testing::InvoiceShape;

namespace {

// Financial year 2025-26, with one invoice on each side of it.
std::vector<InvoiceShape> yearInvoices()
{
    using zelva::TaxMode;
    return {
        { 1, "01/04/2025", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Depot", "Kerala", TaxMode::Cgst,
            { { "Steel Rod", "7214", 20, "Kg", "50", "1000.00" } }, Base { nullptr, "N.A.", "0", "9", "90.00" },
            Base {}, Base {}, "0", 90 },
        { 2, "31/12/2025", "Bharat Motors", "29AAACI1681G1ZL", "Karnataka", "Bharat Motors", "Karnataka", TaxMode::Igst,
            { { "Hex Bolt", "7318", 500, "Nos", "1", "500.00" } }, Base { nullptr, "N.A.", "0", "18", "90.00" },
            Base {}, Base {}, "0", 90 },
        { 3, "1/1/2026", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
            { { "Paint Tin", "3208", 1.25, "Ltr", "200", "250.00" } }, Base { nullptr, "N.A.", "0", "18", "45.00" },
            Base {}, Base {}, "0", 45 },
        { 4, "31/03/2026", "Local Buyer", "", "Tamil Nadu", "Local Buyer", "Tamil Nadu", TaxMode::Cgst,
            { { "Cement Bag", "2523", 8, "Bag", "250", "2000.00" } }, Base { nullptr, "N.A.", "0", "2.5", "50.00" },
            Base {}, Base {}, "0", 50 },
        { 5, "31/03/2025", "Arun Traders", "33ARUNT1234A1Z2", "Tamil Nadu", "Arun Traders", "Tamil Nadu", TaxMode::Cgst,
            { { "Steel Rod", "7214", 1, "Kg", "70", "70.00" } }, Base { nullptr, "N.A.", "0", "9", "6.30" }, Base {},
            Base {}, "0", 6.3 },
        { 6, "01/04/2026", "Cochin Stores", "N.A.", "Kerala", "Cochin Stores", "Kerala", TaxMode::Igst,
            { { "Paint Tin", "3208", 1, "Ltr", "300", "300.00" } }, Base { nullptr, "N.A.", "0", "18", "54.00" },
            Base {}, Base {}, "0", 54 },
    };
}

QStringList gridRow(const QTableView* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << GridText(grid, row, c);
    return texts;
}

// The texts of every page of the report windows open, which are then closed.
QStringList takeReportTexts()
{
    QStringList texts;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ReportWindow*>(w); window && window->isVisible()) {
            for (const report::ReportPage& page : window->pages())
                for (const report::PlacedText& text : page.texts)
                    texts << text.text;
            window->close();
        }
    return texts;
}

// Chooses the between row with those days and presses Show.
void showBetween(frmSalesReport& form, const QDate& from, const QDate& to)
{
    testing::click(form.choice->option(ReportPeriod::Between));
    form.choice->cboStartDate->setDate(from);
    form.choice->cboEndDate->setDate(to);
    testing::click(form.cmdShow);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TempData> m_data;
private slots:
    void initTestCase()
    {
        m_data = std::make_unique<testing::TempData>();
        testing::addCompany(*m_data->db, "33AAACH7409R1Z8");
        for (const InvoiceShape& shape : yearInvoices())
            testing::writeInvoice(*m_data->db, shape);
    }

    void yearlyGridsRunAprilToMarch()
    {
        frmYearlyReport form(*m_data->db);
        QCOMPARE(form.cboYear->currentText(), FinancialYearText(FinancialYearOf(QDate::currentDate())));
        QVERIFY(testing::pick(form.cboYear, "2025-26"));
        QCOMPARE(form.startYear(), 2025);

        QCOMPARE(GridRows(form.grdMonths), 13);
        const QList<std::pair<int, QStringList>> expected {
            { 0, { "April 2025", "1", "0", "1000.00", "90.00", "90.00", "0.00", "1180.00" } },
            { 1, { "May 2025", "0", "0", "0.00", "0.00", "0.00", "0.00", "0.00" } },
            { 8, { "December 2025", "1", "0", "500.00", "0.00", "0.00", "90.00", "590.00" } },
            { 9, { "January 2026", "1", "0", "250.00", "0.00", "0.00", "45.00", "295.00" } },
            { 11, { "March 2026", "1", "0", "2000.00", "50.00", "50.00", "0.00", "2100.00" } },
            { 12, { "Total", "4", "0", "3750.00", "140.00", "140.00", "135.00", "4165.00" } },
        };
        for (const auto& [row, texts] : expected)
            QCOMPARE(gridRow(form.grdMonths, row), texts);

        // Ordered by HSN; the two invoices outside the year add nothing.
        QCOMPARE(GridRows(form.grdHsn), 5);
        QCOMPARE(gridRow(form.grdHsn, 1).mid(0, 6), QStringList({ "3208", "Paint Tin", "Ltr", "1.25", "18", "250.00" }));
        QCOMPARE(gridRow(form.grdHsn, 2).mid(0, 6), QStringList({ "7214", "Steel Rod", "Kg", "20", "18", "1000.00" }));
        QCOMPARE(gridRow(form.grdHsn, 4).mid(5), QStringList({ "3750.00", "135.00", "140.00", "140.00" }));

        QVERIFY(testing::pick(form.cboYear, "2026-27"));
        QCOMPARE(
            gridRow(form.grdMonths, 0), QStringList({ "April 2026", "1", "0", "300.00", "0.00", "0.00", "54.00", "354.00" }));
    }

    void yearlyPrintAndCsvShowTheGrid()
    {
        frmYearlyReport form(*m_data->db);
        QVERIFY(testing::pick(form.cboYear, "2025-26"));

        testing::click(form.cmdPrintMonths);
        const QStringList paper = takeReportTexts();
        for (const QString& shown : gridRow(form.grdMonths, 12) + gridRow(form.grdMonths, 8))
            QVERIFY2(paper.contains(shown), qPrintable(shown));

        testing::click(form.cmdPrintHsn);
        QVERIFY(takeReportTexts().contains("Cement Bag"));

        const QString path = m_data->folder() + "/year.csv";
        QVERIFY(form.saveMonthsCsv(path));
        const QString csv = QString::fromUtf8(fileBytes(path));
        QVERIFY2(csv.contains("Total 2025-26,4,0,3750.00,140.00,140.00,135.00,4165.00"), qPrintable(csv));
        QVERIFY(form.saveHsnCsv(m_data->folder() + "/hsn.csv"));
        QVERIFY(fileBytes(m_data->folder() + "/hsn.csv").contains("2523"));

        QVERIFY(form.saveMonthsXlsx(m_data->folder() + "/year.xlsx"));
        const testing::XlsxBook months(m_data->folder() + "/year.xlsx");
        QCOMPARE(months.cell("A14").value, QString("Total 2025-26"));
        QVERIFY(months.cell("B14").isNumber());
        QCOMPARE(months.cell("B14").value, QString("4"));
        QCOMPARE(months.cell("C14").value, QString("0")); // cancelled, as in the CSV
        QCOMPARE(months.cell("H14").paise(), 416500);
        QVERIFY(form.saveHsnXlsx(m_data->folder() + "/hsn.xlsx"));
        const testing::XlsxBook hsn(m_data->folder() + "/hsn.xlsx");
        QCOMPARE(hsn.cell("A2").value, QString("2523")); // a code, kept as text
        QVERIFY(hsn.cell("A2").isText());
        QCOMPARE(hsn.cell("E3").value, QString("1.25")); // Paint Tin's quantity
    }

    void salesRegisterCsvWritten()
    {
        testing::MessageRecorder messages;
        frmSalesReport form(*m_data->db);
        QCOMPARE(form.choice->period(), ReportPeriod::CurrentMonth);
        showBetween(form, { 2025, 12, 31 }, { 2026, 1, 1 });
        QCOMPARE(GridRows(form.grdRegister), 3); // two invoices and the totals
        QCOMPARE(gridRow(form.grdRegister, 1).mid(0, 5),
            QStringList({ "A00003", "1/1/2026", "Cochin Stores", "", "32-Kerala" }));
        QVERIFY(!form.cmdSaveReturn->isEnabled()); // two days of two months

        const QString path = m_data->folder() + "/sales.csv";
        QVERIFY(form.saveCsv(path));
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4); // header, two invoices, totals
        QVERIFY2(lines.last().contains("885.00"), qPrintable(lines.last()));

        // A period that ends before it begins is refused and the register stays.
        showBetween(form, { 2026, 2, 1 }, { 2026, 1, 1 });
        QVERIFY(messages.last().contains("start date comes after the end date"));
        QCOMPARE(form.days()->from, QDate(2025, 12, 31));

        // All: every invoice of both years, printed as the grid shows it.
        testing::click(form.choice->option(ReportPeriod::All));
        testing::click(form.cmdShow);
        QCOMPARE(GridRows(form.grdRegister), 7);
        testing::click(form.cmdPrint);
        const QStringList paper = takeReportTexts();
        for (const QString& shown : gridRow(form.grdRegister, 6) + QStringList { "All invoices" })
            QVERIFY2(paper.contains(shown), qPrintable(shown));
    }

    // Save as Excel offers a file named for the period in the Prints folder and
    // writes what the grid shows, dates and amounts as numbers.
    void salesRegisterSavedAsExcel()
    {
        testing::MessageRecorder messages;
        frmSalesReport form(*m_data->db);
        showBetween(form, { 2025, 12, 31 }, { 2026, 1, 1 });
        const QString path = m_data->folder() + "/sales register.xlsx";
        QString offered;
        testing::withModal([&] { testing::click(form.cmdSaveXlsx); },
            [&](QDialog* dialog) {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                if (!files)
                    return dialog->reject();
                offered = files->selectedFiles().value(0);
                files->findChild<QLineEdit*>("fileNameEdit")->setText(path); // typed over the name offered
                dialog->accept();
            });
        QCOMPARE(offered, m_data->folder() + "/Prints/Sales Register 2025-12-31 to 2026-01-01.xlsx");
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join("\n")));
        const testing::XlsxBook book(path);
        QCOMPARE(book.cell("A3").value, gridRow(form.grdRegister, 1).value(0));
        QCOMPARE(book.cell("B2").date(), QDate(2025, 12, 31));
        QCOMPARE(book.cell("I2").paise(), 9000); // the IGST
        QVERIFY(book.cell("J4").isNumber());
        QCOMPARE(book.cell("J4").paise(), 88500); // the totals line
        QCOMPARE(book.frozenAt(), QString("A2"));

        // A folder that cannot be written is told and no file is claimed.
        QVERIFY(!form.saveXlsx(path + "/inside.xlsx"));
        QVERIFY2(messages.last().contains("inside.xlsx"), qPrintable(messages.last()));
    }

    void salesReturn_data()
    {
        QTest::addColumn<QString>("companyGstin"); // "" for no company at all
        QTest::addColumn<int>("period");
        QTest::addColumn<QDate>("from"); // the between row's days
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("told"); // part of the message
        QTest::addColumn<QString>("fp"); // the return's period; "" when no file
        const QString valid = "33AAACH7409R1Z8";
        const int between = int(ReportPeriod::Between);
        const QDate dec1(2025, 12, 1), dec31(2025, 12, 31);
        QTest::newRow("December between 1st and 31st") << valid << between << dec1 << dec31 << "is saved in"
                                                       << "122025";
        QTest::newRow("month without invoices")
            << valid << between << QDate(2025, 11, 1) << QDate(2025, 11, 30) << "no invoice dated"
            << "";
        QTest::newRow("this month, without invoices")
            << valid << int(ReportPeriod::CurrentMonth) << dec1 << dec31 << "no invoice dated"
            << "";
        QTest::newRow("two months") << valid << between << dec1 << QDate(2026, 1, 31) << "one calendar month"
                                    << "";
        QTest::newRow("a month less a day") << valid << between << dec1 << QDate(2025, 12, 30) << "one calendar month"
                                            << "";
        QTest::newRow("all sales") << valid << int(ReportPeriod::All) << dec1 << dec31 << "one calendar month"
                                   << "";
        QTest::newRow("mistyped company GSTIN") << "33AAACH7409R1Z9" << between << dec1 << dec31 << "Company's GSTIN (gstin)"
                                                << "";
        QTest::newRow("no company") << "" << between << dec1 << dec31 << "company"
                                    << "";
    }

    // The return button is there exactly for one calendar month; the file is
    // written only for a month with invoices and a company with a valid GSTIN.
    void salesReturn()
    {
        QFETCH(QString, companyGstin);
        QFETCH(int, period);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, told);
        QFETCH(QString, fp);
        testing::TempData data;
        for (const InvoiceShape& shape : yearInvoices())
            testing::writeInvoice(*data.db, shape);
        if (!companyGstin.isEmpty())
            testing::addCompany(*data.db, companyGstin);
        testing::MessageRecorder messages;
        testing::Answers yes(true); // the Return Check's warnings, such as a month not yet ended
        frmSalesReport form(*data.db);
        if (period == int(ReportPeriod::Between)) {
            showBetween(form, from, to);
        } else {
            testing::click(form.choice->option(ReportPeriod(period)));
            testing::click(form.cmdShow);
        }
        const bool oneMonth = !told.contains("one calendar month");
        QCOMPARE(form.cmdSaveReturn->isEnabled(), oneMonth);
        QCOMPARE(form.lblReturnMonth->text().contains("show one calendar month"), !oneMonth);

        const QString path = data.folder() + "/return.json";
        QCOMPARE(form.saveReturn(path), !fp.isEmpty());
        QVERIFY2(messages.last().contains(told, Qt::CaseInsensitive), qPrintable(messages.last()));
        QCOMPARE(QFile::exists(path), !fp.isEmpty());
        if (!fp.isEmpty())
            QCOMPARE(QJsonDocument::fromJson(fileBytes(path)).object().value("fp").toString(), fp);
    }

    // A sixty-character buyer breaks over two lines of its column and the
    // register, too wide for an upright page, is printed landscape; the yearly
    // grid stays upright.
    void longValuesOnPaper()
    {
        ON_FILES_ONLY();
        testing::TempData data;
        InvoiceShape shape = yearInvoices()[1];
        shape.buyer = "Sri Venkateswara Hardware Tools And Electrical Agencies Ltd.";
        testing::writeInvoice(*data.db, shape);
        frmSalesReport sales(*data.db);
        showBetween(sales, { 2025, 12, 1 }, { 2025, 12, 31 });
        const report::ReportLayout register_ = TableLayout(sales.registerTable());
        QVERIFY(register_.landscape);
        QVERIFY(register_.detail.values[2].wrap); // the buyer
        QVERIFY(!register_.detail.values[9].wrap); // the total
        testing::click(sales.cmdPrint);
        QVERIFY(takeReportTexts().contains(shape.buyer));

        frmYearlyReport yearly(*data.db);
        QVERIFY(!TableLayout(yearly.monthsTable()).landscape);
    }
};

QTEST_MAIN(TestReportWindows)
#include "test_reportwindows.moc"
