#include "platform/period.h"

namespace zelva {

namespace {
constexpr int FirstMonthOfYear = 4; // April
}

Period MonthPeriod(int year, int month)
{
    const QDate first(year, month, 1);
    return { first, first.addMonths(1).addDays(-1) };
}

Period FinancialYear(int startYear)
{
    return { QDate(startYear, FirstMonthOfYear, 1), QDate(startYear + 1, FirstMonthOfYear, 1).addDays(-1) };
}

QString FinancialYearText(int startYear)
{
    return QStringLiteral("%1-%2").arg(startYear).arg((startYear + 1) % 100, 2, 10, QLatin1Char('0'));
}

std::array<Period, 12> FinancialYearMonths(int startYear)
{
    std::array<Period, 12> months;
    const QDate first = FinancialYear(startYear).from;
    for (int i = 0; i < 12; ++i) {
        const QDate month = first.addMonths(i);
        months[i] = MonthPeriod(month.year(), month.month());
    }
    return months;
}

Period DayPeriod(const QDate& day) { return { day, day }; }

Period YearPeriod(int year) { return { QDate(year, 1, 1), QDate(year, 12, 31) }; }

std::optional<Period> DaysOf(ReportPeriod period, const QDate& loadDate, const Period& between)
{
    switch (period) {
    case ReportPeriod::All:
        return std::nullopt;
    case ReportPeriod::Today:
        return DayPeriod(loadDate);
    case ReportPeriod::Yesterday:
        return DayPeriod(loadDate.addDays(-1));
    case ReportPeriod::Between:
        return between;
    case ReportPeriod::CurrentYear:
        return YearPeriod(loadDate.year());
    case ReportPeriod::CurrentMonth:
        return MonthPeriod(loadDate.year(), loadDate.month());
    case ReportPeriod::PreviousMonth: {
        const QDate inPreviousMonth = QDate(loadDate.year(), loadDate.month(), 1).addDays(-1);
        return MonthPeriod(inPreviousMonth.year(), inPreviousMonth.month());
    }
    }
    return std::nullopt;
}

} // namespace zelva
