// The debt list over many lines: read from the top or from the end, a line is always the same
// one, and the listing's order and count come from the index made for it.
#include "data/db.h"
#include "data/ledgerstore.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "support/testfolder.h"
#include "transactions/debtlistmodel.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {
const QString ListIndex = QStringLiteral("帐款明细_付款情况_客户名称_有金额");

QSqlDatabase db()
{
    return DM1()->ADOConnection1();
}

// n unpaid rows whose names repeat out of key order (and one is NULL), so equal names are
// ordered by the row id alone; between them rows the list must leave out: settled ones and
// ones of no amount.
void addDebts(int n)
{
    const QStringList names {"张三", QString(), "李四", "", "张三", "王五", "张三"};
    TransactionScope scope(db());
    LedgerStore ledger(db());
    for (int i = 1; i <= n; ++i) {
        LedgerRow row;
        // Keys descending while row ids ascend: an order by key would show up.
        row.key = QStringLiteral("欠%1").arg(100000 - i);
        row.customer = {i % 40, names.at(i % names.size()), {}, {}, {}, {}, {}};
        row.amountDue = Money::fromUnits(qint64(i) * 10001);
        row.payment = PaymentState::unpaid();
        ledger.insert(row);
        if (i % 5 == 0) {
            row.key = QStringLiteral("付%1").arg(i);
            row.payment = PaymentState::paid();
            ledger.insert(row);
            row.key = QStringLiteral("零%1").arg(i);
            row.payment = PaymentState::unpaid();
            row.amountDue = Money();
            ledger.insert(row);
        }
    }
    scope.commit();
}

QStringList keysOf(const QList<QVariantList> &rows)
{
    QStringList keys;
    for (const QVariantList &row : rows)
        keys << Db::text(row.value(0));
    return keys;
}

// The keys as the plain, unchunked read of the listing orders them.
QStringList expectedKeys()
{
    QStringList keys;
    for (const LedgerRow &row : LedgerStore(db()).allUnpaid())
        keys << row.key;
    return keys;
}

QString plan(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = Db::exec(db, QStringLiteral("explain query plan ") + sql, values);
    QStringList steps;
    while (q.next())
        steps << q.value(3).toString();
    return steps.join(u'\n');
}
} // namespace

