#include "payments/moneyform.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "registers/savedinvoice.h"
#include "sales/bankstore.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/printing.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelva {

namespace {

constexpr int LongestReference = 40;
constexpr int LongestReason = 120;

QString capitalised(const QString& word) { return word.left(1).toUpper() + word.mid(1); }

} // namespace

MoneyForm::MoneyForm(Database& db, QString operatorName, const MoneyFormSetup& setup, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
    , m_operator(std::move(operatorName))
    , m_setup(setup)
{
    const MoneyWords& words = setup.book.words;
    // created in the order the Tab key goes through them
    m_number = NewBox(this, setup.numberName);
    m_party = Named(new QComboBox(this), QString::fromLatin1(setup.partyName));
    txtDate = NewBox(this, "txtDate");
    cboMode = Named(new QComboBox(this), QStringLiteral("cboMode"));
    txtReference = NewBox(this, "txtReference");
    txtBank = NewBox(this, "txtBank");
    txtAmount = NewBox(this, "txtAmount");
    cmdAllot = NewButton(this, "cmdAllot", tr("Allot &Oldest First"), setup.allotTip);
    m_grid = Named(new QTableWidget(0, 5, this), QString::fromLatin1(setup.gridName));
    lblOwed = Named(new QLabel(this), QStringLiteral("lblOwed"));
    cmdSave = NewButton(this, "cmdSave", tr("&Save"), setup.saveTip);
    cmdPrint = NewButton(this, "cmdPrint", tr("&Print"), setup.printTip);
    cmdClose = NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window"));
    txtCancelNo = NewBox(this, "txtCancelNo");
    txtReason = NewBox(this, "txtReason");
    m_cancel = NewButton(this, setup.cancelName, setup.cancelCaption, setup.cancelTip);
    m_page = new ReceiptPage(this);

    setWindowTitle(setup.title);
    m_page->setObjectName(QString::fromLatin1(setup.pageName));
    m_number->setReadOnly(true);
    cboMode->addItems(PaymentModeNames());
    txtReference->setMaxLength(LongestReference);
    txtReference->setPlaceholderText(tr("UTR, cheque or card slip number"));
    txtBank->setMaxLength(LongestReference);
    txtReason->setMaxLength(LongestReason);
    txtReason->setPlaceholderText(tr("why the %1 is cancelled (required)").arg(words.noun));
    txtCancelNo->setPlaceholderText(setup.cancelNoExample);
    lblOwed->setTextFormat(Qt::PlainText);
    m_grid->setHorizontalHeaderLabels({setup.documentColumn, tr("Date"), tr("Amount"), tr("Left to Pay"), tr("Allotted")});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->hide();

    auto* entry = new QFormLayout;
    entry->addRow(setup.numberCaption, m_number);
    entry->addRow(setup.partyCaption, m_party);
    entry->addRow(tr("&Date"), txtDate);
    entry->addRow(tr("&Mode"), cboMode);
    entry->addRow(tr("Re&ference"), txtReference);
    entry->addRow(tr("Ban&k"), txtBank);
    entry->addRow(tr("&Amount"), txtAmount);
    auto* allotLine = new QHBoxLayout;
    allotLine->addWidget(lblOwed, 1);
    allotLine->addWidget(cmdAllot);
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdSave);
    commands->addWidget(cmdPrint);
    commands->addWidget(cmdClose);
    auto* cancelLine = new QHBoxLayout;
    auto* cancelLabel = new QLabel(setup.cancelNoCaption, this);
    cancelLabel->setBuddy(txtCancelNo);
    cancelLine->addWidget(cancelLabel);
    cancelLine->addWidget(txtCancelNo);
    auto* reasonLabel = new QLabel(tr("R&eason"), this);
    reasonLabel->setBuddy(txtReason);
    cancelLine->addWidget(reasonLabel);
    cancelLine->addWidget(txtReason, 1);
    cancelLine->addWidget(m_cancel);
    auto* left = new QVBoxLayout;
    left->addLayout(entry);
    left->addLayout(allotLine);
    left->addWidget(m_grid, 1);
    left->addLayout(commands);
    left->addLayout(cancelLine);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_page);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addWidget(scroll, 1);
    resize(1280, 640);

    connect(m_party, &QComboBox::activated, this, &MoneyForm::cboParty_Click);
    connect(txtAmount, &QLineEdit::editingFinished, this, &MoneyForm::cmdAllot_Click);
    connect(cmdAllot, &QPushButton::clicked, this, &MoneyForm::cmdAllot_Click);
    connect(m_grid, &QTableWidget::itemChanged, this, &MoneyForm::updateOwed);
    connect(cmdSave, &QPushButton::clicked, this, &MoneyForm::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &MoneyForm::cmdPrint_Click);
    connect(m_cancel, &QPushButton::clicked, this, &MoneyForm::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
}

