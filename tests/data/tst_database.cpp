// The schema, the initial contents, opening a database file and operator passwords.
#include "data/db.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestDatabase : public QObject
{
    Q_OBJECT
private slots:
    void createWritesInitialContentsAndRefusesToOverwrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("database/database.db");
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        QVERIFY(!Schema::createDatabaseFile(path).isEmpty());

        TDM1 dm;
        QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
        const QSqlDatabase db = dm.ADOConnection1();
        QSqlQuery items = Db::exec(db, "select 维修项目 from 维修项目");
        QStringList names;
        while (items.next())
            names << items.value(0).toString();
        QCOMPARE(names, QStringList({"主机", "键盘", "显示器", "鼠标", "系统", "其他"}));

        const QList<Operator> ops = OperatorStore(db).all();
        QCOMPARE(ops.size(), 1);
        QCOMPARE(ops[0].number, QStringLiteral("0001"));
        QCOMPARE(ops[0].name, QStringLiteral("系统管理员"));
        QVERIFY(ops[0].passwordHash.isEmpty());
        for (int flag = 1; flag <= 17; ++flag)
            QVERIFY(ops[0].flag(flag));
        for (const char *table :
             {"dinggou", "客户信息", "收款记录", "维修记录", "帐款明细", "乡镇"})
            QCOMPARE(Db::scalar(db,
                                QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
                             .toInt(),
                     0);
    }

    void openRefusesWhatIsNotAMerrowDatabase()
    {
        QTemporaryDir dir;
        TDM1 dm;
        const QString missing = dir.filePath("none.db");
        QCOMPARE(dm.open(missing), TDM1::OpenResult::Missing);
        QVERIFY(!QFile::exists(missing)); // nothing created in its place

        const QString text = dir.filePath("text.db");
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database, just some text that goes on for a while\n");
        f.close();
        QCOMPARE(dm.open(text), TDM1::OpenResult::NotMerrow);

        // A database with one column missing.
        const QString path = dir.filePath("partial.db");
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
        Db::exec(dm.ADOConnection1(), "alter table 收款记录 drop column 经手人");
        QString detail;
        QCOMPARE(dm.open(path, &detail), TDM1::OpenResult::NotMerrow);
        QCOMPARE(detail, QStringLiteral("收款记录.经手人"));
    }

    void readOnlyFileIsReported()
    {
        if (geteuid() == 0)
            QSKIP("root writes read-only files");
        QTemporaryDir dir;
        const QString path = dir.filePath("ro.db");
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        QFile::setPermissions(path, QFile::ReadOwner);
        TDM1 dm;
        QCOMPARE(dm.open(path), TDM1::OpenResult::ReadOnly);
    }

    void operatorNumbersAreUniqueIgnoringCase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("d.db");
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        TDM1 dm;
        QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
        const QSqlDatabase db = dm.ADOConnection1();
        Db::exec(db, "insert into 操作员 (操作员, 姓名) values (?, ?)", {"abc", "甲"});
        QVERIFY_THROWS_EXCEPTION(
                DbError,
                Db::exec(db, "insert into 操作员 (操作员, 姓名) values (?, ?)", {"ABC", "乙"}));
        // A name with a quote is stored and found as typed.
        Db::exec(db, "insert into 操作员 (操作员, 姓名) values (?, ?)", {"' or '1'='1", "O'Brien"});
        const auto found = OperatorStore(db).find("' or '1'='1");
        QVERIFY(found);
        QCOMPARE(found->name, QStringLiteral("O'Brien"));
        QVERIFY(!OperatorStore(db).find("ABC")); // exact look-up
    }

    void transactionRollsBackUnlessCommitted()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("d.db");
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        TDM1 dm;
        QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
        const QSqlDatabase db = dm.ADOConnection1();
        {
            TransactionScope tx(db);
            Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values (?, ?)", {"城关镇", "东村"});
        }
        QCOMPARE(Db::scalar(db, "select count(*) from 乡镇").toInt(), 0);
        {
            TransactionScope tx(db);
            Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values (?, ?)", {"城关镇", "东村"});
            tx.commit();
        }
        QCOMPARE(Db::scalar(db, "select count(*) from 乡镇").toInt(), 1);
    }

    void passwordRule_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("match");
        QTest::newRow("both empty") << ""
                                    << "" << true;
        QTest::newRow("empty stored, typed") << ""
                                             << "x" << false;
        QTest::newRow("same") << "Secret9"
                              << "Secret9" << true;
        QTest::newRow("latin case") << "Secret9"
                                    << "sECRET9" << true;
        QTest::newRow("other char") << "Secret9"
                                    << "Secret8" << false;
        QTest::newRow("chinese") << "密码abc"
                                 << "密码ABC" << true;
        QTest::newRow("chinese differs") << "密码abc"
                                         << "密碼abc" << false;
        QTest::newRow("non-latin case") << "straße"
                                        << "STRASSE" << false;
        QTest::newRow("accented case") << "é"
                                       << "É" << false;
    }
    void passwordRule()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, match);
        const QString hashed = Passwords::hash(stored);
        QVERIFY(!hashed.contains(stored) || stored.isEmpty());
        QCOMPARE(Passwords::matches(hashed, typed), match);
        // A clear-text value from an older database follows the same rule.
        QCOMPARE(Passwords::matches(stored, typed), match);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
