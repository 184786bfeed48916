// What the stock-item, buyer and company forms do alike, run on each of them.
#include "masterdriver.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

using namespace testing;

namespace {

void addFormColumn(const QStringList& kinds = {"stock", "buyer", "company"})
{
    QTest::addColumn<QString>("kind");
    for (const QString& k : kinds)
        QTest::newRow(qPrintable(k)) << k;
}

} // namespace

class MasterFormsTest : public QObject {
    Q_OBJECT
private slots:
    void newProposesNextSerialAndCode_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("code");
        QTest::newRow("stock 0-4") << "stock" << 4 << "G00005";
        QTest::newRow("stock 0-9") << "stock" << 9 << "G00010";
        QTest::newRow("stock placeholder only") << "stock" << 0 << "G00001";
        QTest::newRow("buyer 0-9") << "buyer" << 9 << "C00010";
        QTest::newRow("buyer 0-4") << "buyer" << 4 << "C00005";
        QTest::newRow("company 0-9") << "company" << 9 << "C00010";
        QTest::newRow("company 0-99") << "company" << 99 << "C00100";
    }
    void newProposesNextSerialAndCode()
    {
        QFETCH(QString, kind);
        QFETCH(int, highest);
        QFETCH(QString, code);
        TempData data;
        MessageRecorder messages;
        const FormKind& k = Kind(kind);
        AddSerials(*data.db, k, 0, highest);
        auto form = k.make(*data.db);
        Operator op(*form, k);

        op.startNew();
        QCOMPARE(op.text("txtSno"), QString::number(highest + 1));
        QCOMPARE(op.text(k.codeBox), code);
        QVERIFY(op.readOnly(k.codeBox)); // the generated code is not typed over
        QVERIFY(!op.readOnly(k.nameBox));
        QVERIFY(op.box(k.nameBox)->hasFocus());
    }

    void companyCodeOfFirstCompanyIsC00001()
    {
        TempData data;
        MessageRecorder messages;
        const FormKind& k = Kind("company");
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        QCOMPARE(op.text("txtSno"), "1");
        QCOMPARE(op.text("txtCompanyId"), "C00001");
    }

    void saveWithOnlyMandatoryEntriesFillsDefaults_data() { addFormColumn(); }
    void saveWithOnlyMandatoryEntriesFillsDefaults()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);

        op.addNamed("Steel Almirah");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(messages.titles(), QStringList{"Zelva Billing System"});
        QCOMPARE(Stored(data.folder(), k, k.nameField, 1), QVariant("Steel Almirah"));
        QCOMPARE(Stored(data.folder(), k, k.codeField, 1), QVariant(zelva::RecordCode(k.codeKind, 1)));
        for (const auto& [field, value] : k.defaults)
            QCOMPARE(Stored(data.folder(), k, field, 1), value);
        // The form is cleared and locked again.
        QCOMPARE(op.text(k.nameBox), QString());
        QVERIFY(op.readOnly(k.nameBox));
        QCOMPARE(form->lstName->count(), 0);
    }

    void saveWithoutNameIsRefusedThenSucceeds_data() { addFormColumn(); }
    void saveWithoutNameIsRefusedThenSucceeds()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        const int before = RecordCount(data.folder(), k);

        op.startNew();
        op.enter(k.nameBox, "");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{k.nameMessage});
        QCOMPARE(RecordCount(data.folder(), k), before);
        QVERIFY(op.button("cmdSave")->isEnabled()); // still adding: Save may be pressed again

        messages.clear();
        op.enter(k.nameBox, "Second try");
        for (const auto& [boxName, text] : k.otherMandatory)
            op.enter(boxName, text);
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(RecordCount(data.folder(), k), before + 1);
    }

    // Each list entry keeps the key of its record: a gap in the serials or a
    // record stored out of order still leads to the record the entry shows.
    void listEntryLeadsToItsRecord_data() { addFormColumn(); }
    void listEntryLeadsToItsRecord()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddRecord(*data.db, k, 1, "First");
        AddRecord(*data.db, k, 7, "Seventh"); // entered outside the program
        AddRecord(*data.db, k, 3, "Third");
        auto form = k.make(*data.db);
        Operator op(*form, k);

        op.browseByName();
        if (k.hasChoice())
            QCOMPARE(op.listed().mid(1), (QStringList{"First", "Seventh", "Third"})); // record order
        else
            QCOMPARE(op.listed(), (QStringList{"First", "Third", "Seventh"})); // serial order
        for (const char* name : {"Seventh", "Third", "First"}) {
            op.pickListed(name);
            QCOMPARE(op.text(k.nameBox), name);
            QVERIFY(op.button("cmdEdit")->isEnabled());
        }
        op.pickListed("Seventh");
        QCOMPARE(op.text("txtSno"), "7");
        QCOMPARE(op.text(k.codeBox), zelva::RecordCode(k.codeKind, 7));
    }

    void listByCodeShowsTheCodes()
    {
        const FormKind& k = Kind("buyer");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 1, 3);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        QVERIFY(pick(form->cboChoice, "Buyer ID"));
        QCOMPARE(op.listed(), (QStringList{"", "C00001", "C00002", "C00003"}));
        op.pickListed("C00002");
        QCOMPARE(op.text("txtName"), "Name 2");
    }

    void editUpdateRewritesTheRecordOnDisplay_data() { addFormColumn(); }
    void editUpdateRewritesTheRecordOnDisplay()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 3);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 2");

        op.press("cmdEdit");
        QVERIFY(!op.readOnly(k.nameBox));
        QVERIFY(op.readOnly(k.codeBox));
        op.type(k.nameBox, "Renamed");
        op.press("cmdUpdate");
        QCOMPARE(Stored(data.folder(), k, k.nameField, 2), QVariant("Renamed"));
        QCOMPARE(Stored(data.folder(), k, k.nameField, 1), QVariant("Name 1"));
        QCOMPARE(Stored(data.folder(), k, k.codeField, 2), QVariant(zelva::RecordCode(k.codeKind, 2)));
        QCOMPARE(RecordCount(data.folder(), k), 4);
        QVERIFY(op.readOnly(k.nameBox));
        QVERIFY(op.listed().contains("Renamed"));
    }

    void cancelEditKeepsTheStoredRecord_data() { addFormColumn(); }
    void cancelEditKeepsTheStoredRecord()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 3);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 3");

        op.press("cmdEdit");
        op.type(k.nameBox, "Typed only");
        op.press("cmdCancelEdit");
        QCOMPARE(Stored(data.folder(), k, k.nameField, 3), QVariant("Name 3"));
        QCOMPARE(op.text(k.nameBox), "Typed only"); // the boxes keep what was typed
        QVERIFY(op.readOnly(k.nameBox));

        // Edit then opens the record on display (serial 3), not the table's first record.
        op.press("cmdEdit");
        QCOMPARE(op.text("txtSno"), "3");
        op.type(k.nameBox, "Third, edited");
        op.press("cmdUpdate");
        QCOMPARE(Stored(data.folder(), k, k.nameField, 3), QVariant("Third, edited"));
        const qint64 first = k.placeholder ? 1 : 0;
        QCOMPARE(Stored(data.folder(), k, k.nameField, first), QVariant(QStringLiteral("Name %1").arg(first)));
    }

    // Save stores only a record started with New; with a record on display it
    // tells the operator and changes nothing.
    void saveWithoutNewChangesNothing_data() { addFormColumn({"stock", "buyer"}); }
    void saveWithoutNewChangesNothing()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 2);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 2");
        focusIn(op.box(k.nameBox));
        focusOut(op.box(k.nameBox));
        QVERIFY(op.button("cmdSave")->isEnabled()); // leaving the name box enables Save

        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Press New Button first "});
        QCOMPARE(RecordCount(data.folder(), k), 3);
        QCOMPARE(Stored(data.folder(), k, k.nameField, 2), QVariant("Name 2"));

        // Nor while a record is being edited.
        messages.clear();
        op.press("cmdEdit");
        op.enter(k.nameBox, "Half typed");
        QVERIFY(op.button("cmdSave")->isEnabled());
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Press New Button first "});
        QCOMPARE(RecordCount(data.folder(), k), 3);
        QCOMPARE(Stored(data.folder(), k, k.nameField, 2), QVariant("Name 2"));
    }

    void editNeedsARecordOnDisplay_data() { addFormColumn(); }
    void editNeedsARecordOnDisplay()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 2);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        QVERIFY(!op.button("cmdEdit")->isEnabled());
        QVERIFY(!op.button("cmdUpdate")->isEnabled());
        QVERIFY(!op.button("cmdCancelEdit")->isEnabled());

        op.startNew();
        op.press("cmdCancel");
        QVERIFY(!op.button("cmdEdit")->isEnabled());
        op.addNamed("Saved one");
        QVERIFY(!op.button("cmdEdit")->isEnabled());
    }

    void cancelNewStoresNothingAndKeepsTheSerial_data() { addFormColumn(); }
    void cancelNewStoresNothingAndKeepsTheSerial()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 2);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        op.enter(k.nameBox, "Never kept");
        op.press("cmdCancel");
        QCOMPARE(RecordCount(data.folder(), k), 3);
        QCOMPARE(op.text(k.nameBox), QString());
        op.startNew();
        QCOMPARE(op.text("txtSno"), "3");
    }

    // Texts that look like SQL, very long texts and Indian-language texts are
    // stored and shown back exactly.
    void awkwardTextsRoundTrip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        const QStringList names{
            "Robert'); DROP TABLE Stock;--",
            "\"Quoted\" ; 'single' ; SELECT * FROM Company",
            QString::fromUtf8("सागर ट्रेडर्स, नई दिल्ली"),
            QString::fromUtf8("முருகன் ஸ்டோர்ஸ் சென்னை"),
            QString(3000, QChar('x')) + "end",
        };
        for (const char* kind : {"stock", "buyer", "company"})
            for (int i = 0; i < names.size(); ++i)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kind).arg(i))) << kind << names[i];
    }
    void awkwardTextsRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        zelva::SetBoxText(op.box(k.nameBox), name); // pasted, as typing 3000 keys one by one adds nothing
        focusOut(op.box(k.nameBox));
        for (const auto& [boxName, text] : k.otherMandatory)
            op.enter(boxName, text);
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(Stored(data.folder(), k, k.nameField, 1), QVariant(name));

        op.browseByName();
        op.pickListed(name);
        QCOMPARE(op.text(k.nameBox), name);
        QCOMPARE(RecordCount(data.folder(), k), k.placeholder ? 2 : 1);
    }

    // Two windows on one table see each other's saved records once they bind again.
    void twoFormsSeeEachOthersRecords_data() { addFormColumn(); }
    void twoFormsSeeEachOthersRecords()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto first = k.make(*data.db);
        auto second = k.make(*data.db);
        Operator a(*first, k);
        Operator b(*second, k);
        b.browseByName();
        QVERIFY(!b.listed().contains("From A"));

        a.addNamed("From A");
        QVERIFY(!b.listed().contains("From A")); // not bound again yet
        b.browseByName();
        QVERIFY(b.listed().contains("From A"));

        b.startNew();
        QCOMPARE(b.text("txtSno"), "2"); // the next serial after A's record
        b.enter(k.nameBox, "From B");
        for (const auto& [boxName, text] : k.otherMandatory)
            b.enter(boxName, text);
        b.press("cmdSave");
        a.browseByName();
        QVERIFY(a.listed().contains("From B"));
        a.pickListed("From B");
        QCOMPARE(a.text(k.codeBox), zelva::RecordCode(k.codeKind, 2));
    }

    // An edit on one window does not undo what another wrote since the record was shown.
    void editReadsTheRecordAfresh()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 1);
        auto first = k.make(*data.db);
        auto second = k.make(*data.db);
        Operator a(*first, k);
        Operator b(*second, k);
        a.browseByName();
        a.pickListed("Name 1");
        b.browseByName();
        b.pickListed("Name 1");
        b.press("cmdEdit");
        b.type("txtRate", "10");
        b.type("txtQuantity", "40");
        b.press("cmdUpdate");

        a.press("cmdEdit");
        QCOMPARE(a.text("txtQuantity"), "40");
        a.type("txtRate", "12.5");
        a.press("cmdUpdate");
        QCOMPARE(Stored(data.folder(), k, "Quantity", 1), QVariant(40.0));
        QCOMPARE(Stored(data.folder(), k, "Rate", 1), QVariant(12.5));
    }

    void captionsAndToolTips_data() { addFormColumn(); }
    void captionsAndToolTips()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        const QList<QStringList> buttons{
            {"cmdNew", "&New", "Create a New Member"},
            {"cmdSave", "&Save", "Save the New Member"},
            {"cmdCancel", "Cance&l", "Cancel New Member"},
            {"cmdEdit", "&Edit", "Update the Current Members Detail"},
            {"cmdUpdate", "&Update", "Save the Update"},
            {"cmdCancelEdit", "Cancel Edit", "Cancel Editing Members Detail"},
            {"cmdClose", "&Close", kind == "company" ? "" : "Close Curent Window"},
        };
        for (const QStringList& b : buttons) {
            QCOMPARE(op.button(b[0])->text(), b[1]);
            QCOMPARE(op.button(b[0])->toolTip(), b[2]);
        }
        if (k.hasChoice()) {
            QCOMPARE(form->cboChoice->placeholderText(), "Select your Choice");
            QCOMPARE(form->cboChoice->itemText(0), k.codeChoice);
            QCOMPARE(form->cboChoice->itemText(1), k.nameChoice);
            QVERIFY(op.box("txtSno")->isHidden());
        }
    }

    void closeClosesTheWindow_data() { addFormColumn(); }
    void closeClosesTheWindow()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        form->show();
        QVERIFY(form->isVisible());
        op.press("cmdClose");
        QVERIFY(!form->isVisible());
    }

    // Inside the main window's work area Close closes the form's own window only.
    void closeClosesItsSubWindow()
    {
        TempData data;
        MessageRecorder messages;
        QMdiArea area;
        frmStockEntry* form = new frmStockEntry(*data.db);
        QPointer<QMdiSubWindow> frame = area.addSubWindow(form);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        area.show();
        frame->show();
        click(form->cmdClose);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(frame.isNull());
        QVERIFY(area.isVisible());
    }
};

QTEST_MAIN(MasterFormsTest)
#include "test_masterforms.moc"
