// Bank statements on the files and on the server: a statement of forty lines
// as an Indian bank exports it, read by the bank's columns, kept and matched
// to the receipts and payments by reference (in its own column or only in the
// narration), by amount within three days, and left open; the same statement
// and an overlapping one imported again; a balance that does not run and a
// text where an amount belongs, both in the middle; a reference on two
// receipts; a confirmed match and a receipt made from a line with their audit
// entries.
#include "sales/bankstore.h"
#include "sales/paymentstore.h"
#include "sales/receiptstore.h"

#include "data/database.h"
#include "platform/datetext.h"
#include "registers/sheetfile.h"
#include "registers/xlsxfile.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QtTest>

using namespace zelva;
using namespace testing;

namespace {

const QDate Today = QDate::currentDate();
const QDate First = Today.addDays(-60);
const QString Bank = QStringLiteral("HDFC Bank");

// The columns as the bank heads them.
StatementColumns hdfc()
{
    return {Bank, "Date", "Narration", "Chq./Ref.No.", "Withdrawal Amt.", "Deposit Amt.", "Closing Balance"};
}

struct Entry {
    QString narration;
    QString reference;
    Paise debit = 0;
    Paise credit = 0;
};

// Line i (from 0): a credit when i is even, a debit when odd; amounts whose
// digits differ line to line; two lines a day from First.
Entry entryOf(int i)
{
    const Paise amount = (1000 + 137 * i) * 100 + i;
    Entry e{QStringLiteral("NEFT TRANSFER %1").arg(i), QStringLiteral("REF%1").arg(700000 + i), 0, 0};
    (i % 2 == 0 ? e.credit : e.debit) = amount;
    return e;
}

QDate dayOf(int i) { return First.addDays(i / 2); }

// The statement's CSV as the bank writes it: a title, the account, the
// header, lines with Indian grouping (balance "Cr"), a footer.
QByteArray statementCsv(int count, const std::function<void(int, Entry&)>& change = {}, int firstLine = 0)
{
    QString csv = QStringLiteral("Statement of account\nAccount No :,50100012345678\n\n"
                                 "Date,Narration,Chq./Ref.No.,Withdrawal Amt.,Deposit Amt.,Closing Balance\n");
    Paise balance = 5000000;
    for (int i = 0; i < firstLine; ++i)
        balance += entryOf(i).credit - entryOf(i).debit;
    for (int i = firstLine; i < firstLine + count; ++i) {
        Entry e = entryOf(i);
        balance += e.credit - e.debit;
        if (change)
            change(i, e);
        const auto amount = [](Paise p) { return p ? QStringLiteral("\"%1\"").arg(ShownAmountText(p, true)) : QString(); };
        csv += QStringLiteral("%1,%2,%3,%4,%5,\"%6 Cr\"\n")
                   .arg(dayOf(i).toString("dd/MM/yy"), e.narration, e.reference, amount(e.debit), amount(e.credit),
                        ShownAmountText(balance, true));
    }
    csv += QStringLiteral("*** End of statement ***\n");
    return csv.toUtf8();
}

ReadStatement parsed(const QByteArray& csv)
{
    return ParseStatement(ReadCsvBytes(csv, "statement.csv").rows, hdfc());
}

void addBuyer(Database& db, int sno, const QString& name)
{
    db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin) VALUES "
           "(?, ?, ?, '1 Main St', 'Ernakulam', 'Kerala', '682001', '')",
           {sno, QString("C%1").arg(sno, 5, 10, QChar('0')), name}, "add buyer", DbFile::Customer);
}

QString receive(Database& db, const QString& buyer, const QDate& date, PaymentMode mode, const QString& reference,
                Paise amount)
{
    Receipt r;
    r.date = date;
    r.buyerCode = buyer == "Anand" ? "C00001" : "C00002";
    r.buyerName = buyer;
    r.mode = mode;
    r.reference = reference;
    r.amount = amount;
    const StoredReceipt stored = StoreReceipt(db, r, Today);
    if (!stored.saved())
        qFatal("%s", qPrintable(stored.refusal));
    return stored.number;
}

