// Every workbook the registers and reports write, read back as a spreadsheet
// reads it: amounts, quantities, rates and counts are number cells it can add
// up; invoice and bill numbers, GSTINs and HSN codes stay text as typed, even
// when they are all digits with leading zeros.
#include "registers/auditreport.h"
#include "registers/cashbook.h"
#include "registers/noteregister.h"
#include "registers/outstanding.h"
#include "registers/payables.h"
#include "registers/purchaseregister.h"
#include "registers/registersheets.h"
#include "registers/stockvalue.h"
#include "reports/xlsxreader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace zelva;

Q_DECLARE_METATYPE(std::function<XlsxSheet()>)

namespace {

using MakeSheet = std::function<XlsxSheet()>;

const QString BuyerGstin = QStringLiteral("33ARUNT1234A1Z2");
const QString SupplierGstin = QStringLiteral("29AABCB1234C1Z5");
const QString InvoiceNumber = QStringLiteral("000123"); // digits only: a number would lose its zeros
const QString BillNumber = QStringLiteral("0045");

SalesFigures salesFigures()
{
    SalesFigures f;
    f.invoices = 3;
    f.cancelled = 1;
    f.taxable = 1234567;
    f.tax.cgst = 111111;
    f.tax.sgst = 111111;
    f.tax.igst = 0;
    f.total = 1456789;
    return f;
}

XlsxSheet salesRegister()
{
    SalesRegister r;
    RegisterLine line;
    line.number = InvoiceNumber;
    line.date = QDate(2026, 8, 14);
    line.buyer = QStringLiteral("Arun Traders");
    line.buyerGstin = BuyerGstin;
    line.placeOfSupply = QStringLiteral("33-Tamil Nadu");
    line.figures = salesFigures();
    r.lines.push_back(line);
    r.totals = salesFigures();
    return SalesRegisterSheet(r);
}

XlsxSheet yearlySummary()
{
    YearlySummary s;
    s.startYear = 2026;
    s.months[0].month = MonthPeriod(2026, 4);
    s.months[0].figures = salesFigures();
    s.totals = salesFigures();
    return YearlySummarySheet(s);
}

XlsxSheet hsnSummary()
{
    HsnLine line;
    line.hsn = QStringLiteral("0401");
    line.description = QStringLiteral("Milk");
    line.unit = QStringLiteral("Ltr");
    line.uqc = QStringLiteral("LTR");
    line.quantity = 12.5;
    line.rate = 5;
    line.taxable = 1234567;
    line.tax.cgst = 30864;
    line.tax.sgst = 30864;
    return HsnSummarySheet({ line });
}

XlsxSheet purchaseRegister()
{
    PurchaseRegister r;
    PurchaseRegisterLine line;
    line.date = QDate(2026, 8, 3);
    line.number = BillNumber;
    line.supplier = QStringLiteral("Bala Agencies");
    line.gstin = SupplierGstin;
    line.rate = 18;
    line.taxable = 1234567;
    line.tax.igst = 222222;
    r.lines.push_back(line);
    r.byRate.push_back({ 18, line.taxable, line.tax });
    r.bills = 1;
    r.taxable = line.taxable;
    r.tax = line.tax;
    return PurchaseRegisterSheet(r);
}

XlsxSheet noteRegister()
{
    SavedNote note;
    note.number = QStringLiteral("0007");
    note.date = QDate(2026, 8, 20);
    note.reason = QStringLiteral("600001"); // a PIN-like reason stays text
    note.taxable = 1234567;
    note.tax.cgst = 111111;
    note.tax.sgst = 111111;
    note.total = 1456789;
    note.invoice.number = InvoiceNumber;
    note.invoice.date = QDate(2026, 8, 14);
    note.invoice.buyerName = QStringLiteral("Arun Traders");
    note.invoice.buyerGstin = BuyerGstin;
    return NoteRegisterSheet(BuildNoteRegister(MonthPeriod(2026, 8), { note }));
}

Outstanding outstanding(const QString& number)
{
    Outstanding o;
    o.asAt = QDate(2026, 9, 30);
    OutstandingBuyer buyer;
    buyer.name = QStringLiteral("Arun Traders");
    OutstandingLine line;
    line.number = number;
    line.date = QDate(2026, 8, 14);
    line.days = 47;
    line.figures.amount = 1456789;
    line.figures.paid = 456789;
    line.figures.balance = 1000000;
    line.figures.ageing[1] = 1000000;
    buyer.lines.push_back(line);
    o.buyers.push_back(buyer);
    AddUpOutstanding(o);
    return o;
}

XlsxSheet receivables() { return OutstandingSheet(outstanding(InvoiceNumber)); }

XlsxSheet payables()
{
    Outstanding o = outstanding(BillNumber);
    o.words = PayablesWords();
    return OutstandingSheet(o);
}

XlsxSheet statement()
{
    Statement s;
    s.period = MonthPeriod(2026, 8);
    s.opening = 50000;
    s.lines.push_back({ QDate(2026, 8, 14), {}, QStringLiteral("Invoice ") + InvoiceNumber, 1456789, 0, 1506789 });
    s.debits = 1456789;
    s.closing = 1506789;
    return StatementSheet(s);
}

// An item whose name is all digits; the quantities with fractions, the cost
// and the value in paise.
XlsxSheet stockValue()
{
    StockValue r;
    r.asAt = QDate(2026, 9, 30);
    StockValueLine line;
    line.itemCode = QStringLiteral("G00007");
    line.itemName = QStringLiteral("0401");
    line.per = QStringLiteral("Ltr");
    line.opening = 10.5;
    line.purchased = 20.25;
    line.sold = 7.75;
    line.issued = 1;
    line.onHand = 22;
    line.unitCost = 5612;
    line.value = 123464;
    r.lines.push_back(line);
    r.total = line.value;
    return StockValueSheet(r);
}

// The opening cash, a receipt, a payment and the closing line.
XlsxSheet cashBook()
{
    CashBook b;
    b.period = MonthPeriod(2026, 8);
    b.opening = 50000;
    b.lines.push_back({ QDate(2026, 8, 14), QStringLiteral("10:15"), QStringLiteral("R00001"),
        QStringLiteral("Receipt R00001 from Arun Traders"), 1456789, 0, 1506789 });
    b.lines.push_back({ QDate(2026, 8, 16), QStringLiteral("11:00"), QStringLiteral("V00001"),
        QStringLiteral("Payment V00001 to Bala Agencies"), 0, 234567, 1272222 });
    b.totalIn = 1456789;
    b.totalOut = 234567;
    b.closing = 1272222;
    return CashBookSheet(b);
}

// What changed stays as it was typed, whatever it looks like; only the entry
// number is a number.
XlsxSheet auditTrail()
{
    AuditEntry entry;
    entry.serial = 42;
    entry.at = QStringLiteral("2026-08-14 10:15:00");
    entry.table = QStringLiteral("Stock");
    entry.key = InvoiceNumber;
    entry.action = QStringLiteral("Changed");
    entry.changes.push_back({ QStringLiteral("HSN"), QStringLiteral("0401"), QStringLiteral("0402") });
    return AuditTrailSheet({ entry });
}

// "F2:J3": every cell of the block.
QStringList cellsOf(const QString& block)
{
    const QStringList ends = block.split(':');
    const QString first = ends.front(), last = ends.back();
    QStringList refs;
    for (QChar column = first[0]; column <= last[0]; column = QChar(column.unicode() + 1))
        for (int row = first.mid(1).toInt(); row <= last.mid(1).toInt(); ++row)
            refs << QStringLiteral("%1%2").arg(column).arg(row);
    return refs;
}

} // namespace

