#include "sales/barcodes.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <QSqlQuery>

namespace zelva {

namespace {

QString barcodeTable()
{
    return QStringLiteral("\"%1\".\"StockBarcode\"").arg(SchemaName(DbFile::ItemStock));
}

bool allDigits(const QString& code)
{
    return !code.isEmpty() && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The GS1 check: digits weighted 3 and 1 alternately from the right of the
// payload, the check digit making the sum a multiple of ten.
bool checkDigitRight(const QString& code)
{
    int sum = 0;
    const int payload = int(code.size()) - 1;
    for (int i = 0; i < payload; ++i)
        sum += code[i].digitValue() * ((payload - i) % 2 == 1 ? 3 : 1);
    return (10 - sum % 10) % 10 == code[payload].digitValue();
}

} // namespace

std::optional<BarcodeKind> KindOfBarcode(const QString& code)
{
    if (!BarcodeRefusal(code).isEmpty())
        return std::nullopt;
    if (!allDigits(code))
        return BarcodeKind::ShopCode;
    switch (code.size()) {
    case 13: return BarcodeKind::Ean13;
    case 12: return BarcodeKind::UpcA;
    case 8: return BarcodeKind::Ean8;
    default: return BarcodeKind::ShopCode;
    }
}

QString BarcodeRefusal(const QString& code)
{
    static const QRegularExpression scannable(QStringLiteral("^[A-Za-z0-9./-]+$"));
    if (code.isEmpty())
        return QStringLiteral("A barcode cannot be empty.");
    if (code.size() > LongestBarcode)
        return QStringLiteral("The barcode \"%1\" is longer than %2 characters.").arg(code).arg(LongestBarcode);
    if (!scannable.match(code).hasMatch())
        return QStringLiteral("The barcode \"%1\" may hold only letters, digits, \"-\", \".\" and \"/\".").arg(code);
    static const std::map<qsizetype, QString> gs1{
        {8, QStringLiteral("EAN-8")}, {12, QStringLiteral("UPC-A")}, {13, QStringLiteral("EAN-13")}};
    if (const auto kind = gs1.find(code.size()); allDigits(code) && kind != gs1.end() && !checkDigitRight(code))
        return QStringLiteral("The %1 code \"%2\" has a wrong check digit.").arg(kind->second, code);
    return {};
}

QStringList SplitBarcodes(const QString& typed)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    QStringList codes = typed.split(separators, Qt::SkipEmptyParts);
    codes.removeDuplicates();
    return codes;
}

QStringList LoadItemBarcodes(Database& db, const QString& itemCode)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"Barcode\" FROM %1 WHERE \"itemcode\" = ? ORDER BY \"sno\"")
                             .arg(barcodeTable()),
                         {itemCode}, QStringLiteral("read the item's barcodes"), DbFile::ItemStock);
    QStringList codes;
    while (q.next())
        codes << q.value(0).toString();
    return codes;
}

std::optional<QString> ItemOfBarcode(Database& db, const QString& barcode)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT \"itemcode\" FROM %1 WHERE \"Barcode\" = ?").arg(barcodeTable()),
                         {barcode}, QStringLiteral("find the item of a barcode"), DbFile::ItemStock);
    if (q.next())
        return q.value(0).toString();
    return std::nullopt;
}

QString BarcodesRefusal(Database& db, const QString& itemCode, const QStringList& barcodes)
{
    for (const QString& code : barcodes) {
        if (const QString refusal = BarcodeRefusal(code); !refusal.isEmpty())
            return refusal;
        const std::optional<QString> owner = ItemOfBarcode(db, code);
        if (!owner || *owner == itemCode)
            continue;
        QSqlQuery name = db.run(QStringLiteral("SELECT \"ItemName\" FROM \"%1\".\"Stock\" WHERE \"itemcode\" = ?")
                                    .arg(SchemaName(DbFile::ItemStock)),
                                {*owner}, QStringLiteral("find the item of a barcode"), DbFile::ItemStock);
        const QString ownerName = name.next() ? name.value(0).toString() : QString();
        return QStringLiteral("The barcode \"%1\" already belongs to item %2 (%3).").arg(code, *owner, ownerName);
    }
    return {};
}

void StoreItemBarcodesWithin(Database& db, const QString& itemCode, const QStringList& barcodes)
{
    const QString operation = QStringLiteral("save the item's barcodes");
    if (const QString refusal = BarcodesRefusal(db, itemCode, barcodes); !refusal.isEmpty())
        throw DataError(operation, RelativePath(DbFile::ItemStock), refusal);
    const QStringList before = LoadItemBarcodes(db, itemCode);
    if (before == barcodes)
        return;
    LogChange(db, QStringLiteral("StockBarcode"), itemCode, AuditAction::Changed,
              {{QStringLiteral("Barcode"), before.join(QLatin1Char(' ')), barcodes.join(QLatin1Char(' '))}});
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"itemcode\" = ?").arg(barcodeTable()), {itemCode}, operation,
           DbFile::ItemStock);
    QSqlQuery last = db.run(QStringLiteral("SELECT COALESCE(MAX(\"sno\"), 0) FROM %1").arg(barcodeTable()), {},
                            operation, DbFile::ItemStock);
    qint64 serial = last.next() ? last.value(0).toLongLong() : 0;
    for (const QString& code : barcodes)
        db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"itemcode\", \"Barcode\") VALUES (?, ?, ?)").arg(barcodeTable()),
               {++serial, itemCode, code}, operation, DbFile::ItemStock);
}

} // namespace zelva
