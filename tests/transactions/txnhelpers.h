#pragma once
// Small helpers shared by the transaction screen tests.

#include "data/customerstore.h"
#include "data/db.h"
#include "data/tdm1.h"
#include "support/modalanswerer.h"
#include "support/typing.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace TxnTest {

using ::child;
using ::typeText;

// Focuses the field, replaces its text by typing, as the operator does.
inline void typeInto(QWidget *parent, const char *name, const QString &text)
{
    QWidget *w = child<QWidget>(parent, name);
    QApplication::setActiveWindow(w->window()); // a message box may have taken it
    w->setFocus();
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    typeText(w, text);
}

inline void pressEnter(QWidget *parent, const char *name)
{
    QWidget *w = child<QWidget>(parent, name);
    QApplication::setActiveWindow(w->window()); // a message box may have taken it
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Return);
}

// The field of the screen that has (or, while a message box is up, will get back) the focus.
inline QString focused(QWidget *screen)
{
    return screen->focusWidget() ? screen->focusWidget()->objectName() : QString();
}

// Runs one action of the operator and answers the message boxes it shows (OK), returning
// what they said. A fresh answerer per action: message boxes of consecutive actions may
// reuse one address, which a long-lived answerer takes for the box it already answered.
template<typename Action>
QList<ModalAnswerer::Seen> answered(Action action)
{
    ModalAnswerer answers;
    action();
    return answers.seen();
}

inline QList<ModalAnswerer::Seen> click(QWidget *button)
{
    return answered([button] { QTest::mouseClick(button, Qt::LeftButton); });
}

inline void addCustomer(qint64 number,
                        const QString &name,
                        const QString &telephone = QStringLiteral("0731-88"),
                        const QString &mobile = QStringLiteral("13900000000"))
{
    Customer c;
    c.number = number;
    c.name = name;
    c.address = QStringLiteral("城关镇东村");
    c.telephone = telephone;
    c.mobile = mobile;
    c.contact = QStringLiteral("联系人") + name;
    c.taxNumber = QStringLiteral("TAX") + QString::number(number);
    c.since = QDate(2020, 1, 2);
    CustomerStore(DM1()->ADOConnection1()).insert(c);
}

inline int rows(const char *table)
{
    return Db::scalar(DM1()->ADOConnection1(),
                      QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
            .toInt();
}

inline int rowsOfAllTables()
{
    return rows("dinggou") + rows("维修记录") + rows("帐款明细") + rows("收款记录");
}

// Every insert into `table` is refused, as a database refusing the write would.
inline void refuseInserts(const char *table)
{
    Db::exec(DM1()->ADOConnection1(),
             QStringLiteral("create trigger refuse before insert on %1 begin "
                            "select raise(abort, '写入被拒绝'); end")
                     .arg(QString::fromUtf8(table)));
}

inline QVariant value(const QString &sql, const QVariantList &values = {})
{
    return Db::scalar(DM1()->ADOConnection1(), sql, values);
}

} // namespace TxnTest
