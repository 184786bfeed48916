// The login form: who is admitted, what a refused operator sees, and the
// set-up of the first operator on a fresh data folder.
#include "shell/frmLogin.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "shell/operators.h"
#include "shell/startup.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QApplication>
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
using LoginRows = QList<LoginRow>;

LoginRow hashed(const QVariant& name, const QString& password) { return { name, password, true }; }
LoginRow raw(const QVariant& name, const QVariant& password) { return { name, password, false }; }

// A data folder whose Login table holds the rows.
std::unique_ptr<TempData> dataWith(const LoginRows& rows)
{
    auto data = std::make_unique<TempData>();
    for (const LoginRow& row : rows) {
        const QVariant password = row.hashed ? QVariant(HashPassword(row.password.toString())) : row.password;
        data->db->run(QStringLiteral("INSERT INTO Login (username, Password) VALUES (?, ?)"), { row.name, password },
            QStringLiteral("write a test operator"), DbFile::Zlv);
    }
    return data;
}

int operatorsIn(const TempData& data)
{
    return testing::valueInFile(data.folder(), DbFile::Zlv, "SELECT count(*) FROM Login").toInt();
}

// Fills the boxes (and the second password box when given) and presses OK.
void logIn(frmLogin& form, const QString& user, const QString& password, const QString& again = {})
{
    testing::typeInto(form.txtUserName, user);
    testing::typeInto(form.txtPassword, password);
    if (!again.isNull())
        testing::typeInto(form.txtConfirmPassword, again);
    testing::click(form.cmdOK);
}

} // namespace

Q_DECLARE_METATYPE(LoginRows)

class LoginTest : public QObject {
    Q_OBJECT

    static void verifyAdmitted(frmLogin& form, const QString& user)
    {
        QVERIFY(!form.isVisible());
        QVERIFY(form.mainWindow() && form.mainWindow()->isVisible());
        QCOMPARE(LoggedInUser(), user);
        QCOMPARE(form.mainWindow()->panel(2)->text(), user);
        QVERIFY(testing::showsAsTyped(form.mainWindow()->panel(2)));
    }

private slots:
    void init()
    {
        SetLoggedInUser({});
        SetEndProgramHook([] {}); // the program goes on under the test
    }
    void cleanup() { SetEndProgramHook({}); }

    void admission_data()
    {
        QTest::addColumn<LoginRows>("rows");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("admitted");
        auto row = [](const char* name, const LoginRows& rows, const QString& user, const QString& password,
                       bool admitted) { QTest::newRow(name) << rows << user << password << admitted; };

        const LoginRows one { hashed("Asha", "Tea 42") };
        row("exact match", one, "Asha", "Tea 42", true);
        row("user name in another case", one, "asha", "Tea 42", false);
        row("password in another case", one, "Asha", "tea 42", false);
        row("trailing blank after user name", one, "Asha ", "Tea 42", false);
        row("trailing blank after password", one, "Asha", "Tea 42 ", false);
        row("unknown user", one, "Ravi", "Tea 42", false);
        row("name that looks like formatting", { hashed("<b>Asha</b>", "pw") }, "<b>Asha</b>", "pw", true);
        row("stored trailing blanks typed alike", { hashed("Ravi ", "pw ") }, "Ravi ", "pw ", true);

        const LoginRows twins { hashed("Asha", "first"), hashed("Asha", "second") };
        row("duplicate user, first password", twins, "Asha", "first", true);
        row("duplicate user, second password", twins, "Asha", "second", true);

        // Values written by someone else never admit anyone.
        row("NULL user name", { hashed(QVariant(), "pw") }, "", "pw", false);
        row("empty user name", { hashed("", "pw") }, "", "pw", false);
        row("NULL password, empty typed", { raw("Asha", QVariant()) }, "Asha", "", false);
        row("plain-text password typed alike", { raw("Asha", "Tea 42") }, "Asha", "Tea 42", false);
        const QString fakeHash = "$argon2id$v=19$m=65536,t=2,p=1$x$y";
        row("hash text typed as the password", { raw("Asha", fakeHash) }, "Asha", fakeHash, false);
        row("overlong hash", { raw("Asha", "$argon2id$" + QString(200, 'a')) }, "Asha", "a", false);
    }

    void admission()
    {
        QFETCH(LoginRows, rows);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, admitted);

        const auto data = dataWith(rows);
        MessageRecorder messages;
        frmLogin form(*data->db);
        form.show();
        QVERIFY(!form.creatingFirstOperator());
        logIn(form, user, password);

