#pragma once
// The pattern purchase and issue share: option buttons choosing the stock
// table (or a new item), the item list, the remembered item, and New / Save /
// Cancel / Close over one movement table. Each form states its own boxes,
// fields, messages, code letter and the sign of its movement; the flow lives
// here once.
//
// How Save treats the stock:
// - the quantity typed is added (purchase) or taken off (issue) through
//   AdjustStock, against the record as it stands inside the save's
//   transaction, never against a quantity remembered from the list;
// - the stock record is rewritten only from the boxes of that same item: under
//   an existing-item option the item code shown must be the remembered one,
//   else Save refuses and stores nothing; under a new-item option the
//   movement is stored without a stock change;
// - the movement, the stock record's details and its quantity land in one
//   transaction, with the serial and code confirmed free inside it.
// A click on the item list shows the clicked item as its file holds it now
// (or says it is no longer there), whatever the form read before: Save and
// the on-hand check read the remembered item through record sources of their
// own, never through the list's.
#include "data/recordsource.h"
#include "data/serials.h"
#include "data/stockchange.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"

#include "ui/pendingwork.h"

#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace zelva {

// One option button of the item choice.
struct ItemOption {
    QRadioButton* button;
    std::optional<StockTable> table; // the table it lists; none: a new item
    QString listHeading = {}; // lblItemFor while its items are listed
    bool officeItem = false; // a new item for office use
};

// A date box: filled with today at New, and checked at Save.
struct DateBox {
    QLineEdit* box;
    QString name; // as the refusal names it
};

class StockMovementForm : public QWidget, public PendingWork {
    Q_OBJECT
public:
    QLabel* lblTitle;
    QLabel* lblItemFor;
    QListWidget* lstName;
    QLineEdit* txtSno; // hidden: the stock record's serial
    QLineEdit* txtItemCode;
    QLineEdit* txtItemName;
    QLineEdit* txtHsn;
    QLineEdit* txtRate;
    QLineEdit* txtPer;
    QLineEdit* txtQuantity;
    QLineEdit* txtRemarks;
    QPushButton* cmdNew;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;

    // A movement started with New is waiting for Save or Cancel.
    bool movementPending() const { return datMovement.mode() == RecordSource::Mode::Adding; }
    bool hasPendingWork() override { return movementPending(); }

signals:
    // A new-item option asks for the stock-item form, for office items or not.
    void stockItemFormWanted(bool officeItems);
    // A movement was stored.
    void movementSaved();

public slots:
    void option_Click(int index);
    void lstName_Click(QListWidgetItem* item);
    void cmdNew_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdClose_Click();

protected:
    struct Setup {
        std::vector<ItemOption> options; // in tab order
        std::vector<FieldBox> ownFields; // the movement's fields before the item's, in writing order
        std::vector<BlankRule> ownRules; // the completeness check before the item's part
        std::vector<std::pair<QWidget*, QWidget*>> beside; // (box, the box it stands to the right of)
        std::vector<DateBox> dates;
        QWidget* firstEntry = nullptr; // takes the focus at New
        QLineEdit* serialBox = nullptr;
        QLineEdit* codeBox = nullptr;
        QString serialField;
        QString codeField;
        CodeKind codeKind = CodeKind::Purchase;
        DbFile file = DbFile::PurchaseMaster;
        QString table;
        double sign = 1; // +1 adds to the stock, -1 takes off
        QString movementName; // "purchase", "issue"
        QString listHeading; // lblItemFor before an option is chosen
        QString returnNote; // %1 the item, %2 the quantity: said after saving a negative quantity
    };

    StockMovementForm(Database& db, const QString& caption, QWidget* parent);
    void setUp(Setup setup);

    // What a form adds at New and writes beyond its field table.
    virtual void startNew() { }
    // Defaults that depend on other boxes, once the own mandatory entries are there.
    virtual void fillOwnDefaults() { }
    virtual void writeOwnFields(RecordSource&) { }
    // Lists the form fills from the files, read again when an option is chosen.
    virtual void refreshLists() { }
    // A form's own look at complete entries before Save writes anything;
    // false leaves the movement pending.
    virtual bool acceptOwnEntries() { return true; }
    // Stores the movement of that quantity whole (the serial confirmed free
    // and shown, the stock moved when movedTable() says so), or nothing: ""
    // when stored, else the refusal told to the operator. The pattern's own
    // writes the pending record and the stock in one transaction; a form
    // whose document has a store function of its own saves through it.
    // Throws DataError (nothing stored).
    virtual QString storeMovement(double quantity);
    // Boxes of a form's own beyond the movement's fields.
    virtual void lockOwnExtras(bool) { }
    virtual void clearOwnExtras() { }

    // The stock table Save moves: the remembered item's, under an
    // existing-item option; none for a new item.
    std::optional<StockTable> movedTable() const;
    qint64 serial() const { return m_serial; }
    // The serial and its code into their boxes.
    void setSerial(qint64 serial);
    // The remembered item's quantity on hand as the file holds it now; nullopt
    // when the boxes do not show a remembered item.
    std::optional<double> shownItemOnHand();
    // Runs handler when the focus leaves box.
    void onLostFocus(QWidget* box, std::function<void()> handler) { m_lostFocus.add(box, std::move(handler)); }
    // The form's buttons keep their access keys over the main window's menus.
    bool event(QEvent* event) override;

    // The private procedures of both forms.
    void Form_Load();
    void SetMovementDatabase();
    void SetItemStockDatabase();
    void SetOtherItemStockDatabase();
    void DisplayItem();
    void DisplayOtherItem();
    void Insert();
    bool CheckForEmptyControl();
    void ClearControl();
    void DesableEntry();
    void EnableEntry();

    Database& m_db;
    RecordSource datMovement;
    RecordSource datItemStock;
    RecordSource datOtherItemStock;

private:
    enum class Step { Load, ExistingOption, NewItemOption, New, Saved, Cancelled };
    void apply(Step step);
    void addEntry(const QString& caption, QWidget* box);
    const ItemOption* chosenOption() const;
    RecordSource& stockSource(StockTable table);
    void fillList(StockTable table);
    std::vector<FieldBox> itemFields() const; // the stock record's fields, in writing order
    std::vector<FieldBox> allFields() const; // the movement's own, then the item's
    void showItem(RecordSource& stock);
    void writeItemDetails(RecordSource& stock);
    bool readEntries(double& rate, double& quantity);
    bool itemStillShown();
    void bindToItem(RecordSource& stock, StockTable table) const;
    bool rewriteStockRecord(StockTable table, double quantity);

    // The item chosen from the list: its table, record and code. It stays
    // until another item is chosen or another option is.
    struct RememberedItem {
        StockTable table;
        qint64 key;
        QString code;
    };

    Setup m_setup;
    QFormLayout* m_entries;
    std::optional<RememberedItem> m_item;
    qint64 m_serial = 0;
    std::vector<qint64> m_listKeys; // the listed items' record keys, row for row
    LostFocusHooks m_lostFocus;
};

} // namespace zelva
