// Tools, Import worked as an operator does: a file with a column of another
// name mapped once, a row with a problem between good ones, Import, the
// rows left out saved back, a template saved; and files that cannot be read.
#include "masters/frmimport.h"
#include "registers/sheetfile.h"

#include "data/schema.h"
#include "support/formdriver.h"
#include "support/testserver.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelva;
using namespace testing;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QStringList column(const QTableWidget* grid, int c)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return texts;
}

} // namespace

class ImportWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir files;

private slots:
    void itemsMappedImportedAndLeftOutSaved()
    {
        TempData data;
        MessageRecorder messages;
        frmImport form(*data.db);
        form.show();
        QVERIFY(pick(need<QComboBox>(&form, "cboKind"), "Stock Items"));
        const QString path = writeFile(files, "items.csv",
                                       "Product;HSN/ SAC;Rate (Rs.);Opening Quantity\n"
                                       "\"Tea, Nilgiri 250 g\";0902;\"145.00\";40\n"
                                       "Coffee 500 g;0901;abc;10\n"
                                       "ஊறுகாய் 200 g;2001;60;\n");
        QVERIFY(form.openFile(path));
        auto* import = need<QPushButton>(&form, "cmdImport");
        auto* summary = need<QLabel>(&form, "lblSummary");
        // "Product" names no column yet: nothing can be imported until it is mapped.
        QVERIFY(summary->text().contains("No column gives Item Name"));
        QVERIFY(!import->isEnabled());
        QVERIFY(pick(need<QComboBox>(&form, "cboMapping_0"), "Item Name"));
        auto* grid = need<QTableWidget>(&form, "grdPreview");
        QCOMPARE(column(grid, 1), (QStringList{"new", "left out", "new"}));
        QCOMPARE(column(grid, 2), (QStringList{"Tea, Nilgiri 250 g", "Coffee 500 g", "ஊறுகாய் 200 g"}));
        QVERIFY(grid->item(1, grid->columnCount() - 1)->text().contains("abc"));
        QCOMPARE(summary->text(), QString("2 rows can be imported, 1 are left out."));

        click(import);
        QCOMPARE(messages.last(), QString("Imported 2 stock items: 2 new, 0 updated. 1 row was left out."));
        const auto stored = rowsInFile(data.folder(), DbFile::ItemStock,
                                       "SELECT itemcode, ItemName, ItemHsn, Rate, Quantity FROM Stock WHERE sno > 0 "
                                       "ORDER BY sno");
        QCOMPARE(stored, (QList<QVariantList>{{"G00001", "Tea, Nilgiri 250 g", "0902", 145.0, 40.0},
                                              {"G00002", "ஊறுகாய் 200 g", "2001", 60.0, 0.0}}));
        // Read afresh, the stored names are now offered as updates.
        QCOMPARE(column(grid, 1), (QStringList{"update G00001", "left out", "update G00002"}));

        const QString rejected = files.filePath("left out.csv");
        QVERIFY(form.saveRejectedTo(rejected));
        const SheetCells back = ReadSheetFile(rejected);
        QCOMPARE(back.rows.size(), size_t(2));
        QCOMPARE(back.rows[0], (QStringList{"Product", "HSN/ SAC", "Rate (Rs.)", "Opening Quantity", "Reason"}));
        QCOMPARE(back.rows[1].mid(0, 4), (QStringList{"Coffee 500 g", "0901", "abc", "10"}));
        QVERIFY(back.rows[1][4].contains("must be a number"));
    }

    void templateAndUnreadableFiles()
    {
        ON_FILES_ONLY();
        TempData data;
        MessageRecorder messages;
        frmImport form(*data.db);
        QVERIFY(pick(need<QComboBox>(&form, "cboKind"), "Buyers"));
        const QString saved = files.filePath("buyers template.csv");
        QVERIFY(form.saveTemplateTo(saved));
        QVERIFY(form.openFile(saved));
        QCOMPARE(column(need<QTableWidget>(&form, "grdPreview"), 1), QStringList{"new"});

        QVERIFY(!form.openFile(writeFile(files, "empty.csv", "")));
        QVERIFY(messages.last().contains("empty.csv is empty"));
        QVERIFY(!need<QPushButton>(&form, "cmdImport")->isEnabled());
        QVERIFY(!form.openFile(writeFile(files, "cut.csv", "Name,Address\nRavi,\"12 Main")));
        QVERIFY(messages.last().contains("cut off"));
        QVERIFY(!need<QPushButton>(&form, "cmdImport")->isEnabled());
        QCOMPARE(valueInFile(data.folder(), DbFile::Customer, "SELECT COUNT(*) FROM CustomerDetails WHERE sno > 0").toInt(), 0);
    }
};

QTEST_MAIN(ImportWindowTest)
#include "test_importwindow.moc"
