#include "masters/masterform.h"

#include "data/dataerror.h"
#include "ui/ownwindow.h"
#include "platform/textnum.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace zelva {

const StateTable& ListFormStates()
{
    using enum Turn;
    // clang-format off
    static const StateTable table{
        //                       New   Save  Cancel     Edit  Update CancelEdit Close  cboChoice lstName
        {Step::Load,          {On,   Off,  OffHidden, Off,  Off,   OffHidden, On}},
        {Step::Choice,        {On,   Off,  Off,       Off,  Off,   Keep,      On,    Keep,     On}},
        {Step::ListPick,      {Keep, Keep, Keep,      On,   Keep,  Keep,      Keep}},
        {Step::New,           {Off,  Keep, OnShown,   Off,  Off,   OffHidden, On}},
        {Step::NameLeft,      {Keep, On,   Keep,      Keep, Keep,  Keep,      Keep}},
        {Step::Saved,         {On,   Off,  OffHidden, Off,  Off,   OffHidden, On}},
        {Step::Cancelled,     {On,   Off,  OffHidden, Off,  Off,   OffHidden, On,    On,       On}},
        {Step::EditStarted,   {Off,  Off,  Off,       Off,  On,    OnShown,   Off,   Off,      Off}},
        {Step::Updated,       {On,   Off,  Off,       Off,  Off,   OffHidden, On,    On,       On}},
        {Step::EditCancelled, {On,   Off,  Off,       On,   Off,   OffHidden, On,    On,       On}},
    };
    // clang-format on
    return table;
}

MasterForm::MasterForm(const QString& caption, const QString& title, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(caption);
    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont heading = lblTitle->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    lblTitle->setFont(heading);

    lstName = new QListWidget(this);
    lstName->setObjectName(QStringLiteral("lstName"));

    cmdNew = NewButton(this, "cmdNew", tr("&New"), tr("Create a New Member"));
    cmdSave = NewButton(this, "cmdSave", tr("&Save"), tr("Save the New Member"));
    cmdCancel = NewButton(this, "cmdCancel", tr("Cance&l"), tr("Cancel New Member"));
    cmdEdit = NewButton(this, "cmdEdit", tr("&Edit"), tr("Update the Current Members Detail"));
    cmdUpdate = NewButton(this, "cmdUpdate", tr("U&pdate"), tr("Save the Update"));
    cmdCancelEdit = NewButton(this, "cmdCancelEdit", tr("Cancel Edit"), tr("Cancel Editing Members Detail"));
    cmdHistory = NewButton(this, "cmdHistory", tr("Histor&y"), tr("Every change made to this record"));
    cmdHistory->setEnabled(false);
    cmdClose = NewButton(this, "cmdClose", tr("&Close"), tr("Close Curent Window"));

    m_entries = new QFormLayout;
}

void MasterForm::addEntry(const QString& caption, QWidget* box)
{
    if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->setTabChangesFocus(true);
        lines->setFixedHeight(lines->fontMetrics().lineSpacing() * 4);
    }
    auto* label = new QLabel(caption, this);
    label->setBuddy(box);
    m_entries->addRow(label, box);
}

