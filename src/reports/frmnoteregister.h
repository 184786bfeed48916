#pragma once
// Credit/Debit Note register: the notes dated between two days (number, date,
// kind, invoice, buyer, reason, figures), the credit and the debit notes
// added up apart and their net effect on the sales. From here a note is
// printed again (Reprint: its Original and Duplicate pages, as first
// printed), and the register is printed or saved as PDF, CSV or an Excel
// workbook.
#include "registers/noteregister.h"
#include "reports/tablereport.h"

#include <QWidget>

class QDateEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmNoteRegister : public QWidget {
    Q_OBJECT
public:
    frmNoteRegister(Database& db, QString operatorName, QWidget* parent = nullptr);

    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QTableView* grdNotes;
    QPushButton* cmdReprint;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveExcel;
    QPushButton* cmdClose;

    // The register as the grid and the printout show it.
    TableReport registerTable() const;
    // Prints the chosen note again; false (told why) when none is printed.
    bool cmdReprint_Click();

private:
    void refresh();
    QString fileName() const;

    Database& m_db;
    QString m_operator;
    NoteRegister m_register;
};

} // namespace zelva
