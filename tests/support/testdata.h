#pragma once
// The data a test works on: a fresh data folder (or server database) opened as
// the program opens it, and what is really stored there read through a
// connection of the test's own. Needs no window.
#include "data/database.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <functional>
#include <memory>

namespace testing {

// A fresh data folder with the database files opened in it.
struct TempData {
    TempData();
    QTemporaryDir dir;
    std::unique_ptr<zelva::Database> db;
    QString folder() const { return dir.path(); }
    // A second copy of the program on the same data (the same folder, or the
    // same server database), as another counter would open it.
    std::unique_ptr<zelva::Database> openAnother() const;
};

// Rows read through a separate connection straight from one file, so a test
// sees what is really stored there.
QList<QVariantList> rowsInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql,
                               const QVariantList& values = {});
// Another program's moves on one file: a statement run through a connection
// of its own, and work done while it holds the file locked.
bool changeFileElsewhere(const QString& dataFolder, zelva::DbFile file, const QString& sql);
QStringList whileLocked(const QString& dataFolder, zelva::DbFile file, const std::function<QStringList()>& work);

QVariant valueInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql, const QVariantList& values = {});

} // namespace testing
