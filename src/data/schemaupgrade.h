#pragma once

#include <QSqlDatabase>
#include <QString>

// What a database file gets beyond the shipped tables when it is opened: the customer search
// indexes (an SQLite full-text table of trigrams over name, address, telephone and mobile, and
// a table of two-character pieces of names, both kept in step by triggers) and indexes added
// since the file was made. A file made by an older
// version is brought up to date on its first open; the step does nothing on a current file.
namespace SchemaUpgrade {

// The full-text table the contains-search uses for texts of three characters or more.
inline QString customerIndexTable()
{
    return QStringLiteral("客户信息_检索");
}

// The table of two-character pieces of customer names (lower-cased as like folds them) that
// the contains-search uses for names searched by two characters, which have no trigram.
inline QString nameIndexTable()
{
    return QStringLiteral("客户信息_二字");
}

// Throws DbError; everything is written in one transaction or not at all.
void apply(const QSqlDatabase &db);

// True when the customer search index is present on the connection.
bool hasCustomerIndex(const QSqlDatabase &db);
bool hasNameIndex(const QSqlDatabase &db);

} // namespace SchemaUpgrade
