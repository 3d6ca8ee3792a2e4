// The login dialog: operator list, name look-up, the password rule, failed logins, flags.
#include "access/login.h"
#include "data/db.h"
#include "data/operatorstore.h"
#include "data/session.h"
#include "data/tdm1.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"
#include "support/typing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
void addOperator(const QString &number,
                 const QString &name,
                 const QString &password,
                 const QList<int> &flags = {})
{
    Operator op;
    op.number = number;
    op.name = name;
    for (int flag : flags)
        op.flags[size_t(flag - 1)] = true;
    OperatorStore(DM1()->ADOConnection1()).insert(op, password);
}

// The dialog shown (not modally, so the test keeps control) on a test folder.
struct LoginFixture
{
    TestFolder folder;
    Tloginform dialog;
    QList<ModalAnswerer::Seen> seen; // every box answered so far

    QComboBox *name() { return dialog.findChild<QComboBox *>("cbusername"); }
    QLineEdit *operatorName() { return dialog.findChild<QLineEdit *>("Edit1"); }
    QLineEdit *password() { return dialog.findChild<QLineEdit *>("edtpassword"); }
    QPushButton *enter() { return dialog.findChild<QPushButton *>("button1"); }

    bool show()
    {
        dialog.show();
        return QTest::qWaitForWindowActive(&dialog);
    }
    void typeName(const QString &text)
    {
        name()->setFocus();
        name()->lineEdit()->selectAll();
        typeText(name()->lineEdit(), text);
    }
    void typePassword(const QString &text)
    {
        password()->setFocus();
        password()->clear();
        typeText(password(), text);
    }
    // Runs `act`, answers OK to the `expected` boxes it brings up and returns their texts.
    // One answerer per action: two boxes shown one after the other from the same place can
    // share an address, and an answerer takes the second for the first.
    QStringList answer(const std::function<void()> &act, int expected = 1)
    {
        ModalAnswerer answers;
        act();
        const bool allShown
                = QTest::qWaitFor([&] { return answers.seen().size() >= expected; }, 2000);
        Q_UNUSED(allShown); // the caller compares what showed
        QStringList texts;
        for (const ModalAnswerer::Seen &box : answers.seen())
            texts << box.text;
        seen += answers.seen();
        // The window manager gives the dialog back its activation once a box has gone.
        if (dialog.isVisible() && !answers.seen().isEmpty()) {
            dialog.activateWindow();
            const bool active = QTest::qWaitForWindowActive(&dialog);
            Q_UNUSED(active);
        }
        return texts;
    }
    // Types both fields and clicks 进入; returns the texts of the boxes that showed.
    QStringList tryLogin(const QString &number, const QString &secret, int expected = 1)
    {
        return answer(
                [&] {
                    typeName(number);
                    typePassword(secret);
                    QTest::mouseClick(enter(), Qt::LeftButton);
                },
                expected);
    }
};
} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void listsOperatorsAndLooksUpTheirNames()
    {
        LoginFixture f;
        addOperator("O'Brien", "奥布莱恩", "");
        addOperator("' or '1'='1", "注入", "");
        QVERIFY(f.show());
        QStringList entries;
        for (int i = 0; i < f.name()->count(); ++i)
            entries << f.name()->itemText(i);
        QCOMPARE(entries, QStringList({"0001", "O'Brien", "' or '1'='1"}));
        QCOMPARE(f.name()->currentText(), QStringLiteral("0001"));
        QCOMPARE(f.operatorName()->text(), QStringLiteral("系统管理员"));
        QVERIFY(f.password()->text().isEmpty());
        QVERIFY(f.name()->hasFocus());

        // Typed text is looked up as the text it is.
        const QList<std::pair<QString, QString>> lookups {{"O'Brien", "奥布莱恩"},
                                                          {"' or '1'='1", "注入"},
                                                          {"' or 1=1 --", ""},
                                                          {"000", ""},
                                                          {"0001", "系统管理员"}};
        for (const auto &[typed, shown] : lookups) {
            QVERIFY(f.answer([&] { f.typeName(typed); }, 0).isEmpty());
            QCOMPARE(f.operatorName()->text(), shown);
            QVERIFY(f.name()->hasFocus()); // typing stays in the field
        }
        QCOMPARE(f.name()->count(), 3); // typing adds no entries
        QVERIFY(f.seen.isEmpty());
    }

    void passwordComparesLatinLettersWithoutCase_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same") << "Abc中文"
                              << "Abc中文" << true;
        QTest::newRow("latin case") << "Abc中文"
                                    << "aBC中文" << true;
        QTest::newRow("other chinese") << "Abc中文"
                                       << "Abc中午" << false;
        QTest::newRow("shorter") << "Abc中文"
                                 << "Abc中" << false;
        QTest::newRow("trailing blank") << "Abc中文"
                                        << "Abc中文 " << false;
        QTest::newRow("empty typed") << "Abc中文"
                                     << "" << false;
        QTest::newRow("accented case") << "Äpfel"
                                       << "äpfel" << false;
        QTest::newRow("fullwidth case") << "Ａb"
                                        << "ａb" << false;
        QTest::newRow("both empty") << ""
                                    << "" << true;
        QTest::newRow("typed for empty") << ""
                                         << "x" << false;
    }

    void passwordComparesLatinLettersWithoutCase()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        LoginFixture f;
        addOperator("0002", "张三", stored, {6, 17});
        QVERIFY(f.show());
        const QStringList boxes = f.tryLogin("0002", typed, accepted ? 0 : 1);
        if (accepted) {
            QVERIFY(boxes.isEmpty());
            QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
            QCOMPARE(f.dialog.OperatorNumber(), QStringLiteral("0002"));
            QCOMPARE(f.dialog.OperatorPassword(), typed); // as typed, not as stored
            QCOMPARE(Session::current().number, QStringLiteral("0002"));
            QCOMPARE(Session::current().password, typed);
            for (int flag = 1; flag <= 17; ++flag)
                QCOMPARE(f.dialog.grantedFlags()[size_t(flag - 1)], flag == 6 || flag == 17);
        } else {
            QCOMPARE(boxes, QStringList {"密码错误，请重新输入！"});
            QCOMPARE(f.seen.last().title, QStringLiteral("提示"));
            QCOMPARE(f.seen.last().icon, QMessageBox::Critical);
            QVERIFY(f.dialog.isVisible());
            QVERIFY(f.password()->text().isEmpty());
        }
    }

    void fifthWrongPasswordEnds()
    {
        LoginFixture f;
        addOperator("0002", "张三", "secret");
        QVERIFY(f.show());
        QSignalSpy finished(&f.dialog, &QDialog::finished);
        // Counted over all operators tried.
        const QStringList wrong {"0001", "0002", "0001", "0002"};
        for (const QString &number : wrong)
            QCOMPARE(f.tryLogin(number, "bad"), QStringList {"密码错误，请重新输入！"});
        QVERIFY(finished.isEmpty());
        QCOMPARE(f.tryLogin("0002", "bad"), QStringList {"密码错误超过五次，软件将被关闭！"});
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toInt(), int(QDialog::Rejected));
        QVERIFY(f.dialog.OperatorNumber().isEmpty());
    }

    void fourWrongThenRightLogsIn()
    {
        LoginFixture f;
        QVERIFY(f.show());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(f.tryLogin("0001", "x"), QStringList {"密码错误，请重新输入！"});
        // Enter in the password field logs in.
        QVERIFY(f.answer(
                         [&] {
                             f.typePassword("");
                             QTest::keyClick(f.password(), Qt::Key_Return);
                         },
                         0)
                        .isEmpty());
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.dialog.OperatorNumber(), QStringLiteral("0001"));
    }

    void unknownOperatorIsRefused()
    {
        LoginFixture f;
        addOperator("abc", "小李", "");
        QVERIFY(f.show());
        // Straight from the name to 进入: the button tells.
        QCOMPARE(f.answer([&] {
            f.typeName("9999");
            QTest::mouseClick(f.enter(), Qt::LeftButton);
        }),
                 QStringList {"不存在的用户！"});
        QCOMPARE(f.seen.last().title, QStringLiteral("提示"));
        QCOMPARE(f.seen.last().icon, QMessageBox::Critical);
        QCOMPARE(f.dialog.focusWidget(), f.name());
        QCOMPARE(f.name()->lineEdit()->selectedText(), QStringLiteral("9999"));

        // Leaving the field for the password tells at once and comes back.
        f.typeName("zzz");
        QCOMPARE(f.answer([&] { f.password()->setFocus(); }), QStringList {"不存在的用户！"});
        QCOMPARE(f.dialog.focusWidget(), f.name());

        // A number typed in another letter case is taken as the entry.
        QVERIFY(f.answer(
                         [&] {
                             f.typeName("ABC");
                             f.password()->setFocus();
                         },
                         0)
                        .isEmpty());
        QCOMPARE(f.name()->currentText(), QStringLiteral("abc"));
        QCOMPARE(f.operatorName()->text(), QStringLiteral("小李"));
        QVERIFY(f.tryLogin("ABC", "", 0).isEmpty());
        QCOMPARE(f.dialog.OperatorNumber(), QStringLiteral("abc"));
        QCOMPARE(f.seen.size(), 2);
    }

    void nobodyLogsInWithoutOperators()
    {
        LoginFixture f;
        Db::exec(DM1()->ADOConnection1(), "delete from 操作员");
        QVERIFY(f.show());
        QCOMPARE(f.name()->count(), 0);
        QCOMPARE(f.answer([&] { QTest::mouseClick(f.enter(), Qt::LeftButton); }),
                 QStringList {"不存在的用户！"});
        QSignalSpy finished(&f.dialog, &QDialog::finished);
        QTest::mouseClick(f.dialog.findChild<QPushButton *>("button2"), Qt::LeftButton);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toInt(), int(QDialog::Rejected));
    }

    void dialogLooksAsItShould()
    {
        LoginFixture f;
        QCOMPARE(f.dialog.objectName(), QStringLiteral("loginform"));
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("进入系统"));
        QCOMPARE(f.dialog.size(), QSize(284, 245));
        const QList<std::pair<const char *, QString>> labels {
                {"Label1", "操作员编号"},
                {"Label4", "操作员姓名"},
                {"Label2", "操作员密码"},
                {"Label3", "系统管理员初始密码为 空"}};
        for (const auto &[name, text] : labels)
            QCOMPARE(f.dialog.findChild<QLabel *>(name)->text(), text);
        QCOMPARE(f.enter()->text(), QStringLiteral("进入"));
        QCOMPARE(f.dialog.findChild<QPushButton *>("button2")->text(), QStringLiteral("退出"));
        QVERIFY(f.operatorName()->isReadOnly());
        QCOMPARE(f.password()->echoMode(), QLineEdit::Password);
        QVERIFY(f.dialog.findChild<QWidget *>("RzGroupBox1"));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
