#include "operatorstore.h"

#include "db.h"
#include "passwords.h"
#include "sqldialect.h"
#include "transactionscope.h"

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

// A write aimed at one operator that found none must not pass for a success.
void requireOneRow(int changed)
{
    if (changed != 1)
        throw DbError(QStringLiteral("该操作人员已不存在！"));
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

bool OperatorStore::numberExists(const QString &number) const
{
    // lower() folds A-Z only on SQLite; the number is folded the same way here.
    return Db::scalar(m_db, QStringLiteral("select count(*) from 操作员 where lower(操作员) = ?"),
                      {Passwords::fold(number)})
                   .toInt()
            > 0;
}

void OperatorStore::insert(const Operator &op, const QString &password)
{
    QStringList columns {QStringLiteral("操作员"), QStringLiteral("姓名"), QStringLiteral("密码")};
    QVariantList values {op.number, op.name, Passwords::hash(password)};
    for (int flag = 1; flag <= Operator::FlagCount; ++flag) {
        columns << SqlDialect::quote(QString::number(flag));
        values << (op.flag(flag) ? 1 : 0);
    }
    const QStringList marks(columns.size(), QStringLiteral("?"));
    TransactionScope tx(m_db);
    Db::exec(m_db,
             QStringLiteral("insert into 操作员 (%1) values (%2)")
                     .arg(columns.join(u", "), marks.join(u", ")),
             values);
    tx.commit();
}

void OperatorStore::update(const QString &number,
                           const QString &name,
                           const std::array<bool, Operator::FlagCount> &flags,
                           const std::optional<QString> &newPassword)
{
    QStringList sets {QStringLiteral("姓名 = ?")};
    QVariantList values {name};
    for (int flag = 1; flag <= Operator::FlagCount; ++flag) {
        sets << SqlDialect::quote(QString::number(flag)) + QStringLiteral(" = ?");
        values << (flags[size_t(flag - 1)] ? 1 : 0);
    }
    if (newPassword) {
        sets << QStringLiteral("密码 = ?");
        values << Passwords::hash(*newPassword);
    }
    values << number;
    TransactionScope tx(m_db);
    requireOneRow(Db::execCount(
            m_db, QStringLiteral("update 操作员 set %1 where 操作员 = ?").arg(sets.join(u", ")),
            values));
    tx.commit();
}

void OperatorStore::remove(const QString &number)
{
    TransactionScope tx(m_db);
    requireOneRow(
            Db::execCount(m_db, QStringLiteral("delete from 操作员 where 操作员 = ?"), {number}));
    tx.commit();
}

void OperatorStore::changePassword(const QString &number, const QString &newPassword)
{
    TransactionScope tx(m_db);
    requireOneRow(Db::execCount(m_db, QStringLiteral("update 操作员 set 密码 = ? where 操作员 = ?"),
                                {Passwords::hash(newPassword), number}));
    tx.commit();
}
