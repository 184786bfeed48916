#pragma once
// The GSTR-2B file the shop downloads from the GST portal for a month (JSON),
// read and matched with the month's purchase bills. No window, nothing stored.
//
// The file is taken only when it is a GSTR-2B file (data.docdata with its
// b2b suppliers, data.gstin, data.rtnprd) of the company's GSTIN and of the
// month asked for; otherwise it is refused with the reason, and nothing of
// it is kept. Its b2b invoices (inv[]) and credit and debit notes (cdnr,
// nt[]) are read with their items' taxable values and taxes added up.
//
// Matching: an invoice and a bill belong together when the supplier's GSTIN
// and the bill number agree (numbers compared as ComparableBillNumber does),
// the same date preferred when several bills qualify; a credit or debit note
// and a supplier's note of the books likewise, of the same kind. Together
// they are matched, or matched with differences when the taxable value or any
// tax is off by more than one rupee or the dates differ. A document without
// its bill or note is in 2B only (the shop has not entered it); a bill or
// note of a registered supplier without a document is in the books only (its
// credit is at risk).
#include "sales/purchasebill.h"
#include "sales/suppliernote.h"

#include <QByteArray>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelva {

class Database;

struct PortalDocument {
    QString kind; // "Invoice", "Credit note", "Debit note"
    bool invoice = true; // false: a credit or debit note
    bool debitNote = false;
    QString gstin; // the supplier's
    QString tradeName;
    QString number;
    QDate date;
    Paise value = 0;
    Paise taxable = 0;
    TaxHeads tax; // cess in it
    QString placeOfSupply; // the State code
    bool reverseCharge = false;
    bool itcAvailable = true;
};

struct Gstr2bFile {
    QString refusal; // why the file is not taken; "" when it is
    std::vector<PortalDocument> documents;
    bool ok() const { return refusal.isEmpty(); }
};

// Reads the file's text; companyGstin as stored (normalized here).
Gstr2bFile ReadGstr2b(const QByteArray& json, const QString& companyGstin, int year, int month);

enum class MatchKind { Matched, Differences, PortalOnly, BooksOnly };

struct MatchLine {
    MatchKind kind = MatchKind::Matched;
    std::optional<PortalDocument> portal;
    std::optional<PurchaseBill> books;
    std::optional<SupplierNote> note; // the books' side of a credit or debit note
    QStringList differences; // "Taxable value 1000.00 in 2B, 1005.00 in the books"
};

struct Gstr2bMatching {
    std::vector<MatchLine> lines; // matched, with differences, 2B only, books only; each in file or bill order
    int count(MatchKind kind) const;
};

// More than one rupee apart: a difference.
constexpr Paise MatchTolerance = 100;

Gstr2bMatching MatchGstr2b(const std::vector<PortalDocument>& documents, const std::vector<PurchaseBill>& bills,
                           const std::vector<SupplierNote>& notes = {});
// The month's bills and supplier's notes from the files. Throws DataError.
Gstr2bMatching LoadGstr2bMatching(const Database& db, int year, int month,
                                  const std::vector<PortalDocument>& documents);

QString MatchKindText(MatchKind kind);
QStringList Gstr2bCaptions();
QStringList Gstr2bCells(const MatchLine& line);
QString Gstr2bCsv(const Gstr2bMatching& matching);

} // namespace zelva
