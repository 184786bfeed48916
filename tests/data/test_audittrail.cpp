// The audit trail: one entry per change, written only with its change, each
// chained to the one before, so that an entry edited, removed or moved is
// found, and two counters saving at once leave one unbroken chain.
#include "data/audittrail.h"
#include "data/backup.h"
#include "data/serials.h"
#include "storetest.h"
#include "support/testserver.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <thread>

using namespace zelva;
using namespace testing;
using namespace Qt::StringLiterals;

namespace {

void logInOwnWork(Database& db, const QString& key, AuditAction action, const std::vector<FieldChange>& changes = {})
{
    Transaction work(db, "save");
    LogChange(db, "CustomerDetails", key, action, changes);
    work.commit();
}

int entryCount(const TempData& d) { return countIn(d.folder(), DbFile::Zlv, AuditTrailTable); }

// One entry as the report shows it: table, key, action and each field's change.
QString shown(const AuditEntry& e)
{
    QStringList parts{e.table, e.key, e.action};
    for (const FieldChange& c : e.changes)
        parts << QStringLiteral("%1: %2 -> %3").arg(c.field, c.before, c.after);
    return parts.join(QStringLiteral(" | "));
}

QStringList shownTrail(Database& db, const AuditFilter& filter = {})
{
    QStringList all;
    for (const AuditEntry& e : ReadAuditTrail(db, filter))
        all << shown(e);
    return all;
}

std::unique_ptr<Database> openCounter(const TempData& d)
{
    OpenOptions options;
    options.busyTimeoutMs = 60000; // the other counter holds the writers' lock now and then
    return d.db->onServer() ? Database::openServer(d.db->serverUrl(), d.folder(), options)
                            : Database::open(d.folder(), options);
}

} // namespace

class AuditTrailTest : public QObject {
    Q_OBJECT
private slots:
    void init() { SetAuditOperator("meena"); }

    // Each entry names the operator, the computer, the time to the second,
    // the record and its changes; the chain of four holds.
    void entriesKeepWhoWhatAndWhen()
    {
        TempData d;
        const QString before = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss");
        logInOwnWork(*d.db, "C00001", AuditAction::Added, {{"Name", "", "Kochi Stores"}});
        logInOwnWork(*d.db, "C00001", AuditAction::Changed, {{"Gstin", "32AAAAA0000A1Z5", "32BBBBB1111B1Z6"}});
        SetAuditOperator("ravi");
        logInOwnWork(*d.db, "C00002", AuditAction::Changed, {{"State", "Kerala", "Tamil Nadu"}, {"Pin", "", "600001"}});
        logInOwnWork(*d.db, "C00001", AuditAction::Cancelled);

        const std::vector<AuditEntry> all = ReadAuditTrail(*d.db, {});
        QCOMPARE(all.size(), size_t(4));
        QCOMPARE(all[1].operatorName, QString("meena"));
        QCOMPARE(all[2].operatorName, QString("ravi"));
        QCOMPARE(all[2].computer, QSysInfo::machineHostName());
        QCOMPARE(all[3].serial, qint64(4));
        QVERIFY(all[0].at >= before);
        QCOMPARE(all[0].at.size(), 19); // yyyy-MM-dd hh:mm:ss
        QCOMPARE(shownTrail(*d.db, {{}, {}, {}, {}, "C00002"}),
                 QStringList({"CustomerDetails | C00002 | changed | State: Kerala -> Tamil Nadu | Pin:  -> 600001"}));
        QCOMPARE(shownTrail(*d.db, {{}, {}, "meena", {}, {}}).size(), 2);

        const AuditVerdict verdict = VerifyAuditTrail(*d.db);
        QVERIFY2(verdict.intact, qPrintable(verdict.text()));
        QCOMPARE(verdict.count, qint64(4));
        QCOMPARE(verdict.firstAt, all[0].at);
        QCOMPARE(verdict.lastAt, all[3].at);
        QVERIFY(verdict.text().contains("intact: 4 entries"));
    }

