#include "guaqi1.h"

#include "data/session.h"
#include "ui/messages.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using Widgets::button;
} // namespace

Tguaqi::Tguaqi(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) // no title-bar buttons
{
    setObjectName(QStringLiteral("guaqi"));
    setWindowTitle(QStringLiteral("暂时离开"));
    // Nothing else of the program takes input while it is open.
    setWindowModality(Qt::ApplicationModal);
    resize(376, 153);

    m_group = new QGroupBox(QStringLiteral("暂时离开"), this);
    m_group->setObjectName(QStringLiteral("GroupBox1"));
    m_group->setStyleSheet(QStringLiteral("QGroupBox::title { color: red; }"));
    auto *label = new QLabel(QStringLiteral("密码"), m_group);
    label->setObjectName(QStringLiteral("Label1"));
    m_edit1 = new QLineEdit(m_group);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setEchoMode(QLineEdit::Password);
    label->setBuddy(m_edit1);
    auto *field = new QHBoxLayout(m_group);
    field->addWidget(label);
    field->addWidget(m_edit1);

    m_leave = button(this, "BitBtn1", QStringLiteral("离开"));
    m_cancel = button(this, "BitBtn2", QStringLiteral("取消"));
    m_wake = button(this, "BitBtn3", QStringLiteral("唤醒"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_leave, m_cancel, m_wake})
        buttons->addWidget(b);
    auto *all = new QVBoxLayout(this);
    all->addWidget(m_group);
    all->addLayout(buttons);

    connect(m_leave, &QPushButton::clicked, this, &Tguaqi::lock);
    connect(m_cancel, &QPushButton::clicked, this, [this] { finish(QDialog::Rejected); });
    connect(m_wake, &QPushButton::clicked, this, &Tguaqi::wake);
}

void Tguaqi::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_locked)
        return;
    m_edit1->clear();
    m_wake->hide();
    m_leave->setDefault(true); // Enter in the field presses the one visible action
    m_edit1->setFocus();
}

bool Tguaqi::passwordTyped()
{
    // Exactly the text typed at login, letter case included; it lives only in memory.
    if (m_edit1->text() == Session::current().password)
        return true;
    Messages::error(this, QStringLiteral("提示"), QStringLiteral("对不起，密码错误！"));
    return false;
}

void Tguaqi::lock()
{
    if (m_locked || !passwordTyped())
        return;
    m_locked = true;
    m_wake->show();
    m_wake->setDefault(true);
    m_group->setTitle(QStringLiteral("唤醒系统"));
    setWindowTitle(QStringLiteral("唤醒系统"));
    m_cancel->hide();
    m_leave->hide();
    m_edit1->clear();
    m_edit1->setFocus();
}

void Tguaqi::wake()
{
    if (!m_locked || !passwordTyped())
        return;
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("系统已被成功唤醒！"));
    finish(QDialog::Accepted);
}

void Tguaqi::finish(int result)
{
    m_finishing = true;
    done(result);
    m_finishing = false;
}

void Tguaqi::reject()
{
    if (m_finishing)
        QDialog::reject();
}

void Tguaqi::closeEvent(QCloseEvent *event)
{
    if (m_finishing)
        QDialog::closeEvent(event);
    else
        event->ignore();
}
