#include "sales/bankstatement.h"

#include "platform/datetext.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <array>
#include <iterator>
#include <optional>

namespace zelva {

namespace {

enum Column { DateColumn, NarrationColumn, ReferenceColumn, DebitColumn, CreditColumn, BalanceColumn, ColumnCount };

QString comparedHeader(const QString& text) { return text.simplified().toCaseFolded(); }

std::array<QString, ColumnCount> headersOf(const StatementColumns& c)
{
    return {c.date, c.narration, c.reference, c.debit, c.credit, c.balance};
}

// Where each mapped column sits in the header row (-1: not mapped).
using ColumnPlaces = std::array<int, ColumnCount>;

std::optional<ColumnPlaces> placesIn(const QStringList& row, const StatementColumns& columns)
{
    ColumnPlaces places;
    const std::array<QString, ColumnCount> headers = headersOf(columns);
    for (int c = 0; c < ColumnCount; ++c) {
        places[c] = -1;
        if (headers[c].trimmed().isEmpty())
            continue;
        for (int i = 0; i < row.size() && places[c] < 0; ++i)
            if (comparedHeader(row[i]) == comparedHeader(headers[c]))
                places[c] = i;
        if (places[c] < 0)
            return std::nullopt;
    }
    return places;
}

QString cell(const QStringList& row, int place) { return place >= 0 && place < row.size() ? row[place].trimmed() : QString(); }

QString shown(Paise paise) { return ShownAmountText(paise, true); }

// One amount cell; an error names the row and the column.
struct AmountCell {
    Paise value = 0;
    AmountSide side = AmountSide::None;
    QString problem;
};

AmountCell readAmountCell(const QStringList& row, int rowNumber, int place, Column column)
{
    AmountCell read;
    const QString text = cell(row, place);
    if (!ReadStatementAmount(text, read.value, &read.side))
        read.problem = QStringLiteral("Row %1, %2: \"%3\" is not an amount.")
                           .arg(rowNumber)
                           .arg(StatementColumnNames()[column], text);
    return read;
}

bool hasAmounts(const QStringList& row, const ColumnPlaces& places)
{
    for (int c : {DebitColumn, CreditColumn, BalanceColumn}) {
        const QString text = cell(row, places[c]);
        if (!text.isEmpty() && text != QLatin1String("-"))
            return true;
    }
    return false;
}

// The row's line, or why it cannot be read.
QString readLine(const QStringList& row, int rowNumber, const ColumnPlaces& places, BankLine& line)
{
    line.row = rowNumber;
    line.date = ReadStatementDate(cell(row, places[DateColumn]));
    line.narration = cell(row, places[NarrationColumn]);
    line.reference = cell(row, places[ReferenceColumn]);
    const AmountCell debit = readAmountCell(row, rowNumber, places[DebitColumn], DebitColumn);
    if (!debit.problem.isEmpty())
        return debit.problem;
    if (places[DebitColumn] == places[CreditColumn]) {
        // One amount column: its "Dr" or "Cr" tells the side.
        if (debit.value != 0 && debit.side == AmountSide::None)
            return QStringLiteral("Row %1, %2: \"%3\" says neither Dr nor Cr.")
                .arg(rowNumber)
                .arg(StatementColumnNames()[DebitColumn], cell(row, places[DebitColumn]));
        (debit.side == AmountSide::Credit ? line.credit : line.debit) = qAbs(debit.value);
    } else {
        const AmountCell credit = readAmountCell(row, rowNumber, places[CreditColumn], CreditColumn);
        if (!credit.problem.isEmpty())
            return credit.problem;
        line.debit = qAbs(debit.value);
        line.credit = qAbs(credit.value);
    }
    const AmountCell balance = readAmountCell(row, rowNumber, places[BalanceColumn], BalanceColumn);
    if (!balance.problem.isEmpty())
        return balance.problem;
    line.balance = balance.side == AmountSide::Debit ? -qAbs(balance.value) : balance.value;
    return {};
}

QString missingHeaders(const StatementColumns& columns)
{
    QStringList wanted;
    const std::array<QString, ColumnCount> headers = headersOf(columns);
    for (int c = 0; c < ColumnCount; ++c)
        if (!headers[c].trimmed().isEmpty())
            wanted << QStringLiteral("\"%1\"").arg(headers[c].trimmed());
    return wanted.join(QStringLiteral(", "));
}

bool isDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QString kindWord(MoneyKind kind) { return kind == MoneyKind::Receipt ? QStringLiteral("receipt") : QStringLiteral("payment"); }

std::optional<MoneyKind> kindOfLine(const BankLine& line)
{
    if (line.credit > 0 && line.debit == 0)
        return MoneyKind::Receipt;
    if (line.debit > 0 && line.credit == 0)
        return MoneyKind::Payment;
    return std::nullopt;
}

QString kindKey(MoneyKind kind, const QString& key)
{
    return (kind == MoneyKind::Receipt ? QStringLiteral("R|") : QStringLiteral("P|")) + key;
}

// The references a line may carry: its reference and the longer words of its narration.
QStringList referencesOf(const BankLine& line)
{
    static const QRegularExpression notWord(QStringLiteral("[^A-Za-z0-9]+"));
    QStringList refs;
    if (const QString own = ComparedReference(line.reference); !own.isEmpty())
        refs << own;
    for (const QString& word : line.narration.split(notWord, Qt::SkipEmptyParts))
        if (word.size() >= 6)
            if (const QString ref = ComparedReference(word); !ref.isEmpty() && !refs.contains(ref))
                refs << ref;
    return refs;
}

struct BookIndex {
    QHash<QString, std::vector<std::size_t>> byReference; // kindKey(reference)
    QHash<QString, std::vector<std::size_t>> byAmount;    // kindKey(amount)
};

BookIndex indexBook(const std::vector<BookMoney>& book)
{
    BookIndex index;
    index.byReference.reserve(qsizetype(book.size()));
    index.byAmount.reserve(qsizetype(book.size()));
    for (std::size_t i = 0; i < book.size(); ++i) {
        if (const QString ref = ComparedReference(book[i].reference); !ref.isEmpty())
            index.byReference[kindKey(book[i].kind, ref)].push_back(i);
        index.byAmount[kindKey(book[i].kind, QString::number(book[i].amount))].push_back(i);
    }
    return index;
}

void matchByReference(const BankLine& line, MoneyKind kind, const std::vector<BookMoney>& book,
                      const BookIndex& index, std::vector<bool>& taken, LineMatch& match)
{
    for (const QString& ref : referencesOf(line)) {
        const auto found = index.byReference.constFind(kindKey(kind, ref));
        if (found == index.byReference.constEnd())
            continue;
        std::vector<std::size_t> free;
        std::copy_if(found->begin(), found->end(), std::back_inserter(free), [&](std::size_t i) { return !taken[i]; });
        if (free.empty())
            continue;
        match.candidates = free;
        const Paise amount = kind == MoneyKind::Receipt ? line.credit : line.debit;
        if (free.size() == 1 && book[free.front()].amount == amount) {
            match.state = MatchState::Matched;
            taken[free.front()] = true;
            return;
        }
        // Offered to this line only, not left among the unmatched.
        match.state = MatchState::Suggested;
        for (std::size_t i : free)
            taken[i] = true;
        if (free.size() == 1) {
            match.note = QStringLiteral("The reference %1 is %2 %3's, of %4, not %5: confirm only if it is this line.")
                             .arg(book[free.front()].reference, kindWord(kind), book[free.front()].number,
                                  shown(book[free.front()].amount), shown(amount));
            return;
        }
        QStringList numbers;
        for (std::size_t i : free)
            numbers << book[i].number;
        match.note = QStringLiteral("The reference %1 is on %2 %3s (%4): choose the one this line is.")
                         .arg(book[free.front()].reference)
                         .arg(free.size())
                         .arg(kindWord(kind), numbers.join(QStringLiteral(", ")));
        return;
    }
}

void suggestByAmount(const BankLine& line, MoneyKind kind, const std::vector<BookMoney>& book,
                     const BookIndex& index, std::vector<bool>& taken, LineMatch& match)
{
    const Paise amount = kind == MoneyKind::Receipt ? line.credit : line.debit;
    const auto found = index.byAmount.constFind(kindKey(kind, QString::number(amount)));
    if (found == index.byAmount.constEnd())
        return;
    std::vector<std::pair<qint64, std::size_t>> near; // days apart, book index
    for (std::size_t i : *found) {
        const qint64 apart = qAbs(book[i].date.daysTo(line.date));
        if (!taken[i] && book[i].date.isValid() && apart <= MatchDays)
            near.push_back({apart, i});
    }
    if (near.empty())
        return;
    std::sort(near.begin(), near.end());
    match.state = MatchState::Suggested;
    for (const auto& [apart, i] : near)
        match.candidates.push_back(i);
    // The likeliest is offered to this line only: the next line of the same amount gets the next.
    taken[match.candidates.front()] = true;
}

} // namespace

QStringList StatementColumnNames()
{
    return {QStringLiteral("Date"), QStringLiteral("Narration"), QStringLiteral("Reference"),
            QStringLiteral("Debit"), QStringLiteral("Credit"), QStringLiteral("Balance")};
}

QString StatementLineName(const BankLine& line, int index)
{
    const QString day = DateText(line.date);
    return line.row > 0 ? QStringLiteral("Line %1 (row %2, %3)").arg(index).arg(line.row).arg(day)
                        : QStringLiteral("Line %1 (%2)").arg(index).arg(day);
}

GuessedColumns GuessStatementColumns(const std::vector<QStringList>& rows)
{
    GuessedColumns guess;
    const auto filled = [](const QStringList& row) {
        return std::count_if(row.begin(), row.end(), [](const QString& c) { return !c.trimmed().isEmpty(); });
    };
    for (std::size_t r = 0; r < rows.size() && guess.headerRow < 0; ++r)
        if (filled(rows[r]) >= 4
            && std::any_of(rows[r].begin(), rows[r].end(), [](const QString& c) { return c.contains(QLatin1String("date"), Qt::CaseInsensitive); }))
            guess.headerRow = int(r);
    if (guess.headerRow < 0)
        return guess;
    const QStringList& header = rows[std::size_t(guess.headerRow)];
    // The first header holding one of the words, in the words' order; "" when none does.
    const auto find = [&](std::initializer_list<const char*> words) {
        for (const char* word : words)
            for (const QString& h : header)
                if (h.contains(QLatin1String(word), Qt::CaseInsensitive))
                    return h.trimmed();
        return QString();
    };
    StatementColumns& c = guess.columns;
    c.date = find({"txn date", "tran date", "transaction date", "date"});
    c.narration = find({"narration", "description", "particulars", "remarks", "details"});
    c.reference = find({"utr", "ref", "chq", "cheque", "instrument"});
    c.debit = find({"withdrawal", "debit", "dr"});
    c.credit = find({"deposit", "credit", "cr"});
    c.balance = find({"balance"});
    return guess;
}

ReadStatement ParseStatement(const std::vector<QStringList>& rows, const StatementColumns& columns)
{
    ReadStatement read;
    for (const int c : {DateColumn, DebitColumn, CreditColumn, BalanceColumn})
        if (headersOf(columns)[c].trimmed().isEmpty()) {
            read.problem = QStringLiteral("The statement's %1 column is not mapped.").arg(StatementColumnNames()[c]);
            return read;
        }
    std::size_t header = 0;
    std::optional<ColumnPlaces> places;
    for (; header < rows.size() && !places; ++header)
        places = placesIn(rows[header], columns);
    if (!places) {
        read.problem = QStringLiteral("No row of the statement has the columns %1 mapped for %2.")
                           .arg(missingHeaders(columns), columns.bankName.trimmed());
        return read;
    }
    for (std::size_t r = header; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        const int rowNumber = int(r) + 1;
        const QString dateText = cell(row, (*places)[DateColumn]);
        if (dateText.isEmpty() || !ReadStatementDate(dateText).isValid()) {
            if (hasAmounts(row, *places)) {
                read.problem = dateText.isEmpty()
                    ? QStringLiteral("Row %1, Date: the line has amounts but no date.").arg(rowNumber)
                    : QStringLiteral("Row %1, Date: \"%2\" is not a date.").arg(rowNumber).arg(dateText);
                read.lines.clear();
                return read;
            }
            // A narration running on from the line above; anything else (a footer) says nothing.
            const QString more = cell(row, (*places)[NarrationColumn]);
            if (dateText.isEmpty() && !more.isEmpty() && !read.lines.empty())
                read.lines.back().narration += QLatin1Char(' ') + more;
            continue;
        }
        BankLine line;
        if (const QString problem = readLine(row, rowNumber, *places, line); !problem.isEmpty()) {
            read.problem = problem;
            read.lines.clear();
            return read;
        }
        read.lines.push_back(line);
    }
    if (read.lines.empty()) {
        read.problem = QStringLiteral("The statement has no lines below its header.");
        return read;
    }
    // A bank that lists its newest line first: the balance runs from the bottom up.
    QString problem = StatementBalanceProblem(read.lines);
    if (read.lines.front().date > read.lines.back().date || !problem.isEmpty()) {
        std::vector<BankLine> reversed(read.lines.rbegin(), read.lines.rend());
        const QString reversedProblem = StatementBalanceProblem(reversed);
        if (reversedProblem.isEmpty() || read.lines.front().date > read.lines.back().date) {
            read.lines = std::move(reversed);
            problem = reversedProblem;
        }
    }
    if (!problem.isEmpty()) {
        read.problem = problem + QStringLiteral(" Nothing was imported: get the statement again from the bank.");
        read.lines.clear();
    }
    return read;
}

QString StatementBalanceProblem(const std::vector<BankLine>& lines)
{
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const BankLine& before = lines[i - 1];
        const BankLine& line = lines[i];
        const Paise expected = before.balance + line.credit - line.debit;
        if (line.balance != expected)
            return QStringLiteral("%1: the balance %2 does not follow from the line before (%3 + credit %4 - debit %5 = "
                                  "%6): a line is missing or changed there.")
                .arg(StatementLineName(line, int(i) + 1), shown(line.balance), shown(before.balance),
                     shown(line.credit), shown(line.debit), shown(expected));
    }
    return {};
}

