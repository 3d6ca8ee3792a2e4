#pragma once

#include "dberror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

// Small helpers for running one statement with bound values; every failure throws DbError.
namespace Db {

// Prepares, binds positionally and executes; the query is returned positioned before the first row.
QSqlQuery exec(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// First column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// Runs a statement and fails unless it changed exactly `expected` rows.
int execCount(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// Every remaining row of an executed query, NULL as an invalid QVariant; the query is
// finished before returning (an open statement would hold a read lock).
QList<QVariantList> readRows(QSqlQuery &query);

// Text of a column value, the empty text for NULL.
inline QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace Db
