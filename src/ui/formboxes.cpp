#include "ui/formboxes.h"

#include "platform/textnum.h"
#include "ui/message.h"
#include "ui/prefixsearch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidgetItem>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>

namespace zelva {

QTableWidgetItem* FixedCell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QLineEdit* NewBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoDefault(true); // Enter presses the button that has the focus
    // Hidden, it keeps its place empty: no other button moves under the mouse.
    QSizePolicy keepPlace = button->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    button->setSizePolicy(keepPlace);
    return button;
}

QString TextOf(const QWidget* box)
{
    if (auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->currentText();
    if (auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    if (auto* lines = qobject_cast<const QPlainTextEdit*>(box))
        return lines->toPlainText();
    return {};
}

void SetTextOf(QWidget* box, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(box)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->setPlainText(text);
    }
}

void ShowText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

void FillIfEmpty(QWidget* box, const QString& text)
{
    if (TextOf(box).isEmpty())
        SetTextOf(box, text);
}

void SetBoxReadOnly(QWidget* box, bool readOnly)
{
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setReadOnly(readOnly);
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(box))
        lines->setReadOnly(readOnly);
}

bool ApplyBlankRules(const std::vector<BlankRule>& rules)
{
    for (const BlankRule& rule : rules) {
        if (!TextOf(rule.box).isEmpty())
            continue;
        if (!rule.refusal.isEmpty()) {
            MsgBox(rule.refusal);
            return false;
        }
        SetTextOf(rule.box, rule.fill);
    }
    return true;
}

bool ReadNumber(const QString& text, const QString& boxName, double& out)
{
    double value = 0;
    if (!ReadNumber(text, value)) {
        MsgBox(NotANumberMessage(boxName, text));
        return false;
    }
    if (!WithinAmountLimit(value)) {
        MsgBox(AmountTooLarge(boxName));
        return false;
    }
    out = value;
    return true;
}

void ClearCombo(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->clearEditText();
}

void MakeTypable(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
}

namespace {

QStringListModel* entryList(QComboBox* combo) { return qobject_cast<QStringListModel*>(combo->model()); }

} // namespace

void MakeLongList(QComboBox* combo)
{
    if (!entryList(combo))
        combo->setModel(new QStringListModel(combo)); // the completer of a typable box follows
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(20);
    combo->setMaxVisibleItems(20);
    if (!dynamic_cast<PrefixSearchView*>(combo->view()))
        combo->setView(new PrefixSearchView(combo)); // keys typed into the closed list search an index
    static_cast<QListView*>(combo->view())->setUniformItemSizes(true);
}

void SetEntries(QComboBox* longList, const QStringList& entries)
{
    if (!entryList(longList))
        MakeLongList(longList);
    entryList(longList)->setStringList(entries);
}

void ShareEntries(QComboBox* box, QComboBox* longList)
{
    box->setModel(longList->model());
}

} // namespace zelva
