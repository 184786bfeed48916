// The stock-item form (and the buyer form on the same button table): the
// choice box, refused values, office items and failing files.
#include "masterdriver.h"

#include "data/database.h"
#include "sales/barcodes.h"
#include "sales/gstratestore.h"
#include "data/stockchange.h"
#include "sales/openingstock.h"
#include "sales/reorderlevel.h"

using namespace testing;

class StockEntryTest : public QObject {
    Q_OBJECT
private slots:
    // The choice box lists nothing until a key is chosen; a key chosen while
    // adding abandons the new record.
    void choiceBoxAbandonsANewRecord_data() { AddFormColumn({"stock", "buyer"}); }
    void choiceBoxAbandonsANewRecord()
    {
        QFETCH(QString, kind);
        Session s(kind, 2);
        s.form.cboChoice_Click(); // the choice box still reads "Select your Choice"
        QCOMPARE(s.form.lstName->count(), 0);
        s.press("cmdNew");
        s.enter(s.kind.nameBox(), "Abandoned");
        QVERIFY(pick(s.form.cboChoice, s.kind.codeChoice));
        QCOMPARE(s.recordCount(), 3);
        QCOMPARE(s.listed(), (QStringList{"", s.codeOf(1), s.codeOf(2)}));
    }

    // The optional boxes are filled in before the column refuses the rate;
    // nothing is stored and the form stays adding until the rate is corrected.
    void defaultsShowInTheBoxesWhenStoringIsRefused()
    {
        Session s("stock");
        s.startNew();
        s.enter("txtItemName", "Pipe");
        s.enter("txtRate", "12a");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains("Rate") && s.messages.last().contains("12a"), qPrintable(s.messages.last()));
        QCOMPARE(s.text("txtHsn"), "N.A.");
        QCOMPARE(s.text("txtQuantity"), "0");
        QCOMPARE(s.recordCount(), 1);

