#pragma once
// The printed receipt and payment voucher: one page with the shop, the receipt's number and
// date, the buyer, the amount in figures and in words, the mode and its
// reference, the invoices it went to and the advance kept. The receipt form
// shows the same page beside its boxes, so the paper is what the screen shows.
#include "sales/payment.h"

#include <QWidget>

class QLabel;

namespace zelva {

struct ShopLines {
    QString name;
    QString gstin;
};

class ReceiptPage : public QWidget {
    Q_OBJECT
public:
    explicit ReceiptPage(QWidget* parent = nullptr);
    // Shows the receipt (every text plain); a blank receipt empties the page.
    void showReceipt(const Receipt& receipt, const ShopLines& shop);
    // Shows the payment voucher the same way: the supplier paid, the bills it went to.
    void showPayment(const Payment& payment, const ShopLines& shop);
    // The page's texts top to bottom, for tests and checks.
    QString text() const;

    QLabel* lblShop;
    QLabel* lblTitle;
    QLabel* lblNumber;
    QLabel* lblReceived;
    QLabel* lblWords;
    QLabel* lblMode;
    QLabel* lblAllotted;
    QLabel* lblCancelled;
    QLabel* lblSignature;

private:
    struct MoneyPageTexts {
        bool blank = true;
        QString title;
        QString numberLine;
        QString movedLine;
        Paise amount = 0;
        QString mode;
        QString reference;
        QString bank;
        QStringList allotted;
        std::optional<ReceiptCancellation> cancellation;
    };
    void showMoney(const MoneyPageTexts& texts, const ShopLines& shop);
};

} // namespace zelva
