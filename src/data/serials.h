#pragma once
// Serial numbers and the record codes made from them.
#include "data/schema.h"

#include <QString>

namespace zelva {

class Database;

// The highest serial stored in the table plus one; stored serials count as the
// nearest whole number (halves to the even one), and an empty table gives 1.
qint64 NextSerial(Database& db, DbFile file, const QString& table, const QString& serialField);

enum class CodeKind { Company, Buyer, Item, Purchase, Issue, Invoice, Supplier, Receipt, Payment };

// For a save's own transaction: the serial New proposed when it and its code
// are still free, otherwise the next serial whose code is free too (another
// window or program took the proposed one meanwhile).
qint64 FreeSerial(Database& db, DbFile file, const QString& table, const QString& serialField, const QString& codeField,
    CodeKind kind, qint64 proposed);

// The record code of serial n: the letter and n padded to five digits
// (C00007, G00123, P10000, R00004; more digits past 99999), and for invoices "A0000"
// before 1-9 and "A000" before every larger serial (A00042, A000123).
QString RecordCode(CodeKind kind, qint64 n);

// The operator's note when the record was saved under another code.
QString MovedCodeNote(const QString& codeAtNew, const QString& savedCode);

} // namespace zelva
