#include "reports/frmoutstanding.h"

#include "data/database.h"
#include "registers/payables.h"
#include "data/dataerror.h"
#include "platform/shownvalues.h"
#include "sales/companypayment.h"
#include "sales/purchasebill.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

QString dayText(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

// A line of the grid: three texts, the figures, the days between the balance and the ageing.
QStringList lineTexts(const QString& first, const QString& second, const QString& third, const OutstandingFigures& f,
                      const QString& days, bool grouped)
{
    QStringList texts;
    texts.reserve(3 + 4 + AgeingColumns + 1);
    texts << first << second << third << ShownAmountText(f.amount, grouped) << ShownAmountText(f.paid, grouped)
          << ShownAmountText(f.balance, grouped) << days;
    for (Paise a : f.ageing)
        texts << (a ? ShownAmountText(a, grouped) : QString());
    texts << (f.advance ? ShownAmountText(f.advance, grouped) : QString());
    return texts;
}

} // namespace

// ---------------------------------------------------------------- outstanding

frmOutstanding::frmOutstanding(Database& db, QWidget* parent, bool payables)
    : TableReportWindow(db, parent)
    , dtpAsAt(NewDateBox(this, "dtpAsAt", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show what is owed as at the day")))
    , grdOutstanding(NewTableGrid(this, "grdOutstanding"))
    , m_payables(payables)
{
    setWindowTitle(payables ? tr("Payables") : tr("Outstanding"));
    auto* choice = new QHBoxLayout;
    AddLabelled(this, choice, tr("&As at"), dtpAsAt);
    choice->addWidget(cmdShow);
    choice->addStretch();
    layOut(choice, grdOutstanding);

    connect(cmdShow, &QPushButton::clicked, this, &frmOutstanding::cmdShow_Click);
    cmdShow_Click();
}

void frmOutstanding::cmdShow_Click()
{
    Outstanding report;
    if (!Guarded<DataError>([&] { report = m_payables ? LoadPayables(m_db, dtpAsAt->date()) : LoadOutstanding(m_db, dtpAsAt->date()); }))
        return;
    m_report = std::move(report);
    ShowTable(grdOutstanding, outstandingTable());
}

TableReport frmOutstanding::outstandingTable() const
{
    TableReport table;
    const OutstandingWords& words = m_report.words;
    table.caption = words.sheet;
    table.title = tr("%1 as at %2").arg(words.sheet, dayText(m_report.asAt));
    table.subtitle = tr("%1s not fully paid, with their age in days").arg(words.document);
    table.columns = {{words.party, 2200},          {tr("%1 No.").arg(words.document), 1000}, {tr("Date"), 1000},
                     {tr("Amount"), 1300, true},   {tr("Paid"), 1300, true},  {tr("Balance"), 1300, true},
                     {tr("Days"), 600, true},      {tr("0-30"), 1200, true},  {tr("31-60"), 1200, true},
                     {tr("61-90"), 1200, true},    {tr("Over 90"), 1200, true}, {tr("Advance"), 1200, true}};
    const bool withCredit = !words.creditToReverse.isEmpty();
    if (withCredit)
        table.columns.push_back({words.creditToReverse, 1400, true});
    const bool grouped = IndianDigitGrouping();
    // every line's cells, the credit to reverse last when the report has it
    const auto texts = [&](const QString& first, const QString& second, const QString& third,
                           const OutstandingFigures& f, const QString& days) {
        QStringList line = lineTexts(first, second, third, f, days, grouped);
        if (withCredit)
            line << (f.creditToReverse ? ShownAmountText(f.creditToReverse, grouped) : QString());
        return line;
    };
    std::size_t lines = 0;
    for (const OutstandingBuyer& buyer : m_report.buyers)
        lines += buyer.lines.size() + 2;
    table.lines.reserve(lines);
    for (const OutstandingBuyer& buyer : m_report.buyers) {
        for (const OutstandingLine& line : buyer.lines)
            table.lines.push_back(texts(buyer.name, line.number, line.dateText, line.figures,
                                        line.days < 0 ? QString() : QString::number(line.days)));
        if (buyer.advance != 0) {
            QStringList advance = texts(buyer.name, tr("Advance"), {}, buyer.advanceFigures(), {});
            advance[3] = advance[4] = QString(); // no amount, nothing paid
            table.lines.push_back(advance);
        }
        table.lines.push_back(texts(tr("Total %1").arg(buyer.name), {}, {}, buyer.totals, {}));
    }
    table.totals = texts(tr("Total"), {}, {}, m_report.totals, {});
    return table;
}

QString frmOutstanding::reportCsv() const { return OutstandingCsv(m_report); }
XlsxSheet frmOutstanding::reportSheet() const { return OutstandingSheet(m_report); }

QString frmOutstanding::fileName() const
{
    return tr("%1 %2").arg(m_report.words.sheet, m_report.asAt.toString(Qt::ISODate));
}

// ---------------------------------------------------------------- statement

frmStatement::frmStatement(Database& db, QWidget* parent)
    : TableReportWindow(db, parent)
    , cboBuyerName(Named(new QComboBox(this), QStringLiteral("cboBuyerName")))
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the buyer's account over the period")))
    , grdStatement(NewTableGrid(this, "grdStatement"))
    , qrPay(Named(new QrCodeView(this), QStringLiteral("qrPay")))
    , lblScanToPay(new QLabel(tr("Scan to pay"), this))
{
    setWindowTitle(tr("Statement of Account"));
    cboBuyerName->setMinimumContentsLength(30);
    Guarded<DataError>([this] { m_buyers = BuyersToChoose(m_db); });
    for (const BuyerChoice& buyer : m_buyers)
        cboBuyerName->addItem(QStringLiteral("%1 (%2)").arg(buyer.name, buyer.code));
    cboBuyerName->setCurrentIndex(-1);
    auto* choice = new QHBoxLayout;
    AddLabelled(this, choice, tr("&Buyer"), cboBuyerName);
    AddLabelled(this, choice, tr("&From"), dtpFrom);
    AddLabelled(this, choice, tr("T&o"), dtpTo);
    choice->addWidget(cmdShow);
    choice->addStretch();
    QHBoxLayout* commands = layOut(choice, grdStatement);
    qrPay->setFixedSize(110, 110);
    lblScanToPay->setAlignment(Qt::AlignCenter);
    auto* pay = new QVBoxLayout;
    pay->addWidget(qrPay);
    pay->addWidget(lblScanToPay);
    commands->insertLayout(0, pay);
    showPay();

    connect(cmdShow, &QPushButton::clicked, this, &frmStatement::cmdShow_Click);
    connect(cboBuyerName, &QComboBox::activated, this, &frmStatement::cmdShow_Click);
}

void frmStatement::cmdShow_Click()
{
    const int index = cboBuyerName->currentIndex();
    if (index < 0 || index >= int(m_buyers.size())) {
        MsgBox(tr("Choose the buyer whose account to show (Buyer)."));
        return;
    }
    if (dtpFrom->date() > dtpTo->date()) {
        MsgBox(tr("The period starts after it ends: choose a From day on or before the To day."));
        return;
    }
    const BuyerChoice& buyer = m_buyers[std::size_t(index)];
    Statement statement;
    QString payText;
    if (!Guarded<DataError>([&] {
            statement = LoadStatement(m_db, BuyerKey(buyer.code, buyer.name), buyer.name, {dtpFrom->date(), dtpTo->date()});
            payText = StatementPayText(statement, LoadFirstCompanyPayment(m_db).upiId, FirstCompanyName(m_db));
        }))
        return;
    m_statement = std::move(statement);
    m_payText = payText;
    showPay();
    ShowTable(grdStatement, statementTable());
}

namespace {

// A buyer's or a supplier's statement as the window and the paper show it.
TableReport statementReport(const Statement& s, const QString& caption)
{
    TableReport table;
    const bool grouped = IndianDigitGrouping();
    table.caption = caption;
    table.title = QObject::tr("%1: %2").arg(caption, s.buyerName);
    table.subtitle = QObject::tr("From %1 to %2").arg(dayText(s.period.from), dayText(s.period.to));
    table.columns = {{QObject::tr("Date"), 1100},          {QObject::tr("Particulars"), 4200}, {QObject::tr("Debit"), 1500, true},
                     {QObject::tr("Credit"), 1500, true}, {QObject::tr("Balance"), 1600, true}};
    const auto shown = [grouped](Paise a) { return a ? ShownAmountText(a, grouped) : QString(); };
    table.lines.push_back({dayText(s.period.from), QObject::tr("Opening balance"), {}, {}, ShownAmountText(s.opening, grouped)});
    for (const StatementLine& line : s.lines)
        table.lines.push_back({line.dateText, line.particulars, shown(line.debit), shown(line.credit),
                               ShownAmountText(line.balance, grouped)});
    table.totals = {dayText(s.period.to), QObject::tr("Closing balance"), ShownAmountText(s.debits, grouped),
                    ShownAmountText(s.credits, grouped), ShownAmountText(s.closing, grouped)};
    return table;
}

} // namespace

TableReport frmStatement::statementTable() const
{
    TableReport table = statementReport(m_statement, tr("Statement of Account"));
    table.payQr = m_payText;
    return table;
}


void frmStatement::showPay()
{
    qrPay->setText(m_payText);
    qrPay->setVisible(!m_payText.isEmpty());
    lblScanToPay->setVisible(!m_payText.isEmpty());
}

QString frmStatement::reportCsv() const { return StatementCsv(m_statement); }
XlsxSheet frmStatement::reportSheet() const { return StatementSheet(m_statement); }

QString frmStatement::fileName() const
{
    return tr("Statement %1 %2 to %3")
        .arg(m_statement.buyerName, m_statement.period.from.toString(Qt::ISODate),
             m_statement.period.to.toString(Qt::ISODate));
}

// ------------------------------------------------------------------ cash book

frmCashBook::frmCashBook(Database& db, QWidget* parent)
    : TableReportWindow(db, parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", QDate::currentDate()))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the cash in and out over the period")))
    , grdCashBook(NewTableGrid(this, "grdCashBook"))
{
    setWindowTitle(tr("Cash Book"));
    auto* choice = new QHBoxLayout;
    AddLabelled(this, choice, tr("&From"), dtpFrom);
    AddLabelled(this, choice, tr("T&o"), dtpTo);
    choice->addWidget(cmdShow);
    choice->addStretch();
    layOut(choice, grdCashBook);

    connect(cmdShow, &QPushButton::clicked, this, &frmCashBook::cmdShow_Click);
    cmdShow_Click();
}

