#pragma once
// The Purchase Bill Register window: the bills of a period (from and to
// days, this month when it opens), one line per bill and GST rate with its
// taxable value and taxes, the totals per rate and in all; printed or saved
// as PDF through the report engine, saved as CSV and as an Excel workbook.
#include "registers/purchaseregister.h"
#include "reports/tablereport.h"

#include <QWidget>

class QDateEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmPurchaseBills : public QWidget {
    Q_OBJECT
public:
    explicit frmPurchaseBills(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdShow;
    QTableView* grdBills;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveXlsx;
    QPushButton* cmdClose;

    // Lists the bill of that number and supplier (the days widened to its
    // date) and chooses it; false when it is not listed.
    bool chooseBill(const QString& number, const QString& supplier, const QDate& date);

    TableReport registerTable() const;
    bool saveCsv(const QString& path) const;
    bool saveXlsx(const QString& path) const;

public slots:
    void cmdShow_Click();

private:
    QString fileName() const;

    Database& m_db;
    PurchaseRegister m_register;
};

} // namespace zelva
