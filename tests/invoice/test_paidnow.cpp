// Paid at the counter and owed on credit, on both invoice forms: a walk-in
// buyer's invoice is paid now by cash unless the operator says otherwise, its
// receipt saved with it; a registered buyer's balance shows when it is
// picked, and an invoice past its credit limit (set on the buyer form) is
// warned of and saved all the same; a cheque paid now needs its number.
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/shop.h"
#include "masters/buyerdetails.h"
#include "sales/opening.h"
#include "sales/owed.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>

using namespace zelva;
using namespace testing;

namespace {

// A consumer without a GSTIN and a registered shop that owes 500.00 already.
void shop(Database& db)
{
    addSeller(db);
    addItem(db, 1, "Cable", 400, 100);
    addBuyer(db, 1, "Kochi Stores", "Kerala");
    db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, State, Gstin) VALUES (2, 'C00002', "
           "'Walk-in', 'N.A.', 'Kerala', 'N.A.')",
           {}, "add a walk-in buyer", DbFile::Customer);
    Invoice earlier;
    earlier.serial = 1;
    earlier.number = "A00001";
    earlier.date = QDate(2026, 12, 1);
    earlier.buyerCode = "C00001";
    earlier.buyer.name = "Kochi Stores";
    earlier.lines = {InvoiceLine{"", "Cable", "", "Nos.", 1, 500, 50000}};
    ComputeTotals(earlier);
    StoreInvoice(db, earlier);
}

std::unique_ptr<InvoiceForm> newForm(Database& db, bool seperateGst)
{
    if (seperateGst)
        return std::make_unique<frmTaxInvoiceSeperateGst>(db);
    return std::make_unique<frmTaxInvoice>(db);
}

// New Invoice, the buyer, one Cable, the 18% rate.
void startSale(InvoiceForm& form, const QString& buyer)
{
    click(form.cmdNewInvoice);
    QVERIFY(pick(form.cboBuyerName, buyer));
    QVERIFY(pick(form.cboDescriptionOfGoods, "Cable"));
    typeInto(need(&form, "txtQuantity_0"), "1");
    click(form.cmdAdd);
    QVERIFY(pick(form.cboGoodsCgst, "CGST @ 9%"));
}

QList<QVariantList> receipts(const TempData& data)
{
    return rowsInFile(data.folder(), DbFile::Invoice, "SELECT ReceiptNo, Mode, Reference, AmountPaise FROM Receipt");
}

} // namespace

class PaidNowTest : public QObject {
    Q_OBJECT
private slots:
    void walkInPaysNow_data();
    void walkInPaysNow();
    void creditLimitWarnsAndSaves();
    void creditLimitCountsOpeningBalance();
    void chequeWithoutNumberSavesNothing();
};

void PaidNowTest::walkInPaysNow_data()
{
    QTest::addColumn<bool>("seperateGst");
    QTest::newRow("tax invoice") << false;
    QTest::newRow("separate GST") << true;
}

void PaidNowTest::walkInPaysNow()
{
    QFETCH(bool, seperateGst);
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    auto form = newForm(*data.db, seperateGst);
    startSale(*form, "Walk-in");
    QVERIFY(form->chkPaidNow->isChecked());
    QCOMPARE(form->cboPaidMode->currentText(), QString("Cash"));
    QVERIFY(pick(form->cboPaidMode, "UPI"));
    typeInto(form->txtPaidReference, "UTR 5521");
    click(form->cmdSave);
    QCOMPARE(messages.last(), QString("Saved Successfully"));
    const Paise total = form->shownInvoice().totals.grand;
    QCOMPARE(receipts(data), (QList<QVariantList>{{"R00001", "UPI", "UTR 5521", total}}));
    QCOMPARE(WhatIsOwed(*data.db).balance("C00002"), 0);

    // a registered buyer buys on credit unless the operator ticks Paid now
    startSale(*form, "Kochi Stores");
    QVERIFY(!form->chkPaidNow->isChecked());
    QCOMPARE(form->lblBuyerBalance->text(), QString("Balance owed: 500.00"));
    click(form->cmdSave);
    QCOMPARE(receipts(data).size(), 1);
    QCOMPARE(WhatIsOwed(*data.db).balance("C00001"), 50000 + form->shownInvoice().totals.grand);
}

