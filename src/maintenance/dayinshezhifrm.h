#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "店铺名称设置": the shop name, the scrolling slogan and the background picture, kept in
// myini.ini. The receipt printer port and footer are kept in hidden fields and written back
// unchanged with every save.
class Tdayinshezhi : public QWidget
{
    Q_OBJECT
public:
    explicit Tdayinshezhi(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Button1Click();
    void BitBtn1Click();

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit4;
    QPushButton *Button1;
    QPushButton *BitBtn1;
    QComboBox *ComboBox1;
    QPlainTextEdit *Memo1;
    bool m_placed = false;
};
