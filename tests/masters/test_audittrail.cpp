// What the master forms leave in the audit trail: Update of a buyer's GSTIN,
// an item's rate or the company's State is logged with the old and the new
// value, and a save whose entry cannot be written is refused whole.
#include "data/audittrail.h"
#include "masterdriver.h"
#include "support/testserver.h"

using namespace testing;
using namespace zelva;

namespace {

// The record with serial 2 as another program left it, then Edit, one box
// typed over, Update.
void editRecordTwo(Session& s, const QString& stored, const QString& box, const QString& typed)
{
    QVERIFY(changeFileElsewhere(s.data.folder(), s.kind.file,
                                QStringLiteral("UPDATE %1 SET %2 WHERE sno = 2").arg(s.kind.table, stored)));
    s.browseByName();
    s.pickListed("Name 2");
    s.press("cmdEdit");
    s.type(box, typed);
    s.press("cmdUpdate");
}

int trailEntries(const Session& s)
{
    return valueInFile(s.data.folder(), DbFile::Zlv, "SELECT count(*) FROM AuditTrail").toInt();
}

} // namespace

class MasterAuditTest : public QObject {
    Q_OBJECT
private slots:
    void init() { SetAuditOperator("meena"); }

    void updateIsLoggedWithOldAndNewValues_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("stored"); // what the record held before
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("a buyer's GSTIN")
            << "buyer" << "State = 'Tamil Nadu', Gstin = '33ARUNT1234A1Z2'" << "txtGstin" << "33AAACH7409R1Z8" << "Gstin"
            << "33ARUNT1234A1Z2" << "33AAACH7409R1Z8";
        QTest::newRow("an item's rate") << "stock" << "Rate = 10" << "txtRate" << "12.50" << "Rate" << "10" << "12.5";
        QTest::newRow("the company's State")
            << "company" << "State = 'Tamil Nadu'" << "txtState" << "Kerala" << "State" << "Tamil Nadu" << "Kerala";
    }
    void updateIsLoggedWithOldAndNewValues()
    {
        QFETCH(QString, kind);
        QFETCH(QString, stored);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, after);
        Session s(kind, 3);
        editRecordTwo(s, stored, box, typed);
        QCOMPARE(s.messages.texts(), QStringList());

        const std::vector<AuditEntry> history = ReadAuditTrail(*s.data.db, {{}, {}, {}, s.kind.table, s.codeOf(2), false});
        QCOMPARE(history.size(), size_t(2)); // the record added earlier, then this Update
        QCOMPARE(history[0].action, QString("added"));
        const AuditEntry& update = history[1];
        QCOMPARE(update.action, QString("changed"));
        QCOMPARE(update.operatorName, QString("meena"));
        // Only the box typed over: the boxes Update wrote back unchanged are no change.
        QCOMPARE(update.changes, (std::vector<FieldChange>{{field, before, after}}));
        QVERIFY(VerifyAuditTrail(*s.data.db).intact);
    }

    // An Update that changes nothing leaves no entry.
    void updateWithoutChangeIsNoEntry()
    {
        Session s("stock", 3);
        const int before = trailEntries(s);
        s.browseByName();
        s.pickListed("Name 2");
        s.press("cmdEdit");
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts(), QStringList());
        QCOMPARE(trailEntries(s), before);
    }

    // The trail cannot be written (the disk is full): Update is refused with
    // the reason, the record keeps its old rate, and the form stays in editing.
    void saveIsRefusedWhenTheTrailCannotBeWritten()
    {
        ON_FILES_ONLY();
        Session s("stock", 3);
        QVERIFY(changeFileElsewhere(s.data.folder(), DbFile::Zlv,
                                    "CREATE TRIGGER full BEFORE INSERT ON AuditTrail BEGIN SELECT RAISE(ABORT, "
                                    "'database or disk is full'); END"));
        editRecordTwo(s, "Rate = 10", "txtRate", "99");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.texts()[0].contains("keep the audit trail")
                     && s.messages.texts()[0].contains("database or disk is full"),
                 qPrintable(s.messages.texts()[0]));
        QCOMPARE(s.stored("Rate", 2), QVariant(10.0));
        QVERIFY(s.enabled("cmdUpdate"));

        s.messages.clear();
        s.press("cmdCancelEdit");
        s.startNew(); // nor is a new record stored
        s.completeAndSave("Pedestal Fan");
        QCOMPARE(s.recordCount(), 4);
    }
};

QTEST_MAIN(MasterAuditTest)
#include "test_audittrail.moc"
