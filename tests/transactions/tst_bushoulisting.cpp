// Settling a whole listing of unpaid rows but a few, read in chunks inside one transaction.
#include "data/db.h"
#include "data/ledgerstore.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "support/testfolder.h"

#include <QTest>

namespace {
const QDate Day(2025, 1, 2);

QSqlDatabase db()
{
    return DM1()->ADOConnection1();
}

QString key(int i)
{
    return QStringLiteral("订购%1").arg(i, 5, 10, QLatin1Char('0'));
}

// Amount of row i: i yuan and i/10000, or with `amounts` only that many different amounts.
Money amountOf(int i, int amounts)
{
    return Money::fromUnits(qint64(amounts ? i % amounts + 1 : i) * 10001);
}

// Unpaid rows 1..n of customer 3 (and one of customer 4), amounts as amountOf() gives them.
void addDebts(int n, int amounts = 0)
{
    TransactionScope scope(db());
    LedgerStore ledger(db());
    for (int i = 1; i <= n; ++i) {
        LedgerRow row;
        row.key = key(i);
        row.customer = {3, "王'五", "东村", "0731", "139", {}, {}};
        row.serial = QStringLiteral("S%1").arg(i);
        row.amountDue = amountOf(i, amounts);
        row.payment = PaymentState::unpaid();
        row.date = Day;
        ledger.insert(row);
    }
    LedgerRow other;
    other.key = QStringLiteral("维修1");
    other.customer = {4, "赵六", {}, {}, {}, {}, {}};
    other.amountDue = Money::fromUnits(70000);
    other.payment = PaymentState::unpaid();
    ledger.insert(other);
    scope.commit();
}

QVariant value(const QString &sql)
{
    return Db::scalar(db(), sql);
}
} // namespace

class TestBushouListing : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> m_folder;

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    // Around the chunk size of the walk: no row is skipped or settled twice.
    void settlesEveryRowButTheExcluded_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("amounts"); // different amounts; 0: all differ
        QTest::addColumn<QList<int>>("excluded");
        QTest::newRow("one row") << 1 << 0 << QList<int>();
        QTest::newRow("one chunk less one") << 499 << 0 << QList<int> {499};
        QTest::newRow("one chunk") << 500 << 0 << QList<int>();
        QTest::newRow("one chunk and one") << 501 << 0 << QList<int> {500, 501};
        QTest::newRow("three chunks") << 1001 << 0 << QList<int> {1, 500, 1000};
        // Long listings go in amount order: equal amounts span the chunk boundaries.
        const int longListing = int(LedgerStore::LongListing) + 1;
        QTest::newRow("long, three amounts") << longListing << 3 << QList<int> {3, 1500, 2001};
        QTest::newRow("long, all differ") << longListing + 499 << 0 << QList<int> {2500};
        QTest::newRow("long, one amount") << longListing + 500 << 1 << QList<int>();
    }
    void settlesEveryRowButTheExcluded()
    {
        QFETCH(int, rows);
        QFETCH(int, amounts);
        QFETCH(QList<int>, excluded);
        addDebts(rows, amounts);
        LedgerStore ledger(db());
        const DebtListing listing = ledger.unpaidListing(LedgerStore::Column::Name, "王'五");
        QSet<QString> keys;
        Money total;
        for (int i = 1; i <= rows; ++i) {
            if (excluded.contains(i))
                keys << key(i);
            else
                total += amountOf(i, amounts);
        }
        ledger.settleListing(listing, keys, rows, total, Day, "0009");

        QCOMPARE(value("select count(*) || '/' || sum(金额) || '/' || count(distinct 主机序列号) "
                       "from 收款记录 where 经手人 = '0009' and 日期 = '2025-01-02' and 客户名称 "
                       "= '王''五'")
                         .toString(),
                 QStringLiteral("%1/%2/%1").arg(rows - excluded.size()).arg(total.units()));
        QStringList unpaid {"维修1"}; // not in the listing
        for (int i : excluded)
            unpaid << key(i);
        QCOMPARE(value("select group_concat(id) from (select id from 帐款明细 where 付款情况 = "
                       "'未付款' order by id)")
                         .toString(),
                 unpaid.join(','));
    }

    // A failure in a late chunk undoes the rows settled in the earlier ones.
    void aFailureLateInTheWalkWritesNothing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("listedTotalLess"); // yuan the caller's total is off by
        QTest::newRow("receipt refused") << "create trigger refuse before insert on 收款记录 "
                                            "when new.主机序列号 = 'S900' begin "
                                            "select raise(abort, '写入被拒绝'); end"
                                         << "0";
        QTest::newRow("total differs") << ""
                                       << "0.0001";
        QTest::newRow("row added")
                << "insert into 帐款明细 (id, 客户名称, 应付金额, 付款情况) values "
                   "('订购99999', '王''五', 1, '未付款')"
                << "0";
    }
    void aFailureLateInTheWalkWritesNothing()
    {
        QFETCH(QString, change);
        QFETCH(QString, listedTotalLess);
        addDebts(1000);
        LedgerStore ledger(db());
        const DebtListing listing = ledger.unpaidListing(LedgerStore::Column::Name, "王'五");
        Money total;
        for (int i = 1; i <= 1000; ++i)
            total += Money::fromUnits(qint64(i) * 10001);
        if (!change.isEmpty())
            Db::exec(db(), change);
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 ledger.settleListing(listing, {}, 1000,
                                                      total - *Money::parse(listedTotalLess), Day,
                                                      "0009"));
        QCOMPARE(value("select count(*) from 收款记录").toInt(), 0);
        QCOMPARE(value("select count(*) from 帐款明细 where 付款情况 = '已付款'").toInt(), 0);
    }
};

QTEST_MAIN(TestBushouListing)
#include "tst_bushoulisting.moc"
