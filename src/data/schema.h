#pragma once

#include <QSqlDatabase>
#include <QStringList>

// The shipped schema (resources/schema.sql) and the initial contents.
namespace Schema {

QStringList statements();

// Creates the eight tables and their indexes in an empty database.
void create(const QSqlDatabase &db); // throws DbError

// Empties every table and writes the initial rows (the six repair items, operator 0001
// "系统管理员" with no password and all seventeen flags). Runs as one transaction.
void writeInitialContents(const QSqlDatabase &db); // throws DbError

// The tables and columns of the shipped schema, in schema order.
QList<QPair<QString, QStringList>> expectedTables();

// What the database lacks of the shipped schema ("table" or "table.column"); empty when complete.
QStringList missingParts(const QSqlDatabase &db);

// Creates a new database file with the schema and the initial contents; refuses an existing file.
// Returns an empty text on success, else the reason.
QString createDatabaseFile(const QString &path);

} // namespace Schema
