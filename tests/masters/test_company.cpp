// The company form: Show, and New or Show during an edit.
#include "masterdriver.h"

#include "sales/gstratestore.h"

using namespace testing;

class CompanyTest : public QObject {
    Q_OBJECT
private slots:
    // Show or New while editing gives the edit up, the stored record kept;
    // the address takes several lines.
    void showAndNewGiveTheEditUp()
    {
        Session s("company");
        auto& form = static_cast<frmCompany&>(s.form);
        AddRecord(*s.data.db, s.kind, 1, "Zelva Traders");
        s.press("cmdShow");
        s.press("cmdEdit");
        s.type("txtName", "Half typed");
        s.press("cmdShow");
        QCOMPARE(s.text("txtName"), "Zelva Traders");
        QVERIFY(s.readOnly("txtName"));

        s.press("cmdEdit");
        s.type("txtName", "Half typed");
        s.press("cmdNew");
        QCOMPARE(s.text("txtCompanyId"), "C00002");
        QCOMPARE(s.stored("Name", 1), QVariant("Zelva Traders"));
        s.enter("txtName", "Second Branch");
        s.type("txtAddress", "4 Main Road");
        QTest::keyClick(form.txtAddress, Qt::Key_Return);
        QTest::keyClicks(form.txtAddress, "Madurai");
        s.enter("txtState", "Tamil Nadu");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(s.stored("address", 2), QVariant("4 Main Road\nMadurai"));
        QCOMPARE(s.stored("Name", 1), QVariant("Zelva Traders"));
    }

    // The UPI ID and the e-way bill limit are saved with the company, in the
    // same save, under its serial; a UPI ID not of the form name@bank is
    // refused and nothing is stored.
    void paymentDetailsSavedWithTheCompany()
    {
        Session s("company");
        AddRecord(*s.data.db, s.kind, 1, "Zelva Traders");
        s.press("cmdShow");
        QCOMPARE(s.text("txtEwayBillLimit"), "50000.00"); // none kept: the default
        s.press("cmdNew");
        s.enter("txtName", "Second Branch");
        s.type("txtAddress", "4 Main Road");
        s.enter("txtState", "Tamil Nadu");
        s.enter("txtUpiId", "second branch@okbank");
        s.enter("txtEwayBillLimit", "75000");
        QVERIFY(pick(need<QComboBox>(&s.form, "cboTurnover"), "Above Rs 5 crore"));
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("name@bank"), qPrintable(s.messages.last()));
        QVERIFY(!s.stored("Name", 2).isValid());
        const auto payment = [&](qint64 serial) {
            return testing::rowsInFile(s.data.folder(), zelva::DbFile::Master,
                                       "SELECT UpiId, EwayBillLimit FROM CompanyPayment WHERE sno = ?", {serial});
        };
        QVERIFY(payment(2).isEmpty());
        s.enter("txtUpiId", "second.branch@okbank");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(payment(2), (QList<QVariantList>{{"second.branch@okbank", 75000.0}}));
        QVERIFY(payment(1).isEmpty());
        // the turnover band lands with it: HSN codes of 6 digits from now on
        QVERIFY(zelva::LoadAboveFiveCrore(*s.data.db, 2));
        QVERIFY(!zelva::LoadAboveFiveCrore(*s.data.db, 1));
        s.press("cmdShow");
        QCOMPARE(need<QComboBox>(&s.form, "cboTurnover")->currentText(), "Up to Rs 5 crore");
    }

    // The receipt roll and where scans count are saved with the company; a
    // roll no receipt printer takes is refused naming its box, nothing stored.
    void counterSettingsSavedWithTheCompany_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("75 mm") << "75";
        QTest::newRow("not a number") << "58mm";
    }
    void counterSettingsSavedWithTheCompany()
    {
        QFETCH(QString, typed);
        Session s("company");
        AddRecord(*s.data.db, s.kind, 1, "Zelva Traders");
        s.press("cmdShow");
        QCOMPARE(s.text("txtRollWidth"), "80"); // none kept: the wide roll
        s.press("cmdNew");
        s.enter("txtName", "Second Branch");
        s.type("txtAddress", "4 Main Road");
        s.enter("txtState", "Kerala");
        s.enter("txtRollWidth", typed);
        QVERIFY(pick(need<QComboBox>(&s.form, "cboScanAt"), "Anywhere on the invoice"));
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("(Receipt roll mm)") && s.messages.last().contains(typed),
                 qPrintable(s.messages.last()));
        QVERIFY(!s.stored("Name", 2).isValid());
        QVERIFY(testing::rowsInFile(s.data.folder(), zelva::DbFile::Master, "SELECT sno FROM CompanyCounter").isEmpty());
        s.enter("txtRollWidth", " 58 ");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(zelva::LoadCounterSettings(*s.data.db, 2), (zelva::CounterSettings{zelva::NarrowRollMm, true}));
        QCOMPARE(zelva::LoadCounterSettings(*s.data.db, 1), zelva::CounterSettings{});
    }
};

QTEST_MAIN(CompanyTest)
#include "test_company.moc"
