#pragma once
// frmStockEntry: the items for sale (Stock) with their quantity on hand, or,
// opened for office items, the items kept for the business's own use
// (OtherItemStock).
#include "masters/masterform.h"

class QLineEdit;

class frmStockEntry : public zelva::MasterForm {
    Q_OBJECT
public:
    explicit frmStockEntry(zelva::Database& db, QWidget* parent = nullptr);

    // Switches the form to the office items (or back to the items for sale)
    // and puts it in the state it opens in.
    void setOfficeItems(bool office = true);
    bool officeItems() const { return m_officeItems; }

    QLineEdit* txtSno;
    QLineEdit* txtItemCode;
    QLineEdit* txtItemName;
    QLineEdit* txtHsn;
    // the item's GST rate in percent, kept in StockGstRate; blank for none
    // (the invoice then asks for the line's rate). Items for sale only.
    QLineEdit* txtGstRate;
    // the codes the item is scanned by, separated by commas or blanks; kept
    // in StockBarcode. Items for sale only.
    QLineEdit* txtBarcodes;
    QLineEdit* txtRate;
    QLineEdit* txtPer;
    QLineEdit* txtQuantity;
    // the quantity at or below which the item is ordered again; blank for
    // none (StockReorderLevel). Items for sale only.
    QLineEdit* txtReorderLevel;
    // what one unit of the opening stock cost, in rupees; blank when not
    // known. The quantity a new item is saved with is its opening quantity
    // (sales/openingstock.h). Items for sale only.
    QLineEdit* txtOpeningCost;
    QLineEdit* txtRemarks;
    QLabel* Image1;

public slots:
    void txtItemName_LostFocus();

protected:
    zelva::RecordSource& records() override;
    void bindRecords() override;
    void showRecord() override;
    void writeRecord() override;

private:
    void SetItemStockDatabase();
    void Display();
    void Insert();
    void SetOtherItemStockDatabase();
    void DisplayOtherItem();
    void InsertOtherItemStock();
    // The rate typed is one the portal accepts (or none), the HSN code long
    // enough for the company's turnover (or the operator saves anyway).
    bool acceptGstEntries();
    // The barcodes are well formed and no other item's, the reorder level a
    // number of 0 or more (or none); false (the operator told) otherwise.
    bool acceptCounterEntries();
    std::optional<double> reorderLevelTyped() const;
    // The opening cost typed is an amount of 0 or more (or none).
    bool acceptOpeningCost();
    // Inside the save's transaction: a new item's opening stock is the
    // quantity it is saved with; an edit changes the cost only.
    void storeOpeningStock();

    zelva::RecordSource datItemStock;
    zelva::RecordSource datOtherItemStock;
    bool m_officeItems = false;
};
