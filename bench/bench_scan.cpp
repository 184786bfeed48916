// How long a barcode scan takes to become its line on the tax-invoice form
// (the scanner's keys and Enter, to the line shown with its amount), on a
// shop of 100,000 stock items each with an EAN-13 code, next to the bare
// SQLite lookup of the item of the code, with its name, HSN, rate, unit and
// quantity; and next to that lookup as a line truly needs it, with the
// item's GST rate (the line's tax) and reorder level (its warning) as well.
// And next to the least any form can do to show the line: its seven boxes
// shown with their texts.
// The first scan after New Invoice is shown apart: it makes the form's index
// of the goods list once.
#include "data/database.h"
#include "invoice/frmtaxinvoice.h"
#include "timing.h"
#include "ui/message.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using namespace zelva;
using namespace bench;

namespace {

constexpr int Items = 100000;
constexpr int DefaultRounds = 9; // BENCH_ROUNDS sets another number, e.g. for a profile
constexpr int LinesPerInvoice = 7;

// Twelve digits and the EAN-13 check digit.
QString ean13(qint64 body)
{
    const QString digits = QStringLiteral("%1").arg(body, 12, 10, QChar('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += digits[i].digitValue() * (i % 2 == 0 ? 1 : 3);
    return digits + QString::number((10 - sum % 10) % 10);
}

QString codeOfItem(int item) { return ean13(890123400000LL + item); }

void seed(Database& db)
{
    Transaction t(db, "seed");
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES ('Zelva "
           "Traders', '12 Beach Road', 'Ernakulam', 'Kerala', '682001', '32AAAAA0000A1Z5', 1, 'C00001')",
           {}, "seed", DbFile::Master);
    db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin) VALUES (1, "
           "'C00001', 'Walk-in', 'N.A.', 'N.A.', 'Kerala', 'N.A.', 'N.A.')",
           {}, "seed", DbFile::Customer);
    QSqlQuery item(db.connection());
    item.prepare("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
                 "VALUES (?, ?, ?, '8471', 10, 'Nos.', 1000, 'N.A.')");
    QSqlQuery code(db.connection());
    code.prepare("INSERT INTO ItemStock.StockBarcode (sno, itemcode, Barcode) VALUES (?, ?, ?)");
    for (int i = 1; i <= Items; ++i) {
        const QString itemCode = QString("G%1").arg(i, 6, 10, QChar('0'));
        item.addBindValue(i);
        item.addBindValue(itemCode);
        item.addBindValue(QString("Item %1").arg(i));
        item.exec();
        code.addBindValue(i);
        code.addBindValue(itemCode);
        code.addBindValue(codeOfItem(i));
        code.exec();
    }
    t.commit();
}

// The scanner: the code's keys and Enter, as fast as events go.
void scan(QWidget* box, const QString& code)
{
    for (const QChar c : code) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(box, &enter);
}

double timedLookup(Database& db, const char* sql, const QString& code)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery q(db.connection());
    q.prepare(sql);
    q.addBindValue(code);
    q.exec();
    q.next();
    return MsSince(timer);
}

double bareLookup(Database& db, const QString& code)
{
    return timedLookup(db,
                       "SELECT s.ItemName, s.ItemHsn, s.Rate, s.Per, s.Quantity FROM ItemStock.StockBarcode AS b JOIN "
                       "ItemStock.Stock AS s ON s.itemcode = b.itemcode WHERE b.Barcode = ?",
                       code);
}

double bareLineLookup(Database& db, const QString& code)
{
    return timedLookup(db,
                       "SELECT s.itemcode, s.ItemName, s.ItemHsn, s.Rate, s.Per, s.Quantity, g.GstRate, r.ReorderLevel "
                       "FROM ItemStock.StockBarcode AS b JOIN ItemStock.Stock AS s ON s.itemcode = b.itemcode "
                       "LEFT JOIN ItemStock.StockGstRate AS g ON g.itemcode = s.itemcode "
                       "LEFT JOIN ItemStock.StockReorderLevel AS r ON r.itemcode = s.itemcode WHERE b.Barcode = ?",
                       code);
}

// The least a form can do to show a scanned line: seven plain boxes of a
// hidden row shown and given their texts (no fitting, no totals).
std::vector<double> bareLineCells(int lines)
{
    QWidget page;
    page.resize(900, 40 * lines + 40);
    std::vector<std::vector<QLineEdit*>> rows{size_t(lines)};
    for (int row = 0; row < lines; ++row)
        for (int column = 0; column < 7; ++column) {
            auto* box = new QLineEdit(&page);
            box->setGeometry(10 + column * 120, 10 + row * 40, 110, 30);
            box->hide();
            rows[size_t(row)].push_back(box);
        }
    page.show();
    std::vector<double> times;
    for (int row = 0; row < lines; ++row) {
        const QStringList texts{QString::number(row + 1), QStringLiteral("Item %1").arg(row * 1531), "8471",
                                "1", "10.00", "Nos.", "10.00"};
        QElapsedTimer timer;
        timer.start();
        for (int column = 0; column < 7; ++column) {
            rows[size_t(row)][size_t(column)]->setVisible(true);
            rows[size_t(row)][size_t(column)]->setText(texts[column]);
        }
        times.push_back(MsSince(timer));
    }
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    OffscreenUnlessNamed();
    QApplication app(argc, argv);
    int told = 0;
    SetMessageHook([&told](const QString& text, const QString&) {
        ++told;
        if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    SetQuestionHook([](const QString&, const QString&) { return true; });

    QTemporaryDir dir;
    auto db = Database::open(dir.path());
    seed(*db);
    frmTaxInvoice form(*db);
    form.show();

    const int Rounds = qEnvironmentVariableIntValue("BENCH_ROUNDS") > 0 ? qEnvironmentVariableIntValue("BENCH_ROUNDS") : DefaultRounds;
    std::vector<double> firsts, scans, bares, lineBares;
    int lines = 0;
    for (int round = 0; round < Rounds; ++round) {
        form.cmdNewInvoice->click();
        form.cboBuyerName->setCurrentIndex(0);
        form.cboBuyerName_Click(0);
        QCoreApplication::processEvents(); // the form idles a moment before the first scan, as at a counter
        for (int line = 0; line < LinesPerInvoice; ++line) {
            const QString code = codeOfItem(1 + (round * LinesPerInvoice + line) * 1531 % Items);
            QElapsedTimer timer;
            timer.start();
            scan(form.cboDescriptionOfGoods, code);
            (line == 0 ? firsts : scans).push_back(MsSince(timer));
            bares.push_back(bareLookup(*db, code));
            lineBares.push_back(bareLineLookup(*db, code));
        }
        lines += int(form.shownInvoice().lines.size());
        form.cboGoodsCgst->setCurrentIndex(3);
        form.cboGoodsCgst_Click(3);
        form.cmdSave->click();
    }
    if (lines != Rounds * LinesPerInvoice || told != Rounds) // each round's one message: Saved Successfully
        std::fprintf(stderr, "scans went wrong: %d lines, %d messages\n", lines, told);

    std::printf("Barcode scan to its line, %d items with barcodes; median of %d scans, milliseconds\n", Items,
                int(scans.size()));
    std::printf("%-44s %10.3f\n", "first scan after New Invoice (form)", Median(firsts));
    std::printf("%-44s %10.3f\n", "scan to its line (form)", Median(scans));
    std::printf("%-44s %10.3f\n", "  bare: item of the code, one query", Median(bares));
    std::printf("%-44s %10.2f\n", "  factor", Median(scans) / Median(bares));
    std::printf("%-44s %10.3f\n", "  bare: with its GST rate and reorder level", Median(lineBares));
    std::printf("%-44s %10.2f\n", "  factor", Median(scans) / Median(lineBares));
    const double cells = Median(bareLineCells(40));
    std::printf("%-44s %10.3f\n", "  bare: seven plain boxes of a line shown", cells);
    std::printf("%-44s %10.2f\n", "  of the bare lookup", cells / Median(bares));
    return 0;
}
