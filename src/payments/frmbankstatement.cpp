#include "payments/frmbankstatement.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "registers/sheetfile.h"
#include "sales/bankstore.h"
#include "sales/purchasebill.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace zelva {

namespace {

enum LineColumn { DateCol, NarrationCol, ReferenceCol, DebitCol, CreditCol, BalanceCol, StateCol, MoneyCol, NoteCol };
enum BookColumn { BookKindCol, BookNumberCol, BookDateCol, BookPartyCol, BookModeCol, BookReferenceCol, BookAmountCol };

QComboBox* typableCombo(QWidget* parent, const QString& name)
{
    auto* box = Named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QLabel* labelFor(QWidget* parent, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

void setRow(QTableWidget* grid, int row, const QStringList& texts, const std::vector<int>& numbers)
{
    for (int c = 0; c < texts.size(); ++c)
        grid->setItem(row, c, FixedCell(texts[c], std::find(numbers.begin(), numbers.end(), c) != numbers.end()));
}

QString amountOrBlank(Paise paise, bool grouped) { return paise ? ShownAmountText(paise, grouped) : QString(); }

bool isCredit(const BankLine& line) { return line.credit > 0 && line.debit == 0; }

} // namespace

frmBankStatement::frmBankStatement(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , cboBank(typableCombo(this, QStringLiteral("cboBank")))
    , txtFile(NewBox(this, "txtFile"))
    , cmdBrowse(NewButton(this, "cmdBrowse", tr("Br&owse..."), tr("Choose the statement file (CSV or .xlsx)")))
    , cboSheet(Named(new QComboBox(this), QStringLiteral("cboSheet")))
    , cmdImport(NewButton(this, "cmdImport", tr("Im&port"), tr("Keep the bank's columns and import the statement's new lines")))
    , grdLines(Named(new QTableWidget(0, 9, this), QStringLiteral("grdLines")))
    , cboCandidate(Named(new QComboBox(this), QStringLiteral("cboCandidate")))
    , cmdConfirm(NewButton(this, "cmdConfirm", tr("Co&nfirm"), tr("Keep the selected line matched to the receipt or payment chosen")))
    , cmdConfirmAll(NewButton(this, "cmdConfirmAll", tr("Confirm All &Matched"),
                              tr("Keep every line matched by its reference")))
    , cboParty(Named(new QComboBox(this), QStringLiteral("cboParty")))
    , cmdMake(NewButton(this, "cmdMake", tr("Ma&ke Receipt or Payment"),
                        tr("Save the selected unmatched line as a receipt from the buyer (a credit) or a payment to the "
                           "supplier (a debit), matched to it")))
    , grdBook(Named(new QTableWidget(0, 7, this), QStringLiteral("grdBook")))
    , lblSummary(Named(new QLabel(this), QStringLiteral("lblSummary")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Bank Statement"));
    const QStringList names = StatementColumnNames();
    for (std::size_t i = 0; i < cboColumn.size(); ++i) {
        cboColumn[i] = Named(new QComboBox(this), QStringLiteral("cboColumn_%1").arg(i));
        cboColumn[i]->setMinimumContentsLength(12);
    }
    txtFile->setReadOnly(true);
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);

    grdLines->setHorizontalHeaderLabels({tr("Date"), tr("Narration"), tr("Reference"), tr("Debit"), tr("Credit"),
                                         tr("Balance"), tr("State"), tr("Receipt / Payment"), tr("Note")});
    grdBook->setHorizontalHeaderLabels(
        {tr("Kind"), tr("Number"), tr("Date"), tr("Party"), tr("Mode"), tr("Reference"), tr("Amount")});
    for (QTableWidget* grid : {grdLines, grdBook}) {
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->verticalHeader()->setVisible(false);
    }

    auto* fileLine = new QHBoxLayout;
    fileLine->addWidget(labelFor(this, tr("&Bank:"), cboBank));
    fileLine->addWidget(cboBank, 1);
    fileLine->addWidget(new QLabel(tr("File:"), this));
    fileLine->addWidget(txtFile, 2);
    fileLine->addWidget(cmdBrowse);
    fileLine->addWidget(labelFor(this, tr("&Sheet:"), cboSheet));
    fileLine->addWidget(cboSheet, 1);
    auto* mapping = new QGridLayout;
    for (int i = 0; i < int(cboColumn.size()); ++i) {
        mapping->addWidget(new QLabel(names[i], this), 0, i);
        mapping->addWidget(cboColumn[std::size_t(i)], 1, i);
    }
    mapping->addWidget(cmdImport, 1, int(cboColumn.size()));
    auto* matchLine = new QHBoxLayout;
    matchLine->addWidget(labelFor(this, tr("&Entry of the books:"), cboCandidate));
    matchLine->addWidget(cboCandidate, 2);
    matchLine->addWidget(cmdConfirm);
    matchLine->addWidget(cmdConfirmAll);
    matchLine->addSpacing(12);
    matchLine->addWidget(labelFor(this, tr("Bu&yer / supplier:"), cboParty));
    matchLine->addWidget(cboParty, 2);
    matchLine->addWidget(cmdMake);
    auto* closeLine = new QHBoxLayout;
    closeLine->addWidget(lblSummary, 1);
    closeLine->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileLine);
    layout->addLayout(mapping);
    layout->addWidget(grdLines, 3);
    layout->addLayout(matchLine);
    layout->addWidget(new QLabel(tr("Receipts and payments by bank with no statement line:"), this));
    layout->addWidget(grdBook, 1);
    layout->addLayout(closeLine);
    resize(980, 620);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmBankStatement::cmdBrowse_Click);
    connect(cboSheet, &QComboBox::activated, this, [this] { readSheet(); });
    connect(cmdImport, &QPushButton::clicked, this, &frmBankStatement::cmdImport_Click);
    connect(cboBank, &QComboBox::activated, this, &frmBankStatement::cboBank_Click);
    connect(cboBank->lineEdit(), &QLineEdit::editingFinished, this, &frmBankStatement::cboBank_Click);
    connect(grdLines, &QTableWidget::itemSelectionChanged, this, &frmBankStatement::grdLines_SelectionChanged);
    connect(cmdConfirm, &QPushButton::clicked, this, &frmBankStatement::cmdConfirm_Click);
    connect(cmdConfirmAll, &QPushButton::clicked, this, &frmBankStatement::cmdConfirmAll_Click);
    connect(cmdMake, &QPushButton::clicked, this, &frmBankStatement::cmdMake_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });

