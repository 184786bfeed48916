#include "reports/invoicelist.h"

#include "data/database.h"
#include "platform/money.h"
#include "platform/shownvalues.h"
#include "platform/period.h"
#include "registers/salesqueries.h"
#include "sales/invoicestore.h"

#include <QObject>
#include <QSqlQuery>

namespace zelva {

TableReport SavedInvoiceList(Database& db, const QDate& from, const QDate& to, const QString& find)
{
    TableReport table;
    table.columns = { { QObject::tr("Invoice No."), 0 }, { QObject::tr("Date"), 0 }, { QObject::tr("Buyer"), 0 },
        { QObject::tr("Total"), 0, true } };
    const QString part = find.trimmed();
    const bool grouped = IndianDigitGrouping();
    QSqlQuery query = db.run(InvoiceListSql(CancellationsKept(db)), { DayKey(from), DayKey(to), part, part },
        QObject::tr("list the saved invoices"), DbFile::Invoice);
    while (query.next()) {
        const bool cancelled = query.value(5).toInt() != 0;
        table.lines.push_back({ query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            cancelled ? QObject::tr("CANCELLED") : ShownAmountText(ToPaise(query.value(4).toDouble()), grouped) });
    }
    return table;
}

} // namespace zelva