void PaidNowTest::creditLimitWarnsAndSaves()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    {
        frmBuyerDetails buyers(*data.db);
        click(buyers.cmdCreditLimit);
        QCOMPARE(messages.last(), QString("Show the buyer whose credit limit to set first."));
        QVERIFY(pick(buyers.cboChoice, "Buyer Name"));
        pickRow(buyers.lstName, buyers.lstName->row(buyers.lstName->findItems("Kochi Stores", Qt::MatchExactly).value(0)));
        QCOMPARE(buyers.txtName->text(), QString("Kochi Stores"));
        for (const QString& typed : {QString("9OO"), QString("900")})
            withModal([&] { click(buyers.cmdCreditLimit); },
                      [&](QDialog* dialog) {
                          typeInto(need(dialog, "txtCreditLimit"), typed);
                          QMetaObject::invokeMethod(dialog->findChild<QDialogButtonBox*>(), "accepted");
                          if (dialog->isVisible())
                              dialog->reject();
                      });
        QVERIFY(messages.texts().join("\n").contains("\"9OO\" is not an amount of money (Credit limit)"));
    }
    QCOMPARE(CreditLimit(*data.db, "C00001"), std::optional<Paise>(90000));

    auto form = newForm(*data.db, false);
    startSale(*form, "Kochi Stores");
    QCOMPARE(form->lblBuyerBalance->text(), QString("Balance owed: 500.00\nCredit limit: 900.00"));
    click(form->cmdSave);
    const QStringList said = messages.texts();
    QVERIFY2(said.mid(said.size() - 2, 1).value(0).startsWith("With this invoice Kochi Stores will owe 972.00, over its "
                                                              "credit limit of 900.00"),
             qPrintable(said.join("\n")));
    QCOMPARE(messages.last(), QString("Saved Successfully"));
}

void PaidNowTest::chequeWithoutNumberSavesNothing()
{
    TempData data;
    shop(*data.db);
    MessageRecorder messages;
    auto form = newForm(*data.db, false);
    startSale(*form, "Walk-in");
    QVERIFY(pick(form->cboPaidMode, "Cheque"));
    click(form->cmdSave);
    QVERIFY(messages.last().contains("cheque's number"));
    QVERIFY(form->invoicePending());
    QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM BuyerInvoice WHERE sno <> 0").toInt(), 1);
    QCOMPARE(receipts(data).size(), 0);
    typeInto(form->txtPaidReference, "117722");
    click(form->cmdSave);
    QCOMPARE(receipts(data).size(), 1);
}

// What the buyer owed when the books started counts in its balance and its
// credit limit: 500.00 billed, 300.00 opening, a limit of 600.00 that the
// invoice of 472.00 would stay under without the opening balance.
void PaidNowTest::creditLimitCountsOpeningBalance()
{
    TempData data;
    shop(*data.db);
    {
        Transaction t(*data.db, "set up");
        StoreBooksStartDayWithin(*data.db, 1, QDate(2026, 11, 1));
        t.commit();
    }
    QCOMPARE(StoreOpeningBills(*data.db, PartyKind::Buyer, "C00001", {OneOpeningAmount(30000, QDate(2026, 11, 1))}),
             QString());
    SetCreditLimit(*data.db, 1, "C00001", 60000);
    MessageRecorder messages;
    auto form = newForm(*data.db, false);
    startSale(*form, "Kochi Stores");
    QCOMPARE(form->lblBuyerBalance->text(), QString("Balance owed: 800.00\nCredit limit: 600.00"));
    click(form->cmdSave);
    const QString said = messages.texts().join("\n");
    QVERIFY2(said.contains(QRegularExpression("will owe 1,?272.00, over its credit limit of 600.00")), qPrintable(said));
}

QTEST_MAIN(PaidNowTest)
#include "test_paidnow.moc"
