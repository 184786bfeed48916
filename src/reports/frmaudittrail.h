#pragma once
// The Audit Trail window: the entries of a period, narrowed to one operator,
// one table or one record when those boxes are filled, one line per changed
// field with its old and new value; printed or saved as PDF through the
// report engine, saved as CSV and as an Excel workbook. Opened from the
// Report menu for this month, or by a form's History button for the whole
// history of its record.
#include "data/audittrail.h"
#include "reports/tablereport.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmAuditTrail : public QWidget {
    Q_OBJECT
public:
    // Without a table and record: this month's entries. With them: that
    // record's whole history.
    explicit frmAuditTrail(Database& db, const QString& table = {}, const QString& record = {},
                           QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QLineEdit* txtOperator;
    QComboBox* cboTable;
    QLineEdit* txtRecord;
    QPushButton* cmdShow;
    QTableView* grdTrail;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveXlsx;
    QPushButton* cmdClose;

    TableReport trailTable() const;
    bool saveCsv(const QString& path) const;
    bool saveXlsx(const QString& path) const;

public slots:
    void cmdShow_Click();

private:
    AuditFilter filter() const;
    QString fileName() const;

    Database& m_db;
    bool m_withKeptRecords; // a record's History: what is kept with it too
    AuditFilter m_shown;
    std::vector<AuditEntry> m_entries;
};

// The whole history of one record in a window beside opener (in its window
// area when it has one), as a form's History button shows it.
frmAuditTrail* OpenRecordHistory(QWidget* opener, Database& db, const QString& table, const QString& record);

} // namespace zelva
