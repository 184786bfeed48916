// Many rows written at once: each kind of value stored as a single insert
// stores it (the same type and bytes in the file), rows landing only with
// their transaction, and a failing row named as any failing write is.
#include "data/batchinsert.h"
#include "storetest.h"

#include <QDateTime>

using namespace zelva;
using namespace testing;

namespace {

// A table of no declared type: typeof() then tells how each value was bound.
void makeScratchTable(Database& db)
{
    db.run(QStringLiteral("CREATE TABLE \"%1\".\"Kinds\" (\"sno\" INTEGER, \"v\")").arg(SchemaName(DbFile::Zlv)), {},
           "make the table", DbFile::Zlv);
}

QList<QVariantList> storedKinds(const TempData& d)
{
    return rowsInFile(d.folder(), DbFile::Zlv, "SELECT sno, typeof(v), quote(v) FROM Kinds ORDER BY sno");
}

const QVariantList Kinds{
    QVariant(),
    QString(),                                    // a null text is NULL, not ""
    QString(""),
    QStringLiteral("Tamil தமிழ் \"quoted\" 'single'"),
    13,
    true,
    19.13,
    qlonglong(9007199254740993LL),
    uint(4000000000U),
    QByteArray("\x00\x01\xff", 3),
    QByteArray(),
    QDate(2027, 3, 5),
    QDate(),
    QDateTime(QDate(2027, 3, 5), QTime(14, 15, 16, 170)),
    QTime(11, 12, 13),
    QTime(),
};

} // namespace

class BatchInsertTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindStoredAsOneInsertStoresIt()
    {
        TempData single;
        makeScratchTable(*single.db);
        for (int i = 0; i < Kinds.size(); ++i)
            single.db->run("INSERT INTO Kinds (sno, v) VALUES (?, ?)", {i, Kinds[i]}, "insert one", DbFile::Zlv);

        TempData batched;
        makeScratchTable(*batched.db);
        {
            Transaction t(*batched.db, "insert many");
            InsertBatch batch(*batched.db, DbFile::Zlv, "Kinds", {"sno", "v"}, "insert many");
            for (int i = 0; i < Kinds.size(); ++i)
                batch.add({i, Kinds[i]});
            batch.write();
            t.commit();
        }
        const QList<QVariantList> expected = storedKinds(single);
        QCOMPARE(expected.size(), Kinds.size());
        QCOMPARE(expected[1][1].toString(), QStringLiteral("null"));
        QCOMPARE(expected[2][1].toString(), QStringLiteral("text"));
        QCOMPARE(storedKinds(batched), expected);
    }

    // More rows than one statement takes, a row of the wrong kind among them
    // (a strict table refuses it): the error names the work and the file,
    // and nothing of the batch stays once the transaction is given up.
    void failingRowLeavesNothing()
    {
        TempData d;
        const QString message = errorOf([&] {
            Transaction t(*d.db, "import the items");
            InsertBatch batch(*d.db, DbFile::ItemStock, "StockGstRate", {"sno", "itemcode", "GstRate"}, "import the items");
            for (int i = 1; i <= 700; ++i)
                batch.add({i, QStringLiteral("G%1").arg(i, 5, 10, QChar('0')), i == 350 ? QVariant("eighteen") : QVariant(18.0)});
            batch.write();
            t.commit();
        });
        QVERIFY2(message.contains("import the items") && message.contains("ItemStock"), qPrintable(message));
        QCOMPARE(rowsInFile(d.folder(), DbFile::ItemStock, "SELECT count(*) FROM StockGstRate").first().first().toInt(), 0);
    }

    // A batch's statement kept prepared between writes: the second write of
    // the same batch lands too, after the first, and each is counted.
    void secondWriteOfTheBatchLands()
    {
        TempData d;
        int statements = 0;
        d.db->setStatementHook([&](const QString& sql) { statements += sql.startsWith("INSERT") ? 1 : 0; });
        Transaction t(*d.db, "store");
        InsertBatch batch(*d.db, DbFile::ItemStock, "StockGstRate", {"sno", "itemcode", "GstRate"}, "store");
        for (int round = 0; round < 2; ++round) {
            for (int i = 1; i <= 400; ++i)
                batch.add({round * 400 + i, QStringLiteral("G%1").arg(round * 400 + i, 5, 10, QChar('0')), 5.0 + round});
            batch.write();
        }
        t.commit();
        QCOMPARE(rowsInFile(d.folder(), DbFile::ItemStock, "SELECT count(*), sum(GstRate) FROM StockGstRate").first(),
                 (QVariantList{800, 400 * 5.0 + 400 * 6.0}));
        QCOMPARE(statements, 4); // 330 rows a statement: 330 and 70, twice
    }
};

QTEST_GUILESS_MAIN(BatchInsertTest)
#include "test_batchinsert.moc"
