#pragma once
// The GST rates as dated data: each whole rate (CGST and SGST each half of it)
// with the day it applies from and, once it has ended, its last day. A rate
// is a value, never a list position: a document keeps the rate of each line
// as a number, and the forms offer the rates in force on the document's date.
//
// The program ships the rates as the law stands (ShippedGstRates); the store
// keeps a copy that a later notified change is added to without a new
// program. Only the rates the GST portal accepts can be entered at all.
#include <QDate>
#include <QString>
#include <vector>

namespace zelva {

struct GstRate {
    double percent = 0; // the whole rate: 18 for CGST 9% + SGST 9%
    QDate from;         // the first day it applies
    QDate to;           // the last day; invalid while it is still in force
    // A special rate (3% on gold, 0.25% on rough stones...) is offered on
    // any date it is in force, but only for the items that carry it.
    bool special = false;
    QString note; // what it is for, as the rates window shows it

    bool inForceOn(const QDate& day) const;
    bool operator==(const GstRate&) const = default;
};

using GstRateTable = std::vector<GstRate>;

// The rates as the law stood up to 21 September 2025 (0, 5, 12, 18, 28), as it
// stands from 22 September 2025 (0, 5, 18, 40), 12 and 28 for the notified
// tobacco goods up to 31 January 2026, and the special rates.
const GstRateTable& ShippedGstRates();

// The rates the portal's files accept: 0, 0.1, 0.25, 1, 1.5, 3, 5, 6, 7.5,
// 12, 18, 28 and 40. A rate typed outside these (7, 13) is refused.
bool PortalAcceptsRate(double percent);
const std::vector<double>& PortalRates();

// The distinct rates in force on a day, rising; with the special ones only
// when asked (an item that carries one, a rate typed by hand).
std::vector<double> RatesInForce(const GstRateTable& table, const QDate& day, bool withSpecial = false);

// Whether that rate is in force on that day (special rates included).
bool RateInForce(const GstRateTable& table, double percent, const QDate& day);

// Two rates are the same when they agree to a hundredth of a percent.
bool SameRate(double a, double b);

// The digits an HSN code needs on a tax invoice: at least 4 for a company
// whose turnover of the previous year was up to Rs 5 crore, at least 6 above.
int HsnDigitsNeeded(bool aboveFiveCrore);
// Why the HSN code is too short for the turnover ("" when it is long enough,
// or when none is given: blank or "N.A.").
QString HsnLengthProblem(const QString& hsn, bool aboveFiveCrore);

} // namespace zelva
