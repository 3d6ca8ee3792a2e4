// The main window's maintenance handlers, driven on a stand-in main window with a work area,
// its backup dialogs and the menu item "数据备份".
#include "data/db.h"
#include "data/maintenancestore.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include "maintenance/guanyufrm.h"
#include "maintenance/maintenanceactions.h"
#include "support/fakeshell.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace {

QStringList customers(const QSqlDatabase &db)
{
    QStringList names;
    QSqlQuery q = Db::exec(db, "select 客户名称 from 客户信息 order by 客户编号");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

void addCustomer(const QSqlDatabase &db, const QString &name)
{
    Db::exec(db, "insert into 客户信息 (客户名称) values (?)", {name});
}

// Runs `use` on a connection of its own to `file` (a data module would become the program's).
void withDatabase(const QString &file, const std::function<void(const QSqlDatabase &)> &use)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(file);
        if (db.open())
            use(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("other");
}

QStringList customersIn(const QString &file)
{
    QStringList names;
    withDatabase(file, [&](const QSqlDatabase &db) { names = customers(db); });
    return names;
}

QString today()
{
    return QDate::currentDate().toString("yyyy-MM-dd");
}

} // namespace

class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestMaintenanceActions : public QObject
{
    Q_OBJECT
private slots:
    void manualBackupAppendsBakToTheChosenName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain name") << "monthly"
                                    << "monthly.bak";
        QTest::newRow("name already ending in .bak") << "old.bak"
                                                     << "old.bak.bak";
        QTest::newRow("upper-case extension") << "OLD.BAK"
                                              << "OLD.BAK.bak";
    }
    void manualBackupAppendsBakToTheChosenName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        TestFolder folder;
        QVERIFY(folder.isValid());
        addCustomer(folder.dm()->ADOConnection1(), "张三");
        QDir(folder.path()).mkpath("mine");
        const QString chosen = folder.file("mine/" + typed);
        QFile existing(chosen);
        QVERIFY(existing.open(QIODevice::WriteOnly)); // the chosen file itself stays as it is
        existing.write("keep");
        existing.close();

        FakeShell main;
        ModalAnswerer answers;
        answers.strict();
        answers.file(chosen).button(QMessageBox::Ok);
        MaintenanceActions::manualBackup(&main.window);
        QVERIFY(answers.waitDone());

        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[0].objectName, QStringLiteral("SaveDialog1"));
        QCOMPARE(answers.seen()[0].nameFilters, QStringList({"BAK文件 (*.BAK)", "所有文件 (*)"}));
        QCOMPARE(answers.seen()[1].title, QStringLiteral("提示！"));
        QCOMPARE(answers.seen()[1].text, QStringLiteral("备份数据成功！"));
        QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);
        QCOMPARE(customersIn(folder.file("mine/" + written)), QStringList({"张三"}));
        QCOMPARE(QDir(folder.file("mine")).entryList(QDir::Files), QStringList({typed, written}));
    }

    void manualBackupFailureAndCancel()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        FakeShell main;
        // "taken.bak" is a folder: the copy cannot be put there.
        QDir(folder.path()).mkpath("mine/taken.bak");
        ModalAnswerer answers;
        answers.strict();
        answers.file(folder.file("mine/taken")).button(QMessageBox::Ok).cancelFile();
        MaintenanceActions::manualBackup(&main.window);
        MaintenanceActions::manualBackup(&main.window);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 3);
        QCOMPARE(answers.seen()[1].title, QStringLiteral("错误！"));
        QCOMPARE(answers.seen()[1].text, QStringLiteral("备份数据失败，请重试！!"));
        QCOMPARE(answers.seen()[1].icon, QMessageBox::Critical);
        QCOMPARE(answers.seen()[2].kind, QStringLiteral("QFileDialog"));
        QCOMPARE(QDir(folder.file("mine")).entryList(QDir::Files), QStringList());
    }

    // The main window's own dialog is the one shown, so it keeps the name chosen last; without
    // a main window the backup still works through a dialog of its own.
    void manualBackupUsesTheMainWindowsOwnDialog()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        auto main = std::make_unique<FakeShell>();
        QSignalSpy chosen(main->saveDialog, &QFileDialog::fileSelected);
        ModalAnswerer answers;
        answers.strict();
        answers.file(folder.file("weekly")).button(QMessageBox::Ok);
        MaintenanceActions::manualBackup(&main->window);
        QVERIFY(answers.waitDone());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(answers.seen()[1].text, QStringLiteral("备份数据成功！"));
        QVERIFY(QFile::exists(folder.file("weekly.bak")));

        main.reset();
        answers.file(folder.file("alone")).button(QMessageBox::Ok);
        MaintenanceActions::manualBackup(nullptr);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 4);
        QCOMPARE(answers.seen()[2].objectName, QStringLiteral("SaveDialog1"));
        QCOMPARE(answers.seen()[3].text, QStringLiteral("备份数据成功！"));
        QVERIFY(QFile::exists(folder.file("alone.bak")));
    }

    void restoreReplacesTheDatabaseAndClosesEveryScreen()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        addCustomer(folder.dm()->ADOConnection1(), "当前");
        const QString candidate = folder.file("other.bak");
        QCOMPARE(Schema::createDatabaseFile(candidate), QString());
        withDatabase(candidate, [](const QSqlDatabase &db) { addCustomer(db, "恢复的"); });
        FakeShell main;
        main.addChild(new QWidget, QStringLiteral("客户档案"));
        QSignalSpy reopened(folder.dm(), &TDM1::reopened);

        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok).file(candidate).button(QMessageBox::Ok);
        MaintenanceActions::restore(&main.window);
        QVERIFY(answers.waitDone());

        QCOMPARE(answers.seen()[0].title, QStringLiteral("数据恢复"));
        QCOMPARE(answers.seen()[0].text,
                 QStringLiteral("数据库恢复将要覆盖原来数据库中所有的数据，继续吗？"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
        QCOMPARE(answers.seen()[1].objectName, QStringLiteral("OpenDialog1"));
        QCOMPARE(answers.seen()[2].title, QStringLiteral("提示！"));
        QCOMPARE(answers.seen()[2].text, QStringLiteral("恢复数据成功！"));
        QCOMPARE(answers.seen()[2].icon, QMessageBox::Information);

        QCOMPARE(reopened.count(), 1);
        QVERIFY(main.area->subWindowList().isEmpty());
        QCOMPARE(customers(folder.dm()->ADOConnection1()), QStringList({"恢复的"}));
        QCOMPARE(folder.dm()->databaseFile(), QFileInfo(folder.databaseFile()).absoluteFilePath());
        const QFile::Permissions mode = QFile::permissions(folder.databaseFile());
        QVERIFY(!(mode & (QFile::ReadGroup | QFile::ReadOther)));
        // The replaced database was kept first.
        const QStringList kept
                = QDir(folder.file("backup")).entryList({"before-restore-*.bak"}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(QRegularExpression("^before-restore-\\d{4}-\\d\\d-\\d\\d-\\d{6}\\.bak$")
                        .match(kept[0])
                        .hasMatch());
        QCOMPARE(customersIn(folder.file("backup/" + kept[0])), QStringList({"当前"}));
    }

    void restoreRefusesWhatIsNotOurDatabase_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("foreignDatabase");
        QTest::newRow("text file") << QByteArray("客户 not a database\n").repeated(300) << false;
        QTest::newRow("foreign sqlite database") << QByteArray() << true;
    }
    void restoreRefusesWhatIsNotOurDatabase()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, foreignDatabase);
        TestFolder folder;
        QVERIFY(folder.isValid());
        addCustomer(folder.dm()->ADOConnection1(), "当前");
        const QString candidate = folder.file("candidate.bak");
        if (foreignDatabase) {
            withDatabase(candidate, [](const QSqlDatabase &db) {
                Db::exec(db, "create table 客户信息 (客户名称 text)");
            });
        } else {
            QFile f(candidate);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QFile db(folder.databaseFile());
        QVERIFY(db.open(QIODevice::ReadOnly));
        const QByteArray before = db.readAll();
        db.close();
        FakeShell main;
        main.addChild(new QWidget, QStringLiteral("客户档案"));

        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok).file(candidate).button(QMessageBox::Ok);
        MaintenanceActions::restore(&main.window);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 3);
        QCOMPARE(answers.seen()[2].title, QStringLiteral("错误！"));
        QCOMPARE(answers.seen()[2].text, QStringLiteral("恢复数据失败，请重试！!"));
        QCOMPARE(answers.seen()[2].icon, QMessageBox::Critical);

        QVERIFY(db.open(QIODevice::ReadOnly));
        QCOMPARE(db.readAll(), before);
        QVERIFY(folder.dm()->isOpen());
        QCOMPARE(customers(folder.dm()->ADOConnection1()), QStringList({"当前"}));
        QCOMPARE(main.area->subWindowList().size(), 1);
    }

    void restoreCancelledAtTheQuestionOpensNoDialog()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        FakeShell main;
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Cancel);
        MaintenanceActions::restore(&main.window);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
    }

    void initialisation_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("refuse");
        QTest::newRow("confirmed") << true << false;
        QTest::newRow("cancelled") << false << false;
        QTest::newRow("refused by the database") << true << true;
    }
    void initialisation()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, refuse);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        addCustomer(db, "张三");
        Db::exec(db, "insert into 操作员 (操作员, 姓名) values ('0002', '李四')");
        if (refuse)
            Db::exec(db,
                     "create trigger refuse before delete on 维修项目 "
                     "begin select raise(abort, 'refused'); end");
        FakeShell main;
        ModalAnswerer answers;
        answers.strict();
        answers.button(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        if (confirm)
            answers.button(QMessageBox::Ok);
        MaintenanceActions::initialise(&main.window);
        QVERIFY(answers.waitDone());

        QCOMPARE(answers.seen()[0].title, QStringLiteral("数据初始化"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
        const bool done = confirm && !refuse;
        QCOMPARE(customers(db), done ? QStringList() : QStringList({"张三"}));
        QCOMPARE(Db::scalar(db, "select count(*) from 操作员").toInt(), done ? 1 : 2);
        if (!confirm) {
            QCOMPARE(answers.seen().size(), 1);
        } else if (refuse) {
            QCOMPARE(answers.seen()[1].icon, QMessageBox::NoIcon);
            QVERIFY(answers.seen()[1].text.contains("refused"));
        } else {
            QCOMPARE(answers.seen()[1].title, QStringLiteral("提示！"));
            QCOMPARE(answers.seen()[1].text, QStringLiteral("初始化成功！"));
            QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);
        }
    }

    void exitBackup_data()
    {
        QTest::addColumn<bool>("backupAllowed");
        QTest::addColumn<bool>("again");
        QTest::newRow("no further copy") << true << false;
        QTest::newRow("further copy offered") << true << true;
        QTest::newRow("further copy, item disabled") << false << true;
    }
    void exitBackup()
    {
        QFETCH(bool, backupAllowed);
        QFETCH(bool, again);
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QSqlDatabase db = folder.dm()->ADOConnection1();
        // A missing backup folder is made; a second exit the same day replaces the first copy.
        QVERIFY(QDir(folder.file("backup")).removeRecursively());
        FakeShell main;
        if (backupAllowed)
            main.enabledItems << QStringLiteral("N3");
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Cancel);
        MaintenanceActions::exitBackup(&main.window);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        addCustomer(db, "后来");
        answers.button(again ? QMessageBox::Ok : QMessageBox::Cancel);
        if (again && backupAllowed)
            answers.cancelFile();
        MaintenanceActions::exitBackup(&main.window);
        QVERIFY(answers.waitDone());

        const QString text
                = QStringLiteral("退出系统前软件已经自动进行数据备份！，备份文件名称为当前日期，"
                                 "备份文件存放地址为软件安装目录下的“backup”文件夹下。"
                                 "您还需要再次手动备份，以便保留备份文件副本吗？"
                                 "点击“确定”再次进行备份，点击“取消”不再次备份！");
        for (qsizetype i : {0, 1}) {
            QCOMPARE(answers.seen()[i].title, QStringLiteral("提示"));
            QCOMPARE(answers.seen()[i].text, text);
            QCOMPARE(answers.seen()[i].icon, QMessageBox::Question);
        }
        QCOMPARE(answers.seen().size(), again && backupAllowed ? 3 : 2);
        if (again && backupAllowed)
            QCOMPARE(answers.seen()[2].objectName, QStringLiteral("SaveDialog1"));
        QCOMPARE(QDir(folder.file("backup")).entryList(QDir::Files),
                 QStringList({today() + ".bak"}));
        QCOMPARE(customersIn(folder.file("backup/" + today() + ".bak")), QStringList({"后来"}));
    }

    void exitBackupFailureIsReportedAndAsksNothingMore()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        // A file where the backup folder should be.
        QVERIFY(QDir(folder.file("backup")).removeRecursively());
        QFile blocker(folder.file("backup"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        FakeShell main;
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        MaintenanceActions::exitBackup(&main.window);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("错误"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("备份数据失败，请重试！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
    }

    void helpOpensThePagesEachTime()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        MaintenanceActions::openHelp();
        MaintenanceActions::openHelp();
        QDesktopServices::unsetUrlHandler("file");
        const QUrl help = QUrl::fromLocalFile(folder.file("help.html"));
        QCOMPARE(recorder.urls, QList<QUrl>({help, help}));
    }

    // Every page the manual links to is shipped with it.
    void helpPagesLinkOnlyToShippedPages()
    {
        const QString start = QFINDTESTDATA("../../resources/help/help.html");
        QVERIFY(!start.isEmpty());
        const QDir dir = QFileInfo(start).dir();
        const QStringList pages = dir.entryList({"*.html"}, QDir::Files);
        QVERIFY(pages.size() > 1);
        static const QRegularExpression link(R"((?:href|src)="([^"#:]+)(?:#[^"]*)?")");
        QStringList reached;
        for (const QString &page : pages) {
            QFile f(dir.filePath(page));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(html.contains("charset=\"utf-8\"") || html.contains("charset=utf-8"),
                     qPrintable(page));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(dir.exists(target), qPrintable(page + " -> " + target));
                reached << target;
            }
        }
        // No page is an orphan.
        for (const QString &page : pages)
            QVERIFY2(page == "help.html" || reached.contains(page), qPrintable(page));
    }

    void aboutBoxIsOneReusedDialog()
    {
        Tguanyu *box = guanyu();
        QCOMPARE(guanyu(), box);
        QCOMPARE(box->windowTitle(), QStringLiteral("关于本系统"));
        QCOMPARE(box->findChild<QLabel *>("Label1")->text(), QStringLiteral("电脑公司Merrow"));
        QCOMPARE(box->findChild<QLabel *>("Label2")->text(), QStringLiteral("程序版本：4.69"));
        for (int round = 0; round < 2; ++round) {
            QTimer::singleShot(0, box, [box] {
                QTest::mouseClick(box->findChild<QPushButton *>("bitbtn1"), Qt::LeftButton);
            });
            QCOMPARE(box->exec(), int(QDialog::Accepted));
            QVERIFY(box->isHidden());
            QCOMPARE(guanyu(), box);
        }
    }
};

QTEST_MAIN(TestMaintenanceActions)
#include "tst_maintenanceactions.moc"
