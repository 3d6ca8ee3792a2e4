// The main window: start-up, menu and tool bar, permissions, child windows, exit.
#include "access/caozuorenyuanfrm.h"
#include "access/xinzengcaozuorenyuanfrm.h"
#include "app/mainfrm.h"
#include "app/screenregistry.h"
#include "data/session.h"
#include "data/settingsfile.h"
#include "maintenance/dayinshezhifrm.h"
#include "support/shellfixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const int GovernedItems = 17;

// Every flag-governed item, by flag.
QString itemOf(int flag)
{
    static const char *items[] = {"N2",  "N3",  "N12", "N6",  "N4",  "N32", "N33", "N10", "N26",
                                  "N28", "N30", "N34", "N38", "N39", "N5",  "N40", "N41"};
    return QString::fromLatin1(items[flag - 1]);
}

void writePicture(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, "JPG"));
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void adminLogsInToEveryItem()
    {
        ShellFixture shell;
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();
        QCOMPARE(MAIN(), main);
        QCOMPARE(main->objectName(), QStringLiteral("MAIN"));
        QVERIFY(main->isVisible());
        QCOMPARE(main->findChild<QLabel *>("RzStatusPane1")->text(),
                 QStringLiteral("当前用户为:0001"));
        QCOMPARE(Session::current().number, QStringLiteral("0001"));
        QCOMPARE(main->loginform()->OperatorNumber(), QStringLiteral("0001"));
        for (int flag = 1; flag <= GovernedItems; ++flag)
            QVERIFY2(main->menuItem(itemOf(flag))->isEnabled(), qPrintable(itemOf(flag)));
        // No myini.ini and no picture: defaults, and the labels alone.
        QCOMPARE(main->windowTitle(), QStringLiteral("Fenwick电脑公司MerrowV4.69"));
        QCOMPARE(main->findChild<QLabel *>("Label1")->text(), QStringLiteral("Fenwick电脑公司"));
        QCOMPARE(main->findChild<QLabel *>("Label2")->text(), QStringLiteral("Merrow"));
        QVERIFY(main->findChild<QLabel *>("Label1")->isVisible());
        QVERIFY(!main->hasBackgroundPicture());
        QCOMPARE(main->slogan(), QString());
        QVERIFY(!QFile::exists(shell.folder.file("myini.ini")));
    }

    void menuItemsHaveTheirCaptionsAndPlaces_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("N1") << "N1"
                            << "系统设置"
                            << QStringList {"N2", "N11", "N7", "N3", "N12", "N6", "N4", "N27", "N8"}
                            << QStringList {"操作人员及权限设置",
                                            "修改操作人员密码",
                                            "店铺名称设置",
                                            "数据备份",
                                            "数据恢复",
                                            "历史数据清除",
                                            "数据初始化",
                                            "",
                                            "退出系统"};
        QTest::newRow("N31") << "N31"
                             << "基本设置" << QStringList {"N32", "N33", "N41"}
                             << QStringList {"客户资料设置", "维修项目设置", "乡镇、村庄设置"};
        QTest::newRow("N9") << "N9"
                            << "日常操作" << QStringList {"N10", "N38", "N26", "N39", "N28"}
                            << QStringList {"定购（销售）记录录入", "订购（销售）记录修改",
                                            "维修记录录入", "维修记录修改", "补收欠款"};
        QTest::newRow("N29") << "N29"
                             << "报表查询" << QStringList {"N30", "N34", "N5", "N40"}
                             << QStringList {"客户全部历史信息查询", "查询客户交款记录",
                                             "一日销售、维修及帐款情况一览",
                                             "销售、维修及帐款数据汇总"};
        QTest::newRow("N35") << "N35"
                             << "系统帮助" << QStringList {"N36", "N37"}
                             << QStringList {"帮助主题", "关于"};
    }

    void menuItemsHaveTheirCaptionsAndPlaces()
    {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        TMAIN main;
        auto *m = main.findChild<QMenu *>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), menuCaption);
        QStringList names, texts;
        for (QAction *a : m->actions()) {
            names << a->objectName();
            texts << (a->isSeparator() ? QString() : a->text());
        }
        QCOMPARE(names, items);
        QCOMPARE(texts, captions);
    }

    void toolBarButtonsInOrder()
    {
        TMAIN main;
        auto *bar = main.findChild<QToolBar *>("RzToolbar1");
        QVERIFY(bar);
        QStringList order;
        for (QAction *a : bar->actions()) {
            if (a->isSeparator()) {
                order << "|";
            } else if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a))) {
                order << b->objectName() + '=' + b->text() + '/' + b->toolTip();
                QVERIFY(!b->icon().isNull());
            }
        }
        QCOMPARE(order,
                 QStringList({"RzToolButton1=客户资料设置/客户资料的设置",
                              "RzToolButton2=维修项目设置/维修项目的设置", "|",
                              "RzToolButton3=定购(销售）记录录入/录入销售的记录",
                              "RzToolButton4=维修记录录入/录入维修的记录",
                              "RzToolButton5=补收欠款/补收历史上所有的欠款", "|",
                              "RzToolButton6=客户信息查询/查询客户的所有信息", "|",
                              "RzToolButton7=系统帮助/", "|",
                              "RzToolButton8=暂时离开/暂时离开而不关闭软件",
                              "RzToolButton9=退出/"}));
    }

    void flagsEnableExactlyTheirItemsAndButtons_data()
    {
        QTest::addColumn<QList<int>>("flags");
        QTest::newRow("only 17") << QList<int> {17};
        QTest::newRow("all but 6")
                << QList<int> {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
        QTest::newRow("none") << QList<int> {};
    }

    void flagsEnableExactlyTheirItemsAndButtons()
    {
        QFETCH(QList<int>, flags);
        ShellFixture shell;
        StartUp::addOperator("0005", "王五", "pw", flags);
        QVERIFY(shell.start("0005", "pw"));
        TMAIN *main = shell.main.get();
        QCOMPARE(main->findChild<QLabel *>("RzStatusPane1")->text(),
                 QStringLiteral("当前用户为:0005"));
        for (int flag = 1; flag <= GovernedItems; ++flag)
            QCOMPARE(main->menuItem(itemOf(flag))->isEnabled(), flags.contains(flag));
        const QList<std::pair<int, int>> buttons {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 10}, {6, 11}};
        for (auto [button, flag] : buttons)
            QCOMPARE(main->toolButton(QStringLiteral("RzToolButton%1").arg(button))->isEnabled(),
                     flags.contains(flag));
        for (const char *always : {"N11", "N7", "N8", "N36", "N37"})
            QVERIFY(main->menuItem(always)->isEnabled());
        for (int button : {7, 8, 9})
            QVERIFY(main->toolButton(QStringLiteral("RzToolButton%1").arg(button))->isEnabled());
    }

    void childWindowIsOpenedOnceAndBroughtBack()
    {
        int made = 0;
        ScreenRegistry::registerChild("N32", [&made] {
            ++made;
            return new QWidget;
        });
        ScreenRegistry::registerChild("N33", [] { return new QWidget; });
        ShellFixture shell;
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();

        main->clickItem("N32");
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
        QMdiSubWindow *customers = main->mdiArea()->subWindowList().first();
        QCOMPARE(customers->windowTitle(), QStringLiteral("客户档案"));
        QVERIFY(!main->ActivateChild("客户资料设置")); // the menu caption is no key
        QVERIFY(!main->ActivateChild("客户档"));

        // The tool button is the same item; a minimised window comes back, no second one.
        customers->showMinimized();
        QVERIFY(customers->isMinimized());
        main->clickItem("N33");
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
        QTest::mouseClick(main->toolButton("RzToolButton1"), Qt::LeftButton);
        QCOMPARE(made, 1);
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
        QVERIFY(!customers->isMinimized());
        QCOMPARE(main->mdiArea()->activeSubWindow(), customers);

        // Closed windows are gone; the next choice makes a new one.
        customers->close();
        QTRY_COMPARE(main->mdiArea()->subWindowList().size(), 1);
        main->clickItem("N32");
        QCOMPARE(made, 2);

        // A screen that closes itself (its own "退出") takes its frame with it: no empty frame
        // stays behind under its caption.
        QPointer<QWidget> screen = main->mdiArea()->subWindowList().last()->widget();
        QVERIFY(screen);
        screen->close();
        QTRY_VERIFY(!main->child("客户档案"));
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(!main->ActivateChild("客户档案"));
        main->clickItem("N32");
        QCOMPARE(made, 3);

        // A disabled item does nothing, through the menu or its button.
        main->applyPermissions({});
        main->child("客户档案")->close();
        QTRY_VERIFY(!main->child("客户档案"));
        main->clickItem("N32");
        QTest::mouseClick(main->toolButton("RzToolButton1"), Qt::LeftButton);
        QCOMPARE(made, 3);

        // An item whose screen is not there yet is skipped quietly.
        main->applyPermissions([] {
            std::array<bool, 17> all;
            all.fill(true);
            return all;
        }());
        main->clickItem("N40");
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(shell.answers.seen().size() == 1); // only the login dialog
        ScreenRegistry::registerChild("N32", {});
        ScreenRegistry::registerChild("N33", {});
    }

    // A frame sized from the screen's hint cut the customer list's grid to a third of its
    // columns; the frame keeps the size and place the screen was laid out at.
    void childWindowKeepsItsDesignedSizeAndPlace()
    {
        ScreenRegistry::registerChild("N32", [] {
            auto *screen = new QWidget;
            auto *layout = new QVBoxLayout(screen);
            layout->addWidget(new QLineEdit(screen));
            screen->resize(1020, 604);
            screen->move(300, 0);
            return screen;
        });
        ShellFixture shell;
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();
        main->resize(1280, 800);

        main->clickItem("N32");
        QMdiSubWindow *frame = main->child("客户档案");
        QVERIFY(frame);
        QCOMPARE(frame->size(), QSize(1020, 604));
        QCOMPARE(frame->pos(), QPoint(300, 0));
        QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
        ScreenRegistry::registerChild("N32", {});
    }

    void handlersRunWithTheMainWindow()
    {
        QStringList ran;
        for (const char *name : {"N3", "N12", "N4", "N36", "N37", "RzToolButton8"})
            ScreenRegistry::registerAction(name, [&ran, name](QWidget *main) {
                QCOMPARE(main, MAIN());
                ran << name;
            });
        ShellFixture shell;
        QVERIFY(shell.start());
        for (const char *item : {"N3", "N12", "N4", "N36", "N37"})
            shell.main->clickItem(item);
        QTest::mouseClick(shell.main->toolButton("RzToolButton7"), Qt::LeftButton);
        QTest::mouseClick(shell.main->toolButton("RzToolButton8"), Qt::LeftButton);
        QCOMPARE(ran, QStringList({"N3", "N12", "N4", "N36", "N37", "N36", "RzToolButton8"}));
        for (const char *name : {"N3", "N12", "N4", "N36", "N37", "RzToolButton8"})
            ScreenRegistry::registerAction(name, {});
    }

    void exitAsksAndCancelKeepsEverything_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu") << "N8";
        QTest::newRow("tool button") << "RzToolButton9";
        QTest::newRow("close box") << "close";
    }

    void exitAsksAndCancelKeepsEverything()
    {
        QFETCH(QString, way);
        int backups = 0;
        ScreenRegistry::registerAction("ExitBackup", [&backups](QWidget *) { ++backups; });
        ScreenRegistry::registerChild("N41", [] { return new QWidget; });
        ShellFixture shell;
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();
        main->clickItem("N41");
        auto leave = [&] {
            if (way == "N8")
                main->clickItem("N8");
            else if (way == "close")
                main->close();
            else
                QTest::mouseClick(main->toolButton(way), Qt::LeftButton);
        };

        ModalAnswerer &ask = shell.answers;
        ask.strict();
        ask.button(QMessageBox::Cancel);
        leave();
        QVERIFY(ask.waitDone());
        QCOMPARE(ask.seen().size(), 2); // the login dialog, then the question
        const ModalAnswerer::Seen asked = ask.seen().last();
        QCOMPARE(asked.title, QStringLiteral("系统提示"));
        QCOMPARE(asked.text, QStringLiteral("确实要退出本系统吗？"));
        QCOMPARE(asked.icon, QMessageBox::Question);
        QVERIFY(main->isVisible());
        QVERIFY(main->child("乡镇、村庄设置"));
        QCOMPARE(backups, 0);

        ask.button(QMessageBox::Ok);
        leave();
        QVERIFY(ask.waitDone());
        QCOMPARE(ask.seen().size(), 3);
        QCOMPARE(ask.seen().last().text, QStringLiteral("确实要退出本系统吗？"));
        QVERIFY(!main->isVisible());
        QCOMPARE(backups, 1);
        ScreenRegistry::registerAction("ExitBackup", {});
        ScreenRegistry::registerChild("N41", {});
    }

    void shopSettingsShowInCaptionLabelAndBackground_data()
    {
        QTest::addColumn<QString>("ini"); // %1 is the program folder
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("slogan");
        QTest::addColumn<bool>("picture");
        QTest::newRow("all set")
                << "[程序参数]\n店铺名称=星光电脑\n广告语=诚信为本\n背景=%1/pics/a.jpg\n"
                << "星光电脑MerrowV4.69"
                << "诚信为本" << true;
        QTest::newRow("empty background is the default") << "[程序参数]\n店铺名称=\n背景=\n"
                                                         << "MerrowV4.69"
                                                         << "" << true;
        QTest::newRow("missing picture") << "[程序参数]\n背景=%1/pics/none.jpg\n"
                                         << "Fenwick电脑公司MerrowV4.69"
                                         << "" << false;
        QTest::newRow("not a picture") << "[程序参数]\n背景=%1/myini.ini\n"
                                       << "Fenwick电脑公司MerrowV4.69"
                                       << "" << false;
    }

    void shopSettingsShowInCaptionLabelAndBackground()
    {
        QFETCH(QString, ini);
        QFETCH(QString, caption);
        QFETCH(QString, slogan);
        QFETCH(bool, picture);
        ShellFixture shell;
        writePicture(shell.folder.file("pics/a.jpg"));
        writePicture(shell.folder.file("image/001.jpg"));
        QFile file(shell.folder.file("myini.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QStringEncoder gbk("GB18030");
        file.write(QByteArray(gbk(ini.arg(shell.folder.path()))));
        file.close();

        QVERIFY(shell.start());
        QCOMPARE(shell.main->windowTitle(), caption);
        QCOMPARE(shell.main->findChild<QLabel *>("Label1")->text(),
                 caption.chopped(QStringLiteral("MerrowV4.69").size()));
        QCOMPARE(shell.main->slogan(), slogan);
        QCOMPARE(shell.main->hasBackgroundPicture(), picture);
        QVERIFY(shell.main->findChild<QLabel *>("Label2")->isVisible());

        // A change of the settings shows at once.
        QVERIFY(SettingsFile::programSettings().write("店铺名称", "新店"));
        shell.main->applyShopSettings();
        QCOMPARE(shell.main->windowTitle(), QStringLiteral("新店MerrowV4.69"));
    }

    // The screens reach this window through its Shell: the shop settings, the operator list's
    // "新增" and the exit backup's look at "数据备份".
    void screensReachTheMainWindow()
    {
        ScreenRegistry::registerChild("N7", [] { return new Tdayinshezhi; });
        ScreenRegistry::registerChild("N2", [] { return new Tcaozuorenyuan; });
        ShellFixture shell;
        writePicture(shell.folder.file("pics/shop.jpg"));
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();
        QCOMPARE(::shell(), static_cast<Shell *>(main));
        QVERIFY(main->isItemEnabled("N3"));
        QVERIFY(main->isItemEnabled("N7")); // no flag governs it
        QVERIFY(!main->isItemEnabled("N99"));

        main->clickItem("N7");
        QWidget *settings = main->child("店铺名称设置")->widget();
        auto *picture = settings->findChild<QLineEdit *>("Edit4");
        ModalAnswerer &answers = shell.answers;
        answers.strict();
        answers.file(shell.folder.file("pics/shop.jpg"));
        QTest::mouseClick(settings->findChild<QPushButton *>("Button1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QVERIFY(main->hasBackgroundPicture());
        // An empty path shows no picture, even though the default one is there.
        writePicture(shell.folder.file("image/001.jpg"));
        picture->clear();
        answers.cancelFile();
        QTest::mouseClick(settings->findChild<QPushButton *>("Button1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QVERIFY(!main->hasBackgroundPicture());

        settings->findChild<QLineEdit *>("Edit1")->setText("新店");
        settings->findChild<QLineEdit *>("Edit2")->setText("新年大促销");
        answers.button(QMessageBox::Ok);
        QTest::mouseClick(settings->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(main->findChild<QLabel *>("Label1")->text(), QStringLiteral("新店"));
        QCOMPARE(main->slogan(), QStringLiteral("新年大促销"));
        QCOMPARE(main->windowTitle(), QStringLiteral("新店MerrowV4.69"));

        main->clickItem("N2");
        QWidget *operators = main->child("操作人员设置")->widget();
        for (int round = 0; round < 2; ++round)
            QTest::mouseClick(operators->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QMdiSubWindow *add = main->child("新增操作人员");
        QVERIFY(add);
        QVERIFY(qobject_cast<Txinzengcaozuorenyuan *>(add->widget()));
        QCOMPARE(main->mdiArea()->subWindowList().size(), 3);
        QCOMPARE(main->mdiArea()->activeSubWindow(), add);

        main->closeAllChildren();
        QTRY_VERIFY(main->mdiArea()->subWindowList().isEmpty());
        main->applyPermissions({});
        QVERIFY(!main->isItemEnabled("N3"));
        ScreenRegistry::registerChild("N7", {});
        ScreenRegistry::registerChild("N2", {});
    }

    void labelsAreCentredOnTheWindow()
    {
        ShellFixture shell;
        QVERIFY(shell.start());
        TMAIN *main = shell.main.get();
        main->showNormal();
        main->resize(1022, 736);
        QTest::qWait(0);
        const QSize outer = main->frameGeometry().size();
        auto *label1 = main->findChild<QLabel *>("Label1");
        auto *label2 = main->findChild<QLabel *>("Label2");
        QCOMPARE(label1->size(), QSize(1025, 65));
        QCOMPARE(label2->size(), QSize(1017, 65));
        QCOMPARE(label1->mapTo(main, QPoint(0, 0)),
                 QPoint((outer.width() - 1025) / 2, (outer.height() - 4 * 65) / 2));
        QCOMPARE(label2->mapTo(main, QPoint(0, 0)),
                 QPoint((outer.width() - 1017) / 2, (outer.height() - 65) / 2));
    }

    void unusableDatabaseIsRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("missing") << "missing";
        QTest::newRow("not a database") << "text";
        QTest::newRow("missing column") << "column";
    }

    void unusableDatabaseIsRefused()
    {
        QFETCH(QString, damage);
        ShellFixture shell;
        const QString path = shell.folder.databaseFile();
        if (damage == "column")
            QSqlQuery(DM1()->ADOConnection1()).exec("alter table 操作员 drop column 姓名");
        DM1()->close();
        if (damage != "column")
            QVERIFY(QFile::remove(path));
        if (damage == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[程序参数]\nnot a database at all, only some text\n");
        }

        ModalAnswerer &answers = shell.answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        QVERIFY(!shell.main->start());
        QCOMPARE(answers.seen().size(), 1); // no login dialog
        QCOMPARE(answers.seen()[0].title, QStringLiteral("错误"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("无法连接到指定的数据库！请重试！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QVERIFY(!shell.main->isVisible());
        QCOMPARE(QFile::exists(path), damage != "missing"); // nothing made in its place
    }

    void leavingTheLoginEndsBeforeTheWindowShows()
    {
        ShellFixture shell;
        shell.answers.dialog([](QWidget *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>("button2"), Qt::LeftButton);
        });
        QVERIFY(!shell.main->start());
        QVERIFY(!shell.main->isVisible());
        QCOMPARE(shell.answers.seen().size(), 1);
        QCOMPARE(shell.answers.seen()[0].objectName, QStringLiteral("loginform"));
        QCOMPARE(shell.answers.seen()[0].title, QStringLiteral("进入系统"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
