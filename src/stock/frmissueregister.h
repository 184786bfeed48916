#pragma once
// frmIssueRegister: goods handed out of stock against an issue slip
// (IssueRegister); each issue lowers the item's quantity on hand, below zero
// when more is issued than is held.
#include "stock/stockmovementform.h"

#include <QDate>

class frmIssueRegister : public zelva::StockMovementForm {
    Q_OBJECT
public:
    explicit frmIssueRegister(zelva::Database& db, QWidget* parent = nullptr);

    QRadioButton* optItemForSale;
    QRadioButton* optOtherItem;
    QLineEdit* txtISno;
    QLineEdit* txtIssueNo;
    QLineEdit* txtIssueDate;
    QLineEdit* txtIssueTime;
    QLineEdit* txtIssueSlipNo;
    QLineEdit* txtIssueTo;
    QLineEdit* txtIssuedBy;
    QComboBox* cboPer;

public slots:
    void txtQuantity_LostFocus();
    void cboPer_Click();

protected:
    void startNew() override;
    void writeOwnFields(zelva::RecordSource& issue) override;
    void refreshLists() override;
    void showUnitInList();

private:
    std::optional<QString> m_warnedQuantity; // last warned about: leaving again does not trap the operator
};
