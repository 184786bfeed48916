// The Payment window worked as the operator works it: the supplier's open
// bills listed oldest first with what is left, the amount allotted and one
// line changed by hand, the save and its voucher on paper, more than owed
// kept as advance only after a Yes, and a cancelled payment owing its bills
// again.
#include "payments/frmpayment.h"

#include "gst/gststates.h"
#include "invoice/shop.h"
#include "platform/datetext.h"
#include "sales/payable.h"
#include "ui/printing.h"

#include <QTableWidget>

using namespace zelva;
using namespace testing;

namespace {

QString gstinOf(const char* state, const char* pan)
{
    const QString first14 = QStringLiteral("%1%2").arg(QLatin1String(state), QLatin1String(pan)) + QStringLiteral("1Z");
    return first14 + GstinCheckCharacter(first14);
}

void storeBill(Database& db, const char* number, const QDate& date, const char* supplier, Paise taxable, bool listed)
{
    PurchaseBill b;
    b.number = QString::fromLatin1(number);
    b.date = date;
    b.supplierName = QString::fromLatin1(supplier);
    b.supplierGstin = gstinOf("33", listed ? "AAFCS1234K" : "AAJCS7890P");
    b.supplierState = QStringLiteral("Tamil Nadu");
    PurchaseBillLine l;
    l.itemName = QStringLiteral("Copper Wire");
    l.quantity = 1;
    l.rate = ToRupees(taxable);
    l.taxable = taxable;
    l.gstRate = 18;
    b.lines = {l};
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), QStringLiteral("33AAACH7409R1Z8"));
    PurchaseSave how;
    const std::vector<ListedSupplier> list = LoadSupplierList(db);
    if (listed && !list.empty())
        b.supplierSerial = list.front().serial;
    how.addSupplier = listed && list.empty();
    const QString refusal = StorePurchaseBill(db, b, how);
    if (!refusal.isEmpty())
        qFatal("%s", qPrintable(refusal));
}

// Sharma Traders (on the list) owes by B-12 (20 days ago, 1000.00 + 18 %:
// 1180.00) and B-09 (40 days ago, 100.00: 118.00, the oldest, saved later);
// Selvam Metals (not on the list) by S-1 (590.00).
void shop(Database& db)
{
    addSeller(db);
    const QDate today = QDate::currentDate();
    storeBill(db, "B-12", today.addDays(-20), "Sharma Traders", 100000, true);
    storeBill(db, "B-09", today.addDays(-40), "Sharma Traders", 10000, true);
    storeBill(db, "S-1", today.addDays(-5), "Selvam Metals", 50000, false);
}

QStringList column(QTableWidget* grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, col)->text();
    return texts;
}

int payments(const TempData& data)
{
    return valueInFile(data.folder(), DbFile::PurchaseMaster, "SELECT count(*) FROM Payment").toInt();
}

QString sharma(Database& db)
{
    return SupplierKey(LoadSupplierList(db).front().serial, "Sharma Traders");
}

} // namespace

class PaymentFormTest : public QObject {
    Q_OBJECT
private slots:
    void allottedOldestFirstChangedAndPrinted();
    void lineAboveWhatIsLeftStoresNothing();
    void aboveOwedOnlyAfterYes();
    void cancelledPaymentOwesAgain();
};

