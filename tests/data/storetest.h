#pragma once
// Shared by the data-store tests: write a file as another program would, add
// records in one call, and catch the error a piece of work ends in.
#include "data/recordsource.h"
#include "support/testdata.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QtTest>
#include <utility>

namespace testing {

// A connection of its own to one file (no busy wait), as another program has.
class RawFile {
public:
    RawFile(const QString& folder, zelva::DbFile file)
        : m_name(QUuid::createUuid().toString())
    {
        const QString path = folder + QLatin1Char('/') + zelva::RelativePath(file);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        db.open();
    }
    ~RawFile()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Runs each statement; the reason of the first failure, "" when all ran.
    QString exec(const QStringList& statements)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        for (const QString& sql : statements)
            if (!query.exec(sql))
                return sql + QStringLiteral(": ") + query.lastError().text();
        return {};
    }

private:
    QString m_name;
};

// The statements are the test's own: a failure is the test's fault.
inline void writeFile(const QString& folder, zelva::DbFile file, const QStringList& statements)
{
    RawFile raw(folder, file);
    const QString failure = raw.exec(statements);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

using Fields = std::initializer_list<std::pair<const char*, QVariant>>;

// Adds one record through the source (addNew, the values, update).
inline void addRecord(zelva::RecordSource& rs, Fields fields)
{
    rs.addNew();
    for (const auto& [name, value] : fields)
        rs.setValue(QString::fromLatin1(name), value);
    rs.update();
}

// The message of the DataError the work ends in; "no error" when it succeeds.
template <typename Work>
QString errorOf(Work&& work)
{
    try {
        work();
    } catch (const zelva::DataError& error) {
        return error.message();
    }
    return QStringLiteral("no error");
}

// Opens a folder the test has partly written (a folder in use with files
// missing), agreeing to create the rest.
inline std::unique_ptr<zelva::Database> openMadeFolder(const QString& folder)
{
    zelva::OpenOptions options;
    options.createMissingInUse = true;
    return zelva::Database::open(folder, options);
}

// A fresh data folder with a record source bound to its stock table.
struct StockData : TempData {
    StockData() { rs.bind(zelva::DbFile::ItemStock, QStringLiteral("Stock")); }
    zelva::RecordSource rs{*db};
};

// The rows a statement gives through the program's own connection.
inline QList<QVariantList> rowsOf(zelva::Database& db, const QString& sql)
{
    QList<QVariantList> rows;
    QSqlQuery query = db.run(sql, {}, QStringLiteral("read"), zelva::DbFile::Invoice);
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << (query.isNull(i) ? QVariant() : query.value(i)); // the stores type their NULLs apart
        rows << row;
    }
    return rows;
}

// Every file below the folder (hidden ones too) and a digest of its bytes.
inline QMap<QString, QByteArray> digestsUnder(const QString& folder)
{
    QMap<QString, QByteArray> digests;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        digests.insert(it.filePath(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return digests;
}

// The eight files copied into another folder, as they stand.
inline void copyDataFiles(const QString& from, const QString& to)
{
    QVERIFY(QDir(to).mkpath("Database"));
    for (zelva::DbFile file : zelva::AllDbFiles())
        QVERIFY(QFile::copy(from + '/' + zelva::RelativePath(file), to + '/' + zelva::RelativePath(file)));
}

inline int countIn(const QString& folder, zelva::DbFile file, const QString& table)
{
    return valueInFile(folder, file, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

} // namespace testing
