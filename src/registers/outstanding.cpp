#include "registers/outstanding.h"

#include "registers/csvfile.h"
#include "sales/companypayment.h"
#include "sales/opening.h"

#include <QHash>
#include <algorithm>

namespace zelva {

namespace {

QStringList figureCells(const OutstandingFigures& f)
{
    QStringList cells{AmountText(f.amount), AmountText(f.paid), AmountText(f.balance)};
    for (Paise a : f.ageing)
        cells << AmountText(a);
    cells << AmountText(f.advance);
    return cells;
}

QVariantList figureValues(const OutstandingFigures& f)
{
    QVariantList cells{f.amount, f.paid, f.balance};
    for (Paise a : f.ageing)
        cells << a;
    cells << f.advance;
    return cells;
}

const QStringList AgeingCaptions{QStringLiteral("0-30 days"), QStringLiteral("31-60 days"),
                                 QStringLiteral("61-90 days"), QStringLiteral("Over 90 days")};

// The advance row's figures: no amount, nothing paid and no days, only what
// it takes off.
template <typename Cells>
Cells advanceCells(Cells cells)
{
    cells[0] = {};
    cells[1] = {};
    cells.insert(3, {});
    return cells;
}

// The row's cells with the last column of credit to reverse, when the report has it.
QStringList withCreditCell(const Outstanding& report, QStringList cells, const QString& credit)
{
    if (!report.words.creditToReverse.isEmpty())
        cells << credit;
    return cells;
}
QVariantList withCreditCell(const Outstanding& report, QVariantList cells, const QVariant& credit)
{
    if (!report.words.creditToReverse.isEmpty())
        cells << credit;
    return cells;
}

} // namespace

void OutstandingFigures::add(const OutstandingFigures& other)
{
    amount += other.amount;
    paid += other.paid;
    balance += other.balance;
    for (int i = 0; i < AgeingColumns; ++i)
        ageing[i] += other.ageing[i];
    advance += other.advance;
    creditToReverse += other.creditToReverse;
}

int AgeingColumn(int days)
{
    if (days < 0 || days > 90)
        return 3;
    return days <= 30 ? 0 : days <= 60 ? 1 : 2;
}

Outstanding LoadOutstanding(Database& db, const QDate& asAt)
{
    const Owed owed = WhatIsOwed(db, {std::nullopt, asAt});
    Outstanding report;
    report.asAt = asAt;
    QHash<QString, std::size_t> buyerAt;
    const auto buyerOf = [&](const QString& key, const QString& name) -> OutstandingBuyer& {
        auto at = buyerAt.constFind(key);
        if (at == buyerAt.constEnd()) {
            at = buyerAt.insert(key, report.buyers.size());
            report.buyers.push_back({key, name, {}, 0, {}});
        }
        return report.buyers[*at];
    };
    for (const OwedInvoice& i : owed.open) {
        OutstandingLine line{i.number, i.dateText, i.date, i.date.isValid() ? int(i.date.daysTo(asAt)) : -1, {}};
        line.figures = {i.amount, i.paid, i.left(), {}};
        line.figures.ageing[AgeingColumn(line.days)] = i.left();
        buyerOf(BuyerKey(i.buyerCode, i.buyerName), i.buyerName).lines.push_back(std::move(line));
    }
    for (const Owed::Advance& a : owed.advances)
        buyerOf(a.buyerKey, a.buyerName).advance += a.amount;
    AddUpOutstanding(report);
    return report;
}

void AddUpOutstanding(Outstanding& report)
{
    for (OutstandingBuyer& buyer : report.buyers) {
        for (const OutstandingLine& line : buyer.lines)
            buyer.totals.add(line.figures);
        buyer.totals.add(buyer.advanceFigures());
        report.totals.add(buyer.totals);
    }
    std::sort(report.buyers.begin(), report.buyers.end(), [](const OutstandingBuyer& a, const OutstandingBuyer& b) {
        return std::pair(a.name.toCaseFolded(), a.key) < std::pair(b.name.toCaseFolded(), b.key);
    });
}

QString OutstandingCsv(const Outstanding& report)
{
    const QString advanceCaption = report.words.advance;
    QString csv = CsvLine(withCreditCell(report,
                                         QStringList{report.words.party, QStringLiteral("%1 No").arg(report.words.document),
                                                     QStringLiteral("%1 Date").arg(report.words.document),
                                                     QStringLiteral("Amount"), QStringLiteral("Paid"),
                                                     QStringLiteral("Balance"), QStringLiteral("Days")}
                                             + AgeingCaptions + QStringList{advanceCaption},
                                         report.words.creditToReverse));
    const auto credit = [&](const OutstandingFigures& f) { return withCreditCell(report, figureCells(f), AmountText(f.creditToReverse)); };
    for (const OutstandingBuyer& buyer : report.buyers) {
        for (const OutstandingLine& line : buyer.lines) {
            QStringList numbers = credit(line.figures);
            numbers.insert(3, line.days < 0 ? QString() : QString::number(line.days));
            csv += CsvLine({buyer.name, line.number, line.dateText}, numbers);
        }
        if (buyer.advance != 0)
            csv += CsvLine({buyer.name, advanceCaption, {}},
                           withCreditCell(report, advanceCells(figureCells(buyer.advanceFigures())), QString()));
        QStringList totals = credit(buyer.totals);
        totals.insert(3, QString());
        csv += CsvLine({QStringLiteral("Total %1").arg(buyer.name), {}, {}}, totals);
    }
    QStringList totals = credit(report.totals);
    totals.insert(3, QString());
    csv += CsvLine({QStringLiteral("Total as at %1").arg(report.asAt.toString(QStringLiteral("dd/MM/yyyy"))), {}, {}},
                   totals);
    return csv;
}

XlsxSheet OutstandingSheet(const Outstanding& report)
{
    const QString advanceCaption = report.words.advance;
    std::vector<SheetColumn> columns{{report.words.party, CellKind::Text},
                                     {QStringLiteral("%1 No").arg(report.words.document), CellKind::Text},
                                     {QStringLiteral("%1 Date").arg(report.words.document), CellKind::Date},
                                     {QStringLiteral("Amount"), CellKind::Amount},
                                     {QStringLiteral("Paid"), CellKind::Amount},
                                     {QStringLiteral("Balance"), CellKind::Amount},
                                     {QStringLiteral("Days"), CellKind::Count}};
    for (const QString& caption : withCreditCell(report, AgeingCaptions + QStringList{advanceCaption},
                                                 report.words.creditToReverse))
        columns.push_back({caption, CellKind::Amount});
    XlsxSheet sheet(report.words.sheet, columns);
    const auto credit = [&](const OutstandingFigures& f) {
        return withCreditCell(report, figureValues(f), QVariant(f.creditToReverse));
    };
    for (const OutstandingBuyer& buyer : report.buyers) {
        for (const OutstandingLine& line : buyer.lines) {
            QVariantList cells{buyer.name, line.number,
                               line.date.isValid() ? QVariant(line.date) : QVariant(line.dateText)};
            QVariantList figures = credit(line.figures);
            figures.insert(3, line.days < 0 ? QVariant() : QVariant(line.days));
            sheet.addRow(cells + figures);
        }
        if (buyer.advance != 0)
            sheet.addRow(QVariantList{buyer.name, advanceCaption, {}}
                         + withCreditCell(report, advanceCells(figureValues(buyer.advanceFigures())), QVariant()));
        QVariantList figures = credit(buyer.totals);
        figures.insert(3, QVariant());
        sheet.addTotals(QVariantList{QStringLiteral("Total %1").arg(buyer.name), {}, {}} + figures);
    }
    QVariantList figures = credit(report.totals);
    figures.insert(3, QVariant());
    sheet.addTotals(QVariantList{QStringLiteral("Total as at %1").arg(report.asAt.toString(QStringLiteral("dd/MM/yyyy"))),
                                 {}, {}}
                    + figures);
    return sheet;
}

// ---------------------------------------------------------------- statement

namespace {

QString particularsOf(const LedgerEntry& e)
{
    switch (e.kind) {
    case LedgerEntry::Opening:
        return e.number == OneAmountNumber ? QStringLiteral("Opening balance")
                                           : QStringLiteral("Opening bill %1").arg(e.number);
    case LedgerEntry::Invoice:
        return QStringLiteral("Invoice %1").arg(e.number);
    case LedgerEntry::DebitNote:
        return QStringLiteral("Debit Note %1 on %2").arg(e.number, e.detail);
    case LedgerEntry::CreditNote:
        return QStringLiteral("Credit Note %1 on %2").arg(e.number, e.detail);
    case LedgerEntry::Receipt:
        break;
    }
    return QStringLiteral("Receipt %1 (%2)").arg(e.number, e.detail);
}

} // namespace

Statement LoadStatement(Database& db, const QString& buyerKey, const QString& buyerName, const Period& period)
{
    Statement s;
    s.buyerKey = buyerKey;
    s.buyerName = buyerName;
    s.period = period;
    Paise running = 0;
    for (const LedgerEntry& e : BuyerLedger(db, buyerKey)) {
        // an entry whose date cannot be read counts before the period
        if (!e.date.isValid() || e.date < period.from) {
            s.opening += e.debit - e.credit;
            running = s.opening;
            continue;
        }
        if (e.date > period.to)
            break;
        running += e.debit - e.credit;
        s.debits += e.debit;
        s.credits += e.credit;
        s.lines.push_back({e.date, e.dateText, particularsOf(e), e.debit, e.credit, running});
    }
    s.closing = s.opening + s.debits - s.credits;
    return s;
}

namespace {

QString dayText(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

} // namespace

QString StatementPayText(const Statement& s, const QString& upiId, const QString& companyName)
{
    if (upiId.trimmed().isEmpty())
        return {};
    return UpiRequestText(upiId, companyName, s.closing > 0 ? std::optional<Paise>(s.closing) : std::nullopt,
                          QStringLiteral("Statement %1").arg(s.buyerKey));
}

QString StatementCsv(const Statement& s)
{
    QString csv = CsvLine({QStringLiteral("Date"), QStringLiteral("Particulars"), QStringLiteral("Debit"),
                           QStringLiteral("Credit"), QStringLiteral("Balance")});
    csv += CsvLine({dayText(s.period.from), QStringLiteral("Opening balance")}, {{}, {}, AmountText(s.opening)});
    for (const StatementLine& line : s.lines)
        csv += CsvLine({line.dateText, line.particulars},
                       {line.debit ? AmountText(line.debit) : QString(), line.credit ? AmountText(line.credit) : QString(),
                        AmountText(line.balance)});
    csv += CsvLine({dayText(s.period.to), QStringLiteral("Closing balance")},
                   {AmountText(s.debits), AmountText(s.credits), AmountText(s.closing)});
    return csv;
}

XlsxSheet StatementSheet(const Statement& s)
{
    XlsxSheet sheet(QStringLiteral("Statement"),
                    {{QStringLiteral("Date"), CellKind::Date}, {QStringLiteral("Particulars"), CellKind::Text},
                     {QStringLiteral("Debit"), CellKind::Amount}, {QStringLiteral("Credit"), CellKind::Amount},
                     {QStringLiteral("Balance"), CellKind::Amount}});
    sheet.addRow({s.period.from, QStringLiteral("Opening balance"), {}, {}, s.opening});
    for (const StatementLine& line : s.lines)
        sheet.addRow({line.date, line.particulars, line.debit ? QVariant(line.debit) : QVariant(),
                      line.credit ? QVariant(line.credit) : QVariant(), line.balance});
    sheet.addTotals({s.period.to, QStringLiteral("Closing balance"), s.debits, s.credits, s.closing});
    return sheet;
}

} // namespace zelva
