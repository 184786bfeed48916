#pragma once
// The eight database files, their tables and fields.
#include <QString>
#include <QStringList>
#include <vector>

namespace zelva {

enum class DbFile { Zlv, Master, Customer, Invoice, ItemStock, OtherItemStock, PurchaseMaster, IssueMaster };

const std::vector<DbFile>& AllDbFiles();
// Path relative to the data folder, "/" separated ("Database/Invoice.db").
QString RelativePath(DbFile file);
// The name the file is attached under on the shared connection.
QString SchemaName(DbFile file);

enum class FieldKind { Text, Number, Serial };

struct FieldDef {
    QString name;
    FieldKind kind;
};

struct TableDef {
    DbFile file;
    QString name;
    std::vector<FieldDef> fields;
    QString serialField; // empty when New never scans the table
    bool placeholder;    // created with a record of serial 0
};

const std::vector<TableDef>& AllTables();
// The table of that name (exact case), nullptr when there is none.
const TableDef* FindTable(const QString& name);

// CREATE statements for the file's tables, views and indexes (IF NOT EXISTS),
// qualified with the file's schema name.
QString CreateTableSql(const TableDef& table);
QStringList CreateViewSql(DbFile file);
// The index on the table's serial ("" when it has none), and all of a file's.
QString CreateIndexSql(const TableDef& table);
QStringList CreateIndexSql(DbFile file);

constexpr int SchemaVersion = 1;

} // namespace zelva
