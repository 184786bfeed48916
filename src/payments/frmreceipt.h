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
// The flow is the money forms' own (payments/moneyform.h).
#include "payments/moneyform.h"
#include "sales/receiptstore.h"

namespace zelva {

class frmReceipt : public MoneyForm {
    Q_OBJECT
public:
    explicit frmReceipt(Database& db, QString operatorName = {}, QWidget* parent = nullptr);

    QLineEdit* txtReceiptNo;
    QComboBox* cboBuyerName;
    QTableWidget* grdInvoices; // invoice, date, amount, left, allotted (typed)
    QPushButton* cmdCancelReceipt;
    ReceiptPage* pageReceipt;

    enum { InvoiceColumn = DocumentColumn };

    // The receipt the page shows (the last saved or cancelled one).
    const Receipt& shownReceipt() const { return m_shown; }

private:
    QStringList loadParties() override;
    PartyOpen openOf(int party) override;
    void setParty(int party, MoneyEntry& entry) const override;
    QString refusalOf(const MoneyEntry& entry, const QDate& today) const override;
    Stored store(const MoneyEntry& entry, const QDate& today) override;
    void showEntry(const MoneyEntry& entry, const ShopLines& shop) override;

    std::vector<BuyerChoice> m_buyers;
    Receipt m_shown;
};

} // namespace zelva
