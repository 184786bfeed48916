// Masters brought in from files: CSV as RFC 4180 has it and .xlsx workbooks
// read cell by cell, then each row checked before anything is stored, the
// good rows stored in one go (or none), the others given back with a reason.
#include "registers/csvfile.h"
#include "registers/sheetfile.h"
#include "sales/masterimport.h"

#include "data/audittrail.h"
#include "data/dataerror.h"
#include "data/schema.h"
#include "gst/gststates.h"
#include "reports/invoiceshape.h"
#include "sales/gstratestore.h"
#include "sales/opening.h"
#include "sales/openingstock.h"
#include "data/stockchange.h"
#include "support/testdata.h"
#include "support/testserver.h"

#include <QTemporaryDir>
#include <QtTest>
#include <xlsxwriter.h>

using namespace zelva;

namespace {

using Rows = std::vector<QStringList>;

QString gstinOf(const char* state, const char* pan)
{
    const QString first14 = QStringLiteral("%1%2").arg(QLatin1String(state), QLatin1String(pan)) + QStringLiteral("1Z");
    return first14 + GstinCheckCharacter(first14);
}

// The same GSTIN with its check character wrong.
QString brokenGstin(const QString& gstin)
{
    return gstin.left(14) + (gstin.back() == 'A' ? 'B' : 'A');
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QString xlsxwriterWorkbook(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("written.xlsx");
    lxw_workbook* book = workbook_new(path.toUtf8().constData());
    lxw_worksheet* first = workbook_add_worksheet(book, "Buyers");
    lxw_worksheet* second = workbook_add_worksheet(book, "Suppliers");
    worksheet_write_string(first, 0, 0, "Name", nullptr);
    worksheet_write_string(first, 0, 1, "Pin", nullptr);
    worksheet_write_string(first, 1, 0, "முருகன் ஸ்டோர்ஸ்", nullptr);
    worksheet_write_number(first, 1, 1, 625001, nullptr);
    worksheet_write_string(second, 0, 0, "Name", nullptr);
    worksheet_write_string(second, 1, 0, "दिल्ली पेपर्स", nullptr);
    worksheet_write_number(second, 1, 1, 0.25, nullptr);
    workbook_close(book);
    return path;
}

} // namespace

class MasterImportTest : public QObject {
    Q_OBJECT

    QTemporaryDir files;
    testing::TempData untouched; // for the cases that store nothing

    static ImportPreview preview(testing::TempData& data, MasterKind kind, const Rows& rows,
                                 ExistingName existing = ExistingName::Update, const ColumnMapping& mapping = {})
    {
        return PreviewMasterImport(*data.db, kind, rows, mapping, existing, QDate(2026, 12, 8));
    }

    // A file of that many items, each with a rate, an opening quantity and cost.
    static Rows manyItems(int count)
    {
        Rows rows{{"Item Name", "GST Rate %", "Opening Quantity", "Opening Cost"}};
        for (int n = 1; n <= count; ++n)
            rows.push_back({QStringLiteral("Item %1").arg(n), n % 2 ? "18" : "5", QString::number(n % 7 + 1),
                            QString::number((1000 + n) / 100.0, 'f', 2)});
        return rows;
    }

