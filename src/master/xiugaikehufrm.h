#pragma once

#include "customerdialog.h"

// "修改客户档案": changes one customer. Created once and reused; the customer list puts the
// chosen customer in with edit() and shows it modally.
class Txiugaikehu : public CustomerDialog
{
    Q_OBJECT
public:
    explicit Txiugaikehu(QWidget *parent = nullptr);

    // Fills the fields from `customer`; saving writes the row of this customer's number,
    // whatever the fields hold by then.
    void edit(const Customer &customer);
    qint64 editedNumber() const { return m_editedNumber; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void save(); // BitBtn1 "保存"

    qint64 m_editedNumber = 0;
};

// The one modify-customer dialog of the run.
Txiugaikehu *xiugaikehu();
