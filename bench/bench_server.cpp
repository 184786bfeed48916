// New Invoice and Save of a seven-line invoice with 100,000 invoices saved,
// on a throw-away PostgreSQL server (started as the tests start theirs) beside
// the same on the data files; then four counters (processes) saving at once
// on the server, each counter's Save median.
//   bench_server                      the whole benchmark
//   bench_server --counter URL N T    one counter: N invoices, from T (ms since the epoch) on
#include "invoicework.h"
#include "data/database.h"
#include "data/serials.h"
#include "savedsales.h"
#include "sales/invoicestore.h"
#include "support/testserver.h"
#include "ui/message.h"

#include <QApplication>
#include <QDateTime>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <cstdio>

using namespace zelva;

namespace {

constexpr int Buyers = 10000;
constexpr int Items = 10000;
constexpr int Invoices = 100000;
constexpr int Repeats = 11;
constexpr int Counters = 4;
constexpr int CounterSaves = 25;
constexpr int SavePeriodMs = 1500;

// Numbers 1..count as the rows of n; the same text on SQLite and PostgreSQL.
QString numbers(int count)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(count);
}

// The shop in one transaction: buyers and items in bulk by the same SQL on
// either store, the invoices saved as the counter saves them.
void seed(Database& db)
{
    Transaction t(db, QStringLiteral("seed"));
    const QStringList statements{
        QStringLiteral("INSERT INTO \"Master\".\"Company\" (\"Name\", \"address\", \"Dist\", \"State\", \"Pin\", \"Gstin\", "
                       "\"sno\", \"CompanyId\") VALUES ('Bench Traders', 'Road', 'Dist', 'Kerala', '682001', 'GSTIN', "
                       "1, 'C00001')"),
        numbers(Buyers)
            + QStringLiteral("INSERT INTO \"Customer\".\"CustomerDetails\" (\"sno\", \"bid\", \"Name\", \"address\", "
                             "\"Dist\", \"State\", \"Pin\", \"Gstin\") SELECT i, 'C' || (100000 + i), 'Buyer ' || i, "
                             "'Address', 'Dist', CASE WHEN i % 2 = 1 THEN 'Kerala' ELSE 'Delhi' END, '600001', "
                             "'GSTIN' FROM n"),
        numbers(Items)
            + QStringLiteral("INSERT INTO \"ItemStock\".\"Stock\" (\"sno\", \"itemcode\", \"ItemName\", \"ItemHsn\", "
                             "\"Rate\", \"Per\", \"Quantity\", \"Remarks\") SELECT i, 'G' || (100000 + i), "
                             "'Item ' || i, '8471', 10 + i % 100, 'Nos.', 1000000, 'N.A.' FROM n"),
    };
    for (const QString& sql : statements) {
        QSqlQuery query(db.connection());
        if (!query.exec(sql))
            qFatal("seed: %s", qPrintable(query.lastError().text()));
    }
    bench::SaveSales(db, bench::OneLineSale(), Invoices); // the invoices saved before
    t.commit();
    if (db.onServer()) // as the server's autovacuum would soon after such a load
        QSqlQuery(db.connection()).exec(QStringLiteral("ANALYZE"));
}

struct Medians {
    double newInvoice;
    double save;
    int statementsPerSave;
};

Medians measure(Database& db, int repeats)
{
    frmTaxInvoice form(db);
    form.show();
    std::vector<double> news, saves;
    int statements = 0;
    db.setStatementHook([&](const QString&) { ++statements; });
    for (int r = 0; r < repeats; ++r) {
        const bench::InvoiceTimes times = bench::WorkOneInvoice(form, r);
        if (!times.saved)
            qFatal("an invoice was not saved");
        news.push_back(times.newInvoiceMs);
        saves.push_back(times.saveMs);
    }
    db.setStatementHook({});
    return {bench::Median(news), bench::Median(saves), statements / repeats};
}

