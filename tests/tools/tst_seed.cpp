// Seeded data must look exactly like what the entry screens write.
#include "data/db.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include "seed.h"

#include <QTemporaryDir>
#include <QTest>

class TestSeed : public QObject
{
    Q_OBJECT
private slots:
    void seededDataIsConsistent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("seed.db");
        SeedOptions options;
        options.scale = 0.2;
        QCOMPARE(seedDatabase(path, options, [](const QString &, double) {}), QString());
        QVERIFY(!seedDatabase(path, options, [](const QString &, double) {}).isEmpty());

        TDM1 dm;
        QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
        const QSqlDatabase db = dm.ADOConnection1();
        auto count = [&](const QString &sql) { return Db::scalar(db, sql).toLongLong(); };
        QCOMPARE(count("select count(*) from 客户信息"), 200);
        QCOMPARE(count("select count(*) from dinggou"), 400);
        QCOMPARE(count("select count(*) from 维修记录"), 200);
        QCOMPARE(count("select count(*) from 帐款明细"), 600);

        // Every record has its ledger row with the same amount, customer, date and flag.
        QCOMPARE(count("select count(*) from dinggou d join 帐款明细 l on l.id = '订购' || d.id "
                       "where l.应付金额 = d.价格 and l.客户编号 = d.客户编号 and l.日期 = d.日期 "
                       "and l.发票 = d.发票 and l.经手人 = d.经手人"),
                 400);
        QCOMPARE(count("select count(*) from 维修记录 r join 帐款明细 l on l.id = '维修' || r.id "
                       "where l.应付金额 = r.维修费 and l.客户编号 = r.客户编号"),
                 200);
        // The invoice flag follows the invoice number.
        QCOMPARE(count("select count(*) from dinggou where 发票 <> (发票号码 <> '')"), 0);
        // Paid rows have receipts; unpaid ones never do; receipts never predate their record.
        QVERIFY(count("select count(*) from 帐款明细 where 付款情况 = '未付款'") > 0);
        QCOMPARE(count("select count(*) from 收款记录 k join 帐款明细 l on l.主机序列号 = "
                       "k.主机序列号 "
                       "where l.付款情况 = '未付款'"),
                 0);
        QCOMPARE(count("select count(*) from 收款记录 k join 帐款明细 l on l.主机序列号 = "
                       "k.主机序列号 "
                       "where k.日期 < l.日期 or k.金额 <> l.应付金额"),
                 0);
        QCOMPARE(count("select count(*) from 帐款明细 where 付款情况 not in ('已付款', '未付款')"),
                 0);
        QVERIFY(Schema::missingParts(db).isEmpty());
        // The indexes dropped for the load are all back.
        const qsizetype indexes = Schema::statements().filter(QStringLiteral(" INDEX ")).size();
        QCOMPARE(count("select count(*) from sqlite_master where type = 'index' and sql is not "
                       "null"),
                 indexes);
    }
};

QTEST_GUILESS_MAIN(TestSeed)
#include "tst_seed.moc"
