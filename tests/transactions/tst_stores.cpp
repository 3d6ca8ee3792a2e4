// Sales, repairs, ledger and receipts written on a real database file.
#include "data/dates.h"
#include "data/db.h"
#include "data/ledgerstore.h"
#include "data/receiptstore.h"
#include "data/repairstore.h"
#include "data/salesstore.h"
#include "data/tdm1.h"
#include "support/testfolder.h"

#include <QSqlQuery>
#include <QTest>

namespace {
const QDate Day(2024, 3, 5);

Money money(const QString &text)
{
    return *Money::parse(text);
}

CustomerCopy customer(qint64 number = 7)
{
    return {number, "王'小明", "城关镇\"东村", "0731-1", "139", "李四", "TAX9"};
}

Sale sale(const QString &price, const QString &invoiceNumber = {})
{
    Sale s;
    s.customer = customer();
    s.model = "联想 M'1";
    s.serial = "SN-1";
    s.price = money(price);
    s.profit = money("12.5");
    s.serviceStaff = "小张";
    s.invoiceNumber = invoiceNumber;
    s.remark = "第一行\n第二行";
    s.date = Day;
    s.operatorNumber = "0002";
    return s;
}

Repair repair(const QString &fee, const QString &invoiceNumber = {})
{
    Repair r;
    r.customer = customer();
    r.serial = "NEW-1";
    r.items = Repair::itemsText({"主机", "键盘"});
    r.fee = money(fee);
    r.invoiceNumber = invoiceNumber;
    r.remark = "坏了";
    r.date = Day;
    r.operatorNumber = "0003";
    return r;
}

int count(const QSqlDatabase &db, const char *table)
{
    return Db::scalar(db, QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
            .toInt();
}

// Makes every insert into `table` fail, as a database refusing the write would.
void refuseInserts(const QSqlDatabase &db, const char *table)
{
    Db::exec(db,
             QStringLiteral("create trigger refuse before insert on %1 begin "
                            "select raise(abort, '写入被拒绝'); end")
                     .arg(QString::fromUtf8(table)));
}

QStringList receiptsText(const QSqlDatabase &db)
{
    QSqlQuery q = Db::exec(db,
                           "select 客户编号, 客户名称, 地址, 电话, 手机, 主机序列号, 金额, 日期, "
                           "经手人 from 收款记录 order by rowid");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 9; ++i)
            cells << q.value(i).toString();
        rows << cells.join('|');
    }
    return rows;
}
} // namespace

