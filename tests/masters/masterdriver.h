#pragma once
// What the master-form tests share: how each of the three forms is told apart
// (its table, boxes, messages), records put in place beforehand, and the
// operator's moves on a form.
#include "data/recordsource.h"
#include "data/serials.h"
#include "masters/buyerdetails.h"
#include "masters/company.h"
#include "masters/stockentry.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace testing {

struct FormKind {
    QString name;
    zelva::DbFile file;
    QString table;
    QString codeBox, nameBox;
    QString codeField, nameField;
    QString nameMessage;
    QString codeChoice, nameChoice;                 // empty on the company form (it has Show)
    QList<QPair<QString, QString>> otherMandatory;  // box, text typed into it
    QList<QPair<QString, QVariant>> defaults;       // field, value stored when left blank
    zelva::CodeKind codeKind;
    bool placeholder;                               // the table comes with a record of serial 0
    QList<QPair<QString, QVariant>> seeded;         // further fields of a record entered earlier
    std::function<std::unique_ptr<zelva::MasterForm>(zelva::Database&)> make;

    bool hasChoice() const { return !codeChoice.isEmpty(); }
};

inline const FormKind& Kind(const QString& name)
{
    static const QList<FormKind> kinds{
        {"stock", zelva::DbFile::ItemStock, "Stock", "txtItemCode", "txtItemName", "itemcode", "ItemName",
         "Enter Name of the Item ", "Item Code", "Item Name", {},
         {{"ItemHsn", "N.A."}, {"Rate", 0.0}, {"Per", "N.A."}, {"Quantity", 0.0}, {"Remarks", "N.A."}},
         zelva::CodeKind::Item, true, {{"Rate", 10.0}, {"Quantity", 5.0}},
         [](zelva::Database& db) { return std::make_unique<frmStockEntry>(db); }},
        {"buyer", zelva::DbFile::Customer, "CustomerDetails", "txtBid", "txtName", "bid", "Name",
         "Enter Name of the Buyer ", "Buyer ID", "Buyer Name", {},
         {{"address", "N.A."}, {"Dist", "N.A."}, {"State", "N.A."}, {"Pin", "N.A."}, {"Gstin", "N.A."},
          {"Phone", "N.A."}, {"Email", "N.A."}, {"Website", "N.A."}, {"Remarks", "N.A."}},
         zelva::CodeKind::Buyer, true, {},
         [](zelva::Database& db) { return std::make_unique<frmBuyerDetails>(db); }},
        {"company", zelva::DbFile::Master, "Company", "txtCompanyId", "txtName", "CompanyId", "Name",
         "Enter Name of the Company ", {}, {}, {{"txtAddress", "12 Anna Salai"}, {"txtState", "Tamil Nadu"}},
         {{"Dist", "N.A."}, {"Pin", "N.A."}, {"Gstin", "N.A."}, {"contact", "N.A."}, {"Email", "N.A."},
          {"Website", "N.A."}, {"BankName", "N.A."}, {"BankAddress", "N.A."}, {"Accountno", "N.A."}, {"ifsc", "N.A."}},
         zelva::CodeKind::Company, false, {},
         [](zelva::Database& db) { return std::make_unique<frmCompany>(db); }},
    };
    for (const FormKind& k : kinds)
        if (k.name == name)
            return k;
    qFatal("no such form kind");
}

// Adds one record as if entered earlier: serial, its code and a name.
inline qint64 AddRecord(zelva::Database& db, const FormKind& kind, qint64 serial, const QString& name)
{
    zelva::RecordSource source(db);
    source.bind(kind.file, kind.table);
    source.addNew();
    source.setValue("sno", serial);
    source.setValue(kind.codeField, zelva::RecordCode(kind.codeKind, serial));
    source.setValue(kind.nameField, name);
    for (const auto& [field, value] : kind.seeded)
        source.setValue(field, value);
    source.update();
    source.requery();
    source.moveFirst();
    qint64 last = -1;
    for (; !source.eof(); source.moveNext())
        last = source.key();
    return last;
}

