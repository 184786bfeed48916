// The login form: who is admitted, what a refused operator sees, and the
// set-up of the first operator on a fresh data folder.
#include "shell/frmLogin.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "shell/operators.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace zelva;
using testing::MessageRecorder;
using testing::TempData;

namespace {

// One Login record: a user name and either a password that is stored hashed
// (as the program stores it) or a raw value written by someone else.
struct LoginRow {
    QVariant name;
    QVariant password;
    bool hashed;
};

LoginRow hashed(const QString& name, const QString& password) { return { name, password, true }; }
LoginRow raw(const QVariant& name, const QVariant& password) { return { name, password, false }; }

void writeLogin(Database& db, const QList<LoginRow>& rows)
{
    for (const LoginRow& row : rows) {
        const QVariant password
            = row.hashed && !row.password.isNull() ? QVariant(HashPassword(row.password.toString())) : row.password;
        db.run(QStringLiteral("INSERT INTO Login (username, Password) VALUES (?, ?)"), { row.name, password },
            QStringLiteral("write a test operator"), DbFile::Zlv);
    }
}

// Fills the boxes and presses OK the way an operator does.
void logIn(frmLogin& form, const QString& user, const QString& password)
{
    testing::typeInto(form.txtUserName, user);
    testing::typeInto(form.txtPassword, password);
    testing::click(form.cmdOK);
}

} // namespace

Q_DECLARE_METATYPE(QList<LoginRow>)

class LoginTest : public QObject {
    Q_OBJECT
    int m_ends = 0;

private slots:
    void init()
    {
        m_ends = 0;
        SetLoggedInUser({});
        SetEndProgramHook([this] { ++m_ends; });
    }
    void cleanup() { SetEndProgramHook({}); }

    void admission_data()
    {
        QTest::addColumn<QList<LoginRow>>("rows");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("admitted");

        const QList<LoginRow> one { hashed("Asha", "Tea 42") };
        QTest::newRow("exact match") << one << "Asha"
                                     << "Tea 42" << true;
        QTest::newRow("user name in another case") << one << "asha"
                                                   << "Tea 42" << false;
        QTest::newRow("password in another case") << one << "Asha"
                                                  << "tea 42" << false;
        QTest::newRow("trailing blank after user name") << one << "Asha "
                                                        << "Tea 42" << false;
        QTest::newRow("trailing blank after password") << one << "Asha"
                                                       << "Tea 42 " << false;
        QTest::newRow("wrong password") << one << "Asha"
                                        << "Tea 43" << false;
        QTest::newRow("unknown user") << one << "Ravi"
                                      << "Tea 42" << false;
        QTest::newRow("stored trailing blank typed alike") << QList<LoginRow> { hashed("Ravi ", "pw ") } << "Ravi "
                                                           << "pw " << true;

        const QList<LoginRow> twins { hashed("Asha", "first"), hashed("Asha", "second") };
        QTest::newRow("duplicate user, first password") << twins << "Asha"
                                                        << "first" << true;
        QTest::newRow("duplicate user, second password") << twins << "Asha"
                                                         << "second" << true;

        QTest::newRow("NULL user name") << QList<LoginRow> { hashed({}, "pw") } << ""
                                        << "pw" << false;
        QTest::newRow("NULL password, empty typed") << QList<LoginRow> { raw("Asha", {}) } << "Asha"
                                                    << "" << false;
        QTest::newRow("plain-text password typed alike") << QList<LoginRow> { raw("Asha", "Tea 42") } << "Asha"
                                                         << "Tea 42" << false;
        QTest::newRow("hash typed as the password")
            << QList<LoginRow> { raw("Asha", "$argon2id$v=19$m=65536,t=2,p=1$x$y") } << "Asha"
            << "$argon2id$v=19$m=65536,t=2,p=1$x$y" << false;
        QTest::newRow("empty user name stored") << QList<LoginRow> { hashed("", "pw") } << ""
                                                << "pw" << false;
    }

    void admission()
    {
        QFETCH(QList<LoginRow>, rows);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, admitted);

        TempData data;
        writeLogin(*data.db, rows);
        MessageRecorder messages;
        frmLogin form(*data.db);
        form.show();
        QVERIFY(!form.creatingFirstOperator());
        logIn(form, user, password);

