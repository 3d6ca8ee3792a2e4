#pragma once

class PermissionBoxes;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls the add-operator screen and the modify-operator dialog share: "基本信息"
// with number, name and the password typed twice, the permission boxes, "保存" and "退出".
struct OperatorForm
{
    QLineEdit *edit1 = nullptr; // 编号
    QLineEdit *edit2 = nullptr; // 姓名
    QLineEdit *edit3 = nullptr; // 密码
    QLineEdit *edit4 = nullptr; // 重复密码
    PermissionBoxes *permissions = nullptr;
    QPushButton *bitBtn1 = nullptr; // 保存
    QPushButton *bitBtn3 = nullptr; // 退出

    // Builds the controls into `host` (which gets the layout).
    static OperatorForm build(QWidget *host);
};
