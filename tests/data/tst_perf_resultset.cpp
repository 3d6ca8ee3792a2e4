#include "data/db.h"
#include "data/resultset.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QTest>

// Counts and sums are computed without the statement's own order (it cannot change them and
// makes the engine slow); these statements must count and sum exactly as written.
class TestPerfResultSet : public QObject
{
    Q_OBJECT
private slots:
    void countsAndSumsIgnoreOnlyAHarmlessOrder_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("rows");
        QTest::addColumn<qint64>("sum");
        // Receipts 1..10 of i yuan; customer 3 is named 'order by x'.
        QTest::newRow("final order") << "select * from 收款记录 order by 金额 desc"
                                     << QVariantList {} << 10 << qint64(550000);
        QTest::newRow("order with a limit keeps the rows it picks")
                << "select * from 收款记录 order by 金额 desc limit 3" << QVariantList {} << 3
                << qint64(270000);
        QTest::newRow("order with limit and offset")
                << "select * from 收款记录 order by 金额\n limit 2 offset 8" << QVariantList {} << 2
                << qint64(190000);
        QTest::newRow("order inside a sub-select with a limit")
                << "select * from (select * from 收款记录 order by 金额 limit 4) as t order by "
                   "客户编号 desc"
                << QVariantList {} << 4 << qint64(100000);
        QTest::newRow("order by in a quoted text")
                << "select * from 收款记录 where 客户名称 <> 'x) order by 1 limit 1' order by 日期"
                << QVariantList {} << 10 << qint64(550000);
        QTest::newRow("bound values before the order")
                << "select * from 收款记录 where 金额 > ? and 客户名称 <> ? order by 客户名称;"
                << QVariantList {20000, QStringLiteral("order by x")} << 7 << qint64(490000);
        QTest::newRow("bound value in the order")
                << "select * from 收款记录 where 金额 > ? order by 金额 * ? limit 2"
                << QVariantList {0, -1} << 2 << qint64(190000);
    }
    void countsAndSumsIgnoreOnlyAHarmlessOrder()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        QFETCH(int, rows);
        QFETCH(qint64, sum);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        for (int i = 1; i <= 10; ++i)
            Db::exec(db,
                     "insert into 收款记录 (客户编号, 客户名称, 金额, 日期) values (?, ?, ?, ?)",
                     {i, i == 3 ? QStringLiteral("order by x") : QStringLiteral("客户%1").arg(i),
                      i * 10000, QStringLiteral("2024-01-%1").arg(i, 2, 10, QLatin1Char('0'))});
        ResultSet rs("test", db);
        rs.open(sql, values);
        QCOMPARE(rs.rowCount(), rows);
        const ResultSet::Totals totals = rs.totals({"金额"});
        QCOMPARE(totals.rows, rows);
        QCOMPARE(totals.sums.value(0), sum);
        QCOMPARE(rs.totals({}).rows, rows);
        qint64 walked = 0;
        rs.forEachRow([&](int, const QVariantList &row) {
            walked += row.at(rs.fieldIndex("金额")).toLongLong();
            return true;
        });
        QCOMPARE(walked, sum);
    }
};

QTEST_GUILESS_MAIN(TestPerfResultSet)
#include "tst_perf_resultset.moc"