MoneyForm::~MoneyForm()
{
    zelva::DisconnectChildren(this);
}

void MoneyForm::start()
{
    QStringList parties;
    Guarded<DataError>([&] { parties = loadParties(); });
    m_parties = int(parties.size());
    m_party->clear();
    m_party->addItems(parties);
    ClearControl();
}

void MoneyForm::ClearControl()
{
    Guarded<DataError>([this] { m_number->setText(NextMoneyNumber(m_db, m_setup.book)); });
    m_party->setCurrentIndex(-1);
    txtDate->setText(DateText(QDate::currentDate()));
    cboMode->setCurrentIndex(int(PaymentMode::Cash));
    for (QLineEdit* box : {txtReference, txtBank, txtAmount})
        box->clear();
    m_open.clear();
    m_advance = 0;
    showOpenDocuments();
}

void MoneyForm::cboParty_Click(int index)
{
    if (index < 0 || index >= m_parties)
        return;
    PartyOpen open;
    if (!Guarded<DataError>([&] { open = openOf(index); }))
        return;
    m_open = std::move(open.open);
    m_advance = open.advance;
    showOpenDocuments();
    cmdAllot_Click();
}

void MoneyForm::showOpenDocuments()
{
    const QSignalBlocker quiet(m_grid);
    m_grid->setRowCount(int(m_open.size()));
    for (int row = 0; row < int(m_open.size()); ++row) {
        const OpenInvoice& open = m_open[std::size_t(row)];
        m_grid->setItem(row, DocumentColumn, FixedCell(open.number, false));
        m_grid->setItem(row, DateColumn, FixedCell(open.date, false));
        m_grid->setItem(row, AmountColumn, FixedCell(AmountText(open.amount), true));
        m_grid->setItem(row, LeftColumn, FixedCell(AmountText(open.left), true));
        auto* allot = new QTableWidgetItem;
        allot->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(row, AllotColumn, allot);
    }
    updateOwed();
}

// The amount typed, allotted afresh to the oldest documents first.
void MoneyForm::cmdAllot_Click()
{
    Paise amount = 0;
    if (!txtAmount->text().trimmed().isEmpty() && !ReadAmount(txtAmount->text(), amount))
        amount = 0; // Save names the box
    const std::vector<Allotment> allotted = AllotOldestFirst(m_open, std::max<Paise>(amount, 0));
    const QSignalBlocker quiet(m_grid);
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        Paise share = 0;
        for (const Allotment& a : allotted)
            if (a.invoiceSerial == m_open[std::size_t(row)].serial)
                share = a.amount;
        m_grid->item(row, AllotColumn)->setText(share ? AmountText(share) : QString());
    }
    updateOwed();
}

Paise MoneyForm::owedNow() const
{
    Paise owed = -m_advance;
    for (const OpenInvoice& open : m_open)
        owed += open.left;
    return owed;
}

void MoneyForm::updateOwed()
{
    lblOwed->setText(m_party->currentIndex() < 0
                         ? m_setup.chooseParty
                         : m_setup.owedText.arg(ShownAmountText(owedNow(), true))
                               .arg(m_open.size() == 1 ? m_setup.oneDocument : m_setup.documents.arg(m_open.size()))
                               .arg(ShownAmountText(m_advance, true)));
}

bool MoneyForm::readEntry(MoneyEntry& entry)
{
    const int index = m_party->currentIndex();
    if (index >= 0 && index < m_parties)
        setParty(index, entry);
    entry.date = ReadDateText(txtDate->text());
    if (!entry.date.isValid()) {
        MsgBox(MoneyDateRefusal(m_setup.book.words, txtDate->text().trimmed()));
        txtDate->setFocus();
        return false;
    }
    entry.time = TimeTextHMS(QTime::currentTime());
    entry.mode = PaymentModeNamed(cboMode->currentText());
    entry.reference = txtReference->text().trimmed();
    entry.bank = txtBank->text().trimmed();
    entry.enteredBy = m_operator;
    if (!ReadAmount(txtAmount->text(), entry.amount)) {
        MsgBox(tr("The amount \"%1\" is not an amount of money (Amount).").arg(txtAmount->text()));
        txtAmount->setFocus();
        return false;
    }
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString typed = m_grid->item(row, AllotColumn)->text();
        Paise share = 0;
        if (!typed.trimmed().isEmpty() && !ReadAmount(typed, share)) {
            MsgBox(tr("The amount allotted to %1 %2, \"%3\", is not an amount of money (Allotted).")
                       .arg(m_setup.book.words.document, m_open[std::size_t(row)].number, typed));
            m_grid->setCurrentCell(row, AllotColumn);
            return false;
        }
        if (share != 0)
            entry.allotments.push_back({m_open[std::size_t(row)].serial, m_open[std::size_t(row)].number, share});
    }
    return true;
}

