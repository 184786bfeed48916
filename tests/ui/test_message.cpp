// The one message function: what a form says reaches the installed hook, with
// the application's title when the message names none.
#include "ui/message.h"

#include <QtTest>

using namespace zelva;

class MessageTest : public QObject {
    Q_OBJECT
private slots:
    void messagesGoToTheHook()
    {
        QStringList seen;
        SetMessageHook([&](const QString& text, const QString& title) { seen << title + "|" + text; });
        MsgBox("Saved Successfully");
        MsgBox(" Enter Name ", "Stock");
        SetMessageHook({});
        QCOMPARE(seen, QStringList({"Zelva Billing System|Saved Successfully", "Stock| Enter Name "}));
    }
};

QTEST_GUILESS_MAIN(MessageTest)
#include "test_message.moc"
