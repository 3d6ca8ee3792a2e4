#include "pickliststore.h"

#include "db.h"
#include "sqldialect.h"

#include <QSqlQuery>

PickListStore::PickListStore(QSqlDatabase db)
    : m_db(std::move(db))
{ }

QStringList PickListStore::column(const QString &sql, const QVariantList &values) const
{
    QStringList result;
    QSqlQuery query = Db::exec(m_db, sql, values);
    while (query.next())
        result << Db::text(query.value(0));
    return result;
}

QStringList PickListStore::townships() const
{
    return column(QStringLiteral("select distinct 乡镇 from 乡镇 order by 乡镇"));
}

QStringList PickListStore::villages(const QString &township) const
{
    return column(QStringLiteral("select distinct 村庄 from 乡镇 where 乡镇 = ? order by 村庄"),
                  {township});
}

QStringList PickListStore::repairItems() const
{
    return column(QStringLiteral("select 维修项目 from 维修项目 order by ")
                  + SqlDialect::of(m_db).rowIdColumn());
}