    Guarded<DataError>([this] {
        cboBank->addItems(BankNames(m_db));
        m_buyers = BuyersToChoose(m_db);
        for (const ListedSupplier& s : LoadSupplierList(m_db))
            m_suppliers.push_back({s.serial, s.name});
    });
    cboBank->setCurrentIndex(-1);
    cmdImport->setEnabled(false);
    grdLines_SelectionChanged();
}

frmBankStatement::~frmBankStatement()
{
    zelva::DisconnectChildren(this);
}

void frmBankStatement::cmdBrowse_Click()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Bank statement"), QString(),
                                                      tr("CSV files and workbooks (*.csv *.xlsx);;All files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

bool frmBankStatement::openFile(const QString& path)
{
    txtFile->setText(path);
    const QSignalBlocker quiet(cboSheet);
    cboSheet->clear();
    QString problem;
    cboSheet->addItems(WorkbookSheetNames(path, &problem));
    cboSheet->setEnabled(cboSheet->count() > 1);
    if (!problem.isEmpty()) {
        MsgBox(problem);
        m_cells.clear();
        cmdImport->setEnabled(false);
        return false;
    }
    readSheet();
    return !m_cells.empty();
}

void frmBankStatement::readSheet()
{
    const SheetCells read = ReadSheetFile(txtFile->text(), cboSheet->currentText());
    m_cells = read.rows;
    if (!read.read()) {
        MsgBox(read.problem);
        cmdImport->setEnabled(false);
        return;
    }
    const GuessedColumns guess = GuessStatementColumns(m_cells);
    if (guess.headerRow < 0) {
        MsgBox(tr("No row of %1 looks like a statement's header (a Date column and three more).").arg(txtFile->text()));
        cmdImport->setEnabled(false);
        return;
    }
    // The bank's kept columns when its statement has them, else the likely ones.
    StatementColumns chosen = guess.columns;
    Guarded<DataError>([&] {
        if (const std::optional<StatementColumns> kept = LoadBankColumns(m_db, cboBank->currentText()))
            if (ParseStatement(m_cells, *kept).read())
                chosen = *kept;
    });
    offerHeaders(m_cells[std::size_t(guess.headerRow)], chosen);
    cmdImport->setEnabled(true);
}

void frmBankStatement::offerHeaders(const QStringList& headers, const StatementColumns& chosen)
{
    const std::array<QString, 6> picked{chosen.date, chosen.narration, chosen.reference,
                                        chosen.debit, chosen.credit, chosen.balance};
    QStringList offered{QString()};
    for (const QString& h : headers)
        if (!h.trimmed().isEmpty())
            offered << h.trimmed();
    for (std::size_t i = 0; i < cboColumn.size(); ++i) {
        cboColumn[i]->clear();
        cboColumn[i]->addItems(offered);
        cboColumn[i]->setCurrentIndex(std::max(0, int(offered.indexOf(picked[i].trimmed()))));
    }
}

StatementColumns frmBankStatement::chosenColumns() const
{
    return {cboBank->currentText().simplified(), cboColumn[0]->currentText(), cboColumn[1]->currentText(),
            cboColumn[2]->currentText(), cboColumn[3]->currentText(), cboColumn[4]->currentText(),
            cboColumn[5]->currentText()};
}

void frmBankStatement::cmdImport_Click()
{
    const StatementColumns columns = chosenColumns();
    if (columns.bankName.isEmpty()) {
        MsgBox(tr("Choose or type the bank the statement is from (Bank)."));
        cboBank->setFocus();
        return;
    }
    const ReadStatement read = ParseStatement(m_cells, columns);
    if (!read.read()) {
        MsgBox(read.problem);
        return;
    }
    StatementImport imported;
    if (!Guarded<DataError>([&] {
            StoreBankColumns(m_db, columns);
            imported = ImportStatement(m_db, columns.bankName, read.lines);
        }))
        return;
    MsgBox(imported.imported() ? imported.summary() : imported.refusal);
    if (cboBank->findText(columns.bankName, Qt::MatchFixedString) < 0)
        cboBank->addItem(columns.bankName);
    refresh();
}

void frmBankStatement::cboBank_Click() { refresh(); }

void frmBankStatement::refresh()
{
    m_lines.clear();
    m_book.clear();
    std::vector<KeptMatch> kept;
    const QString bank = cboBank->currentText().simplified();
    if (!bank.isEmpty())
        Guarded<DataError>([&] {
            m_lines = LoadStatementLines(m_db, bank);
            kept = KeptMatches(m_db, bank);
            if (!m_lines.empty())
                m_book = BankMoney(m_db, m_lines.front().date.addDays(-MatchDays), m_lines.back().date.addDays(MatchDays));
        });
    m_match = MatchStatement(m_lines, m_book, kept);
    showLines();
    showBook();
    std::array<int, 4> counts{};
    for (const LineMatch& m : m_match.lines)
        ++counts[std::size_t(m.state)];
    lblSummary->setText(tr("%1 lines: %2 kept, %3 matched, %4 suggested, %5 unmatched; %6 receipts and payments by bank "
                           "with no line.")
                            .arg(m_lines.size())
                            .arg(counts[0])
                            .arg(counts[1])
                            .arg(counts[2])
                            .arg(counts[3])
                            .arg(m_match.unmatchedBook.size()));
    grdLines_SelectionChanged();
}

QString frmBankStatement::candidateText(std::size_t book) const
{
    const BookMoney& m = m_book[book];
    return QStringLiteral("%1 %2 %3 %4").arg(m.number, DateText(m.date), m.partyName, AmountText(m.amount));
}

void frmBankStatement::showLines()
{
    const bool grouped = IndianDigitGrouping();
    const QSignalBlocker quiet(grdLines);
    grdLines->setRowCount(int(m_lines.size()));
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const BankLine& l = m_lines[i];
        const LineMatch& m = m_match.lines[i];
        const QString money = m.candidates.empty() ? QString() : candidateText(m.candidates.front());
        setRow(grdLines, int(i),
               {DateText(l.date), l.narration, l.reference, amountOrBlank(l.debit, grouped), amountOrBlank(l.credit, grouped),
                ShownAmountText(l.balance, grouped), MatchStateName(m.state), money, m.note},
               {DebitCol, CreditCol, BalanceCol});
    }
    grdLines->resizeColumnsToContents();
}

