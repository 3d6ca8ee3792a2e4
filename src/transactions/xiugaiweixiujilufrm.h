#pragma once

#include "correctiondialog.h"

// "修改维修记录": corrects one repair and its ledger row. Created once at start-up and reused;
// the repair correction screen opens it on a double-clicked row.
class Txiugaiweixiujilu : public CorrectionDialog
{
    Q_OBJECT
public:
    explicit Txiugaiweixiujilu(QWidget *parent = nullptr);

    bool load(qint64 id) override;

protected:
    bool exists() const override;
    void write() override;
};

// The one repair correction dialog of the run.
Txiugaiweixiujilu *xiugaiweixiujilu();
