#pragma once

#include "correctiondialog.h"

// "修改订购（销售）记录": corrects one sale and its ledger row. Created once at start-up and
// reused; the sales correction screen opens it on a double-clicked row.
class Txiugaidinggoujilu : public CorrectionDialog
{
    Q_OBJECT
public:
    explicit Txiugaidinggoujilu(QWidget *parent = nullptr);

    bool load(qint64 id) override;

protected:
    bool exists() const override;
    void write() override;
};

// The one sales correction dialog of the run.
Txiugaidinggoujilu *xiugaidinggoujilu();