void MasterForm::setUp(Setup setup)
{
    m_setup = std::move(setup);
    for (const FieldBox& f : m_setup.fields)
        if (!f.caption.isEmpty())
            addEntry(f.caption, f.box);

    auto* listFrame = new QGroupBox(this);
    auto* listColumn = new QVBoxLayout(listFrame);
    if (!m_setup.listKeys.empty()) {
        cboChoice = new QComboBox(listFrame);
        cboChoice->setObjectName(QStringLiteral("cboChoice"));
        cboChoice->setPlaceholderText(tr("Select your Choice"));
        for (const ListKey& key : m_setup.listKeys)
            cboChoice->addItem(key.choice);
        cboChoice->setCurrentIndex(-1);
        listColumn->addWidget(cboChoice);
        connect(cboChoice, &QComboBox::activated, this, &MasterForm::cboChoice_Click);
    }
    listColumn->addWidget(lstName);

    auto* entryFrame = new QGroupBox(this);
    entryFrame->setLayout(m_entries);
    if (m_setup.serialHidden)
        m_setup.serialBox->setParent(entryFrame);

    auto* commandFrame = new QGroupBox(this);
    commandFrame->setObjectName(QStringLiteral("fracommand"));
    auto* commandRow = new QHBoxLayout(commandFrame);
    std::vector<QPushButton*> buttons = m_setup.extraButtons;
    for (QPushButton* b : {cmdNew, cmdSave, cmdCancel, cmdEdit, cmdUpdate, cmdCancelEdit, cmdHistory, cmdClose})
        buttons.push_back(b);
    for (QPushButton* b : buttons)
        commandRow->addWidget(b);

    auto* titleRow = new QHBoxLayout;
    if (m_setup.picture)
        titleRow->addWidget(m_setup.picture);
    titleRow->addWidget(lblTitle, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(listFrame, 2);
    middle->addWidget(entryFrame, 5);

    auto* page = new QVBoxLayout(this);
    page->addLayout(titleRow);
    page->addLayout(middle, 1);
    page->addWidget(commandFrame);

    // Tab order: the list key, the list, the boxes from top to bottom, the buttons.
    std::vector<QWidget*> order;
    if (cboChoice)
        order.push_back(cboChoice);
    order.push_back(lstName);
    for (int row = 0; row < m_entries->rowCount(); ++row)
        if (QLayoutItem* item = m_entries->itemAt(row, QFormLayout::FieldRole))
            order.push_back(item->widget());
    order.insert(order.end(), buttons.begin(), buttons.end());
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(lstName, &QListWidget::itemClicked, this, &MasterForm::lstName_Click);
    connect(lstName, &QListWidget::itemActivated, this, &MasterForm::lstName_Click);
    connect(cmdNew, &QPushButton::clicked, this, &MasterForm::cmdNew_Click);
    connect(cmdSave, &QPushButton::clicked, this, &MasterForm::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &MasterForm::cmdCancel_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &MasterForm::cmdEdit_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &MasterForm::cmdUpdate_Click);
    connect(cmdCancelEdit, &QPushButton::clicked, this, &MasterForm::cmdCancelEdit_Click);
    connect(cmdHistory, &QPushButton::clicked, this, &MasterForm::cmdHistory_Click);
    connect(cmdClose, &QPushButton::clicked, this, &MasterForm::cmdClose_Click);

    Form_Load();
    // The work starts with the list key (or the first extra button, Show), not in a read-only box.
    QWidget* firstStep = cboChoice ? static_cast<QWidget*>(cboChoice) : buttons.front();
    firstStep->setFocus();
}

// While the focus is in this form its enabled buttons win over the main window's menus.
bool MasterForm::event(QEvent* event)
{
    if (PressButtonForAccessKey(this, event))
        return true;
    return QWidget::event(event);
}

// ---- the private procedures every master form has ----

void MasterForm::Form_Load()
{
    DesableEntry();
    if (m_setup.serialHidden)
        m_setup.serialBox->hide();
    apply(Step::Load);
}

void MasterForm::ClearControl()
{
    for (const FieldBox& f : m_setup.fields)
        SetTextOf(f.box, QString());
    lstName->clear();
}

void MasterForm::DesableEntry()
{
    for (const FieldBox& f : m_setup.fields)
        SetBoxReadOnly(f.box, true);
}

void MasterForm::EnableEntry()
{
    for (const FieldBox& f : m_setup.fields)
        SetBoxReadOnly(f.box, false);
}

bool MasterForm::entriesAccepted() const
{
    return !m_setup.acceptEntries || m_setup.acceptEntries();
}

bool MasterForm::CheckForEmptyControl()
{
    return ApplyBlankRules(m_setup.blankRules);
}

void MasterForm::copyRecordToBoxes(RecordSource& source)
{
    for (const FieldBox& f : m_setup.fields)
        if (!f.field.isEmpty()) // a box kept elsewhere: the form reads it itself
            SetTextOf(f.box, source.text(f.field));
}

bool MasterForm::CheckNumbers()
{
    double unused = 0;
    for (const FieldBox& f : m_setup.fields)
        if (f.asNumber && !ReadNumber(TextOf(f.box), f.caption, unused))
            return false;
    return true;
}

// A field that other work changes too is written by Update only when the
// operator changed its box: what an invoice did meanwhile stays.
void MasterForm::copyBoxesToRecord(RecordSource& source)
{
    for (const FieldBox& f : m_setup.fields) {
        if (f.field.isEmpty())
            continue; // a box kept elsewhere: the form writes it itself
        if (source.mode() == RecordSource::Mode::Editing && f.changedElsewhere && !changedByOperator(f))
            continue;
        const QString text = TextOf(f.box);
        double number = 0;
        source.setValue(f.field, f.asNumber && ReadNumber(text, number) ? QVariant(number) : QVariant(text));
    }
}

bool MasterForm::changedByOperator(const FieldBox& f) const
{
    const auto found = m_atEdit.find(f.field);
    return found == m_atEdit.end() || TextOf(f.box) != found->second.shown;
}

QString MasterForm::fieldOf(const QWidget* box) const
{
    for (const FieldBox& f : m_setup.fields)
        if (f.box == box)
            return f.field;
    return {};
}

bool MasterForm::hasPendingWork()
{
    return records().mode() != RecordSource::Mode::None;
}

// ---- the button table ----

void MasterForm::apply(Step step)
{
    const auto row = m_setup.states->find(step);
    if (row == m_setup.states->end())
        return;
    const ScreenState& s = row->second;
    TurnControl(cmdNew, s.cmdNew);
    TurnControl(cmdSave, s.cmdSave);
    TurnControl(cmdCancel, s.cmdCancel);
    // Edit always acts on the record on display: with none, it stays disabled.
    // The placeholder record (serial 0) is shown but never edited.
    const bool editWanted = s.cmdEdit == Turn::On || s.cmdEdit == Turn::OnShown;
    TurnControl(cmdEdit, editWanted && (m_shownKey < 0 || m_shownIsPlaceholder) ? Turn::Off : s.cmdEdit);
    TurnControl(cmdUpdate, s.cmdUpdate);
    TurnControl(cmdCancelEdit, s.cmdCancelEdit);
    TurnControl(cmdClose, s.cmdClose);
    if (cboChoice)
        TurnControl(cboChoice, s.cboChoice);
    TurnControl(lstName, s.lstName);
}

void MasterForm::resetToLoad()
{
    records().cancelUpdate();
    ClearControl();
    setShown(-1);
    if (cboChoice)
        cboChoice->setCurrentIndex(-1);
    Form_Load();
    if (cboChoice)
        cboChoice->setEnabled(true);
    lstName->setEnabled(true);
}

// ---- the list ----

QString MasterForm::listFieldForChoice() const
{
    for (const ListKey& key : m_setup.listKeys)
        if (key.choice == cboChoice->currentText())
            return key.field;
    return {};
}

// The list in one read of the table and one fill; each entry's record key
// is kept beside it (m_listKeys, row for row), so it leads to that record
// whatever the serials of the table are.
void MasterForm::fillList(const QString& field, Order order)
{
    lstName->clear();
    m_listKeys.clear();
    m_listedField = field;
    if (field.isEmpty())
        return;
    const bool bySerial = order == Order::Serial;
    std::vector<qint64> keys;
    const std::vector<std::vector<QVariant>> values =
        records().readList(bySerial ? QStringList{field, QStringLiteral("sno")} : QStringList{field}, keys);
    std::vector<size_t> rows(keys.size());
    std::iota(rows.begin(), rows.end(), size_t(0));
    if (bySerial)
        std::stable_sort(rows.begin(), rows.end(),
                         [&](size_t a, size_t b) { return values[1][a].toDouble() < values[1][b].toDouble(); });
    QStringList texts;
    texts.reserve(qsizetype(rows.size()));
    m_listKeys.reserve(rows.size());
    for (size_t row : rows) {
        texts << RecordSource::shown(values[0][row]);
        m_listKeys.push_back(keys[row]);
    }
    lstName->setUpdatesEnabled(false);
    lstName->addItems(texts);
    lstName->setUpdatesEnabled(true);
}

qint64 MasterForm::listedKey(int row) const
{
    return row >= 0 && size_t(row) < m_listKeys.size() ? m_listKeys[size_t(row)] : -1;
}

void MasterForm::renameShownListEntry()
{
    if (m_listedField.isEmpty())
        return;
    for (int row = 0; row < lstName->count(); ++row)
        if (listedKey(row) == m_shownKey)
            lstName->item(row)->setText(records().text(m_listedField));
}

void MasterForm::showByKey(qint64 key)
{
    Guarded<DataError>([&] {
        if (records().moveToKey(key)) {
            showRecord();
            setShown(key);
        }
    });
}

// Notes the record on display: key -1 for none, else the current record's.
void MasterForm::setShown(qint64 key)
{
    m_shownKey = key;
    m_shownIsPlaceholder = false;
    if (key >= 0) {
        const QVariant serial = records().value(fieldOf(m_setup.serialBox));
        m_shownIsPlaceholder = !serial.isNull() && serial.toDouble() == 0;
    }
    cmdHistory->setEnabled(key >= 0 && !m_shownIsPlaceholder);
}

void MasterForm::cmdHistory_Click()
{
    if (m_shownKey >= 0 && !m_shownIsPlaceholder)
        emit historyWanted(records().table(), TextOf(m_setup.codeBox));
}

void MasterForm::showFirstRecord()
{
    ClearControl();
    DesableEntry();
    setShown(-1);
    Guarded<DataError>([&] {
        bindRecords();
        fillList(m_setup.showListField, Order::Serial);
        records().moveFirst();
        if (!records().eof()) {
            showRecord();
            setShown(records().key());
        }
    });
    apply(Step::Show);
}

// ---- the handlers ----

void MasterForm::cboChoice_Click()
{
    ClearControl();
    DesableEntry();
    setShown(-1);
    Guarded<DataError>([&] {
        bindRecords();
        fillList(listFieldForChoice(), Order::Record);
    });
    apply(Step::Choice);
}

bool MasterForm::showListed(const QString& field, const QString& value)
{
    const auto key = std::find_if(m_setup.listKeys.begin(), m_setup.listKeys.end(),
        [&](const ListKey& k) { return k.field == field; });
    if (!cboChoice || key == m_setup.listKeys.end() || hasPendingWork())
        return false;
    cboChoice->setCurrentIndex(cboChoice->findText(key->choice));
    cboChoice_Click();
    const QList<QListWidgetItem*> found = lstName->findItems(value, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    lstName->setCurrentItem(found.first());
    lstName_Click(found.first());
    return true;
}

void MasterForm::lstName_Click(QListWidgetItem* item)
{
    if (item && records().mode() == RecordSource::Mode::None)
        showByKey(listedKey(lstName->row(item)));
    apply(Step::ListPick);
}

void MasterForm::cmdNew_Click()
{
    qint64 serial = 0;
    const bool started = Guarded<DataError>([&] {
        bindRecords();
        serial = records().nextSerial();
        records().addNew();
    });
    if (!started)
        return;
    ClearControl();
    EnableEntry();
    // The code is the one New worked out: typing over it could give two records one code.
    SetBoxReadOnly(m_setup.codeBox, true);
    setShown(-1);
    SetTextOf(m_setup.serialBox, QString::number(serial));
    SetTextOf(m_setup.codeBox, RecordCode(m_setup.codeKind, serial));
    apply(Step::New);
    m_setup.nameBox->setFocus();
}

void MasterForm::cmdSave_Click()
{
    // Only a record started with New is stored; Save never rewrites a record on display.
    if (records().mode() != RecordSource::Mode::Adding) {
        MsgBox(tr("Press New Button first "));
        return;
    }
    if (!CheckForEmptyControl() || !CheckNumbers() || !entriesAccepted())
        return;
    const QString codeAtNew = TextOf(m_setup.codeBox);
    if (!Guarded<DataError>([&] {
            Transaction transaction(records().database(), tr("save the record"));
            claimSerial();
            writeRecord();
            records().update();
            transaction.commit();
        }))
        return; // the new record stays pending so the entries can be corrected
    const QString savedCode = TextOf(m_setup.codeBox);
    ClearControl();
    if (savedCode != codeAtNew)
        MsgBox(MovedCodeNote(codeAtNew, savedCode));
    MsgBox(tr("Saved Successfully"));
    apply(Step::Saved);
    DesableEntry();
    emit recordSaved();
}

// Another copy of the program may have saved a record under the serial and
// code New gave: the save takes the next free ones into the boxes.
void MasterForm::claimSerial()
{
    QString serialField, codeField;
    for (const FieldBox& f : m_setup.fields) {
        if (f.box == m_setup.serialBox)
            serialField = f.field;
        if (f.box == m_setup.codeBox)
            codeField = f.field;
    }
    RecordSource& source = records();
    const qint64 serial = FreeSerial(source.database(), source.file(), source.table(), serialField, codeField,
                                     m_setup.codeKind, TextOf(m_setup.serialBox).toLongLong());
    SetTextOf(m_setup.serialBox, QString::number(serial));
    SetTextOf(m_setup.codeBox, RecordCode(m_setup.codeKind, serial));
}

void MasterForm::cmdCancel_Click()
{
    ClearControl();
    records().cancelUpdate();
    Guarded<DataError>([&] { records().requery(); });
    setShown(-1);
    apply(Step::Cancelled);
    DesableEntry();
}

void MasterForm::cmdEdit_Click()
{
    if (m_shownKey < 0 || m_shownIsPlaceholder)
        return;
    // Read the record afresh, so that a quantity another window has changed
    // since it was shown is not written back over by Update.
    const qint64 key = m_shownKey;
    bool gone = false;
    const bool started = Guarded<DataError>([&] {
        records().requery();
        gone = !records().moveToKey(key);
        if (gone)
            throw DataError(tr("edit the record"), RelativePath(records().file()), tr("it is no longer in the table"));
        showRecord();
        records().edit();
    });
    if (!started) {
        if (gone) {
            setShown(-1);
            cmdEdit->setEnabled(false);
        }
        return;
    }
    m_atEdit.clear();
    for (const FieldBox& f : m_setup.fields)
        if (f.changedElsewhere)
            m_atEdit[f.field] = {TextOf(f.box), records().text(f.field)};
    EnableEntry();
    SetBoxReadOnly(m_setup.codeBox, true);
    apply(Step::EditStarted);
    m_setup.nameBox->setFocus();
}

void MasterForm::cmdUpdate_Click()
{
    if (records().mode() != RecordSource::Mode::Editing || !CheckNumbers() || !entriesAccepted())
        return;
    // A value the column refuses, or a change made elsewhere since Edit, leaves
    // the stored record as it was and the form in editing, so the operator can
    // correct it or confirm.
    QString changedMeanwhile;
    if (!Guarded<DataError>([&] {
            Transaction transaction(records().database(), tr("save the changes"));
            changedMeanwhile = changedSinceEdit();
            if (!changedMeanwhile.isEmpty())
                return;
            writeRecord();
            records().update();
            transaction.commit();
        }))
        return;
    if (!changedMeanwhile.isEmpty()) {
        MsgBox(changedMeanwhile);
        return;
    }
    Guarded<DataError>([&] {
        showRecord();
        renameShownListEntry();
    });
    apply(Step::Updated);
    DesableEntry();
    emit recordSaved();
}

// Reads the edited record afresh (inside Update's transaction) and, for each
// field other work changes too whose box the operator changed, compares it
// with what Edit found. A change made meanwhile is told instead of written
// over; it becomes what the next Update compares with, so pressing Update
// again confirms the typed value. Leaves the record in editing.
QString MasterForm::changedSinceEdit()
{
    if (m_atEdit.empty())
        return {};
    RecordSource& source = records();
    source.requery();
    if (!source.moveToKey(m_shownKey))
        throw DataError(tr("save the changes"), RelativePath(source.file()),
                        tr("the record is no longer in the table"));
    QStringList told;
    for (const FieldBox& f : m_setup.fields) {
        const auto found = m_atEdit.find(f.field);
        if (found == m_atEdit.end())
            continue;
        const QString storedNow = source.text(f.field);
        if (changedByOperator(f) && storedNow != found->second.stored)
            told << tr("%1 has been changed elsewhere since Edit: it was %2 and is now %3.")
                        .arg(f.caption, found->second.stored, storedNow);
        found->second.stored = storedNow;
    }
    source.edit();
    if (told.isEmpty())
        return {};
    return told.join(QLatin1Char(' '))
        + tr(" Nothing was stored. Press Update again to store what you typed, or correct it first.");
}

void MasterForm::cmdCancelEdit_Click()
{
    records().cancelUpdate();
    Guarded<DataError>([&] { records().requery(); });
    apply(Step::EditCancelled);
    DesableEntry();
}

void MasterForm::cmdClose_Click()
{
    CloseOwnWindow(this);
}

} // namespace zelva
