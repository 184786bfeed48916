#pragma once
// A supplier's bill as a value: the supplier, the supplier's bill number and
// date, reverse charge and whether its tax may be taken as input tax credit,
// and its lines. Each line is one Purchase record (one stock movement, made
// through AdjustStock as every purchase is) with its taxable value, GST rate
// and tax. The GST of a bill lives beside the Purchase records, in
// PurchaseBill (the header) and PurchaseBillLine (one per Purchase record).
//
// - The tax kind follows the supplier's State against the company's: IGST
//   from another State, CGST plus SGST from the company's own (a registered
//   party's State being its GSTIN's State code, whatever State is typed).
// - Each line's tax is worked out to the paisa as on our own invoices
//   (TaxAtRate).
// - A supplier without a GSTIN cannot charge GST: its bill carries no tax
//   and no credit, unless it is under reverse charge, where the shop pays the
//   tax (3B 3.1(d)) and takes the credit (4(A)(3)).
// - A bill number is entered once per supplier and financial year, numbers
//   compared as ComparableBillNumber says.
// - Purchases saved before bills carried GST read as bills without tax: the
//   Purchase records of one supplier, bill number and bill date make one
//   bill, each line's taxable value its quantity times its rate.
#include "data/stockchange.h"
#include "gst/gstrates.h"
#include "gst/taxheads.h"
#include "platform/money.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

// IGST when the supplier is of another State than the company, else CGST;
// None when either State is unknown. A party's State is its GSTIN's State
// code when it has a GSTIN (where it is registered), else its State typed.
TaxMode PurchaseTaxMode(const QString& supplierState, const QString& supplierGstin, const QString& companyState,
                        const QString& companyGstin);

// A bill number as the duplicate check and the GSTR-2B matching compare it:
// letter case, blanks, "/" and "-" ignored, and the leading zeros of each run
// of digits; a separator between two runs of digits stays a boundary, so that
// "INV/0042" is "inv-42" and "INV42", while "1/05" and "10/5" stay apart.
QString ComparableBillNumber(const QString& number);

// What may be taken of a bill's tax as input tax credit, as GSTR-3B table 4
// asks it. Bills saved with the older "ITC eligible" flag read as Eligible
// (ticked) or Blocked (not ticked).
enum class CreditKind {
    Eligible, // in 4(A)
    Blocked, // section 17(5): in 4(A), reversed in 4(B)(1)
    Reclaimable, // reversed for now (rule 37, unpaid after 180 days): in 4(A), reversed in 4(B)(2)
    Ineligible, // section 16(4) time bar or the place-of-supply rule: not in 4(A), shown in 4(D)(2)
};
// The kinds in the order the purchase form offers them, and their texts.
const std::vector<CreditKind>& CreditKinds();
QString CreditKindText(CreditKind kind);

struct PurchaseBillLine {
    qint64 purchaseSerial = 0; // the Purchase record's PSno (given by the save)
    // The stock record the line moves; none: a purchase that moves no stock.
    std::optional<StockTable> stock;
    QString itemCode;
    QString itemName;
    QString hsn;
    QString per;
    QString remarks;
    double rate = 0;
    double quantity = 0;
    // The stock record takes the line's name, HSN, rate, unit and remarks, as
    // the purchase form corrects them (its quantity only moves).
    bool updatesItem = false;
    Paise taxable = 0;
    double gstRate = 0; // whole rate in percent
    TaxHeads tax;
    Paise total() const { return taxable + tax.total(); }
};

struct PurchaseBill {
    qint64 serial = 0; // given by the save; 0 for a bill without tax
    QString number; // the supplier's bill number, as typed
    QDate date;
    qint64 supplierSerial = 0; // 0: not from the supplier list
    QString supplierName;
    QString supplierGstin; // "" or "N.A." for an unregistered supplier
    QString supplierState;
    QString supplierAddress;
    QString orderNumber; // the shop's purchase order, "" when none
    QDate orderDate; // the purchase's own date; invalid: the bill's date
    TaxMode mode = TaxMode::None;
    bool reverseCharge = false;
    CreditKind credit = CreditKind::Eligible;
    bool withTax = true; // false: a purchase without GST, as purchases were saved before bills carried it
    std::vector<PurchaseBillLine> lines;

    Paise taxable() const;
    TaxHeads tax() const;
    Paise total() const { return taxable() + tax().total(); }
    bool registeredSupplier() const;
    // "bill 42 of Sharma Traders"
    QString reference() const;
};

// Works out each line's tax from its taxable value and rate, the tax kind
// from the supplier's State against the company's; no tax on the bill of an
// unregistered supplier that is not under reverse charge.
void ComputePurchaseTaxes(PurchaseBill& bill, const QString& companyState, const QString& companyGstin);
// Each line's tax at the bill's tax kind as it stands.
void ComputeLineTaxes(PurchaseBill& bill);
// Whether the bill may carry GST at all: a registered supplier's, or any
// under reverse charge.
bool BillCarriesGst(const PurchaseBill& bill);

// Why the bill cannot be saved, naming the box, "" when it can: no bill
// number, no lines, and on a bill with GST a line whose taxable value is not
// above zero, a rate the portal does not take or not in force on the bill's
// date, or any rate above 0 % on the bill of an unregistered supplier that is
// not under reverse charge. The rates in force are those of the store's
// table (LoadGstRates), the shipped ones unless told.
QString PurchaseBillRefusal(const PurchaseBill& bill, const GstRateTable& rates = ShippedGstRates());

// The key that makes a bill unique: financial year, supplier (GSTIN, else the
// name in capitals) and the comparable bill number.
QString PurchaseBillKey(const PurchaseBill& bill);

struct PurchaseSave {
    bool addSupplier = false; // the bill's supplier joins the supplier list
    bool toStoredBill = false; // the lines join the stored bill bill.serial
};

// Saves the bill whole in one transaction, whoever calls it: when asked, the
// supplier added to the supplier list (the bill then names it); the header of
// a new bill (numbered with the next bill serial, written into bill.serial),
// or, when asked, the lines added to the stored bill bill.serial; one
// Purchase record per line (its purchaseSerial, when given, taken if still
// free, else the next free one, written back); each line's stock moved
// through AdjustStock (and its details rewritten when updatesItem); and the
// lines' GST. A bill without tax (withTax false) is stored as purchases
// were before bills carried GST, Purchase records alone. "" when saved, else
// why nothing is: PurchaseBillRefusal, the same bill number already entered,
// a stock item no longer there. Throws DataError (nothing saved).
QString StorePurchaseBill(Database& db, PurchaseBill& bill, PurchaseSave how = {});

// A supplier of the supplier list.
struct ListedSupplier {
    qint64 serial = 0;
    QString name, gstin, address, state;
};
// The supplier list in serial order, without its placeholder. Throws DataError.
std::vector<ListedSupplier> LoadSupplierList(const Database& db);

// A stored GST bill with its lines; nullopt when there is none of that
// serial. Throws DataError.
std::optional<PurchaseBill> LoadPurchaseBill(const Database& db, qint64 serial);
// The GST bills dated from that day on, newest first. Throws DataError.
std::vector<PurchaseBill> LoadGstBillsFrom(const Database& db, const QDate& from);

// The bills dated within the days (bill dates, both included), with their
// lines, in date then serial order: the GST bills and, as bills without tax,
// the purchases saved before. Throws DataError.
std::vector<PurchaseBill> LoadPurchaseBills(const Database& db, const QDate& from, const QDate& to);

} // namespace zelva
