#include "registers/payables.h"

#include "platform/datetext.h"
#include "sales/opening.h"

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

namespace {

QString supplierParticulars(const SupplierLedgerEntry& e)
{
    switch (e.kind) {
    case SupplierLedgerEntry::Bill:
        return e.detail.isEmpty() ? QStringLiteral("Bill %1").arg(e.number)
               : e.number == OneAmountNumber ? QStringLiteral("Opening balance")
                                             : QStringLiteral("Opening bill %1").arg(e.number);
    case SupplierLedgerEntry::DebitNote:
        return QStringLiteral("Debit Note %1 on %2").arg(e.number, e.detail);
    case SupplierLedgerEntry::CreditNote:
        return QStringLiteral("Credit Note %1 on %2").arg(e.number, e.detail);
    case SupplierLedgerEntry::Payment:
        break;
    }
    return QStringLiteral("Payment %1 (%2)").arg(e.number, e.detail);
}

} // namespace

Statement LoadSupplierStatement(Database& db, const QString& supplierKey, const QString& supplierName,
                                const Period& period)
{
    Statement s;
    s.buyerKey = supplierKey;
    s.buyerName = supplierName;
    s.period = period;
    Paise running = 0;
    for (const SupplierLedgerEntry& e : SupplierLedger(db, supplierKey)) {
        if (!e.date.isValid() || e.date < period.from) {
            s.opening += e.credit - e.debit;
            running = s.opening;
            continue;
        }
        if (e.date > period.to)
            break;
        running += e.credit - e.debit;
        s.debits += e.debit;
        s.credits += e.credit;
        s.lines.push_back({e.date, e.date.toString(QStringLiteral("dd/MM/yyyy")), supplierParticulars(e), e.debit,
                           e.credit, running});
    }
    s.closing = s.opening + s.credits - s.debits;
    return s;
}

} // namespace zelva
