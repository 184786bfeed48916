// The Bank Statement window worked as the operator works it: a bank's name
// typed, the statement file chosen, its columns offered as the bank heads
// them, Import; the line matched by its UTR confirmed; an unmatched credit
// picked, the buyer chosen and made a receipt allotted to the buyer's open
// invoice, matched to the line, with its audit entries; the same file
// imported again adding nothing.
#include "payments/frmbankstatement.h"

#include "data/serials.h"
#include "invoice/shop.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "sales/invoicestore.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace zelva;
using namespace testing;

namespace {

const QDate First = QDate::currentDate().addDays(-30);

Paise amountOf(int i) { return (2000 + 211 * i) * 100 + i; }

// Twelve lines, credits on even lines, one a day; line 2's UTR in its own column.
QByteArray statement()
{
    QString csv = QStringLiteral("Date,Narration,Chq./Ref.No.,Withdrawal Amt.,Deposit Amt.,Closing Balance\n");
    Paise balance = 1000000;
    for (int i = 0; i < 12; ++i) {
        const bool credit = i % 2 == 0;
        balance += credit ? amountOf(i) : -amountOf(i);
        const QString amount = QStringLiteral("\"%1\"").arg(ShownAmountText(amountOf(i), true));
        csv += QStringLiteral("%1,NEFT %2,UTR%3,%4,%5,\"%6\"\n")
                   .arg(First.addDays(i).toString("dd-MMM-yyyy"))
                   .arg(i)
                   .arg(4410000 + i)
                   .arg(credit ? QString() : amount, credit ? amount : QString(), ShownAmountText(balance, true));
    }
    return csv.toUtf8();
}

Invoice sale(qint64 serial, const char* buyerCode, const char* buyerName, const QDate& date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = DateText(date);
    x.buyerCode = buyerCode;
    x.buyer.name = buyerName;
    x.lines = {InvoiceLine{"", "Cable", "", "Nos.", 1, rate, LineAmount(1, rate)}};
    ComputeTotals(x);
    return x;
}

QString cellText(QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

constexpr int StateColumn = 6;
constexpr int MoneyColumn = 7;

} // namespace

class BankStatementFormTest : public QObject {
    Q_OBJECT
private slots:
    void importedMatchedAndCreditMadeAReceipt();
};

void BankStatementFormTest::importedMatchedAndCreditMadeAReceipt()
{
    TempData data;
    Database& db = *data.db;
    addSeller(db);
    addBuyer(db, 1, "Anand", "Kerala");
    addBuyer(db, 2, "Bala", "Kerala");
    StoreInvoice(db, sale(1, "C00002", "Bala", First, 700));
    Receipt utr;
    utr.date = DateText(First.addDays(3)); // a day off: the UTR decides
    utr.buyerCode = "C00001";
    utr.buyerName = "Anand";
    utr.mode = PaymentMode::Upi;
    utr.reference = "utr 4410002";
    utr.amount = amountOf(2);
    QVERIFY(StoreReceipt(db, utr, QDate::currentDate()).saved());
    const QString path = data.folder() + "/hdfc statement.csv";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(statement());
    file.close();

    MessageRecorder messages;
    frmBankStatement form(db, "meena");
    typeInto(form.cboBank->lineEdit(), "HDFC Bank");
    QVERIFY(form.openFile(path));
    QStringList offered;
    for (QComboBox* column : form.cboColumn)
        offered << column->currentText();
    QCOMPARE(offered, (QStringList{"Date", "Narration", "Chq./Ref.No.", "Withdrawal Amt.", "Deposit Amt.", "Closing Balance"}));
    click(form.cmdImport);
    QCOMPARE(messages.last(), QString("12 line(s) imported, 0 already there."));
    QCOMPARE(form.grdLines->rowCount(), 12);
    QCOMPARE(cellText(form.grdLines, 2, StateColumn), QString("Matched"));
    QVERIFY(cellText(form.grdLines, 2, MoneyColumn).startsWith("R00001 "));
    QCOMPARE(cellText(form.grdLines, 8, StateColumn), QString("Unmatched"));
    QCOMPARE(form.lblSummary->text(),
             QString("12 lines: 0 kept, 1 matched, 0 suggested, 11 unmatched; 0 receipts and payments by bank with no line."));

    click(form.cmdConfirmAll);
    QCOMPARE(messages.last(), QString("1 match(es) kept."));
    QCOMPARE(cellText(form.grdLines, 2, StateColumn), QString("Kept"));

    // Line 9 (a credit of 3,688.08): no buyer chosen yet, then Bala.
    form.grdLines->selectRow(8);
    QVERIFY(form.cmdMake->isEnabled());
    QCOMPARE(itemsOf(form.cboParty), (QStringList{"Anand (C00001)", "Bala (C00002)"}));
    click(form.cmdMake);
    QCOMPARE(messages.last(), QString("Choose the buyer the money came from (Buyer / supplier)."));
    QVERIFY(pick(form.cboParty, "Bala (C00002)"));
    click(form.cmdMake);
    QCOMPARE(messages.last(), QString("Receipt R00002 saved and matched to the line."));
    QCOMPARE(cellText(form.grdLines, 8, StateColumn), QString("Kept"));
    QVERIFY(cellText(form.grdLines, 8, MoneyColumn).startsWith("R00002 "));
    QVERIFY(!form.cmdMake->isEnabled());

    QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice,
                        "SELECT ReceiptDate, bid, Mode, Reference, Bank, AmountPaise, EnteredBy FROM Receipt WHERE ReceiptNo = 'R00002'"),
             (QList<QVariantList>{{DateText(First.addDays(8)), "C00002", "Bank transfer", "UTR4410008", "HDFC Bank", amountOf(8), "meena"}}));
    QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice, "SELECT InvoiceNo, AmountPaise FROM ReceiptAllotment WHERE ReceiptNo = 'R00002'"),
             (QList<QVariantList>{{"A00001", 70000}}));
    QCOMPARE(rowsInFile(data.folder(), DbFile::Master, "SELECT MoneyKey FROM BankMatch ORDER BY MoneyKey"),
             (QList<QVariantList>{{"R R00001"}, {"R R00002"}}));
    QCOMPARE(rowsInFile(data.folder(), DbFile::Zlv,
                        "SELECT TableName, RecordKey FROM AuditTrail WHERE RecordKey IN ('R00002', 'R R00002') ORDER BY Sno"),
             (QList<QVariantList>{{"Receipt", "R00002"}, {"BankMatch", "R R00002"}}));

    // The same file again: nothing doubled, and the kept matches stand.
    click(form.cmdImport);
    QCOMPARE(messages.last(), QString("0 line(s) imported, 12 already there."));
    QCOMPARE(valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM BankStatementLine").toInt(), 12);
    QCOMPARE(cellText(form.grdLines, 8, StateColumn), QString("Kept"));
    QCOMPARE(valueInFile(data.folder(), DbFile::Master, "SELECT BankName FROM BankLayout").toString(), QString("HDFC Bank"));
}

QTEST_MAIN(BankStatementFormTest)
#include "test_bankstatementform.moc"