void frmCashBook::cmdShow_Click()
{
    if (dtpFrom->date() > dtpTo->date()) {
        MsgBox(tr("The period starts after it ends: choose a From day on or before the To day."));
        return;
    }
    CashBook book;
    if (!Guarded<DataError>([&] { book = LoadCashBook(m_db, {dtpFrom->date(), dtpTo->date()}); }))
        return;
    m_book = std::move(book);
    ShowTable(grdCashBook, cashBookTable());
}

TableReport frmCashBook::cashBookTable() const
{
    TableReport table;
    const bool grouped = IndianDigitGrouping();
    const CashBook& b = m_book;
    table.caption = tr("Cash Book");
    table.title = tr("Cash Book");
    table.subtitle = b.period.from == b.period.to ? dayText(b.period.from)
                                                  : tr("From %1 to %2").arg(dayText(b.period.from), dayText(b.period.to));
    table.columns = {{tr("Date"), 1100},           {tr("Particulars"), 4200}, {tr("Cash in"), 1500, true},
                     {tr("Cash out"), 1500, true}, {tr("Cash in hand"), 1600, true}};
    const auto shown = [grouped](Paise a) { return a ? ShownAmountText(a, grouped) : QString(); };
    table.lines.push_back({dayText(b.period.from), tr("Opening cash"), {}, {}, ShownAmountText(b.opening, grouped)});
    for (const CashBookLine& line : b.lines)
        table.lines.push_back({dayText(line.date), line.particulars, shown(line.in), shown(line.out),
                               ShownAmountText(line.balance, grouped)});
    table.totals = {dayText(b.period.to), tr("Closing cash"), ShownAmountText(b.totalIn, grouped),
                    ShownAmountText(b.totalOut, grouped), ShownAmountText(b.closing, grouped)};
    return table;
}