QString pay(Database& db, const QDate& date, const QString& reference, Paise amount)
{
    Payment p;
    p.date = date;
    p.supplierName = "Sharma Traders";
    p.mode = PaymentMode::BankTransfer;
    p.reference = reference;
    p.amount = amount;
    const StoredPayment stored = StorePayment(db, p, Today);
    if (!stored.saved())
        qFatal("%s", qPrintable(stored.refusal));
    return stored.number;
}

struct Matching {
    std::vector<BankLine> lines;
    std::vector<BookMoney> book;
    StatementMatch match;
};

Matching matchingOf(Database& db)
{
    Matching m;
    m.lines = LoadStatementLines(db, Bank);
    m.book = BankMoney(db, m.lines.front().date.addDays(-MatchDays), m.lines.back().date.addDays(MatchDays));
    m.match = MatchStatement(m.lines, m.book, KeptMatches(db, Bank));
    return m;
}

// Each line's state letter (K, M, S, U) in the lines' order.
QString states(const Matching& m)
{
    QString letters;
    for (const LineMatch& l : m.match.lines)
        letters += MatchStateName(l.state).front();
    return letters;
}

QString firstCandidate(const Matching& m, int line)
{
    const LineMatch& l = m.match.lines[std::size_t(line)];
    return l.candidates.empty() ? QString() : m.book[l.candidates.front()].number;
}

int keptLines(const TempData& data)
{
    return valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM BankStatementLine").toInt();
}

} // namespace

class BankStatementTest : public QObject {
    Q_OBJECT
private slots:
    void readsWhatBanksWrite_data();
    void readsWhatBanksWrite();
    void fortyLinesMatchedByReferenceByAmountAndLeftOpen();
    void importedAgainAddsNothingTwice();
    void refusedWholeNamingTheRow_data();
    void refusedWholeNamingTheRow();
    void newestFirstOneAmountColumnWithDrCr();
    void workbookReadThroughTheSheetReader();
    void referenceOnTwoReceiptsOnlySuggested();
    void confirmedMatchKeptOnceWithItsAuditEntry();
    void creditMadeAReceiptInOneStep();
};

void BankStatementTest::readsWhatBanksWrite_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<qint64>("paise");
    QTest::addColumn<int>("side");
    QTest::newRow("slashes, grouped") << "05/11/2026" << QDate(2026, 11, 5) << "1,23,456.78" << qint64(12345678) << 0;
    QTest::newRow("dashes, Dr") << "5-11-2026" << QDate(2026, 11, 5) << "500.00 Dr" << qint64(50000) << 1;
    QTest::newRow("month name, Cr") << "05-Nov-2026" << QDate(2026, 11, 5) << "12,345.6Cr" << qint64(1234560) << 2;
    QTest::newRow("two-digit year, western grouping") << "31/12/26" << QDate(2026, 12, 31) << "123,456.00" << qint64(12345600) << 0;
    QTest::newRow("month name with blanks, rupees") << "07 DEC 2026" << QDate(2026, 12, 7) << "Rs. 99.05" << qint64(9905) << 0;
    QTest::newRow("with a time, blank amount") << "08/12/2026 10:32:11" << QDate(2026, 12, 8) << "" << qint64(0) << 0;
    QTest::newRow("iso, dash for nothing") << "2026-12-01" << QDate(2026, 12, 1) << "-" << qint64(0) << 0;
    QTest::newRow("workbook day number") << "46000" << QDate(2025, 12, 9) << "7" << qint64(700) << 0;
    QTest::newRow("no such day, letters") << "31/02/2026" << QDate() << "12a" << qint64(-1) << 0;
    QTest::newRow("no month, two points") << "05-Nox-2026" << QDate() << "1.2.3" << qint64(-1) << 0;
}

void BankStatementTest::readsWhatBanksWrite()
{
    ON_FILES_ONLY();
    QFETCH(QString, date);
    QFETCH(QDate, day);
    QFETCH(QString, amount);
    QFETCH(qint64, paise);
    QFETCH(int, side);
    QCOMPARE(ReadStatementDate(date), day);
    Paise read = -1;
    AmountSide found = AmountSide::None;
    QCOMPARE(ReadStatementAmount(amount, read, &found), paise >= 0);
    QCOMPARE(read, paise);
    QCOMPARE(int(found), side);
}

