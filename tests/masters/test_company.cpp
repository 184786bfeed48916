// The company form: Show, and New or Show during an edit.
#include "masterdriver.h"

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

};

QTEST_MAIN(CompanyTest)
#include "test_company.moc"
