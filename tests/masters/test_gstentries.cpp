// The GSTIN and State look on the buyer, company and supplier forms: a wrong entry
// (a GSTIN failing its check, an unknown State, a GSTIN of another State than the
// one typed) is named in a question that asks whether to save anyway. Yes stores the record
// as typed; No stores nothing and leaves the record pending (on Save) or in
// editing (on Update) to be corrected. Right entries and "no GSTIN" pass
// without a question.
#include "masterdriver.h"

using namespace testing;
using namespace zelva;

class TestGstEntries : public QObject {
    Q_OBJECT

private slots:
    void saveAsks_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("gstin");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("named"); // what the question names; empty: no question
        QTest::addColumn<bool>("yes");
        for (const QString kind : { "buyer", "company", "supplier" }) {
            const auto row = [&](const char* name, const char* gstin, const char* state, const QStringList& named,
                                 bool yes) {
                QTest::newRow(qPrintable(kind + ": " + name)) << kind << QString(gstin) << QString(state) << named << yes;
            };
            row("valid", "27AAPFU0939F1ZV", "Maharashtra", {}, false);
            row("no GSTIN, old spelling", "N.A.", "Orissa", {}, false);
            row("GSTIN of another State, No", "27AAPFU0939F1ZV", "Tamil Nadu",
                { "registered in State 27, not in 33-Tamil Nadu" }, false);
            row("unknown State, Yes", "27AAPFU0939F1ZV", "Madras Presidency", { "Madras Presidency" }, true);
            row("GSTIN of another State, Yes", "33AAACH7409R1Z8", "Karnataka",
                { "registered in State 33, not in 29-Karnataka" }, true);
            row("the GSTIN's State by its code", "27AAPFU0939F1ZV", "27-Maharashtra", {}, false);
            row("both wrong, No", "27aapfu0993f1zv", "Bombay State", { "The check character", "Bombay State" }, false);
        }
    }

    void saveAsks()
    {
        QFETCH(QString, kind);
        QFETCH(QString, gstin);
        QFETCH(QString, state);
        QFETCH(QStringList, named);
        QFETCH(bool, yes);
        Session op(kind);
        Answers answers(yes);
        op.startNew();
        op.enter(op.kind.nameBox(), "Vasant Agencies");
        for (const Entry& e : op.kind.entries.mid(1))
            if (!e.blank.isValid())
                op.enter(e.box, e.typed);
        op.enter("txtGstin", gstin);
        op.enter("txtState", state);
        op.press("cmdSave");

        QCOMPARE(answers.asked.size(), named.isEmpty() ? 0 : 1);
        if (!named.isEmpty())
            for (const QString& n : named + QStringList { "Save anyway?" })
                QVERIFY2(answers.asked.first().contains(n), qPrintable(answers.asked.first()));
        if (named.isEmpty() || yes) {
            QCOMPARE(op.messages.texts(), QStringList { "Saved Successfully" });
            QCOMPARE(op.stored("Gstin", 1).toString(), gstin);
            QCOMPARE(op.stored("State", 1).toString(), state);
            return;
        }
        // No: nothing stored, the record still pending with what was typed; corrected, it saves.
        QVERIFY(op.messages.texts().isEmpty());
        QVERIFY(op.stored("Gstin", 1).isNull());
        QCOMPARE(op.text(op.kind.nameBox()), QString("Vasant Agencies"));
        op.enter("txtGstin", "27AAPFU0939F1ZV");
        op.enter("txtState", "Maharashtra");
        op.press("cmdSave");
        QCOMPARE(answers.asked.size(), 1);
        QCOMPARE(op.messages.last(), QString("Saved Successfully"));
        QCOMPARE(op.stored("Gstin", 1).toString(), QString("27AAPFU0939F1ZV"));
    }

    void updateAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes stores") << true;
        QTest::newRow("No keeps editing") << false;
    }

    void updateAsks()
    {
        QFETCH(bool, yes);
        Session op("buyer", 1);
        const QString before = op.stored("Gstin", 1).toString();
        op.browseByName();
        op.pickListed("Name 1");
        op.press("cmdEdit");
        op.enter("txtGstin", "33AAACH7409R1Z9"); // the last character mistyped
        Answers answers(yes);
        op.press("cmdUpdate");

        QCOMPARE(answers.asked.size(), 1);
        QVERIFY2(answers.asked.first().contains("The check character"), qPrintable(answers.asked.first()));
        QCOMPARE(op.stored("Gstin", 1).toString(), yes ? QString("33AAACH7409R1Z9") : before);
        QCOMPARE(op.enabled("cmdUpdate"), !yes); // No: still editing, to be corrected
    }
};

QTEST_MAIN(TestGstEntries)
#include "test_gstentries.moc"
