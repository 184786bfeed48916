#include "masters/stockentry.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>

using namespace zelva;

namespace {

const QString StockTitle = QStringLiteral("Add Item or Update Existing Item Details");
const QString OfficeTitle = QStringLiteral("Add Other Item or Update Existing Other Item Details");

} // namespace

frmStockEntry::frmStockEntry(Database& db, QWidget* parent)
    : MasterForm(tr("Stock Entry"), StockTitle, parent)
    , txtSno(NewBox(this, "txtSno"))
    , txtItemCode(NewBox(this, "txtItemCode"))
    , txtItemName(NewBox(this, "txtItemName"))
    , txtHsn(NewBox(this, "txtHsn"))
    , txtRate(NewBox(this, "txtRate"))
    , txtPer(NewBox(this, "txtPer"))
    , txtQuantity(NewBox(this, "txtQuantity"))
    , txtRemarks(NewBox(this, "txtRemarks"))
    , Image1(new QLabel(this))
    , datItemStock(db)
    , datOtherItemStock(db)
{
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardPixmap(QStyle::SP_FileDialogDetailedView));

    Setup setup;
    setup.fields = {{"sno", txtSno},
                    {"itemcode", txtItemCode, tr("Item Code")},
                    {"ItemName", txtItemName, tr("Item Name")},
                    {"ItemHsn", txtHsn, tr("HSN/ SAC")},
                    {"Rate", txtRate, tr("Rate (Rs.)"), true},
                    {"Per", txtPer, tr("Per")},
                    // a number that invoices, purchases and issues change too
                    {"Quantity", txtQuantity, tr("Quantity"), true, true},
                    {"Remarks", txtRemarks, tr("Remarks")}};
    setup.blankRules = {Mandatory(txtItemCode, tr("Press New Button first ")),
                        Mandatory(txtItemName, tr("Enter Name of the Item ")),
                        Optional(txtHsn, "N.A."),
                        Optional(txtRate, "0"),
                        Optional(txtPer, "N.A."),
                        Optional(txtQuantity, "0"),
                        Optional(txtRemarks, "N.A.")};
    setup.serialBox = txtSno;
    setup.codeBox = txtItemCode;
    setup.nameBox = txtItemName;
    setup.codeKind = CodeKind::Item;
    setup.listKeys = {{tr("Item Code"), "itemcode"}, {tr("Item Name"), "ItemName"}};
    setup.states = &ListFormStates();
    setup.picture = Image1;
    setUp(std::move(setup));
    txtPer->setMaxLength(LongestUnit);

    onLostFocus(txtItemName, [this] { txtItemName_LostFocus(); });
}

void frmStockEntry::setOfficeItems(bool office)
{
    datItemStock.cancelUpdate();
    datOtherItemStock.cancelUpdate();
    m_officeItems = office;
    lblTitle->setText(office ? OfficeTitle : StockTitle);
    resetToLoad();
}

void frmStockEntry::txtItemName_LostFocus()
{
    nameLeft();
}

RecordSource& frmStockEntry::records()
{
    return m_officeItems ? datOtherItemStock : datItemStock;
}

void frmStockEntry::bindRecords()
{
    if (m_officeItems)
        SetOtherItemStockDatabase();
    else
        SetItemStockDatabase();
}

void frmStockEntry::showRecord()
{
    if (m_officeItems)
        DisplayOtherItem();
    else
        Display();
}

void frmStockEntry::writeRecord()
{
    if (m_officeItems)
        InsertOtherItemStock();
    else
        Insert();
}

void frmStockEntry::SetItemStockDatabase()
{
    datItemStock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
}

void frmStockEntry::Display()
{
    copyRecordToBoxes(datItemStock);
}

void frmStockEntry::Insert()
{
    copyBoxesToRecord(datItemStock);
}

void frmStockEntry::SetOtherItemStockDatabase()
{
    datOtherItemStock.bind(DbFile::OtherItemStock, QStringLiteral("OtherItemStock"));
}

void frmStockEntry::DisplayOtherItem()
{
    copyRecordToBoxes(datOtherItemStock);
}

void frmStockEntry::InsertOtherItemStock()
{
    copyBoxesToRecord(datOtherItemStock);
}
