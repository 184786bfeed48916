#include "sales/invoiceextras.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "platform/datetext.h"

#include <QHash>
#include <QSqlQuery>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the invoice");
const QString RegisterOperation = QStringLiteral("keep the invoice's IRN");
const QString TransportColumns = QStringLiteral(
    "\"sno\", \"TransMode\", \"DistanceKm\", \"VehicleNo\", \"TransporterId\", \"TransporterName\", \"TransDocNo\", "
    "\"TransDocDate\"");
const QString IrnColumns = QStringLiteral("\"sno\", \"Irn\", \"AckNo\", \"AckDate\", \"SignedQrCode\", \"EwbNo\", "
                                          "\"EwbDate\", \"EwbValidTill\"");

QString table(const char* name)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(name));
}

InvoiceTransport transportOf(const QSqlQuery& q)
{
    return {q.value(1).toString(), q.value(2).toInt(),      q.value(3).toString(), q.value(4).toString(),
            q.value(5).toString(), q.value(6).toString(), ReadKeptDate(q.value(7).toString())};
}

InvoiceRegistration registrationOf(const QSqlQuery& q)
{
    return {q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
            q.value(5).toString(), q.value(6).toString(), q.value(7).toString()};
}

// Every record of the table (or the one of the serial), handed to take by
// serial. A read-only file left at an older layout has not the table: it
// holds nothing of it.
template <typename Take>
void readRows(Database& db, const char* name, const QString& columns, std::optional<qint64> serial, Take take)
{
    if (db.tableKind(DbFile::Invoice, QLatin1String(name), ReadOperation).isEmpty())
        return;
    QSqlQuery q = db.run(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(columns, table(name),
                                                                           serial ? QStringLiteral("\"sno\" = ?")
                                                                                  : QStringLiteral("\"sno\" <> 0")),
                         serial ? QVariantList{*serial} : QVariantList{}, ReadOperation, DbFile::Invoice);
    while (q.next())
        take(q.value(0).toLongLong(), q);
}

} // namespace

void StoreTransportWithin(Database& db, qint64 serial, const QString& number, const InvoiceTransport& t)
{
    db.run(QStringLiteral("INSERT INTO %1 (%2, \"InvoiceNo\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("InvoiceTransport"), TransportColumns),
           {serial, t.mode, double(t.distanceKm), t.vehicleNo, t.transporterId, t.transporterName, t.docNo, DateText(t.docDate),
            number},
           QStringLiteral("save the invoice"), DbFile::Invoice);
}

void ReadInvoiceExtras(Database& db, Invoice& invoice)
{
    readRows(db, "InvoiceTransport", TransportColumns, invoice.serial,
             [&](qint64, const QSqlQuery& q) { invoice.transport = transportOf(q); });
    readRows(db, "InvoiceIrn", IrnColumns, invoice.serial,
             [&](qint64, const QSqlQuery& q) { invoice.registration = registrationOf(q); });
}

void ReadInvoiceExtras(Database& db, std::vector<Invoice>& invoices)
{
    QHash<qint64, Invoice*> bySerial;
    for (Invoice& invoice : invoices)
        bySerial.insert(invoice.serial, &invoice);
    readRows(db, "InvoiceTransport", TransportColumns, std::nullopt, [&](qint64 serial, const QSqlQuery& q) {
        if (Invoice* invoice = bySerial.value(serial))
            invoice->transport = transportOf(q);
    });
    readRows(db, "InvoiceIrn", IrnColumns, std::nullopt, [&](qint64 serial, const QSqlQuery& q) {
        if (Invoice* invoice = bySerial.value(serial))
            invoice->registration = registrationOf(q);
    });
}

QString StoreRegistration(Database& db, const QString& number, const InvoiceRegistration& r)
{
    Transaction transaction(db, RegisterOperation);
    QSqlQuery header = db.run(QStringLiteral("SELECT \"sno\" FROM %1 WHERE \"InvoiceNo\" = ? AND \"sno\" <> 0")
                                  .arg(table("BuyerInvoice")),
                              {number}, RegisterOperation, DbFile::Invoice);
    if (!header.next())
        return QStringLiteral("There is no saved invoice %1.").arg(number);
    const qint64 serial = header.value(0).toLongLong();
    QSqlQuery cancelled = db.run(QStringLiteral("SELECT 1 FROM %1 WHERE \"sno\" = ?").arg(table("CancelledInvoice")),
                                 {serial}, RegisterOperation, DbFile::Invoice);
    if (cancelled.next())
        return QStringLiteral("Invoice %1 is cancelled: it takes no IRN.").arg(number);
    QSqlQuery kept = db.run(QStringLiteral("SELECT \"Irn\" FROM %1 WHERE \"sno\" = ?").arg(table("InvoiceIrn")),
                            {serial}, RegisterOperation, DbFile::Invoice);
    if (kept.next()) {
        if (kept.value(0).toString() == r.irn)
            return {};
        return QStringLiteral("Invoice %1 is registered already, under the IRN %2.").arg(number, kept.value(0).toString());
    }
    db.run(QStringLiteral("INSERT INTO %1 (%2, \"InvoiceNo\", \"ImportedOn\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               .arg(table("InvoiceIrn"), IrnColumns),
           {serial, r.irn, r.ackNo, r.ackDate, r.signedQrCode, r.ewbNo, r.ewbDate, r.ewbValidTill, number,
            DateText(QDate::currentDate())},
           RegisterOperation, DbFile::Invoice);
    LogChange(db, QStringLiteral("InvoiceIrn"), number, AuditAction::Marked, {{QStringLiteral("Irn"), {}, r.irn}});
    transaction.commit();
    return {};
}

QString IrnCancelReminder(const Invoice& invoice)
{
    if (!invoice.registration)
        return {};
    const QDateTime ack = AckTime(invoice.registration->ackDate);
    return QStringLiteral("Invoice %1 is registered on the invoice portal (IRN %2). Cancel the IRN on the portal "
                          "too, before %3: the portal refuses it after %4 hours.")
        .arg(invoice.number, invoice.registration->irn,
             ack.isValid() ? ack.addSecs(qint64(IrnCancelHours) * 3600).toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                           : invoice.registration->ackDate)
        .arg(IrnCancelHours);
}

} // namespace zelva
