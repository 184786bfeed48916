#pragma once
// frmSupplierDetails: the suppliers purchases are bought from (Supplier), on
// the pattern of the buyers: a GSTIN and State checked as the buyers' are
// (an unregistered supplier has "N.A."), the State deciding the tax kind of
// the supplier's bills.
#include "masters/masterform.h"

class QLineEdit;
class QPushButton;

class frmSupplierDetails : public zelva::MasterForm {
    Q_OBJECT
public:
    explicit frmSupplierDetails(zelva::Database& db, QWidget* parent = nullptr);

    QLineEdit* txtSno;
    QLineEdit* txtSupplierId;
    QLineEdit* txtName;
    QLineEdit* txtAddress;
    QLineEdit* txtState;
    QLineEdit* txtGstin;
    QLineEdit* txtContact;
    QLineEdit* txtEmail;
    QLineEdit* txtRemarks;
    // What the shop owed the shown supplier when the books started here (masters/openingbills.h).
    QPushButton* cmdOpeningBalance;

public slots:
    void txtName_LostFocus();
    void cmdOpeningBalance_Click();

protected:
    zelva::RecordSource& records() override { return datSupplier; }
    void bindRecords() override { SetSupplierDatabase(); }
    void showRecord() override { ShowSupplierDetails(); }
    void writeRecord() override { Insert(); }

private:
    void SetSupplierDatabase();
    void ShowSupplierDetails();
    void Insert();

    zelva::RecordSource datSupplier;
    zelva::Database& m_db;
};