class TestXlsxCells : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;

private slots:
    // Each report kind: the blocks of number cells and the texts that must
    // stay text; one amount read back to the paisa.
    void figuresAreNumbers_data()
    {
        QTest::addColumn<MakeSheet>("make");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("texts"); // "A2=000123"
        QTest::addColumn<QString>("amount"); // "" for a sheet without amounts
        QTest::addColumn<qint64>("paise");
        QTest::newRow("sales register") << MakeSheet(salesRegister) << QStringList { "F2:J3" }
                                        << QStringList { "A2=" + InvoiceNumber, "D2=" + BuyerGstin, "C3=3 invoices" }
                                        << "F2" << qint64(1234567);
        QTest::newRow("yearly report") << MakeSheet(yearlySummary) << QStringList { "B2:H2", "B14:H14" }
                                       << QStringList { "A2=April 2026" } << "H14" << qint64(1456789);
        QTest::newRow("HSN summary") << MakeSheet(hsnSummary) << QStringList { "E2:J2" }
                                     << QStringList { "A2=0401", "D2=LTR" } << "G2" << qint64(1234567);
        QTest::newRow("purchase register")
            << MakeSheet(purchaseRegister) << QStringList { "E2:J3", "F4:J4" }
            << QStringList { "B2=" + BillNumber, "D2=" + SupplierGstin } << "J4" << qint64(1456789);
        QTest::newRow("credit and debit notes")
            << MakeSheet(noteRegister) << QStringList { "I2:M2", "I3:M5" }
            << QStringList { "A2=0007", "D2=" + InvoiceNumber, "G2=" + BuyerGstin, "H2=600001" } << "M2"
            << qint64(1456789);
        QTest::newRow("outstanding") << MakeSheet(receivables) << QStringList { "D2:L2", "D3:F4" }
                                     << QStringList { "B2=" + InvoiceNumber } << "I2" << qint64(1000000);
        QTest::newRow("payables") << MakeSheet(payables) << QStringList { "D2:L2", "D3:F4" }
                                  << QStringList { "B2=" + BillNumber } << "E2" << qint64(456789);
        QTest::newRow("statement") << MakeSheet(statement) << QStringList { "E2", "C3", "E3", "C4:E4" }
                                   << QStringList { "B3=Invoice " + InvoiceNumber } << "E4" << qint64(1506789);
        QTest::newRow("stock value") << MakeSheet(stockValue) << QStringList { "D2:J2", "J3" }
                                     << QStringList { "A2=G00007", "B2=0401", "C2=Ltr" } << "I2" << qint64(5612);
        QTest::newRow("cash book") << MakeSheet(cashBook) << QStringList { "E2", "C3", "E3", "D4:E4", "C5:E5" }
                                   << QStringList { "B3=Receipt R00001 from Arun Traders" } << "D5" << qint64(234567);
        QTest::newRow("audit trail") << MakeSheet(auditTrail) << QStringList { "A2" }
                                     << QStringList { "F2=" + InvoiceNumber, "I2=0401", "J2=0402" } << "" << qint64(0);
    }
    void figuresAreNumbers()
    {
        QFETCH(MakeSheet, make);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, texts);
        QFETCH(QString, amount);
        QFETCH(qint64, paise);
        const QString path = m_folder.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".xlsx");
        QCOMPARE(make().save(path), QString());
        const testing::XlsxBook book(path);
        QVERIFY(book.read());
        for (const QString& block : numbers)
            for (const QString& ref : cellsOf(block))
                QVERIFY2(book.cell(ref).isNumber(), qPrintable(ref + " holds " + book.cell(ref).value));
        for (const QString& text : texts) {
            const QString ref = text.section('=', 0, 0);
            QVERIFY2(book.cell(ref).isText(), qPrintable(ref));
            QCOMPARE(book.cell(ref).value, text.section('=', 1));
        }
        if (amount.isEmpty())
            return;
        QCOMPARE(book.cell(amount).paise(), paise);
        QCOMPARE(book.cell(amount).numberFormat, QString(XlsxSheet::AmountFormat));
    }
};

QTEST_GUILESS_MAIN(TestXlsxCells)
#include "test_xlsxcells.moc"
