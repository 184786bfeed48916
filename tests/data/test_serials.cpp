// Next serial and record codes: every ladder and what lies past its top;
// stored serials out of order, fractions, texts and an empty table.
#include "data/serials.h"
#include "storetest.h"

using namespace zelva;
using namespace testing;

Q_DECLARE_METATYPE(zelva::CodeKind)

class SerialsTest : public QObject {
    Q_OBJECT
private slots:
    void recordCode_data()
    {
        QTest::addColumn<CodeKind>("kind");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("code");
        const auto row = [](CodeKind kind, qint64 n, const char* code) {
            QTest::newRow(code) << kind << n << QString(code);
        };
        row(CodeKind::Company, 100, "C00100");
        row(CodeKind::Company, 1000, "C01000"); // past the top of each ladder: still unique
        row(CodeKind::Buyer, 10000, "C10000");
        row(CodeKind::Item, 1, "G00001");
        row(CodeKind::Item, 10000, "G10000");
        row(CodeKind::Purchase, 10000, "P10000");
        row(CodeKind::Purchase, 100000, "P100000");
        row(CodeKind::Issue, 12345, "I12345");
        row(CodeKind::Invoice, 1, "A00001");
        row(CodeKind::Invoice, 10, "A00010");
        row(CodeKind::Invoice, 100, "A000100");
        row(CodeKind::Invoice, 1234, "A0001234");
        row(CodeKind::Invoice, 100000, "A000100000");
    }
    void recordCode()
    {
        QFETCH(CodeKind, kind);
        QFETCH(qint64, n);
        QFETCH(QString, code);
        QCOMPARE(RecordCode(kind, n), code);
    }

    // Two records of one table never share a code, also past the ladder's top.
    void codesAreUnique()
    {
        for (CodeKind kind : {CodeKind::Company, CodeKind::Item, CodeKind::Purchase, CodeKind::Invoice}) {
            QSet<QString> seen;
            for (qint64 n = 1; n <= 120000; ++n)
                seen.insert(RecordCode(kind, n));
            QCOMPARE(seen.size(), 120000);
        }
    }

    // Serials as a table made elsewhere, without types, may hold them (in
    // table order): fractions count as the nearest whole number, halves going
    // to the even one; texts are read as numbers.
    void nextSerial_data()
    {
        QTest::addColumn<QString>("serials");
        QTest::addColumn<qint64>("next"); // 0: the serials are damage, an error
        QTest::newRow("empty table") << "" << qint64(1);
        QTest::newRow("out of order") << "0, 1, 2, 5, 3" << qint64(6);
        QTest::newRow("2.6 counts as 3") << "0, 2.6, 1" << qint64(4);
        QTest::newRow("2.4 counts as 2") << "0, 2.4, 1" << qint64(3);
        QTest::newRow("2.5 counts as 2") << "0, 2.5" << qint64(3);
        QTest::newRow("3.5 counts as 4") << "3.5, 0" << qint64(5);
        QTest::newRow("text above the numbers") << "'7', 3, 0" << qint64(8);
        QTest::newRow("text below the numbers") << "'2', 12, 0" << qint64(13);
        QTest::newRow("text that is no number") << "'abc', 4" << qint64(5);
        QTest::newRow("text fraction") << "'6.6', 1" << qint64(8);
        QTest::newRow("nulls are no serials") << "NULL, 2" << qint64(3);
        QTest::newRow("far too large") << "1e300, 1" << qint64(0);
    }
    void nextSerial()
    {
        QFETCH(QString, serials);
        QFETCH(qint64, next);
        QTemporaryDir dir;
        const QStringList values = serials.split(", ", Qt::SkipEmptyParts);
        QStringList statements{"CREATE TABLE stock (sno, ItemName TEXT)"};
        for (const QString& v : values)
            statements << QString("INSERT INTO stock (sno) VALUES (%1)").arg(v);
        writeFile(dir.path(), DbFile::ItemStock, statements);

        auto db = openMadeFolder(dir.path());
        RecordSource rs(*db);
        rs.bind(DbFile::ItemStock, "Stock"); // names ignore letter case
        QCOMPARE(rs.recordCount(), int(values.size())); // start-up added no placeholder
        if (next == 0)
            QVERIFY(errorOf([&] { rs.nextSerial(); }).startsWith("Could not find the next serial of Stock (Database/"));
        else
            QCOMPARE(rs.nextSerial(), next);
    }

    // A save confirms its serial: taken meanwhile by a record, or its code by a
    // record written elsewhere with another serial, the next free one is used.
    void freeSerial()
    {
        TempData d;
        const auto take = [&](qint64 sno, const QString& code) {
            d.db->run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId) VALUES (?, ?)", {sno, code}, "seed",
                      DbFile::PurchaseMaster);
        };
        const auto free = [&](qint64 proposed) {
            return FreeSerial(*d.db, DbFile::PurchaseMaster, "Purchase", "PSno", "PurchaseId", CodeKind::Purchase,
                              proposed);
        };
        QCOMPARE(free(1), qint64(1));
        QCOMPARE(free(5), qint64(5)); // a larger proposal stands
        take(1, "P00002"); // serial 1 holds the code of serial 2
        QCOMPARE(free(1), qint64(3));
    }
};

QTEST_GUILESS_MAIN(SerialsTest)
#include "test_serials.moc"
