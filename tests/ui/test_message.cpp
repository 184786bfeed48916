// The one message function: what a form says is shown as plain text. A number
// box's text is refused through it, naming the box.
#include "ui/formboxes.h"
#include "ui/message.h"
#include "platform/textnum.h"

#include "support/formdriver.h"

#include <QDialog>
#include <QLabel>
#include <QtTest>

using namespace zelva;

class MessageTest : public QObject {
    Q_OBJECT
private slots:

    // A number box's text is read by the one rule; one that is not a number
    // is refused with a message naming the box and quoting the text.
    void numberBoxRefusalNamesTheBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("number with blanks") << " 12.50 " << true;
        QTest::newRow("letters after digits") << "12a" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("thousands comma") << "1,000" << false;
    }
    void numberBoxRefusalNamesTheBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QStringList said;
        SetMessageHook([&](const QString& t, const QString&) { said << t; });
        double out = 77;
        QCOMPARE(ReadNumber(text, "Rate (Rs.)", out), taken);
        SetMessageHook({});
        QCOMPARE(out, taken ? 12.5 : 77.0);
        QCOMPARE(said, taken ? QStringList() : QStringList{NotANumberMessage("Rate (Rs.)", text)});
        if (!taken)
            QVERIFY(said[0].startsWith("Rate (Rs.) must be a number") && said[0].contains('"' + text + '"'));
    }

    // A typed name or rate in a message or a question is shown as typed,
    // never read as formatting.
    void typedTextShownAsTyped()
    {
        const QString text = "Bought -5 of <b>Bold</b> & Co at <i>12</i>: a return note is made.";
        QStringList shown;
        const auto read = [&](QDialog* box) {
            const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            QVERIFY(label);
            shown << (testing::showsAsTyped(label) ? label->text() : QString("formatted"));
            box->reject();
        };
        testing::withModal([&] { MsgBox(text); }, read);
        testing::withModal([&] { AskYesNo(text); }, read);
        QCOMPARE(shown, QStringList({text, text}));
    }
};

QTEST_MAIN(MessageTest)
#include "test_message.moc"
