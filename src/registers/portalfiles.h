#pragma once
// The JSON files the GST portals take for bulk upload, written from saved
// invoices (sales/invoice.h, as LoadInvoice reads them back):
//
// - the e-way bill portal's bulk generation file: version, billLists[], one
//   bill per invoice, its items, values and transport (part B);
// - the invoice registration portal's e-invoice, schema version 1.1, one
//   document per file.
//
// Both list the goods lines and then each extra charge (freight, packing)
// as an item of its own, with its HSN/SAC and its own tax, so that the items
// add up to the document's values: the taxable values to the assessable
// value (AssVal, totalValue), the item taxes to the tax values, and those
// with the rounding (RndOffAmt, otherValue) to the invoice value, to the
// paisa. Amounts are JSON numbers in rupees with at most two decimals, made
// from paise; units are the portal's codes (UQC, as in the GST return).
#include "gst/taxheads.h"
#include "platform/money.h"
#include "registers/returncheck.h"
#include "sales/invoice.h"
#include "sales/salenote.h"

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QStringList>
#include <functional>
#include <vector>

namespace zelva {

class Database;

// The document types of the e-invoice: tax invoice, credit note, debit note.
enum class DocumentKind { Invoice, CreditNote, DebitNote };
QString DocumentTypeCode(DocumentKind kind); // "INV", "CRN", "DBN"

constexpr auto EwayBillFileVersion = "1.0.0621";
constexpr auto EInvoiceSchemaVersion = "1.1";

struct PortalFile {
    QByteArray json; // empty when there are problems
    QStringList problems; // what to fix before a file can be made, one sentence each
    bool ok() const { return problems.isEmpty() && !json.isEmpty(); }
};

// The e-way bills of the invoices, each worth more than the limit, with its
// transport details. Any problem with any of them: no file.
PortalFile BuildEwayBills(const std::vector<Invoice>& invoices, Paise limit);
// The e-invoice of a document to a registered buyer, of the kind given
// (notes take the invoice's shape: their lines, charges and taxes).
PortalFile BuildEInvoice(const Invoice& document, DocumentKind kind = DocumentKind::Invoice);
// The e-invoice of a credit or debit note (CRN, DBN) under its own number
// and date: its lines as items at the invoice's goods rate (a line of value
// only as one "OTH" at its value), the seller and buyer of the invoice it
// corrects, and that invoice in RefDtls (PrecDocDtls: InvNo, InvDt).
PortalFile BuildNoteEInvoice(const SaleNote& note, const Invoice& original);

// One item of an e-invoice's ItemList or an e-way bill's itemList as the
// builders write it: a goods line, or an extra charge (unit "OTH").
struct FileItem {
    QString name;
    QString hsn;
    bool service = false;
    double quantity = 0;
    QString unitCode;
    double unitPrice = 0;
    Paise gross = 0; // quantity times price (TotAmt)
    Paise discount = 0;
    Paise taxable = 0; // AssAmt, taxableAmount
    double gstRate = 0; // the whole rate: 18 for CGST 9% + SGST 9%
    TaxHeads tax;
    Paise total() const { return taxable + tax.total(); } // TotItemVal
};

// The figures the builders above write into a document's file, whatever its
// problems: its items, and its values added up from them (ValDtls; the e-way
// bill's totalValue, tax values, otherValue and totInvValue). The Return
// Check adds up these very figures, so that the check and the file cannot
// disagree, without making the file's JSON.
struct FileFigures {
    std::vector<FileItem> items;
    Paise taxable = 0;
    TaxHeads tax;
    Paise rounding = 0;
    Paise total = 0;
    bool interState = false; // the document charges IGST
};
FileFigures EwayBillFigures(const Invoice& invoice);
FileFigures EInvoiceFigures(const Invoice& document);
FileFigures NoteEInvoiceFigures(const SaleNote& note, const Invoice& original);

// The rates of an e-way bill item: half the whole rate as CGST and as SGST
// within the State, the whole as IGST between States.
struct EwayItemRates {
    double cgst = 0;
    double sgst = 0;
    double igst = 0;
};
EwayItemRates EwayRates(const FileItem& item, bool interState);

// The same read from the files and written whole to the path (nothing
// written when there are problems, or the problem of writing it). The limit
// is the first company's (sales/companypayment.h). Throws nothing: a data
// error comes back as a problem.
// mayWrite, when given, is asked once the file is made and before it is
// written, with the invoices or notes that go into it; false leaves it
// unwritten (and the file without its json).
using MayWrite = std::function<bool(const std::vector<CheckedDocument>& documents)>;
PortalFile SaveEwayBillOfInvoice(Database& db, const QString& number, const QString& path, const MayWrite& mayWrite = {});
// Every invoice of the day worth more than the limit; a day without one is a problem.
PortalFile SaveEwayBillsOfDay(Database& db, const QDate& day, const QString& path, const MayWrite& mayWrite = {});
PortalFile SaveEInvoice(Database& db, const QString& number, const QString& path, const MayWrite& mayWrite = {});
// The same for the saved note of that number (CN00001, DN00002).
PortalFile SaveNoteEInvoice(Database& db, const QString& noteNumber, const QString& path, const MayWrite& mayWrite = {});

} // namespace zelva
