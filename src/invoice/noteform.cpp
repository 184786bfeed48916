#include "invoice/noteform.h"

#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/invoicestore.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/printing.h"
#include "ui/qrcode.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

constexpr int BlockSplit = 5300;
constexpr int RightLeft = BlockSplit + 100;
constexpr int HeadTop = 4450;
constexpr int FirstRowTop = 4900;
constexpr int RowPitch = 400;
constexpr int TaxTop = FirstRowTop + NoteForm::Rows * RowPitch + 150;
constexpr int WordsTop = TaxTop + 4 * RowPitch + 100;
constexpr int FootTop = WordsTop + 900;
// The signed QR code of a registered note, beneath it: its token of about 900
// characters takes some 125 modules with the quiet zone, 0.37 mm each here,
// so that a phone and a 200-dpi print read it.
constexpr int IrnTop = FootTop + 500;
constexpr int SignedQrSide = 2600;

const Column SNo{0, 600}, Desc{650, 3850}, Hsn{4550, 1000}, Left{5600, 1750}, Qty{7400, 900}, Per{8350, 600},
    Value{9000, 1395};

// Room around the page in its window: the scroll area's frame and the layout's margins.
constexpr int PageMargin = 60;

// How many invoices the Original Invoice No. list offers; any other is typed.
constexpr int ListedInvoices = 500;

QString quantityText(double quantity) { return quantity == 0 ? QString() : Str(RoundAmount(quantity, 3)); }

QString leftText(const LineLeft& left)
{
    return QStringLiteral("%1 / %2").arg(Str(RoundAmount(left.quantity, 3)), BoxAmountText(left.value));
}

} // namespace

NoteForm::NoteForm(Database& db, NoteKind kind, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
    , m_kind(kind)
    , m_operator(std::move(operatorName))
{
    setObjectName(kind == NoteKind::Credit ? QStringLiteral("frmCreditNote") : QStringLiteral("frmDebitNote"));
    setWindowTitle(NoteTitle(kind));
    buildPage();
    buildButtons();
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_page);
    scroll->setAlignment(Qt::AlignHCenter);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(fraCommandButton, 0, Qt::AlignTop);
    // the whole page and the buttons beside it (the main window bounds it by its work area)
    resize(m_page->width() + fraCommandButton->sizeHint().width() + PageMargin,
           m_page->height() + PageMargin);

    connect(cmdNewNote, &QPushButton::clicked, this, &NoteForm::cmdNewNote_Click);
    connect(cmdSave, &QPushButton::clicked, this, &NoteForm::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &NoteForm::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &NoteForm::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    connect(cboInvoiceNo, &QComboBox::activated, this, &NoteForm::cboInvoiceNo_Click);
    connect(cboInvoiceNo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_pending && !cboInvoiceNo->currentText().trimmed().isEmpty())
            chooseInvoice(cboInvoiceNo->currentText());
    });
    connect(cboReason, &QComboBox::activated, this, &NoteForm::RefreshTotals);
    for (int row = 1; row <= Rows; ++row) {
        connect(txtQuantity[row], &QLineEdit::editingFinished, this, [this, row] { txtQuantity_LostFocus(row); });
        connect(txtValue[row], &QLineEdit::editingFinished, this, &NoteForm::RefreshTotals);
    }
    ClearControl();
    setEntryEnabled(false);
}

NoteForm::~NoteForm()
{
    zelva::DisconnectChildren(this);
}

