// The purge screen: deletes the history before the chosen day, after a confirmation.
#include "data/db.h"
#include "data/tdm1.h"
#include "maintenance/zhenglifrm.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTest>

namespace {

const char *const History[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};

void seedDay(const QSqlDatabase &db, int id, const QDate &day)
{
    const QString text = day.toString("yyyy-MM-dd");
    Db::exec(db, "insert into dinggou (id, 客户编号, 日期) values (?, 1, ?)", {id, text});
    Db::exec(db, "insert into 维修记录 (id, 客户编号, 日期) values (?, 1, ?)", {id, text});
    Db::exec(db, "insert into 帐款明细 (id, 客户编号, 付款情况, 日期) values (?, 1, '未付款', ?)",
             {QStringLiteral("维修%1").arg(id), text});
    Db::exec(db, "insert into 收款记录 (客户编号, 金额, 日期) values (1, 10, ?)", {text});
}

// Rows per history table, in the order of History.
QList<int> counts(const QSqlDatabase &db)
{
    QList<int> result;
    for (const char *table : History)
        result << Db::scalar(db, QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
                          .toInt();
    return result;
}

} // namespace

class TestZhengli : public QObject
{
    Q_OBJECT
private slots:
    void purge_data()
    {
        QTest::addColumn<int>("daysBack"); // the day chosen, counted back from today
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QList<int>>("left");
        // Rows exist for 40 days ago, yesterday and today.
        QTest::newRow("today: everything before today goes") << 0 << true << QList<int>(4, 1);
        QTest::newRow("yesterday: yesterday stays") << 1 << true << QList<int>(4, 2);
        QTest::newRow("cancelled") << 0 << false << QList<int>(4, 3);
    }
    void purge()
    {
        QFETCH(int, daysBack);
        QFETCH(bool, confirm);
        QFETCH(QList<int>, left);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        Db::exec(db, "insert into 客户信息 (客户编号, 客户名称) values (1, '张三')");
        const QDate today = QDate::currentDate();
        seedDay(db, 1, today.addDays(-40));
        seedDay(db, 2, today.addDays(-1));
        seedDay(db, 3, today);

        Tzhengli screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("数据整理"));
        auto *picker = screen.findChild<QDateEdit *>("DateTimePicker1");
        QCOMPARE(picker->date(), today);
        picker->setDate(today.addDays(-daysBack));

        ModalAnswerer answers;
        answers.strict();
        answers.button(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        if (confirm)
            answers.button(QMessageBox::Ok);
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());

        QCOMPARE(answers.seen()[0].title, QStringLiteral("删除历史记录"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("确实删除历史记录？该操作不可恢复！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
        QCOMPARE(answers.seen().size(), confirm ? 2 : 1);
        if (confirm) {
            QCOMPARE(answers.seen()[1].title, QStringLiteral("提示"));
            QCOMPARE(answers.seen()[1].text, QStringLiteral("删除成功！"));
            QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);
        }
        QCOMPARE(counts(db), left);
        QCOMPARE(Db::scalar(db, "select count(*) from 客户信息").toInt(), 1);
    }

    void refusedPurgeShowsTheErrorAndDeletesNothing()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        seedDay(db, 1, QDate::currentDate().addDays(-3));
        // The last of the four deletes is refused; the three before it must be undone.
        Db::exec(db,
                 "create trigger refuse before delete on 帐款明细 "
                 "begin select raise(abort, 'ledger is locked'); end");
        Tzhengli screen;
        screen.show();
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 2);
        QVERIFY(answers.seen()[1].text.contains("ledger is locked"));
        QVERIFY(answers.seen()[1].text != QStringLiteral("删除成功！"));
        QCOMPARE(counts(db), QList<int>(4, 1));
    }

    void exitCloses()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        Tzhengli screen;
        screen.show();
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn2"), Qt::LeftButton);
        QVERIFY(!screen.isVisible());
    }
};

QTEST_MAIN(TestZhengli)
#include "tst_zhengli.moc"
