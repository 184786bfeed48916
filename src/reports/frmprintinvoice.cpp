#include "reports/frmprintinvoice.h"

#include "sales/companypayment.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "invoice/quickbill.h"
#include "invoice/rptinvoice.h"
#include "sales/countersettings.h"
#include "sales/invoicestore.h"
#include "platform/shownvalues.h"
#include "platform/money.h"
#include "platform/period.h"
#include "reports/frmaudittrail.h"
#include "reports/invoicelist.h"
#include "reports/tablereport.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/reportwindow.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

const QString DuplicateCaption = QStringLiteral("Duplicate Copy");

// The invoice report with the copy caption at the top right of every page.
report::ReportLayout duplicateLayout()
{
    report::ReportLayout layout = rptInvoice();
    layout.caption = QStringLiteral("Tax Invoice %1").arg(DuplicateCaption);
    layout.pageHeader.labels.push_back(
        report::Label { DuplicateCaption, { 7800, 0, layout.width - 7800, 285 }, {}, report::Align::Right });
    return layout;
}

} // namespace

frmPrintInvoice::frmPrintInvoice(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , txtFind(NewBox(this, "txtFind"))
    , grdInvoices(NewTableGrid(this, "grdInvoices"))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show Duplicate"), tr("Show the chosen invoice to print it")))
    , cmdQuickBill(NewButton(this, "cmdQuickBill", tr("&Quick Bill"),
                             tr("Print the chosen invoice again on the receipt printer")))
    , cmdHistory(NewButton(this, "cmdHistory", tr("Histor&y"), tr("Every change made to the chosen invoice")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Print Duplicate Invoice"));
    txtFind->setPlaceholderText(tr("part of the invoice number or buyer name"));

    auto* choice = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choice->addWidget(label);
        choice->addWidget(box);
    };
    labelled(tr("&From"), dtpFrom);
    labelled(tr("T&o"), dtpTo);
    labelled(tr("Fi&nd"), txtFind);
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    commands->addWidget(cmdShow);
    commands->addWidget(cmdQuickBill);
    commands->addWidget(cmdHistory);
    commands->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdInvoices, 1);
    column->addLayout(commands);
    resize(760, 480);

    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmPrintInvoice::refresh);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmPrintInvoice::refresh);
    connect(txtFind, &QLineEdit::textChanged, this, &frmPrintInvoice::refresh);
    connect(txtFind, &QLineEdit::returnPressed, cmdShow, &QPushButton::click);
    connect(grdInvoices, &QTableView::activated, this, [this] { showDuplicate(); });
    connect(cmdShow, &QPushButton::clicked, this, [this] { showDuplicate(); });
    connect(cmdQuickBill, &QPushButton::clicked, this, [this] { printQuickBill(); });
    connect(cmdHistory, &QPushButton::clicked, this, [this] {
        const int row = grdInvoices->currentIndex().row();
        if (row < 0)
            MsgBox(tr("Choose an invoice from the list first."));
        else
            OpenRecordHistory(this, m_db, QStringLiteral("BuyerInvoice"), GridText(grdInvoices, row, 0));
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    refresh();
}

void frmPrintInvoice::refresh()
{
    TableReport table;
    Guarded<DataError>([&] { table = SavedInvoiceList(m_db, dtpFrom->date(), dtpTo->date(), txtFind->text()); });
    ShowTable(grdInvoices, table);
    if (GridRows(grdInvoices) > 0)
        grdInvoices->selectRow(0);
}

bool frmPrintInvoice::chooseInvoice(const QString& number, const QDate& date)
{
    WidenDays(dtpFrom, dtpTo, date);
    txtFind->setText(number);
    return ChooseGridRow(grdInvoices, {{0, number}});
}

QStringList frmPrintInvoice::listedNumbers() const
{
    QStringList numbers;
    for (int row = 0; row < GridRows(grdInvoices); ++row)
        numbers << GridText(grdInvoices, row, 0);
    return numbers;
}

ReportWindow* OpenDuplicateInvoice(QWidget* opener, Database& db, const QString& number)
{
    report::ReportRows rows;
    const bool read = Guarded<DataError>([&] {
        if (const std::optional<Invoice> invoice = LoadInvoice(db, number))
            rows.push_back(InvoiceReportRow(*invoice, LoadFirstCompanyPayment(db).upiId));
    });
    if (!read)
        return nullptr;
    if (rows.empty()) {
        MsgBox(QObject::tr("Invoice %1 is no longer in the invoice file.").arg(number));
        return nullptr;
    }
    auto* window = ReportWindow::Open(opener, duplicateLayout(), std::move(rows), PrintsFolder(db.folder()));
    window->setObjectName(QStringLiteral("rptDuplicateInvoice"));
    return window;
}

ReportWindow* frmPrintInvoice::showDuplicate()
{
    const int row = grdInvoices->currentIndex().row();
    if (row < 0) {
        MsgBox(tr("Choose an invoice from the list first."));
        return nullptr;
    }
    ReportWindow* window = OpenDuplicateInvoice(this, m_db, GridText(grdInvoices, row, 0));
    if (!window)
        refresh();
    return window;
}

bool frmPrintInvoice::printQuickBill()
{
    const int row = grdInvoices->currentIndex().row();
    if (row < 0) {
        MsgBox(tr("Choose an invoice from the list first."));
        return false;
    }
    const QString number = GridText(grdInvoices, row, 0);
    bool printed = false;
    Guarded<DataError>([&] {
        const std::optional<Invoice> stored = LoadInvoice(m_db, number);
        if (!stored) {
            MsgBox(tr("Invoice %1 is no longer in the invoice file.").arg(number));
            refresh();
            return;
        }
        if (stored->cancelled()) {
            MsgBox(tr("Invoice %1 is cancelled: no Quick Bill is printed of it. Show Duplicate shows it marked "
                      "cancelled.")
                       .arg(number));
            return;
        }
        const int roll = LoadFirstCompanyCounterSettings(m_db).rollWidthMm;
        printed = PrintQuickBill(m_db, *stored, DuplicateQuickBillLines(*stored, stored->seller, RollColumns(roll)),
                                 roll, LoadFirstCompanyPayment(m_db).upiId);
    });
    return printed;
}

} // namespace zelva
