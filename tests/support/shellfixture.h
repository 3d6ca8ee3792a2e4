#pragma once

// Starting the real main window and logging in through the real dialog, for the tests of
// any screen that opens inside it. Header-only: the support library does not link the
// application; a test that includes this links merrow_app.

#include "access/login.h"
#include "app/mainfrm.h"
#include "data/operatorstore.h"
#include "data/tdm1.h"
#include "support/modalanswerer.h"
#include "support/testfolder.h"
#include "support/typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace StartUp {

// Types `number` into the operator field and `password` into the password field of the
// login dialog `dialog`, then clicks "进入".
inline void typeLogin(QWidget *dialog, const QString &number, const QString &password)
{
    auto *name = dialog->findChild<QComboBox *>(QStringLiteral("cbusername"));
    auto *secret = dialog->findChild<QLineEdit *>(QStringLiteral("edtpassword"));
    auto *enter = dialog->findChild<QPushButton *>(QStringLiteral("button1"));
    if (!name || !secret || !enter)
        return;
    name->setFocus();
    name->lineEdit()->selectAll();
    typeText(name->lineEdit(), number);
    secret->setFocus();
    secret->clear();
    typeText(secret, password);
    QTest::mouseClick(enter, Qt::LeftButton);
}

// An answer for ModalAnswerer::dialog that logs in.
inline std::function<void(QWidget *)> loginAs(const QString &number, const QString &password = {})
{
    return [number, password](QWidget *dialog) { typeLogin(dialog, number, password); };
}

// Adds an operator holding exactly the flags listed.
inline void addOperator(const QString &number,
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

} // namespace StartUp

// A program folder with a fresh database and a main window, not yet started.
//
//   ShellFixture shell;
//   QVERIFY(shell.start());              // logs in as 0001 with an empty password
//   shell.main->clickItem("N32");
struct ShellFixture
{
    TestFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<TMAIN> main = std::make_unique<TMAIN>();

    bool start(const QString &number = QStringLiteral("0001"), const QString &password = {})
    {
        answers.dialog(StartUp::loginAs(number, password));
        return main->start();
    }
};
