// How long Tools, Import Masters takes over a shop's files: 10,000 stock
// items and 5,000 buyers read from CSV, checked and shown in the window's
// grid, then stored (each record with its audit entry, an item's rate and
// opening stock); against inserting the same records bare, in one
// transaction each, without and with the audit trail's rows. And the grid of a 50,000-row file filled in steps.
// Target: the whole import under 10 s here, within 3x the bare inserts (the
// store and the bare inserts also in processor time, steadier on a shared machine).
#include "data/database.h"
#include "data/serials.h"
#include "masters/frmimport.h"
#include "registers/csvfile.h"
#include "registers/sheetfile.h"
#include "sales/masterimport.h"
#include "ui/message.h"
#include "timing.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

using namespace zelva;

namespace {

constexpr int Items = 10000;
constexpr int Buyers = 5000;
constexpr int LargeFile = 50000;

QString itemsCsv(int rows)
{
    QString csv = CsvLine({"Item Name", "HSN/ SAC", "GST Rate %", "Rate (Rs.)", "Per", "Opening Quantity", "Opening Cost"});
    for (int i = 1; i <= rows; ++i)
        csv += CsvLine({QStringLiteral("Item number %1").arg(i), "4802", "18", QString::number(10.5 + i % 400, 'f', 2),
                        "Nos", QString::number(i % 50), QString::number(8.25 + i % 300, 'f', 2)});
    return csv;
}

QString buyersCsv(int rows)
{
    QString csv = CsvLine({"Name", "Address", "District", "State", "Pin", "Contact No."});
    for (int i = 1; i <= rows; ++i)
        csv += CsvLine({QStringLiteral("Buyer number %1").arg(i), QStringLiteral("%1, Gandhi Road").arg(i), "Madurai",
                        "Tamil Nadu", QString::number(600000 + i % 999), QString::number(9800000000LL + i)});
    return csv;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& csv)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(CsvBytes(csv));
    return path;
}

struct WindowTimes {
    double preview = 0; // file read, rows checked, grid filled
    double store = 0;   // Import pressed until its message
};

WindowTimes importInWindow(const QString& kind, const QString& path)
{
    QTemporaryDir data;
    auto db = Database::open(data.path());
    frmImport form(*db);
    form.cboKind->setCurrentIndex(form.cboKind->findText(kind));
    WindowTimes times;
    QElapsedTimer timer;
    timer.start();
    form.openFile(path);
    times.preview = bench::MsSince(timer);
    timer.restart();
    form.cmdImport->click(); // the grid is then filled afresh too, as the operator sees it
    times.store = bench::MsSince(timer);
    return times;
}

