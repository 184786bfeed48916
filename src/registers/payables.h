#pragma once
// What the shop owes its suppliers as at a day, worked out from
// sales/payable.h, in the outstanding report's shape (registers/outstanding.h:
// the same ageing columns, advance column and totals, the same CSV and Excel
// sheet, in the suppliers' words): supplier by supplier, each bill not fully
// paid with its amount (its notes included), what was paid by then, the
// balance and its ageing column; the advance paid to the supplier taken off.
// Beside it, the bills unpaid past 180 days after their date as at the day,
// whose credit is to be reversed until they are paid.
#include "registers/outstanding.h"
#include "sales/payable.h"

namespace zelva {

class Database;

OutstandingWords PayablesWords();

// Throws DataError.
Outstanding LoadPayables(Database& db, const QDate& asAt);

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

} // namespace zelva
