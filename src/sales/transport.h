#pragma once
// Facts kept beside a saved invoice in tables of their own (keyed by the
// invoice's serial): how its goods travel, for the e-way bill, and what the
// invoice registration portal gave back when the invoice was registered.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace zelva {

// The e-way bill's part B: how the goods travel.
struct InvoiceTransport {
    QString mode; // one of TransportModes()
    int distanceKm = 0;
    QString vehicleNo; // "KA01AB1234", as NormalVehicleNumber gives it
    QString transporterId; // the transporter's GSTIN or enrolment id
    QString transporterName;
    QString docNo; // the lorry receipt, railway receipt, airway bill or bill of lading
    QDate docDate; // none when not given
    bool operator==(const InvoiceTransport&) const = default;
};

// "Road", "Rail", "Air", "Ship": the portals' modes 1 to 4.
const QStringList& TransportModes();
// The portals' code of a mode (1-4); 0 for none.
int TransportModeCode(const QString& mode);
// The longest a trip may be on one e-way bill.
constexpr int LongestTripKm = 4000;

// A typed vehicle number in capitals without blanks, dashes or dots ("ka-01 ab 1234" -> "KA01AB1234").
QString NormalVehicleNumber(const QString& typed);
// An Indian registration number: State letters, district digits, up to three
// series letters and four digits ("KA01AB1234", "DL1CAB1234", "MH12A0001"),
// or the Bharat series ("22BH1234AA"); after NormalVehicleNumber.
bool IsVehicleNumber(const QString& typed);

// What is wrong with details as typed (a mode not chosen, a distance beyond
// a trip, a vehicle number, date or transporter id of the wrong form), one
// sentence each; the invoice is saved only without these.
QStringList TransportEntryProblems(const InvoiceTransport& transport);
// What is missing or wrong for an e-way bill, one sentence each; none when the
// details will do. A road trip needs a vehicle number or a transporter; rail,
// air and ship need the transport document's number and date.
QStringList TransportProblems(const InvoiceTransport& transport);
// The details on one line, as the invoice page prints them.
QString TransportSummary(const InvoiceTransport& transport);

// The invoice's registration with the invoice registration portal.
struct InvoiceRegistration {
    QString irn; // the invoice reference number, 64 hexadecimal characters
    QString ackNo;
    QString ackDate; // as the portal wrote it: "2026-12-07 14:22:00"
    QString signedQrCode; // printed as a QR code, exactly this text
    QString ewbNo; // the e-way bill made with it; "" when none
    QString ewbDate;
    QString ewbValidTill;
    bool operator==(const InvoiceRegistration&) const = default;
};

// The acknowledgement's time; invalid when the text is none of the portal's forms.
QDateTime AckTime(const QString& ackDate);
// The portal takes a cancellation of an IRN within this many hours of its acknowledgement.
constexpr int IrnCancelHours = 24;
// True while the portal still takes the IRN's cancellation at that moment.
bool IrnCancellable(const InvoiceRegistration& registration, const QDateTime& at);

} // namespace zelva
