// The one message function: what a form says is shown as plain text.
#include "ui/message.h"

#include "support/formdriver.h"

#include <QDialog>
#include <QLabel>
#include <QtTest>

using namespace zelva;

class MessageTest : public QObject {
    Q_OBJECT
private slots:

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
