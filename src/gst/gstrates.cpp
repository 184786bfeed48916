#include "gst/gstrates.h"

#include <algorithm>
#include <cmath>

namespace zelva {

namespace {

const QDate RationalisationDay(2025, 9, 22); // the slabs notified on 17 September 2025
const QDate TobaccoOldRatesEnd(2026, 1, 31);

GstRate standing(double percent, const QDate& from, const QDate& to, const char* note)
{
    return {percent, from, to, false, QString::fromUtf8(note)};
}

GstRate special(double percent, const char* note)
{
    return {percent, QDate(2017, 7, 1), QDate(), true, QString::fromUtf8(note)};
}

} // namespace

bool GstRate::inForceOn(const QDate& day) const
{
    return day.isValid() && day >= from && (!to.isValid() || day <= to);
}

const GstRateTable& ShippedGstRates()
{
    static const GstRateTable table = [] {
        const QDate gstStart(2017, 7, 1);
        const QDate lastOldDay = RationalisationDay.addDays(-1);
        GstRateTable rates{
            standing(0, gstStart, QDate(), "Nil rated and exempt goods"),
            standing(5, gstStart, QDate(), "Merit rate"),
            standing(12, gstStart, lastOldDay, "Standard rate before 22 September 2025"),
            standing(18, gstStart, QDate(), "Standard rate"),
            standing(28, gstStart, lastOldDay, "Demerit rate before 22 September 2025"),
            standing(40, RationalisationDay, QDate(), "Demerit and luxury goods from 22 September 2025"),
            {12, RationalisationDay, TobaccoOldRatesEnd, true, QStringLiteral("Notified tobacco goods until 31 January 2026")},
            {28, RationalisationDay, TobaccoOldRatesEnd, true, QStringLiteral("Notified tobacco goods until 31 January 2026")},
            special(0.1, "Supplies to merchant exporters"),
            special(0.25, "Rough precious and semi-precious stones"),
            special(1, "Special rate accepted by the portal"),
            special(1.5, "Cut and polished diamonds"),
            special(3, "Gold, silver and jewellery"),
            special(6, "Special rate accepted by the portal"),
            special(7.5, "Special rate accepted by the portal"),
        };
        return rates;
    }();
    return table;
}

const std::vector<double>& PortalRates()
{
    static const std::vector<double> rates{0, 0.1, 0.25, 1, 1.5, 3, 5, 6, 7.5, 12, 18, 28, 40};
    return rates;
}

bool SameRate(double a, double b)
{
    return std::llround(a * 100) == std::llround(b * 100);
}

bool PortalAcceptsRate(double percent)
{
    const auto& rates = PortalRates();
    return std::any_of(rates.begin(), rates.end(), [&](double r) { return SameRate(r, percent); });
}

std::vector<double> RatesInForce(const GstRateTable& table, const QDate& day, bool withSpecial)
{
    std::vector<double> rates;
    for (const GstRate& rate : table) {
        if (!rate.inForceOn(day) || (rate.special && !withSpecial))
            continue;
        if (std::none_of(rates.begin(), rates.end(), [&](double r) { return SameRate(r, rate.percent); }))
            rates.push_back(rate.percent);
    }
    std::sort(rates.begin(), rates.end());
    return rates;
}

bool RateInForce(const GstRateTable& table, double percent, const QDate& day)
{
    return std::any_of(table.begin(), table.end(),
                       [&](const GstRate& rate) { return rate.inForceOn(day) && SameRate(rate.percent, percent); });
}

int HsnDigitsNeeded(bool aboveFiveCrore)
{
    return aboveFiveCrore ? 6 : 4;
}

QString HsnLengthProblem(const QString& hsn, bool aboveFiveCrore)
{
    const QString code = hsn.trimmed();
    if (code.isEmpty() || code == QLatin1String("N.A."))
        return {};
    const int digits = int(std::count_if(code.begin(), code.end(), [](QChar c) { return c.isDigit(); }));
    const int needed = HsnDigitsNeeded(aboveFiveCrore);
    if (digits >= needed)
        return {};
    return QStringLiteral("The HSN code \"%1\" has %2 digits; a company with a turnover %3 Rs 5 crore in the "
                          "previous year gives at least %4.")
        .arg(code)
        .arg(digits)
        .arg(aboveFiveCrore ? QStringLiteral("above") : QStringLiteral("up to"))
        .arg(needed);
}

} // namespace zelva