// One counter of several: fills each invoice in, then presses Save at the
// same moment as the others (one every SavePeriodMs from startAt on), so that
// all of them wait on each other for the server, and no counter's form work
// takes the processor from another's Save (the counters share this computer,
// where in a shop each has its own).
int counter(const QString& url, int saves, qint64 startAt)
{
    QTemporaryDir local;
    OpenOptions options;
    options.busyTimeoutMs = 30000;
    const auto db = Database::openServer(url, local.path(), options);
    frmTaxInvoice form(*db);
    form.show();
    bench::WorkOneInvoice(form, 0); // the lists loaded once, as at a counter already open
    std::vector<double> times;
    for (int r = 1; r <= saves; ++r) {
        const qint64 saveAt = startAt + qint64(r) * SavePeriodMs;
        const bench::InvoiceTimes one = bench::WorkOneInvoice(form, r, [saveAt] {
            while (QDateTime::currentMSecsSinceEpoch() < saveAt)
                QThread::msleep(1);
        });
        if (!one.saved)
            qFatal("an invoice was not saved");
        times.push_back(one.saveMs);
    }
    std::printf("%.1f %.1f\n", bench::Median(times), *std::max_element(times.begin(), times.end()));
    return 0;
}

void fourCounters(const QString& url, const QString& program)
{
    QProcess counters[Counters];
    const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 15000; // after every counter has loaded its lists
    for (QProcess& c : counters)
        c.start(program, {QStringLiteral("--counter"), url, QString::number(CounterSaves), QString::number(startAt)});
    std::printf("\n%d counters saving %d invoices each at once on the server (ms)\n", Counters, CounterSaves);
    std::printf("%-12s %12s %12s\n", "", "Save median", "Save max");
    for (int i = 0; i < Counters; ++i) {
        counters[i].waitForFinished(600000);
        const QStringList said = QString::fromLocal8Bit(counters[i].readAllStandardOutput()).split(QLatin1Char(' '));
        if (counters[i].exitCode() != 0 || said.size() != 2) {
            std::printf("counter %d failed: %s\n", i + 1, qPrintable(counters[i].readAllStandardError()));
            continue;
        }
        std::printf("counter %-4d %12.1f %12.1f\n", i + 1, said[0].toDouble(), said[1].trimmed().toDouble());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageHook([](const QString&, const QString&) {});
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--counter"))
        return counter(args[2], args[3].toInt(), args[4].toLongLong());

    QTemporaryDir folder, local;
    const auto files = Database::open(folder.path());
    seed(*files);
    testing::TestServer::durable = true; // fsync on, as the files have it
    testing::TestServer& pg = testing::TestServer::instance();
    const QString database = QUrl(pg.freshDatabase()).path();
    // Through the local socket: no host in the address, libpq finds it by PGHOST.
    qputenv("PGHOST", pg.socketFolder().toLocal8Bit());
    qputenv("PGPORT", QByteArray::number(pg.port()));
    qputenv("PGUSER", "zelva");
    const QString url = QStringLiteral("postgresql://") + database;
    const auto server = Database::openServer(url, local.path());
    seed(*server);

    std::printf("Tax invoice, seven lines; %d buyers, %d stock items, %d invoices; median of %d runs (ms)\n", Buyers,
                Items, Invoices, Repeats);
    const Medians onFiles = measure(*files, Repeats);
    const Medians onServer = measure(*server, Repeats);
    std::printf("%-14s %10s %10s %8s\n", "", "files", "server", "ratio");
    std::printf("%-14s %10.1f %10.1f %8.2f\n", "New Invoice", onFiles.newInvoice, onServer.newInvoice,
                onServer.newInvoice / onFiles.newInvoice);
    std::printf("%-14s %10.1f %10.1f %8.2f\n", "Save", onFiles.save, onServer.save, onServer.save / onFiles.save);
    std::printf("(statements per invoice through Database::run: %d)\n", onServer.statementsPerSave);
    std::fflush(stdout);
    fourCounters(url, QCoreApplication::applicationFilePath());
    return 0;
}
