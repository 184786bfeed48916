#include "sales/transport.h"

#include "gst/gststates.h"
#include "platform/datetext.h"

#include <QRegularExpression>

namespace zelva {

const QStringList& TransportModes()
{
    static const QStringList modes{QStringLiteral("Road"), QStringLiteral("Rail"), QStringLiteral("Air"),
                                   QStringLiteral("Ship")};
    return modes;
}

int TransportModeCode(const QString& mode)
{
    return int(TransportModes().indexOf(mode.trimmed())) + 1;
}

QString NormalVehicleNumber(const QString& typed)
{
    QString number = typed.toUpper();
    static const QRegularExpression separators(QStringLiteral("[\\s.\\-]"));
    number.remove(separators);
    return number;
}

bool IsVehicleNumber(const QString& typed)
{
    static const QRegularExpression stateSeries(QStringLiteral("^[A-Z]{2}[0-9]{1,2}[A-Z]{0,3}[0-9]{4}$"));
    static const QRegularExpression bharatSeries(QStringLiteral("^[0-9]{2}BH[0-9]{4}[A-Z]{1,2}$"));
    const QString number = NormalVehicleNumber(typed);
    return stateSeries.match(number).hasMatch() || bharatSeries.match(number).hasMatch();
}

QStringList TransportEntryProblems(const InvoiceTransport& t)
{
    QStringList problems;
    if (TransportModeCode(t.mode) == 0)
        problems << QStringLiteral("Choose the transport mode (Road, Rail, Air or Ship).");
    if (t.distanceKm < 0 || t.distanceKm > LongestTripKm)
        problems << QStringLiteral("Give the distance in whole kilometres, from 1 to %1.").arg(LongestTripKm);
    if (!t.vehicleNo.isEmpty() && !IsVehicleNumber(t.vehicleNo))
        problems << QStringLiteral("The vehicle number %1 is not an Indian registration number (such as KA01AB1234).")
                        .arg(t.vehicleNo);
    if (!t.transporterId.isEmpty() && t.transporterId.size() != 15)
        problems << QStringLiteral("The transporter id %1 is not 15 characters long.").arg(t.transporterId);
    return problems;
}

QStringList TransportProblems(const InvoiceTransport& t)
{
    QStringList problems = TransportEntryProblems(t);
    const int mode = TransportModeCode(t.mode);
    if (t.distanceKm == 0)
        problems << QStringLiteral("Give the distance in whole kilometres, from 1 to %1.").arg(LongestTripKm);
    if (mode == 1 && t.vehicleNo.isEmpty() && t.transporterId.isEmpty())
        problems << QStringLiteral("Give the vehicle number, or the transporter who moves the goods.");
    if (mode > 1 && (t.docNo.trimmed().isEmpty() || !t.docDate.isValid()))
        problems << QStringLiteral("Give the transport document's number and date (dd/mm/yyyy) for goods by %1.")
                        .arg(t.mode.toLower());
    if (!t.transporterId.isEmpty() && t.transporterName.trimmed().isEmpty())
        problems << QStringLiteral("Give the transporter's name.");
    return problems;
}

QString TransportSummary(const InvoiceTransport& t)
{
    QStringList parts{QStringLiteral("%1, %2 km").arg(t.mode).arg(t.distanceKm)};
    if (!t.vehicleNo.isEmpty())
        parts << QStringLiteral("Vehicle %1").arg(t.vehicleNo);
    if (!t.transporterName.isEmpty() || !t.transporterId.isEmpty())
        parts << QStringLiteral("%1 %2").arg(t.transporterName, t.transporterId).trimmed();
    if (!t.docNo.isEmpty())
        parts << QStringLiteral("Doc. %1 of %2").arg(t.docNo, DateText(t.docDate));
    return parts.join(QStringLiteral("; "));
}

QDateTime AckTime(const QString& ackDate)
{
    const QString text = ackDate.trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "dd/MM/yyyy HH:mm:ss",
                               "dd/MM/yyyy hh:mm:ss AP", "yyyy-MM-dd HH:mm"}) {
        const QDateTime time = QDateTime::fromString(text, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return {};
}

bool IrnCancellable(const InvoiceRegistration& registration, const QDateTime& at)
{
    const QDateTime ack = AckTime(registration.ackDate);
    return ack.isValid() && at < ack.addSecs(qint64(IrnCancelHours) * 3600);
}

} // namespace zelva