void NoteForm::buildPage()
{
    auto* page = Named(new RuledPage, QStringLiteral("notePage"));
    m_page = page;
    m_page->setStyleSheet(QStringLiteral("QLineEdit, QPlainTextEdit { border: none; background: transparent; }"
                                         "QLineEdit:focus, QPlainTextEdit:focus { background: #fff8d0; }"
                                         "QLabel { background: transparent; }"));
    const int top = 380;
    page->rule(0, top, ContentWidth, top);
    page->rule(0, FootTop, ContentWidth, FootTop);
    page->rule(0, top, 0, FootTop);
    page->rule(ContentWidth, top, ContentWidth, FootTop);
    page->rule(BlockSplit, top, BlockSplit, 4350);
    page->rule(0, 2150, BlockSplit, 2150);
    page->rule(0, 4350, ContentWidth, 4350);
    page->rule(0, FirstRowTop - 60, ContentWidth, FirstRowTop - 60);
    page->rule(0, TaxTop - 60, ContentWidth, TaxTop - 60);
    page->rule(0, WordsTop - 60, ContentWidth, WordsTop - 60);

    QWidget* p = m_page;
    lblTitle = Named(addLabel(p, NoteTitle(m_kind), 0, 0, ContentWidth, Qt::AlignHCenter), QStringLiteral("lblTitle"));
    lblTitle->setFont(styled(p, true, true, 1.3));
    lblCopy = Named(addLabel(p, "Original", 7800, 0, 2580, Qt::AlignRight), QStringLiteral("lblCopy"));

    txtCompanyName = addBox(p, "txtCompanyName", 100, 450, 5100, true);
    txtCompanyName->setFont(styled(p, true));
    txtAddress = addLines(p, "txtAddress", 100, 780, 5100, true);
    txtGstin = addLabelled(p, "GSTIN/ UIN:", 100, 1500, 1100, "txtGstin", 1220, 3900, true);

    const QString numberCaption = m_kind == NoteKind::Credit ? QStringLiteral("Credit Note No.:") : QStringLiteral("Debit Note No.:");
    txtNoteNo = addLabelled(p, numberCaption, RightLeft, 450, 1600, "txtNoteNo", RightLeft + 1620, 1800, true);
    txtNoteNo->setFont(styled(p, true));
    txtNoteNo->setMaxLength(LongestNoteNumber);
    txtNoteDate = addLabelled(p, "Date:", RightLeft + 3350, 450, 500, "txtNoteDate", RightLeft + 3850, 1150);
    addLabel(p, "Original Invoice No. and Date:", RightLeft, 850, 4900);
    txtInvoiceRef = addBox(p, "txtInvoiceRef", RightLeft, 1180, 4900, true);
    cboInvoiceNo = Named(new QComboBox(p), QStringLiteral("cboInvoiceNo"));
    cboInvoiceNo->setEditable(true);
    cboInvoiceNo->setInsertPolicy(QComboBox::NoInsert);
    place(cboInvoiceNo, RightLeft, 1180, 2400);
    txtReason = addLabelled(p, "Reason:", RightLeft, 1600, 800, "txtReason", RightLeft + 820, 4080, true);
    cboReason = Named(new QComboBox(p), QStringLiteral("cboReason"));
    cboReason->addItems(NoteReasons());
    place(cboReason, RightLeft + 820, 1600, 3400);

    addLabel(p, "Buyer", 100, 2220, 3000)->setFont(styled(p, true));
    txtBuyerName = addBox(p, "txtBuyerName", 100, 2520, 5100, true);
    txtBuyerAddress = addLines(p, "txtBuyerAddress", 100, 2880, 5100, true);
    txtBuyerState = addLabelled(p, "State:", 100, 3750, 600, "txtBuyerState", 720, 4400, true);
    txtBuyerGstin = addLabelled(p, "GSTIN/ UIN:", 100, 4010, 1100, "txtBuyerGstin", 1220, 3900, true);
    buildGrid();
    buildFoot();
}

void NoteForm::buildGrid()
{
    QWidget* p = m_page;
    const auto head = [p](const char* caption, invoicepage::Column col) {
        QLabel* label = addLabel(p, caption, col.left, HeadTop, col.width, Qt::AlignHCenter);
        label->setFont(styled(p, true));
        return label;
    };
    head("S.No.", SNo);
    head("Description of Goods", Desc);
    head("HSN/ SAC", Hsn);
    lblLeft = Named(head("Left (Qty / Rs.)", Left), QStringLiteral("lblLeft"));
    head("Quantity", Qty);
    head("Per", Per);
    head("Value (Rs.)", Value);
    const auto box = [p](Cells& column, const char* stem, int row, const invoicepage::Column col, bool readOnly,
                         Qt::Alignment align) {
        column[row] = addBox(p, QStringLiteral("%1_%2").arg(QLatin1String(stem)).arg(row), col.left,
                             FirstRowTop + (row - 1) * RowPitch, col.width, readOnly, align);
    };
    for (int row = 1; row <= Rows; ++row) {
        box(txtSNo, "txtSNo", row, SNo, true, Qt::AlignHCenter);
        box(txtDescription, "txtDescription", row, Desc, true, {});
        box(txtHsn, "txtHsn", row, Hsn, true, {});
        box(txtLeft, "txtLeft", row, Left, true, Qt::AlignRight);
        box(txtQuantity, "txtQuantity", row, Qty, false, Qt::AlignRight);
        box(txtPer, "txtPer", row, Per, true, {});
        box(txtValue, "txtValue", row, Value, false, Qt::AlignRight);
    }
}