QString OpeningBalanceProblem(const BankLine& lastKept, const BankLine& first)
{
    const Paise opening = first.balance - first.credit + first.debit;
    if (opening == lastKept.balance)
        return {};
    return QStringLiteral("%1: the opening balance %2 (balance %3 - credit %4 + debit %5) does not follow from the last "
                          "line kept of the bank's earlier statements (%6, balance %7): a line is missing or changed "
                          "between them.")
        .arg(StatementLineName(first, 1), shown(opening), shown(first.balance), shown(first.credit), shown(first.debit),
             DateText(lastKept.date), shown(lastKept.balance));
}

QString BankKeyOf(const QString& bankName) { return bankName.simplified().toCaseFolded(); }

QString StatementLineKey(const QString& bankName, const BankLine& line)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(BankKeyOf(bankName))
        .arg(DayKey(line.date))
        .arg(line.debit)
        .arg(line.credit)
        .arg(line.balance)
        .arg(ComparedReference(line.reference));
}

QString ComparedReference(const QString& reference)
{
    QString compared = reference.simplified().remove(QLatin1Char(' ')).toCaseFolded();
    if (isDigits(compared)) {
        while (compared.startsWith(QLatin1Char('0')))
            compared.remove(0, 1);
    }
    return compared;
}

QString MatchStateName(MatchState state)
{
    switch (state) {
    case MatchState::Kept:
        return QStringLiteral("Kept");
    case MatchState::Matched:
        return QStringLiteral("Matched");
    case MatchState::Suggested:
        return QStringLiteral("Suggested");
    case MatchState::Unmatched:
        break;
    }
    return QStringLiteral("Unmatched");
}

