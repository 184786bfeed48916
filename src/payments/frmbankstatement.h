#pragma once
// Tools, Bank Statement: a bank's statement (CSV or .xlsx) imported once per
// line, its columns mapped once per bank, each line matched to a receipt
// (credit) or a payment (debit) of the books (sales/bankstatement.h). The
// grid shows every kept line of the bank as kept, matched, suggested or
// unmatched; the operator confirms matches, or makes an unmatched credit a
// receipt from a buyer (an unmatched debit a payment to a supplier) in one
// step. Below, the receipts and payments by bank that no line took.
#include "sales/bankstatement.h"
#include "sales/receiptstore.h"

#include <QWidget>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class Database;

class frmBankStatement : public QWidget {
    Q_OBJECT
public:
    explicit frmBankStatement(Database& db, QString operatorName, QWidget* parent = nullptr);
    ~frmBankStatement() override;

    QComboBox* cboBank; // editable: a new bank's name is typed
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QComboBox* cboSheet;
    std::array<QComboBox*, 6> cboColumn; // the file's header for Date, Narration, Reference, Debit, Credit, Balance
    QPushButton* cmdImport;
    QTableWidget* grdLines;
    QComboBox* cboCandidate; // the selected line's likely receipts or payments
    QPushButton* cmdConfirm;
    QPushButton* cmdConfirmAll;
    QComboBox* cboParty; // buyers for a credit, suppliers for a debit
    QPushButton* cmdMake;
    QTableWidget* grdBook;
    QLabel* lblSummary;
    QPushButton* cmdClose;

    // What Browse does once the operator has named a file: reads it and offers its headers.
    bool openFile(const QString& path);
    const std::vector<BankLine>& lines() const { return m_lines; }
    const StatementMatch& matching() const { return m_match; }

private slots:
    void cmdBrowse_Click();
    void cmdImport_Click();
    void cboBank_Click();
    void grdLines_SelectionChanged();
    void cmdConfirm_Click();
    void cmdConfirmAll_Click();
    void cmdMake_Click();

private:
    void readSheet();
    void offerHeaders(const QStringList& headers, const StatementColumns& chosen);
    StatementColumns chosenColumns() const;
    void refresh();
    void showLines();
    void showBook();
    int selectedLine() const;
    QString candidateText(std::size_t book) const;

    Database& m_db;
    QString m_operator;
    std::vector<QStringList> m_cells;
    std::vector<BankLine> m_lines;
    std::vector<BookMoney> m_book;
    StatementMatch m_match;
    std::vector<BuyerChoice> m_buyers;
    struct Supplier {
        qint64 serial = 0;
        QString name;
    };
    std::vector<Supplier> m_suppliers;
};

} // namespace zelva