        s.messages.clear();
        s.enter("txtRate", "12");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(s.stored("Rate", 1), QVariant(12.0));
    }

    // The item's GST rate lands with it: a rate the portal does not take is
    // refused naming its box; an HSN code too short for a company above Rs 5
    // crore is warned of, No leaves the item unsaved, a longer code saves.
    // Taking the rate off on Update leaves the item with none.
    void gstRateKeptWithTheItem()
    {
        Session s("stock");
        {
            zelva::Transaction work(*s.data.db, "set up");
            s.data.db->run("INSERT INTO Master.Company (Name, State, sno, CompanyId) VALUES ('Zelva Jewels', "
                           "'Kerala', 1, 'C00001')",
                           {}, "set up", zelva::DbFile::Master);
            zelva::StoreAboveFiveCroreWithin(*s.data.db, 1, true);
            work.commit();
        }
        s.startNew();
        s.enter("txtItemName", "Gold chain");
        s.enter("txtHsn", "7113");
        s.enter("txtGstRate", "7");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains("(GST Rate %)"), qPrintable(s.messages.last()));
        QCOMPARE(s.recordCount(), 1);

        s.enter("txtGstRate", "3");
        {
            Answers no(false);
            s.press("cmdSave");
            QCOMPARE(no.asked.size(), 1);
            QVERIFY2(no.asked.first().contains("7113") && no.asked.first().contains("at least 6"),
                     qPrintable(no.asked.first()));
        }
        QCOMPARE(s.recordCount(), 1);
        s.enter("txtHsn", "711319");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(zelva::LoadItemGstRate(*s.data.db, s.codeOf(1)), std::optional<double>(3));

        s.browseByName();
        s.pickListed("Gold chain");
        QCOMPARE(s.text("txtGstRate"), "3");
        s.press("cmdEdit");
        s.type("txtGstRate", "");
        s.press("cmdUpdate");
        QCOMPARE(zelva::LoadItemGstRate(*s.data.db, s.codeOf(1)), std::nullopt);
    }

    // An item's barcodes and reorder level land with it: a code with a wrong
    // check digit, or one of another item (named), is refused and nothing of
    // that save is kept; a level below 0 is refused naming its box.
    void barcodesAndReorderLevelKeptWithTheItem()
    {
        Session s("stock", 1);
        {
            zelva::Transaction work(*s.data.db, "set up");
            zelva::StoreItemBarcodesWithin(*s.data.db, s.codeOf(1), {"96385074"});
            work.commit();
        }
        s.startNew();
        s.enter("txtItemName", "Soap");
        s.enter("txtBarcodes", "4006381333932");
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("check digit") && s.messages.last().contains("(Barcodes)"),
                 qPrintable(s.messages.last()));
        s.enter("txtBarcodes", "4006381333931, 96385074");
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("96385074") && s.messages.last().contains(s.codeOf(1)) &&
                     s.messages.last().contains("Name 1"),
                 qPrintable(s.messages.last()));
        s.enter("txtBarcodes", "4006381333931 SOAP-12");
        s.enter("txtReorderLevel", "-2");
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("(Reorder Level)"), qPrintable(s.messages.last()));
        QCOMPARE(s.recordCount(), 2);
        QCOMPARE(zelva::LoadItemBarcodes(*s.data.db, s.codeOf(2)), QStringList());

        s.enter("txtReorderLevel", "6");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(zelva::LoadItemBarcodes(*s.data.db, s.codeOf(2)), (QStringList{"4006381333931", "SOAP-12"}));
        QCOMPARE(zelva::LoadReorderLevel(*s.data.db, s.codeOf(2)), std::optional<double>(6));

        s.browseByName();
        s.pickListed("Soap");
        QCOMPARE(s.text("txtBarcodes"), "4006381333931, SOAP-12");
        QCOMPARE(s.text("txtReorderLevel"), "6");
        s.press("cmdEdit");
        s.type("txtBarcodes", "SOAP-12");
        s.type("txtReorderLevel", "");
        s.press("cmdUpdate");
        QCOMPARE(zelva::LoadItemBarcodes(*s.data.db, s.codeOf(2)), QStringList{"SOAP-12"});
        QCOMPARE(zelva::LoadReorderLevel(*s.data.db, s.codeOf(2)), std::nullopt);
        QCOMPARE(zelva::ItemOfBarcode(*s.data.db, "4006381333931"), std::nullopt);
    }

    // A new item's quantity is its opening stock, kept with the cost typed; a
    // cost that is no amount or below nothing is refused naming its box. An
    // edit changes the cost only, whatever the quantity on hand did since; an
    // item saved with nothing on hand and no cost has no opening stock.
    void openingStockKeptWithTheItem()
    {
        Session s("stock", 1);
        s.startNew();
        s.enter("txtItemName", "Copier Paper");
        s.enter("txtQuantity", "40");
        s.enter("txtOpeningCost", "2l0");
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("Opening Cost (Rs.)") && s.messages.last().contains("2l0"),
                 qPrintable(s.messages.last()));
        s.enter("txtOpeningCost", "-5");
        s.press("cmdSave");
        QVERIFY2(s.messages.last().contains("below nothing") && s.messages.last().contains("(Opening Cost (Rs.))"),
                 qPrintable(s.messages.last()));
        QCOMPARE(s.recordCount(), 2);
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(2)), std::nullopt);

        s.enter("txtOpeningCost", "212.40");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(2)), (zelva::OpeningStock{40, 21240}));
        QCOMPARE(s.stored("Quantity", 2), QVariant(40.0));

        { // a sale takes 3 off meanwhile
            zelva::Transaction sale(*s.data.db, "sell");
            zelva::AdjustStock(*s.data.db, zelva::StockTable::ForSale, s.codeOf(2), -3);
            sale.commit();
        }
        s.browseByName();
        s.pickListed("Copier Paper");
        QCOMPARE(s.text("txtOpeningCost"), "212.40");
        s.press("cmdEdit");
        s.type("txtOpeningCost", "215");
        s.press("cmdUpdate");
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(2)), (zelva::OpeningStock{40, 21500}));
        QCOMPARE(s.stored("Quantity", 2), QVariant(37.0));
        s.pickListed("Copier Paper");
        s.press("cmdEdit");
        s.type("txtOpeningCost", "");
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts().size(), 3); // the two refusals and the save: nothing since
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(2)), (zelva::OpeningStock{40, std::nullopt}));

        // the item seeded before, 5 on hand and no opening stock kept: a cost given takes those 5
        s.pickListed("Name 1");
        QCOMPARE(s.text("txtOpeningCost"), "");
        s.press("cmdEdit");
        s.type("txtOpeningCost", "9.50");
        s.press("cmdUpdate");
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(1)), (zelva::OpeningStock{5, 950}));

        s.startNew();
        s.enter("txtItemName", "Stapler");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(zelva::LoadOpeningStock(*s.data.db, s.codeOf(3)), std::nullopt);
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
        QTest::newRow("quantity with a comma") << "txtQuantity" << "1,000" << "Quantity";
        QTest::newRow("rate too large to invoice") << "txtRate" << "1e308" << "Rate";
        QTest::newRow("rate of 14 digits") << "txtRate" << "12345678901234" << "Rate";
    }
    void updateRefusesWhatTheColumnCannotTake()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, field);
        Session s("stock", 1);
        s.browseByName();
        s.pickListed("Name 1");
        QCOMPARE(s.text("txtOpeningCost"), "");
        s.press("cmdEdit");
        s.type("txtItemName", "Changed name");
        s.type(box, typed);
        s.press("cmdUpdate");

        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains(field), qPrintable(s.messages.last()));
        QCOMPARE(s.stored("ItemName", 1), QVariant("Name 1"));
        QCOMPARE(s.stored("Rate", 1), QVariant(10.0));
        QCOMPARE(s.stored("Quantity", 1), QVariant(5.0));

        s.messages.clear();
        s.type(box, " 7 "); // blanks around a number are fine
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts(), QStringList());
        QCOMPARE(s.stored(field, 1), QVariant(7.0));
        QCOMPARE(s.stored("ItemName", 1), QVariant("Changed name"));
    }

    // An invoice that sells some of the item while it is being edited is never
    // undone by Update: a quantity the operator left alone is not written, and
    // a typed one is stored over the new quantity only once the operator, told
    // of it, presses Update again.
    void quantityChangedElsewhereIsNotWrittenOver()
    {
        Session s("stock", 3);
        const auto sellDownTo = [&](int left) {
            QVERIFY(changeFileElsewhere(s.data.folder(), zelva::DbFile::ItemStock,
                                        QStringLiteral("UPDATE Stock SET Quantity = %1 WHERE sno = 2").arg(left)));
        };
        s.browseByName();
        s.pickListed("Name 2");
        s.press("cmdEdit");
        sellDownTo(4);
        s.type("txtRemarks", "Only remarks");
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts(), QStringList());
        QCOMPARE(s.stored("Quantity", 2), QVariant(4.0));
        QCOMPARE(s.stored("Remarks", 2), QVariant("Only remarks"));
        QCOMPARE(s.text("txtQuantity"), "4");

        s.pickListed("Name 2");
        s.press("cmdEdit");
        s.type("txtQuantity", "9");
        s.type("txtRemarks", "Counted");
        sellDownTo(3);
        s.press("cmdUpdate");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains("Quantity") && s.messages.last().contains("was 4 and is now 3"),
                 qPrintable(s.messages.last()));
        QCOMPARE(s.stored("Quantity", 2), QVariant(3.0));
        QCOMPARE(s.stored("Remarks", 2), QVariant("Only remarks"));
        QVERIFY(s.enabled("cmdUpdate"));

        s.press("cmdUpdate"); // the operator confirms the count
        QCOMPARE(s.messages.texts().size(), 1);
        QCOMPARE(s.stored("Quantity", 2), QVariant(9.0));
        QCOMPARE(s.stored("Remarks", 2), QVariant("Counted"));
        QCOMPARE(s.stored("Quantity", 1), QVariant(5.0));
        QCOMPARE(s.stored("Quantity", 3), QVariant(5.0));
    }

    // Opened for office items, the form keeps OtherItemStock and leaves Stock alone.
    void officeItemsWorkOnOtherItemStock()
    {
        Session s("stock");
        auto& form = static_cast<frmStockEntry&>(s.form);
        form.setOfficeItems();
        QVERIFY(form.officeItems());
        const auto office = [&](const QString& sql) { return valueInFile(s.data.folder(), zelva::DbFile::OtherItemStock, sql); };

        s.press("cmdNew");
        QCOMPARE(s.text("txtItemCode"), "G00001");
        s.enter("txtItemName", "Printer paper A4");
        s.enter("txtQuantity", "20");
        s.press("cmdSave");
        QCOMPARE(s.messages.texts(), QStringList{"Saved Successfully"});
        QCOMPARE(office("SELECT ItemName FROM OtherItemStock WHERE sno = 1"), QVariant("Printer paper A4"));
        QCOMPARE(s.recordCount(), 1); // Stock holds only its placeholder

        QVERIFY(pick(form.cboChoice, "Item Name"));
        QCOMPARE(s.listed(), (QStringList{"", "Printer paper A4"}));
        s.pickListed("Printer paper A4");
        s.press("cmdEdit");
        s.type("txtQuantity", "15");
        s.press("cmdUpdate");
        QCOMPARE(office("SELECT Quantity FROM OtherItemStock WHERE sno = 1"), QVariant(15.0));

        form.setOfficeItems(false);
        QVERIFY(pick(form.cboChoice, "Item Name"));
        QCOMPARE(s.listed(), QStringList{""});
    }

    // A table that has gone from its file is a message naming it, never a crash,
    // and the form stays as it was.
    void missingTableIsAMessage()
    {
        Session s("stock", 1);
        s.browseByName();
        s.pickListed("Name 1");
        QVERIFY(changeFileElsewhere(s.data.folder(), zelva::DbFile::ItemStock, "ALTER TABLE Stock RENAME TO StockGone"));

        s.press("cmdNew");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains("Stock"), qPrintable(s.messages.last()));
        QCOMPARE(s.text("txtItemName"), "Name 1");

        s.press("cmdEdit");
        QCOMPARE(s.messages.texts().size(), 2);
        QVERIFY(s.readOnly("txtItemName"));

        QVERIFY(pick(s.form.cboChoice, "Item Code"));
        QCOMPARE(s.messages.texts().size(), 3);
        QCOMPARE(s.form.lstName->count(), 0);
    }

    void editOfARecordRemovedElsewhereIsRefused()
    {
        Session s("stock", 2);
        s.browseByName();
        s.pickListed("Name 2");
        QVERIFY(changeFileElsewhere(s.data.folder(), zelva::DbFile::ItemStock, "DELETE FROM Stock WHERE sno = 2"));

        s.press("cmdEdit");
        QCOMPARE(s.messages.texts().size(), 1);
        QVERIFY2(s.messages.last().contains("no longer"), qPrintable(s.messages.last()));
        QVERIFY(s.readOnly("txtItemName"));
        QCOMPARE(s.recordCount(), 2);
    }
};

QTEST_MAIN(StockEntryTest)
#include "test_stockentry.moc"