class TestDebtListModel : public QObject
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

    // Chunks read from the end (second half of a counted listing) are exactly the lines of
    // the top-down order, at and across chunk boundaries and at a short last chunk.
    void chunksFromTheEndAreTheLinesOfTheTopDownOrder_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("chunk");
        QTest::newRow("empty") << 0 << 4;
        QTest::newRow("one line") << 1 << 4;
        QTest::newRow("lines of one") << 9 << 1;
        QTest::newRow("short last chunk") << 23 << 4;
        QTest::newRow("chunks fill it") << 24 << 4;
        QTest::newRow("list's own chunk") << 700 << 256;
    }
    void chunksFromTheEndAreTheLinesOfTheTopDownOrder()
    {
        QFETCH(int, rows);
        QFETCH(int, chunk);
        addDebts(rows);
        LedgerStore ledger(db());
        const DebtListing listing = ledger.allUnpaidListing();
        const QStringList expected = expectedKeys();
        QCOMPARE(expected.size(), rows);
        QCOMPARE(ledger.count(listing), qint64(rows));
        QCOMPARE(ledger.count(listing, 5), qint64(qMin(rows, 5)));

        QStringList topDown, counted;
        for (int first = 0; first < rows + chunk; first += chunk) {
            topDown << keysOf(ledger.listedRows(listing, first, chunk));
            counted << keysOf(ledger.listedRows(listing, first, chunk, rows));
        }
        QCOMPARE(topDown, expected);
        QCOMPARE(counted, expected);
        // A chunk straddling the middle and one ending past the last line.
        if (rows > 2) {
            QCOMPARE(keysOf(ledger.listedRows(listing, rows / 2 - 1, 3, rows)),
                     expected.mid(rows / 2 - 1, 3));
            QCOMPARE(keysOf(ledger.listedRows(listing, rows - 2, 5, rows)), expected.mid(rows - 2));
        }
        // Every column, not only the key, comes back in list order.
        if (rows > 0)
            QCOMPARE(ledger.listedRows(listing, rows - 1, 1, rows),
                     ledger.listedRows(listing, rows - 1, 1));
    }

    // Asked for more once (as a tree view does while laying itself out) the list only widens
    // its window; asked again it counts itself once and shows every line. The lines near the
    // end are the listing's own, and ticks and totals follow the keys.
    void scrollingPastTheWindowListsEveryLine()
    {
        const int n = 5000;
        addDebts(n);
        DebtListModel model(db());
        model.open(LedgerStore(db()).allUnpaidListing());
        const QStringList expected = expectedKeys();
        int window = model.rowCount();
        for (int step = 0; step < 2; ++step) {
            QVERIFY(window < n);
            QVERIFY(model.canFetchMore({}));
            for (int line : {0, window - 1})
                QCOMPARE(model.index(line, 0).data().toString(), expected.at(line));
            model.fetchMore({});
            QVERIFY(model.rowCount() > window);
            window = model.rowCount();
        }
        QCOMPARE(model.rowCount(), n);
        QVERIFY(!model.canFetchMore({}));

        // Attached only now: the tester fetches more while a reset is still being reported.
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // From the end upwards, as a view dragged to the bottom reads them.
        for (int line = n - 1; line >= 0; --line)
            QCOMPARE(model.index(line, 0).data().toString(), expected.at(line));

        model.tickAll(true);
        model.setTicked(n - 1, false);
        model.setTicked(n / 2, false);
        const std::optional<LedgerRow> last = LedgerStore(db()).find(expected.last());
        const std::optional<LedgerRow> middle = LedgerStore(db()).find(expected.at(n / 2));
        QVERIFY(last && middle);
        QCOMPARE(model.tickedTotal(),
                 LedgerStore(db()).totals(LedgerStore(db()).allUnpaidListing()).sum
                         - last->amountDue - middle->amountDue);
        QVERIFY(model.isTicked(n - 2));
        QVERIFY(!model.isTicked(n - 1));
    }

    // The listing's filter and order are its indexes': counting, totalling, reading and
    // skipping lines never sort or read the table to test an amount.
    void theListingIsServedByItsIndexes()
    {
        addDebts(50);
        const DebtListing listing = LedgerStore(db()).allUnpaidListing();
        const QString order = listing.order;
        const QString reversed
                = QString(order).replace(u',', QStringLiteral(" desc,")) + QStringLiteral(" desc");
        const QString where = QStringLiteral(" from 帐款明细 where ") + listing.filter;
        for (const QString &sql : {QStringLiteral("select count(*)") + where,
                                   QStringLiteral("select count(*), sum(应付金额)") + where}) {
            const QString steps = plan(db(), sql, listing.values);
            QVERIFY2(steps.contains(QStringLiteral("COVERING INDEX")),
                     qPrintable(sql + u'\n' + steps));
        }
        for (const QString &sql :
             {QStringLiteral("select id") + where + QStringLiteral(" order by ") + order,
              QStringLiteral("select id") + where + QStringLiteral(" order by ") + reversed}) {
            const QString steps = plan(db(), sql, listing.values);
            QVERIFY2(steps.contains(ListIndex) && !steps.contains(QStringLiteral("TEMP B-TREE")),
                     qPrintable(sql + u'\n' + steps));
        }
    }

    void olderFileGetsTheListIndexWhenOpened()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.db"));
        QCOMPARE(Schema::createDatabaseFile(file), QString());
        const QString name = QUuid::createUuid().toString();
        {
            // As the previous version left it: one list index, without the amount condition.
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(file);
            QVERIFY(raw.open());
            Db::exec(raw, QStringLiteral("drop index ") + ListIndex);
            Db::exec(raw, QStringLiteral("drop index 帐款明细_付款情况_应付金额"));
            Db::exec(raw,
                     QStringLiteral("create index 帐款明细_付款情况_客户名称 on 帐款明细 "
                                    "(付款情况, 客户名称)"));
            raw.close();
        }
        QSqlDatabase::removeDatabase(name);

        for (int open = 0; open < 2; ++open) { // the second open finds it in place
            TDM1 dm;
            QCOMPARE(dm.open(file), TDM1::OpenResult::Ok);
            const QSqlDatabase db = dm.ADOConnection1();
            QCOMPARE(Db::scalar(db,
                                QStringLiteral("select group_concat(name) from (select name from "
                                               "sqlite_master where name like "
                                               "'帐款明细_付款情况_%' order by name)"))
                             .toString(),
                     ListIndex + QStringLiteral(",帐款明细_付款情况_应付金额"));
            const DebtListing listing = LedgerStore(db).allUnpaidListing();
            QVERIFY(plan(db,
                         QStringLiteral("select id from 帐款明细 where ") + listing.filter
                                 + QStringLiteral(" order by ") + listing.order,
                         listing.values)
                            .contains(ListIndex));
        }
    }
};

QTEST_MAIN(TestDebtListModel)
#include "tst_debtlistmodel.moc"
