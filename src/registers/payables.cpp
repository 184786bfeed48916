#include "registers/payables.h"

#include "platform/datetext.h"

namespace zelva {

OutstandingWords PayablesWords()
{
    return {QStringLiteral("Supplier"), QStringLiteral("Bill"), QStringLiteral("Advance paid"),
            QStringLiteral("Payables")};
}

Outstanding LoadPayables(Database& db, const QDate& asAt)
{
    const Payables payables = WhatIsPayable(db, {std::nullopt, asAt});
    Outstanding report;
    report.asAt = asAt;
    report.words = PayablesWords();
    QHash<QString, std::size_t> supplierAt;
    const auto supplierOf = [&](const QString& key) -> OutstandingBuyer& {
        auto at = supplierAt.constFind(key);
        if (at == supplierAt.constEnd()) {
            at = supplierAt.insert(key, report.buyers.size());
            report.buyers.push_back({key, payables.supplierNames.value(key, key), {}, 0, {}});
        }
        return report.buyers[*at];
    };
    for (const OwedBill& b : payables.open) {
        OutstandingLine line{b.number, DateText(b.date), b.date, b.date.isValid() ? int(b.date.daysTo(asAt)) : -1, {}};
        line.figures = {b.amount, b.paid, b.left(), {}};
        line.figures.ageing[AgeingColumn(line.days)] = b.left();
        supplierOf(b.supplierKey()).lines.push_back(std::move(line));
    }
    for (auto a = payables.advance.constBegin(); a != payables.advance.constEnd(); ++a)
        supplierOf(a.key()).advance += a.value();
    AddUpOutstanding(report);
    return report;
}

std::vector<OwedBill> BillsUnpaidTooLong(Database& db, const QDate& asAt)
{
    std::vector<OwedBill> late;
    for (const OwedBill& b : WhatIsPayable(db, {std::nullopt, asAt}).open)
        if (UnpaidTooLong(b, asAt))
            late.push_back(b);
    return late;
}

} // namespace zelva