// The audit trail's rows of the import written as plain inserts, beside the
// records: each record's "added" entry with its fields, and for an item the
// entries of its rate and opening stock; texts and a hash of the same sizes.
class BareTrail {
public:
    explicit BareTrail(Database& db) : m_entry(db.connection())
    {
        m_entry.prepare("INSERT INTO ZLV.AuditTrail (Sno, At, Operator, Computer, TableName, RecordKey, Action, Changes, "
                        "Hash) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    void add(const QString& table, const QString& key, const QString& action, const QStringList& fields,
             const QVariantList& values)
    {
        QString changes;
        for (int i = 0; i < fields.size(); ++i)
            changes += QStringLiteral("%1[\"%2\",\"\",\"%3\"]").arg(i ? "," : "", fields[i], values[i].toString());
        ++m_serial;
        const QString hash = QString::number(m_serial).repeated(64).left(64);
        for (const QVariant& v : QVariantList{m_serial, m_at, "(not logged in)", "shop-counter", table, key, action,
                                              "[" + changes + "]", hash})
            m_entry.addBindValue(v);
        m_entry.exec();
    }

private:
    QSqlQuery m_entry;
    qint64 m_serial = 0;
    QString m_at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
};

// Milliseconds on the clock and of processor time (steadier on a shared machine).
struct Spent {
    double wall = 0;
    double cpu = 0;
};

// The same records written by bare prepared inserts: the items with their
// rates and opening stock, or the buyers; withTrail: and their audit rows.
Spent bareInserts(bool items, int rows, bool withTrail)
{
    QTemporaryDir data;
    auto db = Database::open(data.path());
    QElapsedTimer timer;
    timer.start();
    bench::CpuTimer cpu;
    Transaction transaction(*db, QStringLiteral("insert bare"));
    QSqlQuery record(db->connection());
    QSqlQuery rate(db->connection());
    QSqlQuery opening(db->connection());
    BareTrail trail(*db);
    const QStringList itemFields{"sno", "itemcode", "ItemName", "ItemHsn", "Rate", "Per", "Quantity", "Remarks"};
    const QStringList buyerFields{"sno", "bid", "Name", "address", "Dist", "State", "Pin", "Gstin", "Phone",
                                  "Email", "Website", "Remarks"};
    if (items) {
        record.prepare("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        rate.prepare("INSERT INTO ItemStock.StockGstRate (sno, itemcode, GstRate) VALUES (?, ?, ?)");
        opening.prepare("INSERT INTO ItemStock.OpeningStock (sno, itemcode, Quantity, CostPaise) VALUES (?, ?, ?, ?)");
    } else {
        record.prepare("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin, Phone, "
                       "Email, Website, Remarks) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    }
    for (int i = 1; i <= rows; ++i) {
        if (items) {
            const QString code = RecordCode(CodeKind::Item, i);
            const QVariantList values{i, code, QStringLiteral("Item number %1").arg(i), "4802", 10.5 + i % 400, "Nos",
                                      double(i % 50), "N.A."};
            for (const QVariant& v : values)
                record.addBindValue(v);
            record.exec();
            for (const QVariant& v : QVariantList{i, code, 18.0})
                rate.addBindValue(v);
            rate.exec();
            for (const QVariant& v : QVariantList{i, code, double(i % 50), qlonglong(825 + (i % 300) * 100)})
                opening.addBindValue(v);
            opening.exec();
            if (withTrail) {
                trail.add("Stock", code, "added", itemFields, values);
                trail.add("StockGstRate", code, "changed", {"GstRate"}, {"18"});
                trail.add("OpeningStock", code, "changed", {"OpeningStock"},
                          {QStringLiteral("%1 at %2").arg(i % 50).arg(8.25 + i % 300, 0, 'f', 2)});
            }
        } else {
            const QVariantList values{i, RecordCode(CodeKind::Buyer, i), QStringLiteral("Buyer number %1").arg(i),
                                      QStringLiteral("%1, Gandhi Road").arg(i), "Madurai", "Tamil Nadu",
                                      QString::number(600000 + i % 999), "N.A.", QString::number(9800000000LL + i),
                                      "N.A.", "N.A.", "N.A."};
            for (const QVariant& v : values)
                record.addBindValue(v);
            record.exec();
            if (withTrail)
                trail.add("CustomerDetails", values[1].toString(), "added", buyerFields, values);
        }
    }
    transaction.commit();
    return {bench::MsSince(timer), cpu.elapsed()};
}

// The rows checked and stored without the window: the store alone, as the bare inserts are.
struct StoreTimes {
    double check = 0;
    Spent store;
};

StoreTimes checkAndStore(MasterKind kind, const QString& path)
{
    QTemporaryDir data;
    auto db = Database::open(data.path());
    const SheetCells cells = ReadSheetFile(path);
    StoreTimes times;
    QElapsedTimer timer;
    timer.start();
    const ImportPreview preview =
        PreviewMasterImport(*db, kind, cells.rows, {}, ExistingName::Update, QDate::currentDate());
    times.check = bench::MsSince(timer);
    timer.restart();
    bench::CpuTimer cpu;
    StoreMasterImport(*db, preview);
    times.store = {bench::MsSince(timer), cpu.elapsed()};
    return times;
}

double largeFilePreview(const QString& path)
{
    QTemporaryDir data;
    auto db = Database::open(data.path());
    frmImport form(*db);
    form.cboKind->setCurrentIndex(form.cboKind->findText(QStringLiteral("Stock Items")));
    QElapsedTimer timer;
    timer.start();
    form.openFile(path);
    const double ms = bench::MsSince(timer);
    if (form.grdPreview->rowCount() != LargeFile)
        std::fprintf(stderr, "the grid shows %d rows of %d\n", form.grdPreview->rowCount(), LargeFile);
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::OffscreenUnlessNamed();
    QApplication app(argc, argv);
    QString lastMessage;
    SetMessageHook([&](const QString& text, const QString&) { lastMessage = text; });

    QTemporaryDir files;
    const QString itemsPath = writeFile(files, "items.csv", itemsCsv(Items));
    const QString buyersPath = writeFile(files, "buyers.csv", buyersCsv(Buyers));
    const QString largePath = writeFile(files, "large.csv", itemsCsv(LargeFile));

    const WindowTimes items = importInWindow(QStringLiteral("Stock Items"), itemsPath);
    const QString itemsMessage = lastMessage;
    const WindowTimes buyers = importInWindow(QStringLiteral("Buyers"), buyersPath);
    const QString buyersMessage = lastMessage;
    const Spent bareItems = bareInserts(true, Items, false);
    const Spent bareBuyers = bareInserts(false, Buyers, false);
    const Spent bareItemsTrail = bareInserts(true, Items, true);
    const Spent bareBuyersTrail = bareInserts(false, Buyers, true);
    const double large = largeFilePreview(largePath);
    const StoreTimes itemsAlone = checkAndStore(MasterKind::Item, itemsPath);
    const StoreTimes buyersAlone = checkAndStore(MasterKind::Buyer, buyersPath);

    std::printf("%s\n%s\n", qPrintable(itemsMessage), qPrintable(buyersMessage));
    std::printf("%-44s %10s %10s\n", "", "items", "buyers");
    std::printf("%-44s %10d %10d\n", "rows", Items, Buyers);
    std::printf("%-44s %10.0f %10.0f\n", "window: file read, checked, grid filled (ms)", items.preview, buyers.preview);
    std::printf("%-44s %10.0f %10.0f\n", "window: Import stored, grid afresh (ms)", items.store, buyers.store);
    std::printf("%-44s %10.0f %10.0f\n", "rows checked, no window (ms)", itemsAlone.check, buyersAlone.check);
    const auto spent = [](const char* what, const Spent& items, const Spent& buyers) {
        std::printf("%-44s %10.0f %10.0f\n", what, items.wall, buyers.wall);
        std::printf("%-44s %10.0f %10.0f\n", "  of processor time (ms)", items.cpu, buyers.cpu);
    };
    const auto factor = [](const char* what, const StoreTimes& items, const StoreTimes& buyers, const Spent& bareItems,
                           const Spent& bareBuyers) {
        std::printf("%-44s %10.2f %10.2f\n", what, items.store.wall / bareItems.wall, buyers.store.wall / bareBuyers.wall);
        std::printf("%-44s %10.2f %10.2f\n", "    of processor time", items.store.cpu / bareItems.cpu,
                    buyers.store.cpu / bareBuyers.cpu);
    };
    spent("rows stored, no window (ms)", itemsAlone.store, buyersAlone.store);
    spent("bare inserts (ms)", bareItems, bareBuyers);
    factor("  factor stored / bare (target 3)", itemsAlone, buyersAlone, bareItems, bareBuyers);
    spent("bare inserts with the trail's rows (ms)", bareItemsTrail, bareBuyersTrail);
    factor("  factor stored / bare with trail (target 3)", itemsAlone, buyersAlone, bareItemsTrail, bareBuyersTrail);
    const double whole = items.preview + items.store + buyers.preview + buyers.store;
    std::printf("the whole import, both files: %.0f ms (target under 10000)\n", whole);
    std::printf("grid of a %d-row file, read, checked and filled in steps: %.0f ms\n", LargeFile, large);
    return 0;
}