    // No entry without its change: a piece of work that rolls back takes its
    // entries with it, and an entry is refused outside any piece of work.
    void rolledBackWorkLeavesNoEntry()
    {
        TempData d;
        logInOwnWork(*d.db, "C00001", AuditAction::Added);
        {
            Transaction work(*d.db, "save");
            LogChange(*d.db, "CustomerDetails", "C00001", AuditAction::Changed, {{"Gstin", "a", "b"}});
        } // not committed
        QCOMPARE(errorOf([&] { LogChange(*d.db, "Stock", "G00001", AuditAction::Added); }),
                 QString("Could not keep the audit trail (%1): a change to Stock must be logged inside its own piece of "
                         "work")
                     .arg(d.db->placeOf(DbFile::Zlv)));
        // A record source's save refused by its column leaves neither the record nor an entry.
        RecordSource stock(*d.db);
        stock.bind(DbFile::ItemStock, "Stock");
        stock.addNew();
        stock.setValue("itemcode", "G00001");
        stock.setValue("Rate", "12a");
        QVERIFY(errorOf([&] { stock.update(); }).contains("is not a number"));
        QCOMPARE(entryCount(d), 1);
        QVERIFY(VerifyAuditTrail(*d.db).intact);
        logInOwnWork(*d.db, "C00001", AuditAction::Cancelled); // the chain goes on from the entry that stayed
        QCOMPARE(VerifyAuditTrail(*d.db).count, qint64(2));
    }

    // A record source logs a new record with its values, and a change with
    // only the fields that changed, old and new, keyed by the record's code.
    void recordSourceLogsWhatChanged()
    {
        TempData d;
        RecordSource stock(*d.db);
        stock.bind(DbFile::ItemStock, "Stock");
        addRecord(stock, {{"sno", 7}, {"itemcode", "G00007"}, {"ItemName", "Cable"}, {"Rate", 10}, {"Quantity", 3}});
        stock.setFilter("itemcode", "G00007");
        stock.moveFirst();
        {
            Transaction work(*d.db, "save the changes");
            stock.edit();
            stock.setValue("ItemName", "Cable"); // unchanged: not an entry's field
            stock.setValue("Rate", "12.5");
            stock.setValue("Quantity", 3);
            stock.update();
            work.commit();
        }
        const QStringList trail = shownTrail(*d.db, {{}, {}, {}, "Stock", {}});
        QCOMPARE(trail.size(), 2);
        QCOMPARE(trail[0], QString("Stock | G00007 | added | sno:  -> 7 | itemcode:  -> G00007 | ItemName:  -> Cable | "
                                   "Rate:  -> 10 | Quantity:  -> 3"));
        QCOMPARE(trail[1], QString("Stock | G00007 | changed | Rate: 10 -> 12.5"));
    }

    // An operator added is logged by name; the password hash never is.
    void operatorsPasswordIsNeverLogged()
    {
        TempData d;
        const QString hash = "$argon2id$v=19$m=65536,t=2,p=1$secretsalt$secrethash";
        RecordSource login(*d.db);
        login.bind(DbFile::Zlv, "Login");
        addRecord(login, {{"username", "ravi"}, {"Password", hash}});
        login.moveFirst();
        {
            Transaction work(*d.db, "change the password");
            login.edit();
            login.setValue("Password", hash + "2");
            login.update();
            work.commit();
        }
        QCOMPARE(shownTrail(*d.db), QStringList({"Login | ravi | added | username:  -> ravi | Password:  -> (not kept)",
                                                 "Login | ravi | changed | Password: (not kept) -> (not kept)"}));
        for (const QVariantList& row : rowsInFile(d.folder(), DbFile::Zlv, "SELECT * FROM AuditTrail"))
            for (const QVariant& value : row)
                QVERIFY2(!value.toString().contains("secret"), qPrintable(value.toString()));
    }

