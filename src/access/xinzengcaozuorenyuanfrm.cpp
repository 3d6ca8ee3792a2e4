#include "xinzengcaozuorenyuanfrm.h"

#include "permissionboxes.h"
#include "ui/childwindow.h"

#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/tdm1.h"
#include "ui/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

Txinzengcaozuorenyuan::Txinzengcaozuorenyuan(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("xinzengcaozuorenyuan"));
    setWindowTitle(QStringLiteral("新增操作人员"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(748, 274);
    m_form = OperatorForm::build(this);
    connect(m_form.bitBtn1, &QPushButton::clicked, this, &Txinzengcaozuorenyuan::save);
    connect(m_form.bitBtn3, &QPushButton::clicked, this, [this] { closeChild(this); });
}

void Txinzengcaozuorenyuan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only the first show: a minimised child that comes back keeps what was typed.
    if (!m_placed) {
        m_placed = true;
        placeAsChild(this, 150, 0);
        resetForm();
    }
}

void Txinzengcaozuorenyuan::resetForm()
{
    for (QLineEdit *edit : {m_form.edit1, m_form.edit2, m_form.edit3, m_form.edit4})
        edit->clear();
    m_form.edit1->setFocus();
    m_form.permissions->clear();
}

void Txinzengcaozuorenyuan::save()
{
    m_form.edit1->setText(m_form.edit1->text().trimmed());
    if (m_form.edit1->text().isEmpty()) {
        Messages::error(this, QStringLiteral("提示"), QStringLiteral("编号不能为空！"));
        m_form.edit1->clear();
        m_form.edit1->setFocus();
        return;
    }
    try {
        OperatorStore store(DM1()->ADOConnection1());
        if (store.numberExists(m_form.edit1->text())) {
            Messages::error(this, QStringLiteral("提示"), QStringLiteral("此编号已经存在！"));
            m_form.edit1->clear();
            m_form.edit1->setFocus();
            return;
        }
        if (m_form.edit3->text() != m_form.edit4->text()) {
            Messages::error(this, QStringLiteral("提示"), QStringLiteral("两次密码不一致！"));
            m_form.edit3->clear();
            m_form.edit4->clear();
            m_form.edit3->setFocus();
            return;
        }
        Operator op;
        op.number = m_form.edit1->text();
        op.name = m_form.edit2->text();
        op.flags = m_form.permissions->flags();
        store.insert(op, m_form.edit3->text()); // committed before the message
    } catch (const DbError &error) {
        Messages::plain(this, error.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示"), QStringLiteral("新增操作人员成功！"));
    resetForm();
}
