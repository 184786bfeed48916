#pragma once
// The invoice registration portal's response to an e-invoice: AckNo, AckDt,
// Irn, SignedQRCode and, when an e-way bill was made with it, EwbNo, EwbDt and
// EwbValidTill. The signed QR code is a signed token whose payload names the
// document it was made for (SellerGstin, DocNo, DocDt, Irn); that is how a
// response is matched to its saved invoice or credit or debit note: the
// number, the date and the seller's GSTIN (a note's: its invoice's) must all
// be the document's.
#include "sales/transport.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace zelva {

class Database;

struct IrnResponse {
    InvoiceRegistration registration;
    // the document it was made for
    QString docNo;
    QDate docDate; // invalid when the response's DocDt names no day
    QString sellerGstin;
};

// Reads one response (a JSON object, also inside a list of one, or under
// "Data"/"data"); nothing, and why not in error, when it is no response.
std::optional<IrnResponse> ReadIrnResponse(const QByteArray& json, QString& error);

struct IrnImport {
    QString invoiceNo; // the invoice (or note) it was kept for
    bool forNote = false; // kept with a credit or debit note
    QString error; // why it was refused; "" when kept
};
// Reads the response and keeps it with its invoice or note when it belongs to it.
// Throws nothing: a data error is a refusal.
IrnImport ImportIrnResponse(Database& db, const QByteArray& json);

} // namespace zelva
