#pragma once

#include <QWidget>

class QDateEdit;
class QPushButton;

// "数据整理": deletes the sales, repairs, ledger rows and receipts dated before a chosen day.
class Tzhengli : public QWidget
{
    Q_OBJECT
public:
    explicit Tzhengli(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn1Click();

    QDateEdit *DateTimePicker1;
    QPushButton *BitBtn1;
    bool m_placed = false;
};
