#pragma once
// Print Duplicate Invoice: the saved invoices of a date range (number, date,
// buyer, total), newest first, narrowed as the operator types a part of the
// number or of the buyer's name. Choosing one shows that invoice alone in the
// report window as the invoice report page, captioned "Duplicate Copy", to be
// printed or saved as PDF from there; or prints it again as its Quick Bill on
// the receipt roll, marked "Duplicate Copy". Nothing is written to the invoices.
#include <QDate>
#include <QWidget>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;
class ReportWindow;

// The saved invoice of that number as its duplicate in the report window
// beside opener; nullptr (the operator told why) when it cannot be shown.
ReportWindow* OpenDuplicateInvoice(QWidget* opener, Database& db, const QString& number);

class frmPrintInvoice : public QWidget {
    Q_OBJECT
public:
    explicit frmPrintInvoice(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QLineEdit* txtFind;
    QTableView* grdInvoices;
    QPushButton* cmdShow;
    QPushButton* cmdQuickBill;
    QPushButton* cmdHistory;
    QPushButton* cmdClose;

    // Lists the invoice of that number (the days widened to its date, the
    // number typed into Find) and chooses it; false when it is not listed.
    bool chooseInvoice(const QString& number, const QDate& date);
    // The invoice number of each listed row, top to bottom.
    QStringList listedNumbers() const;
    // Shows the duplicate of the chosen row; nullptr (told why) when none can be shown.
    ReportWindow* showDuplicate();
    // Prints the chosen row's Quick Bill again; false (told why) when it is not printed.
    bool printQuickBill();

private:
    void refresh();

    Database& m_db;
};

} // namespace zelva