void NoteForm::buildFoot()
{
    QWidget* p = m_page;
    addLabel(p, "Taxable Value", Desc.left + 60, TaxTop, Desc.width);
    txtTotalValue = addBox(p, "txtTotalValue", Value.left, TaxTop, Value.width, true, Qt::AlignRight);
    txtTaxLabel = addBox(p, "txtTaxLabel", Desc.left, TaxTop + RowPitch, Desc.width, true);
    txtFirstTax = addBox(p, "txtFirstTax", Value.left, TaxTop + RowPitch, Value.width, true, Qt::AlignRight);
    txtSgstLabel = addBox(p, "txtSgstLabel", Desc.left, TaxTop + 2 * RowPitch, Desc.width, true);
    txtSgst = addBox(p, "txtSgst", Value.left, TaxTop + 2 * RowPitch, Value.width, true, Qt::AlignRight);
    addLabel(p, "Total", Desc.left + 60, TaxTop + 3 * RowPitch, Desc.width)->setFont(styled(p, true));
    txtTotal = addBox(p, "txtTotal", Value.left, TaxTop + 3 * RowPitch, Value.width, true, Qt::AlignRight);
    txtTotal->setFont(styled(p, true));
    addLabel(p, "Amount in words:", 100, WordsTop, 2000);
    txtAmountInWords = addLines(p, "txtAmountInWords", 100, WordsTop + 280, ContentWidth - 200, true, 560);
    txtAmountInWords->setFont(styled(p, true));
    addLabel(p, "This is a Computer Generated Note", 0, FootTop + 100, ContentWidth, Qt::AlignHCenter);
    lblIrn = Named(addLabel(p, {}, 100, IrnTop, ContentWidth - SignedQrSide - 200), QStringLiteral("lblIrn"));
    lblAck = Named(addLabel(p, {}, 100, IrnTop + RowPitch, ContentWidth - SignedQrSide - 200), QStringLiteral("lblAck"));
    // beneath the IRN's lines, clear of its QR code
    m_taxByRate = std::make_unique<TaxByRateTable>(p, IrnTop + 2 * RowPitch + 100, true);
    qrSigned = Named(new QrCodeView(p), QStringLiteral("qrSigned"));
    place(qrSigned, ContentWidth - SignedQrSide, IrnTop, SignedQrSide, SignedQrSide);
}

void NoteForm::showRegistration(const std::optional<InvoiceRegistration>& r)
{
    lblIrn->setText(r ? QStringLiteral("IRN: ") + r->irn : QString());
    lblAck->setText(r ? QStringLiteral("Ack No.: %1   Ack Date: %2").arg(r->ackNo, r->ackDate) : QString());
    qrSigned->setText(r ? r->signedQrCode : QString());
    qrSigned->setVisible(r.has_value());
}

void NoteForm::buildButtons()
{
    fraCommandButton = Named(new QGroupBox(this), QStringLiteral("fraCommandButton"));
    auto* column = new QVBoxLayout(fraCommandButton);
    const QString title = NoteTitle(m_kind);
    cmdNewNote = NewButton(fraCommandButton, "cmdNewNote", tr("&New Note"), tr("Start a new %1").arg(title));
    cmdSave = NewButton(fraCommandButton, "cmdSave", tr("&Save"), tr("Save the %1").arg(title));
    cmdPrint = NewButton(fraCommandButton, "cmdPrint", tr("&Print"), tr("Save and print the %1").arg(title));
    cmdCancel = NewButton(fraCommandButton, "cmdCancel", tr("Cance&l"), tr("Leave the note unsaved"));
    cmdClose = NewButton(fraCommandButton, "cmdClose", tr("&Close"), tr("Close this Window"));
    for (QPushButton* button : {cmdNewNote, cmdSave, cmdPrint, cmdCancel, cmdClose})
        column->addWidget(button);
}

