#pragma once

#include <QWidget>

class QLineEdit;

// The logged-in operator changes his own password: old one, new one twice. A child
// window, destroyed when closed.
class Txiugaimima : public QWidget
{
    Q_OBJECT
public:
    explicit Txiugaimima(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void change();

    QLineEdit *m_edit1 = nullptr; // 操作员编号
    QLineEdit *m_edit2 = nullptr; // 旧密码
    QLineEdit *m_edit3 = nullptr; // 新密码
    QLineEdit *m_edit4 = nullptr; // 确认新密码
    bool m_placed = false; // first show done
};
