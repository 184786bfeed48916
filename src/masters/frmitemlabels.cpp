#include "masters/frmitemlabels.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "masters/labelsheet.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"
#include "ui/printing.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace zelva {

namespace {

enum Column { CodeColumn, NameColumn, BarcodeColumn, CountColumn };

// More labels of one item than this in one go is a slip of the keys.
constexpr int MostLabels = 10000;

QString itemEntry(const ItemLabel& item)
{
    return QStringLiteral("%1 (%2)").arg(item.name, item.itemCode);
}

QString noBarcode(const ItemLabel& item)
{
    return QObject::tr("%1 has no barcode: give it one in Stock Entry before printing its labels.").arg(itemEntry(item));
}

// A whole number of labels from 1 to MostLabels; else the operator told, naming the box.
bool readCount(const QString& text, const QString& boxName, int& count)
{
    double typed = 0;
    if (!ReadNumber(text, boxName, typed))
        return false;
    if (typed < 1 || typed > MostLabels || typed != std::floor(typed)) {
        MsgBox(QObject::tr("%1 must be a whole number of labels from 1 to %2; it is %3.")
                   .arg(boxName)
                   .arg(MostLabels)
                   .arg(text.trimmed()));
        return false;
    }
    count = int(typed);
    return true;
}

QLabel* buddyLabel(QWidget* parent, const QString& caption, QWidget* box)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(box);
    return label;
}

} // namespace

