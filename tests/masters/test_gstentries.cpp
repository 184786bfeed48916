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
        const auto row
            = [&](const char* name) -> QTestData& { return QTest::newRow(qPrintable(kind + ": " + name)) << kind; };
        row("valid") << "27AAPFU0939F1ZV"
                     << "Maharashtra" << QStringList {};
        row("no GSTIN, old spelling") << "N.A."
                                      << "Orissa" << QStringList {};
        row("two digits swapped") << "27AAPFU0993F1ZV"
                                  << "Maharashtra" << QStringList { "The check character" };
        row("short GSTIN") << "27AAPFU0939F1Z"
                           << "Maharashtra" << QStringList { "15 characters" };
        row("unknown State") << "27AAPFU0939F1ZV"
                             << "Madras Presidency" << QStringList { "Madras Presidency" };
        row("both wrong") << "27aapfu0993f1zv"
                          << "Bombay State" << QStringList { "The check character", "Bombay State" };
    }
}

void TestGstEntries::saveWarnsAndStores()
{
    QFETCH(QString, kind);
    QFETCH(QString, gstin);
    QFETCH(QString, state);
    QFETCH(QStringList, named);
    const FormKind& k = Kind(kind);
    TempData data;
    MessageRecorder messages;
    auto form = k.make(*data.db);
    Operator op(*form, k);

    op.startNew();
    op.enter(k.nameBox(), "Vasant Agencies");
    for (const Entry& e : k.entries.mid(1))
        if (!e.blank.isValid())
            op.enter(e.box, e.typed);
    op.enter("txtGstin", gstin);
    op.enter("txtState", state);
    op.press("cmdSave");

    const QStringList warnings = messages.texts().filter("GST", Qt::CaseInsensitive);
    if (named.isEmpty()) {
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(" | ")));
    } else {
        QCOMPARE(warnings.size(), 1);
        for (const QString& n : named)
            QVERIFY2(warnings.first().contains(n), qPrintable(warnings.first()));
    }
    QCOMPARE(messages.last(), QString("Saved Successfully"));
    const auto stored = rowsInFile(data.folder(), k.file,
        QString("select Gstin, State from %1 where %2 = ?").arg(k.table, k.nameField()), { "Vasant Agencies" });
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().at(0).toString(), gstin);
    QCOMPARE(stored.first().at(1).toString(), state);
}

void TestGstEntries::updateWarnsAndStores()
{
    const FormKind& k = Kind("buyer");
    TempData data;
    MessageRecorder messages;
    AddRecord(*data.db, k, 1, "Kaveri Stores");
    auto form = k.make(*data.db);
    Operator op(*form, k);
    op.browseByName();
    op.pickListed("Kaveri Stores");
    op.press("cmdEdit");
    op.enter("txtGstin", "33AAACH7409R1Z9"); // the last character mistyped
    messages.clear();
    op.press("cmdUpdate");

    QVERIFY2(messages.last().contains("The check character"), qPrintable(messages.texts().join(" | ")));
    QCOMPARE(valueInFile(data.folder(), k.file, "select Gstin from CustomerDetails where Name = ?", { "Kaveri Stores" })
                 .toString(),
        QString("33AAACH7409R1Z9"));
    QVERIFY(!op.enabled("cmdUpdate")); // editing is over: the update went through
}

QTEST_MAIN(TestGstEntries)
#include "test_gstentries.moc"
