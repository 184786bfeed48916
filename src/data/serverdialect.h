#pragma once
// The program's SQL, written for the data files, as the database server reads
// it. Names on the server keep their letter case, so every table, view, field
// and schema name the program knows is quoted with its exact spelling (a name
// written in another case, as the files allow, is found all the same), an
// alias after AS keeps its case, and CAST(text AS INTEGER), which on the files
// reads the leading digits of a date text, becomes the server function
// zelva_int that does the same. String literals and quoted names are left as
// they are. Everything else (ROUND, instr on numbers and texts) is served by
// server functions of the same names (ServerFunctionsSql).
#include <QString>
#include <QStringList>

namespace zelva {

QString ServerSql(const QString& sql);

// The functions in schema "main" that give the server what the files' SQL uses.
QStringList ServerFunctionsSql();

} // namespace zelva
