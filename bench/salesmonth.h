#pragma once
// A financial year of invoices with a month of 5,000 among them, seeded
// straight into the files, and the bare SQLite query that reads that month's
// rows: what the register benchmarks measure against.
#include "data/database.h"
#include "registers/salesqueries.h"
#include "timing.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

using namespace zelva;

constexpr int MonthInvoices = 5000;
constexpr int Repeats = 7;

// The month measured is August 2026; the rest of the year is spread over the
// other eleven months of 2026-27.
inline QString dateOf(int i)
{
    if (i <= MonthInvoices)
        return QString("%1/08/2026").arg(1 + i % 31, 2, 10, QChar('0'));
    static const int otherMonths[] = { 4, 5, 6, 7, 9, 10, 11, 12, 1, 2, 3 };
    const int month = otherMonths[i % 11];
    return QString("%1/%2/%3")
        .arg(1 + i % 28, 2, 10, QChar('0'))
        .arg(month, 2, 10, QChar('0'))
        .arg(month >= 4 ? 2026 : 2027);
}

inline void seed(Database& db, int yearInvoices)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) "
           "VALUES ('Bench Traders', 'Tamil Nadu', '33AAACH7409R1Z8', 1, 'C00001')",
        {}, "seed", DbFile::Master);
    QSqlQuery head(db.connection());
    head.prepare("INSERT INTO Invoice.BuyerInvoice (sno, InvoiceNo, InvoiceDate, BuyerName, BuyerGstin, buyerstate, "
                 "SalerGstin, State) VALUES (?, ?, ?, ?, ?, ?, '33AAACH7409R1Z8', 'Kerala')");
    QSqlQuery body(db.connection());
    body.prepare("INSERT INTO Invoice.GoodsInvoice (sno, InvoiceNo, DescriptionOfGoods1, Hsn1, Quantity1, Per1, "
                 "Amount1, DescriptionOfGoods2, Hsn2, Quantity2, Per2, Amount2, DescriptionOfGoods8, rate8, Amount8, "
                 "DescriptionOfGoods9, rate9, Amount9, DescriptionOfGoods10, Hsn10, Amount10, DescriptionOfGoods11, "
                 "rate11, Amount11, Amount12, Amount16, totalamount, TIgst, TCgst, TSgst) VALUES "
                 "(?, ?, 'Steel Rod', '7214', 10, 'Kg', 550, 'Cement Bag', '2523', 4, 'Nos', 1600, ?, ?, ?, ?, ?, ?, "
                 "'Freight', '9965', 100, ?, ?, ?, ?, 0, ?, ?, ?, ?)");
    for (int i = 1; i <= yearInvoices; ++i) {
        const QString number = QString("A000%1").arg(i);
        const bool registered = i % 3 != 0;
        const bool within = i % 2 == 0;
        head.addBindValue(i);
        head.addBindValue(number);
        head.addBindValue(dateOf(i));
        head.addBindValue(QString("Buyer %1").arg(i % 500));
        head.addBindValue(registered ? "33ARUNT1234A1Z2" : "N.A.");
        head.addBindValue(within ? "Tamil Nadu" : "Kerala");
        head.exec();
        body.addBindValue(i);
        body.addBindValue(number);
        body.addBindValue(within ? "CGST @ 9%" : "IGST @ 18%");
        body.addBindValue(within ? 9 : 18);
        body.addBindValue(within ? 193.5 : 387.0);
        body.addBindValue(within ? "SGST @ 9%" : "N.A.");
        body.addBindValue(within ? 9 : 0);
        body.addBindValue(within ? 193.5 : 0.0);
        body.addBindValue(within ? "CGST @ 2.5%" : "IGST @ 5%");
        body.addBindValue(within ? 2.5 : 5);
        body.addBindValue(within ? 2.5 : 5.0);
        body.addBindValue(within ? 2.5 : 0.0);
        body.addBindValue(2642.0);
        body.addBindValue(within ? 0.0 : 392.0);
        body.addBindValue(within ? 196.0 : 0.0);
        body.addBindValue(within ? 196.0 : 0.0);
        body.exec();
    }
    t.commit();
}

// The best of a few runs, in milliseconds.
inline double best(const std::function<void()>& work, int repeats = Repeats) { return Best(TimeRuns(repeats, work)); }

// The same period query, every column of every row read, nothing computed.
inline void bareQuery(const Database& db)
{
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    QStringList columns;
    for (int row = 1; row <= 16; ++row)
        columns << QString("Amount%1").arg(row);
    for (int row = 1; row <= 7; ++row)
        columns << QString("DescriptionOfGoods%1").arg(row) << QString("Hsn%1").arg(row)
                << QString("Quantity%1").arg(row) << QString("Per%1").arg(row);
    for (int row : { 8, 10, 11, 13, 14 })
        columns << QString("DescriptionOfGoods%1").arg(row);
    columns << "rate8"
            << "rate11"
            << "rate14"
            << "Hsn10"
            << "Hsn13"
            << "totalamount"
            << "TIgst"
            << "TCgst"
            << "TSgst";
    query.prepare(InvoicesOfPeriodSql(columns));
    query.addBindValue(20260801);
    query.addBindValue(20260831);
    query.exec();
    const int count = query.record().count();
    qint64 rows = 0;
    while (query.next()) {
        for (int c = 0; c < count; ++c)
            query.value(c);
        ++rows;
    }
    if (rows != MonthInvoices)
        std::printf("bare query found %lld rows\n", rows);
}

} // namespace bench
