#include "registers/payables.h"

#include "platform/datetext.h"
#include "sales/opening.h"

namespace zelva {

OutstandingWords PayablesWords()
{
    return {QStringLiteral("Supplier"), QStringLiteral("Bill"), QStringLiteral("Advance paid"),
            QStringLiteral("Payables"), QStringLiteral("Unpaid 180 Days")};
}

namespace {

// The part of what the bill charged and that part's share of its tax.
LateBillCredit creditOf(const OwedBill& bill, Paise part)
{
    const auto share = [&](Paise head) { return ProportionOf(head, part, bill.amount); };
    return {bill, part, {share(bill.tax.igst), share(bill.tax.cgst), share(bill.tax.sgst), share(bill.tax.cess)}};
}

} // namespace

TaxHeads CreditToReverse(const OwedBill& bill, const QDate& asAt)
{
    if (!CreditReversedWhenUnpaid(bill) || !UnpaidTooLong(bill, asAt))
        return {};
    return creditOf(bill, bill.left()).tax;
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
        line.figures.creditToReverse = CreditToReverse(b, asAt).total();
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

namespace {

// What each bill had been paid as at the day, by its serial.
QHash<qint64, Paise> paidAsAt(Database& db, const QDate& day)
{
    QHash<qint64, Paise> paid;
    for (const OwedBill& b : WhatIsPayable(db, {std::nullopt, day}).bills)
        paid.insert(b.serial, b.paid);
    return paid;
}

} // namespace

LateBillsOfMonth LateBillsInMonth(Database& db, int year, int month)
{
    const Period days = MonthPeriod(year, month);
    LateBillsOfMonth late;
    const QHash<qint64, Paise> paidBefore = paidAsAt(db, days.from.addDays(-1));
    QHash<int, QHash<qint64, Paise>> paidOnReversalDay; // by the day's key, read once a day
    for (const OwedBill& b : WhatIsPayable(db, {std::nullopt, days.to}).bills) {
        if (!CreditReversedWhenUnpaid(b))
            continue;
        const QDate reversal = ReversalDay(b);
        if (reversal > days.to)
            continue;
        Paise paidThen = paidBefore.value(b.serial);
        if (reversal >= days.from) {
            const int key = DayKey(reversal);
            if (!paidOnReversalDay.contains(key))
                paidOnReversalDay.insert(key, paidAsAt(db, reversal));
            paidThen = paidOnReversalDay[key].value(b.serial);
            if (b.amount - paidThen > 0)
                late.reversed.push_back(creditOf(b, b.amount - paidThen));
        } else if (paidThen >= b.amount) {
            continue; // paid before this month: nothing left reversed
        }
        if (b.paid - paidThen > 0)
            late.reclaimed.push_back(creditOf(b, b.paid - paidThen));
    }
    return late;
}

} // namespace zelva
