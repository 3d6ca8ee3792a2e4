#include "data/customerstore.h"
#include "data/db.h"
#include "data/schema.h"
#include "data/schemaupgrade.h"
#include "data/sqldialect.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

// The contains-search through the trigram index and the table of two-character name pieces
// must list exactly the rows of a plain scan.
class TestFts : public QObject
{
    Q_OBJECT
private:
    static Customer customer(qint64 number,
                             const QString &name,
                             const QString &address = {},
                             const QString &telephone = {},
                             const QString &mobile = {})
    {
        Customer c;
        c.number = number;
        c.name = name;
        c.address = address;
        c.telephone = telephone;
        c.mobile = mobile;
        return c;
    }

    static QList<qint64> numbers(const QSqlDatabase &db, const QString &sql, const QVariantList &v)
    {
        QList<qint64> result;
        QSqlQuery query = Db::exec(db, sql, v);
        while (query.next())
            result << query.value(0).toLongLong();
        return result;
    }
    static QList<qint64> found(const QSqlDatabase &db, const CustomerSelect &select)
    {
        return numbers(db, select.sql, select.values);
    }
    // What the search listed before the index: a like over the whole table.
    static QList<qint64>
    scanned(const QSqlDatabase &db, CustomerStore::Column column, const QString &text, bool byName)
    {
        return numbers(db,
                       QStringLiteral("select 客户编号 from 客户信息 where %1 like ? escape '\\' "
                                      "order by %2")
                               .arg(CustomerStore::columnName(column),
                                    byName ? QStringLiteral("客户名称, 客户编号")
                                           : QStringLiteral("客户编号")),
                       {SqlDialect::containsPattern(text)});
    }

    static QStringList pieces(const QSqlDatabase &db, const QString &sql)
    {
        QStringList result;
        QSqlQuery query = Db::exec(db, sql);
        while (query.next())
            result << query.value(0).toString();
        result.sort();
        return result;
    }

