// The company form: Show, its button table, and the order of its entry check.
#include "masterdriver.h"

using namespace testing;

class CompanyTest : public QObject {
    Q_OBJECT
private slots:
    // Columns: New Save Cancel Edit Update CancelEdit Close | - lstName (h: hidden).
    void buttonsAfterEachEvent()
    {
        Session s("company");
        auto& form = static_cast<frmCompany&>(s.form);
        QCOMPARE(s.screen(), "D D D D D D E|- D"); // opened: nothing on display yet
        QVERIFY(s.readOnly("txtName"));

        s.press("cmdShow"); // an empty table: only New is offered
        QCOMPARE(s.screen(), "E D D D D D E|- E");
        QCOMPARE(s.messages.texts(), QStringList());

        AddRecord(*s.data.db, s.kind, 1, "Zelva Traders");
        s.press("cmdShow");
        QCOMPARE(s.screen(), "E D D E D D E|- E");
        QCOMPARE(s.text("txtName"), "Zelva Traders");
        QCOMPARE(s.listed(), QStringList{"Zelva Traders"});

        s.press("cmdEdit");
        QCOMPARE(s.screen(), "E D D D E E D|- D");
        QVERIFY(!s.readOnly("txtName"));
        QVERIFY(s.readOnly("txtCompanyId"));
        s.type("txtGstin", "33AAAAA0000A2Z8");
        s.press("cmdUpdate");
        QCOMPARE(s.screen(), "E D D E D D E|- E");
        QCOMPARE(s.stored("Gstin", 1), QVariant("33AAAAA0000A2Z8"));

        // Show while editing gives the edit up and shows the stored record again.
        s.press("cmdEdit");
        s.type("txtName", "Half typed");
        s.press("cmdShow");
        QCOMPARE(s.screen(), "E D D E D D E|- E");
        QCOMPARE(s.text("txtName"), "Zelva Traders");
        QVERIFY(s.readOnly("txtName"));

        // So does New, which starts the next company.
        s.press("cmdEdit");
        s.type("txtName", "Half typed");
        s.press("cmdNew");
        QCOMPARE(s.screen(), "D E E D D Dh E|- D");
        QCOMPARE(s.text("txtSno"), "2");
        QCOMPARE(s.text("txtCompanyId"), "C00002");
        QCOMPARE(s.stored("Name", 1), QVariant("Zelva Traders"));

        s.enter("txtName", "Second Branch");
        s.type("txtAddress", "4 Main Road");
        QTest::keyClick(form.txtAddress, Qt::Key_Return);
        QTest::keyClicks(form.txtAddress, "Madurai");
        s.enter("txtState", "Tamil Nadu");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(s.screen(), "E D Dh D D Dh E|- D"); // the list, empty, stays as Edit left it
        QCOMPARE(s.stored("address", 2), QVariant("4 Main Road\nMadurai"));

        s.press("cmdShow");
        QCOMPARE(s.screen(), "E D Dh E D Dh E|- E");
        QCOMPARE(s.listed(), (QStringList{"Zelva Traders", "Second Branch"}));

        // Cancel Edit comes back with Edit, even after New and Save hid it.
        s.press("cmdEdit");
        QCOMPARE(s.screen(), "E D Dh D E E D|- D");
        s.press("cmdCancelEdit");
        QCOMPARE(s.screen(), "E D Dh E D D E|- E");

        s.pickListed("Second Branch");
        QCOMPARE(s.text("txtCompanyId"), "C00002");
        QVERIFY(s.enabled("cmdEdit"));

        // Cancel stores nothing and leaves the serial for the next New.
        s.press("cmdNew");
        s.press("cmdCancel");
        QCOMPARE(s.screen(), "E D Dh D D Dh E|- E");
        QCOMPARE(s.recordCount(), 2);
        s.press("cmdNew");
        QCOMPARE(s.text("txtSno"), "3");
    }

    void escapePressesClose()
    {
        Session s("company");
        focusIn(s.box("txtName"));
        QTest::keyClick(s.box("txtName"), Qt::Key_Escape);
        QVERIFY(!s.form.isVisible());
    }
};

QTEST_MAIN(CompanyTest)
#include "test_company.moc"
