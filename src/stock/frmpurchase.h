#pragma once
// frmPurchase: goods bought from a supplier, one item per purchase
// (Purchase); a purchase of an existing item raises its quantity on hand.
#include "stock/stockmovementform.h"

class frmPurchase : public zelva::StockMovementForm {
    Q_OBJECT
public:
    explicit frmPurchase(zelva::Database& db, QWidget* parent = nullptr);

    QRadioButton* optExistingItem;
    QRadioButton* optNewItem;
    QRadioButton* optExistingItemForOffice;
    QRadioButton* optNewItemForOffice;
    QLineEdit* txtPSno;
    QLineEdit* txtPurchaseId;
    QLineEdit* txtPurchaseOrder;
    QLineEdit* txtPurchaseOrderDate;
    QLineEdit* txtPurchaseInvoiceNo;
    QLineEdit* txtPurchaseInvoiceDate;
    QLineEdit* txtSupplierName;
    QLineEdit* txtSupGstinNo;
    QLineEdit* txtSupAddress;

protected:
    void fillOwnDefaults() override;
};
