#include "db.h"

#include <QSqlRecord>

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

QList<QVariantList> readRows(QSqlQuery &query)
{
    QList<QVariantList> rows;
    const int columns = query.record().count();
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const QVariant v = query.value(c);
            row << (v.isNull() ? QVariant() : v);
        }
        rows << row;
    }
    query.finish();
    return rows;
}

} // namespace Db
