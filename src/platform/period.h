#pragma once
// Report periods: a span of days, a calendar month, and the financial year
// that runs from 1 April to 31 March of the next calendar year.
#include "platform/datetext.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

namespace zelva {

struct Period {
    QDate from; // first day, inclusive
    QDate to; // last day, inclusive
    bool contains(const QDate& day) const { return day >= from && day <= to; }
};

// The calendar month (1-12) of a year.
Period MonthPeriod(int year, int month);

// (FinancialYearOf and DayKey are in platform/datetext.h.)
Period FinancialYear(int startYear);
// "2026-27"
QString FinancialYearText(int startYear);
// Its twelve months, April of the start year to March of the next.
std::array<Period, 12> FinancialYearMonths(int startYear);

// One day, and the calendar year.
Period DayPeriod(const QDate& day);
Period YearPeriod(int year);

// The periods the purchase and issue reports offer, numbered as those forms
// have always kept them.
enum class ReportPeriod {
    All = 1,
    Today = 2,
    Yesterday = 3,
    Between = 4,
    CurrentYear = 5,
    CurrentMonth = 6,
    PreviousMonth = 7,
};

// The days a period covers seen from loadDate (the day the form was opened):
// yesterday is the calendar day before, also across month and year ends; the
// previous month of January is December of the year before; between is the
// given days, both included. All covers every day: nullopt.
std::optional<Period> DaysOf(ReportPeriod period, const QDate& loadDate, const Period& between = {});

} // namespace zelva