void BankStatementTest::fortyLinesMatchedByReferenceByAmountAndLeftOpen()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Anand");
    addBuyer(db, 2, "Bala");
    // Line 10's UTR is only in its narration.
    const ReadStatement read = parsed(statementCsv(40, [](int i, Entry& e) {
        if (i == 10) {
            e.narration = "NEFT-CR-HDFC0001234-ANAND-N319123456";
            e.reference.clear();
        }
    }));
    QVERIFY2(read.read(), qPrintable(read.problem));
    QCOMPARE(int(read.lines.size()), 40);
    QCOMPARE(read.lines[7].row, 12); // four rows above the first line
    QCOMPARE(read.lines[7].debit, entryOf(7).debit);
    QCOMPARE(read.lines[7].credit, Paise(0));
    QCOMPARE(read.lines[7].date, dayOf(7));

    // By reference: a payment for line 3, a receipt for line 10 (its
    // narration's UTR), a payment for line 21 dated two days off.
    pay(db, dayOf(3), "ref700003", entryOf(3).debit);
    const QString r10 = receive(db, "Anand", dayOf(10), PaymentMode::BankTransfer, "N319123456", entryOf(10).credit);
    pay(db, dayOf(21).addDays(2), "REF 700021", entryOf(21).debit);
    // By amount within three days: a receipt for line 6, a payment for line 15.
    const QString r6 = receive(db, "Bala", dayOf(6).addDays(3), PaymentMode::Upi, "", entryOf(6).credit);
    const QString p15 = pay(db, dayOf(15).addDays(-2), "", entryOf(15).debit);
    // Line 24's amount, five days later: neither suggested nor forgotten.
    const QString r24 = receive(db, "Anand", dayOf(24).addDays(5), PaymentMode::Cheque, "441", entryOf(24).credit);
    // In cash, and cancelled: no bank's money.
    receive(db, "Bala", dayOf(28), PaymentMode::Cash, "", entryOf(28).credit);
    const QString r30 = receive(db, "Bala", dayOf(30), PaymentMode::Upi, "REF700030", entryOf(30).credit);
    QCOMPARE(CancelReceipt(db, r30, {Today, "10:00", "entered twice", "meena"}), QString());

    const StatementImport imported = ImportStatement(db, Bank, read.lines);
    QCOMPARE(imported.summary(), QString("40 line(s) imported, 0 already there."));
    const Matching m = matchingOf(db);
    QString expected(40, 'U');
    for (int i : {3, 10, 21})
        expected[i] = 'M';
    for (int i : {6, 15})
        expected[i] = 'S';
    QCOMPARE(states(m), expected);
    QCOMPARE(firstCandidate(m, 10), r10);
    QCOMPARE(firstCandidate(m, 6), r6);
    QCOMPARE(firstCandidate(m, 15), p15);
    QCOMPARE(int(m.match.unmatchedBook.size()), 1);
    QCOMPARE(m.book[m.match.unmatchedBook.front()].number, r24);
}

void BankStatementTest::importedAgainAddsNothingTwice()
{
    TempData data;
    Database& db = *data.db;
    QCOMPARE(ImportStatement(db, Bank, parsed(statementCsv(40)).lines).added, 40);
    // The same file, and the bank's name typed otherwise.
    const StatementImport again = ImportStatement(db, " hdfc  bank", parsed(statementCsv(40)).lines);
    QCOMPARE(again.summary(), QString("0 line(s) imported, 40 already there."));
    // The next statement overlaps the last ten lines and adds five.
    const StatementImport next = ImportStatement(db, Bank, parsed(statementCsv(15, {}, 30)).lines);
    QCOMPARE(next.summary(), QString("5 line(s) imported, 10 already there."));
    QCOMPARE(keptLines(data), 45);
    // A line kept before that comes back with another amount (and balance
    // kept): the import is refused, naming it, with nothing added.
    std::vector<BankLine> changed = parsed(statementCsv(45)).lines;
    changed[44].credit += 100; // a new line, the 46th, stays out too
    changed[20].debit += 100;
    changed[20].credit = 0;
    const StatementImport refused = ImportStatement(db, Bank, changed);
    QVERIFY2(refused.refusal.startsWith(QString("Line 21 (row 25, %1) was imported before with debit").arg(DateText(dayOf(20)))),
             qPrintable(refused.refusal));
    QCOMPARE(keptLines(data), 45);
    // Another bank's statement of the same lines is its own.
    QCOMPARE(ImportStatement(db, "State Bank of India", parsed(statementCsv(3)).lines).added, 3);
}