// Adds records with the serials first..last ("Name <serial>"), leaving out the placeholder.
inline void AddSerials(zelva::Database& db, const FormKind& kind, int first, int last)
{
    for (int serial = first; serial <= last; ++serial)
        if (serial != 0 || !kind.placeholder)
            AddRecord(db, kind, serial, QStringLiteral("Name %1").arg(serial));
}

// The operator's moves on one form.
class Operator {
public:
    Operator(zelva::MasterForm& form, const FormKind& kind)
        : form(form)
        , kind(kind)
    {
        form.show();
        QApplication::setActiveWindow(&form);
    }

    zelva::MasterForm& form;
    const FormKind& kind;

    QWidget* box(const QString& name) const
    {
        auto* widget = child<QWidget>(&form, name);
        if (!widget)
            qFatal("no box %s", qPrintable(name));
        return widget;
    }
    QString text(const QString& boxName) const { return zelva::BoxText(box(boxName)); }
    bool readOnly(const QString& boxName) const
    {
        if (auto* line = qobject_cast<QLineEdit*>(box(boxName)))
            return line->isReadOnly();
        return qobject_cast<QPlainTextEdit*>(box(boxName))->isReadOnly();
    }
    void type(const QString& boxName, const QString& text)
    {
        if (auto* line = qobject_cast<QLineEdit*>(box(boxName)))
            typeInto(line, text);
        else
            typeInto(qobject_cast<QPlainTextEdit*>(box(boxName)), text);
    }
    // Types the text, then moves on to the next box (the box loses the focus).
    void enter(const QString& boxName, const QString& text)
    {
        type(boxName, text);
        focusOut(box(boxName));
    }
    void press(const QString& button) { click(child<QPushButton>(&form, button)); }
    QPushButton* button(const QString& name) const { return child<QPushButton>(&form, name); }

    // Browsing: a list key chosen (or Show pressed on the company form).
    void browseByName()
    {
        if (kind.hasChoice())
            QVERIFY(pick(form.cboChoice, kind.nameChoice));
        else
            press("cmdShow");
    }
    QStringList listed() const
    {
        QStringList entries;
        for (int i = 0; i < form.lstName->count(); ++i)
            entries << form.lstName->item(i)->text();
        return entries;
    }
    void pickListed(const QString& entry)
    {
        const auto found = form.lstName->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(entry));
        pickRow(form.lstName, form.lstName->row(found.first()));
    }
    // New, as the operator reaches it (the company form opens with New off until Show).
    void startNew()
    {
        if (!kind.hasChoice() && !button("cmdNew")->isEnabled())
            press("cmdShow");
        press("cmdNew");
    }
    // New, the name and the other mandatory entries, then Save.
    void addNamed(const QString& name)
    {
        startNew();
        enter(kind.nameBox, name);
        for (const auto& [boxName, text] : kind.otherMandatory)
            enter(boxName, text);
        press("cmdSave");
    }

    // The buttons as the operator sees them: E or D, with h when hidden, in the
    // order New Save Cancel Edit Update CancelEdit Close, then the choice box
    // (- when the form has none) and the list.
    QString screen() const
    {
        QStringList parts;
        for (const char* name : {"cmdNew", "cmdSave", "cmdCancel", "cmdEdit", "cmdUpdate", "cmdCancelEdit", "cmdClose"}) {
            const QPushButton* b = button(QLatin1String(name));
            parts << QString(b->isEnabled() ? "E" : "D") + (b->isHidden() ? "h" : "");
        }
        QString line = parts.join(' ');
        line += QStringLiteral("|%1 %2").arg(form.cboChoice ? (form.cboChoice->isEnabled() ? "E" : "D") : "-",
                                             form.lstName->isEnabled() ? "E" : "D");
        return line;
    }
};

// The stored value of one field of the record with that serial, read from the file.
inline QVariant Stored(const QString& folder, const FormKind& kind, const QString& field, qint64 serial)
{
    return valueInFile(folder, kind.file, QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE sno = ?").arg(field, kind.table),
                       {serial});
}

inline int RecordCount(const QString& folder, const FormKind& kind)
{
    return valueInFile(folder, kind.file, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(kind.table)).toInt();
}

} // namespace testing
