// The company form: Show, its button table, and the order of its entry check.
#include "masterdriver.h"

using namespace testing;

namespace {

const FormKind& company() { return Kind("company"); }

} // namespace

class CompanyTest : public QObject {
    Q_OBJECT
private slots:
    // Columns: New Save Cancel Edit Update CancelEdit Close | - lstName (h: hidden).
    void buttonsAfterEachEvent()
    {
        TempData data;
        MessageRecorder messages;
        AddRecord(*data.db, company(), 1, "Zelva Traders");
        frmCompany form(*data.db);
        Operator op(form, company());

        QCOMPARE(op.screen(), "D D D D D D E|- D"); // opened: nothing on display yet
        QVERIFY(form.cmdShow->isEnabled());
        QVERIFY(op.readOnly("txtName"));
        QVERIFY(!form.txtSno->isEnabled());

        op.press("cmdShow");
        QCOMPARE(op.screen(), "E D D E D D E|- E");
        QCOMPARE(op.text("txtName"), "Zelva Traders");
        QCOMPARE(op.listed(), QStringList{"Zelva Traders"});

        op.press("cmdEdit");
        QCOMPARE(op.screen(), "E D D D E E D|- D");
        QVERIFY(!op.readOnly("txtName"));
        QVERIFY(op.readOnly("txtCompanyId"));

        op.type("txtGstin", "33AAAAA0000A1Z5");
        op.press("cmdUpdate");
        QCOMPARE(op.screen(), "E D D E D D E|- E");
        QCOMPARE(Stored(data.folder(), company(), "Gstin", 1), QVariant("33AAAAA0000A1Z5"));

        op.press("cmdNew");
        QCOMPARE(op.screen(), "D E E D D Dh E|- E");
        QCOMPARE(op.text("txtSno"), "2");
        QCOMPARE(op.text("txtCompanyId"), "C00002");

        op.enter("txtName", "Second Branch");
        op.type("txtAddress", "4 Main Road");
        QTest::keyClick(form.txtAddress, Qt::Key_Return);
        QTest::keyClicks(form.txtAddress, "Madurai");
        op.enter("txtState", "Tamil Nadu");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(op.screen(), "E D Dh D D Dh E|- E");
        QCOMPARE(Stored(data.folder(), company(), "address", 2), QVariant("4 Main Road\nMadurai"));

        op.press("cmdShow");
        QCOMPARE(op.screen(), "E D Dh E D Dh E|- E");
        QCOMPARE(op.listed(), (QStringList{"Zelva Traders", "Second Branch"}));

        // Cancel Edit comes back with Edit, even after New and Save hid it.
        op.press("cmdEdit");
        QCOMPARE(op.screen(), "E D Dh D E E D|- D");
        op.press("cmdCancelEdit");
        QCOMPARE(op.screen(), "E D Dh E D D E|- E");

        op.pickListed("Second Branch");
        QCOMPARE(op.text("txtCompanyId"), "C00002");
        QVERIFY(form.cmdEdit->isEnabled());

        op.press("cmdNew");
        op.press("cmdCancel");
        QCOMPARE(op.screen(), "E D Dh D D Dh E|- E");
        QCOMPARE(RecordCount(data.folder(), company()), 2);
    }

    void showOnAnEmptyTableOffersOnlyNew()
    {
        TempData data;
        MessageRecorder messages;
        frmCompany form(*data.db);
        Operator op(form, company());
        op.press("cmdShow");
        QCOMPARE(op.screen(), "E D D D D D E|- E");
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(op.text("txtName"), QString());
    }

    void showDisplaysTheFirstRecordAndTheListInSerialOrder()
    {
        TempData data;
        MessageRecorder messages;
        AddRecord(*data.db, company(), 4, "Seller");
        AddRecord(*data.db, company(), 2, "Branch two");
        AddRecord(*data.db, company(), 3, "Branch three");
        frmCompany form(*data.db);
        Operator op(form, company());
        op.press("cmdShow");
        QCOMPARE(op.text("txtName"), "Seller"); // the first record is the seller
        QCOMPARE(op.listed(), (QStringList{"Branch two", "Branch three", "Seller"}));
        op.pickListed("Branch three");
        QCOMPARE(op.text("txtSno"), "3");
    }

    // The entry check stops at the first blank mandatory entry; a default
    // filled in before it stays in its box.
    void entryCheckOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("district");
        QTest::newRow("name blank") << "" << "Addr" << "TN" << "Enter Name of the Company " << "";
        QTest::newRow("address blank") << "Co" << "" << "" << "Enter Address of the Company " << "";
        QTest::newRow("state blank") << "Co" << "Addr" << "" << "Enter State  " << "N.A.";
        QTest::newRow("a blank is not empty") << "Co" << "Addr" << " " << "Saved Successfully" << "";
    }
    void entryCheckOrder()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, state);
        QFETCH(QString, message);
        QFETCH(QString, district);
        TempData data;
        MessageRecorder messages;
        frmCompany form(*data.db);
        Operator op(form, company());
        op.startNew();
        op.enter("txtName", name);
        op.type("txtAddress", address);
        op.enter("txtState", state);
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{message});
        if (message == "Saved Successfully") {
            QCOMPARE(Stored(data.folder(), company(), "State", 1), QVariant(" "));
            QCOMPARE(Stored(data.folder(), company(), "Dist", 1), QVariant("N.A."));
        } else {
            QCOMPARE(op.text("txtDistrict"), district);
            QCOMPARE(RecordCount(data.folder(), company()), 0);
            QVERIFY(form.cmdSave->isEnabled());
        }
    }

    void cancelEditThenShowDisplaysTheStoredName()
    {
        TempData data;
        MessageRecorder messages;
        AddRecord(*data.db, company(), 1, "Old Name");
        frmCompany form(*data.db);
        Operator op(form, company());
        op.press("cmdShow");
        op.press("cmdEdit");
        op.type("txtName", "New Name");
        op.press("cmdCancelEdit");
        QCOMPARE(op.text("txtName"), "New Name");
        QCOMPARE(Stored(data.folder(), company(), "Name", 1), QVariant("Old Name"));
        op.press("cmdShow");
        QCOMPARE(op.text("txtName"), "Old Name");
    }

    void updateWritesAnEmptiedBoxUnchanged()
    {
        TempData data;
        MessageRecorder messages;
        AddRecord(*data.db, company(), 1, "Zelva Traders");
        frmCompany form(*data.db);
        Operator op(form, company());
        op.press("cmdShow");
        op.press("cmdEdit");
        op.type("txtName", "");
        op.press("cmdUpdate");
        QCOMPARE(Stored(data.folder(), company(), "Name", 1), QVariant(""));
        QCOMPARE(Stored(data.folder(), company(), "CompanyId", 1), QVariant("C00001"));
    }

    void escapePressesClose()
    {
        TempData data;
        MessageRecorder messages;
        frmCompany form(*data.db);
        form.show();
        focusIn(form.txtName);
        QTest::keyClick(form.txtName, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }

    void labelsAndShowButton()
    {
        TempData data;
        MessageRecorder messages;
        frmCompany form(*data.db);
        QCOMPARE(form.windowTitle(), "Company Details");
        QCOMPARE(form.lblTitle->text(), "Company Details");
        QCOMPARE(form.cmdShow->text(), "Show");
        QCOMPARE(form.cmdShow->toolTip(), "Cancel Editing Members Detail");
        QVERIFY(!form.cboChoice);
    }
};

QTEST_MAIN(CompanyTest)
#include "test_company.moc"
