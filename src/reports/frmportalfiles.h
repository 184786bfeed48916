#pragma once
// E-Invoice and E-Way Bill: the files for the GST portals' bulk upload, and
// the invoice registration portal's response read back. The operator chooses
// a saved invoice from the list (as on Cancel Invoice) and writes its
// e-invoice or its e-way bill, or writes the e-way bills of every invoice of
// a day worth more than the company's limit; a file the portals would refuse
// is not written, and what to fix is listed instead. Import IRN Response reads
// the portal's response, checks that it is one of these invoices' (number,
// date, seller's GSTIN) and keeps it: the invoice's reprints then carry its
// IRN, acknowledgement and signed QR code.
#include <QString>
#include <QWidget>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmPortalFiles : public QWidget {
    Q_OBJECT
public:
    explicit frmPortalFiles(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QLineEdit* txtFind;
    QTableView* grdInvoices;
    QPushButton* cmdEInvoice;
    QPushButton* cmdEwayBill;
    QDateEdit* dtpDay;
    QPushButton* cmdEwayBillsOfDay;
    QPushButton* cmdImportIrn;
    QPushButton* cmdClose;

    // What the buttons do once the file is chosen; true when written or kept.
    bool writeEInvoice(const QString& path);
    bool writeEwayBill(const QString& path);
    bool writeEwayBillsOfDay(const QString& path);
    bool importIrnResponse(const QString& path);

private:
    void refresh();
    QString chosenNumber() const; // "" (the operator told) when none is chosen
    QString savePath(const QString& caption, const QString& name);

    Database& m_db;
};

} // namespace zelva