void NoteForm::ClearControl()
{
    for (QLineEdit* box : m_page->findChildren<QLineEdit*>())
        box->clear();
    for (QPlainTextEdit* box : m_page->findChildren<QPlainTextEdit*>())
        box->clear();
    cboInvoiceNo->clear();
    cboInvoiceNo->setEditText({});
    cboReason->setCurrentIndex(-1);
    m_invoice.reset();
    m_left.clear();
    showRegistration(std::nullopt);
    m_note = SaleNote{};
    m_note.kind = m_kind;
}

void NoteForm::setEntryEnabled(bool enabled)
{
    cboInvoiceNo->setEnabled(enabled);
    cboReason->setEnabled(enabled);
    txtNoteDate->setReadOnly(!enabled);
    for (int row = 1; row <= Rows; ++row) {
        const bool used = enabled && row <= int(m_left.size());
        txtQuantity[row]->setReadOnly(!used);
        txtValue[row]->setReadOnly(!used);
    }
    cmdNewNote->setEnabled(!enabled);
    cmdSave->setEnabled(enabled);
    cmdPrint->setEnabled(enabled || m_saved);
    cmdCancel->setEnabled(enabled);
}

void NoteForm::cmdNewNote_Click()
{
    QStringList invoices;
    qint64 serial = 0;
    if (!Guarded<DataError>([&] {
            invoices = NoteableInvoices(m_db, ListedInvoices);
            serial = NextNoteSerial(m_db, m_kind);
        }))
        return;
    m_saved = false;
    ClearControl();
    lblCopy->setText(QStringLiteral("Original"));
    m_note.serial = serial;
    m_note.number = NoteNumber(m_kind, serial);
    txtNoteNo->setText(m_note.number);
    txtNoteDate->setText(DateText(QDate::currentDate()));
    cboInvoiceNo->addItems(invoices);
    cboInvoiceNo->setCurrentIndex(-1);
    cboInvoiceNo->setEditText({});
    m_pending = true;
    setPrinting(false);
    setEntryEnabled(true);
    cboInvoiceNo->setFocus();
}

void NoteForm::cboInvoiceNo_Click(int index)
{
    if (m_pending && index >= 0)
        chooseInvoice(cboInvoiceNo->itemText(index));
}

// The invoice the note corrects: saved and not cancelled; its lines with what is left of them.
void NoteForm::chooseInvoice(const QString& number)
{
    if (number.trimmed() == m_note.invoiceNumber)
        return; // chosen already
    std::optional<Invoice> invoice;
    std::vector<LineLeft> left;
    if (!Guarded<DataError>([&] {
            invoice = LoadInvoice(m_db, number.trimmed());
            if (invoice)
                left = LeftOfInvoice(m_db, *invoice);
        }))
        return;
    if (!invoice || invoice->cancelled()) {
        MsgBox(!invoice ? tr("There is no saved invoice %1 (Original Invoice No.).").arg(number)
                        : tr("Invoice %1 is cancelled: no note can be issued against it (Original Invoice No.).").arg(number));
        return;
    }
    m_invoice = invoice;
    m_left = left;
    const SaleNote fresh = NoteAgainst(m_kind, *invoice);
    m_note.invoiceSerial = fresh.invoiceSerial;
    m_note.invoiceNumber = fresh.invoiceNumber;
    m_note.invoiceDate = fresh.invoiceDate;
    m_note.buyerCode = fresh.buyerCode;
    m_note.buyer = fresh.buyer;
    m_note.mode = fresh.mode;
    m_note.rate = fresh.rate;
    showInvoiceParties(*invoice);
    for (int row = 1; row <= Rows; ++row) {
        const bool used = row <= int(left.size());
        const LineLeft* l = used ? &left[row - 1] : nullptr;
        txtSNo[row]->setText(used ? QString::number(row) : QString());
        txtDescription[row]->setText(used ? l->description : QString());
        txtHsn[row]->setText(used ? l->hsn : QString());
        txtPer[row]->setText(used ? l->unit : QString());
        txtLeft[row]->setText(used ? leftText(*l) : QString());
        txtQuantity[row]->clear();
        txtValue[row]->clear();
    }
    setEntryEnabled(true);
    RefreshTotals();
}

