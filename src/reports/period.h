#pragma once
// Report periods: a span of days, a calendar month, and the financial year
// that runs from 1 April to 31 March of the next calendar year.
#include <QDate>
#include <QString>
#include <array>

namespace zelva {

struct Period {
    QDate from; // first day, inclusive
    QDate to; // last day, inclusive
    bool contains(const QDate& day) const { return day >= from && day <= to; }
};

// The calendar month (1-12) of a year.
Period MonthPeriod(int year, int month);

// The financial year a day belongs to, by the calendar year it starts in:
// 15 March 2027 and 1 April 2026 both belong to 2026 ("2026-27").
int FinancialYearOf(const QDate& day);
Period FinancialYear(int startYear);
// "2026-27"
QString FinancialYearText(int startYear);
// Its twelve months, April of the start year to March of the next.
std::array<Period, 12> FinancialYearMonths(int startYear);

// A day as the whole number yyyymmdd, the key stored dates are compared by.
int DayKey(const QDate& day);

} // namespace zelva