QString frmCashBook::reportCsv() const { return CashBookCsv(m_book); }
XlsxSheet frmCashBook::reportSheet() const { return CashBookSheet(m_book); }

QString frmCashBook::fileName() const
{
    return tr("Cash Book %1 to %2").arg(m_book.period.from.toString(Qt::ISODate), m_book.period.to.toString(Qt::ISODate));
}

// --------------------------------------------------------- supplier statement

frmSupplierStatement::frmSupplierStatement(Database& db, QWidget* parent)
    : TableReportWindow(db, parent)
    , cboSupplierName(Named(new QComboBox(this), QStringLiteral("cboSupplierName")))
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the supplier's account over the period")))
    , grdStatement(NewTableGrid(this, "grdStatement"))
{
    setWindowTitle(tr("Supplier Statement"));
    cboSupplierName->setMinimumContentsLength(30);
    // The supplier list, then any supplier not on it that bills or payments name.
    Guarded<DataError>([this] {
        for (const ListedSupplier& s : LoadSupplierList(m_db))
            m_suppliers.push_back({s.serial, s.name});
        const Payables payables = WhatIsPayable(m_db);
        QStringList others;
        for (auto name = payables.supplierNames.constBegin(); name != payables.supplierNames.constEnd(); ++name)
            if (!name.key().startsWith(QLatin1Char('#')))
                others << name.value();
        others.sort();
        for (const QString& name : others)
            m_suppliers.push_back({0, name});
    });
    for (const Supplier& s : m_suppliers)
        cboSupplierName->addItem(s.name);
    cboSupplierName->setCurrentIndex(-1);
    auto* choice = new QHBoxLayout;
    AddLabelled(this, choice, tr("Supp&lier"), cboSupplierName);
    AddLabelled(this, choice, tr("&From"), dtpFrom);
    AddLabelled(this, choice, tr("T&o"), dtpTo);
    choice->addWidget(cmdShow);
    choice->addStretch();
    layOut(choice, grdStatement);

    connect(cmdShow, &QPushButton::clicked, this, &frmSupplierStatement::cmdShow_Click);
    connect(cboSupplierName, &QComboBox::activated, this, &frmSupplierStatement::cmdShow_Click);
}