void BankStatementTest::refusedWholeNamingTheRow_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("said");
    QTest::newRow("a credit changed") << 16 << "credit" << "" << "Line 17 (row 21, %1): the balance";
    QTest::newRow("letters in a debit") << 9 << "debit" << "1,2a0.00" << "Row 14, Debit: \"1,2a0.00\" is not an amount.";
    QTest::newRow("no date") << 22 << "date" << "32/13/2026" << "Row 27, Date: \"32/13/2026\" is not a date.";
}

void BankStatementTest::refusedWholeNamingTheRow()
{
    QFETCH(int, line);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, said);
    TempData data;
    QByteArray csv = statementCsv(40, [&](int i, Entry& e) {
        if (i == line && field == "credit")
            e.credit += 1000; // the balance column keeps what the bank had
    });
    if (!text.isEmpty()) {
        QList<QByteArray> rows = csv.split('\n');
        QList<QByteArray> cells = rows[line + 4].split(',');
        const Entry e = entryOf(line);
        if (field == "debit") // the amount's text, quoted for its commas
            rows[line + 4].replace(QStringLiteral("\"%1\"").arg(ShownAmountText(e.debit, true)).toUtf8(),
                                   QStringLiteral("\"%1\"").arg(text).toUtf8());
        else
            rows[line + 4].replace(cells[0], text.toUtf8());
        csv = rows.join('\n');
    }
    const ReadStatement read = parsed(csv);
    QVERIFY(!read.read());
    if (said.contains("%1"))
        said = said.arg(DateText(dayOf(line)));
    QVERIFY2(read.problem.startsWith(said), qPrintable(read.problem));
    QVERIFY(read.lines.empty());
    if (field == "credit")
        QVERIFY2(read.problem.endsWith("Nothing was imported: get the statement again from the bank."), qPrintable(read.problem));
    QCOMPARE(keptLines(data), 0);
}

void BankStatementTest::newestFirstOneAmountColumnWithDrCr()
{
    ON_FILES_ONLY();
    const QByteArray csv = "Tran Date;Particulars;Amount;Balance\n"
                           "07-Dec-2026;UPI/633412345678/BALA;\"2,500.00 Cr\";\"11,000.00\"\n"
                           "06-Dec-2026;CHQ PAID 000441;1,500.00 Dr;\"8,500.00\"\n"
                           "05-Dec-2026;OPENING;10,000.00 Cr;\"10,000.00\"\n";
    const ReadStatement read = ParseStatement(ReadCsvBytes(csv, "sbi.csv").rows,
                                              {"SBI", "Tran Date", "Particulars", "", "Amount", "Amount", "Balance"});
    QVERIFY2(read.read(), qPrintable(read.problem));
    QCOMPARE(int(read.lines.size()), 3);
    QCOMPARE(read.lines.front().date, QDate(2026, 12, 5));
    QCOMPARE(read.lines[1].debit, Paise(150000));
    QCOMPARE(read.lines[2].credit, Paise(250000));
    QCOMPARE(read.lines[2].row, 2);
    // The UTR in the UPI narration and the cheque number without its zeros.
    const std::vector<BookMoney> book{{MoneyKind::Payment, "V00009", QDate(2026, 11, 20), "Sharma", PaymentMode::Cheque, "441", 150000},
                                      {MoneyKind::Receipt, "R00004", QDate(2026, 12, 7), "Bala", PaymentMode::Upi, "633412345678", 250000}};
    const StatementMatch m = MatchStatement(read.lines, book);
    QCOMPARE(int(m.lines[1].state), int(MatchState::Matched));
    QCOMPARE(int(m.lines[2].state), int(MatchState::Matched));
    QCOMPARE(int(m.lines[0].state), int(MatchState::Unmatched));
    // A statement with one amount column and an amount saying neither.
    const ReadStatement neither = ParseStatement(ReadCsvBytes(QByteArray(csv).replace("1,500.00 Dr", "1,500.00"), "sbi.csv").rows,
                                                 {"SBI", "Tran Date", "Particulars", "", "Amount", "Amount", "Balance"});
    QCOMPARE(neither.problem, QString("Row 3, Debit: \"1,500.00\" says neither Dr nor Cr."));
}

