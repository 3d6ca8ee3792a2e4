#include "xiugaicaozuoyuanfrm.h"

#include "permissionboxes.h"

#include "data/dberror.h"
#include "data/operatorstore.h"
#include "data/tdm1.h"
#include "ui/messages.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <optional>

Txiugaicaozuoyuan::Txiugaicaozuoyuan(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("xiugaicaozuoyuan"));
    setWindowTitle(QStringLiteral("修改操作人员"));
    setWindowModality(Qt::ApplicationModal);
    resize(740, 296);
    m_form = OperatorForm::build(this);
    m_form.edit1->setReadOnly(true);
    connect(m_form.bitBtn1, &QPushButton::clicked, this, &Txiugaicaozuoyuan::save);
    connect(m_form.bitBtn3, &QPushButton::clicked, this, &QDialog::reject);
}

void Txiugaicaozuoyuan::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fill();
}

void Txiugaicaozuoyuan::fill()
{
    // Passwords are kept only as hashes, so there is nothing to show: both password fields
    // start empty, and left empty they keep the stored password.
    for (QLineEdit *edit : {m_form.edit2, m_form.edit3, m_form.edit4})
        edit->clear();
    m_form.edit1->setText(m_targetOperator);
    m_form.permissions->clear();
    try {
        if (const auto op = OperatorStore(DM1()->ADOConnection1()).find(m_targetOperator)) {
            m_form.edit2->setText(op->name);
            m_form.permissions->setFlags(op->flags);
        }
    } catch (const DbError &error) {
        Messages::generalError(this, error.text());
    }
    m_form.edit2->setFocus();
}

void Txiugaicaozuoyuan::save()
{
    if (m_form.edit1->text().isEmpty()) {
        Messages::error(this, QStringLiteral("提示"), QStringLiteral("编号不能为空！"));
        m_form.edit1->clear();
        return;
    }
    if (m_form.edit3->text() != m_form.edit4->text()) {
        Messages::error(this, QStringLiteral("提示"), QStringLiteral("两次密码不一致！"));
        m_form.edit3->clear();
        m_form.edit4->clear();
        m_form.edit3->setFocus();
        return;
    }
    std::optional<QString> newPassword;
    if (!m_form.edit3->text().isEmpty())
        newPassword = m_form.edit3->text();
    try {
        OperatorStore(DM1()->ADOConnection1())
                .update(m_targetOperator, m_form.edit2->text(), m_form.permissions->flags(),
                        newPassword); // committed before the message
    } catch (const DbError &error) {
        Messages::plain(this, error.text());
        return;
    }
    Messages::information(this, QStringLiteral("提示"),
                          QStringLiteral("修改操作人员成功！请牢记编号和密码！"));
    accept();
}

Txiugaicaozuoyuan *xiugaicaozuoyuan()
{
    static QPointer<Txiugaicaozuoyuan> instance;
    if (!instance)
        instance = new Txiugaicaozuoyuan;
    return instance;
}
