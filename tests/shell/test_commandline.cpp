// The command line and the operator store behind --add-operator.
#include "data/recordsource.h"
#include "shell/commandline.h"
#include "shell/module1.h"
#include "shell/operators.h"
#include "support/formdriver.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelva;
using Action = CommandLine::Action;

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with the arguments, standard input given, and no display.
Finished runProgram(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZELVA_PROGRAM), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        program.kill();
    return { program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
        QString::fromLocal8Bit(program.readAllStandardError()) };
}

} // namespace

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

        QTest::newRow("nothing") << QStringList {} << Action::Run << ""
                                 << "";
        QTest::newRow("data folder") << QStringList { "--data-dir", "/srv/shop" } << Action::Run << "/srv/shop"
                                     << "";
        QTest::newRow("data folder with =") << QStringList { "--data-dir=/srv/shop" } << Action::Run << "/srv/shop"
                                            << "";
        QTest::newRow("add operator") << QStringList { "--add-operator", "Asha", "--data-dir", "d" }
                                      << Action::AddOperator << "d"
                                      << "Asha";
        QTest::newRow("help") << QStringList { "--help" } << Action::Help << ""
                              << "";
        QTest::newRow("-h") << QStringList { "-h" } << Action::Help << ""
                            << "";
        QTest::newRow("version") << QStringList { "--version" } << Action::Version << ""
                                 << "";
        QTest::newRow("-v") << QStringList { "-v" } << Action::Version << ""
                            << "";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, dataDir);
        QFETCH(QString, operatorName);
        const CommandLine line = ParseCommandLine(QStringList { "zelva" } + arguments);
        QCOMPARE(line.error, QString());
        QCOMPARE(line.action, action);
        QCOMPARE(line.dataDir, dataDir);
        QCOMPARE(line.operatorName, operatorName);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList { "--colour" } << "Unknown option 'colour'.";
        QTest::newRow("missing folder") << QStringList { "--data-dir" } << "Missing value after '--data-dir'.";
        QTest::newRow("empty folder") << QStringList { "--data-dir=" } << "--data-dir needs a folder.";
        QTest::newRow("folder twice") << QStringList { "--data-dir", "a", "--data-dir", "b" }
                                      << "--data-dir is given more than once.";
        QTest::newRow("missing user name")
            << QStringList { "--add-operator" } << "Missing value after '--add-operator'.";
        QTest::newRow("empty user name") << QStringList { "--add-operator", "" } << "--add-operator needs a user name.";
        QTest::newRow("stray argument") << QStringList { "shop" } << "Unexpected argument 'shop'.";
    }

    // A mistake is one line that says what is wrong, never a silent start.
    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const CommandLine line = ParseCommandLine(QStringList { "zelva" } + arguments);
        QCOMPARE(line.action, Action::Error);
        QCOMPARE(line.error, error);
        QVERIFY(!line.error.contains(QLatin1Char('\n')));
    }

    // The program itself: a mistake ends it with one line and a non-zero status.
    void programRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList { "--colour" } << 2
                                        << "zelva: Unknown option 'colour'. See 'zelva --help'.\n";
        QTest::newRow("stray argument") << QStringList { "shop" } << 2
                                        << "zelva: Unexpected argument 'shop'. See 'zelva --help'.\n";
        QTest::newRow("no password given") << QStringList { "--add-operator", "Asha", "--data-dir", "@" } << 1
                                           << "zelva: No password on standard input.\n";
    }

    void programRefusesBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        QTemporaryDir dir;
        arguments.replaceInStrings("@", dir.path());
        const Finished finished = runProgram(arguments);
        QCOMPARE(finished.exitCode, exitCode);
        QCOMPARE(finished.err, error);
        QVERIFY(finished.out.isEmpty());
    }

    void programHelpAndVersion()
    {
        Finished help = runProgram({ "--help" });
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("Usage: zelva"));
        Finished version = runProgram({ "--version" });
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QString("Zelva Billing System %1\n").arg(ApplicationVersion()));
    }

    // --add-operator with the password piped in: exactly the first line is
    // the password, stored as a hash.
    void programAddsAnOperator()
    {
        QTemporaryDir dir;
        const Finished added = runProgram({ "--data-dir", dir.path(), "--add-operator", "Asha" }, "Tea 42 \nignored\n");
        QCOMPARE(added.exitCode, 0);
        QVERIFY(added.out.startsWith("Operator \"Asha\" added"));
        const QVariant stored
            = testing::valueInFile(dir.path(), DbFile::Zlv, "SELECT Password FROM Login WHERE username = 'Asha'");
        QVERIFY(PasswordMatches(stored, "Tea 42 "));

        const Finished again = runProgram({ "--data-dir", dir.path(), "--add-operator", "Asha" }, "x\n");
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.contains("There is already an operator named \"Asha\"."));
    }

    // A damaged login file is named as such; nothing is written over it.
    void programReportsADamagedLoginFile()
    {
        QTemporaryDir dir;
        QFile damaged(dir.filePath("ZLV.db"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        const Finished finished = runProgram({ "--data-dir", dir.path(), "--add-operator", "Asha" }, "pw\n");
        QCOMPARE(finished.exitCode, 1);
        QVERIFY2(finished.err.contains("(ZLV.db): the file is damaged"), qPrintable(finished.err));
        QVERIFY2(finished.err.trimmed().endsWith(QString("(data folder %1)").arg(dir.path())), qPrintable(finished.err));
        QCOMPARE(finished.err.count('\n'), 1);
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray(4096, 'x'));
    }

    void helpNamesEveryOption()
    {
        const QString help = HelpText("zelva");
        for (const char* option : { "--data-dir DIR", "--add-operator NAME", "--help", "--version" })
            QVERIFY2(help.contains(QLatin1String(option)), option);
    }

    void addOperatorRefusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty user name") << ""
                                         << "pw"
                                         << "Type a user name.";
        QTest::newRow("leading blank") << " Asha"
                                       << "pw"
                                       << "A user name must not begin or end with a blank.";
        QTest::newRow("empty password") << "Ravi"
                                        << ""
                                        << "Type a password.";
        QTest::newRow("name taken") << "Asha"
                                    << "other"
                                    << "There is already an operator named \"Asha\".";
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
