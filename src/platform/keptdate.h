#pragma once
// Dates as the records keep them, read the way the files compare them.
#include <QDate>
#include <QString>

namespace zelva {

// A date text as a record keeps it, read the way the files compare their
// dates (data/schema.h, DateKeySql): day, month and year as whole numbers,
// each part after the digits of the one before and one character of any
// kind ("05/08/2026", "5-8-2026", "05.08.2026"), blanks around allowed; an
// invalid date when that names no calendar day. A record a period selects
// by its date text thus reads as a day within that period.
QDate ReadKeptDate(const QString& text);

} // namespace zelva
