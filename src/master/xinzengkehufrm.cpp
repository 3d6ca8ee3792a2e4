#include "xinzengkehufrm.h"

#include "data/dberror.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "ui/messages.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

Txinzengkehu::Txinzengkehu(QWidget *parent)
    : CustomerDialog(QStringLiteral("xinzengkehu"), QStringLiteral("新增客户档案"), parent)
{
    m_save = addButton(QStringLiteral("BitBtn1"), QStringLiteral("保存"));
    QPushButton *nextButton = addButton(QStringLiteral("BitBtn3"), QStringLiteral("下一个"));
    QPushButton *exit = addButton(QStringLiteral("BitBtn2"), QStringLiteral("退出"));
    connect(m_save, &QPushButton::clicked, this, &Txinzengkehu::save);
    connect(nextButton, &QPushButton::clicked, this, &Txinzengkehu::next);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void Txinzengkehu::showEvent(QShowEvent *event)
{
    CustomerDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Txinzengkehu::FormShow()
{
    clearFields();
    m_save->setEnabled(true);
    NextCustomerNumber();
    fillPickLists();
}

void Txinzengkehu::NextCustomerNumber()
{
    try {
        m_number->setText(QString::number(CustomerStore(DM1()->ADOConnection1()).nextNumber()));
    } catch (const DbError &e) {
        Messages::generalError(this, e.text());
    }
}

void Txinzengkehu::save()
{
    if (!checkComplete())
        return;
    try {
        TransactionScope transaction(DM1()->ADOConnection1());
        CustomerStore(DM1()->ADOConnection1()).insert(customer());
        transaction.commit();
    } catch (const DbError &e) {
        Messages::plain(this, e.text()); // "保存" stays enabled: correct and save again
        return;
    }
    // Each opening or "下一个" records at most one customer.
    m_save->setEnabled(false);
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("客户档案新增成功！"));
}

void Txinzengkehu::next()
{
    clearFields();
    m_save->setEnabled(true);
    NextCustomerNumber();
}

Txinzengkehu *xinzengkehu()
{
    static QPointer<Txinzengkehu> instance;
    if (!instance) {
        instance = new Txinzengkehu;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(),
                         &QObject::deleteLater);
    }
    return instance;
}
