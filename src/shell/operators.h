#pragma once
// The operators of the Login table: a user name and a libsodium password hash
// of exactly what the operator types (case and blanks count).
#include "data/database.h"

#include <QString>
#include <QVariant>

namespace zelva {

// A libsodium (Argon2id) hash of the password's UTF-8 bytes. Throws DataError
// when the hash cannot be made (out of memory).
QString HashPassword(const QString& password);

// True when the stored value is a password hash and the typed password is the
// one it was made from. A NULL, a number or a plain-text password never matches.
bool PasswordMatches(const QVariant& storedHash, const QString& typed);

// True when one Login record admits the operator: the stored user name equals
// the typed one exactly (an empty or missing name never matches) and the
// password matches its hash.
bool RecordAdmits(
    const QVariant& storedName, const QVariant& storedHash, const QString& userName, const QString& password);

enum class LoginTable {
    Empty, // no record at all: the first operator may be created
    NoUsableOperator, // records, but none with a user name and a password hash
    Ready,
};
LoginTable ReadLoginTable(Database& db);

// Why this user name and password cannot become an operator; empty when they can.
QString NewOperatorRefusal(const QString& userName, const QString& password);

enum class AddWhen { Always, TableEmpty };
// Adds an operator to the Login table. Returns the refusal shown to the
// operator (empty user name or password, a name already taken, or, for the
// first operator, an operator added meanwhile); empty when added. Throws
// DataError when the file cannot be written.
QString AddOperator(Database& db, const QString& userName, const QString& password, AddWhen when = AddWhen::Always);

} // namespace zelva
