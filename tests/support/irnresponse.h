#pragma once
// The invoice registration portal's response to an e-invoice, as the portal
// writes it: the document's details inside the signed QR code's token.
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace testing {

// A response as the portal signs it: the document's details in the token's payload.
inline QByteArray IrnResponseJson(const QString& docNo, const QString& docDate, const QString& sellerGstin, const QString& ackDate,
                    const QString& irn = QString(64, 'a'))
{
    const QJsonObject data{{"SellerGstin", sellerGstin}, {"BuyerGstin", "29BBBBB1111B1ZX"}, {"DocNo", docNo},
                           {"DocTyp", "INV"},          {"DocDt", docDate},    {"TotInvVal", 83780},
                           {"ItemCnt", 2},             {"MainHsnCode", "7214"}, {"Irn", irn},
                           {"IrnDt", ackDate}};
    const QJsonObject claims{{"data", QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact))},
                             {"iss", "NIC"}};
    const auto part = [](const QByteArray& bytes) {
        return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    const QByteArray token = part(R"({"alg":"RS256","typ":"JWT"})") + "." +
                             part(QJsonDocument(claims).toJson(QJsonDocument::Compact)) + "." + part("signature-bytes");
    const QJsonObject body{{"AckNo", 112610012345678.0}, {"AckDt", ackDate},           {"Irn", irn},
                           {"SignedInvoice", "x.y.z"},   {"SignedQRCode", QString::fromLatin1(token)},
                           {"Status", "ACT"},            {"EwbNo", 391001234567.0},      {"EwbDt", ackDate},
                           {"EwbValidTill", "2026-12-09 23:59:00"}};
    return QJsonDocument(body).toJson();
}

} // namespace testing
