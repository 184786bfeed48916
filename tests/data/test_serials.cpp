// Next serial and record codes: the placeholder gives 1, gaps and disorder are
// handled, stored fractions and texts count, every ladder and its overflow.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "rawfile.h"
#include "support/formdriver.h"

#include <QtTest>

using namespace zelva;
using testing::writeFile;

Q_DECLARE_METATYPE(zelva::CodeKind)
Q_DECLARE_METATYPE(zelva::DbFile)

class SerialsTest : public QObject {
    Q_OBJECT
private slots:
    void recordCode_data()
    {
        QTest::addColumn<CodeKind>("kind");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("code");
        const auto row = [](const char* name, CodeKind kind, qint64 n, const char* code) {
            QTest::newRow(name) << kind << n << QString(code);
        };
        row("company 1", CodeKind::Company, 1, "C00001");
        row("company 7", CodeKind::Company, 7, "C00007");
        row("company 10", CodeKind::Company, 10, "C00010");
        row("company 99", CodeKind::Company, 99, "C00099");
        row("company 100", CodeKind::Company, 100, "C00100");
        row("company 999 (top)", CodeKind::Company, 999, "C00999");
        row("company 1000 past the top", CodeKind::Company, 1000, "C01000");
        row("company 12345 past the top", CodeKind::Company, 12345, "C12345");
        row("buyer 1", CodeKind::Buyer, 1, "C00001");
        row("buyer 42", CodeKind::Buyer, 42, "C00042");
        row("buyer 9999 (top)", CodeKind::Buyer, 9999, "C09999");
        row("buyer 10000 past the top", CodeKind::Buyer, 10000, "C10000");
        row("item 1", CodeKind::Item, 1, "G00001");
        row("item 10", CodeKind::Item, 10, "G00010");
        row("item 123", CodeKind::Item, 123, "G00123");
        row("item 1000", CodeKind::Item, 1000, "G01000");
        row("item 10000 past the top", CodeKind::Item, 10000, "G10000");
        row("item 100000 past the top", CodeKind::Item, 100000, "G100000");
        row("purchase 1", CodeKind::Purchase, 1, "P00001");
        row("purchase 100", CodeKind::Purchase, 100, "P00100");
        row("purchase 4567", CodeKind::Purchase, 4567, "P04567");
        row("purchase 10000", CodeKind::Purchase, 10000, "P10000");
        row("purchase 99999 (top)", CodeKind::Purchase, 99999, "P99999");
        row("purchase 100000 past the top", CodeKind::Purchase, 100000, "P100000");
        row("issue 1", CodeKind::Issue, 1, "I00001");
        row("issue 12345", CodeKind::Issue, 12345, "I12345");
        row("issue 1234567 past the top", CodeKind::Issue, 1234567, "I1234567");
        row("invoice 1", CodeKind::Invoice, 1, "A00001");
        row("invoice 7", CodeKind::Invoice, 7, "A00007");
        row("invoice 9", CodeKind::Invoice, 9, "A00009");
        row("invoice 10", CodeKind::Invoice, 10, "A00010");
        row("invoice 42", CodeKind::Invoice, 42, "A00042");
        row("invoice 99", CodeKind::Invoice, 99, "A00099");
        row("invoice 100", CodeKind::Invoice, 100, "A000100");
        row("invoice 123", CodeKind::Invoice, 123, "A000123");
        row("invoice 1234", CodeKind::Invoice, 1234, "A0001234");
        row("invoice 100000", CodeKind::Invoice, 100000, "A000100000");
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

    void placeholderGivesOne_data()
    {
        QTest::addColumn<DbFile>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::newRow("buyers") << DbFile::Customer << "CustomerDetails" << "sno";
        QTest::newRow("stock") << DbFile::ItemStock << "Stock" << "sno";
        QTest::newRow("invoices") << DbFile::Invoice << "BuyerInvoice" << "sno";
        QTest::newRow("purchases") << DbFile::PurchaseMaster << "Purchase" << "PSno";
        QTest::newRow("issues") << DbFile::IssueMaster << "IssueRegister" << "ISno";
        QTest::newRow("company, empty") << DbFile::Master << "Company" << "sno";
    }
    void placeholderGivesOne()
    {
        QFETCH(DbFile, file);
        QFETCH(QString, table);
        QFETCH(QString, field);
        testing::TempData data;
        QCOMPARE(NextSerial(*data.db, file, table, field), 1);
        RecordSource rs(*data.db);
        rs.bind(file, table);
        QCOMPARE(rs.nextSerial(field), 1);
    }

    void outOfOrderAndGaps()
    {
        testing::TempData data;
        RecordSource rs(*data.db);
        rs.bind(DbFile::ItemStock, "Stock");
        for (int serial : {1, 2, 5, 3}) {
            rs.addNew();
            rs.setValue("sno", serial);
            rs.update();
        }
        QCOMPARE(rs.nextSerial(), 6);
    }

    void emptyTableGivesOne()
    {
        testing::TempData data;
        writeFile(data.folder(), DbFile::Customer, {"DELETE FROM CustomerDetails"});
        QCOMPARE(NextSerial(*data.db, DbFile::Customer, "CustomerDetails", "sno"), 1);
    }

    // A table made elsewhere, without STRICT, may hold fractions: they count
    // as the nearest whole number, halves going to the even one.
    void storedFractionsCount_data()
    {
        QTest::addColumn<QString>("serials");
        QTest::addColumn<qint64>("next");
        QTest::newRow("2.6 counts as 3") << "0, 2.6, 1" << qint64(4);
        QTest::newRow("2.4 counts as 2") << "0, 2.4, 1" << qint64(3);
        QTest::newRow("2.5 counts as 2") << "0, 2.5" << qint64(3);
        QTest::newRow("3.5 counts as 4") << "3.5, 0" << qint64(5);
        QTest::newRow("out of order") << "0, 5, 3" << qint64(6);
    }
    void storedFractionsCount()
    {
        QFETCH(QString, serials);
        QFETCH(qint64, next);
        QTemporaryDir dir;
        QStringList statements{"CREATE TABLE BuyerInvoice (sno REAL, InvoiceNo TEXT)"};
        for (const QString& s : serials.split(", "))
            statements << QString("INSERT INTO BuyerInvoice (sno) VALUES (%1)").arg(s);
        writeFile(dir.path(), DbFile::Invoice, statements);

        auto db = Database::open(dir.path());
        QCOMPARE(NextSerial(*db, DbFile::Invoice, "BuyerInvoice", "sno"), next);
        // Start-up left the table as it was: no placeholder added, not made STRICT.
        QCOMPARE(testing::valueInFile(dir.path(), DbFile::Invoice, "SELECT count(*) FROM BuyerInvoice").toInt(),
                 int(serials.split(", ").size()));
        QVERIFY(!testing::valueInFile(dir.path(), DbFile::Invoice,
                                      "SELECT sql FROM sqlite_master WHERE name = 'BuyerInvoice'")
                     .toString()
                     .contains("STRICT"));
    }

    // Serials kept as text in a table without types: read as numbers.
    void textSerials_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<qint64>("next");
        QTest::newRow("text above the numbers") << "'7', 3, 0" << qint64(8);
        QTest::newRow("text below the numbers") << "'2', 12, 0" << qint64(13);
        QTest::newRow("text that is no number") << "'abc', 4" << qint64(5);
        QTest::newRow("text fraction") << "'6.6', 1" << qint64(8);
        QTest::newRow("nulls are no serials") << "NULL, 2" << qint64(3);
    }
    void textSerials()
    {
        QFETCH(QString, values);
        QFETCH(qint64, next);
        QTemporaryDir dir;
        QStringList statements{"CREATE TABLE stock (sno, ItemName TEXT)"};
        for (const QString& v : values.split(", "))
            statements << QString("INSERT INTO stock (sno) VALUES (%1)").arg(v);
        writeFile(dir.path(), DbFile::ItemStock, statements);

        auto db = Database::open(dir.path());
        RecordSource rs(*db);
        rs.bind(DbFile::ItemStock, "Stock"); // names ignore letter case
        QCOMPARE(rs.nextSerial(), next);
        QCOMPARE(rs.recordCount(), int(values.split(", ").size()));
    }

    void damagedSerialIsAnError()
    {
        QTemporaryDir dir;
        writeFile(dir.path(), DbFile::Customer,
                  {"CREATE TABLE CustomerDetails (sno REAL, bid TEXT)", "INSERT INTO CustomerDetails VALUES (1e300, 'x')"});
        auto db = Database::open(dir.path());
        try {
            NextSerial(*db, DbFile::Customer, "CustomerDetails", "sno");
            QFAIL("a serial of 1e300 was taken");
        } catch (const DataError& error) {
            QCOMPARE(error.file(), QString("Database/Customer.db"));
            QVERIFY(error.operation().contains("next serial"));
        }
    }
};

QTEST_GUILESS_MAIN(SerialsTest)
#include "test_serials.moc"
