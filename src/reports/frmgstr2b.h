#pragma once
// The GSTR-2B Matching window: the month (last month when it opens), Import
// reads the GSTR-2B file downloaded from the portal for it and matches it
// with the month's purchase bills (see registers/gstr2b.h): matched, matched
// with differences (both figures listed), in 2B only, in the books only.
// A refused file is named with the reason and leaves the window as it was;
// nothing of any file is stored. Printed or saved as PDF; saved as CSV.
#include "registers/gstr2b.h"
#include "reports/tablereport.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmGstr2b : public QWidget {
    Q_OBJECT
public:
    explicit frmGstr2b(Database& db, QWidget* parent = nullptr);

    QDateEdit* dtpMonth;
    QPushButton* cmdImport;
    QLabel* lblSummary;
    QTableView* grdMatching;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdClose;

    // Reads and matches the file for the month shown; false (the operator
    // told why) when it is refused or cannot be read.
    bool importFile(const QString& path);
    const Gstr2bMatching& matching() const { return m_matching; }
    TableReport matchingTable() const;
    bool saveCsv(const QString& path) const;

public slots:
    void cmdImport_Click();

private:
    Database& m_db;
    Gstr2bMatching m_matching;
    QString m_fileName;
};

} // namespace zelva
