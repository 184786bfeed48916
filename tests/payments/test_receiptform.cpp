// The Receipt window worked as the operator works it: the buyer's open
// invoices listed oldest first with what is left, the amount allotted and one
// line changed by hand, the save and its printed page, the refusals that
// store nothing, more than owed kept as advance only after a Yes, and a
// cancelled receipt owing its invoices again.
#include "payments/frmreceipt.h"

#include "platform/datetext.h"
#include "data/serials.h"
#include "invoice/shop.h"
#include "sales/owed.h"
#include "ui/printing.h"

#include <QTableWidget>

using namespace zelva;
using namespace testing;

namespace {

Invoice sale(qint64 serial, const char* buyerCode, const char* buyerName, const char* date, double rate)
{
    Invoice x;
    x.serial = serial;
    x.number = RecordCode(CodeKind::Invoice, serial);
    x.date = ReadDateText(date);
    x.buyerCode = buyerCode;
    x.buyer.name = buyerName;
    x.lines = {InvoiceLine{"", "Cable", "", "Nos.", 1, rate, LineAmount(1, rate)}};
    ComputeTotals(x);
    return x;
}

// Anand owes A00001 (10/11, 1000.00) and A00003 (02/10, 450.25, the oldest);
// Bala owes A00002 (700.00).
void shop(Database& db)
{
    addSeller(db);
    addBuyer(db, 1, "Anand", "Kerala");
    addBuyer(db, 2, "Bala", "Kerala");
    StoreInvoice(db, sale(1, "C00001", "Anand", "10/11/2026", 1000));
    StoreInvoice(db, sale(2, "C00002", "Bala", "11/11/2026", 700));
    StoreInvoice(db, sale(3, "C00001", "Anand", "02/10/2026", 450.25));
}

QStringList column(QTableWidget* grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, col)->text();
    return texts;
}

int receipts(const TempData& data)
{
    return valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM Receipt").toInt();
}

} // namespace

class ReceiptFormTest : public QObject {
    Q_OBJECT
private slots:
    void allottedOldestFirstChangedAndPrinted();
    void refusedWithNothingStored_data();
    void refusedWithNothingStored();
    void aboveOwedOnlyAfterYes();
    void cancelledReceiptOwesAgain();
};

void ReceiptFormTest::allottedOldestFirstChangedAndPrinted()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmReceipt form(*data.db, "meena");
    QCOMPARE(form.txtReceiptNo->text(), QString("R00001"));
    QVERIFY(pick(form.cboBuyerName, "Anand (C00001)"));
    QCOMPARE(column(form.grdInvoices, frmReceipt::InvoiceColumn), (QStringList{"A00003", "A00001"}));
    QCOMPARE(column(form.grdInvoices, frmReceipt::LeftColumn), (QStringList{"450.25", "1000.00"}));
    typeInto(form.txtAmount, "1200.50");
    click(form.cmdAllot);
    QCOMPARE(column(form.grdInvoices, frmReceipt::AllotColumn), (QStringList{"450.25", "750.25"}));
    form.grdInvoices->item(0, frmReceipt::AllotColumn)->setText("400");
    pick(form.cboMode, "UPI");
    typeInto(form.txtReference, "UTR 88123");

    click(form.cmdSave);
    QCOMPARE(messages.last(), QString("Receipt R00001 is saved."));
    QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice,
                        "SELECT InvoiceNo, AmountPaise FROM ReceiptAllotment ORDER BY InvoiceNo"),
             (QList<QVariantList>{{"A00001", 75025}, {"A00003", 40000}}));
    const Owed owed = WhatIsOwed(*data.db);
    QCOMPARE(owed.advance.value("C00001"), 5025); // 50.25 not allotted waits as advance
    QCOMPARE(owed.balance("C00001"), 145025 - 120050);
    const QString page = form.pageReceipt->text();
    QVERIFY2(page.contains("Received with thanks from Anand (C00001) the sum of Rs. 1,200.50"), qPrintable(page));
    QVERIFY2(page.contains("(Rupees One Thousand Two Hundred") && !page.contains("Rupees Rupees"), qPrintable(page));
    QVERIFY(page.contains("By: UPI, Ref. UTR 88123"));
    QVERIFY(page.contains("Kept as advance: Rs. 50.25"));
    QCOMPARE(form.txtReceiptNo->text(), QString("R00002")); // ready for the next

    int pages = 0;
    SetPageHook([&](QWidget* printed, int) {
        ++pages;
        return printed == form.pageReceipt;
    });
    click(form.cmdPrint);
    SetPageHook({});
    QCOMPARE(pages, 1);
}

