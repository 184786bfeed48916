#include "masters/stockentry.h"

#include "gst/gstrates.h"
#include "platform/textnum.h"
#include "sales/barcodes.h"
#include "sales/gstratestore.h"
#include "sales/openingstock.h"
#include "sales/reorderlevel.h"
#include "data/dataerror.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"

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
    , txtGstRate(NewBox(this, "txtGstRate"))
    , txtBarcodes(NewBox(this, "txtBarcodes"))
    , txtRate(NewBox(this, "txtRate"))
    , txtPer(NewBox(this, "txtPer"))
    , txtQuantity(NewBox(this, "txtQuantity"))
    , txtReorderLevel(NewBox(this, "txtReorderLevel"))
    , txtOpeningCost(NewBox(this, "txtOpeningCost"))
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
                    {"", txtGstRate, tr("GST Rate %")},
                    {"", txtBarcodes, tr("Barcodes")},
                    {"Rate", txtRate, tr("Rate (Rs.)"), true},
                    {"Per", txtPer, tr("Per")},
                    // a number that invoices, purchases and issues change too
                    {"Quantity", txtQuantity, tr("Quantity"), true, true},
                    {"", txtOpeningCost, tr("Opening Cost (Rs.)")},
                    {"", txtReorderLevel, tr("Reorder Level")},
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
    setup.acceptEntries = [this] { return acceptGstEntries() && acceptCounterEntries() && acceptOpeningCost(); };
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
    txtGstRate->setEnabled(!office);
    txtBarcodes->setEnabled(!office);
    txtReorderLevel->setEnabled(!office);
    txtOpeningCost->setEnabled(!office);
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
    const std::optional<double> rate = LoadItemGstRate(datItemStock.database(), txtItemCode->text());
    txtGstRate->setText(rate ? Str(*rate) : QString());
    txtBarcodes->setText(LoadItemBarcodes(datItemStock.database(), txtItemCode->text()).join(QStringLiteral(", ")));
    const std::optional<double> level = LoadReorderLevel(datItemStock.database(), txtItemCode->text());
    txtReorderLevel->setText(level ? Str(*level) : QString());
    const std::optional<OpeningStock> opening = LoadOpeningStock(datItemStock.database(), txtItemCode->text());
    txtOpeningCost->setText(opening && opening->unitCost ? AmountText(*opening->unitCost) : QString());
}

// Inside the save's transaction: the item and its rate land together.
void frmStockEntry::Insert()
{
    copyBoxesToRecord(datItemStock);
    double rate = 0;
    const bool given = !txtGstRate->text().trimmed().isEmpty() && zelva::ReadNumber(txtGstRate->text(), rate);
    StoreItemGstRateWithin(datItemStock.database(), txtItemCode->text(),
                           given ? std::optional<double>(rate) : std::nullopt);
    StoreItemBarcodesWithin(datItemStock.database(), txtItemCode->text(), SplitBarcodes(txtBarcodes->text()));
    StoreReorderLevelWithin(datItemStock.database(), txtItemCode->text(), reorderLevelTyped());
    storeOpeningStock();
}

void frmStockEntry::storeOpeningStock()
{
    Database& db = datItemStock.database();
    const QString code = txtItemCode->text();
    const std::optional<Paise> cost = OpeningCostTyped(txtOpeningCost->text());
    if (datItemStock.mode() == RecordSource::Mode::Adding) {
        const double quantity = Val(txtQuantity->text());
        StoreOpeningStockWithin(db, code, quantity != 0 || cost ? std::optional<OpeningStock>(OpeningStock{quantity, cost}) : std::nullopt);
        return;
    }
    const std::optional<OpeningStock> kept = LoadOpeningStock(db, code);
    if (!kept && !cost)
        return; // an item of no opening stock kept stays so until a cost is given
    StoreOpeningStockWithin(db, code, OpeningStock{kept ? kept->quantity : OpeningQuantityOf(db, code), cost});
}

bool frmStockEntry::acceptOpeningCost()
{
    if (m_officeItems)
        return true;
    const QString refusal = OpeningCostRefusal(txtOpeningCost->text(), tr("Opening Cost (Rs.)"));
    if (refusal.isEmpty())
        return true;
    MsgBox(refusal);
    txtOpeningCost->setFocus();
    return false;
}

std::optional<double> frmStockEntry::reorderLevelTyped() const
{
    double level = 0;
    if (txtReorderLevel->text().trimmed().isEmpty() || !zelva::ReadNumber(txtReorderLevel->text(), level))
        return std::nullopt;
    return level;
}

bool frmStockEntry::acceptCounterEntries()
{
    if (m_officeItems)
        return true;
    QString refusal;
    if (!Guarded<DataError>([&] {
            refusal = BarcodesRefusal(datItemStock.database(), txtItemCode->text(), SplitBarcodes(txtBarcodes->text()));
        }))
        return false;
    if (!refusal.isEmpty()) {
        MsgBox(refusal + tr(" (Barcodes)"));
        txtBarcodes->setFocus();
        return false;
    }
    double level = 0;
    if (txtReorderLevel->text().trimmed().isEmpty())
        return true;
    if (!zelva::ReadNumber(txtReorderLevel->text(), tr("Reorder Level"), level)) {
        txtReorderLevel->setFocus();
        return false;
    }
    if (level < 0) {
        MsgBox(tr("A reorder level cannot be below 0: \"%1\" is (Reorder Level).").arg(txtReorderLevel->text()));
        txtReorderLevel->setFocus();
        return false;
    }
    return true;
}

bool frmStockEntry::acceptGstEntries()
{
    if (m_officeItems)
        return true;
    const QString typed = txtGstRate->text().trimmed();
    double rate = 0;
    if (!typed.isEmpty()) {
        if (!zelva::ReadNumber(typed, tr("GST Rate %"), rate)) {
            txtGstRate->setFocus();
            return false;
        }
        if (!PortalAcceptsRate(rate)) {
            MsgBox(tr("The GST portal does not accept a rate of %1% (GST Rate %).").arg(typed));
            txtGstRate->setFocus();
            return false;
        }
    }
    const std::optional<bool> aboveFiveCrore = LoadFirstCompanyAboveFiveCrore(datItemStock.database());
    const QString hsnProblem = aboveFiveCrore ? HsnLengthProblem(txtHsn->text(), *aboveFiveCrore) : QString();
    if (!hsnProblem.isEmpty() && !AskYesNo(hsnProblem + tr(" (HSN/ SAC) Save anyway?"))) {
        txtHsn->setFocus();
        return false;
    }
    return true;
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
