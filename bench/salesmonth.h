#pragma once
// A financial year of invoices with a month of 5,000 among them, seeded
// straight into the files, and the bare SQLite query that reads that month's
// rows: what the register benchmarks measure against.
#include "data/database.h"
#include "platform/datetext.h"
#include "data/serials.h"
#include "registers/salesqueries.h"
#include "sales/invoiceread.h"
#include "sales/invoicestore.h"
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

// A sale as the counter enters it: Steel Rod 10 Kg x 55 and Cement Bag 4 x
// 400, Freight 100; CGST 9% (freight 2.5%) to a buyer of the seller's State,
// else IGST 18% (freight 5%): 2642.00 either way.
inline Invoice sale(int i)
{
    const bool within = i % 2 == 0;
    Invoice x;
    x.serial = i;
    x.number = RecordCode(CodeKind::Invoice, i);
    x.date = ReadKeptDate(dateOf(i));
    x.seller = { "Bench Traders", {}, {}, {}, {}, "33AAACH7409R1Z8" };
    x.buyer = { QString("Buyer %1").arg(i % 500), {}, {}, within ? "Tamil Nadu" : "Kerala", {},
        i % 3 != 0 ? "33ARUNT1234A1Z2" : "N.A." };
    x.delivery.state = "Kerala";
    x.mode = within ? TaxMode::Cgst : TaxMode::Igst;
    for (auto [name, hsn, quantity, unit, rate] :
        { std::tuple { "Steel Rod", "7214", 10.0, "Kg", 55.0 }, { "Cement Bag", "2523", 4.0, "Nos", 400.0 } }) {
        InvoiceLine line;
        line.description = name;
        line.hsn = hsn;
        line.quantity = quantity;
        line.unit = unit;
        line.rate = rate;
        line.amount = LineAmount(quantity, rate);
        x.lines.push_back(line);
    }
    x.charges[0] = { "Freight", "9965", {}, 0, 10000 };
    x.taxes[TaxOnGoods].rate = 18;
    x.taxes[TaxOnOthers1].rate = 5;
    ComputeTotals(x);
    return x;
}

// A year of sales, saved as the counter saves them, in one piece of work.
inline void seed(Database& db, int yearInvoices)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO Master.Company (Name, State, Gstin, sno, CompanyId) "
           "VALUES ('Bench Traders', 'Tamil Nadu', '33AAACH7409R1Z8', 1, 'C00001')",
        {}, "seed", DbFile::Master);
    for (int i = 1; i <= yearInvoices; ++i)
        StoreInvoiceWithin(db, sale(i), Renumber::Refused);
    t.commit();
}

// The best of a few runs, in milliseconds.
inline double best(const std::function<void()>& work, int repeats = Repeats) { return Best(TimeRuns(repeats, work)); }

// The reader's period query, every column of every row read, nothing computed.
inline void bareQuery(const Database& db)
{
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    query.prepare(InvoicesOfPeriodSql());
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
