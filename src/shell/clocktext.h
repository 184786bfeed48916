#pragma once
// The texts of the main window's clock and calendar panels.
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace zelva {

// The time in the locale's long time format, without the time-zone name that
// the long format may carry ("20:28:31", "8:28:31 PM"), in Latin digits and
// AM/PM whatever the locale ("PM 8:28:31" under Tamil).
QString LongTimeText(const QTime& time, const QLocale& locale = QLocale::system());

// Day, "/ ", month, "/ ", year whatever the locale: "05/ 12/ 2026" for
// 5 December 2026.
QString CalendarText(const QDate& date);

} // namespace zelva
