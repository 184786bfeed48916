#include "masters/openingbills.h"

#include "data/dataerror.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zelva {

namespace {

enum Column { NumberColumn, DateColumn, AmountColumn };

QString tr(const char* text) { return QCoreApplication::translate("frmOpeningBills", text); }

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void addRow(QTableWidget* grid, const QString& number, const QString& date, const QString& amount)
{
    const int row = grid->rowCount();
    grid->insertRow(row);
    grid->setItem(row, NumberColumn, new QTableWidgetItem(number));
    grid->setItem(row, DateColumn, new QTableWidgetItem(date));
    auto* money = new QTableWidgetItem(amount);
    money->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->setItem(row, AmountColumn, money);
}

// The rows as bills, a row whose amount is blank left out (and taken off the
// grid, so that what stays is what is saved); false, the operator told and
// the box selected, at the first date or amount that is none.
bool readBills(QTableWidget* grid, std::vector<OpeningBill>& bills)
{
    for (int row = grid->rowCount() - 1; row >= 0; --row)
        if (cellText(grid, row, AmountColumn).isEmpty())
            grid->removeRow(row);
    bills.clear();
    for (int row = 0; row < grid->rowCount(); ++row) {
        OpeningBill bill;
        bill.number = cellText(grid, row, NumberColumn);
        const QString date = cellText(grid, row, DateColumn);
        bill.date = ReadDateText(date);
        const auto refuse = [&](const QString& text, int column) {
            MsgBox(text);
            grid->setCurrentCell(row, column);
            return false;
        };
        if (!date.isEmpty() && !bill.date.isValid())
            return refuse(tr("Opening bill %1: \"%2\" is not a date dd/mm/yyyy (Bill Date).").arg(row + 1).arg(date),
                          DateColumn);
        if (!ReadAmount(cellText(grid, row, AmountColumn), bill.amount))
            return refuse(tr("Opening bill %1: \"%2\" is not an amount of money (Amount).")
                              .arg(row + 1)
                              .arg(cellText(grid, row, AmountColumn)),
                          AmountColumn);
        bills.push_back(bill);
    }
    return true;
}

} // namespace

bool EditOpeningBills(QWidget* parent, Database& db, PartyKind kind, const QString& partyCode, const QString& partyName)
{
    std::optional<QDate> booksStart;
    std::vector<OpeningBill> bills;
    if (!Guarded<DataError>([&] {
            booksStart = BooksStartDay(db);
            bills = LoadOpeningBills(db, kind, partyCode);
        }))
        return false;
    if (!booksStart) {
        MsgBox(tr("Give the day the books start here on Company Details first (Books start on)."));
        return false;
    }

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgOpeningBills"));
    dialog.setWindowTitle(tr("Opening Balance of %1").arg(partyName));
    auto* lblBooksStart = Named(new QLabel(&dialog), QStringLiteral("lblBooksStart"));
    lblBooksStart->setTextFormat(Qt::PlainText);
    lblBooksStart->setText(
        (kind == PartyKind::Buyer ? tr("What %1 owed on %2, the day the books start here: one amount, or the earlier "
                                       "bills for their ageing.")
                                  : tr("What the shop owed %1 on %2, the day the books start here: one amount, or the "
                                       "earlier bills for their ageing."))
            .arg(partyName, DateText(*booksStart)));
    lblBooksStart->setWordWrap(true);
    auto* grdOpeningBills = Named(new QTableWidget(0, 3, &dialog), QStringLiteral("grdOpeningBills"));
    grdOpeningBills->setHorizontalHeaderLabels({tr("Bill No"), tr("Bill Date"), tr("Amount (Rs.)")});
    grdOpeningBills->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (const OpeningBill& b : bills)
        addRow(grdOpeningBills, b.number, DateText(b.date), AmountText(b.amount));
    if (bills.empty()) // one amount: the row is ready for it
        addRow(grdOpeningBills, OneAmountNumber, DateText(*booksStart), {});
    auto* cmdAddBill = NewButton(&dialog, "cmdAddBill", tr("&Add Bill"), tr("Another earlier bill"));
    auto* cmdRemoveBill = NewButton(&dialog, "cmdRemoveBill", tr("&Remove Bill"), tr("Take the chosen bill off"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);

    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(cmdAddBill);
    rowButtons->addWidget(cmdRemoveBill);
    rowButtons->addStretch();
    auto* page = new QVBoxLayout(&dialog);
    page->addWidget(lblBooksStart);
    page->addWidget(grdOpeningBills, 1);
    page->addLayout(rowButtons);
    page->addWidget(buttons);
    QWidget::setTabOrder(grdOpeningBills, cmdAddBill);
    QWidget::setTabOrder(cmdAddBill, cmdRemoveBill);
    QWidget::setTabOrder(cmdRemoveBill, buttons);
    dialog.resize(560, 340);
    grdOpeningBills->setCurrentCell(0, AmountColumn);
    grdOpeningBills->setFocus();

    QObject::connect(cmdAddBill, &QPushButton::clicked, &dialog, [&] {
        addRow(grdOpeningBills, {}, DateText(*booksStart), {});
        grdOpeningBills->setCurrentCell(grdOpeningBills->rowCount() - 1, NumberColumn);
        grdOpeningBills->setFocus();
    });
    QObject::connect(cmdRemoveBill, &QPushButton::clicked, &dialog, [&] {
        if (grdOpeningBills->currentRow() >= 0)
            grdOpeningBills->removeRow(grdOpeningBills->currentRow());
        grdOpeningBills->setFocus();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        std::vector<OpeningBill> typed;
        if (!readBills(grdOpeningBills, typed))
            return; // the window stays, with what was typed
        QString refused;
        if (!Guarded<DataError>([&] { refused = StoreOpeningBills(db, kind, partyCode, typed); }))
            return;
        if (!refused.isEmpty()) {
            MsgBox(refused);
            return;
        }
        dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zelva