    static void fill(CustomerStore &store)
    {
        const QList<Customer> rows {
                customer(1, "张三丰", "城关镇东村", "0311-5551234", "13912345678"),
                customer(2, "打折50%商行", "西村", "", "13800001111"),
                customer(3, "a_b电脑", "东村'口", "88-1234", "13912340000"),
                customer(4, "aXb电脑", "东村口", "88-1234"),
                customer(5, "ABC公司", "北山乡", "", "15500001234"),
                customer(6, "abc小店", "北山乡南庄"),
                customer(7, "ÄBC商店", "南山"),
                customer(8, "äbc商店", "南山"),
                customer(9, "说\"好\"的店", "a\\b村"),
                customer(10, "张三", "城关镇东村 3号"),
                customer(11, "哈哈哈"),
                customer(12, "𠀀𠀁店"), // outside the basic plane: two UTF-16 units each
                customer(13, "张"),
        };
        for (const Customer &c : rows)
            store.insert(c);
    }

private slots:
    void searchListsWhatTheScanLists_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byName");
        QTest::addColumn<QList<qint64>>("expected");
        using C = CustomerStore::Column;
        QTest::newRow("three chinese characters")
                << int(C::Name) << "张三丰" << false << QList<qint64> {1};
        QTest::newRow("two characters") << int(C::Name) << "张三" << true << QList<qint64> {10, 1};
        QTest::newRow("two characters at the end")
                << int(C::Name) << "三丰" << false << QList<qint64> {1};
        QTest::newRow("two of a repeated character")
                << int(C::Name) << "哈哈" << false << QList<qint64> {11};
        QTest::newRow("two characters outside the basic plane")
                << int(C::Name) << "𠀀𠀁" << false << QList<qint64> {12};
        QTest::newRow("two ascii letters fold as like does")
                << int(C::Name) << "Ab" << false << QList<qint64> {5, 6};
        QTest::newRow("two other letters keep their case")
                << int(C::Name) << "äb" << false << QList<qint64> {8};
        QTest::newRow("two: percent is literal")
                << int(C::Name) << "0%" << false << QList<qint64> {2};
        QTest::newRow("two: underscore is literal")
                << int(C::Name) << "_b" << false << QList<qint64> {3};
        QTest::newRow("two: double quote") << int(C::Name) << "\"好" << false << QList<qint64> {9};
        QTest::newRow("two: quote") << int(C::Name) << "'a" << false << QList<qint64> {};
        QTest::newRow("two characters of an address")
                << int(C::Address) << "东村" << false << QList<qint64> {1, 3, 4, 10};
        QTest::newRow("one character")
                << int(C::Name) << "张" << false << QList<qint64> {1, 10, 13};
        QTest::newRow("ascii case folds as like does")
                << int(C::Name) << "abc" << false << QList<qint64> {5, 6};
        QTest::newRow("other letters keep their case")
                << int(C::Name) << "äbc" << false << QList<qint64> {8};
        QTest::newRow("percent is literal")
                << int(C::Name) << "50%商" << false << QList<qint64> {2};
        QTest::newRow("underscore is literal")
                << int(C::Name) << "a_b" << false << QList<qint64> {3};
        QTest::newRow("double quotes") << int(C::Name) << "\"好\"" << false << QList<qint64> {9};
        QTest::newRow("backslash") << int(C::Address) << "a\\b" << false << QList<qint64> {9};
        QTest::newRow("quote in address")
                << int(C::Address) << "东村'" << false << QList<qint64> {3};
        QTest::newRow("address with a blank")
                << int(C::Address) << "村 3" << false << QList<qint64> {10};
        QTest::newRow("address in several rows")
                << int(C::Address) << "城关镇东" << false << QList<qint64> {1, 10};
        QTest::newRow("telephone with a dash")
                << int(C::Telephone) << "8-12" << false << QList<qint64> {3, 4};
        QTest::newRow("part of a mobile")
                << int(C::Mobile) << "1234" << false << QList<qint64> {1, 3, 5};
        QTest::newRow("longer than any value")
                << int(C::Name) << QString(300, u'张') << false << QList<qint64> {};
        QTest::newRow("fts syntax is plain text")
                << int(C::Name) << "abc OR 张*" << false << QList<qint64> {};
    }
    void searchListsWhatTheScanLists()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, byName);
        QFETCH(QList<qint64>, expected);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        CustomerStore store(db);
        fill(store);
        const auto c = CustomerStore::Column(column);
        QCOMPARE(scanned(db, c, text, byName), expected);
        QCOMPARE(found(db, CustomerStore::selectContaining(c, text, byName)), expected);
    }

    void longTextsUseTheIndex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("index");
        QTest::newRow("three") << "张三丰"
                               << "VIRTUAL TABLE";
        QTest::newRow("two") << "张三"
                             << "客户信息_二字";
        QTest::newRow("one") << "张"
                             << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void longTextsUseTheIndex()
    {
        QFETCH(QString, text);
        QFETCH(QString, index);
        TestFolder folder;
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        const CustomerSelect select
                = CustomerStore::selectContaining(CustomerStore::Column::Name, text);
        QSqlQuery plan
                = Db::exec(db, QStringLiteral("explain query plan ") + select.sql, select.values);
        QString steps;
        while (plan.next())
            steps += plan.value(3).toString() + u'\n';
        for (const QString &used :
             {QStringLiteral("VIRTUAL TABLE"), QStringLiteral("客户信息_二字")})
            QCOMPARE(steps.contains(used), used == index);
        // The customers are fetched by number from what the index gave, not scanned.
        if (!index.isEmpty())
            QVERIFY2(steps.contains(QStringLiteral("SEARCH 客户信息 USING INTEGER PRIMARY KEY")),
                     qPrintable(steps));
    }

    void indexFollowsEveryWrite()
    {
        TestFolder folder;
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        CustomerStore store(db);
        fill(store);
        const auto byName = [&](const QString &text) {
            return found(db, CustomerStore::selectContaining(CustomerStore::Column::Name, text));
        };
        Customer c = *store.find(1);
        c.name = QStringLiteral("李四光");
        store.update(1, c);
        QCOMPARE(byName("张三丰"), QList<qint64> {});
        QCOMPARE(byName("李四光"), QList<qint64> {1});
        QCOMPARE(byName("三丰"), QList<qint64> {});
        QCOMPARE(byName("四光"), QList<qint64> {1});
        QVERIFY(store.remove(1));
        QCOMPARE(byName("李四光"), QList<qint64> {});
        QCOMPARE(byName("四光"), QList<qint64> {});
        store.insert(customer(21, "李四光学"));
        QCOMPARE(byName("李四光"), QList<qint64> {21});
        QCOMPARE(byName("光学"), QList<qint64> {21});
        // A number changed by plain SQL moves the pieces with it.
        Db::exec(db, QStringLiteral("update 客户信息 set 客户编号 = 22 where 客户编号 = 21"));
        QCOMPARE(byName("光学"), QList<qint64> {22});
        // A mobile changed by plain SQL (e.g. a restore tool) is followed too.
        Db::exec(db,
                 QStringLiteral("update 客户信息 set 手机 = '18600009999' where 客户编号 = 22"));
        QCOMPARE(found(db, CustomerStore::selectContaining(CustomerStore::Column::Mobile, "0009")),
                 QList<qint64> {22});
        // The index's own check: every row agrees with the table.
        Db::exec(db,
                 QStringLiteral("insert into 客户信息_检索 (客户信息_检索) values "
                                "('integrity-check')"));
        // The pieces are exactly those of the names now in the table, none missing or stale.
        QCOMPARE(pieces(db, QStringLiteral("select 片 || 客户编号 from 客户信息_二字")),
                 pieces(db,
                        QStringLiteral("select distinct lower(substr(客户名称, n, 2)) || 客户编号 "
                                       "from 客户信息, (select value as n from json_each("
                                       "'[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20]')) "
                                       "where n < length(客户名称)")));
    }

    void olderFileGetsTheIndexWhenOpened()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.db"));
        QCOMPARE(Schema::createDatabaseFile(file), QString());
        const QString name = QUuid::createUuid().toString();
        {
            // The file as an older version left it: customers, no search indexes, an index
            // of the grids missing.
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            Db::exec(raw, QStringLiteral("drop trigger if exists 客户信息_检索_新增"));
            Db::exec(raw, QStringLiteral("drop table if exists 客户信息_检索"));
            Db::exec(raw, QStringLiteral("drop index dinggou_客户名称"));
            Db::exec(raw, QStringLiteral("drop index dinggou_日期_地址"));
            Db::exec(raw, QStringLiteral("create index dinggou_日期 on dinggou (日期)"));
            for (const char *trigger : {"新增", "删除", "修改"})
                Db::exec(raw, QStringLiteral("drop trigger 客户信息_二字_") + trigger);
            Db::exec(raw, QStringLiteral("drop table 客户信息_二字"));
            QVERIFY(!SchemaUpgrade::hasCustomerIndex(raw));
            QVERIFY(!SchemaUpgrade::hasNameIndex(raw));
            CustomerStore(raw).insert(customer(1, "王五金店", "东关"));
            CustomerStore(raw).insert(customer(2, "五金王", "西关"));
            raw.close();
        }
        QSqlDatabase::removeDatabase(name);

        for (int open = 0; open < 2; ++open) { // the second open finds it all in place
            TDM1 dm;
            QCOMPARE(dm.open(file), TDM1::OpenResult::Ok);
            const QSqlDatabase db = dm.ADOConnection1();
            QVERIFY(SchemaUpgrade::hasCustomerIndex(db));
            QVERIFY(SchemaUpgrade::hasNameIndex(db));
            QCOMPARE(found(db,
                           CustomerStore::selectContaining(CustomerStore::Column::Name, "王五金")),
                     QList<qint64> {1});
            // The date index gave way to the one with the address.
            for (const auto &[index, count] :
                 {std::pair {"dinggou_客户名称", 1}, std::pair {"dinggou_日期_地址", 1},
                  std::pair {"dinggou_日期", 0}})
                QCOMPARE(Db::scalar(db,
                                    QStringLiteral("select count(*) from sqlite_master where "
                                                   "name = ?"),
                                    {QString::fromUtf8(index)})
                                 .toInt(),
                         count);
            // Written after the upgrade: the triggers are in place.
            CustomerStore(db).insert(customer(3 + open, "五金店铺"));
            QCOMPARE(found(db,
                           CustomerStore::selectContaining(CustomerStore::Column::Name, "金店铺"))
                             .size(),
                     open + 1);
            QCOMPARE(
                    found(db, CustomerStore::selectContaining(CustomerStore::Column::Name, "五金")),
                    (open == 0 ? QList<qint64> {1, 2, 3} : QList<qint64> {1, 2, 3, 4}));
        }
    }
};

QTEST_GUILESS_MAIN(TestFts)
#include "tst_fts.moc"
