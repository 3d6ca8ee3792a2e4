#include "schemaupgrade.h"

#include "db.h"
#include "sqldialect.h"
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

// The distinct two-character pieces of a text, folded to lower case as like folds them.
// json_each walks an array of length(text) - 1 zeros made from a zero blob: a trigger body
// cannot use a recursive common table expression.
QString piecesOf(const QString &text)
{
    return QStringLiteral("select distinct lower(substr(%1, key + 1, 2)) as 片 from json_each('[' "
                          "|| rtrim(replace(hex(zeroblob(length(%1) - 1)), '00', '0,'), ',') || "
                          "']')")
            .arg(text);
}

QStringList nameIndexStatements()
{
    const QString table = nameIndexTable();
    const QString add = QStringLiteral("insert or ignore into %1 (片, 客户编号) select 片, "
                                       "new.客户编号 from (%2); ")
                                .arg(table, piecesOf(QStringLiteral("new.客户名称")));
    const QString drop = QStringLiteral("delete from %1 where 客户编号 = old.客户编号 and 片 in "
                                        "(%2); ")
                                 .arg(table, piecesOf(QStringLiteral("old.客户名称")));
    return {
            QStringLiteral("create table %1 (片 TEXT NOT NULL, 客户编号 INTEGER NOT NULL, "
                           "PRIMARY KEY (片, 客户编号)) WITHOUT ROWID")
                    .arg(table),
            QStringLiteral("create trigger %1_新增 after insert on 客户信息 begin %2end")
                    .arg(table, add),
            QStringLiteral("create trigger %1_删除 after delete on 客户信息 begin %2end")
                    .arg(table, drop),
            QStringLiteral("create trigger %1_修改 after update of 客户编号, 客户名称 on 客户信息 "
                           "begin %2%3end")
                    .arg(table, drop, add),
            // Rows written before the index existed.
            QStringLiteral(
                    "insert or ignore into %1 (片, 客户编号) select lower(substr(c.客户名称, "
                    "p.key + 1, 2)), c.客户编号 from 客户信息 c, json_each('[' || rtrim("
                    "replace(hex(zeroblob(length(c.客户名称) - 1)), '00', '0,'), ',') || "
                    "']') p")
                    .arg(table),
    };
}

// Indexes the grids' orders need; also in schema.sql for new files.
const QStringList AddedIndexes {
        QStringLiteral("create index if not exists dinggou_客户名称 on dinggou (客户名称)"),
        QStringLiteral("create index if not exists 维修记录_客户名称 on 维修记录 (客户名称)"),
        QStringLiteral("create index if not exists 帐款明细_付款情况_客户名称_有金额 on 帐款明细 "
                       "(付款情况, 客户名称) where 应付金额 <> 0"),
        QStringLiteral("create index if not exists 帐款明细_付款情况_应付金额 on 帐款明细 "
                       "(付款情况, 应付金额) where 应付金额 <> 0"),
        QStringLiteral("create index if not exists dinggou_日期_地址 on dinggou (日期, 地址)"),
        QStringLiteral("create index if not exists 维修记录_日期_地址 on 维修记录 (日期, 地址)"),
        QStringLiteral("create index if not exists 帐款明细_日期_地址 on 帐款明细 (日期, 地址)"),
};

// Indexes an added one above makes redundant (it starts with the same columns).
const QStringList RetiredIndexes {
        QStringLiteral("dinggou_日期"),
        QStringLiteral("维修记录_日期"),
        QStringLiteral("帐款明细_日期"),
        QStringLiteral("帐款明细_付款情况_客户名称"),
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

bool hasNameIndex(const QSqlDatabase &db)
{
    return exists(db, QStringLiteral("table"), nameIndexTable());
}

namespace {

// An index table with its three triggers, made again from scratch when any part is missing
// (a trigger dropped by hand leaves the table out of step).
struct TriggeredIndex
{
    QString table;
    QStringList statements;
};

bool complete(const QSqlDatabase &db, const TriggeredIndex &index)
{
    if (!exists(db, QStringLiteral("table"), index.table))
        return false;
    for (const char16_t *suffix : {u"_新增", u"_删除", u"_修改"}) {
        if (!exists(db, QStringLiteral("trigger"), index.table + QString::fromUtf16(suffix)))
            return false;
    }
    return true;
}

void rebuild(const QSqlDatabase &db, const TriggeredIndex &index)
{
    for (const char16_t *suffix : {u"_新增", u"_删除", u"_修改"})
        Db::exec(db,
                 QStringLiteral("drop trigger if exists ") + index.table
                         + QString::fromUtf16(suffix));
    Db::exec(db, QStringLiteral("drop table if exists ") + index.table);
    for (const QString &sql : index.statements)
        Db::exec(db, sql);
}

} // namespace

void apply(const QSqlDatabase &db)
{
    const QList<TriggeredIndex> indexes {{customerIndexTable(), customerIndexStatements()},
                                         {nameIndexTable(), nameIndexStatements()}};
    QList<TriggeredIndex> incomplete;
    for (const TriggeredIndex &index : indexes) {
        if (!complete(db, index))
            incomplete << index;
    }
    QStringList missingIndexes;
    for (const QString &sql : AddedIndexes) {
        const QString name = sql.section(u' ', 5, 5);
        if (!exists(db, QStringLiteral("index"), name))
            missingIndexes << sql;
    }
    QStringList retired;
    for (const QString &name : RetiredIndexes) {
        if (exists(db, QStringLiteral("index"), name))
            retired << name;
    }
    if (incomplete.isEmpty() && missingIndexes.isEmpty() && retired.isEmpty())
        return;

    TransactionScope scope(db);
    for (const TriggeredIndex &index : std::as_const(incomplete))
        rebuild(db, index);
    for (const QString &sql : std::as_const(missingIndexes))
        Db::exec(db, sql);
    for (const QString &name : std::as_const(retired))
        Db::exec(db, QStringLiteral("drop index if exists ") + SqlDialect::quote(name));
    scope.commit();
}

} // namespace SchemaUpgrade