frmItemLabels::frmItemLabels(Database& db, QWidget* parent)
    : QWidget(parent)
    , cboItem(Named(new QComboBox(this), QStringLiteral("cboItem")))
    , txtCount(NewBox(this, "txtCount"))
    , cmdAdd(NewButton(this, "cmdAdd", tr("&Add"), tr("Add the labels of the item to the list")))
    , grdLabels(Named(new QTableWidget(0, 4, this), QStringLiteral("grdLabels")))
    , cmdRemove(NewButton(this, "cmdRemove", tr("Remo&ve"), tr("Take the chosen item off the list")))
    , txtBillNo(NewBox(this, "txtBillNo"))
    , cmdFromBill(NewButton(this, "cmdFromBill", tr("&Fill from Bill"),
                            tr("List a label for each unit of the goods of this purchase bill")))
    , cboLayout(Named(new QComboBox(this), QStringLiteral("cboLayout")))
    , txtStart(NewBox(this, "txtStart"))
    , cmdPrint(NewButton(this, "cmdPrint", tr("&Print"), tr("Print the labels")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("Item Labels"));
    cboItem->setEditable(true);
    MakeTypable(cboItem);
    MakeLongList(cboItem);
    txtCount->setText(QStringLiteral("1"));
    grdLabels->setHorizontalHeaderLabels({tr("Item Code"), tr("Item Name"), tr("Barcode"), tr("Labels")});
    grdLabels->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    grdLabels->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLabels->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLabels->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (const LabelLayout& layout : LabelLayouts())
        cboLayout->addItem(layout.name);
    txtStart->setText(QStringLiteral("1"));

    auto* pick = new QHBoxLayout;
    pick->addWidget(buddyLabel(this, tr("It&em"), cboItem));
    pick->addWidget(cboItem, 1);
    pick->addWidget(buddyLabel(this, tr("&Number of labels"), txtCount));
    pick->addWidget(txtCount);
    pick->addWidget(cmdAdd);
    auto* bill = new QHBoxLayout;
    bill->addWidget(buddyLabel(this, tr("Purchase Bill N&o."), txtBillNo));
    bill->addWidget(txtBillNo);
    bill->addWidget(cmdFromBill);
    bill->addStretch();
    bill->addWidget(cmdRemove);
    auto* sheet = new QHBoxLayout;
    sheet->addWidget(buddyLabel(this, tr("Sheet La&yout"), cboLayout));
    sheet->addWidget(cboLayout, 1);
    sheet->addWidget(buddyLabel(this, tr("&Start at label"), txtStart));
    sheet->addWidget(txtStart);
    sheet->addWidget(cmdPrint);
    sheet->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(pick);
    column->addWidget(grdLabels, 1);
    column->addLayout(bill);
    column->addLayout(sheet);
    resize(760, 480);

    connect(cmdAdd, &QPushButton::clicked, this, &frmItemLabels::cmdAdd_Click);
    connect(txtCount, &QLineEdit::returnPressed, cmdAdd, &QPushButton::click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmItemLabels::cmdRemove_Click);
    connect(cmdFromBill, &QPushButton::clicked, this, &frmItemLabels::cmdFromBill_Click);
    connect(txtBillNo, &QLineEdit::returnPressed, cmdFromBill, &QPushButton::click);
    connect(cboLayout, &QComboBox::activated, this, &frmItemLabels::cboLayout_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmItemLabels::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    fillItems();
}

void frmItemLabels::fillItems()
{
    Guarded<DataError>([&] { m_items = LoadItemLabels(m_db); });
    QStringList entries;
    for (const ItemLabel& item : m_items)
        entries << itemEntry(item);
    SetEntries(cboItem, entries);
    ClearCombo(cboItem);
}

bool frmItemLabels::addLabels(const ItemLabel& item, int count)
{
    if (item.barcode.isEmpty()) {
        MsgBox(noBarcode(item));
        return false;
    }
    for (int row = 0; row < grdLabels->rowCount(); ++row)
        if (grdLabels->item(row, CodeColumn)->text() == item.itemCode) {
            QTableWidgetItem* cell = grdLabels->item(row, CountColumn);
            bool whole = false;
            const int before = cell->text().trimmed().toInt(&whole); // a count typed wrong is replaced
            cell->setText(QString::number((whole ? before : 0) + count));
            return true;
        }
    const int row = grdLabels->rowCount();
    grdLabels->insertRow(row);
    grdLabels->setItem(row, CodeColumn, FixedCell(item.itemCode, false));
    grdLabels->setItem(row, NameColumn, FixedCell(item.name, false));
    grdLabels->setItem(row, BarcodeColumn, FixedCell(item.barcode, false));
    auto* countCell = new QTableWidgetItem(QString::number(count));
    countCell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grdLabels->setItem(row, CountColumn, countCell);
    return true;
}

void frmItemLabels::cmdAdd_Click()
{
    const int index = cboItem->findText(cboItem->currentText().trimmed(), Qt::MatchFixedString);
    if (index < 0 || size_t(index) >= m_items.size()) {
        MsgBox(tr("Choose the item from the Item list first."));
        cboItem->setFocus();
        return;
    }
    int count = 0;
    if (!readCount(txtCount->text(), tr("Number of labels"), count)) {
        txtCount->setFocus();
        return;
    }
    if (addLabels(m_items[size_t(index)], count)) {
        ClearCombo(cboItem);
        txtCount->setText(QStringLiteral("1"));
    }
    cboItem->setFocus();
}

void frmItemLabels::cmdRemove_Click()
{
    const int row = grdLabels->currentRow();
    if (row < 0) {
        MsgBox(tr("Choose the item to take off the list first."));
        return;
    }
    grdLabels->removeRow(row);
}

void frmItemLabels::cmdFromBill_Click()
{
    const QString number = txtBillNo->text().trimmed();
    if (number.isEmpty()) {
        MsgBox(tr("Type the supplier's bill number into Purchase Bill No. first."));
        txtBillNo->setFocus();
        return;
    }
    Guarded<DataError>([&] {
        const std::optional<BillLabels> bill = LabelsOfPurchaseBill(m_db, number);
        if (!bill) {
            MsgBox(tr("No purchase bill has the number %1.").arg(number));
            return;
        }
        QStringList added, without;
        for (const LabelCount& count : bill->counts) {
            const std::optional<ItemLabel> item = LoadItemLabel(m_db, count.itemCode);
            if (!item)
                continue;
            if (item->barcode.isEmpty()) {
                without << itemEntry(*item);
                continue;
            }
            addLabels(*item, count.count);
            added << itemEntry(*item);
        }
        QString told = tr("From %1, dated %2: labels listed for %3 item(s).")
                           .arg(bill->reference, DateText(bill->date))
                           .arg(added.size());
        if (!without.isEmpty())
            told += QLatin1Char('\n') + tr("No barcode, so no labels (give them one in Stock Entry): %1.")
                                            .arg(without.join(QStringLiteral("; ")));
        MsgBox(told);
    });
}

void frmItemLabels::cboLayout_Click(int index)
{
    const bool sheet = index >= 0 && LabelLayouts()[size_t(index)].perSheet() > 1;
    txtStart->setEnabled(sheet); // a label printer's page holds one label
    if (!sheet)
        txtStart->setText(QStringLiteral("1"));
}

bool frmItemLabels::readLabels(std::vector<ItemLabel>& labels)
{
    if (grdLabels->rowCount() == 0) {
        MsgBox(tr("List the items to label first: choose an item and press Add."));
        return false;
    }
    for (int row = 0; row < grdLabels->rowCount(); ++row) {
        const QString code = grdLabels->item(row, CodeColumn)->text();
        const QString boxName = tr("Labels of %1").arg(grdLabels->item(row, NameColumn)->text());
        int count = 0;
        if (!readCount(grdLabels->item(row, CountColumn)->text(), boxName, count)) {
            grdLabels->setCurrentCell(row, CountColumn);
            return false;
        }
        const std::optional<ItemLabel> item = LoadItemLabel(m_db, code);
        if (!item) {
            MsgBox(tr("Item %1 is no longer in the stock items: take it off the list.").arg(code));
            grdLabels->setCurrentCell(row, CodeColumn);
            return false;
        }
        if (item->barcode.isEmpty()) {
            MsgBox(noBarcode(*item));
            grdLabels->setCurrentCell(row, CodeColumn);
            return false;
        }
        labels.insert(labels.end(), size_t(count), *item);
    }
    return true;
}

bool frmItemLabels::readStart(const LabelLayout& layout, int& start)
{
    double typed = 0;
    if (!ReadNumber(txtStart->text(), tr("Start at label"), typed))
        return false;
    if (typed < 1 || typed > layout.perSheet() || typed != std::floor(typed)) {
        MsgBox(tr("Start at label must be the place of a label on the sheet, from 1 to %1 (counted along each row, "
                  "top row first); it is %2.")
                   .arg(layout.perSheet())
                   .arg(txtStart->text().trimmed()));
        return false;
    }
    start = int(typed) - 1;
    return true;
}

void frmItemLabels::cmdPrint_Click()
{
    const LabelLayout& layout = LabelLayouts()[size_t(std::max(0, cboLayout->currentIndex()))];
    std::vector<ItemLabel> labels;
    int start = 0;
    bool read = false;
    if (!Guarded<DataError>([&] { read = readLabels(labels); }) || !read)
        return;
    if (!readStart(layout, start)) {
        txtStart->setFocus();
        return;
    }
    LabelSheetPage page(layout, std::move(labels), start);
    PrintWidgetPages(&page, page.sheetCount(), [&page](int sheet) { page.showSheet(sheet); },
                     QStringLiteral("Item Labels"), PrintsFolder(m_db.folder()), layout.paperMm, 0);
}

} // namespace zelva
