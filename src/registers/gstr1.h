#pragma once
// The return of outward supplies (GSTR-1) of one month as the JSON file the
// GST portal's offline tool takes: gstin, fp (MMYYYY), b2b, b2cl, b2cs, hsn and
// doc_issue. Amounts are numbers in rupees to two decimals, summed from the
// saved invoices in paise (see savedinvoice.h for what each figure is).
//
// - b2b: each buyer with a GSTIN, their invoices with the items grouped by rate.
// - b2cl: an inter-State invoice to a buyer without GSTIN whose value is above
//   the large-invoice limit of its date (LargeInvoiceLimit).
// - b2cs: every other invoice to a buyer without GSTIN, added up by supply
//   kind, place of supply and rate.
// - Each item and b2cs entry carries the taxes of its supply kind: iamt for an
//   inter-State supply, camt and samt for an intra-State one; csamt (cess) is 0.
// - hsn: the goods and charges by HSN/SAC code, rate and unit; from the return
//   of May 2025 on in two lists, supplies to registered buyers (hsn_b2b) and
//   the others (hsn_b2c), before it in one (data); descriptions cut to the 30
//   characters the portal takes.
// - cdnr, cdnur: the month's credit and debit notes to registered buyers, and
//   those on large inter-State invoices (as b2cl) to buyers without GSTIN;
//   notes on the other invoices to buyers without GSTIN are netted into b2cs.
//   The HSN summary is net of the notes; doc_issue counts the invoices (1),
//   the debit notes (4) and the credit notes (5).
// - The place of supply is the buyer's State, else the State code of the
//   buyer's GSTIN, else (tax charged as CGST and SGST) the company's State.
#include "registers/savednote.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

namespace zelva {

class Database;

// The invoice value above which an inter-State invoice to a buyer without
// GSTIN is reported on its own (b2cl): Rs 1,00,000 for invoices from
// 1 August 2024, Rs 2,50,000 before.
Paise LargeInvoiceLimit(const QDate& invoiceDate);

// The notes netted into one b2cs row (its sply_ty, pos and rt), so that a
// row the notes take below nothing can name them.
struct B2csRowNotes {
    QString supplyType; // "INTER", "INTRA"
    QString pos;
    double rate = 0;
    QStringList notes; // their numbers, in the order they were saved
};

struct Gstr1File {
    QByteArray json; // empty when there is an error (and from BuildGstr1Document)
    QJsonObject document; // the file before it is made text; empty when there is an error
    QString error; // why no file can be made; "" when it can
    QStringList warnings; // what the operator should look at before filing
    std::vector<B2csRowNotes> b2csNotes; // the rows with notes in them
    bool ok() const { return error.isEmpty(); }
};

// The return of the month from the company and that month's invoices.
Gstr1File BuildGstr1(const std::optional<CompanyGst>& company, int year, int month,
    const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes = {});
// The same without making the file text (json empty): what the Return Check
// adds up, the very document BuildGstr1 writes.
Gstr1File BuildGstr1Document(const std::optional<CompanyGst>& company, int year, int month,
    const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes = {});
// The same read from the files. Throws DataError.
Gstr1File LoadGstr1(const Database& db, int year, int month);
// Builds the month's return and writes it to the path, whole or not at all.
// Returns the file's warnings, and its error (nothing written) in error.
Gstr1File SaveGstr1(const Database& db, int year, int month, const QString& path);

} // namespace zelva
