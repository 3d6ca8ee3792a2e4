// The operator list, the add-operator screen and the modify-operator dialog, driven as a user.
#include "support/fakeshell.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "access/caozuorenyuanfrm.h"
#include "access/xinzengcaozuorenyuanfrm.h"
#include "access/xiugaicaozuoyuanfrm.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/tdm1.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {
template<typename T = QWidget>
T *control(const QWidget *screen, const char *name)
{
    T *w = screen->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QCheckBox *flagBox(const QWidget *screen, int flag)
{
    return control<QCheckBox>(screen, QStringLiteral("CheckBox%1").arg(flag).toLatin1());
}

QList<int> checkedFlags(const QWidget *screen)
{
    QList<int> on;
    for (int flag = 1; flag <= Operator::FlagCount; ++flag) {
        if (flagBox(screen, flag)->isChecked())
            on << flag;
    }
    return on;
}

QList<int> storedFlags(const Operator &op)
{
    QList<int> on;
    for (int flag = 1; flag <= Operator::FlagCount; ++flag) {
        if (op.flag(flag))
            on << flag;
    }
    return on;
}

void click(const QWidget *screen, const char *button)
{
    QTest::mouseClick(control<QPushButton>(screen, button), Qt::LeftButton);
}

void type(const QWidget *screen, const char *edit, const QString &text)
{
    auto *field = control<QLineEdit>(screen, edit);
    field->clear();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(field, QString(c));
        } else {
            // Chinese text arrives through the input method.
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QCoreApplication::sendEvent(field, &event);
        }
    }
    QCOMPARE(field->text(), text);
}

Operator makeOperator(const QString &number, const QString &name, std::initializer_list<int> flags)
{
    Operator op;
    op.number = number;
    op.name = name;
    for (int flag : flags)
        op.flags[size_t(flag - 1)] = true;
    return op;
}

OperatorStore store()
{
    return OperatorStore(DM1()->ADOConnection1());
}

void selectRow(QTableWidget *grid, const QString &number, bool doubleClick = false)
{
    const auto items = grid->findItems(number, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    const QPoint at = grid->visualItemRect(items.first()).center();
    // A double-click is the second click of a pair, as a user makes it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (doubleClick)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(grid->currentRow(), items.first()->row());
}

QStringList gridColumn(QTableWidget *grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, column)->text();
    return texts;
}
} // namespace

class TestOperatorScreens : public QObject
{
    Q_OBJECT
private slots:
    void addStoresChosenFlagsTrimmedNumberAndHashedPassword()
    {
        TestFolder folder;
        QVERIFY(folder.isValid());
        Txinzengcaozuorenyuan screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("新增操作人员"));
        type(&screen, "Edit1", "  0002 ");
        type(&screen, "Edit2", "张三");
        type(&screen, "Edit3", "Kasse1");
        type(&screen, "Edit4", "Kasse1");
        for (int flag : {3, 8, 17})
            QTest::mouseClick(flagBox(&screen, flag), Qt::LeftButton, {},
                              QPoint(6, flagBox(&screen, flag)->height() / 2));
        QCOMPARE(checkedFlags(&screen), QList<int>({3, 8, 17}));

        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        click(&screen, "BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, QStringLiteral("新增操作人员成功！"));
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Information);

        const auto op = store().find("0002");
        QVERIFY(op);
        QCOMPARE(op->name, QStringLiteral("张三"));
        QCOMPARE(storedFlags(*op), QList<int>({3, 8, 17}));
        QVERIFY(op->passwordHash != "Kasse1");
        QVERIFY(Passwords::matches(op->passwordHash, "Kasse1"));

