#pragma once
// The sales register of a period, the yearly summary of a financial year and
// the HSN-wise summary, computed from the saved invoices (see savedinvoice.h
// for how each figure is read), with their CSV texts. No window: the report
// windows show these rows.
#include "registers/savednote.h"

#include <vector>

namespace zelva {

class Database;

// What a set of invoices adds up to: a cancelled invoice is counted apart
// and adds no value.
struct SalesFigures {
    int invoices = 0; // not cancelled
    int cancelled = 0;
    Paise taxable = 0;
    TaxHeads tax;
    Paise total = 0;
    int notes = 0; // credit and debit notes, their figures signed
    void add(const SavedInvoice& invoice);
    void add(const SavedNote& note);
};

struct RegisterLine {
    qint64 serial = 0;
    QString number;
    QString dateText; // as the invoice shows it
    QDate date;
    QString buyer;
    QString buyerGstin; // "" for an unregistered buyer
    QString placeOfSupply; // "33-Tamil Nadu"; the State as typed when unknown
    SalesFigures figures; // of this invoice alone (invoices 1, or cancelled 1 and no value)
    bool cancelled = false;
    QString remark; // a note's kind and invoice: "Credit Note on A00003"
};

struct SalesRegister {
    Period period;
    std::vector<RegisterLine> lines; // in serial order
    SalesFigures totals;
};

SalesRegister BuildSalesRegister(const Period& period, const std::vector<SavedInvoice>& invoices);
// The notes dated in the register's period, after its invoices: a credit
// note's figures negative, a debit note's positive, the totals net of them.
void AddNotes(SalesRegister& salesRegister, const std::vector<SavedNote>& notes);
// Throws DataError.
SalesRegister LoadSalesRegister(const Database& db, const Period& period);
QString SalesRegisterCsv(const SalesRegister& salesRegister);
// "12 invoices", and ", 1 cancelled" and ", 2 notes" when some are.
QString InvoiceCountText(const SalesFigures& figures);

struct MonthFigures {
    Period month;
    SalesFigures figures;
};

struct YearlySummary {
    int startYear = 0;
    std::array<MonthFigures, 12> months; // April to March
    SalesFigures totals;
};

YearlySummary BuildYearlySummary(int startYear, const std::vector<SavedInvoice>& invoices);
// The same net of the notes, each in the month it is dated.
YearlySummary BuildYearlySummary(
    int startYear, const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes);
// Throws DataError.
YearlySummary LoadYearlySummary(const Database& db, int startYear);
QString YearlySummaryCsv(const YearlySummary& summary);

// One HSN/SAC code at one rate in one unit. The goods tax of an invoice is
// charged on its goods total, so it is shared out over the goods lines by
// their amounts, to the paisa, adding up to the tax the invoice shows. An
// extra charge is a line of its own under its HSN/SAC (services have no
// quantity).
struct HsnLine {
    QString hsn; // "" when the invoice gives none
    QString description;
    QString unit; // as the first line of the group gives it
    QString uqc; // the portal's unit code
    double quantity = 0;
    double rate = 0;
    Paise taxable = 0;
    TaxHeads tax;
};

// Ordered by HSN/SAC, then rate, then unit code; cancelled invoices left out.
std::vector<HsnLine> BuildHsnSummary(const std::vector<SavedInvoice>& invoices);
// The same net of the notes: each note line under its invoice line's HSN,
// unit and rate, a credit note's quantity, value and taxes taken off, a debit
// note's added.
std::vector<HsnLine> BuildHsnSummary(const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes);
// Throws DataError.
std::vector<HsnLine> LoadHsnSummary(const Database& db, const Period& period);
QString HsnSummaryCsv(const std::vector<HsnLine>& lines);

} // namespace zelva