void MoneyForm::cmdSave_Click()
{
    MoneyEntry entry;
    if (!readEntry(entry))
        return;
    const QDate today = QDate::currentDate();
    if (const QString refused = refusalOf(entry, today); !refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    const Paise owed = std::max<Paise>(owedNow(), 0);
    if (entry.amount > owed
        && !AskYesNo(m_setup.beyondOwed.arg(ShownAmountText(entry.amount, true), ShownAmountText(owed, true),
                                            ShownAmountText(entry.amount - owed, true))))
        return;
    Stored stored;
    if (!Guarded<DataError>([&] { stored = store(entry, today); }))
        return;
    if (!stored.refusal.isEmpty()) {
        MsgBox(stored.refusal);
        cboParty_Click(m_party->currentIndex()); // what is left now
        return;
    }
    entry.serial = stored.serial;
    entry.number = stored.number;
    showOnPage(entry);
    MsgBox(tr("%1 %2 is saved.").arg(capitalised(m_setup.book.words.noun), stored.number));
    ClearControl();
}

void MoneyForm::showOnPage(const MoneyEntry& entry)
{
    m_shownNumber = entry.number;
    ShopLines shop;
    Guarded<DataError>([&] {
        if (const std::optional<CompanyGst> company = LoadCompany(m_db))
            shop = {company->name, company->gstin};
    });
    showEntry(entry, shop);
}

void MoneyForm::cmdPrint_Click()
{
    if (m_shownNumber.isEmpty()) {
        MsgBox(m_setup.printFirst);
        return;
    }
    PrintWidgetPages(m_page, 1, [](int) {}, tr("%1 %2").arg(capitalised(m_setup.book.words.noun), m_shownNumber),
                     PrintsFolder(m_db.folder()));
}

void MoneyForm::cmdCancel_Click()
{
    const QString noun = m_setup.book.words.noun;
    const QString number = txtCancelNo->text().trimmed().toUpper();
    if (number.isEmpty()) {
        MsgBox(tr("Type the number of the %1 to cancel (%2 to cancel).").arg(noun, capitalised(noun)));
        txtCancelNo->setFocus();
        return;
    }
    const QString reason = txtReason->text().trimmed();
    if (reason.isEmpty()) {
        MsgBox(tr("Give the reason the %1 is cancelled (Reason).").arg(noun));
        txtReason->setFocus();
        return;
    }
    std::optional<MoneyEntry> entry;
    std::optional<MatchedLine> matched;
    if (!Guarded<DataError>([&] {
            entry = LoadMoneyEntry(m_db, m_setup.book, number);
            if (entry)
                matched = LineMatchedTo(m_db, m_setup.kind, number);
        }))
        return;
    if (!entry) {
        MsgBox(tr("There is no saved %1 %2.").arg(noun, number));
        return;
    }
    // a statement line matched to it is named, for the operator to know it becomes unmatched
    const QString matchedWarning =
        matched ? MatchedLineWarning(m_setup.kind, number, *matched) + QStringLiteral("\n\n") : QString();
    if (!AskYesNo(m_setup.cancelQuestion.arg(number, entry->partyName, ShownAmountText(entry->amount, true),
                                             matchedWarning)))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    QString refused;
    if (!Guarded<DataError>([&] {
            refused = CancelMoney(m_db, m_setup.kind, number, {now.date(), TimeTextHMS(now.time()), reason, m_operator});
        }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    Guarded<DataError>([&] { entry = LoadMoneyEntry(m_db, m_setup.book, number); });
    if (entry)
        showOnPage(*entry);
    MsgBox(m_setup.cancelled.arg(number));
    txtCancelNo->clear();
    txtReason->clear();
    cboParty_Click(m_party->currentIndex());
}

} // namespace zelva