void frmSupplierStatement::cmdShow_Click()
{
    const int index = cboSupplierName->currentIndex();
    if (index < 0 || index >= int(m_suppliers.size())) {
        MsgBox(tr("Choose the supplier whose account to show (Supplier)."));
        return;
    }
    if (dtpFrom->date() > dtpTo->date()) {
        MsgBox(tr("The period starts after it ends: choose a From day on or before the To day."));
        return;
    }
    const Supplier& supplier = m_suppliers[std::size_t(index)];
    Statement statement;
    if (!Guarded<DataError>([&] {
            statement = LoadSupplierStatement(m_db, SupplierKey(supplier.serial, supplier.name), supplier.name,
                                              {dtpFrom->date(), dtpTo->date()});
        }))
        return;
    m_statement = std::move(statement);
    ShowTable(grdStatement, statementTable());
}

TableReport frmSupplierStatement::statementTable() const { return statementReport(m_statement, tr("Supplier Statement")); }

QString frmSupplierStatement::reportCsv() const { return StatementCsv(m_statement); }
XlsxSheet frmSupplierStatement::reportSheet() const { return StatementSheet(m_statement); }

QString frmSupplierStatement::fileName() const
{
    return tr("Supplier Statement %1 %2 to %3")
        .arg(m_statement.buyerName, m_statement.period.from.toString(Qt::ISODate),
             m_statement.period.to.toString(Qt::ISODate));
}

} // namespace zelva