    // The changes are kept as QJsonDocument writes them, whatever the texts
    // hold (quotes, backslashes, each control character, Tamil, Hindi, a sign
    // beyond the first plane), and read back as they were given.
    void changesKeptAsJson_data()
    {
        QString controls;
        for (char16_t c = 1; c < 0x20; ++c)
            controls += QChar(c);
        QTest::addColumn<std::vector<FieldChange>>("changes");
        QTest::newRow("plain") << std::vector<FieldChange>{{"Name", "", "Kochi Stores"}};
        QTest::newRow("quotes and backslashes")
            << std::vector<FieldChange>{{"Remarks", "say \"12\\\" pipe\"", "C:\\new\\\"x\""}, {"Pin", "", "600001"}};
        QTest::newRow("control characters") << std::vector<FieldChange>{{"address", "12,\nGandhi Road\r\n", controls},
                                                                         {"Remarks", "\tx\b\f", QString(QChar(0x7f))}};
        QTest::newRow("Tamil, Hindi and beyond")
            << std::vector<FieldChange>{{"Name", u"\u0bae\u0bc1\u0bb0\u0bc1\u0b95\u0ba9\u0bcd"_s,
                                         u"\u0930\u093e\u092e \u091f\u094d\u0930\u0947\u0921\u0930\u094d\u0938 \U0001F600"_s}};
        QTest::newRow("empty fields") << std::vector<FieldChange>{{"", "", ""}, {"Quantity", "0", ""}};
    }
    void changesKeptAsJson()
    {
        QFETCH(std::vector<FieldChange>, changes);
        QJsonArray all;
        for (const FieldChange& c : changes)
            all.append(QJsonArray{c.field, c.before, c.after});
        QCOMPARE(AuditChangesText(changes), QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact)));
        TempData d;
        logInOwnWork(*d.db, "C00001", AuditAction::Changed, changes);
        QCOMPARE(ReadAuditTrail(*d.db, {}).front().changes, changes);
        QVERIFY(VerifyAuditTrail(*d.db).intact);
    }
    void changesKeptAsJsonNone()
    {
        QCOMPARE(AuditChangesText({}), QString());
    }

    // An entry kept by an earlier version of the program, its hash taken over
    // each part with its length and the previous hash, still holds, and the
    // next entry chains on from it.
    void entryKeptBeforeStillHolds()
    {
        TempData d;
        const QStringList parts{"2024-04-01 10:15:00", "meena", "counter-1", "CustomerDetails", "C00001", "added",
                                R"([["Name","","மதுரை Stores"]])"};
        QByteArray text = "0:1:1";
        for (const QString& part : parts)
            text += QByteArray::number(part.toUtf8().size()) + ':' + part.toUtf8();
        const QString hash = QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
        {
            Transaction work(*d.db, "keep an old entry");
            QVariantList values{1};
            for (const QString& part : parts)
                values << part;
            d.db->run(QStringLiteral("INSERT INTO \"%1\".\"AuditTrail\" (\"Sno\", \"At\", \"Operator\", \"Computer\", "
                                     "\"TableName\", \"RecordKey\", \"Action\", \"Changes\", \"Hash\") "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                          .arg(SchemaName(DbFile::Zlv)),
                      values << hash, "keep an old entry", DbFile::Zlv);
            work.commit();
        }
        QVERIFY(VerifyAuditTrail(*d.db).intact);
        logInOwnWork(*d.db, "C00001", AuditAction::Cancelled);
        const AuditVerdict verdict = VerifyAuditTrail(*d.db);
        QVERIFY2(verdict.intact, qPrintable(verdict.text()));
        QCOMPARE(verdict.count, qint64(2));
    }

    // Editing an entry's text, removing one or swapping two: the verifier
    // names the first entry that does not hold, and the check at login says
    // so and logs the finding after it.
    void tamperingIsFound_data()
    {
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<qint64>("broken");
        QTest::addColumn<QString>("problem");
        QTest::newRow("a value edited") << "UPDATE AuditTrail SET Changes = replace(Changes, '32B', '32C') WHERE Sno = 3"
                                        << qint64(3) << "its content does not match its hash";
        QTest::newRow("the operator edited") << "UPDATE AuditTrail SET Operator = 'ravi' WHERE Sno = 2" << qint64(2)
                                             << "its content does not match its hash";
        QTest::newRow("one removed") << "DELETE FROM AuditTrail WHERE Sno = 2" << qint64(3)
                                     << "entry 2 before it is missing";
        QTest::newRow("one moved to the end") << "UPDATE AuditTrail SET Sno = 13 WHERE Sno = 3" << qint64(4)
                                              << "entry 3 before it is missing";
        QTest::newRow("the first removed") << "DELETE FROM AuditTrail WHERE Sno = 1" << qint64(2)
                                           << "entry 1 before it is missing";
    }
    void tamperingIsFound()
    {
        QFETCH(QString, tamper);
        QFETCH(qint64, broken);
        QFETCH(QString, problem);
        TempData d;
        logInOwnWork(*d.db, "C00001", AuditAction::Added, {{"Name", "", "Kochi Stores"}});
        logInOwnWork(*d.db, "C00002", AuditAction::Added, {{"Name", "", "Madurai Traders"}});
        logInOwnWork(*d.db, "C00001", AuditAction::Changed, {{"Gstin", "32AAAAA0000A1Z5", "32BBBBB1111B1Z6"}});
        logInOwnWork(*d.db, "C00002", AuditAction::Cancelled);
        logInOwnWork(*d.db, "C00001", AuditAction::Cancelled);
        QVERIFY(changeFileElsewhere(d.folder(), DbFile::Zlv, tamper));
        const AuditVerdict verdict = VerifyAuditTrail(*d.db);
        QVERIFY(!verdict.intact);
        QCOMPARE(verdict.brokenSerial, broken);
        QCOMPARE(verdict.problem, problem);
        QCOMPARE(verdict.text(), QString("The audit trail is broken at entry %1: %2.").arg(broken).arg(problem));

        const QString said = CheckAuditTrailAtLogin(*d.db);
        QVERIFY2(said.startsWith(verdict.text()), qPrintable(said));
        const std::vector<AuditEntry> all = ReadAuditTrail(*d.db, {});
        QCOMPARE(all.back().action, QString("found broken"));
        QCOMPARE(all.back().key, QString::number(broken));
        QCOMPARE(VerifyAuditTrail(*d.db).brokenSerial, broken); // the first break is still the one named
    }

    // A backup carries the trail whole, and a restore brings back the trail
    // as it was then, its chain holding.
    void backupAndRestoreCarryTheTrail()
    {
        ON_FILES_ONLY();
        TempData d;
        QTemporaryDir backups;
        logInOwnWork(*d.db, "C00001", AuditAction::Added);
        logInOwnWork(*d.db, "C00001", AuditAction::Changed, {{"Gstin", "a", "b"}});
        const QString backup = BackUpData(d.folder(), backups.path());
        {
            const std::unique_ptr<Database> copy = Database::open(backup);
            QCOMPARE(VerifyAuditTrail(*copy).count, qint64(2));
        }
        logInOwnWork(*d.db, "C00001", AuditAction::Cancelled);
        RestoreData(*d.db, backup);
        const AuditVerdict restored = VerifyAuditTrail(*d.db);
        QVERIFY2(restored.intact, qPrintable(restored.text()));
        QCOMPARE(restored.count, qint64(2));
        logInOwnWork(*d.db, "C00002", AuditAction::Added); // and goes on from there
        QCOMPARE(VerifyAuditTrail(*d.db).count, qint64(3));
    }

    void intactTrailSaysNothingAtLogin()
    {
        TempData d;
        logInOwnWork(*d.db, "C00001", AuditAction::Added);
        QCOMPARE(CheckAuditTrailAtLogin(*d.db), QString());
        QCOMPARE(entryCount(d), 1);
    }

    // Two counters saving at once, each on its own connection: every save has
    // its entry, the entries follow in commit order, and the chain holds.
    void twoCountersSavingAtOnceKeepOneChain()
    {
        TempData d;
        constexpr int Saves = 60;
        QStringList failures[2];
        const auto counter = [&](int which) {
            try {
                const std::unique_ptr<Database> db = openCounter(d);
                for (int i = 1; i <= Saves; ++i) {
                    Transaction work(*db, "save the item");
                    const int sno = which * 1000 + i;
                    const QString code = RecordCode(CodeKind::Item, sno);
                    db->run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName) VALUES (?, ?, 'x')", {sno, code},
                            "save", DbFile::ItemStock);
                    LogChange(*db, "Stock", code, AuditAction::Added);
                    work.commit();
                }
            } catch (const DataError& error) {
                failures[which] << error.message();
            }
        };
        std::thread first(counter, 0);
        std::thread second(counter, 1);
        first.join();
        second.join();
        QCOMPARE(failures[0], QStringList());
        QCOMPARE(failures[1], QStringList());
        const AuditVerdict verdict = VerifyAuditTrail(*d.db);
        QVERIFY2(verdict.intact, qPrintable(verdict.text()));
        QCOMPARE(verdict.count, qint64(2 * Saves));
        // Each counter's entries in the order it committed them.
        QStringList seen[2];
        for (const AuditEntry& e : ReadAuditTrail(*d.db, {}))
            seen[e.key.mid(1).toInt() / 1000] << e.key;
        for (int which : {0, 1}) {
            QCOMPARE(seen[which].size(), Saves);
            for (int i = 1; i <= Saves; ++i)
                QCOMPARE(seen[which][i - 1], RecordCode(CodeKind::Item, which * 1000 + i));
        }
    }
};

QTEST_GUILESS_MAIN(AuditTrailTest)
#include "test_audittrail.moc"