        // The form is ready for the next operator.
        for (const char *edit : {"Edit1", "Edit2", "Edit3", "Edit4"})
            QVERIFY(control<QLineEdit>(&screen, edit)->text().isEmpty());
        QCOMPARE(checkedFlags(&screen), QList<int>());
    }

    void selectAllTogglesAndStoresEveryFlag()
    {
        TestFolder folder;
        Txinzengcaozuorenyuan screen;
        screen.show();
        auto *toggle = control<QPushButton>(&screen, "Button1");
        QCOMPARE(toggle->text(), QStringLiteral("全选"));
        click(&screen, "Button1");
        QCOMPARE(toggle->text(), QStringLiteral("全清"));
        QCOMPARE(checkedFlags(&screen).size(), Operator::FlagCount);
        type(&screen, "Edit1", "0002");

        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        click(&screen, "BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(storedFlags(*store().find("0002")).size(), Operator::FlagCount);
        QVERIFY(store().find("0002")->passwordHash.isEmpty()); // name and password may be empty
        QCOMPARE(toggle->text(), QStringLiteral("全清")); // the reset keeps the caption

        click(&screen, "Button1");
        QCOMPARE(toggle->text(), QStringLiteral("全选"));
        QCOMPARE(checkedFlags(&screen), QList<int>());
    }

    void addRefusesWithoutWriting_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("blank number")
                << "   "
                << "a"
                << "a"
                << "编号不能为空！" << QStringList {"Edit1"} << QStringList {"Edit3", "Edit4"};
        QTest::newRow("number in other case")
                << "ab01"
                << "a"
                << "a"
                << "此编号已经存在！" << QStringList {"Edit1"} << QStringList {"Edit3", "Edit4"};
        QTest::newRow("administrator")
                << "0001"
                << ""
                << ""
                << "此编号已经存在！" << QStringList {"Edit1"} << QStringList {};
        QTest::newRow("passwords differ")
                << "0002"
                << "Abc"
                << "abc"
                << "两次密码不一致！" << QStringList {"Edit3", "Edit4"} << QStringList {"Edit1"};
    }
    void addRefusesWithoutWriting()
    {
        QFETCH(QString, number);
        QFETCH(QString, password);
        QFETCH(QString, repeated);
        QFETCH(QString, message);
        QFETCH(QStringList, emptied);
        QFETCH(QStringList, kept);
        TestFolder folder;
        store().insert(makeOperator("AB01", "甲", {2}), QString());
        Txinzengcaozuorenyuan screen;
        screen.show();
        type(&screen, "Edit1", number);
        type(&screen, "Edit2", "乙");
        type(&screen, "Edit3", password);
        type(&screen, "Edit4", repeated);

        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        click(&screen, "BitBtn1");
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, message);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        for (const QString &edit : emptied)
            QVERIFY2(control<QLineEdit>(&screen, edit.toLatin1())->text().isEmpty(),
                     qPrintable(edit));
        for (const QString &edit : kept)
            QVERIFY2(!control<QLineEdit>(&screen, edit.toLatin1())->text().isEmpty(),
                     qPrintable(edit));

        const QList<Operator> all = store().all();
        QCOMPARE(all.size(), 2);
        QCOMPARE(store().find("AB01")->name, QStringLiteral("甲"));
    }

    void listShowsOperatorsAndDoubleClickShowsFlags()
    {
        TestFolder folder;
        store().insert(makeOperator("0002", "张三", {5, 12}), QString());
        Tcaozuorenyuan list;
        list.show();
        QCOMPARE(list.windowTitle(), QStringLiteral("操作人员管理"));
        auto *grid = control<QTableWidget>(&list, "AdvStringGrid1");
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("编号"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("姓名"));
        QCOMPARE(gridColumn(grid, 0), QStringList({"0001", "0002"}));
        QCOMPARE(gridColumn(grid, 1), QStringList({"系统管理员", "张三"}));
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(checkedFlags(&list).size(), Operator::FlagCount);

        selectRow(grid, "0002", true);
        QCOMPARE(checkedFlags(&list), QList<int>({5, 12}));

        // Ticking boxes in the list changes nothing stored.
        flagBox(&list, 1)->setChecked(true);
        QCOMPARE(storedFlags(*store().find("0002")), QList<int>({5, 12}));

        list.hide();
        list.show(); // shown again: read afresh, first row
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(checkedFlags(&list).size(), Operator::FlagCount);
    }

    void administratorIsProtected_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("modify") << QByteArray(
                "BitBtn2") << "对不起！系统管理员的信息不能修改！如要修改密码，请点击“密码修改”！";
        QTest::newRow("delete") << QByteArray("BitBtn3") << "对不起！系统管理员不能删除！";
    }
    void administratorIsProtected()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, message);
        TestFolder folder;
        Tcaozuorenyuan list;
        list.show();
        auto *grid = control<QTableWidget>(&list, "AdvStringGrid1");
        QCOMPARE(grid->rowCount(), 1); // even as the only row

        ModalAnswerer answers;
        answers.strict();
        answers.button(QMessageBox::Ok);
        click(&list, button.constData());
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[0].text, message);
        QCOMPARE(answers.seen()[0].icon, QMessageBox::Critical);
        const auto admin = store().find("0001");
        QVERIFY(admin);
        QCOMPARE(admin->name, QStringLiteral("系统管理员"));
        QCOMPARE(storedFlags(*admin).size(), Operator::FlagCount);
    }

    void deleteAsksFirst()
    {
        TestFolder folder;
        store().insert(makeOperator("0002", "张三", {}), QString());
        store().insert(makeOperator("0003", "李四", {}), QString());
        Tcaozuorenyuan list;
        list.show();
        auto *grid = control<QTableWidget>(&list, "AdvStringGrid1");

        selectRow(grid, "0002");
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Cancel);
            click(&list, "BitBtn3");
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 1);
            QCOMPARE(answers.seen()[0].title, QStringLiteral("删除记录"));
            QCOMPARE(answers.seen()[0].text, QStringLiteral("确实删除记录？该操作不可恢复！"));
            QCOMPARE(answers.seen()[0].icon, QMessageBox::Question);
            QCOMPARE(store().all().size(), 3);
        }
        selectRow(grid, "0002");
        {
            ModalAnswerer answers;
            answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
            click(&list, "BitBtn3");
            QVERIFY(answers.waitDone());
            QCOMPARE(answers.seen().size(), 2);
            QCOMPARE(answers.seen()[1].title, QStringLiteral("提示"));
            QCOMPARE(answers.seen()[1].text, QStringLiteral("删除操作人员成功！"));
            QCOMPARE(answers.seen()[1].icon, QMessageBox::Information);
        }
        QVERIFY(!store().find("0002"));
        QVERIFY(store().find("0003"));
        QCOMPARE(gridColumn(grid, 0), QStringList({"0001", "0003"}));
    }

    void modifyKeepsOrReplacesThePassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedPassword"); // what matches afterwards
        QTest::newRow("both empty keep it") << ""
                                            << ""
                                            << "修改操作人员成功！请牢记编号和密码！"
                                            << "alt";
        QTest::newRow("both equal replace it") << "Neu9"
                                               << "Neu9"
                                               << "修改操作人员成功！请牢记编号和密码！"
                                               << "neu9";
        QTest::newRow("only one typed") << ""
                                        << "Neu9"
                                        << "两次密码不一致！"
                                        << "alt";
        QTest::newRow("differ") << "Neu9"
                                << "neu9"
                                << "两次密码不一致！"
                                << "alt";
    }
    void modifyKeepsOrReplacesThePassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, repeated);
        QFETCH(QString, message);
        QFETCH(QString, storedPassword);
        const bool saves = message.startsWith(QStringLiteral("修改"));
        TestFolder folder;
        store().insert(makeOperator("0002", "张三", {2, 9}), "alt");
        Tcaozuorenyuan list;
        list.show();
        selectRow(control<QTableWidget>(&list, "AdvStringGrid1"), "0002");

        bool shownBlank = false;
        QString shownName;
        QList<int> shownFlags;
        bool readOnlyNumber = false;
        bool closedAfterSave = false;
        ModalAnswerer answers;
        answers.dialog([&](QWidget *dialog) {
            readOnlyNumber = control<QLineEdit>(dialog, "Edit1")->isReadOnly()
                    && control<QLineEdit>(dialog, "Edit1")->text() == "0002";
            shownName = control<QLineEdit>(dialog, "Edit2")->text();
            shownBlank = control<QLineEdit>(dialog, "Edit3")->text().isEmpty()
                    && control<QLineEdit>(dialog, "Edit4")->text().isEmpty();
            shownFlags = checkedFlags(dialog);
            type(dialog, "Edit2", "张三丰");
            type(dialog, "Edit3", password);
            type(dialog, "Edit4", repeated);
            flagBox(dialog, 2)->setChecked(false);
            flagBox(dialog, 16)->setChecked(true);
            click(dialog, "BitBtn1");
            closedAfterSave = !dialog->isVisible();
            if (dialog->isVisible()) {
                QVERIFY(control<QLineEdit>(dialog, "Edit3")->text().isEmpty());
                QVERIFY(control<QLineEdit>(dialog, "Edit4")->text().isEmpty());
                click(dialog, "BitBtn3");
            }
        });
        answers.button(QMessageBox::Ok);
        click(&list, "BitBtn2");
        QVERIFY(answers.waitDone());
        QVERIFY(readOnlyNumber);
        QVERIFY(shownBlank);
        QCOMPARE(shownName, QStringLiteral("张三"));
        QCOMPARE(shownFlags, QList<int>({2, 9}));
        QCOMPARE(closedAfterSave, saves);
        QCOMPARE(answers.seen().size(), 2);
        QCOMPARE(answers.seen()[0].title, QStringLiteral("修改操作人员"));
        QCOMPARE(answers.seen()[1].title, QStringLiteral("提示"));
        QCOMPARE(answers.seen()[1].text, message);
        QCOMPARE(answers.seen()[1].icon, saves ? QMessageBox::Information : QMessageBox::Critical);

        const auto op = store().find("0002");
        QVERIFY(Passwords::matches(op->passwordHash, storedPassword));
        QCOMPARE(op->name, saves ? QStringLiteral("张三丰") : QStringLiteral("张三"));
        QCOMPARE(storedFlags(*op), saves ? QList<int>({9, 16}) : QList<int>({2, 9}));
    }

    void newOpensTheAddScreenOnce()
    {
        TestFolder folder;
        Tcaozuorenyuan list;
        list.show();
        click(&list, "BitBtn1");
        click(&list, "BitBtn1");
        QList<QWidget *> screens;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<Txinzengcaozuorenyuan *>(w) && w->isVisible())
                screens << w;
        }
        QCOMPARE(screens.size(), 1);
        QCOMPARE(screens[0]->windowTitle(), QStringLiteral("新增操作人员"));
        screens[0]->close();

        // Inside a main window "新增" goes through its work area, found again by caption.
        FakeShell main;
        click(&list, "BitBtn1");
        click(&list, "BitBtn1");
        QCOMPARE(main.childCaptions, QStringList({"新增操作人员", "新增操作人员"}));
        const QList<QMdiSubWindow *> children = main.area->subWindowList();
        QCOMPARE(children.size(), 1);
        QVERIFY(qobject_cast<Txinzengcaozuorenyuan *>(children[0]->widget()));
    }

    void listInTheWorkAreaIsReadAgainWhenActivated()
    {
        TestFolder folder;
        QMdiArea area;
        area.resize(1000, 700);
        area.show();
        auto *list = new Tcaozuorenyuan;
        QMdiSubWindow *listFrame = area.addSubWindow(list);
        listFrame->show();
        QCOMPARE(listFrame->pos(), QPoint(250, 0));
        QMdiSubWindow *other = area.addSubWindow(new QWidget);
        other->show();
        area.setActiveSubWindow(other);

        store().insert(makeOperator("0002", "张三", {}), QString());
        auto *grid = control<QTableWidget>(list, "AdvStringGrid1");
        QCOMPARE(grid->rowCount(), 1); // a snapshot until the list is uncovered
        area.setActiveSubWindow(listFrame);
        QCOMPARE(gridColumn(grid, 0), QStringList({"0001", "0002"}));

        // "退出" takes the whole child window away, not just its contents.
        QPointer<QMdiSubWindow> frame(listFrame);
        click(list, "BitBtn4");
        QTRY_VERIFY(!frame);
        QCOMPARE(area.subWindowList(), QList<QMdiSubWindow *>({other}));
    }

    void modifyDialogIsOneReusedInstance()
    {
        QCOMPARE(xiugaicaozuoyuan(), xiugaicaozuoyuan());
        QCOMPARE(xiugaicaozuoyuan()->windowTitle(), QStringLiteral("修改操作人员"));
    }
};

QTEST_MAIN(TestOperatorScreens)
#include "tst_operatorsgui.moc"