StatementMatch MatchStatement(const std::vector<BankLine>& lines, const std::vector<BookMoney>& book,
                              const std::vector<KeptMatch>& kept)
{
    StatementMatch result;
    result.lines.resize(lines.size());
    std::vector<bool> taken(book.size(), false);

    QHash<QString, std::size_t> bookByNumber;
    bookByNumber.reserve(qsizetype(book.size()));
    for (std::size_t i = 0; i < book.size(); ++i)
        bookByNumber.insert(kindKey(book[i].kind, book[i].number), i);
    QHash<qint64, const KeptMatch*> keptByLine;
    for (const KeptMatch& k : kept)
        keptByLine.insert(k.lineSerial, &k);
    for (const KeptMatch& k : kept)
        if (const auto found = bookByNumber.constFind(kindKey(k.kind, k.number)); found != bookByNumber.constEnd())
            taken[*found] = true;

    const BookIndex index = indexBook(book);
    std::vector<std::size_t> open;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        LineMatch& match = result.lines[l];
        if (const KeptMatch* k = lines[l].serial ? keptByLine.value(lines[l].serial) : nullptr) {
            match.state = MatchState::Kept;
            if (const auto found = bookByNumber.constFind(kindKey(k->kind, k->number)); found != bookByNumber.constEnd())
                match.candidates.push_back(*found);
            continue;
        }
        if (const std::optional<MoneyKind> kind = kindOfLine(lines[l])) {
            matchByReference(lines[l], *kind, book, index, taken, match);
            if (match.state == MatchState::Unmatched)
                open.push_back(l);
        }
    }
    for (std::size_t l : open)
        suggestByAmount(lines[l], *kindOfLine(lines[l]), book, index, taken, result.lines[l]);
    for (std::size_t i = 0; i < book.size(); ++i)
        if (!taken[i])
            result.unmatchedBook.push_back(i);
    return result;
}

} // namespace zelva
