// How long the stock-item form takes to list a table of 10,000 items and show
// an entry near the end, against reading the same rows straight from SQLite.
#include "data/database.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "masters/stockentry.h"
#include "ui/message.h"
#include "timing.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zelva;

namespace {

constexpr int Items = 10000;
constexpr int Chosen = Items - 10;
constexpr int Runs = 7;

void fillStock(Database& db)
{
    Transaction transaction(db, QStringLiteral("fill the stock"));
    RecordSource stock(db);
    stock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
    for (int serial = 1; serial <= Items; ++serial) {
        stock.addNew();
        stock.setValue(QStringLiteral("sno"), serial);
        stock.setValue(QStringLiteral("itemcode"), RecordCode(CodeKind::Item, serial));
        stock.setValue(QStringLiteral("ItemName"), QStringLiteral("Item number %1").arg(serial));
        stock.setValue(QStringLiteral("ItemHsn"), QStringLiteral("8414"));
        stock.setValue(QStringLiteral("Rate"), 10.5 + serial);
        stock.setValue(QStringLiteral("Per"), QStringLiteral("Nos"));
        stock.setValue(QStringLiteral("Quantity"), serial % 50);
        stock.setValue(QStringLiteral("Remarks"), QStringLiteral("N.A."));
        stock.update();
    }
    transaction.commit();
}

template <typename Work>
double medianMs(Work&& work)
{
    return bench::Median(bench::TimeRuns(Runs, work));
}

// The baseline: every row's rowid and name (or every field of every row, as
// a record set holds them), then the whole chosen row.
QString readStraight(Database& db, bool wholeRows)
{
    const QString table = QStringLiteral("\"%1\".\"Stock\"").arg(SchemaName(DbFile::ItemStock));
    QSqlQuery all(db.connection());
    all.setForwardOnly(true);
    all.exec(QStringLiteral("SELECT rowid, ItemName%1 FROM %2 ORDER BY rowid").arg(wholeRows ? ", *" : "", table));
    const int width = wholeRows ? 11 : 2;
    std::vector<std::pair<qint64, QString>> rows;
    std::vector<QVariant> fields;
    while (all.next()) {
        rows.emplace_back(all.value(0).toLongLong(), all.value(1).toString());
        for (int i = 2; i < width; ++i)
            fields.push_back(all.value(i));
    }
    QSqlQuery one(db.connection());
    one.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(table));
    one.addBindValue(rows[Chosen].first);
    one.exec();
    one.next();
    return one.value(QStringLiteral("ItemName")).toString();
}

} // namespace

int main(int argc, char* argv[])
{
    bench::OffscreenUnlessNamed();
    QApplication app(argc, argv);
    SetMessageHook([](const QString& text, const QString&) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });

    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    fillStock(*db);

    frmStockEntry form(*db);
    QString shown;
    const double formMs = medianMs([&] {
        form.cboChoice->setCurrentIndex(form.cboChoice->findText(QStringLiteral("Item Name")));
        form.cboChoice_Click();
        form.lstName_Click(form.lstName->item(Chosen));
        shown = form.txtItemName->text();
    });
    const double sourceMs = medianMs([&] {
        RecordSource stock(*db);
        stock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
        QStringList names;
        for (stock.moveFirst(); !stock.eof(); stock.moveNext())
            names << stock.text(QStringLiteral("ItemName"));
    });
    QString straight;
    const double namesMs = medianMs([&] { straight = readStraight(*db, false); });
    const double wholeMs = medianMs([&] { straight = readStraight(*db, true); });

    if (shown != straight) {
        std::fprintf(stderr, "the form showed \"%s\", the table holds \"%s\"\n", qPrintable(shown), qPrintable(straight));
        return 1;
    }
    std::printf("%d items, entry %d chosen (median of %d runs)\n", Items, Chosen, Runs);
    std::printf("stock-item form, list filled and entry shown: %8.2f ms\n", formMs);
    std::printf("  of which the record source read and walked: %8.2f ms\n", sourceMs);
    std::printf("straight from SQLite, keys and names:         %8.2f ms   ratio %5.2f\n", namesMs, formMs / namesMs);
    std::printf("straight from SQLite, whole rows:             %8.2f ms   ratio %5.2f\n", wholeMs, formMs / wholeMs);
    return 0;
}
