#pragma once
// frmCompany: the selling company's own particulars (Company). The first
// record is the seller the invoices print.
#include "masters/masterform.h"
#include "sales/countersettings.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class frmCompany : public zelva::MasterForm {
    Q_OBJECT
public:
    explicit frmCompany(zelva::Database& db, QWidget* parent = nullptr);

    QLineEdit* txtSno;
    QLineEdit* txtCompanyId;
    QLineEdit* txtName;
    QPlainTextEdit* txtAddress;
    QLineEdit* txtDistrict;
    QLineEdit* txtState;
    QLineEdit* txtPin;
    QLineEdit* txtGstin;
    QLineEdit* txtContactNo;
    QLineEdit* txtEmail;
    QLineEdit* txtWebsite;
    QLineEdit* txtBankName;
    QLineEdit* txtBankAddress;
    QLineEdit* txtAccountNo;
    QLineEdit* txtIfsc;
    // kept in CompanyPayment under the company's serial
    QLineEdit* txtUpiId;
    QLineEdit* txtEwayBillLimit;
    // the turnover of the previous year, kept in CompanyTurnover: how many
    // digits the HSN codes need (up to Rs 5 crore 4, above it 6)
    QComboBox* cboTurnover;
    // the counter, kept in CompanyCounter: the receipt roll's width in mm
    // (58 or 80; blank for 80) and where a barcode scan adds its item
    QLineEdit* txtRollWidth;
    QComboBox* cboScanAt;
    // the day the books start here, kept in BooksStart (sales/opening.h):
    // the opening balances are what was owed on it; blank when none
    QLineEdit* txtBooksStart;
    QPushButton* cmdShow;

public slots:
    void cmdShow_Click();

protected:
    zelva::RecordSource& records() override { return datCompany; }
    void bindRecords() override { SetCompanyDatabase(); }
    void showRecord() override { Display(); }
    void writeRecord() override { Insert(); }

private:
    void SetCompanyDatabase();
    void Display();
    void Insert();
    // The UPI ID is of the form name@bank, the limit an amount; false (the operator told) otherwise.
    bool acceptPayment();
    // The roll is one a receipt printer takes; false (the operator told) otherwise.
    bool acceptCounter();
    zelva::CounterSettings counterTyped() const;
    // A date, and no opening bill after it; false (the operator told) otherwise.
    bool acceptBooksStart();

    zelva::RecordSource datCompany;
};
