#include "operatorstore.h"

#include "db.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {
QString selectColumns()
{
    QString sql = QStringLiteral("select 操作员, 姓名, 密码");
    for (int flag = 1; flag <= Operator::FlagCount; ++flag)
        sql += QStringLiteral(", \"%1\"").arg(flag);
    return sql + QStringLiteral(" from 操作员");
}
} // namespace

OperatorStore::OperatorStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

Operator OperatorStore::fromRecord(const QSqlQuery &query)
{
    Operator op;
    op.number = Db::text(query.value(0));
    op.name = Db::text(query.value(1));
    op.passwordHash = Db::text(query.value(2));
    for (int i = 0; i < Operator::FlagCount; ++i)
        op.flags[size_t(i)] = query.value(3 + i).toInt() != 0; // NULL reads as no
    return op;
}

QList<Operator> OperatorStore::all() const
{
    QList<Operator> result;
    QSqlQuery query = Db::exec(m_db, selectColumns());
    while (query.next())
        result.append(fromRecord(query));
    return result;
}

std::optional<Operator> OperatorStore::find(const QString &number) const
{
    QSqlQuery query
            = Db::exec(m_db, selectColumns() + QStringLiteral(" where 操作员 = ?"), {number});
    if (!query.next())
        return std::nullopt;
    return fromRecord(query);
}