// An .xlsx statement: dates as day numbers, amounts as plain numbers, the
// columns guessed from its headers.
void BankStatementTest::workbookReadThroughTheSheetReader()
{
    ON_FILES_ONLY();
    QTemporaryDir dir;
    XlsxSheet sheet("Statement", {{"Txn Date", CellKind::Date}, {"Description", CellKind::Text}, {"Ref No./Cheque No.", CellKind::Text},
                                  {"Debit", CellKind::Amount}, {"Credit", CellKind::Amount}, {"Balance", CellKind::Amount}});
    sheet.addRow({QDate(2026, 11, 3), "BY CLG CHQ", "000881", {}, Paise(1250050), Paise(2250050)});
    sheet.addRow({QDate(2026, 11, 4), "TO RTGS SHARMA", "SBINR52026110400012", Paise(990025), {}, Paise(1260025)});
    const QString path = dir.path() + "/statement.xlsx";
    QCOMPARE(sheet.save(path), QString());
    const SheetCells cells = ReadSheetFile(path);
    QVERIFY2(cells.read(), qPrintable(cells.problem));
    const GuessedColumns guess = GuessStatementColumns(cells.rows);
    QCOMPARE(guess.headerRow, 0);
    QCOMPARE(guess.columns, (StatementColumns{"", "Txn Date", "Description", "Ref No./Cheque No.", "Debit", "Credit", "Balance"}));
    StatementColumns columns = guess.columns;
    columns.bankName = "Canara Bank";
    const ReadStatement read = ParseStatement(cells.rows, columns);
    QVERIFY2(read.read(), qPrintable(read.problem));
    QCOMPARE(int(read.lines.size()), 2);
    QCOMPARE(read.lines[0].date, QDate(2026, 11, 3));
    QCOMPARE(read.lines[0].credit, Paise(1250050));
    QCOMPARE(read.lines[1].debit, Paise(990025));
    QCOMPARE(read.lines[1].balance, Paise(1260025));
    QCOMPARE(read.lines[1].reference, QString("SBINR52026110400012"));
}

void BankStatementTest::referenceOnTwoReceiptsOnlySuggested()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Anand");
    addBuyer(db, 2, "Bala");
    const QString first = receive(db, "Anand", dayOf(12), PaymentMode::Upi, "REF700012", entryOf(12).credit);
    const QString second = receive(db, "Bala", dayOf(12), PaymentMode::Upi, "ref700012", entryOf(12).credit);
    ImportStatement(db, Bank, parsed(statementCsv(40)).lines);
    Matching m = matchingOf(db);
    QCOMPARE(int(m.match.lines[12].state), int(MatchState::Suggested));
    QCOMPARE(int(m.match.lines[12].candidates.size()), 2);
    QCOMPARE(m.match.lines[12].note,
             QString("The reference REF700012 is on 2 receipts (%1, %2): choose the one this line is.").arg(first, second));
    QVERIFY(m.match.unmatchedBook.empty());
    // The operator chooses the second: the line is kept matched to it, the first left open.
    QCOMPARE(ConfirmMatch(db, m.lines[12].serial, MoneyKind::Receipt, second), QString());
    m = matchingOf(db);
    QCOMPARE(int(m.match.lines[12].state), int(MatchState::Kept));
    QCOMPARE(firstCandidate(m, 12), second);
    QCOMPARE(int(m.match.unmatchedBook.size()), 1);
    QCOMPARE(m.book[m.match.unmatchedBook.front()].number, first);
}

