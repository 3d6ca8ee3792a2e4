// The logged-in operator changes his own password.
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "access/xiugaimimafrm.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/session.h"
#include "data/tdm1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QLineEdit *edit(const QWidget *screen, const char *name)
{
    auto *field = screen->findChild<QLineEdit *>(QString::fromLatin1(name));
    if (!field)
        qFatal("no field %s", name);
    return field;
}
} // namespace

class TestPassword : public QObject
{
    Q_OBJECT
private slots:
    void change_data()
    {
        QTest::addColumn<QString>("oldTyped");
        QTest::addColumn<QString>("newTyped");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("nowMatches");
        QTest::newRow("as stored") << "Geheim7"
                                   << "Neu8"
                                   << "Neu8"
                                   << "提示！"
                                   << "修改成功！"
                                   << "Neu8";
        QTest::newRow("old in other Latin case") << "gEHEIM7"
                                                 << "Neu8"
                                                 << "Neu8"
                                                 << "提示！"
                                                 << "修改成功！"
                                                 << "neu8";
        QTest::newRow("to no password") << "Geheim7"
                                        << ""
                                        << ""
                                        << "提示！"
                                        << "修改成功！"
                                        << "";
        QTest::newRow("old wrong") << "Geheim8"
                                   << "Neu8"
                                   << "Neu8"
                                   << "错误！"
                                   << "旧密码不正确！"
                                   << "Geheim7";
        QTest::newRow("old empty") << ""
                                   << "Neu8"
                                   << "Neu8"
                                   << "错误！"
                                   << "旧密码不正确！"
                                   << "Geheim7";
        QTest::newRow("new ones differ") << "Geheim7"
                                         << "Neu8"
                                         << "neu8"
                                         << "错误！"
                                         << "两次密码不一致！"
                                         << "Geheim7";
    }
    void change()
    {
        QFETCH(QString, oldTyped);
        QFETCH(QString, newTyped);
        QFETCH(QString, repeated);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, nowMatches);
        TestFolder folder;
        QVERIFY(folder.isValid());
        OperatorStore store(folder.dm()->ADOConnection1());
        Operator op;
        op.number = "0002";
        store.insert(op, "Geheim7");
        Operator other;
        other.number = "0003";
        store.insert(other, "Geheim7");
        Session::current() = {"0002", "Geheim7"};

        Txiugaimima screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("修改密码"));
        QCOMPARE(edit(&screen, "Edit1")->text(), QStringLiteral("0002"));
        QVERIFY(!edit(&screen, "Edit1")->isEnabled());
        QTest::keyClicks(edit(&screen, "Edit2"), oldTyped);
        QTest::keyClicks(edit(&screen, "Edit3"), newTyped);
        QTest::keyClicks(edit(&screen, "Edit4"), repeated);

        ModalAnswerer answers;
        answers.button(QMessageBox::Ok);
        QTest::mouseClick(screen.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
        QVERIFY(answers.waitDone());
        QCOMPARE(answers.seen().size(), 1);
        QCOMPARE(answers.seen()[0].title, title);
        QCOMPARE(answers.seen()[0].text, message);
        QCOMPARE(answers.seen()[0].icon,
                 message == "修改成功！" ? QMessageBox::Information : QMessageBox::Critical);

        QVERIFY(Passwords::matches(store.find("0002")->passwordHash, nowMatches));
        QVERIFY(Passwords::matches(store.find("0003")->passwordHash, "Geheim7"));
        QCOMPARE(edit(&screen, "Edit2")->text(), oldTyped); // the fields keep their contents
        QCOMPARE(Session::current().password, QStringLiteral("Geheim7")); // the lock's is kept
    }
};

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
