// The database is written through a write-ahead log with a sync on every commit: a committed
// save survives the program (or the machine) stopping without closing the file.
#include "data/customerstore.h"
#include "data/db.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestWal : public QObject
{
    Q_OBJECT
private slots:
    void writableFileIsOpenedInDurableLogMode()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        QCOMPARE(Db::scalar(db, QStringLiteral("pragma journal_mode")).toString(),
                 QStringLiteral("wal"));
        // 2 is FULL: the log is synced on every commit, not only at checkpoints.
        QCOMPARE(Db::scalar(db, QStringLiteral("pragma synchronous")).toInt(), 2);
    }

    void committedSaveSurvivesAnUncleanStop()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        {
            TransactionScope tx(db);
            Customer c;
            c.number = 7;
            c.name = QStringLiteral("断电前保存");
            CustomerStore(db).insert(c);
            tx.commit();
        }
        {
            // Begun but never committed: must not be there afterwards.
            TransactionScope pending(db);
            Customer c;
            c.number = 8;
            c.name = QStringLiteral("未提交");
            CustomerStore(db).insert(c);

            // The files as a power loss leaves them, taken while the connection is open: the
            // save is in the log only, not yet in the database file.
            const QString log = folder.databaseFile() + QStringLiteral("-wal");
            QVERIFY(QFileInfo(log).size() > 0);
            QTemporaryDir after;
            const QString copy = after.filePath(QStringLiteral("database.db"));
            QVERIFY(QFile::copy(folder.databaseFile(), copy));
            QVERIFY(QFile::copy(log, copy + QStringLiteral("-wal")));

            TDM1 reopened;
            QCOMPARE(reopened.open(copy), TDM1::OpenResult::Ok);
            CustomerStore store(reopened.ADOConnection1());
            QVERIFY(store.find(7));
            QCOMPARE(store.find(7)->name, QStringLiteral("断电前保存"));
            QVERIFY(!store.find(8));
            QCOMPARE(Db::scalar(reopened.ADOConnection1(), QStringLiteral("pragma quick_check"))
                             .toString(),
                     QStringLiteral("ok"));
        }
    }

    void closingWritesTheLogBackAndRemovesIt()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        Customer c;
        c.number = 1;
        c.name = QStringLiteral("张三");
        CustomerStore(folder.dm()->ADOConnection1()).insert(c);
        folder.dm()->close();
        // The folder holds the database alone again, so copying the file copies everything.
        QCOMPARE(QDir(QFileInfo(folder.databaseFile()).path()).entryList(QDir::Files),
                 QStringList {QStringLiteral("database.db")});
        QCOMPARE(folder.dm()->open(folder.databaseFile()), TDM1::OpenResult::Ok);
        QVERIFY(CustomerStore(folder.dm()->ADOConnection1()).find(1));
    }
};

QTEST_GUILESS_MAIN(TestWal)
#include "tst_wal.moc"
