#pragma once
// The pattern the Receipt and Payment windows share: money on a day by a
// mode, from or to a party chosen from a list, allotted to the party's open
// documents (invoices or bills) oldest first or as typed, the rest kept as
// an advance (more than is owed only after a Yes); Save stores it whole
// through its document's store (the allotments checked again inside the
// save) and shows its page beside the boxes; Print prints the page (PDF in
// Prints when there is no printer); Cancel marks the money of the number
// typed cancelled, freeing its allotments and, after the operator is told,
// its match to a bank statement line. Each form states its own boxes'
// names, words and messages, its party list and its store (MoneyFormSetup
// and the hooks below); the flow lives here once.
#include "payments/receiptpage.h"
#include "sales/bankstatement.h"
#include "sales/moneybook.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class Database;

// What one money form calls its own boxes and says.
struct MoneyFormSetup {
    MoneyKind kind;
    const MoneyBook& book;
    const char* numberName;  // "txtReceiptNo"
    const char* partyName;   // "cboBuyerName"
    const char* gridName;    // "grdInvoices"
    const char* cancelName;  // "cmdCancelReceipt"
    const char* pageName;    // "pageReceipt"
    QString title;           // "Receipt"
    QString numberCaption;   // "Receipt No."
    QString partyCaption;    // "&Buyer"
    QString documentColumn;  // "Invoice No."
    QString allotTip;        // Allot's tool tip
    QString saveTip;
    QString printTip;
    QString cancelCaption;   // "Cance&l Receipt"
    QString cancelTip;
    QString cancelNoCaption; // "Receipt to cancel"
    QString cancelNoExample; // "R00001"
    QString chooseParty;     // lblOwed before a party is chosen
    QString owedText;        // lblOwed: %1 owed, %2 the documents open, %3 the advance
    QString oneDocument;     // "1 invoice"
    QString documents;       // "%1 invoices"
    QString beyondOwed;      // Save's question: %1 the amount, %2 what is owed, %3 the advance kept
    QString printFirst;      // Print before anything is saved
    QString cancelQuestion;  // %1 number, %2 party, %3 amount, %4 the bank line it leaves unmatched
    QString cancelled;       // %1 number
};

class MoneyForm : public QWidget {
    Q_OBJECT
public:
    ~MoneyForm() override;
    QLineEdit* txtDate;
    QComboBox* cboMode;
    QLineEdit* txtReference;
    QLineEdit* txtBank;
    QLineEdit* txtAmount;
    QPushButton* cmdAllot;
    QLabel* lblOwed;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QLineEdit* txtCancelNo;
    QLineEdit* txtReason;

    enum Column { DocumentColumn, DateColumn, AmountColumn, LeftColumn, AllotColumn };

protected:
    MoneyForm(Database& db, QString operatorName, const MoneyFormSetup& setup, QWidget* parent);
    // Fills the boxes' list of parties and the party combo; called once the form is built.
    void start();

    // What each form states as its own.
    // The parties to choose from, as the combo lists them. Throws DataError.
    virtual QStringList loadParties() = 0;
    // The chosen party's open documents and its advance. Throws DataError.
    struct PartyOpen {
        std::vector<OpenInvoice> open;
        Paise advance = 0;
    };
    virtual PartyOpen openOf(int party) = 0;
    // The party's code and name into the money's record.
    virtual void setParty(int party, MoneyEntry& entry) const = 0;
    virtual QString refusalOf(const MoneyEntry& entry, const QDate& today) const = 0;
    // Saves the money through its document's store. Throws DataError.
    struct Stored {
        qint64 serial = 0;
        QString number;
        QString refusal;
    };
    virtual Stored store(const MoneyEntry& entry, const QDate& today) = 0;
    // Shows the money on the form's page.
    virtual void showEntry(const MoneyEntry& entry, const ShopLines& shop) = 0;

    QLineEdit* m_number;
    QComboBox* m_party;
    QTableWidget* m_grid;
    QPushButton* m_cancel;
    ReceiptPage* m_page;

private:
    void cboParty_Click(int index);
    void showOpenDocuments();
    void cmdAllot_Click();
    void cmdSave_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();
    Paise owedNow() const;
    void updateOwed();
    // The money as the boxes hold it; false (the box named) at a number box that is no amount.
    bool readEntry(MoneyEntry& entry);
    void ClearControl();
    void showOnPage(const MoneyEntry& entry);

    Database& m_db;
    QString m_operator;
    MoneyFormSetup m_setup;
    int m_parties = 0;
    std::vector<OpenInvoice> m_open;
    Paise m_advance = 0; // the chosen party's advance before this money
    QString m_shownNumber;

protected:
    Database& db() const { return m_db; }
};

} // namespace zelva
