#pragma once
// What the master-form tests share: how each of the three forms is told apart
// (its table, boxes, labels, messages), records put in place beforehand, and
// the operator's moves on a form.
#include "data/recordsource.h"
#include "data/serials.h"
#include "masters/buyerdetails.h"
#include "masters/company.h"
#include "masters/stockentry.h"
#include "masters/supplierdetails.h"
#include "platform/textnum.h"
#include "support/formdriver.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

namespace testing {

// A box the operator types into, the field it is stored in, a text to type,
// and what Save stores when the box is left blank (none: the entry is mandatory).
struct Entry {
    QString box, field, typed;
    QVariant blank;
};

struct FormKind {
    QString name;
    zelva::DbFile file;
    QString table;
    QString codeBox, codeField;
    QString codeChoice, nameChoice; // empty on the company form (it has Show)
    QList<Entry> entries;           // the name, the other mandatory ones, the first optional one
    zelva::CodeKind codeKind;
    bool placeholder;                       // the table comes with a record of serial 0
    QList<QPair<QString, QVariant>> seeded; // further fields of a record entered earlier
    std::function<std::unique_ptr<zelva::MasterForm>(zelva::Database&)> make;

    bool hasChoice() const { return !codeChoice.isEmpty(); }
    QString nameBox() const { return entries.first().box; }
    QString nameField() const { return entries.first().field; }
    const Entry& entry(const QString& box) const
    {
        return *std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.box == box; });
    }
    const Entry& firstOptional() const
    {
        return *std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return e.blank.isValid(); });
    }
};

inline const FormKind& Kind(const QString& name)
{
    const QVariant mandatory;
    const QString na = "N.A.";
    static const QList<FormKind> kinds{
        {"stock", zelva::DbFile::ItemStock, "Stock", "txtItemCode", "itemcode", "Item Code", "Item Name",
         {{"txtItemName", "ItemName", "Ceiling Fan 1200mm", mandatory}, {"txtHsn", "ItemHsn", "8414", na}},
         zelva::CodeKind::Item, true, {{"Rate", 10.0}, {"Quantity", 5.0}, {"ItemHsn", "Seeded"}},
         [](zelva::Database& db) { return std::make_unique<frmStockEntry>(db); }},
        {"buyer", zelva::DbFile::Customer, "CustomerDetails", "txtBid", "bid", "Buyer ID", "Buyer Name",
         {{"txtName", "Name", "Sagar Traders", mandatory}, {"txtAddress", "address", "7 Mount Road", na}},
         zelva::CodeKind::Buyer, true, {{"address", "Seeded"}},
         [](zelva::Database& db) { return std::make_unique<frmBuyerDetails>(db); }},
        {"company", zelva::DbFile::Master, "Company", "txtCompanyId", "CompanyId", {}, {},
         {{"txtName", "Name", "Zelva Traders", mandatory}, {"txtAddress", "address", "12 Anna Salai", mandatory},
          {"txtDistrict", "Dist", "Chennai", na}, {"txtState", "State", "Tamil Nadu", mandatory}},
         zelva::CodeKind::Company, false, {{"Dist", "Seeded"}},
         [](zelva::Database& db) { return std::make_unique<frmCompany>(db); }},
        {"supplier", zelva::DbFile::PurchaseMaster, "Supplier", "txtSupplierId", "SupplierId", "Supplier ID",
         "Supplier Name",
         {{"txtName", "Name", "Mysore Paints", mandatory}, {"txtAddress", "address", "4 Hill Road", na}},
         zelva::CodeKind::Supplier, false, {{"address", "Seeded"}},
         [](zelva::Database& db) { return std::make_unique<frmSupplierDetails>(db); }},
    };
    for (const FormKind& k : kinds)
        if (k.name == name)
            return k;
    qFatal("no such form kind");
}

// The _data() column "kind", one row per form.
inline void AddFormColumn(const QStringList& kinds = {"stock", "buyer", "company", "supplier"})
{
    QTest::addColumn<QString>("kind");
    for (const QString& k : kinds)
        QTest::newRow(qPrintable(k)) << k;
}

// Adds one record as if entered earlier: serial, its code and a name.
inline void AddRecord(zelva::Database& db, const FormKind& kind, qint64 serial, const QString& name)
{
    zelva::RecordSource source(db);
    source.bind(kind.file, kind.table);
    source.addNew();
    source.setValue("sno", serial);
    source.setValue(kind.codeField, zelva::RecordCode(kind.codeKind, serial));
    source.setValue(kind.nameField(), name);
    for (const auto& [field, value] : kind.seeded)
        source.setValue(field, value);
    source.update();
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

    QWidget* box(const QString& name) const { return need<QWidget>(&form, name); }
    QString text(const QString& boxName) const { return zelva::TextOf(box(boxName)); }
    bool readOnly(const QString& boxName) const { return box(boxName)->property("readOnly").toBool(); }
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
    bool enabled(const QString& button) const { return child<QPushButton>(&form, button)->isEnabled(); }

    // Browsing: a list key chosen (or Show pressed on the company form).
    void browseByName()
    {
        if (kind.hasChoice())
            QVERIFY(pick(form.cboChoice, kind.nameChoice));
        else
            press("cmdShow");
    }
    QStringList listed() const { return itemsOf(form.lstName); }
    void pickListed(const QString& entry)
    {
        const auto found = form.lstName->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(entry));
        pickRow(form.lstName, form.lstName->row(found.first()));
    }
    // New, as the operator reaches it (the company form opens with New off until Show).
    void startNew()
    {
        if (!kind.hasChoice() && !enabled("cmdNew"))
            press("cmdShow");
        press("cmdNew");
    }
    // The other mandatory entries, then Save.
    void completeAndSave()
    {
        for (const Entry& e : kind.entries.mid(1))
            if (!e.blank.isValid())
                enter(e.box, e.typed);
        press("cmdSave");
    }
    void completeAndSave(const QString& name)
    {
        enter(kind.nameBox(), name);
        completeAndSave();
    }
    void addNamed(const QString& name)
    {
        startNew();
        completeAndSave(name);
    }
};

// The parts of a session that the operator works on, made before the operator.
struct Workplace {
    Workplace(const FormKind& kind, int highestSerial)
    {
        AddSerials(*data.db, kind, 0, highestSerial);
        made = kind.make(*data.db);
    }
    TempData data;
    MessageRecorder messages;
    std::unique_ptr<zelva::MasterForm> made;
};

// One form of that kind on fresh data files holding the records with serials
// 0..highestSerial ("Name <serial>"; none when -1), and its operator.
struct Session : Workplace, Operator {
    explicit Session(const QString& kindName, int highestSerial = -1)
        : Workplace(Kind(kindName), highestSerial)
        , Operator(*made, Kind(kindName))
    {
    }
    // A second form on the same data files.
    std::unique_ptr<zelva::MasterForm> another() const { return kind.make(*data.db); }

    // The stored value of one field of the record with that serial, read from the file.
    QVariant stored(const QString& field, qint64 serial) const
    {
        return valueInFile(data.folder(), kind.file,
                           QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE sno = ?").arg(field, kind.table), {serial});
    }
    int recordCount() const
    {
        return valueInFile(data.folder(), kind.file, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(kind.table)).toInt();
    }
    QString codeOf(qint64 serial) const { return zelva::RecordCode(kind.codeKind, serial); }
};

} // namespace testing
