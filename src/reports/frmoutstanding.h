#pragma once
// The Outstanding window: what every buyer owes as at a chosen day, invoice
// by invoice with its ageing, the buyer's totals and the overall totals
// (registers/outstanding.h); and the Statement of Account window: one
// buyer's invoices and receipts over a period with the opening, running and
// closing balance, to send to the buyer. The same Outstanding window shows
// what the shop owes its suppliers (registers/payables.h) when opened so. Both preview, print and save as PDF
// through the report engine, and save as CSV and as an Excel workbook; so
// does the Cash Book window: the cash in and out over a period with the cash
// in hand before and after it (registers/cashbook.h), and the Supplier
// Statement window: one supplier's bills, notes and payments over a period
// in the statement's shape (registers/payables.h). Their buttons are the
// table report windows' own (reports/tablereportwindow.h).
#include "registers/cashbook.h"
#include "registers/outstanding.h"
#include "registers/payables.h"
#include "reports/tablereportwindow.h"
#include "sales/receiptstore.h"
#include "ui/qrcode.h"

class QComboBox;
class QLabel;
class QDateEdit;

namespace zelva {

class frmOutstanding : public TableReportWindow {
    Q_OBJECT
public:
    // payables: what the shop owes its suppliers, bill by bill.
    explicit frmOutstanding(Database& db, QWidget* parent = nullptr, bool payables = false);

    QDateEdit* dtpAsAt;
    QPushButton* cmdShow;
    QTableView* grdOutstanding;

    const Outstanding& shown() const { return m_report; }
    TableReport outstandingTable() const;

private:
    void cmdShow_Click();
    TableReport reportTable() const override { return outstandingTable(); }
    QString reportCsv() const override;
    XlsxSheet reportSheet() const override;
    QString fileName() const override;

    bool m_payables = false;
    Outstanding m_report;
};

class frmStatement : public TableReportWindow {
    Q_OBJECT
public:
    explicit frmStatement(Database& db, QWidget* parent = nullptr);

    QComboBox* cboBuyerName;
    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdShow;
    QTableView* grdStatement;
    QrCodeView* qrPay; // the shop's UPI QR when it has a UPI ID, as the page carries it
    QLabel* lblScanToPay;

    const Statement& shown() const { return m_statement; }
    TableReport statementTable() const;

private:
    void cmdShow_Click();
    void showPay();
    TableReport reportTable() const override { return statementTable(); }
    QString reportCsv() const override;
    XlsxSheet reportSheet() const override;
    QString fileName() const override;

    std::vector<BuyerChoice> m_buyers;
    Statement m_statement;
    QString m_payText;
};

class frmCashBook : public TableReportWindow {
    Q_OBJECT
public:
    explicit frmCashBook(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdShow;
    QTableView* grdCashBook;

    const CashBook& shown() const { return m_book; }
    TableReport cashBookTable() const;

private:
    void cmdShow_Click();
    TableReport reportTable() const override { return cashBookTable(); }
    QString reportCsv() const override;
    XlsxSheet reportSheet() const override;
    QString fileName() const override;

    CashBook m_book;
};

class frmSupplierStatement : public TableReportWindow {
    Q_OBJECT
public:
    explicit frmSupplierStatement(Database& db, QWidget* parent = nullptr);

    QComboBox* cboSupplierName;
    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdShow;
    QTableView* grdStatement;

    const Statement& shown() const { return m_statement; }
    TableReport statementTable() const;

private:
    void cmdShow_Click();
    TableReport reportTable() const override { return statementTable(); }
    QString reportCsv() const override;
    XlsxSheet reportSheet() const override;
    QString fileName() const override;

    struct Supplier {
        qint64 serial = 0;
        QString name;
    };
    std::vector<Supplier> m_suppliers;
    Statement m_statement;
};

} // namespace zelva
