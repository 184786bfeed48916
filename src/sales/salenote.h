#pragma once
// A credit note or a debit note as a value, free of any window: what the note
// forms fill and show, what StoreSaleNote saves whole and LoadSaleNote reads
// back, what the reprint, the registers and the return start from.
//
// A saved invoice is never edited: it is corrected by a note that points at
// it. A credit note takes value (and, for a sales return, goods) back from the
// invoice; a debit note charges more. Each line of a note is against one goods
// line of its invoice and is taxed as that line was: at the invoice's goods
// rate, in its mode (IGST, or CGST plus SGST), by the invoice's own rules
// (ComputeTotals): the tax on the note's value to the paisa, shared out over
// its lines with the leftover paisa to the largest.
//
// Each kind has its own number series: "CN" or "DN" and the serial on the
// invoice's ladder (CN00001 ... CN00009, CN00010, CN000100), at most 16
// characters, never issued twice.
#include "sales/invoice.h"

#include <QDate>
#include <QStringList>
#include <vector>

namespace zelva {

enum class NoteKind { Credit, Debit };

// "Credit Note", "Debit Note": the page's title.
QString NoteTitle(NoteKind kind);
// "C", "D": as the kind is kept.
QString NoteKindCode(NoteKind kind);
// "IGST", "CGST" (CGST plus SGST) or "": the tax mode as a note keeps it, and back.
QString TaxModeCode(TaxMode mode);
TaxMode TaxModeOfCode(const QString& code);
// The number of the kind's serial n: CN00001, DN000123.
QString NoteNumber(NoteKind kind, qint64 serial);
// The longest note number the series issues.
constexpr int LongestNoteNumber = 16;

// Why a note is issued, as the reason list offers it.
const QStringList& NoteReasons();
// The reason of a sales return: the only one that brings goods back into stock.
const QString& SalesReturnReason();

// One line: what the note takes off (credit) or adds to (debit) one goods
// line of the invoice.
struct NoteLine {
    int goodsRow = 0; // the invoice's goods row, 1-7
    QString description;
    QString hsn;
    QString unit;
    double quantity = 0; // 0 for a note of value only
    Paise value = 0;     // the taxable value
    // worked out by ComputeNoteTotals: its share of the note's tax rows
    Paise firstTax = 0; // CGST, or IGST
    Paise sgst = 0;
    // the whole GST rate its invoice line was charged at (kept with the
    // invoice, not with the note); none without tax
    std::optional<double> gstRate = std::nullopt;
    Paise total() const { return value + firstTax + sgst; }
    bool operator==(const NoteLine&) const = default;
};

struct SaleNote {
    NoteKind kind = NoteKind::Credit;
    qint64 serial = 0; // within its kind
    QString number;
    QDate date;
    QString time;
    QString reason;
    QString issuedBy;
    // the invoice it corrects, and from it the buyer and the tax
    qint64 invoiceSerial = 0;
    QString invoiceNumber;
    QDate invoiceDate;
    QString buyerCode;
    InvoiceParty buyer;
    TaxMode mode = TaxMode::None;
    // the whole GST rate of every line when they share one; none without tax
    // or when the lines are at several rates (each then has its own)
    std::optional<double> rate;
    std::vector<NoteLine> lines;
    // worked out by ComputeNoteTotals
    QString taxLabel; // "CGST @ 9%", "IGST @ 18%"; "CGST" over several rates; "" without tax
    Paise taxable = 0;
    Paise firstTax = 0;
    Paise sgst = 0;
    Paise total = 0;
    QString words;
    // what the portal gave back for its e-invoice, once kept (no e-way bill)
    std::optional<InvoiceRegistration> registration;

    double gstRate() const; // the whole rate in percent (CGST and SGST together); 0 without tax or over several rates
    bool mixesRates() const; // its lines are taxed at several rates
    // The value and tax at each rate, rates rising: one entry for a note at
    // one rate, its figures the note's own.
    std::vector<RateTax> taxByRate() const;
    // A sales return with quantities: its goods come back into stock.
    bool movesStock() const;
    double quantity() const;
    bool operator==(const SaleNote&) const = default;
};

// A note against the invoice: its number, date, buyer and tax taken from it;
// no lines yet.
SaleNote NoteAgainst(NoteKind kind, const Invoice& invoice);

// Each line given the GST rate of the invoice line it corrects (a line of a
// row the invoice does not have keeps none).
void TaxAsInvoiced(SaleNote& note, const Invoice& invoice);

// The tax of each line and the note's totals and words, by the rules of the
// invoice (ComputeTotals over the same lines, each at its own rate).
void ComputeNoteTotals(SaleNote& note);

// The last day a credit note may reduce the tax of an invoice of that date:
// 30 November after the end of the invoice's financial year.
QDate LastCreditNoteDay(const QDate& invoiceDate);

} // namespace zelva
