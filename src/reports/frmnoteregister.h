#pragma once
// Credit/Debit Note register: the notes dated between two days (number, date,
// kind, invoice, buyer, reason, figures), the credit and the debit notes
// added up apart and their net effect on the sales. From here a note is
// printed again (Reprint: its Original and Duplicate pages, as first
// printed), its e-invoice written for a registered buyer (E-Invoice File),
// and the register is printed or saved as PDF, CSV or an Excel workbook.
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
    QPushButton* cmdEInvoice;
    QPushButton* cmdPrint;
    QPushButton* cmdSaveCsv;
    QPushButton* cmdSaveExcel;
    QPushButton* cmdHistory;
    QPushButton* cmdClose;

    // The register as the grid and the printout show it.
    TableReport registerTable() const;
    // Lists the note of that number (the days widened to its date) and
    // chooses it; false when it is not listed.
    bool chooseNote(const QString& number, const QDate& date);
    // Prints the chosen note again; false (told why) when none is printed.
    bool cmdReprint_Click();
    // Writes the chosen note's e-invoice to the path; false (told why) when none is written.
    bool writeEInvoice(const QString& path);

private:
    void refresh();
    QString fileName() const;
    const SavedNote* chosenNote() const; // nullptr (the operator told) when none is chosen

    Database& m_db;
    QString m_operator;
    NoteRegister m_register;
};

} // namespace zelva
