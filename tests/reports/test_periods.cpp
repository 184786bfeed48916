// The report periods seen from the day a report form was opened: month and
// year ends, leap years, and the between row's check.
#include "reports/periodchoice.h"
#include "support/formdriver.h"

#include <QDateEdit>
#include <QRadioButton>
#include <QtTest>

using namespace zelva;
using testing::MessageRecorder;

namespace {
// Clicks the option's button mark, as the operator does.
void choose(QAbstractButton* option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2)); }
} // namespace

class TestPeriods : public QObject {
    Q_OBJECT
private slots:
    void daysOf_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QDate>("loadDate");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        const auto row = [](const char* name, ReportPeriod p, QDate load, QDate from, QDate to) {
            QTest::newRow(name) << static_cast<int>(p) << load << from << to;
        };
        using P = ReportPeriod;
        row("today", P::Today, QDate(2026, 3, 5), QDate(2026, 3, 5), QDate(2026, 3, 5));
        row("yesterday mid-month", P::Yesterday, QDate(2026, 3, 5), QDate(2026, 3, 4), QDate(2026, 3, 4));
        row("yesterday on 1 March, leap year", P::Yesterday, QDate(2028, 3, 1), QDate(2028, 2, 29), QDate(2028, 2, 29));
        row("yesterday on 1 March, common year", P::Yesterday, QDate(2027, 3, 1), QDate(2027, 2, 28),
            QDate(2027, 2, 28));
        row("yesterday on 1 March 2100 (no leap day)", P::Yesterday, QDate(2100, 3, 1), QDate(2100, 2, 28),
            QDate(2100, 2, 28));
        row("yesterday on 1 May", P::Yesterday, QDate(2026, 5, 1), QDate(2026, 4, 30), QDate(2026, 4, 30));
        row("yesterday on 1 January", P::Yesterday, QDate(2027, 1, 1), QDate(2026, 12, 31), QDate(2026, 12, 31));
        row("current month, February of a leap year", P::CurrentMonth, QDate(2028, 2, 10), QDate(2028, 2, 1),
            QDate(2028, 2, 29));
        row("previous month in January", P::PreviousMonth, QDate(2027, 1, 20), QDate(2026, 12, 1), QDate(2026, 12, 31));
        row("previous month on 31 March", P::PreviousMonth, QDate(2027, 3, 31), QDate(2027, 2, 1), QDate(2027, 2, 28));
        row("current year (calendar)", P::CurrentYear, QDate(2026, 2, 14), QDate(2026, 1, 1), QDate(2026, 12, 31));
    }
    void daysOf()
    {
        QFETCH(int, period);
        QFETCH(QDate, loadDate);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const std::optional<Period> days = DaysOf(static_cast<ReportPeriod>(period), loadDate);
        QVERIFY(days);
        QCOMPARE(days->from, from);
        QCOMPARE(days->to, to);
    }

    void allCoversEveryDayAndBetweenItsOwnDays()
    {
        QVERIFY(!DaysOf(ReportPeriod::All, QDate(2026, 3, 5)));
        const Period between { QDate(2025, 12, 30), QDate(2026, 1, 2) };
        const std::optional<Period> days = DaysOf(ReportPeriod::Between, QDate(2026, 3, 5), between);
        QVERIFY(days && days->from == between.from && days->to == between.to);
    }

    // The between row: dates usable only while it is chosen, today by default,
    // a start after the end refused, one single day accepted.
    void betweenRow()
    {
        MessageRecorder messages;
        PeriodChoice choice({ { nullptr, {},
            { { "optAll", "&All", ReportPeriod::All }, { "optParty", "Party wise", std::nullopt },
                { "optBetween", "Between", ReportPeriod::Between } } } });
        choice.show();
        QCOMPARE(choice.period(), ReportPeriod::All);
        QVERIFY(!choice.findChild<QRadioButton*>("optParty")->isEnabled());
        QCOMPARE(choice.cboStartDate->date(), QDate::currentDate());
        QCOMPARE(choice.cboEndDate->date(), QDate::currentDate());
        QVERIFY(!choice.cboStartDate->isEnabled() && !choice.cboEndDate->isEnabled());

        choose(choice.option(ReportPeriod::Between));
        QVERIFY(choice.cboStartDate->isEnabled() && choice.cboEndDate->isEnabled());
        choice.cboStartDate->setDate(QDate(2026, 3, 2));
        choice.cboEndDate->setDate(QDate(2026, 3, 1));
        std::optional<Period> days;
        QVERIFY(!choice.chosenDays(QDate(2026, 3, 5), days));
        QCOMPARE(messages.texts().size(), 1);

        choice.cboEndDate->setDate(QDate(2026, 3, 2));
        QVERIFY(choice.chosenDays(QDate(2026, 3, 5), days));
        QVERIFY(days && days->from == QDate(2026, 3, 2) && days->to == QDate(2026, 3, 2));
        QCOMPARE(messages.texts().size(), 1);

        choose(choice.option(ReportPeriod::All));
        QVERIFY(!choice.cboStartDate->isEnabled());
        QVERIFY(choice.chosenDays(QDate(2026, 3, 5), days)); // the dates no longer count
        QVERIFY(!days);
    }
};

QTEST_MAIN(TestPeriods)
#include "test_periods.moc"
