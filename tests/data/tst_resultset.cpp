#include "data/db.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

class TestResultSet : public QObject
{
    Q_OBJECT
private:
    // Receipts numbered 1..n, amount i yuan, so any row's content is predictable.
    static void fillReceipts(const QSqlDatabase &db, int n)
    {
        Db::exec(db,
                 "insert into 收款记录 (客户编号, 客户名称, 金额, 日期) "
                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < ?) "
                 "select i, '客户' || i, i * 10000, '2024-01-01' from n",
                 {n});
    }

private slots:
    void modelTesterAcrossOpenSortReopenClose()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        fillReceipts(db, 600);
        ResultSet rs("test", db);
        QAbstractItemModelTester tester(&rs,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        rs.open("select 客户编号, 客户名称, 金额 from 收款记录 order by 客户编号");
        QCOMPARE(rs.rowCount(), 600);
        QCOMPARE(rs.fields(), QStringList({"客户编号", "客户名称", "金额"}));
        QCOMPARE(rs.headerData(1, Qt::Horizontal).toString(), QStringLiteral("客户名称"));
        QCOMPARE(rs.data(rs.index(599, 1)).toString(), QStringLiteral("客户600"));
        rs.setSortColumn("客户编号", Qt::DescendingOrder);
        QCOMPARE(rs.value(0, "客户编号").toInt(), 600);
        rs.reopen(); // keeps the order the user chose
        QCOMPARE(rs.value(0, "客户编号").toInt(), 600);
        rs.close();
        QVERIFY(!rs.isOpen());
        QCOMPARE(rs.rowCount(), 0);
        QCOMPARE(rs.columnCount(), 0);
        QVERIFY(!rs.value(0, 0).isValid());
    }

    // Several keys through the engine: the second breaks the first's ties; unknown and
    // repeated fields are dropped; reopen keeps the keys, a new statement clears them.
    void sortsBySeveralKeys()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        for (const auto &[name, number] : {std::pair {"b", 1}, {"a", 2}, {"b", 3}, {"a", 4}})
            Db::exec(db, "insert into 收款记录 (客户编号, 客户名称, 金额) values (?, ?, 0)",
                     {number, QString(name)});
        ResultSet rs("test", db);
        QAbstractItemModelTester tester(&rs,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QString sql = "select 客户编号, 客户名称 from 收款记录 order by 客户编号";
        rs.open(sql);
        const auto numbers = [&rs] {
            QList<int> all;
            for (int r = 0; r < rs.rowCount(); ++r)
                all << rs.value(r, "客户编号").toInt();
            return all;
        };
        rs.setSortKeys({{"客户名称", Qt::AscendingOrder}, {"客户编号", Qt::DescendingOrder}});
        QCOMPARE(numbers(), QList<int>({4, 2, 3, 1}));
        rs.setSortKeys({{"客户名称", Qt::DescendingOrder}, {"客户编号", Qt::AscendingOrder}});
        QCOMPARE(numbers(), QList<int>({1, 3, 2, 4}));

        rs.setSortKeys({{"no such field", Qt::AscendingOrder},
                        {"客户名称", Qt::AscendingOrder},
                        {"客户名称", Qt::DescendingOrder},
                        {"客户编号", Qt::DescendingOrder}});
        QCOMPARE(rs.sortKeys(),
                 SortKeys({{"客户名称", Qt::AscendingOrder}, {"客户编号", Qt::DescendingOrder}}));
        QCOMPARE(numbers(), QList<int>({4, 2, 3, 1}));

        Db::exec(db, "insert into 收款记录 (客户编号, 客户名称, 金额) values (5, 'a', 0)");
        rs.reopen();
        QCOMPARE(numbers(), QList<int>({5, 4, 2, 3, 1}));
        rs.setSortKeys({});
        QCOMPARE(numbers(), QList<int>({1, 2, 3, 4, 5}));
        rs.setSortColumn("客户名称", Qt::DescendingOrder);
        QCOMPARE(rs.sortKeys().size(), 1);
        rs.open(sql);
        QVERIFY(rs.sortKeys().isEmpty());
        QCOMPARE(numbers(), QList<int>({1, 2, 3, 4, 5}));
    }

    void boundValuesNullsAndEmptyResult()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 收款记录 (客户编号, 客户名称, 金额) values (1, ?, 5)",
                 {"O'Brien; \"x\""});
        ResultSet rs("test", db);
        rs.open("select * from 收款记录 where 客户名称 = ?;  ", {"O'Brien; \"x\""});
        QCOMPARE(rs.rowCount(), 1);
        QVERIFY(!rs.isEmpty());
        QVERIFY(!rs.value(0, "电话").isValid()); // NULL
        QCOMPARE(rs.value(0, "金额").toLongLong(), 5);
        QVERIFY(!rs.value(1, "金额").isValid()); // past the end
        QVERIFY(!rs.value(0, "no such field").isValid());

        rs.open("select * from 收款记录 where 客户编号 = ?", {2});
        QVERIFY(rs.isOpen());
        QVERIFY(rs.isEmpty());
        QCOMPARE(rs.fields().size(), 9); // names are known without rows
        const ResultSet::Totals t = rs.totals({"金额"});
        QCOMPARE(t.rows, 0);
        QCOMPARE(t.sums, QList<qint64>({0}));
    }

    void refusedStatementThrowsAndLeavesItClosed()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        ResultSet rs("test", folder.dm()->ADOConnection1());
        QSignalSpy reloaded(&rs, &ResultSet::reloaded);
        rs.open("select * from 收款记录");
        QVERIFY_THROWS_EXCEPTION(DbError, rs.open("select * from no_such_table"));
        QVERIFY(!rs.isOpen());
        QCOMPARE(rs.rowCount(), 0);
        QCOMPARE(reloaded.count(), 2); // grids must drop the old rows and footers
    }

    // A large result opens by count, reads the chunks asked for, and keeps a bounded cache;
    // totals and the full walk see the whole result, not the cached part.
    void largeResultScrolledToTheEnd()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        const int n = 100000;
        fillReceipts(db, n);
        ResultSet rs("test", db);
        rs.open("select 客户编号, 金额 from 收款记录 where 金额 >= ? order by 客户编号", {0});
        QCOMPARE(rs.rowCount(), n);
        QCOMPARE(rs.cachedChunks(), 0); // opening reads no rows
        QCOMPARE(rs.value(n - 1, 0).toInt(), n);
        for (int row = 0; row < n; row += 97) {
            if (rs.value(row, 0).toInt() != row + 1)
                QFAIL(qPrintable(
                        QString("row %1 holds %2").arg(row).arg(rs.value(row, 0).toInt())));
            QVERIFY(rs.cachedChunks() <= ResultSet::MaxChunks);
        }
        QCOMPARE(rs.value(n - 1, 1).toLongLong(), qint64(n) * 10000);

        const ResultSet::Totals t = rs.totals({"金额", "客户编号"});
        QCOMPARE(t.rows, n);
        QCOMPARE(t.sums.at(0), qint64(n) * (n + 1) / 2 * 10000);
        QCOMPARE(t.sums.at(1), qint64(n) * (n + 1) / 2);

        int visited = 0;
        bool inOrder = true;
        QVERIFY(rs.forEachRow([&](int row, const QVariantList &values) {
            inOrder = inOrder && row == visited && values.at(0).toInt() == row + 1;
            ++visited;
            return true;
        }));
        QCOMPARE(visited, n);
        QVERIFY(inOrder);
        visited = 0;
        QVERIFY(!rs.forEachRow([&](int, const QVariantList &) { return ++visited < 3; }));
        QCOMPARE(visited, 3);
    }

    // No statement stays open between reads: another connection can write at once.
    void readsHoldNoLockBetweenChunks()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        fillReceipts(folder.dm()->ADOConnection1(), 2000);
        ResultSet rs("test", folder.dm()->ADOConnection1());
        rs.open("select * from 收款记录");
        QVERIFY(rs.value(1000, 0).isValid());
        QVERIFY(rs.totals({"金额"}).rows == 2000);
        rs.forEachRow([](int, const QVariantList &) { return true; });

        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", name);
            other.setDatabaseName(folder.databaseFile());
            other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
            QVERIFY(other.open());
            QSqlQuery write(other);
            QVERIFY2(write.exec("delete from 收款记录 where 客户编号 > 1500"),
                     qPrintable(write.lastError().text()));
        }
        QSqlDatabase::removeDatabase(name);
        // The count is a snapshot: rows gone since then read as empty, never as garbage.
        QVERIFY(!rs.value(1999, 0).isValid());
        rs.reopen();
        QCOMPARE(rs.rowCount(), 1500);
    }

    void dataModuleSharesResultSetsAndRebindsThem()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        TDM1 *dm = folder.dm();
        QVERIFY(!dm->ADOQuery(2));
        QVERIFY(!dm->ADOQuery(19));
        QSet<ResultSet *> all;
        for (int n = 3; n <= 18; ++n) {
            QVERIFY(dm->ADOQuery(n));
            QCOMPARE(dm->ADOQuery(n)->name(), QString("ADOQuery%1").arg(n));
            all.insert(dm->ADOQuery(n));
        }
        QCOMPARE(all.size(), 16);
        QCOMPARE(dm->ADOQuery5(), dm->ADOQuery(5));

        dm->ADOQuery5()->open("select * from 维修项目");
        QVERIFY(dm->ADOQuery(5)->isOpen());
        emit dm->reopened(); // a restore: the old rows are stale
        QVERIFY(!dm->ADOQuery5()->isOpen());
        dm->close();
        QCOMPARE(dm->open(folder.databaseFile()), TDM1::OpenResult::Ok);
        Db::exec(dm->ADOConnection1(), "insert into 维修项目 (维修项目) values ('内存')");
        dm->ADOQuery5()->open("select * from 维修项目 where 维修项目 = ?", {"内存"});
        QCOMPARE(dm->ADOQuery5()->rowCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestResultSet)
#include "tst_resultset.moc"
