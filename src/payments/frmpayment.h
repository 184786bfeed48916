#pragma once
// The Payment window: money paid to a supplier, the receipt window's twin.
// Choosing the supplier lists its open bills with what is left on each; the
// amount typed is allotted oldest first, and each line's allotment can be
// changed before Save. What is not allotted stays as an advance to the
// supplier; more than the shop owes it is kept so only after a Yes. Save
// stores the payment whole or not at all (the allotments checked again
// inside the save against what is left now) and shows the voucher beside the
// boxes; Print prints it (PDF in Prints when there is no printer). A saved
// payment is never edited: Cancel Payment marks the payment of the number
// typed cancelled, which frees its allotments.
#include "payments/receiptpage.h"
#include "sales/payable.h"
#include "sales/paymentstore.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class Database;

class frmPayment : public QWidget {
    Q_OBJECT
public:
    explicit frmPayment(Database& db, QString operatorName = {}, QWidget* parent = nullptr);

    QLineEdit* txtPaymentNo;
    QComboBox* cboSupplierName;
    QLineEdit* txtDate;
    QComboBox* cboMode;
    QLineEdit* txtReference;
    QLineEdit* txtBank;
    QLineEdit* txtAmount;
    QPushButton* cmdAllot;
    QTableWidget* grdBills; // bill, date, amount, left, allotted (typed)
    QLabel* lblOwed;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QLineEdit* txtCancelNo;
    QLineEdit* txtReason;
    QPushButton* cmdCancelPayment;
    ReceiptPage* pageVoucher;

    enum Column { BillColumn, DateColumn, AmountColumn, LeftColumn, AllotColumn };

    // The payment the voucher shows (the last saved or cancelled one).
    const Payment& shownPayment() const { return m_shown; }

private:
    struct SupplierChoice {
        qint64 serial = 0;
        QString name;
    };
    void loadSuppliers();
    void cboSupplierName_Click(int index);
    void showOpenBills();
    void cmdAllot_Click();
    void cmdSave_Click();
    void cmdPrint_Click();
    void cmdCancelPayment_Click();
    void updateOwed();
    Paise owedNow() const;
    bool readPayment(Payment& payment);
    void ClearControl();
    void showOnPage(const Payment& payment);

    Database& m_db;
    QString m_operator;
    std::vector<SupplierChoice> m_suppliers;
    std::vector<OpenInvoice> m_open;
    Paise m_advance = 0;
    Payment m_shown;
};

} // namespace zelva