void ReceiptFormTest::refusedWithNothingStored_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("allotFirst");
    QTest::addColumn<QString>("said");
    const QString today = QDate::currentDate().toString("dd/MM/yyyy");
    const QString tomorrow = QDate::currentDate().addDays(1).toString("dd/MM/yyyy");
    QTest::newRow("zero") << today << "Cash" << "" << "0" << "" << "(Amount)";
    QTest::newRow("negative") << today << "Cash" << "" << "-10" << "" << "(Amount)";
    QTest::newRow("no number") << today << "Cash" << "" << "12x" << "" << "is not an amount of money (Amount)";
    QTest::newRow("tomorrow") << tomorrow << "UPI" << "UTR 1" << "100" << "" << "after today";
    QTest::newRow("cheque without number") << today << "Cheque" << "  " << "100" << "" << "cheque's number";
    QTest::newRow("line above what is left") << today << "Card" << "" << "2000" << "450.26"
                                             << "Invoice A00003 has only 450.25 left";
    QTest::newRow("line not a number") << today << "Card" << "" << "100" << "4o" << "(Allotted)";
}

void ReceiptFormTest::refusedWithNothingStored()
{
    QFETCH(QString, date);
    QFETCH(QString, mode);
    QFETCH(QString, reference);
    QFETCH(QString, amount);
    QFETCH(QString, allotFirst);
    QFETCH(QString, said);
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    Answers yes(true);
    frmReceipt form(*data.db);
    QVERIFY(pick(form.cboBuyerName, "Anand (C00001)"));
    typeInto(form.txtDate, date);
    QVERIFY(pick(form.cboMode, mode));
    typeInto(form.txtReference, reference);
    typeInto(form.txtAmount, amount);
    click(form.cmdAllot);
    if (!allotFirst.isEmpty())
        form.grdInvoices->item(0, frmReceipt::AllotColumn)->setText(allotFirst);
    click(form.cmdSave);
    QVERIFY2(messages.last().contains(said), qPrintable(messages.last()));
    QCOMPARE(receipts(data), 0);
    QCOMPARE(form.txtAmount->text(), amount); // nothing typed is lost
}

void ReceiptFormTest::aboveOwedOnlyAfterYes()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmReceipt form(*data.db);
    QVERIFY(pick(form.cboBuyerName, "Bala (C00002)"));
    typeInto(form.txtAmount, "900");
    {
        Answers no(false);
        click(form.cmdSave);
        QCOMPARE(no.asked.size(), 1);
        QVERIFY(no.asked[0].startsWith("900.00 is more than the 700.00 the buyer owes"));
    }
    QCOMPARE(receipts(data), 0);
    Answers yes(true);
    click(form.cmdSave);
    QCOMPARE(receipts(data), 1);
    QCOMPARE(WhatIsOwed(*data.db).balance("C00002"), -20000);
}

void ReceiptFormTest::cancelledReceiptOwesAgain()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    Answers yes(true);
    frmReceipt form(*data.db, "meena");
    QVERIFY(pick(form.cboBuyerName, "Bala (C00002)"));
    typeInto(form.txtAmount, "700");
    click(form.cmdAllot);
    click(form.cmdSave);
    QCOMPARE(WhatIsOwed(*data.db).balance("C00002"), 0);

    typeInto(form.txtCancelNo, "r00001");
    click(form.cmdCancelReceipt);
    QCOMPARE(messages.last(), QString("Give the reason the receipt is cancelled (Reason)."));
    typeInto(form.txtReason, "Paid twice by mistake");
    click(form.cmdCancelReceipt);
    QCOMPARE(messages.last(), QString("Receipt R00001 is cancelled: the invoices it paid are owed again."));
    QCOMPARE(WhatIsOwed(*data.db).balance("C00002"), 70000);
    QVERIFY(form.pageReceipt->text().contains("CANCELLED on"));
    QCOMPARE(form.txtReceiptNo->text(), QString("R00002")); // its number is not issued again
}

QTEST_MAIN(ReceiptFormTest)
#include "test_receiptform.moc"
