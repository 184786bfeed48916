#pragma once
// Writes straight into one database file through a connection of its own, as
// another program (or an older copy of this one) would.
#include "data/schema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QtTest>

namespace testing {

// A separate connection to one file; closed and removed when it goes away.
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
        m_open = db.open();
    }
    ~RawFile()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Runs each statement; false (with the reason in error()) at the first failure.
    bool exec(const QStringList& statements)
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        for (const QString& sql : statements) {
            if (!m_open || !query.exec(sql)) {
                m_error = query.lastError().text();
                return false;
            }
        }
        return true;
    }
    QString error() const { return m_error; }

private:
    QString m_name;
    bool m_open = false;
    QString m_error;
};

// The statements are written by the test itself; a failure is the test's fault.
inline void writeFile(const QString& folder, zelva::DbFile file, const QStringList& statements)
{
    RawFile raw(folder, file);
    if (!raw.exec(statements))
        QFAIL(qPrintable(raw.error()));
}

} // namespace testing
