#pragma once
// frmPurchase: goods bought from a supplier, one item per purchase
// (Purchase); a purchase of an existing item raises its quantity on hand.
//
// Each purchase is also a line of the supplier's bill with its GST: the
// supplier picked from the supplier list (cboSupplier) or typed (a new name
// is offered for the list at Save), the supplier's State, the line's taxable
// value (blank: quantity times rate) and GST rate (the rates in force on the
// bill's date; none for a supplier without GSTIN unless under reverse
// charge), reverse charge and the kind of credit. The tax kind follows the
// supplier's State against the company's. A bill of several lines is saved
// line by line: after a Save, "Add this line to the bill just saved" puts the
// next line on the same bill; otherwise the same bill number from the same
// supplier in the same financial year is refused. A purchase saved with no GST
// rate chosen is stored as purchases always were, a bill without tax.
//
// The form fills a PurchaseBill and saves it through StorePurchaseBill,
// which refuses a bad bill whoever calls it.
#include "registers/savedinvoice.h"
#include "sales/purchasebill.h"
#include "stock/stockmovementform.h"

#include <optional>

class QCheckBox;
class QComboBox;

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
    // The bill's GST.
    QComboBox* cboSupplier;
    QLineEdit* txtSupState;
    QLineEdit* txtTaxable;
    QComboBox* cboGstRate;
    QCheckBox* chkReverseCharge;
    QComboBox* cboCredit; // the kinds of credit, as CreditKinds() lists them
    QCheckBox* chkAddToBill;
    QLabel* lblLineTax;
    QPushButton* cmdSupplierNote; // opens frmSupplierNote

public slots:
    void cboSupplier_Click(int index);
    void cmdSupplierNote_Click();

protected:
    void fillOwnDefaults() override;
    void refreshLists() override;
    void startNew() override;
    bool acceptOwnEntries() override;
    QString storeMovement(double quantity) override;
    void lockOwnExtras(bool locked) override;
    void clearOwnExtras() override;

private:
    void fillSuppliers();
    void showLineTax();
    // The rates the line may carry: in force on the bill's date, none when the
    // bill can carry no GST; the rate chosen kept when it is still offered.
    void offerRates();
    bool carriesGst() const;
    // The line as the boxes give it; false (the operator told) when they do not.
    bool readLine(zelva::PurchaseBillLine& line);
    std::optional<zelva::PurchaseBill> billFromBoxes();
    // The line's item as the boxes show it.
    void fillItem(zelva::PurchaseBillLine& line) const;

    std::vector<zelva::ListedSupplier> m_suppliers;
    qint64 m_pickedSupplier = 0; // the supplier chosen from the list, while its name stands
    bool m_addSupplier = false; // Save adds the typed supplier to the list
    std::optional<zelva::PurchaseBill> m_pending; // the bill of the line being saved
    std::optional<zelva::PurchaseBill> m_lastBill; // the bill the last Save stored a line of
    std::optional<zelva::CompanyGst> m_company; // read at New, and again at Save
    bool m_locked = true; // the boxes are read-only
};