void BankStatementTest::confirmedMatchKeptOnceWithItsAuditEntry()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Anand");
    const QString r = receive(db, "Anand", dayOf(4), PaymentMode::BankTransfer, "", entryOf(4).credit);
    const QString odd = receive(db, "Anand", dayOf(8), PaymentMode::BankTransfer, "", entryOf(8).credit + 1);
    ImportStatement(db, Bank, parsed(statementCsv(40)).lines);
    const Matching m = matchingOf(db);
    QCOMPARE(int(m.match.lines[4].state), int(MatchState::Suggested));
    QCOMPARE(ConfirmMatch(db, m.lines[4].serial, MoneyKind::Receipt, r), QString());
    QCOMPARE(rowsInFile(data.folder(), DbFile::Master, "SELECT Kind, MoneyNo, LineSno FROM BankMatch"),
             (QList<QVariantList>{{"R", r, m.lines[4].serial}}));
    QCOMPARE(rowsInFile(data.folder(), DbFile::Zlv,
                        "SELECT Action FROM AuditTrail WHERE TableName = 'BankMatch' AND RecordKey = ?", {"R " + r}),
             (QList<QVariantList>{{"added"}}));
    // Neither the line nor the receipt is matched again; a debit is no
    // receipt; amounts that differ are not one.
    QCOMPARE(ConfirmMatch(db, m.lines[4].serial, MoneyKind::Receipt, odd),
             QString("This statement line is already matched (R %1).").arg(r));
    QCOMPARE(ConfirmMatch(db, m.lines[6].serial, MoneyKind::Receipt, r),
             QString("The receipt %1 is already matched to another statement line.").arg(r));
    QCOMPARE(ConfirmMatch(db, m.lines[5].serial, MoneyKind::Receipt, odd), QString("A debit of the statement cannot be a receipt."));
    QVERIFY(ConfirmMatch(db, m.lines[8].serial, MoneyKind::Receipt, odd).contains("they are not one"));
    QCOMPARE(valueInFile(data.folder(), DbFile::Master, "SELECT count(*) FROM BankMatch").toInt(), 1);
}

void BankStatementTest::creditMadeAReceiptInOneStep()
{
    TempData data;
    Database& db = *data.db;
    addBuyer(db, 1, "Anand");
    ImportStatement(db, Bank, parsed(statementCsv(40)).lines);
    StoreBankColumns(db, hdfc());
    const std::vector<BankLine> lines = LoadStatementLines(db, Bank);
    const MadeFromLine made = MakeReceiptFromLine(db, lines[18].serial, "C00001", "Anand", "meena", Today);
    QVERIFY2(made.made(), qPrintable(made.refusal));
    const std::optional<Receipt> r = LoadReceipt(db, made.number);
    QVERIFY(r);
    QCOMPARE(r->amount, entryOf(18).credit);
    QCOMPARE(r->date, dayOf(18));
    QCOMPARE(r->reference, entryOf(18).reference);
    QCOMPARE(r->bank, Bank);
    QCOMPARE(PaymentModeName(r->mode), QString("Bank transfer"));
    QCOMPARE(KeptMatches(db, Bank).size(), std::size_t(1));
    // A debit is no receipt, and a kept line gives no second one: nothing saved.
    QCOMPARE(MakeReceiptFromLine(db, lines[19].serial, "C00001", "Anand", "meena", Today).refusal,
             QString("Only a credit of the statement can become a receipt."));
    QVERIFY(MakeReceiptFromLine(db, lines[18].serial, "C00001", "Anand", "meena", Today).refusal.startsWith("This statement line is already matched"));
    // A debit made a payment to a supplier known by name.
    const MadeFromLine paid = MakePaymentFromLine(db, lines[19].serial, 0, "Sharma Traders", "meena", Today);
    QVERIFY2(paid.made(), qPrintable(paid.refusal));
    QCOMPARE(LoadPayment(db, paid.number)->amount, entryOf(19).debit);
    QCOMPARE(valueInFile(data.folder(), DbFile::Invoice, "SELECT count(*) FROM Receipt").toInt(), 1);
    QCOMPARE(rowsInFile(data.folder(), DbFile::Master, "SELECT Kind, MoneyNo FROM BankMatch ORDER BY Kind"),
             (QList<QVariantList>{{"P", paid.number}, {"R", made.number}}));
}

QTEST_GUILESS_MAIN(BankStatementTest)
#include "test_bankstatement.moc"
