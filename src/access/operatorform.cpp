#include "operatorform.h"

#include "permissionboxes.h"
#include "ui/widgets.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *field(QWidget *parent, const char *name, bool password)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

using Widgets::button;
} // namespace

OperatorForm OperatorForm::build(QWidget *host)
{
    OperatorForm form;
    auto *basic = new QGroupBox(QStringLiteral("基本信息"), host);
    basic->setObjectName(QStringLiteral("GroupBox1"));
    form.edit1 = field(basic, "Edit1", false);
    form.edit2 = field(basic, "Edit2", false);
    form.edit3 = field(basic, "Edit3", true);
    form.edit4 = field(basic, "Edit4", true);
    auto *fields = new QFormLayout(basic);
    fields->addRow(QStringLiteral("编号"), form.edit1);
    fields->addRow(QStringLiteral("姓名"), form.edit2);
    fields->addRow(QStringLiteral("密码"), form.edit3);
    fields->addRow(QStringLiteral("重复密码"), form.edit4);

    form.permissions = new PermissionBoxes(PermissionBoxes::Toggle::Button1, host);
    form.bitBtn1 = button(host, "BitBtn1", QStringLiteral("保存"));
    form.bitBtn3 = button(host, "BitBtn3", QStringLiteral("退出"));

    auto *top = new QHBoxLayout;
    top->addWidget(basic, 1);
    top->addWidget(form.permissions, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(form.bitBtn1);
    buttons->addWidget(form.bitBtn3);
    auto *all = new QVBoxLayout(host);
    all->addLayout(top);
    all->addLayout(buttons);
    return form;
}
