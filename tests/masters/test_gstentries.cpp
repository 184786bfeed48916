// The GSTIN and State look on the buyer and company forms: a wrong entry is
// named in a warning and the record is stored all the same, on Save and on
// Update; right entries and "no GSTIN" pass without a word.
#include "masterdriver.h"

using namespace testing;
using namespace zelva;

class TestGstEntries : public QObject {
    Q_OBJECT
private slots:
    void saveWarnsAndStores_data();
    void saveWarnsAndStores();
    void updateWarnsAndStores();
};

void TestGstEntries::saveWarnsAndStores_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("gstin");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("named"); // what the warning names; empty: no warning
    for (const QString kind : { "buyer", "company" }) {
        const auto row = [&](const char* name, const char* gstin, const char* state, const QStringList& named) {
            QTest::newRow(qPrintable(kind + ": " + name)) << kind << QString(gstin) << QString(state) << named;
        };
        row("valid", "27AAPFU0939F1ZV", "Maharashtra", {});
        row("no GSTIN, old spelling", "N.A.", "Orissa", {});
        row("two digits swapped", "27AAPFU0993F1ZV", "Maharashtra", { "The check character" });
        row("short GSTIN", "27AAPFU0939F1Z", "Maharashtra", { "15 characters" });
        row("unknown State", "27AAPFU0939F1ZV", "Madras Presidency", { "Madras Presidency" });
        row("both wrong", "27aapfu0993f1zv", "Bombay State", { "The check character", "Bombay State" });
    }
}

void TestGstEntries::saveWarnsAndStores()
{
    QFETCH(QString, kind);
    QFETCH(QString, gstin);
    QFETCH(QString, state);
    QFETCH(QStringList, named);
    Session op(kind);
    op.startNew();
    op.enter(op.kind.nameBox(), "Vasant Agencies");
    for (const Entry& e : op.kind.entries.mid(1))
        if (!e.blank.isValid())
            op.enter(e.box, e.typed);
    op.enter("txtGstin", gstin);
    op.enter("txtState", state);
    op.press("cmdSave");

    const QStringList warnings = op.messages.texts().filter("GST", Qt::CaseInsensitive);
    if (named.isEmpty()) {
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(" | ")));
    } else {
        QCOMPARE(warnings.size(), 1);
        for (const QString& n : named)
            QVERIFY2(warnings.first().contains(n), qPrintable(warnings.first()));
    }
    QCOMPARE(op.messages.last(), QString("Saved Successfully"));
    QCOMPARE(op.stored("Gstin", 1).toString(), gstin);
    QCOMPARE(op.stored("State", 1).toString(), state);
}

void TestGstEntries::updateWarnsAndStores()
{
    Session op("buyer", 1);
    op.browseByName();
    op.pickListed("Name 1");
    op.press("cmdEdit");
    op.enter("txtGstin", "33AAACH7409R1Z9"); // the last character mistyped
    op.messages.clear();
    op.press("cmdUpdate");

    QVERIFY2(op.messages.last().contains("The check character"), qPrintable(op.messages.texts().join(" | ")));
    QCOMPARE(op.stored("Gstin", 1).toString(), QString("33AAACH7409R1Z9"));
    QVERIFY(!op.enabled("cmdUpdate")); // editing is over: the update went through
}

QTEST_MAIN(TestGstEntries)
#include "test_gstentries.moc"
