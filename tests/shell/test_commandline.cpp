// The command line and the operator store behind --add-operator.
#include "data/recordsource.h"
#include "shell/commandline.h"
#include "shell/operators.h"
#include "support/formdriver.h"

#include <QtTest>

using namespace zelva;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<QString>("operatorName");

        QTest::newRow("nothing") << QStringList {} << Action::Run << "" << "";
        QTest::newRow("data folder") << QStringList {"--data-dir", "/srv/shop"} << Action::Run << "/srv/shop" << "";
        QTest::newRow("data folder with =") << QStringList {"--data-dir=/srv/shop"} << Action::Run << "/srv/shop" << "";
        QTest::newRow("add operator")
            << QStringList {"--add-operator", "Asha", "--data-dir", "d"} << Action::AddOperator << "d" << "Asha";
        QTest::newRow("help") << QStringList {"--help"} << Action::Help << "" << "";
        QTest::newRow("-h") << QStringList {"-h"} << Action::Help << "" << "";
        QTest::newRow("version") << QStringList {"--version"} << Action::Version << "" << "";
        QTest::newRow("-v") << QStringList {"-v"} << Action::Version << "" << "";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, dataDir);
        QFETCH(QString, operatorName);
        const CommandLine line = ParseCommandLine(QStringList {"zelva"} + arguments);
        QCOMPARE(line.error, QString());
        QCOMPARE(line.action, action);
        QCOMPARE(line.dataDir, dataDir);
        QCOMPARE(line.operatorName, operatorName);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList {"--colour"} << "Unknown option 'colour'.";
        QTest::newRow("missing folder") << QStringList {"--data-dir"} << "Missing value after '--data-dir'.";
        QTest::newRow("empty folder") << QStringList {"--data-dir="} << "--data-dir needs a folder.";
        QTest::newRow("folder twice") << QStringList {"--data-dir", "a", "--data-dir", "b"}
                                      << "--data-dir is given more than once.";
        QTest::newRow("missing user name") << QStringList {"--add-operator"} << "Missing value after '--add-operator'.";
        QTest::newRow("empty user name") << QStringList {"--add-operator", ""} << "--add-operator needs a user name.";
        QTest::newRow("stray argument") << QStringList {"shop"} << "Unexpected argument 'shop'.";
    }

    // A mistake is one line that says what is wrong, never a silent start.
    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const CommandLine line = ParseCommandLine(QStringList {"zelva"} + arguments);
        QCOMPARE(line.action, Action::Error);
        QCOMPARE(line.error, error);
        QVERIFY(!line.error.contains(QLatin1Char('\n')));
    }

    void helpNamesEveryOption()
    {
        const QString help = HelpText("zelva");
        for (const char* option : {"--data-dir DIR", "--add-operator NAME", "--help", "--version"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
    }

    void addOperatorRefusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty user name") << "" << "pw" << "Type a user name.";
        QTest::newRow("leading blank") << " Asha" << "pw" << "A user name must not begin or end with a blank.";
        QTest::newRow("empty password") << "Ravi" << "" << "Type a password.";
        QTest::newRow("name taken") << "Asha" << "other" << "There is already an operator named \"Asha\".";
    }

    void addOperatorRefusals()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        testing::TempData data;
        QCOMPARE(AddOperator(*data.db, "Asha", "pw"), QString());
        QCOMPARE(AddOperator(*data.db, user, password), refusal);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Zlv, "SELECT count(*) FROM Login").toInt(), 1);
    }

    // What is stored is a hash of exactly what was typed, never the text itself.
    void storedPasswordIsAHash()
    {
        testing::TempData data;
        QCOMPARE(ReadLoginTable(*data.db), LoginTable::Empty);
        QCOMPARE(AddOperator(*data.db, "Asha", " Tea 42 ", AddWhen::TableEmpty), QString());
        QCOMPARE(AddOperator(*data.db, "Ravi", "x", AddWhen::TableEmpty).isEmpty(), false);
        QCOMPARE(ReadLoginTable(*data.db), LoginTable::Ready);

        const QVariant stored
            = testing::valueInFile(data.folder(), DbFile::Zlv, "SELECT Password FROM Login WHERE username = 'Asha'");
        QVERIFY(stored.toString().startsWith("$argon2id$"));
        QVERIFY(!stored.toString().contains("Tea"));
        QVERIFY(PasswordMatches(stored, " Tea 42 "));
        QVERIFY(!PasswordMatches(stored, "Tea 42"));
        QVERIFY(!PasswordMatches(stored, " tea 42 "));
        // Two operators with one password get different hashes.
        QVERIFY(HashPassword("same") != HashPassword("same"));
    }

    void oddStoredValuesNeverMatch()
    {
        QVERIFY(!PasswordMatches(QVariant(), ""));
        QVERIFY(!PasswordMatches(QString(), ""));
        QVERIFY(!PasswordMatches("secret", "secret"));
        QVERIFY(!PasswordMatches(42, "42"));
        QVERIFY(!PasswordMatches("$argon2id$" + QString(200, 'a'), "a"));
        const QString hash = HashPassword("pw");
        QVERIFY(!RecordAdmits(QVariant(), hash, "", "pw"));
        QVERIFY(!RecordAdmits("", hash, "", "pw"));
        QVERIFY(RecordAdmits("Asha", hash, "Asha", "pw"));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_commandline.moc"
