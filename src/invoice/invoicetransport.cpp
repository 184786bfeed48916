// The invoice forms' transport details, typed beneath the goods entry and
// shown on the page on one line, and the pay QR of the seller's UPI ID at
// the foot of the page.
#include "invoice/invoiceform.h"

#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/transport.h"
#include "ui/formboxes.h"
#include "ui/message.h"
#include "ui/qrcode.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

constexpr int QrSide = 1200; // twips: about 2 cm, a phone reads it at arm's length
constexpr int LongestTransportText = 60;

} // namespace

void InvoiceForm::buildTransport()
{
    fraTransport = Named(new QGroupBox(QStringLiteral("Tr&ansport (for the e-way bill)"), this),
                         QStringLiteral("fraTransport"));
    auto* grid = new QGridLayout(fraTransport);
    cboTransMode = Named(new QComboBox(fraTransport), QStringLiteral("cboTransMode"));
    cboTransMode->addItems(TransportModes());
    cboTransMode->setCurrentIndex(-1);
    const auto box = [&](const char* name, int maxLength) {
        auto* b = Named(new QLineEdit(fraTransport), QString::fromLatin1(name));
        b->setMaxLength(maxLength);
        return b;
    };
    txtDistanceKm = box("txtDistanceKm", 5);
    txtVehicleNo = box("txtVehicleNo", 15);
    txtTransporterId = box("txtTransporterId", 15);
    txtTransporterName = box("txtTransporterName", LongestTransportText);
    txtTransDocNo = box("txtTransDocNo", 15);
    txtTransDocDate = box("txtTransDocDate", 10);
    const std::pair<const char*, QWidget*> fields[] = {
        {"Mode", cboTransMode},          {"Km", txtDistanceKm},
        {"Vehicle No.", txtVehicleNo},   {"Transporter ID", txtTransporterId},
        {"Transporter", txtTransporterName}, {"Doc. No.", txtTransDocNo},
        {"Doc. Date", txtTransDocDate}};
    int column = 0;
    for (const auto& [caption, field] : fields) {
        auto* label = new QLabel(QString::fromLatin1(caption), fraTransport);
        label->setBuddy(field);
        grid->addWidget(label, 0, column);
        grid->addWidget(field, 1, column++);
        if (auto* typed = qobject_cast<QLineEdit*>(field))
            connect(typed, &QLineEdit::textChanged, this, &InvoiceForm::showTransportSummary);
    }
    connect(cboTransMode, &QComboBox::currentIndexChanged, this, &InvoiceForm::showTransportSummary);
    grid->setColumnStretch(4, 2);
}

void InvoiceForm::buildTransportOnPage(int left, int top)
{
    txtTransport = addLabelled(m_page, "Transport:", left, top, 1000, "txtTransport", left + 1020, 3900, true);
}

void InvoiceForm::buildUpiQr(int left, int top)
{
    qrUpi = Named(new QrCodeView(m_page), QStringLiteral("qrUpi"));
    place(qrUpi, left, top, QrSide, QrSide);
    lblScanToPay = Named(addLabel(m_page, "Scan to pay", left, top + QrSide, QrSide, Qt::AlignHCenter),
                         QStringLiteral("lblScanToPay"));
    qrUpi->hide();
    lblScanToPay->hide();
}

std::optional<InvoiceTransport> InvoiceForm::transportTyped() const
{
    InvoiceTransport t;
    t.mode = cboTransMode->currentIndex() >= 0 ? cboTransMode->currentText() : QString();
    // a distance that is no whole number of kilometres within a trip is refused as -1
    double distance = 0;
    if (!txtDistanceKm->text().trimmed().isEmpty())
        t.distanceKm = ReadNumber(txtDistanceKm->text(), distance) && distance == std::floor(distance) && distance >= 0
                               && distance <= LongestTripKm
                           ? int(distance)
                           : -1;
    t.vehicleNo = NormalVehicleNumber(txtVehicleNo->text());
    t.transporterId = txtTransporterId->text().trimmed().toUpper();
    t.transporterName = txtTransporterName->text().trimmed();
    t.docNo = txtTransDocNo->text().trimmed();
    t.docDate = ReadDateText(txtTransDocDate->text());
    if (t == InvoiceTransport{})
        return std::nullopt;
    return t;
}

bool InvoiceForm::transportAccepted()
{
    // a date typed that names no day is refused, not kept as no date
    if (const QString date = txtTransDocDate->text().trimmed(); !date.isEmpty() && !ReadDateText(date).isValid()) {
        MsgBox(QStringLiteral("The transport details are not right yet:\n"
                              "The transport document's date %1 is no date (dd/mm/yyyy).")
                   .arg(date));
        txtTransDocDate->setFocus();
        return false;
    }
    const std::optional<InvoiceTransport> typed = transportTyped();
    if (!typed)
        return true;
    const QStringList problems = TransportEntryProblems(*typed);
    if (problems.isEmpty())
        return true;
    MsgBox(QStringLiteral("The transport details are not right yet:\n") + problems.join(QLatin1Char('\n')));
    // the first box the problems name
    const InvoiceTransport& t = *typed;
    if (TransportModeCode(t.mode) == 0)
        cboTransMode->setFocus();
    else if (t.distanceKm < 0)
        txtDistanceKm->setFocus();
    else if (!t.vehicleNo.isEmpty() && !IsVehicleNumber(t.vehicleNo))
        txtVehicleNo->setFocus();
    else
        txtTransporterId->setFocus();
    return false;
}

void InvoiceForm::showTransportSummary()
{
    const std::optional<InvoiceTransport> typed = transportTyped();
    txtTransport->setText(typed ? TransportSummary(*typed) : QString());
}

// The pay QR follows the total; none while the seller has no UPI ID or nothing is due.
void InvoiceForm::showUpiQr()
{
    const bool shown = !m_companyPayment.upiId.isEmpty() && !m_invoice.seller.name.trimmed().isEmpty()
                       && m_invoice.totals.grand > 0;
    qrUpi->setText(shown ? UpiPayText(m_companyPayment.upiId, m_invoice.seller.name, m_invoice.totals.grand,
                                      m_invoice.number)
                         : QString());
    qrUpi->setVisible(shown);
    lblScanToPay->setVisible(shown);
}
