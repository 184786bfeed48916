// The stock-item form (and the buyer form on the same button table): the
// buttons after each event, refused values, and the office items.
#include "masterdriver.h"

#include <QSqlDatabase>
#include <QSqlQuery>

using namespace testing;

class StockEntryTest : public QObject {
    Q_OBJECT
private slots:
    // The buttons after each event of a working session. Columns: New Save
    // Cancel Edit Update CancelEdit Close | cboChoice lstName (h: hidden).
    void buttonsAfterEachEvent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("stock") << "stock";
        QTest::newRow("buyer") << "buyer";
    }
    void buttonsAfterEachEvent()
    {
        QFETCH(QString, kind);
        const FormKind& k = Kind(kind);
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 2);
        auto form = k.make(*data.db);
        Operator op(*form, k);

        QCOMPARE(op.screen(), "E D Dh D D Dh E|E E"); // opened
        QCOMPARE(form->lstName->count(), 0);
        QVERIFY(op.readOnly(k.nameBox));

        QVERIFY(pick(form->cboChoice, k.nameChoice));
        QCOMPARE(op.screen(), "E D Dh D D Dh E|E E");
        QCOMPARE(op.listed(), (QStringList{"", "Name 1", "Name 2"}));

        op.pickListed("Name 2");
        QCOMPARE(op.screen(), "E D Dh E D Dh E|E E");
        QCOMPARE(op.text(k.nameBox), "Name 2");

        op.press("cmdEdit");
        QCOMPARE(op.screen(), "D D Dh D E E D|D D");
        QVERIFY(!op.readOnly(k.nameBox));
        QVERIFY(op.readOnly(k.codeBox));
        QVERIFY(op.box(k.nameBox)->hasFocus());

        op.press("cmdCancelEdit");
        QCOMPARE(op.screen(), "E D Dh E D Dh E|E E");
        QVERIFY(op.readOnly(k.nameBox));

        op.press("cmdEdit");
        op.type(k.nameBox, "Name two");
        op.press("cmdUpdate");
        QCOMPARE(op.screen(), "E D Dh D D Dh E|E E");
        QCOMPARE(op.text(k.nameBox), "Name two");

        op.press("cmdNew");
        QCOMPARE(op.screen(), "D D E D D Dh E|E E");
        QCOMPARE(form->lstName->count(), 0);

        focusOut(op.box(k.nameBox));
        QCOMPARE(op.screen(), "D E E D D Dh E|E E");

        op.enter(k.nameBox, "Name 3");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(op.screen(), "E D Dh D D Dh E|E E");

        op.press("cmdNew");
        op.press("cmdCancel");
        QCOMPARE(op.screen(), "E D Dh D D Dh E|E E");
        QCOMPARE(RecordCount(data.folder(), k), 4);
    }

    void otherChoiceTextLeavesTheListEmpty()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 2);
        auto form = k.make(*data.db);
        form->cboChoice->setCurrentIndex(-1);
        form->cboChoice_Click();
        QCOMPARE(form->lstName->count(), 0);
        QVERIFY(form->cmdNew->isEnabled());
    }

    void choiceWhileAddingAbandonsTheNewItem()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        op.enter("txtItemName", "Abandoned");
        QVERIFY(pick(form->cboChoice, "Item Code"));
        QCOMPARE(op.screen(), "E D D D D Dh E|E E");
        QCOMPARE(RecordCount(data.folder(), k), 1);
    }

    void saveStoresEveryEntryAsTyped()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 4);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        QCOMPARE(op.text("txtItemCode"), "G00005");
        op.enter("txtItemName", "Ceiling Fan 1200mm");
        op.enter("txtHsn", "8414");
        op.enter("txtRate", "1850.50");
        op.enter("txtPer", "Nos");
        op.enter("txtQuantity", "12");
        op.enter("txtRemarks", "White");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        const auto rows = rowsInFile(data.folder(), zelva::DbFile::ItemStock,
                                     "SELECT sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks FROM Stock WHERE sno = 5");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (QVariantList{5, "G00005", "Ceiling Fan 1200mm", "8414", 1850.5, "Nos", 12.0, "White"}));
    }

    void defaultsShowInTheBoxesWhenStoringIsRefused()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.startNew();
        op.enter("txtItemName", "Pipe");
        op.enter("txtRate", "12a");
        op.press("cmdSave");
        // The defaults are filled in, the rate is refused by name, nothing is stored.
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().contains("Rate") && messages.last().contains("12a"), qPrintable(messages.last()));
        QCOMPARE(op.text("txtHsn"), "N.A.");
        QCOMPARE(op.text("txtQuantity"), "0");
        QCOMPARE(RecordCount(data.folder(), k), 1);
        QCOMPARE(op.screen(), "D E E D D Dh E|E E"); // still adding

        messages.clear();
        op.enter("txtRate", "12");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(Stored(data.folder(), k, "Rate", 1), QVariant(12.0));
    }

    // Update writes the boxes as they stand; a value the column refuses is
    // named, leaves the stored record as it was, and the form stays in editing.
    void updateRefusesWhatTheColumnCannotTake_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::newRow("rate 12a") << "txtRate" << "12a" << "Rate";
        QTest::newRow("quantity emptied") << "txtQuantity" << "" << "Quantity";
        QTest::newRow("quantity words") << "txtQuantity" << "ten" << "Quantity";
    }
    void updateRefusesWhatTheColumnCannotTake()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 1);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 1");
        op.press("cmdEdit");
        op.type("txtItemName", "Changed name");
        op.type(box, typed);
        op.press("cmdUpdate");

        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().contains(field), qPrintable(messages.last()));
        QCOMPARE(Stored(data.folder(), k, "ItemName", 1), QVariant("Name 1"));
        QCOMPARE(Stored(data.folder(), k, "Rate", 1), QVariant(10.0));
        QCOMPARE(Stored(data.folder(), k, "Quantity", 1), QVariant(5.0));
        QCOMPARE(op.screen(), "D E Dh D E E D|D D"); // leaving the name box lit Save
        QVERIFY(!op.readOnly(box));

        messages.clear();
        op.type(box, "7");
        op.press("cmdUpdate");
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(Stored(data.folder(), k, field, 1), QVariant(7.0));
        QCOMPARE(Stored(data.folder(), k, "ItemName", 1), QVariant("Changed name"));
    }

    void updateWritesAnEmptiedTextBox()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        MessageRecorder messages;
        AddSerials(*data.db, k, 0, 1);
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 1");
        op.press("cmdEdit");
        op.type("txtRemarks", "");
        op.press("cmdUpdate");
        QCOMPARE(Stored(data.folder(), k, "Remarks", 1), QVariant(""));
    }

    // Opened for office items, the form keeps OtherItemStock and leaves Stock alone.
    void officeItemsWorkOnOtherItemStock()
    {
        TempData data;
        MessageRecorder messages;
        frmStockEntry form(*data.db);
        form.setOfficeItems();
        QCOMPARE(form.lblTitle->text(), "Add Other Item or Update Existing Other Item Details");
        QVERIFY(form.officeItems());
        Operator op(form, Kind("stock"));

        op.press("cmdNew");
        QCOMPARE(op.text("txtItemCode"), "G00001");
        op.enter("txtItemName", "Printer paper A4");
        op.enter("txtQuantity", "20");
        op.press("cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(valueInFile(data.folder(), zelva::DbFile::OtherItemStock,
                             "SELECT ItemName FROM OtherItemStock WHERE sno = 1"), QVariant("Printer paper A4"));
        QCOMPARE(valueInFile(data.folder(), zelva::DbFile::ItemStock, "SELECT COUNT(*) FROM Stock"), QVariant(1));

        QVERIFY(pick(form.cboChoice, "Item Name"));
        QCOMPARE(op.listed(), (QStringList{"", "Printer paper A4"}));
        op.pickListed("Printer paper A4");
        op.press("cmdEdit");
        op.type("txtQuantity", "15");
        op.press("cmdUpdate");
        QCOMPARE(valueInFile(data.folder(), zelva::DbFile::OtherItemStock,
                             "SELECT Quantity FROM OtherItemStock WHERE sno = 1"), QVariant(15.0));

        form.setOfficeItems(false);
        QCOMPARE(form.lblTitle->text(), "Add Item or Update Existing Item Details");
        QVERIFY(pick(form.cboChoice, "Item Name"));
        QCOMPARE(op.listed(), QStringList{""});
    }

    // A table that has gone from its file is a message naming it, never a crash,
    // and the form stays as it was.
    void missingTableIsAMessage()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        AddSerials(*data.db, k, 0, 1);
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 1");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(data.folder() + "/" + zelva::RelativePath(zelva::DbFile::ItemStock));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("ALTER TABLE Stock RENAME TO StockGone"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other");

        op.press("cmdNew");
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().contains("Stock"), qPrintable(messages.last()));
        QCOMPARE(op.text("txtItemName"), "Name 1"); // the form as it was
        QCOMPARE(op.screen(), "E D Dh E D Dh E|E E");

        messages.clear();
        op.press("cmdEdit");
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(op.readOnly("txtItemName"));
        QVERIFY(form->cmdEdit->isEnabled()); // the record is still on display

        messages.clear();
        QVERIFY(pick(form->cboChoice, "Item Code"));
        QCOMPARE(messages.texts().size(), 1);
        QCOMPARE(form->lstName->count(), 0);
    }

    void editOfARecordRemovedElsewhereIsRefused()
    {
        const FormKind& k = Kind("stock");
        TempData data;
        AddSerials(*data.db, k, 0, 2);
        MessageRecorder messages;
        auto form = k.make(*data.db);
        Operator op(*form, k);
        op.browseByName();
        op.pickListed("Name 2");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(data.folder() + "/" + zelva::RelativePath(zelva::DbFile::ItemStock));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("DELETE FROM Stock WHERE sno = 2"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other");

        op.press("cmdEdit");
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.last().contains("no longer"), qPrintable(messages.last()));
        QVERIFY(!form->cmdEdit->isEnabled());
        QVERIFY(op.readOnly("txtItemName"));
        QCOMPARE(RecordCount(data.folder(), k), 2);
    }

    void savedSignalTellsTheOpener()
    {
        TempData data;
        MessageRecorder messages;
        frmStockEntry form(*data.db);
        QSignalSpy saved(&form, &zelva::MasterForm::recordSaved);
        Operator op(form, Kind("stock"));
        op.addNamed("Switch");
        QCOMPARE(saved.count(), 1);
    }

    void windowAndLabels()
    {
        TempData data;
        MessageRecorder messages;
        frmStockEntry form(*data.db);
        QCOMPARE(form.windowTitle(), "Stock Entry");
        QCOMPARE(form.lblTitle->text(), "Add Item or Update Existing Item Details");
        frmBuyerDetails buyer(*data.db);
        QCOMPARE(buyer.windowTitle(), "Add New Buyer or Update Existing Buyer Details");
        QCOMPARE(buyer.lblTitle->text(), "Add New Buyer or Update Existing Buyer Details");
    }
};

QTEST_MAIN(StockEntryTest)
#include "test_stockentry.moc"
