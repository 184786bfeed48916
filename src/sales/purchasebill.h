#pragma once
// A supplier's bill as a value: the supplier, the supplier's bill number and
// date, reverse charge and whether its tax may be taken as input tax credit,
// and its lines. Each line is one Purchase record (one stock movement, made
// through AdjustStock as every purchase is) with its taxable value, GST rate
// and tax. The GST of a bill lives beside the Purchase records, in
// PurchaseBill (the header) and PurchaseBillLine (one per Purchase record).
//
// - The tax kind follows the supplier's State against the company's: IGST
//   from another State, CGST plus SGST from the company's own (the States
//   compared as the GST list knows them, else by their GSTINs' State codes).
// - Each line's tax is worked out to the paisa as on our own invoices: IGST
//   at the rate, or CGST and SGST each at half the rate.
// - A bill number is entered once per supplier and financial year: numbers
//   compare without letter case, blanks, "/", "-" and leading zeros.
// - Purchases saved before bills carried GST read as bills without tax: the
//   Purchase records of one supplier, bill number and bill date make one
//   bill, each line's taxable value its quantity times its rate.
#include "data/stockchange.h"
#include "gst/gsttax.h"
#include "platform/money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

struct LineTax {
    Paise igst = 0;
    Paise cgst = 0;
    Paise sgst = 0;
    Paise total() const { return igst + cgst + sgst; }
};

// The tax of a line of that taxable value at the whole GST rate (18 for
// CGST 9% + SGST 9%), each head to the paisa.
LineTax PurchaseLineTax(Paise taxable, double gstRate, TaxMode mode);

// IGST when the supplier is of another State than the company, else CGST;
// None when either State is unknown.
TaxMode PurchaseTaxMode(const QString& supplierState, const QString& supplierGstin, const QString& companyState,
                        const QString& companyGstin);

// A bill number as bills are compared: capitals, without blanks, "/", "-"
// and leading zeros ("inv/0042 " and "INV42" are the same bill).
QString ComparableBillNumber(const QString& number);

struct PurchaseBillLine {
    qint64 purchaseSerial = 0; // the Purchase record's PSno (given by the save)
    // The stock record the line moves; none: a purchase that moves no stock.
    std::optional<StockTable> stock;
    QString itemCode;
    QString itemName;
    QString hsn;
    QString per;
    double rate = 0;
    double quantity = 0;
    Paise taxable = 0;
    double gstRate = 0; // whole rate in percent
    LineTax tax;
    Paise total() const { return taxable + tax.total(); }
};

struct PurchaseBill {
    qint64 serial = 0; // 0 for a bill saved before bills carried GST
    QString number; // the supplier's bill number, as typed
    QDate date;
    qint64 supplierSerial = 0; // 0: not from the supplier list
    QString supplierName;
    QString supplierGstin; // "" or "N.A." for an unregistered supplier
    QString supplierState;
    QString supplierAddress;
    TaxMode mode = TaxMode::None;
    bool reverseCharge = false;
    bool itcEligible = true;
    bool withTax = true; // false: a purchase saved before bills carried GST
    std::vector<PurchaseBillLine> lines;

    Paise taxable() const;
    LineTax tax() const;
    Paise total() const { return taxable() + tax().total(); }
    bool registeredSupplier() const;
    // "bill 42 of Sharma Traders"
    QString reference() const;
};

// Works out each line's tax from its taxable value and rate, the tax kind
// from the supplier's State against the company's.
void ComputePurchaseTaxes(PurchaseBill& bill, const QString& companyState, const QString& companyGstin);

// The key that makes a bill unique: financial year, supplier (GSTIN, else the
// name in capitals) and the comparable bill number.
QString PurchaseBillKey(const PurchaseBill& bill);

// Inside the caller's transaction: the header of a new bill, numbered with
// the next bill serial (written into bill.serial). Refused, with the reason in
// the result, when the supplier's bill number is already entered in the same
// financial year; "" when stored. Throws DataError.
QString StoreBillHeaderWithin(Database& db, PurchaseBill& bill);
// Inside the caller's transaction: the GST of one line of a stored bill.
void StoreBillLineWithin(Database& db, qint64 billSerial, const PurchaseBillLine& line);

// Saves the whole bill in one transaction: the header, one Purchase record
// per line (serial and code checked free), each line's stock moved through
// AdjustStock, and the lines' GST. "" when saved, else why nothing is
// (a repeated bill number, a stock item no longer there). Throws DataError
// (nothing saved).
QString StorePurchaseBill(Database& db, PurchaseBill& bill);

// The bills dated within the days (bill dates, both included), with their
// lines, in date then serial order: the GST bills and, as bills without tax,
// the purchases saved before. Throws DataError.
std::vector<PurchaseBill> LoadPurchaseBills(const Database& db, const QDate& from, const QDate& to);

} // namespace zelva