        if (admitted) {
            QVERIFY(messages.texts().isEmpty());
            QVERIFY(!form.isVisible());
            QVERIFY(form.mainWindow());
            QVERIFY(form.mainWindow()->isVisible());
            QCOMPARE(LoggedInUser(), user);
            QCOMPARE(form.mainWindow()->panel(2)->text(), user);
        } else {
            QCOMPARE(messages.texts(), QStringList { "Invalid Password, try again!" });
            QCOMPARE(messages.titles(), QStringList { "Login" });
            QVERIFY(form.isVisible());
            QVERIFY(!form.mainWindow());
            QVERIFY(form.txtPassword->hasFocus());
            QCOMPARE(form.txtPassword->text(), password);
            QCOMPARE(form.txtUserName->text(), user);
            QVERIFY(LoggedInUser().isEmpty());
        }
    }

    void failedAttemptsAllowRetry()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "right") });
        MessageRecorder messages;
        frmLogin form(*data.db);
        form.show();
        logIn(form, "Asha", "wrong");
        logIn(form, "Asha", "also wrong");
        QCOMPARE(messages.texts().size(), 2);
        logIn(form, "Asha", "right");
        QVERIFY(form.mainWindow());
    }

    // The table is read afresh at every press.
    void operatorAddedWhileOpenIsFound()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "one") });
        MessageRecorder messages;
        frmLogin form(*data.db);
        form.show();
        QCOMPARE(AddOperator(*data.db, "Ravi", "two"), QString());
        logIn(form, "Ravi", "two");
        QVERIFY(messages.texts().isEmpty());
        QVERIFY(form.mainWindow());
    }

    void enterPressesOk()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "pw") });
        frmLogin form(*data.db);
        form.show();
        testing::typeInto(form.txtUserName, "Asha");
        testing::typeInto(form.txtPassword, "pw");
        QTest::keyClick(form.txtPassword, Qt::Key_Return);
        QVERIFY(form.mainWindow());
    }

    // Desktop themes where a group box takes Enter for itself: the frame
    // around the boxes passes it on to OK.
    void enterReachingTheFramePressesOk()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "pw") });
        frmLogin form(*data.db);
        form.show();
        testing::typeInto(form.txtUserName, "Asha");
        testing::typeInto(form.txtPassword, "pw");
        QTest::keyClick(form.Frame1, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(form.mainWindow());
    }

    void escapeEndsTheProgram()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "pw") });
        frmLogin form(*data.db);
        form.show();
        testing::typeInto(form.txtUserName, "Asha");
        QTest::keyClick(form.txtUserName, Qt::Key_Escape);
        QCOMPARE(m_ends, 1);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.mainWindow());
    }

    void cancelEndsTheProgram()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "pw") });
        frmLogin form(*data.db);
        form.show();
        testing::click(form.cmdCancel);
        QCOMPARE(m_ends, 1);
    }

    void captionsAndLabels()
    {
        TempData data;
        writeLogin(*data.db, { hashed("Asha", "pw") });
        frmLogin form(*data.db);
        QCOMPARE(form.windowTitle(), QString("Login"));
        QCOMPARE(form.lblLabels[0]->text(), QString("&User Name:"));
        QCOMPARE(form.lblLabels[1]->text(), QString("&Password:"));
        QCOMPARE(form.cmdOK->text(), QString("&OK"));
        QCOMPARE(form.cmdCancel->text(), QString("&Cancel"));
        QCOMPARE(form.txtPassword->echoMode(), QLineEdit::Password);
        QVERIFY(form.cmdOK->isDefault());
        QVERIFY(form.txtConfirmPassword->isHidden());
        QVERIFY(form.lblNotice->isHidden());
    }

    // Records no one can log in with (plain-text passwords of an older
    // install) leave the form saying how to add an operator.
    void unusableTableSaysHowToAddAnOperator()
    {
        TempData data;
        writeLogin(*data.db, { raw("Asha", "plain"), raw({}, {}) });
        frmLogin form(*data.db);
        QVERIFY(!form.creatingFirstOperator());
        QVERIFY(!form.lblNotice->isHidden());
        QVERIFY(form.lblNotice->text().contains(QString("zelva --data-dir \"%1\" --add-operator NAME").arg(data.folder())));
    }

    void firstOperatorRefusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty user name") << ""
                                         << "pw"
                                         << "pw"
                                         << "Type a user name."
                                         << "txtUserName";
        QTest::newRow("user name ends with a blank") << "Asha "
                                                     << "pw"
                                                     << "pw"
                                                     << "A user name must not begin or end with a blank."
                                                     << "txtUserName";
        QTest::newRow("empty password") << "Asha"
                                        << ""
                                        << ""
                                        << "Type a password."
                                        << "txtPassword";
        QTest::newRow("passwords differ") << "Asha"
                                          << "pw"
                                          << "pW"
                                          << "The two passwords differ; type the password again in both boxes."
                                          << "txtPassword";
    }

    void firstOperatorRefusals()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, again);
        QFETCH(QString, message);
        QFETCH(QString, focus);

        TempData data;
        MessageRecorder messages;
        frmLogin form(*data.db);
        form.show();
        QVERIFY(form.creatingFirstOperator());
        testing::typeInto(form.txtUserName, user);
        testing::typeInto(form.txtPassword, password);
        testing::typeInto(form.txtConfirmPassword, again);
        testing::click(form.cmdOK);
        QCOMPARE(messages.texts(), QStringList { message });
        QCOMPARE(messages.titles(), QStringList { "Login" });
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(!form.mainWindow());
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Zlv, "SELECT count(*) FROM Login").toInt(), 0);
        // Two differing passwords leave both boxes empty for a fresh try.
        const bool differ = password != again;
        QCOMPARE(form.txtPassword->text(), differ ? QString() : password);
        QCOMPARE(form.txtConfirmPassword->text(), differ ? QString() : again);
    }

    void firstOperatorIsCreatedAndLoggedIn()
    {
        TempData data;
        MessageRecorder messages;
        {
            frmLogin form(*data.db);
            form.show();
            QVERIFY(form.creatingFirstOperator());
            QVERIFY(!form.txtConfirmPassword->isHidden());
            QVERIFY(form.lblNotice->text().startsWith("No operator has been set up yet."));
            testing::typeInto(form.txtUserName, "Owner");
            testing::typeInto(form.txtPassword, "Secret 1");
            testing::typeInto(form.txtConfirmPassword, "Secret 1");
            testing::click(form.cmdOK);
            QVERIFY(messages.texts().isEmpty());
            QVERIFY(form.mainWindow());
            QCOMPARE(form.mainWindow()->panel(2)->text(), QString("Owner"));
        }
        const auto rows = testing::rowsInFile(data.folder(), DbFile::Zlv, "SELECT username, Password FROM Login");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].toString(), QString("Owner"));
        const QString stored = rows[0][1].toString();
        QVERIFY(stored.startsWith("$argon2id$"));
        QVERIFY(!stored.contains("Secret"));

        // The next start asks for the password as usual.
        frmLogin next(*data.db);
        next.show();
        QVERIFY(!next.creatingFirstOperator());
        QVERIFY(next.txtConfirmPassword->isHidden());
        logIn(next, "Owner", "secret 1");
        QCOMPARE(messages.last(), QString("Invalid Password, try again!"));
        logIn(next, "Owner", "Secret 1");
        QVERIFY(next.mainWindow());
    }

    // Someone added an operator from the command line while the set-up was open.
    void firstOperatorNotAddedOverAnother()
    {
        TempData data;
        MessageRecorder messages;
        frmLogin form(*data.db);
        form.show();
        QCOMPARE(AddOperator(*data.db, "Asha", "pw"), QString());
        testing::typeInto(form.txtUserName, "Intruder");
        testing::typeInto(form.txtPassword, "x");
        testing::typeInto(form.txtConfirmPassword, "x");
        testing::click(form.cmdOK);
        QVERIFY(!form.mainWindow());
        QVERIFY(!form.creatingFirstOperator());
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Zlv, "SELECT count(*) FROM Login").toInt(), 1);
        QVERIFY(messages.last().startsWith("An operator has been set up meanwhile"));
    }
};

QTEST_MAIN(LoginTest)
#include "test_login.moc"