    static void addBuyer(testing::TempData& data, const QString& name)
    {
        data.db->run(QStringLiteral("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, "
                                    "Gstin, Phone, Email, Website, Remarks) VALUES (1, 'C00001', ?, 'Old Street', "
                                    "'Salem', 'Tamil Nadu', '636001', 'N.A.', '1', 'N.A.', 'N.A.', 'N.A.')"),
                     {name}, QStringLiteral("add a buyer"), DbFile::Customer);
    }

private slots:
    void csvCells_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("quoted comma, line break and quote, CR LF")
            << QByteArray("Name,Address\r\n\"Ravi, Sons\",\"12 Main Rd\r\nSalem \"\"East\"\"\"\r\nBala,\r\n")
            << Rows{{"Name", "Address"}, {"Ravi, Sons", "12 Main Rd\r\nSalem \"East\""}, {"Bala", ""}};
        QTest::newRow("byte-order mark, Tamil and Hindi, no last line break")
            << QByteArray("\xEF\xBB\xBFName,State\nமுருகன் ஸ்டோர்ஸ்,Tamil Nadu\nशर्मा ट्रेडर्स,Delhi")
            << Rows{{"Name", "State"}, {"முருகன் ஸ்டோர்ஸ்", "Tamil Nadu"}, {"शर्मा ट्रेडर्स", "Delhi"}};
        QTest::newRow("semicolons, a decimal comma inside a cell")
            << QByteArray("Item Name;Rate (Rs.)\nTea;12,50\n\n\n") << Rows{{"Item Name", "Rate (Rs.)"}, {"Tea", "12,50"}};
    }
    void csvCells()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        const SheetCells cells = ReadCsvBytes(bytes, "shop.csv");
        QCOMPARE(cells.problem, QString());
        QCOMPARE(cells.rows, rows);
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QTest::newRow("cut off inside quotes") << QByteArray("Name,Address\nRavi,\"12 Main") << "ends inside a quoted cell";
        QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF\r\n") << "is empty";
        QTest::newRow("not text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe", 12) << "neither a CSV file";
        QTest::newRow("password protected workbook") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12)
                                                     << "protected by a password";
        QTest::newRow("workbook cut off") << QByteArray("PK\x03\x04\x14\0\0\0", 8) << "cut off or damaged";
    }
    void unreadableFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        const SheetCells cells = ReadSheetFile(writeFile(files, "bad.xlsx", bytes));
        QVERIFY2(cells.problem.contains(problem), qPrintable(cells.problem));
        QVERIFY(cells.rows.empty());
    }

    void workbooks()
    {
        const QString written = xlsxwriterWorkbook(files);
        QCOMPARE(WorkbookSheetNames(written), (QStringList{"Buyers", "Suppliers"}));
        QCOMPARE(ReadSheetFile(written).rows, (Rows{{"Name", "Pin"}, {"முருகன் ஸ்டோர்ஸ்", "625001"}}));
        QCOMPARE(ReadSheetFile(written, "Suppliers").rows, (Rows{{"Name"}, {"दिल्ली पेपर्स", "0.25"}}));
        QVERIFY(ReadSheetFile(written, "Items").problem.contains("no sheet named"));

        // Laid out as a spreadsheet program saves: sheets whose parts are not in
        // order, rich text, a reading aid, inline strings, a formula's result.
        const QString saved = QFINDTESTDATA("data/spreadsheet-saved.xlsx");
        QCOMPARE(WorkbookSheetNames(saved), (QStringList{"Notes", "Items"}));
        QCOMPARE(ReadSheetFile(saved, "Items").rows, (Rows{{"Item Name", "HSN/ SAC", "", "Rate (Rs.)"},
                                                          {},
                                                          {"Kumkum 50 g", "33049990", "", "1250.5"},
                                                          {"TEA", "", "", "12"}}));
        QCOMPARE(ReadSheetFile(saved).rows, (Rows{{"read me"}}));
    }

    // Each kind of problem in a row of its own in the middle of the file; the
    // good rows around them are stored, the others given back.
    void buyersWithProblems()
    {
        testing::TempData data;
        addBuyer(data, "Salem Agencies");
        const QString tamilNadu = gstinOf("33", "AAFCS1234K");
        const QString karnataka = gstinOf("29", "AABCM5678L");
        const Rows rows{{"Name", "GSTIN", "State", "Pin", "Phone", "Notes"},
                        {"முருகன் ஸ்டோர்ஸ்", tamilNadu, "Tamil Nadu", "625001", "98400", "x"},
                        {"Broken Check", brokenGstin(karnataka), "Karnataka", "560001", "", ""},
                        {"Wrong State", karnataka, "Tamil Nadu", "600001", "", ""},
                        {"Unknown State", "N.A.", "Madras Presidency", "600001", "", ""},
                        {"Short Pin", "", "Kerala", "68201", "", ""},
                        {"salem agencies ", "", "Tamil Nadu", "636002", "4242", ""},
                        {"முருகன் ஸ்டோர்ஸ்", "", "", "", "", ""},
                        {"शर्मा ट्रेडर्स", "", "Delhi", "110001", "", ""}};
        const ImportPreview checked = preview(data, MasterKind::Buyer, rows);
        QCOMPARE(checked.problem, QString());
        QCOMPARE(checked.columnOfCell, (QStringList{"Name", "GSTIN/UIN", "State", "Pin", "Contact No.", ""}));
        QStringList becomes;
        for (const ImportRow& row : checked.rows)
            becomes << row.becomes();
        QCOMPARE(becomes, (QStringList{"new", "left out", "left out", "left out", "left out", "update C00001",
                                       "left out", "new"}));
        QVERIFY(checked.rows[1].reason().contains("check character"));
        QVERIFY(checked.rows[2].reason().contains("not in 33-Tamil Nadu"));
        QVERIFY(checked.rows[3].reason().contains("Madras Presidency"));
        QVERIFY(checked.rows[4].reason().contains("six digits"));
        QVERIFY(checked.rows[6].reason().contains("also in row 2"));

        const ImportResult result = StoreMasterImport(*data.db, checked);
        QCOMPARE(result.text(checked), QString("Imported 3 buyers: 2 new, 1 updated. 5 rows were left out."));
        const auto stored = testing::rowsInFile(data.folder(), DbFile::Customer,
                                                "SELECT sno, bid, Name, address, State, Pin, Gstin, Phone FROM "
                                                "CustomerDetails WHERE sno > 0 ORDER BY sno");
        QCOMPARE(stored.size(), 3);
        // The update keeps what the file leaves empty and the name as the masters spell it.
        QCOMPARE(stored[0], (QVariantList{1, "C00001", "salem agencies", "Old Street", "Tamil Nadu", "636002", "N.A.", "4242"}));
        QCOMPARE(stored[1], (QVariantList{2, "C00002", "முருகன் ஸ்டோர்ஸ்", "N.A.", "Tamil Nadu", "625001", tamilNadu, "98400"}));
        QCOMPARE(stored[2][1], QVariant("C00003"));
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Zlv,
                                      "SELECT COUNT(*) FROM AuditTrail WHERE TableName = 'CustomerDetails'")
                     .toInt(),
                 3);

        const Rows rejected = RejectedRows(checked);
        QCOMPARE(rejected.size(), size_t(6));
        QCOMPARE(rejected[0].last(), QString("Reason"));
        QCOMPARE(rejected[1].mid(0, 6), rows[2]);
        QVERIFY(rejected[5].last().contains("also in row 2"));
    }

    void skipKeepsTheMasters()
    {
        testing::TempData data;
        addBuyer(data, "Salem Agencies");
        const ImportPreview checked =
            preview(data, MasterKind::Buyer, {{"Name", "Pin"}, {"Salem Agencies", "636099"}}, ExistingName::Skip);
        QCOMPARE(checked.goodRows(), 0);
        QCOMPARE(checked.rows[0].becomes(), QString("skipped: C00001 has this name"));
        StoreMasterImport(*data.db, checked);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Customer, "SELECT Pin FROM CustomerDetails WHERE sno = 1"),
                 QVariant("636001"));
        QVERIFY(RejectedRows(checked)[1].last().contains("skipped"));
    }

    void itemsWithRatesAndHsn()
    {
        testing::TempData data;
        testing::addCompany(*data.db, gstinOf("33", "AAACH7409R"));
        {
            Transaction transaction(*data.db, "set the band");
            StoreAboveFiveCroreWithin(*data.db, 1, true); // HSN codes of six digits
            transaction.commit();
        }
        const Rows rows{{"Item", "HSN", "GST Rate", "Rate", "Unit", "Opening Quantity"},
                        {"A4 Paper", "48025690", "18", "245.50", "Ream", "120"},
                        {"Old Rate Pen", "960810", "12", "10", "Nos", "5"},
                        {"Short Hsn Glue", "3506", "18", "40", "Nos", ""},
                        {"Odd Price", "482090", "5", "12a", "Nos", "1"},
                        {"Luxury Car Wax", "340520", "40", "900", "Tin", "2.5"}};
        const ImportPreview checked = preview(data, MasterKind::Item, rows);
        QCOMPARE(checked.goodRows(), 2);
        QVERIFY(checked.rows[1].reason().contains("not in force on 08/12/2026"));
        QVERIFY(checked.rows[2].reason().contains("6"));
        QVERIFY(checked.rows[3].reason().contains("12a"));
        StoreMasterImport(*data.db, checked);
        const auto stored = testing::rowsInFile(data.folder(), DbFile::ItemStock,
                                                "SELECT itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks "
                                                "FROM Stock WHERE sno > 0 ORDER BY sno");
        QCOMPARE(stored, (QList<QVariantList>{{"G00001", "A4 Paper", "48025690", 245.5, "Ream", 120.0, "N.A."},
                                              {"G00002", "Luxury Car Wax", "340520", 900.0, "Tin", 2.5, "N.A."}}));
        QCOMPARE(LoadItemGstRate(*data.db, "G00002"), std::optional<double>(40));
    }

    // A new item's opening quantity goes on hand with its cost kept; a cost
    // that is no amount or below nothing leaves its row out; an item already
    // in the masters keeps its quantity, an Opening Cost given changes only
    // its cost (its opening quantity what it had before any movement).
    void itemsWithOpeningCost()
    {
        testing::TempData data;
        const Rows first{{"Item Name", "Per", "Opening Quantity", "Cost Price"},
                         {"Copier Paper", "Ream", "40", "212.40"},
                         {"Stapler", "Nos", "6", "-3"},
                         {"Glue", "Nos", "12", ""},
                         {"Ink", "Nos", "", "3x"},
                         {"Tape", "Nos", "", ""}};
        const ImportPreview checked = preview(data, MasterKind::Item, first);
        QCOMPARE(checked.goodRows(), 3);
        QVERIFY2(checked.rows[1].reason().contains("below nothing"), qPrintable(checked.rows[1].reason()));
        QVERIFY2(checked.rows[3].reason().contains("3x"), qPrintable(checked.rows[3].reason()));
        StoreMasterImport(*data.db, checked);
        QCOMPARE(testing::rowsInFile(data.folder(), DbFile::ItemStock,
                                     "SELECT itemcode, ItemName, Quantity FROM Stock WHERE sno > 0 ORDER BY sno"),
                 (QList<QVariantList>{{"G00001", "Copier Paper", 40.0}, {"G00002", "Glue", 12.0}, {"G00003", "Tape", 0.0}}));
        QCOMPARE(LoadOpeningStock(*data.db, "G00001"), (OpeningStock{40, 21240}));
        QCOMPARE(LoadOpeningStock(*data.db, "G00002"), (OpeningStock{12, std::nullopt}));
        QCOMPARE(LoadOpeningStock(*data.db, "G00003"), std::nullopt);

        {
            Transaction sale(*data.db, "sell some glue");
            AdjustStock(*data.db, StockTable::ForSale, "G00002", -2);
            data.db->run("DELETE FROM ItemStock.OpeningStock WHERE itemcode = 'G00002'", {}, "forget", DbFile::ItemStock);
            sale.commit();
        }
        const Rows again{{"Item Name", "Opening Quantity", "Opening Cost"},
                         {"Copier Paper", "99", "215"},
                         {"Glue", "", "8.75"},
                         {"Tape", "3", ""}};
        StoreMasterImport(*data.db, preview(data, MasterKind::Item, again));
        QCOMPARE(testing::rowsInFile(data.folder(), DbFile::ItemStock,
                                     "SELECT Quantity FROM Stock WHERE sno > 0 ORDER BY sno"),
                 (QList<QVariantList>{{40.0}, {10.0}, {0.0}}));
        QCOMPARE(LoadOpeningStock(*data.db, "G00001"), (OpeningStock{40, 21500}));
        // no sale was recorded as an invoice: the 10 on hand were there from the start
        QCOMPARE(LoadOpeningStock(*data.db, "G00002"), (OpeningStock{10, 875}));
        QCOMPARE(LoadOpeningStock(*data.db, "G00003"), std::nullopt);
    }

    void fileRefused_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<ColumnMapping>("mapping");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no header row") << Rows{{"Ravi", "600001"}, {"Bala", "600002"}} << ColumnMapping{}
                                       << "not a header row";
        QTest::newRow("column mapped twice") << Rows{{"Customer", "Name"}, {"Ravi", "Ravi"}}
                                             << ColumnMapping{{"Customer", "Name"}} << "both give Name";
        QTest::newRow("no name column") << Rows{{"Pin", "State"}, {"600001", "Tamil Nadu"}} << ColumnMapping{}
                                        << "No column gives Name";
        QTest::newRow("header only") << Rows{{"Name"}} << ColumnMapping{} << "no rows under it";
    }
    void fileRefused()
    {
        QFETCH(Rows, rows);
        QFETCH(ColumnMapping, mapping);
        QFETCH(QString, problem);
        testing::TempData& data = untouched;
        const ImportPreview checked = preview(data, MasterKind::Buyer, rows, ExistingName::Update, mapping);
        QVERIFY2(checked.problem.contains(problem), qPrintable(checked.problem));
        QVERIFY_THROWS_EXCEPTION(DataError, StoreMasterImport(*data.db, checked));
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::Customer, "SELECT COUNT(*) FROM CustomerDetails").toInt(), 1);
    }

    // A column of another name, mapped once; Cancel while storing stores nothing.
    void mappedColumnAndCancel()
    {
        testing::TempData data;
        Rows rows{{"Vendor", "Where"}};
        for (int i = 1; i <= 1200; ++i)
            rows.push_back({QStringLiteral("Supplier %1").arg(i), "Kerala"});
        const ImportPreview checked =
            preview(data, MasterKind::Supplier, rows, ExistingName::Update, {{"Vendor", "Name"}, {"Where", "State"}});
        QCOMPARE(checked.goodRows(), 1200);
        int asked = 0;
        const ImportResult cancelled = StoreMasterImport(*data.db, checked, [&](int) { return ++asked < 2; });
        QVERIFY(cancelled.cancelled);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::PurchaseMaster, "SELECT COUNT(*) FROM Supplier WHERE sno > 0")
                     .toInt(),
                 0);
        QCOMPARE(StoreMasterImport(*data.db, checked).added, 1200);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::PurchaseMaster,
                                      "SELECT SupplierId || ' ' || State FROM Supplier WHERE sno = 1200"),
                 QVariant("S01200 Kerala"));
    }

    // The template of each kind comes back through the reader as it was written, and passes the checks.
    // A buyer's or supplier's opening balance comes in as its one opening
    // bill, dated the day the books start; none can without that day, and
    // one below nothing is refused; a row refused stores no bill.
    void openingBalancesBroughtIn()
    {
        testing::TempData data;
        const Rows rows{{"Name", "Opening Balance"}, {"Kochi Stores", "1234.56"}, {"Anand Hardware", "-5"},
                        {"Ravi Agencies", ""}};
        QVERIFY(preview(data, MasterKind::Buyer, rows).rows.at(0).reason().contains("the day the books start here"));
        data.db->run(QStringLiteral("INSERT INTO Master.Company (sno, CompanyId, Name) VALUES (1, 'C00001', 'Zelva')"), {},
                     "set up", DbFile::Master);
        {
            Transaction t(*data.db, "set up");
            StoreBooksStartDayWithin(*data.db, 1, QDate(2026, 4, 1));
            t.commit();
        }
        const ImportPreview checked = preview(data, MasterKind::Buyer, rows);
        QCOMPARE(checked.rows.at(0).reason(), QString());
        QCOMPARE(checked.rows.at(1).reason(), QString("The opening balance -5 is below nothing."));
        QCOMPARE(StoreMasterImport(*data.db, checked).added, 2);
        QCOMPARE(LoadOpeningBills(*data.db, PartyKind::Buyer, "C00001"),
                 (std::vector<OpeningBill>{{1, "Opening", QDate(2026, 4, 1), 123456}}));
        QVERIFY(LoadOpeningBills(*data.db, PartyKind::Buyer, "C00002").empty());
        const ImportPreview suppliers
            = preview(data, MasterKind::Supplier, {{"Name", "Opening"}, {"Mysore Paints", "99999.99"}});
        QCOMPARE(StoreMasterImport(*data.db, suppliers).added, 1);
        QCOMPARE(LoadOpeningBills(*data.db, PartyKind::Supplier, "S00001").at(0).amount, 9999999);
    }

    // New records, an update between them: the trail holds each record, rate
    // and opening stock entry in the rows' order, with the values stored (a
    // new item's opening quantity on hand in its record, as its form logs it).
    void auditTrailOfAnImport()
    {
        testing::TempData data;
        StoreMasterImport(*data.db, preview(data, MasterKind::Item, {{"Item Name", "Per", "Opening Quantity"},
                                                                     {"Glue", "Nos", "12"}}));
        const qint64 before = qint64(ReadAuditTrail(*data.db, {}).size());
        const Rows rows{{"Item Name", "GST Rate %", "Rate (Rs.)", "Per", "Opening Quantity", "Opening Cost"},
                        {"Copier Paper", "18", "245.50", "Ream", "40", "212.40"},
                        {"Glue", "40", "", "Tube", "", "8.75"},
                        {"Tape", "5", "30", "", "", ""}};
        QCOMPARE(StoreMasterImport(*data.db, preview(data, MasterKind::Item, rows)).added, 2);
        using Entry = std::tuple<QString, QString, QString, std::vector<FieldChange>>;
        std::vector<Entry> entries;
        for (const AuditEntry& e : ReadAuditTrail(*data.db, {}))
            if (e.serial > before)
                entries.emplace_back(e.table, e.key, e.action, e.changes);
        const auto added = [](std::initializer_list<std::pair<const char*, const char*>> fields) {
            std::vector<FieldChange> changes;
            for (const auto& [field, value] : fields)
                changes.push_back({field, "", value});
            return changes;
        };
        const std::vector<Entry> expected{
            {"Stock", "G00002", "added",
             added({{"sno", "2"}, {"itemcode", "G00002"}, {"ItemName", "Copier Paper"}, {"ItemHsn", "N.A."},
                    {"Rate", "245.5"}, {"Per", "Ream"}, {"Quantity", "40"}, {"Remarks", "N.A."}})},
            {"StockGstRate", "G00002", "changed", {{"GstRate", "", "18"}}},
            {"OpeningStock", "G00002", "changed", {{"OpeningStock", "", "40 at 212.40"}}},
            {"Stock", "G00001", "changed", {{"Per", "Nos", "Tube"}}},
            {"StockGstRate", "G00001", "changed", {{"GstRate", "", "40"}}},
            {"OpeningStock", "G00001", "changed", {{"OpeningStock", "12 at no cost", "12 at 8.75"}}},
            {"Stock", "G00003", "added",
             added({{"sno", "3"}, {"itemcode", "G00003"}, {"ItemName", "Tape"}, {"ItemHsn", "N.A."}, {"Rate", "30"},
                    {"Per", "N.A."}, {"Quantity", "0"}, {"Remarks", "N.A."}})},
            {"StockGstRate", "G00003", "changed", {{"GstRate", "", "5"}}}};
        QCOMPARE(entries, expected);
        QVERIFY(VerifyAuditTrail(*data.db).intact);
        QCOMPARE(testing::rowsInFile(data.folder(), DbFile::ItemStock,
                                     "SELECT s.itemcode, s.Quantity, r.GstRate, COALESCE(o.Quantity, -1), COALESCE(o.CostPaise, -1) "
                                     "FROM Stock s "
                                     "JOIN StockGstRate r ON r.itemcode = s.itemcode LEFT JOIN OpeningStock o ON "
                                     "o.itemcode = s.itemcode ORDER BY s.sno"),
                 (QList<QVariantList>{{"G00001", 12.0, 40.0, 12.0, 875},
                                      {"G00002", 40.0, 18.0, 40.0, 21240},
                                      {"G00003", 0.0, 5.0, -1.0, -1}}));
    }

    // A code already taken by a record of a lower serial is passed over: each
    // new row of the file gets a code of its own.
    void newCodesPassOverTakenOnes()
    {
        testing::TempData data;
        data.db->run(QStringLiteral("INSERT INTO Customer.CustomerDetails (sno, bid, Name) VALUES (1, 'C00003', 'Old Buyer')"),
                     {}, QStringLiteral("add a buyer"), DbFile::Customer);
        const ImportPreview checked =
            preview(data, MasterKind::Buyer, {{"Name", "Pin"}, {"Kochi Stores", "682001"}, {"Ravi Agencies", "600001"},
                                              {"Anand Hardware", "560001"}});
        QCOMPARE(StoreMasterImport(*data.db, checked).added, 3);
        QCOMPARE(testing::rowsInFile(data.folder(), DbFile::Customer,
                                     "SELECT sno, bid, Name FROM CustomerDetails WHERE sno > 0 ORDER BY sno"),
                 (QList<QVariantList>{{1, "C00003", "Old Buyer"},
                                      {2, "C00002", "Kochi Stores"},
                                      {4, "C00004", "Ravi Agencies"},
                                      {5, "C00005", "Anand Hardware"}}));
        QStringList logged;
        for (const AuditEntry& e : ReadAuditTrail(*data.db, {}))
            logged << e.key;
        QCOMPARE(logged, (QStringList{"C00002", "C00004", "C00005"}));
    }

    // The middle one of three rows fails while storing (its record went
    // meanwhile): the import is refused naming that row, and the new rows
    // before and after it, their rates and opening stock, their trail entries,
    // are not stored either.
    void failingRowRefusesTheWhole_data()
    {
        QTest::addColumn<MasterKind>("kind");
        QTest::newRow("buyers") << MasterKind::Buyer;
        QTest::newRow("stock items") << MasterKind::Item;
    }
    void failingRowRefusesTheWhole()
    {
        QFETCH(MasterKind, kind);
        testing::TempData data;
        const bool items = kind == MasterKind::Item;
        const Rows first = items ? Rows{{"Item Name", "Opening Quantity"}, {"Glue", "3"}, {"Ink", "2"}}
                                 : Rows{{"Name"}, {"Glue Traders"}, {"Ink House"}};
        StoreMasterImport(*data.db, preview(data, kind, first));
        const Rows rows = items ? Rows{{"Item Name", "GST Rate %", "Opening Quantity", "Opening Cost"},
                                       {"Copier Paper", "18", "40", "212.40"},
                                       {"Glue", "40", "", "8.75"},
                                       {"Tape", "5", "7", "30"}}
                                : Rows{{"Name", "Pin"}, {"Kochi Stores", "682001"}, {"Glue Traders", "600001"},
                                       {"Ravi Agencies", "600002"}};
        const ImportPreview checked = preview(data, kind, rows);
        QCOMPARE(checked.goodRows(), 3);
        QCOMPARE(checked.rows[1].becomes(), QString("update %1").arg(items ? "G00001" : "C00001"));
        const DbFile file = items ? DbFile::ItemStock : DbFile::Customer;
        const QString table = items ? "Stock" : "CustomerDetails";
        data.db->run(QStringLiteral("DELETE FROM \"%1\".\"%2\" WHERE sno = 1").arg(SchemaName(file), table), {},
                     "take the record away", file);
        QCOMPARE(testing::valueInFile(data.folder(), file, QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE sno = 1").arg(table)).toInt(), 0);
        const QStringList counted{"Stock", "StockGstRate", "OpeningStock", "CustomerDetails", "AuditTrail"};
        const auto counts = [&] {
            QList<int> all;
            for (const QString& name : counted)
                all << testing::valueInFile(data.folder(), FindTable(name)->file,
                                            QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(name))
                           .toInt();
            return all;
        };
        const QList<int> stored = counts();
        QString refused = "no error";
        try {
            StoreMasterImport(*data.db, checked);
        } catch (const DataError& error) {
            refused = error.message();
        }
        QVERIFY2(refused.contains(QStringLiteral("%1 (row 3) is no longer in the masters").arg(items ? "G00001" : "C00001")),
                 qPrintable(refused));
        QCOMPARE(counts(), stored);
        QVERIFY(VerifyAuditTrail(*data.db).intact);
    }

    // The new records are written by statements of up to 990 values: 123
    // items, 330 rates, 247 opening stocks or 110 trail entries a statement.
    // A file of exactly one statement's items, one more, and one more than a
    // statement of rates: every row lands with its rate, opening stock on
    // hand and three entries, the last row as the first.
    void itemsAcrossStatements_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one statement of items") << 123;
        QTest::newRow("one item more") << 124;
        QTest::newRow("one rate more than a statement") << 331;
    }
    void itemsAcrossStatements()
    {
        QFETCH(int, count);
        testing::TempData data;
        const ImportPreview checked = preview(data, MasterKind::Item, manyItems(count));
        QCOMPARE(StoreMasterImport(*data.db, checked).added, count);
        const auto stock = [&](const QString& sql) { return testing::valueInFile(data.folder(), DbFile::ItemStock, sql); };
        QCOMPARE(stock("SELECT COUNT(*) FROM Stock WHERE sno > 0").toInt(), count);
        QCOMPARE(stock("SELECT COUNT(*) FROM StockGstRate").toInt(), count);
        QCOMPARE(stock("SELECT COUNT(*) FROM OpeningStock").toInt(), count);
        for (const int n : {1, count}) {
            const QString code = QStringLiteral("G%1").arg(n, 5, 10, QLatin1Char('0'));
            QCOMPARE(testing::rowsInFile(data.folder(), DbFile::ItemStock,
                                         QStringLiteral("SELECT s.ItemName, s.Quantity, r.GstRate, o.Quantity, o.CostPaise "
                                                        "FROM Stock s JOIN StockGstRate r ON r.itemcode = s.itemcode "
                                                        "JOIN OpeningStock o ON o.itemcode = s.itemcode WHERE s.itemcode = '%1'")
                                             .arg(code)),
                     (QList<QVariantList>{{QStringLiteral("Item %1").arg(n), double(n % 7 + 1), n % 2 ? 18.0 : 5.0,
                                           double(n % 7 + 1), 1000 + n}}));
        }
        const std::vector<AuditEntry> trail = ReadAuditTrail(*data.db, {});
        QCOMPARE(qsizetype(trail.size()), 3 * qsizetype(count));
        QCOMPARE(trail.back().table + ' ' + trail.back().key, QStringLiteral("OpeningStock G%1").arg(count, 5, 10, QLatin1Char('0')));
        QVERIFY(VerifyAuditTrail(*data.db).intact);
    }

    // A write that fails part-way (the second statement of trail entries,
    // after the items, rates and opening stock went in) stores nothing: no
    // record, rate, opening stock or entry; and the files' page cache, made
    // large for the import, is back to what it was.
    void failingWriteStoresNothing()
    {
        testing::TempData data;
        const ImportPreview checked = preview(data, MasterKind::Item, manyItems(331));
        const auto cacheSize = [&](DbFile file) {
            if (data.db->onServer())
                return 0;
            QSqlQuery size = data.db->run(QStringLiteral("PRAGMA \"%1\".cache_size").arg(SchemaName(file)), {},
                                          "read the cache size", file);
            return size.next() ? size.value(0).toInt() : 1;
        };
        const auto sizesBefore = std::pair(cacheSize(DbFile::ItemStock), cacheSize(DbFile::Zlv));
        int trailStatements = 0;
        data.db->setStatementHook([&](const QString& sql) {
            if (sql.contains(QLatin1String(AuditTrailTable)) && sql.startsWith("INSERT") && ++trailStatements == 2)
                throw DataError("keep the audit trail", "ZLV.db", "the disk is full");
        });
        QVERIFY_THROWS_EXCEPTION(DataError, StoreMasterImport(*data.db, checked));
        data.db->setStatementHook({});
        QCOMPARE(trailStatements, 2);
        for (const char* table : {"StockGstRate", "OpeningStock", "AuditTrail"})
            QCOMPARE(testing::valueInFile(data.folder(), FindTable(table)->file,
                                          QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table))
                         .toInt(),
                     0);
        QCOMPARE(testing::valueInFile(data.folder(), DbFile::ItemStock, "SELECT COUNT(*) FROM Stock WHERE sno > 0").toInt(), 0);
        QCOMPARE(std::pair(cacheSize(DbFile::ItemStock), cacheSize(DbFile::Zlv)), sizesBefore);
        QCOMPARE(StoreMasterImport(*data.db, checked).added, 331); // and the same file goes in whole after
        QVERIFY(VerifyAuditTrail(*data.db).intact);
    }

    void templatesReadBack_data()
    {
        QTest::addColumn<MasterKind>("kind");
        QTest::newRow("buyers") << MasterKind::Buyer;
        QTest::newRow("suppliers") << MasterKind::Supplier;
        QTest::newRow("items") << MasterKind::Item;
    }
    void templatesReadBack()
    {
        QFETCH(MasterKind, kind);
        testing::TempData& data = untouched;
        const Rows rows = ImportTemplate(kind);
        QString lines;
        for (const QStringList& row : rows)
            lines += CsvLine(row);
        const SheetCells cells = ReadCsvBytes(CsvBytes(lines), "template.csv");
        QCOMPARE(cells.rows, rows);
        const ImportPreview checked = preview(data, kind, cells.rows);
        QCOMPARE(checked.rows.at(0).reason(), QString());
    }
};

QTEST_GUILESS_MAIN(MasterImportTest)
#include "test_masterimport.moc"
