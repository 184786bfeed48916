#pragma once
// Serial numbers and the record codes made from them.
#include "data/schema.h"

#include <QString>

namespace zelva {

class Database;

// The highest serial stored in the table plus one; stored serials count as the
// nearest whole number (halves to the even one), and an empty table gives 1.
qint64 NextSerial(Database& db, DbFile file, const QString& table, const QString& serialField);

enum class CodeKind { Company, Buyer, Item, Purchase, Issue, Invoice };

// The record code of serial n: the letter and n padded to five digits
// (C00007, G00123, P10000; more digits past 99999), and for invoices "A0000"
// before 1-9 and "A000" before every larger serial (A00042, A000123).
QString RecordCode(CodeKind kind, qint64 n);

} // namespace zelva
