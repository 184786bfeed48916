#pragma once
// frmBuyerDetails: the buyers to whom invoices are made out (CustomerDetails).
#include "masters/masterform.h"

class QLineEdit;
class QPushButton;

class frmBuyerDetails : public zelva::MasterForm {
    Q_OBJECT
public:
    explicit frmBuyerDetails(zelva::Database& db, QWidget* parent = nullptr);

    QLineEdit* txtSno;
    QLineEdit* txtBid;
    QLineEdit* txtName;
    QLineEdit* txtAddress;
    QLineEdit* txtDistrict;
    QLineEdit* txtState;
    QLineEdit* txtPin;
    QLineEdit* txtGstin;
    QLineEdit* txtContact;
    QLineEdit* txtEmail;
    QLineEdit* txtWebsite;
    QLineEdit* txtRemarks;
    // The shown buyer's credit limit, kept beside its record (creditlimit.cpp).
    QPushButton* cmdCreditLimit;
    // The shown buyer's opening balance (masters/openingbills.h).
    QPushButton* cmdOpeningBalance;

public slots:
    void txtName_LostFocus();
    void cmdCreditLimit_Click();
    void cmdOpeningBalance_Click();

protected:
    zelva::RecordSource& records() override { return datBuyer; }
    void bindRecords() override { SetBuyerDatabase(); }
    void showRecord() override { ShowBuyerDetails(); }
    void writeRecord() override { Insert(); }

private:
    void SetBuyerDatabase();
    void ShowBuyerDetails();
    void Insert();

    zelva::RecordSource datBuyer;
    zelva::Database& m_db;
};
