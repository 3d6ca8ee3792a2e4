#pragma once

#include "customerdialog.h"

// "新增客户档案": records new customers, one per opening or "下一个". Created once and reused;
// opened modally (exec()) by the customer list and the sales and repair entry screens.
class Txinzengkehu : public CustomerDialog
{
    Q_OBJECT
public:
    explicit Txinzengkehu(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void save(); // BitBtn1 "保存"
    void next(); // BitBtn3 "下一个"
    void NextCustomerNumber();

    QPushButton *m_save = nullptr;
};

// The one new-customer dialog of the run.
Txinzengkehu *xinzengkehu();
