// Dates and amounts as the operator reads them: dd/mm/yyyy and Indian digit
// grouping whatever the machine's locale, and the per-user grouping setting.
#include "platform/shownvalues.h"

#include <QStandardPaths>
#include <QtTest>

using namespace zelva;

class ShownValuesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void groupedAmounts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("below one keeps the pattern") << 0.5 << ".50";
        QTest::newRow("three digits stay together") << 999.0 << "999.00";
        QTest::newRow("thousand") << 1000.0 << "1,000.00";
        QTest::newRow("one lakh") << 100000.0 << "1,00,000.00";
        QTest::newRow("lakhs") << 1234567.0 << "12,34,567.00";
        QTest::newRow("crore") << 12345678.5 << "1,23,45,678.50";
        QTest::newRow("largest amount") << 999999999.99 << "99,99,99,999.99";
        QTest::newRow("rounded up into a new group") << 99999.999 << "1,00,000.00";
        QTest::newRow("negative lakhs") << -1234567.891 << "-12,34,567.89";
        QTest::newRow("negative below one") << -0.5 << "-.50";
    }
    void groupedAmounts()
    {
        QFETCH(double, value);
        QFETCH(QString, grouped);
        QCOMPARE(IndianGroupedAmount(value), grouped);
        QCOMPARE(RegisterAmount(value, true), grouped);
        // Off, the amount reads as everywhere else: the same digits, no commas.
        QCOMPARE(RegisterAmount(value, false), QString(grouped).remove(QLatin1Char(',')));
    }

    // Amount texts as other parts of the program write them.
    void groupedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("grouped");
        const auto row = [](const char* name, const char* text, const char* grouped) {
            QTest::newRow(name) << QString(text) << QString(grouped);
        };
        row("leading zero", "0.05", "0.05");
        row("negative crore", "-12345678.90", "-1,23,45,678.90");
        row("no point", "1234567", "12,34,567");
        row("six digits", "123456.00", "1,23,456.00");
        row("already grouped", "1,234.00", "1,234.00");
        row("not a number", "N.A.", "N.A.");
    }
    void groupedTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, grouped);
        QCOMPARE(GroupIndian(text), grouped);
    }

    void shownDates_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* stored, const char* shown) {
            QTest::newRow(name) << QString(stored) << QString(shown);
        };
        row("slashes", "05/12/2026", "05/12/2026");
        row("dashes", "31-01-1999", "31/01/1999");
        row("mixed separators are no date", "05-12.2026", "05-12.2026");
        row("one-digit day is no stored date", "5/12/2026", "5/12/2026");
        row("not a date", "N.A.", "N.A.");
        row("blank", "", "");
        row("trailing text", "05/12/2026 10:30", "05/12/2026 10:30");
    }
    void shownDates()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(ShownDate(stored), shown);
    }

    // The same text under any locale: day first, slashes.
    void datesIgnoreTheLocale()
    {
        const QLocale before;
        for (const QLocale& locale : { QLocale(QLocale::English, QLocale::UnitedStates),
                 QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Hindi, QLocale::India) }) {
            QLocale::setDefault(locale);
            QCOMPARE(ShownDate(QDate(2026, 12, 5)), QString("05/12/2026"));
        }
        QLocale::setDefault(before);
        QCOMPARE(ShownDate(QDate()), QString());
    }

    // Off at first; the choice is kept for the next start.
    void groupingSetting()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "ZelvaBilling", "ZelvaBilling").clear();
        QVERIFY(!IndianDigitGrouping());
        SetIndianDigitGrouping(true);
        QVERIFY(IndianDigitGrouping());
        SetIndianDigitGrouping(false);
        QVERIFY(!IndianDigitGrouping());
    }
};

QTEST_GUILESS_MAIN(ShownValuesTest)
#include "test_shownvalues.moc"
