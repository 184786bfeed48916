#pragma once
// The one tax value every document, register, return and portal file adds up:
// IGST, CGST, SGST and cess in paise. Cess stays 0 since 22 September 2025 but
// keeps its place, since the portal files still carry the key.
#include "gst/gsttax.h"
#include "platform/money.h"

#include <QString>
#include <vector>

namespace zelva {

struct TaxHeads {
    Paise igst = 0;
    Paise cgst = 0;
    Paise sgst = 0;
    Paise cess = 0;

    Paise total() const { return igst + cgst + sgst + cess; }
    bool isZero() const { return igst == 0 && cgst == 0 && sgst == 0 && cess == 0; }
    TaxHeads& operator+=(const TaxHeads& other);
    TaxHeads& operator-=(const TaxHeads& other);
    TaxHeads operator-() const { return {-igst, -cgst, -sgst, -cess}; }
    friend TaxHeads operator+(TaxHeads a, const TaxHeads& b) { return a += b; }
    friend TaxHeads operator-(TaxHeads a, const TaxHeads& b) { return a -= b; }
    bool operator==(const TaxHeads&) const = default;
};

// The tax of a taxable value at a whole GST rate (18 for CGST 9% + SGST 9%),
// each head to the paisa: IGST at the rate, or CGST and SGST each at half of
// it (the one place that halves a rate). Nothing for TaxMode::None.
TaxHeads TaxAtRate(Paise taxable, double gstRate, TaxMode mode);

// Half a whole GST rate: what CGST and SGST are each charged at.
double HalfRate(double gstRate);

// The rate a tax row shows, that of its own head: the whole rate for IGST,
// half of it for CGST and SGST; and back, the whole rate of such a row.
double HeadRate(double gstRate, TaxMode mode);
double WholeRate(double headRate, TaxMode mode);

// A tax row's label for a whole rate: "IGST @ 18%", "CGST @ 9%", or with
// sgstRow "SGST @ 9%". "" for TaxMode::None.
QString TaxRowLabel(TaxMode mode, double gstRate, bool sgstRow = false);

// Each value's share of the tax rows charged on them at one whole rate: each
// head's share the value times the head's rate to the paisa, the paise left
// over by that rounding given to the largest value (SplitPaise), so that the
// shares add up to each row exactly. The one split of a tax row over lines:
// the page, the stored invoice, the HSN summary, the e-files and the notes.
std::vector<TaxHeads> ShareTaxRows(const std::vector<Paise>& values, double gstRate, const TaxHeads& rows);

} // namespace zelva
