#include "registers/cashbook.h"

#include "data/database.h"
#include "data/schema.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"
#include "sales/moneybook.h"
#include "sales/payment.h"
#include "sales/receipt.h"

#include <QSqlQuery>
#include <algorithm>
#include <tuple>

namespace zelva {

namespace {

const QString ReadOperation = QStringLiteral("read the cash book");

QString dayText(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

// The live cash of one book up to the period's last day: what came before
// its first day as one sum, the period's records as lines.
Paise readCash(Database& db, const MoneyBook& book, bool in, const Period& period, std::vector<CashBookLine>& lines)
{
    const QString dateKey = DateKeySql(QStringLiteral("r.\"%1\"").arg(book.dateColumn));
    QSqlQuery q = db.run(QStringLiteral("SELECT r.\"%1\", r.\"%2\", r.Time, r.\"%3\", r.AmountPaise, %4 FROM %5 AS r "
                                        "WHERE r.Mode = ? AND %4 <= ? AND NOT EXISTS (SELECT 1 FROM %6 AS c WHERE c.sno = r.sno)")
                             .arg(book.numberColumn, book.dateColumn, book.partyNameColumn, dateKey,
                                  MoneyTable(book, book.table), MoneyTable(book, book.cancelledTable)),
                         {PaymentModeName(PaymentMode::Cash), DayKey(period.to)}, ReadOperation, book.file);
    Paise before = 0;
    const int firstKey = DayKey(period.from);
    while (q.next()) {
        const Paise amount = q.value(4).toLongLong();
        if (q.value(5).toInt() < firstKey) {
            before += amount;
            continue;
        }
        CashBookLine line;
        line.date = ReadDateText(q.value(1).toString());
        line.time = q.value(2).toString();
        line.number = q.value(0).toString();
        line.particulars = in ? QStringLiteral("Receipt %1 from %2").arg(line.number, q.value(3).toString())
                              : QStringLiteral("Payment %1 to %2").arg(line.number, q.value(3).toString());
        (in ? line.in : line.out) = amount;
        lines.push_back(line);
    }
    return before;
}

} // namespace

CashBook LoadCashBook(Database& db, const Period& period)
{
    CashBook book;
    book.period = period;
    const Paise inBefore = readCash(db, ReceiptBook(), true, period, book.lines);
    const Paise outBefore = readCash(db, PaymentBook(), false, period, book.lines);
    book.opening = inBefore - outBefore;
    std::stable_sort(book.lines.begin(), book.lines.end(), [](const CashBookLine& a, const CashBookLine& b) {
        return std::tuple(a.date, a.time, a.out != 0, a.number) < std::tuple(b.date, b.time, b.out != 0, b.number);
    });
    Paise balance = book.opening;
    for (CashBookLine& line : book.lines) {
        balance += line.in - line.out;
        line.balance = balance;
        book.totalIn += line.in;
        book.totalOut += line.out;
    }
    book.closing = balance;
    return book;
}

QString CashBookCsv(const CashBook& b)
{
    QString csv = CsvLine({QStringLiteral("Date"), QStringLiteral("Particulars"), QStringLiteral("Cash in"),
                           QStringLiteral("Cash out"), QStringLiteral("Cash in hand")});
    csv += CsvLine({dayText(b.period.from), QStringLiteral("Opening cash")}, {{}, {}, AmountText(b.opening)});
    for (const CashBookLine& line : b.lines)
        csv += CsvLine({dayText(line.date), line.particulars},
                       {line.in ? AmountText(line.in) : QString(), line.out ? AmountText(line.out) : QString(),
                        AmountText(line.balance)});
    csv += CsvLine({dayText(b.period.to), QStringLiteral("Closing cash")},
                   {AmountText(b.totalIn), AmountText(b.totalOut), AmountText(b.closing)});
    return csv;
}

XlsxSheet CashBookSheet(const CashBook& b)
{
    XlsxSheet sheet(QStringLiteral("Cash Book"),
                    {{QStringLiteral("Date"), CellKind::Date}, {QStringLiteral("Particulars"), CellKind::Text},
                     {QStringLiteral("Cash in"), CellKind::Amount}, {QStringLiteral("Cash out"), CellKind::Amount},
                     {QStringLiteral("Cash in hand"), CellKind::Amount}});
    sheet.addRow({b.period.from, QStringLiteral("Opening cash"), {}, {}, b.opening});
    for (const CashBookLine& line : b.lines)
        sheet.addRow({line.date, line.particulars, line.in ? QVariant(line.in) : QVariant(),
                      line.out ? QVariant(line.out) : QVariant(), line.balance});
    sheet.addTotals({b.period.to, QStringLiteral("Closing cash"), b.totalIn, b.totalOut, b.closing});
    return sheet;
}

} // namespace zelva
