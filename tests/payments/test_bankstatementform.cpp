// The Bank Statement window worked as the operator works it: a bank's name
// typed, the statement file chosen, its columns offered as the bank heads
// them, Import; the line matched by its UTR confirmed; an unmatched credit
// picked, the buyer chosen and made a receipt allotted to the buyer's open
// invoice, matched to the line, with its audit entries; the same file
// imported again adding nothing.
#include "payments/frmbankstatement.h"
#include "payments/frmpayment.h"
#include "payments/frmreceipt.h"

#include "data/serials.h"
#include "invoice/shop.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "sales/invoicestore.h"
#include "sales/paymentstore.h"

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

// The balance after line last of the bank's account (before the first: 10,000.00).
Paise balanceAfter(int last)
{
    Paise balance = 1000000;
    for (int i = 0; i <= last; ++i)
        balance += i % 2 == 0 ? amountOf(i) : -amountOf(i);
    return balance;
}

// The account's lines from..to as the bank writes them: credits on even
// lines, one a day; each line's UTR in its own column.
QByteArray statementOf(int from, int to)
{
    QString csv = QStringLiteral("Date,Narration,Chq./Ref.No.,Withdrawal Amt.,Deposit Amt.,Closing Balance\n");
    for (int i = from; i <= to; ++i) {
        const bool credit = i % 2 == 0;
        const QString amount = QStringLiteral("\"%1\"").arg(ShownAmountText(amountOf(i), true));
        csv += QStringLiteral("%1,NEFT %2,UTR%3,%4,%5,\"%6\"\n")
                   .arg(First.addDays(i).toString("dd-MMM-yyyy"))
                   .arg(i)
                   .arg(4410000 + i)
                   .arg(credit ? QString() : amount, credit ? amount : QString(), ShownAmountText(balanceAfter(i), true));
    }
    return csv.toUtf8();
}

// Twelve lines, line 2's UTR in its own column.
QByteArray statement() { return statementOf(0, 11); }

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

