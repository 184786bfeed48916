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
// "hh:mm" and "hh:mm:ss", 24-hour clock; "" for an invalid time.
QString TimeTextHM(const QTime& time);
QString TimeTextHMS(const QTime& time);

} // namespace zelva