class TestStores : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> m_folder;
    QSqlDatabase db() const { return m_folder->dm()->ADOConnection1(); }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    void recordSaleWritesSaleLedgerAndReceipt_data()
    {
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QString>("invoiceNumber");
        QTest::newRow("paid, invoice") << true << "FP-01";
        QTest::newRow("paid, no invoice") << true << "";
        QTest::newRow("unpaid, invoice") << false << "FP-02";
        QTest::newRow("unpaid, no invoice") << false << "";
    }
    void recordSaleWritesSaleLedgerAndReceipt()
    {
        QFETCH(bool, paid);
        QFETCH(QString, invoiceNumber);
        SalesStore store(db());
        QCOMPARE(store.record(sale("0.1"), true), 1);
        QCOMPARE(store.record(sale("3500.25", invoiceNumber), paid), 2);

        const std::optional<Sale> s = store.find(2);
        QVERIFY(s);
        QCOMPARE(s->customer.name, "王'小明"); // quotes stored as typed
        QCOMPARE(s->customer.address, "城关镇\"东村");
        QCOMPARE(s->customer.contact, "李四");
        QCOMPARE(s->customer.taxNumber, "TAX9");
        QCOMPARE(s->model, "联想 M'1");
        QCOMPARE(s->price.units(), 35002500);
        QCOMPARE(s->profit.units(), 125000);
        QCOMPARE(s->serviceStaff, "小张");
        QCOMPARE(s->invoiceNumber, invoiceNumber);
        QCOMPARE(s->remark, "第一行\n第二行");
        QCOMPARE(s->operatorNumber, "0002");
        QCOMPARE(Db::scalar(db(), "select 日期 from dinggou where id = 2").toString(),
                 "2024-03-05");
        QCOMPARE(Db::scalar(db(), "select 发票 from dinggou where id = 2").toInt(),
                 invoiceNumber.isEmpty() ? 0 : 1);

        const std::optional<LedgerRow> row = LedgerStore(db()).find("订购2");
        QVERIFY(row);
        QCOMPARE(row->customer.number, 7);
        QCOMPARE(row->serial, "SN-1");
        QCOMPARE(row->amountDue.units(), 35002500);
        QCOMPARE(row->payment, paid ? "已付款" : "未付款");
        QCOMPARE(row->invoice, !invoiceNumber.isEmpty());
        QCOMPARE(row->invoiceNumber, invoiceNumber);
        QCOMPARE(row->date, Day);
        QCOMPARE(row->operatorNumber, "0002");

        QStringList expected {"7|王'小明|城关镇\"东村|0731-1|139|SN-1|1000|2024-03-05|0002"};
        if (paid)
            expected << "7|王'小明|城关镇\"东村|0731-1|139|SN-1|35002500|2024-03-05|0002";
        QCOMPARE(receiptsText(db()), expected);
    }

    void nextIdIsLargestPlusOne()
    {
        SalesStore sales(db());
        RepairStore repairs(db());
        QCOMPARE(sales.nextId(), 1);
        QCOMPARE(repairs.nextId(), 1);
        QCOMPARE(sales.record(sale("1"), false), 1);
        QCOMPARE(sales.record(sale("1"), false), 2);
        sales.remove(2);
        QCOMPARE(sales.record(sale("1"), false), 2); // the newest freed id is used again
        Db::exec(db(), "insert into 维修记录 (id) values (41)");
        QCOMPARE(repairs.record(repair("5"), false, false), 42);
        QVERIFY(LedgerStore(db()).find("维修42"));
    }

    void recordRepairWritesReceiptOnlyWhenAsked_data()
    {
        QTest::addColumn<bool>("paid");
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<int>("receipts");
        QTest::newRow("paid") << true << true << "80" << 1;
        QTest::newRow("paid, no receipt for a zero fee") << true << false << "0" << 0;
        QTest::newRow("paid zero written as 0.0") << true << true << "0.0" << 1;
        QTest::newRow("unpaid") << false << true << "80" << 0;
    }
    void recordRepairWritesReceiptOnlyWhenAsked()
    {
        QFETCH(bool, paid);
        QFETCH(bool, receipt);
        QFETCH(QString, fee);
        QFETCH(int, receipts);
        RepairStore store(db());
        QCOMPARE(store.record(repair(fee, "FP"), paid, receipt), 1);

        const std::optional<Repair> r = store.find(1);
        QVERIFY(r);
        QCOMPARE(r->items, "  主机  键盘");
        QCOMPARE(r->serial, "NEW-1");
        QCOMPARE(r->fee, money(fee));
        QCOMPARE(r->operatorNumber, "0003");
        QCOMPARE(Db::scalar(db(), "select 发票 from 维修记录").toInt(), 1);
        const std::optional<LedgerRow> row = LedgerStore(db()).find("维修1");
        QVERIFY(row);
        QCOMPARE(row->payment, paid ? "已付款" : "未付款");
        QCOMPARE(row->amountDue, money(fee));
        QCOMPARE(row->serial, "NEW-1");
        QVERIFY(row->invoice);
        QCOMPARE(count(db(), "收款记录"), receipts);
        if (receipts)
            QCOMPARE(
                    Db::scalar(db(), "select 主机序列号 || '/' || 经手人 from 收款记录").toString(),
                    "NEW-1/0003");
    }

    void failedWriteLeavesNoRow_data()
    {
        QTest::addColumn<bool>("repairs");
        QTest::addColumn<QString>("refused");
        QTest::newRow("sale, ledger refused") << false << "帐款明细";
        QTest::newRow("sale, receipt refused") << false << "收款记录";
        QTest::newRow("repair, ledger refused") << true << "帐款明细";
        QTest::newRow("repair, receipt refused") << true << "收款记录";
    }
    void failedWriteLeavesNoRow()
    {
        QFETCH(bool, repairs);
        QFETCH(QString, refused);
        refuseInserts(db(), refused.toUtf8().constData());
        try {
            if (repairs)
                RepairStore(db()).record(repair("80"), true, true);
            else
                SalesStore(db()).record(sale("80"), true);
            QFAIL("the refused write was not reported");
        } catch (const DbError &e) {
            QVERIFY2(e.text().contains("写入被拒绝"), qPrintable(e.text()));
        }
        for (const char *table : {"dinggou", "维修记录", "帐款明细", "收款记录"})
            QCOMPARE(count(db(), table), 0);
        // The connection is usable again: the next save works.
        Db::exec(db(), "drop trigger refuse");
        QCOMPARE(SalesStore(db()).record(sale("1"), true), 1);
    }

    void unpaidListsOnlyOpenNonZeroDebtsOfTheColumn()
    {
        SalesStore sales(db());
        RepairStore repairs(db());
        Sale other = sale("100");
        other.customer = {8, "阿强", "乡下", "", "138", {}, {}};
        sales.record(sale("100"), false); // 订购1
        sales.record(sale("50"), true); // 订购2, paid
        sales.record(other, false); // 订购3
        repairs.record(repair("0"), false, true); // 维修1, zero: never listed
        repairs.record(repair("30"), false, true); // 维修2

        auto keys = [](const QList<LedgerRow> &rows) {
            QStringList k;
            for (const LedgerRow &r : rows)
                k << r.key;
            return k;
        };
        LedgerStore ledger(db());
        using C = LedgerStore::Column;
        QCOMPARE(keys(ledger.unpaid(C::CustomerNumber, "7")), QStringList({"订购1", "维修2"}));
        QCOMPARE(keys(ledger.unpaid(C::CustomerNumber, "7 or 1=1")), QStringList());
        QCOMPARE(keys(ledger.unpaid(C::Name, "王'小明")), QStringList({"订购1", "维修2"}));
        QCOMPARE(keys(ledger.unpaid(C::Phone, "")), QStringList({"订购3"}));
        QCOMPARE(keys(ledger.unpaid(C::Mobile, "138")), QStringList({"订购3"}));
        QCOMPARE(keys(ledger.unpaid(C::Address, "乡下")), QStringList({"订购3"}));
        QCOMPARE(keys(ledger.unpaid(C::Name, "%")), QStringList());
        // Ordered by name (王 before 阿 in the engine's order), then as written.
        QCOMPARE(keys(ledger.allUnpaid()), QStringList({"订购1", "维修2", "订购3"}));
    }

    void settleMarksPaidAndWritesOneReceiptPerRow()
    {
        SalesStore(db()).record(sale("0.1"), false);
        RepairStore(db()).record(repair("0.2"), false, true);
        LedgerStore ledger(db());
        QList<LedgerRow> rows = ledger.allUnpaid();
        QCOMPARE(rows.size(), 2);
        ledger.settle(rows, QDate(2025, 1, 2), "0009");
        QVERIFY(ledger.allUnpaid().isEmpty());
        QCOMPARE(ledger.find("订购1")->payment, "已付款");
        QCOMPARE(ledger.find("维修1")->payment, "已付款");
        QCOMPARE(receiptsText(db()),
                 QStringList({"7|王'小明|城关镇\"东村|0731-1|139|SN-1|1000|2025-01-02|0009",
                              "7|王'小明|城关镇\"东村|0731-1|139|NEW-1|2000|2025-01-02|0009"}));
    }

    void settleRefusesRowsChangedSinceListed_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("settled elsewhere")
                << "update 帐款明细 set 付款情况 = '已付款' where id = '订购2'";
        QTest::newRow("amount corrected") << "update 帐款明细 set 应付金额 = 1 where id = '订购2'";
        QTest::newRow("deleted") << "delete from 帐款明细 where id = '订购2'";
        QTest::newRow("receipt refused") << "create trigger refuse before insert on 收款记录 "
                                            "when new.金额 = 20000 begin "
                                            "select raise(abort, '写入被拒绝'); end";
    }
    void settleRefusesRowsChangedSinceListed()
    {
        QFETCH(QString, change);
        for (const char *price : {"1", "2", "3"})
            SalesStore(db()).record(sale(price), false);
        LedgerStore ledger(db());
        const QList<LedgerRow> rows = ledger.allUnpaid();
        QCOMPARE(rows.size(), 3);
        Db::exec(db(), change);
        const int unpaidBefore = int(ledger.allUnpaid().size());
        QVERIFY_THROWS_EXCEPTION(DbError, ledger.settle(rows, Day, "0001"));
        QCOMPARE(int(ledger.allUnpaid().size()), unpaidBefore); // the first row is unpaid again
        QCOMPARE(ledger.find("订购1")->payment, "未付款");
        QCOMPARE(count(db(), "收款记录"), 0);
    }

    void updateRewritesRecordAndLedgerButKeepsPaymentAndReceipt()
    {
        SalesStore sales(db());
        RepairStore repairs(db());
        sales.record(sale("100", "FP"), true);
        repairs.record(repair("100"), false, true);

        Sale s = *sales.find(1);
        s.price = Money::fromYuan(90);
        s.invoiceNumber.clear();
        s.customer.name = "新名";
        s.operatorNumber = "9999"; // the handling operator is never rewritten
        sales.update(s);
        const Sale after = *sales.find(1);
        QCOMPARE(after.price, Money::fromYuan(90));
        QCOMPARE(after.operatorNumber, "0002");
        QCOMPARE(after.serviceStaff, "小张");
        QCOMPARE(Db::scalar(db(), "select 发票 from dinggou").toInt(), 0);
        LedgerRow row = *LedgerStore(db()).find("订购1");
        QCOMPARE(row.amountDue, Money::fromYuan(90));
        QCOMPARE(row.payment, "已付款");
        QCOMPARE(row.customer.name, "新名");
        QVERIFY(!row.invoice);
        QCOMPARE(row.operatorNumber, "0002");
        QCOMPARE(Db::scalar(db(), "select 金额 from 收款记录").toLongLong(), 1000000);

        Repair r = *repairs.find(1);
        r.fee = Money::fromYuan(70);
        r.items = "任意文字";
        repairs.update(r);
        QCOMPARE(repairs.find(1)->items, "任意文字");
        row = *LedgerStore(db()).find("维修1");
        QCOMPARE(row.amountDue, Money::fromYuan(70));
        QCOMPARE(row.payment, "未付款");

        r.id = 99;
        QVERIFY_THROWS_EXCEPTION(DbError, repairs.update(r));
    }

    void removeDeletesOnlyItsOwnLedgerRow()
    {
        SalesStore(db()).record(sale("100"), true);
        RepairStore(db()).record(repair("100"), false, true);
        RepairStore(db()).remove(1);
        QVERIFY(!RepairStore(db()).find(1));
        QVERIFY(!LedgerStore(db()).find("维修1"));
        QVERIFY(LedgerStore(db()).find("订购1"));
        SalesStore(db()).remove(1);
        QCOMPARE(count(db(), "帐款明细"), 0);
        QCOMPARE(count(db(), "收款记录"), 1); // the receipt of a deleted sale stays
    }

    void firstSerialIsThatOfTheFirstSale()
    {
        SalesStore sales(db());
        QCOMPARE(sales.firstSerialOf(7), QString());
        Sale first = sale("1");
        first.serial = "FIRST";
        sales.record(first, false);
        sales.record(sale("1"), false);
        QCOMPARE(sales.firstSerialOf(7), "FIRST");
        QCOMPARE(sales.firstSerialOf(8), QString());
    }
};

QTEST_GUILESS_MAIN(TestStores)
#include "tst_stores.moc"
