#pragma once
// The purchase register of a period: one line per bill and GST rate (taxable
// value and taxes), with the period's totals and the totals per rate, as rows,
// CSV text and an Excel sheet. Purchases saved before bills carried GST show
// as bills without tax. No window.
#include "registers/xlsxfile.h"
#include "sales/purchasebill.h"

#include <vector>

namespace zelva {

class Database;

struct PurchaseRegisterLine {
    qint64 billSerial = 0;
    QDate date;
    QString number;
    QString supplier;
    QString gstin; // "" for an unregistered supplier
    double rate = 0;
    Paise taxable = 0;
    TaxHeads tax;
    bool reverseCharge = false;
    CreditKind credit = CreditKind::Eligible;
    bool withTax = true;
    Paise total() const { return taxable + tax.total(); }
};

struct RateTotal {
    double rate = 0;
    Paise taxable = 0;
    TaxHeads tax;
};

struct PurchaseRegister {
    QDate from;
    QDate to;
    std::vector<PurchaseRegisterLine> lines; // bill by bill, rates in increasing order
    std::vector<RateTotal> byRate; // in increasing order of rate
    int bills = 0;
    Paise taxable = 0;
    TaxHeads tax;
    Paise total() const { return taxable + tax.total(); }
};

PurchaseRegister BuildPurchaseRegister(const QDate& from, const QDate& to, const std::vector<PurchaseBill>& bills);
// Throws DataError.
PurchaseRegister LoadPurchaseRegister(const Database& db, const QDate& from, const QDate& to);

// The column captions the screen, paper, CSV and sheet share, and one line's
// cells as texts (amounts as AmountText; the screen groups them itself).
QStringList PurchaseRegisterCaptions();
QString PurchaseRegisterCsv(const PurchaseRegister& purchases);
XlsxSheet PurchaseRegisterSheet(const PurchaseRegister& purchases);
// "Yes" / "No" as the register shows reverse charge.
QString YesNoText(bool yes);
// The ITC column: the kind of credit in a word ("Eligible", "Blocked",
// "Reversed", "Ineligible"), "No" on a bill without tax.
QString ItcText(const PurchaseRegisterLine& line);

} // namespace zelva
