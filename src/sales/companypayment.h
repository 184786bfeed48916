#pragma once
// What a company keeps besides its record in Company, in CompanyPayment under
// the company's serial: the UPI ID its buyers pay to (the pay QR on the
// printed invoice) and the invoice value from which goods need an e-way bill.
#include "platform/money.h"

#include <QString>
#include <optional>

namespace zelva {

class Database;

// Goods worth more than Rs. 50,000 in one consignment travel with an e-way bill.
constexpr Paise DefaultEwayBillLimit = 50000 * 100;

struct CompanyPayment {
    QString upiId; // "" when the company takes no UPI payment
    Paise ewayBillLimit = DefaultEwayBillLimit;
    bool operator==(const CompanyPayment&) const = default;
};

// A UPI ID (virtual payment address): a name of letters, digits, dots,
// hyphens or underscores, "@", and the bank's handle of letters and digits
// ("shop.name@okbank").
bool IsUpiId(const QString& typed);

// What the pay QR encodes: upi://pay?pa=<id>&pn=<name>&am=<amount>&cu=INR&tn=<invoice number>,
// each value URL-encoded, the amount in rupees with two decimals.
QString UpiPayText(const QString& upiId, const QString& payeeName, Paise amount, const QString& invoiceNumber);
// The same with any note (tn), and without an amount (the payer types it) when none is given.
QString UpiRequestText(const QString& upiId, const QString& payeeName, std::optional<Paise> amount, const QString& note);

// The company's, by its serial; the defaults when it keeps none. Throws DataError.
CompanyPayment LoadCompanyPayment(Database& db, qint64 companySerial);
// The first company's (the seller the invoices are issued by). Throws DataError.
CompanyPayment LoadFirstCompanyPayment(Database& db);
// The first company's name, as the pay QR names the payee; "" when none is kept. Throws DataError.
QString FirstCompanyName(Database& db);
// Inside the caller's open transaction (the company's own save). Throws DataError.
void StoreCompanyPaymentWithin(Database& db, qint64 companySerial, const CompanyPayment& payment);

} // namespace zelva