void PaymentFormTest::allottedOldestFirstChangedAndPrinted()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmPayment form(*data.db, "meena");
    QCOMPARE(form.txtPaymentNo->text(), QString("V00001"));
    QVERIFY(pick(form.cboSupplierName, "Sharma Traders"));
    QCOMPARE(column(form.grdBills, frmPayment::BillColumn), (QStringList{"B-09", "B-12"}));
    QCOMPARE(column(form.grdBills, frmPayment::LeftColumn), (QStringList{"118.00", "1180.00"}));
    QCOMPARE(form.lblOwed->text(), QString("The shop owes 1,298.00 (2 bills open, advance 0.00)"));
    typeInto(form.txtAmount, "1000.50");
    click(form.cmdAllot);
    QCOMPARE(column(form.grdBills, frmPayment::AllotColumn), (QStringList{"118.00", "882.50"}));
    form.grdBills->item(1, frmPayment::AllotColumn)->setText("800");
    QVERIFY(pick(form.cboMode, "Cheque"));
    typeInto(form.txtReference, "004417");
    typeInto(form.txtBank, "Canara Bank");

    click(form.cmdSave);
    QCOMPARE(messages.last(), QString("Payment V00001 is saved."));
    QCOMPARE(rowsInFile(data.folder(), DbFile::PurchaseMaster,
                        "SELECT PaymentNo, BillNo, AmountPaise FROM PaymentAllotment ORDER BY BillNo"),
             (QList<QVariantList>{{"V00001", "B-09", 11800}, {"V00001", "B-12", 80000}}));
    QCOMPARE(rowsInFile(data.folder(), DbFile::PurchaseMaster,
                        "SELECT SupplierName, Mode, Reference, Bank, AmountPaise, EnteredBy FROM Payment"),
             (QList<QVariantList>{{"Sharma Traders", "Cheque", "004417", "Canara Bank", 100050, "meena"}}));
    const Payables owed = WhatIsPayable(*data.db);
    QCOMPARE(owed.advance.value(sharma(*data.db)), 8250); // 82.50 not allotted waits as advance
    QCOMPARE(owed.balance(sharma(*data.db)), 129800 - 100050);
    QCOMPARE(owed.balance("Selvam Metals"), 59000);
    const QString page = form.pageVoucher->text();
    QVERIFY2(page.contains("PAYMENT VOUCHER") && page.contains("Paid to Sharma Traders the sum of Rs. 1,000.50"),
             qPrintable(page));
    QVERIFY2(page.contains("(Rupees One Thousand"), qPrintable(page));
    QVERIFY(page.contains("By: Cheque, Ref. 004417, Canara Bank"));
    QVERIFY(page.contains("Against bill B-12: Rs. 800.00"));
    QVERIFY(page.contains("Kept as advance to the supplier: Rs. 82.50"));
    QCOMPARE(form.txtPaymentNo->text(), QString("V00002"));

    int pages = 0;
    SetPageHook([&](QWidget* printed, int) {
        ++pages;
        return printed == form.pageVoucher;
    });
    click(form.cmdPrint);
    SetPageHook({});
    QCOMPARE(pages, 1);
}

void PaymentFormTest::lineAboveWhatIsLeftStoresNothing()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmPayment form(*data.db);
    QVERIFY(pick(form.cboSupplierName, "Selvam Metals"));
    typeInto(form.txtAmount, "590");
    click(form.cmdAllot);
    form.grdBills->item(0, frmPayment::AllotColumn)->setText("590.01");
    click(form.cmdSave);
    QVERIFY2(messages.last().contains("more than the 590.00 paid (Allotted)"), qPrintable(messages.last()));
    typeInto(form.txtAmount, "600");
    click(form.cmdAllot); // allots afresh: the line typed again
    form.grdBills->item(0, frmPayment::AllotColumn)->setText("590.01");
    Answers yes(true);
    click(form.cmdSave);
    QVERIFY2(messages.last().startsWith("Bill S-1 has only 590.00 left to pay now"), qPrintable(messages.last()));
    QCOMPARE(payments(data), 0);
    QCOMPARE(form.txtAmount->text(), QString("600")); // nothing typed is lost
}

void PaymentFormTest::aboveOwedOnlyAfterYes()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    frmPayment form(*data.db);
    QVERIFY(pick(form.cboSupplierName, "Selvam Metals"));
    typeInto(form.txtAmount, "700");
    {
        Answers no(false);
        click(form.cmdSave);
        QCOMPARE(no.asked.size(), 1);
        QVERIFY(no.asked[0].startsWith("700.00 is more than the 590.00 the shop owes the supplier"));
    }
    QCOMPARE(payments(data), 0);
    Answers yes(true);
    click(form.cmdSave);
    QCOMPARE(payments(data), 1);
    QCOMPARE(WhatIsPayable(*data.db).balance("Selvam Metals"), -11000);
}

void PaymentFormTest::cancelledPaymentOwesAgain()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    Answers yes(true);
    frmPayment form(*data.db, "meena");
    QVERIFY(pick(form.cboSupplierName, "Selvam Metals"));
    typeInto(form.txtAmount, "590");
    click(form.cmdAllot);
    click(form.cmdSave);
    QCOMPARE(WhatIsPayable(*data.db).balance("Selvam Metals"), 0);

    typeInto(form.txtCancelNo, "v00001");
    click(form.cmdCancelPayment);
    QCOMPARE(messages.last(), QString("Give the reason the payment is cancelled (Reason)."));
    typeInto(form.txtReason, "Paid to the wrong account");
    click(form.cmdCancelPayment);
    QCOMPARE(messages.last(), QString("Payment V00001 is cancelled: the bills it paid are owed again."));
    QCOMPARE(WhatIsPayable(*data.db).balance("Selvam Metals"), 59000);
    QVERIFY(form.pageVoucher->text().contains("CANCELLED on"));
    QCOMPARE(form.txtPaymentNo->text(), QString("V00002"));
}

QTEST_MAIN(PaymentFormTest)
#include "test_paymentform.moc"
