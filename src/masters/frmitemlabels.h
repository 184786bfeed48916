#pragma once
// Item Labels: the operator picks items for sale and types how many labels
// of each (or fills them from a purchase bill, a label for each unit that
// came in), chooses the sheet and, on a part-used sheet, the label to start
// at, and prints: each label the item's barcode, name and price as the stock
// items hold them when Print is pressed.
#include "sales/itemlabels.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zelva {

class frmItemLabels : public QWidget {
    Q_OBJECT
public:
    explicit frmItemLabels(Database& db, QWidget* parent = nullptr);

    QComboBox* cboItem;
    QLineEdit* txtCount;
    QPushButton* cmdAdd;
    QTableWidget* grdLabels; // item code, item name, barcode, labels (the operator may change them)
    QPushButton* cmdRemove;
    QLineEdit* txtBillNo;
    QPushButton* cmdFromBill;
    QComboBox* cboLayout;
    QLineEdit* txtStart;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;

public slots:
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdFromBill_Click();
    void cboLayout_Click(int index);
    void cmdPrint_Click();

private:
    void fillItems();
    // Adds count labels of the item (to its line when it has one); false, the
    // operator told, for an item without a barcode.
    bool addLabels(const ItemLabel& item, int count);
    // The lines' labels as the stock items now hold them, each as many times
    // as its line says; false (the operator told) for a count not a whole
    // number of 1 or more, or an item gone or without a barcode.
    bool readLabels(std::vector<ItemLabel>& labels);
    bool readStart(const LabelLayout& layout, int& start);

    Database& m_db;
    std::vector<ItemLabel> m_items; // the entries of cboItem
};

} // namespace zelva
