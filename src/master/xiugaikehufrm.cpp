#include "xiugaikehufrm.h"

#include "data/dberror.h"
#include "data/tdm1.h"
#include "data/transactionscope.h"
#include "ui/messages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

Txiugaikehu::Txiugaikehu(QWidget *parent)
    : CustomerDialog(QStringLiteral("xiugaikehu"), QStringLiteral("修改客户档案"), parent)
{
    QPushButton *saveButton = addButton(QStringLiteral("BitBtn1"), QStringLiteral("保存"));
    QPushButton *exit = addButton(QStringLiteral("BitBtn2"), QStringLiteral("退出"));
    connect(saveButton, &QPushButton::clicked, this, &Txiugaikehu::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void Txiugaikehu::edit(const Customer &customer)
{
    setCustomer(customer);
    m_editedNumber = customer.number;
}

void Txiugaikehu::showEvent(QShowEvent *event)
{
    CustomerDialog::showEvent(event);
    // The caller filled the customer's values; only the pick lists are built here.
    if (!event->spontaneous())
        fillPickLists();
}

void Txiugaikehu::save()
{
    if (!checkComplete())
        return;
    try {
        TransactionScope transaction(DM1()->ADOConnection1());
        // The row is the one the dialog was opened for, never a number typed elsewhere.
        CustomerStore(DM1()->ADOConnection1()).update(m_editedNumber, customer());
        transaction.commit();
    } catch (const DbError &e) {
        Messages::plain(this, e.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("修改客户档案成功！"));
    accept();
}

Txiugaikehu *xiugaikehu()
{
    static QPointer<Txiugaikehu> instance;
    if (!instance) {
        instance = new Txiugaikehu;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(),
                         &QObject::deleteLater);
    }
    return instance;
}
