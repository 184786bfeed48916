#include "support/testdata.h"

#include "support/testserver.h"

#include <QDir>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace testing {

namespace {

// The server database that stands in for each data folder of a run on the server store.
QHash<QString, QString>& serverOfFolder()
{
    static QHash<QString, QString> servers;
    return servers;
}

std::unique_ptr<zelva::Database> openStore(const QString& folder)
{
    if (!onTestServer())
        return zelva::Database::open(folder, 200);
    zelva::OpenOptions options;
    options.busyTimeoutMs = 200;
    const QString url = TestServer::instance().freshDatabase();
    serverOfFolder().insert(folder, url);
    return zelva::Database::openServer(url, folder, options);
}

// A connection of the test's own to the server, with the program's search
// path; kept for the next reads of the same database.
QList<QVariantList> rowsOnServer(const QString& url, const QString& sql, const QVariantList& values)
{
    static std::unique_ptr<zelva::Database> reader;
    QList<QVariantList> rows;
    try {
        if (!reader || reader->serverUrl() != url) {
            reader.reset();
            reader = zelva::Database::openServer(url, QDir::tempPath());
        }
        QSqlQuery query = reader->run(sql, values, QStringLiteral("read for the test"), zelva::DbFile::Zlv);
        // The files keep rowid out of SELECT *; the server's tables show it.
        const bool hideRowid = sql.contains(QLatin1String("SELECT *"), Qt::CaseInsensitive);
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                if (!hideRowid || query.record().fieldName(i) != QLatin1String("rowid"))
                    row << query.value(i);
            rows << row;
        }
    } catch (const zelva::DataError&) {
    }
    return rows;
}

} // namespace

TempData::TempData()
    : db(openStore(dir.path()))
{
}

std::unique_ptr<zelva::Database> TempData::openAnother() const
{
    if (!onTestServer())
        return zelva::Database::open(folder(), 200);
    zelva::OpenOptions options;
    options.busyTimeoutMs = 200;
    return zelva::Database::openServer(serverOfFolder().value(folder()), folder(), options);
}

// Opens the file through a connection of its own (another program's, as it
// were), runs the work on it, and closes it again.
namespace {

template <typename Work>
void onOwnConnection(const QString& dataFolder, zelva::DbFile file, bool readOnly, Work&& work)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dataFolder + QLatin1Char('/') + zelva::RelativePath(file));
        if (readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        work(db.open() ? &db : nullptr);
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QList<QVariantList> rowsInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql, const QVariantList& values)
{
    if (serverOfFolder().contains(dataFolder))
        return rowsOnServer(serverOfFolder().value(dataFolder), sql, values);
    QList<QVariantList> rows;
    onOwnConnection(dataFolder, file, true, [&](QSqlDatabase* db) {
        if (!db)
            return;
        QSqlQuery query(*db);
        query.prepare(sql);
        for (const QVariant& v : values)
            query.addBindValue(v);
        for (bool ok = query.exec(); ok && query.next();) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            rows << row;
        }
    });
    return rows;
}

bool changeFileElsewhere(const QString& dataFolder, zelva::DbFile file, const QString& sql)
{
    if (serverOfFolder().contains(dataFolder)) {
        try {
            zelva::Database::openServer(serverOfFolder().value(dataFolder), QDir::tempPath())->run(sql, {}, "change", file);
            return true;
        } catch (const zelva::DataError&) {
            return false;
        }
    }
    bool done = false;
    onOwnConnection(dataFolder, file, false, [&](QSqlDatabase* db) { done = db && QSqlQuery(*db).exec(sql); });
    return done;
}

QStringList whileLocked(const QString& dataFolder, zelva::DbFile file, const std::function<QStringList()>& work)
{
    QStringList result{QStringLiteral("cannot lock")};
    onOwnConnection(dataFolder, file, false, [&](QSqlDatabase* db) {
        if (!db)
            return;
        QSqlQuery lock(*db);
        lock.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        result = work();
        lock.exec(QStringLiteral("ROLLBACK"));
    });
    return result;
}

QVariant valueInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql, const QVariantList& values)
{
    const auto rows = rowsInFile(dataFolder, file, sql, values);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

} // namespace testing
