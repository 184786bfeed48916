#pragma once
// The data on a PostgreSQL server: where it is, and the layout it is given
// there (the eight files' tables in schemas of the files' names).
#include "data/schema.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zelva {

// "postgresql://user@host:5432/shop?sslmode=require" taken apart; no host
// means the local socket. A password in the URL is refused: it would stand in
// the settings or the process list, so libpq reads it from ~/.pgpass or
// PGPASSWORD instead.
struct ServerAddress {
    QString host;
    int port = -1;
    QString database;
    QString user;
    QString options; // libpq's key=value pairs, ";"-separated as Qt takes them
};
std::optional<ServerAddress> ParseServerUrl(const QString& url, QString* error);

// The URL as messages and logs show it: a password in it (after the user
// name, or as a password= option) replaced by ****, even in a text that is
// no valid URL at all.
QString ShownServerUrl(const QString& url);

// The settings key under which the operator may keep the server's URL, so that
// no counter needs --server on its command line.
inline constexpr const char* ServerSettingsKey = "Data/Server";

// The statements that make the layout on an empty server database, in order:
// the schemas, the functions the SQL needs, the tables with their placeholder
// records and unique indexes, the views and the day-key indexes.
QStringList ServerSchemasSql();
QString ServerCreateTableSql(const TableDef& table);
QString ServerPlaceholderSql(const TableDef& table);
QStringList ServerIndexSql(const TableDef& table);
// The views of the layout by name, each as one CREATE VIEW statement.
struct ServerView {
    QString schema;
    QString name;
    QString sql;
};
std::vector<ServerView> ServerViews();

// The table that holds the one schema version of the whole server database.
QString ServerVersionTable();

} // namespace zelva
