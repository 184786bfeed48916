#include "shell/operators.h"

#include "data/recordsource.h"

#include <sodium.h>

namespace zelva {

namespace {

const QString LoginTableName = QStringLiteral("Login");

void requireSodium()
{
    static const int ready = sodium_init();
    if (ready < 0)
        throw DataError(QStringLiteral("check the password"), {}, QStringLiteral("the password library cannot start"));
}

// A text value, as opposed to NULL, a number or a blob.
bool isText(const QVariant& value) { return !value.isNull() && value.typeId() == QMetaType::QString; }

bool looksLikeHash(const QVariant& value)
{
    return isText(value) && value.toString().startsWith(QLatin1String("$argon2"));
}

} // namespace

QString HashPassword(const QString& password)
{
    requireSodium();
    const QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw DataError(QStringLiteral("protect the password"), {}, QStringLiteral("not enough memory"));
    return QString::fromLatin1(hash);
}

bool PasswordMatches(const QVariant& storedHash, const QString& typed)
{
    if (!looksLikeHash(storedHash))
        return false;
    const QByteArray hash = storedHash.toString().toLatin1();
    if (hash.size() >= int(crypto_pwhash_STRBYTES))
        return false;
    requireSodium();
    const QByteArray bytes = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(), static_cast<unsigned long long>(bytes.size()))
        == 0;
}

bool RecordAdmits(
    const QVariant& storedName, const QVariant& storedHash, const QString& userName, const QString& password)
{
    if (!isText(storedName) || userName.isEmpty() || storedName.toString() != userName)
        return false;
    return PasswordMatches(storedHash, password);
}

LoginTable ReadLoginTable(Database& db)
{
    RecordSource login(db);
    login.bind(DbFile::Zlv, LoginTableName);
    if (login.recordCount() == 0)
        return LoginTable::Empty;
    for (login.moveFirst(); !login.eof(); login.moveNext()) {
        const QVariant name = login.value(QStringLiteral("username"));
        if (isText(name) && !name.toString().isEmpty() && looksLikeHash(login.value(QStringLiteral("Password"))))
            return LoginTable::Ready;
    }
    return LoginTable::NoUsableOperator;
}

QString NewOperatorRefusal(const QString& userName, const QString& password)
{
    if (userName.isEmpty())
        return QStringLiteral("Type a user name.");
    // Blanks count at login; one typed by mistake at either end would lock the operator out.
    if (userName.front().isSpace() || userName.back().isSpace())
        return QStringLiteral("A user name must not begin or end with a blank.");
    if (password.isEmpty())
        return QStringLiteral("Type a password.");
    return {};
}

QString AddOperator(Database& db, const QString& userName, const QString& password, AddWhen when)
{
    const QString refusal = NewOperatorRefusal(userName, password);
    if (!refusal.isEmpty())
        return refusal;
    const QString hash = HashPassword(password); // slow on purpose: hash before the file is locked

    Transaction transaction(db, QStringLiteral("add the operator"));
    RecordSource login(db);
    login.bind(DbFile::Zlv, LoginTableName);
    if (when == AddWhen::TableEmpty && login.recordCount() > 0)
        return QStringLiteral("An operator has been set up meanwhile; log in with that user name and password.");
    for (login.moveFirst(); !login.eof(); login.moveNext()) {
        const QVariant name = login.value(QStringLiteral("username"));
        if (isText(name) && name.toString() == userName)
            return QStringLiteral("There is already an operator named \"%1\".").arg(userName);
    }
    login.addNew();
    login.setValue(QStringLiteral("username"), userName);
    login.setValue(QStringLiteral("Password"), hash);
    login.update();
    transaction.commit();
    return {};
}

} // namespace zelva
