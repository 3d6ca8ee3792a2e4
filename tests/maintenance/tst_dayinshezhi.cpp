// The shop settings screen: what it writes to myini.ini and what it changes on the main window.
#include "data/settingsfile.h"
#include "maintenance/dayinshezhifrm.h"
#include "support/fakeshell.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "support/typing.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString Missing = QStringLiteral("<missing>");

// The screen open in the work area of a stand-in main window.
struct OpenScreen
{
    FakeShell main;
    Tdayinshezhi *screen = new Tdayinshezhi;

    OpenScreen() { main.addChild(screen, QStringLiteral("店铺名称设置")); }
    QLineEdit *edit(const char *name) const { return screen->findChild<QLineEdit *>(name); }
    void click(const char *name) const
    {
        QTest::mouseClick(screen->findChild<QPushButton *>(name), Qt::LeftButton);
    }
};

QString setting(const char *key)
{
    return SettingsFile::programSettings().read(QString::fromUtf8(key), Missing);
}

} // namespace

class TestDayinshezhi : public QObject
{
    Q_OBJECT
private slots:
    void firstSaveWritesEveryKeyAndUpdatesTheMainWindow()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        OpenScreen shell;
        QCOMPARE(shell.screen->windowTitle(), QStringLiteral("小票打印设置"));
        QCOMPARE(shell.main.area->subWindowList().at(0)->pos(), QPoint(330, 0));
        QCOMPARE(shell.edit("Edit1")->text(), QString());
        QVERIFY(!shell.screen->findChild<QWidget *>("ComboBox1")->isVisible());
        QVERIFY(!shell.screen->findChild<QWidget *>("Memo1")->isVisible());

        typeText(shell.edit("Edit1"), QStringLiteral("Fenwick新店"));
        typeText(shell.edit("Edit2"), QStringLiteral("新年大促销"));
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        shell.click("BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("保存成功！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Information);

        QCOMPARE(setting("打印端口"), QStringLiteral("lpt1"));
        QCOMPARE(setting("小票尾"), QStringLiteral("欢迎您再次光临！"));
        QCOMPARE(setting("店铺名称"), QStringLiteral("Fenwick新店"));
        QCOMPARE(setting("广告语"), QStringLiteral("新年大促销"));
        QCOMPARE(setting("背景"), QString());
        // The main window takes them up from the file just written.
        QCOMPARE(shell.main.shopNamesApplied, QStringList({"Fenwick新店"}));
        QCOMPARE(shell.main.slogansApplied, QStringList({"新年大促销"}));
        QVERIFY(shell.main.backgrounds.isEmpty());
    }

    void hiddenPrinterSettingsAreCarriedThrough()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const SettingsFile settings = SettingsFile::programSettings();
        settings.write("打印端口", "lpt3");
        settings.write("小票尾", "谢谢惠顾");
        settings.write("店铺名称", "老店");
        settings.write("背景", "/pictures/shop.jpg");
        OpenScreen shell;
        QCOMPARE(shell.edit("Edit1")->text(), QStringLiteral("老店"));
        QCOMPARE(shell.edit("Edit4")->text(), QStringLiteral("/pictures/shop.jpg"));
        // An empty shop name is written as empty, not replaced by a default.
        shell.edit("Edit1")->clear();
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        shell.click("BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(setting("打印端口"), QStringLiteral("lpt3"));
        QCOMPARE(setting("小票尾"), QStringLiteral("谢谢惠顾"));
        QCOMPARE(setting("店铺名称"), QString());
        QCOMPARE(setting("背景"), QStringLiteral("/pictures/shop.jpg"));

        // A footer on several lines is stored as one.
        shell.screen->findChild<QPlainTextEdit *>("Memo1")->setPlainText("欢迎\n再次\n光临");
        answers.button(QMessageBox::Ok);
        shell.click("BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(setting("小票尾"), QStringLiteral("欢迎再次光临"));
    }

    void saveRefusedOrFailed_data()
    {
        QTest::addColumn<bool>("emptyPort");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty printer port") << true << "信息不完整！";
        QTest::newRow("settings file cannot be written") << false << "保存失败！";
    }
    void saveRefusedOrFailed()
    {
        QFETCH(bool, emptyPort);
        QFETCH(QString, text);
        TestFolder folder;
        QVERIFY(folder.isValid());
        if (emptyPort)
            QVERIFY(SettingsFile::programSettings().write("打印端口", ""));
        else
            QVERIFY(QDir(folder.path()).mkdir("myini.ini")); // a folder where the file belongs
        OpenScreen shell;
        typeText(shell.edit("Edit1"), QStringLiteral("新名称"));
        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        shell.click("BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, text);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(setting("店铺名称"), Missing);
        QVERIFY(shell.main.shopNamesApplied.isEmpty());
    }

    // "退出" closes the whole child window, not only the screen inside it, and a moved window
    // is not put back when it shows again.
    void exitClosesTheChildWindow()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        OpenScreen shell;
        QMdiSubWindow *child = shell.main.area->subWindowList().at(0);
        child->move(20, 40);
        child->hide();
        child->show();
        QCOMPARE(child->pos(), QPoint(20, 40));
        shell.click("BitBtn2");
        QTRY_VERIFY(shell.main.area->subWindowList().isEmpty());
    }

    void choosingAPictureAppliesItAtOnce()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        const QString picture = folder.file("image/shop.png");
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        OpenScreen shell;

        ModalAnswerer answers;
        answers.strict();
        answers.file(picture);
        shell.click("Button1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen()[0].objectName, QStringLiteral("OpenDialog2"));
        QCOMPARE(shell.edit("Edit4")->text(), picture);
        QCOMPARE(setting("背景"), picture);
        QCOMPARE(shell.main.backgrounds, QStringList({picture}));

        // Cancelling with an empty field stores the empty path and shows no picture.
        shell.edit("Edit4")->clear();
        answers.cancelFile();
        shell.click("Button1");
        QVERIFY(answers.waitDone());
        QCOMPARE(setting("背景"), QString());
        QCOMPARE(shell.main.backgrounds, QStringList({picture, QString()}));
        QVERIFY(shell.main.shopNamesApplied.isEmpty()); // the other settings wait for "保存"
    }
};

QTEST_MAIN(TestDayinshezhi)
#include "tst_dayinshezhi.moc"
