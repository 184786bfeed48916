#pragma once
// Cancel Invoice: the saved invoices of a date range, narrowed as the
// operator types a part of the number or of the buyer's name (as on Print
// Duplicate Invoice). The operator chooses one, types the reason and presses
// Cancel Invoice; after a Yes the invoice is cancelled (CancelInvoice: kept
// under its number with the mark, its stock given back) and the list shows it
// as CANCELLED. A refusal (no reason, already cancelled, its month's return
// filed) is told and nothing changes.
#include <QString>
#include <QWidget>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmCancelInvoice : public QWidget {
    Q_OBJECT
public:
    // operatorName: who is cancelling, kept with the mark.
    frmCancelInvoice(Database& db, QString operatorName, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QLineEdit* txtFind;
    QTableView* grdInvoices;
    QLineEdit* txtReason;
    QPushButton* cmdCancelInvoice;
    QPushButton* cmdClose;

private:
    void refresh();
    void cmdCancelInvoice_Click();

    Database& m_db;
    QString m_operator;
};

} // namespace zelva