void frmBankStatement::showBook()
{
    const bool grouped = IndianDigitGrouping();
    grdBook->setRowCount(int(m_match.unmatchedBook.size()));
    for (std::size_t r = 0; r < m_match.unmatchedBook.size(); ++r) {
        const BookMoney& m = m_book[m_match.unmatchedBook[r]];
        setRow(grdBook, int(r),
               {m.kind == MoneyKind::Receipt ? tr("Receipt") : tr("Payment"), m.number, DateText(m.date), m.partyName,
                PaymentModeName(m.mode), m.reference, ShownAmountText(m.amount, grouped)},
               {BookAmountCol});
    }
    grdBook->resizeColumnsToContents();
}

int frmBankStatement::selectedLine() const
{
    const QList<QTableWidgetItem*> chosen = grdLines->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.front()->row();
}

void frmBankStatement::grdLines_SelectionChanged()
{
    const int row = selectedLine();
    cboCandidate->clear();
    cboParty->clear();
    const bool any = row >= 0 && row < int(m_lines.size());
    const LineMatch* match = any ? &m_match.lines[std::size_t(row)] : nullptr;
    const bool open = match && match->state != MatchState::Kept;
    if (open)
        for (std::size_t b : match->candidates)
            cboCandidate->addItem(candidateText(b), qulonglong(b));
    const bool unmatched = match && match->state == MatchState::Unmatched;
    if (unmatched) {
        if (isCredit(m_lines[std::size_t(row)]))
            for (const BuyerChoice& b : m_buyers)
                cboParty->addItem(QStringLiteral("%1 (%2)").arg(b.name, b.code));
        else
            for (const Supplier& s : m_suppliers)
                cboParty->addItem(s.name);
        cboParty->setCurrentIndex(-1);
    }
    cmdConfirm->setEnabled(open && cboCandidate->count() > 0);
    cmdMake->setEnabled(unmatched);
    cboParty->setEnabled(unmatched);
    cmdConfirmAll->setEnabled(std::any_of(m_match.lines.begin(), m_match.lines.end(),
                                          [](const LineMatch& m) { return m.state == MatchState::Matched; }));
}

