#include "reports/frmpurchasebills.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/datetext.h"
#include "platform/shownvalues.h"
#include "platform/period.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

frmPurchaseBills::frmPurchaseBills(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", MonthPeriod(QDate::currentDate().year(), QDate::currentDate().month()).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , cmdShow(NewButton(this, "cmdShow", tr("&Show"), tr("Show the bills of the period")))
    , grdBills(NewTableGrid(this, "grdBills"))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Preview, print or save as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save as CS&V"), tr("For a spreadsheet")))
    , cmdSaveXlsx(NewButton(this, "cmdSaveXlsx", tr("Save as E&xcel"), tr("An .xlsx workbook for the accountant")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Purchase Bill Register"));
    auto* choice = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choice->addWidget(label);
        choice->addWidget(box);
    };
    labelled(tr("&From"), dtpFrom);
    labelled(tr("T&o"), dtpTo);
    choice->addWidget(cmdShow);
    choice->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdPrint, cmdSaveCsv, cmdSaveXlsx, cmdClose})
        buttons->addWidget(b);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdBills, 1);
    column->addLayout(buttons);
    resize(1000, 600);

    connect(cmdShow, &QPushButton::clicked, this, &frmPurchaseBills::cmdShow_Click);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, registerTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), PurchaseRegisterCsv(m_register));
    });
    connect(cmdSaveXlsx, &QPushButton::clicked, this,
            [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), PurchaseRegisterSheet(m_register)); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    cmdShow_Click();
}

void frmPurchaseBills::cmdShow_Click()
{
    PurchaseRegister read;
    if (!Guarded<DataError>([&] { read = LoadPurchaseRegister(m_db, dtpFrom->date(), dtpTo->date()); }))
        return;
    m_register = std::move(read);
    ShowTable(grdBills, registerTable());
}

bool frmPurchaseBills::chooseBill(const QString& number, const QString& supplier, const QDate& date)
{
    WidenDays(dtpFrom, dtpTo, date);
    cmdShow_Click();
    return ChooseGridRow(grdBills, {{1, number}, {2, supplier}});
}

QString frmPurchaseBills::fileName() const
{
    return tr("Purchase Register %1 to %2")
        .arg(m_register.from.toString(QStringLiteral("yyyy-MM-dd")), m_register.to.toString(QStringLiteral("yyyy-MM-dd")));
}

TableReport frmPurchaseBills::registerTable() const
{
    TableReport table;
    table.caption = tr("Purchase Bill Register");
    table.title = tr("Purchase Register");
    table.subtitle = tr("Bills dated from %1 to %2").arg(DateText(m_register.from), DateText(m_register.to));
    const QStringList captions = PurchaseRegisterCaptions();
    const double widths[] = {1000, 1000, 1600, 1700, 600, 1300, 1100, 1100, 1100, 1300, 700, 900};
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({captions[i], widths[i], i >= 4 && i <= 9});
    const bool grouped = IndianDigitGrouping();
    const auto amounts = [grouped](Paise taxable, const TaxHeads& tax) {
        return QStringList{ShownAmountText(taxable, grouped), ShownAmountText(tax.igst, grouped),
                           ShownAmountText(tax.cgst, grouped), ShownAmountText(tax.sgst, grouped),
                           ShownAmountText(taxable + tax.total(), grouped)};
    };
    for (const PurchaseRegisterLine& line : m_register.lines)
        table.lines.push_back(QStringList{DateText(line.date), line.number, line.supplier, line.gstin,
                                          RateText(line.rate)}
                              + amounts(line.taxable, line.tax)
                              + QStringList{YesNoText(line.reverseCharge), ItcText(line)});
    for (const RateTotal& rate : m_register.byRate)
        table.lines.push_back(QStringList{tr("Total at %1%").arg(RateText(rate.rate)), {}, {}, {}, RateText(rate.rate)}
                              + amounts(rate.taxable, rate.tax) + QStringList{{}, {}});
    table.totals = QStringList{tr("Total"), {}, tr("%1 bills").arg(m_register.bills), {}, {}}
                   + amounts(m_register.taxable, m_register.tax) + QStringList{{}, {}};
    return table;
}

bool frmPurchaseBills::saveCsv(const QString& path) const { return SaveCsv(path, PurchaseRegisterCsv(m_register)); }

bool frmPurchaseBills::saveXlsx(const QString& path) const { return SaveXlsx(path, PurchaseRegisterSheet(m_register)); }

} // namespace zelva
