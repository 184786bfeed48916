#pragma once
// The Receipt window: money received from a buyer. Choosing the buyer lists
// its open invoices with what is left on each; the amount typed is allotted
// oldest first, and each line's allotment can be changed before Save. What
// is not allotted stays as the buyer's advance (taken by the buyer's later
// invoices when they are saved); more than the buyer owes is kept as advance
// only after a Yes. Save stores the receipt whole or not at all (the
// allotments checked again inside the save against what is left now) and
// shows the printed page beside the boxes; Print prints it (PDF in Prints
// when there is no printer). A saved receipt is never edited: Cancel Receipt
// marks the receipt of the number typed cancelled, which frees its allotments.
#include "payments/receiptpage.h"
#include "sales/receiptstore.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class Database;

class frmReceipt : public QWidget {
    Q_OBJECT
public:
    explicit frmReceipt(Database& db, QString operatorName = {}, QWidget* parent = nullptr);

    QLineEdit* txtReceiptNo;
    QComboBox* cboBuyerName;
    QLineEdit* txtDate;
    QComboBox* cboMode;
    QLineEdit* txtReference;
    QLineEdit* txtBank;
    QLineEdit* txtAmount;
    QPushButton* cmdAllot;
    QTableWidget* grdInvoices; // invoice, date, amount, left, allotted (typed)
    QLabel* lblOwed;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QLineEdit* txtCancelNo;
    QLineEdit* txtReason;
    QPushButton* cmdCancelReceipt;
    ReceiptPage* pageReceipt;

    enum Column { InvoiceColumn, DateColumn, AmountColumn, LeftColumn, AllotColumn };

    // The receipt the page shows (the last saved or cancelled one).
    const Receipt& shownReceipt() const { return m_shown; }

private:
    void loadBuyers();
    void cboBuyerName_Click(int index);
    void showOpenInvoices();
    void cmdAllot_Click();
    void cmdSave_Click();
    void cmdPrint_Click();
    void cmdCancelReceipt_Click();
    void updateOwed();
    // The receipt as the boxes hold it; false (the box named) at a number box
    // that is no amount.
    bool readReceipt(Receipt& receipt);
    void ClearControl();
    void showOnPage(const Receipt& receipt);

    Database& m_db;
    QString m_operator;
    std::vector<BuyerChoice> m_buyers;
    std::vector<OpenInvoice> m_open;
    Paise m_advance = 0; // the chosen buyer's advance before this receipt
    Receipt m_shown;
};

} // namespace zelva