void frmBankStatement::cmdConfirm_Click()
{
    const int row = selectedLine();
    if (row < 0 || cboCandidate->currentIndex() < 0)
        return;
    const BookMoney& money = m_book[std::size_t(cboCandidate->currentData().toULongLong())];
    QString refused;
    if (!Guarded<DataError>([&] { refused = ConfirmMatch(m_db, m_lines[std::size_t(row)].serial, money.kind, money.number); }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    refresh();
    grdLines->selectRow(row);
}

void frmBankStatement::cmdConfirmAll_Click()
{
    int confirmed = 0;
    QStringList refusals;
    Guarded<DataError>([&] {
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const LineMatch& m = m_match.lines[i];
            if (m.state != MatchState::Matched)
                continue;
            const BookMoney& money = m_book[m.candidates.front()];
            const QString refused = ConfirmMatch(m_db, m_lines[i].serial, money.kind, money.number);
            if (refused.isEmpty())
                ++confirmed;
            else
                refusals << StatementLineName(m_lines[i], int(i) + 1) + QStringLiteral(": ") + refused;
        }
    });
    MsgBox(tr("%1 match(es) kept.").arg(confirmed)
           + (refusals.isEmpty() ? QString() : QLatin1Char('\n') + refusals.join(QLatin1Char('\n'))));
    refresh();
}

void frmBankStatement::cmdMake_Click()
{
    const int row = selectedLine();
    if (row < 0)
        return;
    const BankLine& line = m_lines[std::size_t(row)];
    const int party = cboParty->currentIndex();
    const bool credit = isCredit(line);
    if (party < 0) {
        MsgBox(credit ? tr("Choose the buyer the money came from (Buyer / supplier).")
                      : tr("Choose the supplier the money went to (Buyer / supplier)."));
        cboParty->setFocus();
        return;
    }
    MadeFromLine made;
    if (!Guarded<DataError>([&] {
            if (credit) {
                const BuyerChoice& b = m_buyers[std::size_t(party)];
                made = MakeReceiptFromLine(m_db, line.serial, b.code, b.name, m_operator, QDate::currentDate());
            } else {
                const Supplier& s = m_suppliers[std::size_t(party)];
                made = MakePaymentFromLine(m_db, line.serial, s.serial, s.name, m_operator, QDate::currentDate());
            }
        }))
        return;
    if (!made.made()) {
        MsgBox(made.refusal);
        return;
    }
    MsgBox(credit ? tr("Receipt %1 saved and matched to the line.").arg(made.number)
                  : tr("Payment %1 saved and matched to the line.").arg(made.number));
    refresh();
    grdLines->selectRow(row);
}

} // namespace zelva