void NoteForm::showInvoiceParties(const Invoice& invoice)
{
    txtCompanyName->setText(invoice.seller.name);
    txtAddress->setPlainText(invoice.seller.address);
    txtGstin->setText(invoice.seller.gstin);
    txtInvoiceRef->setText(tr("%1 of %2").arg(invoice.number, DateText(invoice.date)));
    txtBuyerName->setText(invoice.buyer.name);
    txtBuyerAddress->setPlainText(invoice.buyer.address);
    txtBuyerState->setText(invoice.buyer.state);
    txtBuyerGstin->setText(invoice.buyer.gstin);
}

// A quantity typed with no value: valued at what is left when all that is
// left comes back, else at the line's taxable value per unit.
void NoteForm::txtQuantity_LostFocus(int row)
{
    if (!m_pending || row > int(m_left.size()))
        return;
    double quantity = 0;
    const QString typed = txtQuantity[row]->text().trimmed();
    if (!typed.isEmpty() && txtValue[row]->text().trimmed().isEmpty() && ReadNumber(typed, quantity) && quantity > 0)
        txtValue[row]->setText(BoxAmountText(valueOfQuantity(row, quantity)));
    RefreshTotals();
}

Paise NoteForm::valueOfQuantity(int row, double quantity) const
{
    const LineLeft& left = m_left[row - 1];
    if (quantity == left.quantity && m_kind == NoteKind::Credit)
        return left.value;
    return left.invoiced > 0 ? ToPaise(quantity * ToRupees(left.invoicedValue) / left.invoiced) : 0;
}

bool NoteForm::readNote(SaleNote& note, bool strict) const
{
    note.lines.clear();
    for (int row = 1; row <= int(m_left.size()) && row <= Rows; ++row) {
        double quantity = 0;
        double value = 0;
        const QString qtyText = txtQuantity[row]->text().trimmed();
        const QString valueText = txtValue[row]->text().trimmed();
        if (qtyText.isEmpty() && valueText.isEmpty())
            continue;
        const QString line = tr(", line %1").arg(row);
        if (strict) {
            if (!qtyText.isEmpty() && !zelva::ReadNumber(qtyText, tr("Quantity") + line, quantity))
                return false;
            if (!valueText.isEmpty() && !zelva::ReadNumber(valueText, tr("Value") + line, value))
                return false;
        } else {
            ReadNumber(qtyText, quantity);
            ReadNumber(valueText, value);
        }
        const LineLeft& left = m_left[row - 1];
        // a quantity with no value typed is valued as leaving its box values it
        const Paise amount = valueText.isEmpty() && quantity > 0 ? valueOfQuantity(row, quantity) : ToPaise(value);
        note.lines.push_back({left.goodsRow, left.description, left.hsn, left.unit, quantity, amount, 0, 0, left.gstRate});
    }
    note.date = ReadDateText(txtNoteDate->text());
    note.reason = cboReason->currentIndex() >= 0 ? cboReason->currentText() : QString();
    note.issuedBy = m_operator;
    ComputeNoteTotals(note);
    return true;
}

void NoteForm::RefreshTotals()
{
    if (!m_pending)
        return;
    readNote(m_note, false);
    txtReason->setText(m_note.reason);
    showTotals();
}

void NoteForm::showTotals()
{
    const bool taxed = !m_note.taxLabel.isEmpty();
    txtTaxLabel->setText(m_note.taxLabel);
    txtFirstTax->setText(taxed ? BoxAmountText(m_note.firstTax) : QString());
    const bool sgst = taxed && m_note.mode == TaxMode::Cgst;
    txtSgstLabel->setText(sgst ? (m_note.rate ? TaxRowLabel(m_note.mode, *m_note.rate, true) : MixedRatesLabel(m_note.mode, true)) : QString());
    txtSgst->setText(sgst ? BoxAmountText(m_note.sgst) : QString());
    txtTotalValue->setText(BoxAmountText(m_note.taxable));
    txtTotal->setText(BoxAmountText(m_note.total));
    txtAmountInWords->setPlainText(m_note.words);
    m_taxByRate->show(m_note.mode, m_note.taxByRate());
}

