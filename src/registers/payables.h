#pragma once
// What the shop owes its suppliers as at a day, worked out from
// sales/payable.h, in the outstanding report's shape (registers/outstanding.h:
// the same ageing columns, advance column and totals, the same CSV and Excel
// sheet, in the suppliers' words): supplier by supplier, each bill not fully
// paid with its amount (its notes included), what was paid by then, the
// balance and its ageing column; the advance paid to the supplier taken off.
// Beside it, the bills unpaid past 180 days after their date as at the day,
// whose credit is to be reversed until they are paid; the report names each
// one's credit still reversed in a column of its own ("Unpaid 180 Days").
#include "platform/period.h"
#include "registers/outstanding.h"
#include "sales/payable.h"

namespace zelva {

class Database;

OutstandingWords PayablesWords();

// Throws DataError.
Outstanding LoadPayables(Database& db, const QDate& asAt);

// The input tax of what is still unpaid of the bill on the day, when the bill
// is unpaid past DaysToPayBeforeReversal days and its credit is reversed for it
// (CreditReversedWhenUnpaid, as the 3B's 4(B)(2) reverses it); none otherwise.
TaxHeads CreditToReverse(const OwedBill& bill, const QDate& asAt);

// The bills unpaid past DaysToPayBeforeReversal days on the day, oldest first. Throws DataError.
std::vector<OwedBill> BillsUnpaidTooLong(Database& db, const QDate& asAt);

// The supplier's account over the period, in the statement's shape
// (registers/outstanding.h): the balance owed to the supplier before its
// first day, each bill, note and payment of the period in date order with
// the running balance (a bill or debit note in Credit, a payment or credit
// note in Debit: the balance is what the shop owes), the closing balance.
// Throws DataError.
Statement LoadSupplierStatement(Database& db, const QString& supplierKey, const QString& supplierName,
                                const Period& period);

// A bill's credit reversed or taken back in a month (rule 37): the bill, the
// part of what it charged the figures are of (what was unpaid on its 181st
// day, or what the month paid of it after that day) and that part's tax.
struct LateBillCredit {
    OwedBill bill;
    Paise part = 0;
    TaxHeads tax;
};
struct LateBillsOfMonth {
    std::vector<LateBillCredit> reversed;  // the bills whose 181st day falls in the month, unpaid that day
    std::vector<LateBillCredit> reclaimed; // what the month paid of bills reversed on or before a day of it
};
// The eligible bills not under reverse charge, by their dates. Throws DataError.
LateBillsOfMonth LateBillsInMonth(Database& db, int year, int month);

} // namespace zelva
