#pragma once
// The Return Check window: a month's findings against the GST portals' rules
// (registers/returncheck.h), grouped by document, the counts above them; a
// double click (or Open Document, or Enter) opens what the finding is mended
// in: the master record it names (the buyer, the stock item, the supplier),
// else its document (an invoice in Print Invoice, a note in the note
// register, a bill in the bill register, the company in Company Details);
// a finding about the return or a file is shown whole with what to do. The
// window asks for those windows by its signals, which the main window opens
// as its child windows. Printed or saved as PDF through the report engine,
// saved as CSV.
#include "registers/portalfiles.h"
#include "registers/returncheck.h"
#include "reports/tablereport.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmReturnCheck : public QWidget {
    Q_OBJECT
public:
    explicit frmReturnCheck(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpMonth;
    QPushButton* cmdShow;
    QLabel* lblCounts;
    QTableView* grdFindings;
    QPushButton* cmdOpen;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdClose;

    const std::vector<ReturnFinding>& findings() const { return m_findings; }
    TableReport findingsTable() const;
    bool saveCsv(const QString& path) const;

signals:
    // The form (its objectName: "frmBuyerDetails", "frmStockEntry",
    // "frmSupplierDetails", "frmCompany") at the record whose list field
    // holds value ("bid" = "C00003"); no field for Company Details.
    void masterWanted(const QString& formName, const QString& field, const QString& value);
    void invoiceWanted(const QString& number, const QDate& date);
    void noteWanted(const QString& number, const QDate& date);
    void billWanted(const QString& number, const QString& supplier, const QDate& date);

public slots:
    void cmdShow_Click();
    // Opens the document of the chosen finding.
    void cmdOpen_Click();
    void grdFindings_DblClick(const QModelIndex& index);

private:
    void openFinding(int row);

    Database& m_db;
    Period m_month;
    std::vector<ReturnFinding> m_findings;
};

// Before a portal file is written: with an error among the findings about what
// goes into it, tells them and refuses (false); with warnings only, shows them
// and asks whether to write all the same; with neither, goes on without asking.
// `what` names the file: "GST return of December 2026".
bool GoOnAfterCheck(const std::vector<ReturnFinding>& findings, const QString& what);
// The MayWrite of an e-invoice or e-way bill writer: the Return Check of the
// invoices or notes that go into the file, then GoOnAfterCheck. `stopped` is
// set when the check kept the file from being written (the operator was told why).
MayWrite CheckBeforeWriting(Database& db, PortalFileKind file, const QString& what, bool& stopped);

} // namespace zelva
