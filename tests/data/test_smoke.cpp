#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zelva;

class SmokeTest : public QObject {
    Q_OBJECT
private slots:
    void freshFolder()
    {
        QTemporaryDir dir;
        auto db = Database::open(dir.path());
        RecordSource rs(*db);
        rs.bind(DbFile::ItemStock, "Stock");
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.nextSerial(), 1);
        rs.addNew();
        rs.setValue("sno", 1);
        rs.setValue("Rate", "12a");
        QVERIFY_THROWS_EXCEPTION(DataError, rs.update());
        rs.setValue("Rate", "12");
        rs.update();
        QCOMPARE(rs.nextSerial(), 2);
    }
};

QTEST_GUILESS_MAIN(SmokeTest)
#include "test_smoke.moc"
