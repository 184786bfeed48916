#include "sales/invoicecancel.h"

#include "data/audittrail.h"
#include "data/database.h"
#include "data/dataerror.h"
#include "data/stockchange.h"
#include "platform/datetext.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"

#include <QLocale>
#include <QSqlQuery>

namespace zelva {

namespace {

const QString CancelOperation = QStringLiteral("cancel the invoice");

QString invoiceTable(const char* table)
{
    return QStringLiteral("\"%1\".\"%2\"").arg(SchemaName(DbFile::Invoice), QLatin1String(table));
}

int monthKey(int year, int month) { return year * 100 + month; }

QString monthText(const QDate& day) { return QLocale::c().toString(day, QStringLiteral("MMMM yyyy")); }

// One stock item and the quantity to give back to it.
struct GivenBack {
    QString itemCode;
    double quantity = 0;
};

// What the save recorded taking, line by line; nothing when it recorded none.
std::vector<GivenBack> recordedTaking(Database& db, qint64 serial)
{
    std::vector<GivenBack> taken;
    QSqlQuery rows = db.run(QStringLiteral("SELECT \"itemcode\", \"Quantity\" FROM %1 WHERE \"sno\" = ? ORDER BY "
                                           "\"GoodsRow\"")
                                .arg(invoiceTable("InvoiceStock")),
                            {serial}, CancelOperation, DbFile::Invoice);
    while (rows.next())
        taken.push_back({rows.value(0).toString(), rows.value(1).toDouble()});
    return taken;
}

// An invoice saved before the taking was recorded: each goods line from the
// first stock item of its description.
std::vector<GivenBack> takingByDescription(Database& db, const Invoice& invoice)
{
    std::vector<GivenBack> taken;
    for (const InvoiceLine& line : invoice.lines) {
        QSqlQuery item = db.run(QStringLiteral("SELECT \"itemcode\" FROM \"%1\".\"%2\" WHERE \"ItemName\" = ? AND "
                                               "\"sno\" <> 0 ORDER BY rowid LIMIT 1")
                                    .arg(SchemaName(StockFile(StockTable::ForSale)), StockTableName(StockTable::ForSale)),
                                {line.description}, CancelOperation, StockFile(StockTable::ForSale));
        if (item.next())
            taken.push_back({item.value(0).toString(), line.quantity});
    }
    return taken;
}

// Why the invoice cannot be cancelled now; "" when it can.
QString refusal(Database& db, const std::optional<Invoice>& invoice, const QString& number)
{
    if (!invoice)
        return QStringLiteral("There is no saved invoice %1.").arg(number);
    if (const auto& mark = invoice->cancellation)
        return QStringLiteral("Invoice %1 is already cancelled (on %2 by %3).").arg(number, DateText(mark->date), mark->by);
    if (HasSaleNotes(db, invoice->serial))
        return QStringLiteral("Invoice %1 has a credit or debit note against it, so it can no longer be cancelled. "
                              "Issue a credit note for what is left of it instead.")
            .arg(number);
    const QDate date = invoice->date;
    if (date.isValid() && ReturnFiled(db, date.year(), date.month()))
        return QStringLiteral("The GST return of %1 is filed, so invoice %2 can no longer be cancelled. Issue a "
                              "credit note against it instead.")
            .arg(monthText(date), number);
    if (const auto& irn = invoice->registration; irn && !IrnCancellable(*irn, QDateTime::currentDateTime()))
        return QStringLiteral("Invoice %1 was registered on the invoice portal (acknowledged %2), and the portal "
                              "cancels an IRN only within %3 hours, so it can no longer be cancelled. Issue a credit "
                              "note against it instead.")
            .arg(number, irn->ackDate)
            .arg(IrnCancelHours);
    return {};
}

} // namespace

QString CancelInvoice(Database& db, const QString& number, const InvoiceCancellation& mark)
{
    if (mark.reason.trimmed().isEmpty())
        return QStringLiteral("Give the reason the invoice is cancelled (Reason).");
    Transaction transaction(db, CancelOperation);
    const std::optional<Invoice> invoice = LoadInvoice(db, number);
    if (QString why = refusal(db, invoice, number); !why.isEmpty())
        return why; // the transaction rolls back: nothing was written
    std::vector<GivenBack> taken = recordedTaking(db, invoice->serial);
    if (taken.empty())
        taken = takingByDescription(db, *invoice);
    for (const GivenBack& back : taken)
        if (!back.itemCode.isEmpty() && back.quantity != 0)
            AdjustStock(db, StockTable::ForSale, back.itemCode, back.quantity);
    db.run(QStringLiteral("INSERT INTO %1 (\"sno\", \"InvoiceNo\", \"CancelDate\", \"CancelTime\", \"Reason\", "
                          "\"CancelledBy\") VALUES (?, ?, ?, ?, ?, ?)")
               .arg(invoiceTable("CancelledInvoice")),
           {invoice->serial, invoice->number, DateText(mark.date), mark.time, mark.reason.trimmed(), mark.by}, CancelOperation,
           DbFile::Invoice);
    LogChange(db, QStringLiteral("BuyerInvoice"), invoice->number, AuditAction::Cancelled,
              {{QStringLiteral("Reason"), {}, mark.reason.trimmed()}});
    transaction.commit();
    return {};
}

QString CancelRefusal(Database& db, const QString& number)
{
    return refusal(db, LoadInvoice(db, number), number);
}

std::optional<FiledReturn> ReturnFiled(Database& db, int year, int month)
{
    QSqlQuery filed = db.run(QStringLiteral("SELECT \"FiledOn\", \"FiledBy\" FROM %1 WHERE \"ReturnMonth\" = ?")
                                 .arg(invoiceTable("FiledReturn")),
                             {monthKey(year, month)}, QStringLiteral("read the filed returns"), DbFile::Invoice);
    if (!filed.next())
        return std::nullopt;
    return FiledReturn{filed.value(0).toString(), filed.value(1).toString()};
}

void MarkReturnFiled(Database& db, int year, int month, const FiledReturn& filing)
{
    const QString operation = QStringLiteral("mark the return filed");
    Transaction transaction(db, operation);
    if (ReturnFiled(db, year, month))
        return;
    db.run(QStringLiteral("INSERT INTO %1 (\"ReturnMonth\", \"FiledOn\", \"FiledBy\") VALUES (?, ?, ?)")
               .arg(invoiceTable("FiledReturn")),
           {monthKey(year, month), filing.on, filing.by}, operation, DbFile::Invoice);
    LogChange(db, QStringLiteral("FiledReturn"), QString::number(monthKey(year, month)), AuditAction::Marked);
    transaction.commit();
}

} // namespace zelva
