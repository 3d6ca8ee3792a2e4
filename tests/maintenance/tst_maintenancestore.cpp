// Backups, the check of a file offered for restore, the purge and the initialisation.
#include "data/db.h"
#include "data/maintenancestore.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

// Every row of every table, as text, in a stable order.
QStringList dump(const QSqlDatabase &db)
{
    QStringList rows;
    for (const auto &[table, columns] : Schema::expectedTables()) {
        QStringList order;
        for (qsizetype i = 1; i <= columns.size(); ++i)
            order << QString::number(i);
        QSqlQuery q = Db::exec(
                db, QStringLiteral("select * from %1 order by %2").arg(table, order.join(u',')));
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            rows << table + u':' + values.join(u'|');
        }
    }
    return rows;
}

QStringList dumpFile(const QString &file)
{
    const QString name = QUuid::createUuid().toString();
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            rows = dump(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// One row dated `day` in each history table, plus a customer and a township.
void seedDay(const QSqlDatabase &db, int id, const QString &day)
{
    Db::exec(db, "insert into dinggou (id, 客户编号, 价格, 日期) values (?, 1, 35000000, ?)",
             {id, day});
    Db::exec(db, "insert into 维修记录 (id, 客户编号, 维修费, 日期) values (?, 1, 500000, ?)",
             {id, day});
    Db::exec(db,
             "insert into 帐款明细 (id, 客户编号, 应付金额, 付款情况, 日期) values (?, 1, 1, ?, ?)",
             {QStringLiteral("订购%1").arg(id), QStringLiteral("未付款"), day});
    Db::exec(db, "insert into 收款记录 (客户编号, 金额, 日期) values (1, 100, ?)", {day});
}

int count(const QSqlDatabase &db, const char *table, const QString &day = {})
{
    const QString sql = QStringLiteral("select count(*) from ") + QString::fromUtf8(table);
    return day.isEmpty() ? Db::scalar(db, sql).toInt()
                         : Db::scalar(db, sql + QStringLiteral(" where 日期 = ?"), {day}).toInt();
}

const char *const History[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};

} // namespace

class TestMaintenanceStore : public QObject
{
    Q_OBJECT
private slots:
    void backupIsAConsistentOwnerOnlyCopy()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称, 地址) values (1, ?, ?)",
                 {"张三", "城关镇"});
        seedDay(db, 1, "2026-03-01");
        const QStringList committed = dump(db);

        // A transaction still open on our connection neither blocks the copy nor leaks into it.
        TransactionScope pending(db);
        Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('未提交', '村')");
        const QString target = folder.file("backup/monthly.bak");
        QFile::remove(target);
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file of that name is replaced");
        old.close();

        MaintenanceStore(db).backupTo(target);
        QCOMPARE(dumpFile(target), committed);
        QCOMPARE(MaintenanceStore::checkCandidate(target), QString());
        const QFile::Permissions mode = QFile::permissions(target);
        QVERIFY(mode.testFlags(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!(mode
                  & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
        QCOMPARE(QDir(folder.file("backup")).entryList(QDir::Files), QStringList({"monthly.bak"}));
    }

    void failedBackupLeavesNoFile()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        // The target name is taken by a folder: the copy is made but cannot be put in place.
        QVERIFY(QDir(folder.path()).mkpath("backup/taken.bak"));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 MaintenanceStore(db).backupTo(folder.file("backup/taken.bak")));
        // No such folder at all.
        QVERIFY_THROWS_EXCEPTION(DbError, MaintenanceStore(db).backupTo(folder.file("none/x.bak")));
        QCOMPARE(QDir(folder.file("backup")).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(folder.file("none")));
        // A missing source fails too, and makes nothing.
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 MaintenanceStore::copyDatabase(folder.file("missing.db"),
                                                                folder.file("backup/m.bak")));
        QCOMPARE(QDir(folder.file("backup")).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(folder.file("missing.db")));
    }

    void candidateCheck_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("merrow database") << "merrow" << true;
        QTest::newRow("text file") << "text" << false;
        QTest::newRow("empty file") << "empty" << false;
        QTest::newRow("foreign sqlite database") << "foreign" << false;
        QTest::newRow("column missing") << "partial" << false;
        QTest::newRow("no such file") << "missing" << false;
    }
    void candidateCheck()
    {
        QFETCH(QString, kind);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString path = dir.filePath("candidate.bak");
        if (kind == "merrow" || kind == "partial") {
            QCOMPARE(Schema::createDatabaseFile(path), QString());
            if (kind == "partial") {
                TDM1 dm;
                QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
                Db::exec(dm.ADOConnection1(), "alter table 收款记录 drop column 经手人");
            }
        } else if (kind == "text" || kind == "empty") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "text")
                f.write(QString("备份 is not a database, only words\n").repeated(200).toUtf8());
        } else if (kind == "foreign") {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            Db::exec(db, "create table notes (body text)");
            Db::exec(db, "insert into notes values ('x')");
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("foreign");
        }
        const QByteArray before = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const QString verdict = MaintenanceStore::checkCandidate(path);
        QCOMPARE(verdict.isEmpty(), accepted);
        // Looking at a file never changes it or creates one.
        QFile after(path);
        if (kind == "missing") {
            QVERIFY(!after.exists());
        } else {
            QVERIFY(after.open(QIODevice::ReadOnly));
            QCOMPARE(after.readAll(), before);
        }
    }

    // A file written in log mode and closed (as a copy of a live database can be) is read for
    // the check and the restore without a log or shared-memory file left beside it.
    void restoreSourceIsReadWithoutLeavingFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain name") << "candidate.bak";
        QTest::newRow("name with URI characters") << "恢复 #1?%20&x=y.bak";
    }
    void restoreSourceIsReadWithoutLeavingFiles()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QCOMPARE(Schema::createDatabaseFile(path), QString());
        QStringList rows;
        {
            TDM1 dm;
            QCOMPARE(dm.open(path), TDM1::OpenResult::Ok);
            Db::exec(dm.ADOConnection1(),
                     "insert into 客户信息 (客户编号, 客户名称) values (1, '李四')");
            rows = dump(dm.ADOConnection1());
        }
        QVERIFY(rows.contains("客户信息:1|李四|||||||"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {name});

        QCOMPARE(MaintenanceStore::checkCandidate(path), QString());
        const QString restored = dir.filePath("restored.db");
        MaintenanceStore::copyDatabase(path, restored);
        QStringList expected {name, "restored.db"};
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
        QCOMPARE(dumpFile(restored), rows);
    }

    void replacedFileLosesItsStaleLog()
    {
        // The old file stopped uncleanly: its log still holds a committed row. Replayed into
        // the new file it would corrupt it.
        TestFolder old;
        QVERIFY(old.isValid());
        Db::exec(old.dm()->ADOConnection1(),
                 "insert into 客户信息 (客户编号, 客户名称) values (1, '旧的')");
        QTemporaryDir dir;
        const QString target = dir.filePath("database.db");
        QVERIFY(QFile::copy(old.databaseFile(), target));
        QVERIFY(QFile::copy(old.databaseFile() + "-wal", target + "-wal"));
        QVERIFY(QFile::copy(old.databaseFile() + "-shm", target + "-shm"));

        const QString candidate = dir.filePath("new.bak");
        QCOMPARE(Schema::createDatabaseFile(candidate), QString());
        const QStringList rows = dumpFile(candidate);
        MaintenanceStore::copyDatabase(candidate, target);
        QVERIFY(!QFile::exists(target + "-wal"));
        QVERIFY(!QFile::exists(target + "-shm"));
        TDM1 dm;
        QCOMPARE(dm.open(target), TDM1::OpenResult::Ok);
        QCOMPARE(dump(dm.ADOConnection1()), rows);
        QCOMPARE(Db::scalar(dm.ADOConnection1(), "pragma quick_check").toString(), "ok");
    }

    void openFileIsNotReplaced()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称) values (1, '在用')");
        const QStringList rows = dump(db);
        QTemporaryDir dir;
        const QString candidate = dir.filePath("new.bak");
        QCOMPARE(Schema::createDatabaseFile(candidate), QString());
        // Its log is live: the file must be closed (and so written back) before it is replaced.
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 MaintenanceStore::copyDatabase(candidate, folder.databaseFile()));
        QCOMPARE(dump(db), rows);
        // Closed, it is replaced, and the reopened connection sees the new contents.
        folder.dm()->close();
        MaintenanceStore::copyDatabase(candidate, folder.databaseFile());
        QCOMPARE(folder.dm()->open(folder.databaseFile()), TDM1::OpenResult::Ok);
        QCOMPARE(dump(folder.dm()->ADOConnection1()), dumpFile(candidate));
    }

    void purgeKeepsTheChosenDayAndLater()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称) values (1, '张三')");
        Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('城关镇', '东村')");
        seedDay(db, 1, "2025-12-31");
        seedDay(db, 2, "2026-03-09");
        seedDay(db, 3, "2026-03-10");
        seedDay(db, 4, "2026-04-01");

        MaintenanceStore(db).purgeBefore(QDate(2026, 3, 10));
        for (const char *table : History) {
            QCOMPARE(count(db, table), 2);
            QCOMPARE(count(db, table, "2026-03-10"), 1);
            QCOMPARE(count(db, table, "2026-04-01"), 1);
        }
        QCOMPARE(count(db, "客户信息"), 1);
        QCOMPARE(count(db, "乡镇"), 1);
        QCOMPARE(count(db, "维修项目"), 6);
        QCOMPARE(count(db, "操作员"), 1);
    }

    // A statement that fails part-way (here a trigger refusing the ledger delete) leaves
    // every table exactly as it was.
    void failedPurgeAndInitialisationChangeNothing_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("purge");
        QTest::newRow("purge") << "create trigger refuse before delete on 帐款明细 "
                                  "begin select raise(abort, 'refused'); end"
                               << true;
        QTest::newRow("initialisation") << "create trigger refuse before insert on 操作员 "
                                           "begin select raise(abort, 'refused'); end"
                                        << false;
    }
    void failedPurgeAndInitialisationChangeNothing()
    {
        QFETCH(QString, trigger);
        QFETCH(bool, purge);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称) values (1, '张三')");
        Db::exec(db, "insert into 维修项目 (维修项目) values ('光驱')");
        seedDay(db, 1, "2020-01-01");
        Db::exec(db, trigger);
        const QStringList before = dump(db);
        try {
            if (purge)
                MaintenanceStore(db).purgeBefore(QDate(2026, 1, 1));
            else
                MaintenanceStore(db).initialise();
            QFAIL("the refused statement was not reported");
        } catch (const DbError &e) {
            QVERIFY2(e.text().contains("refused"), qPrintable(e.text()));
        }
        QCOMPARE(dump(db), before);
    }

    void initialisationWritesTheInitialContents()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称) values (1, '张三')");
        Db::exec(db, "insert into 乡镇 (乡镇, 村庄) values ('城关镇', '东村')");
        Db::exec(db, "insert into 操作员 (操作员, 姓名, 密码) values ('0002', '李四', 'x')");
        Db::exec(db, "update 操作员 set 密码 = 'secret', \"3\" = 0 where 操作员 = '0001'");
        seedDay(db, 1, "2026-03-01");

        const QString fresh = folder.file("fresh.db");
        QCOMPARE(Schema::createDatabaseFile(fresh), QString());
        MaintenanceStore(db).initialise();
        QCOMPARE(dump(db), dumpFile(fresh));
    }
};

QTEST_GUILESS_MAIN(TestMaintenanceStore)
#include "tst_maintenancestore.moc"
