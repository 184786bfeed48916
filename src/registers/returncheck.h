#pragma once
// The month's Return Check: every invoice, note and purchase bill of a month,
// and the GSTR-1 file made from them, checked against the GST portals' own
// rules before anything is uploaded. Each finding says how the portal takes it
// (an error: the portal refuses; a warning: accepted but asked about; a note),
// the document, the box or JSON key, what is wrong and what to do.
//
// CheckReturn works on the documents as values (ReturnDocuments), so that every
// rule is checked without a store; CheckReturnMonth reads them first. The
// findings come in the documents' order: the company, the return itself, the
// invoices, the notes, the bills, then the file.
#include "gst/gstrates.h"
#include "platform/period.h"
#include "registers/gstr1.h"
#include "registers/savednote.h"
#include "sales/invoice.h"
#include "sales/purchasebill.h"
#include "sales/salenote.h"

#include <QDate>
#include <QFlags>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

namespace zelva {

class Database;

enum class FindingKind { Error, Warning, Note };
// "Error", "Warning", "Note"
QString FindingKindText(FindingKind kind);

// The document a finding is about, so that the window can open it.
struct CheckedDocument {
    enum class Type { Company, Return, Invoice, CreditNote, DebitNote, Bill, File };
    Type type = Type::Return;
    QString number; // the invoice's or note's number, the supplier's bill number
    qint64 serial = 0; // the invoice's, the note's within its kind, the bill's
    QString party; // the buyer or supplier
    QDate date;
    // "Invoice A00012 of 07/12/2026", "Bill 42 of Sharma Traders"
    QString text() const;
    bool operator==(const CheckedDocument&) const = default;
};

// The files the program writes for the GST portals, each checked before it is
// written; as flags, the files a finding is about.
enum class PortalFileKind : unsigned { Gstr1 = 1, EInvoice = 2, EwayBill = 4 };
Q_DECLARE_FLAGS(PortalFiles, PortalFileKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(PortalFiles)

// The master record a finding is mended in, when that is what to do.
struct MendIn {
    enum class Master { None, Buyer, StockItem, Supplier };
    Master master = Master::None;
    QString record; // the buyer's code (bid), the stock item's name, the supplier's name
    bool operator==(const MendIn&) const = default;
};

struct ReturnFinding {
    FindingKind kind = FindingKind::Error;
    CheckedDocument document;
    // The files whose content the finding is about: the purchase bills' in none,
    // a gap in a series in the return only, a PIN in the e-invoice and e-way bill.
    PortalFiles files;
    QString key; // the box or the JSON key: "Buyer's GSTIN (ctin)"
    QString problem; // what is wrong
    QString action; // what to do
    MendIn mendIn; // none: the document itself is opened
};

// The GSTR-3B worksheet's outward supplies, table 3.1: (a) taxable, (c) nil rated.
struct OutwardTable {
    Paise taxable = 0;
    TaxHeads tax;
    Paise nilRated = 0;
};

// What a month's check looks at.
struct ReturnDocuments {
    Period month;
    QDate today; // the day of the check
    std::optional<CompanyGst> company;
    std::optional<bool> aboveFiveCrore; // the company's turnover band; none while not set
    GstRateTable rates;
    // The saved invoices: a note's invoice must be among them, the financial
    // year's up to the month's end carry each number once and leave no gap in
    // a series; the month's are checked in full.
    std::vector<Invoice> invoices;
    std::vector<SavedNote> notes; // the financial year's up to the month's end
    std::vector<PurchaseBill> bills; // the month's
    // The GSTR-1 file of the month as it would be written, before it is made
    // text (its sums are checked); none when it was not made.
    std::optional<QJsonObject> gstr1;
    QString gstr1Error; // why the file cannot be made; "" when it can
    std::vector<B2csRowNotes> b2csNotes; // of the file: the notes netted into its b2cs rows
    // The GSTR-3B worksheet's table 3.1 of the month as the worksheet shows
    // it (the file's outward supplies must come to it); none when not made.
    std::optional<OutwardTable> gstr3b;
    // The month's notes on invoices to registered buyers, as their e-invoices
    // are made from them (each invoice's and e-way bill's from invoices).
    std::vector<SaleNote> saleNotes;
    // Why the data cannot be changed ("Database/Invoice.db: the file is
    // read-only ..."); "" when it can. The check reads it all the same.
    QString readOnly;
};

std::vector<ReturnFinding> CheckReturn(const ReturnDocuments& documents);

// Reads the month's documents (today as the day of the check). Throws DataError.
ReturnDocuments LoadReturnDocuments(Database& db, const Period& month, const QDate& today);
// LoadReturnDocuments then CheckReturn. Throws DataError.
std::vector<ReturnFinding> CheckReturnMonth(Database& db, const Period& month, const QDate& today);

// The document of an invoice or note as the check names it.
CheckedDocument CheckedInvoice(const Invoice& invoice);
CheckedDocument CheckedSaleNote(const SaleNote& note);

// Of a month's findings, those about what goes into the file: for the GSTR-1
// file every one about it (the documents not named); for an e-invoice or
// e-way bill those about it of the company and of the documents that go in.
std::vector<ReturnFinding> FindingsForFile(const std::vector<ReturnFinding>& findings, PortalFileKind file,
    const std::vector<CheckedDocument>& documents = {});
// The findings about the e-invoice or e-way bill file of the documents (the
// invoices or notes that go into it), the months of their dates checked (today
// as the day of the check). Throws DataError.
std::vector<ReturnFinding> CheckInvoiceFile(
    Database& db, PortalFileKind file, const std::vector<CheckedDocument>& documents, const QDate& today);

bool HasErrors(const std::vector<ReturnFinding>& findings);
// "3 errors, 1 warning, 2 notes"
QString FindingCounts(const std::vector<ReturnFinding>& findings);
// One line a finding: "Error | Invoice A00012 of 07/12/2026 | ctin | ... | ..."
QString FindingLine(const ReturnFinding& finding);
QStringList FindingCaptions(); // Kind, Document, Box or key, Problem, What to do
QString FindingsCsv(const std::vector<ReturnFinding>& findings);

// The month an "MMYYYY" text names ("122026"); none for anything else.
std::optional<Period> ReadReturnMonth(const QString& text);

// Whether the PIN's first three digits lie within the ranges of the State's
// post offices (true for a State the ranges do not know).
bool PinWithinState(const QString& pin, const QString& stateCode);

} // namespace zelva