Invoice sale(qint64 serial, const char* buyerCode, const char* buyerName, const QDate& date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = date;
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
    void nextStatementFollowsTheLastKeptLine();
    void cancellingMatchedMoneyUnmatchesItsLine();
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
    utr.date = First.addDays(3); // a day off: the UTR decides
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

// November's statement (lines 0-11) imported, then December's: first one
// that lacks its first line (12), refused naming the gap, with nothing
// kept of it; then the whole one (12-14), taken. Another bank's statement
// starts on its own.
void BankStatementFormTest::nextStatementFollowsTheLastKeptLine()
{
    TempData data;
    Database& db = *data.db;
    addSeller(db);
    MessageRecorder messages;
    frmBankStatement form(db, "meena");
    typeInto(form.cboBank->lineEdit(), "HDFC Bank");
    QVERIFY(form.openFile(writeFile(data.folder() + "/november.csv", statementOf(0, 11))));
    click(form.cmdImport);
    QCOMPARE(messages.last(), QString("12 line(s) imported, 0 already there."));

    QVERIFY(form.openFile(writeFile(data.folder() + "/december gap.csv", statementOf(13, 14))));
    click(form.cmdImport);
    const QString shown13 = ShownAmountText(amountOf(13), true);
    QCOMPARE(messages.last(),
             QString("Line 1 (row 2, %1): the opening balance %2 (balance %3 - credit 0.00 + debit %4) does not follow "
                     "from the last line kept of the bank's earlier statements (%5, balance %6): a line is missing or "
                     "changed between them. Nothing was imported: import the bank's statement of the days between first.")
                 .arg(DateText(First.addDays(13)), ShownAmountText(balanceAfter(12), true),
                      ShownAmountText(balanceAfter(13), true), shown13, DateText(First.addDays(11)),
                      ShownAmountText(balanceAfter(11), true)));
    QCOMPARE(valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM BankStatementLine").toInt(), 12);
    QCOMPARE(form.grdLines->rowCount(), 12);

    QVERIFY(form.openFile(writeFile(data.folder() + "/december.csv", statementOf(12, 14))));
    click(form.cmdImport);
    QCOMPARE(messages.last(), QString("3 line(s) imported, 0 already there."));
    QCOMPARE(form.grdLines->rowCount(), 15);

    // the same lines from another account: no earlier line of its own to follow
    form.cboBank->lineEdit()->clear();
    typeInto(form.cboBank->lineEdit(), "Canara Bank");
    QVERIFY(form.openFile(writeFile(data.folder() + "/canara.csv", statementOf(13, 14))));
    click(form.cmdImport);
    QCOMPARE(messages.last(), QString("2 line(s) imported, 0 already there."));
}

// Receipt R00001 kept matched to line 3 (a credit) and payment V00001 to
// line 2 (a debit); each cancelled from its own window: the operator is told
// which line it leaves unmatched, No keeps everything, Yes cancels it and
// drops its match at once, and the statement shows the line unmatched.
void BankStatementFormTest::cancellingMatchedMoneyUnmatchesItsLine()
{
    TempData data;
    Database& db = *data.db;
    addSeller(db);
    addBuyer(db, 1, "Anand", "Kerala");
    Receipt received;
    received.date = First.addDays(2);
    received.buyerCode = "C00001";
    received.buyerName = "Anand";
    received.mode = PaymentMode::Upi;
    received.reference = "UTR4410002";
    received.amount = amountOf(2);
    QVERIFY(StoreReceipt(db, received, QDate::currentDate()).saved());
    Payment paid;
    paid.date = First.addDays(1);
    paid.supplierName = "Kavi Steels";
    paid.mode = PaymentMode::BankTransfer;
    paid.reference = "UTR4410001";
    paid.amount = amountOf(1);
    QVERIFY(StorePayment(db, paid, QDate::currentDate()).saved());

    MessageRecorder messages;
    frmBankStatement statement(db, "meena");
    typeInto(statement.cboBank->lineEdit(), "HDFC Bank");
    QVERIFY(statement.openFile(writeFile(data.folder() + "/hdfc.csv", statementOf(0, 11))));
    click(statement.cmdImport);
    click(statement.cmdConfirmAll);
    QCOMPARE(messages.last(), QString("2 match(es) kept."));
    QCOMPARE(cellText(statement.grdLines, 1, StateColumn), QString("Kept"));
    QCOMPARE(cellText(statement.grdLines, 2, StateColumn), QString("Kept"));

    const auto matches = [&] {
        return rowsInFile(data.folder(), DbFile::Master, "SELECT MoneyKey, LineSno FROM BankMatch ORDER BY MoneyKey");
    };
    const QList<QVariantList> bothKept = matches();
    QCOMPARE(bothKept.size(), 2);
    const QString receiptWarning =
        QString("Receipt R00001 is matched to the bank statement line of %1 (HDFC Bank, UTR4410002, %2): cancelling "
                "leaves that line unmatched.")
            .arg(DateText(First.addDays(2)), ShownAmountText(amountOf(2), true));
    frmReceipt receipts(db, "meena");
    typeInto(receipts.txtCancelNo, "R00001");
    typeInto(receipts.txtReason, "Entered against the wrong buyer");
    {
        Answers no(false);
        click(receipts.cmdCancelReceipt);
        QCOMPARE(no.asked.size(), 1);
        QVERIFY2(no.asked[0].contains("\n\n" + receiptWarning + "\n\n"), qPrintable(no.asked[0]));
    }
    QCOMPARE(matches(), bothKept);
    QVERIFY(!LoadReceipt(db, "R00001")->cancellation);
    {
        Answers yes(true);
        click(receipts.cmdCancelReceipt);
    }
    QCOMPARE(messages.last(), QString("Receipt R00001 is cancelled: the invoices it paid are owed again."));
    QVERIFY(LoadReceipt(db, "R00001")->cancellation);
    QCOMPARE(matches(), QList<QVariantList>{bothKept[0]}); // the payment's match stays
    QCOMPARE(rowsInFile(data.folder(), DbFile::Zlv,
                        "SELECT TableName, RecordKey, Action FROM AuditTrail WHERE RecordKey IN ('R00001', 'R R00001') "
                        "AND Action = 'cancelled' ORDER BY Sno"),
             (QList<QVariantList>{{"Receipt", "R00001", "cancelled"}, {"BankMatch", "R R00001", "cancelled"}}));

    frmPayment payments(db, "meena");
    typeInto(payments.txtCancelNo, "V00001");
    typeInto(payments.txtReason, "Bounced");
    {
        Answers yes(true);
        click(payments.cmdCancelPayment);
        QCOMPARE(yes.asked.size(), 1);
        QVERIFY2(yes.asked[0].contains(QString("Payment V00001 is matched to the bank statement line of %1 (HDFC Bank, "
                                               "UTR4410001, %2): cancelling leaves that line unmatched.")
                                           .arg(DateText(First.addDays(1)), ShownAmountText(amountOf(1), true))),
                 qPrintable(yes.asked[0]));
    }
    QCOMPARE(messages.last(), QString("Payment V00001 is cancelled: the bills it paid are owed again."));
    QVERIFY(matches().isEmpty());

    // the statement as the operator opens it again: both lines unmatched
    frmBankStatement again(db, "meena");
    QVERIFY(pick(again.cboBank, "HDFC Bank"));
    QCOMPARE(again.grdLines->rowCount(), 12);
    QCOMPARE(cellText(again.grdLines, 1, StateColumn), QString("Unmatched"));
    QCOMPARE(cellText(again.grdLines, 2, StateColumn), QString("Unmatched"));
    // an unmatched receipt is cancelled without a word of the statement
    Receipt cash = received;
    cash.mode = PaymentMode::Cash;
    cash.reference.clear();
    QVERIFY(StoreReceipt(db, cash, QDate::currentDate()).saved());
    typeInto(receipts.txtCancelNo, "R00002");
    typeInto(receipts.txtReason, "Entered twice");
    Answers yes(true);
    click(receipts.cmdCancelReceipt);
    QVERIFY2(!yes.asked.value(0).contains("bank statement"), qPrintable(yes.asked.value(0)));
    QCOMPARE(messages.last(), QString("Receipt R00002 is cancelled: the invoices it paid are owed again."));
}

QTEST_MAIN(BankStatementFormTest)
#include "test_bankstatementform.moc"
