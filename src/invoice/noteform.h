#pragma once
// What both note forms are (Credit Note, Debit Note): a page laid out as the
// invoice's and printed the same way, a view of a SaleNote (sales/salenote.h).
//
// New Note proposes the kind's next number and today's date. The operator
// first picks the original invoice (Original Invoice No.): its seller, buyer
// and goods lines fill the page, each line with what is left of it after
// the notes saved before (the Left column, for the screen only). The operator
// picks the reason and types, line by line, a quantity and/or a value; a
// quantity alone is valued at the line's own taxable value per unit. Tax,
// totals and words follow at once, by the invoice's rules. Save stores the
// note through StoreSaleNote (every check again inside its transaction: a
// refusal names the box and nothing is stored). Print saves a note not yet
// saved, then prints the page twice, "Original" and "Duplicate", without the
// Left column, the lists and the unused rows. A saved note can be shown again
// (showSavedNote) and printed again: the notes list does so.
#include "data/database.h"
#include "invoice/invoicepageparts.h"
#include "invoice/taxbyrate.h"
#include "sales/salenotestore.h"
#include "ui/pendingwork.h"

#include <QWidget>
#include <array>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace zelva {
class QrCodeView;
}

class NoteForm : public QWidget, public zelva::PendingWork {
    Q_OBJECT
public:
    ~NoteForm() override;
    static constexpr int Rows = zelva::invoicegrid::GoodsRows;
    using Cells = std::array<QLineEdit*, Rows + 1>; // element 0 unused: rows 1-7

    bool hasPendingWork() override { return m_pending; }
    // The note on screen as last worked out.
    const zelva::SaleNote& shownNote() const { return m_note; }
    QWidget* notePage() const { return m_page; }
    // Shows a saved note (with its invoice's seller and buyer) to be printed again.
    void showSavedNote(const zelva::SaleNote& note);

    // the page
    QLabel* lblTitle;
    QLabel* lblCopy;
    QLineEdit* txtCompanyName;
    QPlainTextEdit* txtAddress;
    QLineEdit* txtGstin;
    QLineEdit* txtNoteNo;
    QLineEdit* txtNoteDate;
    QLineEdit* txtInvoiceRef; // "A00003 of 05/12/2026", printed where cboInvoiceNo lies
    QComboBox* cboInvoiceNo;
    QLineEdit* txtReason;
    QComboBox* cboReason;
    QLineEdit* txtBuyerName;
    QPlainTextEdit* txtBuyerAddress;
    QLineEdit* txtBuyerState;
    QLineEdit* txtBuyerGstin;
    Cells txtSNo{};
    Cells txtDescription{};
    Cells txtHsn{};
    Cells txtLeft{};
    Cells txtQuantity{};
    Cells txtPer{};
    Cells txtValue{};
    QLabel* lblLeft;
    QLineEdit* txtTaxLabel;
    QLineEdit* txtFirstTax;
    QLineEdit* txtSgstLabel;
    QLineEdit* txtSgst;
    QLineEdit* txtTotalValue;
    QLineEdit* txtTotal;
    QPlainTextEdit* txtAmountInWords;
    // a registered note's IRN, acknowledgement and signed QR code, beneath it
    QLabel* lblIrn;
    QLabel* lblAck;
    zelva::QrCodeView* qrSigned;
    // the buttons
    QGroupBox* fraCommandButton;
    QPushButton* cmdNewNote;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;

public slots:
    void cmdNewNote_Click();
    void cboInvoiceNo_Click(int index);
    void cmdSave_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();
    void txtQuantity_LostFocus(int row);
    void RefreshTotals();

protected:
    // operatorName: who issues the note, kept with it.
    NoteForm(zelva::Database& db, zelva::NoteKind kind, QString operatorName, QWidget* parent = nullptr);

private:
    void buildPage();
    void buildGrid();
    void buildFoot();
    void showRegistration(const std::optional<zelva::InvoiceRegistration>& registration);
    void buildButtons();
    void ClearControl();
    void chooseInvoice(const QString& number);
    void showInvoiceParties(const zelva::Invoice& invoice);
    void showLines(const std::vector<zelva::NoteLine>& lines);
    void showTotals();
    void setEntryEnabled(bool enabled);
    // The note the boxes hold; false (the box named) at the first box that
    // is no number when strict, else such a box counts as nothing.
    bool readNote(zelva::SaleNote& note, bool strict) const;
    // A quantity of the row valued: all that is left of a line returned
    // whole, else the line's taxable value per unit times the quantity.
    zelva::Paise valueOfQuantity(int row, double quantity) const;
    bool save();
    bool printCopies();
    void setPrinting(bool printing);

    zelva::Database& m_db;
    zelva::NoteKind m_kind;
    QString m_operator;
    QWidget* m_page = nullptr;
    std::unique_ptr<zelva::TaxByRateTable> m_taxByRate; // a note over several rates: each rate's tax
    bool m_pending = false;
    bool m_saved = false; // the note on screen is stored: Print prints it again
    zelva::SaleNote m_note;
    std::optional<zelva::Invoice> m_invoice;
    std::vector<zelva::LineLeft> m_left; // by row, while a note is entered
};

// The two forms: each states its kind.
class frmCreditNote : public NoteForm {
    Q_OBJECT
public:
    frmCreditNote(zelva::Database& db, QString operatorName, QWidget* parent = nullptr)
        : NoteForm(db, zelva::NoteKind::Credit, std::move(operatorName), parent)
    {
    }
};

class frmDebitNote : public NoteForm {
    Q_OBJECT
public:
    frmDebitNote(zelva::Database& db, QString operatorName, QWidget* parent = nullptr)
        : NoteForm(db, zelva::NoteKind::Debit, std::move(operatorName), parent)
    {
    }
};
