#include "sales/companypayment.h"

#include "data/audittrail.h"
#include "data/database.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QUrl>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the company's payment details");

QString table()
{
    return QStringLiteral("\"%1\".\"CompanyPayment\"").arg(SchemaName(DbFile::Master));
}

QString encoded(const QString& value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "@"));
}

} // namespace

bool IsUpiId(const QString& typed)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{1,255}@[A-Za-z][A-Za-z0-9]{1,63}$"));
    return form.match(typed).hasMatch();
}

QString UpiPayText(const QString& upiId, const QString& payeeName, Paise amount, const QString& invoiceNumber)
{
    return UpiRequestText(upiId, payeeName, amount, invoiceNumber);
}

QString UpiRequestText(const QString& upiId, const QString& payeeName, std::optional<Paise> amount, const QString& note)
{
    const QString am = amount ? QStringLiteral("&am=%1").arg(encoded(AmountText(*amount))) : QString();
    return QStringLiteral("upi://pay?pa=%1&pn=%2%3&cu=INR&tn=%4")
        .arg(encoded(upiId), encoded(payeeName), am, encoded(note));
}

CompanyPayment LoadCompanyPayment(Database& db, qint64 companySerial)
{
    CompanyPayment payment;
    QSqlQuery q = db.run(QStringLiteral("SELECT \"UpiId\", \"EwayBillLimit\" FROM %1 WHERE \"sno\" = ?").arg(table()),
                         {companySerial}, ReadOperation, DbFile::Master);
    if (q.next()) {
        payment.upiId = q.value(0).toString();
        if (!q.value(1).isNull())
            payment.ewayBillLimit = ToPaise(q.value(1).toDouble());
    }
    return payment;
}

CompanyPayment LoadFirstCompanyPayment(Database& db)
{
    QSqlQuery first = db.run(QStringLiteral("SELECT \"sno\" FROM \"%1\".\"Company\" ORDER BY \"sno\", rowid LIMIT 1")
                                 .arg(SchemaName(DbFile::Master)),
                             {}, ReadOperation, DbFile::Master);
    return first.next() ? LoadCompanyPayment(db, first.value(0).toLongLong()) : CompanyPayment{};
}

QString FirstCompanyName(Database& db)
{
    QSqlQuery first = db.run(QStringLiteral("SELECT \"Name\" FROM \"%1\".\"Company\" ORDER BY \"sno\", rowid LIMIT 1")
                                 .arg(SchemaName(DbFile::Master)),
                             {}, ReadOperation, DbFile::Master);
    return first.next() ? first.value(0).toString() : QString();
}

// The payment details the company form changed, for the audit trail.
static void logPaymentChanges(Database& db, qint64 companySerial, const CompanyPayment& payment)
{
    const CompanyPayment before = LoadCompanyPayment(db, companySerial);
    std::vector<FieldChange> changes;
    if (before.upiId != payment.upiId)
        changes.push_back({QStringLiteral("UpiId"), before.upiId, payment.upiId});
    if (before.ewayBillLimit != payment.ewayBillLimit)
        changes.push_back({QStringLiteral("EwayBillLimit"), AmountText(before.ewayBillLimit), AmountText(payment.ewayBillLimit)});
    if (!changes.empty())
        LogChange(db, QStringLiteral("CompanyPayment"), QString::number(companySerial), AuditAction::Changed, changes);
}

void StoreCompanyPaymentWithin(Database& db, qint64 companySerial, const CompanyPayment& payment)
{
    const QString operation = QStringLiteral("save the company's payment details");
    logPaymentChanges(db, companySerial, payment);
    db.run(QStringLiteral("DELETE FROM %1 WHERE \"sno\" = ?").arg(table()), {companySerial}, operation, DbFile::Master);
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"UpiId\", \"EwayBillLimit\") VALUES (?, ?, ?)").arg(table()),
           {companySerial, payment.upiId, ToRupees(payment.ewayBillLimit)}, operation, DbFile::Master);
}

} // namespace zelva
