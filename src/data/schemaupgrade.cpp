#include "schemaupgrade.h"

#include "db.h"
#include "transactionscope.h"

namespace SchemaUpgrade {

namespace {

// The searched columns, in the order of the full-text table.
const QString Searched = QStringLiteral("客户名称, 地址, 电话, 手机");

QStringList customerIndexStatements()
{
    const QString table = customerIndexTable();
    // External content: the text stays in 客户信息 only; the table holds just the trigrams.
    return {
            QStringLiteral("create virtual table %1 using fts5(%2, content='客户信息', "
                           "content_rowid='客户编号', tokenize='trigram')")
                    .arg(table, Searched),
            QStringLiteral("create trigger %1_新增 after insert on 客户信息 begin "
                           "insert into %1 (rowid, %2) values (new.客户编号, new.客户名称, "
                           "new.地址, new.电话, new.手机); end")
                    .arg(table, Searched),
            QStringLiteral("create trigger %1_删除 after delete on 客户信息 begin "
                           "insert into %1 (%1, rowid, %2) values ('delete', old.客户编号, "
                           "old.客户名称, old.地址, old.电话, old.手机); end")
                    .arg(table, Searched),
            QStringLiteral("create trigger %1_修改 after update on 客户信息 begin "
                           "insert into %1 (%1, rowid, %2) values ('delete', old.客户编号, "
                           "old.客户名称, old.地址, old.电话, old.手机); "
                           "insert into %1 (rowid, %2) values (new.客户编号, new.客户名称, "
                           "new.地址, new.电话, new.手机); end")
                    .arg(table, Searched),
            // Rows written before the index existed.
            QStringLiteral("insert into %1 (%1) values ('rebuild')").arg(table),
    };
}

// Indexes the grids' orders need; also in schema.sql for new files.
const QStringList AddedIndexes {
        QStringLiteral("create index if not exists dinggou_客户名称 on dinggou (客户名称)"),
        QStringLiteral("create index if not exists 维修记录_客户名称 on 维修记录 (客户名称)"),
        QStringLiteral("create index if not exists 帐款明细_付款情况_客户名称 on 帐款明细 "
                       "(付款情况, 客户名称)"),
};

bool exists(const QSqlDatabase &db, const QString &type, const QString &name)
{
    return Db::scalar(db,
                      QStringLiteral("select count(*) from sqlite_master where type = ? and "
                                     "name = ?"),
                      {type, name})
                   .toInt()
            > 0;
}

} // namespace

bool hasCustomerIndex(const QSqlDatabase &db)
{
    return exists(db, QStringLiteral("table"), customerIndexTable());
}

void apply(const QSqlDatabase &db)
{
    const QStringList triggers {customerIndexTable() + QStringLiteral("_新增"),
                                customerIndexTable() + QStringLiteral("_删除"),
                                customerIndexTable() + QStringLiteral("_修改")};
    bool complete = hasCustomerIndex(db);
    for (const QString &trigger : triggers)
        complete = complete && exists(db, QStringLiteral("trigger"), trigger);
    QStringList missingIndexes;
    for (const QString &sql : AddedIndexes) {
        const QString name = sql.section(u' ', 5, 5);
        if (!exists(db, QStringLiteral("index"), name))
            missingIndexes << sql;
    }
    if (complete && missingIndexes.isEmpty())
        return;

    TransactionScope scope(db);
    if (!complete) {
        // A half-made index (a trigger dropped by hand) is made again from scratch.
        for (const QString &trigger : triggers)
            Db::exec(db, QStringLiteral("drop trigger if exists ") + trigger);
        Db::exec(db, QStringLiteral("drop table if exists ") + customerIndexTable());
        for (const QString &sql : customerIndexStatements())
            Db::exec(db, sql);
    }
    for (const QString &sql : std::as_const(missingIndexes))
        Db::exec(db, sql);
    scope.commit();
}

} // namespace SchemaUpgrade
