#include "registers/salesqueries.h"

#include "data/schema.h"

namespace zelva {

namespace {

// 1 for an invoice (b) that carries the cancelled mark, else 0; always 0
// when the file keeps no marks (a read-only file of the layout before them).
QString cancelledSql(bool marksKept)
{
    if (!marksKept)
        return QStringLiteral("0");
    return QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM \"%1\".CancelledInvoice AS c WHERE c.sno = b.sno) "
                          "THEN 1 ELSE 0 END")
        .arg(SchemaName(DbFile::Invoice));
}

} // namespace

QString InvoiceListSql(bool marksKept)
{
    const QString key = DateKeySql(QStringLiteral("b.\"InvoiceDate\""));
    return QStringLiteral("SELECT b.sno, b.InvoiceNo, b.InvoiceDate, b.BuyerName, g.totalamount, %3 "
                          "FROM \"%1\".BuyerInvoice AS b LEFT JOIN \"%1\".GoodsInvoice AS g ON g.sno = b.sno "
                          "WHERE b.sno <> 0 AND %2 BETWEEN ? AND ? AND (instr(upper(b.InvoiceNo), upper(?)) > 0 "
                          "OR instr(upper(b.BuyerName), upper(?)) > 0) ORDER BY %2 DESC, b.sno DESC")
        .arg(SchemaName(DbFile::Invoice), key, cancelledSql(marksKept));
}

QString CompanyGstSql()
{
    return QStringLiteral("SELECT Name, Gstin, State FROM \"%1\".Company ORDER BY rowid LIMIT 1")
        .arg(SchemaName(DbFile::Master));
}

} // namespace zelva
