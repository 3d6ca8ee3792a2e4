#include "xiugaimimafrm.h"

#include "ui/childwindow.h"

#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/passwords.h"
#include "data/session.h"
#include "data/tdm1.h"
#include "ui/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Txiugaimima::Txiugaimima(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("xiugaimima"));
    setWindowTitle(QStringLiteral("修改密码"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(328, 281);

    auto *group = new QGroupBox(QStringLiteral("密码修改"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(group);
    const struct
    {
        const char *label, *edit;
        QString caption;
        QLineEdit **field;
    } rows[] = {
            {"Label8", "Edit1", QStringLiteral("操作员编号"), &m_edit1},
            {"Label2", "Edit2", QStringLiteral("旧密码"), &m_edit2},
            {"Label9", "Edit3", QStringLiteral("新密码"), &m_edit3},
            {"Label10", "Edit4", QStringLiteral("确认新密码"), &m_edit4},
    };
    int row = 0;
    for (const auto &r : rows) {
        auto *label = new QLabel(r.caption, group);
        label->setObjectName(QString::fromLatin1(r.label));
        auto *edit = new QLineEdit(group);
        edit->setObjectName(QString::fromLatin1(r.edit));
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        *r.field = edit;
        ++row;
    }
    m_edit1->setEnabled(false);
    for (QLineEdit *edit : {m_edit2, m_edit3, m_edit4})
        edit->setEchoMode(QLineEdit::Password);

    auto *confirm = new QPushButton(QStringLiteral("确认"), this);
    confirm->setObjectName(QStringLiteral("BitBtn1"));
    auto *exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setObjectName(QStringLiteral("BitBtn2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(exit);
    auto *all = new QVBoxLayout(this);
    all->addWidget(group);
    all->addLayout(buttons);

    connect(confirm, &QPushButton::clicked, this, &Txiugaimima::change);
    connect(exit, &QPushButton::clicked, this, [this] { closeChild(this); });
}

void Txiugaimima::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only the first show: a minimised child that comes back keeps what was typed.
    if (m_placed)
        return;
    m_placed = true;
    placeAsChild(this, 330, 0);
    m_edit1->setText(Session::current().number);
    for (QLineEdit *edit : {m_edit2, m_edit3, m_edit4})
        edit->clear();
    m_edit2->setFocus();
}

void Txiugaimima::change()
{
    try {
        OperatorStore store(DM1()->ADOConnection1());
        const auto op = store.find(m_edit1->text());
        // The same rule as at login: Latin letters without case, everything else exact.
        if (!Passwords::matches(op ? op->passwordHash : QString(), m_edit2->text())) {
            Messages::error(this, QStringLiteral("错误！"), QStringLiteral("旧密码不正确！"));
            return;
        }
        if (m_edit3->text() != m_edit4->text()) {
            Messages::error(this, QStringLiteral("错误！"), QStringLiteral("两次密码不一致！"));
            return;
        }
        store.changePassword(m_edit1->text(), m_edit4->text());
    } catch (const DbError &error) {
        Messages::generalError(this, error.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示！"), QStringLiteral("修改成功！"));
}
