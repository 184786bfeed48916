#pragma once
// The pattern the master forms share: one table, a list of its records by a
// chosen key, and the buttons New / Save / Cancel / Edit / Update / Cancel Edit
// / Close. Each form states its boxes, their fields, its completeness rules and
// its button table; the flow between them lives here once.
#include "data/recordsource.h"
#include "data/serials.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"
#include "ui/pendingwork.h"

#include <QWidget>
#include <functional>
#include <map>
#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zelva {

// A list key offered by cboChoice: the choice's text and the field it lists.
struct ListKey {
    QString choice;
    QString field;
};

// How each event leaves the buttons, the list key and the list.
struct ScreenState {
    Turn cmdNew, cmdSave, cmdCancel, cmdEdit, cmdUpdate, cmdCancelEdit, cmdClose;
    Turn cboChoice = Turn::Keep;
    Turn lstName = Turn::Keep;
};

enum class Step { Load, Choice, Show, ListPick, New, NameLeft, Saved, Cancelled, EditStarted, Updated, EditCancelled };
using StateTable = std::map<Step, ScreenState>;

// The button table of the forms that list their table by a chosen key.
const StateTable& ListFormStates();

class MasterForm : public QWidget, public PendingWork {
    Q_OBJECT
public:
    QLabel* lblTitle;
    QComboBox* cboChoice = nullptr; // only on forms with list keys
    QListWidget* lstName;
    QPushButton* cmdNew;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdEdit;
    QPushButton* cmdUpdate;
    QPushButton* cmdCancelEdit;
    QPushButton* cmdHistory; // enabled while a record is on display
    QPushButton* cmdClose;

    // The key of the record the boxes show; -1 when none is on display.
    qint64 shownKey() const { return m_shownKey; }

    // A new record or an edit has been started and neither saved nor cancelled.
    bool hasPendingWork() override;

    // Shows the record whose field (one the list is kept by) holds value, as
    // the operator would: that list key chosen, then the entry picked. False
    // (nothing changed) when the form has pending work or no entry holds it.
    bool showListed(const QString& field, const QString& value);

signals:
    // A new record was stored or a record was rewritten.
    void recordSaved();
    // The operator asked for the audit trail of the record on display.
    void historyWanted(const QString& table, const QString& record);

public slots:
    void cboChoice_Click();
    void lstName_Click(QListWidgetItem* item);
    void cmdNew_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdEdit_Click();
    void cmdUpdate_Click();
    void cmdCancelEdit_Click();
    void cmdHistory_Click();
    void cmdClose_Click();

protected:
    struct Setup {
        std::vector<FieldBox> fields;      // in tab order
        std::vector<BlankRule> blankRules; // the order of the completeness check
        QWidget* serialBox = nullptr;
        QWidget* codeBox = nullptr;
        QWidget* nameBox = nullptr;
        CodeKind codeKind = CodeKind::Item;
        std::vector<ListKey> listKeys; // none: no cboChoice
        QString showListField;         // with no list keys: the field Show lists, in serial order
        const StateTable* states = nullptr;
        bool serialHidden = true;
        std::vector<QPushButton*> extraButtons; // before New in the command frame
        QWidget* picture = nullptr;             // beside the title
        // A last look at complete entries before Save or Update writes them;
        // false leaves the form as it is. None: always written.
        std::function<bool()> acceptEntries = {};
    };

    MasterForm(const QString& caption, const QString& title, QWidget* parent);

    // Builds the layout, wires the controls and puts the form in its opening state.
    void setUp(Setup setup);

    // What each form supplies: its record source and its named procedures.
    virtual RecordSource& records() = 0;
    virtual void bindRecords() = 0; // Set...Database
    virtual void showRecord() = 0;  // Display
    virtual void writeRecord() = 0; // Insert

    // Runs handler when the focus leaves box (a LostFocus handler).
    void onLostFocus(QWidget* box, std::function<void()> handler) { m_lostFocus.add(box, std::move(handler)); }
    // The form's buttons keep their access keys over the main window's menus.
    bool event(QEvent* event) override;

    void Form_Load();
    void ClearControl();
    void DesableEntry();
    void EnableEntry();
    bool CheckForEmptyControl();
    bool entriesAccepted() const;
    // Every number box read by the one rule; false (the operator told) at the first refused.
    bool CheckNumbers();

    // Copies between the current record and the boxes of the field table.
    void copyRecordToBoxes(RecordSource& source);
    void copyBoxesToRecord(RecordSource& source);

    // The name box was left (enables Save as the button table says).
    void nameLeft() { apply(Step::NameLeft); }
    // Show: binds, lists the records in serial order and shows the first one.
    void showFirstRecord();
    // Back to the state the form opens in, with no pending record.
    void resetToLoad();

    void apply(Step step);

private:
    enum class Order { Record, Serial };
    // Adds a labelled box to the entry frame, in tab order.
    void addEntry(const QString& caption, QWidget* box);
    void fillList(const QString& field, Order order);
    void renameShownListEntry();
    qint64 listedKey(int row) const; // -1 for a row not listed
    void showByKey(qint64 key);
    void claimSerial();
    QString listFieldForChoice() const;
    void setShown(qint64 key);
    QString fieldOf(const QWidget* box) const;
    bool changedByOperator(const FieldBox& f) const;
    QString changedSinceEdit();

    // A field that other work changes too, as Edit found it: the text shown
    // then, and the stored value Update compares with.
    struct AtEdit {
        QString shown;
        QString stored;
    };

    Setup m_setup;
    QFormLayout* m_entries;
    QString m_listedField;
    std::vector<qint64> m_listKeys; // the listed records' keys, row for row
    qint64 m_shownKey = -1;
    bool m_shownIsPlaceholder = false; // the serial-0 record: shown, never edited
    std::map<QString, AtEdit> m_atEdit;
    LostFocusHooks m_lostFocus;
};

} // namespace zelva
