#include "db.h"

namespace Db {

QSqlQuery exec(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DbError(query.lastError());
    return query;
}

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery query = exec(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

int execCount(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    return exec(db, sql, values).numRowsAffected();
}

} // namespace Db
