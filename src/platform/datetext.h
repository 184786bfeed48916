#pragma once
// Date and time texts as the records store them.
#include <QDate>
#include <QString>
#include <QTime>

namespace zelva {

// The system's date separator, "/" when the system does not name one.
QString DateSeparator();

// "dd/mm/yyyy" with the system's date separator; "" for an invalid date.
QString DateText(const QDate& date);
// The date a typed date text names: day, month and four-digit year separated
// by the system's date separator or "/", blanks around allowed ("5/12/2026",
// "05/12/2026"); an invalid date for anything else ("31/02/2026", "2026-12-05").
QDate ReadDateText(const QString& text);
// A date text as a record keeps it, read the way the files compare their
// dates (data/schema.h, DateKeySql): day, month and year as whole numbers,
// each part after the digits of the one before and one character of any
// kind ("05/08/2026", "5-8-2026", "05.08.2026"), blanks around allowed; an
// invalid date when that names no calendar day. A record a period selects
// by its date text thus reads as a day within that period.
QDate ReadKeptDate(const QString& text);

// A date as a bank's statement writes it: dd/mm/yyyy, dd-mm-yyyy,
// dd.mm.yyyy, dd-MMM-yyyy ("05-Nov-2026", "05 NOV 2026"), dd/mm/yy (20yy),
// yyyy-mm-dd, a time after it ignored, or a workbook's day number (days
// since 30/12/1899); an invalid date for anything else.
QDate ReadStatementDate(const QString& text);

// The financial year a day belongs to, by the calendar year it starts in
// (1 April): 15 March 2027 and 1 April 2026 both belong to 2026 ("2026-27").
int FinancialYearOf(const QDate& day);
// A day as the whole number yyyymmdd, the key stored dates are compared by.
int DayKey(const QDate& day);

// "hh:mm" and "hh:mm:ss", 24-hour clock; "" for an invalid time.
QString TimeTextHM(const QTime& time);
QString TimeTextHMS(const QTime& time);

} // namespace zelva