bool NoteForm::save()
{
    SaleNote note = m_note;
    if (!readNote(note, true))
        return false;
    note.time = TimeTextHMS(QTime::currentTime());
    StoredNote stored;
    if (!Guarded<DataError>([&] { stored = StoreSaleNote(m_db, note); }))
        return false;
    if (!stored.saved()) {
        MsgBox(stored.refusal);
        return false;
    }
    if (stored.number != note.number)
        MsgBox(tr("Number %1 was taken by another note meanwhile. This note is saved as %2.").arg(note.number, stored.number));
    std::optional<SaleNote> kept;
    Guarded<DataError>([&] { kept = LoadSaleNote(m_db, stored.number); });
    m_pending = false;
    m_saved = true;
    if (kept)
        showSavedNote(*kept);
    MsgBox(QStringLiteral("Saved Successfully"));
    return true;
}

void NoteForm::cmdSave_Click()
{
    if (m_pending)
        save();
}

void NoteForm::showSavedNote(const SaleNote& note)
{
    std::optional<Invoice> invoice;
    Guarded<DataError>([&] { invoice = LoadInvoice(m_db, note.invoiceNumber); });
    m_pending = false;
    m_saved = true;
    m_note = note;
    m_left.clear();
    txtNoteNo->setText(note.number);
    txtNoteDate->setText(DateText(note.date));
    txtReason->setText(note.reason);
    cboInvoiceNo->clear();
    if (invoice)
        showInvoiceParties(*invoice);
    else
        txtInvoiceRef->setText(tr("%1 of %2").arg(note.invoiceNumber, DateText(note.invoiceDate)));
    showLines(note.lines);
    showTotals();
    showRegistration(note.registration);
    setPrinting(false);
    setEntryEnabled(false);
}

void NoteForm::showLines(const std::vector<NoteLine>& lines)
{
    for (int row = 1; row <= Rows; ++row) {
        const bool used = row <= int(lines.size());
        const NoteLine line = used ? lines[row - 1] : NoteLine{};
        txtSNo[row]->setText(used ? QString::number(row) : QString());
        txtDescription[row]->setText(line.description);
        txtHsn[row]->setText(line.hsn);
        txtPer[row]->setText(line.unit);
        txtLeft[row]->clear();
        txtQuantity[row]->setText(quantityText(line.quantity));
        txtValue[row]->setText(used ? BoxAmountText(line.value) : QString());
    }
}

// While printing: no lists, no Left column; the boxes beneath the lists show what they hold.
void NoteForm::setPrinting(bool printing)
{
    const bool entering = m_pending;
    cboInvoiceNo->setVisible(!printing && entering);
    cboReason->setVisible(!printing && entering);
    lblLeft->setVisible(!printing && entering);
    for (int row = 1; row <= Rows; ++row)
        txtLeft[row]->setVisible(!printing && entering);
}

bool NoteForm::printCopies()
{
    static const std::array<QString, 2> captions{QStringLiteral("Original"), QStringLiteral("Duplicate")};
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    setPrinting(true);
    const bool printed = PrintWidgetPages(m_page, int(captions.size()),
                                          [this](int copy) { lblCopy->setText(captions[copy]); }, m_note.number,
                                          PrintsFolder(m_db.folder()))
                             .printed;
    lblCopy->setText(captions[0]);
    setPrinting(false);
    return printed;
}

void NoteForm::cmdPrint_Click()
{
    if (m_pending && !save())
        return; // told why; nothing is printed of a note not saved
    if (m_saved)
        printCopies();
}

void NoteForm::cmdCancel_Click()
{
    m_pending = false;
    m_saved = false;
    ClearControl();
    setPrinting(false);
    setEntryEnabled(false);
}