        if (admitted) {
            QVERIFY(messages.texts().isEmpty());
            verifyAdmitted(form, user);
            return;
        }
        QCOMPARE(messages.texts(), QStringList { "Invalid Password, try again!" });
        QVERIFY(form.isVisible() && !form.mainWindow() && form.txtPassword->hasFocus());
        QCOMPARE(form.txtPassword->text(), password);
        QCOMPARE(form.txtUserName->text(), user);
        QVERIFY(LoggedInUser().isEmpty());
    }

    // No limit on attempts, and the table is read afresh at every press: an
    // operator added meanwhile is found.
    void retriesReadTheTableAfresh()
    {
        const auto data = dataWith({ hashed("Asha", "right") });
        MessageRecorder messages;
        frmLogin form(*data->db);
        form.show();
        logIn(form, "Asha", "wrong");
        logIn(form, "Ravi", "two");
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(AddOperator(*data->db, "Ravi", "two"), QString());
        logIn(form, "Ravi", "two");
        QCOMPARE(messages.texts().size(), 2);
        verifyAdmitted(form, "Ravi");
    }

    // Records no one can log in with (plain-text passwords of an older
    // install) leave the form saying how to add an operator to this folder.
    void unusableTableSaysHowToAddAnOperator()
    {
        const auto data = dataWith({ raw("Asha", "plain"), raw(QVariant(), QVariant()) });
        frmLogin form(*data->db);
        QVERIFY(!form.creatingFirstOperator());
        QVERIFY(!form.lblNotice->isHidden());
        const QString place = data->db->onServer() ? "--server \"" + data->db->serverUrl() : "--data-dir \"" + data->folder();
        QVERIFY2(form.lblNotice->text().contains(QString("zelva %1\" --add-operator NAME").arg(place)),
                 qPrintable(form.lblNotice->text()));
    }

    void firstOperatorRefusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        auto row = [](const char* name, const char* user, const char* password, const char* again, const char* message,
                       const char* focus) { QTest::newRow(name) << user << password << again << message << focus; };
        row("empty user name", "", "pw", "pw", "Type a user name.", "txtUserName");
        row("user name ends with a blank", "Asha ", "pw", "pw", "A user name must not begin or end with a blank.",
            "txtUserName");
        row("user name begins with a blank", " Asha", "pw", "pw", "A user name must not begin or end with a blank.",
            "txtUserName");
        row("empty password", "Asha", "", "", "Type a password.", "txtPassword");
        row("passwords differ", "Asha", "pw", "pW", "The two passwords differ; type the password again in both boxes.",
            "txtPassword");
    }

    void firstOperatorRefusals()
    {
        ON_FILES_ONLY();
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
        logIn(form, user, password, again);
        QCOMPARE(messages.texts(), QStringList { message });
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(!form.mainWindow());
        QCOMPARE(operatorsIn(data), 0);
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
            logIn(form, "Owner", "Secret 1", "Secret 1");
            QVERIFY(messages.texts().isEmpty());
            verifyAdmitted(form, "Owner");
        }
        // Only a salted hash of exactly what was typed is stored.
        const auto rows = testing::rowsInFile(data.folder(), DbFile::Zlv, "SELECT username, Password FROM Login");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].toString(), QString("Owner"));
        const QString stored = rows[0][1].toString();
        QVERIFY(stored.startsWith("$argon2id$"));
        QVERIFY(!stored.contains("Secret"));
        QVERIFY(HashPassword("Secret 1") != stored);

        // The next start asks for the password as usual.
        frmLogin next(*data.db);
        next.show();
        QVERIFY(!next.creatingFirstOperator());
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
        logIn(form, "Intruder", "x", "x");
        QVERIFY(!form.mainWindow());
        QVERIFY(!form.creatingFirstOperator());
        QCOMPARE(operatorsIn(data), 1);
        QVERIFY(messages.last().startsWith("An operator has been set up meanwhile"));
    }

    // A damaged ZLV.db keeps every operator out, so Tools, Restore Data is out
    // of reach: start-up and the login window say to copy ZLV.db from a
    // backup folder instead, and never that a table is missing.
    void damagedLoginFileSaysHowToRestore()
    {
        SKIP_ON_SERVER("a damaged data file");
        TempData data;
        QCOMPARE(AddOperator(*data.db, "Asha", "pw"), QString());
        data.db.reset();
        QFile login(data.folder() + "/ZLV.db");
        QVERIFY(login.open(QIODevice::WriteOnly | QIODevice::Truncate));
        login.write(QByteArray(4096, 'x'));
        login.close();
        MessageRecorder messages;
        const auto db = OpenDataForWindows(data.folder());
        QVERIFY(db);
        frmLogin form(*db);
        form.show();
        logIn(form, "Asha", "pw");
        QVERIFY(!form.mainWindow());
        const QString copy = QString("copy ZLV.db from a backup folder (under %1/Backups) into the data folder %1")
                                 .arg(data.folder());
        QVERIFY2(messages.texts().size() >= 2, qPrintable(messages.texts().join('|')));
        for (const QString& said : messages.texts())
            QVERIFY2(said.contains(copy) && !said.contains("Restore Data") && !said.contains("missing"), qPrintable(said));
    }
};

QTEST_MAIN(LoginTest)
#include "test_login.moc"
