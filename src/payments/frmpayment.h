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
// typed cancelled, which frees its allotments. The flow is the money forms'
// own (payments/moneyform.h).
#include "payments/moneyform.h"
#include "sales/paymentstore.h"

namespace zelva {

class frmPayment : public MoneyForm {
    Q_OBJECT
public:
    explicit frmPayment(Database& db, QString operatorName = {}, QWidget* parent = nullptr);

    QLineEdit* txtPaymentNo;
    QComboBox* cboSupplierName;
    QTableWidget* grdBills; // bill, date, amount, left, allotted (typed)
    QPushButton* cmdCancelPayment;
    ReceiptPage* pageVoucher;

    enum { BillColumn = DocumentColumn };

    // The payment the voucher shows (the last saved or cancelled one).
    const Payment& shownPayment() const { return m_shown; }

private:
    QStringList loadParties() override;
    PartyOpen openOf(int party) override;
    void setParty(int party, MoneyEntry& entry) const override;
    QString refusalOf(const MoneyEntry& entry, const QDate& today) const override;
    Stored store(const MoneyEntry& entry, const QDate& today) override;
    void showEntry(const MoneyEntry& entry, const ShopLines& shop) override;

    struct SupplierChoice {
        qint64 serial = 0;
        QString name;
    };
    std::vector<SupplierChoice> m_suppliers;
    Payment m_shown;
};

} // namespace zelva
