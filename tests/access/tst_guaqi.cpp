// The temporary lock: only the password typed at login locks and wakes the program.
#include "support/modalanswerer.h"
#include "support/testfolder.h"

#include "access/guaqi1.h"
#include "data/operatorstore.h"
#include "data/session.h"
#include "data/tdm1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

namespace {
QPushButton *button(const QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

QLineEdit *field(const QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("Edit1"));
}

// Types `password` and presses the button (or Enter); returns the message boxes shown.
QList<ModalAnswerer::Seen> attempt(QWidget *dialog, const QString &password, const char *press)
{
    ModalAnswerer answers;
    answers.button(QMessageBox::Ok);
    field(dialog)->clear();
    QTest::keyClicks(field(dialog), password);
    if (press)
        QTest::mouseClick(button(dialog, press), Qt::LeftButton);
    else
        QTest::keyClick(field(dialog), Qt::Key_Return);
    answers.waitDone(2000);
    // The answerer also meets the lock itself, the open modal window; its reject is refused.
    QList<ModalAnswerer::Seen> boxes;
    for (const ModalAnswerer::Seen &seen : answers.seen()) {
        if (seen.kind == QStringLiteral("QMessageBox"))
            boxes << seen;
    }
    return boxes;
}

void expectWrongPassword(const QList<ModalAnswerer::Seen> &seen)
{
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].title, QStringLiteral("提示"));
    QCOMPARE(seen[0].text, QStringLiteral("对不起，密码错误！"));
    QCOMPARE(seen[0].icon, QMessageBox::Critical);
}
} // namespace

class TestGuaqi : public QObject
{
    Q_OBJECT
private slots:
    void locksAndWakesOnlyWithTheLoginPassword_data()
    {
        QTest::addColumn<QString>("loginPassword");
        QTest::addColumn<QString>("wrong");
        QTest::addColumn<QByteArray>("wakeWith"); // button name, empty for Enter
        QTest::newRow("case differs") << "Kasse1"
                                      << "kasse1" << QByteArray("BitBtn3");
        QTest::newRow("empty password") << ""
                                        << "x" << QByteArray("BitBtn3");
        QTest::newRow("enter wakes") << "Kasse1"
                                     << "" << QByteArray();
    }
    void locksAndWakesOnlyWithTheLoginPassword()
    {
        QFETCH(QString, loginPassword);
        QFETCH(QString, wrong);
        QFETCH(QByteArray, wakeWith);
        TestFolder folder;
        // The stored password changed after login: the lock still wants the one typed then.
        Operator op;
        op.number = "0002";
        OperatorStore(folder.dm()->ADOConnection1()).insert(op, "changed");
        Session::current() = {"0002", loginPassword};

        QMainWindow main;
        main.show();
        Tguaqi dialog(&main);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("暂时离开"));
        QVERIFY(!button(&dialog, "BitBtn3")->isVisible());

        expectWrongPassword(attempt(&dialog, wrong, "BitBtn1"));
        QVERIFY(!dialog.isLocked());
        expectWrongPassword(attempt(&dialog, "changed", "BitBtn1"));
        QVERIFY(!dialog.isLocked());

        QVERIFY(attempt(&dialog, loginPassword, "BitBtn1").isEmpty());
        QVERIFY(dialog.isLocked());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("唤醒系统"));
        QCOMPARE(dialog.findChild<QGroupBox *>("GroupBox1")->title(), QStringLiteral("唤醒系统"));
        QVERIFY(!button(&dialog, "BitBtn1")->isVisible());
        QVERIFY(!button(&dialog, "BitBtn2")->isVisible());
        QVERIFY(button(&dialog, "BitBtn3")->isVisible());
        QVERIFY(field(&dialog)->text().isEmpty());

        // No way out but the password: Escape, a close request, wrong passwords (uncounted).
        QTest::keyClick(field(&dialog), Qt::Key_Escape);
        QVERIFY(!dialog.close());
        for (int i = 0; i < 6; ++i)
            expectWrongPassword(attempt(&dialog, wrong + "?", "BitBtn3"));
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isLocked());
        QCOMPARE(QApplication::activeModalWidget(), &dialog);

        const auto seen = attempt(&dialog, loginPassword, wakeWith.isEmpty() ? nullptr : "BitBtn3");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QStringLiteral("提示"));
        QCOMPARE(seen[0].text, QStringLiteral("系统已被成功唤醒！"));
        QCOMPARE(seen[0].icon, QMessageBox::Information);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void cancelClosesUnlocked()
    {
        Session::current() = {"0001", "pw"};
        Tguaqi dialog;
        dialog.show();
        QTest::keyClick(field(&dialog), Qt::Key_Escape);
        QVERIFY(dialog.isVisible()); // only the dialog's own buttons end it
        QTest::mouseClick(button(&dialog, "BitBtn2"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isLocked());
    }
};

QTEST_MAIN(TestGuaqi)
#include "tst_guaqi.moc"
