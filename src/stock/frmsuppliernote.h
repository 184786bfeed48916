#pragma once
// frmSupplierNote: a supplier's credit or debit note entered against one of
// its bills, opened from the purchase form. The bill is picked from the GST
// bills of registered suppliers of this and the last financial year; the
// note's rate is one of the bill's, its tax worked out as the bill's own and
// shown while typing. Save goes through StoreSupplierNote, which refuses a
// bad note (naming the box) and stores nothing of it.
#include "sales/suppliernote.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmSupplierNote : public QDialog {
    Q_OBJECT
public:
    explicit frmSupplierNote(zelva::Database& db, QWidget* parent = nullptr);

    QComboBox* cboBill;
    QRadioButton* optCredit;
    QRadioButton* optDebit;
    QLineEdit* txtNoteNo;
    QLineEdit* txtNoteDate;
    QComboBox* cboRate;
    QLineEdit* txtTaxable;
    QLabel* lblTax;
    QLineEdit* txtReason;
    QPushButton* cmdSave;
    QPushButton* cmdClose;

public slots:
    void cboBill_Click(int index);
    void cmdSave_Click();

private:
    const zelva::PurchaseBill* chosenBill() const;
    void showTax();
    // The note as the boxes give it; false (the operator told) when a box
    // holds what is not a date or an amount.
    bool noteFromBoxes(zelva::SupplierNote& note);

    zelva::Database& m_db;
    std::vector<zelva::PurchaseBill> m_bills;
};
