// A bank statement of 5,000 lines against 50,000 receipts and payments: the
// statement read from its CSV (cells, then lines with the balance checked),
// its lines matched (a fifth by UTR, a fifth by amount within three days, the
// rest left open), its import into the data folder, the receipts and payments
// by bank read back for the matching, and the same statement imported again
// (every line recognised). Target: reading and matching under 2 s.
//
// The receipts and payments are written straight into their tables, as a
// data load would: their save is not what is measured here.
#include "timing.h"
#include "data/database.h"
#include "platform/datetext.h"
#include "registers/sheetfile.h"
#include "sales/bankstore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace zelva;

namespace {

constexpr int Lines = 5000;
constexpr int BookEntries = 50000;
const QDate First(2025, 4, 1);

Paise lineAmount(int i) { return 50000 + Paise(i) * 7919 % 9000000; }
QDate lineDay(int i) { return First.addDays(i * 360 / Lines); }

QByteArray statementCsv()
{
    QString csv = QStringLiteral("Date,Narration,Chq./Ref.No.,Withdrawal Amt.,Deposit Amt.,Closing Balance\n");
    Paise balance = 100000000;
    for (int i = 0; i < Lines; ++i) {
        const bool credit = i % 2 == 0;
        balance += credit ? lineAmount(i) : -lineAmount(i);
        const QString amount = QStringLiteral("\"%1\"").arg(ShownAmountText(lineAmount(i), true));
        csv += QStringLiteral("%1,NEFT %2 TRANSFER,UTR%3,%4,%5,\"%6\"\n")
                   .arg(lineDay(i).toString("dd/MM/yyyy"))
                   .arg(i)
                   .arg(900000000 + i)
                   .arg(credit ? QString() : amount, credit ? amount : QString(), ShownAmountText(balance, true));
    }
    return csv.toUtf8();
}

// Entry e: for e < Lines a fifth carry the line's UTR, a fifth its amount a
// day later; the rest amounts no line has.
BookMoney entryOf(int e)
{
    BookMoney m;
    m.kind = e % 2 == 0 ? MoneyKind::Receipt : MoneyKind::Payment;
    m.number = QStringLiteral("%1%2").arg(m.kind == MoneyKind::Receipt ? "R" : "V").arg(e + 1, 5, 10, QChar('0'));
    m.date = First.addDays(e % 360);
    m.mode = PaymentMode::BankTransfer;
    m.amount = 20000000 + e;
    if (e < Lines && e % 5 == 0) {
        m.reference = QStringLiteral("UTR%1").arg(900000000 + e);
        m.amount = lineAmount(e);
        m.date = lineDay(e);
    } else if (e < Lines && e % 5 == 1) {
        m.amount = lineAmount(e);
        m.date = lineDay(e).addDays(1);
    }
    return m;
}

void seed(Database& db, const std::vector<BookMoney>& book)
{
    Transaction work(db, "seed");
    for (std::size_t i = 0; i < book.size(); ++i) {
        const BookMoney& m = book[i];
        if (m.kind == MoneyKind::Receipt)
            db.run("INSERT INTO Invoice.Receipt (sno, ReceiptNo, ReceiptDate, Time, bid, BuyerName, Mode, Reference, Bank, "
                   "AmountPaise, EnteredBy) VALUES (?, ?, ?, '10:00:00', 'C00001', 'Anand', 'Bank transfer', ?, '', ?, 'bench')",
                   {qint64(i + 1), m.number, DateText(m.date), m.reference, m.amount}, "seed", DbFile::Invoice);
        else
            db.run("INSERT INTO PurchaseMaster.Payment (sno, PaymentNo, PaymentDate, Time, SupplierSno, SupplierName, Mode, "
                   "Reference, Bank, AmountPaise, EnteredBy) VALUES (?, ?, ?, '10:00:00', 0, 'Sharma', 'Bank transfer', ?, '', ?, "
                   "'bench')",
                   {qint64(i + 1), m.number, DateText(m.date), m.reference, m.amount}, "seed", DbFile::PurchaseMaster);
    }
    work.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const StatementColumns columns{"HDFC Bank", "Date", "Narration", "Chq./Ref.No.", "Withdrawal Amt.", "Deposit Amt.",
                                   "Closing Balance"};
    const QByteArray csv = statementCsv();
    std::vector<BookMoney> book;
    for (int e = 0; e < BookEntries; ++e)
        book.push_back(entryOf(e));

    ReadStatement read;
    const double readMs = bench::Median(bench::TimeRuns(3, [&] { read = ParseStatement(ReadCsvBytes(csv, "s.csv").rows, columns); }));
    if (!read.read())
        qFatal("%s", qPrintable(read.problem));
    StatementMatch match;
    const double matchMs = bench::Median(bench::TimeRuns(3, [&] { match = MatchStatement(read.lines, book); }));
    int counts[4] = {0, 0, 0, 0};
    for (const LineMatch& l : match.lines)
        ++counts[int(l.state)];

    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db, book);
    QElapsedTimer timer;
    timer.start();
    const StatementImport first = ImportStatement(*db, columns.bankName, read.lines);
    const double importMs = bench::MsSince(timer);
    timer.restart();
    const std::vector<BookMoney> stored = BankMoney(*db, First.addDays(-3), First.addDays(400));
    const std::vector<BankLine> kept = LoadStatementLines(*db, columns.bankName);
    const StatementMatch storedMatch = MatchStatement(kept, stored, KeptMatches(*db, columns.bankName));
    const double storedMs = bench::MsSince(timer);
    timer.restart();
    const StatementImport again = ImportStatement(*db, columns.bankName, read.lines);
    const double againMs = bench::MsSince(timer);

    std::printf("bank statement: %d lines against %d receipts and payments\n", Lines, BookEntries);
    std::printf("  read the CSV and its lines      %8.1f ms\n", readMs);
    std::printf("  match (in memory)               %8.1f ms  matched %d, suggested %d, unmatched %d\n", matchMs, counts[1],
                counts[2], counts[3]);
    std::printf("  read + match: %.1f ms (target under 2000 ms)\n", readMs + matchMs);
    std::printf("  import into the files           %8.1f ms  (%d added)\n", importMs, first.added);
    std::printf("  kept lines and money read, match %7.1f ms  (%zu entries, %zu left open)\n", storedMs, stored.size(),
                storedMatch.unmatchedBook.size());
    std::printf("  imported again                  %8.1f ms  (%d already there)\n", againMs, again.alreadyKept);
    return 0;
}
