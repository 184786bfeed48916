#include "reports/frmgstrates.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "gst/taxheads.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "sales/gstratestore.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

QString dayText(const QDate& day) { return day.isValid() ? DateText(day) : QString(); }

} // namespace

frmGstRates::frmGstRates(Database& db, QWidget* parent)
    : QWidget(parent)
    , grdRates(NewTableGrid(this, "grdRates"))
    , txtRate(NewBox(this, "txtRate"))
    , txtFrom(NewBox(this, "txtFrom"))
    , txtTo(NewBox(this, "txtTo"))
    , chkSpecial(Named(new QCheckBox(tr("&Special rate (only for the items that carry it)"), this),
                       QStringLiteral("chkSpecial")))
    , txtNote(NewBox(this, "txtNote"))
    , cmdAdd(NewButton(this, "cmdAdd", tr("&Add"), tr("Add the rate from its notified date")))
    , cmdEndRate(NewButton(this, "cmdEndRate", tr("&End Rate"), tr("The selected rate ends on the day typed in To")))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("GST Rates"));
    auto* entry = new QFormLayout;
    entry->addRow(tr("&GST rate %"), txtRate);
    entry->addRow(tr("&From (dd/mm/yyyy)"), txtFrom);
    entry->addRow(tr("&Last day (dd/mm/yyyy, blank while in force)"), txtTo);
    entry->addRow(QString(), chkSpecial);
    entry->addRow(tr("&Note"), txtNote);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdEndRate})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {cmdPrint, cmdClose})
        buttons->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addWidget(grdRates, 1);
    column->addLayout(entry);
    column->addLayout(buttons);
    setTabOrder(grdRates, txtRate);
    setTabOrder(txtRate, txtFrom);
    setTabOrder(txtFrom, txtTo);
    setTabOrder(txtTo, chkSpecial);
    setTabOrder(chkSpecial, txtNote);
    setTabOrder(txtNote, cmdAdd);
    setTabOrder(cmdAdd, cmdEndRate);
    setTabOrder(cmdEndRate, cmdPrint);
    setTabOrder(cmdPrint, cmdClose);
    resize(820, 560);

    connect(cmdAdd, &QPushButton::clicked, this, &frmGstRates::cmdAdd_Click);
    connect(cmdEndRate, &QPushButton::clicked, this, &frmGstRates::cmdEndRate_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, ratesTable(), PrintsFolder(m_db.folder())); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    Guarded<DataError>([&] { m_rates = LoadGstRates(m_db); });
    showRates();
}

TableReport frmGstRates::ratesTable() const
{
    TableReport table;
    table.caption = tr("GST Rates");
    table.title = tr("GST Rates");
    table.columns = {{tr("Rate %"), 900, true}, {tr("CGST %"), 900, true}, {tr("SGST %"), 900, true},
                     {tr("From"), 1200}, {tr("To"), 1200}, {tr("Offered"), 1300}, {tr("Note"), 4000}};
    for (const GstRate& rate : m_rates)
        table.lines.push_back({Str(rate.percent), Str(HalfRate(rate.percent)), Str(HalfRate(rate.percent)),
                               dayText(rate.from), dayText(rate.to),
                               rate.special ? tr("items carrying it") : tr("every item"), rate.note});
    return table;
}

void frmGstRates::showRates()
{
    ShowTable(grdRates, ratesTable());
}

bool frmGstRates::store(const GstRateTable& changed)
{
    if (!Guarded<DataError>([&] { StoreGstRates(m_db, changed); }))
        return false;
    m_rates = changed;
    showRates();
    MsgBox(tr("Saved Successfully"));
    return true;
}

void frmGstRates::cmdAdd_Click()
{
    GstRate rate;
    if (!ReadNumber(txtRate->text(), tr("Rate %"), rate.percent)) {
        txtRate->setFocus();
        return;
    }
    rate.from = ReadDateText(txtFrom->text());
    const QString to = txtTo->text().trimmed();
    rate.to = ReadDateText(to);
    if (!to.isEmpty() && !rate.to.isValid()) {
        MsgBox(tr("Type the last day of the rate as dd/mm/yyyy, or leave Last day blank while it is in force (Last day)."));
        txtTo->setFocus();
        return;
    }
    rate.special = chkSpecial->isChecked();
    rate.note = txtNote->text().trimmed();
    const QString refusal = GstRateRefusal(m_rates, rate);
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        (refusal.contains(QLatin1String("(From)")) ? txtFrom : refusal.contains(QLatin1String("(Last day)")) ? txtTo : txtRate)
            ->setFocus();
        return;
    }
    GstRateTable changed = m_rates;
    changed.push_back(rate);
    if (store(changed))
        for (QLineEdit* box : {txtRate, txtFrom, txtTo, txtNote})
            box->clear();
}

void frmGstRates::cmdEndRate_Click()
{
    const QModelIndexList picked = grdRates->selectionModel() ? grdRates->selectionModel()->selectedRows() : QModelIndexList{};
    const int row = picked.isEmpty() ? grdRates->currentIndex().row() : picked.first().row();
    if (row < 0 || size_t(row) >= m_rates.size()) {
        MsgBox(tr("Pick the rate that ends in the list first."));
        grdRates->setFocus();
        return;
    }
    const QDate last = ReadDateText(txtTo->text());
    GstRateTable changed = m_rates;
    GstRate& ending = changed[size_t(row)];
    if (!last.isValid() || last < ending.from) {
        MsgBox(tr("Type the last day of the %1% rate as dd/mm/yyyy, not before %2 (Last day).")
                   .arg(Str(ending.percent), dayText(ending.from)));
        txtTo->setFocus();
        return;
    }
    ending.to = last;
    if (store(changed))
        txtTo->clear();
}

} // namespace zelva
