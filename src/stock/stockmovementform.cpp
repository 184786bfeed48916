#include "stock/stockmovementform.h"

#include "ui/ownwindow.h"
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

namespace zelva {

namespace {

struct ButtonStates {
    Turn cmdNew, cmdSave, cmdCancel, cmdClose, lstName;
};

// A blank number box counts as 0 (the completeness check fills the item's);
// anything else must be wholly a number.
bool readBox(const QLineEdit* box, const QString& name, double& out)
{
    if (box->text().trimmed().isEmpty()) {
        out = 0;
        return true;
    }
    return ReadNumber(box->text(), name, out);
}

double numberIn(const QWidget* box)
{
    double value = 0;
    ReadNumber(TextOf(box), value);
    return value;
}

} // namespace

StockMovementForm::StockMovementForm(Database& db, const QString& caption, QWidget* parent)
    : QWidget(parent)
    , lblTitle(new QLabel(caption, this))
    , lblItemFor(new QLabel(this))
    , lstName(new QListWidget(this))
    , txtSno(NewBox(this, "txtSno"))
    , txtItemCode(NewBox(this, "txtItemCode"))
    , txtItemName(NewBox(this, "txtItemName"))
    , txtHsn(NewBox(this, "txtHsn"))
    , txtRate(NewBox(this, "txtRate"))
    , txtPer(NewBox(this, "txtPer"))
    , txtQuantity(NewBox(this, "txtQuantity"))
    , txtRemarks(NewBox(this, "txtRemarks"))
    , cmdNew(NewButton(this, "cmdNew", tr("&New"), tr("Create a New Member")))
    , cmdSave(NewButton(this, "cmdSave", tr("&Save"), tr("Save the New Member")))
    , cmdCancel(NewButton(this, "cmdCancel", tr("Cance&l"), tr("Cancel New Member")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close Curent Window")))
    , m_db(db)
    , datMovement(db)
    , datItemStock(db)
    , datOtherItemStock(db)
    , m_entries(new QFormLayout)
{
    setWindowTitle(caption);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont heading = lblTitle->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    lblTitle->setFont(heading);
    lblItemFor->setObjectName(QStringLiteral("lblItemFor"));
    lstName->setObjectName(QStringLiteral("lstName"));
    txtPer->setMaxLength(LongestUnit); // a new item's unit, as the stock entry form takes it
    for (QPushButton* button : { cmdNew, cmdSave, cmdCancel, cmdClose }) {
        QSizePolicy keepPlace = button->sizePolicy(); // a hidden Cancel leaves its place empty
        keepPlace.setRetainSizeWhenHidden(true);
        button->setSizePolicy(keepPlace);
    }
}

std::vector<FieldBox> StockMovementForm::itemFields() const
{
    return { { "sno", txtSno, {}, true }, { "itemcode", txtItemCode, tr("Item Code") },
        { "ItemName", txtItemName, tr("Item Name") }, { "ItemHsn", txtHsn, tr("HSN/ SAC") },
        { "Rate", txtRate, tr("Rate (Rs.)"), true }, { "Per", txtPer, tr("Per") },
        { "Quantity", txtQuantity, tr("Quantity"), true }, { "Remarks", txtRemarks, tr("Remarks") } };
}

std::vector<FieldBox> StockMovementForm::allFields() const
{
    std::vector<FieldBox> fields = m_setup.ownFields;
    const std::vector<FieldBox> item = itemFields();
    fields.insert(fields.end(), item.begin(), item.end());
    return fields;
}

void StockMovementForm::addEntry(const QString& caption, QWidget* box)
{
    QWidget* field = box;
    for (const auto& [neighbour, left] : m_setup.beside) {
        if (left != box)
            continue;
        field = new QWidget(this);
        auto* row = new QHBoxLayout(field);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(box, 2);
        row->addWidget(neighbour, 1);
    }
    auto* label = new QLabel(caption, this);
    label->setBuddy(box);
    m_entries->addRow(label, field);
}

void StockMovementForm::setUp(Setup setup)
{
    m_setup = std::move(setup);
    std::vector<QWidget*> order;

    auto* optionFrame = new QGroupBox(this);
    auto* optionColumn = new QVBoxLayout(optionFrame);
    auto* optionGroup = new QButtonGroup(this);
    for (size_t i = 0; i < m_setup.options.size(); ++i) {
        QRadioButton* button = m_setup.options[i].button;
        optionColumn->addWidget(button, 0, Qt::AlignLeft);
        optionGroup->addButton(button, int(i));
        order.push_back(button);
    }
    connect(optionGroup, &QButtonGroup::idClicked, this, &StockMovementForm::option_Click);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(optionFrame);
    lblItemFor->setText(m_setup.listHeading);
    listColumn->addWidget(lblItemFor);
    listColumn->addWidget(lstName, 1);
    order.push_back(lstName);

    for (const FieldBox& f : allFields()) {
        if (f.caption.isEmpty())
            continue;
        addEntry(f.caption, f.box);
        order.push_back(f.box);
        for (const auto& [neighbour, left] : m_setup.beside)
            if (left == f.box)
                order.push_back(neighbour);
    }
    auto* entryFrame = new QGroupBox(this);
    entryFrame->setLayout(m_entries);
    txtSno->setParent(entryFrame);

    auto* commandFrame = new QGroupBox(this);
    commandFrame->setObjectName(QStringLiteral("fracommand"));
    auto* commandRow = new QHBoxLayout(commandFrame);
    for (QPushButton* b : { cmdNew, cmdSave, cmdCancel, cmdClose }) {
        commandRow->addWidget(b);
        order.push_back(b);
    }

    auto* middle = new QHBoxLayout;
    middle->addLayout(listColumn, 2);
    middle->addWidget(entryFrame, 5);
    auto* page = new QVBoxLayout(this);
    page->addWidget(lblTitle);
    page->addLayout(middle, 1);
    page->addWidget(commandFrame);
    setMinimumSize(760, 560);

    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(lstName, &QListWidget::itemClicked, this, &StockMovementForm::lstName_Click);
    connect(lstName, &QListWidget::itemActivated, this, &StockMovementForm::lstName_Click);
    connect(cmdNew, &QPushButton::clicked, this, &StockMovementForm::cmdNew_Click);
    connect(cmdSave, &QPushButton::clicked, this, &StockMovementForm::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &StockMovementForm::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &StockMovementForm::cmdClose_Click);

    Form_Load();
    order.front()->setFocus(); // the work starts with the choice of item
}

bool StockMovementForm::event(QEvent* event)
{
    if (PressButtonForAccessKey(this, event))
        return true;
    return QWidget::event(event);
}

// ---- the button table ----

void StockMovementForm::apply(Step step)
{
    using enum Turn;
    // clang-format off
    static const std::map<Step, ButtonStates> table{
        //                    New   Save  Cancel     Close lstName
        {Step::Load,          {On,  Off,  OffHidden, On,   Keep}},
        {Step::ExistingOption,{On,  Off,  Off,       On,   On}},
        {Step::NewItemOption, {Keep, Keep, Keep,     Keep, Keep}},
        {Step::New,           {Off, On,   OnShown,   On,   Keep}},
        {Step::Saved,         {On,  Off,  OffHidden, On,   Keep}},
        {Step::Cancelled,     {On,  Off,  OffHidden, On,   On}},
    };
    // clang-format on
    const ButtonStates& s = table.at(step);
    TurnControl(cmdNew, s.cmdNew);
    TurnControl(cmdSave, s.cmdSave);
    TurnControl(cmdCancel, s.cmdCancel);
    TurnControl(cmdClose, s.cmdClose);
    TurnControl(lstName, s.lstName);
}

// ---- the private procedures ----

void StockMovementForm::Form_Load()
{
    DesableEntry();
    txtSno->hide();
    apply(Step::Load);
}

void StockMovementForm::SetMovementDatabase() { datMovement.bind(m_setup.file, m_setup.table); }

void StockMovementForm::SetItemStockDatabase()
{
    datItemStock.bind(DbFile::ItemStock, StockTableName(StockTable::ForSale));
}

void StockMovementForm::SetOtherItemStockDatabase()
{
    datOtherItemStock.bind(DbFile::OtherItemStock, StockTableName(StockTable::Office));
}

RecordSource& StockMovementForm::stockSource(StockTable table)
{
    return table == StockTable::ForSale ? datItemStock : datOtherItemStock;
}

// The stock record into the item boxes.
void StockMovementForm::showItem(RecordSource& stock)
{
    for (const FieldBox& f : itemFields())
        SetTextOf(f.box, stock.text(f.field));
}

void StockMovementForm::DisplayItem() { showItem(datItemStock); }

void StockMovementForm::DisplayOtherItem() { showItem(datOtherItemStock); }

// The boxes' details over the same item's stock record; its sno, code and
// quantity are left as the record holds them (the quantity moves through
// AdjustStock).
void StockMovementForm::writeItemDetails(RecordSource& stock)
{
    for (const FieldBox& f : itemFields()) {
        if (f.box == txtSno || f.box == txtItemCode || f.box == txtQuantity)
            continue;
        stock.setValue(f.field, f.asNumber ? QVariant(numberIn(f.box)) : QVariant(TextOf(f.box)));
    }
}

// The boxes into the pending movement, field by field in the table's order.
void StockMovementForm::Insert()
{
    for (const FieldBox& f : allFields()) {
        if (f.box == m_setup.serialBox)
            datMovement.setValue(f.field, m_serial);
        else
            datMovement.setValue(f.field, f.asNumber ? QVariant(numberIn(f.box)) : QVariant(TextOf(f.box)));
    }
    writeOwnFields(datMovement);
}

bool StockMovementForm::CheckForEmptyControl()
{
    if (!ApplyBlankRules(m_setup.ownRules))
        return false;
    fillOwnDefaults();
    if (txtItemCode->text().isEmpty())
        return true; // no item chosen: the item's part is not checked
    return ApplyBlankRules({ Mandatory(txtItemName, tr("Enter Name of the Item ")), Optional(txtHsn, NotApplicable),
        Optional(txtRate, QStringLiteral("0")), Optional(txtPer, NotApplicable),
        Optional(txtQuantity, QStringLiteral("0")), Optional(txtRemarks, NotApplicable) });
}

void StockMovementForm::ClearControl()
{
    for (const FieldBox& f : allFields())
        SetTextOf(f.box, QString());
    lstName->clear();
    clearOwnExtras();
}

void StockMovementForm::DesableEntry()
{
    for (const FieldBox& f : allFields())
        SetBoxReadOnly(f.box, true);
    lockOwnExtras(true);
}

void StockMovementForm::EnableEntry()
{
    for (const FieldBox& f : allFields())
        SetBoxReadOnly(f.box, false);
    SetBoxReadOnly(m_setup.codeBox, true);
    SetBoxReadOnly(txtItemCode, true);
    lockOwnExtras(false);
}

// ---- helpers of the handlers ----

const ItemOption* StockMovementForm::chosenOption() const
{
    for (const ItemOption& option : m_setup.options)
        if (option.button->isChecked())
            return &option;
    return nullptr;
}

// The list in one read of the table and one fill, leaving out the table's
// placeholder record; each entry's record key is kept beside it (row for
// row), so it leads to its record whatever the serials.
void StockMovementForm::fillList(StockTable table)
{
    lstName->clear();
    m_listKeys.clear();
    std::vector<qint64> keys;
    const std::vector<std::vector<QVariant>> values =
        stockSource(table).readList({QStringLiteral("ItemName"), QStringLiteral("sno")}, keys);
    QStringList names;
    names.reserve(qsizetype(keys.size()));
    m_listKeys.reserve(keys.size());
    for (size_t record = 0; record < keys.size(); ++record) {
        const QString name = RecordSource::shown(values[0][record]);
        if (name.isEmpty() && values[1][record].toLongLong() == 0)
            continue; // the table's placeholder record
        names << name;
        m_listKeys.push_back(keys[record]);
    }
    lstName->setUpdatesEnabled(false);
    lstName->addItems(names);
    lstName->setUpdatesEnabled(true);
}

void StockMovementForm::setSerial(qint64 serial)
{
    m_serial = serial;
    m_setup.serialBox->setText(QString::number(serial));
    m_setup.codeBox->setText(RecordCode(m_setup.codeKind, serial));
}

// Dates must be dates and numbers numbers: a text the reports or the stock
// would misread is refused, naming its box. Dates are stored as dd/mm/yyyy.
bool StockMovementForm::readEntries(double& rate, double& quantity)
{
    for (const DateBox& d : m_setup.dates) {
        const QDate date = ReadDateText(d.box->text());
        if (!date.isValid()) {
            MsgBox(tr("%1 must be a date written as day/month/year (%2): \"%3\" is not one.")
                       .arg(d.name, DateText(QDate::currentDate()), d.box->text()));
            d.box->setFocus();
            return false;
        }
        d.box->setText(DateText(date));
    }
    if (!readBox(txtRate, tr("Rate (Rs.)"), rate)) {
        txtRate->setFocus();
        return false;
    }
    if (!readBox(txtQuantity, tr("Quantity"), quantity)) {
        txtQuantity->setFocus();
        return false;
    }
    return true;
}

// Under an existing-item option the boxes must show the item chosen from the
// list, so that its stock record is rewritten only from its own details.
bool StockMovementForm::itemStillShown()
{
    const ItemOption* option = chosenOption();
    if (option && !option->table)
        return true; // a new item: stored without a stock change
    const bool shown = option && m_item && m_item->table == *option->table && txtItemCode->text() == m_item->code;
    if (!shown) {
        MsgBox(tr("Choose the item from the list again "));
        lstName->setFocus();
    }
    return shown;
}

// A record source of its own over the remembered item's record alone, so
// that the list's record sources keep every item a list click may lead to.
void StockMovementForm::bindToItem(RecordSource& stock, StockTable table) const
{
    stock.bind(StockFile(table), StockTableName(table));
    stock.setFilter(QStringLiteral("itemcode"), m_item->code);
    stock.moveFirst();
}

std::optional<double> StockMovementForm::shownItemOnHand()
{
    if (!m_item || txtItemCode->text() != m_item->code)
        return std::nullopt;
    try {
        RecordSource stock(m_db); // its own read: the list's record source stays whole
        bindToItem(stock, m_item->table);
        if (!stock.eof())
            return stock.value(QStringLiteral("Quantity")).toDouble();
    } catch (const DataError&) {
        // Only a warning hangs on it: a file in use is reported by Save.
    }
    return std::nullopt;
}

// Inside the save's transaction: the item's details from the boxes, then its
// quantity moved against the record as it stands. False when the item is no
// longer in its table.
bool StockMovementForm::rewriteStockRecord(StockTable table, double quantity)
{
    RecordSource stock(m_db); // its own read: the list's record source stays whole
    bindToItem(stock, table);
    if (stock.eof())
        return false;
    stock.edit();
    writeItemDetails(stock);
    stock.update();
    return AdjustStock(m_db, table, m_item->code, m_setup.sign * quantity);
}

std::optional<StockTable> StockMovementForm::movedTable() const
{
    const ItemOption* option = chosenOption();
    if (!m_item || !option || !option->table)
        return std::nullopt;
    return m_item->table;
}

QString StockMovementForm::storeMovement(double quantity)
{
    Transaction transaction(m_db, tr("save the %1").arg(m_setup.movementName));
    setSerial(FreeSerial(
        m_db, m_setup.file, m_setup.table, m_setup.serialField, m_setup.codeField, m_setup.codeKind, m_serial));
    if (const std::optional<StockTable> table = movedTable(); table && !rewriteStockRecord(*table, quantity))
        return tr("%1 (%2) is no longer in the stock list. Choose the item from the list again ")
            .arg(txtItemName->text(), m_item->code);
    Insert();
    datMovement.update();
    transaction.commit();
    return {};
}

// ---- the handlers ----

void StockMovementForm::option_Click(int index)
{
    const ItemOption& option = m_setup.options.at(size_t(index));
    datMovement.cancelUpdate(); // a pending movement is abandoned
    m_item.reset();
    if (!option.table) {
        // The new item is made in the stock-item form; the boxes no longer
        // show an item whose stock this form would move.
        lstName->clear();
        txtItemCode->clear();
        txtSno->clear();
        apply(Step::NewItemOption);
        emit stockItemFormWanted(option.officeItem);
        return;
    }
    ClearControl();
    DesableEntry();
    Guarded<DataError>([&] {
        SetMovementDatabase();
        if (*option.table == StockTable::ForSale)
            SetItemStockDatabase();
        else
            SetOtherItemStockDatabase();
        fillList(*option.table);
    });
    lblItemFor->setText(option.listHeading);
    refreshLists();
    apply(Step::ExistingOption);
}

void StockMovementForm::lstName_Click(QListWidgetItem* entry)
{
    const ItemOption* option = chosenOption();
    if (!entry || !option || !option->table)
        return;
    const StockTable table = *option->table;
    const int row = lstName->row(entry);
    if (row < 0 || size_t(row) >= m_listKeys.size())
        return;
    const qint64 key = m_listKeys[size_t(row)];
    Guarded<DataError>([&] {
        RecordSource& stock = stockSource(table);
        stock.requery(); // the record as it stands now, not as it was listed
        if (!stock.moveToKey(key)) {
            MsgBox(tr("%1 is no longer in the stock list. Choose the option again to read the list afresh ")
                       .arg(entry->text()));
            return;
        }
        if (table == StockTable::ForSale)
            DisplayItem();
        else
            DisplayOtherItem();
        m_item = RememberedItem { table, key, txtItemCode->text() };
    });
}

void StockMovementForm::cmdNew_Click()
{
    qint64 serial = 0;
    const bool started = Guarded<DataError>([&] {
        if (datMovement.table().isEmpty()) // bound once: New reads only the highest serial
            SetMovementDatabase();
        serial = datMovement.nextSerial(m_setup.serialField);
        datMovement.addNew();
    });
    if (!started)
        return;
    EnableEntry();
    setSerial(serial);
    for (const DateBox& d : m_setup.dates)
        d.box->setText(DateText(QDate::currentDate()));
    startNew();
    apply(Step::New);
    m_setup.firstEntry->setFocus();
}

void StockMovementForm::cmdSave_Click()
{
    if (!movementPending()) {
        MsgBox(tr("Press New Button first "));
        return;
    }
    double rate = 0;
    double quantity = 0;
    if (!CheckForEmptyControl() || !readEntries(rate, quantity) || !itemStillShown() || !acceptOwnEntries())
        return;
    // From here on the boxes show either a new item or the remembered one.
    const bool movesStock = movedTable().has_value();
    const QString codeAtNew = m_setup.codeBox->text();
    QString refusal;
    try {
        refusal = storeMovement(quantity);
    } catch (const DataError& error) {
        // Rolled back: the movement stays on screen, pending, to be saved again.
        MsgBox(error.message()
            + tr("\nNothing is saved and the stock is unchanged. The %1 stays on screen to be saved again.")
                  .arg(m_setup.movementName));
        return;
    }
    if (!refusal.isEmpty()) {
        MsgBox(refusal);
        return;
    }
    if (m_setup.codeBox->text() != codeAtNew)
        MsgBox(tr("%1 was taken by another %2 meanwhile. This %2 is saved as %3.")
                   .arg(codeAtNew, m_setup.movementName, m_setup.codeBox->text()));
    if (movesStock && quantity < 0)
        MsgBox(m_setup.returnNote.arg(txtItemName->text(), Str(-quantity)));
    MsgBox(tr("Saved Successfully"));
    apply(Step::Saved);
    DesableEntry();
    emit movementSaved();
}

void StockMovementForm::cmdCancel_Click()
{
    ClearControl();
    datMovement.cancelUpdate();
    apply(Step::Cancelled);
    DesableEntry();
}

void StockMovementForm::cmdClose_Click()
{
    CloseOwnWindow(this);
}

} // namespace zelva
