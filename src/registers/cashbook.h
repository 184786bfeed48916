#pragma once
// The cash book: the cash that came in (receipts in cash, the invoices paid
// now in cash, which are saved as receipts of their grand total) and went
// out (payments in cash) over a period, day by day, with the cash in hand
// before its first day and after its last. Cancelled receipts and payments
// count for nothing.
//
// The cash in hand starts from nothing: the opening cash of a period is all
// cash in less all cash out before its first day, as the books hold them.
// The books keep no cash counted before they start here.
#include "platform/money.h"
#include "platform/period.h"
#include "registers/xlsxfile.h"

#include <QString>
#include <vector>

namespace zelva {

class Database;

struct CashBookLine {
    QDate date;
    QString time;
    QString number;      // "R00001", "V00001"
    QString particulars; // "Receipt R00001 from Anand", "Payment V00001 to Sharma Traders"
    Paise in = 0;
    Paise out = 0;
    Paise balance = 0; // the cash in hand after the line
};

struct CashBook {
    Period period;
    Paise opening = 0;
    std::vector<CashBookLine> lines; // by day, then time, receipts before payments
    Paise totalIn = 0;
    Paise totalOut = 0;
    Paise closing = 0;
};

// Throws DataError.
CashBook LoadCashBook(Database& db, const Period& period);
QString CashBookCsv(const CashBook& book);
XlsxSheet CashBookSheet(const CashBook& book);

} // namespace zelva
