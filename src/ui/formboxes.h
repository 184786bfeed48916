#pragma once
// The boxes, lists and buttons every form family uses: making them with their
// names, the text of any kind of box, filling a blank one, and the kinds of
// list the forms use.
#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

class QTableWidgetItem;

namespace zelva {

// What a pre-save check writes into a blank box that must not stay blank.
inline const QString NotApplicable = QStringLiteral("N.A.");

template <typename T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// One field of a form's table, the box that shows it and the box's label
// (none for a hidden box).
struct FieldBox {
    QString field; // "" for a box the form keeps in another table itself
    QWidget* box;
    QString caption = {};
    bool asNumber = false; // read by the one rule for number boxes, stored as a number
    // Other work changes the stored value too (a stock quantity: invoices,
    // purchases, issues). Update writes it only when the operator changed the
    // box, and not over a change made since Edit without the operator's word.
    bool changedElsewhere = false;
};

// What the completeness check does with a blank box, rule by rule in order:
// refuse with a message (a mandatory entry) or fill in a default.
struct BlankRule {
    QWidget* box;
    QString refusal; // the message of a mandatory entry
    QString fill; // the default of an optional entry
};
inline BlankRule Mandatory(QWidget* box, const QString& message) { return { box, message, {} }; }
inline BlankRule Optional(QWidget* box, const QString& fill) { return { box, {}, fill }; }
// Applies the rules in order: false, with the refusal shown, at the first
// blank mandatory entry; blank optional entries before it take their default.
bool ApplyBlankRules(const std::vector<BlankRule>& rules);

// A single-line box and a command button, named as the form names them.
QLineEdit* NewBox(QWidget* parent, const char* name);
// A grid cell the operator cannot change; a number right-aligned.
QTableWidgetItem* FixedCell(const QString& text, bool number);
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, const QString& tip);

// The shown text of a line box (QLineEdit), a box of several lines
// (QPlainTextEdit) or a list (QComboBox).
QString TextOf(const QWidget* box);
// A list that is not editable takes the text only when it is one of its entries.
void SetTextOf(QWidget* box, const QString& text);
// Shows the text in a box the program fills (a total, a tax row): an unchanged
// text is not set again, which would lay the box out anew for nothing.
void ShowText(QLineEdit* box, const QString& text);
void FillIfEmpty(QWidget* box, const QString& text);
// Locks or unlocks a line box or a box of several lines.
void SetBoxReadOnly(QWidget* box, bool readOnly);

// The one reading of a number typed into any box: the text wholly a number
// (blanks around it allowed, ReadNumber in platform/textnum.h) and within the
// size every amount keeps. Otherwise the operator is told, with the name of the
// box ("Rate (Rs.) must be a number ..."), out is left alone and the result is false.
bool ReadNumber(const QString& text, const QString& boxName, double& out);

// No entry chosen and nothing shown.
void ClearCombo(QComboBox* combo);
// The operator may type another text; what is typed is not added to the list.
void MakeTypable(QComboBox* combo);
// A long list (buyers, stock items, their HSN codes) is not measured entry by
// entry, and its entries are one string-list model: filled in one step
// (SetEntries), shown by every box given the same list (ShareEntries), and
// read by the completer of a box the operator types a name into. The keys
// typed into the closed list look its entries up in a sorted index
// (ui/prefixsearch.h), not one by one.
void MakeLongList(QComboBox* combo);
// The list's entries, all replaced at once in the order given.
void SetEntries(QComboBox* longList, const QStringList& entries);
// The box shows the long list's entries, whatever fills them later.
void ShareEntries(QComboBox* box, QComboBox* longList);

} // namespace zelva
