// Type-ahead in a long list: the first entry from the given row on, then
// round from the top, that begins with what was typed, case aside; and a
// closed long list typed into picks that entry and tells its choice, the
// same key again stepping to the next entry it begins.
#include "ui/formboxes.h"
#include "ui/prefixsearch.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

using namespace zelva;

namespace {

const QStringList Entries{"Cable", "soap", "Soap bar", "cable tie", "Tea", "Sugar"};

} // namespace

class PrefixSearchTest : public QObject {
    Q_OBJECT
private slots:
    void firstEntryFromARowOn_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("row");
        QTest::newRow("one letter, case aside") << "S" << 0 << 1;
        QTest::newRow("from a later row") << "s" << 2 << 2;
        QTest::newRow("past the last, round from the top") << "cab" << 4 << 0;
        QTest::newRow("a longer prefix") << "soap b" << 0 << 2;
        QTest::newRow("the start row itself") << "cable" << 3 << 3;
        QTest::newRow("a blank is part of the prefix") << "cable " << 0 << 3;
        QTest::newRow("none begins so") << "x" << 0 << -1;
        QTest::newRow("more than an entry holds") << "teapot" << 0 << -1;
    }
    void firstEntryFromARowOn()
    {
        QFETCH(QString, prefix);
        QFETCH(int, start);
        QFETCH(int, row);
        QCOMPARE(PrefixIndex(Entries).firstFrom(prefix, start), row);
    }

    // Keys typed into the closed list, as the operator types a name.
    void typingIntoALongListPicksTheEntry()
    {
        QComboBox list;
        MakeLongList(&list);
        SetEntries(&list, Entries);
        list.setCurrentIndex(-1);
        QSignalSpy picked(&list, &QComboBox::activated);
        QTest::keyClicks(&list, "sug"); // (a blank would open the list)
        QCOMPARE(list.currentText(), "Sugar");
        QCOMPARE(picked.size(), 2); // "soap", then "Sugar"
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, "ss");
        QCOMPARE(list.currentText(), "Soap bar"); // the same key: the next entry it begins, round from the top
        SetEntries(&list, QStringList{"Salt", "Sago"}); // filled again: the index follows
        list.setCurrentIndex(-1);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        QTest::keyClicks(&list, "sag");
        QCOMPARE(list.currentText(), "Sago");
    }
};

QTEST_MAIN(PrefixSearchTest)
#include "test_prefixsearch.moc"
