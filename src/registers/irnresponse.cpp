#include "registers/irnresponse.h"

#include "data/dataerror.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "sales/invoiceextras.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelva {

namespace {

QString textOf(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isDouble())
        return QString::number(qint64(value.toDouble()));
    return value.toString().trimmed();
}

// The payload of a signed token (header.payload.signature, base64url); its
// "data" is the document's details, itself JSON text or an object.
QJsonObject tokenData(const QString& token)
{
    const QStringList parts = token.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return {};
    const QByteArray payload = QByteArray::fromBase64(parts[1].toLatin1(), QByteArray::Base64UrlEncoding);
    const QJsonObject claims = QJsonDocument::fromJson(payload).object();
    const QJsonValue data = claims.value(QStringLiteral("data"));
    return data.isObject() ? data.toObject() : QJsonDocument::fromJson(data.toString().toUtf8()).object();
}

QJsonObject responseObject(const QJsonDocument& document)
{
    QJsonObject object = document.isArray() && document.array().size() == 1 ? document.array().first().toObject()
                                                                              : document.object();
    for (const char* wrapper : {"Data", "data"})
        if (object.value(QLatin1String(wrapper)).isObject())
            object = object.value(QLatin1String(wrapper)).toObject();
    return object;
}

} // namespace

std::optional<IrnResponse> ReadIrnResponse(const QByteArray& json, QString& error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (document.isNull()) {
        error = QStringLiteral("The file is not JSON (%1).").arg(parse.errorString());
        return std::nullopt;
    }
    const QJsonObject object = responseObject(document);
    IrnResponse response;
    InvoiceRegistration& r = response.registration;
    r.irn = textOf(object, "Irn");
    r.ackNo = textOf(object, "AckNo");
    r.ackDate = textOf(object, "AckDt");
    r.signedQrCode = textOf(object, "SignedQRCode");
    r.ewbNo = textOf(object, "EwbNo");
    r.ewbDate = textOf(object, "EwbDt");
    r.ewbValidTill = textOf(object, "EwbValidTill");
    if (r.irn.isEmpty() || r.ackNo.isEmpty() || r.signedQrCode.isEmpty() || !AckTime(r.ackDate).isValid()) {
        error = QStringLiteral("The file is no response of the invoice registration portal: it needs Irn, AckNo, "
                               "AckDt and SignedQRCode.");
        return std::nullopt;
    }
    const QJsonObject data = tokenData(r.signedQrCode);
    response.docNo = textOf(data, "DocNo");
    response.docDate = ReadDateText(textOf(data, "DocDt"));
    response.sellerGstin = textOf(data, "SellerGstin");
    if (response.docNo.isEmpty() || !response.docDate.isValid() || textOf(data, "Irn") != r.irn) {
        error = QStringLiteral("The signed QR code of the response does not name its invoice, the invoice's date "
                               "(dd/mm/yyyy) and IRN.");
        return std::nullopt;
    }
    return response;
}

IrnImport ImportIrnResponse(Database& db, const QByteArray& json)
{
    IrnImport outcome;
    const std::optional<IrnResponse> response = ReadIrnResponse(json, outcome.error);
    if (!response)
        return outcome;
    try {
        // an invoice, else a credit or debit note (their numbers never meet), with its invoice's seller
        const std::optional<Invoice> invoice = LoadInvoice(db, response->docNo);
        const std::optional<SaleNote> note = invoice ? std::nullopt : LoadSaleNote(db, response->docNo);
        const std::optional<Invoice> noted = note ? LoadInvoice(db, note->invoiceNumber) : std::nullopt;
        if (!invoice && !noted) {
            outcome.error = QStringLiteral("The response is for invoice %1, which is not saved here.").arg(response->docNo);
            return outcome;
        }
        const QString number = invoice ? invoice->number : note->number;
        const QDate date = invoice ? invoice->date : note->date;
        const QString sellerGstin = (invoice ? invoice : noted)->seller.gstin;
        QStringList differences;
        if (!date.isValid() || response->docDate != date)
            differences << QStringLiteral("dated %1, not %2").arg(DateText(response->docDate), DateText(date));
        if (NormalizedGstin(response->sellerGstin) != NormalizedGstin(sellerGstin))
            differences << QStringLiteral("issued by GSTIN %1, not %2").arg(response->sellerGstin, sellerGstin);
        if (!differences.isEmpty()) {
            outcome.error = QStringLiteral("The response does not belong to %1 %2 here: it is for a document %3. "
                                           "Nothing was kept.")
                                .arg(invoice ? QStringLiteral("invoice") : QStringLiteral("note"), number,
                                     differences.join(QStringLiteral(" and ")));
            return outcome;
        }
        outcome.error = invoice ? StoreRegistration(db, number, response->registration)
                                : StoreNoteRegistration(db, number, response->registration);
        if (outcome.error.isEmpty()) {
            outcome.invoiceNo = number;
            outcome.forNote = !invoice;
        }
    } catch (const DataError& error) {
        outcome.error = error.message();
    }
    return outcome;
}

} // namespace zelva
