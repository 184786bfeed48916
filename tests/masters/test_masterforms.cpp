// What the stock-item, buyer and company forms do alike, run on each of them.
#include "masterdriver.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

using namespace testing;

class MasterFormsTest : public QObject {
    Q_OBJECT
private slots:
    void newProposesNextSerialAndCode_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("code");
        QTest::newRow("stock 0-9") << "stock" << 9 << "G00010";
        QTest::newRow("stock placeholder only") << "stock" << 0 << "G00001";
        QTest::newRow("buyer 0-9") << "buyer" << 9 << "C00010";
        QTest::newRow("company none yet") << "company" << -1 << "C00001";
        QTest::newRow("company 0-9") << "company" << 9 << "C00010";
        QTest::newRow("company 0-99") << "company" << 99 << "C00100";
        QTest::newRow("supplier none yet") << "supplier" << -1 << "S00001";
    }
    void newProposesNextSerialAndCode()
    {
        QFETCH(QString, kind);
        QFETCH(int, highest);
        QFETCH(QString, code);
        Session s(kind, highest);
        s.startNew();
        QCOMPARE(s.text("txtSno"), QString::number(std::max(highest, 0) + 1));
        QCOMPARE(s.text(s.kind.codeBox), code);
    }

    // The check stops at the first blank mandatory entry: nothing is stored,
    // the defaults filled in before it stay in their boxes, and Save may be
    // pressed again. A space is not blank.
    void blankMandatoryEntryIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("blanks");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("firstOptional"); // as the check leaves it
        QTest::newRow("stock name") << "stock" << QStringList{"txtItemName"} << "Enter Name of the Item " << "";
        QTest::newRow("buyer name") << "buyer" << QStringList{"txtName"} << "Enter Name of the Buyer " << "";
        QTest::newRow("company name") << "company" << QStringList{"txtName"} << "Enter Name of the Company " << "";
        QTest::newRow("company address")
            << "company" << QStringList{"txtAddress", "txtState"} << "Enter Address of the Company " << "";
        QTest::newRow("company state") << "company" << QStringList{"txtState"} << "Enter State  " << "N.A.";
    }
    void blankMandatoryEntryIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, blanks);
        QFETCH(QString, message);
        QFETCH(QString, firstOptional);
        Session s(kind);
        const int before = s.recordCount();
        s.startNew();
        for (const Entry& e : s.kind.entries)
            if (!e.blank.isValid())
                s.enter(e.box, blanks.contains(e.box) ? QString() : e.typed);
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{message});
        QCOMPARE(s.text(s.kind.firstOptional().box), firstOptional);
        QCOMPARE(s.recordCount(), before);

        s.messages.clear();
        for (const QString& box : blanks)
            s.enter(box, " ");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(s.recordCount(), before + 1);
        for (const QString& box : blanks)
            QCOMPARE(s.stored(s.kind.entry(box).field, 1), QVariant(" "));
    }

    // Each list entry keeps the key of its record: a gap in the serials or a
    // record stored out of order still leads to the record the entry shows.
    void listEntryLeadsToItsRecord_data() { AddFormColumn(); }
    void listEntryLeadsToItsRecord()
    {
        QFETCH(QString, kind);
        Session s(kind);
        AddRecord(*s.data.db, s.kind, 1, "First");
        AddRecord(*s.data.db, s.kind, 7, "Seventh"); // entered outside the program
        AddRecord(*s.data.db, s.kind, 3, "Third");

        s.browseByName();
        const QStringList placeholder = s.kind.placeholder ? QStringList{""} : QStringList{};
        if (s.kind.hasChoice()) {
            QCOMPARE(s.listed(), (placeholder + QStringList{"First", "Seventh", "Third"})); // record order
        } else {
            QCOMPARE(s.listed(), (QStringList{"First", "Third", "Seventh"})); // serial order
            QCOMPARE(s.text("txtName"), "First"); // Show displays the first record, the seller
        }
        for (const char* name : {"Seventh", "Third", "First"}) {
            s.pickListed(name);
            QCOMPARE(s.text(s.kind.nameBox()), name);
        }
        s.pickListed("Seventh");
        QCOMPARE(s.text("txtSno"), "7");
        QCOMPARE(s.text(s.kind.codeBox), s.codeOf(7));

        if (s.kind.hasChoice()) {
            QVERIFY(pick(s.form.cboChoice, s.kind.codeChoice));
            QCOMPARE(s.listed(), (placeholder + QStringList{s.codeOf(1), s.codeOf(7), s.codeOf(3)}));
            s.pickListed(s.codeOf(3));
            QCOMPARE(s.text(s.kind.nameBox()), "Third");
        }
    }

    // Cancel Edit keeps the stored record; Edit then opens the record on
    // display afresh; Update writes the boxes as they stand, an emptied
    // optional box included (no defaults on this path).
    void editRoundTrip_data() { AddFormColumn(); }
    void editRoundTrip()
    {
        QFETCH(QString, kind);
        Session s(kind, 3);
        const QString optionalBox = s.kind.firstOptional().box;
        const QString optionalField = s.kind.firstOptional().field;
        s.browseByName();
        s.pickListed("Name 2");

        s.press("cmdEdit");
        s.type(s.kind.nameBox(), "Typed only");
        s.press("cmdCancelEdit");
        QCOMPARE(s.stored(s.kind.nameField(), 2), QVariant("Name 2"));
        QCOMPARE(s.text(s.kind.nameBox()), "Typed only"); // the boxes keep what was typed

        s.press("cmdEdit"); // the record on display (serial 2), not the table's first record
        QCOMPARE(s.text("txtSno"), "2");
        QCOMPARE(s.text(s.kind.nameBox()), "Name 2");
        s.type(s.kind.nameBox(), "Renamed");
        s.type(optionalBox, "");
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts(), QStringList());
        QCOMPARE(s.stored(s.kind.nameField(), 2), QVariant("Renamed"));
        QCOMPARE(s.stored(optionalField, 2), QVariant(""));
        QCOMPARE(s.stored(s.kind.codeField, 2), QVariant(s.codeOf(2)));
        QCOMPARE(s.stored(s.kind.nameField(), 1), QVariant("Name 1"));
        QCOMPARE(s.stored(optionalField, 1), QVariant("Seeded"));
        QCOMPARE(s.recordCount(), 4);
        QVERIFY(s.listed().contains("Renamed"));
    }

    // Save stores only a record started with New; with a record on display or
    // being edited it tells the operator and changes nothing. The placeholder
    // record (serial 0) is listed but cannot be edited, however Edit is reached.
    void saveWithoutNewChangesNothing_data() { AddFormColumn({"stock", "buyer"}); }
    void saveWithoutNewChangesNothing()
    {
        QFETCH(QString, kind);
        Session s(kind, 2);
        s.browseByName();
        s.pickListed("");
        s.form.cmdEdit_Click();
        QVERIFY(s.readOnly(s.kind.nameBox()));
        s.pickListed("Name 2");
        focusIn(s.box(s.kind.nameBox()));
        focusOut(s.box(s.kind.nameBox())); // leaving the name box enables Save
        s.press("cmdSave");
        s.press("cmdEdit");
        s.enter(s.kind.nameBox(), "Half typed");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), (QStringList{"Press New Button first ", "Press New Button first "}));
        QCOMPARE(s.recordCount(), 3);
        QCOMPARE(s.stored(s.kind.nameField(), 2), QVariant("Name 2"));
    }

    // Texts that look like SQL, very long texts and Indian-language texts are
    // stored and shown back exactly (each on one of the forms, which share the
    // way they store).
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
        const QStringList kinds{"company", "stock", "buyer"};
        for (int i = 0; i < names.size(); ++i)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kinds[i % 3]).arg(i))) << kinds[i % 3] << names[i];
    }
    void awkwardTextsRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        Session s(kind);
        s.startNew();
        zelva::SetTextOf(s.box(s.kind.nameBox()), name); // pasted, as typing 3000 keys one by one adds nothing
        focusOut(s.box(s.kind.nameBox()));
        s.completeAndSave();
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(s.stored(s.kind.nameField(), 1), QVariant(name));

        s.browseByName();
        s.pickListed(name);
        QCOMPARE(s.text(s.kind.nameBox()), name);
        QCOMPARE(s.recordCount(), s.kind.placeholder ? 2 : 1);
    }

    // Two windows on one table see each other's saved records once they bind again.
    void twoFormsSeeEachOthersRecords_data() { AddFormColumn(); }
    void twoFormsSeeEachOthersRecords()
    {
        QFETCH(QString, kind);
        Session a(kind);
        auto second = a.another();
        Operator b(*second, a.kind);
        b.browseByName();
        a.addNamed("From A");
        QVERIFY(!b.listed().contains("From A")); // not bound again yet
        b.browseByName();
        QVERIFY(b.listed().contains("From A"));

        b.startNew();
        QCOMPARE(b.text("txtSno"), "2"); // the next serial after A's record
        b.completeAndSave("From B");
        a.browseByName();
        a.pickListed("From B");
        QCOMPARE(a.text(a.kind.codeBox), a.codeOf(2));
    }

    // Two copies of the program press New at the same moment and both save:
    // the second is stored under the next free code, and told so.
    void twoCopiesGetTwoCodes_data() { AddFormColumn(); }
    void twoCopiesGetTwoCodes()
    {
        QFETCH(QString, kind);
        Session a(kind, 3);
        auto otherCopy = a.data.openAnother();
        auto second = a.kind.make(*otherCopy);
        Operator b(*second, a.kind);
        a.startNew();
        b.startNew();
        QCOMPARE(b.text(a.kind.codeBox), a.codeOf(4));
        a.completeAndSave("From A");
        b.completeAndSave("From B");
        QCOMPARE(a.messages.texts().mid(1),
                 (QStringList{QString("Code %1 was taken by another record meanwhile. This record is saved as %2.")
                                  .arg(a.codeOf(4), a.codeOf(5)),
                              "Saved Successfully"}));
        QCOMPARE(a.stored(a.kind.nameField(), 5), QVariant("From B"));
        QCOMPARE(a.stored(a.kind.codeField, 5), QVariant(a.codeOf(5)));
        QCOMPARE(a.stored(a.kind.nameField(), 4), QVariant("From A"));
    }

    // An edit on one window does not undo what another wrote since the record was shown.
    void editReadsTheRecordAfresh()
    {
        Session a("stock", 1);
        auto second = a.another();
        Operator b(*second, a.kind);
        a.browseByName();
        a.pickListed("Name 1");
        b.browseByName();
        b.pickListed("Name 1");
        b.press("cmdEdit");
        b.type("txtQuantity", "40");
        b.press("cmdUpdate");

        a.press("cmdEdit");
        QCOMPARE(a.text("txtQuantity"), "40");
        a.type("txtRate", "12.5");
        a.press("cmdUpdate");
        QCOMPARE(a.stored("Quantity", 1), QVariant(40.0));
        QCOMPARE(a.stored("Rate", 1), QVariant(12.5));
    }

};

QTEST_MAIN(MasterFormsTest)
#include "test_masterforms.moc"
