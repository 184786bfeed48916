#include "data/serials.h"

#include "data/database.h"
#include "data/numbervalue.h"
#include "platform/textnum.h"

#include <cmath>

namespace zelva {

namespace {

// Serials far beyond any count of records are damage, not serials.
constexpr double LargestSerial = 1e15;

qint64 wholeSerial(double value, const QString& operation, DbFile file)
{
    if (!std::isfinite(value) || std::fabs(value) > LargestSerial)
        throw DataError(
            operation, RelativePath(file), QStringLiteral("a stored serial (%1) is out of range").arg(Str(value)));
    return static_cast<qint64>(std::nearbyint(value)); // default rounding: halves to even
}

} // namespace

qint64 NextSerial(Database& db, DbFile file, const QString& table, const QString& serialField)
{
    const QString from = QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(file), table);
    const QString operation = QStringLiteral("find the next serial of %1").arg(table);
    // MAX over the serial index is quick; rounding keeps its order, so rounding
    // the maximum equals the maximum of the rounded serials.
    QSqlQuery max = db.run(QStringLiteral("SELECT MAX(\"%1\") FROM %2").arg(serialField, from), {}, operation, file);
    const QVariant highest = max.next() ? max.value(0) : QVariant();
    max.finish();
    if (highest.isNull())
        return 1;
    if (IsNumber(highest))
        return wholeSerial(highest.toDouble(), operation, file) + 1;

    // A table written elsewhere may hold serials as text, which MAX sorts
    // after every number: read them all.
    QSqlQuery all = db.run(QStringLiteral("SELECT \"%1\" FROM %2").arg(serialField, from), {}, operation, file);
    qint64 top = 0;
    bool any = false;
    while (all.next()) {
        const QVariant v = all.value(0);
        if (v.isNull())
            continue;
        const qint64 serial = wholeSerial(IsNumber(v) ? v.toDouble() : Val(v.toString()), operation, file);
        top = any ? std::max(top, serial) : serial;
        any = true;
    }
    return any ? top + 1 : 1;
}

qint64 FreeSerial(Database& db, DbFile file, const QString& table, const QString& serialField, const QString& codeField,
    CodeKind kind, qint64 proposed)
{
    qint64 serial = std::max(proposed, NextSerial(db, file, table, serialField));
    const QString sql = QStringLiteral("SELECT 1 FROM \"%1\".\"%2\" WHERE \"%3\" = ? LIMIT 1")
                            .arg(SchemaName(file), table, codeField);
    const QString operation = QStringLiteral("find a free number in %1").arg(table);
    for (;; ++serial) {
        QSqlQuery taken = db.run(sql, { RecordCode(kind, serial) }, operation, file);
        if (!taken.next())
            return serial;
    }
}

QString RecordCode(CodeKind kind, qint64 n)
{
    static const char letters[] = { 'C', 'C', 'G', 'P', 'I', 'A', 'S', 'R', 'V' };
    const QChar letter = QLatin1Char(letters[static_cast<int>(kind)]);
    if (kind == CodeKind::Invoice)
        return QStringLiteral("%1%2%3").arg(letter).arg(n < 10 ? QLatin1String("0000") : QLatin1String("000")).arg(n);
    return QStringLiteral("%1%2").arg(letter).arg(n, 5, 10, QLatin1Char('0'));
}

QString MovedCodeNote(const QString& codeAtNew, const QString& savedCode)
{
    return QStringLiteral("Code %1 was taken by another record meanwhile. This record is saved as %2.")
        .arg(codeAtNew, savedCode);
}

} // namespace zelva
