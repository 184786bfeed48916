#include "reports/frmcancelinvoice.h"

#include "data/dataerror.h"
#include "platform/datetext.h"
#include "reports/invoicelist.h"
#include "platform/period.h"
#include "sales/invoicecancel.h"
#include "sales/invoiceextras.h"
#include "sales/invoicestore.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

// Longest reason kept: enough for a sentence, short enough for the printed mark.
constexpr int LongestReason = 120;

} // namespace

frmCancelInvoice::frmCancelInvoice(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , txtFind(NewBox(this, "txtFind"))
    , grdInvoices(NewTableGrid(this, "grdInvoices"))
    , txtReason(NewBox(this, "txtReason"))
    , cmdCancelInvoice(NewButton(this, "cmdCancelInvoice", tr("C&ancel Invoice"),
          tr("Cancel the chosen invoice: it is kept, marked cancelled, and its stock comes back")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Cancel Invoice"));
    txtFind->setPlaceholderText(tr("part of the invoice number or buyer name"));
    txtReason->setMaxLength(LongestReason);
    txtReason->setPlaceholderText(tr("why the invoice is cancelled (required)"));

    const auto labelled = [this](QHBoxLayout* line, const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        line->addWidget(label);
        line->addWidget(box, box == txtReason ? 1 : 0);
    };
    auto* choice = new QHBoxLayout;
    labelled(choice, tr("&From"), dtpFrom);
    labelled(choice, tr("T&o"), dtpTo);
    labelled(choice, tr("Fi&nd"), txtFind);
    auto* commands = new QHBoxLayout;
    labelled(commands, tr("Rea&son"), txtReason);
    commands->addWidget(cmdCancelInvoice);
    commands->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdInvoices, 1);
    column->addLayout(commands);
    resize(760, 480);

    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmCancelInvoice::refresh);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmCancelInvoice::refresh);
    connect(txtFind, &QLineEdit::textChanged, this, &frmCancelInvoice::refresh);
    connect(cmdCancelInvoice, &QPushButton::clicked, this, &frmCancelInvoice::cmdCancelInvoice_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    refresh();
}

void frmCancelInvoice::refresh()
{
    TableReport table;
    Guarded<DataError>([&] { table = SavedInvoiceList(m_db, dtpFrom->date(), dtpTo->date(), txtFind->text()); });
    ShowTable(grdInvoices, table);
    if (GridRows(grdInvoices) > 0)
        grdInvoices->selectRow(0);
}

void frmCancelInvoice::cmdCancelInvoice_Click()
{
    const int row = grdInvoices->currentIndex().row();
    if (row < 0) {
        MsgBox(tr("Choose an invoice from the list first."));
        return;
    }
    const QString reason = txtReason->text().trimmed();
    if (reason.isEmpty()) {
        MsgBox(tr("Give the reason the invoice is cancelled (Reason)."));
        txtReason->setFocus();
        return;
    }
    const QString number = GridText(grdInvoices, row, 0);
    QString refused;
    if (!Guarded<DataError>([&] { refused = CancelRefusal(m_db, number); }))
        return;
    if (!refused.isEmpty()) { // said before asking: there is nothing to agree to
        MsgBox(refused);
        return;
    }
    if (!AskYesNo(tr("Cancel invoice %1 of %2 dated %3?\n\nIt stays under its number, marked cancelled, and its "
                     "goods come back into stock. This cannot be undone.")
                      .arg(number, GridText(grdInvoices, row, 2), GridText(grdInvoices, row, 1))))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    QString irnReminder;
    if (!Guarded<DataError>([&] {
            if (const auto invoice = LoadInvoice(m_db, number))
                irnReminder = IrnCancelReminder(*invoice);
            refused = CancelInvoice(m_db, number,
                { now.date(), TimeTextHMS(now.time()), reason, m_operator });
        }))
        return;
    if (!refused.isEmpty()) {
        MsgBox(refused);
        return;
    }
    MsgBox(tr("Invoice %1 is cancelled and its goods are back in stock.").arg(number));
    if (!irnReminder.isEmpty())
        MsgBox(irnReminder);
    txtReason->clear();
    refresh();
}

} // namespace zelva
